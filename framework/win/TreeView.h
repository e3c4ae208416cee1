#pragma once
// Tree views over the system tree view. Nodes live in the object and are copied into the
// window when it is made; a form description gives them as indented lines (ItemsText).
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TBorderStyle;

class TImageList;
class TTreeNodes;
class TCustomTreeView;

class TTreeNode {
 public:
  TTreeNode(TTreeNodes& owner, TTreeNode* parent) : FOwner(&owner), FParent(parent) {}
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // Read from the window, where the user opens and closes nodes.
  bool Expanded() const;
  void SetExpanded(bool expanded);
  void Expand() { SetExpanded(true); }
  void Collapse() { SetExpanded(false); }

  TTreeNode* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int index) const;
  int Level() const;
  int Index() const;  // among its parent's children (or the top-level nodes)
  HTREEITEM ItemId() const { return FItem; }

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  TTreeNodes* FOwner;
  TTreeNode* FParent;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  std::string FText;
  int FImageIndex = -1;
  bool FExpanded = false;  // kept while there is no window
  HTREEITEM FItem = nullptr;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView& owner) : FOwner(owner) {}
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // A new last child of parent (a top-level node for nullptr).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  void Delete(TTreeNode* node);
  void Clear();
  // Every node, depth first.
  int Count() const;
  TTreeNode* Item(int index) const;
  int TopLevelCount() const { return static_cast<int>(FRoots.size()); }
  TTreeNode* TopLevel(int index) const;
  TCustomTreeView& Owner() const { return FOwner; }

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* parent);
  TCustomTreeView& FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
};

using TTVChangedEvent = core::TEvent<void(core::TObject* sender, TTreeNode* node)>;

class TCustomTreeView : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomTreeView(core::TComponent* owner);
  ~TCustomTreeView() override;

  TTreeNodes& Items() { return FItems; }
  // The nodes as lines of text, a child indented further than its parent (two spaces per
  // level when written). Assigning the lines builds the nodes again.
  core::TStringList* ItemsText() const;
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool on);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool on);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool on);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle style);
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* node);
  void FullExpand();

  TTVChangedEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  static const core::TPropInfo kProps[];
  void InsertNode(TTreeNode& node);
  void UpdateNode(const TTreeNode& node);
  void ForgetWindowItems(TTreeNode& node);
  void ItemsTextChanged();
  void ApplyStyle(DWORD bit, bool on);
  TTreeNodes FItems;
  std::unique_ptr<core::TStringList> FItemsText;
  bool FWritingText = false;
  TImageList* FImages = nullptr;
  bool FShowLines = true;
  bool FShowButtons = true;
  bool FReadOnly = false;
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  TTreeNode* FSelected = nullptr;  // kept while there is no window
  bool FRecreating = false;        // the window's own selection changes do not count
};

class TTreeView : public TCustomTreeView {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTreeView(core::TComponent* owner) : TCustomTreeView(owner) {}
};

// Nodes from indented lines: a line indented deeper than the one before is its child; one
// indented like an earlier line is that line's sibling. Blank lines are skipped.
void ParseIndentedTree(TTreeNodes& nodes, const core::TStrings& lines);

}  // namespace bw::win
