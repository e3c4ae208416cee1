#include "skin/window/LacquerPopMenu.h"

#include "framework/win/GdiHandles.h"
#include "skin/data/LacquerData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

TLacquerPopMenu::~TLacquerPopMenu() { UnSubClass(); }

void TLacquerPopMenu::InitSkin(HWND window, TSkinData& data, HMENU menu) {
  FHandle = window;
  FSkinData = &data;
  FMenuHandle = menu;
  FOldWndProc.Install(window, [this](UINT msg, WPARAM w, LPARAM l) { return WinWndProc(msg, w, l); });
}

void TLacquerPopMenu::UnSubClass() {
  if (!FOldWndProc.Installed()) return;
  FOldWndProc.Restore();
  FMenuBackground.reset();
}

LRESULT TLacquerPopMenu::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  return FOldWndProc.CallPrevious(msg, wParam, lParam);
}

bool TLacquerPopMenu::HasBackground() const {
  return FSkinData && !FSkinData->NoSkin && FSkinData->MenuBackground && FSkinData->MenuBackground->Bitmap.Width() > 0;
}

void TLacquerPopMenu::BuildBackground() {
  RECT r;
  GetWindowRect(FHandle, &r);
  OffsetRect(&r, -r.left, -r.top);
  TDataSkinObject& back = *FSkinData->MenuBackground;
  FMenuBackground = GetHMap(r, back.Bitmap, back.Margins, 1, 1, back.Tile != 0, false);
}

bool TLacquerPopMenu::NcPaint(HDC dc) {
  if (!HasBackground()) return false;
  BuildBackground();
  if (!FMenuBackground) return false;
  const int w = FMenuBackground->Width(), h = FMenuBackground->Height();
  HDC src = FMenuBackground->Canvas().Handle();
  const int b = kMenuBorderPx;
  BitBlt(dc, 0, 0, w, b, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - b, w, b, src, 0, h - b, SRCCOPY);
  BitBlt(dc, 0, b, b, h - b, src, 0, b, SRCCOPY);
  BitBlt(dc, w - b, b, b, h - b, src, w - b, b, SRCCOPY);
  return true;
}

LRESULT TLacquerPopMenu::WMPrint(WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (!HasBackground() || !dc) return Default(WM_PRINT, wParam, lParam);
  BuildBackground();
  if (!FMenuBackground) return Default(WM_PRINT, wParam, lParam);
  const int w = FMenuBackground->Width(), h = FMenuBackground->Height();
  BitBlt(dc, 0, 0, w, h, FMenuBackground->Canvas().Handle(), 0, 0, SRCCOPY);
  win::TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kMenuBorderPx, kMenuBorderPx, w - kMenuBorderPx, h - kMenuBorderPx);
  return Default(WM_PRINT, wParam, lParam & ~static_cast<LPARAM>(PRF_NONCLIENT));
}

LRESULT TLacquerPopMenu::WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SKIN_MSG_QUERY) return 1;
  if (!SkinManager || !SkinManager->FSkinOn) return Default(msg, wParam, lParam);
  try {
    switch (msg) {
      case WM_DESTROY: {
        UnSubClass();
        return Default(msg, wParam, lParam);
      }
      case WM_NCPAINT: {
        win::TWindowDC dc(FHandle, win::TWindowDC::TArea::Window);
        if (dc && NcPaint(dc.Get())) return 0;
        return Default(msg, wParam, lParam);
      }
      case WM_PAINT: {
        // Popup menus have no non-client area here: the items paint over a border drawn
        // before them, so the border is drawn again afterwards. The items' background is
        // ready before the first of them paints.
        if (HasBackground() && !FMenuBackground) BuildBackground();
        const LRESULT r = Default(msg, wParam, lParam);
        win::TWindowDC dc(FHandle, win::TWindowDC::TArea::Window);
        if (dc) NcPaint(dc.Get());
        return r;
      }
      case WM_PRINT: return WMPrint(wParam, lParam);
    }
  } catch (...) {
    // The menu keeps its own look.
  }
  return Default(msg, wParam, lParam);
}

}  // namespace bw::skin
