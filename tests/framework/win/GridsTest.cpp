// Grids: real window scroll bars, scrolling by bars, wheel and keys, selection with the
// mouse and keys, and the string grid's cells.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/win/ComCtrlsFixture.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

class GridTest : public ComCtrlsTest {
 protected:
  void SetUp() override {
    ComCtrlsTest::SetUp();
    FForm->PageControl1->SetActivePage(FForm->TabSheet3);
    Show();
    FGrid = FForm->StringGrid1;
    FGrid->SetFocus();
  }
  void Key(WPARAM key) { SendMessageW(FGrid->Handle(), WM_KEYDOWN, key, 0); }
  TStringGrid* FGrid = nullptr;
};

TEST_F(GridTest, ScrollBarsAreRealWindowBars) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(FGrid->Handle(), OBJID_VSCROLL, &info));
  EXPECT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);  // 30 rows do not fit
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(FGrid->Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax, 28);  // the 29 scrollable rows
  SendMessageW(FGrid->Handle(), WM_VSCROLL, SB_BOTTOM, 0);  // the bar's last position is the last top row
  EXPECT_EQ(FGrid->TopRow() - FGrid->FixedRows(), si.nMax - static_cast<int>(si.nPage) + 1);
  EXPECT_EQ(GetScrollPos(FGrid->Handle(), SB_VERT), FGrid->TopRow() - 1);
  // Four columns fit: no horizontal bar.
  ASSERT_TRUE(GetScrollBarInfo(FGrid->Handle(), OBJID_HSCROLL, &info));
  EXPECT_TRUE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  FGrid->SetColCount(12);
  ASSERT_TRUE(GetScrollBarInfo(FGrid->Handle(), OBJID_HSCROLL, &info));
  EXPECT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

