// Differential: the 1/8-scale check must give the full decode's verdict on any input.
#include <cstdint>
#include <cstdio>

#include "framework/core/JpegDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  bw::core::TDib dib;
  const bw::core::TJpegResult full = bw::core::DecodeJpeg(bytes, dib);
  const bw::core::TJpegResult check = bw::core::CheckJpeg(bytes);
  if (full.Status != check.Status) {
    std::fprintf(stderr, "full: %d %s / check: %d %s\n", static_cast<int>(full.Status), full.Reason.c_str(),
                 static_cast<int>(check.Status), check.Reason.c_str());
    __builtin_trap();
  }
  return 0;
}
