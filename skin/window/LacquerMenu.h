#pragma once
// The skinned menu bar: a skinned frame removes the window's real menu bar and draws the
// top-level items itself in the menu band under the caption, one button per item, whose
// submenus drop as system popup menus (painted by the popup-menu painter).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Menus.h"
#include "skin/window/LacquerCaption.h"

namespace bw::skin {

class TLacquerForm;
class TSkinData;

class TMenuBtn : public TNCObject {
 public:
  explicit TMenuBtn(TLacquerForm& owner) : TNCObject(owner) {}
  void Draw() override;

  win::TMenuItem* FItem = nullptr;
  TSkinData* FSkinData = nullptr;
  std::int32_t FIndex = 0;
  std::wstring FCaption;
  bool FEnabled = true;
  HMENU FSubMenu = nullptr;
  std::int32_t FCommand = 0;
};

class TLacquerMenu : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  TLacquerMenu(TLacquerForm& frame, TSkinData& data);
  ~TLacquerMenu() override;

  // Rebuilds the buttons from the window's menu (remembered once it was taken away) and
  // takes the real menu bar away.
  void UpdataBtn();
  // After the MDI client changed the frame's menu.
  void UpdataBtn2(HMENU menu);
  // Paints the band (window coordinates) on dc.
  void DrawMenu(HDC dc, const RECT& band);
  TMenuBtn* FindBtn(POINT windowPoint) const;
  // The button's column of the plain band and its caption, on dc (hover and press feedback).
  void DrawButton(TMenuBtn& button, HDC dc);

  std::vector<std::unique_ptr<TMenuBtn>> FMenuButtons;
  win::TMainMenu* FMenu = nullptr;
  RECT FBandRect{};
  TSkinData* FSkinData;
  TLacquerForm* FForm;
  win::TBitmap FBackground;
  std::int32_t FItemCount = 0;
  HMENU FHMenu = nullptr;

 protected:
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  void BuildButtons(HMENU menu, bool onlyEmptyTexts);
};

// Unit state of the drop-down loop: one at a time per process.
void EndDropLoop();
bool DropLoopRunning();
// Whether the frame is dropping a submenu of its menu bar now.
bool Dropping(const TLacquerForm& frame);
// WM_MENUSELECT at the frame whose drop-down is open: the selection the arrow keys follow.
void NoteMenuSelect(TLacquerForm& frame, WPARAM wParam, LPARAM lParam);

}  // namespace bw::skin
