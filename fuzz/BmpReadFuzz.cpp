// Arbitrary bytes through the BMP reader; a picture read must write back and read again alike.
#include <cstdint>

#include "framework/core/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bw::core::TDib dib;
  const bw::core::TBmpResult result = bw::core::ReadBmp({data, size}, dib);
  if (!result.Ok() || dib.IsEmpty()) return 0;
  for (std::int32_t y = 0; y < dib.HeightPx(); y += 7) {
    for (std::int32_t x = 0; x < dib.WidthPx(); x += 7) dib.PixelColor(x, y);
  }
  const std::vector<std::uint8_t> written = bw::core::WriteBmp(dib);
  bw::core::TDib again;
  if (!bw::core::ReadBmp(written, again).Ok() || again.Pixels() != dib.Pixels() ||
      again.ColorTable() != dib.ColorTable()) {
    __builtin_trap();
  }
  return 0;
}
