// Status bars from the skin's panel edges, text colour and size grip.
#include <algorithm>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/StatusBar.h"
#include "skin/controls/Panels.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinStatusBar::kClass{"TSkinStatusBar", &TSkinControl::kClass, {}, {}};

namespace {

constexpr int kLowered = 1, kRaised = 2, kFlat = 3;

int FrameOfBevel(core::TStatusPanelBevel bevel) {
  switch (bevel) {
    case core::TStatusPanelBevel::pbLowered: return kLowered;
    case core::TStatusPanelBevel::pbRaised: return kRaised;
    default: return kFlat;
  }
}

UINT AlignFlag(core::TAlignment alignment) {
  switch (alignment) {
    case core::TAlignment::taRightJustify: return DT_RIGHT;
    case core::TAlignment::taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

bool RightToLeft(core::TBiDiMode mode) { return mode == core::TBiDiMode::bdRightToLeft; }

core::TAlignment Mirrored(core::TAlignment alignment) {
  if (alignment == core::TAlignment::taLeftJustify) return core::TAlignment::taRightJustify;
  if (alignment == core::TAlignment::taRightJustify) return core::TAlignment::taLeftJustify;
  return alignment;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return L" ";  // the frame is drawn all the same
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

}  // namespace

bool TSkinStatusBar::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      WMPaint(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinStatusBar::Defaultpaint(HDC dc, const RECT& rect, int frame) {
  if (frame == kFlat) return;
  const TBevel bevel = BevelColors(frame == kLowered ? 1 : 0);
  win::TBrushHandle topLeft(CreateSolidBrush(win::ColorToRGB(bevel.TopLeft)));
  win::TBrushHandle bottomRight(CreateSolidBrush(win::ColorToRGB(bevel.BottomRight)));
  if (!topLeft || !bottomRight) return;
  const RECT top{rect.left, rect.top, rect.right - 1, rect.top + 1};
  const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom - 1};
  const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
  FillRect(dc, &top, topLeft.Get());
  FillRect(dc, &left, topLeft.Get());
  FillRect(dc, &bottom, bottomRight.Get());
  FillRect(dc, &right, bottomRight.Get());
}

void TSkinStatusBar::drawitem(HDC dc, const RECT& rect, int frame) {
  TDataSkinObject* edges = FSkinData ? FSkinData->StatusBarEdges.get() : nullptr;
  if (!HasSkinImage(edges)) return Defaultpaint(dc, rect, frame);
  if (TKeyedImage* image = Images().Compose(edges->Bitmap, edges->Margins, edges->Tile != 0, frame, 3,
                                            rect.right - rect.left, rect.bottom - rect.top, false))
    image->Draw(dc, rect.left, rect.top);
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rect) {
  auto* bar = dynamic_cast<win::TCustomStatusBar*>(FControl);
  if (!bar || !FSkinData) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  {
    TScratch scratch(w, h);
    HDC b = scratch.DC();
    const RECT all{0, 0, w, h};
    FillBG(b, all);
    TBoundCanvas canvas(TextCanvas(scratch), b);
    AssignFontIfChanged(canvas->Font(), *bar->Font());
    if (FSkinData->StatusBarEdges) canvas->Font().SetColor(FSkinData->StatusBarEdges->NormalColour2);
    auto caption = [&](RECT r, const std::string& text, core::TAlignment alignment) {
      r.left += 2;
      r.right -= 2;
      DrawCaption(*canvas, r, Wide(text), true, AlignFlag(alignment));
    };
    const int count = bar->Panels()->Count();
    if (bar->SimplePanel() || count == 0) {
      drawitem(b, all, kLowered);
      caption(all, bar->SimpleText(),
              RightToLeft(bar->BiDiMode()) ? core::TAlignment::taRightJustify : core::TAlignment::taLeftJustify);
    } else {
      for (int i = 0; i < count; ++i) {
        const win::TStatusPanel& panel = bar->Panels()->Items(i);
        RECT r{};
        if (!bar->PanelRect(i, r)) continue;
        r.right = i == count - 1 ? w : r.right + 2;
        drawitem(b, r, FrameOfBevel(panel.Bevel()));
        if (panel.Style() == core::TStatusPanelStyle::psText)
          caption(r, panel.Text(), RightToLeft(panel.BiDiMode()) ? Mirrored(panel.Alignment()) : panel.Alignment());
      }
    }
    TDataSkinObject* extra = FSkinData->ExtraImages.get();
    if ((GetWindowLongEx(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && HasSkinImage(extra)) {
      const int frames = extra->Frame > 0 ? extra->Frame : 5;
      const int fw = extra->Bitmap.Width() / frames, fh = extra->Bitmap.Height();
      if (TKeyedImage* grip = Images().Compose(extra->Bitmap, RECT{0, 0, 0, 0}, false, std::min(5, frames), frames,
                                               fw, fh, true))
        grip->Draw(b, w - 1 - fw, h - 1 - fh);
    }
    BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
  }
  bar->PaintControls(dc);
  if (!bar->OnDrawPanel || bar->SimplePanel()) return;
  // The handler draws on the bar's canvas, bound to this paint's context meanwhile.
  win::TCanvas& canvas = bar->Canvas();
  if (auto* own = dynamic_cast<win::TControlCanvas*>(&canvas)) own->FreeHandle();
  canvas.Font().Assign(*bar->Font());
  TBoundCanvas bound(canvas, dc);
  // Only owner-drawn panels: a handler called for a text panel would draw over its text.
  for (int i = 0; i < bar->Panels()->Count(); ++i) {
    win::TStatusPanel& panel = bar->Panels()->Items(i);
    RECT r{};
    if (panel.Style() != core::TStatusPanelStyle::psOwnerDraw || !bar->PanelRect(i, r)) continue;
    InflateRect(&r, -2, -2);
    bar->OnDrawPanel(bar, &panel, r);
  }
}

}  // namespace bw::skin
