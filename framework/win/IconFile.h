#pragma once
// .ico files: the directory read and checked, the best image chosen, and a one-image
// 32-bit file written. Portable (no Win32 types), so it is fuzzed natively.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace bw::win {

inline constexpr std::size_t kMaxIconFileBytes = std::size_t{16} << 20;
inline constexpr std::size_t kMaxIconImages = 256;
inline constexpr int kMaxIconSizePx = 256;

struct TIconEntry {
  int WidthPx = 0;   // from the image's own header where it has one
  int HeightPx = 0;
  int BitCount = 0;
  bool Png = false;
  std::uint32_t OffsetBytes = 0;
  std::uint32_t SizeBytes = 0;
};

struct TIconDirectory {
  bool Ok = false;
  std::string Reason;  // which rule the file broke
  std::vector<TIconEntry> Entries;
};

// Every entry lies wholly inside the file; a bitmap entry's header, colour table, colour
// and mask rows fit in its bytes; a PNG entry starts with the PNG signature.
TIconDirectory ReadIconDirectory(std::span<const std::uint8_t> bytes);

// Index of the entry to show at desiredPx: the exact size if present (deepest colours
// first), else the smallest larger one, else the largest; -1 for no entries.
int ChooseIconEntry(const std::vector<TIconEntry>& entries, int desiredPx);

// A one-image .ico: 32-bit colour rows and 1-bit mask rows, both bottom-up and padded to
// 4 bytes, as a bitmap icon image stores them. Assumes, but does not check, that the
// row vectors have the sizes the dimensions need.
std::vector<std::uint8_t> WriteIconFile(int widthPx, int heightPx, std::span<const std::uint8_t> colorRows,
                                        std::span<const std::uint8_t> maskRows);

}  // namespace bw::win
