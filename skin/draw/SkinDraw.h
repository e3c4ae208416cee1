#pragma once
// Drawing primitives of the skin engine: one state frame of a skin bitmap drawn into a
// rectangle as a nine-slice (corners natural size, edges and centre resized), opaque or
// keyed on magenta; regions from keyed bitmaps. No state; scratch bitmaps live for one call.
#include <windows.h>

#include <memory>

#include "framework/win/Bitmap.h"
#include "framework/win/Controls.h"
#include "framework/win/GdiHandles.h"

namespace bw::skin {

using win::TBitmap;
using win::TCanvas;

constexpr COLORREF kSkinKeyColor = RGB(255, 0, 255);

// Margins: widths of the fixed left column, top row, right column and bottom row.
using TMargins = RECT;

// Where frame `index` (from 1) of `frames` equal state images lies in the bitmap.
// Out-of-range counts and indexes are clamped to the nearest valid frame.
struct TFrameGeometry {
  int sx, sy, fw, fh;
};
TFrameGeometry FrameOf(const TBitmap& bitmap, int index, int frames, bool stacked);

std::unique_ptr<TBitmap> GetHMap(const RECT& target, TBitmap& skin, const TMargins& margins, int index,
                                 int frames, bool tileCentre, bool stacked);
void DrawRect2(HDC dc, const RECT& target, TBitmap& skin, const TMargins& margins, int index, int frames,
               bool transparent, bool tileCentre, bool stacked);
// The eight border pieces only; the centre of the target is left as it is.
void DrawBorder(HDC dc, const RECT& target, TBitmap& skin, const TMargins& margins, int index, int frames,
                bool ignored, bool stacked);
void DrawRect1(HDC dc, const RECT& target, TBitmap& skin, int index, int frames, bool transparent);
// The frame at natural size, centred (it may overhang a smaller target).
void DrawRect3(HDC dc, const RECT& target, TBitmap& skin, int index, int frames, bool transparent);
// Three-slice: fixed left and right parts, the middle strip repeated between them.
void DrawRectTile(TCanvas& canvas, const RECT& target, TBitmap& skin, const TMargins& margins, int index,
                  int frames, bool transparent, bool stacked);
// Tiles `source` over the target; tiles may run past its right and bottom edges.
void DrawBGbmp(TCanvas& canvas, const RECT& target, TBitmap& source, const RECT& sourceRect);
// The bitmap's top-left part of the target's size, skipping pixels of exactly `key`.
void DrawTranmap(HDC dc, const RECT& target, TBitmap& bitmap, COLORREF key);
// All pixels outside the key range [key, key + tolerance] per channel, shifted by the
// offsets. Sets the bitmap to 32 bits per pixel.
win::TRegionHandle BitmapToRegion(TBitmap& bitmap, int offsetX, int offsetY, COLORREF key,
                                  BYTE toleranceRed, BYTE toleranceGreen, BYTE toleranceBlue);

// Paints into dc (the control's client coordinates) what the control's parent shows behind
// it: the parent erases and paints itself on dc. Errors of the parent's painting are
// swallowed. With invalidateParent, a parent that is neither a custom control nor a form
// is also invalidated.
void DrawParentImage(win::TControl& control, HDC dc, bool invalidateParent);

}  // namespace bw::skin
