// Start-up: the application object, the main window, the language window, the message loop.
#include <windows.h>

#include "app/QuorbelFP.h"
#include "app/QuorbelFS1.h"
#include "framework/win/Application.h"
#include "skin/window/LacquerDlg.h"

namespace {

constexpr const wchar_t* kIconResource = L"MAINICON";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  using namespace bw;
  app::RegisterMainFormClasses();
  app::RegisterLanguageFormClasses();
  // Before the forms: the main window's skin data creates the manager when it is read.
  skin::InstallSkinEngine();
  struct TEngineRelease {
    ~TEngineRelease() { skin::ReleaseSkinEngine(); }
  } engineRelease;
  win::TApplication application(nullptr);
  try {
    application.SetIcon(LoadIconW(instance, kIconResource));
    application.Initialize();
    application.CreateForm(app::Form1);
    application.CreateForm(app::Form2);
    application.Run();
  } catch (...) {
    // Shown as the framework shows any error; the program still ends normally.
    application.HandleException(nullptr);
  }
  return 0;
}
