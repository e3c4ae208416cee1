// The frame's non-client painting: borders by side and state, the caption strip with its
// text and buttons, the menu band, and the window region cut where borders are magenta.
#include <algorithm>

#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerMenu.h"

namespace bw::skin {

namespace {

TDataSkinBorder* BorderOf(TSkinData& data, int side) {
  switch (side) {
    case 1: return data.LeftBorder.get();
    case 2: return data.RightBorder.get();
    case 3: return data.TopBorder.get();
    case 4: return data.BottomBorder.get();
  }
  return nullptr;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

std::wstring TLacquerForm::CaptionText() const {
  return FCaptionPrefix + GetFormCaption(FHandle) + FCaptionSuffix;
}

TFrameGeometryInput TLacquerForm::GeometryInput(std::vector<TButtonPlacement>& placements) const {
  TFrameGeometryInput in;
  RECT window;
  GetWindowRect(FHandle, &window);
  in.Window = SIZE{window.right - window.left, window.bottom - window.top};
  in.Borders = TFrameBorders{FLeftWidth, FTopHeight, FRightWidth, FBottomHeight, FMenuHeight};
  if (FSkinData && FSkinData->Title) {
    const TDataSkinTitle& t = *FSkinData->Title;
    in.Title = TCaptionLayout{static_cast<int>(t.Margins.left), static_cast<int>(t.Margins.top),
                              static_cast<int>(t.Margins.right), t.TextAlignment, t.TXTBackleft, t.TXTBackRight};
  }
  in.Text = FTextSize;
  in.RightToLeft = FRightToLeft;
  in.Popup = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_POPUP) != 0;
  in.DialogBorder = FBorderStyle == TSkinFormBorder::sbsDialog;
  if (FSkinData && FSkinData->MenuBar) in.MenuBarLeftMargin = FSkinData->MenuBar->Margins.left;
  placements.clear();
  for (const auto& button : FButtons) {
    const TDataSkinSysButton& s = *button->FSkinButton;
    TButtonPlacement p;
    p.Visible = button->FVisible && s.Bitmap.Width() > 0;
    p.Align = s.Align;
    p.Xcoord = s.Xcoord;
    p.Ycoord = s.Ycoord;
    p.Size = SIZE{s.Bitmap.Width() / std::max(s.Frame, 1), s.Bitmap.Height()};
    placements.push_back(p);
  }
  in.Buttons = placements;
  return in;
}

TFrameLayout TLacquerForm::Geometry() {
  for (int i = 0; i < FButtonCount; ++i) FButtons[static_cast<size_t>(i)]->FVisible = Checkvisible(i);
  std::vector<TButtonPlacement> placements;
  return LayoutFrame(GeometryInput(placements));
}

void TLacquerForm::Drawborder(int side, const RECT& rect, HDC dc) {
  if (!FSkinData || Empty(rect)) return;
  TDataSkinBorder* border = BorderOf(*FSkinData, side);
  if (!border || border->Bitmap.Width() == 0) return;
  const int frames = std::max(border->Frame, 1);
  const int index = frames == 1 ? 1 : (FActive ? 1 : 2);
  const bool stacked = side == 3 || side == 4;
  RECT size{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  auto image = GetHMap(size, border->Bitmap, border->Margins, index, frames, border->Tile != 1, stacked);
  if (!image) return;
  BitBlt(dc, rect.left, rect.top, size.right, size.bottom, image->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TLacquerForm::DrawLine(win::TCanvas& canvas, const TFrameLayout& g) {
  TDataSkinTitle& title = *FSkinData->Title;
  HDC dc = canvas.Handle();
  const RECT& s = g.TopBorder;
  if (title.Bitmap.Width() > 0 && !Empty(g.TextRect)) {
    const RECT back{g.TextRect.left, s.top, g.TextRect.right, s.bottom};
    DrawRectTile(canvas, back, title.Bitmap, RECT{title.TXTBackleft, 0, title.TXTBackRight, 0}, FActive ? 1 : 2, 2,
                 true, true);
  }
  dc = canvas.Handle();
  win::TSaveDCGuard saved(dc);
  win::TSelectGuard font(dc, FCaptionFont->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, win::ColorToRGB(FSkinData->Colors[FActive ? TShemeColor::csTitleTextActive
                                                             : TShemeColor::csTitleTextNoActive]));
  RECT text = g.TextDraw;
  const std::wstring caption = CaptionText();
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (FRightToLeft ? DT_RIGHT : DT_LEFT));
}

void TLacquerForm::DrawFLine(HDC dc, const TFrameLayout& g) {
  const int w = g.Strip.right, h = g.Strip.bottom;
  if (w <= 0 || h <= 0) return;
  if (FCaptionBitmap.Width() != w || FCaptionBitmap.Height() != h) FCaptionBitmap.SetSize(w, h);
  win::TCanvas& canvas = FCaptionBitmap.Canvas();
  // The strip starts from what is there: the tops of the side borders already painted.
  BitBlt(canvas.Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
  Drawborder(3, g.TopBorder, canvas.Handle());
  DrawLine(canvas, g);
  SetSysbtnRect(g);
  DrawAllSysbtn(canvas.Handle());
  BitBlt(dc, 0, 0, w, h, canvas.Handle(), 0, 0, SRCCOPY);
}

void TLacquerForm::UpdateNc(HDC dc) {
  if (!SharedBG() || (FState != kFrameSkinned && FState != kFrameChanging)) return;
  if (FBorderStyle == TSkinFormBorder::sbsNone || MDIChildMaxOrMin() || !FSkinData || FSkinData->NoSkin) return;
  try {
    std::optional<win::TWindowDC> own;
    if (!dc) {
      own.emplace(FHandle, win::TWindowDC::TArea::Window);
      dc = own->Get();
    }
    if (!dc) return;
    GetWindowRect(FHandle, &FWindowRect);
    FWidth = FWindowRect.right - FWindowRect.left;
    FHeight = FWindowRect.bottom - FWindowRect.top;
    if (FWidth <= 0 || FHeight <= 0) return;
    // The text is measured first: the layout places the caption buttons around it.
    {
      win::TWindowDC screen(nullptr);
      win::TMemoryDC measure(screen.Get());
      win::TSelectGuard font(measure.Get(), FCaptionFont->Handle());
      const std::wstring caption = CaptionText();
      RECT r{0, 0, 0, 0};
      DrawTextW(measure.Get(), caption.c_str(), static_cast<int>(caption.size()), &r,
                DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
      FTextSize = SIZE{r.right - r.left, r.bottom - r.top};
    }
    const TFrameLayout g = Geometry();
    FTextRect = g.TextRect;
    FButtonsRight = g.ButtonsRight;
    // Everything is composed off-screen and copied once, the client area left out.
    win::TBitmap frame(FWidth, FHeight, win::TPixelFormat::pf24bit);
    HDC composed = frame.Canvas().Handle();
    Drawborder(1, g.LeftBorder, composed);
    Drawborder(2, g.RightBorder, composed);
    Drawborder(4, g.BottomBorder, composed);
    DrawFLine(composed, g);
    if (FMenuBar) {
      FMenuBar->DrawMenu(composed, g.MenuBand);
    } else if (FMenuHeight > 0 && !Empty(g.MenuBand)) {
      FillRect(composed, &g.MenuBand, FSkinData->FaceBrush ? FSkinData->FaceBrush
                                                           : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    win::TSaveDCGuard saved(dc);
    ExcludeClipRect(dc, FLeftWidth, FTopHeight + FMenuHeight, FWidth - FRightWidth, FHeight - FBottomHeight);
    BitBlt(dc, 0, 0, FWidth, FHeight, composed, 0, 0, SRCCOPY);
    FHot = nullptr;
  } catch (...) {
    // The frame is painted again at the next paint.
  }
}

void TLacquerForm::Cropwindow() {
  if (FState == kFrameDestroyed || !FSkinData) return;
  RECT window;
  GetWindowRect(FHandle, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (w <= 0 || h <= 0 || MDIChildMaxOrMin()) return;
  // Built again only for a new size; a skin change forgets the size, so it builds once.
  if (!IsMDIChild() && w == FRgnWidth && h == FRgnHeight) return;
  TSkinData& d = *FSkinData;
  const bool anyTrans = d.LeftBorder->Trans || d.RightBorder->Trans || d.TopBorder->Trans || d.BottomBorder->Trans;
  win::TRegionHandle region;
  FRgnWidth = w;
  FRgnHeight = h;
  if (!anyTrans) {
    region.Reset(CreateRectRgn(0, 0, w, h));
  } else {
    region.Reset(CreateRectRgn(FLeftWidth, FTopHeight, w - FRightWidth, h - FBottomHeight));
    if (FBorderStyle != TSkinFormBorder::sbsNone) {
      const bool stripPainted = FCaptionBitmap.Width() == w && FCaptionBitmap.Height() == FTopHeight;
      struct TPiece {
        int Side;
        RECT Rect;
        bool Keyed;
      };
      const TPiece pieces[] = {
          {1, RECT{0, 0, FLeftWidth, h}, d.LeftBorder->Trans != 0 && h > 1},
          {2, RECT{w - FRightWidth, 0, w, h}, d.RightBorder->Trans != 0 && h > 1},
          {4, RECT{FLeftWidth, h - FBottomHeight, w - FRightWidth, h}, d.BottomBorder->Trans != 0 && FBottomHeight > 1},
          {3, RECT{FLeftWidth, 0, w - FRightWidth, FTopHeight}, d.TopBorder->Trans != 0 && FTopHeight > 1},
      };
      for (const TPiece& piece : pieces) {
        if (Empty(piece.Rect)) continue;
        win::TRegionHandle part;
        if (piece.Keyed) {
          const int pw = piece.Rect.right - piece.Rect.left, ph = piece.Rect.bottom - piece.Rect.top;
          win::TBitmap scratch(pw, ph, win::TPixelFormat::pf24bit);
          if (piece.Side == 3 && stripPainted) {
            BitBlt(scratch.Canvas().Handle(), 0, 0, pw, ph, FCaptionBitmap.Canvas().Handle(), piece.Rect.left, 0,
                   SRCCOPY);
          } else {
            Drawborder(piece.Side, RECT{0, 0, pw, ph}, scratch.Canvas().Handle());
          }
          part = BitmapToRegion(scratch, piece.Rect.left, piece.Rect.top, kSkinKeyColor, 1, 1, 1);
        } else {
          part.Reset(CreateRectRgnIndirect(&piece.Rect));
        }
        if (part) CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
      }
    }
  }
  if (!region) return;
  if (SetWindowRgn(FHandle, region.Get(), TRUE)) {
    region.Release();  // the system owns it now
    FHasRegion = true;
  }
}

void TLacquerForm::Uncropwindow() {
  SetWindowRgn(FHandle, nullptr, IsMDIChild());
  FHasRegion = false;
  FRgnWidth = FRgnHeight = 0;
  FCaptionBitmap.SetSize(0, 0);
}

}  // namespace bw::skin
