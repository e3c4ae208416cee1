#include "framework/win/ControlCanvas.h"

#include "framework/win/Controls.h"

namespace bw::win {

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  HWND window = FControl.WindowHandle();
  if (!window) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  FWindow = window;
  FOwnDC = dc;
  Font().Assign(*FControl.Font());
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  if (!FOwnDC) return;
  SetHandle(nullptr);
  ReleaseDC(FWindow, FOwnDC);
  FOwnDC = nullptr;
  FWindow = nullptr;
}

}  // namespace bw::win
