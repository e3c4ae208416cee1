// The cover window over one scroll bar: where it sits, what it paints, and how a press on
// it reaches the covered bar.
#include "skin/controls/Scrollbars.h"

#include <algorithm>
#include <cstdlib>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "skin/controls/SkinImages.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TWScrollbar::kClass{"TWScrollbar", &win::TCustomPanel::kClass, {}, {}};

namespace {
constexpr RECT kNoMargins{0, 0, 0, 0};
constexpr int kArrowFrames = 23;
// Arrow frames of the "Scrollbar" strip; the pressed look is the next frame.
constexpr int kFrameLeft = 1, kFrameRight = 5, kFrameUp = 9, kFrameDown = 13;
constexpr int kTrackFrames = 4, kTrackEnabled = 1, kTrackDisabled = 3;
// A skin bar this much thicker or thinner than the system's is drawn at the system's size.
constexpr int kThicknessTolerancePx = 2;

LONG ObjectOf(int kind) {
  return kind == kScrollVert ? OBJID_VSCROLL : kind == kScrollHorz ? OBJID_HSCROLL : OBJID_CLIENT;
}
int BarOf(int kind) { return kind == kScrollVert ? SB_VERT : kind == kScrollHorz ? SB_HORZ : SB_CTL; }
}  // namespace

TWScrollbar::TWScrollbar() : win::TCustomPanel(nullptr) {
  FButtonSize = GetSystemMetrics(SM_CXHSCROLL);
  FVisible = false;
  SetBevelOuter(win::TBevelCut::bvNone);
}

TWScrollbar::~TWScrollbar() { *FAlive = false; }

void TWScrollbar::CreateParams(win::TCreateParams& params) {
  win::TCustomPanel::CreateParams(params);
  params.WndParent = FParentWindow;
  params.Style &= ~static_cast<DWORD>(WS_TABSTOP | WS_VISIBLE);
  params.ExStyle |= WS_EX_TOOLWINDOW;
}

TSkinData* TWScrollbar::SkinData() const { return FPainter ? FPainter->FSkinData : nullptr; }

void TWScrollbar::Attach(TSkinControl* painter, win::TWinControl* control, int kind) {
  FTargetControl = control;
  AttachHwnd(painter, control ? control->Handle() : nullptr, kind);
  if (kind == kScrollControl && control) {
    std::string k = TSkinControl::GetEnumProperty(control, "Kind");
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return std::tolower(c); });
    FVertical = k == "sbhorizontal" ? 0 : 1;
  }
}

void TWScrollbar::AttachHwnd(TSkinControl* painter, HWND handle, int kind) {
  FPainter = painter;
  FTargetHandle = handle;
  FKind = kind;
  FVertical = kind == kScrollVert ? 1 : 0;
  if (kind == kScrollControl && handle)
    FVertical = (GetWindowLongPtrW(handle, GWL_STYLE) & SBS_VERT) ? 1 : 0;
  if (painter) SetColor(painter->GetParentColor(SkinData() ? SkinData()->Colors[TShemeColor::csButtonFace]
                                                           : win::clBtnFace));
  if (!handle) return;
  FParentWindow = GetParent(handle);
  // The system must not paint the bar through the cover.
  const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
  if (!(style & WS_CLIPSIBLINGS)) SetWindowLongPtrW(handle, GWL_STYLE, style | WS_CLIPSIBLINGS);
  HandleNeeded();
  SetPosition(handle);
}

bool TWScrollbar::GetInfo(SCROLLBARINFO& info) {
  if (!FTargetHandle || !IsWindow(FTargetHandle)) return false;
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  return GetScrollBarInfo(FTargetHandle, ObjectOf(FKind), &info) != FALSE;
}

TWScrollbar::TScrollState TWScrollbar::ReadState() const {
  TScrollState s;
  if (!FTargetHandle) return s;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (GetScrollInfo(FTargetHandle, BarOf(FKind), &si)) {
    s.Min = si.nMin;
    s.Max = si.nMax;
    s.Page = static_cast<int>(si.nPage);
    s.Pos = si.nPos;
    s.Track = si.nTrackPos;
  }
  s.State = static_cast<DWORD>(GetWindowLongPtrW(FTargetHandle, GWL_STYLE)) & (WS_DISABLED | WS_HSCROLL | WS_VSCROLL);
  return s;
}

void TWScrollbar::HideScrollbar() {
  if (HWND h = WindowHandle()) ShowWindow(h, SW_HIDE);
  FShown = false;
}

