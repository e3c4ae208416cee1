// The gallery's tab control in each strip position, page control, tab set, header control
// and list-view header drawn from the skin, read back from the screen: the frame each tab
// shows by state, text colours, side strips turned (text reading bottom to top on the
// left), the page border, scroll arrows left visible, a header item without text, no GDI
// growth, and the same in the second skin.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/controls/Combos.h"
#include "skin/controls/ListViews.h"
#include "skin/controls/Tabs.h"
#include "skin/draw/ImgUtil.h"
#include "skin/draw/SkinDraw.h"
#include "tests/skin/controls/GalleryPainters.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);


std::unique_ptr<win::TBitmap> Copy(win::TBitmap& source) {
  auto copy = std::make_unique<win::TBitmap>(source.Width(), source.Height(), win::TPixelFormat::pf24bit);
  BitBlt(copy->Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
  return copy;
}

enum class TTurn { None, CounterClockwise, Clockwise };

// Which frame of the skin image, composed to the tab's size lying and turned as the strip
// shows it, the window shows at `at` (window coordinates), judged on the pixels `judged`
// picks (x, y, width, height of the turned image); 0 when none or several match.
int ShownFrame(HWND window, const RECT& at, win::TBitmap& source, TDataSkinObject& skin, TTurn turn,
               const std::function<bool(int, int, int, int)>& judged) {
  const bool side = turn != TTurn::None;
  const int along = side ? at.bottom - at.top : at.right - at.left;
  const int across = side ? at.right - at.left : at.bottom - at.top;
  auto shot = WindowShot(window);
  const int frames = std::max(skin.Frame, 1);
  int found = 0;
  for (int f = 1; f <= frames; ++f) {
    auto want = GetHMap(RECT{0, 0, along, across}, source, skin.Margins, f, frames, skin.Tile != 0, false);
    if (!want) return 0;
    if (turn == TTurn::CounterClockwise) Drehen270Grad(*want);
    if (turn == TTurn::Clockwise) Drehen90Grad(*want);
    const int w = want->Width(), h = want->Height();
    bool same = true;
    int compared = 0;
    for (int y = 0; y < h && same; ++y)
      for (int x = 0; x < w && same; ++x) {
        const COLORREF c = want->Canvas().Pixel(x, y);
        const int sx = at.left + x, sy = at.top + y;
        if (!judged(x, y, w, h) || c == kMagenta || sx < 0 || sy < 0 || sx >= shot->Width() || sy >= shot->Height())
          continue;
        ++compared;
        same = shot->Canvas().Pixel(sx, sy) == c;
      }
    if (same && compared > 0) {
      if (found) return 0;
      found = f;
    }
  }
  return found;
}

// The frame tab `index` shows, judged within 2 px of its outer edge and on its sides'
// outer third (no text there, and the page border never reaches them).
int ShownTabFrame(HWND tabs, int index, TDataSkinBorder& skin, TSkinTabPosition position) {
  RECT at{};
  if (!SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&at))) return 0;
  if (position == TSkinTabPosition::StTop) OffsetRect(&at, 0, 1);
  if (position == TSkinTabPosition::Stbottom || position == TSkinTabPosition::Stright) OffsetRect(&at, 0, -1);
  auto source = Copy(skin.Bitmap);
  if (position == TSkinTabPosition::Stbottom) SpiegelnVertikal(*source);
  const TTurn turn = position == TSkinTabPosition::Stleft    ? TTurn::CounterClockwise
                     : position == TSkinTabPosition::Stright ? TTurn::Clockwise
                                                             : TTurn::None;
  return ShownFrame(tabs, at, *source, skin, turn, [position](int x, int y, int w, int h) {
    switch (position) {
      case TSkinTabPosition::StTop: return y < 2 || ((x < 2 || x >= w - 2) && y < h / 3);
      case TSkinTabPosition::Stbottom: return y >= h - 2 || ((x < 2 || x >= w - 2) && y >= h - h / 3);
      case TSkinTabPosition::Stleft: return x < 2 || ((y < 2 || y >= h - 2) && x < w / 3);
      case TSkinTabPosition::Stright: return x >= w - 2 || ((y < 2 || y >= h - 2) && x >= w - w / 3);
    }
    return false;
  });
}

