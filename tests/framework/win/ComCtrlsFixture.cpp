#include "tests/framework/win/ComCtrlsFixture.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Bitmap.h"
#include "framework/win/StdCtrls.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {

const core::TMethodInfo kComMethods[] = {
    core::Method<&TComForm::ToolButton1Click>("ToolButton1Click"),
    core::Method<&TComForm::ToolBar1CustomDrawButton>("ToolBar1CustomDrawButton"),
    core::Method<&TComForm::StatusBar1DrawPanel>("StatusBar1DrawPanel"),
    core::Method<&TComForm::PageControl1Change>("PageControl1Change"),
    core::Method<&TComForm::ListView1SelectItem>("ListView1SelectItem"),
    core::Method<&TComForm::ListView1ColumnClick>("ListView1ColumnClick"),
    core::Method<&TComForm::TreeView1Change>("TreeView1Change"),
    core::Method<&TComForm::StringGrid1SelectCell>("StringGrid1SelectCell"),
    core::Method<&TComForm::TabControl1Change>("TabControl1Change"),
    core::Method<&TComForm::TabControl1Changing>("TabControl1Changing"),
    core::Method<&TComForm::HeaderControl1SectionClick>("HeaderControl1SectionClick"),
    core::Method<&TComForm::DateTimePicker1Change>("DateTimePicker1Change"),
    core::Method<&TComForm::TabSet1Change>("TabSet1Change"),
    core::Method<&TComForm::PopupMenu1Popup>("PopupMenu1Popup"),
};
const core::TFieldInfo kComFields[] = {
    core::Field<&TComForm::ToolBar1>("ToolBar1"),
    core::Field<&TComForm::ToolButton1>("ToolButton1"),
    core::Field<&TComForm::ToolButton3>("ToolButton3"),
    core::Field<&TComForm::ToolButton4>("ToolButton4"),
    core::Field<&TComForm::ToolButton5>("ToolButton5"),
    core::Field<&TComForm::PopupMenu1>("PopupMenu1"),
    core::Field<&TComForm::StatusBar1>("StatusBar1"),
    core::Field<&TComForm::PageControl1>("PageControl1"),
    core::Field<&TComForm::TabSheet1>("TabSheet1"),
    core::Field<&TComForm::TabSheet2>("TabSheet2"),
    core::Field<&TComForm::TabSheet3>("TabSheet3"),
    core::Field<&TComForm::TabSheet4>("TabSheet4"),
    core::Field<&TComForm::ListView1>("ListView1"),
    core::Field<&TComForm::TreeView1>("TreeView1"),
    core::Field<&TComForm::StringGrid1>("StringGrid1"),
    core::Field<&TComForm::TabControl1>("TabControl1"),
    core::Field<&TComForm::HeaderControl1>("HeaderControl1"),
    core::Field<&TComForm::DateTimePicker1>("DateTimePicker1"),
    core::Field<&TComForm::DateTimePicker2>("DateTimePicker2"),
    core::Field<&TComForm::TabSet1>("TabSet1"),
    core::Field<&TComForm::DrawGrid1>("DrawGrid1"),
    core::Field<&TComForm::ImageList1>("ImageList1"),
};
const core::TClassInfo TComForm::kClass{"TComForm", &TForm::kClass, {}, kComMethods,
                                        &core::CreateComponentOf<TComForm>, kComFields};

namespace {
TComForm* gPopupForm = nullptr;

// Runs inside the menu's modal loop, once its window is up.
void CALLBACK ClosePopup(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, timer);
  RECT r;
  GetWindowRect(menu, &r);
  if (gPopupForm) gPopupForm->PopupRects.push_back(r);
  EndMenu();
}
}  // namespace

void TComForm::PopupMenu1Popup(core::TObject*) {
  Log.push_back("PopupMenu1Popup");
  gPopupForm = this;
  SetTimer(nullptr, 0, 10, &ClosePopup);
}

bool TComForm::Logged(const std::string& entry) const {
  return std::find(Log.begin(), Log.end(), entry) != Log.end();
}

void ComCtrlsTest::SetUp() {
  RegisterStdControls();
  core::RegisterComponentClass(TComForm::kClass);
  FApp = std::make_unique<TApplication>(nullptr);
  FApp->Initialize();
  FApp->CreateForm(FForm);
  ASSERT_NE(FForm, nullptr);
  // Two images for the tool bar: red and blue squares.
  TBitmap strip(32, 16);
  strip.Canvas().Brush().SetColor(clRed);
  strip.Canvas().FillRect(RECT{0, 0, 16, 16});
  strip.Canvas().Brush().SetColor(clBlue);
  strip.Canvas().FillRect(RECT{16, 0, 32, 16});
  FForm->ImageList1->Add(strip, nullptr);
}

void ComCtrlsTest::Show() {
  FForm->Show();
  FForm->Update();
  bw::test::WaitPainted(FForm->Handle());
}

void ComCtrlsTest::Click(HWND window, int x, int y) {
  // The release waits in the queue: controls that track the mouse after a press (tree
  // views, list views) find it there and end their loop.
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  bw::test::PumpMessages(0);
}

COLORREF ComCtrlsTest::Pixel(TControl& c, int x, int y, COLORREF expected) {
  const POINT p = c.ClientToScreen(POINT{x, y});
  return bw::test::WaitForScreenPixel(p.x, p.y, expected);
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace bw::win::test
