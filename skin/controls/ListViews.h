#pragma once
// List views: their scroll bars covered like any scrolling control's, and the header of a
// report view painted from the skin's header-bar image.
#include <windows.h>

#include "skin/controls/Scrollbars.h"

namespace bw::skin {

class TSkinHeader;

class TSkinListView : public TSkinScrollbar {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinListView(core::TComponent* owner) : TSkinScrollbar(owner) {}

  void InitScrollbar(win::TWinControl* control, TSkinData* skinData, win::TCanvas* canvas,
                     TLacquerForm* form) override;

  TSkinHeader* FHeader = nullptr;  // owned by this painter, listed by the frame

 protected:
  void Notification(core::TComponent& component, core::TOperation operation) override;
};

}  // namespace bw::skin
