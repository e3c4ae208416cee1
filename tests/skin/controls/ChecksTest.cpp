// Check boxes and radio buttons of the gallery drawn from the skin: the frame each state
// shows in both image tables (read back from the screen), where the box goes, the caption
// and its focus rectangle, bare windows, and what repainting costs.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Checks.h"
#include "skin/controls/SkinImages.h"
#include "tests/skin/controls/GalleryPainters.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

constexpr int kBoxPx = 13;

class ChecksTest : public ::testing::Test {
 protected:
  TGalleryApp FApp;
  TLacquerForm* FFrame = nullptr;
  void SetUp() override {
    FFrame = FApp.Show();
    ASSERT_NE(FFrame, nullptr);
  }
  TDataSkinButton& Skin() { return *FApp.Data().Buttons; }
  win::TWinControl& Named(std::string_view name) { return FApp.Control<win::TWinControl>(name); }
  TSkinCheckControl* Painter(win::TWinControl& control) {
    for (TSkinControl* p : FFrame->FControls)
      if (p->FControl == &control) return dynamic_cast<TSkinCheckControl*>(p);
    return nullptr;
  }
  // Where the box of a control of the gallery starts on the screen.
  static POINT BoxAt(HWND window, int x) {
    RECT r;
    GetWindowRect(window, &r);
    return POINT{r.left + x, r.top + (r.bottom - r.top - kBoxPx) / 2};
  }
  // The frame of the real skin image shown at the box, waited for.
  int Shown(win::TWinControl& control, bool radio, int expected, int x = 0) {
    win::TBitmap& image = radio ? Skin().RadioBitmap : Skin().CheckBitmap;
    const int frames = radio ? Skin().RadioButtonFrame : Skin().CheckButtonFrame;
    int seen = 0;
    bw::test::PumpUntil([&] { return (seen = ShownFrameAt(BoxAt(control.Handle(), x), image, frames)) == expected; },
                        3000);
    return seen;
  }
  void Repaint(std::initializer_list<const char*> names) {
    TSkinImageCache::Shared().Clear();
    for (const char* name : names) Painter(Named(name))->Invalidate();
  }
};

// A strip of `frames` solid frames, frame f in colour Solid(f), with a magenta corner.
COLORREF Solid(int f) { return RGB(20 * f, 90, 200 - 10 * f); }
void SolidStrip(win::TBitmap& target, int frames, int frameWidthPx) {
  win::TBitmap strip(frames * frameWidthPx, kBoxPx, win::TPixelFormat::pf24bit);
  for (int f = 1; f <= frames; ++f) {
    win::TBrushHandle brush(CreateSolidBrush(Solid(f)));
    const RECT r{(f - 1) * frameWidthPx, 0, f * frameWidthPx, kBoxPx};
    FillRect(strip.Canvas().Handle(), &r, brush.Get());
    strip.Canvas().SetPixel((f - 1) * frameWidthPx, 0, RGB(255, 0, 255));
  }
  target.Assign(strip);
}
// The frame whose colour the screen shows at the point, 0 when none.
int SolidFrameAt(POINT p, int frames) {
  const COLORREF c = bw::test::ScreenPixel(p.x, p.y);
  for (int f = 1; f <= frames; ++f)
    if (c == Solid(f)) return f;
  return 0;
}

