// Progress bars and track-bar thumbs from the skin.
#include "skin/controls/Progress.h"

#include <algorithm>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/draw/ImgUtil.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

const core::TClassInfo TSkinProgress::kClass{"TSkinProgress", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinTrackBar::kClass{"TSkinTrackBar", &TSkinControl::kClass, {}, {}};

namespace {
constexpr RECT kNoMargins{0, 0, 0, 0};
}

// ---- TSkinProgress

bool TSkinProgress::HasProgressImage() const { return FSkinData && HasSkinImage(FSkinData->Progress.get()); }

bool TSkinProgress::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (!HasProgressImage()) return true;
      WMPaint(message);
      message.Result = 0;
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case WM_NCPAINT:
      // The bar's static edge is part of the skinned picture, not the system's.
      if (!HasProgressImage()) return true;
      PaintControl(nullptr);
      message.Result = 0;
      return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rect) {
  if (!HasProgressImage()) return;
  TDataSkinBorder& skin = *FSkinData->Progress;
  if (skin.Style == 1) return DrawControl1(dc, rect);
  const bool vertical = (GetWindowLongEx(FHandle, GWL_STYLE) & PBS_VERTICAL) != 0;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const int along = vertical ? h : w, across = vertical ? w : h;
  TScratch scratch(along, across);
  HDC c = scratch.DC();
  FillBG(c, RECT{0, 0, along, across});
  if (TKeyedImage* track = Images().Compose(skin.Bitmap, skin.Margins, skin.Tile != 0, 1, 2, along, across, true))
    track->Draw(c, 0, 0);
  const int pos = static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  const int max = static_cast<int>(SendMessageW(FHandle, PBM_GETRANGE, 0, 0));
  FLastFilled = 0;
  if (max > 0 && pos > 0) {
    const int filled = std::min(MulDiv(along, pos, max), along);
    if (filled > 0) {
      FLastFilled = filled;
      if (TKeyedImage* bar = Images().Compose(skin.Bitmap, skin.Margins, skin.Tile != 0, 2, 2, filled, across, true))
        bar->Draw(c, 0, 0);
    }
  }
  if (!vertical) {
    BitBlt(dc, rect.left, rect.top, w, h, c, 0, 0, SRCCOPY);
    return;
  }
  // Turned counter-clockwise, the start of the bar comes to the bottom. Vertical bars are
  // rare: the turned copy is made for each paint.
  win::TBitmap lying(along, across, win::TPixelFormat::pf24bit);
  BitBlt(lying.Canvas().Handle(), 0, 0, along, across, c, 0, 0, SRCCOPY);
  if (auto turned = Rotate90(lying)) BitBlt(dc, rect.left, rect.top, w, h, turned->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawControl1(HDC dc, const RECT& rect) {
  TDataSkinBorder& skin = *FSkinData->Progress;
  if (skin.Bitmap2.Width() == 0 || skin.Bitmap2.Height() == 0) return;
  TScratch scratch(rect.right, rect.bottom);
  HDC b = scratch.DC();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  FillBG(b, rect);
  if (TKeyedImage* track = Images().Compose(skin.Bitmap, skin.Margins, skin.Tile != 0, 1, 1, w, h, true))
    track->Draw(b, rect.left, rect.top);
  const int pos = static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  const int max = static_cast<int>(SendMessageW(FHandle, PBM_GETRANGE, 0, 0));
  FLastFilled = 0;
  if (max > 0 && pos > 0) {
    const int filled = MulDiv(w, pos, max);
    const int cw = skin.Bitmap2.Width(), ch = skin.Bitmap2.Height();
    if (filled > 0) {
      FLastFilled = filled;
      TKeyedImage* chunk = Images().Compose(skin.Bitmap2, kNoMargins, false, 1, 1, cw, ch, true);
      const int x0 = rect.left + skin.Margins.left, y0 = rect.top + (rect.bottom - ch) / 2;
      win::TSaveDCGuard saved(b);
      IntersectClipRect(b, x0, y0, x0 + filled, y0 + ch);  // the last chunk is cut at the position
      for (int i = 0; chunk && i <= filled / cw; ++i) chunk->Draw(b, x0 + i * cw, y0);
    }
  }
  BitBlt(dc, rect.left, rect.top, w, h, b, rect.left, rect.top, SRCCOPY);
}

// ---- TSkinTrackBar

bool TSkinTrackBar::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case win::CN_CTLCOLORSTATIC:
      // The system paints the channel's ground with this brush: the skin's face, so the
      // bar sits on its form like the skinned controls around it.
      if (!FSkinData || !FSkinData->FaceBrush) return true;
      SetBkColor(reinterpret_cast<HDC>(message.WParam), win::ColorToRGB(FaceColor()));
      message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush);
      return false;
    case WM_NOTIFY:
    case win::CN_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(message.LParam);
      if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return true;
      message.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(message.LParam));
      return false;
    }
  }
  return TSkinControl::BeforeProc(message);
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage == CDDS_ITEMPREPAINT && draw.dwItemSpec == TBCD_THUMB) {
    try {
      Drawthumb(draw);
    } catch (...) {
    }
    return CDRF_SKIPDEFAULT;
  }
  return CDRF_DODEFAULT;
}

void TSkinTrackBar::Drawthumb(NMCUSTOMDRAW& draw) {
  if (!FHandle || !IsWindow(FHandle)) return;
  RECT thumb{};
  SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const bool vertical = (GetWindowLongEx(FHandle, GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject* image = nullptr;
  if (FSkinData) {
    if (vertical && FSkinData->TrackThumbVert) image = FSkinData->TrackThumbVert.get();
    else if (FSkinData->TrackThumbHorz) image = FSkinData->TrackThumbHorz.get();
  }
  const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
  if (image && image->Bitmap.Width() > 0) {
    if (TKeyedImage* drawn = Images().Compose(image->Bitmap, kNoMargins, false, 2, 5, w, h, true))
      drawn->Draw(draw.hdc, thumb.left, thumb.top);
    return;
  }
  win::TCanvas canvas(draw.hdc);
  canvas.Pen().SetColor(FSkinData ? FSkinData->Colors[TShemeColor::csButtonShadow] : win::clBtnShadow);
  canvas.Rectangle(thumb.left, thumb.top, thumb.right, thumb.bottom);
}

void TSkinTrackBar::skinchange() {
  if (FControl && FControl->HandleAllocated() && IsWindowVisible(FControl->WindowHandle()))
    RedrawWindow(FControl->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TSkinTrackBar::SkinChange() {
  Images().Clear();
  skinchange();
}

}  // namespace bw::skin
