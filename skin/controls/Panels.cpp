// Panels, bare dialog backgrounds, group boxes and tool-bar backgrounds.
#include "skin/controls/Panels.h"

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/draw/ImgUtil.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinBox::kClass{"TSkinBox", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinBoxH::kClass{"TSkinBoxH", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinGroupBox::kClass{"TSkinGroupBox", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinToolbar::kClass{"TSkinToolbar", &TSkinControl::kClass, {}, {}};

// ---- TSkinBox

TSkinBox::~TSkinBox() { RunReleaseAction(); }

void TSkinBox::RunReleaseAction() {
  if (!FReleaseAction) return;
  auto action = std::move(FReleaseAction);
  FReleaseAction = nullptr;
  if (FControl && !FControl->IsDestroying()) action();
}

void TSkinBox::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  if (FInitialized) return;
  FParentBK = parentBK;
  FSkinData = skinData;
  FCanvas = canvas;
  FForm = form;
  FControl = dynamic_cast<win::TWinControl*>(Owner());
  if (FControl) FHandle = FControl->Handle();
  if (FForm) FForm->AddControlList(this);
  if (FParentBK && FControl) {
    FSavedColor = FControl->Color();
    FControl->SetColor(FaceColor());
  }
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinBox::Unsubclass() {
  if (FParentBK && FControl && !FControl->IsDestroying()) FControl->SetColor(FSavedColor);
  FStatus = kPainterReleased;
  RunReleaseAction();
}

// ---- TSkinBoxH

bool TSkinBoxH::BeforeProc(win::TMessage& message) {
  if (message.Msg == WM_ERASEBKGND) {
    RECT window;
    GetWindowRect(FHandle, &window);
    FillBG(reinterpret_cast<HDC>(message.WParam), RECT{0, 0, window.right - window.left, window.bottom - window.top});
    message.Result = 0;
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinBoxH::AfterProc(win::TMessage& message) {
  if (message.Msg == WM_CTLCOLORSTATIC && FSkinData && FSkinData->FaceBrush) {
    message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush);
    return;
  }
  TSkinControl::AfterProc(message);
}

// ---- TSkinGroupBox

void TSkinGroupBox::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  TSkinControl::Init(form, skinData, canvas, parentBK);
  FClassFlag = FControl != nullptr;
}

bool TSkinGroupBox::BeforeProc(win::TMessage& message) {
  if (!FClassFlag) return TSkinControl::BeforeProc(message);
  switch (message.Msg) {
    case WM_PAINT:
      WMPaint(message);
      return false;
    case WM_ERASEBKGND:
      WMERASEBKGND(message);
      message.Result = 1;
      return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& rect) { DefaultDraw(dc, rect); }

void TSkinGroupBox::DefaultDraw(HDC dc, const RECT& rect) {
  std::wstring caption = GetFormCaption(FHandle);
  if (caption.empty() && FControl) caption = GetStringProp(FControl, "Caption");
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const TColor shadow = FSkinData ? FSkinData->Colors[TShemeColor::csButtonShadow] : win::clBtnShadow;
  win::TPenHandle pen(CreatePen(PS_SOLID, 1, win::ColorToRGB(shadow)));  // outlives the selection below
  {
    win::TSaveDCGuard saved(dc);
    HFONT font = FControl ? FControl->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    if (font) SelectObject(dc, font);
    const int h = TextHeight(dc, L"0");
    const int lineY = h / 2 - 1;
    HBRUSH face = FSkinData ? FSkinData->FaceBrush : nullptr;
    if (!FClassFlag && face) {
      // Over the system's 3-D frame, which is two pixels deep.
      RECT outer{0, lineY, width, height};
      FrameRect(dc, &outer, face);
      InflateRect(&outer, -1, -1);
      FrameRect(dc, &outer, face);
    }
    if (pen) SelectObject(dc, pen.Get());
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, lineY, width - 1, height - 1, 5, 5);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, win::ColorToRGB(FaceColor()));
    const TColor text = FControl ? FControl->Font()->Color()
                                 : (FSkinData ? FSkinData->Colors[TShemeColor::csText] : win::clWindowText);
    SetTextColor(dc, win::ColorToRGB(text));
    if (!caption.empty()) {
      RECT at{rect.left + 8, rect.top, rect.right, rect.bottom};
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at, DT_EXPANDTABS);
    }
  }
  if (FControl) FControl->PaintControls(dc);
}

// ---- TSkinToolbar

void TSkinToolbar::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  TSkinControl::Init(form, skinData, canvas, parentBK);
  if (!FSkinData) return;
  FGradEnd = Blend(win::clGray, FSkinData->GetCaptionColor(), 150);
  FGradStart = Blend(FSkinData->Colors[TShemeColor::csButtonFace], win::clWhite, 150);
}

bool TSkinToolbar::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      ERASEBKGND(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return false;
    case WM_NOTIFY:
    case win::CN_NOTIFY:
      return true;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinToolbar::ERASEBKGND(HDC dc) {
  RECT client{};
  GetClientRect(FHandle, &client);
  TDataSkinObject* image = FSkinData ? FSkinData->Toolbar.get() : nullptr;
  if (!image || image->Bitmap.Width() == 0) {
    GradFill(dc, client, FGradStart, FGradEnd, TGradientDirection::TopToBottom);
    return;
  }
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, client.right, client.bottom, image->Bitmap.Canvas().Handle(), 0, 0, image->Bitmap.Width(),
             image->Bitmap.Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

}  // namespace bw::skin
