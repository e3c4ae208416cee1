// Scroll bars of the gallery's controls under cover windows: presses on a cover scroll the
// control underneath, the covers sit exactly over the system's bars and follow them, the
// skin's thickness and arrow rules, the disabled look, no GDI growth, nothing left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/win/EditCtrls.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/RangeCtrls.h"
#include "framework/win/ScrollBox.h"
#include "framework/win/StdCtrls.h"
#include "skin/controls/Combos.h"
#include "skin/controls/Scrollbars.h"
#include "skin/controls/SkinImages.h"
#include "tests/skin/controls/GalleryPainters.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

int GetIntProperty(const core::TObject& object, const char* name) { return TSkinControl::GetIntProperty(&object, name); }

constexpr int kMemoPage = 1, kTreePage = 2;

TSkinControl* PainterOf(const TLacquerForm& frame, const core::TObject& control) {
  for (TSkinControl* p : frame.FControls)
    if (p->FControl == &control) return p;
  return nullptr;
}

TSkinControl* PainterOfWindow(const TLacquerForm& frame, HWND window) {
  for (TSkinControl* p : frame.FControls)
    if (p->FHandle == window) return p;
  return nullptr;
}

std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

SCROLLBARINFO BarInfo(HWND window, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, object, &info);
  return info;
}

