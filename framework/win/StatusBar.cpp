#include "framework/win/StatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/win/ComCtrls.h"
#include "framework/win/Text.h"

namespace bw::win {

// ---- TStatusPanel

const core::TPropInfo TStatusPanel::kProps[] = {
    core::StrProp<&TStatusPanel::FText, &TStatusPanel::SetText>("Text"),
    core::IntProp<&TStatusPanel::FWidth, &TStatusPanel::SetWidth>("Width", 50),
    core::EnumProp<&TStatusPanel::FBevel, &TStatusPanel::SetBevel>("Bevel", core::kStatusPanelBevelInfo,
                                                                   TStatusPanelBevel::pbLowered),
    core::EnumProp<&TStatusPanel::FStyle, &TStatusPanel::SetStyle>("Style", core::kStatusPanelStyleInfo,
                                                                   TStatusPanelStyle::psText),
    core::EnumProp<&TStatusPanel::FAlignment, &TStatusPanel::SetAlignment>("Alignment", core::kAlignmentInfo,
                                                                           core::TAlignment::taLeftJustify),
    core::EnumProp<&TStatusPanel::FBiDiMode, &TStatusPanel::SetBiDiMode>("BiDiMode", core::kBiDiModeInfo,
                                                                         TBiDiMode::bdLeftToRight),
};
const core::TClassInfo TStatusPanel::kClass{"TStatusPanel", &core::TCollectionItem::kClass, kProps, {}};
const core::TClassInfo TStatusPanels::kClass{"TStatusPanels", &core::TCollection::kClass, {}, {}};

void TStatusPanel::Changed() {
  if (auto* bar = dynamic_cast<TCustomStatusBar*>(Collection().GetOwner())) bar->UpdatePanels();
}

void TStatusPanel::SetText(const std::string& text) {
  FText = text;
  Changed();
}

void TStatusPanel::SetWidth(int widthPx) {
  FWidth = std::max(widthPx, 0);
  Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel bevel) {
  FBevel = bevel;
  Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle style) {
  FStyle = style;
  Changed();
}

void TStatusPanel::SetAlignment(core::TAlignment alignment) {
  FAlignment = alignment;
  Changed();
}

void TStatusPanel::SetBiDiMode(TBiDiMode mode) {
  FBiDiMode = mode;
  Changed();
}

void TStatusPanel::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const TStatusPanel*>(&source);
  if (!other) return core::TCollectionItem::Assign(source);
  FText = other->FText;
  FWidth = other->FWidth;
  FBevel = other->FBevel;
  FStyle = other->FStyle;
  FAlignment = other->FAlignment;
  FBiDiMode = other->FBiDiMode;
  Changed();
}

TStatusPanels::TStatusPanels(TCustomStatusBar& owner)
    : core::TCollection(&owner, &core::CreateItemOf<TStatusPanel>) {}

// ---- TCustomStatusBar

const core::TPropInfo TCustomStatusBar::kProps[] = {
    core::BoolProp<&TCustomStatusBar::FSimplePanel, &TCustomStatusBar::SetSimplePanel>("SimplePanel", false),
    core::StrProp<&TCustomStatusBar::FSimpleText, &TCustomStatusBar::SetSimpleText>("SimpleText"),
    core::ObjProp<&TCustomStatusBar::Panels>("Panels"),
    core::BoolProp<&TCustomStatusBar::FSizeGrip, &TCustomStatusBar::SetSizeGrip>("SizeGrip", true),
    core::EnumProp<&TCustomStatusBar::FBiDiMode, &TCustomStatusBar::SetBiDiMode>("BiDiMode", core::kBiDiModeInfo,
                                                                                 TBiDiMode::bdLeftToRight),
    core::EventProp<&TCustomStatusBar::OnDrawPanel>("OnDrawPanel"),
};
const core::TClassInfo TCustomStatusBar::kClass{"TCustomStatusBar", &TWinControl::kClass, kProps, {}};
const core::TClassInfo TStatusBar::kClass{"TStatusBar", &TCustomStatusBar::kClass, {}, {},
                                          &core::CreateComponentOf<TStatusBar>};

TCustomStatusBar::TCustomStatusBar(core::TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(*this)) {
  FWidth = 200;
  FHeight = 19;
  FAlign = core::TAlign::alBottom;
  FPanels->OnChange = [this](core::TObject*) { UpdatePanels(); };
}

TCustomStatusBar::~TCustomStatusBar() {
  FCanvas.FreeHandle();
  FPanels->OnChange = nullptr;
}

