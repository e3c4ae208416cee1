// Status bars, tool bars and alignment; every common control built from a description
// with its properties read back by name.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "framework/core/Collection.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"
#include "tests/framework/win/ComCtrlsFixture.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

TEST_F(ComCtrlsTest, DescriptionSetsPropertiesReadBackByName) {
  TComForm& f = *FForm;
  EXPECT_EQ(core::GetEnumProp(f.StatusBar1, "SimplePanel"), "False");
  EXPECT_EQ(core::GetStrProp(f.StatusBar1, "simpletext"), "Simple");
  auto* panels = dynamic_cast<core::TCollection*>(core::GetObjectProp(f.StatusBar1, "Panels"));
  ASSERT_NE(panels, nullptr);
  ASSERT_EQ(panels->Count(), 4);
  EXPECT_EQ(core::GetStrProp(&panels->Items(1), "Text"), "Centre");
  EXPECT_EQ(core::GetEnumProp(&panels->Items(1), "Alignment"), "taCenter");
  EXPECT_EQ(core::GetEnumProp(&panels->Items(1), "Bevel"), "pbRaised");
  EXPECT_EQ(core::GetEnumProp(&panels->Items(2), "Style"), "psOwnerDraw");
  EXPECT_EQ(core::GetEnumProp(&panels->Items(3), "BiDiMode"), "bdRightToLeft");
  EXPECT_EQ(core::GetIntProp(&panels->Items(0), "Width"), 120);
  EXPECT_NE(core::GetEventProp(f.StatusBar1, "OnDrawPanel"), nullptr);
  EXPECT_EQ(core::GetEnumProp(f.StatusBar1, "Align"), "alBottom");

  EXPECT_EQ(core::GetEnumProp(f.ToolBar1, "Flat"), "True");
  EXPECT_EQ(core::GetObjectProp(f.ToolBar1, "Images"), f.ImageList1);
  EXPECT_EQ(core::GetEnumProp(f.ToolButton3, "Style"), "tbsCheck");
  EXPECT_EQ(core::GetEnumProp(f.ToolButton3, "Down"), "True");
  EXPECT_EQ(core::GetIntProp(f.ToolButton1, "ImageIndex"), 0);
  EXPECT_EQ(f.ToolBar1->ButtonCount(), 5);
  EXPECT_EQ(core::GetObjectProp(f.ToolButton5, "DropdownMenu"), f.PopupMenu1);

  EXPECT_EQ(core::GetObjectProp(f.PageControl1, "ActivePage"), f.TabSheet2);
  EXPECT_EQ(core::GetIntProp(f.PageControl1, "ActivePageIndex"), 1);
  EXPECT_EQ(core::GetEnumProp(f.TabSheet4, "TabVisible"), "False");
  EXPECT_EQ(core::GetIntProp(f.TabSheet3, "PageIndex"), 2);
  EXPECT_EQ(f.PageControl1->PageCount(), 4);
  EXPECT_EQ(core::GetEnumProp(f.TabControl1, "TabPosition"), "tpBottom");
  EXPECT_EQ(core::GetIntProp(f.TabControl1, "TabIndex"), 1);
  EXPECT_EQ(core::GetIntProp(f.TabSet1, "StartMargin"), 5);
  EXPECT_EQ(core::GetIntProp(f.TabSet1, "FirstIndex"), 0);

  EXPECT_EQ(core::GetEnumProp(f.ListView1, "ViewStyle"), "vsReport");
  EXPECT_EQ(core::GetEnumProp(f.ListView1, "BorderStyle"), "bsSingle");
  EXPECT_EQ(f.ListView1->Items()->Items(2).SubItems()->Get(0), "40 KB");
  EXPECT_EQ(f.ListView1->Columns()->Items(1).Alignment(), core::TAlignment::taRightJustify);
  EXPECT_EQ(core::GetEnumProp(f.TreeView1, "ShowLines"), "True");
  EXPECT_EQ(core::GetEnumProp(f.TreeView1, "ReadOnly"), "True");

  EXPECT_EQ(core::GetIntProp(f.StringGrid1, "FixedColor"), core::clSilver);
  EXPECT_EQ(core::GetIntProp(f.StringGrid1, "RowCount"), 30);
  EXPECT_EQ(core::GetEnumProp(f.StringGrid1, "ScrollBars"), "ssBoth");
  EXPECT_EQ(f.StringGrid1->Cells(2, 1), "12034");
  EXPECT_EQ(core::GetEnumProp(f.DrawGrid1, "BorderStyle"), "bsNone");
  EXPECT_EQ(core::GetSetProp(f.DrawGrid1, "Options"),
            core::TGridOptions({core::TGridOption::goFixedVertLine, core::TGridOption::goFixedHorzLine}).Bits());

  EXPECT_EQ(core::GetEnumProp(f.DateTimePicker2, "Kind"), "dtkTime");
  EXPECT_EQ(core::GetEnumProp(f.DateTimePicker2, "DateMode"), "dmUpDown");
  EXPECT_EQ(core::GetStrProp(f.DateTimePicker1, "Date"), "2024-02-29");
  EXPECT_EQ(core::GetStrProp(f.DateTimePicker2, "Time"), "13:45:30");

  // Missing properties read as missing, never as errors.
  EXPECT_EQ(core::GetIntProp(f.StatusBar1, "PageSize"), -1);
  EXPECT_EQ(core::GetEnumProp(f.ToolBar1, "Kind"), "");
  EXPECT_EQ(core::GetStrProp(f.StringGrid1, "SimpleText"), "");
  EXPECT_EQ(core::GetObjectProp(f.TreeView1, "Panels"), nullptr);
  EXPECT_EQ(core::GetIntProp(&panels->Items(0), "NumGlyphs"), -1);
}

