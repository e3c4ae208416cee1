#include "framework/win/ListBox.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Text.h"

namespace bw::win {

const core::TPropInfo TCustomListBox::kProps[] = {
    core::EnumProp<&TCustomListBox::FStyle, &TCustomListBox::SetStyle>("Style", core::kListBoxStyleInfo,
                                                                     TListBoxStyle::lbStandard),
    core::IntProp<&TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight>("ItemHeight", 16),
    core::StringsProp<&TCustomListBox::Items>("Items"),
    core::IntProp<&TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex>("ItemIndex", -1),
    core::EnumProp<&TCustomListBox::FBorderStyle, &TCustomListBox::SetBorderStyle>(
        "BorderStyle", core::kBorderStyleInfo, TBorderStyle::bsSingle),
    core::EventProp<&TCustomListBox::OnDrawItem>("OnDrawItem"),
    core::EventProp<&TCustomListBox::OnMeasureItem>("OnMeasureItem"),
};
const core::TClassInfo TCustomListBox::kClass{"TCustomListBox", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TListBox::kClass{"TListBox", &TCustomListBox::kClass, {}, {},
                                        &core::CreateComponentOf<TListBox>};

TCustomListBox::TCustomListBox(core::TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<core::TStringList>()) {
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FColor = clWindow;
  FItems->OnChange = [this](core::TObject*) { CopyItemsToWindow(); };
}

TCustomListBox::~TCustomListBox() {
  FItems->OnChange = nullptr;
  FCanvas.SetHandle(nullptr);
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
  if (WindowHandle() && FStyle == TListBoxStyle::lbStandard)
    return static_cast<int>(SendMessageW(WindowHandle(), LB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int height) {
  if (height < 1) return;
  FItemHeight = height;
  if (WindowHandle() && FStyle != TListBoxStyle::lbOwnerDrawVariable) {
    SendMessageW(WindowHandle(), LB_SETITEMHEIGHT, 0, height);
    Invalidate();
  }
}

void TCustomListBox::SetBorderStyle(TBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = L"LISTBOX";
  // Keeps its size whatever the item height; the vertical bar is the list's own.
  params.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  if (FStyle == TListBoxStyle::lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == TListBoxStyle::lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FBorderStyle == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (FStyle == TListBoxStyle::lbStandard && FItemHeight != 16)
    SendMessageW(WindowHandle(), LB_SETITEMHEIGHT, 0, FItemHeight);
  CopyItemsToWindow();
}

void TCustomListBox::DestroyWnd() {
  if (WindowHandle()) FItemIndex = ItemIndex();
  TWinControl::DestroyWnd();
}

void TCustomListBox::CopyItemsToWindow() {
  HWND h = WindowHandle();
  if (!h) return;
  const LRESULT top = SendMessageW(h, LB_GETTOPINDEX, 0, 0);
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  for (std::int32_t i = 0; i < FItems->Count(); ++i) {
    const std::wstring item = Widen(FItems->Get(i));
    SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  SendMessageW(h, LB_SETTOPINDEX, static_cast<WPARAM>(std::max<LRESULT>(top, 0)), 0);
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

int TCustomListBox::ItemIndex() const {
  if (WindowHandle()) return static_cast<int>(SendMessageW(WindowHandle(), LB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TCustomListBox::SetItemIndex(int index) {
  FItemIndex = index;
  if (WindowHandle()) SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == LBN_SELCHANGE) {
        FItemIndex = ItemIndex();
        Click();
      }
      return;
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      int height = FItemHeight;
      const int index = static_cast<int>(item->itemID);
      if (FStyle == TListBoxStyle::lbOwnerDrawVariable && index >= 0) OnMeasureItem(this, index, height);
      item->itemHeight = static_cast<UINT>(std::max(height, 1));
      message.Result = TRUE;
      return;
    }
    case CN_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
      const int index = static_cast<int>(item->itemID);
      DrawListItem(*this, FCanvas, *item, index >= 0 && index < FItems->Count() ? FItems->Get(index) : std::string(),
                   OnDrawItem);
      message.Result = TRUE;
      return;
    }
  }
  TWinControl::WndProc(message);
}

void RegisterListBox() { core::RegisterComponentClass(TListBox::kClass); }

}  // namespace bw::win
