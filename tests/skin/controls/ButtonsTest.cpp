// Skinned push and bit buttons on a real form: the face frame each state shows (read from
// the screen), clicks, captions, glyphs, layout, focus rectangles, and what hovering costs.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Buttons.h"
#include "tests/skin/controls/PaintersTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

class ButtonsTest : public ::testing::Test {
 protected:
  TPaintersApp FApp;
  TLacquerForm* FFrame = nullptr;
  void SetUp() override {
    FFrame = FApp.Show();
    ASSERT_NE(FFrame, nullptr);
    Form().Button4->SetFocus();  // the unskinned button holds the focus to begin with
    bw::test::WaitPainted(Form().Handle());
  }
  TPaintersForm& Form() { return FApp.Form(); }
  TDataSkinButton& Skin() { return *FApp.Data().Buttons; }
  int Face(win::TWinControl& control, int expected) { return WaitForFace(control.Handle(), Skin(), expected); }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST_F(ButtonsTest, APushButtonShowsTheFaceOfItsState) {
  win::TButton& b = *Form().Button1;
  EXPECT_EQ(Face(b, kFrameNormal), kFrameNormal);
  EXPECT_EQ(Face(*Form().Button2, kFrameFocused), kFrameFocused) << "the default button";
  b.SetFocus();
  EXPECT_EQ(Face(b, kFrameHot), kFrameHot) << "focused, not the default";
  Form().Button4->SetFocus();
  EXPECT_EQ(Face(b, kFrameNormal), kFrameNormal);
  b.Perform(win::CM_MOUSEENTER);
  EXPECT_EQ(Face(b, kFrameHot), kFrameHot);
  SendMessageW(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(Face(b, kFramePressed), kFramePressed);
  EXPECT_EQ(GetFocus(), b.Handle()) << "the press focused it";
  SendMessageW(b.Handle(), WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(Face(b, kFrameHot), kFrameHot);
  b.Perform(win::CM_MOUSELEAVE);
  SendMessageW(Form().Button2->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(Face(*Form().Button2, kFramePressed), kFramePressed) << "pressed wins over default";
  SendMessageW(Form().Button2->Handle(), WM_LBUTTONUP, 0, At(5, 5));
  b.SetEnabled(false);
  EXPECT_EQ(Face(b, kFrameDisabled), kFrameDisabled);
  b.Perform(win::CM_MOUSEENTER);
  EXPECT_EQ(Face(b, kFrameDisabled), kFrameDisabled);
}

TEST_F(ButtonsTest, ABitButtonShowsTheFocusedFaceWhenFocused) {
  win::TBitBtn& b = *Form().BitBtn1;
  EXPECT_EQ(Face(b, kFrameNormal), kFrameNormal);
  b.SetFocus();
  EXPECT_EQ(Face(b, kFrameFocused), kFrameFocused);
  b.Perform(win::CM_MOUSEENTER);
  EXPECT_EQ(Face(b, kFrameHot), kFrameHot);
  SendMessageW(b.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Face(b, kFramePressed), kFramePressed);
  SendMessageW(b.Handle(), WM_KEYUP, VK_SPACE, 0);
  b.Perform(win::CM_MOUSELEAVE);
  EXPECT_EQ(Face(b, kFrameFocused), kFrameFocused);
  EXPECT_EQ(Face(*Form().BitBtn2, kFrameDisabled), kFrameDisabled);
}

TEST_F(ButtonsTest, ASpeedButtonShowsItsStateAndAFlatOneNoFaceWhenIdle) {
  win::TSpeedButton& flat = *Form().SpeedButton1;
  win::TSpeedButton& raised = *Form().SpeedButton2;
  auto face = [&](win::TSpeedButton& b, int expected) {
    int seen = 0;
    bw::test::PumpUntil([&] { return (seen = ShownFaceAt(ScreenOrigin(b), Skin())) == expected; }, 3000);
    return seen;
  };
  EXPECT_EQ(face(raised, kFrameNormal), kFrameNormal);
  EXPECT_EQ(face(flat, 0), 0) << "flat and idle: the ground shows";
  const POINT corner = ScreenOrigin(flat);
  EXPECT_EQ(bw::test::ScreenPixel(corner.x + 1, corner.y + 1),
            win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]));
  flat.Perform(win::CM_MOUSEENTER);
  EXPECT_EQ(face(flat, kFrameHot), kFrameHot);
  flat.Perform(win::CM_MOUSELEAVE);
  EXPECT_EQ(face(flat, 0), 0);
  raised.SetGroupIndex(5);  // only a grouped speed button stays down
  raised.SetAllowAllUp(true);
  raised.SetDown(true);
  EXPECT_EQ(face(raised, kFramePressed), kFramePressed) << "down";
  raised.SetDown(false);
  raised.SetGroupIndex(0);
  raised.SetEnabled(false);
  EXPECT_EQ(face(raised, kFrameDisabled), kFrameDisabled);
  raised.SetEnabled(true);
  // A press goes to the speed button itself (it clicks on release) and shows pressed.
  int clicks = 0;
  raised.OnClick = [&](core::TObject*) { ++clicks; };
  const POINT inGroup{raised.Left() + 5, raised.Top() + 5};
  SendMessageW(Form().GroupBox1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(inGroup.x, inGroup.y));
  EXPECT_EQ(face(raised, kFramePressed), kFramePressed);
  SendMessageW(Form().GroupBox1->Handle(), WM_LBUTTONUP, 0, At(inGroup.x, inGroup.y));
  bw::test::PumpMessages(50);
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(face(raised, kFramePressed), kFramePressed);
  raised.OnClick = nullptr;
}

TEST_F(ButtonsTest, ABitButtonWithAlignmentCentredIgnoresItsMargin) {
  win::TBitBtn& b = *Form().BitBtn1;
  auto firstGreenColumn = [&] {
    bw::test::WaitPainted(b.Handle());
    auto shot = WindowShot(b.Handle());
    for (int x = 0; x < shot->Width(); ++x)
      for (int y = 0; y < shot->Height(); ++y) {
        const COLORREF c = shot->Canvas().Pixel(x, y);
        if (GetGValue(c) > GetRValue(c) + 30 && GetGValue(c) > GetBValue(c) + 30) return x;
      }
    return -1;
  };
  b.SetMargin(3);
  b.SetAlignment(core::TAlignment::taLeftJustify);
  const int atMargin = firstGreenColumn();
  b.SetAlignment(core::TAlignment::taCenter);
  const int centred = firstGreenColumn();
  EXPECT_GE(atMargin, 3);
  EXPECT_LE(atMargin, 3 + 4) << "the tick starts near the glyph's left edge";
  EXPECT_GT(centred, atMargin + 6);
}

TEST_F(ButtonsTest, ClicksFireOncePerPressAndPerSpaceAndTheControlNeverSeesThePress) {
  for (win::TButton* b : {Form().Button1, static_cast<win::TButton*>(Form().BitBtn1)}) {
    int clicks = 0, downs = 0;
    b->OnClick = [&](core::TObject*) { ++clicks; };
    b->OnMouseDown = [&](core::TObject*, win::TMouseButton button, int x, int y) {
      ++downs;
      EXPECT_EQ(button, win::TMouseButton::mbLeft);
      EXPECT_EQ(x, 7);
      EXPECT_EQ(y, 6);
    };
    SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(7, 6));
    EXPECT_EQ(GetCapture(), nullptr) << "the system button did not take the press";
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(7, 6));
    bw::test::PumpMessages(50);
    EXPECT_EQ(clicks, 1) << b->Name();
    EXPECT_EQ(downs, 1);
    SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(7, 6));  // a release without a skinned press
    bw::test::PumpMessages(50);
    EXPECT_EQ(clicks, 1);
    SendMessageW(b->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(b->Handle(), WM_KEYUP, VK_SPACE, 0);
    bw::test::PumpMessages(50);
    EXPECT_EQ(clicks, 2) << b->Name();
    EXPECT_EQ(downs, 1);
    b->OnClick = nullptr;
    b->OnMouseDown = nullptr;
  }
}

