#include "framework/win/Controls.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "framework/core/Enums.h"
#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"
#include "framework/win/CallbackErrors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Menus.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

TControl* gMouseControl = nullptr;

// WM_LBUTTONDOWN and friends: which button, and whether it goes down.
bool MouseButtonOf(UINT msg, TMouseButton& button, bool& down) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: button = TMouseButton::mbLeft; down = true; return true;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: button = TMouseButton::mbRight; down = true; return true;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: button = TMouseButton::mbMiddle; down = true; return true;
    case WM_LBUTTONUP: button = TMouseButton::mbLeft; down = false; return true;
    case WM_RBUTTONUP: button = TMouseButton::mbRight; down = false; return true;
    case WM_MBUTTONUP: button = TMouseButton::mbMiddle; down = false; return true;
  }
  return false;
}

POINT PointOf(LPARAM l) { return POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

// Containers that lay out or scroll their children follow them through this.
void NotifyParent(TControl& control) {
  TWinControl* parent = control.Parent();
  if (parent && !parent->IsDestroying()) parent->Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(&control));
}

void SetMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}

}  // namespace

const std::string& ControlPropName() {
  static const std::string name = [] {
    char text[64];
    std::snprintf(text, sizeof text, "ControlOfs%.8llX%.8lX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))),
                  static_cast<unsigned long>(GetCurrentThreadId()));
    return std::string(text);
  }();
  return name;
}

namespace {
// The global atom is the process's to give back: deleted when the program ends.
struct TControlAtom {
  ATOM Atom = GlobalAddAtomW(Widen(ControlPropName()).c_str());
  ~TControlAtom() {
    if (Atom) GlobalDeleteAtom(Atom);
  }
};
}  // namespace

ATOM ControlAtom() {
  static const TControlAtom atom;
  return atom.Atom;
}

TControl* MouseControl() { return gMouseControl; }

// ---- TControl

const core::TPropInfo TControl::kProps[] = {
    core::IntProp<&TControl::FLeft, &TControl::SetLeft>("Left", 0),
    core::IntProp<&TControl::FTop, &TControl::SetTop>("Top", 0),
    core::IntProp<&TControl::FWidth, &TControl::SetWidth>("Width", core::kNoDefault),
    core::IntProp<&TControl::FHeight, &TControl::SetHeight>("Height", core::kNoDefault),
    core::StrProp<&TControl::FCaption, &TControl::SetCaption>("Caption"),
    core::IntProp<&TControl::FColor, &TControl::SetColor>("Color", core::kNoDefault, &core::kColorIdents),
    core::BoolProp<&TControl::FParentColor, &TControl::SetParentColor>("ParentColor", false),
    core::ObjProp<&TControl::Font>("Font"),
    core::BoolProp<&TControl::FParentFont, &TControl::SetParentFont>("ParentFont", true),
    core::StrProp<&TControl::FHint, &TControl::SetHint>("Hint"),
    core::BoolProp<&TControl::FShowHint, &TControl::SetShowHint>("ShowHint", false),
    core::BoolProp<&TControl::FEnabled, &TControl::SetEnabled>("Enabled", true),
    core::BoolProp<&TControl::FVisible, &TControl::SetVisible>("Visible", true),
    core::ObjProp<&TControl::PopupMenu, &TControl::SetPopupMenu>("PopupMenu"),
    core::EnumProp<&TControl::FAlign, &TControl::SetAlign>("Align", core::kAlignInfo, core::TAlign::alNone),
    core::EventProp<&TControl::OnClick>("OnClick"),
    core::EventProp<&TControl::OnMouseDown>("OnMouseDown"),
    core::EventProp<&TControl::OnMouseUp>("OnMouseUp"),
    core::EventProp<&TControl::OnMouseMove>("OnMouseMove"),
    core::EventProp<&TControl::OnMouseEnter>("OnMouseEnter"),
    core::EventProp<&TControl::OnMouseLeave>("OnMouseLeave"),
};
const core::TClassInfo TControl::kClass{"TControl", &core::TComponent::kClass, kProps, {}};

