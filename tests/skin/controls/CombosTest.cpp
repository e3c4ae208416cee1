// Combo boxes of each style, edits and up-downs of the gallery drawn from the skin: the
// button frame each state shows (compared with the skin image composed to the control's
// size), right-to-left buttons, the look without a field edge, the edit child given back,
// flat edit borders, the spin buttons' pressed halves, the language window's list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/QuorbelFS1.h"
#include "framework/win/GdiHandles.h"
#include "skin/controls/Combos.h"
#include "skin/controls/SkinImages.h"
#include "tests/skin/controls/GalleryPainters.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);


// Frame f of the object composed to w x h (magenta left in), as the painters compose it.
std::unique_ptr<win::TBitmap> Composed(win::TBitmap& bitmap, const RECT& margins, bool tile, int f, int frames, int w,
                                       int h) {
  auto out = std::make_unique<win::TBitmap>(w, h, win::TPixelFormat::pf24bit);
  if (TKeyedImage* image = TSkinImageCache::Shared().Compose(bitmap, margins, tile, f, frames, w, h, false))
    image->Draw(out->Canvas().Handle(), 0, 0);
  return out;
}

// The frame whose composed picture the screen shows in columns [from, to) of the window,
// 0 when none or several do.
int ShownComposed(HWND window, TDataSkinObject& object, TBitmap& bitmap, int from, int to) {
  auto shot = WindowShot(window);
  int found = 0;
  for (int f = 1; f <= object.Frame; ++f) {
    auto want = Composed(bitmap, object.Margins, object.Tile != 0, f, object.Frame, shot->Width(), shot->Height());
    bool same = true;
    for (int y = 0; y < shot->Height() && same; ++y)
      for (int x = std::max(from, 0); x < std::min(to, shot->Width()) && same; ++x) {
        const COLORREF c = want->Canvas().Pixel(x, y);
        if (c != kMagenta) same = shot->Canvas().Pixel(x, y) == c;
      }
    if (same) {
      if (found) return 0;
      found = f;
    }
  }
  return found;
}

class CombosTest : public ::testing::Test {
 protected:
  TGalleryApp FApp;
  TLacquerForm* FFrame = nullptr;
  int FButtonPx = GetSystemMetrics(SM_CXHSCROLL);
  void SetUp() override {
    FFrame = FApp.Show();
    ASSERT_NE(FFrame, nullptr);
  }
  win::TWinControl& Named(std::string_view name) { return FApp.Control<win::TWinControl>(name); }
  template <class P>
  P* Painter(HWND window) {
    for (TSkinControl* p : FFrame->FControls)
      if (p->FHandle == window) return dynamic_cast<P*>(p);
    return nullptr;
  }
  // The combo's button frame on the screen (the whole-control image of the skin).
  int ButtonShown(win::TWinControl& combo, int expected, bool rtl = false) {
    TDataSkinObject& object = rtl ? *FApp.Data().SunkEdge : *FApp.Data().ComboButton;
    const int w = combo.Width();
    int seen = 0;
    bw::test::PumpUntil([&] {
      seen = rtl ? ShownComposed(combo.Handle(), object, object.Bitmap, 0, FButtonPx + 4)
                 : ShownComposed(combo.Handle(), object, object.Bitmap, w - FButtonPx - 4, w);
      return seen == expected;
    }, 3000);
    return seen;
  }
};