// The tab set's tabs hang down: the mirrored image, judged on its sides and bottom rows.
int ShownTabSetFrame(win::TTabSet& set, int index, TDataSkinBorder& skin) {
  RECT at{};
  if (!set.TabRect(index, at)) return 0;
  auto source = Copy(skin.Bitmap);
  SpiegelnVertikal(*source);
  return ShownFrame(set.Handle(), at, *source, skin, TTurn::None,
                    [](int x, int y, int w, int h) { return x < 2 || x >= w - 2 || y >= h - 2; });
}

// The pixels of exactly `colour` in the rectangle of the shot, cropped to their bounds.
std::vector<std::string> Ink(win::TBitmap& shot, RECT r, COLORREF colour) {
  std::vector<std::string> rows;
  int top = r.bottom, bottom = r.top, left = r.right, right = r.left;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (shot.Canvas().Pixel(x, y) == colour) {
        top = std::min(top, y), bottom = std::max(bottom, y + 1);
        left = std::min(left, x), right = std::max(right, x + 1);
      }
  for (int y = top; y < bottom; ++y) {
    std::string row;
    for (int x = left; x < right; ++x) row += shot.Canvas().Pixel(x, y) == colour ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

// The ink turned 90 degrees clockwise.
std::vector<std::string> TurnedClockwise(const std::vector<std::string>& rows) {
  if (rows.empty()) return rows;
  std::vector<std::string> out(rows[0].size(), std::string(rows.size(), '.'));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) out[x][rows.size() - 1 - y] = rows[y][x];
  return out;
}

RECT TabRect(HWND tabs, int index) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

class TabsTest : public ::testing::Test {
 protected:
  TGalleryApp FApp;
  TLacquerForm* FFrame = nullptr;
  void SetUp() override {
    FFrame = FApp.Show();
    ASSERT_NE(FFrame, nullptr);
  }
  template <class P>
  P* Painter(HWND window) {
    for (TSkinControl* p : FFrame->FControls)
      if (p->FHandle == window)
        if (auto* found = dynamic_cast<P*>(p)) return found;
    return nullptr;
  }
  template <class T>
  T& Named(std::string_view name) {
    return FApp.Control<T>(name);
  }
  win::TTabControl& Tabs() { return Named<win::TTabControl>("TabControl1"); }
  TDataSkinBorder& Skin() { return *FApp.Data().Tabs; }

  // Every tab shows frame 2 when it has the focus, else frame 1.
  void ExpectFramesByFocus(TSkinTabPosition position) {
    HWND tabs = Tabs().Handle();
    const int focus = static_cast<int>(SendMessageW(tabs, TCM_GETCURFOCUS, 0, 0));
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    ASSERT_GT(count, 1);
    for (int i = 0; i < count; ++i) {
      const int want = i == focus ? 2 : 1;
      int seen = 0;
      bw::test::PumpUntil([&] { return (seen = ShownTabFrame(tabs, i, Skin(), position)) == want; }, 3000);
      EXPECT_EQ(seen, want) << "tab " << i << " at position " << static_cast<int>(position);
    }
  }
  // Puts the gallery's tab control's strip at `position`, large enough for side tabs.
  void Place(core::TTabPosition position) {
    Tabs().SetTabPosition(position);
    Tabs().SetBounds(268, 300, 210, 160);
    SetWindowPos(Tabs().Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    bw::test::WaitPainted(FApp.Form().WindowHandle());
  }
  void SwitchToFrost() {
    FApp.Data().LoadFromFile(BW_FROST_SKIN);
    ASSERT_TRUE(bw::test::PumpUntil([&] {
      return FApp.Data().SkinName == "Frost" && FFrame->FState == kFrameSkinned;
    }));
    bw::test::WaitPainted(FApp.Form().WindowHandle());
  }
  void SaveTabs(const std::string& name) {
    bw::test::SaveScreenPng(bw::test::ScreenshotPath(name), ScreenRectOf(Tabs().Handle(), 4));
  }
};

TEST_F(TabsTest, EveryTabKindGetsItsPainter) {
  EXPECT_NE(Painter<TSkinTab>(Tabs().Handle()), nullptr);
  auto& pages = Named<win::TPageControl>("PageControl1");
  EXPECT_NE(Painter<TSkinTab>(pages.Handle()), nullptr);
  for (int i = 0; i < pages.PageCount(); ++i) EXPECT_NE(Painter<TSkinTabSheet>(pages.Pages(i)->Handle()), nullptr);
  EXPECT_NE(Painter<TSkinTab31>(Named<win::TWinControl>("TabSet1").Handle()), nullptr);
  EXPECT_NE(Painter<TSkinHeader>(Named<win::TWinControl>("HeaderControl1").Handle()), nullptr);
  EXPECT_NE(Painter<TSkinHeader>(Named<win::TListView>("ListView1").HeaderHandle()), nullptr);
  // Bare tab windows: an owner-drawn one draws its own tabs.
  HWND plain = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 10, 560, 120, 40,
                               FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND ownerDrawn = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_OWNERDRAWFIXED, 140, 560, 120,
                                    40, FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(plain && ownerDrawn);
  FFrame->AddControlh(plain);
  FFrame->AddControlh(ownerDrawn);
  EXPECT_NE(Painter<TSkinTab>(plain), nullptr);
  EXPECT_EQ(Painter<TSkinControl>(ownerDrawn), nullptr);
  DestroyWindow(plain);
  DestroyWindow(ownerDrawn);
}

TEST_F(TabsTest, EachStripPositionShowsItsTabsByStateAndSideStripsAreTurned) {
  Place(core::TTabPosition::tpTop);
  ExpectFramesByFocus(TSkinTabPosition::StTop);
  auto top = WindowShot(Tabs().Handle());
  const std::vector<std::string> topInk = Ink(*top, TabRect(Tabs().Handle(), 2), Skin().NormalColour2);
  ASSERT_FALSE(topInk.empty()) << "a normal tab's text is in the skin's normal colour";
  EXPECT_FALSE(Ink(*top, TabRect(Tabs().Handle(), 0), Skin().MouseOverColour2).empty())
      << "the focused tab's text is in the skin's second colour";
  SaveTabs("tabs-top-oxblood.png");

  Place(core::TTabPosition::tpBottom);
  ExpectFramesByFocus(TSkinTabPosition::Stbottom);
  SaveTabs("tabs-bottom-oxblood.png");

  Place(core::TTabPosition::tpLeft);
  ExpectFramesByFocus(TSkinTabPosition::Stleft);
  auto left = WindowShot(Tabs().Handle());
  // The same words, turned counter-clockwise: they read from the bottom up.
  EXPECT_EQ(TurnedClockwise(Ink(*left, TabRect(Tabs().Handle(), 2), Skin().NormalColour2)), topInk);
  SaveTabs("tabs-left-oxblood.png");

  Place(core::TTabPosition::tpRight);
  ExpectFramesByFocus(TSkinTabPosition::Stright);
  auto right = WindowShot(Tabs().Handle());
  EXPECT_EQ(Ink(*right, TabRect(Tabs().Handle(), 2), Skin().NormalColour2), TurnedClockwise(topInk))
      << "on the right they read from the top down";
  SaveTabs("tabs-right-oxblood.png");
}

TEST_F(TabsTest, TheTabUnderTheMouseShowsTheHotFrameUntilTheMouseLeaves) {
  Place(core::TTabPosition::tpTop);
  HWND tabs = Tabs().Handle();
  auto* painter = Painter<TSkinTab>(tabs);
  ASSERT_NE(painter, nullptr);
  const RECT second = TabRect(tabs, 1);
  SendMessageW(tabs, WM_MOUSEMOVE, 0, MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2));
  EXPECT_EQ(painter->HotTab(), 1);
  int seen = 0;
  bw::test::PumpUntil([&] { return (seen = ShownTabFrame(tabs, 1, Skin(), TSkinTabPosition::StTop)) == 3; }, 3000);
  EXPECT_EQ(seen, 3);
  auto shot = WindowShot(tabs);
  EXPECT_FALSE(Ink(*shot, second, Skin().MouseOverColour2).empty()) << "hot text in the skin's second colour";
  EXPECT_EQ(ShownTabFrame(tabs, 2, Skin(), TSkinTabPosition::StTop), 1) << "the others stay as they were";
  SendMessageW(tabs, win::CM_MOUSELEAVE, 0, 0);
  bw::test::PumpUntil([&] { return (seen = ShownTabFrame(tabs, 1, Skin(), TSkinTabPosition::StTop)) == 1; }, 3000);
  EXPECT_EQ(seen, 1);
  // Focus follows a new selection.
  TabCtrl_SetCurFocus(tabs, 2);
  Tabs().Invalidate();
  bw::test::PumpUntil([&] { return ShownTabFrame(tabs, 2, Skin(), TSkinTabPosition::StTop) == 2; }, 3000);
  EXPECT_EQ(ShownTabFrame(tabs, 2, Skin(), TSkinTabPosition::StTop), 2);
  EXPECT_EQ(ShownTabFrame(tabs, 0, Skin(), TSkinTabPosition::StTop), 1);
}

// The page border's corners round the display area grown by 4 and moved in by 1 on the
// strip side; the sheets on the skin's face.
TEST_F(TabsTest, ThePageControlHasTheSkinsPageBorderAndFaceColouredSheets) {
  auto& pages = Named<win::TPageControl>("PageControl1");
  HWND window = pages.Handle();
  bw::test::WaitPainted(window);
  RECT page;
  GetClientRect(window, &page);
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 4, 4);
  page.top += 1;
  win::TBitmap& border = Skin().Bitmap2;
  ASSERT_GT(border.Width(), 8);
  auto corner = [&](int bx, int by, int sx, int sy, int w, int h) {
    auto shot = WindowShot(window);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const COLORREF want = border.Canvas().Pixel(bx + x, by + y);
        if (want != kMagenta && shot->Canvas().Pixel(sx + x, sy + y) != want) return false;
      }
    return true;
  };
  const int bw = border.Width(), bh = border.Height();
  EXPECT_TRUE(bw::test::PumpUntil([&] { return corner(0, 0, page.left, page.top, 4, 5); }, 3000)) << "top left";
  EXPECT_TRUE(corner(bw - 4, bh - 4, page.right - 4, page.bottom - 4, 4, 4)) << "bottom right";
  EXPECT_TRUE(corner(bw - 4, 0, page.right - 4, page.top, 4, 5)) << "top right";
  // The tab of the active page is the focused one; every caption is shown whole.
  EXPECT_EQ(ShownTabFrame(window, pages.ActivePageIndex(), Skin(), TSkinTabPosition::StTop), 2);
  auto shot = WindowShot(window);
  win::TWindowDC screen(nullptr);
  win::TMemoryDC measure(screen.Get());
  win::TSelectGuard font(measure.Get(), reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  for (int i = 0; i < pages.PageCount(); ++i) {
    const std::wstring caption = win::Widen(pages.Pages(i)->Caption());
    SIZE size{};
    GetTextExtentPoint32W(measure.Get(), caption.c_str(), static_cast<int>(caption.size()), &size);
    const COLORREF colour = i == pages.ActivePageIndex() ? Skin().MouseOverColour2 : Skin().NormalColour2;
    const std::vector<std::string> ink = Ink(*shot, TabRect(window, i), colour);
    ASSERT_FALSE(ink.empty()) << caption.size();
    EXPECT_NEAR(static_cast<double>(ink[0].size()), static_cast<double>(size.cx), 2.0) << "tab " << i << " cut short";
  }

  auto* sheet = Painter<TSkinTabSheet>(pages.Pages(1)->Handle());
  ASSERT_NE(sheet, nullptr);
  win::TBitmap printed(40, 40, win::TPixelFormat::pf24bit);
  win::TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
  const RECT all{0, 0, 40, 40};
  FillRect(printed.Canvas().Handle(), &all, red.Get());
  SendMessageW(pages.Pages(1)->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Canvas().Handle()),
               PRF_CLIENT);
  EXPECT_EQ(printed.Canvas().Pixel(0, 0), win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-pages-oxblood.png"), ScreenRectOf(window, 4));
}