TControl::TControl(core::TComponent* owner)
    : core::TComponent(owner), WindowProc([this](TMessage& m) { WndProc(m); }), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this] {
    if (!FUpdatingFromParent) FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  Destroying();
  if (gMouseControl == this) gMouseControl = nullptr;
  if (FParent) FParent->RemoveControl(*this);
}

core::TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(core::TComponent* parent) { SetParent(dynamic_cast<TWinControl*>(parent)); }

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw core::Exception("A control cannot be its own parent");
  if (FParent) FParent->RemoveControl(*this);
  if (parent) parent->InsertControl(*this);
  ApplyParentFont();
  ApplyParentColor();
}

void TControl::ApplyParentFont() {
  if (!FParentFont || !FParent) return;
  FUpdatingFromParent = true;
  FFont->Assign(*FParent->Font());
  FUpdatingFromParent = false;
}

void TControl::ApplyParentColor() {
  // Not through SetColor: a colour of its own would end ParentColor.
  if (!FParentColor || !FParent || FColor == FParent->Color()) return;
  FColor = FParent->Color();
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool parentFont) {
  FParentFont = parentFont;
  ApplyParentFont();
}

void TControl::SetParentColor(bool parentColor) {
  FParentColor = parentColor;
  ApplyParentColor();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const bool changed = left != FLeft || top != FTop || width != FWidth || height != FHeight;
  if (!changed) return;
  if (!IsWindowed() && FParent && FVisible) Invalidate();  // the old place
  FLeft = left;
  FTop = top;
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  BoundsChanged();
  if (!IsWindowed()) Invalidate();
  NotifyParent(*this);
  RequestAlign();
}

void TControl::SetAlign(core::TAlign align) {
  if (align == FAlign) return;
  FAlign = align;
  if (FParent) FParent->AlignControls();
}

void TControl::RequestAlign() {
  if (FAlign != core::TAlign::alNone && FParent && !FParent->FAligning) FParent->AlignControls();
}

POINT TControl::ClientToScreen(POINT p) const {
  p.x += FLeft;
  p.y += FTop;
  if (FParent) return FParent->ClientToScreen(p);
  return p;
}

POINT TControl::ScreenToClient(POINT p) const {
  if (FParent) p = FParent->ScreenToClient(p);
  p.x -= FLeft;
  p.y -= FTop;
  return p;
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  if (!visible) Invalidate();
  FVisible = visible;
  if (visible) Invalidate();
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  NotifyParent(*this);
  RequestAlign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  if (SetTextThroughWindow(caption)) return;
  FCaption = caption;
  DoTextChanged();
}

