// The standard controls built from a description: properties read and written by name
// (with and without windows), what the skin engine will read from their windows, an
// embedded frame, and a screenshot of them all.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"
#include "framework/win/Text.h"
#include "tests/framework/win/ControlsForm.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

LONG_PTR StyleOf(TWinControl& c) { return GetWindowLongPtrW(c.Handle(), GWL_STYLE); }

struct TPropCase {
  const char* Component;
  const char* Property;
  const char* Text;  // GetPropText: enumeration value name or decimal integer
};

// Read the same before the windows exist (fields) and after (windows).
const TPropCase kPropCases[] = {
    {"Button1", "Default", "True"},          {"Button2", "Cancel", "True"},
    {"Button2", "Alignment", "taLeftJustify"}, {"BitBtn1", "ImageIndex", "0"},
    {"BitBtn1", "DisabledIndex", "1"},       {"BitBtn1", "Margin", "6"},
    {"SpeedButton1", "Down", "True"},        {"SpeedButton2", "Down", "False"},
    {"SpeedButton1", "GroupIndex", "1"},     {"SpeedButton3", "Flat", "True"},
    {"SpeedButton3", "Layout", "blGlyphRight"}, {"SpeedButton3", "NumGlyphs", "1"},
    {"SpeedButton3", "Spacing", "2"},        {"SpeedButton3", "Margin", "-1"},
    {"CheckBox1", "State", "cbGrayed"},      {"CheckBox1", "Checked", "False"},
    {"CheckBox1", "AllowGrayed", "True"},    {"CheckBox2", "Checked", "True"},
    {"CheckBox2", "State", "cbChecked"},     {"CheckBox2", "Alignment", "taLeftJustify"},
    {"RadioButton1", "Checked", "True"},     {"RadioButton2", "Checked", "False"},
    {"RadioButton3", "Checked", "True"},     {"RadioGroup1", "ItemIndex", "1"},
    {"RadioGroup1", "Columns", "2"},         {"ProgressBar1", "Orientation", "pbVertical"},
    {"ProgressBar1", "Position", "60"},      {"TrackBar2", "Orientation", "trVertical"},
    {"TrackBar2", "TickMarks", "tmBoth"},    {"TrackBar1", "Position", "5"},
    {"TrackBar1", "Frequency", "5"},         {"ScrollBar2", "Kind", "sbVertical"},
    {"ScrollBar1", "Kind", "sbHorizontal"},  {"ScrollBar1", "PageSize", "20"},
    {"ScrollBar1", "Max", "200"},            {"ScrollBar1", "Position", "50"},
    {"ScrollBar1", "LargeChange", "20"},     {"Edit1", "MaxLength", "20"},
    {"Edit1", "BorderStyle", "bsSingle"},    {"UpDown1", "Position", "5"},
    {"UpDown1", "Increment", "2"},           {"UpDown1", "Orientation", "udVertical"},
    {"Memo1", "ScrollBars", "ssVertical"},   {"Memo1", "WordWrap", "True"},
    {"RichEdit1", "ScrollBars", "ssBoth"},   {"RichEdit1", "WordWrap", "False"},
    {"ListBox1", "ItemIndex", "2"},          {"ListBox2", "Style", "lbOwnerDrawVariable"},
    {"ComboBox2", "Style", "csSimple"},      {"ComboBox3", "ItemIndex", "1"},
    {"ComboBox4", "ItemHeight", "18"},       {"ScrollBox1", "BorderStyle", "bsSingle"},
    {"ScrollBox1", "AutoScroll", "True"},
};

