#pragma once
// List boxes over the system control.
#include <windows.h>

#include <memory>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"
#include "framework/win/StdCtrls.h"

namespace bw::win {

using core::TBorderStyle;
using core::TListBoxStyle;

// A list of lines to choose one from. Items live in the object and are copied into the
// window; the owner-draw styles ask OnMeasureItem (variable) and OnDrawItem. OnClick
// fires when the selection changes.
class TCustomListBox : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomListBox(core::TComponent* owner);
  ~TCustomListBox() override;

  core::TStringList* Items() const { return FItems.get(); }
  int ItemIndex() const;
  void SetItemIndex(int index);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle style);
  int ItemHeight() const;
  void SetItemHeight(int height);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle style);
  TCanvas& Canvas() { return FCanvas; }

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
  std::unique_ptr<core::TStringList> FItems;
  int FItemIndex = -1;  // kept while there is no window
  TListBoxStyle FStyle = TListBoxStyle::lbStandard;
  int FItemHeight = 16;
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  TCanvas FCanvas;
};

class TListBox : public TCustomListBox {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TListBox(core::TComponent* owner) : TCustomListBox(owner) {}
};

void RegisterListBox();

}  // namespace bw::win
