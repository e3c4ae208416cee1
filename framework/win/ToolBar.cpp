#include "framework/win/ToolBar.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win/ComCtrls.h"
#include "framework/win/ImageList.h"
#include "framework/win/Menus.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {
bool IsSeparator(TToolButtonStyle style) {
  return style == TToolButtonStyle::tbsSeparator || style == TToolButtonStyle::tbsDivider;
}
constexpr int kSeparatorWidthPx = 8;
}  // namespace

// ---- TToolButton

const core::TPropInfo TToolButton::kProps[] = {
    core::EnumProp<&TToolButton::FStyle, &TToolButton::SetStyle>("Style", core::kToolButtonStyleInfo,
                                                                 TToolButtonStyle::tbsButton),
    core::IntProp<&TToolButton::FImageIndex, &TToolButton::SetImageIndex>("ImageIndex", -1),
    core::BoolProp<&TToolButton::Down, &TToolButton::SetDown>("Down", false),
    core::ObjProp<&TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu>("DropdownMenu"),
};
const core::TClassInfo TToolButton::kClass{"TToolButton", &TGraphicControl::kClass, kProps, {},
                                           &core::CreateComponentOf<TToolButton>};

TToolButton::TToolButton(core::TComponent* owner) : TGraphicControl(owner) {
  FWidth = 23;
  FHeight = 22;
}

TToolButton::~TToolButton() {
  Destroying();
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(*this);
  if (TToolBar* bar = ToolBar(); bar && !bar->IsDestroying()) {
    bar->RemoveControl(*this);
    bar->RebuildButtons();
  }
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(FParent); }

void TToolButton::Changed() {
  if (TToolBar* bar = ToolBar()) bar->UpdateButton(*this);
}

void TToolButton::SetStyle(TToolButtonStyle style) {
  FStyle = style;
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::SetImageIndex(int index) {
  FImageIndex = index;
  Changed();
}

bool TToolButton::Down() const {
  const TToolBar* bar = ToolBar();
  if (!bar || !bar->WindowHandle() || FStyle != TToolButtonStyle::tbsCheck) return FDown;
  return SendMessageW(bar->WindowHandle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(FCommandId), 0) != 0;
}

void TToolButton::SetDown(bool down) {
  FDown = down;
  Changed();
}

void TToolButton::SetEnabled(bool enabled) {
  TGraphicControl::SetEnabled(enabled);
  Changed();
}

void TToolButton::SetVisible(bool visible) {
  TGraphicControl::SetVisible(visible);
  Changed();
}

void TToolButton::TextChanged() {
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();  // a caption may change the button size
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(*this);
  FDropdownMenu = menu;
  if (FDropdownMenu) FDropdownMenu->FreeNotification(*this);
}

void TToolButton::Notification(core::TComponent& component, core::TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = ToolBar();
  TGraphicControl::SetParent(parent);
  if (old && old != ToolBar()) old->RebuildButtons();
  if (TToolBar* bar = ToolBar(); bar && bar != old) {
    FCommandId = bar->FNextCommandId++;
    bar->RebuildButtons();
  }
}

// ---- TToolBar

const core::TPropInfo TToolBar::kProps[] = {
    core::BoolProp<&TToolBar::FFlat, &TToolBar::SetFlat>("Flat", true),
    core::ObjProp<&TToolBar::Images, &TToolBar::SetImages>("Images"),
    core::BoolProp<&TToolBar::FShowCaptions, &TToolBar::SetShowCaptions>("ShowCaptions", false),
    core::BoolProp<&TToolBar::FAutoSize, &TToolBar::SetAutoSize>("AutoSize", true),
    core::EventProp<&TToolBar::OnCustomDraw>("OnCustomDraw"),
    core::EventProp<&TToolBar::OnCustomDrawButton>("OnCustomDrawButton"),
};
const core::TClassInfo TToolBar::kClass{"TToolBar", &TWinControl::kClass, kProps, {},
                                        &core::CreateComponentOf<TToolBar>};

TToolBar::TToolBar(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 29;
  FAlign = core::TAlign::alTop;
}

TToolBar::~TToolBar() {
  Destroying();
  FCanvas.SetHandle(nullptr);
}

void TToolBar::SetFlat(bool flat) {
  FFlat = flat;
  if (HWND h = WindowHandle()) {
    // The style changes in place (the bar follows WM_STYLECHANGED): code that took the
    // window over keeps it.
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    style = flat ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
    SetWindowLongPtrW(h, GWL_STYLE, style);
    InvalidateRect(h, nullptr, TRUE);
  }
}

void TToolBar::SetImages(TImageList* images) {
  if (FImages) FImages->RemoveFreeNotification(*this);
  FImages = images;
  if (FImages) FImages->FreeNotification(*this);
  if (HWND h = WindowHandle()) {
    SendMessageW(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    RebuildButtons();
  }
}

void TToolBar::Notification(core::TComponent& component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FImages) SetImages(nullptr);
}

void TToolBar::SetShowCaptions(bool show) {
  if (show == FShowCaptions) return;
  FShowCaptions = show;
  RecreateWnd();  // the window sizes its buttons for text once
}

void TToolBar::SetAutoSize(bool on) {
  FAutoSize = on;
  RebuildButtons();
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(int index) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && index-- == 0) return b;
  return nullptr;
}

