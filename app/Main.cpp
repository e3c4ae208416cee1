// Start-up: the application object, the main window, the language window, the message loop.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/Gallery.h"
#include "app/QuorbelFP.h"
#include "app/QuorbelFS1.h"
#include "app/SkinChoice.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Text.h"
#include "skin/data/SkinRead.h"
#include "skin/window/LacquerDlg.h"

namespace {

constexpr const wchar_t* kIconResource = L"MAINICON";

// The arguments after the program's name, as UTF-8.
std::vector<std::string> ProgramArgs() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; args && i < count; ++i) result.push_back(bw::win::Narrow(args[i]));
  if (args) LocalFree(args);
  return result;
}

// `--gallery` opens the gallery of every control kind instead of the program's windows.
bool GalleryAsked(const std::vector<std::string>& args) {
  for (const std::string& arg : args)
    if (arg == "--gallery") return true;
  return false;
}

// The reader's notice for a skin container of another format: a modal message box.
void ShowOldSkinNotice(const std::string& text) {
  MessageBoxW(GetActiveWindow(), bw::win::Widen(text).c_str(), L"Brindlewick", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

void ApplySkinChoice(bw::skin::TSkinData* data, const bw::app::TSkinChoice& choice) {
  if (!data) return;
  const std::string refusal = bw::app::ApplySkinChoice(*data, choice, bw::app::UserLanguage.starts_with("F"));
  if (!refusal.empty())
    bw::win::MessageDlg(refusal, bw::win::TMsgDlgType::mtWarning, bw::win::TMsgDlgButtons{bw::win::TMsgDlgBtn::mbOK}, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  using namespace bw;
  const std::vector<std::string> args = ProgramArgs();
  const bool gallery = GalleryAsked(args);
  const app::TSkinChoice skinChoice = app::SkinChoiceFromArgs(args);
  skin::SetDefaultSkinNotice(&ShowOldSkinNotice);
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
      ApplySkinChoice(galleryForm->SkinData1, skinChoice);
    } else {
      application.CreateForm(app::Form1);
      ApplySkinChoice(app::Form1->SkinData1, skinChoice);
      app::Form1->LoadAtStart(app::StartFileFromArgs(args));
      application.CreateForm(app::Form2);
    }
    application.Run();
  } catch (...) {
    // Shown as the framework shows any error; the program still ends normally.
    application.HandleException(nullptr);
  }
  return 0;
}