TEST_F(ComCtrlsTest, WindowsAreOfTheFrameworkClassesOverTheSystemOnes) {
  Show();
  TComForm& f = *FForm;
  EXPECT_EQ(ClassNameOf(f.StatusBar1->Handle()), L"TStatusBar");
  EXPECT_EQ(ClassNameOf(f.ToolBar1->Handle()), L"TToolBar");
  EXPECT_EQ(ClassNameOf(f.PageControl1->Handle()), L"TPageControl");
  EXPECT_EQ(ClassNameOf(f.TabSheet1->Handle()), L"TTabSheet");
  EXPECT_EQ(ClassNameOf(f.ListView1->Handle()), L"TListView");
  EXPECT_EQ(ClassNameOf(f.TreeView1->Handle()), L"TTreeView");
  EXPECT_EQ(ClassNameOf(f.StringGrid1->Handle()), L"TStringGrid");
  EXPECT_EQ(ClassNameOf(f.DateTimePicker1->Handle()), L"TDateTimePicker");
  EXPECT_EQ(ClassNameOf(f.TabSet1->Handle()), L"TTabSet");
  EXPECT_EQ(ClassNameOf(f.HeaderControl1->Handle()), L"THeaderControl");
  // The system's classes do the work: their messages answer.
  EXPECT_EQ(SendMessageW(f.ToolBar1->Handle(), TB_BUTTONCOUNT, 0, 0), 5);
  EXPECT_EQ(SendMessageW(f.PageControl1->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);  // one tab hidden
  EXPECT_EQ(SendMessageW(f.ListView1->Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(f.TreeView1->Handle(), TVM_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(f.HeaderControl1->Handle(), HDM_GETITEMCOUNT, 0, 0), 2);
  const auto style = [](TWinControl* c) { return GetWindowLongPtrW(c->Handle(), GWL_STYLE); };
  EXPECT_TRUE(style(f.StatusBar1) & SBARS_SIZEGRIP);
  EXPECT_TRUE(style(f.ToolBar1) & TBSTYLE_FLAT);
  EXPECT_TRUE(style(f.TabControl1) & TCS_BOTTOM);
  EXPECT_EQ(style(f.ListView1) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style(f.DateTimePicker2) & DTS_UPDOWN);
  EXPECT_FALSE(style(f.DateTimePicker1) & DTS_UPDOWN);
  EXPECT_TRUE(style(f.StringGrid1) & WS_VSCROLL);
  EXPECT_FALSE(style(f.DrawGrid1) & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_FALSE(GetWindowLongPtrW(f.DrawGrid1->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(ComCtrlsTest, ScreenshotOfTheCommonControls) {
  Show();
  FForm->TreeView1->FullExpand();
  FForm->ListView1->SetItemIndex(1);
  FForm->TabSet1->Tabs()->Add("A sheet with a long name");
  FForm->TabSet1->Tabs()->Add("Another long sheet name");
  bw::test::WaitPainted(FForm->Handle());
  RECT r;
  GetWindowRect(FForm->Handle(), &r);
  EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("common-controls.png"), r));
  // The status bar's owner-drawn panel was asked for, with its rectangle.
  EXPECT_TRUE(FForm->Logged("DrawPanel 2"));
}

TEST_F(ComCtrlsTest, StatusBarPanelsInTheWindowAndOwnerDraw) {
  Show();
  TStatusBar& bar = *FForm->StatusBar1;
  HWND h = bar.Handle();
  int edges[8] = {};
  ASSERT_EQ(SendMessageW(h, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 4);
  EXPECT_EQ(edges[0], 120);
  EXPECT_EQ(edges[1], 220);
  EXPECT_EQ(edges[3], -1);  // the last panel reaches the right edge
  wchar_t text[64] = {};
  const LRESULT info = SendMessageW(h, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"\tCentre");  // tabs centre a panel's text
  EXPECT_EQ(HIWORD(info) & SBT_POPOUT, SBT_POPOUT);
  SendMessageW(h, SB_GETTEXTW, 3, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"Right");  // right to left: its right edge is where the reading starts
  RECT panel{};
  ASSERT_TRUE(bar.PanelRect(2, panel));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return !FForm->PanelRects.empty(); }));
  EXPECT_GE(FForm->PanelRects.back().left, panel.left);
  EXPECT_LE(FForm->PanelRects.back().right, panel.right);

  // A painter that took the bar over calls the handler itself: the canvas finds a DC.
  bar.OnDrawPanel = [](TCustomStatusBar* sender, TStatusPanel*, const RECT& r) {
    sender->Canvas().Brush().SetColor(core::clLime);
    sender->Canvas().FillRect(r);
  };
  bar.OnDrawPanel(&bar, &bar.Panels()->Items(2), panel);
  GdiFlush();
  EXPECT_EQ(Pixel(bar, (panel.left + panel.right) / 2, (panel.top + panel.bottom) / 2, RGB(0, 255, 0)),
            RGB(0, 255, 0));

  FForm->Log.clear();
  bar.Panels()->Items(0).SetText("Done");  // a change goes straight into the window
  SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"Done");
  bar.SetSimplePanel(true);
  EXPECT_TRUE(SendMessageW(h, SB_ISSIMPLE, 0, 0));
  bar.Panels()->Clear();
  bar.SetSimplePanel(false);  // no panels: the simple text stays
  EXPECT_TRUE(SendMessageW(h, SB_ISSIMPLE, 0, 0));
  bar.SetSizeGrip(false);
  EXPECT_FALSE(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
}

TEST_F(ComCtrlsTest, AlignedControlsFollowTheFormsSize) {
  Show();
  TComForm& f = *FForm;
  RECT client;
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(f.ToolBar1->Top(), 0);
  EXPECT_EQ(f.ToolBar1->Width(), client.right);
  EXPECT_EQ(f.StatusBar1->Top() + f.StatusBar1->Height(), client.bottom);
  EXPECT_EQ(f.StatusBar1->Width(), client.right);
  f.SetClientWidth(500);
  f.SetClientHeight(400);
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(f.StatusBar1->Top(), client.bottom - f.StatusBar1->Height());
  EXPECT_EQ(f.StatusBar1->Width(), client.right);
  RECT bar;
  GetWindowRect(f.StatusBar1->Handle(), &bar);
  EXPECT_EQ(bar.right - bar.left, client.right);  // the window moved with the object
  // A client-aligned child fills its sheet, whatever the sheet's size.
  const RECT sheet = f.TabSheet2->ClientRect();
  EXPECT_EQ(f.TreeView1->Width(), sheet.right);
  EXPECT_EQ(f.TreeView1->Height(), sheet.bottom);
  // Hiding an aligned control gives its room to the others.
  TPanel panel(nullptr);
  panel.SetAlign(core::TAlign::alBottom);
  panel.SetHeight(30);
  panel.SetParent(&f);
  EXPECT_EQ(panel.Top() + 30, f.StatusBar1->Top());
  f.StatusBar1->Hide();
  EXPECT_EQ(panel.Top() + 30, client.bottom);
  panel.SetParent(nullptr);
}

TEST_F(ComCtrlsTest, ToolButtonsClickCheckAndCustomDraw) {
  Show();
  TComForm& f = *FForm;
  HWND h = f.ToolBar1->Handle();
  // A button's bounds are the window's item rectangle.
  RECT item{};
  const auto index = SendMessageW(h, TB_COMMANDTOINDEX, static_cast<WPARAM>(f.ToolButton1->CommandId()), 0);
  ASSERT_TRUE(SendMessageW(h, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(f.ToolButton1->BoundsRect().left, item.left);
  EXPECT_EQ(f.ToolButton1->BoundsRect().bottom, item.bottom);
  EXPECT_GE(f.ToolBar1->Height(), item.bottom);
  Click(h, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return f.Logged("ToolButton1Click"); }));

  EXPECT_TRUE(f.ToolButton3->Down());
  EXPECT_TRUE(SendMessageW(h, TB_ISBUTTONCHECKED, static_cast<WPARAM>(f.ToolButton3->CommandId()), 0));
  const RECT b3 = f.ToolButton3->BoundsRect();
  Click(h, (b3.left + b3.right) / 2, (b3.top + b3.bottom) / 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return !f.ToolButton3->Down(); }));
  EXPECT_FALSE(SendMessageW(h, TB_ISBUTTONENABLED, static_cast<WPARAM>(f.ToolButton4->CommandId()), 0));
  f.ToolButton4->SetEnabled(true);
  EXPECT_TRUE(SendMessageW(h, TB_ISBUTTONENABLED, static_cast<WPARAM>(f.ToolButton4->CommandId()), 0));

  // The button custom-draw handler sees each paint of the button with its state.
  f.ButtonStates.clear();
  f.ToolButton3->SetDown(true);
  InvalidateRect(h, nullptr, TRUE);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return !f.ButtonStates.empty(); }));
  EXPECT_TRUE(f.ButtonStates.back().Contains(core::TCustomDrawStateFlag::cdsChecked));
  // A background handler that draws alone keeps the system from drawing.
  bool backgroundCalls = false;
  f.ToolBar1->OnCustomDraw = [&](TToolBar* bar, const RECT& r, bool& defaultDraw) {
    backgroundCalls = true;
    bar->Canvas().Brush().SetColor(core::clLime);
    bar->Canvas().FillRect(r);
    defaultDraw = false;
  };
  InvalidateRect(h, nullptr, TRUE);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return backgroundCalls; }));
  EXPECT_EQ(Pixel(*f.ToolBar1, item.left + 3, item.top + 3, RGB(0, 255, 0)), RGB(0, 255, 0));
  EXPECT_EQ(core::GetEnumProp(f.ToolBar1, "OnCustomDraw"), "");  // events are not enumerations
  EXPECT_NE(core::GetEventProp(f.ToolBar1, "OnCustomDrawButton"), nullptr);
}

