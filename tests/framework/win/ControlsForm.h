#pragma once
// A form holding one of each standard control, built from forms/ControlsForm.form, and
// a frame class with its own description (forms/TestFrame.form) embedded in it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/CheckCtrls.h"
#include "framework/win/EditCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/ImageList.h"
#include "framework/win/ListBox.h"
#include "framework/win/RangeCtrls.h"
#include "framework/win/ScrollBox.h"
#include "framework/win/SpeedButton.h"
#include "framework/win/StdCtrls.h"

namespace bw::win::test {

class TTestFrame : public TCustomFrame {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TTestFrame(core::TComponent* owner) : TCustomFrame(owner) {}
  TEdit* FrameEdit = nullptr;
  TButton* FrameButton = nullptr;
  int Clicks = 0;
  void FrameButtonClick(core::TObject*) { ++Clicks; }
};

class TControlsForm : public TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TControlsForm(core::TComponent* owner) : TForm(owner) {}

  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TSpeedButton* SpeedButton3 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TRadioButton* RadioButton3 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TTrackBar* TrackBar2 = nullptr;
  TScrollBar* ScrollBar2 = nullptr;
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TMemo* Memo1 = nullptr;
  TRichEdit* RichEdit1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TListBox* ListBox2 = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TScrollBar* ScrollBar1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TComboBox* ComboBox2 = nullptr;
  TComboBox* ComboBox3 = nullptr;
  TComboBox* ComboBox4 = nullptr;
  TComboBox* ComboBox5 = nullptr;
  TScrollBox* ScrollBox1 = nullptr;
  TButton* ScrollBoxButton = nullptr;
  TEdit* ScrollBoxEdit = nullptr;
  TTestFrame* Frame1 = nullptr;
  TImageList* ImageList1 = nullptr;

  // What the handlers saw, in order.
  std::vector<std::string> Log;
  std::vector<int> DrawnItems;

  void FormCreate(core::TObject*);
  void Button1Click(core::TObject*) { Log.push_back("Button1Click"); }
  void Button2Click(core::TObject*) { Log.push_back("Button2Click"); }
  void SpeedButton3Click(core::TObject*) { Log.push_back("SpeedButton3Click"); }
  void RadioGroup1Change(core::TObject*) { Log.push_back("RadioGroup1Change"); }
  void Edit1Change(core::TObject*) { Log.push_back("Edit1Change"); }
  void ListBox1Click(core::TObject*) { Log.push_back("ListBox1Click"); }
  void TrackBar1Change(core::TObject*) { Log.push_back("TrackBar1Change"); }
  void ScrollBar1Change(core::TObject*) { Log.push_back("ScrollBar1Change"); }
  // Item 1 is tall; items are drawn in a colour of their index.
  void ListMeasureItem(TWinControl* control, int index, int& height);
  void ListDrawItem(TWinControl* control, int index, const RECT& rect, TOwnerDrawState state);
};

// The colour ListDrawItem fills item `index` with.
COLORREF ItemColor(int index);

void RegisterControlsFormClasses();

// A shown ControlsForm under a fresh application.
class ControlsFormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void Show();
  // Waits until the screen shows `expected` at the control's client point.
  COLORREF Pixel(TControl& control, int x, int y, COLORREF expected);
  std::unique_ptr<TApplication> FApp;
  TControlsForm* FForm = nullptr;
};

}  // namespace bw::win::test
