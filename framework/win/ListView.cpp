#include "framework/win/ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/win/ComCtrls.h"
#include "framework/win/ImageList.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {
int ColumnFormat(core::TAlignment alignment) {
  switch (alignment) {
    case core::TAlignment::taRightJustify: return LVCFMT_RIGHT;
    case core::TAlignment::taCenter: return LVCFMT_CENTER;
    case core::TAlignment::taLeftJustify: break;
  }
  return LVCFMT_LEFT;
}

DWORD ViewStyleBits(TViewStyle style) {
  switch (style) {
    case TViewStyle::vsIcon: return LVS_ICON;
    case TViewStyle::vsSmallIcon: return LVS_SMALLICON;
    case TViewStyle::vsList: return LVS_LIST;
    case TViewStyle::vsReport: return LVS_REPORT;
  }
  return LVS_ICON;
}
}  // namespace

// ---- TListColumn

const core::TPropInfo TListColumn::kProps[] = {
    core::StrProp<&TListColumn::FCaption, &TListColumn::SetCaption>("Caption"),
    core::IntProp<&TListColumn::Width, &TListColumn::SetWidth>("Width", 50),
    core::EnumProp<&TListColumn::FAlignment, &TListColumn::SetAlignment>("Alignment", core::kAlignmentInfo,
                                                                         core::TAlignment::taLeftJustify),
};
const core::TClassInfo TListColumn::kClass{"TListColumn", &core::TCollectionItem::kClass, kProps, {}};
const core::TClassInfo TListColumns::kClass{"TListColumns", &core::TCollection::kClass, {}, {}};

TListColumns::TListColumns(TCustomListView& owner) : core::TCollection(&owner, &core::CreateItemOf<TListColumn>) {}

TCustomListView* TListColumn::ListView() const { return dynamic_cast<TCustomListView*>(Collection().GetOwner()); }

void TListColumn::Changed() {
  if (TCustomListView* lv = ListView()) lv->UpdateColumns();
}

void TListColumn::SetCaption(const std::string& caption) {
  FCaption = caption;
  Changed();
}

