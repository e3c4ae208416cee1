// The painter base: taking a control over and giving it back, the message dispatch, the
// painting pipeline and the composed-image cache painters draw from.
#include "skin/controls/WinSubClass.h"

#include <algorithm>
#include <optional>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

const core::TClassInfo TSkinControl::kClass{"TSkinControl", &core::TComponent::kClass, {}, {}};

// ---- taking over and giving back

TSkinControl::TSkinControl(core::TComponent* owner) : core::TComponent(owner) {}

TSkinControl::~TSkinControl() {
  Destroying();
  Release();
  if (FForm) FForm->DeleteControl(this);
}

void TSkinControl::Release() {
  if (FOldWindowProc) {
    win::TControl* target = FControl ? static_cast<win::TControl*>(FControl) : FGraphicControl;
    if (target && !target->IsDestroying()) target->WindowProc.Restore(FOldWindowProc);
    FOldWindowProc.reset();
  }
  FObjectInstance.Restore();
}

TColor TSkinControl::FaceColor() const {
  return FSkinData ? FSkinData->Colors[TShemeColor::csButtonFace] : win::clBtnFace;
}

win::TCanvas& TSkinControl::TextCanvas(const TScratch& scratch) {
  return scratch.Shared() && FCanvas ? *FCanvas : FOwnCanvas;
}

TSkinControl* TSkinControl::HotControl() const { return FForm ? FForm->FHotControl : nullptr; }

void TSkinControl::SetHotControl(TSkinControl* painter) {
  if (FForm) FForm->FHotControl = painter;
}

void TSkinControl::HookControl(win::TWinControl& control) {
  FOldWindowProc = control.WindowProc.Replace([this](win::TMessage& m) { NewWndProc(m); });
}

void TSkinControl::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  if (FInitialized) return;
  FParentBK = parentBK;
  FSkinData = skinData;
  FForm = form;
  FCanvas = canvas;
  FControl = dynamic_cast<win::TWinControl*>(Owner());
  if (!FControl) return;
  FHandle = FControl->Handle();
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  HookControl(*FControl);
  FControl->SetDoubleBuffered(true);
  if (FForm) FForm->AddControlList(this);
  if (FParentBK) {
    FSavedColor = FControl->Color();
    FControl->SetColor(FaceColor());
  }
  FControl->Invalidate();
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinControl::Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) {
  FSkinData = skinData;
  FCanvas = canvas;
  FForm = form;
  FHandle = window;
  FEnabled = true;
  if (FForm) FForm->AddControlList(this);
  FUnicode = IsWindowUnicode(window) != FALSE;
  FCaption = GetFormCaption(window);
  FObjectInstance.Install(window, [this](UINT msg, WPARAM w, LPARAM l) {
    win::TMessage m{msg, w, l, 0};
    NewWndProc(m);
    return m.Result;
  });
  InvalidateRect(window, nullptr, TRUE);
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinControl::Unsubclass() {
  if (FParentBK && FControl && !FControl->IsDestroying()) FControl->SetColor(FSavedColor);
}

void TSkinControl::SkinChange() {
  Images().Clear();
  if (FParentBK && FControl) FControl->SetColor(FaceColor());
  Invalidate();
}

// ---- dispatch

void TSkinControl::NewWndProc(win::TMessage& message) {
  if (message.Msg == SKIN_MSG_ENABLE) {
    FPaintActive = message.WParam > 0;
    if (FPaintActive) Invalidate();
    return;
  }
  if (!FPaintActive) return Default(message);
  if (BeforeProc(message)) {
    Default(message);
    AfterProc(message);
  }
}

void TSkinControl::Default(win::TMessage& message) {
  if (FOldWindowProc) {
    FOldWindowProc->CallPrevious(message);
    return;
  }
  message.Result = FObjectInstance.CallPrevious(message.Msg, message.WParam, message.LParam);
}

bool TSkinControl::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY:
      Default(message);
      // A framework control re-creating its window keeps its painter on the new one.
      if (FRecreating) return false;
      FPaintActive = false;
      FStatus = kPainterDestroyed;
      Unsubclass();
      Release();
      return false;
    case win::CM_RECREATEWND:
      if (!FControl) return true;
      FRecreating = true;
      Default(message);
      FRecreating = false;
      if (FControl->HandleAllocated()) {
        FHandle = FControl->WindowHandle();
        FUnicode = IsWindowUnicode(FHandle) != FALSE;
        Invalidate();
      }
      return false;
    case SKIN_MSG_QUERY:
      message.Result = 1;
      return false;
  }
  return true;
}

