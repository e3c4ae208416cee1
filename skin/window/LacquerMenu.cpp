// The skinned menu bar: its buttons, the band's painting, dropping a submenu and sliding
// from one top-level item to the next while a drop-down is open, accelerators.
#include "skin/window/LacquerMenu.h"

#include <algorithm>
#include <set>

#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

namespace {

// The one drop-down loop of the process.
struct TDropLoop {
  HHOOK Hook = nullptr;
  TLacquerForm* Form = nullptr;
  int Index = -1;
  win::TMenuItem* Item = nullptr;
  HMENU SelectedParent = nullptr;   // the menu holding the selected entry
  HMENU SelectedSubmenu = nullptr;  // the selected entry's own submenu
  bool Switching = false;
  bool Started = false;
  POINT MousePos{0, 0};
  TMenuBtn* Target = nullptr;  // the button to drop once the current loop has ended
};
TDropLoop gDrop;

// Separators hidden by tidying, so only those are shown again.
std::set<win::TMenuItem*>& TidiedSeparators() {
  static std::set<win::TMenuItem*> items;
  return items;
}

void TidySeparators(win::TMenuItem& parent) {
  auto& tidied = TidiedSeparators();
  bool seenItem = false;
  const int count = parent.Count();
  for (int i = 0; i < count; ++i) {
    win::TMenuItem* item = parent.Items(i);
    if (!item->IsLine()) {
      if (item->Visible()) seenItem = true;
      continue;
    }
    if (!item->Visible() && !tidied.count(item)) continue;  // the application's own choice
    // Visible when an item stands before it and the next visible entry is an item.
    bool itemFollows = false;
    for (int j = i + 1; j < count; ++j) {
      win::TMenuItem* next = parent.Items(j);
      if (next->IsLine()) {
        if (next->Visible() || tidied.count(next)) break;
        continue;
      }
      if (next->Visible()) {
        itemFollows = true;
        break;
      }
    }
    const bool show = seenItem && itemFollows;
    if (show) tidied.erase(item);
    else tidied.insert(item);
    item->SetVisible(show);
  }
}

// Every entry of the tree is drawn by the frames; what was not already drawn by its owner
// is noted, to be given back when the skin goes.
void MakeOwnerDrawn(HMENU menu, std::vector<std::pair<HMENU, UINT>>& made) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      info.fMask = MIIM_FTYPE;
      info.fType |= MFT_OWNERDRAW;
      if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) made.emplace_back(menu, static_cast<UINT>(i));
    }
    if (info.hSubMenu) MakeOwnerDrawn(info.hSubMenu, made);
  }
}

}  // namespace

void TLacquerForm::RestoreOwnerDrawn() {
  for (const auto& [menu, position] : FOwnerDrawnItems) {
    if (!IsMenu(menu)) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
    info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(menu, position, TRUE, &info);
  }
  FOwnerDrawnItems.clear();
}

namespace {

HWND OpenMenuWindow() {
  HWND found = nullptr;
  for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
    if (IsWindowVisible(w)) found = w;
  return found;
}

LRESULT CALLBACK DropFilter(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == MSGF_MENU && msg && gDrop.Form && gDrop.Form->FRightToLeft &&
      (msg->message == WM_KEYDOWN) && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
    msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
  const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
  if (next != 0 || code != MSGF_MENU || !msg || !gDrop.Form) return next;
  TLacquerForm& frame = *gDrop.Form;
  TLacquerMenu* bar = frame.FMenuBar.get();
  if (!bar || bar->FMenuButtons.empty()) return 0;
  if (!gDrop.Started) {
    gDrop.Started = true;
    if (HWND menu = OpenMenuWindow()) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  }
  const int count = static_cast<int>(bar->FMenuButtons.size());
  TMenuBtn* target = nullptr;
  switch (msg->message) {
    case WM_KEYDOWN:
      if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) gDrop.Switching = false;
      if (msg->wParam == VK_RIGHT && !gDrop.SelectedSubmenu)
        target = bar->FMenuButtons[static_cast<size_t>((gDrop.Index + 1) % count)].get();
      if (msg->wParam == VK_LEFT && (!gDrop.SelectedParent || gDrop.SelectedParent == frame.FOpenSubmenu))
        target = bar->FMenuButtons[static_cast<size_t>((gDrop.Index + count - 1) % count)].get();
      break;
    case WM_SYSKEYDOWN:
      if (msg->wParam == VK_MENU) {
        frame.CancelMenu();
        return 0;
      }
      break;
    case WM_MOUSEMOVE: {
      POINT screen;
      GetCursorPos(&screen);
      if (screen.x != gDrop.MousePos.x || screen.y != gDrop.MousePos.y) {
        gDrop.MousePos = screen;
        target = bar->FindBtn(frame.GetWinXY(screen));
      }
      break;
    }
  }
  if (target && target->FIndex != gDrop.Index) {
    gDrop.Switching = true;
    frame.ClickButton(*target);
  }
  return 0;
}

}  // namespace

