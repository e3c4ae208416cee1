// List views: covered scroll bars and a skinned header.
#include "skin/controls/ListViews.h"

#include <commctrl.h>

#include "skin/controls/Tabs.h"

namespace bw::skin {

const core::TClassInfo TSkinListView::kClass{"TSkinListView", &TSkinScrollbar::kClass, {}, {}};

void TSkinListView::Notification(core::TComponent& component, core::TOperation operation) {
  TSkinScrollbar::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FHeader) FHeader = nullptr;
}

void TSkinListView::InitScrollbar(win::TWinControl* control, TSkinData* skinData, win::TCanvas* canvas,
                                  TLacquerForm* form) {
  const bool first = !FInitialized;
  TSkinScrollbar::InitScrollbar(control, skinData, canvas, form);
  if (!first || !FInitialized || FHeader || !FHandle) return;
  // Only a report view has a header window.
  if (auto header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0))) {
    FHeader = new TSkinHeader(this);
    FHeader->Inithwnd(header, skinData, canvas, form);
  }
}

}  // namespace bw::skin
