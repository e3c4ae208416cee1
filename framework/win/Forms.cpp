#include "framework/win/Forms.h"

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

DWORD StyleOf(TFormBorderStyle style) {
  switch (style) {
    case TFormBorderStyle::bsNone: return WS_POPUP;
    case TFormBorderStyle::bsSingle: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
    case TFormBorderStyle::bsSizeable: return WS_OVERLAPPEDWINDOW;
    case TFormBorderStyle::bsDialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case TFormBorderStyle::bsToolWindow: return WS_CAPTION | WS_SYSMENU;
    case TFormBorderStyle::bsSizeToolWin: return WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  }
  return WS_OVERLAPPEDWINDOW;
}

DWORD ExStyleOf(TFormBorderStyle style) {
  switch (style) {
    case TFormBorderStyle::bsDialog: return WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin: return WS_EX_TOOLWINDOW;
    default: return 0;
  }
}

}  // namespace

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

TFont* TScreen::MenuFont() {
  if (!FMenuFont) {
    FMenuFont = std::make_unique<TFont>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      FMenuFont->SetName(Narrow(metrics.lfMenuFont.lfFaceName));
      FMenuFont->SetHeight(metrics.lfMenuFont.lfHeight);
      FMenuFont->SetCharset(metrics.lfMenuFont.lfCharSet);
      if (metrics.lfMenuFont.lfWeight >= FW_BOLD) FMenuFont->SetStyle(core::TFontStyles{core::TFontStyle::fsBold});
    }
  }
  return FMenuFont.get();
}

const core::TPropInfo TCustomForm::kProps[] = {
    core::EnumProp<&TCustomForm::FBorderStyle, &TCustomForm::SetBorderStyle>("BorderStyle", core::kFormBorderStyleInfo,
                                                                            TFormBorderStyle::bsSizeable),
    core::EnumProp<&TCustomForm::FPosition, &TCustomForm::SetPosition>("Position", core::kPositionInfo,
                                                                      TPosition::poDesigned),
    core::EnumProp<&TCustomForm::FFormStyle, &TCustomForm::SetFormStyle>("FormStyle", core::kFormStyleInfo,
                                                                        TFormStyle::fsNormal),
    core::BoolProp<&TCustomForm::FTransparentColor, &TCustomForm::SetTransparentColor>("TransparentColor", false),
    core::IntProp<&TCustomForm::FTransparentColorValue, &TCustomForm::SetTransparentColorValue>(
        "TransparentColorValue", core::clBlack, &core::kColorIdents),
    core::BoolProp<&TCustomForm::FKeyPreview, &TCustomForm::SetKeyPreview>("KeyPreview", false),
    core::IntProp<&TCustomForm::ClientWidth, &TCustomForm::SetClientWidth>("ClientWidth", core::kNoDefault),
    core::IntProp<&TCustomForm::ClientHeight, &TCustomForm::SetClientHeight>("ClientHeight", core::kNoDefault),
    core::ObjProp<&TCustomForm::Menu, &TCustomForm::SetMenu>("Menu"),
    core::ObjProp<&TCustomForm::WindowMenu, &TCustomForm::SetWindowMenu>("WindowMenu"),
    core::ObjProp<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>("ActiveControl"),
    core::EnumProp<&TCustomForm::WindowState, &TCustomForm::SetWindowState>("WindowState", core::kWindowStateInfo,
                                                                          TWindowState::wsNormal),
    core::EventProp<&TCustomForm::OnCreate>("OnCreate"),
    core::EventProp<&TCustomForm::OnShow>("OnShow"),
    core::EventProp<&TCustomForm::OnHide>("OnHide"),
    core::EventProp<&TCustomForm::OnClose>("OnClose"),
    core::EventProp<&TCustomForm::OnDestroy>("OnDestroy"),
    core::EventProp<&TCustomForm::OnActivate>("OnActivate"),
    core::EventProp<&TCustomForm::OnDeactivate>("OnDeactivate"),
};
const core::TClassInfo TCustomForm::kClass{"TCustomForm", &TScrollingWinControl::kClass, kProps, {}};

