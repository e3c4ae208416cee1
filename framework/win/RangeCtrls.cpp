#include "framework/win/RangeCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>
#include <string>

#include "framework/core/ClassRegistry.h"
#include "framework/win/EditCtrls.h"

namespace bw::win {

// ---- TScrollBar

const core::TPropInfo TScrollBar::kProps[] = {
    core::EnumProp<&TScrollBar::FKind, &TScrollBar::SetKind>("Kind", core::kScrollBarKindInfo,
                                                            TScrollBarKind::sbHorizontal),
    core::IntProp<&TScrollBar::FMin, &TScrollBar::SetMin>("Min", 0),
    core::IntProp<&TScrollBar::FMax, &TScrollBar::SetMax>("Max", 100),
    core::IntProp<&TScrollBar::FPageSize, &TScrollBar::SetPageSize>("PageSize", 0),
    core::IntProp<&TScrollBar::Position, &TScrollBar::SetPosition>("Position", 0),
    core::IntProp<&TScrollBar::FSmallChange, &TScrollBar::SetSmallChange>("SmallChange", 1),
    core::IntProp<&TScrollBar::FLargeChange, &TScrollBar::SetLargeChange>("LargeChange", 1),
    core::EventProp<&TScrollBar::OnChange>("OnChange"),
    core::EventProp<&TScrollBar::OnScroll>("OnScroll"),
};
const core::TClassInfo TScrollBar::kClass{"TScrollBar", &TWinControl::kClass, kProps, {},
                                          &core::CreateComponentOf<TScrollBar>};

TScrollBar::TScrollBar(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = GetSystemMetrics(SM_CYHSCROLL);
  FTabStop = true;
}

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == FKind) return;
  FKind = kind;
  if (!IsLoading()) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

int TScrollBar::HighestPosition() const {
  return std::max(FMin, FPageSize > 0 ? FMax - FPageSize + 1 : FMax);
}

int TScrollBar::Position() const {
  if (WindowHandle()) return GetScrollPos(WindowHandle(), SB_CTL);
  return FPosition;
}

void TScrollBar::SetParams(int position, int min, int max) {
  FMin = min;
  FMax = std::max(max, min);
  // While the description is read the range may come after the position: Loaded clamps.
  if (IsLoading()) {
    FPosition = position;
    return;
  }
  const int old = Position();
  FPosition = std::clamp(position, FMin, HighestPosition());
  ApplyToWindow();
  if (FPosition != old) OnChange(this);
}

