#pragma once
// A skinned form with one control of each kind the painters here serve, the program's
// skin, and helpers that read what reached the screen.
#include <windows.h>

#include <memory>

#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/CheckCtrls.h"
#include "framework/win/RangeCtrls.h"
#include "framework/win/SpeedButton.h"
#include "framework/win/StdCtrls.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/LacquerData.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "tests/skin/window/SkinWindowTestSupport.h"

namespace bw::skin::test {

class TPaintersForm : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TPaintersForm(core::TComponent* owner) : win::TForm(owner) {}
  win::TButton* Button1 = nullptr;   // plain
  win::TButton* Button2 = nullptr;   // the default button
  win::TBitBtn* BitBtn1 = nullptr;   // glyph and caption
  win::TBitBtn* BitBtn2 = nullptr;   // disabled
  win::TProgressBar* ProgressBar1 = nullptr;  // 200 px, 50 of 100
  win::TPanel* Panel1 = nullptr;     // white, with Label1 and Button3
  win::TLabel* Label1 = nullptr;
  win::TButton* Button3 = nullptr;
  win::TButton* Button4 = nullptr;   // Tag 99, the skin's DisableTag
  win::TGroupBox* GroupBox1 = nullptr;
  win::TSpeedButton* SpeedButton1 = nullptr;  // flat, in the group box
  win::TSpeedButton* SpeedButton2 = nullptr;  // glyph and caption
  win::TTrackBar* TrackBar1 = nullptr;
  win::TRadioGroup* RadioGroup1 = nullptr;
  TSkinData* SkinData1 = nullptr;
};

// The application, the engine and the form; Show() waits for the frame's set-up.
class TPaintersApp : public TSkinnedAppOf<TPaintersForm> {
 public:
  TPaintersApp();
};

// The painter the frame lists for a framework control (windowed or not), if any.
TSkinControl* PainterOf(const TLacquerForm& frame, const core::TObject& control);
TSkinControl* PainterOfWindow(const TLacquerForm& frame, HWND window);

// The face frame of the skin's button bitmap shown on the screen at the window's top-left
// corner (its 4 x 4 corner is drawn unscaled); 0 when none matches.
int ShownFace(HWND window, TDataSkinButton& skin);
// The same for a face whose top-left corner is at this point of the screen.
int ShownFaceAt(POINT screen, TDataSkinButton& skin);
// Where a windowless control's top-left corner is on the screen.
POINT ScreenOrigin(const win::TControl& control);
// Waits until the window shows `expected` and answers the face last seen.
int WaitForFace(HWND window, TDataSkinButton& skin, int expected);
// A pixel of the window on the screen, in window coordinates.
COLORREF WindowPixel(HWND window, int x, int y);
// Waits for the window to show `expected` there; answers the pixel last seen.
COLORREF WaitForWindowPixel(HWND window, int x, int y, COLORREF expected);

}  // namespace bw::skin::test
