#pragma once
// Status bars over the system status bar class: one simple text, or panels side by side.
#include <windows.h>

#include <string>

#include "framework/core/Collection.h"
#include "framework/core/Enums.h"
#include "framework/win/ControlCanvas.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TBiDiMode;
using core::TStatusPanelBevel;
using core::TStatusPanelStyle;

class TCustomStatusBar;

class TStatusPanel : public core::TCollectionItem {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TStatusPanel(core::TCollection& collection) : core::TCollectionItem(collection) {}

  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  int Width() const { return FWidth; }
  void SetWidth(int widthPx);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel bevel);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle style);
  core::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(core::TAlignment alignment);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  void Assign(const core::TPersistent& source) override;

 private:
  static const core::TPropInfo kProps[];
  void Changed();
  std::string FText;
  int FWidth = 50;
  TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
  TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
  core::TAlignment FAlignment = core::TAlignment::taLeftJustify;
  TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
};

class TStatusPanels : public core::TCollection {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TStatusPanels(TCustomStatusBar& owner);
  TStatusPanel& Add() { return static_cast<TStatusPanel&>(core::TCollection::Add()); }
  TStatusPanel& Items(std::int32_t index) const {
    return static_cast<TStatusPanel&>(core::TCollection::Items(index));
  }
};

using TDrawPanelEvent =
    core::TEvent<void(TCustomStatusBar* statusBar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomStatusBar(core::TComponent* owner);
  ~TCustomStatusBar() override;

  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool simple);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& text);
  TStatusPanels* Panels() const { return FPanels.get(); }
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool on);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  // The panel's rectangle in client coordinates, as the window lays it out.
  bool PanelRect(int index, RECT& rect) const;

  // Panels of style psOwnerDraw are drawn by this handler on Canvas(), also when code that
  // took the bar over calls it outside the bar's own painting.
  TDrawPanelEvent OnDrawPanel;
  TCanvas& Canvas() { return FCanvas; }

  // Pushes panels and texts into the window (after a panel changed).
  void UpdatePanels();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  void UpdatePanelText(int index);
  std::unique_ptr<TStatusPanels> FPanels;
  bool FSimplePanel = false;
  std::string FSimpleText;
  bool FSizeGrip = true;
  TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
  TControlCanvas FCanvas{*this};
};

class TStatusBar : public TCustomStatusBar {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TStatusBar(core::TComponent* owner) : TCustomStatusBar(owner) {}
};

}  // namespace bw::win
