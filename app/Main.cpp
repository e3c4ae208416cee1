// Start-up: the application object, the main window, the language window, the message loop.
#include <windows.h>
#include <shellapi.h>

#include "app/Gallery.h"
#include "app/QuorbelFP.h"
#include "app/QuorbelFS1.h"
#include "framework/win/Application.h"
#include "skin/window/LacquerDlg.h"

namespace {

constexpr const wchar_t* kIconResource = L"MAINICON";

// `--gallery` opens the gallery of every control kind instead of the program's windows.
bool GalleryAsked() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  bool gallery = false;
  for (int i = 1; args && i < count; ++i)
    if (lstrcmpW(args[i], L"--gallery") == 0) gallery = true;
  if (args) LocalFree(args);
  return gallery;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  using namespace bw;
  const bool gallery = GalleryAsked();
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
    if (gallery) {
      app::RegisterGalleryClasses();
      app::TGalleryForm* galleryForm = nullptr;
      application.SetTitle("Brindlewick gallery");
      application.CreateForm(galleryForm);
    } else {
      application.CreateForm(app::Form1);
      application.CreateForm(app::Form2);
    }
    application.Run();
  } catch (...) {
    // Shown as the framework shows any error; the program still ends normally.
    application.HandleException(nullptr);
  }
  return 0;
}