void TControl::DoTextChanged() {
  TextChanged();
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor color) {
  if (color == FColor && !FParentColor) return;
  FColor = color;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetHint(const std::string& hint) {
  FHint = hint;
  if (Application) Application->UpdateHint(*this);
}

void TControl::SetShowHint(bool show) {
  if (show == FShowHint) return;
  FShowHint = show;
  Perform(CM_SHOWHINTCHANGED);
  if (Application) Application->UpdateHint(*this);
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (FParent && FParent->HandleAllocated()) {
    const RECT r = BoundsRect();
    InvalidateRect(FParent->WindowHandle(), &r, TRUE);
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Click() { OnClick(this); }

void TControl::BringToFront() {
  if (!FParent) return;
  FParent->RemoveControl(*this);
  FParent->InsertControl(*this);
  Invalidate();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(*this);
  FPopupMenu = menu;
  if (FPopupMenu) FPopupMenu->FreeNotification(*this);
}

void TControl::Notification(core::TComponent& component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::DoContextPopup(POINT screen) {
  if (!FPopupMenu || !FPopupMenu->AutoPopup() || !FEnabled) return false;
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(screen.x, screen.y);
  return true;
}

void TControl::MouseDown(TMouseButton button, int x, int y) { OnMouseDown(this, button, x, y); }
void TControl::MouseUp(TMouseButton button, int x, int y) { OnMouseUp(this, button, x, y); }
void TControl::MouseMove(int x, int y) { OnMouseMove(this, x, y); }

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
      FMouseInControl = true;
      OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      FMouseInControl = false;
      OnMouseLeave(this);
      return;
    case CM_PARENTFONTCHANGED:
      ApplyParentFont();
      return;
    case CM_PARENTCOLORCHANGED:
      ApplyParentColor();
      return;
    case WM_MOUSEMOVE: {
      const POINT p = PointOf(message.LParam);
      MouseMove(p.x, p.y);
      break;
    }
    default: {
      TMouseButton button;
      bool down;
      if (MouseButtonOf(message.Msg, button, down)) {
        const POINT p = PointOf(message.LParam);
        if (down) {
          if (button == TMouseButton::mbLeft) FMouseDownInside = true;
          MouseDown(button, p.x, p.y);
        } else {
          MouseUp(button, p.x, p.y);
          // Windowless controls click here; windowed ones on their own notification.
          if (button == TMouseButton::mbLeft && FMouseDownInside && !IsWindowed()) {
            FMouseDownInside = false;
            const RECT r = ClientRect();
            if (PtInRect(&r, p) && FEnabled) Click();
          }
        }
      }
    }
  }
  DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

// ---- TGraphicControl

const core::TClassInfo TGraphicControl::kClass{"TGraphicControl", &TControl::kClass, {}, {}};

TGraphicControl::TGraphicControl(core::TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() { FCanvas.SetHandle(nullptr); }

void TGraphicControl::Invalidate() {
  if (FVisible) TControl::Invalidate();
}

void TGraphicControl::Update() {
  if (FParent) FParent->Update();
}

void TGraphicControl::WndProc(TMessage& message) {
  if (message.Msg == WM_PAINT && message.WParam != 0) {
    FCanvas.Font().Assign(*FFont);
    FCanvas.SetHandle(reinterpret_cast<HDC>(message.WParam));
    try {
      Paint();
    } catch (...) {
      FCanvas.SetHandle(nullptr);
      throw;
    }
    FCanvas.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(message);
}

// ---- TCustomControl

const core::TClassInfo TCustomControl::kClass{"TCustomControl", &TWinControl::kClass, {}, {}};

TCustomControl::TCustomControl(core::TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() { FCanvas.SetHandle(nullptr); }

void TCustomControl::PaintWindow(HDC dc) {
  FCanvas.Font().Assign(*FFont);
  FCanvas.Brush().SetColor(FColor);
  FCanvas.SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    FCanvas.SetHandle(nullptr);
    throw;
  }
  FCanvas.SetHandle(nullptr);
}

// ---- the window procedure

namespace {
thread_local TWinControl* gCreationControl = nullptr;

// Child ids start above the dialog command ids (IDOK ... IDCONTINUE) and stay within the
// 16 bits WM_COMMAND carries.
constexpr int kFirstControlId = 0x100;
int NextControlId() {
  static int next = kFirstControlId;
  const int id = next;
  next = next >= 0xFFFF ? kFirstControlId : next + 1;
  return id;
}
}

LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(window, MAKEINTATOM(ControlAtom())));
  if (!control) {
    control = gCreationControl;
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    gCreationControl = nullptr;
    control->Attach(window);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->WindowProc(m);
  } catch (...) {
    HandleCallbackError(control);
  }
  if (msg == WM_NCDESTROY) control->Detach();
  return m.Result;
}

// ---- TWinControl

const core::TPropInfo kWinControlProps[] = {
    core::IntProp<&TWinControl::TabOrder, &TWinControl::SetTabOrder>("TabOrder", core::kNoDefault),
    core::BoolProp<&TWinControl::TabStop, &TWinControl::SetTabStop>("TabStop", false),
    core::BoolProp<&TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered>("DoubleBuffered", false),
};
const core::TClassInfo TWinControl::kClass{"TWinControl", &TControl::kClass, kWinControlProps, {}};

TWinControl::TWinControl(core::TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  if (FHandle) DestroyWindow(FHandle);  // children's windows go with it
  // Children this control owns go with it; the others are left to their owners.
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(*child);
    if (child->Owner() == this) delete child;
  }
}

TWinControl* TWinControl::CreationControl() { return gCreationControl; }

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, MAKEINTATOM(ControlAtom())));
}

