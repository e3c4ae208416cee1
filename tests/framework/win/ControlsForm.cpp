#include <gtest/gtest.h>

#include "tests/framework/win/ControlsForm.h"

#include "framework/core/ClassRegistry.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {

namespace {

const core::TMethodInfo kFrameMethods[] = {core::Method<&TTestFrame::FrameButtonClick>("FrameButtonClick")};
const core::TFieldInfo kFrameFields[] = {
    core::Field<&TTestFrame::FrameEdit>("FrameEdit"),
    core::Field<&TTestFrame::FrameButton>("FrameButton"),
};

const core::TMethodInfo kFormMethods[] = {
    core::Method<&TControlsForm::FormCreate>("FormCreate"),
    core::Method<&TControlsForm::Button1Click>("Button1Click"),
    core::Method<&TControlsForm::Button2Click>("Button2Click"),
    core::Method<&TControlsForm::SpeedButton3Click>("SpeedButton3Click"),
    core::Method<&TControlsForm::RadioGroup1Change>("RadioGroup1Change"),
    core::Method<&TControlsForm::Edit1Change>("Edit1Change"),
    core::Method<&TControlsForm::ListBox1Click>("ListBox1Click"),
    core::Method<&TControlsForm::TrackBar1Change>("TrackBar1Change"),
    core::Method<&TControlsForm::ScrollBar1Change>("ScrollBar1Change"),
    core::Method<&TControlsForm::ListMeasureItem>("ListMeasureItem"),
    core::Method<&TControlsForm::ListDrawItem>("ListDrawItem"),
};

#define BW_FIELD(name) core::Field<&TControlsForm::name>(#name)
const core::TFieldInfo kFormFields[] = {
    BW_FIELD(Button1),      BW_FIELD(Button2),      BW_FIELD(BitBtn1),         BW_FIELD(SpeedButton1),
    BW_FIELD(SpeedButton2), BW_FIELD(SpeedButton3), BW_FIELD(CheckBox1),       BW_FIELD(CheckBox2),
    BW_FIELD(RadioButton1), BW_FIELD(GroupBox1),    BW_FIELD(RadioButton2),    BW_FIELD(RadioButton3),
    BW_FIELD(RadioGroup1),  BW_FIELD(ProgressBar1), BW_FIELD(TrackBar2),       BW_FIELD(ScrollBar2),
    BW_FIELD(Edit1),        BW_FIELD(Edit2),        BW_FIELD(UpDown1),         BW_FIELD(Memo1),
    BW_FIELD(RichEdit1),    BW_FIELD(ListBox1),     BW_FIELD(ListBox2),        BW_FIELD(TrackBar1),
    BW_FIELD(ScrollBar1),   BW_FIELD(ComboBox1),    BW_FIELD(ComboBox2),       BW_FIELD(ComboBox3),
    BW_FIELD(ComboBox4),    BW_FIELD(ComboBox5),    BW_FIELD(ScrollBox1),      BW_FIELD(ScrollBoxButton),
    BW_FIELD(ScrollBoxEdit), BW_FIELD(Frame1),      BW_FIELD(ImageList1),
};
#undef BW_FIELD

// A 16x16 square of one colour.
void AddSquare(TImageList& list, COLORREF color) {
  TBitmap square(16, 16, TPixelFormat::pf24bit);
  TBrushHandle brush(CreateSolidBrush(color));
  RECT all{0, 0, 16, 16};
  FillRect(square.Canvas().Handle(), &all, brush.Get());
  list.Add(square, nullptr);
}

}  // namespace

const core::TClassInfo TTestFrame::kClass{"TTestFrame", &TCustomFrame::kClass, {}, kFrameMethods,
                                          &CreateFrameOf<TTestFrame>, kFrameFields};
const core::TClassInfo TControlsForm::kClass{"TControlsForm", &TForm::kClass, {}, kFormMethods,
                                             &core::CreateComponentOf<TControlsForm>, kFormFields};

COLORREF ItemColor(int index) { return RGB(40 + 60 * (index % 4), 90, 200 - 50 * (index % 4)); }

void TControlsForm::FormCreate(core::TObject*) {
  AddSquare(*ImageList1, RGB(200, 30, 30));
  AddSquare(*ImageList1, RGB(30, 30, 200));
  Log.push_back("FormCreate");
}

void TControlsForm::ListMeasureItem(TWinControl*, int index, int& height) {
  if (index == 1) height = 30;
}

void TControlsForm::ListDrawItem(TWinControl* control, int index, const RECT& rect, TOwnerDrawState) {
  DrawnItems.push_back(index);
  TCanvas* canvas = nullptr;
  if (auto* list = dynamic_cast<TListBox*>(control)) canvas = &list->Canvas();
  if (auto* combo = dynamic_cast<TComboBox*>(control)) canvas = &combo->Canvas();
  if (!canvas) return;
  canvas->Brush().SetColor(static_cast<TColor>(ItemColor(index)));
  canvas->FillRect(rect);
}

void RegisterControlsFormClasses() {
  RegisterStdControls();
  core::RegisterComponentClass(TTestFrame::kClass);
  core::RegisterComponentClass(TControlsForm::kClass);
}

void ControlsFormTest::SetUp() {
  RegisterControlsFormClasses();
  FApp = std::make_unique<TApplication>(nullptr);
  FApp->Initialize();
  FApp->CreateForm(FForm);
}

void ControlsFormTest::Show() {
  FForm->Show();
  FForm->Update();
  ASSERT_TRUE(bw::test::WaitPainted(FForm->Handle()));
}

COLORREF ControlsFormTest::Pixel(TControl& control, int x, int y, COLORREF expected) {
  const POINT p = control.ClientToScreen(POINT{x, y});
  return bw::test::WaitForScreenPixel(p.x, p.y, expected);
}

}  // namespace bw::win::test
