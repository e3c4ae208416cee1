// Control discovery on a skinned form and a system dialog: which painter each control
// gets, the gates of SkinControls, DisableTag, the Skin3rd list, the application's own
// choice, and discovery run again.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/core/StringList.h"
#include "framework/win/ScrollBox.h"
#include "skin/controls/Buttons.h"
#include "skin/controls/Checks.h"
#include "skin/controls/Discovery.h"
#include "skin/controls/Panels.h"
#include "skin/controls/Progress.h"
#include "skin/controls/Tabs.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/controls/PaintersTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

using T = TSkinControlType;

template <class P>
bool Is(const TSkinControl* painter) {
  return painter && &painter->ClassType() == &P::kClass;
}

// A check box of another library (not one of ours) that draws its own glyph strip.
class TRzCheckBox : public win::TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TRzCheckBox(core::TComponent* owner) : TCustomControl(owner), FGlyphs(std::make_unique<win::TBitmap>()) {}
  win::TBitmap* Glyphs() const { return FGlyphs.get(); }
  void SetUseGlyphs(bool use) {
    FUseGlyphs = use;
    UseHistory.push_back(use);
  }
  std::unique_ptr<win::TBitmap> FGlyphs;
  bool FUseGlyphs = false;
  std::int32_t FTransparentColor = 0;
  std::vector<bool> UseHistory;
};
const core::TPropInfo kRzProps[] = {
    core::ObjProp<&TRzCheckBox::Glyphs>("CustomGlyphs"),
    core::BoolProp<&TRzCheckBox::FUseGlyphs, &TRzCheckBox::SetUseGlyphs>("UseCustomGlyphs", false),
    core::IntProp<&TRzCheckBox::FTransparentColor, &TRzCheckBox::FTransparentColor>("transparentcolor"),
};
const core::TClassInfo TRzCheckBox::kClass{"TRzCheckBox", &win::TCustomControl::kClass, kRzProps, {}};

class DiscoveryTest : public ::testing::Test {
 protected:
  TPaintersApp FApp;
  TPaintersForm& Form() { return FApp.Form(); }
};

TEST_F(DiscoveryTest, EachControlGetsThePainterOfItsKind) {
  const TColor face = FApp.Data().Colors[TShemeColor::csButtonFace];
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  TPaintersForm& f = Form();
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *f.Button1)));
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *f.Button2)));
  EXPECT_TRUE(Is<TSkinBitButton>(PainterOf(*frame, *f.BitBtn1)));
  EXPECT_TRUE(Is<TSkinProgress>(PainterOf(*frame, *f.ProgressBar1)));
  EXPECT_TRUE(Is<TSkinBox>(PainterOf(*frame, *f.Panel1)));
  EXPECT_EQ(f.Panel1->Color(), face);
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *f.Button3))) << "inside the panel";
  EXPECT_TRUE(f.Label1->Transparent());
  EXPECT_EQ(PainterOf(*frame, *f.Button4), nullptr) << "Tag equals DisableTag";
  EXPECT_EQ(SendMessageW(f.Button4->Handle(), SKIN_MSG_QUERY, 0, 0), 0);
  EXPECT_EQ(SendMessageW(f.Button1->Handle(), SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageW(f.ProgressBar1->Handle(), SKIN_MSG_QUERY, 0, 0), 1);
}

TEST_F(DiscoveryTest, GroupBoxesSpeedButtonsTrackBarsAndRadioGroupsOfTheStandardSet) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  TPaintersForm& f = Form();
  TSkinControl* group = PainterOf(*frame, *f.GroupBox1);
  ASSERT_TRUE(Is<TSkinGroupBox>(group));
  EXPECT_TRUE(group->FClassFlag) << "it draws the whole framework group box";
  EXPECT_TRUE(group->FParentBK);
  EXPECT_TRUE(Is<TSkinSpeedButton>(PainterOf(*frame, *f.SpeedButton1))) << "inside the group box";
  EXPECT_TRUE(Is<TSkinSpeedButton>(PainterOf(*frame, *f.SpeedButton2)));
  EXPECT_EQ(PainterOf(*frame, *f.SpeedButton1)->FHandle, nullptr);
  EXPECT_TRUE(Is<TSkinTrackBar>(PainterOf(*frame, *f.TrackBar1)));
  EXPECT_TRUE(Is<TSkinGroupBox>(PainterOf(*frame, *f.RadioGroup1)));
  // Its buttons are painted as radio buttons.
  ASSERT_EQ(f.RadioGroup1->ButtonCount(), 2);
  EXPECT_TRUE(Is<TSkinRadioButton>(PainterOf(*frame, *f.RadioGroup1->Buttons(0))));
  EXPECT_TRUE(Is<TSkinRadioButton>(PainterOf(*frame, *f.RadioGroup1->Buttons(1))));
}