void TScrollBar::SetPageSize(int size) {
  FPageSize = std::max(size, 0);
  SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Loaded() {
  TWinControl::Loaded();
  FPosition = std::clamp(FPosition, FMin, HighestPosition());
  ApplyToWindow();
}

void TScrollBar::ApplyToWindow() {
  if (!WindowHandle()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = FMin;
  info.nMax = FMax;
  info.nPage = static_cast<UINT>(FPageSize);
  info.nPos = FPosition;
  SetScrollInfo(WindowHandle(), SB_CTL, &info, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = L"SCROLLBAR";
  params.Style |= FKind == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyToWindow();
}

void TScrollBar::Scroll(WORD code) {
  if (code > SB_ENDSCROLL) return;
  int position = FPosition;
  switch (code) {
    case SB_LINEUP: position -= FSmallChange; break;
    case SB_LINEDOWN: position += FSmallChange; break;
    case SB_PAGEUP: position -= FLargeChange; break;
    case SB_PAGEDOWN: position += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 32-bit track position; the message carries only 16 bits.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(WindowHandle(), SB_CTL, &info)) position = info.nTrackPos;
      break;
    }
    case SB_TOP: position = FMin; break;
    case SB_BOTTOM: position = HighestPosition(); break;
  }
  OnScroll(this, static_cast<TScrollCode>(code), position);
  if (code != SB_ENDSCROLL) SetPosition(position);
}

void TScrollBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    Scroll(LOWORD(message.WParam));
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

// ---- TTrackBar

const core::TPropInfo TTrackBar::kProps[] = {
    core::EnumProp<&TTrackBar::FOrientation, &TTrackBar::SetOrientation>(
        "Orientation", core::kTrackBarOrientationInfo, TTrackBarOrientation::trHorizontal),
    core::IntProp<&TTrackBar::FMin, &TTrackBar::SetMin>("Min", 0),
    core::IntProp<&TTrackBar::FMax, &TTrackBar::SetMax>("Max", 10),
    core::IntProp<&TTrackBar::Position, &TTrackBar::SetPosition>("Position", 0),
    core::IntProp<&TTrackBar::FFrequency, &TTrackBar::SetFrequency>("Frequency", 1),
    core::EnumProp<&TTrackBar::FTickStyle, &TTrackBar::SetTickStyle>("TickStyle", core::kTickStyleInfo,
                                                                    TTickStyle::tsAuto),
    core::EnumProp<&TTrackBar::FTickMarks, &TTrackBar::SetTickMarks>("TickMarks", core::kTickMarkInfo,
                                                                    TTickMark::tmBottomRight),
    core::IntProp<&TTrackBar::FPageSize, &TTrackBar::SetPageSize>("PageSize", 2),
    core::IntProp<&TTrackBar::FLineSize, &TTrackBar::SetLineSize>("LineSize", 1),
    core::EventProp<&TTrackBar::OnChange>("OnChange"),
};
const core::TClassInfo TTrackBar::kClass{"TTrackBar", &TWinControl::kClass, kProps, {},
                                         &core::CreateComponentOf<TTrackBar>};

TTrackBar::TTrackBar(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 45;
  FTabStop = true;
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
  if (orientation == FOrientation) return;
  FOrientation = orientation;
  if (!IsLoading()) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TTrackBar::SetMin(int value) {
  FMin = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETRANGEMIN, TRUE, value);
  if (!IsLoading()) SetPosition(FPosition);
}

void TTrackBar::SetMax(int value) {
  FMax = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETRANGEMAX, TRUE, value);
  if (!IsLoading()) SetPosition(FPosition);
}

int TTrackBar::Position() const {
  if (WindowHandle()) return static_cast<int>(SendMessageW(WindowHandle(), TBM_GETPOS, 0, 0));
  return FPosition;
}

void TTrackBar::SetPosition(int value) {
  if (IsLoading()) {
    FPosition = value;  // the range may come later; Loaded clamps
    return;
  }
  value = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETPOS, TRUE, value);
  PositionChanged(value);
}

void TTrackBar::Loaded() {
  TWinControl::Loaded();
  FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
}

void TTrackBar::PositionChanged(int position) {
  if (position == FPosition) return;
  FPosition = position;
  if (!IsLoading()) OnChange(this);
}

void TTrackBar::SetFrequency(int frequency) {
  FFrequency = std::max(frequency, 1);
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
}

void TTrackBar::SetTickStyle(TTickStyle style) {
  if (style == FTickStyle) return;
  FTickStyle = style;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark marks) {
  if (marks == FTickMarks) return;
  FTickMarks = marks;
  RecreateWnd();
}

void TTrackBar::SetPageSize(int size) {
  FPageSize = size;
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETPAGESIZE, 0, size);
}

void TTrackBar::SetLineSize(int size) {
  FLineSize = size;
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETLINESIZE, 0, size);
}

