#include "framework/win/Grids.h"

#include <algorithm>

#include "framework/win/GdiHandles.h"

namespace bw::win {

namespace {
constexpr int kLinePx = 1;  // every cell is followed by a line's width, drawn or not
}  // namespace

const core::TPropInfo TCustomGrid::kProps[] = {
    core::IntProp<&TCustomGrid::FColCount, &TCustomGrid::SetColCount>("ColCount", 5),
    core::IntProp<&TCustomGrid::FRowCount, &TCustomGrid::SetRowCount>("RowCount", 5),
    core::IntProp<&TCustomGrid::FFixedCols, &TCustomGrid::SetFixedCols>("FixedCols", 1),
    core::IntProp<&TCustomGrid::FFixedRows, &TCustomGrid::SetFixedRows>("FixedRows", 1),
    core::IntProp<&TCustomGrid::FFixedColor, &TCustomGrid::SetFixedColor>("FixedColor", clBtnFace,
                                                                          &core::kColorIdents),
    core::IntProp<&TCustomGrid::FDefaultColWidth, &TCustomGrid::SetDefaultColWidth>("DefaultColWidth", 64),
    core::IntProp<&TCustomGrid::FDefaultRowHeight, &TCustomGrid::SetDefaultRowHeight>("DefaultRowHeight", 24),
    core::EnumProp<&TCustomGrid::FScrollBars, &TCustomGrid::SetScrollBars>("ScrollBars", core::kScrollStyleInfo,
                                                                           TScrollStyle::ssBoth),
    core::EnumProp<&TCustomGrid::FBorderStyle, &TCustomGrid::SetBorderStyle>("BorderStyle", core::kBorderStyleInfo,
                                                                             TBorderStyle::bsSingle),
    core::SetProp<&TCustomGrid::FOptions, &TCustomGrid::SetOptions>(
        "Options", core::kGridOptionInfo,
        TGridOptions{TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
                     TGridOption::goHorzLine, TGridOption::goRangeSelect}),
    core::EventProp<&TCustomGrid::OnSelectCell>("OnSelectCell"),
    core::EventProp<&TCustomGrid::OnDrawCell>("OnDrawCell"),
};
const core::TClassInfo TCustomGrid::kClass{"TCustomGrid", &TCustomControl::kClass, kProps, {}};
const core::TClassInfo TDrawGrid::kClass{"TDrawGrid", &TCustomGrid::kClass, {}, {},
                                         &core::CreateComponentOf<TDrawGrid>};

TCustomGrid::TCustomGrid(core::TComponent* owner) : TCustomControl(owner) {
  FWidth = 320;
  FHeight = 120;
  FTabStop = true;
  FColor = clWindow;
  FDoubleBuffered = true;
  FColWidths.assign(static_cast<size_t>(FColCount), FDefaultColWidth);
  FRowHeights.assign(static_cast<size_t>(FRowCount), FDefaultRowHeight);
}

// ---- sizes

void TCustomGrid::SetColCount(int count) {
  count = std::max(count, 1);
  if (count == FColCount) return;
  FColCount = count;
  FColWidths.resize(static_cast<size_t>(count), FDefaultColWidth);
  FFixedCols = std::min(FFixedCols, count - 1);
  ClampCurrent();
  SizeChanged();
}

void TCustomGrid::SetRowCount(int count) {
  count = std::max(count, 1);
  if (count == FRowCount) return;
  FRowCount = count;
  FRowHeights.resize(static_cast<size_t>(count), FDefaultRowHeight);
  FFixedRows = std::min(FFixedRows, count - 1);
  ClampCurrent();
  SizeChanged();
}

void TCustomGrid::SetFixedCols(int count) {
  FFixedCols = std::clamp(count, 0, FColCount - 1);
  ClampCurrent();
}

void TCustomGrid::SetFixedRows(int count) {
  FFixedRows = std::clamp(count, 0, FRowCount - 1);
  ClampCurrent();
}

void TCustomGrid::SetFixedColor(TColor color) {
  FFixedColor = color;
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int px) {
  FDefaultColWidth = std::max(px, 0);
  FColWidths.assign(static_cast<size_t>(FColCount), FDefaultColWidth);
  ClampCurrent();
}

void TCustomGrid::SetDefaultRowHeight(int px) {
  FDefaultRowHeight = std::max(px, 0);
  FRowHeights.assign(static_cast<size_t>(FRowCount), FDefaultRowHeight);
  ClampCurrent();
}

int TCustomGrid::ColWidths(int col) const {
  return col >= 0 && col < FColCount ? FColWidths[static_cast<size_t>(col)] : 0;
}

void TCustomGrid::SetColWidths(int col, int px) {
  if (col < 0 || col >= FColCount) return;
  FColWidths[static_cast<size_t>(col)] = std::max(px, 0);
  ClampCurrent();
}

int TCustomGrid::RowHeights(int row) const {
  return row >= 0 && row < FRowCount ? FRowHeights[static_cast<size_t>(row)] : 0;
}

void TCustomGrid::SetRowHeights(int row, int px) {
  if (row < 0 || row >= FRowCount) return;
  FRowHeights[static_cast<size_t>(row)] = std::max(px, 0);
  ClampCurrent();
}

void TCustomGrid::SetScrollBars(TScrollStyle style) {
  if (style == FScrollBars) return;
  FScrollBars = style;
  RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TCustomGrid::SetOptions(TGridOptions options) {
  FOptions = options;
  Invalidate();
}

// Keeps the current cell, the selection and the scroll position inside the grid.
void TCustomGrid::ClampCurrent() {
  FCol = std::clamp(FCol, FFixedCols, FColCount - 1);
  FRow = std::clamp(FRow, FFixedRows, FRowCount - 1);
  FAnchor = TGridCoord{std::clamp(FAnchor.X, FFixedCols, FColCount - 1), std::clamp(FAnchor.Y, FFixedRows, FRowCount - 1)};
  FSelection = TGridRect{std::min(FAnchor.X, FCol), std::min(FAnchor.Y, FRow), std::max(FAnchor.X, FCol),
                         std::max(FAnchor.Y, FRow)};
  FLeftCol = std::clamp(FLeftCol, FFixedCols, MaxLeftCol());
  FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
  UpdateScrollBars();
  Invalidate();
}

// ---- geometry

int TCustomGrid::FixedWidth() const {
  int w = 0;
  for (int c = 0; c < FFixedCols; ++c) w += ColWidths(c) + kLinePx;
  return w;
}

int TCustomGrid::FixedHeight() const {
  int h = 0;
  for (int r = 0; r < FFixedRows; ++r) h += RowHeights(r) + kLinePx;
  return h;
}

int TCustomGrid::MaxLeftCol() const {
  const int room = ClientWidth() - FixedWidth();
  int used = 0, col = FColCount;
  while (col > FFixedCols && used + ColWidths(col - 1) + kLinePx <= room) used += ColWidths(--col) + kLinePx;
  return std::clamp(col, FFixedCols, FColCount - 1);
}

int TCustomGrid::MaxTopRow() const {
  const int room = ClientHeight() - FixedHeight();
  int used = 0, row = FRowCount;
  while (row > FFixedRows && used + RowHeights(row - 1) + kLinePx <= room) used += RowHeights(--row) + kLinePx;
  return std::clamp(row, FFixedRows, FRowCount - 1);
}

int TCustomGrid::VisibleColCount() const {
  int x = FixedWidth(), n = 0;
  for (int c = FLeftCol; c < FColCount && x + ColWidths(c) <= ClientWidth(); ++c, ++n) x += ColWidths(c) + kLinePx;
  return n;
}

int TCustomGrid::VisibleRowCount() const {
  int y = FixedHeight(), n = 0;
  for (int r = FTopRow; r < FRowCount && y + RowHeights(r) <= ClientHeight(); ++r, ++n) y += RowHeights(r) + kLinePx;
  return n;
}

RECT TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return RECT{};
  if ((col >= FFixedCols && col < FLeftCol) || (row >= FFixedRows && row < FTopRow)) return RECT{};
  int x = 0, y = 0;
  for (int c = 0; c < col; ++c)
    if (c < FFixedCols || c >= FLeftCol) x += ColWidths(c) + kLinePx;
  for (int r = 0; r < row; ++r)
    if (r < FFixedRows || r >= FTopRow) y += RowHeights(r) + kLinePx;
  if (x >= ClientWidth() || y >= ClientHeight()) return RECT{};
  return RECT{x, y, x + ColWidths(col), y + RowHeights(row)};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord coord;
  auto find = [](int p, int count, int fixed, int first, auto extent) {
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (i >= fixed && i < first) continue;
      const int next = at + extent(i) + kLinePx;
      if (p >= at && p < next) return i;
      at = next;
    }
    return -1;
  };
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return coord;
  coord.X = find(x, FColCount, FFixedCols, FLeftCol, [this](int c) { return ColWidths(c); });
  coord.Y = find(y, FRowCount, FFixedRows, FTopRow, [this](int r) { return RowHeights(r); });
  if (coord.X < 0 || coord.Y < 0) coord = TGridCoord{};
  return coord;
}