bool HasPixel(win::TBitmap& shot, const std::function<bool(BYTE r, BYTE g, BYTE b)>& test) {
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      const COLORREF c = shot.Canvas().Pixel(x, y);
      if (test(GetRValue(c), GetGValue(c), GetBValue(c))) return true;
    }
  return false;
}

TEST_F(ButtonsTest, ADisabledBitButtonShowsItsOnlyGlyphFrameInGrey) {
  // glyph-ok.bmp: one frame, a green tick on olive; the darkest green is (14, 72, 26).
  Face(*Form().BitBtn2, kFrameDisabled);
  auto enabled = WindowShot(Form().BitBtn1->Handle());
  auto disabled = WindowShot(Form().BitBtn2->Handle());
  auto green = [](BYTE r, BYTE g, BYTE b) { return g > r + 30 && g > b + 30; };
  EXPECT_TRUE(HasPixel(*enabled, green));
  EXPECT_TRUE(HasPixel(*enabled, [](BYTE r, BYTE g, BYTE b) { return r == 14 && g == 72 && b == 26; }));
  EXPECT_FALSE(HasPixel(*disabled, green));
  EXPECT_TRUE(HasPixel(*disabled, [](BYTE r, BYTE g, BYTE b) { return r == 37 && g == 37 && b == 37; }));
  EXPECT_FALSE(HasPixel(*disabled, [](BYTE r, BYTE g, BYTE b) { return r == 128 && g == 128 && b == 0; }))
      << "the glyph's key colour stays out";

  // New pixels in the same glyph bitmap (8 bits a pixel, so whatever its palette makes of
  // blue) show at the next paint.
  win::TBitmap& glyph = *Form().BitBtn1->Glyph();
  const HBITMAP handle = glyph.Handle();
  win::TBrushHandle blue(CreateSolidBrush(RGB(0, 0, 255)));
  RECT inner{4, 4, 12, 12};
  FillRect(glyph.Canvas().Handle(), &inner, blue.Get());
  ASSERT_EQ(glyph.Handle(), handle);
  Form().BitBtn1->Invalidate();
  auto changed = [&] {
    auto now = WindowShot(Form().BitBtn1->Handle());
    for (int y = 0; y < now->Height(); ++y)
      for (int x = 0; x < now->Width(); ++x)
        if (now->Canvas().Pixel(x, y) != enabled->Canvas().Pixel(x, y)) return true;
    return false;
  };
  EXPECT_TRUE(bw::test::PumpUntil(changed, 2000));
}

