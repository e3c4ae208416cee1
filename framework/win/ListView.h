#pragma once
// List views over the system list view (icons, small icons, a list, or a report with
// columns under the system header inside it), and header controls on their own.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/core/Collection.h"
#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TBorderStyle;
using core::TViewStyle;

class TImageList;
class TCustomListView;

class TListColumn : public core::TCollectionItem {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TListColumn(core::TCollection& collection) : core::TCollectionItem(collection) {}

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  // As the user left it, when the list view has a window.
  int Width() const;
  void SetWidth(int widthPx);
  core::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(core::TAlignment alignment);
  void Assign(const core::TPersistent& source) override;

 private:
  friend class TCustomListView;
  static const core::TPropInfo kProps[];
  TCustomListView* ListView() const;
  void Changed();
  std::string FCaption;
  int FWidth = 50;
  core::TAlignment FAlignment = core::TAlignment::taLeftJustify;
};

class TListColumns : public core::TCollection {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TListColumns(TCustomListView& owner);
  TListColumn& Add() { return static_cast<TListColumn&>(core::TCollection::Add()); }
  TListColumn& Items(std::int32_t index) const { return static_cast<TListColumn&>(core::TCollection::Items(index)); }
};

class TListItem : public core::TCollectionItem {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TListItem(core::TCollection& collection);
  ~TListItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // Texts of the report view's further columns.
  core::TStringList* SubItems() const { return FSubItems.get(); }
  bool Selected() const;
  void SetSelected(bool selected);
  void Assign(const core::TPersistent& source) override;

 private:
  friend class TCustomListView;
  static const core::TPropInfo kProps[];
  TCustomListView* ListView() const;
  void Changed();
  std::string FCaption;
  int FImageIndex = -1;
  bool FSelected = false;  // kept while there is no window
  std::unique_ptr<core::TStringList> FSubItems;
};

class TListItems : public core::TCollection {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TListItems(TCustomListView& owner);
  TListItem& Add() { return static_cast<TListItem&>(core::TCollection::Add()); }
  TListItem& Items(std::int32_t index) const { return static_cast<TListItem&>(core::TCollection::Items(index)); }
};

using TLVSelectItemEvent = core::TEvent<void(core::TObject* sender, TListItem* item, bool selected)>;
using TLVChangeEvent = core::TEvent<void(core::TObject* sender, TListItem* item)>;
using TLVColumnClickEvent = core::TEvent<void(core::TObject* sender, TListColumn* column)>;

class TCustomListView : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomListView(core::TComponent* owner);
  ~TCustomListView() override;

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle style);
  TListColumns* Columns() const { return FColumns.get(); }
  TListItems* Items() const { return FItems.get(); }
  TImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TImageList* images);
  TImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TImageList* images);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool on);
  // Without ReadOnly the user may edit an item's caption in place.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool on);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle style);
  // The first selected item, or -1.
  int ItemIndex() const;
  void SetItemIndex(int index);
  TListItem* Selected() const;
  // The system header of the report view (none before the window exists).
  HWND HeaderHandle() const;

  TLVSelectItemEvent OnSelectItem;
  TLVChangeEvent OnChange;
  TLVColumnClickEvent OnColumnClick;

  void UpdateColumns();
  void UpdateItems();
  void UpdateItem(int index);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  friend class TListItem;
  static const core::TPropInfo kProps[];
  void SetImageList(TImageList*& field, TImageList* images, int which);
  void Notify(TMessage& message);
  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TListItems> FItems;
  TViewStyle FViewStyle = TViewStyle::vsIcon;
  TImageList* FLargeImages = nullptr;
  TImageList* FSmallImages = nullptr;
  bool FRowSelect = false;
  bool FReadOnly = false;
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  bool FUpdating = false;  // no events while the window is filled
};

class TListView : public TCustomListView {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TListView(core::TComponent* owner) : TCustomListView(owner) {}
};

class THeaderControl;

class THeaderSection : public core::TCollectionItem {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit THeaderSection(core::TCollection& collection) : core::TCollectionItem(collection) {}

  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  int Width() const { return FWidth; }
  void SetWidth(int widthPx);
  core::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(core::TAlignment alignment);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  void Assign(const core::TPersistent& source) override;

 private:
  friend class THeaderControl;
  static const core::TPropInfo kProps[];
  void Changed();
  std::string FText;
  int FWidth = 50;
  core::TAlignment FAlignment = core::TAlignment::taLeftJustify;
  int FImageIndex = -1;
};

class THeaderSections : public core::TCollection {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit THeaderSections(THeaderControl& owner);
  THeaderSection& Add() { return static_cast<THeaderSection&>(core::TCollection::Add()); }
  THeaderSection& Items(std::int32_t index) const {
    return static_cast<THeaderSection&>(core::TCollection::Items(index));
  }
};

using TSectionNotifyEvent = core::TEvent<void(THeaderControl* header, THeaderSection* section)>;

// Column headings over the system header class.
class THeaderControl : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit THeaderControl(core::TComponent* owner);
  ~THeaderControl() override;

  THeaderSections* Sections() const { return FSections.get(); }
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);

  TSectionNotifyEvent OnSectionClick;

  void UpdateSections();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<THeaderSections> FSections;
  TImageList* FImages = nullptr;
};

}  // namespace bw::win
