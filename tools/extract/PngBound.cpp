#include "tools/extract/PngBound.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "extract/FileIo.h"

namespace bw::tools {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kMaxChunks = 1u << 20;
// Deflate's block headers and final bits, and zlib's own header.
constexpr std::uint64_t kInflateSlackBytes = 1024;

std::uint32_t U32BE(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint64_t PassBytes(std::uint64_t widthPx, std::uint64_t heightPx, std::uint64_t bitsPerPixel) {
  if (widthPx == 0 || heightPx == 0) return 0;
  return heightPx * (1 + (widthPx * bitsPerPixel + 7) / 8);
}

}  // namespace

TPngBound ReadPngBound(const std::string& pathUtf8) {
  TPngBound bound;
  std::FILE* file = extract::OpenFileUtf8(pathUtf8, "rb");
  if (file == nullptr) return bound;
  std::uint8_t head[33];
  const bool headRead = std::fread(head, 1, sizeof head, file) == sizeof head;
  if (!headRead || std::memcmp(head, kPngSignature, 8) != 0 || U32BE(head + 8) != 13 ||
      std::memcmp(head + 12, "IHDR", 4) != 0) {
    std::fclose(file);
    return bound;
  }
  const std::uint64_t widthPx = U32BE(head + 16);
  const std::uint64_t heightPx = U32BE(head + 20);
  const std::uint64_t bitDepth = head[24];
  const std::uint8_t colorType = head[25];
  const bool interlaced = head[28] == 1;
  std::uint64_t channels = 0;
  switch (colorType) {
    case 0: case 3: channels = 1; break;
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: break;
  }
  if (channels == 0 || bitDepth == 0 || bitDepth > 16 || widthPx == 0 || heightPx == 0 || widthPx > 0x7FFFFFFF ||
      heightPx > 0x7FFFFFFF) {
    std::fclose(file);
    return bound;
  }
  const std::uint64_t bitsPerPixel = bitDepth * channels;
  if (!interlaced) {
    bound.RowBytes = PassBytes(widthPx, heightPx, bitsPerPixel);
  } else {
    constexpr std::uint64_t x0[7] = {0, 4, 0, 2, 0, 1, 0}, dx[7] = {8, 8, 4, 4, 2, 2, 1};
    constexpr std::uint64_t y0[7] = {0, 0, 4, 0, 2, 0, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
    for (int pass = 0; pass < 7; ++pass) {
      const std::uint64_t w = widthPx > x0[pass] ? (widthPx - x0[pass] + dx[pass] - 1) / dx[pass] : 0;
      const std::uint64_t h = heightPx > y0[pass] ? (heightPx - y0[pass] + dy[pass] - 1) / dy[pass] : 0;
      bound.RowBytes += PassBytes(w, h, bitsPerPixel);
    }
  }
  const std::uint64_t dibBits = colorType == 2 || colorType == 6 ? 24 : bitDepth > 8 ? 8 : bitDepth == 2 ? 8 : bitDepth;
  bound.DibBytes = 40 + 4 * 256 + heightPx * ((widthPx * dibBits + 31) / 32 * 4);

  // Walks the chunks behind IHDR (and its CRC), adding up the IDAT data that is present.
  std::error_code error;
  const std::uint64_t fileBytes = std::filesystem::file_size(extract::PathFromUtf8(pathUtf8), error);
  std::uint64_t offset = 33;
  std::uint8_t chunk[8];
  for (std::uint32_t n = 0; n < kMaxChunks && extract::Seek64(file, offset); ++n) {
    if (std::fread(chunk, 1, sizeof chunk, file) != sizeof chunk) break;
    const std::uint64_t lengthBytes = U32BE(chunk);
    if (std::memcmp(chunk + 4, "IDAT", 4) == 0) {
      const std::uint64_t dataStart = offset + 8;
      bound.IdatBytes += dataStart < fileBytes ? std::min(lengthBytes, fileBytes - dataStart) : 0;
    }
    if (std::memcmp(chunk + 4, "IEND", 4) == 0) break;
    offset += 12 + lengthBytes;
  }
  std::fclose(file);
  bound.Status = bound.RowBytes > kMaxInflateRatio * bound.IdatBytes + kInflateSlackBytes
                     ? TPngBoundStatus::CannotDecode
                     : TPngBoundStatus::Plausible;
  return bound;
}

}  // namespace bw::tools
