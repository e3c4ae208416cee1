// The frame's window procedure: what every frame answers, what a painted frame handles,
// and the non-client messages (sizes, hit tests, activation, the caption buttons' mouse).
#include <algorithm>

#include "framework/win/Text.h"
#include "skin/controls/WinSubClass.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

namespace {
POINT PointOf(LPARAM l) { return POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }
}  // namespace

LRESULT TLacquerForm::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  return FOldWndProc.CallPrevious(msg, wParam, lParam);
}

LRESULT TLacquerForm::WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  try {
    if (HandleAlways(msg, wParam, lParam, result)) return result;
    if (!FFrameOn || (!IsMDIChild() && FChildAtStart)) return Default(msg, wParam, lParam);
    const bool framed = HandleFramed(msg, wParam, lParam, result);
    const bool skipNc = MDIChildMaxOrMin() || IsIconic(FHandle) || FState == kFrameCreated;
    if (!skipNc && HandleNonClient(msg, wParam, lParam, result)) return result;
    if (framed) return result;
  } catch (...) {
    // Drawing errors leave the frame to the next paint; the message still gets its default.
  }
  return Default(msg, wParam, lParam);
}

bool TLacquerForm::HandleAlways(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (FForm) return false;
      if (FSkinData && FSkinData->FaceBrush) {
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, FSkinData->FaceBrush);
        result = 1;
        return true;
      }
      return false;
    case WM_NCDESTROY:
      FState = kFrameClosing;
      UnSubclass3();
      result = Default(msg, wParam, lParam);
      FState = kFrameDestroyed;
      return true;
    case WM_INITMENUPOPUP:
      if (SkinManager)
        SkinManager->FMenuKind = reinterpret_cast<HMENU>(wParam) == GetSystemMenu(FHandle, FALSE) ? 2 : 1;
      result = Default(msg, wParam, lParam);
      return true;
    case WM_EXITMENULOOP:
      // The loop's menus are gone, skinned or not: the next popup is of its own kind.
      if (SkinManager) SkinManager->FMenuKind = 0;
      result = Default(msg, wParam, lParam);
      return true;
    case WM_CTLCOLORBTN:
      result = Default(msg, wParam, lParam);
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return true;
    case WM_CTLCOLORSTATIC:
      result = Default(msg, wParam, lParam);
      if (!FForm && FSkinData && FSkinData->FaceBrush) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush);
      }
      return true;
    case CN_SkinActive:
      SkinActive();
      return true;
    case WM_MENUSELECT:
      NoteMenuSelect(*this, wParam, lParam);
      return false;
    case SKIN_MSG_QUERY:
      result = 1;
      return true;
    case WM_SETTEXT:
      // The system repaints its own caption on a new text: ours goes over it again.
      result = Default(msg, wParam, lParam);
      if (FFrameOn && FState == kFrameSkinned) UpdateNc();
      return true;
  }
  return false;
}

bool TLacquerForm::HandleFramed(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_SIZE:
      result = Default(msg, wParam, lParam);
      WMSize(wParam, lParam);
      return true;
    case WM_GETMINMAXINFO:
      result = WMGetMinMaxInfo(wParam, lParam);
      return true;
    case WM_WINDOWPOSCHANGED:
      FWindowState = GetWindowstate();
      result = Default(msg, wParam, lParam);
      return true;
    case WM_COMMAND:
      switch (LOWORD(wParam) & 0xFFF0) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW: case SC_PREVWINDOW:
        case SC_CLOSE: case SC_RESTORE:
          if (HIWORD(wParam) == 0 && lParam == 0 && LOWORD(wParam) >= 0xF000) {
            PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
            result = 0;
            return true;
          }
      }
      return false;
    case WM_SYSCOMMAND:
      if (WMSysCommand(wParam, lParam, result)) return true;
      result = Default(msg, wParam, lParam);
      return true;
    case WM_ACTIVATE:
      FActive = LOWORD(wParam) != WA_INACTIVE;
      return false;
    case win::CM_MENUCHANGED:
      return false;  // comes through the form's handler (NewWndProc)
  }
  return false;
}

bool TLacquerForm::HandleNonClient(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_SIZE:
      // Handled a second time here: the previous procedure sees it twice, as it always has.
      result = Default(msg, wParam, lParam);
      WMSize(wParam, lParam);
      return true;
    case WM_DRAWITEM:
      if (WMDrawItem(lParam)) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_MEASUREITEM:
      if (WMMeasureItem(lParam)) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_NCCALCSIZE:
      result = WMNcCalcSize(wParam, lParam);
      return true;
    case WM_NCHITTEST:
      result = WMNcHitTest(wParam, lParam);
      return true;
    case WM_NCPAINT:
      if (FSkinData && FSkinData->FramePaint) {
        if (FBorderStyle == TSkinFormBorder::sbsNone || MDIChildMaxOrMin()) return false;
        UpdateNc();
      }
      result = 0;
      return true;
    case WM_NCACTIVATE:
      result = WMNcActivate(wParam, lParam);
      return true;
    case WM_NCMOUSEMOVE: return NcMouseMove(wParam, lParam);
    case WM_NCLBUTTONDOWN: return NcLButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP: return NcLButtonUp(wParam, lParam);
    case WM_NCLBUTTONDBLCLK: return NcLButtonDblClk(wParam, lParam);
    case WM_NCRBUTTONDOWN: return NcRButtonDown(wParam, lParam);
    case SKIN_MSG_NCPAINT:
      UpdateNc();
      result = 0;
      return true;
  }
  return false;
}

