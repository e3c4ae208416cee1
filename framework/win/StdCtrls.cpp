#include "framework/win/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Forms.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"

namespace bw::win {

TCustomForm* GetParentForm(const TControl* control) {
  for (const TControl* c = control; c; c = c->Parent())
    if (auto* form = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(form);
  return nullptr;
}

// ---- TCustomLabel

const core::TPropInfo TCustomLabel::kProps[] = {
    core::BoolProp<&TCustomLabel::FTransparent, &TCustomLabel::SetTransparent>("Transparent", false),
    core::EnumProp<&TCustomLabel::FAlignment, &TCustomLabel::SetAlignment>("Alignment", core::kAlignmentInfo,
                                                              TAlignment::taLeftJustify),
    core::BoolProp<&TCustomLabel::FWordWrap, &TCustomLabel::SetWordWrap>("WordWrap", false),
    core::BoolProp<&TCustomLabel::FAutoSize, &TCustomLabel::SetAutoSize>("AutoSize", true),
};
const core::TClassInfo TCustomLabel::kClass{"TCustomLabel", &TGraphicControl::kClass, kProps, {}};
const core::TClassInfo TLabel::kClass{"TLabel", &TCustomLabel::kClass, {}, {}, &core::CreateComponentOf<TLabel>};

TCustomLabel::TCustomLabel(core::TComponent* owner) : TGraphicControl(owner) {
  FWidth = 65;
  FHeight = 17;
  FParentColor = true;
}

void TCustomLabel::SetTransparent(bool transparent) {
  FTransparent = transparent;
  Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
  FAlignment = alignment;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool wrap) {
  FWordWrap = wrap;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
  FAutoSize = autoSize;
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading()) return;
  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TSelectGuard font(dc.Get(), FFont->Handle());
  const std::wstring text = Widen(FCaption.empty() ? std::string(" ") : FCaption);
  RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : 0));
  SetBounds(FLeft, FTop, FWordWrap ? FWidth : r.right, r.bottom);
}

void TCustomLabel::Paint() {
  RECT r = ClientRect();
  TCanvas& canvas = Canvas();
  if (!FTransparent) {
    canvas.Brush().SetColor(FParentColor && FParent ? FParent->Color() : FColor);
    canvas.FillRect(r);
  }
  canvas.Font().Assign(*FFont);
  if (!FEnabled) canvas.Font().SetColor(clGrayText);
  HDC dc = canvas.Handle();
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  UINT format = DT_EXPANDTABS | DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : 0);
  if (FAlignment == TAlignment::taRightJustify) format |= DT_RIGHT;
  if (FAlignment == TAlignment::taCenter) format |= DT_CENTER;
  const std::wstring text = Widen(FCaption);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  SetBkMode(dc, oldMode);
}

// ---- TCustomPanel

const core::TPropInfo TCustomPanel::kProps[] = {
    core::EnumProp<&TCustomPanel::FBevelOuter, &TCustomPanel::SetBevelOuter>("BevelOuter", core::kBevelCutInfo,
                                                                TBevelCut::bvRaised),
    core::EnumProp<&TCustomPanel::FBevelInner, &TCustomPanel::SetBevelInner>("BevelInner", core::kBevelCutInfo,
                                                                TBevelCut::bvNone),
    core::IntProp<&TCustomPanel::FBevelWidth, &TCustomPanel::SetBevelWidth>("BevelWidth", 1),
};
const core::TClassInfo TCustomPanel::kClass{"TCustomPanel", &TCustomControl::kClass, kProps, {}};
const core::TClassInfo TPanel::kClass{"TPanel", &TCustomPanel::kClass, {}, {}, &core::CreateComponentOf<TPanel>};

TCustomPanel::TCustomPanel(core::TComponent* owner) : TCustomControl(owner) {
  FWidth = 185;
  FHeight = 41;
}

void TCustomPanel::SetBevelOuter(TBevelCut bevel) {
  FBevelOuter = bevel;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut bevel) {
  FBevelInner = bevel;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int width) {
  FBevelWidth = std::max(width, 0);
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

namespace {

// A raised or lowered frame of `width` pixels, moving `r` inwards.
void Bevel(HDC dc, RECT& r, TBevelCut cut, int width) {
  if (cut == TBevelCut::bvNone) return;
  if (cut == TBevelCut::bvSpace) {
    InflateRect(&r, -width, -width);
    return;
  }
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF topLeft = cut == TBevelCut::bvRaised ? light : dark;
  const COLORREF bottomRight = cut == TBevelCut::bvRaised ? dark : light;
  for (int i = 0; i < width; ++i) {
    TBrushHandle tl(CreateSolidBrush(topLeft)), br(CreateSolidBrush(bottomRight));
    RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, tl.Get());
    FillRect(dc, &left, tl.Get());
    FillRect(dc, &bottom, br.Get());
    FillRect(dc, &right, br.Get());
    InflateRect(&r, -1, -1);
  }
}

}  // namespace