void TWScrollbar::SetPosition(HWND handle) {
  FTargetHandle = handle;
  HWND self = WindowHandle();
  if (!self) return;
  SCROLLBARINFO info;
  TSkinData* data = SkinData();
  // Without the skin's arrow image, or a bar to read, the system's own bar shows.
  const bool skinned = data && data->Scrollbar && data->Scrollbar->Bitmap.Width() > 0;
  if (!skinned || !GetInfo(info)) return HideScrollbar();
  const bool visible = (GetWindowLongPtrW(handle, GWL_STYLE) & WS_VISIBLE) != 0;
  RECT bar = info.rcScrollBar;  // screen
  if (!visible || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) || bar.right <= bar.left || bar.bottom <= bar.top)
    return HideScrollbar();
  FOrigin = POINT{bar.left, bar.top};
  FBarRect = bar;
  MapWindowPoints(nullptr, handle, reinterpret_cast<POINT*>(&FBarRect), 2);
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  FLength = FVertical ? h : w;
  HWND parent = GetParent(handle);
  if (parent && GetParent(self) != parent) {
    ::SetParent(self, parent);
    FParentWindow = parent;
  }
  POINT at = FOrigin;
  if (parent) ::ScreenToClient(parent, &at);
  // Directly above the target in z-order: after the window that precedes it.
  HWND prev = GetWindow(handle, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (prev == self) flags |= SWP_NOZORDER;
  SetWindowPos(self, prev ? prev : HWND_TOP, at.x, at.y, w, h, flags);
  FShown = true;
  InvalidateRect(self, nullptr, FALSE);
}

void TWScrollbar::ButtonUp() {
  FPressed = false;
  ReleaseCapture();
  if (FKind == kScrollControl) Repaint();
}

int TWScrollbar::GetScrollPos(POINT point) const {
  const int a = FVertical ? point.y : point.x;
  const int b = FButtonSize;
  if (a < b) return kPartLineUp;
  if (a < FThumbTop) return kPartPageUp;
  if (a < FThumbBottom) return kPartThumb;
  if (a < FLength - b) return kPartPageDown;
  return kPartLineDown;
}

void TWScrollbar::GetThumb() {
  const int length = FThumbBottom - FThumbTop;
  POINT cursor;
  GetCursorPos(&cursor);
  const int moved = FVertical ? cursor.y - FDownPos.y : cursor.x - FDownPos.x;
  FThumbTop = std::max(FButtonSize, std::min(FThumbStart + moved, FLength - FButtonSize - length));
  FThumbBottom = FThumbTop + length;
}

void TWScrollbar::RefreshIfChanged() {
  // Reading a scroll-bar control's state sends it messages: not again from inside a paint.
  if (!FShown || !FTargetHandle || FPainting) return;
  if (ReadState() != FLastState) Repaint();
}

void TWScrollbar::WndProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      win::TCustomPanel::WndProc(message);
      Press(message);
      return;
    case WM_LBUTTONUP:
      win::TCustomPanel::WndProc(message);
      Release(message);
      return;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
  }
  win::TCustomPanel::WndProc(message);
}

void TWScrollbar::Press(win::TMessage& message) {
  HWND self = WindowHandle();
  if (!self || !FTargetHandle || !IsWindow(FTargetHandle)) return;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  FDownPos = p;
  ::ClientToScreen(self, &FDownPos);
  SCROLLBARINFO info;
  if (GetInfo(info)) {
    FThumbTop = info.xyThumbTop;
    FThumbBottom = info.xyThumbBottom;
    FThumbStart = FThumbTop;
    FOrigin = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
  }
  if (FKind == kScrollControl) FHitPart = GetScrollPos(p);
  FPressed = true;
  if (FKind == kScrollControl) Repaint();
  ReleaseCapture();
  HWND target = FTargetHandle;
  const std::shared_ptr<bool> alive = FAlive;
  // Returns when the system's tracking of the press ends (the button went up).
  if (FKind == kScrollControl)
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, message.LParam);
  else
    SendMessageW(target, WM_NCLBUTTONDOWN, FKind == kScrollVert ? HTVSCROLL : HTHSCROLL,
                 MAKELPARAM(FDownPos.x, FDownPos.y));
  if (!*alive || !WindowHandle()) return;
  FPressed = false;
  ReleaseCapture();
  Repaint();
}

void TWScrollbar::Release(win::TMessage& message) {
  HWND self = WindowHandle();
  if (!self || !FTargetHandle || !IsWindow(FTargetHandle)) return;
  POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  FPressed = false;
  ReleaseCapture();
  if (FKind == kScrollControl) {
    PostMessageW(FTargetHandle, WM_LBUTTONUP, MK_LBUTTON, message.LParam);
    Repaint();
  } else {
    ::ClientToScreen(self, &p);
    PostMessageW(FTargetHandle, WM_NCLBUTTONUP, FKind == kScrollVert ? HTVSCROLL : HTHSCROLL, MAKELPARAM(p.x, p.y));
  }
}