void TSkinControl::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case win::CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      break;
    case SKIN_MSG_ENABLE:
      FPaintActive = message.WParam > 0;
      break;
  }
}

// ---- painting

void TSkinControl::Invalidate() {
  if (FGraphicControl) {
    FGraphicControl->Invalidate();
    return;
  }
  if (!FHandle || !IsWindow(FHandle)) return;
  InvalidateRect(FHandle, nullptr, TRUE);
  UpdateWindow(FHandle);
}

void TSkinControl::MouseLeave() {
  if (FGraphicControl) FGraphicControl->Perform(win::CM_MOUSELEAVE);
  else if (FHandle) SendMessageW(FHandle, win::CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::PaintControl(HDC dc) {
  if (!FHandle || !GetWindowRect(FHandle, &FWindowRect)) return;
  RECT r = FWindowRect;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawControl(dc, r);
    } else {
      win::TWindowDC own(FHandle, win::TWindowDC::TArea::Window);
      if (own) DrawControl(own.Get(), r);
    }
  } catch (...) {
    // The control keeps the look it has.
  }
}

// The base paints nothing: each painter class draws its own control.
void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::WMPaint(win::TMessage& message) {
  message.Result = 0;
  if (HDC given = reinterpret_cast<HDC>(message.WParam)) {
    if (!GetWindowRect(FHandle, &FWindowRect)) return;
    RECT r = FWindowRect;
    OffsetRect(&r, -r.left, -r.top);
    try {
      DrawControl(given, r);
    } catch (...) {
    }
    return;
  }
  std::optional<win::TPaintDC> paint;
  paint.emplace(FHandle);
  if (!GetWindowRect(FHandle, &FWindowRect)) return;
  RECT r = FWindowRect;
  OffsetRect(&r, -r.left, -r.top);
  RECT client{};
  GetClientRect(FHandle, &client);
  // A control with an edge of its own (a progress bar's static edge) is painted whole
  // through its window's context; the picture is of the window's size.
  if (client.right != r.right || client.bottom != r.bottom) {
    paint.reset();
    PaintControl(nullptr);
    return;
  }
  try {
    DrawControl(paint->Get(), r);
  } catch (...) {
  }
}

void TSkinControl::WMERASEBKGND(win::TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (FControl) {
    DrawParentImage(*FControl, dc, true);
  } else {
    RECT r;
    GetClientRect(FHandle, &r);
    FillParentBG(dc, r);
  }
  message.Result = 1;
}

void TSkinControl::FillBG(HDC dc, const RECT& rect) {
  if (FSkinData && FSkinData->FaceBrush) {
    FillRect(dc, &rect, FSkinData->FaceBrush);
    return;
  }
  win::TBrushHandle brush(CreateSolidBrush(win::ColorToRGB(FaceColor())));
  FillRect(dc, &rect, brush.Get());
}

void TSkinControl::FillParentBG(HDC dc, const RECT& rect) {
  const TColor colour = GetParentColor(FaceColor());
  if (colour == FaceColor()) return FillBG(dc, rect);
  win::TBrushHandle brush(CreateSolidBrush(win::ColorToRGB(colour)));
  FillRect(dc, &rect, brush.Get());
}

void TSkinControl::PaintBackground(HDC dc, const RECT& rect) {
  if (HasOption(TSkinOption::xoTransparent) && FControl) {
    FillBG(dc, rect);  // under what the parent leaves unpainted
    DrawParentImage(*FControl, dc, false);
    return;
  }
  FillBG(dc, rect);
}

TColor TSkinControl::GetParentColor(TColor fallback) const {
  if (!FControl || !FControl->Parent()) return fallback;
  return FControl->Parent()->Color();
}

LONG_PTR TSkinControl::GetWindowLongEx(HWND window, int index) const {
  return FUnicode ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

}  // namespace bw::skin