// ---- current cell and scrolling

bool TCustomGrid::SelectCell(int col, int row) {
  bool allowed = true;
  OnSelectCell(this, col, row, allowed);
  return allowed;
}

bool TCustomGrid::MoveCurrent(int col, int row, bool extend) {
  col = std::clamp(col, FFixedCols, FColCount - 1);
  row = std::clamp(row, FFixedRows, FRowCount - 1);
  if (!SelectCell(col, row)) return false;
  FCol = col;
  FRow = row;
  if (!extend || !FOptions.Contains(TGridOption::goRangeSelect)) FAnchor = TGridCoord{col, row};
  FSelection = TGridRect{std::min(FAnchor.X, col), std::min(FAnchor.Y, row), std::max(FAnchor.X, col),
                         std::max(FAnchor.Y, row)};
  ScrollInView(col, row);
  Invalidate();
  return true;
}

void TCustomGrid::ScrollInView(int col, int row) {
  if (col < FLeftCol) FLeftCol = col;
  while (FLeftCol < col && FLeftCol < MaxLeftCol() && col >= FLeftCol + std::max(VisibleColCount(), 1)) ++FLeftCol;
  if (row < FTopRow) FTopRow = row;
  while (FTopRow < row && FTopRow < MaxTopRow() && row >= FTopRow + std::max(VisibleRowCount(), 1)) ++FTopRow;
  UpdateScrollBars();
}