void TTrackBar::SetTick(int value) {
  if (WindowHandle()) SendMessageW(WindowHandle(), TBM_SETTIC, 0, value);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = TRACKBAR_CLASSW;
  params.Style |= FOrientation == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ;
  switch (FTickStyle) {
    case TTickStyle::tsNone: params.Style |= TBS_NOTICKS; break;
    case TTickStyle::tsAuto: params.Style |= TBS_AUTOTICKS; break;
    case TTickStyle::tsManual: break;
  }
  if (FTickMarks == TTickMark::tmTopLeft) params.Style |= TBS_TOP;
  if (FTickMarks == TTickMark::tmBoth) params.Style |= TBS_BOTH;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = WindowHandle();
  SendMessageW(h, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageW(h, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessageW(h, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
  SendMessageW(h, TBM_SETPAGESIZE, 0, FPageSize);
  SendMessageW(h, TBM_SETLINESIZE, 0, FLineSize);
  SendMessageW(h, TBM_SETPOS, TRUE, FPosition);
  FPosition = Position();  // as the window clamped it
}

void TTrackBar::DestroyWnd() {
  if (WindowHandle()) FPosition = Position();
  TWinControl::DestroyWnd();
}

void TTrackBar::WndProc(TMessage& message) {
  if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
    PositionChanged(Position());
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

// ---- TUpDown

const core::TPropInfo TUpDown::kProps[] = {
    core::ObjProp<&TUpDown::Associate, &TUpDown::SetAssociate>("Associate"),
    core::IntProp<&TUpDown::FMin, &TUpDown::SetMin>("Min", 0),
    core::IntProp<&TUpDown::FMax, &TUpDown::SetMax>("Max", 100),
    core::IntProp<&TUpDown::Position, &TUpDown::SetPosition>("Position", 0),
    core::IntProp<&TUpDown::FIncrement, &TUpDown::SetIncrement>("Increment", 1),
    core::EnumProp<&TUpDown::FOrientation, &TUpDown::SetOrientation>("Orientation", core::kUDOrientationInfo,
                                                                    TUDOrientation::udVertical),
    core::EventProp<&TUpDown::OnClick>("OnClick"),
    core::EventProp<&TUpDown::OnChanging>("OnChanging"),
};
const core::TClassInfo TUpDown::kClass{"TUpDown", &TWinControl::kClass, kProps, {},
                                       &core::CreateComponentOf<TUpDown>};

TUpDown::TUpDown(core::TComponent* owner) : TWinControl(owner) {
  FWidth = GetSystemMetrics(SM_CXVSCROLL);
  FHeight = 24;
}

TUpDown::~TUpDown() { ReleaseAssociate(); }

void TUpDown::SetAssociate(TWinControl* associate) {
  if (associate == FAssociate) return;
  if (associate == this) associate = nullptr;
  ReleaseAssociate();
  FAssociate = associate;
  if (!FAssociate) return;
  FAssociate->FreeNotification(*this);
  FAssociateHook = FAssociate->WindowProc.Replace([this](TMessage& m) { AssociateMessage(m); });
  if (IsLoading()) return;  // Loaded docks
  Dock();
  ShowPosition();
}

void TUpDown::ReleaseAssociate() {
  if (!FAssociate) return;
  FAssociate->WindowProc.Restore(FAssociateHook);
  FAssociate->RemoveFreeNotification(*this);
  FAssociate = nullptr;
  FAssociateHook.reset();
}

void TUpDown::Notification(core::TComponent& component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FAssociate) {
    // Its slot goes with it.
    FAssociate = nullptr;
    FAssociateHook.reset();
  }
}

void TUpDown::AssociateMessage(TMessage& message) {
  const TWindowProcHook hook = FAssociateHook;  // the handlers below may release it
  if (message.Msg == WM_KEYDOWN && (message.WParam == VK_UP || message.WParam == VK_DOWN)) {
    Step(message.WParam == VK_UP ? TUDBtnType::btNext : TUDBtnType::btPrev);
    message.Result = 0;
    return;
  }
  hook->CallPrevious(message);
  switch (message.Msg) {
    case WM_SIZE:
    case WM_MOVE:
      Dock();
      break;
    case CN_COMMAND:
      if (HIWORD(message.WParam) == EN_CHANGE) TakeAssociateText();
      break;
  }
}

void TUpDown::Dock() {
  if (!FAssociate) return;
  if (FAssociate == FParent) {
    const RECT client = FAssociate->ClientRect();
    SetBounds(client.right - FWidth, 0, FWidth, client.bottom);
    if (FAssociate->InheritsFrom(TCustomEdit::kClass) && FAssociate->WindowHandle())
      SendMessageW(FAssociate->WindowHandle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, FWidth));
  } else if (FAssociate->Parent() == FParent) {
    SetBounds(FAssociate->Left() + FAssociate->Width(), FAssociate->Top(), FWidth, FAssociate->Height());
  }
}

void TUpDown::ShowPosition() {
  if (!FAssociate || FShowing) return;
  FShowing = true;
  try {
    FAssociate->SetCaption(std::to_string(FPosition));
  } catch (...) {
    FShowing = false;
    throw;
  }
  FShowing = false;
}

void TUpDown::TakeAssociateText() {
  if (FShowing || !FAssociate) return;
  const std::string& text = FAssociate->Caption();
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return;  // not a number (yet)
  FPosition = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (WindowHandle()) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetMin(int value) {
  FMin = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  if (!IsLoading()) SetPosition(FPosition);
}

void TUpDown::SetMax(int value) {
  FMax = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  if (!IsLoading()) SetPosition(FPosition);
}

int TUpDown::Position() const {
  if (WindowHandle()) return static_cast<int>(SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0));
  return FPosition;
}

void TUpDown::SetPosition(int value) {
  if (IsLoading()) {
    FPosition = value;
    return;
  }
  FPosition = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (WindowHandle()) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);
  ShowPosition();
}

void TUpDown::SetIncrement(int increment) {
  FIncrement = std::max(increment, 1);
  if (WindowHandle()) {
    UDACCEL accel{0, static_cast<UINT>(FIncrement)};
    SendMessageW(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TUpDown::SetOrientation(TUDOrientation orientation) {
  if (orientation == FOrientation) return;
  FOrientation = orientation;
  if (!IsLoading()) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TUpDown::Loaded() {
  TWinControl::Loaded();
  FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
  Dock();
  ShowPosition();
}

bool TUpDown::Changing() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TUpDown::Clicked(TUDBtnType button) {
  ShowPosition();
  OnClick(this, button);
}

void TUpDown::Step(TUDBtnType button) {
  const int delta = button == TUDBtnType::btNext ? FIncrement : -FIncrement;
  const int position = std::clamp(FPosition + delta, std::min(FMin, FMax), std::max(FMin, FMax));
  if (position == FPosition || !Changing()) return;
  FPosition = position;
  if (WindowHandle()) SendMessageW(WindowHandle(), UDM_SETPOS32, 0, FPosition);
  Clicked(button);
}

void TUpDown::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = UPDOWN_CLASSW;
  if (FOrientation == TUDOrientation::udHorizontal) params.Style |= UDS_HORZ;
}

void TUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = WindowHandle();
  SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageW(h, UDM_SETPOS32, 0, FPosition);
  SetIncrement(FIncrement);
  Dock();
}

void TUpDown::DestroyWnd() {
  if (WindowHandle()) FPosition = Position();
  TWinControl::DestroyWnd();
}

void TUpDown::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
      // A non-zero answer keeps the position.
      if (header->code == UDN_DELTAPOS) message.Result = Changing() ? 0 : 1;
      return;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
      if (LOWORD(message.WParam) == SB_THUMBPOSITION) {
        const int position = Position();
        if (position != FPosition) {
          const TUDBtnType button = position > FPosition ? TUDBtnType::btNext : TUDBtnType::btPrev;
          FPosition = position;
          Clicked(button);
        }
      }
      message.Result = 0;
      return;
  }
  TWinControl::WndProc(message);
}

void RegisterRangeControls() {
  for (const core::TClassInfo* cls : {&TScrollBar::kClass, &TTrackBar::kClass, &TUpDown::kClass})
    core::RegisterComponentClass(*cls);
}

}  // namespace bw::win
