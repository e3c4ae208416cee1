#include "framework/win/TreeView.h"

#include <algorithm>

#include "framework/win/ComCtrls.h"
#include "framework/win/ImageList.h"
#include "framework/win/Text.h"

namespace bw::win {

// ---- TTreeNode

void TTreeNode::SetText(const std::string& text) {
  FText = text;
  FOwner->FOwner.UpdateNode(*this);
}

void TTreeNode::SetImageIndex(int index) {
  FImageIndex = index;
  FOwner->FOwner.UpdateNode(*this);
}

bool TTreeNode::Expanded() const {
  HWND h = FOwner->FOwner.WindowHandle();
  if (!h || !FItem) return FExpanded;
  return (SendMessageW(h, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItem), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool expanded) {
  FExpanded = expanded;
  HWND h = FOwner->FOwner.WindowHandle();
  if (h && FItem)
    SendMessageW(h, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItem));
}

TTreeNode* TTreeNode::Item(int index) const {
  return index >= 0 && index < Count() ? FChildren[static_cast<size_t>(index)].get() : nullptr;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = FParent; p; p = p->FParent) ++level;
  return level;
}

int TTreeNode::Index() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

// ---- TTreeNodes

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* parent) {
  return parent ? parent->FChildren : FRoots;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  auto& siblings = SiblingsOf(parent);
  siblings.push_back(std::make_unique<TTreeNode>(*this, parent));
  TTreeNode* node = siblings.back().get();
  node->FText = text;
  if (FOwner.WindowHandle()) FOwner.InsertNode(*node);
  return node;
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node) return;
  for (TTreeNode* p = FOwner.FSelected; p; p = p->FParent)
    if (p == node) FOwner.FSelected = nullptr;
  if (HWND h = FOwner.WindowHandle(); h && node->FItem)
    SendMessageW(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->FItem));
  auto& siblings = SiblingsOf(node->FParent);
  siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& n) { return n.get() == node; }));
}

void TTreeNodes::Clear() {
  FOwner.FSelected = nullptr;
  if (HWND h = FOwner.WindowHandle()) SendMessageW(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  FRoots.clear();
}

namespace {
template <class F>
void VisitDepthFirst(TTreeNode* node, F&& visit) {
  visit(*node);
  for (int i = 0; i < node->Count(); ++i) VisitDepthFirst(node->Item(i), visit);
}
}  // namespace

int TTreeNodes::Count() const {
  int n = 0;
  for (const auto& root : FRoots) VisitDepthFirst(root.get(), [&](TTreeNode&) { ++n; });
  return n;
}

TTreeNode* TTreeNodes::Item(int index) const {
  TTreeNode* found = nullptr;
  int i = 0;
  for (const auto& root : FRoots)
    VisitDepthFirst(root.get(), [&](TTreeNode& node) {
      if (i++ == index) found = &node;
    });
  return found;
}

TTreeNode* TTreeNodes::TopLevel(int index) const {
  return index >= 0 && index < TopLevelCount() ? FRoots[static_cast<size_t>(index)].get() : nullptr;
}

void ParseIndentedTree(TTreeNodes& nodes, const core::TStrings& lines) {
  std::vector<std::pair<size_t, TTreeNode*>> open;  // indentation and node of each open level
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines.Get(i);
    const size_t indent = line.find_first_not_of(" \t");
    if (indent == std::string::npos) continue;
    std::string text = line.substr(indent);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
    while (!open.empty() && open.back().first >= indent) open.pop_back();
    TTreeNode* node = nodes.AddChild(open.empty() ? nullptr : open.back().second, text);
    open.emplace_back(indent, node);
  }
}

// ---- TCustomTreeView

const core::TPropInfo TCustomTreeView::kProps[] = {
    core::StringsProp<&TCustomTreeView::ItemsText>("ItemsText"),
    core::ObjProp<&TCustomTreeView::Images, &TCustomTreeView::SetImages>("Images"),
    core::BoolProp<&TCustomTreeView::FShowLines, &TCustomTreeView::SetShowLines>("ShowLines", true),
    core::BoolProp<&TCustomTreeView::FShowButtons, &TCustomTreeView::SetShowButtons>("ShowButtons", true),
    core::BoolProp<&TCustomTreeView::FReadOnly, &TCustomTreeView::SetReadOnly>("ReadOnly", false),
    core::EnumProp<&TCustomTreeView::FBorderStyle, &TCustomTreeView::SetBorderStyle>(
        "BorderStyle", core::kBorderStyleInfo, TBorderStyle::bsSingle),
    core::EventProp<&TCustomTreeView::OnChange>("OnChange"),
};
const core::TClassInfo TCustomTreeView::kClass{"TCustomTreeView", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TTreeView::kClass{"TTreeView", &TCustomTreeView::kClass, {}, {},
                                         &core::CreateComponentOf<TTreeView>};

TCustomTreeView::TCustomTreeView(core::TComponent* owner)
    : TWinControl(owner), FItems(*this), FItemsText(std::make_unique<core::TStringList>()) {
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FColor = clWindow;
  FItemsText->OnChange = [this](core::TObject*) { ItemsTextChanged(); };
}

TCustomTreeView::~TCustomTreeView() {
  Destroying();
  FItemsText->OnChange = nullptr;
  if (FImages) FImages->RemoveFreeNotification(*this);
}

core::TStringList* TCustomTreeView::ItemsText() const {
  // Written from the nodes each time it is asked for, so that it never lags behind them.
  auto* self = const_cast<TCustomTreeView*>(this);
  self->FWritingText = true;
  FItemsText->BeginUpdate();
  FItemsText->Clear();
  for (const auto& root : FItems.FRoots)
    VisitDepthFirst(root.get(), [&](TTreeNode& node) {
      FItemsText->Add(std::string(static_cast<size_t>(node.Level()) * 2, ' ') + node.Text());
    });
  FItemsText->EndUpdate();
  self->FWritingText = false;
  return FItemsText.get();
}

void TCustomTreeView::ItemsTextChanged() {
  if (FWritingText) return;
  FItems.Clear();
  ParseIndentedTree(FItems, *FItemsText);
}

void TCustomTreeView::SetImages(TImageList* images) {
  if (FImages) FImages->RemoveFreeNotification(*this);
  FImages = images;
  if (FImages) FImages->FreeNotification(*this);
  if (HWND h = WindowHandle())
    SendMessageW(h, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void TCustomTreeView::Notification(core::TComponent& component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FImages) SetImages(nullptr);
}

void TCustomTreeView::ApplyStyle(DWORD bit, bool on) {
  HWND h = WindowHandle();
  if (!h) return;
  LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  style = on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit));
  SetWindowLongPtrW(h, GWL_STYLE, style);
  InvalidateRect(h, nullptr, TRUE);
}

