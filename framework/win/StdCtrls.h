#pragma once
// Labels, panels, drop-down lists and progress bars.
#include <windows.h>

#include <memory>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TAlignment;
using core::TBevelCut;
using core::TComboBoxStyle;

// Text on its parent, windowless; its background is the parent's unless it has a colour.
class TCustomLabel : public TGraphicControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomLabel(core::TComponent* owner);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool wrap);
  // The label takes the size of its text (one line; with WordWrap only its height).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);
  void Loaded() override;

 protected:
  void Paint() override;
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;

 private:
  static const core::TPropInfo kProps[];
  void AdjustBounds();
  bool FAutoSize = true;
  bool FTransparent = false;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  bool FWordWrap = false;
};

class TCustomPanel : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomPanel(core::TComponent* owner);

  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut bevel);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut bevel);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  static const core::TPropInfo kProps[];
  TBevelCut FBevelOuter = TBevelCut::bvRaised;
  TBevelCut FBevelInner = TBevelCut::bvNone;
  int FBevelWidth = 1;
};

// A drop-down list over the system combo box. Items live in the object and are copied
// into the window when it is made and whenever they change.
class TCustomComboBox : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomComboBox(core::TComponent* owner);
  ~TCustomComboBox() override;

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle style);
  core::TStringList* Items() const { return FItems.get(); }
  int ItemIndex() const;
  void SetItemIndex(int index);
  // The selected item's text (any style), or the edit's text.
  std::string Text() const;
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int count) { FDropDownCount = count; }

  core::TNotifyEvent OnSelect;
  core::TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  void CopyItemsToWindow();
  TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
  std::unique_ptr<core::TStringList> FItems;
  int FItemIndex = -1;  // kept while there is no window
  int FDropDownCount = 8;
};

class TProgressBar : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TProgressBar(core::TComponent* owner);

  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);
  int Position() const { return FPosition; }
  // Clamped to Min..Max, as the bar shows it.
  void SetPosition(int value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool smooth);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  static const core::TPropInfo kProps[];
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  bool FSmooth = false;
};

class TLabel : public TCustomLabel {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TLabel(core::TComponent* owner) : TCustomLabel(owner) {}
};

class TPanel : public TCustomPanel {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TPanel(core::TComponent* owner) : TCustomPanel(owner) {}
};

class TComboBox : public TCustomComboBox {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TComboBox(core::TComponent* owner) : TCustomComboBox(owner) {}
};

void RegisterStdControls();

}  // namespace bw::win
