// Edits with a flat skinned border and the spin buttons inside them, and up-down controls
// drawn as two skinned buttons.
#include <algorithm>
#include <cctype>
#include <string>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/controls/Combos.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

const core::TClassInfo TSkinEdit::kClass{"TSkinEdit", &TSkinControl::kClass, {}, {}};
const core::TClassInfo TSkinUpDown::kClass{"TSkinUpDown", &TSkinControl::kClass, {}, {}};

namespace {
// A spin control docked inside an edit keeps this much of the edit's border visible.
constexpr int kInEditInsetPx = 3;
constexpr COLORREF kWhite = RGB(255, 255, 255);

void Frame(HDC dc, RECT r, COLORREF colour) {
  win::TBrushHandle brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, brush.Get());
}
}  // namespace

// ---- TSkinEdit

void TSkinEdit::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
    // The border is the system's non-client painting: ours goes over it whenever it is redrawn.
    case WM_NCPAINT:
      PaintControl(message.Msg == WM_PAINT ? reinterpret_cast<HDC>(message.WParam) : nullptr);
      return;
    case WM_PRINTCLIENT:
      PaintControl1(reinterpret_cast<HDC>(message.WParam));
      return;
  }
  TSkinControl::AfterProc(message);
}

void TSkinEdit::FindUPDown() {
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string name = GetWindowClassname(child);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name != "msctls_updown32" && name.find("spin") == std::string::npos &&
        name.find("updown") == std::string::npos)
      continue;
    if (SendMessageW(child, SKIN_MSG_QUERY, 0, 0) != 1) {
      // Owned by the edit's control (the frame lists and frees it like any painter).
      auto* spin = new TSkinUpDown(FControl);
      spin->FInEdit = true;
      spin->Inithwnd(child, FSkinData, FCanvas, FForm);
    }
    FUpDown = child;
    return;
  }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& rect) {
  if (FSkinData && FSkinData->SkinControls().Contains(TSkinControlType::xcSpin) &&
      !(FUpDown && IsWindow(FUpDown)))
    FindUPDown();
  RECT client;
  if (!GetClientRect(FHandle, &client)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (client.right >= w || client.bottom >= h) return;
  // Only the border changes: the client area stays the control's.
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  OffsetRect(&client, origin.x - FWindowRect.left + rect.left, origin.y - FWindowRect.top + rect.top);
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  RECT r = rect;
  Frame(dc, r, win::ColorToRGB(FSkinData->Colors[TShemeColor::csButtonShadow]));
  for (int i = 0; i < 2; ++i) {
    InflateRect(&r, -1, -1);
    Frame(dc, r, kWhite);
  }
  RestoreDC(dc, saved);
}

void TSkinEdit::PaintControl1(HDC dc) {
  if (!dc || !GetWindowRect(FHandle, &FWindowRect)) return;
  RECT r = FWindowRect;
  OffsetRect(&r, -r.left, -r.top);
  try {
    DrawControl1(dc, r);
  } catch (...) {
  }
}

void TSkinEdit::DrawControl1(HDC dc, const RECT& rect) {
  RECT client;
  if (!GetClientRect(FHandle, &client)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (client.right > w - 2 || client.bottom > h - 2) return;
  RECT r = rect;
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  Frame(dc, rect, win::ColorToRGB(FSkinData->Colors[TShemeColor::csButtonShadow]));
}

// ---- TSkinUpDown

bool TSkinUpDown::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      WMPaint(message);
      return false;
    case WM_ERASEBKGND:
      DrawBackGround(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Default(message);
      FPressAt = POINT{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
      FState.Include(TSkinControlState::scDown);
      PaintControl(nullptr);
      return false;
    case WM_LBUTTONUP:
      FState.Exclude(TSkinControlState::scDown);
      Default(message);
      PaintControl(nullptr);
      return false;
    case win::CM_MOUSEENTER:
      FState.Include(TSkinControlState::scMouseIn);
      Invalidate();
      return true;
    case win::CM_MOUSELEAVE:
      FState.Exclude(TSkinControlState::scMouseIn);
      Invalidate();
      return true;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinUpDown::DrawBackGround(HDC dc) {
  if (FControl || !dc) return;
  RECT r;
  GetClientRect(FHandle, &r);
  win::TBrushHandle white(CreateSolidBrush(kWhite));
  FillRect(dc, &r, white.Get());
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& rect) {
  RECT area = rect;
  if (FInEdit) {
    win::TBrushHandle white(CreateSolidBrush(kWhite));
    RECT client;
    GetClientRect(FHandle, &client);
    FillRect(dc, &client, white.Get());
    RECT mine, parent;
    if (GetWindowRect(FHandle, &mine) && GetWindowRect(GetParent(FHandle), &parent)) {
      if (mine.top - parent.top < kInEditInsetPx) area.top += kInEditInsetPx - (mine.top - parent.top);
      if (parent.bottom - mine.bottom < kInEditInsetPx) area.bottom -= kInEditInsetPx - (parent.bottom - mine.bottom);
      if (parent.right - mine.right < kInEditInsetPx) area.right -= kInEditInsetPx - (parent.right - mine.right);
    }
  }
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  TScratch scratch(w, h);
  HDC s = scratch.DC();
  FillBG(s, RECT{0, 0, w, h});
  POINT cursor;
  if (FState.Contains(TSkinControlState::scDown) && FPressAt.x >= 0) {
    // The press being shown, not the cursor: a press sent by a program leaves it elsewhere.
    cursor = FPressAt;
  } else {
    GetCursorPos(&cursor);
    ScreenToClient(FHandle, &cursor);
  }
  cursor.x -= area.left - rect.left;
  cursor.y -= area.top - rect.top;
  FEnabled = !(GetWindowLongEx(FHandle, GWL_STYLE) & WS_DISABLED);
  const bool horizontal = (GetWindowLongEx(FHandle, GWL_STYLE) & UDS_HORZ) || FForceHorz;
  RECT buttons[2];
  int kinds[2];
  if (horizontal) {
    buttons[0] = RECT{0, 0, w / 2, h};
    buttons[1] = RECT{w / 2, 0, w, h};
    kinds[0] = 2;
    kinds[1] = 3;
  } else {
    buttons[0] = RECT{0, 0, w, h / 2};
    buttons[1] = RECT{0, h / 2, w, h};
    kinds[0] = 0;
    kinds[1] = 1;
  }
  TDataSkinBorder* skin = FSkinData ? (horizontal ? FSkinData->UpDownHorz.get() : FSkinData->UpDownVert.get()) : nullptr;
  TBoundCanvas canvas(TextCanvas(scratch), s);
  for (int i = 0; i < 2; ++i) {
    int state = kFrameNormal;
    if (PtInRect(&buttons[i], cursor)) {
      if (FState.Contains(TSkinControlState::scDown)) state = kFramePressed;
      else if (FState.Contains(TSkinControlState::scMouseIn)) state = kFrameHot;
    }
    if (!FEnabled) state = kFrameDisabled;
    FLastStates[i] = state;
    if (HasSkinImage(skin)) DrawSkinButton(s, buttons[i], state, kinds[i], *skin);
    else DrawButton(*canvas, buttons[i], kinds[i], state);
  }
  BitBlt(dc, area.left, area.top, w, h, s, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawSkinButton(HDC dc, const RECT& rect, int state, int kind, TDataSkinBorder& skin) {
  const int frame = state + 4 * (kind % 2);
  const int frames = std::max(skin.Frame, 1);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (TKeyedImage* face = Images().Compose(skin.Bitmap, RECT{0, 0, 0, 0}, false, frame, frames, w, h, true))
    face->Draw(dc, rect.left, rect.top);
  if (skin.Bitmap2.Width() < frames) return;
  const int gw = skin.Bitmap2.Width() / frames, gh = skin.Bitmap2.Height();
  if (TKeyedImage* glyph = Images().Compose(skin.Bitmap2, RECT{0, 0, 0, 0}, false, frame, frames, gw, gh, true))
    glyph->Draw(dc, rect.left + (w - gw) / 2, rect.top + (h - gh) / 2);
}

void TSkinUpDown::DrawButton(win::TCanvas& canvas, const RECT& rect, int kind, int state) {
  const TColor face = FSkinData ? FSkinData->Colors[TShemeColor::csButtonFace] : win::clBtnFace;
  const TColor shadow = FSkinData ? FSkinData->Colors[TShemeColor::csButtonShadow] : win::clBtnShadow;
  const TColor dark = FSkinData ? FSkinData->Colors[TShemeColor::csButtonDkshadow] : win::clBtnShadow;
  canvas.Brush().SetColor(state == kFrameNormal || state == kFrameDisabled ? face : shadow);
  canvas.Pen().SetColor(dark);
  canvas.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
  canvas.Brush().SetColor(dark);
  const int x = rect.left + (rect.right - rect.left) / 2;
  const int y = rect.top + (rect.bottom - rect.top) / 2 - (kind < 2 ? 2 : 0);
  DrawArrow(canvas, x, y, kind);
}

}  // namespace bw::skin