void TCustomTreeView::SetShowLines(bool on) {
  FShowLines = on;
  ApplyStyle(TVS_HASLINES, on);
}

void TCustomTreeView::SetShowButtons(bool on) {
  FShowButtons = on;
  ApplyStyle(TVS_HASBUTTONS, on);
}

void TCustomTreeView::SetReadOnly(bool on) {
  FReadOnly = on;
  ApplyStyle(TVS_EDITLABELS, !on);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

TTreeNode* TCustomTreeView::Selected() const {
  HWND h = WindowHandle();
  if (!h) return FSelected;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(h, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return nullptr;
  TVITEMW probe{};
  probe.mask = TVIF_PARAM | TVIF_HANDLE;
  probe.hItem = item;
  if (!SendMessageW(h, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&probe))) return nullptr;
  return reinterpret_cast<TTreeNode*>(probe.lParam);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  FSelected = node;
  if (HWND h = WindowHandle())
    SendMessageW(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->FItem : nullptr));
}

void TCustomTreeView::FullExpand() {
  for (const auto& root : FItems.FRoots)
    VisitDepthFirst(root.get(), [](TTreeNode& node) {
      if (node.Count() > 0) node.Expand();
    });
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_TREEVIEW_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = WC_TREEVIEWW;
  params.Style |= TVS_SHOWSELALWAYS | TVS_LINESATROOT;
  if (FShowLines) params.Style |= TVS_HASLINES;
  if (FShowButtons) params.Style |= TVS_HASBUTTONS;
  if (!FReadOnly) params.Style |= TVS_EDITLABELS;
  if (FBorderStyle == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::InsertNode(TTreeNode& node) {
  std::wstring text = Widen(node.FText);
  TVINSERTSTRUCTW insert{};
  insert.hParent = node.FParent ? node.FParent->FItem : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = text.data();
  insert.item.iImage = node.FImageIndex;
  insert.item.iSelectedImage = node.FImageIndex;
  insert.item.lParam = reinterpret_cast<LPARAM>(&node);
  node.FItem = reinterpret_cast<HTREEITEM>(SendMessageW(WindowHandle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  for (auto& child : node.FChildren) InsertNode(*child);
  if (node.FExpanded && !node.FChildren.empty()) node.SetExpanded(true);
}

void TCustomTreeView::UpdateNode(const TTreeNode& node) {
  HWND h = WindowHandle();
  if (!h || !node.FItem) return;
  std::wstring text = Widen(node.FText);
  TVITEMW item{};
  item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node.FItem;
  item.pszText = text.data();
  item.iImage = node.FImageIndex;
  item.iSelectedImage = node.FImageIndex;
  SendMessageW(h, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TCustomTreeView::ForgetWindowItems(TTreeNode& node) {
  node.FExpanded = node.Expanded();
  node.FItem = nullptr;
  for (auto& child : node.FChildren) ForgetWindowItems(*child);
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = WindowHandle();
  if (FImages) SendMessageW(h, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages->Handle()));
  TTreeNode* selected = FSelected;
  FRecreating = true;
  for (auto& root : FItems.FRoots) InsertNode(*root);
  FRecreating = false;
  if (selected) SetSelected(selected);
}

void TCustomTreeView::DestroyWnd() {
  if (WindowHandle()) {
    FSelected = Selected();
    for (auto& root : FItems.FRoots) ForgetWindowItems(*root);
  }
  FRecreating = true;
  try {
    TWinControl::DestroyWnd();
  } catch (...) {
    FRecreating = false;
    throw;
  }
  FRecreating = false;
}

void TCustomTreeView::WndProc(TMessage& message) {
  if (message.Msg != CN_NOTIFY) return TWinControl::WndProc(message);
  const auto* nm = reinterpret_cast<const NMTREEVIEWW*>(message.LParam);
  message.Result = 0;
  switch (nm->hdr.code) {
    case TVN_SELCHANGEDW:
      if (FRecreating) return;
      FSelected = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
      OnChange(this, FSelected);
      return;
    case TVN_ITEMEXPANDEDW:
      if (auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam))
        node->FExpanded = (nm->action & TVE_EXPAND) != 0;
      return;
    case TVN_BEGINLABELEDITW:
      message.Result = FReadOnly ? TRUE : FALSE;
      return;
    case TVN_ENDLABELEDITW: {
      const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(message.LParam);
      if (auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam); node && info->item.pszText) {
        node->FText = Narrow(info->item.pszText);
        message.Result = TRUE;
      }
      return;
    }
  }
}

}  // namespace bw::win