TEST_F(GridTest, BarsWheelAndKeysScroll) {
  EXPECT_EQ(FGrid->TopRow(), 1);
  SendMessageW(FGrid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(FGrid->TopRow(), 2);
  EXPECT_EQ(GetScrollPos(FGrid->Handle(), SB_VERT), 1);
  SendMessageW(FGrid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(FGrid->TopRow(), 2 + FGrid->VisibleRowCount());
  SendMessageW(FGrid->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  const int bottom = FGrid->TopRow();
  EXPECT_EQ(bottom + FGrid->VisibleRowCount(), FGrid->RowCount());  // the last row shows whole
  SendMessageW(FGrid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(FGrid->TopRow(), bottom);
  SendMessageW(FGrid->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(FGrid->TopRow(), 1);

  // One notch of the wheel scrolls by the system's wheel lines; half notches add up.
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  SendMessageW(FGrid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)), 0);
  EXPECT_EQ(FGrid->TopRow(), 1);
  SendMessageW(FGrid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)), 0);
  EXPECT_EQ(FGrid->TopRow(), 1 + static_cast<int>(lines));
  SendMessageW(FGrid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 5), 0);
  EXPECT_EQ(FGrid->TopRow(), 1);

  // Moving the current cell below the view scrolls it in.
  for (int i = 0; i < 20; ++i) Key(VK_DOWN);
  EXPECT_EQ(FGrid->Row(), 21);
  EXPECT_GE(21, FGrid->TopRow());
  EXPECT_LT(21, FGrid->TopRow() + FGrid->VisibleRowCount());
  Key(VK_NEXT);
  Key(VK_NEXT);
  Key(VK_NEXT);
  EXPECT_EQ(FGrid->Row(), 29);  // clamped to the last row
  Key(VK_UP);
  EXPECT_EQ(FGrid->Row(), 28);
  EXPECT_EQ(SendMessageW(FGrid->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(GridTest, SelectionByMouseAndKeysAsksOnSelectCell) {
  const RECT cell = FGrid->CellRect(2, 3);
  ASSERT_FALSE(IsRectEmpty(&cell));
  const TGridCoord hit = FGrid->MouseCoord(cell.left + 1, cell.top + 1);
  EXPECT_EQ(hit.X, 2);
  EXPECT_EQ(hit.Y, 3);
  Click(FGrid->Handle(), cell.left + 5, cell.top + 5);
  EXPECT_EQ(FGrid->Col(), 2);
  EXPECT_EQ(FGrid->Row(), 3);
  EXPECT_TRUE(FForm->Logged("Cell 2,3"));
  // A click on a fixed cell changes nothing.
  const RECT fixed = FGrid->CellRect(0, 5);
  Click(FGrid->Handle(), fixed.left + 3, fixed.top + 3);
  EXPECT_EQ(FGrid->Row(), 3);

  // Shift and arrows extend a range.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  Key(VK_RIGHT);
  Key(VK_DOWN);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  const TGridRect range = FGrid->Selection();
  EXPECT_EQ(range.Left, 2);
  EXPECT_EQ(range.Top, 3);
  EXPECT_EQ(range.Right, 3);
  EXPECT_EQ(range.Bottom, 4);
  Key(VK_LEFT);  // without shift: one cell again
  EXPECT_EQ(FGrid->Selection().Right, FGrid->Selection().Left);

  // Dragging selects a range too.
  const RECT from = FGrid->CellRect(1, 1), to = FGrid->CellRect(2, 2);
  SendMessageW(FGrid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.left + 3, from.top + 3));
  SendMessageW(FGrid->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.left + 3, to.top + 3));
  SendMessageW(FGrid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(to.left + 3, to.top + 3));
  EXPECT_EQ(FGrid->Selection().Left, 1);
  EXPECT_EQ(FGrid->Selection().Bottom, 2);

  // A refused cell is not entered.
  FForm->AllowCell = false;
  Key(VK_DOWN);
  EXPECT_EQ(FGrid->Row(), 2);
}

TEST_F(GridTest, CellsRowsAndPainting) {
  EXPECT_EQ(FGrid->Cells(0, 0), "File");
  EXPECT_EQ(FGrid->Cells(99, 0), "");  // outside: empty
  FGrid->SetCells(99, 99, "ignored");
  EXPECT_EQ(FGrid->RowCount(), 30);
  FGrid->SetCells(3, 2, "new");
  EXPECT_EQ(FGrid->Rows()->Get(2), "talk_002.png\tPNG\t3001\tnew");
  EXPECT_EQ(FGrid->Rows()->Count(), 3);  // trailing empty rows left out
  // Lines wider and longer than the grid grow it.
  FGrid->Rows()->Add("a\tb\tc\td\te");
  EXPECT_EQ(FGrid->ColCount(), 5);
  EXPECT_EQ(FGrid->Cells(4, 3), "e");
  FGrid->SetRowCount(2);
  EXPECT_EQ(FGrid->Rows()->Count(), 2);
  EXPECT_EQ(FGrid->Row(), 1);  // the current cell stays inside

  // Fixed cells in the fixed colour; the focused cell in the window colour.
  bw::test::WaitPainted(FForm->Handle());
  const RECT fixed = FGrid->CellRect(1, 0);
  EXPECT_EQ(Pixel(*FGrid, fixed.right - 3, fixed.bottom - 3, RGB(192, 192, 192)), RGB(192, 192, 192));
  FGrid->SetFixedColor(core::clYellow);  // as a skin sets it, by property
  EXPECT_EQ(core::SetIntProp(FGrid, "FixedColor", core::clLime), core::TPropResult::Done);
  bw::test::WaitPainted(FForm->Handle());
  EXPECT_EQ(Pixel(*FGrid, fixed.right - 3, fixed.bottom - 3, RGB(0, 255, 0)), RGB(0, 255, 0));
}

TEST(GridSizes, CountsClampTheFixedPartAndTheCurrentCell) {
  TStringGrid grid(nullptr);
  grid.SetFixedCols(9);
  EXPECT_EQ(grid.FixedCols(), 4);  // one scrollable column stays
  grid.SetColCount(2);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.Col(), 1);
  grid.SetRowCount(0);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.Row(), 0);
  grid.SetCells(1, 0, "x");
  EXPECT_EQ(grid.Cells(1, 0), "x");
  grid.SetColWidths(-1, 10);  // outside: ignored
  EXPECT_EQ(grid.ColWidths(5), 0);
}

}  // namespace
}  // namespace bw::win::test
