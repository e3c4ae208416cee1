#include <algorithm>

#include "framework/win/Grids.h"
#include "framework/win/Text.h"

namespace bw::win {

const core::TPropInfo TStringGrid::kProps[] = {
    core::StringsProp<&TStringGrid::Rows>("Rows"),
};
const core::TClassInfo TStringGrid::kClass{"TStringGrid", &TDrawGrid::kClass, kProps, {},
                                           &core::CreateComponentOf<TStringGrid>};

TStringGrid::TStringGrid(core::TComponent* owner)
    : TDrawGrid(owner), FRows(std::make_unique<core::TStringList>()) {
  SizeChanged();
  FRows->OnChange = [this](core::TObject*) { RowsChanged(); };
}

TStringGrid::~TStringGrid() { FRows->OnChange = nullptr; }

void TStringGrid::SizeChanged() {
  FCells.resize(static_cast<size_t>(RowCount()));
  for (auto& row : FCells) row.resize(static_cast<size_t>(ColCount()));
}

std::string TStringGrid::Cells(int col, int row) const {
  if (col < 0 || row < 0 || row >= static_cast<int>(FCells.size())) return {};
  const auto& cells = FCells[static_cast<size_t>(row)];
  return col < static_cast<int>(cells.size()) ? cells[static_cast<size_t>(col)] : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  FCells[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
  const RECT r = CellRect(col, row);
  if (WindowHandle() && !IsRectEmpty(&r)) InvalidateRect(WindowHandle(), &r, FALSE);
}

core::TStringList* TStringGrid::Rows() const {
  // Written from the cells each time it is asked for; trailing empty cells and rows left out.
  auto* self = const_cast<TStringGrid*>(this);
  self->FWritingRows = true;
  FRows->BeginUpdate();
  FRows->Clear();
  std::vector<std::string> lines;
  for (const auto& row : FCells) {
    size_t used = row.size();
    while (used > 0 && row[used - 1].empty()) --used;
    std::string line;
    for (size_t c = 0; c < used; ++c) line += (c ? "\t" : "") + row[c];
    lines.push_back(std::move(line));
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  for (const std::string& line : lines) FRows->Add(line);
  FRows->EndUpdate();
  self->FWritingRows = false;
  return FRows.get();
}

void TStringGrid::RowsChanged() {
  if (FWritingRows) return;
  std::vector<std::vector<std::string>> rows;
  int widest = 0;
  for (int i = 0; i < FRows->Count(); ++i) {
    std::vector<std::string> cells;
    const std::string line = FRows->Get(i);
    size_t start = 0;
    for (;;) {
      const size_t tab = line.find('\t', start);
      cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    widest = std::max(widest, static_cast<int>(cells.size()));
    rows.push_back(std::move(cells));
  }
  SetColCount(std::max(ColCount(), widest));
  SetRowCount(std::max(RowCount(), static_cast<int>(rows.size())));
  for (auto& row : FCells) std::fill(row.begin(), row.end(), std::string());
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) FCells[r][c] = rows[r][c];
  Invalidate();
}

void TStringGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (OnDrawCell) return TDrawGrid::DrawCell(col, row, rect, state);
  const std::string& text = FCells[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (text.empty()) return;
  HDC dc = Canvas().Handle();
  const bool highlighted = state.Contains(TGridDrawStateFlag::gdSelected) && !state.Contains(TGridDrawStateFlag::gdFocused);
  TColor color = FFont->Color();
  if (!FEnabled) color = clGrayText;
  else if (highlighted && !state.Contains(TGridDrawStateFlag::gdFixed)) color = clHighlightText;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(color));
  RECT r{rect.left + 2, rect.top, rect.right - 2, rect.bottom};
  const std::wstring wide = Widen(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

}  // namespace bw::win