class ScrollbarsTest : public ::testing::Test {
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
  P* Painter(const win::TWinControl& control) {
    return dynamic_cast<P*>(PainterOf(*FFrame, control));
  }
  TWScrollbar& VertCover(const win::TWinControl& control) {
    auto* painter = Painter<TSkinScrollbar>(control);
    EXPECT_NE(painter, nullptr) << control.Name();
    return *painter->FVertBar;
  }
  TWScrollbar& HorzCover(const win::TWinControl& control) {
    auto* painter = Painter<TSkinScrollbar>(control);
    EXPECT_NE(painter, nullptr) << control.Name();
    return *painter->FHorzBar;
  }
  TWScrollbar& ControlCover(const win::TWinControl& control) {
    auto* painter = Painter<TSkinScControl>(control);
    EXPECT_NE(painter, nullptr) << control.Name();
    return *painter->FBar;
  }
  // A press at a point of the cover (its client coordinates) and the release the system's
  // tracking of it waits for, at `release` in the target's client coordinates.
  void Click(TWScrollbar& cover, POINT at, POINT release) {
    HWND target = cover.FTargetHandle;
    PostMessageW(cover.WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    Settle(cover);
  }
  // Until the posted input is handled and the press handed on has ended.
  static void Settle(TWScrollbar& cover) {
    bw::test::PumpUntil([&] {
      return !(HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) && !cover.FPressed && GetCapture() == nullptr;
    }, 2000);
  }
  // The same release point as the press, in the target's client coordinates.
  void ClickHere(TWScrollbar& cover, POINT at) {
    POINT p = at;
    MapWindowPoints(cover.WindowHandle(), cover.FTargetHandle, &p, 1);
    Click(cover, at, p);
  }
};

TEST_F(ScrollbarsTest, EveryScrollingControlOfTheGalleryHasItsBarsCovered) {
  for (const char* name : {"Memo1", "ScrollBox1", "RichEdit1", "TreeView1", "StringGrid1", "ListBox1"})
    EXPECT_NE(Painter<TSkinScrollbar>(Named(name)), nullptr) << name;
  for (const char* name : {"ScrollBar1", "ScrollBar2", "ScrollBar3"})
    EXPECT_NE(Painter<TSkinScControl>(Named(name)), nullptr) << name;
  // The covers are the painters' alone: not the form's components, not its controls'.
  win::TWinControl& memo = Named("Memo1");
  HWND cover = VertCover(memo).WindowHandle();
  ASSERT_NE(cover, nullptr);
  for (std::int32_t i = 0; i < FApp.Form().ComponentCount(); ++i)
    EXPECT_NE(FApp.Form().Components(i), static_cast<core::TComponent*>(&VertCover(memo)));
  for (int i = 0; i < memo.Parent()->ControlCount(); ++i)
    EXPECT_NE(memo.Parent()->Controls(i), static_cast<win::TControl*>(&VertCover(memo)));
  EXPECT_EQ(PainterOfWindow(*FFrame, cover), nullptr);
  FFrame->InitControls(FApp.Form());
  EXPECT_EQ(PainterOfWindow(*FFrame, cover), nullptr) << "a second discovery leaves the covers alone";
}

TEST_F(ScrollbarsTest, TheGridsFixedCellsTakeTheSkinFace) {
  EXPECT_EQ(TSkinControl::GetIntProperty(&Named("StringGrid1"), "FixedColor"),
            static_cast<std::int32_t>(FApp.Data().Colors[TShemeColor::csButtonFace]));
}

TEST_F(ScrollbarsTest, Skin3rdScrollKindsCoverAControlOrTheChildrenOfOne) {
  auto* host = new win::TPanel(&FApp.Form());
  host->SetParent(&FApp.Form());
  host->SetBounds(600, 480, 200, 150);
  auto* bar = new win::TScrollBar(&FApp.Form());
  bar->SetParent(host);
  bar->SetBounds(4, 4, 150, 17);
  auto* memo = new win::TMemo(&FApp.Form());
  memo->SetParent(host);
  memo->SetBounds(4, 30, 150, 80);
  auto* box = new win::TScrollBox(&FApp.Form());
  box->SetParent(&FApp.Form());
  box->SetBounds(820, 480, 100, 100);
  auto* inner = new win::TScrollBar(&FApp.Form());
  inner->SetParent(box);
  inner->SetBounds(2, 2, 80, 17);
  FApp.Data().Skin3rd()->Insert(0, "TPanel=embedscrollbar");
  FApp.Data().Skin3rd()->Insert(0, "TScrollBox=scrollbar");
  FFrame->AddComp(*host, FApp.Form());
  EXPECT_NE(Painter<TSkinScControl>(*bar), nullptr) << "a scroll-bar child is covered whole";
  EXPECT_NE(Painter<TSkinScrollbar>(*memo), nullptr) << "a scrolling child gets its bars covered";
  EXPECT_EQ(PainterOf(*FFrame, *host), nullptr) << "the host itself is left as it is";
  FFrame->AddComp(*box, FApp.Form());
  EXPECT_NE(Painter<TSkinScrollbar>(*box), nullptr);
  EXPECT_NE(Painter<TSkinScControl>(*inner), nullptr) << "its own controls are discovered";
}

TEST_F(ScrollbarsTest, ACoverLiesExactlyOverTheSystemBarDirectlyAboveItsControl) {
  FApp.ShowPage(kMemoPage);
  win::TWinControl& memo = Named("Memo1");
  for (TWScrollbar* cover : {&VertCover(memo), &HorzCover(memo)}) {
    ASSERT_TRUE(cover->FShown);
    const SCROLLBARINFO info = BarInfo(memo.Handle(), cover->FKind == kScrollVert ? OBJID_VSCROLL : OBJID_HSCROLL);
    EXPECT_EQ(Str(info.rcScrollBar), Str(ScreenRect(cover->WindowHandle())));
    EXPECT_TRUE(IsWindowVisible(cover->WindowHandle()));
    EXPECT_EQ(GetParent(cover->WindowHandle()), GetParent(memo.Handle()));
  }
  // Both covers are above the memo, with nothing else between.
  for (HWND w = GetWindow(memo.Handle(), GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == VertCover(memo).WindowHandle() || w == HorzCover(memo).WindowHandle()) continue;
    EXPECT_TRUE(w != VertCover(memo).WindowHandle()) << "another window lies between";
    break;
  }
  EXPECT_EQ(GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & WS_CLIPSIBLINGS, WS_CLIPSIBLINGS);
  win::TWinControl& bar = Named("ScrollBar1");
  EXPECT_EQ(Str(ScreenRect(bar.Handle())), Str(ScreenRect(ControlCover(bar).WindowHandle())));
}

TEST_F(ScrollbarsTest, PressesOnACoverScrollTheMemoUnderneath) {
  FApp.ShowPage(kMemoPage);
  win::TWinControl& memo = Named("Memo1");
  HWND h = memo.Handle();
  TWScrollbar& cover = VertCover(memo);
  RECT r;
  GetClientRect(cover.WindowHandle(), &r);
  auto first = [&] { return static_cast<int>(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0)); };
  ASSERT_EQ(first(), 0);
  ClickHere(cover, POINT{r.right / 2, r.bottom - FButtonPx / 2});  // the down arrow
  EXPECT_EQ(first(), 1) << "one line down";
  ClickHere(cover, POINT{r.right / 2, FButtonPx / 2});  // the up arrow
  EXPECT_EQ(first(), 0) << "one line up";
  const int pageFrom = first();
  ClickHere(cover, POINT{r.right / 2, r.bottom - FButtonPx - 3});  // the track below the thumb
  EXPECT_GT(first(), pageFrom + 1) << "a page down";
  EXPECT_EQ(GetScrollPos(h, SB_VERT), first());
  // The thumb dragged to the end of the track: the last lines show.
  SCROLLBARINFO info = BarInfo(h, OBJID_VSCROLL);
  const POINT grab{r.right / 2, (info.xyThumbTop + info.xyThumbBottom) / 2};
  POINT end{r.right / 2, r.bottom - FButtonPx - 1};
  MapWindowPoints(cover.WindowHandle(), h, &end, 1);
  PostMessageW(cover.WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  PostMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
  Settle(cover);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(h, SB_VERT, &si);
  EXPECT_EQ(si.nPos, si.nMax - static_cast<int>(si.nPage) + 1) << "scrolled to the end";
  // The cover's thumb followed the system's.
  bw::test::PumpUntil([&] { return cover.Painted().ThumbBottom == BarInfo(h, OBJID_VSCROLL).xyThumbBottom; });
  info = BarInfo(h, OBJID_VSCROLL);
  EXPECT_EQ(cover.Painted().ThumbTop, info.xyThumbTop);
  EXPECT_EQ(cover.Painted().ThumbFrame, 1);
  // Keys scroll the memo without a scroll request: the cover follows all the same.
  memo.SetFocus();
  SendMessageW(h, WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(h, WM_KEYDOWN, VK_PRIOR, 0);
  SendMessageW(h, EM_SETSEL, 0, 0);
  SendMessageW(h, EM_SCROLLCARET, 0, 0);
  bw::test::PumpUntil([&] { return cover.Painted().ThumbTop == BarInfo(h, OBJID_VSCROLL).xyThumbTop; });
  EXPECT_EQ(first(), 0);
  EXPECT_EQ(cover.Painted().ThumbTop, BarInfo(h, OBJID_VSCROLL).xyThumbTop);
}

TEST_F(ScrollbarsTest, PressesOnAScrollBarControlMoveItsPosition) {
  auto& bar = FApp.Control<win::TScrollBar>("ScrollBar1");
  TWScrollbar& cover = ControlCover(bar);
  RECT r;
  GetClientRect(cover.WindowHandle(), &r);
  const int start = bar.Position();
  ClickHere(cover, POINT{r.right - FButtonPx / 2, r.bottom / 2});  // the right arrow
  EXPECT_EQ(bar.Position(), start + 1);
  ClickHere(cover, POINT{FButtonPx / 2, r.bottom / 2});  // the left arrow
  EXPECT_EQ(bar.Position(), start);
  ClickHere(cover, POINT{r.right - FButtonPx - 2, r.bottom / 2});  // the track right of the thumb
  EXPECT_EQ(bar.Position(), start + GetIntProperty(bar, "LargeChange"));
  // The cover shows the thumb where the system has it, so a press on it drags it.
  const SCROLLBARINFO info = BarInfo(bar.Handle(), OBJID_CLIENT);
  bw::test::PumpUntil([&] { return cover.Painted().ThumbTop == info.xyThumbTop; });
  EXPECT_EQ(cover.Painted().ThumbTop, info.xyThumbTop);
  EXPECT_EQ(cover.Painted().ThumbBottom, info.xyThumbBottom);
  EXPECT_EQ(cover.GetScrollPos(POINT{(info.xyThumbTop + info.xyThumbBottom) / 2, r.bottom / 2}), kPartThumb);
  const POINT grab{(info.xyThumbTop + info.xyThumbBottom) / 2, r.bottom / 2};
  PostMessageW(cover.WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  PostMessageW(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(FButtonPx + 1, grab.y));
  PostMessageW(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(FButtonPx + 1, grab.y));
  Settle(cover);
  EXPECT_EQ(bar.Position(), 0) << "the thumb dragged to the start";
}

// What a cover showed while the system's tracking loop ran: read when the loop takes the
// release, before it handles it.
TWScrollbar* gWatched = nullptr;
TWScrollbar::TPainted gSeen;
HHOOK gFilter = nullptr;
LRESULT CALLBACK SeeBeforeRelease(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_SCROLLBAR && gWatched && reinterpret_cast<const MSG*>(lParam)->message == WM_LBUTTONUP)
    gSeen = gWatched->Painted();
  return CallNextHookEx(gFilter, code, wParam, lParam);
}

TEST_F(ScrollbarsTest, ADraggedThumbIsDrawnUnderTheCursorClampedAndPressed) {
  FApp.ShowPage(kMemoPage);
  win::TWinControl& memo = Named("Memo1");
  HWND h = memo.Handle();
  TWScrollbar& cover = VertCover(memo);
  RECT r;
  GetClientRect(cover.WindowHandle(), &r);
  const SCROLLBARINFO info = BarInfo(h, OBJID_VSCROLL);
  const int thumbPx = info.xyThumbBottom - info.xyThumbTop;
  POINT grab{r.right / 2, info.xyThumbTop + thumbPx / 2};
  POINT screen = grab;
  ClientToScreen(cover.WindowHandle(), &screen);
  ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
  // Far below the bar: the thumb stops at the down arrow.
  POINT below{screen.x, screen.y + 1000};
  gWatched = &cover;
  gFilter = SetWindowsHookExW(WH_MSGFILTER, &SeeBeforeRelease, nullptr, GetCurrentThreadId());
  PostMessageW(cover.WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  POINT end = below;
  ScreenToClient(h, &end);
  PostMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
  // The drawn thumb follows the cursor.
  SetCursorPos(below.x, below.y);
  Settle(cover);
  UnhookWindowsHookEx(gFilter);
  gWatched = nullptr;
  EXPECT_EQ(gSeen.ThumbFrame, 2) << "pressed";
  EXPECT_EQ(gSeen.ThumbBottom, cover.FLength - FButtonPx) << "clamped at the down arrow";
  EXPECT_EQ(gSeen.ThumbBottom - gSeen.ThumbTop, thumbPx);
  bw::test::PumpUntil([&] { return cover.Painted().ThumbFrame == 1; });
  EXPECT_EQ(cover.Painted().ThumbFrame, 1) << "released";
}

TEST_F(ScrollbarsTest, CoversFollowAResizeAHiddenBarAndAHiddenControl) {
  FApp.ShowPage(kMemoPage);
  win::TWinControl& memo = Named("Memo1");
  HWND h = memo.Handle();
  TWScrollbar& vert = VertCover(memo);
  TWScrollbar& horz = HorzCover(memo);
  memo.SetBounds(memo.Left() + 10, memo.Top() + 5, memo.Width() - 40, memo.Height() - 30);
  bw::test::PumpMessages(20);
  EXPECT_EQ(Str(BarInfo(h, OBJID_VSCROLL).rcScrollBar), Str(ScreenRect(vert.WindowHandle())));
  EXPECT_EQ(Str(BarInfo(h, OBJID_HSCROLL).rcScrollBar), Str(ScreenRect(horz.WindowHandle())));
  ShowScrollBar(h, SB_HORZ, FALSE);
  bw::test::PumpMessages(20);
  EXPECT_FALSE(IsWindowVisible(horz.WindowHandle())) << "the bar is gone";
  EXPECT_EQ(Str(BarInfo(h, OBJID_VSCROLL).rcScrollBar), Str(ScreenRect(vert.WindowHandle())))
      << "the vertical bar grew into the corner";
  ShowScrollBar(h, SB_HORZ, TRUE);
  bw::test::PumpMessages(20);
  EXPECT_TRUE(IsWindowVisible(horz.WindowHandle()));
  EXPECT_EQ(Str(BarInfo(h, OBJID_HSCROLL).rcScrollBar), Str(ScreenRect(horz.WindowHandle())));
  memo.Hide();
  EXPECT_FALSE(IsWindowVisible(vert.WindowHandle()));
  EXPECT_FALSE(IsWindowVisible(horz.WindowHandle()));
  memo.Show();
  EXPECT_TRUE(IsWindowVisible(vert.WindowHandle()));
  EXPECT_EQ(Str(BarInfo(h, OBJID_VSCROLL).rcScrollBar), Str(ScreenRect(vert.WindowHandle())));
}

// The arrow strip of the skin redrawn at another height, its frames kept.
void ResizeStripHeight(TBitmap& strip, int heightPx) {
  TBitmap copy(strip.Width(), heightPx, win::TPixelFormat::pf24bit);
  HDC dc = copy.Canvas().Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, strip.Width(), heightPx, strip.Canvas().Handle(), 0, 0, strip.Width(), strip.Height(), SRCCOPY);
  strip.Assign(copy);
}

TEST_F(ScrollbarsTest, TheSkinThicknessHoldsWithinTwoPixelsOfTheSystemsAndArrowsHalveOnAShortBar) {
  ASSERT_EQ(FApp.Data().Scrollbar->Bitmap.Height(), 17);
  FApp.ShowPage(kMemoPage);
  TWScrollbar& cover = VertCover(Named("Memo1"));
  cover.Repaint();
  EXPECT_EQ(cover.Painted().Thickness, std::abs(17 - FButtonPx) <= 2 ? 17 : FButtonPx);
  EXPECT_EQ(cover.Painted().ArrowPx, FButtonPx);
  ResizeStripHeight(FApp.Data().Scrollbar->Bitmap, 20);
  TSkinImageCache::Shared().Clear();
  cover.Repaint();
  ASSERT_GT(20 - FButtonPx, 2);
  EXPECT_EQ(cover.Painted().Thickness, FButtonPx) << "too far from the system's: the system's size";

  // A bar shorter than its two arrows: each arrow takes half a button.
  win::TWinControl& memo = Named("Memo1");
  memo.SetHeight(2 * FButtonPx + GetSystemMetrics(SM_CYHSCROLL) + 4 - 6);
  bw::test::PumpMessages(20);
  ASSERT_TRUE(cover.FShown);
  ASSERT_LT(cover.FLength, 2 * FButtonPx);
  cover.Repaint();
  EXPECT_EQ(cover.Painted().ArrowPx, FButtonPx / 2);
}

TEST_F(ScrollbarsTest, ADisabledBarShowsTheDisabledTrackAndNoThumb) {
  win::TWinControl& disabled = Named("ScrollBar2");
  win::TWinControl& enabled = Named("ScrollBar1");
  TWScrollbar& off = ControlCover(disabled);
  TWScrollbar& on = ControlCover(enabled);
  bw::test::WaitPainted(FApp.Form().WindowHandle());
  EXPECT_EQ(off.Painted().TrackFrame, 3);
  EXPECT_EQ(off.Painted().ThumbFrame, 0);
  EXPECT_EQ(on.Painted().TrackFrame, 1);
  EXPECT_EQ(on.Painted().ThumbFrame, 1);
  // On the screen: the middle of the disabled track is the skin's disabled frame.
  TDataSkinObject& track = *FApp.Data().HorzScroll;
  RECT r = ScreenRect(off.WindowHandle());
  const int w = r.right - r.left - 2 * FButtonPx, hgt = r.bottom - r.top;
  win::TBitmap want(w, hgt, win::TPixelFormat::pf24bit);
  for (int f : {3, 1}) {
    TKeyedImage* image =
        TSkinImageCache::Shared().Compose(track.Bitmap, track.Margins, track.Tile != 0, f, 4, w, hgt, false);
    ASSERT_NE(image, nullptr);
    image->Draw(want.Canvas().Handle(), 0, 0);
    const COLORREF pixel = want.Canvas().Pixel(w / 2, hgt / 2);
    if (f == 3) {
      EXPECT_EQ(bw::test::WaitForScreenPixel(r.left + FButtonPx + w / 2, r.top + hgt / 2, pixel), pixel);
    } else {
      EXPECT_NE(pixel, bw::test::ScreenPixel(r.left + FButtonPx + w / 2, r.top + hgt / 2))
          << "the skin's enabled and disabled tracks differ";
    }
  }
  // Enabled again: the thumb is back.
  disabled.SetEnabled(true);
  bw::test::PumpUntil([&] { return off.Painted().ThumbFrame == 1; });
  EXPECT_EQ(off.Painted().TrackFrame, 1);
}

TEST_F(ScrollbarsTest, RepaintingCoversTenThousandTimesMakesNoGdiObjects) {
  FApp.ShowPage(kMemoPage);
  TWScrollbar& memo = VertCover(Named("Memo1"));
  TWScrollbar& bar = ControlCover(Named("ScrollBar1"));
  for (int i = 0; i < 20; ++i) {
    memo.Repaint();
    bar.Repaint();
  }
  const unsigned slot = bw::test::NextGdiSlot();
  const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 5000; ++i) {
    memo.Repaint();
    bar.Repaint();
  }
  EXPECT_EQ(bw::test::NextGdiSlot(), slot) << "objects were left behind";
  if (objects != 0) {
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects);
  }
}