void TCustomStatusBar::SetSimplePanel(bool simple) {
  FSimplePanel = simple;
  UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string& text) {
  FSimpleText = text;
  UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool on) {
  if (on == FSizeGrip) return;
  FSizeGrip = on;
  RecreateWnd();
}

void TCustomStatusBar::SetBiDiMode(TBiDiMode mode) {
  FBiDiMode = mode;
  UpdatePanels();
}

void TCustomStatusBar::CreateParams(TCreateParams& params) {
  EnsureCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(params);
  params.SystemClass = STATUSCLASSNAMEW;
  // The framework places the bar (Align); the window keeps the size it is given.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (FSizeGrip) params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
}

namespace {
// The status bar aligns by tabs in the text: one centres, two right-justify.
std::wstring AlignedText(const std::string& text, core::TAlignment alignment) {
  switch (alignment) {
    case core::TAlignment::taCenter: return L"\t" + Widen(text);
    case core::TAlignment::taRightJustify: return L"\t\t" + Widen(text);
    case core::TAlignment::taLeftJustify: break;
  }
  return Widen(text);
}
bool RightToLeft(TBiDiMode mode) { return mode != TBiDiMode::bdLeftToRight; }
}  // namespace

void TCustomStatusBar::UpdatePanels() {
  HWND h = WindowHandle();
  if (!h) return;
  const bool simple = FSimplePanel || FPanels->Count() == 0;
  SendMessageW(h, SB_SIMPLE, simple ? TRUE : FALSE, 0);
  if (simple) {
    const std::wstring text = AlignedText(FSimpleText, RightToLeft(FBiDiMode) ? core::TAlignment::taRightJustify
                                                                              : core::TAlignment::taLeftJustify);
    SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID | (RightToLeft(FBiDiMode) ? SBT_RTLREADING : 0),
                 reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  // The window holds at most 256 parts; the last one reaches the right edge.
  const int count = std::min<int>(FPanels->Count(), 255);
  std::vector<int> edges(static_cast<size_t>(count));
  int x = 0;
  for (int i = 0; i < count; ++i) {
    x += FPanels->Items(i).Width();
    edges[static_cast<size_t>(i)] = i == count - 1 ? -1 : x;
  }
  SendMessageW(h, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < count; ++i) UpdatePanelText(i);
}

void TCustomStatusBar::UpdatePanelText(int index) {
  const TStatusPanel& panel = FPanels->Items(index);
  WPARAM flags = static_cast<WPARAM>(index);
  if (panel.Bevel() == TStatusPanelBevel::pbNone) flags |= SBT_NOBORDERS;
  if (panel.Bevel() == TStatusPanelBevel::pbRaised) flags |= SBT_POPOUT;
  if (RightToLeft(panel.BiDiMode())) flags |= SBT_RTLREADING;
  if (panel.Style() == TStatusPanelStyle::psOwnerDraw) {
    SendMessageW(WindowHandle(), SB_SETTEXTW, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(&panel));
    return;
  }
  core::TAlignment alignment = panel.Alignment();
  if (RightToLeft(panel.BiDiMode()) && alignment != core::TAlignment::taCenter)
    alignment = alignment == core::TAlignment::taLeftJustify ? core::TAlignment::taRightJustify
                                                             : core::TAlignment::taLeftJustify;
  const std::wstring text = AlignedText(panel.Text(), alignment);
  SendMessageW(WindowHandle(), SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TCustomStatusBar::PanelRect(int index, RECT& rect) const {
  if (!WindowHandle()) return false;
  return SendMessageW(WindowHandle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != 0;
}

void TCustomStatusBar::WndProc(TMessage& message) {
  // A DC taken for drawing outside a paint is given back before the window paints or goes.
  if (message.Msg == WM_PAINT || message.Msg == WM_NCDESTROY) FCanvas.FreeHandle();
  if (message.Msg == CN_DRAWITEM) {
    FCanvas.FreeHandle();
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    const int index = static_cast<int>(item->itemID);
    if (index >= 0 && index < FPanels->Count()) {
      FCanvas.Font().Assign(*FFont);
      FCanvas.SetHandle(item->hDC);
      try {
        OnDrawPanel(this, &FPanels->Items(index), item->rcItem);
      } catch (...) {
        FCanvas.SetHandle(nullptr);
        throw;
      }
      FCanvas.SetHandle(nullptr);
    }
    message.Result = TRUE;
    return;
  }
  TWinControl::WndProc(message);
}

}  // namespace bw::win
