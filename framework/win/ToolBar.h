#pragma once
// Tool bars over the system tool bar class. The buttons are windowless child controls of
// the bar (so a form description nests them under it and code can find their bounds);
// the system window draws and clicks them.
#include <windows.h>

#include "framework/core/Enums.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TCustomDrawState;
using core::TCustomDrawStateFlag;
using core::TToolButtonStyle;

class TImageList;
class TPopupMenu;
class TToolBar;

class TToolButton : public TGraphicControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TToolButton(core::TComponent* owner);
  ~TToolButton() override;

  TToolBar* ToolBar() const;
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle style);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // Pressed, or checked for a check button; read from the window where the user may change it.
  bool Down() const;
  void SetDown(bool down);
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void SetParent(TWinControl* parent) override;
  // Shown under the button's arrow (a tbsDropDown button) or under the button.
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* menu);
  // The command id the bar's window knows the button by.
  int CommandId() const { return FCommandId; }

 protected:
  void TextChanged() override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  friend class TToolBar;
  static const core::TPropInfo kProps[];
  void Changed();
  TToolButtonStyle FStyle = TToolButtonStyle::tbsButton;
  int FImageIndex = -1;
  bool FDown = false;
  int FCommandId = 0;
  TPopupMenu* FDropdownMenu = nullptr;
};

using TToolBarCustomDrawEvent = core::TEvent<void(TToolBar* toolBar, const RECT& rect, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent =
    core::TEvent<void(TToolBar* toolBar, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;

class TToolBar : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TToolBar(core::TComponent* owner);
  ~TToolBar() override;

  bool Flat() const { return FFlat; }
  void SetFlat(bool flat);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool show);
  // The bar's height follows its buttons.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);

  int ButtonCount() const;
  TToolButton* Buttons(int index) const;
  TToolButton* FindButton(int commandId) const;
  // Custom-draw handlers draw on this canvas while they run.
  TCanvas& Canvas() { return FCanvas; }

  // Background (whole bar) and per-button custom drawing; clear defaultDraw to draw alone.
  TToolBarCustomDrawEvent OnCustomDraw;
  TToolBarCustomDrawButtonEvent OnCustomDrawButton;

  // Builds the window's buttons again from the child buttons.
  void RebuildButtons();
  void UpdateButton(TToolButton& button);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  friend class TToolButton;
  static const core::TPropInfo kProps[];
  void SyncButtonBounds();
  void CustomDraw(TMessage& message);
  void DropDown(TToolButton& button);
  int FNextCommandId = 1;
  bool FFlat = true;
  bool FShowCaptions = false;
  bool FAutoSize = true;
  bool FRebuilding = false;
  TImageList* FImages = nullptr;
  TCanvas FCanvas;
};

}  // namespace bw::win