void TWinControl::Attach(HWND window) {
  FHandle = window;
  SetPropW(window, MAKEINTATOM(ControlAtom()), this);
}

void TWinControl::Detach() {
  RemovePropW(FHandle, MAKEINTATOM(ControlAtom()));
  FHandle = nullptr;
  FTrackingLeave = false;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = Widen(FCaption);
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FVisible) params.Style |= WS_VISIBLE;
  if (!FEnabled) params.Style |= WS_DISABLED;
  if (FTabStop) params.Style |= WS_TABSTOP;
  params.ExStyle = 0;
  params.X = FLeft;
  params.Y = FTop;
  params.Width = FWidth;
  params.Height = FHeight;
  params.WndParent = FParent ? FParent->Handle() : nullptr;
  params.WinClassName = Widen(ClassName());
}

bool TWinControl::OwnsPainting() const {
  return FDefWndProc == DefWindowProcW || FDefWndProc == nullptr;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW existing{};
  WNDPROC systemProc = DefWindowProcW;
  UINT classStyle = params.ClassStyle;
  HCURSOR cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  HBRUSH background = params.ClassBackground;
  int windowExtraBytes = 0;
  if (!params.SystemClass.empty()) {
    WNDCLASSW system{};
    if (!GetClassInfoW(nullptr, params.SystemClass.c_str(), &system))
      throw core::Exception("Window class not found: " + Narrow(params.SystemClass));
    systemProc = system.lpfnWndProc;
    classStyle = system.style & ~static_cast<UINT>(CS_GLOBALCLASS);
    cursor = system.hCursor;
    background = system.hbrBackground;
    windowExtraBytes = system.cbWndExtra;  // system controls keep their state there
  }
  FDefWndProc = systemProc;
  if (!GetClassInfoW(instance, params.WinClassName.c_str(), &existing)) {
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = StdWndProc;
    wc.cbWndExtra = windowExtraBytes;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassW(&wc)) {
      const DWORD error = GetLastError();
      throw core::Exception("Cannot register the window class " + Narrow(params.WinClassName) + " (error " +
                            std::to_string(error) + ")");
    }
  }
  FControlId = (params.Style & WS_CHILD) ? NextControlId() : 0;
  gCreationControl = this;
  HWND window = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                params.Style, params.X, params.Y, params.Width, params.Height, params.WndParent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(FControlId)), instance,
                                params.CreateParam);
  const DWORD error = GetLastError();
  gCreationControl = nullptr;
  if (!window) throw core::Exception("Cannot create the window of " + Name() + " (error " + std::to_string(error) + ")");
  if (FHandle != window) Attach(window);  // a class that sent no message during creation
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  if (Application && FShowHint) Application->UpdateHint(*this);
}

HWND TWinControl::Handle() {
  if (!FHandle) {
    if (FParent) FParent->Handle();
    if (FHandle) return FHandle;  // made with the parent's children just now
    CreateWnd();
    // Children in tab order, so that window order is tab order.
    for (TControl* child : FControls)
      if (auto* w = dynamic_cast<TWinControl*>(child)) w->Handle();
  }
  return FHandle;
}

void TWinControl::DestroyWnd() {
  if (FHandle) DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* child : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(child)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND);
}

