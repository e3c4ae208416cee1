// A skinned frame's custom drawing of its tool bars: the skin's tool-bar image behind the
// buttons, the skin's button faces under pressed and hot buttons.
#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/ImageList.h"
#include "framework/win/Text.h"
#include "framework/win/ToolBar.h"
#include "skin/controls/SkinImages.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

void TLacquerForm::ToolBarDrawBackground(win::TToolBar& toolBar, const RECT& rect, bool&) {
  if (!FSkinData || FSkinData->Options().Contains(TSkinOption::xoToolbarBK)) return;
  TDataSkinObject* image = FSkinData->Toolbar.get();
  HDC dc = toolBar.Canvas().Handle();
  if (!image || image->Bitmap.Width() == 0 || !dc) return;
  // The system draws its buttons over the picture afterwards.
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, image->Bitmap.Canvas().Handle(),
             0, 0, image->Bitmap.Width(), image->Bitmap.Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

namespace {

// Width of a drop-down button's arrow part.
constexpr int kArrowPartPx = 12;

// The button's picture, caption and drop-down arrow over a skin face, pressed ones one
// pixel down and right.
void DrawButtonContent(win::TToolBar& toolBar, win::TToolButton& button, RECT r, bool pressed) {
  win::TCanvas& canvas = toolBar.Canvas();
  HDC dc = canvas.Handle();
  if (pressed) OffsetRect(&r, 1, 1);
  RECT content = r;
  if (button.Style() == core::TToolButtonStyle::tbsDropDown) {
    content.right -= kArrowPartPx;
    const int cx = content.right + kArrowPartPx / 2, cy = (r.top + r.bottom) / 2;
    win::TBrushHandle ink(CreateSolidBrush(win::ColorToRGB(canvas.Font().Color())));
    for (int row = 0; row < 3 && ink; ++row) {
      const RECT line{cx - 2 + row, cy - 1 + row, cx + 3 - row, cy + row};
      FillRect(dc, &line, ink.Get());
    }
  }
  const std::wstring caption = toolBar.ShowCaptions() ? win::Widen(button.Caption()) : std::wstring();
  int textH = 0;
  if (!caption.empty()) {
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    textH = size.cy;
  }
  win::TImageList* images = toolBar.Images();
  if (images && button.ImageIndex() >= 0 && button.ImageIndex() < images->Count()) {
    const int x = content.left + (content.right - content.left - images->Width()) / 2;
    const int y = content.top + (content.bottom - content.top - textH - images->Height()) / 2;
    images->Draw(canvas, x, y, button.ImageIndex());
  }
  if (!caption.empty()) {
    RECT text = content;
    text.top = text.bottom - textH - 2;
    win::TSaveDCGuard saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, win::ColorToRGB(canvas.Font().Color()));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CENTER | DT_SINGLELINE | DT_TOP);
  }
}

}  // namespace

void TLacquerForm::ToolBarDrawButton(win::TToolBar& toolBar, win::TToolButton& button, core::TCustomDrawState state,
                                     bool& defaultDraw) {
  using F = core::TCustomDrawStateFlag;
  TDataSkinButton* skin = FSkinData ? FSkinData->Buttons.get() : nullptr;
  if (!skin || skin->Bitmap.Width() == 0 || FState != kFrameSkinned) return;
  int frame = 0;
  if (state.Contains(F::cdsSelected)) frame = 2;
  else if (state.Contains(F::cdsFocused) || state.Contains(F::cdsHot)) frame = 4;
  else if (state.Contains(F::cdsGrayed) || state.Contains(F::cdsDisabled)) return;
  else if (state.Contains(F::cdsDefault)) frame = 1;
  else return;
  win::TFont& font = toolBar.Canvas().Font();
  if (frame == 1 && skin->HasNormalColour2) font.SetColor(skin->NormalColour2);
  if (frame == 4 && skin->HasMouseOverColour2) font.SetColor(skin->MouseOverColour2);
  if (frame == 2 && skin->HasPressedColour2) font.SetColor(skin->PressedColour2);
  RECT r = button.BoundsRect();
  InflateRect(&r, -1, -1);
  HDC dc = toolBar.Canvas().Handle();
  if (!dc || r.right <= r.left || r.bottom <= r.top) return;
  // Composed once per state and size and kept: hovering makes no GDI objects.
  if (TKeyedImage* face = TSkinImageCache::Shared().Compose(skin->Bitmap, skin->Margins, false, frame, 5,
                                                            r.right - r.left, r.bottom - r.top, skin->Trans != 0))
    face->Draw(dc, r.left, r.top);
  // The system's own hot and pressed looks would cover the face: the button's content is
  // drawn here instead.
  DrawButtonContent(toolBar, button, button.BoundsRect(), frame == 2);
  defaultDraw = false;
}

}  // namespace bw::skin
