#include "framework/win/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace bw::win {

namespace {

struct TBitmapInfo256 {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

int ColorCountOf(int bits) { return bits <= 8 ? 1 << bits : 0; }

void DefaultColorTable(int bits, RGBQUAD* colors) {
  if (bits == 1) {
    colors[1] = RGBQUAD{255, 255, 255, 0};
  } else if (bits == 4) {
    static constexpr COLORREF kVga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                          0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                          0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 16; ++i)
      colors[i] = RGBQUAD{GetBValue(kVga[i]), GetGValue(kVga[i]), GetRValue(kVga[i]), 0};
  } else if (bits == 8) {
    for (int i = 0; i < 256; ++i)  // 3-3-2 colour cube
      colors[i] = RGBQUAD{static_cast<BYTE>((i & 3) * 255 / 3), static_cast<BYTE>(((i >> 2) & 7) * 255 / 7),
                          static_cast<BYTE>(((i >> 5) & 7) * 255 / 7), 0};
  }
}

}  // namespace

int BitsPerPixel(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: return 16;
    case TPixelFormat::pf24bit: return 24;
    case TPixelFormat::pfDevice:
    case TPixelFormat::pf32bit: return 32;
  }
  return 32;
}

TBitmap::TBitmap(int widthPx, int heightPx, TPixelFormat format) {
  Recreate(widthPx, heightPx, format, false);
}

TBitmap::~TBitmap() {
  FCanvas.SetHandle(nullptr);
  DeselectBitmap();
}

HDC TBitmap::MemoryDC() {
  if (!FDC) FDC.emplace(nullptr);
  if (FHandle && !FOldBitmap) FOldBitmap = SelectObject(FDC->Get(), FHandle.Get());
  return FDC->Get();
}

void TBitmap::DeselectBitmap() {
  if (FDC && FOldBitmap) SelectObject(FDC->Get(), std::exchange(FOldBitmap, nullptr));
}

TCanvas& TBitmap::Canvas() {
  FCanvas.SetHandle(MemoryDC());
  return FCanvas;
}

void TBitmap::Recreate(int widthPx, int heightPx, TPixelFormat format, bool keepContent) {
  widthPx = std::max(widthPx, 0);
  heightPx = std::max(heightPx, 0);
  const int bits = BitsPerPixel(format);
  TBitmapHandle section;
  void* bitsPtr = nullptr;
  if (widthPx > 0 && heightPx > 0) {
    TBitmapInfo256 info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = widthPx;
    info.header.biHeight = heightPx;  // bottom-up, as BMP files store them
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    if (format == TPixelFormat::pf16bit) {
      info.header.biCompression = BI_BITFIELDS;
      const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
      std::memcpy(info.colors, masks, sizeof masks);
    } else if (bits <= 8) {
      info.header.biClrUsed = static_cast<DWORD>(ColorCountOf(bits));
      if (keepContent && FHandle && BitsPerPixel(FPixelFormat) == bits) {
        const auto old = ColorTable();
        std::copy(old.begin(), old.end(), info.colors);
      } else {
        DefaultColorTable(bits, info.colors);
      }
    }
    section.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bitsPtr,
                                   nullptr, 0));
    if (!section) {
      widthPx = heightPx = 0;
      bitsPtr = nullptr;
    }
  }
  if (keepContent && section && FHandle) {
    TMemoryDC target(nullptr);
    TSelectGuard selectTarget(target.Get(), section.Get());
    BitBlt(target.Get(), 0, 0, std::min(widthPx, FWidth), std::min(heightPx, FHeight), MemoryDC(), 0, 0, SRCCOPY);
  }
  if (!(keepContent && section && BitsPerPixel(FPixelFormat) == bits)) FColorsUsed = 0;
  FCanvas.SetHandle(nullptr);
  DeselectBitmap();
  FHandle = std::move(section);
  FBits = bitsPtr;
  FWidth = widthPx;
  FHeight = heightPx;
  FPixelFormat = format;
  FStride = ((widthPx * bits + 31) / 32) * 4;
}

void TBitmap::SetSize(int widthPx, int heightPx) {
  if (widthPx == FWidth && heightPx == FHeight) return;
  Recreate(widthPx, heightPx, FPixelFormat, true);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat) return;
  Recreate(FWidth, FHeight, format, true);
}

void* TBitmap::ScanLine(int row) {
  if (!FBits || row < 0 || row >= FHeight) return nullptr;
  GdiFlush();  // pending GDI drawing must land before the bits are touched
  return static_cast<BYTE*>(FBits) + static_cast<size_t>(FHeight - 1 - row) * FStride;
}