// What a painter draws for its window now, composed in memory: the screen must show it.
bool ScreenShowsPainter(TSkinControl& painter) {
  RECT r;
  GetWindowRect(painter.FHandle, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  win::TBitmap drawn(w, h, win::TPixelFormat::pf24bit);
  painter.DrawControl(drawn.Canvas().Handle(), RECT{0, 0, w, h});
  auto shot = WindowShot(painter.FHandle);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (shot->Canvas().Pixel(x, y) != drawn.Canvas().Pixel(x, y)) return false;
  return true;
}

TEST_F(TabsTest, ScrollArrowsStaySkinnedAndVisibleOverTheRedrawnStrip) {
  Place(core::TTabPosition::tpTop);
  for (int i = 0; i < 12; ++i) Tabs().Tabs()->Add("More " + std::to_string(i));
  HWND tabs = Tabs().Handle();
  auto* painter = Painter<TSkinTab>(tabs);
  ASSERT_NE(painter, nullptr);
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    painter->Invalidate();
    return painter->FScroller != nullptr && IsWindowVisible(painter->FScroller->FHandle);
  }));
  EXPECT_TRUE(bw::test::PumpUntil([&] { return ScreenShowsPainter(*painter->FScroller); }, 3000));
  EXPECT_NE(painter->FScroller->LastFirst(), 0);
  SaveTabs("tabs-scroll-oxblood.png");

  auto& set = Named<win::TTabSet>("TabSet1");
  auto* setPainter = Painter<TSkinTab31>(set.Handle());
  ASSERT_NE(setPainter, nullptr);
  ASSERT_NE(setPainter->FScroller, nullptr);
  for (int i = 0; i < 6; ++i) set.Tabs()->Add("Sheet " + std::to_string(i + 4));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return set.Scroller()->Visible(); }));
  EXPECT_TRUE(bw::test::PumpUntil([&] { return ScreenShowsPainter(*setPainter->FScroller); }, 3000));
  EXPECT_EQ(setPainter->FScroller->LastFirst(), kFrameNormal) << "drawn as two horizontal skinned buttons";
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-tabset-scroll-oxblood.png"), ScreenRectOf(set.Handle(), 4));
}

