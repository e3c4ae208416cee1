// Edits, memos, rich edits, list boxes and combo boxes: text kept in step with what the
// user types, lines of a memo, selections and their events, owner-drawn items, and
// re-created windows keeping what the user left in them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/core/Exceptions.h"
#include "framework/win/Text.h"
#include "tests/framework/win/ControlsForm.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

std::string WindowText(HWND h) {
  wchar_t text[512] = {};
  GetWindowTextW(h, text, 512);
  return Narrow(text);
}

// Puts `text` at the end of an edit as typing would.
void Type(HWND edit, const std::string& text) {
  SendMessageW(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  const std::wstring wide = Widen(text);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

using EditCtrlsTest = ControlsFormTest;

TEST_F(EditCtrlsTest, EditTextFollowsTheWindow) {
  Show();
  TEdit& edit = *FForm->Edit1;
  Type(edit.Handle(), " now");
  EXPECT_EQ(edit.Text(), "Edit me now");
  EXPECT_EQ(edit.Caption(), "Edit me now");  // never stale
  EXPECT_EQ(std::count(FForm->Log.begin(), FForm->Log.end(), "Edit1Change"), 1);
  edit.SetText("Edit me");  // back to the text the caption once held
  EXPECT_EQ(WindowText(edit.Handle()), "Edit me");
  // MaxLength 20 limits typing, not code.
  Type(edit.Handle(), " and a lot more text");
  EXPECT_EQ(edit.Text().size(), 20u);
  edit.SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongPtrW(edit.Handle(), GWL_STYLE) & ES_READONLY);
  // Without a border the client area is the window; the text survives the new window.
  const std::string before = edit.Text();
  edit.SetBorderStyle(TBorderStyle::bsNone);
  RECT window, client;
  GetWindowRect(edit.Handle(), &window);
  GetClientRect(edit.Handle(), &client);
  EXPECT_EQ(client.right, window.right - window.left);
  EXPECT_EQ(edit.Text(), before);
  EXPECT_TRUE(GetWindowLongPtrW(edit.Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(EditCtrlsTest, MemoLinesAreTheWindowsLines) {
  Show();
  TMemo& memo = *FForm->Memo1;
  core::TStrings& lines = *memo.Lines();
  EXPECT_EQ(WindowText(memo.Handle()), "First line\r\nSecond line");
  lines.Add("Third");
  EXPECT_EQ(WindowText(memo.Handle()), "First line\r\nSecond line\r\nThird");
  Type(memo.Handle(), "\r\nTyped");
  ASSERT_EQ(lines.Count(), 4);
  EXPECT_EQ(lines[3], "Typed");
  lines.Delete(0);
  lines.Put(0, "Changed");
  lines.Insert(1, "Inserted");
  EXPECT_EQ(WindowText(memo.Handle()), "Changed\r\nInserted\r\nThird\r\nTyped");
  Type(memo.Handle(), "\r\n");  // a final line break: an empty last line
  EXPECT_EQ(lines.Count(), 5);
  EXPECT_EQ(lines[4], "");
  lines.SetText("a\r\nb\r\n");
  EXPECT_EQ(WindowText(memo.Handle()), "a\r\nb");
  EXPECT_THROW(lines.Get(2), core::EStringListError);
  EXPECT_THROW(lines.Delete(-1), core::EStringListError);
  lines.Clear();
  EXPECT_EQ(lines.Count(), 0);
  // The scroll bars come from ScrollBars; WordWrap stops horizontal scrolling.
  lines.Add("kept");
  memo.SetScrollBars(TScrollStyle::ssBoth);
  const LONG_PTR style = GetWindowLongPtrW(memo.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  EXPECT_FALSE(style & ES_AUTOHSCROLL);
  EXPECT_EQ(lines[0], "kept");
  memo.SetWordWrap(false);
  EXPECT_TRUE(GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & ES_AUTOHSCROLL);
}

TEST(Memo, LinesWithoutAWindowLiveInTheText) {
  TMemo memo(nullptr);
  memo.Lines()->BeginUpdate();
  memo.Lines()->Add("one");
  memo.Lines()->Add("two");
  EXPECT_EQ(memo.Text(), "");  // collected until the update ends
  memo.Lines()->EndUpdate();
  EXPECT_EQ(memo.Text(), "one\r\ntwo");
  memo.SetText("x\ry\nz");
  ASSERT_EQ(memo.Lines()->Count(), 3);
  EXPECT_EQ(memo.Lines()->Get(1), "y");
  EXPECT_EQ(memo.Lines()->Text(), "x\r\ny\r\nz\r\n");
}

TEST_F(EditCtrlsTest, RichEditIsTheSystemsRichEditWithLines) {
  Show();
  TRichEdit& rich = *FForm->RichEdit1;
  int changes = 0;
  rich.OnChange = [&](core::TObject*) { ++changes; };
  rich.Lines()->Add("Second");
  ASSERT_EQ(rich.Lines()->Count(), 2);
  EXPECT_EQ(rich.Lines()->Get(1), "Second");
  Type(rich.Handle(), " typed");
  EXPECT_EQ(rich.Lines()->Get(1), "Second typed");
  EXPECT_GE(changes, 1);
  const LONG_PTR style = GetWindowLongPtrW(rich.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
}

TEST_F(EditCtrlsTest, ListBoxSelectionAndItemsStayInStep) {
  Show();
  TListBox& list = *FForm->ListBox1;
  HWND h = list.Handle();
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 2);
  list.SetFocus();
  SendMessageW(h, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(std::count(FForm->Log.begin(), FForm->Log.end(), "ListBox1Click"), 1);
  list.Items()->Add("Delta");
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(list.ItemIndex(), 1);  // the selection outlives the new item
  // Another style: a new window, the same items and selection, owner-drawn fixed items.
  list.SetStyle(TListBoxStyle::lbOwnerDrawFixed);
  list.SetItemHeight(22);
  h = list.Handle();
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0), 22);
  list.Items()->Clear();
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(EditCtrlsTest, OwnerDrawnListsAskTheirHandlers) {
  TListBox& list = *FForm->ListBox2;
  // A child's window asked for first is made once, with its parent's.
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETITEMHEIGHT, 0, 0), 20);
  int lists = 0;
  for (HWND w = FindWindowExW(FForm->Handle(), nullptr, L"TListBox", nullptr); w;
       w = FindWindowExW(FForm->Handle(), w, L"TListBox", nullptr))
    ++lists;
  EXPECT_EQ(lists, 2);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETITEMHEIGHT, 1, 0), 30);  // OnMeasureItem
  EXPECT_EQ(SendMessageW(FForm->ComboBox4->Handle(), CB_GETITEMHEIGHT, 0, 0), 18);
  EXPECT_EQ(SendMessageW(FForm->ComboBox5->Handle(), CB_GETITEMHEIGHT, 1, 0), 30);
  FForm->DrawnItems.clear();
  Show();
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    const auto& d = FForm->DrawnItems;
    return std::count(d.begin(), d.end(), 2) >= 1 && std::count(d.begin(), d.end(), 1) >= 1;
  }));
  EXPECT_EQ(Pixel(list, 30, 5, ItemColor(0)), ItemColor(0));
  EXPECT_EQ(Pixel(list, 30, 20 + 30 + 5, ItemColor(2)), ItemColor(2));
  // The owner-drawn combo box shows its selected item in the edit field.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(FForm->ComboBox4->Handle(), &info));
  EXPECT_EQ(Pixel(*FForm->ComboBox4, info.rcItem.left + 4, (info.rcItem.top + info.rcItem.bottom) / 2, ItemColor(0)),
            ItemColor(0));
}

