// MDI frames: the MDI client's procedure while its frame is skinned.
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

void TLacquerForm::SubclassMDIClient() {
  if (!FMDIClientWnd || FMDIInstance.Installed()) return;
  FMDIInstance.Install(FMDIClientWnd, [this](UINT msg, WPARAM w, LPARAM l) {
    try {
      return WinMDIProc(msg, w, l);
    } catch (...) {
      return FMDIInstance.CallPrevious(msg, w, l);
    }
  });
}

LRESULT TLacquerForm::WinMDIProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const bool painting = FSkinData && FSkinData->FramePaint;
  auto active = [&] { return reinterpret_cast<HWND>(FMDIInstance.CallPrevious(WM_MDIGETACTIVE, 0, 0)); };
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT r = FMDIInstance.CallPrevious(msg, wParam, lParam);
      FMDIInstance.Restore();
      return r;
    }
    case WM_NCCALCSIZE:
      if (painting && FSkinData && !FSkinData->Options().Contains(TSkinOption::xoMDIScrollbar)) {
        const LONG_PTR style = GetWindowLongPtrW(FMDIClientWnd, GWL_STYLE);
        SetWindowLongPtrW(FMDIClientWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
      }
      break;
    case WM_MDICREATE:
      if (FSkinData) FSkinData->SetMenuUpdate(false);
      break;
    case WM_MDIDESTROY: {
      const LRESULT r = FMDIInstance.CallPrevious(msg, wParam, lParam);
      if (painting && SkinManager) {
        HWND now = active();
        SkinManager->FMDIMax = now && IsZoomed(now);
        if (!now && FMenuBar && FSkinData) {
          FSkinData->SetMenuUpdate(FMenuUpdateSaved);
          FMenuBar->UpdataBtn();
        }
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (painting && SkinManager && SkinManager->FMDIMax) SkinManager->FMDIMax = false;
      break;
    case WM_MDISETMENU: {
      const LRESULT r = FMDIInstance.CallPrevious(msg, wParam, lParam);
      if (painting && wParam && FMenuBar && reinterpret_cast<HMENU>(wParam) != FMenuBar->FHMenu) {
        FMenuBar->UpdataBtn2(reinterpret_cast<HMENU>(wParam));
        ::SetMenu(FHandle, nullptr);
        UpdateNc();
      }
      return r;
    }
    case SKIN_MSG_MDIMAX:
      RedrawWindow(FMDIClientWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      UpdateNc();
      return 0;
  }
  return FMDIInstance.CallPrevious(msg, wParam, lParam);
}

}  // namespace bw::skin
