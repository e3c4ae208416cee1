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
