// Arbitrary bytes through the .ico directory reader: every entry it accepts must lie
// inside the input with a bitmap image that fits its bytes, and a choice must be made.
#include <cstdint>

#include "framework/win/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bw::win::TIconDirectory dir = bw::win::ReadIconDirectory({data, size});
  if (!dir.Ok) {
    if (!dir.Entries.empty() || dir.Reason.empty()) __builtin_trap();
    return 0;
  }
  for (const bw::win::TIconEntry& e : dir.Entries) {
    if (std::uint64_t{e.OffsetBytes} + e.SizeBytes > size) __builtin_trap();
    if (!e.Png && (e.WidthPx <= 0 || e.WidthPx > bw::win::kMaxIconSizePx || e.HeightPx <= 0)) __builtin_trap();
    volatile std::uint8_t last = data[e.OffsetBytes + e.SizeBytes - 1];
    (void)last;
  }
  const int chosen = bw::win::ChooseIconEntry(dir.Entries, 32);
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= dir.Entries.size()) __builtin_trap();
  return 0;
}
