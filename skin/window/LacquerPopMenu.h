#pragma once
// A popup-menu window (class "#32768") of the process wearing the skin: its 3-pixel border
// is painted from the skin's MenuBackground object; the items inside are owner-drawn by
// the frames (and draw over the background this painter keeps).
#include <windows.h>

#include <memory>

#include "framework/win/Bitmap.h"
#include "framework/win/Subclass.h"

namespace bw::skin {

class TSkinData;

constexpr int kMenuBorderPx = 3;

class TLacquerPopMenu {
 public:
  TLacquerPopMenu() = default;
  ~TLacquerPopMenu();
  TLacquerPopMenu(const TLacquerPopMenu&) = delete;
  TLacquerPopMenu& operator=(const TLacquerPopMenu&) = delete;

  void InitSkin(HWND window, TSkinData& data, HMENU menu);
  void UnSubClass();
  LRESULT WinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Paints the border on dc (the window's whole area); false when the skin has no background.
  bool NcPaint(HDC dc);
  LRESULT WMPrint(WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

  win::TWindowSubclass FOldWndProc;
  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;
  std::unique_ptr<win::TBitmap> FMenuBackground;
  HMENU FMenuHandle = nullptr;

 private:
  bool HasBackground() const;
  void BuildBackground();
};

}  // namespace bw::skin
