// Forms: MDI frames and children, window state.
#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"

namespace bw::win {

namespace {
// MDI children get ids from here on in the window menu, far above menu command ids.
constexpr UINT kFirstMDIChildId = 0xFF00;
}  // namespace

TCustomForm* TCustomForm::MDIParentForm() {
  if (Application)
    if (auto* main = Application->MainForm(); main && main->FFormStyle == TFormStyle::fsMDIForm) {
      main->HandleNeeded();
      return main;
    }
  for (TCustomForm* form : Screen().FForms)
    if (form->FFormStyle == TFormStyle::fsMDIForm) {
      form->HandleNeeded();
      return form;
    }
  return nullptr;
}

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT client{};
  client.hWindowMenu = FWindowMenu ? FWindowMenu->Handle() : nullptr;
  client.idFirstChild = kFirstMDIChildId;
  RECT r;
  GetClientRect(WindowHandle(), &r);
  FClientHandle = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                  0, 0, r.right, r.bottom, WindowHandle(), nullptr, GetModuleHandleW(nullptr),
                                  &client);
  if (!FClientHandle)
    throw core::Exception("Cannot create the MDI client (error " + std::to_string(GetLastError()) + ")");
  // Under the form's controls, so tool and status bars stay visible.
  SetWindowPos(FClientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  LayoutMDIClient();
}

void TCustomForm::LayoutMDIClient() {
  if (!FClientHandle) return;
  RECT area;
  GetClientRect(WindowHandle(), &area);
  const RECT full = area;
  for (int i = 0; i < ControlCount(); ++i) {
    auto* control = dynamic_cast<TWinControl*>(Controls(i));
    if (!control || !control->Visible() || !control->WindowHandle()) continue;
    const RECT b = control->BoundsRect();
    const bool spansWidth = b.left <= full.left && b.right >= full.right;
    const bool spansHeight = b.top <= full.top && b.bottom >= full.bottom;
    if (spansWidth && b.top <= area.top && b.bottom > area.top) area.top = b.bottom;
    else if (spansWidth && b.bottom >= area.bottom && b.top < area.bottom) area.bottom = b.top;
    else if (spansHeight && b.left <= area.left && b.right > area.left) area.left = b.right;
    else if (spansHeight && b.right >= area.right && b.left < area.right) area.right = b.left;
  }
  MoveWindow(FClientHandle, area.left, area.top, std::max(0L, area.right - area.left),
             std::max(0L, area.bottom - area.top), TRUE);
}

void TCustomForm::DefaultHandler(TMessage& message) {
  HWND h = WindowHandle();
  if (h && message.Msg < CM_BASE) {
    if (FClientHandle && message.Msg != WM_SIZE) {  // the form lays its client out itself
      message.Result = DefFrameProcW(h, FClientHandle, message.Msg, message.WParam, message.LParam);
      return;
    }
    if (IsMDIChild() && (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
      message.Result = DefMDIChildProcW(h, message.Msg, message.WParam, message.LParam);
      return;
    }
  }
  TScrollingWinControl::DefaultHandler(message);
}

void TCustomForm::MergeMenuWithFrame(bool active) {
  TCustomForm* frame = MDIParentForm();
  if (!frame || !frame->Menu() || !FMenu || frame == this) return;
  if (active) frame->Menu()->Merge(FMenu);
  else frame->Menu()->Unmerge(FMenu);
  // The MDI client is told, so the window menu keeps its list of children (and skins see it).
  if (frame->ClientHandle())
    SendMessageW(frame->ClientHandle(), WM_MDISETMENU, reinterpret_cast<WPARAM>(frame->Menu()->Handle()),
                 reinterpret_cast<LPARAM>(frame->WindowMenu() ? frame->WindowMenu()->Handle() : nullptr));
}

void TCustomForm::DestroyWnd() {
  HWND h = WindowHandle();
  if (h && IsMDIChild()) {
    MergeMenuWithFrame(false);
    // The MDI client forgets the child (its window menu entry, the active child) itself.
    if (HWND client = GetParent(h)) {
      SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
      if (!IsWindow(h)) return;
    }
  }
  TScrollingWinControl::DestroyWnd();
  FClientHandle = nullptr;
}

int TCustomForm::MDIChildCount() const {
  int count = 0;
  for (const TCustomForm* form : Screen().FForms)
    if (form->IsMDIChild() && form->WindowHandle() && GetParent(form->WindowHandle()) == FClientHandle &&
        FClientHandle)
      ++count;
  return count;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (!FClientHandle) return nullptr;
  // In the client's z-order: the active child first.
  int seen = 0;
  for (HWND w = GetWindow(FClientHandle, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(w));
    if (!form || !form->IsMDIChild()) continue;
    if (seen++ == index) return form;
  }
  return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!FClientHandle) return nullptr;
  HWND active = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(TWinControl::FromHandle(active));
}

void TCustomForm::Tile() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 1);
}

TWindowState TCustomForm::WindowState() const {
  HWND h = WindowHandle();
  if (!h || !IsWindowVisible(h)) return FWindowState;
  if (IsIconic(h)) return TWindowState::wsMinimized;
  if (IsZoomed(h)) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void TCustomForm::SetWindowState(TWindowState state) {
  FWindowState = state;
  HWND h = WindowHandle();
  if (!h || !IsWindowVisible(h)) return;
  if (IsMDIChild()) {
    HWND client = GetParent(h);
    switch (state) {
      case TWindowState::wsMaximized: SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(h), 0); break;
      case TWindowState::wsNormal: SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(h), 0); break;
      case TWindowState::wsMinimized: ShowWindow(h, SW_MINIMIZE); break;
    }
    return;
  }
  static constexpr int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
  ShowWindow(h, kShow[static_cast<int>(state)]);
}

}  // namespace bw::win