const core::TPropInfo TScrollingWinControl::kProps[] = {
    core::BoolProp<&TScrollingWinControl::FAutoScroll, &TScrollingWinControl::SetAutoScroll>("AutoScroll", true),
};
const core::TClassInfo TScrollingWinControl::kClass{"TScrollingWinControl", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TForm::kClass{"TForm", &TCustomForm::kClass, {}, {}, &core::CreateComponentOf<TForm>};

TCustomForm::TCustomForm(core::TComponent* owner) : TScrollingWinControl(owner) {
  FVisible = false;
  FWidth = 320;
  FHeight = 240;
  Screen().FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  OnDestroy(this);
  auto& forms = Screen().FForms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Screen().FActiveForm == this) Screen().FActiveForm = nullptr;
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  DestroyHandle();
}

void TCustomForm::DoCreate() { OnCreate(this); }

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  FFormStyle = style;
  if (WindowHandle())
    SetWindowPos(WindowHandle(), style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetTransparentColor(bool on) {
  FTransparentColor = on;
  ApplyLayered();
}

void TCustomForm::SetTransparentColorValue(TColor color) {
  FTransparentColorValue = color;
  ApplyLayered();
}

void TCustomForm::ApplyLayered() {
  HWND h = WindowHandle();
  if (!h) return;
  LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
  if (FTransparentColor) {
    SetWindowLongPtrW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(h, ColorToRGB(FTransparentColorValue), 255, LWA_COLORKEY);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(h, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

void TCustomForm::SetIcon(HICON icon) {
  FIcon = icon;
  if (WindowHandle()) {
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.Style = StyleOf(FBorderStyle) | WS_CLIPCHILDREN;
  params.ExStyle = ExStyleOf(FBorderStyle) | WS_EX_CONTROLPARENT;
  if (FFormStyle == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  params.WndParent = Application ? Application->Handle() : nullptr;
  if (IsMDIChild()) {
    // Made in the MDI client; the system frames and activates it.
    TCustomForm* parent = MDIParentForm();
    if (!parent) throw core::Exception("An MDI child needs an MDI form");
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    params.ExStyle = WS_EX_MDICHILD | WS_EX_CONTROLPARENT;
    params.WndParent = parent->ClientHandle();
    FVisible = true;
    return;
  }
  if (FParent) {
    // A form inside another window keeps its frame but is a child window there.
    params.Style = (params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
    if (FVisible) params.Style |= WS_VISIBLE;
    params.ExStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    params.WndParent = FParent->Handle();
    return;
  }
  if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter) {
    params.X = (GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2;
    params.Y = (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2;
  } else if (FPosition == TPosition::poMainFormCenter || FPosition == TPosition::poOwnerFormCenter) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main != this) {
      params.X = main->Left() + (main->Width() - FWidth) / 2;
      params.Y = main->Top() + (main->Height() - FHeight) / 2;
    }
  }
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  if (FFormStyle == TFormStyle::fsMDIForm) CreateMDIClient();
  if (FMenu && !FParent && !IsMDIChild()) ::SetMenu(WindowHandle(), FMenu->Handle());
  ApplyLayered();
  HICON icon = FIcon ? FIcon : (Application ? Application->Icon() : nullptr);
  if (icon) {
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

RECT TCustomForm::ClientRect() const {
  if (WindowHandle()) return TWinControl::ClientRect();
  // Before the window exists: the outer size less the frame its styles give.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, StyleOf(FBorderStyle), FALSE, ExStyleOf(FBorderStyle));
  return RECT{0, 0, FWidth - (frame.right - frame.left), FHeight - (frame.bottom - frame.top)};
}

void TCustomForm::SetClientWidth(int width) {
  SetWidth(FWidth + width - ClientWidth());
}

void TCustomForm::SetClientHeight(int height) {
  SetHeight(FHeight + height - ClientHeight());
}

bool TCustomForm::Showing() const { return WindowHandle() && IsWindowVisible(WindowHandle()); }

void TCustomForm::SetVisible(bool visible) {
  if (visible) {
    HWND h = Handle();
    const bool first = !FShownOnce;
    FVisible = true;
    FShownOnce = true;
    if (first || !IsWindowVisible(h)) OnShow(this);
    if (IsMDIChild() || FParent) {
      ShowWindow(h, SW_SHOW);
    } else {
      static constexpr int kShow[] = {SW_SHOW, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
      ShowWindow(h, IsWindowVisible(h) ? SW_SHOW : kShow[static_cast<int>(FWindowState)]);
      SetForegroundWindow(h);
    }
    if (FActiveControl && FActiveControl->CanFocus()) FActiveControl->SetFocus();
  } else {
    if (!FVisible) return;
    FVisible = false;
    if (WindowHandle()) ShowWindow(WindowHandle(), SW_HIDE);
    OnHide(this);
  }
}

bool TCustomForm::Active() const { return WindowHandle() && GetActiveWindow() == WindowHandle(); }

int TCustomForm::ShowModal() {
  if (FVisible || FModal) throw core::Exception("Cannot make a visible window modal");
  if (!Application) throw core::Exception("No application object");
  HWND self = Handle();
  // Every other enabled, visible window of this thread waits until the form closes.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* list = reinterpret_cast<std::vector<HWND>*>(p);
        if (IsWindowVisible(w) && IsWindowEnabled(w)) list->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  disabled.erase(std::remove(disabled.begin(), disabled.end(), self), disabled.end());
  for (HWND w : disabled) EnableWindow(w, FALSE);
  FModal = true;
  FModalResult = mrNone;
  try {
    Show();
    while (FModalResult == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
      if (FModalResult != mrNone) {
        TCloseAction action = TCloseAction::caHide;
        OnClose(this, action);
        if (action == TCloseAction::caNone) FModalResult = mrNone;
      }
    }
  } catch (...) {
    for (HWND w : disabled) EnableWindow(w, TRUE);
    FModal = false;
    Hide();
    throw;
  }
  for (HWND w : disabled) EnableWindow(w, TRUE);
  FModal = false;
  Hide();
  return FModalResult;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  // Closing an MDI child closes it for good.
  TCloseAction action = IsMDIChild() ? TCloseAction::caFree : TCloseAction::caHide;
  OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize:
      if (WindowHandle()) ShowWindow(WindowHandle(), SW_MINIMIZE);
      break;
    case TCloseAction::caFree: Release(); break;
    case TCloseAction::caNone: break;
  }
}

void TCustomForm::Release() {
  if (WindowHandle()) PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::WndProc(TMessage& message) {
  if (HandleMenuMessage(message)) return;
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      message.Result = 0;
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      message.Result = BroadcastToControls(*this, message);
      return;
    case WM_SIZE:
      TScrollingWinControl::WndProc(message);
      if (FClientHandle) LayoutMDIClient();
      return;
    case WM_MDIACTIVATE:
      if (IsMDIChild()) MergeMenuWithFrame(reinterpret_cast<HWND>(message.LParam) == WindowHandle());
      break;
    case WM_SETFOCUS:
      if (FActiveControl && FActiveControl != this && FActiveControl->CanFocus() &&
          GetParentForm(FActiveControl) == this) {
        FActiveControl->SetFocus();
        return;
      }
      break;
    case CM_RELEASE:
      delete this;
      return;
    case WM_ACTIVATE:
      if (LOWORD(message.WParam) != WA_INACTIVE) {
        Screen().FActiveForm = this;
        OnActivate(this);
      } else {
        OnDeactivate(this);
      }
      break;
  }
  TScrollingWinControl::WndProc(message);
}

void TCustomForm::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  // A form moving in or out of another window changes its window's kind.
  const bool recreate = WindowHandle() != nullptr;
  if (recreate) DestroyHandle();
  TScrollingWinControl::SetParent(parent);
  if (recreate && (FVisible || parent)) Handle();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) {
    FMenu->RemoveFreeNotification(*this);
    if (FMenu->WindowOwner() == this) FMenu->SetWindowOwner(nullptr);
  }
  FMenu = menu;
  if (FMenu) {
    FMenu->FreeNotification(*this);
    FMenu->SetWindowOwner(this);
  }
  if (WindowHandle() && !FParent && !IsMDIChild()) {
    ::SetMenu(WindowHandle(), FMenu ? FMenu->Handle() : nullptr);
    Perform(CM_MENUCHANGED, 1, 0);
  }
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == FWindowMenu) return;
  if (FWindowMenu) FWindowMenu->RemoveFreeNotification(*this);
  FWindowMenu = item;
  if (FWindowMenu) FWindowMenu->FreeNotification(*this);
  if (FClientHandle && FMenu)
    SendMessageW(FClientHandle, WM_MDISETMENU, reinterpret_cast<WPARAM>(FMenu->Handle()),
                 reinterpret_cast<LPARAM>(FWindowMenu ? FWindowMenu->Handle() : nullptr));
}

TWinControl* TCustomForm::ActiveControl() const {
  if (TWinControl* focused = TWinControl::FromHandle(GetFocus()); focused && focused != this)
    if (GetParentForm(focused) == this) return focused;
  return FActiveControl;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  if (FActiveControl) FActiveControl->RemoveFreeNotification(*this);
  FActiveControl = control;
  if (FActiveControl) FActiveControl->FreeNotification(*this);
  if (FActiveControl && !IsLoading() && Showing() && FActiveControl->CanFocus()) FActiveControl->SetFocus();
}

void TCustomForm::Notification(core::TComponent& component, core::TOperation operation) {
  TScrollingWinControl::Notification(component, operation);
  if (operation != core::TOperation::opRemove) return;
  if (&component == FMenu) {
    FMenu = nullptr;
    if (WindowHandle() && !FParent && !IsMDIChild()) ::SetMenu(WindowHandle(), nullptr);
  }
  if (&component == FWindowMenu) FWindowMenu = nullptr;
  if (&component == FActiveControl) FActiveControl = nullptr;
}

bool TCustomForm::IsShortCut(WORD shortCut) {
  if (FMenu && FMenu->IsShortCut(shortCut)) return true;
  for (std::int32_t i = 0; i < ComponentCount(); ++i)
    if (auto* popup = dynamic_cast<TPopupMenu*>(Components(i)); popup && popup->IsShortCut(shortCut)) return true;
  return false;
}

LRESULT TCustomForm::BroadcastToControls(TWinControl& parent, TMessage& message) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    if (const LRESULT r = control->Perform(message.Msg, message.WParam, message.LParam)) return r;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && !dynamic_cast<TCustomForm*>(windowed))
      if (const LRESULT r = BroadcastToControls(*windowed, message)) return r;
  }
  return 0;
}

bool TCustomForm::HandleMenuMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_COMMAND:
      // A menu's or an accelerator's command, not a control's notification.
      if (message.LParam == 0 && HIWORD(message.WParam) <= 1) {
        const UINT command = LOWORD(message.WParam);
        if (FMenu && FMenu->DispatchCommand(command)) return true;
        for (std::int32_t i = 0; i < ComponentCount(); ++i)
          if (auto* popup = dynamic_cast<TPopupMenu*>(Components(i)); popup && popup->DispatchCommand(command))
            return true;
      }
      return false;
    case WM_INITMENUPOPUP:
      // A submenu opens: its item hears OnClick first, as the item of a menu bar does.
      if (FMenu && HIWORD(message.LParam) == 0)
        if (TMenuItem* item = FMenu->FindItem(message.WParam, TFindItemKind::fkHandle))
          if (item != FMenu->Items()) item->OnClick(item);
      return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (HandleMenuOwnerDraw(message.Msg, message.LParam)) {
        message.Result = TRUE;
        return true;
      }
      return false;
  }
  return false;
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) throw core::EListError("Form index out of bounds");
  // Windows in z-order, depth first: each top-level window, then what lies inside it.
  // Only this thread's windows are entered.
  std::vector<HWND> order;
  const DWORD thread = GetCurrentThreadId();
  std::function<void(HWND)> walk = [&](HWND w) {
    for (; w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (GetWindowThreadProcessId(w, nullptr) != thread) continue;
      order.push_back(w);
      if (HWND child = GetWindow(w, GW_CHILD)) walk(child);
    }
  };
  walk(GetTopWindow(nullptr));
  std::vector<TCustomForm*> sorted = FForms;
  auto rank = [&](const TCustomForm* f) -> size_t {
    if (!f->WindowHandle()) return order.size();
    const auto it = std::find(order.begin(), order.end(), f->WindowHandle());
    return static_cast<size_t>(it - order.begin());
  };
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&](const TCustomForm* a, const TCustomForm* b) { return rank(a) < rank(b); });
  return sorted[static_cast<size_t>(index)];
}

}  // namespace bw::win
