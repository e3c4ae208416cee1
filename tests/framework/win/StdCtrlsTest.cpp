// The controls of the program's windows: built from a description, their windows and
// properties, painting checked on screen or on memory bitmaps, and their events.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win {
namespace {

class TStdForm : public TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TStdForm(core::TComponent* owner) : TForm(owner) {}
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TPanel* Panel1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  int Selections = 0;
  void ComboBox1Select(core::TObject*) { ++Selections; }
};

const core::TMethodInfo kStdMethods[] = {core::Method<&TStdForm::ComboBox1Select>("ComboBox1Select")};
const core::TFieldInfo kStdFields[] = {
    core::Field<&TStdForm::Label1>("Label1"),       core::Field<&TStdForm::Label2>("Label2"),
    core::Field<&TStdForm::Panel1>("Panel1"),       core::Field<&TStdForm::ComboBox1>("ComboBox1"),
    core::Field<&TStdForm::ProgressBar1>("ProgressBar1"), core::Field<&TStdForm::BitBtn1>("BitBtn1"),
};
const core::TClassInfo TStdForm::kClass{"TStdForm", &TForm::kClass, {}, kStdMethods,
                                        &core::CreateComponentOf<TStdForm>, kStdFields};

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

class StdCtrlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStdControls();
    core::RegisterComponentClass(TStdForm::kClass);
    FApp = std::make_unique<TApplication>(nullptr);
    FApp->Initialize();
    FApp->CreateForm(FForm);
  }
  void Show() {
    FForm->Show();
    FForm->Update();
    bw::test::WaitPainted(FForm->Handle());
  }
  COLORREF Pixel(TControl& c, int x, int y, COLORREF expected) {
    const POINT p = c.ClientToScreen(POINT{x, y});
    return bw::test::WaitForScreenPixel(p.x, p.y, expected);
  }
  std::unique_ptr<TApplication> FApp;
  TStdForm* FForm = nullptr;
};

TEST_F(StdCtrlsTest, DescriptionSetsEveryControl) {
  ASSERT_NE(FForm->BitBtn1, nullptr);
  EXPECT_EQ(FForm->Label1->Color(), 9566712);
  EXPECT_TRUE(FForm->Label1->Font()->Style().Contains(core::TFontStyle::fsBold));
  EXPECT_FALSE(FForm->Label1->ParentFont());
  EXPECT_TRUE(FForm->Label2->Transparent());
  EXPECT_EQ(FForm->ComboBox1->Items()->Count(), 2);
  EXPECT_EQ(FForm->ComboBox1->Items()->Get(1), "Fran\xC3\xA7" "ais");
  EXPECT_EQ(FForm->ComboBox1->Style(), core::TComboBoxStyle::csDropDownList);
  EXPECT_EQ(FForm->ProgressBar1->Position(), 40);
  EXPECT_EQ(FForm->BitBtn1->ModalResult(), mrOk);
  EXPECT_EQ(FForm->BitBtn1->Layout(), core::TButtonLayout::blGlyphRight);
  EXPECT_EQ(core::GetEnumProp(FForm->BitBtn1, "layout"), "blGlyphRight");
  EXPECT_EQ(core::GetIntProp(FForm->BitBtn1, "Margin"), -1);
  EXPECT_EQ(core::GetIntProp(FForm->Label1, "Margin"), -1);  // missing: -1, no error
  EXPECT_EQ(core::GetStrProp(FForm->BitBtn1, "Caption"), "OK");
}

