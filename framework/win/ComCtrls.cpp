#include "framework/win/ComCtrls.h"

#include <commctrl.h>

#include <atomic>

#include "framework/core/ClassRegistry.h"
#include "framework/win/DateTime.h"
#include "framework/win/Grids.h"
#include "framework/win/ListView.h"
#include "framework/win/StatusBar.h"
#include "framework/win/Tabs.h"
#include "framework/win/ToolBar.h"
#include "framework/win/TreeView.h"

namespace bw::win {

void EnsureCommonControls(DWORD classes) {
  static std::atomic<DWORD> registered{0};
  if ((registered.load() & classes) == classes) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  if (InitCommonControlsEx(&icc)) registered.fetch_or(classes);
}

void RegisterComControls() {
  for (const core::TClassInfo* cls :
       {&TStatusBar::kClass, &TToolBar::kClass, &TToolButton::kClass, &TTabControl::kClass, &TPageControl::kClass,
        &TTabSheet::kClass, &TTabSet::kClass, &TListView::kClass, &THeaderControl::kClass, &TTreeView::kClass,
        &TDrawGrid::kClass, &TStringGrid::kClass, &TDateTimePicker::kClass})
    core::RegisterComponentClass(*cls);
}

}  // namespace bw::win