void TCustomPanel::Paint() {
  RECT r = ClientRect();
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(FColor);
  canvas.FillRect(r);
  HDC dc = canvas.Handle();
  Bevel(dc, r, FBevelOuter, FBevelWidth);
  Bevel(dc, r, FBevelInner, FBevelWidth);
  if (!FCaption.empty()) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const std::wstring text = Widen(FCaption);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, oldMode);
  }
}

// ---- owner-drawn items

TOwnerDrawState OwnerDrawStateOf(UINT itemState) {
  TOwnerDrawState state;
  const struct {
    UINT Bit;
    TOwnerDrawStateFlag Flag;
  } bits[] = {{ODS_SELECTED, TOwnerDrawStateFlag::odSelected}, {ODS_GRAYED, TOwnerDrawStateFlag::odGrayed},
              {ODS_DISABLED, TOwnerDrawStateFlag::odDisabled}, {ODS_CHECKED, TOwnerDrawStateFlag::odChecked},
              {ODS_FOCUS, TOwnerDrawStateFlag::odFocused},     {ODS_DEFAULT, TOwnerDrawStateFlag::odDefault},
              {ODS_COMBOBOXEDIT, TOwnerDrawStateFlag::odComboBoxEdit}};
  for (const auto& b : bits)
    if (itemState & b.Bit) state.Include(b.Flag);
  return state;
}

void DrawListItem(TWinControl& control, TCanvas& canvas, const DRAWITEMSTRUCT& item, const std::string& text,
                  const TDrawItemEvent& onDrawItem) {
  const TOwnerDrawState state = OwnerDrawStateOf(item.itemState);
  const bool selected = state.Contains(TOwnerDrawStateFlag::odSelected);
  canvas.SetHandle(item.hDC);
  canvas.Font().Assign(*control.Font());
  canvas.Brush().SetColor(selected ? clHighlight : control.Color());
  if (selected) canvas.Font().SetColor(clHighlightText);
  if (!control.Enabled()) canvas.Font().SetColor(clGrayText);
  try {
    const int index = static_cast<int>(item.itemID);
    if (index >= 0 && onDrawItem) {
      onDrawItem(&control, index, item.rcItem, state);
    } else {
      canvas.FillRect(item.rcItem);
      if (index >= 0) {
        HDC dc = canvas.Handle();
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        RECT r = item.rcItem;
        r.left += 2;
        const std::wstring wide = Widen(text);
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SetBkMode(dc, oldMode);
      }
    }
    if (state.Contains(TOwnerDrawStateFlag::odFocused)) DrawFocusRect(canvas.Handle(), &item.rcItem);
  } catch (...) {
    canvas.SetHandle(nullptr);
    throw;
  }
  canvas.SetHandle(nullptr);
}

// ---- TCustomComboBox

const core::TPropInfo TCustomComboBox::kProps[] = {
    core::EnumProp<&TCustomComboBox::FStyle, &TCustomComboBox::SetStyle>("Style", core::kComboBoxStyleInfo,
                                                            TComboBoxStyle::csDropDown),
    core::StringsProp<&TCustomComboBox::Items>("Items"),
    core::IntProp<&TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex>("ItemIndex", -1),
    core::StrProp<&TCustomComboBox::Text, &TCustomComboBox::SetText>("Text"),
    core::IntProp<&TCustomComboBox::FDropDownCount, &TCustomComboBox::SetDropDownCount>("DropDownCount", 8),
    core::IntProp<&TCustomComboBox::FItemHeight, &TCustomComboBox::SetItemHeight>("ItemHeight", 16),
    core::EventProp<&TCustomComboBox::OnSelect>("OnSelect"),
    core::EventProp<&TCustomComboBox::OnChange>("OnChange"),
    core::EventProp<&TCustomComboBox::OnDrawItem>("OnDrawItem"),
    core::EventProp<&TCustomComboBox::OnMeasureItem>("OnMeasureItem"),
};
const core::TClassInfo TCustomComboBox::kClass{"TCustomComboBox", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TComboBox::kClass{"TComboBox", &TCustomComboBox::kClass, {}, {}, &core::CreateComponentOf<TComboBox>};

TCustomComboBox::TCustomComboBox(core::TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<core::TStringList>()) {
  FWidth = 145;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  FItems->OnChange = [this](core::TObject*) { CopyItemsToWindow(); };
}

TCustomComboBox::~TCustomComboBox() {
  FItems->OnChange = nullptr;
  FCanvas.SetHandle(nullptr);
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  RecreateWnd();
}

bool TCustomComboBox::OwnerDraw() const {
  return FStyle == TComboBoxStyle::csOwnerDrawFixed || FStyle == TComboBoxStyle::csOwnerDrawVariable;
}

bool TCustomComboBox::Editable() const {
  return FStyle == TComboBoxStyle::csDropDown || FStyle == TComboBoxStyle::csSimple;
}

void TCustomComboBox::SetItemHeight(int height) {
  if (height < 1 || height == FItemHeight) return;
  FItemHeight = height;
  if (WindowHandle() && FStyle == TComboBoxStyle::csOwnerDrawFixed) {
    SendMessageW(WindowHandle(), CB_SETITEMHEIGHT, 0, height);
    Invalidate();
  }
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = L"COMBOBOX";
  params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case TComboBoxStyle::csSimple: params.Style |= CBS_SIMPLE; break;
    case TComboBoxStyle::csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case TComboBoxStyle::csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case TComboBoxStyle::csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    case TComboBoxStyle::csDropDown: params.Style |= CBS_DROPDOWN; break;
  }
  if (!Editable()) params.Caption.clear();  // the text of a list style is its selected item
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  CopyItemsToWindow();
  if (Editable() && FItemIndex < 0) SetWindowTextW(WindowHandle(), Widen(FCaption).c_str());
}