int TListColumn::Width() const {
  const TCustomListView* lv = ListView();
  if (lv && lv->WindowHandle() && lv->ViewStyle() == TViewStyle::vsReport) {
    const int w = static_cast<int>(SendMessageW(lv->WindowHandle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    if (w > 0) return w;
  }
  return FWidth;
}

void TListColumn::SetWidth(int widthPx) {
  FWidth = std::max(widthPx, 0);
  if (TCustomListView* lv = ListView(); lv && lv->WindowHandle())
    SendMessageW(lv->WindowHandle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(Index()), FWidth);
}

void TListColumn::SetAlignment(core::TAlignment alignment) {
  FAlignment = alignment;
  Changed();
}

void TListColumn::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const TListColumn*>(&source);
  if (!other) return core::TCollectionItem::Assign(source);
  FCaption = other->FCaption;
  FWidth = other->Width();
  FAlignment = other->FAlignment;
  Changed();
}

// ---- TListItem

const core::TPropInfo TListItem::kProps[] = {
    core::StrProp<&TListItem::FCaption, &TListItem::SetCaption>("Caption"),
    core::IntProp<&TListItem::FImageIndex, &TListItem::SetImageIndex>("ImageIndex", -1),
    core::StringsProp<&TListItem::SubItems>("SubItems"),
};
const core::TClassInfo TListItem::kClass{"TListItem", &core::TCollectionItem::kClass, kProps, {}};
const core::TClassInfo TListItems::kClass{"TListItems", &core::TCollection::kClass, {}, {}};

TListItems::TListItems(TCustomListView& owner) : core::TCollection(&owner, &core::CreateItemOf<TListItem>) {}

TListItem::TListItem(core::TCollection& collection)
    : core::TCollectionItem(collection), FSubItems(std::make_unique<core::TStringList>()) {
  FSubItems->OnChange = [this](core::TObject*) { Changed(); };
}

TListItem::~TListItem() { FSubItems->OnChange = nullptr; }

TCustomListView* TListItem::ListView() const { return dynamic_cast<TCustomListView*>(Collection().GetOwner()); }

void TListItem::Changed() {
  if (TCustomListView* lv = ListView()) lv->UpdateItem(Index());
}

void TListItem::SetCaption(const std::string& caption) {
  FCaption = caption;
  Changed();
}

void TListItem::SetImageIndex(int index) {
  FImageIndex = index;
  Changed();
}

bool TListItem::Selected() const {
  const TCustomListView* lv = ListView();
  if (!lv || !lv->WindowHandle()) return FSelected;
  return (SendMessageW(lv->WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_SELECTED) &
          LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool selected) {
  FSelected = selected;
  if (TCustomListView* lv = ListView(); lv && lv->WindowHandle()) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(lv->WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
  }
}

void TListItem::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const TListItem*>(&source);
  if (!other) return core::TCollectionItem::Assign(source);
  FCaption = other->FCaption;
  FImageIndex = other->FImageIndex;
  FSubItems->Assign(*other->FSubItems);  // calls Changed
}

// ---- TCustomListView

const core::TPropInfo TCustomListView::kProps[] = {
    core::EnumProp<&TCustomListView::FViewStyle, &TCustomListView::SetViewStyle>("ViewStyle", core::kViewStyleInfo,
                                                                                 TViewStyle::vsIcon),
    core::ObjProp<&TCustomListView::Columns>("Columns"),
    core::ObjProp<&TCustomListView::Items>("Items"),
    core::ObjProp<&TCustomListView::LargeImages, &TCustomListView::SetLargeImages>("LargeImages"),
    core::ObjProp<&TCustomListView::SmallImages, &TCustomListView::SetSmallImages>("SmallImages"),
    core::BoolProp<&TCustomListView::FRowSelect, &TCustomListView::SetRowSelect>("RowSelect", false),
    core::BoolProp<&TCustomListView::FReadOnly, &TCustomListView::SetReadOnly>("ReadOnly", false),
    core::EnumProp<&TCustomListView::FBorderStyle, &TCustomListView::SetBorderStyle>(
        "BorderStyle", core::kBorderStyleInfo, TBorderStyle::bsSingle),
    core::EventProp<&TCustomListView::OnSelectItem>("OnSelectItem"),
    core::EventProp<&TCustomListView::OnChange>("OnChange"),
    core::EventProp<&TCustomListView::OnColumnClick>("OnColumnClick"),
};
const core::TClassInfo TCustomListView::kClass{"TCustomListView", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TListView::kClass{"TListView", &TCustomListView::kClass, {}, {},
                                         &core::CreateComponentOf<TListView>};

TCustomListView::TCustomListView(core::TComponent* owner)
    : TWinControl(owner),
      FColumns(std::make_unique<TListColumns>(*this)),
      FItems(std::make_unique<TListItems>(*this)) {
  FWidth = 250;
  FHeight = 150;
  FTabStop = true;
  FColor = clWindow;
  FColumns->OnChange = [this](core::TObject*) { UpdateColumns(); };
  FItems->OnChange = [this](core::TObject*) { UpdateItems(); };
}

TCustomListView::~TCustomListView() {
  Destroying();
  FColumns->OnChange = nullptr;
  FItems->OnChange = nullptr;
  for (TImageList* images : {FLargeImages, FSmallImages})
    if (images) images->RemoveFreeNotification(*this);
}

void TCustomListView::SetViewStyle(TViewStyle style) {
  FViewStyle = style;
  if (HWND h = WindowHandle()) {
    // The list view changes its view in place.
    LONG_PTR bits = GetWindowLongPtrW(h, GWL_STYLE);
    bits = (bits & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | ViewStyleBits(style);
    SetWindowLongPtrW(h, GWL_STYLE, bits);
    InvalidateRect(h, nullptr, TRUE);
  }
}

void TCustomListView::SetImageList(TImageList*& field, TImageList* images, int which) {
  TImageList* old = field;
  field = images;
  if (old && old != FLargeImages && old != FSmallImages) old->RemoveFreeNotification(*this);
  if (images) images->FreeNotification(*this);
  if (HWND h = WindowHandle())
    SendMessageW(h, LVM_SETIMAGELIST, static_cast<WPARAM>(which),
                 reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TCustomListView::SetLargeImages(TImageList* images) { SetImageList(FLargeImages, images, LVSIL_NORMAL); }
void TCustomListView::SetSmallImages(TImageList* images) { SetImageList(FSmallImages, images, LVSIL_SMALL); }

void TCustomListView::Notification(core::TComponent& component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != core::TOperation::opRemove) return;
  if (&component == FLargeImages) SetLargeImages(nullptr);
  if (&component == FSmallImages) SetSmallImages(nullptr);
}

void TCustomListView::SetRowSelect(bool on) {
  FRowSelect = on;
  if (HWND h = WindowHandle())
    SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
}

void TCustomListView::SetReadOnly(bool on) {
  FReadOnly = on;
  if (HWND h = WindowHandle()) {
    LONG_PTR bits = GetWindowLongPtrW(h, GWL_STYLE);
    bits = on ? (bits & ~static_cast<LONG_PTR>(LVS_EDITLABELS)) : (bits | LVS_EDITLABELS);
    SetWindowLongPtrW(h, GWL_STYLE, bits);
  }
}

void TCustomListView::SetBorderStyle(TBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

HWND TCustomListView::HeaderHandle() const {
  HWND h = WindowHandle();
  return h ? reinterpret_cast<HWND>(SendMessageW(h, LVM_GETHEADER, 0, 0)) : nullptr;
}

int TCustomListView::ItemIndex() const {
  if (HWND h = WindowHandle())
    return static_cast<int>(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i).FSelected) return i;
  return -1;
}

void TCustomListView::SetItemIndex(int index) {
  for (int i = 0; i < FItems->Count(); ++i)
    if (i != index) FItems->Items(i).SetSelected(false);
  if (index >= 0 && index < FItems->Count()) FItems->Items(index).SetSelected(true);
}

TListItem* TCustomListView::Selected() const {
  const int index = ItemIndex();
  return index >= 0 && index < FItems->Count() ? &FItems->Items(index) : nullptr;
}

void TCustomListView::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_LISTVIEW_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = WC_LISTVIEWW;
  // The image lists belong to their components, not to the window.
  params.Style |= ViewStyleBits(FViewStyle) | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE;
  if (!FReadOnly) params.Style |= LVS_EDITLABELS;
  if (FBorderStyle == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = WindowHandle();
  if (FRowSelect) SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (FLargeImages) SendMessageW(h, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages->Handle()));
  if (FSmallImages) SendMessageW(h, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages->Handle()));
  UpdateColumns();
  UpdateItems();
}

void TCustomListView::UpdateColumns() {
  HWND h = WindowHandle();
  if (!h) return;
  while (SendMessageW(h, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < FColumns->Count(); ++i) {
    const TListColumn& column = FColumns->Items(i);
    std::wstring text = Widen(column.Caption());
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = ColumnFormat(column.Alignment());
    c.cx = column.FWidth;
    c.pszText = text.data();
    c.iSubItem = i;
    SendMessageW(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
  }
  UpdateItems();  // sub-items go into columns that exist
}

void TCustomListView::UpdateItem(int index) {
  HWND h = WindowHandle();
  if (!h || index < 0 || index >= FItems->Count()) return;
  const TListItem& source = FItems->Items(index);
  std::wstring text = Widen(source.Caption());
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = text.data();
  item.iImage = source.ImageIndex();
  SendMessageW(h, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (int j = 0; j < source.SubItems()->Count(); ++j) {
    std::wstring sub = Widen(source.SubItems()->Get(j));
    LVITEMW s{};
    s.iSubItem = j + 1;
    s.pszText = sub.data();
    SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s));
  }
}

void TCustomListView::UpdateItems() {
  HWND h = WindowHandle();
  if (!h || FUpdating) return;
  FUpdating = true;
  // Keep the selection the user made: window items carry their item's id.
  const int shown = static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < shown; ++i) {
    LVITEMW probe{};
    probe.mask = LVIF_PARAM | LVIF_STATE;
    probe.iItem = i;
    probe.stateMask = LVIS_SELECTED;
    if (!SendMessageW(h, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&probe))) continue;
    if (auto* item = dynamic_cast<TListItem*>(FItems->FindItemID(static_cast<std::int32_t>(probe.lParam))))
      item->FSelected = (probe.state & LVIS_SELECTED) != 0;
  }
  SendMessageW(h, LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < FItems->Count(); ++i) {
    const TListItem& source = FItems->Items(i);
    std::wstring text = Widen(source.Caption());
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = i;
    item.pszText = text.data();
    item.iImage = source.ImageIndex();
    item.lParam = source.ID();
    item.stateMask = LVIS_SELECTED;
    item.state = source.FSelected ? LVIS_SELECTED : 0;
    SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    UpdateItem(i);
  }
  FUpdating = false;
}

void TCustomListView::Notify(TMessage& message) {
  const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
  message.Result = 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      const auto* nm = reinterpret_cast<const NMLISTVIEW*>(message.LParam);
      if (FUpdating || nm->iItem < 0 || nm->iItem >= FItems->Count()) return;
      TListItem& item = FItems->Items(nm->iItem);
      if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)) {
        item.FSelected = (nm->uNewState & LVIS_SELECTED) != 0;
        OnSelectItem(this, &item, item.FSelected);
      }
      OnChange(this, &item);
      return;
    }
    case LVN_COLUMNCLICK: {
      const auto* nm = reinterpret_cast<const NMLISTVIEW*>(message.LParam);
      if (nm->iSubItem >= 0 && nm->iSubItem < FColumns->Count()) OnColumnClick(this, &FColumns->Items(nm->iSubItem));
      return;
    }
    case LVN_BEGINLABELEDITW:
      message.Result = FReadOnly ? TRUE : FALSE;
      return;
    case LVN_ENDLABELEDITW: {
      const auto* nm = reinterpret_cast<const NMLVDISPINFOW*>(message.LParam);
      if (nm->item.pszText && nm->item.iItem >= 0 && nm->item.iItem < FItems->Count()) {
        FItems->Items(nm->item.iItem).FCaption = Narrow(nm->item.pszText);
        message.Result = TRUE;
      }
      return;
    }
  }
}

void TCustomListView::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) return Notify(message);
  TWinControl::WndProc(message);
}

}  // namespace bw::win