void TWinControl::InsertControl(TControl& control) {
  FControls.push_back(&control);
  control.FParent = this;
  if (FHandle)
    if (auto* w = dynamic_cast<TWinControl*>(&control)) w->Handle();
  control.Invalidate();
  NotifyParent(control);
  if (control.FAlign != core::TAlign::alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl& control) {
  auto it = std::find(FControls.begin(), FControls.end(), &control);
  if (it == FControls.end()) return;
  control.Invalidate();
  if (FCaptureControl == &control) FCaptureControl = nullptr;
  FControls.erase(it);
  control.FParent = nullptr;
  if (!IsDestroying()) Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(&control));
  if (control.FAlign != core::TAlign::alNone && !IsDestroying()) AlignControls();
  if (auto* w = dynamic_cast<TWinControl*>(&control); w && w->FHandle && !IsDestroying()) {
    if (w->IsDestroying()) return;  // its own destructor destroys the window
    ::SetParent(w->FHandle, nullptr);
    ShowWindow(w->FHandle, SW_HIDE);
  }
}

void TWinControl::GetChildren(const std::function<void(core::TComponent&)>& visit, core::TComponent& root) {
  for (TControl* child : FControls)
    if (child->Owner() == &root) visit(*child);
  // Non-visual components of a form hang under the form itself.
  if (&root == this)
    for (std::int32_t i = 0; i < root.ComponentCount(); ++i) {
      core::TComponent* c = root.Components(i);
      if (!dynamic_cast<TControl*>(c) && c->GetParentComponent() == nullptr) visit(*c);
    }
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  int order = 0;
  for (TControl* c : FParent->FControls) {
    if (c == this) return order;
    if (c->IsWindowed()) ++order;
  }
  return -1;
}

void TWinControl::SetTabOrder(int order) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  int seen = 0;
  auto at = list.begin();
  for (; at != list.end(); ++at) {
    if ((*at)->IsWindowed()) {
      if (seen == order) break;
      ++seen;
    }
  }
  list.insert(at, this);
  if (FHandle) {
    // Window order follows tab order: place this window after the previous windowed sibling.
    HWND after = HWND_TOP;
    for (TControl* c : list) {
      if (c == this) break;
      if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle) after = w->FHandle;
    }
    SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::SetTabStop(bool tabStop) {
  FTabStop = tabStop;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(FHandle, GWL_STYLE, style);
  }
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (CanFocus()) ::SetFocus(Handle());
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, FWidth, FHeight};
  if (FHandle) GetClientRect(FHandle, &r);
  return r;
}

POINT TWinControl::ClientToScreen(POINT p) const {
  if (!FHandle) return TControl::ClientToScreen(p);
  ::ClientToScreen(FHandle, &p);
  return p;
}

POINT TWinControl::ScreenToClient(POINT p) const {
  if (!FHandle) return TControl::ScreenToClient(p);
  ::ScreenToClient(FHandle, &p);
  return p;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (FHandle) {
    MoveWindow(FHandle, left, top, width, height, TRUE);  // WM_SIZE/WM_MOVE update the fields
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) {
      RequestAlign();
      return;
    }
  }
  FLeft = left;
  FTop = top;
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  BoundsChanged();
  NotifyParent(*this);
  RequestAlign();
  AlignControls();
}

void TWinControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FHandle) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  NotifyParent(*this);
  RequestAlign();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  AlignControls();
}