TEST_F(DiscoveryTest, AnEmbeddedFramesControlsAreDiscoveredAndTheFrameKeepsItsColour) {
  auto* embedded = new win::TFrame(&Form());
  embedded->SetParent(&Form());
  embedded->SetBounds(180, 340, 150, 60);
  embedded->SetColor(win::clWhite);
  auto* inside = new win::TButton(embedded);
  inside->SetParent(embedded);
  inside->SetBounds(4, 4, 80, 26);
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *inside)));
  EXPECT_EQ(PainterOf(*frame, *embedded), nullptr);
  EXPECT_EQ(embedded->Color(), win::clWhite);
}

TEST_F(DiscoveryTest, RunningAgainAddsNoSecondPainterAndFindsControlsMadeSince) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  const size_t before = frame->FControls.size();
  frame->InitControls(Form());
  EXPECT_EQ(frame->FControls.size(), before);
  // A control of no owner, placed on the form at run time, is found through the form's children.
  auto* late = new win::TButton(nullptr);
  late->SetParent(Form().Panel1);
  late->SetBounds(120, 40, 80, 26);
  frame->InitControls(Form());
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *late)));
  EXPECT_EQ(frame->FControls.size(), before + 1);
  delete late;
  EXPECT_EQ(frame->FControls.size(), before) << "the painter went with its control";
}

TEST_F(DiscoveryTest, WithoutxcBitBtnABitButtonStaysUnskinnedThoughxcButtonIsOn) {
  TSkinControlTypes controls = FApp.Data().SkinControls();
  controls.Exclude(T::xcBitBtn);
  FApp.Data().SetSkinControls(controls);
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(PainterOf(*frame, *Form().BitBtn1), nullptr);
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *Form().Button1)));
}

TEST_F(DiscoveryTest, GatesOfTheTable) {
  TSkinControlTypes controls = FApp.Data().SkinControls();
  controls.Exclude(T::xcPanel).Exclude(T::xcProgress).Exclude(T::xcButton);
  FApp.Data().SetSkinControls(controls);
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(PainterOf(*frame, *Form().Panel1), nullptr);
  EXPECT_EQ(Form().Panel1->Color(), win::clWhite);
  EXPECT_EQ(PainterOf(*frame, *Form().ProgressBar1), nullptr);
  EXPECT_EQ(PainterOf(*frame, *Form().Button1), nullptr);
  EXPECT_TRUE(Is<TSkinBitButton>(PainterOf(*frame, *Form().BitBtn1)));
}

TEST_F(DiscoveryTest, Skin3rdKindsDecideBeforeTheTableAndNilLeavesAClassAlone) {
  core::TStringList* list = FApp.Data().Skin3rd();
  list->Insert(0, "TButton=nil");
  list->Add("TBitBtn=Button");
  list->Add("TButton=bitbtn");  // a later line for the same class is never read
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(PainterOf(*frame, *Form().Button1), nullptr);
  EXPECT_EQ(PainterOf(*frame, *Form().Button3), nullptr);
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *Form().BitBtn1))) << "kind button for this class";
  EXPECT_TRUE(Is<TSkinProgress>(PainterOf(*frame, *Form().ProgressBar1))) << "not listed: the table";
}

