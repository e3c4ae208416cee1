#include "framework/core/Dib.h"

#include <bit>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace bw::core {

TDib::TDib(std::int32_t widthPx, std::int32_t heightPx, std::uint16_t bitCount)
    : FWidthPx(widthPx), FHeightPx(heightPx), FBitCount(bitCount) {
  FPixels.assign(StrideBytes() * static_cast<std::size_t>(heightPx), 0);
  if (bitCount == 16) SetMasks(0x7C00, 0x03E0, 0x001F);
  if (bitCount == 32) SetMasks(0xFF0000, 0x00FF00, 0x0000FF);
}

std::size_t TDib::StrideBytes(std::uint32_t widthPx, std::uint16_t bitCount) {
  return static_cast<std::size_t>((std::uint64_t{widthPx} * bitCount + 31) / 32 * 4);
}

std::uint8_t* TDib::RowFromTop(std::int32_t y) {
  return FPixels.data() + static_cast<std::size_t>(FHeightPx - 1 - y) * StrideBytes();
}

const std::uint8_t* TDib::RowFromTop(std::int32_t y) const {
  return FPixels.data() + static_cast<std::size_t>(FHeightPx - 1 - y) * StrideBytes();
}

void TDib::SetMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  FRedMask = red;
  FGreenMask = green;
  FBlueMask = blue;
}

bool TDib::HasDefaultMasks() const {
  if (FBitCount == 16) return FRedMask == 0x7C00 && FGreenMask == 0x03E0 && FBlueMask == 0x001F;
  if (FBitCount == 32) return FRedMask == 0xFF0000 && FGreenMask == 0x00FF00 && FBlueMask == 0x0000FF;
  return true;
}

namespace {

std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint32_t bits = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>(value * 255 / bits);
}

}  // namespace

TRgbQuad TDib::PixelColor(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = RowFromTop(y);
  auto indexed = [&](std::uint32_t index) {
    return index < FColorTable.size() ? FColorTable[index] : TRgbQuad{};
  };
  switch (FBitCount) {
    case 1: return indexed((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return indexed((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F);
    case 8: return indexed(row[x]);
    case 16: {
      const std::uint32_t pixel = row[2 * x] | row[2 * x + 1] << 8;
      return {Channel(pixel, FBlueMask), Channel(pixel, FGreenMask), Channel(pixel, FRedMask), 0};
    }
    case 24: return {row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
    case 32: {
      const std::uint32_t pixel = std::uint32_t{row[4 * x]} | std::uint32_t{row[4 * x + 1]} << 8 |
                                  std::uint32_t{row[4 * x + 2]} << 16 | std::uint32_t{row[4 * x + 3]} << 24;
      return {Channel(pixel, FBlueMask), Channel(pixel, FGreenMask), Channel(pixel, FRedMask), 0};
    }
    default: return {};
  }
}

std::FILE* OpenImageFileUtf8(const std::string& pathUtf8, const char* mode) {
#ifdef _WIN32
  const std::filesystem::path path(
      std::u8string(reinterpret_cast<const char8_t*>(pathUtf8.data()), pathUtf8.size()));
  std::wstring wideMode;
  for (const char* c = mode; *c != '\0'; ++c) wideMode.push_back(static_cast<wchar_t>(*c));
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(pathUtf8.c_str(), mode);
#endif
}

TFileReadStatus ReadImageFile(const std::string& pathUtf8, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                              std::string& reason) {
  bytes.clear();
  std::FILE* file = pathUtf8.empty() ? nullptr : OpenImageFileUtf8(pathUtf8, "rb");
  if (file == nullptr) {
    reason = "cannot open the file: " + std::generic_category().message(errno);
    return TFileReadStatus::OpenFailed;
  }
  // Read in pieces rather than trusting a size taken beforehand.
  std::uint8_t piece[64 * 1024];
  TFileReadStatus status = TFileReadStatus::Ok;
  while (true) {
    const std::size_t got = std::fread(piece, 1, sizeof piece, file);
    if (bytes.size() + got > maxBytes) {
      reason = "the file is larger than " + std::to_string(maxBytes) + " bytes";
      status = TFileReadStatus::TooLarge;
      break;
    }
    bytes.insert(bytes.end(), piece, piece + got);
    if (got < sizeof piece) {
      if (std::ferror(file)) {
        reason = "cannot read the file";
        status = TFileReadStatus::ReadFailed;
      }
      break;
    }
  }
  std::fclose(file);
  if (status != TFileReadStatus::Ok) bytes.clear();
  return status;
}

}  // namespace bw::core