TEST_F(ChecksTest, GalleryBoxesShowTheFrameOfTheirStateInTheTwelveAndEightFrameImages) {
  ASSERT_EQ(Skin().CheckButtonFrame, 12);
  ASSERT_EQ(Skin().RadioButtonFrame, 8);
  EXPECT_EQ(Shown(Named("CheckBox1"), false, 5), 5) << "checked";
  EXPECT_EQ(Shown(Named("CheckBox2"), false, 9), 9) << "grayed";
  EXPECT_EQ(Shown(Named("CheckBox3"), false, 8), 8) << "disabled and checked";
  win::TWinControl& right = Named("CheckBox4");
  EXPECT_EQ(Shown(right, false, 1, right.Width() - kBoxPx), 1) << "box on the right, unchecked";
  EXPECT_EQ(Shown(Named("RadioButton1"), true, 5), 5);
  EXPECT_EQ(Shown(Named("RadioButton2"), true, 1), 1);
  EXPECT_EQ(Shown(Named("RadioButton3"), true, 4), 4) << "disabled, off";
  auto& group = FApp.Control<win::TRadioGroup>("RadioGroup1");
  EXPECT_EQ(Shown(*group.Buttons(0), true, 5), 5) << "the checked button of a radio group";
  EXPECT_EQ(Shown(*group.Buttons(1), true, 1), 1);
  EXPECT_TRUE(Painter(Named("CheckBox1"))->FClassFlag) << "a framework control is drawn whole";

  RECT area;
  GetWindowRect(Named("GroupBox2").Handle(), &area);
  RECT groups;
  GetWindowRect(FApp.Control<win::TWinControl>("RadioGroup2").Handle(), &groups);
  area.bottom = groups.bottom;
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("checks-and-radios.png"), area);
}

TEST_F(ChecksTest, TheCaptionFollowsTheBoxColumnAndTheFocusRectangleSurroundsIt) {
  win::TWinControl& box = Named("CheckBox1");
  const TColor face = FApp.Data().Colors[TShemeColor::csButtonFace];
  bw::test::WaitPainted(box.Handle());
  auto InkColumns = [&](HWND window, int from, int to) {
    RECT r;
    GetWindowRect(window, &r);
    int ink = 0;
    for (int x = from; x < to; ++x)
      for (int y = 0; y < r.bottom - r.top; ++y)
        if (bw::test::ScreenPixel(r.left + x, r.top + y) != win::ColorToRGB(face)) {
          ++ink;
          break;
        }
    return ink;
  };
  EXPECT_EQ(InkColumns(box.Handle(), kBoxPx + 1, 18), 0) << "the gap between box and caption";
  EXPECT_GT(InkColumns(box.Handle(), 18, 60), 10) << "the caption starts 18 pixels in";
  win::TWinControl& right = Named("CheckBox4");
  EXPECT_GT(InkColumns(right.Handle(), 0, right.Width() - 18), 10) << "caption left of the box";
  EXPECT_EQ(InkColumns(right.Handle(), right.Width() - 18, right.Width() - kBoxPx), 0);

  // The focus rectangle: dotted pixels above the caption that were not there before.
  RECT r;
  GetWindowRect(box.Handle(), &r);
  auto before = std::make_unique<win::TBitmap>(r.right - r.left, r.bottom - r.top, win::TPixelFormat::pf24bit);
  auto shoot = [&](win::TBitmap& into) {
    win::TWindowDC screen(nullptr);
    BitBlt(into.Canvas().Handle(), 0, 0, into.Width(), into.Height(), screen.Get(), r.left, r.top, SRCCOPY);
  };
  shoot(*before);
  box.SetFocus();
  win::TBitmap after(before->Width(), before->Height(), win::TPixelFormat::pf24bit);
  int changed = 0, changedInBox = 0;
  bw::test::PumpUntil([&] {
    shoot(after);
    changed = changedInBox = 0;
    for (int y = 0; y < after.Height(); ++y)
      for (int x = 0; x < after.Width(); ++x)
        if (after.Canvas().Pixel(x, y) != before->Canvas().Pixel(x, y)) (x < kBoxPx ? changedInBox : changed)++;
    return changed > 20;
  });
  EXPECT_GT(changed, 20);
  EXPECT_EQ(changedInBox, 0);
}