TEST_F(DiscoveryTest, AListedKindDecidesAndTheTableIsNotConsulted) {
  FApp.Data().Skin3rd()->Insert(0, "TProgressBar=tab");
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->Find3rdControl("TPROGRESSBAR", *Form().ProgressBar1));
  EXPECT_TRUE(Is<TSkinTab>(PainterOf(*frame, *Form().ProgressBar1))) << "the table was not consulted";
  EXPECT_FALSE(frame->Find3rdControl("TPANEL", *Form().Panel1));
}

TEST_F(DiscoveryTest, TheApplicationsOwnPainterIsTakenAndInitialisedOnce) {
  std::vector<std::string> offered;
  FApp.Data().OnSkinControl = [&](core::TComponent*, TSkinData*, core::TComponent*, core::TComponent* control,
                                  const std::string& className, core::TComponent*& chosen) {
    offered.push_back(className);
    if (control == Form().Button1) chosen = new TSkinBitButton(control);
  };
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Is<TSkinBitButton>(PainterOf(*frame, *Form().Button1)));
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, *Form().Button2))) << "no choice: the table";
  EXPECT_NE(std::find(offered.begin(), offered.end(), "TPROGRESSBAR"), offered.end());
  EXPECT_EQ(std::find(offered.begin(), offered.end(), "TPAINTERSFORM"), offered.end()) << "a form is no control of itself";
}

TEST(DiscoveryTables, FirstRowThatRecognisesTheControlDecides) {
  win::TBitBtn bit(nullptr);
  win::TButton button(nullptr);
  win::TPanel panel(nullptr);
  win::TLabel label(nullptr);
  win::TForm form(nullptr);
  auto rowApply = [](const win::TControl& c) { return FindDiscoveryRow(c) ? FindDiscoveryRow(c)->Apply : nullptr; };
  ASSERT_NE(FindDiscoveryRow(bit), nullptr);
  EXPECT_TRUE(FindDiscoveryRow(bit)->Needs.Contains(T::xcBitBtn)) << "the bit-button row, not the button row";
  EXPECT_TRUE(FindDiscoveryRow(button)->Needs.Contains(T::xcButton));
  EXPECT_NE(rowApply(bit), rowApply(button));
  EXPECT_TRUE(FindDiscoveryRow(panel)->Needs.Contains(T::xcPanel));
  EXPECT_TRUE(FindDiscoveryRow(label)->Needs.Empty());
  EXPECT_NE(FindDiscoveryRow(form), nullptr) << "an embedded form";
  EXPECT_TRUE(InheritsFromName(bit, "TButtonControl"));
  EXPECT_FALSE(InheritsFromName(button, "TBitBtn"));
  // Class-name rows compare the whole name.
  win::TPanel other(nullptr);
  EXPECT_EQ(FindDiscoveryRow(other)->Apply, FindDiscoveryRow(panel)->Apply);
}

TEST(DiscoveryTables, Skin3rdLookupTakesTheFirstLineOfTheWholeClassName) {
  core::TStringList list;
  list.Add("TRzButton=button");
  list.Add("TcxButton=BitBtn");
  list.Add("tcxbutton=panel");
  list.Add("TWide=" + std::string(60, 'k'));
  EXPECT_EQ(LookupSkin3rd(list, "TRzButton"), std::optional<std::string>("button"));
  EXPECT_EQ(LookupSkin3rd(list, "TRZBUTTON"), std::optional<std::string>("button"));
  EXPECT_EQ(LookupSkin3rd(list, "TRzButtonX"), std::nullopt);
  EXPECT_EQ(LookupSkin3rd(list, "TRz"), std::nullopt);
  EXPECT_EQ(LookupSkin3rd(list, "TCXBUTTON"), std::optional<std::string>("bitbtn"));
  EXPECT_EQ(LookupSkin3rd(list, "TWide")->size(), 50u);
  TSkinData data(nullptr);
  EXPECT_EQ(LookupSkin3rd(*data.Skin3rd(), "TAdvPageControl"), std::optional<std::string>("nil"));
  EXPECT_EQ(LookupSkin3rd(*data.Skin3rd(), "TcxButton"), std::optional<std::string>("bitbtn"));
}