void EndDropLoop() {
  if (gDrop.Hook) UnhookWindowsHookEx(gDrop.Hook);
  gDrop.Hook = nullptr;
  gDrop.Item = nullptr;
  gDrop.SelectedParent = gDrop.SelectedSubmenu = nullptr;
  gDrop.Index = -1;
  gDrop.Started = false;
}

bool DropLoopRunning() { return gDrop.Hook != nullptr; }

bool Dropping(const TLacquerForm& frame) { return gDrop.Form == &frame; }

void NoteMenuSelect(TLacquerForm& frame, WPARAM wParam, LPARAM lParam) {
  if (gDrop.Form != &frame || !gDrop.Hook) return;
  const UINT flags = HIWORD(wParam);
  auto* menu = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && !menu) {
    if (!gDrop.Switching) frame.CancelMenu();
    return;
  }
  gDrop.Switching = false;
  gDrop.SelectedParent = menu;
  gDrop.SelectedSubmenu = (flags & MF_POPUP) ? GetSubMenu(menu, LOWORD(wParam)) : nullptr;
  win::TMainMenu* bar = frame.FMenuBar ? frame.FMenuBar->FMenu : nullptr;
  if (!bar) return;
  gDrop.Item = gDrop.SelectedSubmenu
                   ? bar->FindItem(reinterpret_cast<UINT_PTR>(gDrop.SelectedSubmenu), win::TFindItemKind::fkHandle)
                   : bar->FindItem(LOWORD(wParam), win::TFindItemKind::fkCommand);
}

// ---- TLacquerMenu

const core::TClassInfo TLacquerMenu::kClass{"TLacquerMenu", &core::TComponent::kClass, {}, {}};

TLacquerMenu::TLacquerMenu(TLacquerForm& frame, TSkinData& data)
    : core::TComponent(nullptr), FSkinData(&data), FForm(&frame) {
  FBackground.SetPixelFormat(win::TPixelFormat::pf24bit);
}

TLacquerMenu::~TLacquerMenu() {
  Destroying();
  if (FMenu) FMenu->RemoveFreeNotification(*this);
  if (gDrop.Form == FForm) {
    if (gDrop.Hook) EndMenu();
    gDrop.Form = nullptr;
  }
}

void TLacquerMenu::Notification(core::TComponent& component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FMenu) {
    FMenu = nullptr;
    for (auto& button : FMenuButtons) button->FItem = nullptr;
  }
}

void TLacquerMenu::UpdataBtn() {
  if (HMENU menu = GetMenu(FForm->FHandle)) FHMenu = menu;
  if (!FHMenu) return;
  if (FForm->FForm) {
    win::TMainMenu* menu = FForm->FForm->Menu();
    if (menu != FMenu) {
      if (FMenu) FMenu->RemoveFreeNotification(*this);
      FMenu = menu;
      if (FMenu) FMenu->FreeNotification(*this);
    }
    if (!FMenu) return;
    FHMenu = FMenu->Handle();
  }
  FMenuButtons.clear();
  if (FForm->FHot && dynamic_cast<TMenuBtn*>(FForm->FHot)) FForm->FHot = nullptr;
  BuildButtons(FHMenu, false);
  if (GetMenu(FForm->FHandle)) ::SetMenu(FForm->FHandle, nullptr);
}

void TLacquerMenu::UpdataBtn2(HMENU menu) {
  FHMenu = menu;
  FMenuButtons.clear();
  if (FForm->FHot && dynamic_cast<TMenuBtn*>(FForm->FHot)) FForm->FHot = nullptr;
  BuildButtons(menu, true);
  if (GetMenu(FForm->FHandle)) ::SetMenu(FForm->FHandle, nullptr);
}

void TLacquerMenu::BuildButtons(HMENU menu, bool onlyEmptyTexts) {
  const int count = GetMenuItemCount(menu);
  FItemCount = std::max(count, 0);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 80;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    auto button = std::make_unique<TMenuBtn>(*FForm);
    button->FSkinData = FSkinData;
    button->FVisible = true;
    button->FEnabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    button->FCommand = static_cast<std::int32_t>(info.wID);
    button->FSubMenu = info.hSubMenu;
    button->FCaption = text;
    button->FIndex = i;
    if (FMenu && (!onlyEmptyTexts || button->FCaption.empty()))
      if (win::TMenuItem* item = FMenu->FindItem(info.wID, win::TFindItemKind::fkCommand)) {
        button->FCaption = win::Widen(item->Caption());
        button->FEnabled = item->Enabled();
        button->FItem = item;
        button->FSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
      }
    FMenuButtons.push_back(std::move(button));
  }
}

