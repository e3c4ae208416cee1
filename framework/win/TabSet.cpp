#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Tabs.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {
constexpr int kTabPaddingPx = 9;  // a tab is as wide as its text and this
constexpr int kSlantPx = 4;       // the sides of a tab lean in by this much at the bottom
}  // namespace

// ---- TTabScroller

const core::TClassInfo TTabScroller::kClass{"TTabScroller", &TCustomControl::kClass, {}, {}};

TTabScroller::TTabScroller(TTabSet& tabSet) : TCustomControl(&tabSet), FTabSet(tabSet) {
  FWidth = kWidthPx;
  FHeight = 15;
  FVisible = false;
}

void TTabScroller::Paint() {
  const int half = FWidth / 2;
  RECT left{0, 0, half, FHeight}, right{half, 0, FWidth, FHeight};
  const bool canLeft = FTabSet.FFirstIndex > 0;
  const bool canRight = FTabSet.FFirstIndex + FTabSet.VisibleTabCount() < FTabSet.Tabs()->Count();
  HDC dc = Canvas().Handle();
  DrawFrameControl(dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT | (canLeft && FEnabled ? 0 : DFCS_INACTIVE));
  DrawFrameControl(dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT | (canRight && FEnabled ? 0 : DFCS_INACTIVE));
}

void TTabScroller::MouseDown(TMouseButton button, int x, int y) {
  TCustomControl::MouseDown(button, x, y);
  if (button != TMouseButton::mbLeft) return;
  FTabSet.SetFirstIndex(FTabSet.FFirstIndex + (x < FWidth / 2 ? -1 : 1));
}

// ---- TTabSet

const core::TPropInfo TTabSet::kProps[] = {
    core::StringsProp<&TTabSet::Tabs>("Tabs"),
    core::IntProp<&TTabSet::FTabIndex, &TTabSet::SetTabIndex>("TabIndex", -1),
    core::IntProp<&TTabSet::FStartMargin, &TTabSet::SetStartMargin>("StartMargin", 5),
    core::IntProp<&TTabSet::FEndMargin, &TTabSet::SetEndMargin>("EndMargin", 5),
    core::IntProp<&TTabSet::FFirstIndex, &TTabSet::SetFirstIndex>("FirstIndex", 0),
    core::EventProp<&TTabSet::OnChange>("OnChange"),
};
const core::TClassInfo TTabSet::kClass{"TTabSet", &TCustomControl::kClass, kProps, {},
                                       &core::CreateComponentOf<TTabSet>};

TTabSet::TTabSet(core::TComponent* owner) : TCustomControl(owner), FTabs(std::make_unique<core::TStringList>()) {
  FWidth = 185;
  FHeight = 21;
  FDoubleBuffered = true;
  // First owned component, so that code taking the tab set over finds it there.
  FScroller = new TTabScroller(*this);
  FScroller->SetParent(this);
  FTabs->OnChange = [this](core::TObject*) {
    if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
    FFirstIndex = std::clamp(FFirstIndex, 0, std::max(FTabs->Count() - 1, 0));
    Arrange();
  };
}

TTabSet::~TTabSet() {
  Destroying();
  FTabs->OnChange = nullptr;
}

void TTabSet::SetTabIndex(int index) {
  if (index < -1 || (index >= FTabs->Count() && !IsLoading())) return;
  if (index == FTabIndex) return;
  FTabIndex = index;
  // Bring the selected tab into view.
  if (index >= 0 && !IsLoading()) {
    if (index < FFirstIndex) FFirstIndex = index;
    while (FFirstIndex < index && index >= FFirstIndex + VisibleTabCount()) ++FFirstIndex;
  }
  Arrange();
  if (!IsLoading()) OnChange(this);
}

void TTabSet::SetStartMargin(int px) {
  FStartMargin = std::max(px, 0);
  Arrange();
}

void TTabSet::SetEndMargin(int px) {
  FEndMargin = std::max(px, 0);
  Arrange();
}

void TTabSet::SetFirstIndex(int index) {
  if (!IsLoading()) index = std::clamp(index, 0, std::max(FTabs->Count() - 1, 0));
  if (index == FFirstIndex) return;
  FFirstIndex = index;
  Arrange();
}