TEST_F(CombosTest, EachComboStyleShowsItsButtonFrameByState) {
  win::TWinControl& dropDown = Named("ComboBox1");
  win::TWinControl& list = Named("ComboBox2");
  win::TWinControl& disabled = Named("ComboBox3");
  ASSERT_EQ(FApp.Data().ComboButton->Style, 2) << "the skin has a field edge: whole-control images";
  Named("Edit1").SetFocus();
  EXPECT_EQ(ButtonShown(dropDown, 1), 1);
  EXPECT_EQ(ButtonShown(list, 1), 1);
  EXPECT_EQ(ButtonShown(disabled, 3), 3);
  {
    RECT area, last;
    GetWindowRect(Named("Edit1").Handle(), &area);
    GetWindowRect(Named("DateTimePicker2").Handle(), &last);
    area.bottom = last.bottom + 2;
    area.right += 4;
    area.left -= 2;
    ButtonShown(Named("DateTimePicker1"), 1);  // the last of them to reach the screen
    bw::test::SaveScreenPng(bw::test::ScreenshotPath("combos-edits-spins.png"), area);
  }
  list.SetFocus();
  EXPECT_EQ(ButtonShown(list, 4), 4) << "focused";
  dropDown.SetFocus();
  EXPECT_EQ(ButtonShown(dropDown, 4), 4) << "the focus in its edit";
  EXPECT_EQ(ButtonShown(list, 1), 1);
  list.SetFocus();
  EXPECT_EQ(ButtonShown(dropDown, 1), 1) << "its edit lost the focus";
  SendMessageW(list.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(ButtonShown(list, 2), 2) << "pressed while the list is down";
  SendMessageW(list.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(ButtonShown(list, GetFocus() == list.Handle() ? 4 : 1), GetFocus() == list.Handle() ? 4 : 1)
      << "no longer pressed";
  EXPECT_EQ(FApp.Control<win::TComboBox>("ComboBox2").ItemIndex(), 1) << "the selection is the control's";
}

TEST_F(CombosTest, ARightToLeftComboHasItsButtonOnTheLeft) {
  win::TWinControl& list = Named("ComboBox2");
  Named("Edit1").SetFocus();
  SetWindowLongPtrW(list.Handle(), GWL_EXSTYLE, GetWindowLongPtrW(list.Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  Painter<TSkinComBox>(list.Handle())->Invalidate();
  EXPECT_EQ(ButtonShown(list, 1, true), 1);
}

// A strip of solid frames, frame f in colour base + f.
void SolidStrip(win::TBitmap& target, int frames, int w, int h, COLORREF (*colour)(int)) {
  win::TBitmap strip(frames * w, h, win::TPixelFormat::pf24bit);
  for (int f = 1; f <= frames; ++f) {
    win::TBrushHandle brush(CreateSolidBrush(colour(f)));
    const RECT r{(f - 1) * w, 0, f * w, h};
    FillRect(strip.Canvas().Handle(), &r, brush.Get());
  }
  target.Assign(strip);
}
COLORREF Plain(int f) { return RGB(30 * f, 120, 60); }
COLORREF Mirrored(int f) { return RGB(60, 30 * f, 160); }

TEST_F(CombosTest, WithoutAFieldEdgeTheButtonAndArrowAreDrawnOverTheControl) {
  TDataSkinBorder& button = *FApp.Data().ComboButton;
  button.Style = 0;
  button.Frame = 4;
  SolidStrip(button.Bitmap, 4, 19, 21, &Plain);
  SolidStrip(button.Bitmap2, 4, 19, 21, &Mirrored);
  FApp.Data().SunkEdge.reset();
  TSkinImageCache::Shared().Clear();
  win::TWinControl& list = Named("ComboBox2");
  win::TWinControl& disabled = Named("ComboBox3");
  Named("Edit1").SetFocus();
  Painter<TSkinComBox>(list.Handle())->Invalidate();
  Painter<TSkinComBox>(disabled.Handle())->Invalidate();
  const int w = list.Width();
  // Top-left of the button, away from the arrow in its middle.
  bw::test::WaitPainted(list.Handle());
  RECT r;
  GetWindowRect(list.Handle(), &r);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left + w - FButtonPx, r.top + 2, Plain(1)), Plain(1));
  EXPECT_NE(bw::test::ScreenPixel(r.left + w - FButtonPx - 4, r.top + 2), Plain(1)) << "the button is B + 2 wide";
  GetWindowRect(disabled.Handle(), &r);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left + w - FButtonPx, r.top + 2, Plain(3)), Plain(3));
  // The arrow glyph in the middle of the button.
  auto shot = WindowShot(list.Handle());
  int arrow = 0;
  for (int y = 0; y < shot->Height(); ++y)
    for (int x = w - FButtonPx - 2; x < w - 2; ++x)
      if (shot->Canvas().Pixel(x, y) != Plain(1)) ++arrow;
  EXPECT_GT(arrow, 4);
  // Right to left: the mirrored image on the left.
  SetWindowLongPtrW(list.Handle(), GWL_EXSTYLE, GetWindowLongPtrW(list.Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  Painter<TSkinComBox>(list.Handle())->Invalidate();
  GetWindowRect(list.Handle(), &r);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left + 1, r.top + 2, Mirrored(1)), Mirrored(1));
  EXPECT_NE(bw::test::ScreenPixel(r.left + w - 3, r.top + 2), Plain(1));
}