namespace {
SIZE CaptionSize(HDC dc, const std::wstring& caption) {
  RECT r{0, 0, 0, 0};
  if (caption.empty()) return SIZE{0, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawButtonCaption(HDC dc, const std::wstring& caption, const RECT& r) {
  RECT box = r;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
}  // namespace

void TLacquerMenu::DrawMenu(HDC dc, const RECT& band) {
  const int w = band.right - band.left, h = band.bottom - band.top;
  if (w <= 0 || h <= 0) return;
  TBitmap composed(w, h, win::TPixelFormat::pf24bit);
  win::TCanvas& canvas = composed.Canvas();
  HDC cdc = canvas.Handle();
  const RECT local{0, 0, w, h};
  int x = 6;
  TDataSkinObject* object = FSkinData->MenuBar.get();
  if (object && object->Bitmap.Width() > 0) {
    const int frame = FForm->FActive ? 1 : 2;
    if (object->Tile == 1) DrawRect2(cdc, local, object->Bitmap, object->Margins, frame, 2, false, false, true);
    else DrawRectTile(canvas, local, object->Bitmap, object->Margins, frame, 2, false, true);
    cdc = canvas.Handle();
    x = FForm->FRightToLeft ? object->Margins.right + 8 : object->Margins.left + 4;
    if (w < x) x = 12;
  } else {
    canvas.Brush().SetColor(FSkinData->Colors[TShemeColor::csMenuBar]);
    canvas.FillRect(local);
    cdc = canvas.Handle();
  }
  FBandRect = band;
  FBackground.SetSize(w, h);
  BitBlt(FBackground.Canvas().Handle(), 0, 0, w, h, cdc, 0, 0, SRCCOPY);
  {
    win::TSaveDCGuard saved(cdc);
    win::TSelectGuard font(cdc, win::Screen().MenuFont()->Handle());
    SetBkMode(cdc, TRANSPARENT);
    for (auto& button : FMenuButtons) {
      if (!button->FVisible) {
        button->FRect = RECT{0, 0, 0, 0};
        continue;
      }
      const int bw = button->FCaption.empty() ? 0 : CaptionSize(cdc, button->FCaption).cx + 10;
      SetTextColor(cdc, win::ColorToRGB(FSkinData->Colors[button->FEnabled ? TShemeColor::csMenuBarText
                                                                           : TShemeColor::csButtonShadow]));
      const int left = FForm->FRightToLeft ? w - x - bw : x;
      DrawButtonCaption(cdc, button->FCaption, RECT{left, 0, left + bw, h - 1});
      button->FRect = RECT{band.left + left, band.top, band.left + left + bw, band.bottom - 1};
      x += bw;
    }
  }
  // A maximised MDI child shows its buttons in the parent's band.
  if (FForm->FMDIClientWnd) {
    auto active = reinterpret_cast<HWND>(SendMessageW(FForm->FMDIClientWnd, WM_MDIGETACTIVE, 0, 0));
    if (active && IsZoomed(active)) {
      for (const auto& button : FForm->FButtons) {
        TDataSkinSysButton& s = *button->FSkinButton;
        if (s.Visibility != kVisibilityMDI || s.Bitmap.Width() == 0) continue;
        RECT r = button->FRect;
        OffsetRect(&r, -FForm->FLeftWidth, -FForm->FTopHeight);
        DrawRect1(cdc, r, s.Bitmap, 1, std::max(s.Frame, 1), true);
      }
      if (SkinManager && !SkinManager->FMDIMax) SkinManager->SetMDIMax(true);
    }
  }
  BitBlt(dc, band.left, band.top, w, h, cdc, 0, 0, SRCCOPY);
}

TMenuBtn* TLacquerMenu::FindBtn(POINT p) const {
  for (const auto& button : FMenuButtons)
    if (!button->FCaption.empty() && PtInRect(&button->FRect, p)) return button.get();
  return nullptr;
}

void TLacquerMenu::DrawButton(TMenuBtn& button, HDC dc) {
  const RECT& r = button.FRect;
  if (r.right <= r.left || FBackground.Width() == 0) return;
  const int sx = r.left - FBandRect.left;
  BitBlt(dc, r.left, r.top, r.right - r.left, FBandRect.bottom - FBandRect.top, FBackground.Canvas().Handle(), sx, 0,
         SRCCOPY);
  if (button.FStatus == kNCHot || button.FStatus == kNCPressed) {
    win::TBrushHandle outline(CreateSolidBrush(win::ColorToRGB(FSkinData->Colors[TShemeColor::csButtonHilight])));
    FrameRect(dc, &r, outline.Get());
  }
  win::TSaveDCGuard saved(dc);
  win::TSelectGuard font(dc, win::Screen().MenuFont()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, win::ColorToRGB(FSkinData->Colors[button.FEnabled ? TShemeColor::csMenuBarText
                                                                      : TShemeColor::csButtonShadow]));
  DrawButtonCaption(dc, button.FCaption, r);
}

void TMenuBtn::Draw() {
  if (!FOwner->FMenuBar) return;
  win::TWindowDC dc(FOwner->FHandle, win::TWindowDC::TArea::Window);
  if (dc) FOwner->FMenuBar->DrawButton(*this, dc.Get());
}

// ---- the frame's drop-down

bool TLacquerForm::CheckMenu(TMenuBtn* button) {
  if (!button) return false;
  // The buttons stay as they are until the drop-down is over: the menu may change meanwhile.
  const bool outermost = gDrop.Form != this;
  gDrop.Form = this;
  // A framework item with a submenu hears its click when the submenu opens
  // (WM_INITMENUPOPUP); posting its command as well would click it twice.
  if (!(button->FItem && button->FSubMenu && button->FEnabled))
    PostMessageW(FHandle, WM_COMMAND, static_cast<WPARAM>(button->FCommand), 0);
  if (!button->FSubMenu) return false;
  if (button->FItem) TidySeparators(*button->FItem);
  gDrop.Index = button->FIndex;
  GetWindowRect(FHandle, &FWindowRect);
  if (!(WinVersion.Major == 4)) MakeOwnerDrawn(button->FSubMenu, FOwnerDrawnItems);
  FInMenuLoop = true;
  if (SkinManager) SkinManager->FMenuKind = 1;
  FOpenSubmenu = button->FSubMenu;
  gDrop.Switching = false;
  gDrop.Started = false;
  gDrop.Target = nullptr;
  GetCursorPos(&gDrop.MousePos);
  if (!gDrop.Hook) gDrop.Hook = SetWindowsHookExW(WH_MSGFILTER, &DropFilter, nullptr, GetCurrentThreadId());
  if (button->FEnabled) {
    const RECT& r = button->FRect;
    const int x = FWindowRect.left + (FRightToLeft ? r.right : r.left);
    const int y = FWindowRect.top + r.bottom;
    const UINT align = FRightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    button->FStatus = kNCPressed;
    const auto command =
        static_cast<UINT>(TrackPopupMenu(button->FSubMenu, TPM_RIGHTBUTTON | TPM_RETURNCMD | align, x, y, 0, FHandle, nullptr));
    if (command) PostMessageW(FHandle, WM_COMMAND, command, 0);
  }
  EndDropLoop();
  FInMenuLoop = false;
  button->FStatus = kNCNormal;
  UpdateNc();
  // A slide to another top-level item ended this loop: drop that one now.
  if (TMenuBtn* next = std::exchange(gDrop.Target, nullptr)) {
    gDrop.Switching = false;
    CheckMenu(next);
  }
  if (outermost) {
    gDrop.Form = nullptr;
    if (std::exchange(FMenuBarStale, false) && FMenuBar) {
      FMenuBar->UpdataBtn();
      UpdateNc();
    }
  }
  return true;
}

void TLacquerForm::ClickButton(TMenuBtn& button) {
  // Wine does not close a menu on a click posted outside it: the loop is ended here and the
  // target dropped when it has returned.
  gDrop.Target = &button;
  EndMenu();
}

TMenuBtn* TLacquerForm::FindButtonFromAccel(wchar_t key) {
  if (!FMenuBar) return nullptr;
  for (const auto& button : FMenuBar->FMenuButtons)
    if (button->FEnabled && button->FVisible && win::IsAccel(key, win::Narrow(button->FCaption))) return button.get();
  return nullptr;
}

void TLacquerForm::CancelMenu() { FInMenuLoop = false; }

bool TLacquerForm::CMDialogChar(win::TMessage& message) {
  FOldWindowProc->CallPrevious(message);
  if (message.Result != 0) return true;
  const bool altOnly = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
  if (altOnly || (message.LParam & (1 << 29))) {
    if (TMenuBtn* button = FindButtonFromAccel(static_cast<wchar_t>(message.WParam))) {
      PostMessageW(FHandle, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(message.WParam));
      (void)button;
      message.Result = 1;
      return true;
    }
  }
  if (IsMDIChild() && SkinManager && SkinManager->FMDIForm) {
    message.Result = SkinManager->FMDIForm->Perform(message.Msg, message.WParam, message.LParam);
    if (message.Result != 0) return true;
  }
  message.Result = 0;
  return false;
}

}  // namespace bw::skin
