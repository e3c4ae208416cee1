#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "framework/win/ComCtrls.h"
#include "framework/win/ImageList.h"
#include "framework/win/ListView.h"
#include "framework/win/Text.h"

namespace bw::win {

// ---- THeaderSection

const core::TPropInfo THeaderSection::kProps[] = {
    core::StrProp<&THeaderSection::FText, &THeaderSection::SetText>("Text"),
    core::IntProp<&THeaderSection::FWidth, &THeaderSection::SetWidth>("Width", 50),
    core::EnumProp<&THeaderSection::FAlignment, &THeaderSection::SetAlignment>("Alignment", core::kAlignmentInfo,
                                                                               core::TAlignment::taLeftJustify),
    core::IntProp<&THeaderSection::FImageIndex, &THeaderSection::SetImageIndex>("ImageIndex", -1),
};
const core::TClassInfo THeaderSection::kClass{"THeaderSection", &core::TCollectionItem::kClass, kProps, {}};
const core::TClassInfo THeaderSections::kClass{"THeaderSections", &core::TCollection::kClass, {}, {}};

THeaderSections::THeaderSections(THeaderControl& owner)
    : core::TCollection(&owner, &core::CreateItemOf<THeaderSection>) {}

void THeaderSection::Changed() {
  if (auto* header = dynamic_cast<THeaderControl*>(Collection().GetOwner())) header->UpdateSections();
}

void THeaderSection::SetText(const std::string& text) {
  FText = text;
  Changed();
}

void THeaderSection::SetWidth(int widthPx) {
  FWidth = std::max(widthPx, 0);
  Changed();
}

void THeaderSection::SetAlignment(core::TAlignment alignment) {
  FAlignment = alignment;
  Changed();
}

void THeaderSection::SetImageIndex(int index) {
  FImageIndex = index;
  Changed();
}

void THeaderSection::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const THeaderSection*>(&source);
  if (!other) return core::TCollectionItem::Assign(source);
  FText = other->FText;
  FWidth = other->FWidth;
  FAlignment = other->FAlignment;
  FImageIndex = other->FImageIndex;
  Changed();
}

// ---- THeaderControl

const core::TPropInfo THeaderControl::kProps[] = {
    core::ObjProp<&THeaderControl::Sections>("Sections"),
    core::ObjProp<&THeaderControl::Images, &THeaderControl::SetImages>("Images"),
    core::EventProp<&THeaderControl::OnSectionClick>("OnSectionClick"),
};
const core::TClassInfo THeaderControl::kClass{"THeaderControl", &TWinControl::kClass, kProps, {},
                                              &core::CreateComponentOf<THeaderControl>};

THeaderControl::THeaderControl(core::TComponent* owner)
    : TWinControl(owner), FSections(std::make_unique<THeaderSections>(*this)) {
  FWidth = 200;
  FHeight = 17;
  FAlign = core::TAlign::alTop;
  FSections->OnChange = [this](core::TObject*) { UpdateSections(); };
}

THeaderControl::~THeaderControl() {
  Destroying();
  FSections->OnChange = nullptr;
  if (FImages) FImages->RemoveFreeNotification(*this);
}

void THeaderControl::SetImages(TImageList* images) {
  if (FImages) FImages->RemoveFreeNotification(*this);
  FImages = images;
  if (FImages) FImages->FreeNotification(*this);
  if (HWND h = WindowHandle()) {
    SendMessageW(h, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    UpdateSections();
  }
}

void THeaderControl::Notification(core::TComponent& component, core::TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FImages) SetImages(nullptr);
}

void THeaderControl::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_LISTVIEW_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = WC_HEADERW;
  params.Style |= HDS_BUTTONS | HDS_HORZ;
}

void THeaderControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImages) SendMessageW(WindowHandle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  UpdateSections();
}

void THeaderControl::UpdateSections() {
  HWND h = WindowHandle();
  if (!h) return;
  while (SendMessageW(h, HDM_GETITEMCOUNT, 0, 0) > 0)
    if (!SendMessageW(h, HDM_DELETEITEM, 0, 0)) break;
  for (int i = 0; i < FSections->Count(); ++i) {
    const THeaderSection& section = FSections->Items(i);
    std::wstring text = Widen(section.Text());
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = section.Width();
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    item.fmt = HDF_STRING;
    switch (section.Alignment()) {
      case core::TAlignment::taLeftJustify: item.fmt |= HDF_LEFT; break;
      case core::TAlignment::taRightJustify: item.fmt |= HDF_RIGHT; break;
      case core::TAlignment::taCenter: item.fmt |= HDF_CENTER; break;
    }
    if (FImages && section.ImageIndex() >= 0) {
      item.mask |= HDI_IMAGE;
      item.fmt |= HDF_IMAGE;
      item.iImage = section.ImageIndex();
    }
    SendMessageW(h, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    const auto* nm = reinterpret_cast<const NMHEADERW*>(message.LParam);
    message.Result = 0;
    const bool inRange = nm->iItem >= 0 && nm->iItem < FSections->Count();
    switch (nm->hdr.code) {
      case HDN_ITEMCLICKW:
      case HDN_ITEMCLICKA:
        if (inRange) OnSectionClick(this, &FSections->Items(nm->iItem));
        break;
      case HDN_ENDTRACKW:
      case HDN_ENDTRACKA:
        // The user's width, kept without rebuilding the window's items.
        if (inRange && nm->pitem && (nm->pitem->mask & HDI_WIDTH)) FSections->Items(nm->iItem).FWidth = nm->pitem->cxy;
        break;
    }
    return;
  }
  TWinControl::WndProc(message);
}

}  // namespace bw::win
