#include "framework/core/PngDib.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include <png.h>

#include "framework/core/Dib.h"

namespace bw::core {
namespace {

constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr int kPhysUnitMetre = 1;
// A chunk's length field is allocated before its bytes are read: cap it, and the count of
// ancillary chunks kept, so a small file cannot make the decoder take gigabytes.
constexpr png_alloc_size_t kMaxPngChunkBytes = png_alloc_size_t{8} << 20;
constexpr png_uint_32 kMaxPngCachedChunks = 1000;
constexpr png_uint_32 kMaxPngDimensionPx = 1 << 16;

// Everything the decoder may leave half done when it jumps back, kept off the stack.
struct TPngJob {
  std::jmp_buf Jump;
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::FILE* File = nullptr;
  std::uint8_t* Block = nullptr;
  png_bytepp Rows = nullptr;
  bool RowsOnly = false;  // decode every row through one row buffer, keep nothing
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp /*message*/) {
  auto* job = static_cast<TPngJob*>(png_get_error_ptr(png));
  std::longjmp(job->Jump, 1);
}

void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// The pixels go to our own block, so every allocation of the decoder itself is small;
// refusing big ones turns a huge length field into a decoder error.
png_voidp OnPngMalloc(png_structp /*png*/, png_alloc_size_t sizeBytes) {
  return sizeBytes <= kMaxPngChunkBytes ? std::malloc(sizeBytes) : nullptr;
}

void OnPngFree(png_structp /*png*/, png_voidp block) { std::free(block); }

void PutU16(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void CleanUp(TPngJob& job) {
  if (job.Png != nullptr) png_destroy_read_struct(&job.Png, job.Info != nullptr ? &job.Info : nullptr, nullptr);
  job.Png = nullptr;
  job.Info = nullptr;
  if (job.File != nullptr) std::fclose(job.File);
  job.File = nullptr;
  std::free(job.Rows);
  job.Rows = nullptr;
  FreePngDibBlock(job.Block);
  job.Block = nullptr;
}

// A decoder error may jump out of here at any call into libpng: no objects with destructors.
std::uint32_t Decode(TPngJob& job, TPngDibInfo& info) {
  job.File = OpenImageFileUtf8(info.FileName != nullptr ? info.FileName : "", "rb");
  if (job.File == nullptr) return kPngDibOpenFailed;
  png_set_chunk_malloc_max(job.Png, kMaxPngChunkBytes);
  png_set_chunk_cache_max(job.Png, kMaxPngCachedChunks);
  png_set_user_limits(job.Png, kMaxPngDimensionPx, kMaxPngDimensionPx);
  png_init_io(job.Png, job.File);
  png_read_info(job.Png, job.Info);
  png_uint_32 widthPx = 0, heightPx = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(job.Png, job.Info, &widthPx, &heightPx, &bitDepth, &colorType, &interlace, nullptr, nullptr);

  std::uint32_t bitCount = 0;
  std::uint32_t colorCount = 0;
  png_colorp palette = nullptr;
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      bitCount = bitDepth > 8 ? 8 : static_cast<std::uint32_t>(bitDepth);
      colorCount = 1u << bitCount;
      break;
    case PNG_COLOR_TYPE_RGB:
    case PNG_COLOR_TYPE_RGB_ALPHA:
      bitCount = 24;
      png_set_bgr(job.Png);
      break;
    case PNG_COLOR_TYPE_PALETTE: {
      int entries = 0;
      if (png_get_PLTE(job.Png, job.Info, &palette, &entries) == 0) entries = 0;
      bitCount = static_cast<std::uint32_t>(bitDepth);
      colorCount = static_cast<std::uint32_t>(entries);
      break;
    }
    default: return kPngDibBadColorType;
  }
  // Windows bitmaps know no 2-bit pixels: one byte per pixel keeps every colour.
  if (bitCount == 2) {
    png_set_packing(job.Png);
    bitCount = 8;
  }

  png_uint_32 resX = 0, resY = 0;
  int unit = 0;
  if (png_get_pHYs(job.Png, job.Info, &resX, &resY, &unit) == 0) resX = resY = 0, unit = 0;

  png_set_strip_alpha(job.Png);
  png_set_strip_16(job.Png);
  const int passes = png_set_interlace_handling(job.Png);
  png_read_update_info(job.Png, job.Info);

  const std::uint64_t strideBytes = (std::uint64_t{widthPx} * bitCount + 31) / 32 * 4;
  const std::uint64_t dibBytes = kInfoHeaderBytes + 4 * std::uint64_t{colorCount} + std::uint64_t{heightPx} * strideBytes;
  if (dibBytes > kMaxPngDibBytes) return kPngDibNoMemory;
  // The rows the decoder writes must fit the rows of the block.
  if (png_get_rowbytes(job.Png, job.Info) > strideBytes) return kPngDibDecodeError;
  if (job.RowsOnly) {
    // What png_read_image does, row by row into one row: the same reads, the same errors.
    job.Block = AllocatePngDibBlock(static_cast<std::size_t>(strideBytes));
    if (job.Block == nullptr) return kPngDibNoMemory;
    for (int pass = 0; pass < passes; ++pass) {
      for (png_uint_32 y = 0; y < heightPx; ++y) png_read_row(job.Png, job.Block, nullptr);
    }
    png_read_end(job.Png, nullptr);
    return kPngDibOk;
  }
  job.Block = AllocatePngDibBlock(static_cast<std::size_t>(dibBytes));
  if (job.Block == nullptr) return kPngDibNoMemory;
  job.Rows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * (heightPx == 0 ? 1 : heightPx)));
  if (job.Rows == nullptr) return kPngDibNoMemory;

