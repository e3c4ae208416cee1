#include "app/QuorbelFS1.h"

#include <exception>

#include "app/Language.h"
#include "app/QuorbelFP.h"
#include "app/RegistryStore.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"

namespace bw::app {

TForm2* Form2 = nullptr;

namespace {

const core::TMethodInfo kMethods[] = {
    core::Method<&TForm2::ComboBox1Select>("ComboBox1Select"),
    core::Method<&TForm2::BitBtn_LangueClick>("BitBtn_LangueClick"),
};
const core::TFieldInfo kFields[] = {
    core::Field<&TForm2::Image_Fond>("Image_Fond"),
    core::Field<&TForm2::Label_Langue>("Label_Langue"),
    core::Field<&TForm2::Label_Langue2>("Label_Langue2"),
    core::Field<&TForm2::ComboBox1>("ComboBox1"),
    core::Field<&TForm2::BitBtn_Langue>("BitBtn_Langue"),
};

}  // namespace

const core::TClassInfo TForm2::kClass{"TForm2", &win::TForm::kClass, {}, kMethods,
                                      &core::CreateComponentOf<TForm2>, kFields};

void RegisterLanguageFormClasses() {
  win::RegisterStdControls();
  for (const core::TClassInfo* cls : {&win::TImage::kClass, &TForm2::kClass}) core::RegisterComponentClass(*cls);
}

void TForm2::ComboBox1Select(core::TObject* /*sender*/) { BitBtn_Langue->SetEnabled(true); }

void TForm2::BitBtn_LangueClick(core::TObject* /*sender*/) {
  const std::string value = LanguageForChoice(ComboBox1->Text());
  UserLanguage = value;
  if (Form1 != nullptr) Form1->ApplyLanguage();
  TRegistryStore store;
  if (!StoreLanguage(store, UserLanguageRoot, value)) {
    // The choice holds for this run; say that it could not be kept for the next.
    win::Application->ShowException(std::make_exception_ptr(
        core::ERegistryException(std::string("Failed to set data for '") + kLanguageValueName + "'")));
  }
}

}  // namespace bw::app