TEST_F(CombosTest, TheEditChildIsGivenBackWhenThePainterGoes) {
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 600, 560, 140, 200,
                               FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(combo, nullptr);
  HWND edit = GetTopWindow(combo);
  ASSERT_NE(edit, nullptr);
  const LONG_PTR own = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  FFrame->AddControlh(combo);
  auto* painter = Painter<TSkinComBox>(combo);
  ASSERT_NE(painter, nullptr);
  EXPECT_EQ(painter->EditHandle(), edit);
  EXPECT_NE(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
  SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_TRUE(painter->FState.Contains(TSkinControlState::scDown)) << "a press in the text reaches the painter";
  SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  painter->Unsubclass();
  delete painter;
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
  DestroyWindow(combo);
}

TEST_F(CombosTest, EditsWithABorderGetAFlatOneAndBorderlessOnesAreLeftAlone) {
  win::TWinControl& edit = Named("Edit1");
  ASSERT_NE(Painter<TSkinEdit>(edit.Handle()), nullptr);
  RECT r;
  GetWindowRect(edit.Handle(), &r);
  const COLORREF shadow = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonShadow]);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left, r.top + 5, shadow), shadow);
  EXPECT_EQ(bw::test::ScreenPixel(r.right - 1, r.bottom - 1), shadow);
  EXPECT_EQ(bw::test::ScreenPixel(r.left + 1, r.top + 5), RGB(255, 255, 255));

  HWND bare = CreateWindowExW(0, L"EDIT", L"no border", WS_CHILD | WS_VISIBLE, 600, 560, 120, 20,
                              FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bare, nullptr);
  FFrame->AddControlh(bare);
  ASSERT_NE(Painter<TSkinEdit>(bare), nullptr);
  Painter<TSkinEdit>(bare)->Invalidate();
  bw::test::WaitPainted(bare);
  GetWindowRect(bare, &r);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left, r.top + 1, GetSysColor(COLOR_WINDOW)), GetSysColor(COLOR_WINDOW));
  DestroyWindow(bare);
}

// The window's picture once two shots a little apart agree (the screen lags the painting).
std::unique_ptr<win::TBitmap> SettledShot(HWND window) {
  bw::test::WaitPainted(window);
  std::unique_ptr<win::TBitmap> last = WindowShot(window);
  bw::test::PumpUntil([&] {
    bw::test::PumpMessages(30);
    auto now = WindowShot(window);
    bool same = true;
    for (int y = 0; y < now->Height() && same; ++y)
      for (int x = 0; x < now->Width() && same; ++x) same = now->Canvas().Pixel(x, y) == last->Canvas().Pixel(x, y);
    last = std::move(now);
    return same;
  }, 3000);
  return last;
}

// Pixels of the window on the screen that differ from `before`, in the first and the
// second half (top and bottom, or left and right), waited for until the second changes.
std::pair<int, int> ChangedHalves(HWND window, win::TBitmap& before, bool horizontal) {
  std::pair<int, int> changed{0, 0};
  bw::test::PumpUntil([&] {
    auto now = WindowShot(window);
    changed = {0, 0};
    for (int y = 0; y < now->Height(); ++y)
      for (int x = 0; x < now->Width(); ++x)
        if (now->Canvas().Pixel(x, y) != before.Canvas().Pixel(x, y)) {
          const bool second = horizontal ? x >= now->Width() / 2 : y >= now->Height() / 2;
          (second ? changed.second : changed.first)++;
        }
    return changed.second > 0;
  }, 3000);
  return changed;
}

TEST_F(CombosTest, PressingTheLowerHalfOfASpinShowsItsDownButtonPressed) {
  auto& upDown = FApp.Control<win::TUpDown>("UpDown1");
  auto* painter = Painter<TSkinUpDown>(upDown.Handle());
  ASSERT_NE(painter, nullptr);
  EXPECT_TRUE(painter->FInEdit);
  SetCursorPos(1279, 1023);  // far from the spin: no button is hot
  const int before = upDown.Position();
  const int w = upDown.Width(), h = upDown.Height();
  SendMessageW(upDown.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, h - 4));
  EXPECT_EQ(painter->LastFirst(), 1);
  EXPECT_EQ(painter->LastSecond(), 2);
  auto pressed = SettledShot(upDown.Handle());
  SendMessageW(upDown.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(w / 2, h - 4));
  EXPECT_EQ(upDown.Position(), before - 1) << "the press still stepped the control";
  EXPECT_EQ(painter->LastSecond(), 1);
  const auto changed = ChangedHalves(upDown.Handle(), *pressed, false);
  EXPECT_GT(changed.second, 10) << "the down button showed its pressed frame";
  EXPECT_EQ(changed.first, 0) << "the up button stayed as it was";
  // Docked in the edit, the spin leaves the edit's top border visible: white above it.
  EXPECT_EQ(WindowShot(upDown.Handle())->Canvas().Pixel(w / 2, 0), RGB(255, 255, 255));
}