TEST_F(TabsTest, TheTabSetHangsItsTabsDownwardWithTheSelectedOneInFrameTwo) {
  auto& set = Named<win::TTabSet>("TabSet1");
  bw::test::WaitPainted(set.Handle());
  ASSERT_EQ(set.TabIndex(), 0);
  int seen = 0;
  bw::test::PumpUntil([&] { return (seen = ShownTabSetFrame(set, 0, Skin())) == 2; }, 3000);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(ShownTabSetFrame(set, 1, Skin()), 1);
  set.SetTabIndex(1);
  bw::test::PumpUntil([&] { return (seen = ShownTabSetFrame(set, 1, Skin())) == 2; }, 3000);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(ShownTabSetFrame(set, 0, Skin()), 1);
  auto shot = WindowShot(set.Handle());
  RECT r0{}, r1{};
  set.TabRect(0, r0);
  set.TabRect(1, r1);
  EXPECT_FALSE(Ink(*shot, r0, Skin().NormalColour2).empty());
  EXPECT_FALSE(Ink(*shot, r1, Skin().MouseOverColour2).empty());
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-tabset-oxblood.png"), ScreenRectOf(set.Handle(), 4));
}

// Whether the screen shows exactly frame 1 of the header image over the rectangle.
bool ShowsHeaderFace(HWND header, const RECT& r, TDataSkinObject& skin, bool whole) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  auto want = GetHMap(RECT{0, 0, w, h}, skin.Bitmap, skin.Margins, 1, std::max(skin.Frame, 1), skin.Tile != 0, false);
  auto shot = WindowShot(header);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!whole && x >= 2 && x < w - 3 && y >= 2 && y < h - 3) continue;  // the caption's place
      if (shot->Canvas().Pixel(r.left + x, r.top + y) != want->Canvas().Pixel(x, y)) return false;
    }
  return true;
}