// Every cover window of the process: a window of the cover's class.
int CoverWindows(HWND parent) {
  int n = 0;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (std::wstring(name) == L"TWScrollbar") ++n;
    n += CoverWindows(w);
  }
  return n;
}

TEST_F(ScrollbarsTest, NoCoverWindowIsLeftWhenTheSkinGoesOff) {
  HWND form = FApp.Form().WindowHandle();
  EXPECT_GE(CoverWindows(form), 9);
  FApp.Data().SetActive(false);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FApp.Frame() == nullptr; }));
  EXPECT_EQ(CoverWindows(form), 0);
  FApp.Data().SetActive(true);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FApp.Frame() != nullptr && CoverWindows(form) >= 9; }));
}

TEST_F(ScrollbarsTest, ASizeGripIsAPlainFaceSquare) {
  HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 700, 600, 20, 20,
                              FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(grip, nullptr);
  EXPECT_NE(dynamic_cast<TSkinSizer*>(PainterOfWindow(*FFrame, grip)), nullptr) << "picked up at its creation";
  const COLORREF face = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]);
  RECT r = ScreenRect(grip);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.right - 3, r.bottom - 3, face), face);
  // A scroll-bar control without a tab stop is no grip: it keeps its bar.
  HWND plain = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 700, 630, 100, 17,
                               FApp.Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  FFrame->AddControlh(plain);
  EXPECT_EQ(PainterOfWindow(*FFrame, plain), nullptr);
  DestroyWindow(plain);
  DestroyWindow(grip);
}

