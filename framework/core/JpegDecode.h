#pragma once
// JPEG decoding into a 24-bit TDib. Decoder warnings (a stream cut short, extra bytes) do
// not fail a picture; decoder errors do.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "framework/core/Dib.h"

namespace bw::core {

inline constexpr std::size_t kMaxJpegFileBytes = std::size_t{256} << 20;
// Decoding allocates width x height x 3 bytes; a tiny file may declare a huge picture.
inline constexpr std::uint64_t kMaxJpegPixels = std::uint64_t{64} << 20;

enum class TJpegStatus { Ok, OpenFailed, TooLarge, DecodeFailed, OutOfMemory };

struct TJpegResult {
  TJpegStatus Status = TJpegStatus::Ok;
  std::string Reason;
  bool Ok() const { return Status == TJpegStatus::Ok; }
};

// A picture that will be shown shrunk into a box may be decoded at 1/2, 1/4 or 1/8 of its
// size: the coarsest of these that still fills the box when fitted with kept proportions.
// The entropy decoding and the limits are those of the full size, so the verdict is too.
struct TJpegFit {
  std::uint32_t WidthPx = 0;  // 0: decode at full size
  std::uint32_t HeightPx = 0;
};

// The scale denominator (1, 2, 4 or 8) for a picture of this size shown fitted in `fit`.
std::uint32_t JpegFitDenominator(std::uint32_t widthPx, std::uint32_t heightPx, TJpegFit fit);

TJpegResult DecodeJpeg(std::span<const std::uint8_t> bytes, TDib& dib, TJpegFit fit = {});
TJpegResult DecodeJpegFile(const std::string& pathUtf8, TDib& dib, TJpegFit fit = {});

}  // namespace bw::core
