// TBitmap's BMP files and device-independent pictures.
#include <algorithm>
#include <cstring>

#include "framework/core/BmpFile.h"
#include "framework/core/Streams.h"
#include "framework/win/Bitmap.h"

namespace bw::win {

namespace {

struct TDibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];  // or the three bit-field masks
};

}  // namespace

const core::TClassInfo TBitmap::kClass{"TBitmap", &TGraphic::kClass, {}, {}};

void TBitmap::LoadFromDib(const core::TDib& dib) {
  if (dib.IsEmpty()) {
    Recreate(0, 0, FPixelFormat, false);
    Changed();
    return;
  }
  const int bits = dib.BitCount();
  TDibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = dib.WidthPx();
  info.header.biHeight = dib.HeightPx();  // bottom-up, as TDib holds its rows
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = BI_RGB;
  if ((bits == 16 || bits == 32) && !dib.HasDefaultMasks()) {
    info.header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {dib.RedMask(), dib.GreenMask(), dib.BlueMask()};
    std::memcpy(info.colors, masks, sizeof masks);
  } else if (bits <= 8) {
    const auto& table = dib.ColorTable();
    const std::size_t count = std::min<std::size_t>(table.size(), std::size_t{1} << bits);
    for (std::size_t i = 0; i < count; ++i) info.colors[i] = RGBQUAD{table[i].Blue, table[i].Green, table[i].Red, 0};
    info.header.biClrUsed = static_cast<DWORD>(count);  // 0: a full table of black
  }
  void* bitsPtr = nullptr;
  TBitmapHandle section(
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bitsPtr, nullptr, 0));
  if (!section || !bitsPtr) {
    throw EInvalidGraphic("Cannot make a bitmap of " + std::to_string(dib.WidthPx()) + " x " +
                          std::to_string(dib.HeightPx()) + " pixels: out of resources");
  }
  std::memcpy(bitsPtr, dib.Pixels().data(), dib.Pixels().size());
  AdoptSection(section.Release());
  FColorsUsed = static_cast<int>(info.header.biClrUsed);
  Changed();
}

core::TDib TBitmap::SaveToDib() {
  if (!FHandle || FWidth == 0 || FHeight == 0) return {};
  DIBSECTION ds{};
  GetObjectW(FHandle.Get(), sizeof ds, &ds);
  const int bits = BitsPerPixel(FPixelFormat);
  core::TDib dib(FWidth, FHeight, static_cast<std::uint16_t>(bits));
  if (ds.dsBmih.biCompression == BI_BITFIELDS) dib.SetMasks(ds.dsBitfields[0], ds.dsBitfields[1], ds.dsBitfields[2]);
  if (bits <= 8) {
    auto table = ColorTable();
    if (FColorsUsed > 0 && static_cast<std::size_t>(FColorsUsed) < table.size())
      table.resize(static_cast<std::size_t>(FColorsUsed));
    dib.ColorTable().clear();
    for (const RGBQUAD& q : table) dib.ColorTable().push_back({q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
  }
  GdiFlush();
  const std::size_t rowBytes = std::min<std::size_t>(dib.StrideBytes(), static_cast<std::size_t>(FStride));
  for (int y = 0; y < FHeight; ++y) {
    std::memcpy(dib.RowFromTop(y), ScanLine(y), rowBytes);
  }
  return dib;
}

void TBitmap::LoadFromStream(core::TStream& stream) {
  const std::vector<std::uint8_t> bytes = ReadGraphicBytes(stream, core::kMaxBmpFileBytes);
  core::TDib dib;
  const core::TBmpResult result = core::ReadBmp(bytes, dib);
  if (!result.Ok()) throw EInvalidGraphic("Bitmap image is not valid: " + result.Reason);
  LoadFromDib(dib);
}

void TBitmap::SaveToStream(core::TStream& stream) {
  const std::vector<std::uint8_t> bytes = core::WriteBmp(SaveToDib());
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TBitmap::Assign(const core::TPersistent& source) {
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) return Assign(*bitmap);
  auto* graphic = const_cast<TGraphic*>(dynamic_cast<const TGraphic*>(&source));
  if (graphic == nullptr) return TGraphic::Assign(source);
  Recreate(graphic->Width(), graphic->Height(), TPixelFormat::pf32bit, false);
  if (FHandle) {
    const RECT all{0, 0, FWidth, FHeight};
    Canvas().Brush().SetColor(clWhite);
    Canvas().FillRect(all);
    graphic->Draw(Canvas(), all);
  }
  Changed();
}

}  // namespace bw::win
