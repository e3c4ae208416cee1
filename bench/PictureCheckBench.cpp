// The picture check of the command line on decompression bombs, next to the check it
// replaces (the desktop program's full decode) on the same files in the same run; and the
// desktop preview's decode fitted to its box next to the full decode, on large photos.
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

#include "framework/core/JpegDecode.h"
#include "framework/core/PngDib.h"
#include "tests/support/PictureMake.h"
#include "tools/extract/PreviewCheck.h"

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

// The header says 8000 x 8000; the data is that of 16 x 16.
TBytes GiantJpeg() {
  TBytes jpeg = bw::test::EncodeJpeg({16, 16, 3}, TBytes(16 * 16 * 3, 128));
  bw::test::DeclareJpegSize(jpeg, 8000, 8000);
  return jpeg;
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

// Detail everywhere, so the entropy-coded data is that of a photo rather than of a flat area.
TBytes Photo(int widthPx, int heightPx) {
  TBytes pixels(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx) * 3);
  std::mt19937 random(7);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i / 3 % 251) ^ (random() & 31));
  return bw::test::EncodeJpeg({widthPx, heightPx, 3, 85}, pixels);
}

void PreviewRow(const char* what, const std::vector<std::string>& paths) {
  int shownFull = 0, shownFitted = 0;
  const auto decode = [](bw::core::TJpegFit fit) {
    return [fit](const std::string& p) {
      bw::core::TDib dib;
      return bw::core::DecodeJpegFile(p, dib, fit).Ok();
    };
  };
  const double full = Seconds(paths, decode({}), shownFull);
  const double fitted = Seconds(paths, decode({409, 238}), shownFitted);
  std::printf("%-46s full decode %7.3f s (%2d shown)   fitted %6.3f s (%2d shown)   %6.1f x\n", what, full, shownFull,
              fitted, shownFitted, fitted > 0 ? full / fitted : 0.0);
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
  Row("20 PNG zlib bombs, 15000 x 15000 of zero rows", WriteCopies(folder, "bomb", bw::test::GreyPng(15000, 15000, 15000), 20), pngBefore,
      bw::extract::TItemKind::Png);
  Row("20 PNGs declaring 16000 x 16000, 1 row of data", WriteCopies(folder, "short", bw::test::GreyPng(16000, 16000, 1), 20), pngBefore,
      bw::extract::TItemKind::Png);
  PreviewRow("10 photos 4000 x 3000, preview box 409 x 238", WriteCopies(folder, "photo", Photo(4000, 3000), 10));
  PreviewRow("10 photos 1600 x 1200, preview box 409 x 238", WriteCopies(folder, "small", Photo(1600, 1200), 10));
  std::error_code error;
  fs::remove_all(folder, error);
  return 0;
}
