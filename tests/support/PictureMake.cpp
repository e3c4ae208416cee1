#include "tests/support/PictureMake.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <zlib.h>

namespace bw::test {
namespace {

using TBytes = std::vector<std::uint8_t>;

void PutU32BE(TBytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(TBytes& out, const char* type, const TBytes& data) {
  PutU32BE(out, static_cast<std::uint32_t>(data.size()));
  TBytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutU32BE(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TJpegSpec& spec, const std::vector<std::uint8_t>& pixels) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long bufferBytes = 0;
  jpeg_mem_dest(&info, &buffer, &bufferBytes);
  info.image_width = static_cast<JDIMENSION>(spec.WidthPx);
  info.image_height = static_cast<JDIMENSION>(spec.HeightPx);
  info.input_components = spec.Components;
  info.in_color_space = spec.Components == 1 ? JCS_GRAYSCALE : spec.Components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, spec.Quality, TRUE);
  if (spec.LumaSampling != 0) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = spec.LumaSampling;
  info.restart_in_rows = spec.RestartRows;
  if (spec.Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const std::size_t rowBytes = static_cast<std::size_t>(spec.WidthPx) * static_cast<std::size_t>(spec.Components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(pixels.data() + info.next_scanline * rowBytes);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + bufferBytes);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

void DeclareJpegSize(std::vector<std::uint8_t>& jpeg, std::uint16_t widthPx, std::uint16_t heightPx) {
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = static_cast<std::uint8_t>(heightPx >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(heightPx & 0xFF);
      jpeg[i + 7] = static_cast<std::uint8_t>(widthPx >> 8);
      jpeg[i + 8] = static_cast<std::uint8_t>(widthPx & 0xFF);
      return;
    }
  }
}

TBytes GreyPng(std::uint32_t widthPx, std::uint32_t heightPx, std::uint32_t rowsGiven, bool interlaced) {
  TBytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  TBytes header;
  PutU32BE(header, widthPx);
  PutU32BE(header, heightPx);
  header.insert(header.end(), {8, 0, 0, 0, static_cast<std::uint8_t>(interlaced ? 1 : 0)});
  PutChunk(png, "IHDR", header);
  const TBytes raw(static_cast<std::size_t>(rowsGiven) * (widthPx + 1), 0);
  uLongf packedBytes = compressBound(static_cast<uLong>(raw.size()));
  TBytes packed(packedBytes);
  compress2(packed.data(), &packedBytes, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedBytes);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace bw::test