TEST_F(ScrollbarsTest, ASimpleComboBoxsListBarsAreCovered) {
  win::TWinControl& combo = Named("ComboBox4");
  auto* painter = Painter<TSkinComBox>(combo);
  ASSERT_NE(painter, nullptr);
  ASSERT_NE(painter->FListBars, nullptr);
  EXPECT_EQ(PainterOfWindow(*FFrame, painter->FListHandle), nullptr) << "the combo's painter owns it, not the frame";
  TWScrollbar& cover = *painter->FListBars->FVertBar;
  ASSERT_TRUE(cover.FShown);
  EXPECT_EQ(Str(BarInfo(painter->FListHandle, OBJID_VSCROLL).rcScrollBar), Str(ScreenRect(cover.WindowHandle())));
  RECT r;
  GetClientRect(cover.WindowHandle(), &r);
  ClickHere(cover, POINT{r.right / 2, r.bottom - FButtonPx / 2});
  EXPECT_EQ(SendMessageW(painter->FListHandle, LB_GETTOPINDEX, 0, 0), 1) << "the list scrolled a line";
  bw::test::PumpUntil([&] { return cover.Painted().ThumbTop == BarInfo(painter->FListHandle, OBJID_VSCROLL).xyThumbTop; });
  EXPECT_EQ(cover.Painted().ThumbTop, BarInfo(painter->FListHandle, OBJID_VSCROLL).xyThumbTop);
  // Switched off with the combo's painter: the list is its own again, the cover gone.
  HWND coverWindow = cover.WindowHandle();
  painter->Unsubclass();
  EXPECT_FALSE(IsWindow(coverWindow));
  delete painter;
}

TEST_F(ScrollbarsTest, TheGalleryPagesShowSkinnedBars) {
  FApp.ShowPage(kTreePage);
  RECT page = ScreenRect(FApp.Form().PageControl1->Handle());
  RECT bars = ScreenRect(Named("ScrollBar3").Handle());
  UnionRect(&page, &page, &bars);
  bars = ScreenRect(Named("ScrollBar2").Handle());
  UnionRect(&page, &page, &bars);
  bars = ScreenRect(Named("ListBox1").Handle());
  UnionRect(&page, &page, &bars);
  bars = ScreenRect(Named("ComboBox4").Handle());
  UnionRect(&page, &page, &bars);
  bw::test::WaitPainted(FApp.Form().WindowHandle());
  TWScrollbar& grid = VertCover(Named("StringGrid1"));
  ASSERT_TRUE(grid.FShown);
  EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("scrollbars.png"), page));
  FApp.ShowPage(kMemoPage);
  EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("scrollbars-memo.png"),
                                      ScreenRect(FApp.Form().PageControl1->Handle())));
}

}  // namespace
}  // namespace bw::skin::test
