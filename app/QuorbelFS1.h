#pragma once
// The language window: a borderless yellow oval on which the user picks English or French.
#include "framework/win/Buttons.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"

namespace bw::app {

class TForm2 : public win::TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TForm2(core::TComponent* owner) : win::TForm(owner) {}

  win::TImage* Image_Fond = nullptr;
  win::TLabel* Label_Langue = nullptr;
  win::TLabel* Label_Langue2 = nullptr;
  win::TComboBox* ComboBox1 = nullptr;
  win::TBitBtn* BitBtn_Langue = nullptr;

  void ComboBox1Select(core::TObject* sender);
  void BitBtn_LangueClick(core::TObject* sender);
};

extern TForm2* Form2;

void RegisterLanguageFormClasses();

}  // namespace bw::app
