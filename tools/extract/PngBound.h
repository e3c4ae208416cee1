#pragma once
// What a PNG file's headers tell before any inflating: the bytes its rows need and the
// most its zlib data can give. Deflate gives at most 1032 bytes per input byte (a 258-byte
// match in two bits), so a picture needing more than that cannot decode, however it is
// read: the check answers it without inflating the stream.
#include <cstdint>
#include <string>

namespace bw::tools {

inline constexpr std::uint64_t kMaxInflateRatio = 1032;

enum class TPngBoundStatus {
  Unknown,       // not a PNG with a readable header: only the decoder can tell
  Plausible,     // the data may hold the rows
  CannotDecode,  // the rows need more than the data can give
};

struct TPngBound {
  TPngBoundStatus Status = TPngBoundStatus::Unknown;
  std::uint64_t RowBytes = 0;   // filtered rows of every pass, as inflated
  std::uint64_t IdatBytes = 0;  // IDAT data present in the file
  std::uint64_t DibBytes = 0;   // the desktop decoder's block for it, at most
};

TPngBound ReadPngBound(const std::string& pathUtf8);

}  // namespace bw::tools
