#include "framework/win/Tabs.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/win/ComCtrls.h"
#include "framework/win/ImageList.h"
#include "framework/win/Text.h"

namespace bw::win {

// ---- TCustomTabControl

const core::TPropInfo TCustomTabControl::kProps[] = {
    core::EnumProp<&TCustomTabControl::FTabPosition, &TCustomTabControl::SetTabPosition>(
        "TabPosition", core::kTabPositionInfo, TTabPosition::tpTop),
    core::ObjProp<&TCustomTabControl::Images, &TCustomTabControl::SetImages>("Images"),
    core::EventProp<&TCustomTabControl::OnChange>("OnChange"),
    core::EventProp<&TCustomTabControl::OnChanging>("OnChanging"),
};
const core::TClassInfo TCustomTabControl::kClass{"TCustomTabControl", &TWinControl::kClass, kProps, {}};

TCustomTabControl::TCustomTabControl(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
}

TCustomTabControl::~TCustomTabControl() {
  if (FImages) FImages->RemoveFreeNotification(*this);
}

void TCustomTabControl::SetTabPosition(TTabPosition position) {
  if (position == FTabPosition) return;
  FTabPosition = position;
  RecreateWnd();
}

void TCustomTabControl::SetImages(TImageList* images) {
  if (FImages) FImages->RemoveFreeNotification(*this);
  FImages = images;
  if (FImages) FImages->FreeNotification(*this);
  if (HWND h = WindowHandle()) {
    SendMessageW(h, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    UpdateTabItems(TabIndex());
  }
}

void TCustomTabControl::Notification(core::TComponent& component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FImages) SetImages(nullptr);
}

int TCustomTabControl::TabIndex() const {
  if (HWND h = WindowHandle()) return static_cast<int>(SendMessageW(h, TCM_GETCURSEL, 0, 0));
  return FTabIndex;
}

RECT TCustomTabControl::DisplayRect() const {
  RECT r{0, 0, FWidth, FHeight};
  if (HWND h = WindowHandle()) {
    GetClientRect(h, &r);
    SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // Without a window, a guess the window corrects once it exists.
  constexpr int kStripPx = 24, kEdgePx = 4;
  InflateRect(&r, -kEdgePx, -kEdgePx);
  switch (FTabPosition) {
    case TTabPosition::tpTop: r.top += kStripPx; break;
    case TTabPosition::tpBottom: r.bottom -= kStripPx; break;
    case TTabPosition::tpLeft: r.left += kStripPx; break;
    case TTabPosition::tpRight: r.right -= kStripPx; break;
  }
  return r;
}

bool TCustomTabControl::TabRect(int index, RECT& rect) const {
  HWND h = WindowHandle();
  return h && SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != 0;
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_TAB_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = WC_TABCONTROLW;
  params.Style |= WS_CLIPCHILDREN;
  switch (FTabPosition) {
    case TTabPosition::tpTop: break;
    case TTabPosition::tpBottom: params.Style |= TCS_BOTTOM; break;
    // Tabs at the side need several rows; the system draws them only so.
    case TTabPosition::tpLeft: params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case TTabPosition::tpRight: params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImages)
    SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  UpdateTabItems(FTabIndex);
}

void TCustomTabControl::UpdateTabItems(int selected) {
  const std::vector<TTabItem> items = TabItems();
  if (selected < -1 || selected >= static_cast<int>(items.size())) selected = -1;
  FTabIndex = selected;
  HWND h = WindowHandle();
  if (!h) return;
  SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < items.size(); ++i) {
    std::wstring text = Widen(items[i].Text);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = FImages ? items[i].ImageIndex : -1;
    SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
  AlignControls();  // the page area changes with the rows of tabs
}

void TCustomTabControl::SelectTab(int index) {
  FTabIndex = index;
  if (HWND h = WindowHandle()) SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() { OnChange(this); }

void TCustomTabControl::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    message.Result = 0;
    if (header->code == static_cast<UINT>(TCN_SELCHANGING)) {
      message.Result = CanChange() ? FALSE : TRUE;
    } else if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      FTabIndex = TabIndex();
      Change();
    }
    return;
  }
  TWinControl::WndProc(message);
}

// ---- TTabControl

const core::TPropInfo TTabControl::kProps[] = {
    core::StringsProp<&TTabControl::Tabs>("Tabs"),
    core::IntProp<&TCustomTabControl::TabIndex, &TTabControl::SetTabIndex>("TabIndex", -1),
};
const core::TClassInfo TTabControl::kClass{"TTabControl", &TCustomTabControl::kClass, kProps, {},
                                           &core::CreateComponentOf<TTabControl>};

TTabControl::TTabControl(core::TComponent* owner)
    : TCustomTabControl(owner), FTabs(std::make_unique<core::TStringList>()) {
  FTabs->OnChange = [this](core::TObject*) {
    const int index = TabIndex();
    UpdateTabItems(index < 0 && FTabs->Count() > 0 ? 0 : index);
  };
}

