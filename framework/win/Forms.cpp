#include "framework/win/Forms.h"

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"
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
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
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
  TCloseAction action = TCloseAction::caHide;
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
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      message.Result = 0;
      return;
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

}  // namespace bw::win
