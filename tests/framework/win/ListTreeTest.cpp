// List views with their header, header controls, and tree views.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/StringList.h"
#include "framework/win/Text.h"
#include "tests/framework/win/ComCtrlsFixture.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

std::wstring HeaderText(HWND header, int index) {
  wchar_t text[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return text;
}

TEST_F(ComCtrlsTest, ListViewReportWithColumnsInItsHeader) {
  FForm->PageControl1->SetActivePage(FForm->TabSheet1);
  Show();
  TListView& list = *FForm->ListView1;
  HWND header = list.HeaderHandle();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header, reinterpret_cast<HWND>(SendMessageW(list.Handle(), LVM_GETHEADER, 0, 0)));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(HeaderText(header, 1), L"Size");
  RECT size{};
  ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size)));
  EXPECT_EQ(size.right - size.left, 70);
  wchar_t text[32] = {};
  LVITEMW sub{};
  sub.iSubItem = 1;
  sub.pszText = text;
  sub.cchTextMax = 32;
  SendMessageW(list.Handle(), LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&sub));
  EXPECT_EQ(std::wstring(text), L"40 KB");
  EXPECT_TRUE(SendMessageW(list.Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);

  // Clicking a heading reports its column.
  Click(header, (size.left + size.right) / 2, (size.top + size.bottom) / 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("Column Size"); }));

  // Selecting an item, by code or by the user, reports it.
  list.SetItemIndex(1);
  EXPECT_TRUE(FForm->Logged("Select talk_002.png on"));
  RECT row{};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(list.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  Click(list.Handle(), row.left + 10, (row.top + row.bottom) / 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("Select talk_001.jpg on"); }));
  EXPECT_TRUE(FForm->Logged("Select talk_002.png off"));
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(list.Selected(), &list.Items()->Items(0));

  // Items added, changed and removed in code reach the window; the selection stays.
  TListItem& added = list.Items()->Add();
  added.SetCaption("talk_003.bmp");
  added.SubItems()->Add("7 KB");
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 4);
  SendMessageW(list.Handle(), LVM_GETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&sub));
  EXPECT_EQ(std::wstring(text), L"7 KB");
  list.Items()->Delete(1);
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(list.ItemIndex(), 0);

  // The view changes in place; the header keeps its window.
  list.SetViewStyle(core::TViewStyle::vsList);
  EXPECT_EQ(GetWindowLongPtrW(list.Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
  list.SetViewStyle(core::TViewStyle::vsReport);
  EXPECT_EQ(list.HeaderHandle(), header);
}

TEST_F(ComCtrlsTest, HeaderControlSectionsAndClicks) {
  Show();
  THeaderControl& header = *FForm->HeaderControl1;
  HWND h = header.Handle();
  EXPECT_EQ(HeaderText(h, 0), L"Left");
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(h, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_CENTER);
  RECT middle{};
  ASSERT_TRUE(SendMessageW(h, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&middle)));
  EXPECT_EQ(middle.left, 80);
  Click(h, (middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("Section Middle"); }));

  // With images, a section's image index reaches the window.
  header.SetImages(FForm->ImageList1);
  header.Sections()->Items(0).SetImageIndex(1);
  item.mask = HDI_FORMAT | HDI_IMAGE;
  SendMessageW(h, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_IMAGE);
  EXPECT_EQ(item.iImage, 1);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(h, HDM_GETIMAGELIST, 0, 0)), FForm->ImageList1->Handle());
}

TEST(TreeText, IndentationGivesTheLevels) {
  TTreeView tree(nullptr);
  core::TStringList lines;
  lines.SetText("A\n  A1\n      A1a\n  A2\n\n\tA3\nB\n  B1\n");
  tree.ItemsText()->Assign(lines);
  TTreeNodes& nodes = tree.Items();
  ASSERT_EQ(nodes.TopLevelCount(), 2);
  EXPECT_EQ(nodes.Count(), 7);
  TTreeNode* a = nodes.TopLevel(0);
  ASSERT_EQ(a->Count(), 3);
  EXPECT_EQ(a->Item(0)->Item(0)->Text(), "A1a");  // deeper by any amount: one level
  EXPECT_EQ(a->Item(2)->Text(), "A3");             // a tab indents like spaces
  EXPECT_EQ(a->Item(0)->Item(0)->Level(), 2);
  EXPECT_EQ(nodes.TopLevel(1)->Item(0)->Text(), "B1");
  // Written back with two spaces a level.
  EXPECT_EQ(tree.ItemsText()->Text(), "A\r\n  A1\r\n    A1a\r\n  A2\r\n  A3\r\nB\r\n  B1\r\n");
  nodes.Delete(a->Item(0));
  EXPECT_EQ(nodes.Count(), 5);
  EXPECT_EQ(nodes.Item(1)->Text(), "A2");
  lines.SetText("   \n");
  tree.ItemsText()->Assign(lines);  // nothing but blanks: no nodes
  EXPECT_EQ(nodes.Count(), 0);
}

TEST_F(ComCtrlsTest, TreeViewNodesInTheWindowSelectionAndExpansion) {
  Show();
  TTreeView& tree = *FForm->TreeView1;
  HWND h = tree.Handle();
  TTreeNode* pictures = tree.Items().TopLevel(0);
  ASSERT_NE(pictures, nullptr);
  EXPECT_FALSE(pictures->Expanded());
  pictures->Expand();
  EXPECT_TRUE(SendMessageW(h, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(pictures->ItemId()), TVIS_EXPANDED) &
              TVIS_EXPANDED);
  TTreeNode* png = pictures->Item(1);
  RECT r{};
  const HTREEITEM target = png->ItemId();
  std::memcpy(&r, &target, sizeof target);  // the message takes the item in the rectangle
  ASSERT_TRUE(SendMessageW(h, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  Click(h, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("Tree PNG"); }));
  EXPECT_EQ(tree.Selected(), png);

  // Collapsing by the user is seen by the node; the selection moves up to it.
  SendMessageW(h, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(pictures->ItemId()));
  EXPECT_FALSE(pictures->Expanded());
  EXPECT_EQ(tree.Selected(), pictures);
  // A new window (another border) keeps nodes, expansion and selection.
  pictures->Expand();
  tree.SetSelected(png);
  tree.SetBorderStyle(core::TBorderStyle::bsNone);
  EXPECT_NE(tree.Handle(), h);
  EXPECT_EQ(SendMessageW(tree.Handle(), TVM_GETCOUNT, 0, 0), 6);
  EXPECT_TRUE(pictures->Expanded());
  EXPECT_EQ(tree.Selected(), png);
  png->SetText("Portable");
  wchar_t text[32] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = png->ItemId();
  item.pszText = text;
  item.cchTextMax = 32;
  SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(text), L"Portable");
}

}  // namespace
}  // namespace bw::win::test