void TWScrollbar::Paint() {
  TSkinData* data = SkinData();
  if (!data || !data->Scrollbar || data->Scrollbar->Bitmap.Width() == 0) return;
  struct TPaintingScope {
    bool& Flag;
    explicit TPaintingScope(bool& flag) : Flag(flag) { Flag = true; }
    ~TPaintingScope() { Flag = false; }
  } painting(FPainting);
  FLastState = ReadState();
  SCROLLBARINFO info;
  if (!GetInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
  bool enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  if (FKind == kScrollControl && !IsWindowEnabled(FTargetHandle)) enabled = false;
  const int w = info.rcScrollBar.right - info.rcScrollBar.left;
  const int h = info.rcScrollBar.bottom - info.rcScrollBar.top;
  if (w <= 0 || h <= 0) return;
  FLength = FVertical ? h : w;
  const int b = FButtonSize;
  int t = data->Scrollbar->Bitmap.Height();
  if (std::abs(t - b) > kThicknessTolerancePx) t = b;

  // Kinds 0/1 compose at the bar's size, the image T thick at its top or left; a control
  // composes T thick and is stretched onto its window.
  const int imageW = FKind == kScrollControl ? (FVertical ? t : w) : w;
  const int imageH = FKind == kScrollControl ? (FVertical ? h : t) : h;
  TScratch scratch(imageW, imageH);
  HDC s = scratch.DC();
  const RECT all{0, 0, imageW, imageH};
  if (data->FaceBrush) {
    FillRect(s, &all, data->FaceBrush);
  } else {
    win::TBrushHandle face(CreateSolidBrush(win::ColorToRGB(data->Colors[TShemeColor::csButtonFace])));
    FillRect(s, &all, face.Get());
  }
  TPainted painted;
  painted.Thickness = t;
  auto& images = TSkinImageCache::Shared();
  auto along = [&](int from, int to) {
    return FVertical ? RECT{0, from, t, to} : RECT{from, 0, to, t};
  };
  auto draw = [&](TDataSkinObject& object, const RECT& margins, bool tile, bool keyed, int frame, int frames,
                  const RECT& r) {
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    if (rw <= 0 || rh <= 0) return;
    if (TKeyedImage* image = images.Compose(object.Bitmap, margins, tile, frame, frames, rw, rh, keyed))
      image->Draw(s, r.left, r.top);
  };

  TDataSkinObject* track = FVertical ? data->VertScroll.get() : data->HorzScroll.get();
  painted.TrackFrame = enabled ? kTrackEnabled : kTrackDisabled;
  if (track && track->Bitmap.Width() > 0)
    draw(*track, track->Margins, track->Tile != 0, track->Trans == 1, painted.TrackFrame, kTrackFrames,
         along(b, FLength - b));

  const int arrow = FLength < 2 * b ? b / 2 : b;
  painted.ArrowPx = arrow;
  const int first = FVertical ? kFrameUp : kFrameLeft;
  const int second = FVertical ? kFrameDown : kFrameRight;
  painted.FirstArrowFrame = first + (FPressed && FHitPart == kPartLineUp ? 1 : 0);
  painted.SecondArrowFrame = second + (FPressed && FHitPart == kPartLineDown ? 1 : 0);
  draw(*data->Scrollbar, kNoMargins, false, true, painted.FirstArrowFrame, kArrowFrames, along(0, arrow));
  draw(*data->Scrollbar, kNoMargins, false, true, painted.SecondArrowFrame, kArrowFrames,
       along(FLength - arrow, FLength));

  if (FHitPart == kPartThumb && FKind != kScrollControl && FPressed) {
    GetThumb();
  } else {
    FThumbTop = info.xyThumbTop;
    FThumbBottom = info.xyThumbBottom;
  }
  TDataSkinObject* thumb = FVertical ? data->VertScrollThumb.get() : data->HorzScrollThumb.get();
  if (enabled && thumb && thumb->Bitmap.Width() > 0 && FThumbBottom > FThumbTop) {
    painted.ThumbFrame = FPressed && FHitPart == kPartThumb ? 2 : 1;
    painted.ThumbTop = FThumbTop;
    painted.ThumbBottom = FThumbBottom;
    draw(*thumb, thumb->Margins, thumb->Tile != 0, thumb->Trans == 1, painted.ThumbFrame, std::max(thumb->Frame, 1),
         along(FThumbTop, FThumbBottom));
  }
  FPainted = painted;

  HDC dc = Canvas().Handle();
  if (FKind == kScrollControl) {
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, w, h, s, 0, 0, imageW, imageH, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  } else {
    BitBlt(dc, 0, 0, w, h, s, 0, 0, SRCCOPY);
  }
}

}  // namespace bw::skin
