// The tab set, whose tabs hang from its top edge, and the pages of page controls.
#include <algorithm>

#include "framework/win/GdiHandles.h"
#include "framework/win/Tabs.h"
#include "framework/win/Text.h"
#include "skin/controls/Combos.h"
#include "skin/controls/Tabs.h"
#include "skin/draw/ImgUtil.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinTab31::kClass{"TSkinTab31", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinTabSheet::kClass{"TSkinTabSheet", &TSkinControl::kClass, {}, {}};

namespace {
constexpr int kTabSetPaddingPx = 9;  // a tab is as wide as its text and this
constexpr int kMinScrollerPx = 12;
}  // namespace

// ---- TSkinTab31

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::Notification(core::TComponent& component, core::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FScroller) FScroller = nullptr;
}

void TSkinTab31::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  auto* control = dynamic_cast<win::TWinControl*>(Owner());
  if (!control || FInitialized) return;
  FParentBK = parentBK;
  FControl = control;
  TSkinControl::Inithwnd(control->Handle(), skinData, canvas, form);
  inittab();
  if (control->ComponentCount() > 0)
    if (auto* scroller = dynamic_cast<win::TWinControl*>(control->Components(0))) {
      FScrollerControl = scroller;
      FScroller = new TSkinUpDown(this);
      FScroller->FForceHorz = true;
      FScroller->Inithwnd(scroller->Handle(), skinData, canvas, form);
    }
}

void TSkinTab31::inittab() {
  FTabImage.reset();
  // A new image may get the handle of one the shared cache still holds.
  Images().Clear();
  TDataSkinBorder* skin = FSkinData ? FSkinData->Tabs.get() : nullptr;
  if (!skin || skin->Bitmap.Width() == 0 || skin->Bitmap.Height() == 0) return;
  FTabImage = std::make_unique<win::TBitmap>(skin->Bitmap.Width(), skin->Bitmap.Height(), win::TPixelFormat::pf24bit);
  BitBlt(FTabImage->Canvas().Handle(), 0, 0, skin->Bitmap.Width(), skin->Bitmap.Height(),
         skin->Bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
  SpiegelnVertikal(*FTabImage);
}

void TSkinTab31::SkinChange() {
  // The images first: the base repaints with them.
  inittab();
  TSkinControl::SkinChange();
}

bool TSkinTab31::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      // Painted before the control too, so its own look never shows for a moment.
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      return true;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinTab31::DrawControl(HDC dc, const RECT& rect) {
  auto* tabSet = dynamic_cast<win::TTabSet*>(FControl);
  if (!tabSet || !FSkinData || !FSkinData->Tabs || !FTabImage) return;
  TDataSkinBorder& skin = *FSkinData->Tabs;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TScratch scratch(w, h);
  HDC b = scratch.DC();
  win::TBrushHandle face(CreateSolidBrush(win::ColorToRGB(FSkinData->Colors[TShemeColor::csButtonFace])));
  const RECT all{0, 0, w, h};
  FillRect(b, &all, face.Get());
  TBoundCanvas canvas(TextCanvas(scratch), b);
  AssignFontIfChanged(canvas->Font(), *tabSet->Font());
  const bool scrollerShown = FScrollerControl && FScrollerControl->Visible();
  // The tabs stop where the scroller begins (at least the 12 pixels the classic layout keeps).
  const int scrollerPx = scrollerShown ? std::max(kMinScrollerPx, FScrollerControl->Width()) : 0;
  const int limit = w - tabSet->EndMargin() - scrollerPx;
  const int frames = std::max(skin.Frame, 1);
  FEnabled = tabSet->Enabled();
  int x = tabSet->StartMargin();
  for (int i = std::max(tabSet->FirstIndex(), 0); i < tabSet->Tabs()->Count(); ++i) {
    const std::wstring text = win::Widen(tabSet->Tabs()->Get(i));
    SIZE size{};
    GetTextExtentPoint32W(b, text.c_str(), static_cast<int>(text.size()), &size);
    const int tabW = size.cx + kTabSetPaddingPx;
    if (x + tabW > limit) break;
    const RECT r{x, 0, x + tabW, h - 2};
    const int state = i == tabSet->TabIndex() ? 2 : kFrameNormal;
    if (TKeyedImage* image = Images().Compose(*FTabImage, skin.Margins, skin.Tile != 0, std::min(state, frames), frames,
                                              r.right - r.left, r.bottom - r.top, skin.Trans != 0))
      image->Draw(b, r.left, r.top);
    canvas->Font().SetColor(state == kFrameNormal ? skin.NormalColour2 : skin.MouseOverColour2);
    DrawCaption(*canvas, r, text, FEnabled, DT_CENTER | DT_SINGLELINE);
    x += tabW;
  }
  BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
}

// ---- TSkinTabSheet

bool TSkinTabSheet::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      WMPaint(message);
      return false;
    case WM_PRINTCLIENT:
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return false;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(FHandle, &r);
      FillBG(reinterpret_cast<HDC>(message.WParam), r);
      message.Result = 1;
      return false;
    }
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinTabSheet::DrawControl(HDC dc, const RECT& rect) {
  if (!dc) return;
  FillBG(dc, rect);
  if (FControl) FControl->PaintControls(dc);
}

}  // namespace bw::skin