TEST(DiscoveryTables, ButtonStylesOfBareWindows) {
  struct TCase {
    DWORD Style;
    TBareButtonKind Kind;
  };
  const TCase cases[] = {
      {BS_PUSHBUTTON, TBareButtonKind::PushButton},     {BS_DEFPUSHBUTTON, TBareButtonKind::PushButton},
      {BS_CHECKBOX, TBareButtonKind::CheckBox},         {BS_AUTOCHECKBOX, TBareButtonKind::CheckBox},
      {BS_3STATE, TBareButtonKind::CheckBox},           {BS_AUTO3STATE, TBareButtonKind::CheckBox},
      {BS_RADIOBUTTON, TBareButtonKind::RadioButton},   {BS_AUTORADIOBUTTON, TBareButtonKind::RadioButton},
      {BS_GROUPBOX, TBareButtonKind::None},             {BS_OWNERDRAW, TBareButtonKind::None},
      {BS_PUSHBUTTON | BS_BITMAP, TBareButtonKind::None}, {BS_USERBUTTON, TBareButtonKind::PushButton},
      {BS_AUTOCHECKBOX | WS_TABSTOP, TBareButtonKind::CheckBox},
  };
  for (const TCase& c : cases) EXPECT_EQ(ClassifyButtonStyle(c.Style), c.Kind) << "style 0x" << std::hex << c.Style;
}

// ---- a system dialog

// DLGTEMPLATE and its items, built as the words the dialog manager reads.
class TTemplate {
 public:
  TTemplate(DWORD style, short cx, short cy, const wchar_t* title) {
    Dword(style);
    Dword(0);
    FCountAt = FWords.size();
    Word(0);
    Word(10), Word(10), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0), Word(0);  // no menu, the dialog class
    Text(title);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const wchar_t* text) {
    while (FWords.size() % 2) Word(0);  // items start on a DWORD
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0);
    ++FWords[FCountAt];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

 private:
  void Word(WORD w) { FWords.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(*text);
    Word(0);
  }
  std::vector<WORD> FWords;
  size_t FCountAt = 0;
};

constexpr WORD kButtonAtom = 0x0080;
std::vector<std::pair<WPARAM, LPARAM>>* gCommands = nullptr;

INT_PTR CALLBACK RecordCommands(HWND, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_COMMAND && gCommands) gCommands->emplace_back(w, l);
  return FALSE;
}

// Frame f of a strip (frame width w) at its top-left pixel.
COLORREF StripPixel(win::TBitmap& strip, int w, int f, int x = 0, int y = 0) {
  return GetPixel(strip.Canvas().Handle(), f * w + x, y);
}

TEST_F(DiscoveryTest, ALibraryCheckBoxWithItsOwnGlyphsIsHandedAStripOfTheSkinsFrames) {
  TDataSkinButton& buttons = *FApp.Data().Buttons;
  ASSERT_GT(buttons.CheckButtonFrame, 3);
  const int w = buttons.CheckBitmap.Width() / buttons.CheckButtonFrame, h = buttons.CheckBitmap.Height();
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  auto* box = new TRzCheckBox(nullptr);
  box->SetParent(Form().Panel1);
  box->SetBounds(10, 10, 120, 20);
  frame->InitControls(Form());
  auto* painter = dynamic_cast<TSkinObjImage*>(PainterOf(*frame, *box));
  ASSERT_NE(painter, nullptr);
  EXPECT_EQ(painter->FImageKind, TSkinObjImage::kCheckKind);

  // Nine frames of the skin's size; checked and unchecked, normal and pressed, then disabled.
  win::TBitmap& strip = *box->Glyphs();
  ASSERT_EQ(strip.Width(), 9 * w);
  ASSERT_EQ(strip.Height(), h);
  HDC source = buttons.CheckBitmap.Canvas().Handle();
  const POINT probe{w / 2, h / 2};
  for (const auto& [target, from] : {std::pair{0, 0}, {3, 0}, {1, 1}, {4, 1}, {6, 2}, {7, 3}}) {
    EXPECT_EQ(StripPixel(strip, w, target, probe.x, probe.y), GetPixel(source, from * w + probe.x, probe.y))
        << "frame " << target << " from " << from;
  }
  EXPECT_EQ(StripPixel(strip, w, 2, probe.x, probe.y), RGB(255, 0, 255)) << "no grayed frame: see-through";
  EXPECT_EQ(box->FTransparentColor, 0xFF00FF);
  EXPECT_EQ(box->UseHistory, (std::vector<bool>{false, true})) << "turned off and on, so it reloads";
  // It keeps its own painting: the window procedure is not taken over.
  EXPECT_EQ(SendMessageW(box->Handle(), SKIN_MSG_QUERY, 0, 0), 0);

  // Running discovery again hands over nothing new; the skin switched off gives the glyphs back.
  frame->InitControls(Form());
  EXPECT_EQ(box->UseHistory.size(), 2u);
  painter->Unsubclass();
  EXPECT_FALSE(box->FUseGlyphs);
  delete box;
}

