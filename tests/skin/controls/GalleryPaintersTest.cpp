// The painters on the gallery's real controls (made from its description, skinned by the
// engine as the program skins them): which painter each control gets and what the gates
// leave alone, faces by state read from the screen, status-bar panels, the tool bar's
// custom drawing, and GDI objects over many hover repaints.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "app/Gallery.h"
#include "framework/win/StatusBar.h"
#include "framework/win/ToolBar.h"
#include "skin/controls/Buttons.h"
#include "skin/controls/Panels.h"
#include "skin/controls/Progress.h"
#include "tests/skin/controls/GalleryPainters.h"
#include "tests/skin/controls/PaintersTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

using T = TSkinControlType;

template <class P>
bool Is(const TSkinControl* painter) {
  return painter && &painter->ClassType() == &P::kClass;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A tool bar of another library that shows a menu's items (the framework's has no menu).
class TMenuToolBar : public win::TToolBar {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  using win::TToolBar::TToolBar;
  win::TMenu* Menu() const { return FMenu; }
  void SetMenu(win::TMenu* menu) { FMenu = menu; }

 private:
  static const core::TPropInfo kProps[];
  win::TMenu* FMenu = nullptr;
};
const core::TPropInfo TMenuToolBar::kProps[] = {
    core::ObjProp<&TMenuToolBar::Menu, &TMenuToolBar::SetMenu>("Menu"),
};
const core::TClassInfo TMenuToolBar::kClass{"TMenuToolBar", &win::TToolBar::kClass, kProps, {}};

class GalleryPaintersTest : public ::testing::Test {
 protected:
  void SetUp() override { FGallery = &FApp.Form(); }
  TLacquerForm* Show() { return FApp.Show(); }
  template <class C = win::TControl>
  C& Get(const char* name) {
    auto* c = dynamic_cast<C*>(FGallery->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return *c;
  }
  TSkinData& Data() { return FApp.Data(); }

  TGalleryApp FApp;
  app::TGalleryForm* FGallery = nullptr;
};

TEST_F(GalleryPaintersTest, EveryButtonBarPanelAndBoxGetsThePainterOfItsKind) {
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  struct TExpect {
    const char* Name;
    const core::TClassInfo* Painter;
  };
  const TExpect expected[] = {
      {"Button1", &TSkinButton::kClass},          {"Button2", &TSkinButton::kClass},
      {"BitBtn1", &TSkinBitButton::kClass},       {"BitBtn3", &TSkinBitButton::kClass},
      {"SpeedButton1", &TSkinSpeedButton::kClass}, {"SpeedButton4", &TSkinSpeedButton::kClass},
      {"ProgressBar1", &TSkinProgress::kClass},   {"ProgressBar3", &TSkinProgress::kClass},
      {"TrackBar1", &TSkinTrackBar::kClass},      {"TrackBar2", &TSkinTrackBar::kClass},
      {"GroupBox1", &TSkinGroupBox::kClass},      {"RadioGroup1", &TSkinGroupBox::kClass},
      {"Panel1", &TSkinBox::kClass},              {"StatusBar1", &TSkinStatusBar::kClass},
      {"ToolBar1", &TSkinBox::kClass},            {"DialogButton", &TSkinButton::kClass},
  };
  for (const TExpect& e : expected) {
    TSkinControl* painter = PainterOf(*frame, Get(e.Name));
    EXPECT_TRUE(painter && &painter->ClassType() == e.Painter) << e.Name;
  }
  // The embedded frame's own controls are found through it.
  auto& embedded = Get<win::TWinControl>("Frame1");
  int inside = 0;
  for (int i = 0; i < embedded.ControlCount(); ++i) inside += PainterOf(*frame, *embedded.Controls(i)) != nullptr;
  EXPECT_GT(inside, 0);
  // The tool bar draws through the frame.
  EXPECT_TRUE(FGallery->ToolBar1->Flat());
  EXPECT_TRUE(static_cast<bool>(FGallery->ToolBar1->OnCustomDraw));
  EXPECT_TRUE(static_cast<bool>(FGallery->ToolBar1->OnCustomDrawButton));
  // Released, the bar draws itself again.
  frame->DeleteControls();
  EXPECT_FALSE(static_cast<bool>(FGallery->ToolBar1->OnCustomDraw));
  EXPECT_FALSE(static_cast<bool>(FGallery->ToolBar1->OnCustomDrawButton));
}

TEST_F(GalleryPaintersTest, TheItemsOfABarsMenuAreDrawnByTheFrameWhileTheBarIsSkinned) {
  // Menus the form does not own, so only the bar's discovery can reach them.
  auto* bar = new TMenuToolBar(FGallery);
  bar->SetParent(FGallery);
  auto menuOf = [&](const char* caption) {
    auto* menu = new win::TPopupMenu(bar);
    auto* parent = new win::TMenuItem(menu);
    parent->SetCaption(caption);
    menu->Items()->Add(parent);
    auto* child = new win::TMenuItem(menu);
    child->SetCaption("Open");
    parent->Add(child);
    return menu;
  };
  win::TPopupMenu* barMenu = menuOf("File");
  bar->SetMenu(barMenu);
  auto* button = new win::TToolButton(FGallery);
  button->SetParent(bar);
  button->SetStyle(core::TToolButtonStyle::tbsDropDown);
  win::TPopupMenu* dropDown = menuOf("Recent");
  button->SetDropdownMenu(dropDown);
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Is<TSkinBox>(PainterOf(*frame, *bar)));
  for (win::TPopupMenu* menu : {barMenu, dropDown}) {
    win::TMenuItem& parent = *menu->Items()->Items(0);
    EXPECT_TRUE(static_cast<bool>(parent.OnDrawItem)) << parent.Caption();
    EXPECT_TRUE(static_cast<bool>(parent.Items(0)->OnDrawItem)) << "and the items below";
    EXPECT_TRUE(static_cast<bool>(parent.Items(0)->OnMeasureItem));
  }
  frame->DeleteControls();
  EXPECT_FALSE(static_cast<bool>(barMenu->Items()->Items(0)->OnDrawItem));
  EXPECT_FALSE(static_cast<bool>(barMenu->Items()->Items(0)->Items(0)->OnDrawItem));
}

