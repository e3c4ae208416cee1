// Check boxes and radio buttons: the frame of the box image by state, the box beside or
// after the caption, the caption and its focus rectangle.
#include "skin/controls/Checks.h"

#include <algorithm>
#include <cctype>

#include "framework/core/TypeInfo.h"
#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/data/AnsiText.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinCheckControl::kClass{"TSkinCheckControl", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinCheckBox::kClass{"TSkinCheckBox", &TSkinCheckControl::kClass, {}, {}};
const core::TClassInfo TSkinRadioButton::kClass{"TSkinRadioButton", &TSkinCheckControl::kClass, {}, {}};

namespace {

constexpr RECT kNoMargins{0, 0, 0, 0};
// The box column is this wide whatever the image; the caption starts after a gap.
constexpr int kBoxColumnPx = 15;
constexpr int kCaptionStartPx = 18;
constexpr UINT kMeasure = DT_CALCRECT | DT_NOCLIP;
// A framework notification some controls send when their action state changes.
constexpr UINT kActionChanged = 0xB0D0;



}  // namespace

int CheckFrameIndex(const TCheckFrameInputs& in) {
  int frame = in.WindowChecked ? 2 : 1;
  if (in.Framework) {
    if (!in.Radio && !in.State.empty()) {
      if (in.State.find("uncheck") != std::string::npos) frame = 1;
      else if (in.State.find("check") != std::string::npos) frame = 2;
      else if (in.State.find("gray") != std::string::npos) frame = 4;
    } else {
      frame = in.Checked == "true" ? 2 : 1;
    }
  }
  if (!in.Radio && in.DataAware && in.CheckState != 0) frame = in.CheckState == 3 ? 4 : in.CheckState;
  if (in.Disabled) frame += 2;
  const bool mixed = !in.Radio && in.Indeterminate;
  if (mixed) frame = 4;
  if ((!in.Radio && in.Frames == 12) || (in.Radio && in.Frames == 8)) {
    if (mixed) frame = in.Disabled ? 12 : 9;
    else if (frame == 2) frame = 5;
    else if (frame == 3) frame = 4;
    else if (frame == 4) frame = 8;
  }
  // A grayed, disabled box of a 4-frame image would point past the image.
  return std::clamp(frame, 1, std::max(in.Frames, 1));
}

// ---- TSkinCheckControl

void TSkinCheckControl::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  TSkinControl::Init(form, skinData, canvas, parentBK);
  FClassFlag = FControl != nullptr && HasBoxImage();
}

void TSkinCheckControl::SkinChange() {
  FClassFlag = FControl != nullptr && HasBoxImage();
  TSkinControl::SkinChange();
}

TBitmap* TSkinCheckControl::BoxImage() const {
  if (!FSkinData || !FSkinData->Buttons) return nullptr;
  return FRadio ? &FSkinData->Buttons->RadioBitmap : &FSkinData->Buttons->CheckBitmap;
}

int TSkinCheckControl::BoxFrames() const {
  if (!FSkinData || !FSkinData->Buttons) return 0;
  return FRadio ? FSkinData->Buttons->RadioButtonFrame : FSkinData->Buttons->CheckButtonFrame;
}

bool TSkinCheckControl::HasBoxImage() const {
  const TBitmap* image = BoxImage();
  return image && image->Width() > 0 && BoxFrames() > 0 && image->Width() >= BoxFrames();
}

bool TSkinCheckControl::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      // Decided before the control's painting is skipped, so a skin without the image
      // leaves the control painting itself.
      if (FClassFlag && !HasBoxImage()) FClassFlag = false;
      if (!FClassFlag) return true;
      WMPaint(message);
      return false;
    case WM_ERASEBKGND:
      if (!HasOption(TSkinOption::xoTransparent)) return true;
      WMERASEBKGND(message);
      return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinCheckControl::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case win::CM_EXIT:
    case kActionChanged:
    // The system button draws on these outside its WM_PAINT.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
      Invalidate();
      return;
    case WM_PRINTCLIENT:
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      return;
  }
  TSkinControl::AfterProc(message);
}

