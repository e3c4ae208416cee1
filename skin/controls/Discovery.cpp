// Control discovery: which painter takes over which control of a skinned window.
#include "framework/win/Forms.h"
#include "skin/controls/WinSubClass.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

void TLacquerForm::InitControls(win::TCustomForm& form) {
  PurgeControls();
  InitControlA(form);
}

void TLacquerForm::InitControlA(win::TWinControl& container) {
  for (std::int32_t i = 0; i < container.ComponentCount(); ++i)
    if (auto* control = dynamic_cast<win::TControl*>(container.Components(i))) AddComp(*control, container);
  if (FSkinData && FSkinData->SkinControls().Contains(TSkinControlType::xcPopupMenu))
    if (auto* form = dynamic_cast<win::TCustomForm*>(&container)) InitPopMenu(*form, true);
}

void TLacquerForm::InitNestform(win::TCustomForm& container) {
  PurgeControls();
  InitControlA(container);
}

// The painters arrive with the control painters; until then controls keep their system look.
void TLacquerForm::AddComp(win::TControl&, win::TWinControl&) {}

bool TLacquerForm::Find3rdControl(const std::string&, win::TControl&) { return false; }

void TLacquerForm::AddControlh(HWND) {}

}  // namespace bw::skin
