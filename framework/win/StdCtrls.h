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
using core::TProgressBarOrientation;

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

// Owner-drawn items of list boxes and combo boxes: the handler draws item `index` in
// `rect` on the control's Canvas (brush and font already set for the item's state).
enum class TOwnerDrawStateFlag : std::uint8_t {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odComboBoxEdit
};
using TOwnerDrawState = core::TSet<TOwnerDrawStateFlag>;
using TDrawItemEvent = core::TEvent<void(TWinControl* control, int index, const RECT& rect, TOwnerDrawState state)>;
// `height` comes in as the control's ItemHeight.
using TMeasureItemEvent = core::TEvent<void(TWinControl* control, int index, int& height)>;

TOwnerDrawState OwnerDrawStateOf(UINT itemState);
// Answers a reflected WM_DRAWITEM of a list: the handler draws, or, without one, the
// item's text on the selection colours; then the focus rectangle.
void DrawListItem(TWinControl& control, TCanvas& canvas, const DRAWITEMSTRUCT& item, const std::string& text,
                  const TDrawItemEvent& onDrawItem);

// A combo box over the system one, in any of its styles. Items live in the object and are
// copied into the window when it is made and whenever they change; the owner-draw styles
// ask OnMeasureItem (variable) and OnDrawItem.
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
  // The selected item's text (list styles), or the edit's text.
  std::string Text() const;
  // List styles select the item of that text (none when absent); the others edit it.
  void SetText(const std::string& text);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int count) { FDropDownCount = count; }
  // Height of the owner-drawn items (the variable style's default).
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int height);
  bool OwnerDraw() const;
  TCanvas& Canvas() { return FCanvas; }

  core::TNotifyEvent OnSelect;
  core::TNotifyEvent OnChange;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  void CopyItemsToWindow();
  bool Editable() const;
  TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
  std::unique_ptr<core::TStringList> FItems;
  int FItemIndex = -1;  // kept while there is no window
  int FDropDownCount = 8;
  int FItemHeight = 16;
  TCanvas FCanvas;
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
  // pbVertical fills from the bottom (PBS_VERTICAL); a change swaps width and height.
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation orientation);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  static const core::TPropInfo kProps[];
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  bool FSmooth = false;
  TProgressBarOrientation FOrientation = TProgressBarOrientation::pbHorizontal;
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