TEST_F(TabsTest, HeadersShowTheSkinAndAnItemWithoutTextOnlyItsBackground) {
  auto& header = Named<win::THeaderControl>("HeaderControl1");
  TDataSkinObject& skin = *FApp.Data().Headerbar;
  header.SetImages(FApp.Form().ImageList1);
  win::THeaderSection& blank = header.Sections()->Add();
  blank.SetWidth(60);
  blank.SetImageIndex(0);
  header.UpdateSections();
  HWND window = header.Handle();
  ASSERT_EQ(Header_GetItemCount(window), 4);
  RECT item{};
  Header_GetItemRect(window, 3, &item);
  EXPECT_TRUE(bw::test::PumpUntil([&] { return ShowsHeaderFace(window, item, skin, true); }, 3000))
      << "neither image nor text";
  Header_GetItemRect(window, 0, &item);
  EXPECT_TRUE(ShowsHeaderFace(window, item, skin, false));
  auto shot = WindowShot(window);
  EXPECT_FALSE(Ink(*shot, item, skin.NormalColour2).empty()) << "captions in the skin's text colour";
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-header-oxblood.png"), ScreenRectOf(window, 2));

  // The list view: its bars covered, its header skinned, and the space right of its last column.
  FApp.ShowPage(0);
  auto& list = Named<win::TListView>("ListView1");
  HWND listHeader = list.HeaderHandle();
  ASSERT_NE(listHeader, nullptr);
  auto* listPainter = Painter<TSkinListView>(list.Handle());
  ASSERT_NE(listPainter, nullptr);
  ASSERT_NE(listPainter->FHeader, nullptr);
  EXPECT_EQ(listPainter->FHeader->FHandle, listHeader);
  for (int i = 0; i < 20; ++i) list.Items()->Add().SetCaption("row " + std::to_string(i));
  ASSERT_TRUE(listPainter->FVertBar);
  EXPECT_TRUE(bw::test::PumpUntil([&] { return IsWindowVisible(listPainter->FVertBar->WindowHandle()) != FALSE; }))
      << "the list view's vertical bar is covered";
  bw::test::WaitPainted(listHeader);
  const int columns = Header_GetItemCount(listHeader);
  ASSERT_GT(columns, 0);
  Header_GetItemRect(listHeader, columns - 1, &item);
  RECT rest;
  GetClientRect(listHeader, &rest);
  rest.left = item.right;
  ASSERT_GT(rest.right - rest.left, 4);
  EXPECT_TRUE(bw::test::PumpUntil([&] { return ShowsHeaderFace(listHeader, rest, skin, true); }, 3000));
  Header_GetItemRect(listHeader, 0, &item);
  EXPECT_TRUE(ShowsHeaderFace(listHeader, item, skin, false));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-listview-oxblood.png"),
                          ScreenRectOf(Named<win::TListView>("ListView1").Handle(), 2));
}

