#pragma once
// BMP files: read into a TDib and written from one. Reading never trusts the file: every
// size is checked against the bytes really present before anything is allocated.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "framework/core/Dib.h"

namespace bw::core {

inline constexpr std::size_t kMaxBmpFileBytes = std::size_t{1} << 30;
inline constexpr std::int32_t kMaxBmpDimensionPx = 1 << 16;

enum class TBmpStatus { Ok, Truncated, Corrupt, Unsupported, TooLarge, OpenFailed, ReadFailed, WriteFailed };

struct TBmpResult {
  TBmpStatus Status = TBmpStatus::Ok;
  std::string Reason;  // which rule the file broke, for messages
  bool Ok() const { return Status == TBmpStatus::Ok; }
};

// An empty input reads as an empty picture without error.
TBmpResult ReadBmp(std::span<const std::uint8_t> bytes, TDib& dib);
TBmpResult ReadBmpFile(const std::string& pathUtf8, TDib& dib);

// 40-byte information header; 16- and 32-bit pictures with other than the default masks
// are written as bit fields. An empty picture gives an empty file.
std::vector<std::uint8_t> WriteBmp(const TDib& dib);
TBmpResult WriteBmpFile(const std::string& pathUtf8, const TDib& dib);

}  // namespace bw::core