void TWinControl::AlignControls() {
  if (FAligning || IsLoading()) return;
  FAligning = true;
  RECT r = ClientRect();
  AdjustClientRect(r);
  using core::TAlign;
  auto place = [&](TAlign align) {
    for (TControl* c : FControls) {
      if (c->FAlign != align || !c->FVisible) continue;
      const int w = c->FWidth, h = c->FHeight;
      switch (align) {
        case TAlign::alTop: c->SetBounds(r.left, r.top, r.right - r.left, h); r.top += h; break;
        case TAlign::alBottom: c->SetBounds(r.left, r.bottom - h, r.right - r.left, h); r.bottom -= h; break;
        case TAlign::alLeft: c->SetBounds(r.left, r.top, w, r.bottom - r.top); r.left += w; break;
        case TAlign::alRight: c->SetBounds(r.right - w, r.top, w, r.bottom - r.top); r.right -= w; break;
        case TAlign::alClient: c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); break;
        case TAlign::alNone: break;
      }
      r.bottom = std::max(r.bottom, r.top);
      r.right = std::max(r.right, r.left);
    }
  };
  try {
    for (TAlign a : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) place(a);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  if (FHandle) EnableWindow(FHandle, enabled);
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

bool TWinControl::Showing() const {
  if (FHandle) return IsWindowVisible(FHandle) != FALSE;
  return FVisible && (!FParent || FParent->Showing());
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::FontChanged() {
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), TRUE);
  for (TControl* child : FControls) child->Perform(CM_PARENTFONTCHANGED);
  TControl::FontChanged();
}

