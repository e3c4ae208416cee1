// Combo boxes: the frame, drop-down button and arrow from the skin over the control's own
// painting, its edit child followed so the button answers clicks in the text too.
#include "skin/controls/Combos.h"

#include <algorithm>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinComBox::kClass{"TSkinComBox", &TSkinControl::kClass, {}, {}};

namespace {
constexpr RECT kNoMargins{0, 0, 0, 0};

// Leaves the rectangle out of what is drawn on the context until the scope ends.
class TExcludeClip {
 public:
  TExcludeClip(HDC dc, const RECT& r) : FDC(dc), FSaved(SaveDC(dc)) {
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  ~TExcludeClip() { RestoreDC(FDC, FSaved); }
  TExcludeClip(const TExcludeClip&) = delete;
  TExcludeClip& operator=(const TExcludeClip&) = delete;

 private:
  HDC FDC;
  int FSaved;
};
}  // namespace

TSkinComBox::~TSkinComBox() { RestoreEdit(); }

void TSkinComBox::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  if (FInitialized) return;
  TSkinControl::Init(form, skinData, canvas, parentBK);
  if (FInitialized) Attached();
}

void TSkinComBox::Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) {
  if (FInitialized) return;
  TSkinControl::Inithwnd(window, skinData, canvas, form);
  Attached();
}

void TSkinComBox::Attached() {
  FStyle = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  if ((FStyle & 3) != CBS_SIMPLE) {
    // Whatever the window's character set: the subclass calls the matching procedures.
    FindBtn();
    return;
  }
  FComboInfo.cbSize = sizeof FComboInfo;
  if (GetComboBoxInfo(FHandle, &FComboInfo)) FListHandle = FComboInfo.hwndList;
  if (!FListHandle) return;
  const LONG_PTR listStyle = GetWindowLongPtrW(FListHandle, GWL_STYLE);
  if ((listStyle & WS_POPUP) || !(listStyle & WS_CHILD) || GetParent(FListHandle) == GetDesktopWindow()) return;
  FListBars = std::make_unique<TSkinScrollbarH>(nullptr);
  FListBars->Inithwnd(FListHandle, FSkinData, FCanvas, nullptr);
}

void TSkinComBox::FindBtn() {
  FEditHandle = GetTopWindow(FHandle);
  if (!FEditHandle) return;
  if (!FEditInstance.Install(FEditHandle, [this](UINT msg, WPARAM w, LPARAM l) { return ButtonProc(msg, w, l); }))
    FEditHandle = nullptr;
}

LRESULT TSkinComBox::ButtonProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = FEditInstance.CallPrevious(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    RestoreEdit();
    return result;
  }
  if (!FPaintActive) return result;
  switch (msg) {
    case WM_PAINT: PaintControl(nullptr); break;
    // The combo box shows the focus of its edit.
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FState.Include(TSkinControlState::scDown);
      Invalidate();
      break;
    case WM_LBUTTONUP:
      FState.Exclude(TSkinControlState::scDown);
      Invalidate();
      break;
  }
  return result;
}

void TSkinComBox::RestoreEdit() {
  FEditInstance.Restore();
  FEditHandle = nullptr;
}

void TSkinComBox::Unsubclass() {
  TSkinControl::Unsubclass();
  RestoreEdit();
  if (FListBars && FListBars->FStatus != kPainterDestroyed) FListBars->Unsubclass();
  FListBars.reset();
}

void TSkinComBox::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_DRAWITEM:
      Invalidate();
      return;
    case WM_NCPAINT:
      // Over the border the system just drew; the client is repainted by its own WM_PAINT.
      PaintControl(nullptr);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FState.Include(TSkinControlState::scDown);
      Invalidate();
      return;
    case WM_LBUTTONUP:
      FState.Exclude(TSkinControlState::scDown);
      Invalidate();
      return;
    case win::CM_MOUSEENTER:
      if (FEnabled) FState.Include(TSkinControlState::scMouseIn);
      return;
    case win::CM_MOUSELEAVE:
      if (FEnabled) FState.Exclude(TSkinControlState::scMouseIn);
      return;
    case win::CN_COMMAND:
      // The list closed without a release on the control (a pick in the list).
      if (HIWORD(message.WParam) == CBN_CLOSEUP || HIWORD(message.WParam) == CBN_DROPDOWN) {
        if (HIWORD(message.WParam) == CBN_CLOSEUP) FState.Exclude(TSkinControlState::scDown);
        Invalidate();
      }
      return;
  }
  TSkinControl::AfterProc(message);
}

