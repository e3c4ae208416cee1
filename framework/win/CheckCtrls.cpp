#include "framework/win/CheckCtrls.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

int LineHeightOf(TFont& font) {
  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TSelectGuard select(dc.Get(), font.Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  return metrics.tmHeight;
}

DWORD TextSideStyle(TAlignment alignment) { return alignment == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0; }

}  // namespace

// ---- TCustomCheckBox

const core::TPropInfo TCustomCheckBox::kProps[] = {
    core::BoolProp<&TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed>("AllowGrayed", false),
    core::EnumProp<&TCustomCheckBox::State, &TCustomCheckBox::SetState>("State", core::kCheckBoxStateInfo,
                                                                      TCheckBoxState::cbUnchecked),
    core::BoolProp<&TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked>("Checked", false),
    core::EnumProp<&TCustomCheckBox::FAlignment, &TCustomCheckBox::SetAlignment>(
        "Alignment", core::kAlignmentInfo, TAlignment::taRightJustify),
};
const core::TClassInfo TCustomCheckBox::kClass{"TCustomCheckBox", &TButtonControl::kClass, kProps, {}};
const core::TClassInfo TCheckBox::kClass{"TCheckBox", &TCustomCheckBox::kClass, {}, {},
                                         &core::CreateComponentOf<TCheckBox>};

TCustomCheckBox::TCustomCheckBox(core::TComponent* owner) : TButtonControl(owner) {
  FWidth = 97;
  FHeight = 17;
  FTabStop = true;
}

TCheckBoxState TCustomCheckBox::State() const {
  if (!WindowHandle()) return FState;
  switch (SendMessageW(WindowHandle(), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return TCheckBoxState::cbChecked;
    case BST_INDETERMINATE: return TCheckBoxState::cbGrayed;
    default: return TCheckBoxState::cbUnchecked;
  }
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == State()) return;
  FState = state;
  if (WindowHandle()) SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
  if (!IsLoading()) Click();
}

void TCustomCheckBox::SetChecked(bool checked) {
  SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCustomCheckBox::SetAlignment(TAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (State()) {
    case TCheckBoxState::cbUnchecked:
      SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
  }
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.SystemClass = L"BUTTON";
  params.Style |= BS_3STATE | TextSideStyle(FAlignment);
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::DestroyWnd() {
  FState = State();  // the window's state outlives a re-creation
  TButtonControl::DestroyWnd();
}

void TCustomCheckBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == BN_CLICKED) Toggle();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(message.WParam), FCaption) && CanFocus() && Showing()) {
        SetFocus();
        if (Focused()) Toggle();
        message.Result = 1;
        return;
      }
      break;
  }
  TButtonControl::WndProc(message);
}

// ---- TRadioButton

const core::TPropInfo TRadioButton::kProps[] = {
    core::BoolProp<&TRadioButton::Checked, &TRadioButton::SetChecked>("Checked", false),
    core::EnumProp<&TRadioButton::FAlignment, &TRadioButton::SetAlignment>("Alignment", core::kAlignmentInfo,
                                                                         TAlignment::taRightJustify),
};
const core::TClassInfo TRadioButton::kClass{"TRadioButton", &TButtonControl::kClass, kProps, {},
                                            &core::CreateComponentOf<TRadioButton>};

TRadioButton::TRadioButton(core::TComponent* owner) : TButtonControl(owner) {
  FWidth = 113;
  FHeight = 17;
}

bool TRadioButton::Checked() const {
  if (!WindowHandle()) return FChecked;
  return SendMessageW(WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == Checked()) return;
  FChecked = checked;
  SetTabStop(checked);  // the group is entered at its checked button
  if (WindowHandle()) SendMessageW(WindowHandle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!checked) return;
  if (FParent)
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(FParent->Controls(i)); other && other != this)
        other->SetChecked(false);
  if (!IsLoading()) Click();
}

void TRadioButton::SetAlignment(TAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.SystemClass = L"BUTTON";
  params.Style |= BS_RADIOBUTTON | TextSideStyle(FAlignment);
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::DestroyWnd() {
  FChecked = Checked();
  TButtonControl::DestroyWnd();
}

void TRadioButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == BN_CLICKED) SetChecked(true);
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(message.WParam), FCaption) && CanFocus() && Showing()) {
        SetFocus();
        if (Focused()) SetChecked(true);
        message.Result = 1;
        return;
      }
      break;
  }
  TButtonControl::WndProc(message);
}

// ---- TCustomGroupBox

const core::TClassInfo TCustomGroupBox::kClass{"TCustomGroupBox", &TCustomControl::kClass, {}, {}};
const core::TClassInfo TGroupBox::kClass{"TGroupBox", &TCustomGroupBox::kClass, {}, {},
                                         &core::CreateComponentOf<TGroupBox>};

TCustomGroupBox::TCustomGroupBox(core::TComponent* owner) : TCustomControl(owner) {
  FWidth = 185;
  FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;  // dialog navigation walks into the group
}

int TCustomGroupBox::CaptionHeight() { return LineHeightOf(*FFont); }

void TCustomGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  const RECT client = ClientRect();
  canvas.Brush().SetColor(FColor);
  canvas.FillRect(client);
  HDC dc = canvas.Handle();
  const int lineHeight = CaptionHeight();
  // The frame line runs through the middle of the caption, which interrupts it.
  RECT frame{0, lineHeight / 2 - 1, client.right, client.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (FCaption.empty()) return;
  const std::wstring text = Widen(FCaption);
  RECT textRect{8, 0, 8, lineHeight};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_CALCRECT | DT_SINGLELINE);
  textRect.right = std::min(textRect.right, client.right - 8);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(FColor));
  SetTextColor(dc, ColorToRGB(FEnabled ? FFont->Color() : clGrayText));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_END_ELLIPSIS);
}

// ---- TCustomRadioGroup

const core::TPropInfo TCustomRadioGroup::kProps[] = {
    core::StringsProp<&TCustomRadioGroup::Items>("Items"),
    core::IntProp<&TCustomRadioGroup::FItemIndex, &TCustomRadioGroup::SetItemIndex>("ItemIndex", -1),
    core::IntProp<&TCustomRadioGroup::FColumns, &TCustomRadioGroup::SetColumns>("Columns", 1),
    core::EventProp<&TCustomRadioGroup::OnChange>("OnChange"),
};
const core::TClassInfo TCustomRadioGroup::kClass{"TCustomRadioGroup", &TCustomGroupBox::kClass, kProps, {}};
const core::TClassInfo TRadioGroup::kClass{"TRadioGroup", &TCustomRadioGroup::kClass, {}, {},
                                           &core::CreateComponentOf<TRadioGroup>};

TCustomRadioGroup::TCustomRadioGroup(core::TComponent* owner)
    : TCustomGroupBox(owner), FItems(std::make_unique<core::TStringList>()) {
  FItems->OnChange = [this](core::TObject*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = nullptr;
  // The buttons go with the group (it owns them); they must not call back into it.
  for (TRadioButton* button : FButtons) button->OnClick = nullptr;
  FButtons.clear();
}

void TCustomRadioGroup::SetItemIndex(int index) {
  if (IsLoading()) {
    FItemIndex = index;  // the items may come later; Loaded settles it
    return;
  }
  if (index < -1 || index >= FItems->Count()) index = -1;
  FUpdating = true;
  for (int i = 0; i < ButtonCount(); ++i) FButtons[static_cast<size_t>(i)]->SetChecked(i == index);
  FUpdating = false;
  ItemChanged(index);
}

void TCustomRadioGroup::SetColumns(int columns) {
  FColumns = std::clamp(columns, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::ItemChanged(int index) {
  if (index == FItemIndex) return;
  FItemIndex = index;
  if (IsLoading()) return;
  OnChange(this);
  Click();
}

void TCustomRadioGroup::ButtonClicked(TRadioButton* button) {
  if (FUpdating || !button->Checked()) return;
  const auto it = std::find(FButtons.begin(), FButtons.end(), button);
  if (it != FButtons.end()) ItemChanged(static_cast<int>(it - FButtons.begin()));
}

void TCustomRadioGroup::UpdateButtons() {
  const auto count = static_cast<size_t>(FItems->Count());
  FUpdating = true;
  while (FButtons.size() > count) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (FButtons.size() < count) {
    auto* button = new TRadioButton(this);
    button->OnClick = [this, button](core::TObject*) { ButtonClicked(button); };
    button->SetParentColor(true);
    button->SetEnabled(FEnabled);
    button->SetParent(this);
    FButtons.push_back(button);
  }
  if (!IsLoading() && FItemIndex >= static_cast<int>(count)) FItemIndex = -1;
  for (size_t i = 0; i < count; ++i) {
    FButtons[i]->SetCaption(FItems->Get(static_cast<std::int32_t>(i)));
    FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
  }
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  const int count = ButtonCount();
  const int perColumn = (count + FColumns - 1) / FColumns;
  const int buttonWidth = (FWidth - 10) / FColumns;
  const int lineHeight = CaptionHeight();
  const int room = FHeight - lineHeight - 5;
  const int buttonHeight = room / perColumn;
  const int top = lineHeight + 1 + (room % perColumn) / 2;
  for (int i = 0; i < count; ++i)
    FButtons[static_cast<size_t>(i)]->SetBounds((i / perColumn) * buttonWidth + 8,
                                                (i % perColumn) * buttonHeight + top, buttonWidth, buttonHeight);
}

void TCustomRadioGroup::BoundsChanged() {
  TCustomGroupBox::BoundsChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::WndProc(TMessage& message) {
  if (message.Msg == CM_ENABLEDCHANGED)
    for (TRadioButton* button : FButtons) button->SetEnabled(FEnabled);
  TCustomGroupBox::WndProc(message);
}

void RegisterCheckControls() {
  for (const core::TClassInfo* cls : {&TCheckBox::kClass, &TRadioButton::kClass, &TGroupBox::kClass,
                                      &TRadioGroup::kClass})
    core::RegisterComponentClass(*cls);
}

}  // namespace bw::win
