// The command line's bounded picture check against the desktop program's full decode:
// for JPEG and PNG alike, the verdicts must be the same for every input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "framework/core/JpegCheck.h"
#include "framework/core/PngDib.h"

namespace {

// Pictures over this many pixels are left to the check alone: the full decode of each
// would cost the fuzzer seconds.
constexpr std::uint64_t kMaxComparedPixels = std::uint64_t{1} << 22;

void CompareJpeg(std::span<const std::uint8_t> bytes) {
  const bw::core::TJpegCheck check = bw::core::CheckJpeg(bytes);
  if (std::uint64_t{check.WidthPx} * check.HeightPx > kMaxComparedPixels) return;
  bw::core::TDib dib;
  const bw::core::TJpegResult full = bw::core::DecodeJpeg(bytes, dib);
  // Not only shown or not: a refusal by the limits must stay one, and so must a decoder error.
  const bool same = full.Ok() ? check.Status == bw::core::TJpegCheckStatus::Decodes
                    : full.Status == bw::core::TJpegStatus::TooLarge
                        ? check.Status == bw::core::TJpegCheckStatus::TooLarge
                        : check.Status == bw::core::TJpegCheckStatus::Fails;
  // The preview decodes at the scale its box needs: the verdict must be the full decode's.
  bw::core::TDib fitted;
  if (bw::core::DecodeJpeg(bytes, fitted, {1, 1}).Status != full.Status) {
    std::fprintf(stderr, "full: %d %s / fitted differs\n", static_cast<int>(full.Status), full.Reason.c_str());
    std::abort();
  }
  if (!same) {
    std::fprintf(stderr, "full: %d %s / check: %d %s\n", static_cast<int>(full.Status), full.Reason.c_str(),
                 static_cast<int>(check.Status), check.Reason.c_str());
    std::abort();
  }
}

void ComparePng(std::span<const std::uint8_t> bytes) {
  static const std::string path = "/tmp/fuzz-picture-check-" + std::to_string(getpid()) + ".png";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  // Both read the file's header alike; compare only pictures of a size worth decoding.
  if (bytes.size() >= 24) {
    const std::uint64_t w = std::uint64_t{bytes[16]} << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19];
    const std::uint64_t h = std::uint64_t{bytes[20]} << 24 | bytes[21] << 16 | bytes[22] << 8 | bytes[23];
    if (w * h > kMaxComparedPixels) return;
  }
  bw::core::TPngDibInfo info{};
  info.Size = sizeof info;
  info.FileName = path.c_str();
  const std::uint32_t full = bw::core::PngToDib(&info);
  bw::core::FreePngDibBlock(info.Dib);
  if (full != bw::core::PngDecodes(path.c_str())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  if (data[0] & 1) {
    ComparePng(bytes);
  } else {
    CompareJpeg(bytes);
  }
  return 0;
}