TEST_F(ComCtrlsTest, ToolButtonsFollowTheirChildren) {
  Show();
  TToolBar& bar = *FForm->ToolBar1;
  auto* extra = new TToolButton(FForm);
  extra->SetCaption("New");
  extra->SetParent(&bar);
  EXPECT_EQ(SendMessageW(bar.Handle(), TB_BUTTONCOUNT, 0, 0), 6);
  extra->SetVisible(false);
  EXPECT_TRUE(SendMessageW(bar.Handle(), TB_ISBUTTONHIDDEN, static_cast<WPARAM>(extra->CommandId()), 0));
  delete extra;
  EXPECT_EQ(SendMessageW(bar.Handle(), TB_BUTTONCOUNT, 0, 0), 5);
  bar.SetFlat(false);  // in place: the same window
  EXPECT_FALSE(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & TBSTYLE_FLAT);
}

TEST_F(ComCtrlsTest, DropDownButtonShowsItsMenuUnderTheArrow) {
  Show();
  TComForm& f = *FForm;
  HWND h = f.ToolBar1->Handle();
  EXPECT_TRUE(SendMessageW(h, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS);
  const RECT b = f.ToolButton5->BoundsRect();
  Click(h, b.right - 4, (b.top + b.bottom) / 2);  // the arrow part
  ASSERT_TRUE(bw::test::PumpUntil([&] { return !f.PopupRects.empty(); }));
  EXPECT_TRUE(f.Logged("PopupMenu1Popup"));
  const POINT below = f.ToolBar1->ClientToScreen(POINT{b.left, b.bottom});
  EXPECT_EQ(f.PopupRects.back().left, below.x);
  EXPECT_EQ(f.PopupRects.back().top, below.y);
  EXPECT_EQ(f.PopupMenu1->PopupComponent(), f.ToolButton5);
  // Freeing the menu leaves the button without one.
  delete f.PopupMenu1;
  f.PopupMenu1 = nullptr;
  EXPECT_EQ(f.ToolButton5->DropdownMenu(), nullptr);
  Click(h, b.right - 4, (b.top + b.bottom) / 2);
  EXPECT_EQ(f.PopupRects.size(), 1u);
}

}  // namespace
}  // namespace bw::win::test
