#include "skin/draw/ImgUtil.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/win/GdiHandles.h"

namespace bw::skin {

namespace {

using win::TPixelFormat;

struct TPixel24 {
  std::uint8_t b, g, r;
};

TPixel24* Row(TBitmap& bitmap, int y) { return static_cast<TPixel24*>(bitmap.ScanLine(y)); }

bool Is24(const TBitmap& bitmap) { return bitmap.PixelFormat() == TPixelFormat::pf24bit; }

// Builds the result pixel by pixel in a second bitmap, then takes its pixels over.
template <typename F>
void Remap(TBitmap& bitmap, int widthPx, int heightPx, F sourceOf) {
  if (!Is24(bitmap) || bitmap.Width() == 0 || bitmap.Height() == 0) return;
  TBitmap target(widthPx, heightPx, TPixelFormat::pf24bit);
  for (int y = 0; y < heightPx; ++y) {
    TPixel24* out = Row(target, y);
    for (int x = 0; x < widthPx; ++x) {
      const POINT s = sourceOf(x, y);
      out[x] = Row(bitmap, s.y)[s.x];
    }
  }
  bitmap.Assign(target);
}

COLORREF Plain(TColor color) { return win::ColorToRGB(color); }

struct TGradientCache {
  std::array<std::vector<COLORREF>, 16> tables;
  int cursor = 0;
  int built = 0;

  const std::vector<COLORREF>& Table(int n, COLORREF c1, COLORREF c2) {
    for (int slot = 15; slot >= 0; --slot) {
      const auto& t = tables[static_cast<size_t>(slot)];
      if (static_cast<int>(t.size()) == n && t.front() == c1 && t.back() == c2) return t;
    }
    auto& t = tables[static_cast<size_t>(cursor)];
    cursor = (cursor + 1) % 16;
    ++built;
    t.assign(static_cast<size_t>(n), 0);
    const int r1 = GetRValue(c1), g1 = GetGValue(c1), b1 = GetBValue(c1);
    const int dr = GetRValue(c2) - r1, dg = GetGValue(c2) - g1, db = GetBValue(c2) - b1;
    if (n == 1) {
      t[0] = RGB(r1 + dr / 2, g1 + dg / 2, b1 + db / 2);
    } else {
      const int m = n - 1;
      for (int i = 0; i < n; ++i)
        t[static_cast<size_t>(i)] =
            RGB(r1 + (m / 2 + i * dr) / m, g1 + (m / 2 + i * dg) / m, b1 + (m / 2 + i * db) / m);
    }
    return t;
  }
};

TGradientCache& GradientCache() {
  static TGradientCache cache;
  return cache;
}

// Reads the bitmap as a 32-bit bottom-up block, then writes each target pixel from it.
template <typename F>
void RotateQuarter(TBitmap& bitmap, F sourceOf) {
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w == 0 || h == 0 || !bitmap.Handle()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> block(static_cast<size_t>(w) * static_cast<size_t>(h));
  {
    win::TWindowDC screen(nullptr);
    HBITMAP handle = bitmap.ReleaseHandle();
    GetDIBits(screen.Get(), handle, 0, static_cast<UINT>(h), block.data(), &info, DIB_RGB_COLORS);
    bitmap.SetHandle(handle);
  }
  const TPixelFormat format = bitmap.PixelFormat();
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  bitmap.SetSize(h, w);
  // Block rows are bottom-up: source (x, y) lives at row h - 1 - y.
  for (int ty = 0; ty < w; ++ty) {
    TPixel24* out = Row(bitmap, ty);
    for (int tx = 0; tx < h; ++tx) {
      const POINT s = sourceOf(tx, ty, w, h);
      const std::uint32_t p = block[static_cast<size_t>(h - 1 - s.y) * static_cast<size_t>(w) + static_cast<size_t>(s.x)];
      out[tx] = TPixel24{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                         static_cast<std::uint8_t>(p >> 16)};
    }
  }
  if (format != TPixelFormat::pf24bit) bitmap.SetPixelFormat(format);
}

}  // namespace

void ConvertBitmapToGrayscale(TBitmap& bitmap) {
  bitmap.SetPixelFormat(TPixelFormat::pf24bit);
  for (int y = 0; y < bitmap.Height(); ++y) {
    TPixel24* row = Row(bitmap, y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const auto v = static_cast<std::uint8_t>((row[x].r + row[x].g + row[x].b) / 3);
      row[x] = TPixel24{v, v, v};
    }
  }
}

void SpiegelnHorizontal(TBitmap& bitmap) {
  const int w = bitmap.Width();
  Remap(bitmap, w, bitmap.Height(), [w](int x, int y) { return POINT{w - 1 - x, y}; });
}

void SpiegelnVertikal(TBitmap& bitmap) {
  const int h = bitmap.Height();
  Remap(bitmap, bitmap.Width(), h, [h](int x, int y) { return POINT{x, h - 1 - y}; });
}

void Drehen180Grad(TBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  Remap(bitmap, w, h, [w, h](int x, int y) { return POINT{w - 1 - x, h - 1 - y}; });
}

void Drehen90Grad(TBitmap& bitmap) {
  RotateQuarter(bitmap, [](int tx, int ty, int, int h) { return POINT{ty, h - 1 - tx}; });
}

void Drehen270Grad(TBitmap& bitmap) {
  RotateQuarter(bitmap, [](int tx, int ty, int w, int) { return POINT{w - 1 - ty, tx}; });
}

std::unique_ptr<TBitmap> Rotate90(TBitmap& source) {
  if (!Is24(source)) return nullptr;
  const int w = source.Width(), h = source.Height();
  auto result = std::make_unique<TBitmap>(h, w, TPixelFormat::pf24bit);
  for (int ty = 0; ty < w; ++ty) {
    TPixel24* out = Row(*result, ty);
    for (int tx = 0; tx < h; ++tx) out[tx] = Row(source, tx)[w - 1 - ty];
  }
  return result;
}

TColor Blend(TColor colour1, TColor colour2, int amount) {
  const COLORREF c1 = Plain(colour1), c2 = Plain(colour2);
  const int d = amount < 100 ? 100 : 1000;
  auto mix = [&](int a, int b) { return std::clamp((b * (d - amount) + a * amount + d / 2) / d, 0, 255); };
  return static_cast<TColor>(RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                                 mix(GetBValue(c1), GetBValue(c2))));
}

