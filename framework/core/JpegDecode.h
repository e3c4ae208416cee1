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

enum class TJpegStatus { Ok, OpenFailed, TooLarge, DecodeFailed };

struct TJpegResult {
  TJpegStatus Status = TJpegStatus::Ok;
  std::string Reason;
  bool Ok() const { return Status == TJpegStatus::Ok; }
};

TJpegResult DecodeJpeg(std::span<const std::uint8_t> bytes, TDib& dib);
// The verdict DecodeJpeg would give, at a fraction of the cost: a decode at 1/8 scale that
// keeps no pixels. For checks only; whoever shows the picture decodes it in full.
TJpegResult CheckJpeg(std::span<const std::uint8_t> bytes);
TJpegResult DecodeJpegFile(const std::string& pathUtf8, TDib& dib);
TJpegResult CheckJpegFile(const std::string& pathUtf8);

}  // namespace bw::core