TEST_F(TabsTest, TheSecondSkinDrawsTabsAndHeadersFromItsOwnImages) {
  ASSERT_NO_FATAL_FAILURE(SwitchToFrost());
  ASSERT_TRUE(FApp.Data().Tabs && FApp.Data().Tabs->Bitmap.Width() > 0 && FApp.Data().Tabs->Bitmap2.Width() > 0);
  ASSERT_TRUE(FApp.Data().Headerbar && FApp.Data().Headerbar->Bitmap.Width() > 0);
  const std::pair<core::TTabPosition, TSkinTabPosition> positions[] = {
      {core::TTabPosition::tpTop, TSkinTabPosition::StTop},
      {core::TTabPosition::tpBottom, TSkinTabPosition::Stbottom},
      {core::TTabPosition::tpLeft, TSkinTabPosition::Stleft},
      {core::TTabPosition::tpRight, TSkinTabPosition::Stright}};
  const char* names[] = {"top", "bottom", "left", "right"};
  for (size_t i = 0; i < 4; ++i) {
    Place(positions[i].first);
    ExpectFramesByFocus(positions[i].second);
    SaveTabs(std::string("tabs-") + names[i] + "-frost.png");
  }
  auto& set = Named<win::TTabSet>("TabSet1");
  EXPECT_TRUE(bw::test::PumpUntil([&] { return ShownTabSetFrame(set, 0, Skin()) == 2; }, 3000));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-tabset-frost.png"), ScreenRectOf(set.Handle(), 4));
  HWND header = Named<win::THeaderControl>("HeaderControl1").Handle();
  RECT item{};
  Header_GetItemRect(header, 1, &item);
  EXPECT_TRUE(bw::test::PumpUntil([&] { return ShowsHeaderFace(header, item, *FApp.Data().Headerbar, false); }, 3000));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-header-frost.png"), ScreenRectOf(header, 2));
  FApp.ShowPage(0);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-listview-frost.png"),
                          ScreenRectOf(Named<win::TListView>("ListView1").Handle(), 2));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("tabs-pages-frost.png"),
                          ScreenRectOf(Named<win::TPageControl>("PageControl1").Handle(), 4));
}

