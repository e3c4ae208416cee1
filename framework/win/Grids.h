#pragma once
// Grids: a control of its own class painting rows and columns of cells, fixed ones at the
// top and left, scrolled by real window scroll bars, the wheel and the keys.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TBorderStyle;
using core::TGridOption;
using core::TGridOptions;
using core::TScrollStyle;

struct TGridCoord {
  int X = -1;
  int Y = -1;
};

// Inclusive on all sides.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool Contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
};

enum class TGridDrawStateFlag : std::uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = core::TSet<TGridDrawStateFlag>;

using TSelectCellEvent = core::TEvent<void(core::TObject* sender, int col, int row, bool& canSelect)>;
using TDrawCellEvent =
    core::TEvent<void(core::TObject* sender, int col, int row, const RECT& rect, TGridDrawState state)>;

class TCustomGrid : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomGrid(core::TComponent* owner);

  int ColCount() const { return FColCount; }
  void SetColCount(int count);
  int RowCount() const { return FRowCount; }
  void SetRowCount(int count);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int count);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int count);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor color);
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int px);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int px);
  int ColWidths(int col) const;
  void SetColWidths(int col, int px);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int px);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle style);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle style);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions options);

  // The current cell; moving it asks OnSelectCell and scrolls it into view.
  int Col() const { return FCol; }
  void SetCol(int col) { MoveCurrent(col, FRow, false); }
  int Row() const { return FRow; }
  void SetRow(int row) { MoveCurrent(FCol, row, false); }
  TGridRect Selection() const { return FSelection; }
  // The first scrollable column and row shown.
  int LeftCol() const { return FLeftCol; }
  void SetLeftCol(int col);
  int TopRow() const { return FTopRow; }
  void SetTopRow(int row);
  // Scrollable columns and rows shown whole from LeftCol and TopRow.
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // A cell's rectangle in client coordinates; empty when it is scrolled out of view.
  RECT CellRect(int col, int row) const;
  // The cell under a client point; X and Y are -1 off the cells.
  TGridCoord MouseCoord(int x, int y) const;

  TSelectCellEvent OnSelectCell;
  TDrawCellEvent OnDrawCell;

 protected:
  virtual void DrawCell(int col, int row, const RECT& rect, TGridDrawState state);
  virtual bool SelectCell(int col, int row);
  // After ColCount or RowCount changed.
  virtual void SizeChanged() {}
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void Paint() override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;

 private:
  static const core::TPropInfo kProps[];
  bool MoveCurrent(int col, int row, bool extend);
  void ScrollInView(int col, int row);
  void UpdateScrollBars();
  void Scroll(int bar, int code);
  void KeyDown(WPARAM key);
  int MaxLeftCol() const;
  int MaxTopRow() const;
  void ClampCurrent();
  int FixedWidth() const;
  int FixedHeight() const;

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  TColor FFixedColor = clBtnFace;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  TScrollStyle FScrollBars = TScrollStyle::ssBoth;
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  TGridOptions FOptions{TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                        TGridOption::goHorzLine, TGridOption::goRangeSelect};
  int FCol = 1;
  int FRow = 1;
  TGridCoord FAnchor{1, 1};  // where a range selection started
  TGridRect FSelection{1, 1, 1, 1};
  int FLeftCol = 1;
  int FTopRow = 1;
  bool FDragging = false;
  bool FUpdatingScrollBars = false;
  int FWheelRemainder = 0;
};

class TDrawGrid : public TCustomGrid {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TDrawGrid(core::TComponent* owner) : TCustomGrid(owner) {}
};

// A grid keeping a text per cell. Rows gives the cells as lines of text, one per row,
// the cells of a row separated by tab characters; assigning it fills the cells (and
// grows the grid to fit).
class TStringGrid : public TDrawGrid {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TStringGrid(core::TComponent* owner);
  ~TStringGrid() override;

  // Cells outside the grid read as empty; writes to them are ignored.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  core::TStringList* Rows() const;

 protected:
  void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
  void SizeChanged() override;

 private:
  static const core::TPropInfo kProps[];
  void RowsChanged();
  std::vector<std::vector<std::string>> FCells;  // [row][col]
  std::unique_ptr<core::TStringList> FRows;
  bool FWritingRows = false;
};

}  // namespace bw::win