int TTabSet::TabWidth(const std::string& text) const {
  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TSelectGuard font(dc.Get(), FFont->Handle());
  const std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx + kTabPaddingPx;
}

TTabSet::TLayout TTabSet::Layout() const {
  TLayout layout;
  std::vector<int> widths;
  int total = 0;
  for (int i = 0; i < FTabs->Count(); ++i) {
    widths.push_back(TabWidth(FTabs->Get(i)));
    total += widths.back();
  }
  layout.ScrollerShown = FFirstIndex > 0 || FStartMargin + total > FWidth - FEndMargin;
  const int limit = FWidth - FEndMargin - (layout.ScrollerShown ? TTabScroller::kWidthPx : 0);
  int x = FStartMargin;
  for (int i = std::max(FFirstIndex, 0); i < FTabs->Count(); ++i) {
    const int w = widths[static_cast<size_t>(i)];
    if (x + w > limit) break;
    layout.Rects.push_back(RECT{x, 0, x + w, FHeight - 2});
    x += w;
  }
  return layout;
}

int TTabSet::VisibleTabCount() const { return static_cast<int>(Layout().Rects.size()); }

bool TTabSet::TabRect(int index, RECT& rect) const {
  const TLayout layout = Layout();
  const int at = index - FFirstIndex;
  if (at < 0 || at >= static_cast<int>(layout.Rects.size())) return false;
  rect = layout.Rects[static_cast<size_t>(at)];
  return true;
}

int TTabSet::TabAtPos(POINT p) const {
  const TLayout layout = Layout();
  for (size_t i = 0; i < layout.Rects.size(); ++i)
    if (PtInRect(&layout.Rects[i], p)) return FFirstIndex + static_cast<int>(i);
  return -1;
}

void TTabSet::Arrange() {
  if (IsDestroying() || !FScroller) return;
  const TLayout layout = Layout();
  FScroller->SetBounds(FWidth - FEndMargin - TTabScroller::kWidthPx + 2, 2, TTabScroller::kWidthPx,
                       std::max(FHeight - 6, 8));
  FScroller->SetVisible(layout.ScrollerShown);
  FScroller->Invalidate();
  Invalidate();
}

void TTabSet::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;  // the scroller paints itself
}

void TTabSet::BoundsChanged() {
  TCustomControl::BoundsChanged();
  Arrange();
}

void TTabSet::FontChanged() {
  TCustomControl::FontChanged();
  Arrange();
}

void TTabSet::Paint() {
  TCanvas& canvas = Canvas();
  const RECT client{0, 0, FWidth, FHeight};
  canvas.Brush().SetColor(FColor);
  canvas.FillRect(client);
  HDC dc = canvas.Handle();
  // The tabs hang from a line along the top: the page they belong to is above.
  TPenHandle dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
  TBrushHandle face(CreateSolidBrush(ColorToRGB(FColor)));
  TBrushHandle selectedFace(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  {
    TSelectGuard pen(dc, dark.Get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, FWidth, 0);
  }
  const TLayout layout = Layout();
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(FEnabled ? FFont->Color() : clGrayText));
  for (size_t i = 0; i < layout.Rects.size(); ++i) {
    const int index = FFirstIndex + static_cast<int>(i);
    const RECT& r = layout.Rects[i];
    const bool selected = index == FTabIndex;
    const POINT shape[] = {{r.left, r.top},
                           {r.left + kSlantPx, r.bottom - 1},
                           {r.right - kSlantPx, r.bottom - 1},
                           {r.right, r.top}};
    {
      TSelectGuard pen(dc, dark.Get());
      TSelectGuard brush(dc, selected ? selectedFace.Get() : face.Get());
      Polygon(dc, shape, 4);
    }
    if (selected) {  // open towards the page above
      RECT gap{r.left + 1, 0, r.right, 1};
      FillRect(dc, &gap, selectedFace.Get());
    }
    RECT textRect = r;
    const std::wstring text = Widen(FTabs->Get(index));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void TTabSet::MouseDown(TMouseButton button, int x, int y) {
  TCustomControl::MouseDown(button, x, y);
  if (button != TMouseButton::mbLeft) return;
  const int index = TabAtPos(POINT{x, y});
  if (index >= 0) SetTabIndex(index);
}

}  // namespace bw::win