TEST_F(ChecksTest, ClicksAndStateChangesShowAtOnce) {
  win::TWinControl& radio2 = Named("RadioButton2");
  SendMessageW(radio2.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(radio2.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(FApp.Control<win::TRadioButton>("RadioButton2").Checked());
  EXPECT_EQ(Shown(radio2, true, 5), 5);
  EXPECT_EQ(Shown(Named("RadioButton1"), true, 1), 1) << "unchecked by its neighbour";

  win::TWinControl& check1 = Named("CheckBox1");
  SendMessageW(check1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(check1.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(FApp.Control<win::TCheckBox>("CheckBox1").Checked());
  EXPECT_EQ(Shown(check1, false, 1), 1);
  FApp.Control<win::TCheckBox>("CheckBox1").SetState(core::TCheckBoxState::cbGrayed);
  EXPECT_EQ(Shown(check1, false, 9), 9);
  check1.SetEnabled(false);
  EXPECT_EQ(Shown(check1, false, 12), 12) << "grayed and disabled";
  FApp.Control<win::TCheckBox>("CheckBox1").SetState(core::TCheckBoxState::cbUnchecked);
  EXPECT_EQ(Shown(check1, false, 4), 4) << "disabled, unchecked";
}

TEST_F(ChecksTest, FourFrameImagesAndANarrowRadioFrame) {
  SolidStrip(Skin().CheckBitmap, 4, kBoxPx);
  Skin().CheckButtonFrame = 4;
  SolidStrip(Skin().RadioBitmap, 4, 11);
  Skin().RadioButtonFrame = 4;
  Named("CheckBox4").SetEnabled(false);
  Repaint({"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "RadioButton1", "RadioButton2", "RadioButton3"});
  struct {
    const char* Name;
    int Expected;
  } const cases[] = {{"CheckBox1", 2}, {"CheckBox2", 4}, {"CheckBox3", 4}, {"RadioButton1", 2},
                     {"RadioButton2", 1}, {"RadioButton3", 3}};
  for (const auto& c : cases) {
    win::TWinControl& control = Named(c.Name);
    const POINT centre = BoxAt(control.Handle(), 6);
    int seen = 0;
    bw::test::PumpUntil([&] { return (seen = SolidFrameAt(POINT{centre.x, centre.y + 6}, 4)) == c.Expected; }, 3000);
    EXPECT_EQ(seen, c.Expected) << c.Name;
    EXPECT_EQ(Painter(control)->LastFrame(), c.Expected) << c.Name;
  }
  win::TWinControl& right = Named("CheckBox4");
  const POINT rightBox = BoxAt(right.Handle(), right.Width() - kBoxPx);
  EXPECT_EQ(SolidFrameAt(POINT{rightBox.x + 6, rightBox.y + 6}, 4), 3) << "disabled, unchecked";
  // An 11-pixel radio frame stands 1 pixel in ((14 - 11) / 2).
  const POINT radio = BoxAt(Named("RadioButton2").Handle(), 0);
  EXPECT_EQ(SolidFrameAt(POINT{radio.x + 1, radio.y + 6}, 4), 1);
  EXPECT_EQ(bw::test::ScreenPixel(radio.x, radio.y + 6), win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]));
  EXPECT_EQ(SolidFrameAt(POINT{radio.x + 11, radio.y + 6}, 4), 1);
  EXPECT_EQ(SolidFrameAt(POINT{radio.x + 12, radio.y + 6}, 4), 0);
}

TEST_F(ChecksTest, FrameRulesTheScreenCannotReach) {
  // A data-aware box follows its last BM_SETCHECK; a grayed disabled box of a 4-frame
  // image stays within the image.
  TCheckFrameInputs dataAware;
  dataAware.Framework = true;
  dataAware.State = "cbunchecked";
  dataAware.DataAware = true;
  dataAware.CheckState = 3;
  dataAware.Frames = 4;
  EXPECT_EQ(CheckFrameIndex(dataAware), 4);
  dataAware.CheckState = 2;
  EXPECT_EQ(CheckFrameIndex(dataAware), 2);
  TCheckFrameInputs grayed;
  grayed.Framework = true;
  grayed.State = "cbgrayed";
  grayed.Disabled = true;
  grayed.Frames = 4;
  EXPECT_EQ(CheckFrameIndex(grayed), 4);
  TCheckFrameInputs checkedFromWindow;
  checkedFromWindow.WindowChecked = true;
  checkedFromWindow.Frames = 12;
  EXPECT_EQ(CheckFrameIndex(checkedFromWindow), 5) << "a bare window's state";
  TCheckFrameInputs noState;
  noState.Framework = true;
  noState.Checked = "true";
  noState.Frames = 4;
  EXPECT_EQ(CheckFrameIndex(noState), 2) << "Checked when there is no State";
}

TEST_F(ChecksTest, ABareCheckBoxKeepsItsOwnCaptionAndShowsTheSkinBox) {
  HWND bare = CreateWindowExW(0, L"BUTTON", L"Bare box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 600, 560, 120,
                              20, FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bare, nullptr);
  SendMessageW(bare, WM_SETFONT, SendMessageW(Named("CheckBox1").Handle(), WM_GETFONT, 0, 0), TRUE);
  FFrame->AddControlh(bare);
  TSkinControl* painter = nullptr;
  for (TSkinControl* p : FFrame->FControls)
    if (p->FHandle == bare) painter = p;
  ASSERT_NE(dynamic_cast<TSkinCheckBox*>(painter), nullptr);
  EXPECT_FALSE(painter->FClassFlag) << "it paints itself";
  bw::test::WaitPainted(bare);
  int seen = 0;
  bw::test::PumpUntil([&] { return (seen = ShownFrameAt(BoxAt(bare, 0), Skin().CheckBitmap, 12)) == 1; }, 3000);
  EXPECT_EQ(seen, 1);
  RECT r;
  GetWindowRect(bare, &r);
  int ink = 0;
  for (int x = 18; x < 80; ++x)
    for (int y = 0; y < 20; ++y)
      if (bw::test::ScreenPixel(r.left + x, r.top + y) == RGB(0, 0, 0)) ++ink;
  EXPECT_GT(ink, 10) << "the system's caption is still there";
  SendMessageW(bare, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(bare, BM_GETCHECK, 0, 0), BST_CHECKED);
  bw::test::PumpUntil([&] { return (seen = ShownFrameAt(BoxAt(bare, 0), Skin().CheckBitmap, 12)) == 5; }, 3000);
  EXPECT_EQ(seen, 5);
  DestroyWindow(bare);
}

TEST_F(ChecksTest, WithoutTheImageTheControlPaintsItself) {
  win::TWinControl& box = Named("CheckBox4");  // unchecked: the system's box is empty
  Skin().CheckBitmap.Assign(win::TBitmap());
  TSkinCheckControl* painter = Painter(box);
  const int before = painter->LastFrame();
  painter->Invalidate();
  bw::test::WaitPainted(box.Handle());
  EXPECT_FALSE(painter->FClassFlag);
  EXPECT_EQ(painter->LastFrame(), before) << "nothing drawn from the skin";
  // The system's own box, white inside, where the skin's box was.
  const POINT at = BoxAt(box.Handle(), box.Width() - kBoxPx);
  const COLORREF inside = bw::test::WaitForScreenPixel(at.x + 6, at.y + 6, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(inside, GetSysColor(COLOR_WINDOW));
}

TEST_F(ChecksTest, TenThousandRepaintsLeaveNoGdiObjectBehind) {
  TSkinCheckControl* check = Painter(Named("CheckBox1"));
  TSkinCheckControl* radio = Painter(Named("RadioButton1"));
  ASSERT_NE(check, nullptr);
  ASSERT_NE(radio, nullptr);
  for (int i = 0; i < 20; ++i) {
    check->Invalidate();
    radio->Invalidate();
  }
  const unsigned before = bw::test::NextGdiSlot();
  const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 5000; ++i) {
    check->Invalidate();
    radio->Invalidate();
  }
  EXPECT_EQ(bw::test::NextGdiSlot(), before) << "objects were left behind";
  if (objects != 0) {
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
  }
}

}  // namespace
}  // namespace bw::skin::test