class DescribedControlsTest : public ControlsFormTest {
 protected:
  core::TComponent* Find(const char* name) {
    core::TComponent* c = FForm->FindComponent(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  void ExpectProperties(const char* when) {
    for (const TPropCase& c : kPropCases)
      EXPECT_EQ(core::GetPropText(Find(c.Component), c.Property), c.Text)
          << c.Component << "." << c.Property << " " << when;
    EXPECT_EQ(core::GetStrProp(FForm->Edit1, "Text"), "Edit me") << when;
    EXPECT_EQ(core::GetStrProp(FForm->Edit2, "text"), "5") << when;  // the up-down wrote it
    EXPECT_EQ(core::GetStrProp(FForm->ComboBox1, "Text"), "Typed") << when;
    EXPECT_EQ(core::GetStrProp(FForm->ComboBox3, "Text"), "Chosen") << when;
    EXPECT_EQ(core::GetStrProp(FForm->Button1, "Caption"), "&OK") << when;
    EXPECT_EQ(core::GetObjectProp(FForm->BitBtn1, "Images"), FForm->ImageList1) << when;
    EXPECT_EQ(core::GetObjectProp(FForm->UpDown1, "Associate"), FForm->Edit2) << when;
    EXPECT_NE(core::GetObjectProp(FForm->SpeedButton1, "Glyph", &TBitmap::kClass), nullptr) << when;
    auto* lines = dynamic_cast<core::TStrings*>(core::GetObjectProp(FForm->Memo1, "Lines"));
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->Count(), 2) << when;
    EXPECT_EQ(lines->Get(1), "Second line") << when;
    EXPECT_EQ(FForm->RichEdit1->Lines()->Get(0), "Rich text") << when;
  }
};

TEST_F(DescribedControlsTest, PropertiesReadBackByNameWithAndWithoutWindows) {
  ASSERT_NE(FForm->Frame1, nullptr);
  EXPECT_EQ(FForm->Log, std::vector<std::string>{"FormCreate"});  // no control event while reading
  ExpectProperties("before the windows");
  Show();
  ExpectProperties("with the windows");
}

TEST_F(DescribedControlsTest, MissingPropertiesReadAsMissing) {
  EXPECT_EQ(core::GetIntProp(FForm->CheckBox1, "PageSize"), -1);
  EXPECT_EQ(core::GetEnumProp(FForm->Edit1, "Kind"), "");
  EXPECT_EQ(core::GetStrProp(FForm->ScrollBar1, "Text"), "");
  EXPECT_EQ(core::GetObjectProp(FForm->Memo1, "Images"), nullptr);
  EXPECT_EQ(core::GetEnumProp(FForm->TrackBar1, "State"), "");
  EXPECT_EQ(core::GetIntProp(FForm->GroupBox1, "ItemIndex"), -1);
  EXPECT_EQ(core::GetEnumProp(FForm->CheckBox1, "state"), "cbGrayed");  // names ignore case
  // A kind mismatch is missing too: Caption is text, not an integer.
  EXPECT_EQ(core::GetIntProp(FForm->Button1, "Caption"), -1);
}

TEST_F(DescribedControlsTest, WritesByNameReachTheWindows) {
  Show();
  EXPECT_EQ(core::SetPropText(FForm->CheckBox1, "State", "cbChecked"), core::TPropResult::Done);
  EXPECT_EQ(SendMessageW(FForm->CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(core::SetPropText(FForm->ScrollBar1, "Position", "300"), core::TPropResult::Done);
  EXPECT_EQ(GetScrollPos(FForm->ScrollBar1->Handle(), SB_CTL), 181);  // Max - PageSize + 1
  EXPECT_EQ(core::SetPropText(FForm->ProgressBar1, "Orientation", "pbHorizontal"), core::TPropResult::Done);
  EXPECT_FALSE(StyleOf(*FForm->ProgressBar1) & PBS_VERTICAL);
  EXPECT_EQ(FForm->ProgressBar1->Width(), 120);  // the sizes swapped
  EXPECT_EQ(SendMessageW(FForm->ProgressBar1->Handle(), PBM_GETPOS, 0, 0), 60);
  EXPECT_EQ(core::SetStrProp(FForm->Edit1, "Text", "Set by name"), core::TPropResult::Done);
  EXPECT_EQ(core::GetStrProp(FForm->Edit1, "Caption"), "Set by name");
  EXPECT_EQ(core::SetIntProp(FForm->UpDown1, "Position", 8), core::TPropResult::Done);
  EXPECT_EQ(FForm->Edit2->Text(), "8");
  EXPECT_EQ(core::SetPropText(FForm->Memo1, "Kind", "sbVertical"), core::TPropResult::Missing);
}

TEST_F(DescribedControlsTest, WindowsCarryWhatTheSkinReads) {
  Show();
  TControlsForm& f = *FForm;
  const std::pair<TWinControl*, const wchar_t*> classes[] = {
      {f.CheckBox1, L"TCheckBox"}, {f.RadioButton1, L"TRadioButton"}, {f.GroupBox1, L"TGroupBox"},
      {f.RadioGroup1, L"TRadioGroup"}, {f.Edit1, L"TEdit"}, {f.Memo1, L"TMemo"}, {f.RichEdit1, L"TRichEdit"},
      {f.ListBox1, L"TListBox"}, {f.ScrollBar1, L"TScrollBar"}, {f.TrackBar1, L"TTrackBar"},
      {f.UpDown1, L"TUpDown"}, {f.ScrollBox1, L"TScrollBox"}, {f.Frame1, L"TTestFrame"}};
  for (const auto& [control, name] : classes) EXPECT_EQ(ClassOf(control->Handle()), name);

  // Buttons and check boxes: the default button's style, check states and the text side.
  EXPECT_EQ(StyleOf(*f.Button1) & 0xF, BS_DEFPUSHBUTTON);
  EXPECT_EQ(StyleOf(*f.Button2) & 0xF, BS_PUSHBUTTON);
  EXPECT_EQ(SendMessageW(f.CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_TRUE(SendMessageW(f.CheckBox2->Handle(), BM_GETSTATE, 0, 0) & BST_CHECKED);
  EXPECT_TRUE(StyleOf(*f.CheckBox2) & BS_LEFTTEXT);
  EXPECT_FALSE(StyleOf(*f.CheckBox1) & BS_LEFTTEXT);
  EXPECT_EQ(SendMessageW(f.RadioButton3->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);

  // An edit's border: its client area is smaller than its window.
  RECT window, client;
  GetWindowRect(f.Edit1->Handle(), &window);
  GetClientRect(f.Edit1->Handle(), &client);
  EXPECT_LT(client.right, window.right - window.left);
  // The up-down sits inside its edit, at the right edge of the client area.
  HWND spin = FindWindowExW(f.Edit2->Handle(), nullptr, L"TUpDown", nullptr);
  EXPECT_EQ(spin, f.UpDown1->Handle());
  EXPECT_EQ(f.UpDown1->Left() + f.UpDown1->Width(), f.Edit2->ClientWidth());

  // Combo boxes: the system's information and the drop-down's edit child.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(f.ComboBox1->Handle(), &info));
  EXPECT_NE(info.hwndItem, f.ComboBox1->Handle());
  EXPECT_EQ(GetParent(info.hwndItem), f.ComboBox1->Handle());
  EXPECT_GT(info.rcButton.right - info.rcButton.left, 0);
  ASSERT_TRUE(GetComboBoxInfo(f.ComboBox2->Handle(), &info));
  EXPECT_TRUE(GetWindowLongPtrW(info.hwndList, GWL_STYLE) & WS_CHILD);  // a simple combo's list
  const std::pair<TComboBox*, DWORD> comboStyles[] = {
      {f.ComboBox1, CBS_DROPDOWN}, {f.ComboBox2, CBS_SIMPLE}, {f.ComboBox3, CBS_DROPDOWNLIST},
      {f.ComboBox4, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED}, {f.ComboBox5, CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE}};
  for (const auto& [combo, style] : comboStyles) {
    EXPECT_EQ(StyleOf(*combo) & (3 | CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE), style) << combo->Name();
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetComboBoxInfo(combo->Handle(), &info)) << combo->Name();
  }

  // A scroll-bar control's settings, and window scroll bars of memos and scroll boxes.
  SCROLLINFO range{};
  range.cbSize = sizeof range;
  range.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(f.ScrollBar1->Handle(), SB_CTL, &range));
  EXPECT_EQ(range.nMax, 200);
  EXPECT_EQ(range.nPage, 20u);
  EXPECT_EQ(range.nPos, 50);
  EXPECT_TRUE(StyleOf(*f.ScrollBar2) & SBS_VERT);
  EXPECT_TRUE(StyleOf(*f.Memo1) & WS_VSCROLL);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  EXPECT_TRUE(GetScrollBarInfo(f.Memo1->Handle(), OBJID_VSCROLL, &bar));
  for (const LONG object : {OBJID_HSCROLL, OBJID_VSCROLL}) {
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(f.ScrollBox1->Handle(), object, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << object;
  }

  // Progress and track bars.
  EXPECT_TRUE(StyleOf(*f.ProgressBar1) & PBS_VERTICAL);
  EXPECT_EQ(SendMessageW(f.ProgressBar1->Handle(), PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_TRUE(StyleOf(*f.TrackBar2) & TBS_VERT);
  RECT thumb{};
  SendMessageW(f.TrackBar1->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_GT(thumb.right - thumb.left, 0);
}

TEST_F(DescribedControlsTest, TrackBarCustomDrawReachesTheControlReflected) {
  Show();
  TTrackBar& track = *FForm->TrackBar1;
  bool sawThumb = false;
  TWindowProcHook hook;
  hook = track.WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      const auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
      if (draw->dwDrawStage == CDDS_PREPAINT) {
        m.Result = CDRF_NOTIFYITEMDRAW;
        return;
      }
      if (draw->dwDrawStage == CDDS_ITEMPREPAINT && draw->dwItemSpec == TBCD_THUMB) sawThumb = true;
    }
    hook->CallPrevious(m);
  });
  track.Invalidate();
  EXPECT_TRUE(bw::test::PumpUntil([&] { return sawThumb; }));
  track.WindowProc.Restore(hook);
}

TEST_F(DescribedControlsTest, ScreenshotOfEveryControl) {
  Show();
  FForm->Edit1->SetFocus();
  ASSERT_TRUE(bw::test::WaitPainted(FForm->Handle()));
  RECT r;
  GetWindowRect(FForm->Handle(), &r);
  const std::string path = bw::test::ScreenshotPath("standard-controls.png");
  ASSERT_TRUE(bw::test::SaveScreenPng(path, r)) << path;
  // The owner-drawn list drew its items in their colours: item 1 is 30 pixels tall.
  EXPECT_EQ(Pixel(*FForm->ListBox2, 20, 20 + 15, ItemColor(1)), ItemColor(1));
}

TEST_F(DescribedControlsTest, FrameBringsItsOwnDescription) {
  TTestFrame& frame = *FForm->Frame1;
  ASSERT_NE(frame.FrameEdit, nullptr);
  ASSERT_NE(frame.FrameButton, nullptr);
  EXPECT_EQ(frame.FrameEdit->Owner(), &frame);  // the frame's, not the form's
  EXPECT_EQ(frame.FrameEdit->Parent(), &frame);
  EXPECT_EQ(FForm->FindComponent("FrameEdit"), nullptr);
  EXPECT_EQ(frame.FrameEdit->Text(), "In the frame");
  // The form's description places the frame over the frame's own size.
  EXPECT_EQ(frame.Left(), 328);
  EXPECT_EQ(frame.Width(), 145);
  EXPECT_EQ(frame.Name(), "Frame1");
  FForm->SetColor(clWhite);  // the frame takes its form's colour, and passes it on
  EXPECT_EQ(frame.Color(), clWhite);
  frame.FrameButton->SetParentColor(true);
  EXPECT_EQ(frame.FrameButton->Color(), clWhite);
  Show();
  EXPECT_EQ(GetParent(frame.FrameButton->Handle()), frame.Handle());
  SendMessageW(frame.FrameButton->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(frame.Clicks, 1);  // bound to the frame's own handler
  // Written back, the form names the frame and leaves its content to the frame.
  const std::string text = core::WriteComponentText(*FForm);
  EXPECT_NE(text.find("object Frame1: TTestFrame"), std::string::npos);
  EXPECT_EQ(text.find("FrameEdit"), std::string::npos);
  // Made in code, a frame reads its description as well.
  auto* another = CreateFrame<TTestFrame>(FForm);
  ASSERT_NE(another->FrameButton, nullptr);
  EXPECT_EQ(another->FrameButton->Caption(), "Frame button");
}

class TBrokenFrame : public TCustomFrame {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TBrokenFrame(core::TComponent* owner) : TCustomFrame(owner) {}
};
const core::TClassInfo TBrokenFrame::kClass{"TBrokenFrame", &TCustomFrame::kClass, {}, {},
                                            &CreateFrameOf<TBrokenFrame>};

TEST_F(DescribedControlsTest, DamagedFrameDescriptionRaisesAndLeavesNothing) {
  static const char kTruncated[] = "object BrokenFrame: TBrokenFrame\n  object Edit1: TEdit\n    Left = \n";
  static const char kUnknownProperty[] = "object BrokenFrame: TBrokenFrame\n  object E: TEdit\n    Bogus = 1\n  end\nend\n";
  core::RegisterComponentClass(TBrokenFrame::kClass);
  for (const char* text : {kTruncated, kUnknownProperty}) {
    core::RegisterFormData("TBrokenFrame", text);
    const int before = FForm->ComponentCount();
    EXPECT_THROW(core::CreateComponent("TBrokenFrame", FForm), core::EReadError) << text;
    EXPECT_EQ(FForm->ComponentCount(), before);
  }
}

}  // namespace
}  // namespace bw::win::test
