#pragma once
// Check boxes, radio buttons, group boxes and radio groups.
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Buttons.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TCheckBoxState;

// A check box over the system button (BS_3STATE: the framework decides the next state).
// OnClick fires whenever the state changes, by the user or by code.
class TCustomCheckBox : public TButtonControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomCheckBox(core::TComponent* owner);

  // Read from the window while it exists: the user changes it there.
  TCheckBoxState State() const;
  void SetState(TCheckBoxState state);
  bool Checked() const { return State() == TCheckBoxState::cbChecked; }
  void SetChecked(bool checked);
  // Clicks pass through the grayed state too.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool allow) { FAllowGrayed = allow; }
  // taLeftJustify puts the caption left of the box (BS_LEFTTEXT).
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  // The next state of a click: unchecked, checked (grayed first with AllowGrayed), ...
  void Toggle();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  TCheckBoxState FState = TCheckBoxState::cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = TAlignment::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCheckBox(core::TComponent* owner) : TCustomCheckBox(owner) {}
};

// Checking a radio button unchecks the radio buttons beside it (same parent); OnClick
// fires when it becomes checked.
class TRadioButton : public TButtonControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TRadioButton(core::TComponent* owner);

  bool Checked() const;
  void SetChecked(bool checked);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  bool FChecked = false;
  TAlignment FAlignment = TAlignment::taRightJustify;
};

// A frame with a caption round a group of controls; it paints itself, so windowless
// children get their mouse input (the system group box lets clicks fall through).
class TCustomGroupBox : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomGroupBox(core::TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // Height of a line of the caption font, in pixels.
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TGroupBox(core::TComponent* owner) : TCustomGroupBox(owner) {}
};

// A group box holding one radio button per line of Items, laid out in Columns columns.
// The buttons are child controls of the group, owned by it. OnClick and OnChange fire
// when ItemIndex changes, by the user or by code.
class TCustomRadioGroup : public TCustomGroupBox {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomRadioGroup(core::TComponent* owner);
  ~TCustomRadioGroup() override;

  core::TStringList* Items() const { return FItems.get(); }
  // -1: none checked; out of range counts as -1.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int index);
  int Columns() const { return FColumns; }
  void SetColumns(int columns);
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TRadioButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }
  void Loaded() override;

  core::TNotifyEvent OnChange;

 protected:
  void WndProc(TMessage& message) override;
  void BoundsChanged() override;
  void FontChanged() override;

 private:
  static const core::TPropInfo kProps[];
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(TRadioButton* button);
  void ItemChanged(int index);

  std::unique_ptr<core::TStringList> FItems;
  std::vector<TRadioButton*> FButtons;  // owned as components
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TRadioGroup(core::TComponent* owner) : TCustomRadioGroup(owner) {}
};

void RegisterCheckControls();

}  // namespace bw::win
