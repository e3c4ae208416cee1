#include "skin/data/SkinBitmapFile.h"

#include <cstring>
#include <vector>

#include "framework/core/BmpFile.h"

namespace bw::skin {

using win::TPixelFormat;

namespace {

// Rows of both are bottom-up and padded to 32 bits, so equal depths copy in one block.
void CopyPixels(win::TBitmap& bitmap, const core::TDib& dib) {
  if (dib.IsEmpty()) return;
  auto* bottomRow = static_cast<std::uint8_t*>(bitmap.ScanLine(dib.HeightPx() - 1));
  const std::size_t bytes = dib.StrideBytes() * static_cast<std::size_t>(dib.HeightPx());
  if (bottomRow != nullptr && bytes <= dib.Pixels().size()) std::memcpy(bottomRow, dib.Pixels().data(), bytes);
}

TPixelFormat SameDepthFormat(const core::TDib& dib) {
  switch (dib.BitCount()) {
    case 1: return TPixelFormat::pf1bit;
    case 4: return TPixelFormat::pf4bit;
    case 8: return TPixelFormat::pf8bit;
    case 24: return TPixelFormat::pf24bit;
    case 32: return dib.HasDefaultMasks() ? TPixelFormat::pf32bit : TPixelFormat::pfDevice;
    default: return TPixelFormat::pfDevice;  // 16-bit and masked pictures: converted
  }
}

}  // namespace

bool LoadBitmapFromBmp(win::TBitmap& bitmap, std::span<const std::uint8_t> bytes, std::string& reason) {
  core::TDib dib;
  const core::TBmpResult result = core::ReadBmp(bytes, dib);
  if (!result.Ok()) {
    reason = result.Reason.empty() ? "not a bitmap file" : result.Reason;
    return false;
  }
  const TPixelFormat format = SameDepthFormat(dib);
  if (format != TPixelFormat::pfDevice) {
    win::TBitmap loaded(dib.WidthPx(), dib.HeightPx(), format);
    if (dib.BitCount() <= 8) {
      std::vector<RGBQUAD> table;
      for (const core::TRgbQuad& q : dib.ColorTable()) table.push_back({q.Blue, q.Green, q.Red, 0});
      loaded.SetColorTable(table);
    }
    CopyPixels(loaded, dib);
    bitmap.Assign(loaded);
    return true;
  }
  win::TBitmap loaded(dib.WidthPx(), dib.HeightPx(), TPixelFormat::pf24bit);
  for (std::int32_t y = 0; y < dib.HeightPx(); ++y) {
    auto* row = static_cast<std::uint8_t*>(loaded.ScanLine(y));
    if (row == nullptr) break;
    for (std::int32_t x = 0; x < dib.WidthPx(); ++x) {
      const core::TRgbQuad c = dib.PixelColor(x, y);
      row[3 * x] = c.Blue;
      row[3 * x + 1] = c.Green;
      row[3 * x + 2] = c.Red;
    }
  }
  bitmap.Assign(loaded);
  return true;
}

}  // namespace bw::skin