// Rows of the button holding dark (text) pixels, inside its 4-pixel face border.
int TextRows(win::TBitmap& shot) {
  int first = -1, last = -1;
  for (int y = 4; y < shot.Height() - 4; ++y)
    for (int x = 4; x < shot.Width() - 4; ++x) {
      const COLORREF c = shot.Canvas().Pixel(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  return first < 0 ? 0 : last - first + 1;
}

TEST_F(ButtonsTest, TheFirstDoubleBarOfACaptionBreaksTheLine) {
  auto make = [&](const std::string& caption, int top) {
    auto* button = new win::TButton(&Form());
    button->SetParent(&Form());
    button->SetBounds(16, top, 140, 48);
    button->SetCaption(caption);
    return button;
  };
  win::TButton* two = make("One||Two", 190);
  win::TButton* one = make("One Two", 244);
  FFrame->InitControls(Form());
  ASSERT_NE(PainterOf(*FFrame, *two), nullptr);
  bw::test::WaitPainted(Form().Handle());
  Face(*two, kFrameNormal);
  auto twoShot = WindowShot(two->Handle());
  auto oneShot = WindowShot(one->Handle());
  const int lineHeight = TextRows(*oneShot);
  ASSERT_GT(lineHeight, 4);
  EXPECT_GT(TextRows(*twoShot), lineHeight + 6);
  // Only the first "||" breaks: a third part stays on the second line.
  two->SetCaption("One||Two||Three");
  bw::test::WaitPainted(Form().Handle());
  EXPECT_LE(TextRows(*WindowShot(two->Handle())), TextRows(*twoShot) + 1);
}

TEST_F(ButtonsTest, WithxoNoFocusRectAFocusedButtonHasNoFocusRectangle) {
  win::TButton& b = *Form().Button1;
  b.SetFocus();
  Face(b, kFrameHot);
  auto withRect = WindowShot(b.Handle());
  FApp.Data().SetOptions(TSkinOptions{TSkinOption::xoPreview, TSkinOption::xoNoFocusRect});
  b.Invalidate();
  bw::test::WaitPainted(b.Handle());
  auto without = WindowShot(b.Handle());
  int differing = 0;
  for (int y = 0; y < withRect->Height(); ++y)
    for (int x = 0; x < withRect->Width(); ++x) differing += withRect->Canvas().Pixel(x, y) != without->Canvas().Pixel(x, y);
  EXPECT_GT(differing, 10);
  Form().Button4->SetFocus();
  Face(b, kFrameNormal);
  b.Perform(win::CM_MOUSEENTER);  // the hot face, as a focused one has, without a focus
  Face(b, kFrameHot);
  auto hot = WindowShot(b.Handle());
  for (int y = 0; y < hot->Height(); ++y)
    for (int x = 0; x < hot->Width(); ++x)
      ASSERT_EQ(hot->Canvas().Pixel(x, y), without->Canvas().Pixel(x, y)) << x << "," << y;
}

TEST(ButtonLayout, MarginsAndSpacingAlongTheLayout) {
  // Automatic margin and spacing: (100 - (16 + 40)) / 3 = 14 each.
  TGlyphPlacement p = PlaceGlyph(SIZE{100, 28}, SIZE{16, 16}, SIZE{40, 13}, TGlyphLayout::Left, -1, -1, false, false);
  EXPECT_EQ(p.Glyph.x, 14);
  EXPECT_EQ(p.Text.x, 44);
  EXPECT_EQ(p.Glyph.y, 6);  // (28 - 16 + 1) / 2
  EXPECT_EQ(p.Text.y, 8);
  EXPECT_EQ(p.Format, static_cast<UINT>(DT_WORDBREAK));
  // taCenter: a given margin is ignored, the spacing kept.
  p = PlaceGlyph(SIZE{100, 28}, SIZE{16, 16}, SIZE{40, 13}, TGlyphLayout::Left, 3, 4, true, false);
  EXPECT_EQ(p.Glyph.x, 20);
  EXPECT_EQ(p.Text.x, 40);
  p = PlaceGlyph(SIZE{100, 28}, SIZE{16, 16}, SIZE{40, 13}, TGlyphLayout::Left, 3, 4, false, false);
  EXPECT_EQ(p.Glyph.x, 3);
  EXPECT_EQ(p.Text.x, 23);
  // A given margin with automatic spacing.
  p = PlaceGlyph(SIZE{100, 28}, SIZE{16, 16}, SIZE{40, 13}, TGlyphLayout::Right, 4, -1, false, false);
  EXPECT_EQ(p.Glyph.x, 80);
  EXPECT_EQ(p.Text.x, 80 - 20 - 40);
  EXPECT_EQ(p.Format, static_cast<UINT>(DT_WORDBREAK | DT_RIGHT));
  // No text: no spacing; the glyph centred by the automatic margin.
  p = PlaceGlyph(SIZE{60, 25}, SIZE{17, 17}, SIZE{0, 0}, TGlyphLayout::Left, -1, 4, false, false);
  EXPECT_EQ(p.Glyph.x, 21);
  // The speed button's extra pixel.
  p = PlaceGlyph(SIZE{60, 25}, SIZE{17, 17}, SIZE{0, 0}, TGlyphLayout::Left, -1, 4, false, true);
  EXPECT_EQ(p.Glyph.x, 22);
  p = PlaceGlyph(SIZE{40, 60}, SIZE{16, 16}, SIZE{20, 13}, TGlyphLayout::Bottom, 2, 3, false, false);
  EXPECT_EQ(p.Glyph.y, 42);
  EXPECT_EQ(p.Text.y, 26);
  EXPECT_EQ(p.Glyph.x, 12);
  EXPECT_EQ(p.Format, static_cast<UINT>(DT_WORDBREAK | DT_CENTER));
}

// Handles of GDI objects carry a slot and a count of the slot's uses; a probe made and
// freed twice tells how the count moves when nothing else is made in between.
struct TGdiProbe {
  UINT_PTR First, Second;
  static UINT_PTR Probe() {
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    const auto h = reinterpret_cast<UINT_PTR>(b);
    DeleteObject(b);
    return h;
  }
  TGdiProbe() : First(Probe()), Second(Probe()) {}
  bool CountsUses() const { return First != Second && (First & 0xFFFF) == (Second & 0xFFFF); }
  // True when no GDI object was made since the probes.
  bool NothingMadeSince() const { return Probe() - Second == Second - First; }
};

TEST_F(ButtonsTest, HoverRepaintsKeepTheGdiObjectsAsTheyWere) {
  win::TButton& b = *Form().Button1;
  for (int i = 0; i < 50; ++i) {  // every state composed once
    b.Perform(win::CM_MOUSEENTER);
    b.Perform(win::CM_MOUSELEAVE);
  }
  const unsigned slot = bw::test::NextGdiSlot();
  const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 5000; ++i) {  // 10,000 repaints through WM_PAINT
    b.Perform(win::CM_MOUSEENTER);
    b.Perform(win::CM_MOUSELEAVE);
  }
  EXPECT_EQ(bw::test::NextGdiSlot(), slot) << "objects were left behind";
  if (objects != 0) {
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
  }
}

TEST_F(ButtonsTest, APainterMakesNoGdiObjectToRepaintAStateItDrewBefore) {
  win::TBitmap target(120, 40, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  for (win::TWinControl* control : {static_cast<win::TWinControl*>(Form().Button1),
                                    static_cast<win::TWinControl*>(Form().BitBtn1)}) {
    auto* painter = static_cast<TSkinButton*>(PainterOf(*FFrame, *control));
    ASSERT_NE(painter, nullptr);
    const RECT r{0, 0, control->Width(), control->Height()};
    auto both = [&] {
      painter->FState.Include(TSkinControlState::scMouseIn);
      painter->DrawControl(dc, r);
      painter->FState.Exclude(TSkinControlState::scMouseIn);
      painter->DrawControl(dc, r);
    };
    both();
    TGdiProbe probe;
    if (!probe.CountsUses()) GTEST_SKIP() << "GDI handles here do not count their uses";
    for (int i = 0; i < 5000; ++i) both();
    EXPECT_TRUE(probe.NothingMadeSince()) << control->Name();
  }
}

}  // namespace
}  // namespace bw::skin::test
