// Buttons, speed buttons, check boxes, radio buttons and radio groups: dialog keys and
// accelerators, image-list images, latched and grouped speed buttons, check state changes
// and their events.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/framework/win/ControlsForm.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

class ButtonCtrlsTest : public ControlsFormTest {
 protected:
  // A left click on a windowless control, through its parent as the mouse would.
  void ClickAt(TControl& control) {
    HWND parent = control.Parent()->Handle();
    const LPARAM at = MAKELPARAM(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
    SendMessageW(parent, WM_MOUSEMOVE, 0, at);
    SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(parent, WM_LBUTTONUP, 0, at);
  }
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(FForm->Log.begin(), FForm->Log.end(), entry));
  }
};

TEST_F(ButtonCtrlsTest, EnterAndEscapeClickTheDefaultAndCancelButtons) {
  Show();
  // Typed in an edit, the keys reach the form as dialog keys.
  FForm->Edit1->SetFocus();
  PostMessageW(FForm->Edit1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(FForm->Edit1->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    FApp->ProcessMessages();
    return FForm->Log.size() >= 3;
  }));
  EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_TAB), 0);  // nobody's key
  EXPECT_EQ(FForm->Log, (std::vector<std::string>{"FormCreate", "Button1Click", "Button2Click"}));
  // A memo keeps Enter for itself.
  FForm->Memo1->SetFocus();
  PostMessageW(FForm->Memo1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  FApp->ProcessMessages();
  EXPECT_EQ(Count("Button1Click"), 1);
  // A disabled default button does not take Enter; a cancel button inside a group box does.
  FForm->Button1->SetEnabled(false);
  EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_RETURN), 0);
  FForm->Button2->SetCancel(false);
  auto* inner = new TButton(FForm);
  inner->SetCancel(true);
  inner->SetParent(FForm->GroupBox1);
  int innerClicks = 0;
  inner->OnClick = [&](core::TObject*) { ++innerClicks; };
  EXPECT_EQ(FForm->Perform(CM_DIALOGKEY, VK_ESCAPE), 1);
  EXPECT_EQ(innerClicks, 1);
  EXPECT_EQ(Count("Button2Click"), 1);
}

TEST_F(ButtonCtrlsTest, AcceleratorsClickTheirControls) {
  Show();
  FForm->Edit1->SetFocus();
  PostMessageW(FForm->Edit1->Handle(), WM_SYSCHAR, 'o', 1u << 29);  // Alt+O: &OK
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    FApp->ProcessMessages();
    return Count("Button1Click") == 1;
  }));
  EXPECT_EQ(FForm->Perform(CM_DIALOGCHAR, 'F'), 1);  // the speed button &Flat
  EXPECT_EQ(FForm->Perform(CM_DIALOGCHAR, 'q'), 0);
  EXPECT_EQ(FForm->Log, (std::vector<std::string>{"FormCreate", "Button1Click", "SpeedButton3Click"}));
  const struct {
    unsigned Char;
    const char* Caption;
    bool Accel;
  } cases[] = {{'o', "&Open", true}, {'O', "&open", true}, {'a', "&&a", false},
               {'b', "&&a &b", true}, {'x', "x", false},   {'x', "x&", false}};
  for (const auto& c : cases) EXPECT_EQ(IsAccel(c.Char, c.Caption), c.Accel) << c.Caption;
}

TEST_F(ButtonCtrlsTest, BitBtnDrawsItsImageListImage) {
  TBitBtn& button = *FForm->BitBtn1;
  TBitmap face(157, 30, TPixelFormat::pf24bit);
  HDC dc = face.Canvas().Handle();
  const RECT rect{0, 0, 157, 30};
  // Margin 6 with the caption left-justified: the red image from x = 6, centred down.
  button.DrawButton(dc, rect, false, false);
  EXPECT_EQ(GetPixel(dc, 6 + 2, 15), RGB(200, 30, 30));
  EXPECT_EQ(GetPixel(dc, 6 + 15, 15), RGB(200, 30, 30));
  // Centred, the button ignores its margin.
  button.SetAlignment(TAlignment::taCenter);
  button.DrawButton(dc, rect, false, false);
  EXPECT_NE(GetPixel(dc, 6 + 2, 15), RGB(200, 30, 30));
  // Disabled: DisabledIndex (the blue square) in the disabled look, no blue left.
  button.SetAlignment(TAlignment::taLeftJustify);
  button.SetEnabled(false);
  button.DrawButton(dc, rect, false, false);
  EXPECT_EQ(GetPixel(dc, 6 + 8, 15), GetSysColor(COLOR_BTNSHADOW));
  // The list freed: the button forgets it and draws its caption alone.
  delete FForm->ImageList1;
  FForm->ImageList1 = nullptr;
  EXPECT_EQ(button.Images(), nullptr);
  EXPECT_EQ(core::GetObjectProp(&button, "Images"), nullptr);
  button.DrawButton(dc, rect, false, false);
}

TEST_F(ButtonCtrlsTest, SpeedButtonsOfAGroupLatchOneAtATime) {
  Show();
  TSpeedButton& a = *FForm->SpeedButton1;
  TSpeedButton& b = *FForm->SpeedButton2;
  ClickAt(b);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  ClickAt(b);  // without AllowAllUp the down button stays down
  EXPECT_TRUE(b.Down());
  b.SetDown(false);
  EXPECT_TRUE(b.Down());
  a.SetAllowAllUp(true);  // for the whole group
  EXPECT_TRUE(b.AllowAllUp());
  ClickAt(b);
  EXPECT_FALSE(b.Down());
  EXPECT_FALSE(a.Down());
  a.SetDown(true);
  EXPECT_FALSE(b.Down());
  // GroupIndex 0: a click, but no latching.
  TSpeedButton& flat = *FForm->SpeedButton3;
  ClickAt(flat);
  EXPECT_FALSE(flat.Down());
  EXPECT_EQ(Count("SpeedButton3Click"), 1);
  // A press released outside the button is no click.
  HWND form = FForm->Handle();
  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(flat.Left() + 5, flat.Top() + 5));
  EXPECT_TRUE(flat.Pressed());
  SendMessageW(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(flat.Left() + 200, flat.Top() + 5));
  EXPECT_FALSE(flat.Pressed());
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(flat.Left() + 200, flat.Top() + 5));
  EXPECT_EQ(Count("SpeedButton3Click"), 1);
}