void TCustomGrid::SetLeftCol(int col) {
  col = std::clamp(col, FFixedCols, MaxLeftCol());
  if (col == FLeftCol) return;
  FLeftCol = col;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetTopRow(int row) {
  row = std::clamp(row, FFixedRows, MaxTopRow());
  if (row == FTopRow) return;
  FTopRow = row;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::UpdateScrollBars() {
  HWND h = WindowHandle();
  if (!h || FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  // Showing or hiding one bar changes the room for the other: settle in a few rounds.
  for (int round = 0; round < 3; ++round) {
    const RECT before = ClientRect();
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) {
      SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, FRowCount - FFixedRows - 1,
                    static_cast<UINT>(FRowCount - MaxTopRow()), FTopRow - FFixedRows, 0};
      SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth) {
      SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, FColCount - FFixedCols - 1,
                    static_cast<UINT>(FColCount - MaxLeftCol()), FLeftCol - FFixedCols, 0};
      SetScrollInfo(h, SB_HORZ, &si, TRUE);
    }
    const RECT after = ClientRect();
    if (EqualRect(&before, &after)) break;
    FLeftCol = std::clamp(FLeftCol, FFixedCols, MaxLeftCol());
    FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
  }
  FUpdatingScrollBars = false;
}

void TCustomGrid::Scroll(int bar, int code) {
  const bool vertical = bar == SB_VERT;
  const int first = vertical ? FTopRow : FLeftCol;
  const int fixed = vertical ? FFixedRows : FFixedCols;
  const int page = std::max(vertical ? VisibleRowCount() : VisibleColCount(), 1);
  int to = first;
  switch (code) {
    case SB_LINEUP: to = first - 1; break;
    case SB_LINEDOWN: to = first + 1; break;
    case SB_PAGEUP: to = first - page; break;
    case SB_PAGEDOWN: to = first + page; break;
    case SB_TOP: to = fixed; break;
    case SB_BOTTOM: to = vertical ? FRowCount : FColCount; break;
    case SB_THUMBTRACK:
      if (!FOptions.Contains(TGridOption::goThumbTracking)) return;
      [[fallthrough]];
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(WindowHandle(), bar, &si);
      to = fixed + si.nTrackPos;
      break;
    }
    default: return;
  }
  if (vertical) SetTopRow(to);
  else SetLeftCol(to);
}

void TCustomGrid::KeyDown(WPARAM key) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  int col = FCol, row = FRow;
  const int pageRows = std::max(VisibleRowCount(), 1);
  switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT: --col; break;
    case VK_RIGHT: ++col; break;
    case VK_PRIOR: row -= pageRows; break;
    case VK_NEXT: row += pageRows; break;
    case VK_HOME: (ctrl ? row : col) = 0; break;
    case VK_END: (ctrl ? row = FRowCount : col = FColCount); break;
    default: return;
  }
  MoveCurrent(col, row, shift);
}

