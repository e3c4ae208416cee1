#include "skin/draw/SkinDraw.h"

#include <algorithm>

#include "framework/win/Forms.h"
#include <cstdint>
#include <vector>

namespace bw::skin {

namespace {

using win::TPixelFormat;
using win::TSelectGuard;

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Stretches src (x, y, w, h) of the skin into dest; empty pieces are skipped.
void Piece(HDC dest, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  StretchBlt(dest, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
}

struct TNineSlice {
  int left, top, right, bottom;  // after the margin rule
};

TNineSlice ApplyMarginRule(const TMargins& m, int dw, int dh) {
  TNineSlice s{m.left, m.top, m.right, m.bottom};
  if (dw < s.left + s.right) s.left = s.right = 0;
  if (dh < s.top + s.bottom) s.top = s.bottom = 0;
  return s;
}

// The eight non-centre pieces in drawing order, offset by (ox, oy).
void DrawEdges(HDC dest, int ox, int oy, int dw, int dh, HDC src, const TFrameGeometry& f, const TNineSlice& s,
               bool withCentre, TCanvas* tileCanvas, TBitmap* skin) {
  const int L = s.left, T = s.top, R = s.right, B = s.bottom;
  const int sx = f.sx, sy = f.sy, fw = f.fw, fh = f.fh;
  Piece(dest, ox, oy, L, T, src, sx, sy, L, T);
  Piece(dest, ox, oy + dh - B, L, B, src, sx, sy + fh - B, L, B);
  Piece(dest, ox + dw - R, oy, R, T, src, sx + fw - R, sy, R, T);
  Piece(dest, ox, oy + T, L, dh - B - T, src, sx, sy + T, L, fh - B - T);
  Piece(dest, ox + L, oy, dw - R - L, T, src, sx + L, sy, fw - R - L, T);
  if (withCentre) {
    if (tileCanvas) {
      const RECT centre{ox + L, oy + T, ox + dw - R, oy + dh - B};
      DrawBGbmp(*tileCanvas, centre, *skin, RECT{sx + L, sy + T, sx + fw - R, sy + fh - B});
    } else {
      Piece(dest, ox + L, oy + T, dw - R - L, dh - B - T, src, sx + L, sy + T, fw - R - L, fh - B - T);
    }
  }
  Piece(dest, ox + dw - R, oy + dh - B, R, B, src, sx + fw - R, sy + fh - B, R, B);
  Piece(dest, ox + dw - R, oy + T, R, dh - B - T, src, sx + fw - R, sy + T, R, fh - B - T);
  Piece(dest, ox + L, oy + dh - B, dw - R - L, B, src, sx + L, sy + fh - B, fw - R - L, B);
}

void Output(HDC dc, const RECT& target, TBitmap& composed, bool transparent) {
  if (transparent) {
    DrawTranmap(dc, target, composed, kSkinKeyColor);
  } else {
    BitBlt(dc, target.left, target.top, composed.Width(), composed.Height(), composed.Canvas().Handle(), 0, 0,
           SRCCOPY);
  }
}

}  // namespace

TFrameGeometry FrameOf(const TBitmap& bitmap, int index, int frames, bool stacked) {
  frames = std::max(frames, 1);
  index = std::clamp(index, 1, frames);
  TFrameGeometry g{};
  if (stacked) {
    g.fw = bitmap.Width();
    g.fh = bitmap.Height() / frames;
    g.sy = (index - 1) * g.fh;
  } else {
    g.fw = bitmap.Width() / frames;
    g.fh = bitmap.Height();
    g.sx = (index - 1) * g.fw;
  }
  return g;
}

std::unique_ptr<TBitmap> GetHMap(const RECT& target, TBitmap& skin, const TMargins& margins, int index,
                                 int frames, bool tileCentre, bool stacked) {
  const int dw = std::max<int>(target.right - target.left, 0);
  const int dh = std::max<int>(target.bottom - target.top, 0);
  auto result = std::make_unique<TBitmap>(dw, dh, TPixelFormat::pf24bit);
  if (dw == 0 || dh == 0 || skin.Width() == 0 || skin.Height() == 0) return result;
  HDC dest = result->Canvas().Handle();
  SetStretchBltMode(dest, COLORONCOLOR);
  const TFrameGeometry f = FrameOf(skin, index, frames, stacked);
  DrawEdges(dest, 0, 0, dw, dh, skin.Canvas().Handle(), f, ApplyMarginRule(margins, dw, dh), true,
            tileCentre ? &result->Canvas() : nullptr, &skin);
  return result;
}

void DrawRect2(HDC dc, const RECT& target, TBitmap& skin, const TMargins& margins, int index, int frames,
               bool transparent, bool tileCentre, bool stacked) {
  if (Inverted(target)) return;
  auto composed = GetHMap(target, skin, margins, index, frames, tileCentre, stacked);
  if (composed->Width() > 0 && composed->Height() > 0) Output(dc, target, *composed, transparent);
}

void DrawBorder(HDC dc, const RECT& target, TBitmap& skin, const TMargins& margins, int index, int frames,
                bool /*ignored*/, bool stacked) {
  if (Inverted(target) || skin.Width() == 0 || skin.Height() == 0) return;
  const int dw = target.right - target.left, dh = target.bottom - target.top;
  const TFrameGeometry f = FrameOf(skin, index, frames, stacked);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  DrawEdges(dc, target.left, target.top, dw, dh, skin.Canvas().Handle(), f, ApplyMarginRule(margins, dw, dh),
            false, nullptr, nullptr);
  SetStretchBltMode(dc, oldMode);
}

void DrawRect1(HDC dc, const RECT& target, TBitmap& skin, int index, int frames, bool transparent) {
  if (Inverted(target)) return;
  const int dw = target.right - target.left, dh = target.bottom - target.top;
  if (dw == 0 || dh == 0 || skin.Width() == 0) return;
  const TFrameGeometry f = FrameOf(skin, index, frames, false);
  TBitmap scratch(dw, dh, TPixelFormat::pf24bit);
  HDC s = scratch.Canvas().Handle();
  SetStretchBltMode(s, COLORONCOLOR);
  Piece(s, 0, 0, dw, dh, skin.Canvas().Handle(), f.sx, f.sy, f.fw, f.fh);
  Output(dc, target, scratch, transparent);
}

void DrawRect3(HDC dc, const RECT& target, TBitmap& skin, int index, int frames, bool transparent) {
  if (Inverted(target) || skin.Width() == 0) return;
  const TFrameGeometry f = FrameOf(skin, index, frames, false);
  if (f.fw <= 0 || f.fh <= 0) return;
  const int x = target.left + (target.right - target.left - f.fw) / 2;
  const int y = target.top + (target.bottom - target.top - f.fh) / 2;
  TBitmap frame(f.fw, f.fh, TPixelFormat::pf24bit);
  BitBlt(frame.Canvas().Handle(), 0, 0, f.fw, f.fh, skin.Canvas().Handle(), f.sx, f.sy, SRCCOPY);
  Output(dc, RECT{x, y, x + f.fw, y + f.fh}, frame, transparent);
}

void DrawRectTile(TCanvas& canvas, const RECT& target, TBitmap& skin, const TMargins& margins, int index,
                  int frames, bool transparent, bool stacked) {
  if (Inverted(target)) return;
  const int tw = target.right - target.left, th = target.bottom - target.top;
  if (tw == 0 || th == 0 || skin.Width() == 0 || skin.Height() == 0) return;
  const TFrameGeometry f = FrameOf(skin, index, frames, stacked);
  const int L = margins.left, R = margins.right;
  TBitmap scratch(tw, th, TPixelFormat::pf24bit);
  HDC s = scratch.Canvas().Handle();
  HDC src = skin.Canvas().Handle();
  SetStretchBltMode(s, COLORONCOLOR);
  Piece(s, 0, 0, L, th, src, f.sx, f.sy, L, f.fh);
  const int middle = f.fw - L - R;
  if (middle > 0) {  // a strip of no width could never fill the gap
    for (int x = L; x < tw - R; x += middle) Piece(s, x, 0, middle, th, src, f.sx + L, f.sy, middle, f.fh);
  }
  Piece(s, tw - R, 0, R, th, src, f.sx + f.fw - R, f.sy, R, f.fh);
  HDC dc = canvas.Handle();
  if (dc) Output(dc, target, scratch, transparent);
}

void DrawBGbmp(TCanvas& canvas, const RECT& target, TBitmap& source, const RECT& sourceRect) {
  const int tw = sourceRect.right - sourceRect.left, th = sourceRect.bottom - sourceRect.top;
  if (tw <= 0 || th <= 0 || Inverted(target)) return;
  TBitmap tile(tw, th, TPixelFormat::pf24bit);
  BitBlt(tile.Canvas().Handle(), 0, 0, tw, th, source.Canvas().Handle(), sourceRect.left, sourceRect.top,
         SRCCOPY);
  HDC dc = canvas.Handle();
  if (!dc) return;
  HDC t = tile.Canvas().Handle();
  for (int x = target.left; x < target.right; x += tw)
    for (int y = target.top; y < target.bottom; y += th) BitBlt(dc, x, y, tw, th, t, 0, 0, SRCCOPY);
}

void DrawTranmap(HDC dc, const RECT& target, TBitmap& bitmap, COLORREF key) {
  if (Inverted(target)) return;
  const int w = target.right - target.left, h = target.bottom - target.top;
  if (w == 0 || h == 0 || !bitmap.Handle()) return;
  HDC src = bitmap.Canvas().Handle();
  win::TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  win::TMemoryDC maskDC(nullptr);
  if (!mask || !maskDC) {
    BitBlt(dc, target.left, target.top, w, h, src, 0, 0, SRCCOPY);  // better unkeyed than nothing
    return;
  }
  {
    TSelectGuard selectMask(maskDC.Get(), mask.Get());
    const COLORREF oldBk = SetBkColor(src, key);
    BitBlt(maskDC.Get(), 0, 0, w, h, src, 0, 0, SRCCOPY);  // key pixels become 1
    SetBkColor(src, oldBk);
  }
  constexpr DWORD kKeepDest = 0x00AA0029;
  MaskBlt(dc, target.left, target.top, w, h, src, 0, 0, mask.Get(), 0, 0, MAKEROP4(kKeepDest, SRCCOPY));
}

win::TRegionHandle BitmapToRegion(TBitmap& bitmap, int offsetX, int offsetY, COLORREF key, BYTE toleranceRed,
                                  BYTE toleranceGreen, BYTE toleranceBlue) {
  constexpr size_t kGrowBy = 500;
  constexpr size_t kRectsPerRegion = 2000;
  bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  const int lr = GetRValue(key), lg = GetGValue(key), lb = GetBValue(key);
  const int hr = std::min(255, lr + toleranceRed), hg = std::min(255, lg + toleranceGreen),
            hb = std::min(255, lb + toleranceBlue);
  auto keyed = [&](std::uint32_t p) {
    const int b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    return r >= lr && r <= hr && g >= lg && g <= hg && b >= lb && b <= hb;
  };

  win::TRegionHandle result(CreateRectRgn(0, 0, 0, 0));
  std::vector<RECT> rects;
  rects.reserve(kGrowBy);
  RECT bounds{};
  auto flush = [&] {
    if (rects.empty()) return;
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects.size());
    header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    header->rcBound = bounds;
    std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
    win::TRegionHandle part(
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
    if (part && result) CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    rects.clear();
    bounds = RECT{};
  };

  for (int y = 0; y < bitmap.Height(); ++y) {
    const auto* row = static_cast<const std::uint32_t*>(bitmap.ScanLine(y));
    int x = 0;
    while (x < bitmap.Width()) {
      while (x < bitmap.Width() && keyed(row[x])) ++x;
      const int start = x;
      while (x < bitmap.Width() && !keyed(row[x])) ++x;
      if (x > start) {
        const RECT r{start + offsetX, y + offsetY, x + offsetX, y + 1 + offsetY};
        if (rects.empty()) {
          bounds = r;
        } else {
          bounds.left = std::min(bounds.left, r.left);
          bounds.top = std::min(bounds.top, r.top);
          bounds.right = std::max(bounds.right, r.right);
          bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
        if (rects.size() == rects.capacity()) rects.reserve(rects.capacity() + kGrowBy);
        rects.push_back(r);
        if (rects.size() == kRectsPerRegion) flush();
      }
    }
  }
  flush();
  return result;
}

void DrawParentImage(win::TControl& control, HDC dc, bool invalidateParent) {
  win::TWinControl* parent = control.Parent();
  if (!parent || !parent->HandleAllocated()) return;
  {
    win::TSaveDCGuard saved(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
    const RECT client = parent->ClientRect();
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    try {
      parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
      parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
      // The parent's own painting failed: what it drew so far stays.
    }
  }
  if (invalidateParent && !dynamic_cast<win::TCustomControl*>(parent) && !dynamic_cast<win::TCustomForm*>(parent) &&
      !control.IsDesigning())
    parent->Invalidate();
}

}  // namespace bw::skin
