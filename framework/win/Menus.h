#pragma once
// Menus: a tree of menu items, each item with children keeping a system popup menu of them;
// main menus (a form's menu bar) and popup menus. Items carry their command id, their item
// data (the item itself, for owner-drawn menus) and short cuts. Owner-drawn items ask their
// OnMeasureItem / OnDrawItem handlers, or measure and draw themselves.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Component.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Canvas.h"
#include "framework/win/GdiHandles.h"

namespace bw::win {

class TMenu;
class TImageList;
class TCustomForm;

// A key code (low byte) with the modifiers scShift, scCtrl and scAlt.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

// "Ctrl+O", "Shift+F10", "Del"; empty for none.
std::string ShortCutToText(TShortCut shortCut);
// The reverse; 0 for a text it does not know.
TShortCut TextToShortCut(std::string_view text);
// The short cut a WM_KEYDOWN / WM_SYSKEYDOWN stands for, with the modifiers held now; 0 for
// the modifier keys themselves and other messages.
TShortCut ShortCutOfKey(UINT msg, WPARAM key);
// Whether `key` is the accelerator ("&x") of caption, ignoring letter case.
bool IsAccel(wchar_t key, const std::string& caption);
// The caption without its "&" marks ("&&" stays one "&").
std::string StripHotkey(const std::string& caption);

using TMenuDrawItemEvent = core::TEvent<void(core::TObject* sender, TCanvas& canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent = core::TEvent<void(core::TObject* sender, TCanvas& canvas, int& width, int& height)>;

class TMenuItem : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TMenuItem(core::TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut shortCut);
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its group at the same level.
  void SetChecked(bool checked);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool radio);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool autoCheck) { FAutoCheck = autoCheck; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  bool Default() const { return FDefault; }
  void SetDefault(bool isDefault);
  TBitmap* Bitmap() const { return FBitmap.get(); }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  bool IsLine() const { return FCaption == "-"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return FParent; }
  int IndexOf(const TMenuItem* item) const;
  int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  // Frees the item at index (or every item).
  void Delete(int index);
  void Clear();
  // The menu the item belongs to, through its parents; nullptr when none.
  TMenu* GetParentMenu() const;

  // The id the item's WM_COMMAND carries (0x40 to 0x7FFF, unique in the process).
  UINT Command() const { return FCommand; }
  // The system popup menu holding the children, made on first use.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  // OnClick; an AutoCheck item toggles first.
  virtual void Click();
  // The owner-draw requests: the handler when there is one, else the item's own look.
  void MeasureItem(TCanvas& canvas, int& width, int& height);
  void DrawItem(TCanvas& canvas, const RECT& rect, bool selected);
  void DefaultMeasureItem(TCanvas& canvas, int& width, int& height);
  void DefaultDrawItem(TCanvas& canvas, const RECT& rect, bool selected);
  // Whether the item and its parents up to the menu are enabled and visible.
  bool Reachable() const;

  core::TComponent* GetParentComponent() const override;
  void SetParentComponent(core::TComponent* parent) override;
  void GetChildren(const std::function<void(core::TComponent&)>& visit, core::TComponent& root) override;
  void Loaded() override;

  core::TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // The live item whose address a menu's item data holds, or nullptr.
  static TMenuItem* FromItemData(ULONG_PTR data);

 private:
  friend class TMenu;
  static const core::TPropInfo kProps[];
  int GetShortCutProp() const { return FShortCut; }
  void SetShortCutProp(int value) { SetShortCut(static_cast<TShortCut>(value)); }
  // Something shown changed: the parent's popup is rebuilt and the menu told.
  void Changed(bool structure);
  void RebuildHandle();
  // The items the system menu shows: an MDI frame's bar merges the active child's.
  std::vector<TMenuItem*> ShownItems() const;
  void FillItemInfo(MENUITEMINFOW& info, std::wstring& text);
  HBITMAP ImageBitmap();
  TImageList* ImageListOf() const;

  std::string FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  bool FAutoCheck = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  std::unique_ptr<TBitmap> FBitmap;
  int FImageIndex = -1;
  std::string FHint;
  std::vector<TMenuItem*> FItems;  // not owned
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  HMENU FHandle = nullptr;
  UINT FCommand = 0;
  TBitmapHandle FImage;  // the glyph shown beside a system-drawn item
  bool FUpdating = false;
};

enum class TFindItemKind : std::uint8_t { fkCommand, fkHandle, fkShortCut };

class TMenu : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TMenu(core::TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return FItems.get(); }
  HMENU Handle() const { return FItems->Handle(); }
  // Every item drawn by the program (its handlers or its own look) instead of the system.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool ownerDraw);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);

  // value: a command id, a menu handle (as UINT_PTR) or a short cut.
  TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
  // Clicks the enabled, visible item with that short cut; false when there is none.
  bool IsShortCut(TShortCut shortCut);
  // Clicks the item with that command id; false when it is not in this menu.
  bool DispatchCommand(UINT command);
  // An item's look or the tree changed (called by the items).
  virtual void MenuChanged(TMenuItem* source, bool structure);

  void GetChildren(const std::function<void(core::TComponent&)>& visit, core::TComponent& root) override;
  void Loaded() override;

 protected:
  void Notification(core::TComponent& component, core::TOperation operation) override;
  // A menu of the menu bar is CreateMenu's, a popup menu CreatePopupMenu's.
  virtual bool IsBar() const { return false; }
  // Every system menu of the tree filled again (owner-draw or images changed).
  static void RebuildTree(TMenuItem& item);

 private:
  friend class TMenuItem;
  static const core::TPropInfo kProps[];
  std::unique_ptr<TMenuItem> FItems;
  bool FOwnerDraw = false;
  TImageList* FImages = nullptr;
};

// The menu bar of the form whose Menu it is.
class TMainMenu : public TMenu {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TMainMenu(core::TComponent* owner) : TMenu(owner) {}
  ~TMainMenu() override;

  // The form showing this menu (set by the form).
  TCustomForm* WindowOwner() const { return FWindowOwner; }
  void SetWindowOwner(TCustomForm* form) { FWindowOwner = form; }
  // Redraws the form's bar and sends it CM_MENUCHANGED.
  void MenuChanged(TMenuItem* source, bool structure) override;
  // An MDI frame's bar shows the active child's menu merged in (by GroupIndex).
  void Merge(TMainMenu* child);
  void Unmerge(TMainMenu* child);
  TMainMenu* Merged() const { return FMerged; }

 protected:
  void Notification(core::TComponent& component, core::TOperation operation) override;
  bool IsBar() const override { return true; }

 private:
  TCustomForm* FWindowOwner = nullptr;
  TMainMenu* FMerged = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TPopupMenu(core::TComponent* owner) : TMenu(owner) {}

  // Shown by a right click or the menu key on a control whose PopupMenu this is.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool autoPopup) { FAutoPopup = autoPopup; }
  // The control it was last shown for.
  core::TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(core::TComponent* component) { FPopupComponent = component; }
  // Shows the menu at a screen point and runs the chosen item's OnClick; returns when closed.
  virtual void Popup(int x, int y);

  core::TNotifyEvent OnPopup;

 private:
  static const core::TPropInfo kProps[];
  bool FAutoPopup = true;
  core::TComponent* FPopupComponent = nullptr;
};

// Owner-draw requests for menus (WM_MEASUREITEM / WM_DRAWITEM with ODT_MENU) sent to any
// window: answered by the item the request's item data names. False when it names none.
bool HandleMenuOwnerDraw(UINT msg, LPARAM lParam);

void RegisterMenuClasses();

}  // namespace bw::win