TEST_F(GalleryPaintersTest, GatesDisableTagAndSkin3rdLeaveControlsToTheSystem) {
  TSkinControlTypes controls = Data().SkinControls();
  controls.Exclude(T::xcBitBtn).Exclude(T::xcStatusBar).Exclude(T::xcToolbar);
  Data().SetSkinControls(controls);
  Get("Button1").SetTag(Data().DisableTag());
  Data().Skin3rd()->Insert(0, "TProgressBar=nil");
  bool ownDrawing = false;
  FGallery->ToolBar1->OnCustomDraw = [&](win::TToolBar*, const RECT&, bool&) { ownDrawing = true; };
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(PainterOf(*frame, Get("Button1")), nullptr) << "Tag = DisableTag";
  EXPECT_EQ(PainterOf(*frame, Get("BitBtn1")), nullptr) << "xcBitBtn off, xcButton on";
  EXPECT_TRUE(Is<TSkinButton>(PainterOf(*frame, Get("Button2"))));
  EXPECT_EQ(PainterOf(*frame, Get("ProgressBar1")), nullptr) << "Skin3rd nil";
  EXPECT_EQ(PainterOf(*frame, *FGallery->StatusBar1), nullptr);
  EXPECT_EQ(PainterOf(*frame, *FGallery->ToolBar1), nullptr);
  EXPECT_TRUE(ownDrawing) << "the bar's own handler stays";
  EXPECT_TRUE(Is<TSkinGroupBox>(PainterOf(*frame, Get("GroupBox1"))));
}

TEST_F(GalleryPaintersTest, ABarWithItsOwnHandlersKeepsThem) {
  int own = 0;
  FGallery->ToolBar1->OnCustomDrawButton = [&](win::TToolBar*, win::TToolButton*, core::TCustomDrawState, bool&) {
    ++own;
  };
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Is<TSkinBox>(PainterOf(*frame, *FGallery->ToolBar1)));
  EXPECT_FALSE(static_cast<bool>(FGallery->ToolBar1->OnCustomDraw));
  RedrawWindow(FGallery->ToolBar1->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_GT(own, 0);
  frame->DeleteControls();
  EXPECT_TRUE(static_cast<bool>(FGallery->ToolBar1->OnCustomDrawButton)) << "not ours to clear";
}