bool TWinControl::SetTextThroughWindow(const std::string& text) {
  if (!FHandle) return false;
  const std::wstring wide = Widen(text);
  SendMessageW(FHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return true;
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* child : FControls) {
    if (child->IsWindowed() || !child->Visible()) continue;
    const RECT r = child->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    TSaveDCGuard saved(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    POINT origin;
    OffsetViewportOrgEx(dc, r.left, r.top, &origin);
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& message) {
  // The owners end the paint and free the scratch objects whatever Paint throws.
  HDC given = reinterpret_cast<HDC>(message.WParam);
  std::optional<TPaintDC> paintDC;
  if (!given) paintDC.emplace(FHandle);
  HDC dc = given ? given : paintDC->Get();
  message.Result = 0;
  if (!dc) return;
  RECT client;
  GetClientRect(FHandle, &client);
  auto paint = [&](HDC target) {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(target));
    PaintWindow(target);
    PaintControls(target);
  };
  if (FDoubleBuffered && !given && client.right > 0 && client.bottom > 0) {
    TMemoryDC memory(dc);
    TBitmapHandle bitmap(memory ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
    if (bitmap) {
      TSelectGuard select(memory.Get(), bitmap.Get());
      paint(memory.Get());
      BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
      return;
    }
  }
  paint(dc);  // not double-buffered, or no scratch bitmap: paint directly
}

void TWinControl::ColorMessage(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  SetTextColor(dc, ColorToRGB(FFont->Color()));
  SetBkColor(dc, ColorToRGB(FColor));
  if (!FBackground) FBackground = std::make_unique<TBrush>();
  FBackground->SetColor(FColor);
  message.Result = reinterpret_cast<LRESULT>(FBackground->Handle());
}

bool TWinControl::ReflectToChild(TMessage& message) {
  HWND child = nullptr;
  switch (message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      child = reinterpret_cast<HWND>(message.LParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_DELETEITEM:
      child = reinterpret_cast<DELETEITEMSTRUCT*>(message.LParam)->hwndItem;
      break;
    case WM_COMPAREITEM:
      child = reinterpret_cast<COMPAREITEMSTRUCT*>(message.LParam)->hwndItem;
      break;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      if (item->CtlType != ODT_MENU) child = GetDlgItem(FHandle, static_cast<int>(item->CtlID));
      break;
    }
    default:
      return false;
  }
  TWinControl* target = FromHandle(child);
  if (!target || target == this) return false;
  message.Result = target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
  return true;
}

void TWinControl::TrackMouse(TControl* target) {
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
    FTrackingLeave = TrackMouseEvent(&tme) != FALSE;
  }
  SetMouseControl(target);
}

void TWinControl::ForwardMouseToChild(TMessage& message, bool& handled) {
  handled = false;
  const POINT p = PointOf(message.LParam);
  TControl* child = FCaptureControl ? FCaptureControl : ControlAtPos(p);
  if (message.Msg == WM_MOUSEMOVE) TrackMouse(child ? child : this);
  if (!child) return;
  TMouseButton button;
  bool down = false;
  const bool isButton = MouseButtonOf(message.Msg, button, down);
  if (isButton && down) {
    FCaptureControl = child;
    SetCapture(FHandle);
  }
  message.Result = child->Perform(message.Msg, message.WParam,
                                  MAKELPARAM(static_cast<WORD>(p.x - child->Left()),
                                             static_cast<WORD>(p.y - child->Top())));
  if (isButton && !down && FCaptureControl) {
    FCaptureControl = nullptr;
    ReleaseCapture();
  }
  handled = true;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (OwnsPainting() || std::any_of(FControls.begin(), FControls.end(),
                                        [](TControl* c) { return !c->IsWindowed(); })) {
        PaintHandler(message);
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (OwnsPainting()) {
        // Double-buffered paints erase inside PaintHandler, into the scratch bitmap.
        if (FDoubleBuffered && message.WParam != static_cast<WPARAM>(message.LParam)) {
          message.Result = 1;
          return;
        }
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        RECT r;
        GetClientRect(FHandle, &r);
        TBrush brush;
        brush.SetColor(FColor);
        FillRect(dc, &r, brush.Handle());
        message.Result = 1;
        return;
      }
      break;
    case WM_SIZE:
    case WM_MOVE: {
      RECT r;
      GetWindowRect(FHandle, &r);
      POINT topLeft{r.left, r.top};
      if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(FHandle), &topLeft, 1);
      FLeft = topLeft.x;
      FTop = topLeft.y;
      FWidth = r.right - r.left;
      FHeight = r.bottom - r.top;
      BoundsChanged();
      NotifyParent(*this);
      if (message.Msg == WM_SIZE) AlignControls();
      break;
    }
    case WM_SETTEXT: {
      DefaultHandler(message);
      const auto* text = reinterpret_cast<const wchar_t*>(message.LParam);
      std::string caption = text ? Narrow(text) : std::string();
      if (caption != FCaption) {
        FCaption = std::move(caption);
        DoTextChanged();
      }
      return;
    }
    case CM_RECREATEWND:
      if (FHandle) {
        DestroyHandle();
        Handle();
      }
      return;
    case WM_MOUSELEAVE: {
      FTrackingLeave = false;
      TControl* current = MouseControl();
      if (current == this || (current && current->Parent() == this && !current->IsWindowed()))
        SetMouseControl(nullptr);
      break;
    }
    case WM_SETFOCUS:
      Perform(CM_ENTER);
      break;
    case WM_CONTEXTMENU: {
      // From the menu key the point is -1, -1: the menu opens at the control's corner.
      const bool fromKey = message.LParam == -1;
      POINT screen = fromKey ? ClientToScreen(POINT{4, 4}) : PointOf(message.LParam);
      TControl* target = this;
      if (!fromKey)
        if (TControl* child = ControlAtPos(ScreenToClient(screen))) target = child;
      if (target->DoContextPopup(screen) || (target != this && DoContextPopup(screen))) {
        message.Result = 1;
        return;
      }
      break;
    }
    case WM_KILLFOCUS:
      Perform(CM_EXIT);
      break;
    case CM_COLORCHANGED:
      for (TControl* child : FControls) child->Perform(CM_PARENTCOLORCHANGED);
      break;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
      ColorMessage(message);
      return;
    default:
      if (ReflectToChild(message)) return;
      if ((message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MBUTTONDBLCLK) && message.Msg != WM_MOUSEWHEEL) {
        bool handled = false;
        ForwardMouseToChild(message, handled);
        if (handled) return;
      }
  }
  TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (!FHandle) return;
  if (message.Msg >= CM_BASE) return;  // framework notifications stop here
  message.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle, message.Msg,
                                   message.WParam, message.LParam);
}

}  // namespace bw::win