TToolButton* TToolBar::FindButton(int commandId) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && b->FCommandId == commandId) return b;
  return nullptr;
}

void TToolBar::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = TOOLBARCLASSNAMEW;
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | WS_CLIPCHILDREN;
  if (FFlat) params.Style |= TBSTYLE_FLAT;
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = WindowHandle();
  SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(h, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  if (FImages) SendMessageW(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  RebuildButtons();
}

void TToolBar::UpdateButton(TToolButton& button) {
  HWND h = WindowHandle();
  if (!h || FRebuilding) return;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STATE | TBIF_IMAGE;
  info.iImage = FImages && button.FImageIndex >= 0 ? button.FImageIndex : I_IMAGENONE;
  if (IsSeparator(button.FStyle)) info.dwMask &= ~static_cast<DWORD>(TBIF_IMAGE);
  info.fsState = static_cast<BYTE>((button.Enabled() ? TBSTATE_ENABLED : 0) | (button.Visible() ? 0 : TBSTATE_HIDDEN));
  if (button.FDown)
    info.fsState |= button.FStyle == TToolButtonStyle::tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
  SendMessageW(h, TB_SETBUTTONINFOW, static_cast<WPARAM>(button.FCommandId), reinterpret_cast<LPARAM>(&info));
  SyncButtonBounds();
}

void TToolBar::RebuildButtons() {
  HWND h = WindowHandle();
  if (!h || FRebuilding || IsDestroying()) return;
  FRebuilding = true;
  while (SendMessageW(h, TB_BUTTONCOUNT, 0, 0) > 0)
    if (!SendMessageW(h, TB_DELETEBUTTON, 0, 0)) break;
  const int count = ButtonCount();
  std::vector<std::wstring> texts(static_cast<size_t>(count));  // sized once: the pointers stay put
  std::vector<TBBUTTON> buttons;
  for (int i = 0; i < count; ++i) {
    TToolButton& b = *Buttons(i);
    TBBUTTON t{};
    t.idCommand = b.FCommandId;
    t.fsState = static_cast<BYTE>((b.Enabled() ? TBSTATE_ENABLED : 0) | (b.Visible() ? 0 : TBSTATE_HIDDEN));
    if (b.FDown) t.fsState |= b.FStyle == TToolButtonStyle::tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
    t.iString = -1;
    switch (b.FStyle) {
      case TToolButtonStyle::tbsButton: t.fsStyle = BTNS_BUTTON; break;
      case TToolButtonStyle::tbsCheck: t.fsStyle = BTNS_CHECK; break;
      case TToolButtonStyle::tbsDropDown: t.fsStyle = BTNS_DROPDOWN; break;
      case TToolButtonStyle::tbsSeparator:
      case TToolButtonStyle::tbsDivider: t.fsStyle = BTNS_SEP; break;
    }
    if (IsSeparator(b.FStyle)) {
      t.iBitmap = kSeparatorWidthPx;
    } else {
      t.iBitmap = FImages && b.FImageIndex >= 0 ? b.FImageIndex : I_IMAGENONE;
      if (FShowCaptions && !b.Caption().empty()) {
        texts[static_cast<size_t>(i)] = Widen(b.Caption());
        t.iString = reinterpret_cast<INT_PTR>(texts[static_cast<size_t>(i)].c_str());
      }
    }
    buttons.push_back(t);
  }
  if (!buttons.empty())
    SendMessageW(h, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageW(h, TB_AUTOSIZE, 0, 0);
  FRebuilding = false;
  SyncButtonBounds();
  InvalidateRect(h, nullptr, TRUE);
}

void TToolBar::SyncButtonBounds() {
  HWND h = WindowHandle();
  if (!h || FRebuilding) return;
  int bottom = 0;
  for (int i = 0, n = ButtonCount(); i < n; ++i) {
    TToolButton& b = *Buttons(i);
    const int index = static_cast<int>(SendMessageW(h, TB_COMMANDTOINDEX, static_cast<WPARAM>(b.FCommandId), 0));
    RECT r{};
    if (index < 0 || !SendMessageW(h, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
      continue;
    b.FLeft = r.left;
    b.FTop = r.top;
    b.FWidth = r.right - r.left;
    b.FHeight = r.bottom - r.top;
    if (b.Visible()) bottom = std::max<int>(bottom, r.bottom);
  }
  if (FAutoSize && bottom > 0 && bottom + 2 != FHeight) SetHeight(bottom + 2);
}

void TToolBar::CustomDraw(TMessage& message) {
  auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(message.LParam);
  message.Result = CDRF_DODEFAULT;
  auto onCanvas = [&](auto&& draw) {
    FCanvas.Font().Assign(*FFont);
    FCanvas.SetHandle(cd->nmcd.hdc);
    try {
      draw();
    } catch (...) {
      FCanvas.SetHandle(nullptr);
      throw;
    }
    FCanvas.SetHandle(nullptr);
  };
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
      bool defaultDraw = true;
      if (OnCustomDraw) {
        RECT client;
        GetClientRect(WindowHandle(), &client);
        onCanvas([&] { OnCustomDraw(this, client, defaultDraw); });
      }
      if (!defaultDraw) message.Result = CDRF_SKIPDEFAULT;
      else if (OnCustomDrawButton) message.Result = CDRF_NOTIFYITEMDRAW;
      return;
    }
    case CDDS_ITEMPREPAINT: {
      TToolButton* button = FindButton(static_cast<int>(cd->nmcd.dwItemSpec));
      if (!button || !OnCustomDrawButton) return;
      // CDIS_SELECTED ... CDIS_INDETERMINATE are bits 0 to 8, in the order of TCustomDrawStateFlag.
      const auto state = TCustomDrawState::FromBits(cd->nmcd.uItemState & 0x1FFu);
      bool defaultDraw = true;
      onCanvas([&] { OnCustomDrawButton(this, button, state, defaultDraw); });
      if (!defaultDraw) message.Result = CDRF_SKIPDEFAULT;
      return;
    }
  }
}

void TToolBar::DropDown(TToolButton& button) {
  TPopupMenu* menu = button.FDropdownMenu;
  if (!menu) return;
  RECT r{};
  if (!SendMessageW(WindowHandle(), TB_GETRECT, static_cast<WPARAM>(button.FCommandId), reinterpret_cast<LPARAM>(&r)))
    return;
  const POINT below = ClientToScreen(POINT{r.left, r.bottom});
  menu->SetPopupComponent(&button);
  SendMessageW(WindowHandle(), TB_PRESSBUTTON, static_cast<WPARAM>(button.FCommandId), TRUE);
  menu->Popup(below.x, below.y);
  if (WindowHandle())
    SendMessageW(WindowHandle(), TB_PRESSBUTTON, static_cast<WPARAM>(button.FCommandId), button.FDown ? TRUE : FALSE);
}

void TToolBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      DefaultHandler(message);  // the system draws the buttons, not the framework's children
      return;
    case WM_SIZE:
      TWinControl::WndProc(message);
      SyncButtonBounds();
      return;
    case CN_COMMAND:
      if (TToolButton* b = FindButton(LOWORD(message.WParam))) {
        if (b->FStyle == TToolButtonStyle::tbsCheck) b->FDown = b->Down();
        // A plain button with a menu and no click handler shows the menu.
        if (b->FStyle == TToolButtonStyle::tbsButton && b->FDropdownMenu && !b->OnClick) DropDown(*b);
        else b->Click();
      }
      return;
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
      if (header->code == NM_CUSTOMDRAW) return CustomDraw(message);
      message.Result = 0;
      if (header->code == static_cast<UINT>(TBN_DROPDOWN)) {
        const auto* nm = reinterpret_cast<const NMTOOLBARW*>(message.LParam);
        if (TToolButton* b = FindButton(nm->iItem)) DropDown(*b);
        message.Result = TBDDRET_DEFAULT;
      }
      return;
    }
  }
  // Mouse messages go to the system window, not to the windowless buttons.
  if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MBUTTONDBLCLK && message.Msg != WM_MOUSEWHEEL) {
    TControl::WndProc(message);
    return;
  }
  TWinControl::WndProc(message);
}

}  // namespace bw::win
