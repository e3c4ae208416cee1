#include "tools/driver/SourceMaker.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

// libjpeg's header wants size_t and FILE declared first.
#include <jpeglib.h>
#include <png.h>

namespace bw::driver {
namespace {

constexpr std::size_t kFillerBytes = 512;

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

TFile OpenForWriting(const std::string& pathUtf8) {
  // The driver runs as a Windows program: open through the wide API so any path works.
  const int n = MultiByteToWideChar(CP_UTF8, 0, pathUtf8.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, pathUtf8.c_str(), -1, wide.data(), n);
  return TFile(_wfopen(wide.c_str(), L"wb"));
}

bool WriteAll(std::FILE* f, const void* data, std::size_t sizeBytes) {
  return sizeBytes == 0 || std::fwrite(data, 1, sizeBytes, f) == sizeBytes;
}

bool WriteZeros(std::FILE* f, std::uint64_t sizeBytes) {
  static const std::uint8_t zeros[64 * 1024] = {};
  while (sizeBytes > 0) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(sizeBytes, sizeof zeros));
    if (!WriteAll(f, zeros, n)) return false;
    sizeBytes -= n;
  }
  return true;
}

}  // namespace

TBytes EncodeJpeg(int widthPx, int heightPx, std::uint32_t seed, int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long sizeBytes = 0;
  jpeg_mem_dest(&cinfo, &buffer, &sizeBytes);
  cinfo.image_width = static_cast<JDIMENSION>(widthPx);
  cinfo.image_height = static_cast<JDIMENSION>(heightPx);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(widthPx) * 3);
  std::uint32_t noise = seed * 2654435761u + 1;
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < widthPx; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 28);
      row[static_cast<size_t>(x) * 3 + 0] = static_cast<JSAMPLE>((x * 255 / widthPx + seed * 37 + grain) & 0xFF);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<JSAMPLE>((y * 255 / heightPx + seed * 11 + grain) & 0xFF);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<JSAMPLE>(((x + y) * 3 + seed * 5) & 0xFF);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  TBytes out(buffer, buffer + sizeBytes);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

TBytes EncodeSolidPng(int widthPx, int heightPx, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(widthPx);
  image.height = static_cast<png_uint_32>(heightPx);
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> pixels(static_cast<size_t>(widthPx) * static_cast<size_t>(heightPx) * 3);
  for (size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = red;
    pixels[i + 1] = green;
    pixels[i + 2] = blue;
  }
  png_alloc_size_t sizeBytes = 0;
  if (!png_image_write_to_memory(&image, nullptr, &sizeBytes, 0, pixels.data(), 0, nullptr)) return {};
  TBytes out(sizeBytes);
  if (!png_image_write_to_memory(&image, out.data(), &sizeBytes, 0, pixels.data(), 0, nullptr)) return {};
  out.resize(sizeBytes);
  return out;
}

int WriteSyntheticSource(const std::string& pathUtf8, const TSourcePlan& plan) {
  TFile file = OpenForWriting(pathUtf8);
  if (!file || plan.Pictures <= 0) return -1;
  for (int i = 0; i < plan.Pictures; ++i) {
    const TBytes jpeg = EncodeJpeg(plan.PictureWidthPx, plan.PictureHeightPx, static_cast<std::uint32_t>(i));
    // Spread the pictures evenly: filler up to this picture's share of the target.
    const std::uint64_t share = plan.TargetBytes / static_cast<std::uint64_t>(plan.Pictures);
    const std::uint64_t fill = share > jpeg.size() ? share - jpeg.size() : kFillerBytes;
    if (!WriteZeros(file.get(), fill) || !WriteAll(file.get(), jpeg.data(), jpeg.size())) return -1;
  }
  if (!WriteZeros(file.get(), kFillerBytes)) return -1;
  return std::fclose(file.release()) == 0 ? plan.Pictures : -1;
}

bool WriteSingleItemSource(const std::string& pathUtf8, const TBytes& item) {
  TFile file = OpenForWriting(pathUtf8);
  if (!file || item.empty()) return false;
  if (!WriteZeros(file.get(), kFillerBytes) || !WriteAll(file.get(), item.data(), item.size()) ||
      !WriteZeros(file.get(), kFillerBytes)) {
    return false;
  }
  return std::fclose(file.release()) == 0;
}

}  // namespace bw::driver
