#pragma once
// Whether DecodeJpeg would read a picture, at a bounded cost. The answer is the same as
// DecodeJpeg's for every input (a differential test and fuzz target hold it to that), but
// the decode runs at 1/8 scale into one row (full entropy decoding, one pixel per 8 x 8
// block), and a single-scan picture stops as soon as its data runs out, since the grey the
// decoder fills in from there can no longer fail. So the work per picture is one pass over
// its bytes plus at most kMaxJpegPixels / 64 output pixels, and memory is one row plus
// what libjpeg needs for a multi-scan picture's coefficients.
#include <cstdint>
#include <span>
#include <string>

#include "framework/core/JpegDecode.h"

namespace bw::core {

enum class TJpegCheckStatus { Decodes, Fails, TooLarge, OutOfMemory, OpenFailed };

struct TJpegCheck {
  TJpegCheckStatus Status = TJpegCheckStatus::Decodes;
  std::uint32_t WidthPx = 0;  // as declared, once the header was read
  std::uint32_t HeightPx = 0;
  std::string Reason;
};

TJpegCheck CheckJpeg(std::span<const std::uint8_t> bytes);
TJpegCheck CheckJpegFile(const std::string& pathUtf8);

}  // namespace bw::core