TTabControl::~TTabControl() { FTabs->OnChange = nullptr; }

void TTabControl::SetTabIndex(int index) {
  if (WindowHandle() && (index < -1 || index >= FTabs->Count())) return;
  SelectTab(index);
}

std::vector<TCustomTabControl::TTabItem> TTabControl::TabItems() const {
  std::vector<TTabItem> items;
  for (int i = 0; i < FTabs->Count(); ++i) items.push_back({FTabs->Get(i), i});
  return items;
}

// ---- TTabSheet

const core::TPropInfo TTabSheet::kProps[] = {
    core::BoolProp<&TTabSheet::FTabVisible, &TTabSheet::SetTabVisible>("TabVisible", true),
    core::IntProp<&TTabSheet::FImageIndex, &TTabSheet::SetImageIndex>("ImageIndex", -1),
    core::IntProp<&TTabSheet::PageIndex, &TTabSheet::SetPageIndex>("PageIndex", core::kNoDefault),
};
const core::TClassInfo TTabSheet::kClass{"TTabSheet", &TWinControl::kClass, kProps, {},
                                         &core::CreateComponentOf<TTabSheet>};

TTabSheet::TTabSheet(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 200;
  FHeight = 150;
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl && !FPageControl->IsDestroying()) FPageControl->RemovePage(*this);
  FPageControl = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

void TTabSheet::SetParent(TWinControl* parent) {
  TPageControl* old = FPageControl;
  TWinControl::SetParent(parent);
  auto* now = dynamic_cast<TPageControl*>(Parent());
  if (now == old) return;
  if (old) old->RemovePage(*this);
  FPageControl = now;
  if (now) now->InsertPage(*this);
}

void TTabSheet::SetTabVisible(bool visible) {
  FTabVisible = visible;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int index) {
  FImageIndex = index;
  if (FPageControl) FPageControl->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (FPageControl) FPageControl->MovePage(*this, index);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* page : FPageControl->FPages) {
    if (page == this) return n;
    if (page->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::TextChanged() {
  if (FPageControl) FPageControl->UpdateTabs();
}

// ---- TPageControl

const core::TPropInfo TPageControl::kProps[] = {
    core::ObjProp<&TPageControl::ActivePage, &TPageControl::SetActivePage>("ActivePage"),
    core::IntProp<&TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex>("ActivePageIndex", -1),
};
const core::TClassInfo TPageControl::kClass{"TPageControl", &TCustomTabControl::kClass, kProps, {},
                                            &core::CreateComponentOf<TPageControl>};

TPageControl::TPageControl(core::TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
  return index >= 0 && index < PageCount() ? FPages[static_cast<size_t>(index)] : nullptr;
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* page : FPages)
    if (page->TabVisible() && tabIndex-- == 0) return page;
  return nullptr;
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) { SetActivePage(Pages(index)); }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  FActivePage = page;
  SelectTab(page ? page->TabIndex() : -1);
  PlaceSheets();
}

void TPageControl::InsertPage(TTabSheet& page) {
  FPages.push_back(&page);
  if (!FActivePage) FActivePage = &page;
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet& page) {
  auto it = std::find(FPages.begin(), FPages.end(), &page);
  if (it == FPages.end()) return;
  const size_t at = static_cast<size_t>(it - FPages.begin());
  FPages.erase(it);
  if (FActivePage == &page) FActivePage = FPages.empty() ? nullptr : FPages[std::min(at, FPages.size() - 1)];
  if (!IsDestroying()) UpdateTabs();
}

void TPageControl::MovePage(TTabSheet& page, int index) {
  auto it = std::find(FPages.begin(), FPages.end(), &page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  index = std::clamp(index, 0, PageCount());
  FPages.insert(FPages.begin() + index, &page);
  UpdateTabs();
}

std::vector<TCustomTabControl::TTabItem> TPageControl::TabItems() const {
  std::vector<TTabItem> items;
  for (TTabSheet* page : FPages)
    if (page->TabVisible()) items.push_back({page->Caption(), page->ImageIndex()});
  return items;
}

void TPageControl::UpdateTabs() {
  if (IsDestroying()) return;
  UpdateTabItems(FActivePage ? FActivePage->TabIndex() : -1);
  PlaceSheets();
}

void TPageControl::PlaceSheets() {
  const RECT r = DisplayRect();
  for (TTabSheet* page : FPages) {
    if (page != FActivePage) page->SetVisible(false);
    page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  if (FActivePage) FActivePage->SetVisible(true);
}

void TPageControl::Change() {
  FActivePage = PageOfTab(TabIndex());
  PlaceSheets();
  TCustomTabControl::Change();
}

void TPageControl::CreateWnd() {
  TCustomTabControl::CreateWnd();
  UpdateTabs();
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  UpdateTabs();
}

void TPageControl::WndProc(TMessage& message) {
  TCustomTabControl::WndProc(message);
  if (message.Msg == WM_SIZE) PlaceSheets();
}

}  // namespace bw::win
