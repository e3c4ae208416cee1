// The picture check of the command line on decompression bombs, next to the check it
// replaces (the desktop program's full decode) on the same files in the same run.
// Usage: bench_picture_check
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

#include "framework/core/JpegDecode.h"
#include "framework/core/PngDib.h"
#include "tools/extract/PreviewCheck.h"

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

TBytes SmallJpeg() {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long bufferBytes = 0;
  jpeg_mem_dest(&info, &buffer, &bufferBytes);
  info.image_width = info.image_height = 16;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(48, 128);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rowPointer = row.data();
    jpeg_write_scanlines(&info, &rowPointer, 1);
  }
  jpeg_finish_compress(&info);
  TBytes bytes(buffer, buffer + bufferBytes);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

// The header says 8000 x 8000; the data is that of 16 x 16.
TBytes GiantJpeg() {
  TBytes jpeg = SmallJpeg();
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = jpeg[i + 7] = 8000 >> 8;
      jpeg[i + 6] = jpeg[i + 8] = 8000 & 0xFF;
      break;
    }
  }
  return jpeg;
}

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

// A grey picture of side x side whose deflate stream holds `rows` zero rows.
TBytes ZeroPng(std::uint32_t side, std::uint32_t rows) {
  TBytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  TBytes header;
  PutU32BE(header, side);
  PutU32BE(header, side);
  header.insert(header.end(), {8, 0, 0, 0, 0});
  PutChunk(png, "IHDR", header);
  const TBytes raw(std::size_t{rows} * (side + 1), 0);
  uLongf packedBytes = compressBound(static_cast<uLong>(raw.size()));
  TBytes packed(packedBytes);
  compress2(packed.data(), &packedBytes, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedBytes);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

std::vector<std::string> WriteCopies(const fs::path& folder, const std::string& stem, const TBytes& bytes, int count) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    paths.push_back((folder / (stem + std::to_string(i))).string());
    std::ofstream(paths.back(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                        static_cast<std::streamsize>(bytes.size()));
  }
  return paths;
}

double Seconds(const std::vector<std::string>& paths, const std::function<bool(const std::string&)>& check,
               int& accepted) {
  accepted = 0;
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& path : paths) accepted += check(path) ? 1 : 0;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Row(const char* what, const std::vector<std::string>& paths, const std::function<bool(const std::string&)>& before,
         bw::extract::TItemKind kind) {
  int acceptedBefore = 0, acceptedNow = 0;
  const double full = Seconds(paths, before, acceptedBefore);
  const double now = Seconds(paths, [&](const std::string& p) {
    return bw::tools::CheckPicture(kind, p) == bw::tools::TPictureVerdict::Shows;
  }, acceptedNow);
  std::printf("%-46s full decode %7.3f s (%2d shown)   check %7.3f s (%2d shown)   %6.1f x\n", what, full,
              acceptedBefore, now, acceptedNow, now > 0 ? full / now : 0.0);
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("bw-bench-check-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  const auto jpegBefore = [](const std::string& p) {
    bw::core::TDib dib;
    return bw::core::DecodeJpegFile(p, dib).Ok();
  };
  const auto pngBefore = [](const std::string& p) {
    bw::core::TPngDibInfo info{};
    info.Size = sizeof info;
    info.FileName = p.c_str();
    const bool ok = bw::core::PngToDib(&info) == bw::core::kPngDibOk;
    bw::core::FreePngDibBlock(info.Dib);
    return ok;
  };
  Row("50 JPEGs declaring 8000 x 8000", WriteCopies(folder, "giant", GiantJpeg(), 50), jpegBefore,
      bw::extract::TItemKind::Jpeg);
  Row("20 PNG zlib bombs, 15000 x 15000 of zero rows", WriteCopies(folder, "bomb", ZeroPng(15000, 15000), 20), pngBefore,
      bw::extract::TItemKind::Png);
  Row("20 PNGs declaring 16000 x 16000, 1 row of data", WriteCopies(folder, "short", ZeroPng(16000, 1), 20), pngBefore,
      bw::extract::TItemKind::Png);
  std::error_code error;
  fs::remove_all(folder, error);
  return 0;
}