void TBitmap::AdoptSection(HBITMAP section) {
  DIBSECTION ds{};
  GetObjectW(section, sizeof ds, &ds);
  FCanvas.SetHandle(nullptr);
  DeselectBitmap();
  FColorsUsed = 0;
  FHandle.Reset(section);
  FWidth = ds.dsBm.bmWidth;
  FHeight = std::abs(ds.dsBm.bmHeight);
  FBits = ds.dsBm.bmBits;
  FStride = ds.dsBm.bmWidthBytes;
  switch (ds.dsBmih.biBitCount) {
    case 1: FPixelFormat = TPixelFormat::pf1bit; break;
    case 4: FPixelFormat = TPixelFormat::pf4bit; break;
    case 8: FPixelFormat = TPixelFormat::pf8bit; break;
    case 16:
      FPixelFormat = ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0
                         ? TPixelFormat::pf16bit
                         : TPixelFormat::pf15bit;
      break;
    case 24: FPixelFormat = TPixelFormat::pf24bit; break;
    default: FPixelFormat = TPixelFormat::pf32bit; break;
  }
  // Top-down sections address rows the other way round; keep one rule for ScanLine.
  if (ds.dsBm.bmHeight < 0 || ds.dsBmih.biHeight < 0) {
    TBitmapHandle owned(FHandle.Release());
    FBits = nullptr;
    FWidth = FHeight = 0;
    const int w = ds.dsBm.bmWidth, h = std::abs(ds.dsBm.bmHeight);
    Recreate(w, h, FPixelFormat, false);
    TMemoryDC source(nullptr);
    TSelectGuard selectSource(source.Get(), owned.Get());
    BitBlt(MemoryDC(), 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
  }
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  if (bitmap == FHandle.Get()) return;
  if (!bitmap) {
    Recreate(0, 0, FPixelFormat, false);
    return;
  }
  DIBSECTION ds{};
  const int got = GetObjectW(bitmap, sizeof ds, &ds);
  if (got == sizeof(DIBSECTION) && ds.dsBm.bmBits) {
    AdoptSection(bitmap);
    return;
  }
  // A device bitmap: copy it into a section of the same size and drop it.
  TBitmapHandle device(bitmap);
  BITMAP bm{};
  GetObjectW(bitmap, sizeof bm, &bm);
  Recreate(bm.bmWidth, bm.bmHeight, TPixelFormat::pfDevice, false);
  TMemoryDC source(nullptr);
  TSelectGuard selectSource(source.Get(), device.Get());
  BitBlt(MemoryDC(), 0, 0, bm.bmWidth, bm.bmHeight, source.Get(), 0, 0, SRCCOPY);
}

HBITMAP TBitmap::ReleaseHandle() {
  FCanvas.SetHandle(nullptr);
  DeselectBitmap();
  FBits = nullptr;
  FWidth = FHeight = FStride = 0;
  return FHandle.Release();
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == TTransparentMode::tmFixed) return FTransparentColor;
  if (FWidth == 0 || FHeight == 0) return clDefault;
  return static_cast<TColor>(GetPixel(MemoryDC(), 0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
  FTransparentColor = color;
  FTransparentMode = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
}

std::vector<RGBQUAD> TBitmap::ColorTable() {
  const int count = ColorCountOf(BitsPerPixel(FPixelFormat));
  std::vector<RGBQUAD> colors(static_cast<size_t>(count));
  if (count > 0 && FHandle) {
    const UINT got = GetDIBColorTable(MemoryDC(), 0, static_cast<UINT>(count), colors.data());
    colors.resize(got);
  }
  return colors;
}

void TBitmap::SetColorTable(std::span<const RGBQUAD> colors) {
  if (!FHandle || colors.empty()) return;
  SetDIBColorTable(MemoryDC(), 0, static_cast<UINT>(colors.size()), colors.data());
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  auto& src = const_cast<TBitmap&>(source);  // reading pixels needs the source's DC
  Recreate(src.FWidth, src.FHeight, src.FPixelFormat, false);
  if (BitsPerPixel(FPixelFormat) <= 8) {
    const auto table = src.ColorTable();
    SetColorTable(table);
  }
  if (FHandle) BitBlt(MemoryDC(), 0, 0, FWidth, FHeight, src.MemoryDC(), 0, 0, SRCCOPY);
  FTransparentMode = src.FTransparentMode;
  FTransparentColor = src.FTransparentColor;
  SetTransparent(src.Transparent());
  Changed();
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) {
  HDC dest = canvas.Handle();
  if (!dest || !FHandle) return;
  HDC source = MemoryDC();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const int oldStretch = SetStretchBltMode(dest, COLORONCOLOR);
  if (!Transparent()) {
    if (w == FWidth && h == FHeight)
      BitBlt(dest, rect.left, rect.top, w, h, source, 0, 0, canvas.CopyMode());
    else
      StretchBlt(dest, rect.left, rect.top, w, h, source, 0, 0, FWidth, FHeight, canvas.CopyMode());
    SetStretchBltMode(dest, oldStretch);
    return;
  }
  // Transparent: scale first (if needed), then a mask of the key colour picks what is kept.
  const COLORREF key = ColorToRGB(TransparentColor());
  TBitmap scaled;
  HDC colorDC = source;
  if (w != FWidth || h != FHeight) {
    scaled.Recreate(w, h, TPixelFormat::pf32bit, false);
    colorDC = scaled.MemoryDC();
    const int old = SetStretchBltMode(colorDC, COLORONCOLOR);
    StretchBlt(colorDC, 0, 0, w, h, source, 0, 0, FWidth, FHeight, SRCCOPY);
    SetStretchBltMode(colorDC, old);
  }
  TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  TMemoryDC maskDC(nullptr);
  if (mask && maskDC) {
    TSelectGuard selectMask(maskDC.Get(), mask.Get());
    const COLORREF oldBk = SetBkColor(colorDC, key);
    BitBlt(maskDC.Get(), 0, 0, w, h, colorDC, 0, 0, SRCCOPY);  // key pixels become 1
    SetBkColor(colorDC, oldBk);
  }
  if (mask) {
    constexpr DWORD kKeepDest = 0x00AA0029;
    MaskBlt(dest, rect.left, rect.top, w, h, colorDC, 0, 0, mask.Get(), 0, 0, MAKEROP4(kKeepDest, SRCCOPY));
  }
  SetStretchBltMode(dest, oldStretch);
}

}  // namespace bw::win