TEST_F(ButtonCtrlsTest, FlatSpeedButtonShowsItsFaceOnlyUnderTheMouse) {
  Show();
  TSpeedButton& flat = *FForm->SpeedButton3;
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
  ASSERT_NE(face, shadow);
  const int right = flat.Width() - 1, bottom = flat.Height() - 1;
  EXPECT_EQ(Pixel(flat, right, bottom, face), face);
  flat.Perform(CM_MOUSEENTER);
  EXPECT_EQ(Pixel(flat, right, bottom, shadow), shadow);  // the raised edge's dark side
  flat.Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Pixel(flat, right, bottom, face), face);
}

TEST_F(ButtonCtrlsTest, CheckBoxClicksWalkItsStatesAndFireOnClick) {
  Show();
  TCheckBox& box = *FForm->CheckBox1;  // grayed, AllowGrayed
  int clicks = 0;
  box.OnClick = [&](core::TObject*) { ++clicks; };
  const TCheckBoxState expected[] = {TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked,
                                     TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked};
  for (const TCheckBoxState state : expected) {
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box.State(), state);
  }
  EXPECT_EQ(clicks, 4);
  box.SetChecked(true);  // no change, no event
  EXPECT_EQ(clicks, 4);
  box.SetState(TCheckBoxState::cbGrayed);  // by code: an event too
  EXPECT_EQ(clicks, 5);
  EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  // Without AllowGrayed clicks skip the grayed state.
  TCheckBox& plain = *FForm->CheckBox2;
  SendMessageW(plain.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(plain.State(), TCheckBoxState::cbUnchecked);
  SendMessageW(plain.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(plain.State(), TCheckBoxState::cbChecked);
  // A state set on the window directly is what the control reports; re-creation keeps it.
  SendMessageW(plain.Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_FALSE(plain.Checked());
  plain.SetAlignment(TAlignment::taRightJustify);
  EXPECT_FALSE(GetWindowLongPtrW(plain.Handle(), GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_EQ(SendMessageW(plain.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

TEST_F(ButtonCtrlsTest, RadioButtonsUncheckTheirSiblingsOnly) {
  Show();
  int clicks = 0;
  FForm->RadioButton2->OnClick = [&](core::TObject*) { ++clicks; };
  SendMessageW(FForm->RadioButton2->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(FForm->RadioButton2->Checked());
  EXPECT_FALSE(FForm->RadioButton3->Checked());
  EXPECT_EQ(SendMessageW(FForm->RadioButton3->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(FForm->RadioButton1->Checked());  // another parent, another group
  EXPECT_EQ(clicks, 1);
  SendMessageW(FForm->RadioButton2->Handle(), BM_CLICK, 0, 0);  // checked already
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(GetWindowLongPtrW(FForm->RadioButton2->Handle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongPtrW(FForm->RadioButton3->Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(ButtonCtrlsTest, RadioGroupMakesOneChildButtonPerItem) {
  TRadioGroup& group = *FForm->RadioGroup1;
  ASSERT_EQ(group.ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(group.Buttons(i)->Parent(), &group);
    EXPECT_EQ(group.Buttons(i)->Owner(), &group);
    EXPECT_EQ(group.Buttons(i)->Caption(), group.Items()->Get(i));
    EXPECT_EQ(group.Buttons(i)->Checked(), i == 1);
  }
  // Two columns: the third item heads the second column.
  EXPECT_GT(group.Buttons(2)->Left(), group.Buttons(0)->Left() + group.Buttons(0)->Width() / 2);
  EXPECT_EQ(group.Buttons(2)->Top(), group.Buttons(0)->Top());
  EXPECT_GT(group.Buttons(1)->Top(), group.Buttons(0)->Top());
  Show();
  int clicks = 0;
  group.OnClick = [&](core::TObject*) { ++clicks; };
  SendMessageW(group.Buttons(2)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group.ItemIndex(), 2);
  EXPECT_FALSE(group.Buttons(1)->Checked());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Count("RadioGroup1Change"), 1);
  group.SetItemIndex(0);
  group.SetItemIndex(0);  // unchanged: no event
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(group.Buttons(0)->Checked());
  group.SetItemIndex(7);  // out of range: none
  EXPECT_EQ(group.ItemIndex(), -1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(group.Buttons(i)->Checked());
  // The buttons follow the items and the group's colour and enabled state.
  group.SetColor(clWhite);
  EXPECT_EQ(group.Buttons(2)->Color(), clWhite);
  EXPECT_TRUE(group.Buttons(2)->ParentColor());
  group.Items()->Add("Four");
  ASSERT_EQ(group.ButtonCount(), 4);
  EXPECT_TRUE(IsWindow(group.Buttons(3)->Handle()));
  group.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(group.Buttons(3)->Handle()));
  group.Items()->Clear();
  EXPECT_EQ(group.ButtonCount(), 0);
  EXPECT_EQ(group.ControlCount(), 0);
}

}  // namespace
}  // namespace bw::win::test