void TLacquerForm::NewWndProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      FOldWindowProc->CallPrevious(message);
      if (IsZoomed(FHandle) && SkinManager && SkinManager->FMDIClient && IsMDIChild())
        PostMessageW(SkinManager->FMDIClient, SKIN_MSG_MDIMAX, reinterpret_cast<WPARAM>(FHandle), 0);
      if (FState == kFrameSkinned) UpdateNc();
      return;
    case SKIN_MSG_CHANGED:
      SkinChange();
      return;
    case win::CM_DIALOGCHAR:
      if (CMDialogChar(message)) return;
      break;
    case win::CM_MENUCHANGED: {
      // The frame paints nothing while the form changes its menu; the bar follows after.
      const bool painting = FSkinData && FSkinData->FramePaint;
      if (FSkinData) FSkinData->FramePaint = false;
      FOldWindowProc->CallPrevious(message);
      if (FSkinData) FSkinData->FramePaint = painting;
      if (FMenuBar && FSkinData && FSkinData->MenuUpdate() && GetMenu(FHandle)) {
        if (Dropping(*this)) {
          ::SetMenu(FHandle, nullptr);
          FMenuBarStale = true;
        } else {
          FMenuBar->FMenu = FForm ? FForm->Menu() : nullptr;
          FMenuBar->UpdataBtn();
          UpdateNc();
        }
      }
      return;
    }
  }
  FOldWindowProc->CallPrevious(message);
}

LRESULT TLacquerForm::WMNcCalcSize(WPARAM wParam, LPARAM lParam) {
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  // On entry the first rectangle is the window's new position (in its parent's coordinates).
  const RECT window = wParam ? params->rgrc[0] : RECT{};
  Default(WM_NCCALCSIZE, wParam, lParam);
  if (!wParam) return 0;
  if (!MDIChildMaxOrMin() && FBorderStyle != TSkinFormBorder::sbsNone) {
    RECT client{window.left + FLeftWidth, window.top + FTopHeight + FMenuHeight, window.right - FRightWidth,
                window.bottom - FBottomHeight};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    params->rgrc[0] = client;
  }
  params->rgrc[1] = params->rgrc[0];
  return WVR_VALIDRECTS;
}

LRESULT TLacquerForm::WMNcHitTest(WPARAM wParam, LPARAM lParam) {
  const LRESULT def = Default(WM_NCHITTEST, wParam, lParam);
  if (def != HTNOWHERE && def != HTCAPTION) return def;
  const POINT p = GetWinXY(PointOf(lParam));
  if (FMenuHeight > 0 && FMenuBar && p.y > FTopHeight && p.y < FTopHeight + FMenuHeight) return HTMENU;
  if (p.y > 3) return HTCAPTION;
  return def;
}

LRESULT TLacquerForm::WMNcActivate(WPARAM wParam, LPARAM lParam) {
  FActive = wParam != 0;
  if (FTimer) FTimer->SetEnabled(FActive);
  if (!FActive && FHotControl) {
    TSkinControl* hot = FHotControl;
    FHotControl = nullptr;
    if (hot) hot->MouseLeave();
  }
  if (IsMDIForm() && FMDIClientWnd) SendMessageW(FMDIClientWnd, WM_NCACTIVATE, wParam, lParam);
  if (IsMDIChild()) Default(WM_NCACTIVATE, wParam, lParam);
  if (!MDIChildMaxOrMin()) UpdateNc();
  return 1;
}

void TLacquerForm::WMSize(WPARAM wParam, LPARAM) {
  switch (wParam) {
    case SIZE_RESTORED: FWindowState = TSkinWindowState::swsNormal; break;
    case SIZE_MINIMIZED: FWindowState = TSkinWindowState::swsMin; break;
    case SIZE_MAXIMIZED: FWindowState = TSkinWindowState::swsMax; break;
  }
  // However an MDI child was maximised (its button, the MDI client, the framework), the
  // children lose their regions; when none is maximised any more they get them back.
  if (IsMDIChild() && SkinManager) {
    if (wParam == SIZE_MAXIMIZED) {
      SkinManager->SetMDIMax(true);
    } else if (wParam == SIZE_RESTORED && SkinManager->FMDIMax) {
      HWND client = GetParent(FHandle);
      auto active = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
      if (!active || !IsZoomed(active)) SkinManager->SetMDIMax(false);
    }
  }
  if (FWindowState == TSkinWindowState::swsMin) return;
  if (IsMDIChild() && ((SkinManager && SkinManager->FMDIMax) || FWindowState != TSkinWindowState::swsNormal)) return;
  if (FState == kFrameSkinned || FState == kFrameChanging) Cropwindow();
}