int TSkinCheckControl::FrameIndex(int frames) {
  const auto style = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  TCheckFrameInputs in;
  in.Radio = FRadio;
  in.WindowChecked = (SendMessageW(FHandle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  in.Framework = FControl != nullptr;
  in.Checked = LowerAscii(GetEnumProperty(FControl, "Checked"));
  in.Disabled = (style & WS_DISABLED) != 0;
  in.Frames = frames;
  return CheckFrameIndex(in);
}

void TSkinCheckControl::DrawControl(HDC dc, const RECT& rect) {
  TBitmap* image = BoxImage();
  if (!HasBoxImage()) {
    FClassFlag = false;
    return;
  }
  const int n = BoxFrames();
  const int w = image->Width() / n, h = image->Height();
  const int frame = FrameIndex(n);
  FLastFrame = frame;
  const auto style = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  FEnabled = !(style & WS_DISABLED);
  FFocused = GetFocus() == FHandle;

  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const int boxTop = (height - h) / 2;
  RECT box{0, boxTop, w, boxTop + h};
  RECT caption{0, 0, width, height};
  UINT format = DT_WORDBREAK | DT_EXPANDTABS;
  if (style & BS_LEFTTEXT) {
    int right = width;
    if (FRadio) right = w < kBoxColumnPx ? width - (kBoxColumnPx - 1 - w) / 2 : width - 1;
    box.left = right - w;
    caption.right = width - kCaptionStartPx;
    format = FRadio ? DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS : DT_RIGHT;
  } else {
    box.left = FRadio && w < kBoxColumnPx ? (kBoxColumnPx - 1 - w) / 2 : 0;
    caption.left = kCaptionStartPx;
  }
  box.right = box.left + w;
  // Composed just before it is drawn: painting the parent's image may turn the cache over.
  auto mark = [&] { return Images().Compose(*image, kNoMargins, false, frame, n, w, h, true); };

  if (!FClassFlag) {
    // A bare window keeps its own caption: only the box is drawn over what it painted.
    RECT target = box;
    OffsetRect(&target, rect.left, rect.top);
    TScratch scratch(w, h);
    HDC b = scratch.DC();
    const RECT local{0, 0, w, h};
    if (HasOption(TSkinOption::xoTransparent)) BitBlt(b, 0, 0, w, h, dc, target.left, target.top, SRCCOPY);
    else FillBG(b, local);
    if (TKeyedImage* m = mark()) m->Draw(b, 0, 0);
    BitBlt(dc, target.left, target.top, w, h, b, 0, 0, SRCCOPY);
    return;
  }

  TScratch scratch(width, height);
  HDC b = scratch.DC();
  PaintBackground(b, RECT{0, 0, width, height});
  if (TKeyedImage* m = mark()) m->Draw(b, box.left, box.top);

  std::wstring text = GetFormCaption(FHandle);
  if (FControl && (FRadio || text.empty())) text = GetStringProp(FControl, "Caption");
  FCaption = text;
  {
    TBoundCanvas canvas(TextCanvas(scratch), b);
    if (FControl) AssignFontIfChanged(canvas->Font(), *FControl->Font());
    else FontFromHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)), canvas->Font());
    HDC c = canvas->Handle();
    const COLORREF oldBack = SetBkColor(c, win::ColorToRGB(FaceColor()));
    const int oldMode = SetBkMode(c, TRANSPARENT);
    const COLORREF oldText = GetTextColor(c);
    // Disabled captions are dimmed like every other skinned caption.
    SetTextColor(c, win::ColorToRGB(FEnabled ? canvas->Font().Color() : win::clBtnShadow));
    RECT measured = caption;
    DrawTextW(c, text.c_str(), static_cast<int>(text.size()), &measured, format | kMeasure);
    OffsetRect(&caption, 0, ((caption.bottom - caption.top) - (measured.bottom - measured.top)) / 2);
    if (FFocused && !HasOption(TSkinOption::xoNoFocusRect) && !text.empty()) DrawFocus(c, text, caption, format);
    DrawTextW(c, text.c_str(), static_cast<int>(text.size()), &caption, format);
    SetTextColor(c, oldText);
    SetBkMode(c, oldMode);
    SetBkColor(c, oldBack);
  }
  BitBlt(dc, rect.left, rect.top, width, height, b, 0, 0, SRCCOPY);
}

// ---- TSkinCheckBox

void TSkinCheckBox::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  TSkinCheckControl::Init(form, skinData, canvas, parentBK);
  FCheckState = 0;
}

void TSkinCheckBox::AfterProc(win::TMessage& message) {
  if (message.Msg == BM_SETCHECK) FCheckState = static_cast<int>(message.WParam) + 1;
  TSkinCheckControl::AfterProc(message);
}

int TSkinCheckBox::FrameIndex(int frames) {
  const auto style = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  const auto state = static_cast<UINT>(SendMessageW(FHandle, BM_GETSTATE, 0, 0));
  TCheckFrameInputs in;
  in.WindowChecked = (state & BST_CHECKED) != 0;
  in.Indeterminate = (state & BST_INDETERMINATE) != 0;
  in.Framework = FControl != nullptr;
  in.State = LowerAscii(GetEnumProperty(FControl, "State"));
  in.Checked = LowerAscii(GetEnumProperty(FControl, "Checked"));
  in.DataAware = FControl && core::FindPropInfo(FControl, "DataField") != nullptr;
  in.CheckState = FCheckState;
  in.Disabled = (style & WS_DISABLED) != 0;
  in.Frames = frames;
  return CheckFrameIndex(in);
}

}  // namespace bw::skin
