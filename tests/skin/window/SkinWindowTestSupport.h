#pragma once
// A skinned test form: a framework form carrying the program's skin in its skin data
// component, created with the skin engine installed, and waits on the frame's set-up.
#include <memory>
#include <string>

#include "framework/win/Application.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Buttons.h"
#include "skin/data/LacquerData.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin::test {

class TSkinFrameForm : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinFrameForm(core::TComponent* owner) : win::TForm(owner) {}
  win::TButton* Button1 = nullptr;
  TSkinData* SkinData1 = nullptr;
};

// The application, the engine and one skinned main form; everything is released in order.
class TSkinnedApp {
 public:
  TSkinnedApp();
  ~TSkinnedApp();
  win::TApplication& App() { return *FApp; }
  TSkinFrameForm& Form() { return *FForm; }
  // Shows the form and waits until its frame finished its set-up; nullptr when it did not.
  TLacquerForm* ShowSkinned(win::TCustomForm& form);
  TLacquerForm* FrameOf(HWND window) const;

 private:
  std::unique_ptr<win::TApplication> FApp;
  TSkinFrameForm* FForm = nullptr;
};

// The window's rectangle on the screen, for screenshots.
RECT ScreenRectOf(HWND window, int margin = 0);

}  // namespace bw::skin::test