LRESULT TLacquerForm::WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
  Default(WM_GETMINMAXINFO, wParam, lParam);
  FWindowState = GetWindowstate();
  if (FWindowState == TSkinWindowState::swsMin) EnableSysbtn(true);
  else if (!IsMDIChild() || FWindowState == TSkinWindowState::swsNormal) EnableSysbtn(false);
  else if (FWindowState == TSkinWindowState::swsMax) EnableSysbtn(true);
  if (FBorderStyle == TSkinFormBorder::sbsSizeable) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
  return 0;
}

bool TLacquerForm::WMSysCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!FInMenuLoop && !DropLoopRunning() && (wParam & 0xFFF0) == SC_KEYMENU) {
    const auto key = static_cast<wchar_t>(lParam);
    if (key == L' ') {
      POINT origin{0, 0};
      ClientToScreen(FHandle, &origin);
      PopSysmenu(origin);
      result = 0;
      return true;
    }
    if (key != L'-' && !GetCapture()) {
      if (key == 0) {
        if (FMenuBar && !FMenuBar->FMenuButtons.empty()) CheckMenu(FMenuBar->FMenuButtons.front().get());
        result = 1;
        return true;
      }
      if (TMenuBtn* button = FindButtonFromAccel(key)) {
        CheckMenu(button);
        result = 1;
        return true;
      }
    }
  }
  switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
      FWindowState = TSkinWindowState::swsMin;
      if (IsMDIChild()) EnableSysbtn(true);
      break;
    case SC_MAXIMIZE: FWindowState = TSkinWindowState::swsMax; break;
    case SC_RESTORE:
      FWindowState = TSkinWindowState::swsNormal;
      if (IsMDIChild()) {
        EnableSysbtn(false);
        if (SkinManager) SkinManager->FMDIMax = false;
      }
      break;
  }
  return false;
}

bool TLacquerForm::NcMouseMove(WPARAM, LPARAM lParam) {
  if (!FActive) return false;
  const POINT p = GetWinXY(PointOf(lParam));
  TNCObject* target = FindBtn(p);
  if (!target && FMenuBar) target = FMenuBar->FindBtn(p);
  if (target) {
    target->MouseEnter();
    return true;
  }
  if (FHot) FHot->MouseLeave();
  return false;
}

bool TLacquerForm::NcLButtonDown(WPARAM wParam, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  const POINT p = GetWinXY(screen);
  TWinSysButton* button = FindBtn(p);
  TMenuBtn* menuButton = button || !FMenuBar ? nullptr : FMenuBar->FindBtn(p);
  if (button || menuButton) {
    if (!FActive) SetForegroundWindow(FHandle);
    if (button) {
      button->MouseDown();
    } else {
      menuButton->MouseDown();
      CheckMenu(menuButton);
    }
    return true;
  }
  if (IsZoomed(FHandle) && FActive && wParam == HTCAPTION) {
    Default(WM_NCLBUTTONDOWN, HTMENU, lParam);  // a maximised window is not dragged
    return true;
  }
  return false;
}

bool TLacquerForm::NcLButtonUp(WPARAM, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  const POINT p = GetWinXY(screen);
  if (TWinSysButton* button = FindBtn(p)) {
    if (FHot == button) {
      button->MouseUp();
      SysBtnAction(screen.x, screen.y);
    }
    return true;
  }
  if (FMenuBar && FMenuBar->FindBtn(p)) return true;
  return false;
}

bool TLacquerForm::NcLButtonDblClk(WPARAM, LPARAM lParam) {
  const POINT p = GetWinXY(PointOf(lParam));
  if (TWinSysButton* button = FindBtn(p)) {
    const std::int32_t action = button->FSkinButton->Action;
    if (action == kActionIcon || action == kActionIcon2) {
      if (FTimer) FTimer->SetEnabled(false);
      PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return true;
  }
  if (IsZoomed(FHandle) || IsIconic(FHandle)) {
    Restore();
    return true;
  }
  if (FCaps & kCapMaxBox) {
    Maximize();
    return true;
  }
  return false;
}

bool TLacquerForm::NcRButtonDown(WPARAM wParam, LPARAM lParam) {
  if (wParam != HTCAPTION || IsMDIChild()) return false;
  PopSysmenu(PointOf(lParam));
  return true;
}

}  // namespace bw::skin
