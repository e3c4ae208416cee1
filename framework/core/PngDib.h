#pragma once
// PNG file to one packed device-independent bitmap (information header, colour table,
// bottom-up pixel rows in one block), for the preview of carved PNG pictures.
#include <cstddef>
#include <cstdint>

namespace bw::core {

// Request and result of PngToDib. Size must be sizeof(TPngDibInfo); set it and FileName
// (UTF-8, zero-terminated), zero the rest.
struct TPngDibInfo {
  std::uint32_t Size;
  std::uint32_t Reserved;
  const char* FileName;
  std::uint8_t* Dib;  // the block; free it with FreePngDibBlock
  std::uint32_t DibSize;
  std::uint32_t PaletteOffset;  // 40
  std::uint32_t BitsOffset;     // 40 + 4 x ColorCount
  std::uint8_t* Palette;        // Dib + PaletteOffset
  std::uint32_t ColorCount;     // 4-byte entries: blue, green, red, 0
  std::uint8_t* Bits;           // Dib + BitsOffset
};

inline constexpr std::uint32_t kPngDibOk = 0;
inline constexpr std::uint32_t kPngDibBadSize = 2;
inline constexpr std::uint32_t kPngDibNoMemory = 3;
inline constexpr std::uint32_t kPngDibDecodeError = 5;
inline constexpr std::uint32_t kPngDibBadColorType = 7;
inline constexpr std::uint32_t kPngDibOpenFailed = 8;

// The block is refused (kPngDibNoMemory) above this size: a small file may declare a huge
// picture.
inline constexpr std::uint32_t kMaxPngDibBytes = std::uint32_t{256} << 20;

std::uint32_t PngToDib(TPngDibInfo* info);

// PngToDib's answer for the file without keeping the picture: every row is decoded, one
// row at a time, so memory is one row whatever the picture's size.
std::uint32_t PngDecodes(const char* fileName);

// Zero-filled block of the platform's kind (global memory on Windows, the C heap
// elsewhere); nullptr when it cannot be had.
std::uint8_t* AllocatePngDibBlock(std::size_t sizeBytes);
// Frees a block PngToDib returned in Dib; nullptr is allowed.
void FreePngDibBlock(std::uint8_t* block);

}  // namespace bw::core