void GradFill(HDC dc, const RECT& rect, TColor colour1, TColor colour2, TGradientDirection direction) {
  if (!RectVisible(dc, &rect)) return;
  const COLORREF c1 = Plain(colour1), c2 = Plain(colour2);
  const bool horizontal = direction == TGradientDirection::LeftToRight;
  const int n = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
  if (n <= 0) return;
  RECT clip{};
  GetClipBox(dc, &clip);
  const int rectStart = horizontal ? rect.left : rect.top;
  const int rectEnd = horizontal ? rect.right : rect.bottom;
  const int clipStart = horizontal ? clip.left : clip.top;
  const int clipEnd = horizontal ? clip.right : clip.bottom;
  const int first = std::max(0, clipStart - rectStart);
  const int last = n - 1 - std::max(0, rectEnd - clipEnd);
  const std::vector<COLORREF>& table = GradientCache().Table(n, c1, c2);
  for (int i = first; i <= last; ++i) {
    win::TBrushHandle brush(CreateSolidBrush(table[static_cast<size_t>(i)]));
    const RECT band = horizontal ? RECT{rect.left + i, rect.top, rect.left + i + 1, rect.bottom}
                                 : RECT{rect.left, rect.top + i, rect.right, rect.top + i + 1};
    FillRect(dc, &band, brush.Get());
  }
}

int GradientTablesBuilt() { return GradientCache().built; }

}  // namespace bw::skin