TEST_F(GalleryPaintersTest, ButtonFacesFollowTheirStateOnTheGallery) {
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  TDataSkinButton& skin = *Data().Buttons;
  auto& push = Get<win::TButton>("Button1");
  auto& bit = Get<win::TButton>("BitBtn1");
  EXPECT_EQ(WaitForFace(Get<win::TWinControl>("Button2").Handle(), skin, kFrameDisabled), kFrameDisabled);
  EXPECT_EQ(WaitForFace(Get<win::TWinControl>("BitBtn2").Handle(), skin, kFrameDisabled), kFrameDisabled);
  EXPECT_EQ(WaitForFace(push.Handle(), skin, kFrameNormal), kFrameNormal);
  push.Perform(win::CM_MOUSEENTER);
  EXPECT_EQ(WaitForFace(push.Handle(), skin, kFrameHot), kFrameHot);
  // Entering another button leaves the first.
  bit.Perform(win::CM_MOUSEENTER);
  EXPECT_EQ(WaitForFace(push.Handle(), skin, kFrameNormal), kFrameNormal);
  EXPECT_EQ(WaitForFace(bit.Handle(), skin, kFrameHot), kFrameHot);
  bit.Perform(win::CM_MOUSELEAVE);
  SendMessageW(push.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(WaitForFace(push.Handle(), skin, kFramePressed), kFramePressed);
  int clicks = 0;
  push.OnClick = [&](core::TObject*) { ++clicks; };
  SendMessageW(push.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  bw::test::PumpMessages(50);
  EXPECT_EQ(clicks, 1);
  // Focused after the press: a push button shows the hot face, a bit button the focused one.
  EXPECT_EQ(WaitForFace(push.Handle(), skin, kFrameHot), kFrameHot);
  bit.SetFocus();
  EXPECT_EQ(WaitForFace(bit.Handle(), skin, kFrameFocused), kFrameFocused);
  SendMessageW(bit.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(WaitForFace(bit.Handle(), skin, kFramePressed), kFramePressed);
  SendMessageW(bit.Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(WaitForFace(bit.Handle(), skin, kFrameFocused), kFrameFocused);
  push.OnClick = nullptr;
  // A speed button held down shows the pressed face; a flat one at rest no face at all.
  EXPECT_EQ(ShownFaceAt(ScreenOrigin(Get("SpeedButton1")), skin), kFramePressed);
  EXPECT_EQ(ShownFaceAt(ScreenOrigin(Get("SpeedButton2")), skin), kFrameNormal);
  EXPECT_EQ(ShownFaceAt(ScreenOrigin(Get("SpeedButton4")), skin), 0);
  EXPECT_EQ(ShownFaceAt(ScreenOrigin(Get("SpeedButton5")), skin), kFrameDisabled);
}

class StatusBarTest : public GalleryPaintersTest {
 protected:
  void SetUp() override {
    GalleryPaintersTest::SetUp();
    FFrame = Show();
    ASSERT_NE(FFrame, nullptr);
    FBar = FGallery->StatusBar1;
    FEdges = Data().StatusBarEdges.get();
    ASSERT_TRUE(FEdges && FEdges->Bitmap.Width() > 0);
  }
  // A pixel of an edge frame (1 lowered, 2 raised, 3 flat) of the skin, 12 x 12 frames.
  COLORREF Edge(int frame, int x, int y) {
    const int fw = FEdges->Bitmap.Width() / 3;
    return FEdges->Bitmap.Canvas().Pixel((frame - 1) * fw + x, y);
  }
  COLORREF At(int x, int y) { return WindowPixel(FBar->Handle(), x, y); }
  void Repaint() {
    RedrawWindow(FBar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    bw::test::PumpMessages(50);
  }
  // The first and last columns of dark text in a rectangle of the bar (-1 when none).
  std::pair<int, int> Ink(RECT r) {
    auto shot = WindowShot(FBar->Handle());
    int first = -1, last = -1;
    for (int x = r.left + 3; x < r.right - 3; ++x)
      for (int y = r.top + 3; y < r.bottom - 3; ++y) {
        const COLORREF c = shot->Canvas().Pixel(x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) {
          if (first < 0) first = x;
          last = x;
          break;
        }
      }
    return {first, last};
  }
  TLacquerForm* FFrame = nullptr;
  win::TStatusBar* FBar = nullptr;
  TDataSkinObject* FEdges = nullptr;
};

TEST_F(StatusBarTest, PanelsWearTheirBevelsEdgeAndTheLastReachesTheRightEdge) {
  ASSERT_TRUE(Is<TSkinStatusBar>(PainterOf(*FFrame, *FBar)));
  ASSERT_NE(Edge(1, 0, 0), Edge(2, 0, 0)) << "the skin tells lowered from raised at the corner";
  RECT r0{}, r3{};
  ASSERT_TRUE(FBar->PanelRect(0, r0));
  ASSERT_TRUE(FBar->PanelRect(3, r3));
  EXPECT_EQ(WaitForWindowPixel(FBar->Handle(), r0.left, r0.top, Edge(1, 0, 0)), Edge(1, 0, 0)) << "lowered";
  EXPECT_EQ(At(r3.left, r3.top), Edge(2, 0, 0)) << "raised";
  const int w = FBar->ClientWidth();
  RECT r4{};
  ASSERT_TRUE(FBar->PanelRect(4, r4));
  EXPECT_EQ(At(w - 1, r4.top), Edge(1, 11, 0)) << "the last panel's top-right corner at the bar's edge";
  // The text panels' captions are there, left and centred.
  const auto [left0, right0] = Ink(r0);
  EXPECT_GE(left0, r0.left + 2);
  EXPECT_LT(left0, r0.left + 12);
  RECT r1{};
  ASSERT_TRUE(FBar->PanelRect(1, r1));
  const auto [left1, right1] = Ink(r1);
  EXPECT_NEAR((left1 + right1) / 2, (r1.left + r1.right) / 2, 4) << "taCenter";
  // Right to left, a left-justified panel is drawn right-justified.
  FBar->Panels()->Items(0).SetBiDiMode(core::TBiDiMode::bdRightToLeft);
  Repaint();
  const auto [leftRtl, rightRtl] = Ink(r0);
  EXPECT_GT(leftRtl, (r0.left + r0.right) / 2);
  EXPECT_GE(rightRtl, r0.right - 10);
}

TEST_F(StatusBarTest, OnlyOwnerDrawnPanelsGoToTheHandlerAndTheGaugeShows) {
  RECT r2{};
  ASSERT_TRUE(FBar->PanelRect(2, r2));
  // The gallery's gauge: oxblood from 3 px inside the rectangle it was given.
  EXPECT_EQ(WaitForWindowPixel(FBar->Handle(), r2.left + 2 + 4, (r2.top + r2.bottom) / 2, RGB(140, 42, 34)),
            RGB(140, 42, 34));
  std::vector<std::pair<int, RECT>> calls;
  FBar->OnDrawPanel = [&](win::TCustomStatusBar*, win::TStatusPanel* panel, const RECT& rect) {
    calls.emplace_back(panel->Index(), rect);
  };
  Repaint();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].first, 2);
  EXPECT_EQ(calls[0].second.left, r2.left + 2);
  EXPECT_EQ(calls[0].second.bottom, r2.bottom - 2);
}

TEST_F(StatusBarTest, ASimplePanelWithoutTextIsStillFramedAndTheGripIsTheSkins) {
  TDataSkinObject* extra = Data().ExtraImages.get();
  ASSERT_TRUE(extra && extra->Bitmap.Width() > 0);
  const int frames = std::max(extra->Frame, 1);
  const int fw = extra->Bitmap.Width() / frames, fh = extra->Bitmap.Height();
  // A grip pixel: the first of frame 5 that is not the key.
  POINT grip{-1, -1};
  for (int y = 0; y < fh && grip.x < 0; ++y)
    for (int x = 0; x < fw; ++x)
      if (extra->Bitmap.Canvas().Pixel(4 * fw + x, y) != RGB(255, 0, 255)) {
        grip = {x, y};
        break;
      }
  ASSERT_GE(grip.x, 0);
  const int w = FBar->ClientWidth(), h = FBar->ClientHeight();
  const COLORREF gripPixel = extra->Bitmap.Canvas().Pixel(4 * fw + grip.x, grip.y);
  EXPECT_EQ(WaitForWindowPixel(FBar->Handle(), w - 1 - fw + grip.x, h - 1 - fh + grip.y, gripPixel), gripPixel);
  FBar->SetSimpleText("");
  FBar->SetSimplePanel(true);
  Repaint();
  EXPECT_EQ(At(0, 0), Edge(1, 0, 0));
  EXPECT_EQ(At(w - 1, 0), Edge(1, 11, 0));
  EXPECT_EQ(At(0, h / 2), Edge(1, 0, 6));
}

TEST_F(GalleryPaintersTest, TheToolBarShowsTheSkinBehindItsButtonsAndFacesUnderHotAndPressedOnes) {
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  win::TToolBar& bar = *FGallery->ToolBar1;
  TDataSkinObject& image = *Data().Toolbar;
  const int w = bar.ClientWidth(), h = bar.ClientHeight();
  for (int y : {3, h / 2, h - 4}) {
    const COLORREF want = image.Bitmap.Canvas().Pixel(0, y * image.Bitmap.Height() / h);
    const COLORREF seen = WindowPixel(bar.Handle(), w - 4, y);
    EXPECT_TRUE(Near(seen, want, 6)) << "row " << y << ": " << std::hex << seen << " for " << want;
  }
  TDataSkinButton& skin = *Data().Buttons;
  win::TToolButton& first = *bar.Buttons(0);
  auto faceOf = [&](win::TToolButton& b) {
    return ShownFaceAt(bar.ClientToScreen(POINT{b.Left() + 1, b.Top() + 1}), skin);
  };
  EXPECT_EQ(faceOf(first), 0) << "at rest the system's flat button";
  SendMessageW(bar.Handle(), TB_SETHOTITEM, 0, 0);
  int seen = 0;
  bw::test::PumpUntil([&] { return (seen = faceOf(first)) == kFrameHot; }, 3000);
  EXPECT_EQ(seen, kFrameHot);
  SendMessageW(bar.Handle(), TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
  SendMessageW(bar.Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(first.CommandId()), TRUE);
  bw::test::PumpUntil([&] { return (seen = faceOf(first)) == kFramePressed; }, 3000);
  EXPECT_EQ(seen, kFramePressed);
  SendMessageW(bar.Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(first.CommandId()), FALSE);
  // With xoToolbarBK the background is left to the bar.
  Data().SetOptions(TSkinOptions(Data().Options()).Include(TSkinOption::xoToolbarBK));
  RedrawWindow(bar.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  bw::test::PumpMessages(50);
  const COLORREF top = WindowPixel(bar.Handle(), w - 4, 3), bottom = WindowPixel(bar.Handle(), w - 4, h - 4);
  EXPECT_FALSE(Near(top, image.Bitmap.Canvas().Pixel(0, 3 * image.Bitmap.Height() / h), 2) &&
               Near(bottom, image.Bitmap.Canvas().Pixel(0, (h - 4) * image.Bitmap.Height() / h), 2));
}

TEST_F(GalleryPaintersTest, TenThousandHoverRepaintsMakeNoLastingGdiObjects) {
  TLacquerForm* frame = Show();
  ASSERT_NE(frame, nullptr);
  std::vector<win::TControl*> hot = {&Get("Button1"), &Get("BitBtn1"), &Get("BitBtn3"), &Get("SpeedButton2"),
                                     &Get("DialogButton")};
  HWND bar = FGallery->ToolBar1->Handle();
  auto round = [&] {
    for (win::TControl* c : hot) {
      c->Perform(win::CM_MOUSEENTER);
      c->Perform(win::CM_MOUSELEAVE);
    }
    SendMessageW(bar, TB_SETHOTITEM, 1, 0);
    UpdateWindow(bar);
    SendMessageW(bar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    UpdateWindow(bar);
  };
  for (int i = 0; i < 20; ++i) round();  // every state composed once
  const unsigned slot = bw::test::NextGdiSlot();
  const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 10000 / 12; ++i) round();  // 12 repaints a round
  EXPECT_EQ(bw::test::NextGdiSlot(), slot) << "objects were left behind";
  if (objects != 0) {
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
  }
}

}  // namespace
}  // namespace bw::skin::test