TEST_F(TabsTest, WithTheSkinOffTabsAndHeadersGetTheirOwnLookBack) {
  auto& pages = Named<win::TPageControl>("PageControl1");
  HWND header = Named<win::THeaderControl>("HeaderControl1").Handle();
  RECT item{};
  Header_GetItemRect(header, 1, &item);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return ShowsHeaderFace(header, item, *FApp.Data().Headerbar, false); }));
  FApp.Data().SetActive(false);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FApp.Frame() == nullptr; }));
  bw::test::WaitPainted(FApp.Form().WindowHandle());
  EXPECT_TRUE(bw::test::PumpUntil([&] {
    return ShownTabFrame(Tabs().Handle(), 0, Skin(), TSkinTabPosition::StTop) == 0 &&
           ShownTabFrame(pages.Handle(), 0, Skin(), TSkinTabPosition::StTop) == 0 &&
           ShownTabSetFrame(Named<win::TTabSet>("TabSet1"), 0, Skin()) == 0 &&
           !ShowsHeaderFace(header, item, *FApp.Data().Headerbar, false);
  }));
}

TEST_F(TabsTest, TenThousandRepaintsLeaveNoGdiObjectBehind) {
  Place(core::TTabPosition::tpLeft);  // the turned strip makes bitmaps at every paint
  TSkinControl* painters[] = {Painter<TSkinTab>(Tabs().Handle()),
                              Painter<TSkinTab31>(Named<win::TWinControl>("TabSet1").Handle()),
                              Painter<TSkinHeader>(Named<win::TWinControl>("HeaderControl1").Handle()),
                              Painter<TSkinTab>(Named<win::TWinControl>("PageControl1").Handle())};
  for (TSkinControl* p : painters) ASSERT_NE(p, nullptr);
  for (int i = 0; i < 20; ++i)
    for (TSkinControl* p : painters) p->PaintControl(nullptr);
  const unsigned before = bw::test::NextGdiSlot();
  const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 2500; ++i)
    for (TSkinControl* p : painters) p->PaintControl(nullptr);
  EXPECT_EQ(bw::test::NextGdiSlot(), before) << "objects were left behind";
  if (objects != 0) {
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
  }
}

}  // namespace
}  // namespace bw::skin::test
