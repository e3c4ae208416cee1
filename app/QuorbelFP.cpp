#include "app/QuorbelFP.h"

#include "app/QuorbelFS1.h"
#include "app/RegistryStore.h"
#include "extract/Texts.h"
#include "framework/core/ClassRegistry.h"

namespace bw::app {

extract::TRunState RunState;
std::string UserLanguage;
TSettingsRoot UserLanguageRoot = TSettingsRoot::LocalMachine;
TForm1* Form1 = nullptr;

namespace {

// The resource name windres gives the program's icon.
constexpr const wchar_t* kIconResource = L"MAINICON";

const core::TMethodInfo kMethods[] = {
    core::Method<&TForm1::FormCreate>("FormCreate"),
    core::Method<&TForm1::FormShow>("FormShow"),
    core::Method<&TForm1::FormClose>("FormClose"),
    core::Method<&TForm1::BitBtn1Click>("BitBtn1Click"),
    core::Method<&TForm1::BitBtn2Click>("BitBtn2Click"),
};
const core::TFieldInfo kFields[] = {
    core::Field<&TForm1::BitBtn1>("BitBtn1"),   core::Field<&TForm1::ProgressBar1>("ProgressBar1"),
    core::Field<&TForm1::Panel1>("Panel1"),     core::Field<&TForm1::Image1>("Image1"),
    core::Field<&TForm1::BitBtn2>("BitBtn2"),   core::Field<&TForm1::OpenDialog1>("OpenDialog1"),
    core::Field<&TForm1::SkinData1>("SkinData1"),
};

}  // namespace

const core::TClassInfo TForm1::kClass{"TForm1", &win::TForm::kClass, {}, kMethods,
                                      &core::CreateComponentOf<TForm1>, kFields};

void RegisterMainFormClasses() {
  // The standard controls register as a set; these the descriptions name besides them.
  win::RegisterStdControls();
  for (const core::TClassInfo* cls :
       {&win::TImage::kClass, &win::TOpenDialog::kClass, &skin::TSkinData::kClass, &TForm1::kClass})
    core::RegisterComponentClass(*cls);
}

namespace {
constexpr UINT kLoadStartFileMessage = WM_APP + 0x42;
}  // namespace

void TForm1::FormCreate(core::TObject* /*sender*/) {
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), kIconResource)) SetIcon(icon);
  TRegistryStore store;
  const TStoredLanguage stored = ReadStoredLanguage(store);
  UserLanguage = stored.Language;
  UserLanguageRoot = stored.Root;
  ApplyLanguage();
}

void TForm1::ApplyLanguage() {
  const bool french = extract::IsFrench(UserLanguage);
  BitBtn1->SetCaption(french ? "Choix" : "Load");
  BitBtn2->SetCaption(french ? "Arr\xC3\xAAt" : "Abort");
  BitBtn1->SetHint(french ? "Charger un fichier PPT ou PPS" : "Load a PPT or PPS file");
}

void TForm1::FormShow(core::TObject* /*sender*/) {
  if (Form2 == nullptr) return;
  Form2->Label_Langue->SetCaption("    Choose the user's language");
  Form2->Label_Langue2->SetCaption("Choisissez la langue de l'utilisateur");
  if (AsksForLanguage(UserLanguage)) Form2->ShowModal();
  // Posted, so that the Load runs from the message loop with the window on the screen.
  if (!FStartPath.empty()) PostMessageW(Handle(), kLoadStartFileMessage, 0, 0);
}

void TForm1::CreateParams(win::TCreateParams& params) {
  win::TForm::CreateParams(params);
  params.ExStyle |= WS_EX_ACCEPTFILES;
}

void TForm1::WndProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_DROPFILES:
      FileDropped(reinterpret_cast<HDROP>(message.WParam));
      message.Result = 0;
      return;
    case kLoadStartFileMessage: {
      const std::string path = std::move(FStartPath);
      FStartPath.clear();
      if (!path.empty()) LoadFile(path);
      message.Result = 0;
      return;
    }
    default: win::TForm::WndProc(message);
  }
}

void TForm1::BitBtn2Click(core::TObject* /*sender*/) { RunState.AbortRequested = true; }

void TForm1::FormClose(core::TObject* /*sender*/, win::TCloseAction& action) {
  if (!FRunning) return;
  // The run is inside this window's own click handler: stop it there, and close once
  // it has unwound. The files written so far stay.
  RunState.AbortRequested = true;
  FCloseAfterRun = true;
  action = win::TCloseAction::caNone;
}

}  // namespace bw::app
