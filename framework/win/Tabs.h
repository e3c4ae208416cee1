#pragma once
// Tabs: the system tab control (TTabControl), pages of child sheets under it
// (TPageControl + TTabSheet), and the older bottom tab strip painted by itself (TTabSet).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TTabPosition;

class TImageList;

using TTabChangingEvent = core::TEvent<void(core::TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomTabControl(core::TComponent* owner);
  ~TCustomTabControl() override;

  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition position);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // The selected tab (-1 for none); read from the window, where the user changes it.
  int TabIndex() const;
  // The area below (beside) the tabs, in client coordinates.
  RECT DisplayRect() const;
  // A tab's rectangle in client coordinates; false when the window cannot give it.
  bool TabRect(int index, RECT& rect) const;

  core::TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  struct TTabItem {
    std::string Text;
    int ImageIndex = -1;
  };
  // The tabs as the window shows them; derived classes say what they are.
  virtual std::vector<TTabItem> TabItems() const = 0;
  // Puts TabItems() into the window and selects `selected`.
  void UpdateTabItems(int selected);
  void SelectTab(int index);
  virtual bool CanChange();
  virtual void Change();
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void AdjustClientRect(RECT& rect) const override { rect = DisplayRect(); }
  void Notification(core::TComponent& component, core::TOperation operation) override;

  int FTabIndex = -1;  // kept while there is no window

 private:
  static const core::TPropInfo kProps[];
  TTabPosition FTabPosition = TTabPosition::tpTop;
  TImageList* FImages = nullptr;
};

class TTabControl : public TCustomTabControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTabControl(core::TComponent* owner);
  ~TTabControl() override;

  core::TStringList* Tabs() const { return FTabs.get(); }
  void SetTabIndex(int index);

 protected:
  std::vector<TTabItem> TabItems() const override;

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<core::TStringList> FTabs;
};

class TPageControl;

// A page of a page control: a child window shown while its tab is selected.
class TTabSheet : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTabSheet(core::TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* pageControl);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool visible);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // Position among the page control's sheets; -1 outside one.
  int PageIndex() const;
  void SetPageIndex(int index);
  // Position among the visible tabs; -1 when the tab is hidden.
  int TabIndex() const;
  void SetParent(TWinControl* parent) override;

 protected:
  void TextChanged() override;

 private:
  friend class TPageControl;
  static const core::TPropInfo kProps[];
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TPageControl(core::TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The sheet shown under a visible tab.
  TTabSheet* PageOfTab(int tabIndex) const;
  void Loaded() override;

 protected:
  std::vector<TTabItem> TabItems() const override;
  void Change() override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TTabSheet;
  static const core::TPropInfo kProps[];
  void InsertPage(TTabSheet& page);
  void RemovePage(TTabSheet& page);
  void MovePage(TTabSheet& page, int index);
  // Tabs from the sheets again, the active one selected and shown, the sheets placed.
  void UpdateTabs();
  void PlaceSheets();
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

class TTabSet;

// The tab set's scroller: two horizontal arrows, each scrolling the tabs by one.
class TTabScroller : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTabScroller(TTabSet& tabSet);
  static constexpr int kWidthPx = 28;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, int x, int y) override;

 private:
  TTabSet& FTabSet;
};

// An older strip of tabs hanging from the top edge, painted by the control itself. Its
// first owned component is its scroller, shown when the tabs do not fit.
class TTabSet : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTabSet(core::TComponent* owner);
  ~TTabSet() override;

  core::TStringList* Tabs() const { return FTabs.get(); }
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int index);
  int StartMargin() const { return FStartMargin; }
  void SetStartMargin(int px);
  int EndMargin() const { return FEndMargin; }
  void SetEndMargin(int px);
  // The first tab shown at the start margin.
  int FirstIndex() const { return FFirstIndex; }
  void SetFirstIndex(int index);
  TTabScroller* Scroller() const { return FScroller; }
  // The tabs shown now, with their rectangles in client coordinates.
  int VisibleTabCount() const;
  bool TabRect(int index, RECT& rect) const;
  int TabAtPos(POINT p) const;

  core::TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void BoundsChanged() override;
  void FontChanged() override;

 private:
  friend class TTabScroller;
  static const core::TPropInfo kProps[];
  struct TLayout {
    std::vector<RECT> Rects;  // for FFirstIndex onwards, those that fit
    bool ScrollerShown = false;
  };
  TLayout Layout() const;
  int TabWidth(const std::string& text) const;
  void Arrange();
  std::unique_ptr<core::TStringList> FTabs;
  TTabScroller* FScroller = nullptr;  // owned as a component
  int FTabIndex = -1;
  int FStartMargin = 5;
  int FEndMargin = 5;
  int FFirstIndex = 0;
};

}  // namespace bw::win
