#pragma once
// A canvas on a control's window: given a DC while the control paints, or taking one of the
// window's own when code draws on it at another time (an owner-draw handler called by a
// painter that took the control over).
#include <windows.h>

#include "framework/win/Canvas.h"

namespace bw::win {

class TWinControl;

class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TWinControl& control) : FControl(control) {}
  ~TControlCanvas() override;
  // Gives back a DC taken on demand; the next drawing takes a new one.
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TWinControl& FControl;
  HWND FWindow = nullptr;
  HDC FOwnDC = nullptr;
};

}  // namespace bw::win
