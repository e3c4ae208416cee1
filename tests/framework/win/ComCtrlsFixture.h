#pragma once
// A form with one of each common control, read from forms/ComForm.form, and what its
// handlers saw.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Application.h"
#include "framework/win/DateTime.h"
#include "framework/win/Forms.h"
#include "framework/win/Grids.h"
#include "framework/win/ImageList.h"
#include "framework/win/ListView.h"
#include "framework/win/Menus.h"
#include "framework/win/StatusBar.h"
#include "framework/win/Tabs.h"
#include "framework/win/ToolBar.h"
#include "framework/win/TreeView.h"

namespace bw::win::test {

class TComForm : public TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TComForm(core::TComponent* owner) : TForm(owner) {}

  TToolBar* ToolBar1 = nullptr;
  TToolButton* ToolButton1 = nullptr;
  TToolButton* ToolButton3 = nullptr;
  TToolButton* ToolButton4 = nullptr;
  TToolButton* ToolButton5 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  std::vector<RECT> PopupRects;  // where the drop-down menu showed
  TStatusBar* StatusBar1 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TTabSheet* TabSheet3 = nullptr;
  TTabSheet* TabSheet4 = nullptr;
  TListView* ListView1 = nullptr;
  TTreeView* TreeView1 = nullptr;
  TStringGrid* StringGrid1 = nullptr;
  TTabControl* TabControl1 = nullptr;
  THeaderControl* HeaderControl1 = nullptr;
  TDateTimePicker* DateTimePicker1 = nullptr;
  TDateTimePicker* DateTimePicker2 = nullptr;
  TTabSet* TabSet1 = nullptr;
  TDrawGrid* DrawGrid1 = nullptr;
  TImageList* ImageList1 = nullptr;

  std::vector<std::string> Log;
  bool AllowTabChange = true;
  bool AllowCell = true;
  std::vector<TCustomDrawState> ButtonStates;
  std::vector<RECT> PanelRects;

  void ToolButton1Click(core::TObject*) { Log.push_back("ToolButton1Click"); }
  void ToolBar1CustomDrawButton(TToolBar*, TToolButton* button, TCustomDrawState state, bool&) {
    if (button == ToolButton3) ButtonStates.push_back(state);
  }
  void StatusBar1DrawPanel(TCustomStatusBar*, TStatusPanel* panel, const RECT& rect) {
    Log.push_back("DrawPanel " + std::to_string(panel->Index()));
    PanelRects.push_back(rect);
  }
  void PageControl1Change(core::TObject*) { Log.push_back("PageControl1Change"); }
  void ListView1SelectItem(core::TObject*, TListItem* item, bool selected) {
    Log.push_back("Select " + item->Caption() + (selected ? " on" : " off"));
  }
  void ListView1ColumnClick(core::TObject*, TListColumn* column) { Log.push_back("Column " + column->Caption()); }
  void TreeView1Change(core::TObject*, TTreeNode* node) { Log.push_back("Tree " + (node ? node->Text() : "-")); }
  void StringGrid1SelectCell(core::TObject*, int col, int row, bool& canSelect) {
    Log.push_back("Cell " + std::to_string(col) + "," + std::to_string(row));
    canSelect = AllowCell;
  }
  void TabControl1Change(core::TObject*) { Log.push_back("TabControl1Change"); }
  void TabControl1Changing(core::TObject*, bool& allow) {
    Log.push_back("TabControl1Changing");
    allow = AllowTabChange;
  }
  void HeaderControl1SectionClick(THeaderControl*, THeaderSection* section) { Log.push_back("Section " + section->Text()); }
  void DateTimePicker1Change(core::TObject*) { Log.push_back("DateTimePicker1Change"); }
  void TabSet1Change(core::TObject*) { Log.push_back("TabSet1Change"); }
  // Notes where the menu window opens and closes it from inside the menu loop.
  void PopupMenu1Popup(core::TObject*);

  bool Logged(const std::string& entry) const;
};

class ComCtrlsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void Show();
  // A press and release of the left button at a client point of `window`.
  static void Click(HWND window, int x, int y);
  COLORREF Pixel(TControl& c, int x, int y, COLORREF expected);

  std::unique_ptr<TApplication> FApp;
  TComForm* FForm = nullptr;
};

std::wstring ClassNameOf(HWND window);

}  // namespace bw::win::test
