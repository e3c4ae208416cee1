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

// The frame of a window, or nullptr.
TLacquerForm* FrameOfWindow(HWND window);
// Shows the form and waits until its frame finished its set-up and painted; nullptr when it
// was not skinned.
TLacquerForm* ShowSkinnedForm(win::TCustomForm& form);

// The application, the engine and one form of class T made from its description (after
// `registerClasses`); everything is released in order.
template <class T>
class TSkinnedAppOf {
 public:
  explicit TSkinnedAppOf(void (*registerClasses)()) {
    registerClasses();
    InstallSkinEngine();
    FApp = std::make_unique<win::TApplication>(nullptr);
    FApp->Initialize();
    FApp->CreateForm(FForm);
  }
  ~TSkinnedAppOf() {
    FApp.reset();
    ReleaseSkinEngine();
  }
  TSkinnedAppOf(const TSkinnedAppOf&) = delete;
  TSkinnedAppOf& operator=(const TSkinnedAppOf&) = delete;
  win::TApplication& App() { return *FApp; }
  T& Form() { return *FForm; }
  TSkinData& Data() { return *FForm->SkinData1; }
  TLacquerForm* Frame() const { return FrameOfWindow(FForm->WindowHandle()); }
  // Shows the form (or another one) and waits for its frame.
  TLacquerForm* Show() { return ShowSkinnedForm(*FForm); }
  TLacquerForm* ShowSkinned(win::TCustomForm& form) { return ShowSkinnedForm(form); }
  TLacquerForm* FrameOf(HWND window) const { return FrameOfWindow(window); }

 private:
  std::unique_ptr<win::TApplication> FApp;
  T* FForm = nullptr;
};

// The test form with a button and the program's skin.
class TSkinnedApp : public TSkinnedAppOf<TSkinFrameForm> {
 public:
  TSkinnedApp();
};

// The window's rectangle on the screen, for screenshots.
RECT ScreenRectOf(HWND window, int margin = 0);

// The window's picture as it is on the screen.
std::unique_ptr<win::TBitmap> WindowShot(HWND window);

}  // namespace bw::skin::test