  const std::uint32_t bitsOffset = kInfoHeaderBytes + 4 * colorCount;
  std::uint8_t* table = job.Block + kInfoHeaderBytes;
  std::uint8_t* bits = job.Block + bitsOffset;
  for (std::uint32_t i = 0; i < colorCount; ++i) {
    std::uint8_t* entry = table + 4 * i;
    if (palette != nullptr) {
      entry[0] = palette[i].blue;
      entry[1] = palette[i].green;
      entry[2] = palette[i].red;
    } else {
      entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i * 255 / (colorCount - 1));
    }
  }
  for (png_uint_32 j = 0; j < heightPx; ++j) job.Rows[j] = bits + (heightPx - 1 - j) * strideBytes;
  png_read_image(job.Png, job.Rows);
  std::free(job.Rows);
  job.Rows = nullptr;
  png_read_end(job.Png, nullptr);
  png_destroy_read_struct(&job.Png, &job.Info, nullptr);
  std::fclose(job.File);
  job.File = nullptr;

  std::uint8_t* header = job.Block;
  PutU32(header, kInfoHeaderBytes);
  PutU32(header + 4, widthPx);
  PutU32(header + 8, heightPx);
  PutU16(header + 12, 1);
  PutU16(header + 14, static_cast<std::uint16_t>(bitCount));
  PutU32(header + 16, 0);
  PutU32(header + 20, static_cast<std::uint32_t>(heightPx * strideBytes));
  PutU32(header + 24, unit == kPhysUnitMetre ? resX : 0);
  PutU32(header + 28, unit == kPhysUnitMetre ? resY : 0);
  PutU32(header + 32, colorCount);
  PutU32(header + 36, 0);

  info.Dib = job.Block;
  info.DibSize = static_cast<std::uint32_t>(dibBytes);
  info.PaletteOffset = kInfoHeaderBytes;
  info.BitsOffset = bitsOffset;
  info.Palette = job.Block + kInfoHeaderBytes;
  info.ColorCount = colorCount;
  info.Bits = bits;
  job.Block = nullptr;  // the caller owns it now
  return kPngDibOk;
}

std::uint32_t DecodePng(TPngDibInfo* info, bool rowsOnly) {
  if (info == nullptr || info->Size != sizeof(TPngDibInfo)) return kPngDibBadSize;
  const std::unique_ptr<TPngJob> job(new (std::nothrow) TPngJob());
  if (!job) return kPngDibNoMemory;
  job->RowsOnly = rowsOnly;
  // Created for the linked library's own version: older version texts are refused.
  job->Png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, job.get(), OnPngError, OnPngWarning, nullptr,
                                     OnPngMalloc, OnPngFree);
  if (job->Png == nullptr) return kPngDibNoMemory;
  job->Info = png_create_info_struct(job->Png);
  if (job->Info == nullptr) {
    CleanUp(*job);
    return kPngDibNoMemory;
  }
  if (setjmp(job->Jump) != 0) {
    CleanUp(*job);
    return kPngDibDecodeError;
  }
  const std::uint32_t status = Decode(*job, *info);
  CleanUp(*job);
  return status;
}

}  // namespace

std::uint32_t PngToDib(TPngDibInfo* info) { return DecodePng(info, false); }

std::uint32_t PngDecodes(const char* fileName) {
  TPngDibInfo info{};
  info.Size = sizeof info;
  info.FileName = fileName;
  return DecodePng(&info, true);
}

}  // namespace bw::core