TEST_F(DiscoveryTest, ASystemDialogsPushButtonsAreSkinnedItsGroupBoxIsNotAndANestedDialogTakesTheFace) {
  ASSERT_NE(FApp.Show(), nullptr);
  TTemplate outer(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 200, 120, L"System dialog");
  outer.Item(BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 60, 14, 101, kButtonAtom, L"Push");
  outer.Item(BS_AUTOCHECKBOX | WS_TABSTOP, 10, 30, 80, 12, 102, kButtonAtom, L"Check");
  outer.Item(BS_GROUPBOX, 100, 5, 90, 50, 103, kButtonAtom, L"Group");
  outer.Item(BS_AUTORADIOBUTTON | WS_TABSTOP, 10, 44, 80, 12, 104, kButtonAtom, L"Radio");
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  gCommands = &commands;
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), outer.Get(), Form().Handle(), &RecordCommands, 0);
  ASSERT_NE(dialog, nullptr);
  TTemplate inner(WS_CHILD | DS_CONTROL | WS_VISIBLE, 90, 40, L"");
  inner.Item(BS_PUSHBUTTON, 5, 5, 60, 14, 201, kButtonAtom, L"Inner");
  HWND nested = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), inner.Get(), dialog, &RecordCommands, 0);
  ASSERT_NE(nested, nullptr);
  SetWindowPos(nested, nullptr, 10, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  SetActiveWindow(dialog);
  TLacquerForm* frame = nullptr;
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    frame = SkinManager->FindSkinForm(dialog);
    return frame && frame->FState == kFrameSkinned;
  }));
  HWND push = GetDlgItem(dialog, 101), check = GetDlgItem(dialog, 102), group = GetDlgItem(dialog, 103);
  HWND innerPush = GetDlgItem(nested, 201);
  EXPECT_TRUE(Is<TSkinButton>(PainterOfWindow(*frame, push)));
  EXPECT_EQ(ClassifyButtonStyle(static_cast<DWORD>(GetWindowLongPtrW(check, GWL_STYLE))), TBareButtonKind::CheckBox);
  EXPECT_TRUE(Is<TSkinCheckBox>(PainterOfWindow(*frame, check)));
  EXPECT_EQ(PainterOfWindow(*frame, group), nullptr);
  EXPECT_TRUE(Is<TSkinRadioButton>(PainterOfWindow(*frame, GetDlgItem(dialog, 104))));
  EXPECT_TRUE(Is<TSkinBoxH>(PainterOfWindow(*frame, nested)));
  EXPECT_TRUE(Is<TSkinButton>(PainterOfWindow(*frame, innerPush)));
  bw::test::WaitPainted(dialog);
  EXPECT_NE(WaitForFace(push, *FApp.Data().Buttons, kFrameNormal), 0);

  // A bare button's click is its parent's WM_COMMAND, once.
  commands.clear();
  SendMessageW(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(push, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  bw::test::PumpUntil([&] { return !commands.empty(); }, 2000);
  bw::test::PumpMessages(100);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, MAKEWPARAM(101, BN_CLICKED));
  EXPECT_EQ(commands[0].second, reinterpret_cast<LPARAM>(push));
  RECT shot;
  GetWindowRect(dialog, &shot);
  InflateRect(&shot, 6, 6);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("painters-dialog.png"), shot);
  gCommands = nullptr;
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace bw::skin::test
