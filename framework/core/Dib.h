#pragma once
// A device-independent bitmap: the picture type the BMP, JPEG and PNG readers produce and
// the framework's bitmap and picture classes use. Rows are stored bottom-up, each padded
// to a whole 32-bit word, exactly as a packed Windows DIB holds them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bw::core {

struct TRgbQuad {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::uint8_t Reserved = 0;
  bool operator==(const TRgbQuad&) const = default;
};

class TDib {
 public:
  TDib() = default;
  // Zero-filled pixels; bitCount one of 1, 4, 8, 16, 24, 32.
  TDib(std::int32_t widthPx, std::int32_t heightPx, std::uint16_t bitCount);

  static std::size_t StrideBytes(std::uint32_t widthPx, std::uint16_t bitCount);

  bool IsEmpty() const { return FWidthPx == 0 || FHeightPx == 0; }
  std::int32_t WidthPx() const { return FWidthPx; }
  std::int32_t HeightPx() const { return FHeightPx; }
  std::uint16_t BitCount() const { return FBitCount; }
  std::size_t StrideBytes() const { return StrideBytes(static_cast<std::uint32_t>(FWidthPx), FBitCount); }

  std::vector<TRgbQuad>& ColorTable() { return FColorTable; }
  const std::vector<TRgbQuad>& ColorTable() const { return FColorTable; }
  std::vector<std::uint8_t>& Pixels() { return FPixels; }
  const std::vector<std::uint8_t>& Pixels() const { return FPixels; }

  // Row y counted from the top of the picture.
  std::uint8_t* RowFromTop(std::int32_t y);
  const std::uint8_t* RowFromTop(std::int32_t y) const;

  // 16- and 32-bit pixels: the masks of red, green and blue (5-5-5 and 8-8-8 by default).
  void SetMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue);
  std::uint32_t RedMask() const { return FRedMask; }
  std::uint32_t GreenMask() const { return FGreenMask; }
  std::uint32_t BlueMask() const { return FBlueMask; }
  bool HasDefaultMasks() const;

  std::int32_t XPelsPerMeter = 0;
  std::int32_t YPelsPerMeter = 0;

  // The colour of pixel (x, y), y from the top; indices beyond the table read black.
  TRgbQuad PixelColor(std::int32_t x, std::int32_t y) const;

 private:
  std::int32_t FWidthPx = 0;
  std::int32_t FHeightPx = 0;
  std::uint16_t FBitCount = 0;
  std::vector<TRgbQuad> FColorTable;
  std::vector<std::uint8_t> FPixels;
  std::uint32_t FRedMask = 0;
  std::uint32_t FGreenMask = 0;
  std::uint32_t FBlueMask = 0;
};

// Opens a file by UTF-8 path (wide on Windows, so every name is reachable).
std::FILE* OpenImageFileUtf8(const std::string& pathUtf8, const char* mode);

enum class TFileReadStatus { Ok, OpenFailed, TooLarge, ReadFailed };

// Reads a whole file that is at most maxBytes long.
TFileReadStatus ReadImageFile(const std::string& pathUtf8, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                              std::string& reason);

}  // namespace bw::core
