#include "framework/win/ScrollBox.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"
#include "framework/core/FormText.h"

namespace bw::win {

// ---- TAutoScroller

void TAutoScroller::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Update();
}

int TAutoScroller::Limit(int bar) const {
  HWND h = FControl.WindowHandle();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  if (!(style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) || !GetScrollInfo(h, bar, &info)) return 0;
  return std::max(0, info.nMax - info.nMin + 1 - static_cast<int>(info.nPage));
}

void TAutoScroller::MoveContent(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  FMoving = true;
  try {
    for (int i = 0; i < FControl.ControlCount(); ++i) {
      TControl* child = FControl.Controls(i);
      child->SetBounds(child->Left() - dx, child->Top() - dy, child->Width(), child->Height());
    }
  } catch (...) {
    FMoving = false;
    throw;
  }
  FMoving = false;
  FControl.Invalidate();
}

void TAutoScroller::ScrollTo(int x, int y) {
  HWND h = FControl.WindowHandle();
  if (!h) return;
  x = std::clamp(x, 0, Limit(SB_HORZ));
  y = std::clamp(y, 0, Limit(SB_VERT));
  MoveContent(x - FX, y - FY);
  FX = x;
  FY = y;
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  if (style & WS_HSCROLL) SetScrollPos(h, SB_HORZ, x, TRUE);
  if (style & WS_VSCROLL) SetScrollPos(h, SB_VERT, y, TRUE);
}

void TAutoScroller::Update() {
  HWND h = FControl.WindowHandle();
  if (!h || FUpdating || FMoving) return;
  FUpdating = true;
  // The content in its own coordinates: the children's places plus the offset.
  int extentX = 0, extentY = 0;
  if (FEnabled)
    for (int i = 0; i < FControl.ControlCount(); ++i) {
      const TControl* child = FControl.Controls(i);
      if (!child->Visible()) continue;
      extentX = std::max(extentX, child->Left() + child->Width() + FX);
      extentY = std::max(extentY, child->Top() + child->Height() + FY);
    }
  RECT client;
  GetClientRect(h, &client);
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  const int width = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
  const int height = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
  // One bar takes room from the other direction: decide twice.
  bool horizontal = false, vertical = false;
  for (int pass = 0; pass < 2; ++pass) {
    horizontal = extentX > width - (vertical ? barWidth : 0);
    vertical = extentY > height - (horizontal ? barHeight : 0);
  }
  const int pageX = std::max(width - (vertical ? barWidth : 0), 1);
  const int pageY = std::max(height - (horizontal ? barHeight : 0), 1);
  const int x = horizontal ? std::clamp(FX, 0, extentX - pageX) : 0;
  const int y = vertical ? std::clamp(FY, 0, extentY - pageY) : 0;
  try {
    MoveContent(x - FX, y - FY);
    FX = x;
    FY = y;
    const auto apply = [&](int bar, bool shown, int extent, int page, int pos) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      info.nMax = shown ? extent - 1 : 0;
      info.nPage = shown ? static_cast<UINT>(page) : 0;
      info.nPos = pos;
      SetScrollInfo(h, bar, &info, TRUE);
      ShowScrollBar(h, bar, shown);
    };
    apply(SB_HORZ, horizontal, extentX, pageX, x);
    apply(SB_VERT, vertical, extentY, pageY, y);
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
}

bool TAutoScroller::Before(TMessage& message) {
  HWND h = FControl.WindowHandle();
  switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL: {
      if (message.LParam != 0) return false;  // a scroll-bar control's: reflected to it
      const int bar = message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      if (!GetScrollInfo(h, bar, &info)) return false;
      int pos = info.nPos;
      switch (LOWORD(message.WParam)) {
        case SB_LINEUP: pos -= kLineStepPx; break;
        case SB_LINEDOWN: pos += kLineStepPx; break;
        case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = info.nTrackPos; break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = info.nMax; break;
        default: break;
      }
      if (bar == SB_HORZ) ScrollTo(pos, FY);
      else ScrollTo(FX, pos);
      message.Result = 0;
      return true;
    }
    case WM_MOUSEWHEEL: {
      if (Limit(SB_VERT) == 0) return false;  // nothing to scroll: the parent may
      const int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
      ScrollTo(FX, FY - notches * 3 * kLineStepPx);
      message.Result = 0;
      return true;
    }
  }
  return false;
}

void TAutoScroller::After(const TMessage& message) {
  if (message.Msg == WM_SIZE || message.Msg == CM_CONTROLCHANGE) Update();
}

// ---- TScrollBox

const core::TPropInfo TScrollBox::kProps[] = {
    core::EnumProp<&TScrollBox::FBorderStyle, &TScrollBox::SetBorderStyle>("BorderStyle", core::kBorderStyleInfo,
                                                                          TBorderStyle::bsSingle),
};
const core::TClassInfo TScrollBox::kClass{"TScrollBox", &TScrollingWinControl::kClass, kProps, {},
                                          &core::CreateComponentOf<TScrollBox>};

TScrollBox::TScrollBox(core::TComponent* owner) : TScrollingWinControl(owner) {
  FWidth = 185;
  FHeight = 41;
}

void TScrollBox::SetAutoScroll(bool on) {
  TScrollingWinControl::SetAutoScroll(on);
  FScroller.SetEnabled(on);
}

void TScrollBox::SetBorderStyle(TBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
  if (FBorderStyle == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  FScroller.Update();
}

void TScrollBox::Loaded() {
  TScrollingWinControl::Loaded();
  FScroller.Update();
}

void TScrollBox::WndProc(TMessage& message) {
  if (FScroller.Before(message)) return;
  TScrollingWinControl::WndProc(message);
  FScroller.After(message);
}

// ---- TCustomFrame

const core::TClassInfo TCustomFrame::kClass{"TCustomFrame", &TScrollingWinControl::kClass, {}, {}};
const core::TClassInfo TFrame::kClass{"TFrame", &TCustomFrame::kClass, {}, {}, &CreateFrameOf<TFrame>};

TCustomFrame::TCustomFrame(core::TComponent* owner) : TScrollingWinControl(owner) {
  FWidth = 320;
  FHeight = 240;
  FParentColor = true;  // it blends into the form it stands on
}

void TCustomFrame::SetAutoScroll(bool on) {
  TScrollingWinControl::SetAutoScroll(on);
  FScroller.SetEnabled(on);
}

void TCustomFrame::ReadDescription() {
  const auto text = core::FindFormData(ClassName());
  if (!text) return;
  core::TFormParseResult parsed = core::ParseFormText(*text);
  if (!parsed.Ok) throw core::EReadError("Invalid frame description: " + parsed.Error);
  // The frame is named where it is embedded; its description's name would collide there.
  parsed.Root.Name.clear();
  core::ReadComponent(*this, parsed.Root);
}

void TCustomFrame::Loaded() {
  TScrollingWinControl::Loaded();
  FScroller.Update();
}

void TCustomFrame::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomFrame::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  FScroller.Update();
}

void TCustomFrame::WndProc(TMessage& message) {
  if (FScroller.Before(message)) return;
  TScrollingWinControl::WndProc(message);
  FScroller.After(message);
}

void RegisterScrollingControls() {
  core::RegisterComponentClass(TScrollBox::kClass);
  core::RegisterComponentClass(TFrame::kClass);
}

}  // namespace bw::win