int TSkinComBox::StateIndex() {
  FEnabled = !(FStyle & WS_DISABLED);
  HWND focus = GetFocus();
  FFocused = focus && (focus == FHandle || IsChild(FHandle, focus));
  // Pressed while the list is down, and while a press on the control holds the mouse (a
  // press whose release went elsewhere does not stay pressed).
  HWND capture = GetCapture();
  const bool holding = capture && (capture == FHandle || IsChild(FHandle, capture));
  const bool dropped = SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
  int state = kFrameNormal;
  if (!FEnabled) state = kFrameDisabled;
  if (FFocused) state = kFrameHot;
  if (dropped || (FState.Contains(TSkinControlState::scDown) && holding)) state = kFramePressed;
  else if (FState.Contains(TSkinControlState::scMouseIn)) state = kFrameHot;
  return state;
}

void TSkinComBox::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinBorder* button = FSkinData ? FSkinData->ComboButton.get() : nullptr;
  if (!HasSkinImage(button)) return;
  FStyle = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE));
  FExStyle = static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_EXSTYLE));
  FComboInfo = COMBOBOXINFO{};
  FComboInfo.cbSize = sizeof FComboInfo;
  // A date picker is no combo box: it has no such record and its button is always there.
  if (GetComboBoxInfo(FHandle, &FComboInfo) && (FComboInfo.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  if (button->Style == 1) return DrawControl1(dc, rect);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const int state = StateIndex();
  FLastState = state;
  const int b = GetSystemMetrics(SM_CXHSCROLL);
  const bool rtl = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  // The text area stays the control's own.
  RECT inner = rtl ? RECT{b + 4, 2, w - 2, h - 2} : RECT{2, 2, w - b - 4, h - 2};

  // Composed over a copy of what the control painted, so the skin's see-through pixels
  // show the control, then copied back once.
  TScratch scratch(w, h);
  HDC s = scratch.DC();
  BitBlt(s, 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  if (button->Style == 2) {
    TDataSkinObject* whole = rtl ? FSkinData->SunkEdge.get() : button;
    if (!HasSkinImage(whole)) return;
    if (TKeyedImage* image =
            Images().Compose(whole->Bitmap, whole->Margins, whole->Tile != 0, state, whole->Frame, w, h, true))
      image->Draw(s, 0, 0);
  } else {
    const RECT buttonRect = rtl ? RECT{0, 0, b + 2, h} : RECT{w - b - 2, 0, w, h};
    const RECT glyphArea = rtl ? RECT{2, 0, b + 2, h} : RECT{w - b - 2, 0, w - 2, h};
    TBitmap& image = rtl ? button->Bitmap2 : button->Bitmap;
    if (TDataSkinObject* edge = FSkinData->SunkEdge.get(); HasSkinImage(edge))
      if (TKeyedImage* frame = Images().Compose(edge->Bitmap, edge->Margins, edge->Tile != 0, state, edge->Frame,
                                                w, h, edge->Trans == 1))
        frame->Draw(s, 0, 0);
    if (TKeyedImage* face = Images().Compose(image, kNoMargins, false, state, button->Frame,
                                             buttonRect.right - buttonRect.left, h, true))
      face->Draw(s, buttonRect.left, buttonRect.top);
    if (TDataSkinObject* arrows = FSkinData->ExtraImages.get(); HasSkinImage(arrows) && arrows->Frame > 0) {
      const int aw = arrows->Bitmap.Width() / arrows->Frame, ah = arrows->Bitmap.Height();
      const int ax = glyphArea.left + (glyphArea.right - glyphArea.left - aw) / 2;
      const int ay = glyphArea.top + (glyphArea.bottom - glyphArea.top - ah) / 2;
      if (TKeyedImage* arrow = Images().Compose(arrows->Bitmap, kNoMargins, false, state, arrows->Frame, aw, ah, true))
        arrow->Draw(s, ax, ay);
    }
  }
  OffsetRect(&inner, rect.left, rect.top);
  TExcludeClip keep(dc, inner);
  BitBlt(dc, rect.left, rect.top, w, h, s, 0, 0, SRCCOPY);
}

void TSkinComBox::DrawControl1(HDC dc, const RECT& rect) {
  TDataSkinBorder& button = *FSkinData->ComboButton;
  const int state = StateIndex();
  FLastState = state;
  auto* brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT r = rect;
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, brush);
  InflateRect(&r, -1, -1);
  RECT area{r.right - GetSystemMetrics(SM_CYVTHUMB), r.top, r.right, r.bottom};
  FillRect(dc, &area, brush);
  const int frames = std::max(button.Frame, 1);
  const TFrameGeometry f = FrameOf(button.Bitmap, state, frames, false);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, button.Bitmap.Canvas().Handle(),
             f.sx, f.sy, f.fw, f.fh, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  win::TBrushHandle shadow(CreateSolidBrush(win::ColorToRGB(FSkinData->Colors[TShemeColor::csButtonShadow])));
  FrameRect(dc, &rect, shadow.Get());
}

}  // namespace bw::skin