void TCustomGrid::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      // The window's own bars (lParam 0); reflected bars of children go on as usual.
      if (message.LParam != 0) break;
      Scroll(message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(message.WParam));
      message.Result = 0;
      return;
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      FWheelRemainder += GET_WHEEL_DELTA_WPARAM(message.WParam);
      const int notches = FWheelRemainder / WHEEL_DELTA;
      FWheelRemainder -= notches * WHEEL_DELTA;
      if (notches != 0) SetTopRow(FTopRow - notches * static_cast<int>(std::max<UINT>(lines, 1)));
      message.Result = 0;
      return;
    }
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_KEYDOWN:
      KeyDown(message.WParam);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();  // the focused cell's frame
      break;
    case WM_SIZE:
      TCustomControl::WndProc(message);
      FLeftCol = std::clamp(FLeftCol, FFixedCols, MaxLeftCol());
      FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
      UpdateScrollBars();
      Invalidate();
      return;
  }
  TCustomControl::WndProc(message);
}

void TCustomGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
  if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth) params.Style |= WS_HSCROLL;
  if (FBorderStyle == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

// ---- mouse

void TCustomGrid::MouseDown(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    if (CanFocus()) SetFocus();
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
      MoveCurrent(cell.X, cell.Y, GetKeyState(VK_SHIFT) < 0);
      FDragging = FOptions.Contains(TGridOption::goRangeSelect);
      if (FDragging) SetCapture(Handle());
    }
  }
  TCustomControl::MouseDown(button, x, y);
}

void TCustomGrid::MouseMove(int x, int y) {
  if (FDragging) {
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= FFixedCols && cell.Y >= FFixedRows && (cell.X != FCol || cell.Y != FRow))
      MoveCurrent(cell.X, cell.Y, true);
  }
  TCustomControl::MouseMove(x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft && FDragging) {
    FDragging = false;
    ReleaseCapture();
  }
  TCustomControl::MouseUp(button, x, y);
}

// ---- painting

void TCustomGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  OnDrawCell(this, col, row, rect, state);
}

void TCustomGrid::Paint() {
  TCanvas& canvas = Canvas();
  const RECT client = ClientRect();
  canvas.Brush().SetColor(FColor);
  canvas.FillRect(client);
  HDC dc = canvas.Handle();
  const bool focused = Focused();
  const bool rowSelect = FOptions.Contains(TGridOption::goRowSelect);
  TBrushHandle fixedLine(CreateSolidBrush(GetSysColor(COLOR_3DDKSHADOW)));
  TBrushHandle cellLine(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  TBrushHandle highlight(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
  for (int row = 0; row < FRowCount; ++row) {
    if (row >= FFixedRows && row < FTopRow) continue;
    for (int col = 0; col < FColCount; ++col) {
      if (col >= FFixedCols && col < FLeftCol) continue;
      const RECT r = CellRect(col, row);
      if (IsRectEmpty(&r)) continue;
      const bool fixed = col < FFixedCols || row < FFixedRows;
      TGridDrawState state;
      bool selected = false;
      if (fixed) state.Include(TGridDrawStateFlag::gdFixed);
      else if (rowSelect ? (row >= FSelection.Top && row <= FSelection.Bottom) : FSelection.Contains(col, row))
        selected = true;
      const bool current = !fixed && col == FCol && row == FRow;
      if (selected) state.Include(TGridDrawStateFlag::gdSelected);
      if (current && focused) state.Include(TGridDrawStateFlag::gdFocused);
      // The current cell shows the window colour inside its focus frame, as lists do.
      const bool filled = selected && !(current && focused && !rowSelect);
      canvas.Brush().SetColor(fixed ? FFixedColor : (filled ? clHighlight : FColor));
      canvas.FillRect(r);
      if (fixed) {  // raised
        RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
        FillRect(dc, &top, highlight.Get());
        FillRect(dc, &left, highlight.Get());
      }
      {
        TSaveDCGuard saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        DrawCell(col, row, r, state);
      }
      if (current && focused && !rowSelect) {
        RECT f = r;
        DrawFocusRect(dc, &f);
      }
      const bool vert = FOptions.Contains(fixed ? TGridOption::goFixedVertLine : TGridOption::goVertLine);
      const bool horz = FOptions.Contains(fixed ? TGridOption::goFixedHorzLine : TGridOption::goHorzLine);
      HBRUSH line = fixed ? fixedLine.Get() : cellLine.Get();
      if (vert) {
        RECT v{r.right, r.top, r.right + kLinePx, r.bottom + kLinePx};
        FillRect(dc, &v, line);
      }
      if (horz) {
        RECT hz{r.left, r.bottom, r.right + kLinePx, r.bottom + kLinePx};
        FillRect(dc, &hz, line);
      }
    }
  }
}

}  // namespace bw::win