TEST_F(EditCtrlsTest, ComboBoxTextInEveryStyle) {
  Show();
  TComboBox& drop = *FForm->ComboBox1;
  int changes = 0, selections = 0;
  drop.OnChange = [&](core::TObject*) { ++changes; };
  drop.OnSelect = [&](core::TObject*) {
    ++selections;
    EXPECT_EQ(drop.Text(), drop.Items()->Get(drop.ItemIndex()));  // the new text already
  };
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(drop.Handle(), &info));
  EXPECT_EQ(WindowText(info.hwndItem), "Typed");
  Type(info.hwndItem, "!");
  EXPECT_EQ(drop.Text(), "Typed!");
  EXPECT_EQ(changes, 1);
  drop.SetFocus();
  SendMessageW(drop.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(drop.ItemIndex(), 0);
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(drop.Text(), "Red");
  // Another style keeps what was typed.
  drop.SetText("Mine");
  drop.SetStyle(TComboBoxStyle::csSimple);
  EXPECT_EQ(drop.Text(), "Mine");
  EXPECT_EQ(WindowText(drop.Handle()), "Mine");
  // A list style's text is its selected item; setting a text selects the item.
  TComboBox& list = *FForm->ComboBox3;
  list.SetText("Listed");
  EXPECT_EQ(list.ItemIndex(), 0);
  list.SetText("Not an item");
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Text(), "");
}

}  // namespace
}  // namespace bw::win::test