TEST_F(StdCtrlsTest, WindowsAreOfTheFrameworkClassesAndCarrySettings) {
  Show();
  EXPECT_EQ(ClassOf(FForm->Panel1->Handle()), L"TPanel");
  EXPECT_EQ(ClassOf(FForm->ComboBox1->Handle()), L"TComboBox");
  EXPECT_EQ(ClassOf(FForm->ProgressBar1->Handle()), L"TProgressBar");
  EXPECT_EQ(ClassOf(FForm->BitBtn1->Handle()), L"TBitBtn");
  HWND bar = FForm->ProgressBar1->Handle();
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_SMOOTH);
  FForm->ProgressBar1->SetPosition(150);  // above the range: a full bar
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 100);
  EXPECT_EQ(SendMessageW(FForm->ComboBox1->Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_TRUE((GetWindowLongPtrW(FForm->ComboBox1->Handle(), GWL_STYLE) & 3) == CBS_DROPDOWNLIST);
}

TEST_F(StdCtrlsTest, LabelsAndPanelsPaintTheirColours) {
  Show();
  EXPECT_EQ(Pixel(*FForm->Label1, 118, 18, RGB(248, 249, 145)), RGB(248, 249, 145));  // its own colour
  EXPECT_EQ(Pixel(*FForm->Label2, 118, 18, RGB(255, 255, 255)), RGB(255, 255, 255));  // the form's
  EXPECT_EQ(Pixel(*FForm->Panel1, 50, 30, RGB(0xD0, 0xD0, 0xD0)), RGB(0xD0, 0xD0, 0xD0));
  EXPECT_EQ(Pixel(*FForm->Panel1, 0, 0, GetSysColor(COLOR_BTNHIGHLIGHT)), GetSysColor(COLOR_BTNHIGHLIGHT));  // raised bevel
  EXPECT_EQ(Pixel(*FForm->Panel1, 99, 59, GetSysColor(COLOR_BTNSHADOW)), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(StdCtrlsTest, ComboSelectionByKeyboardFiresOnSelect) {
  Show();
  TComboBox& combo = *FForm->ComboBox1;
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  combo.SetFocus();
  SendMessageW(combo.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(combo.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.Text(), "Fran\xC3\xA7" "ais");
  EXPECT_EQ(FForm->Selections, 2);
  combo.Items()->Add("Deutsch");  // the window follows the list
  EXPECT_EQ(SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0), 3);
}

TEST_F(StdCtrlsTest, ButtonWithModalResultClosesTheModalForm) {
  PostMessageW(FForm->BitBtn1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(FForm->ShowModal(), mrOk);
  EXPECT_FALSE(FForm->Visible());
}

TEST(ButtonLayout, GlyphAndCaptionPlacement) {
  struct Case {
    core::TButtonLayout layout;
    int margin, spacing;
    POINT glyph;
    LONG textLeft, textTop;
  };
  // A 60x25 button, a 17x17 glyph, a 24x13 caption.
  const Case cases[] = {
      {core::TButtonLayout::blGlyphLeft, -1, 4, {7, 4}, 28, 6},    // centred pair
      {core::TButtonLayout::blGlyphRight, -1, 4, {36, 4}, 8, 6},   // mirrored
      {core::TButtonLayout::blGlyphLeft, 2, 4, {2, 4}, 23, 6},     // fixed margin
      {core::TButtonLayout::blGlyphLeft, -1, -1, {6, 4}, 29, 6},   // even spread: (60-41)/3
      {core::TButtonLayout::blGlyphTop, -1, 4, {21, -4}, 18, 17},  // taller than the button
  };
  for (const Case& c : cases) {
    const TButtonLayoutResult r = CalcButtonLayout(SIZE{60, 25}, SIZE{17, 17}, SIZE{24, 13}, c.layout, c.margin,
                                                   c.spacing);
    EXPECT_EQ(r.GlyphPos.x, c.glyph.x) << static_cast<int>(c.layout) << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(r.GlyphPos.y, c.glyph.y);
    EXPECT_EQ(r.TextRect.left, c.textLeft);
    EXPECT_EQ(r.TextRect.top, c.textTop);
  }
  // No caption: no spacing, the glyph alone centred.
  const TButtonLayoutResult alone =
      CalcButtonLayout(SIZE{60, 25}, SIZE{17, 17}, SIZE{0, 0}, core::TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(alone.GlyphPos.x, 21);
}

TEST(BitBtn, GlyphIsDrawnWithItsBottomLeftColourTransparent) {
  TBitBtn button(nullptr);
  TBitmap& glyph = *button.Glyph();
  glyph.SetPixelFormat(TPixelFormat::pf24bit);
  glyph.SetSize(4, 4);
  TBrushHandle olive(CreateSolidBrush(RGB(128, 128, 0)));
  RECT all{0, 0, 4, 4};
  FillRect(glyph.Canvas().Handle(), &all, olive.Get());
  SetPixelV(glyph.Canvas().Handle(), 1, 1, RGB(200, 0, 0));
  TBitmap face(40, 20, TPixelFormat::pf24bit);
  button.DrawButton(face.Canvas().Handle(), RECT{0, 0, 40, 20}, false, false);
  // Centred: x = (40-4)/2 = 18, y = (20-4)/2 = 8.
  EXPECT_EQ(GetPixel(face.Canvas().Handle(), 19, 9), RGB(200, 0, 0));
  EXPECT_EQ(GetPixel(face.Canvas().Handle(), 18, 8), GetSysColor(COLOR_BTNFACE));
  // Pressed: shifted by one pixel.
  button.DrawButton(face.Canvas().Handle(), RECT{0, 0, 40, 20}, true, false);
  EXPECT_EQ(GetPixel(face.Canvas().Handle(), 20, 10), RGB(200, 0, 0));
}

}  // namespace
}  // namespace bw::win

#include "framework/win/ExtCtrls.h"

namespace bw::win {
namespace {

TEST(Image, StretchedPicturesKeepTheirProportionsAnchoredTopLeft) {
  TApplication app(nullptr);
  auto* form = CreateForm<TForm>(&app);
  form->SetBorderStyle(core::TFormBorderStyle::bsNone);
  form->SetBounds(20, 20, 430, 260);
  form->SetColor(RGB(0, 0, 90));
  auto* image = new TImage(form);
  image->SetBounds(3, 3, 409, 238);
  image->SetStretch(true);
  image->SetProportional(true);
  image->SetParent(form);
  TBitmap& wide = image->Picture()->Bitmap();
  wide.SetPixelFormat(TPixelFormat::pf24bit);
  wide.SetSize(100, 50);
  TBrushHandle red(CreateSolidBrush(RGB(220, 20, 20)));
  RECT all{0, 0, 100, 50};
  FillRect(wide.Canvas().Handle(), &all, red.Get());
  const RECT d = image->DestRect();
  EXPECT_EQ(d.left, 0);
  EXPECT_EQ(d.top, 0);
  EXPECT_EQ(d.right, 409);
  EXPECT_EQ(d.bottom, 204);  // 50 * 409 / 100
  form->Show();
  form->Update();
  bw::test::WaitPainted(form->Handle());
  auto at = [&](int x, int y, COLORREF expected) {
    const POINT p = image->ClientToScreen(POINT{x, y});
    return bw::test::WaitForScreenPixel(p.x, p.y, expected);
  };
  EXPECT_EQ(at(0, 0, RGB(220, 20, 20)), RGB(220, 20, 20));
  EXPECT_EQ(at(408, 203, RGB(220, 20, 20)), RGB(220, 20, 20));
  EXPECT_EQ(at(408, 205, RGB(0, 0, 90)), RGB(0, 0, 90));
  // A tall picture: the height decides, and the right part stays empty.
  wide.SetSize(50, 100);
  FillRect(wide.Canvas().Handle(), &all, red.Get());
  EXPECT_EQ(image->DestRect().right, 119);  // 50 * 238 / 100
  EXPECT_EQ(image->DestRect().bottom, 238);
  image->Picture()->SetGraphic(nullptr);
  form->Update();
  bw::test::WaitPainted(form->Handle());
  EXPECT_EQ(at(10, 10, RGB(0, 0, 90)), RGB(0, 0, 90));  // cleared: the form shows through
}

}  // namespace
}  // namespace bw::win

namespace bw::win {
namespace {

TEST(Label, AutoSizeFitsTheTextUnlessSwitchedOff) {
  TLabel label(nullptr);
  label.SetBounds(10, 10, 50, 20);
  label.Font()->SetHeight(-16);
  label.Font()->SetStyle(core::TFontStyles{core::TFontStyle::fsBold});
  label.SetCaption("    Choose the user's language");
  TWindowDC screen(nullptr);
  TMemoryDC dc(screen.Get());
  TSelectGuard font(dc.Get(), label.Font()->Handle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  EXPECT_GE(metrics.tmWeight, FW_BOLD);
  SIZE extent{};
  const std::wstring text = Widen(label.Caption());
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  EXPECT_GE(label.Width(), extent.cx);  // nothing of the text is cut off
  EXPECT_EQ(label.Left(), 10);
  label.SetAutoSize(false);
  label.SetWidth(50);
  label.SetCaption("a much longer caption than fits");
  EXPECT_EQ(label.Width(), 50);
}

}  // namespace
}  // namespace bw::win
