// Tab controls, page controls with their sheets, and the tab set with its scroller.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/framework/win/ComCtrlsFixture.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

RECT TabRectOf(TCustomTabControl& tabs, int index) {
  RECT r{};
  EXPECT_TRUE(tabs.TabRect(index, r));
  return r;
}


class TabsTest : public ComCtrlsTest {
 protected:
  void ClickTab(TCustomTabControl& tabs, int index) {
    const RECT r = TabRectOf(tabs, index);
    Click(tabs.Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

TEST_F(TabsTest, TabControlChangesOnClickUnlessRefused) {
  Show();
  TTabControl& tabs = *FForm->TabControl1;
  EXPECT_EQ(tabs.TabIndex(), 1);
  EXPECT_EQ(SendMessageW(tabs.Handle(), TCM_GETCURSEL, 0, 0), 1);
  ClickTab(tabs, 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("TabControl1Change"); }));
  EXPECT_EQ(tabs.TabIndex(), 2);
  EXPECT_TRUE(FForm->Logged("TabControl1Changing"));
  FForm->Log.clear();
  FForm->AllowTabChange = false;
  ClickTab(tabs, 0);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("TabControl1Changing"); }));
  EXPECT_EQ(tabs.TabIndex(), 2);
  EXPECT_FALSE(FForm->Logged("TabControl1Change"));
  // The page area lies above the tabs at the bottom.
  const RECT page = tabs.DisplayRect();
  EXPECT_LE(page.bottom, TabRectOf(tabs, 0).top);
  tabs.Tabs()->Add("Four");
  EXPECT_EQ(SendMessageW(tabs.Handle(), TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(tabs.TabIndex(), 2);
}

TEST_F(TabsTest, TabPositionsSetTheWindowStyles) {
  Show();
  TTabControl& tabs = *FForm->TabControl1;
  struct Case {
    core::TTabPosition position;
    DWORD bits;
  };
  for (const Case& c : {Case{core::TTabPosition::tpTop, 0u}, Case{core::TTabPosition::tpLeft, DWORD{TCS_VERTICAL}},
                        Case{core::TTabPosition::tpRight, DWORD{TCS_VERTICAL | TCS_RIGHT}},
                        Case{core::TTabPosition::tpBottom, DWORD{TCS_BOTTOM}}}) {
    tabs.SetTabPosition(c.position);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(tabs.Handle(), GWL_STYLE));
    EXPECT_EQ(style & (TCS_VERTICAL | TCS_RIGHT | TCS_BOTTOM), c.bits) << static_cast<int>(c.position);
    EXPECT_EQ(SendMessageW(tabs.Handle(), TCM_GETITEMCOUNT, 0, 0), 3);  // tabs survive the new window
  }
}

TEST_F(TabsTest, PageControlShowsTheActiveSheetInTheDisplayArea) {
  Show();
  TPageControl& pages = *FForm->PageControl1;
  EXPECT_EQ(pages.ActivePage(), FForm->TabSheet2);
  EXPECT_TRUE(IsWindowVisible(FForm->TabSheet2->Handle()));
  EXPECT_FALSE(IsWindowVisible(FForm->TabSheet1->Handle()));
  const RECT display = pages.DisplayRect();
  EXPECT_EQ(FForm->TabSheet2->Left(), display.left);
  EXPECT_EQ(FForm->TabSheet2->Top(), display.top);
  EXPECT_EQ(FForm->TabSheet2->Width(), display.right - display.left);

  ClickTab(pages, 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("PageControl1Change"); }));
  EXPECT_EQ(pages.ActivePage(), FForm->TabSheet3);
  EXPECT_TRUE(IsWindowVisible(FForm->TabSheet3->Handle()));
  EXPECT_FALSE(IsWindowVisible(FForm->TabSheet2->Handle()));

  // Hidden tabs are left out of the strip; showing one puts it back in page order.
  EXPECT_EQ(FForm->TabSheet4->TabIndex(), -1);
  FForm->TabSheet4->SetTabVisible(true);
  EXPECT_EQ(SendMessageW(pages.Handle(), TCM_GETITEMCOUNT, 0, 0), 4);
  FForm->TabSheet4->SetPageIndex(0);
  wchar_t text[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 32;
  SendMessageW(pages.Handle(), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(text), L"Hidden");
  EXPECT_EQ(pages.ActivePage(), FForm->TabSheet3);
  EXPECT_EQ(SendMessageW(pages.Handle(), TCM_GETCURSEL, 0, 0), 3);
  FForm->TabSheet3->SetCaption("Cells");  // a caption goes to the tab
  SendMessageW(pages.Handle(), TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(text), L"Cells");

  // Freeing the active sheet activates a neighbour.
  delete FForm->TabSheet3;
  FForm->TabSheet3 = nullptr;
  EXPECT_EQ(pages.PageCount(), 3);
  ASSERT_NE(pages.ActivePage(), nullptr);
  EXPECT_TRUE(IsWindowVisible(pages.ActivePage()->Handle()));
}

TEST_F(TabsTest, TabSetScrollerIsItsFirstComponentAndShowsWhenTabsDoNotFit) {
  Show();
  TTabSet& set = *FForm->TabSet1;
  ASSERT_GT(set.ComponentCount(), 0);
  EXPECT_EQ(set.Components(0), set.Scroller());
  EXPECT_EQ(ClassNameOf(set.Scroller()->Handle()), L"TTabScroller");
  EXPECT_FALSE(IsWindowVisible(set.Scroller()->Handle()));
  EXPECT_EQ(set.VisibleTabCount(), 3);
  RECT first{};
  ASSERT_TRUE(set.TabRect(0, first));
  EXPECT_EQ(first.left, set.StartMargin());

  for (int i = 0; i < 8; ++i) set.Tabs()->Add("Another sheet");
  EXPECT_TRUE(IsWindowVisible(set.Scroller()->Handle()));
  EXPECT_LT(set.VisibleTabCount(), set.Tabs()->Count());
  RECT last{};
  ASSERT_TRUE(set.TabRect(set.VisibleTabCount() - 1, last));
  EXPECT_LE(last.right, set.Width() - set.EndMargin() - TTabScroller::kWidthPx);

  // The right arrow scrolls the tabs by one.
  const HWND scroller = set.Scroller()->Handle();
  RECT arrows;
  GetClientRect(scroller, &arrows);
  Click(scroller, arrows.right - 3, arrows.bottom / 2);
  EXPECT_EQ(set.FirstIndex(), 1);
  Click(scroller, 2, arrows.bottom / 2);
  EXPECT_EQ(set.FirstIndex(), 0);

  // Clicking a tab selects it.
  RECT second{};
  ASSERT_TRUE(set.TabRect(1, second));
  Click(set.Handle(), (second.left + second.right) / 2, (second.top + second.bottom) / 2);
  EXPECT_EQ(set.TabIndex(), 1);
  EXPECT_TRUE(FForm->Logged("TabSet1Change"));
  // Selecting a tab out of view scrolls it in.
  set.SetTabIndex(set.Tabs()->Count() - 1);
  EXPECT_TRUE(set.TabRect(set.TabIndex(), second));
  EXPECT_GT(set.FirstIndex(), 0);
  // The selected tab is painted in the window colour.
  ASSERT_TRUE(set.TabRect(set.TabIndex(), second));
  bw::test::WaitPainted(FForm->Handle());
  EXPECT_EQ(Pixel(set, (second.left + second.right) / 2, 2, GetSysColor(COLOR_WINDOW)), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace bw::win::test