void TCustomComboBox::DestroyWnd() {
  if (WindowHandle()) {
    FItemIndex = ItemIndex();
    if (Editable()) {
      // What was typed wins over a selection it no longer matches.
      FCaption = Text();
      if (FItemIndex >= 0 && FItemIndex < FItems->Count() && FItems->Get(FItemIndex) != FCaption) FItemIndex = -1;
    }
  }
  TWinControl::DestroyWnd();
}

void TCustomComboBox::CopyItemsToWindow() {
  HWND h = WindowHandle();
  if (!h) return;
  SendMessageW(h, CB_RESETCONTENT, 0, 0);
  for (std::int32_t i = 0; i < FItems->Count(); ++i) {
    const std::wstring item = Widen(FItems->Get(i));
    SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex < FItems->Count() ? FItemIndex : -1), 0);
}

int TCustomComboBox::ItemIndex() const {
  if (WindowHandle()) return static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
  return FItemIndex;
}

void TCustomComboBox::SetItemIndex(int index) {
  FItemIndex = index;
  if (WindowHandle()) SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TCustomComboBox::Text() const {
  const int index = ItemIndex();
  if (!Editable()) return index >= 0 && index < FItems->Count() ? FItems->Get(index) : std::string();
  if (!WindowHandle()) return FCaption;
  const int length = GetWindowTextLengthW(WindowHandle());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(WindowHandle(), text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

void TCustomComboBox::SetText(const std::string& text) {
  if (!Editable()) {
    SetItemIndex(FItems->IndexOf(text));
    return;
  }
  if (WindowHandle()) {
    SetTextThroughWindow(text);  // also when FCaption is out of step with what was typed
  } else {
    SetCaption(text);
  }
}

void TCustomComboBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(message.WParam)) {
        case CBN_SELCHANGE: {
          FItemIndex = static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
          // The edit takes the item's text only after this notification: give it now, so
          // that the handlers read the new text.
          if (Editable() && FItemIndex >= 0 && FItemIndex < FItems->Count())
            SetTextThroughWindow(FItems->Get(FItemIndex));
          OnSelect(this);
          OnChange(this);
          break;
        }
        case CBN_EDITCHANGE:
          FCaption = Text();
          OnChange(this);
          break;
      }
      return;
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      int height = FItemHeight;
      const int index = static_cast<int>(item->itemID);
      if (FStyle == TComboBoxStyle::csOwnerDrawVariable && index >= 0) OnMeasureItem(this, index, height);
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

// ---- TProgressBar

const core::TPropInfo TProgressBar::kProps[] = {
    core::IntProp<&TProgressBar::FMin, &TProgressBar::SetMin>("Min", 0),
    core::IntProp<&TProgressBar::FMax, &TProgressBar::SetMax>("Max", 100),
    core::IntProp<&TProgressBar::FPosition, &TProgressBar::SetPosition>("Position", 0),
    core::BoolProp<&TProgressBar::FSmooth, &TProgressBar::SetSmooth>("Smooth", false),
    core::EnumProp<&TProgressBar::FOrientation, &TProgressBar::SetOrientation>(
        "Orientation", core::kProgressBarOrientationInfo, TProgressBarOrientation::pbHorizontal),
};
const core::TClassInfo TProgressBar::kClass{"TProgressBar", &TWinControl::kClass, kProps, {},
                                            &core::CreateComponentOf<TProgressBar>};

TProgressBar::TProgressBar(core::TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.SystemClass = PROGRESS_CLASSW;
  if (FSmooth) params.Style |= PBS_SMOOTH;
  if (FOrientation == TProgressBarOrientation::pbVertical) params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetMin(int value) {
  FMin = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SetPosition(FPosition);
}

void TProgressBar::SetMax(int value) {
  FMax = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SetPosition(FPosition);
}

void TProgressBar::SetPosition(int value) {
  value = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (value == FPosition && !WindowHandle()) return;
  FPosition = value;
  if (WindowHandle()) SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void TProgressBar::SetSmooth(bool smooth) {
  if (smooth == FSmooth) return;
  FSmooth = smooth;
  RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation orientation) {
  if (orientation == FOrientation) return;
  FOrientation = orientation;
  if (!IsLoading()) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

}  // namespace bw::win