TEST_F(CombosTest, AHorizontalSpinShowsLeftAndRightButtons) {
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_HORZ, 600, 560, 40, 18,
                              FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(spin, nullptr);
  auto* painter = new TSkinUpDown(nullptr);
  painter->Inithwnd(spin, &FApp.Data(), &FFrame->FCanvas2, FFrame);
  SetCursorPos(1279, 1023);
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 9));
  EXPECT_EQ(painter->LastFirst(), 1);
  EXPECT_EQ(painter->LastSecond(), 2);
  auto pressed = SettledShot(spin);
  SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(30, 9));
  EXPECT_EQ(painter->LastSecond(), 1);
  const auto changed = ChangedHalves(spin, *pressed, true);
  EXPECT_GT(changed.second, 10) << "the right button showed its pressed frame";
  EXPECT_EQ(changed.first, 0);
  // Left and right arrows: mirror images of each other at rest.
  auto released = SettledShot(spin);
  int differ = 0, unlike = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 20; ++x) {
      if (released->Canvas().Pixel(x, y) != released->Canvas().Pixel(20 + x, y)) ++differ;
      if (released->Canvas().Pixel(x, y) != released->Canvas().Pixel(39 - x, y)) ++unlike;
    }
  EXPECT_GT(differ, 4) << "the arrows point different ways";
  EXPECT_EQ(unlike, 0);
  delete painter;
  DestroyWindow(spin);
}

TEST_F(CombosTest, TheLanguageWindowsListIsSkinned) {
  app::RegisterLanguageFormClasses();
  app::TForm2* language = nullptr;
  FApp.App().CreateForm(language);
  ASSERT_NE(language, nullptr);
  TLacquerForm* frame = FApp.ShowOther(*language);
  ASSERT_NE(frame, nullptr);
  TSkinComBox* painter = nullptr;
  for (TSkinControl* p : frame->FControls)
    if (p->FControl == language->ComboBox1) painter = dynamic_cast<TSkinComBox*>(p);
  ASSERT_NE(painter, nullptr);
  language->BitBtn_Langue->SetFocus();
  TDataSkinObject& object = *FApp.Data().ComboButton;
  const int w = language->ComboBox1->Width();
  int seen = 0;
  bw::test::PumpUntil([&] {
    return (seen = ShownComposed(language->ComboBox1->Handle(), object, object.Bitmap, w - FButtonPx - 4, w)) == 1;
  }, 3000);
  EXPECT_EQ(seen, 1);
  RECT r;
  GetWindowRect(language->WindowHandle(), &r);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("language-window.png"), r);
  language->Hide();
}

TEST_F(CombosTest, TenThousandPaintsLeaveNoGdiObjectBehind) {
  // A full cache of earlier tests' images would make and free images as it turns over.
  TSkinImageCache::Shared().Clear();
  // The combo's own picture, drawn into a bitmap: the system's painting of the control
  // underneath makes and frees objects of its own in no fixed order.
  win::TWinControl& comboBox = Named("ComboBox1");
  auto* combo = Painter<TSkinComBox>(comboBox.Handle());
  ASSERT_NE(combo, nullptr);
  win::TBitmap target(comboBox.Width(), comboBox.Height(), win::TPixelFormat::pf24bit);
  const RECT r{0, 0, comboBox.Width(), comboBox.Height()};
  for (int i = 0; i < 20; ++i) combo->DrawControl(target.Canvas().Handle(), r);
  unsigned before = bw::test::NextGdiSlot();
  for (int i = 0; i < 10000; ++i) combo->DrawControl(target.Canvas().Handle(), r);
  EXPECT_EQ(bw::test::NextGdiSlot(), before) << "objects were left behind by the combo's painter";
  // The spin, repainted through its window.
  auto* spin = Painter<TSkinUpDown>(FApp.Control<win::TUpDown>("UpDown1").Handle());
  ASSERT_NE(spin, nullptr);
  for (int i = 0; i < 20; ++i) spin->Invalidate();
  before = bw::test::NextGdiSlot();
  for (int i = 0; i < 10000; ++i) spin->Invalidate();
  EXPECT_EQ(bw::test::NextGdiSlot(), before) << "objects were left behind by the spin's painter";
}

}  // namespace
}  // namespace bw::skin::test
