// Progress bars (bar and chunk styles, horizontal and vertical), track-bar thumbs, panels,
// group boxes and tool-bar backgrounds from the skin, read back from the screen or from
// memory bitmaps; and a screenshot of the form with every painter of this issue.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Panels.h"
#include "skin/controls/Progress.h"
#include "skin/draw/ImgUtil.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/controls/PaintersTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

class ProgressPanelsTest : public ::testing::Test {
 protected:
  TPaintersApp FApp;
  TLacquerForm* FFrame = nullptr;
  void SetUp() override {
    FFrame = FApp.Show();
    ASSERT_NE(FFrame, nullptr);
  }
  TPaintersForm& Form() { return FApp.Form(); }
};

// Colour at x along the middle row of a window's shot.
COLORREF Mid(win::TBitmap& shot, int x) { return shot.Canvas().Pixel(x, shot.Height() / 2); }

TEST_F(ProgressPanelsTest, HalfOfAHundredFillsHalfOfTheBarAndTheLimitFillsItAll) {
  win::TProgressBar& bar = *Form().ProgressBar1;
  auto* painter = static_cast<TSkinProgress*>(PainterOf(*FFrame, bar));
  ASSERT_NE(painter, nullptr);
  RECT window;
  GetWindowRect(bar.Handle(), &window);
  ASSERT_EQ(window.right - window.left, 200);
  bw::test::WaitPainted(bar.Handle());
  EXPECT_EQ(painter->LastFilled(), 100);
  auto half = WindowShot(bar.Handle());
  const COLORREF fill = Mid(*half, 50), track = Mid(*half, 150);
  EXPECT_NE(fill, track);
  EXPECT_EQ(Mid(*half, 90), fill);
  EXPECT_EQ(Mid(*half, 96), fill);
  EXPECT_EQ(Mid(*half, 101), track) << "the fill ends at 100 pixels";

  bar.SetPosition(100);
  bw::test::WaitPainted(bar.Handle());
  EXPECT_EQ(painter->LastFilled(), 200);
  auto full = WindowShot(bar.Handle());
  EXPECT_EQ(Mid(*full, 150), fill);
  EXPECT_EQ(Mid(*full, 190), fill);

  bar.SetPosition(0);
  bw::test::WaitPainted(bar.Handle());
  EXPECT_EQ(painter->LastFilled(), 0);
  EXPECT_EQ(Mid(*WindowShot(bar.Handle()), 50), track);
  bar.SetPosition(60);
  bar.SetMax(0);  // an upper limit of 0 shows the track alone
  bw::test::WaitPainted(bar.Handle());
  EXPECT_EQ(painter->LastFilled(), 0);
}

TEST_F(ProgressPanelsTest, AVerticalBarFillsFromTheBottom) {
  HWND bare = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_VERTICAL | PBS_SMOOTH, 460, 150,
                              24, 120, Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bare, nullptr);
  SendMessageW(bare, PBM_SETRANGE32, 0, 100);
  SendMessageW(bare, PBM_SETPOS, 25, 0);
  auto* painter = new TSkinProgress(nullptr);
  painter->Inithwnd(bare, &FApp.Data(), &FFrame->FCanvas2, FFrame);
  bw::test::WaitPainted(bare);
  EXPECT_EQ(painter->LastFilled(), 30);  // a quarter of 120
  auto shot = WindowShot(bare);
  const int x = shot->Width() / 2;
  const COLORREF bottom = shot->Canvas().Pixel(x, 110), top = shot->Canvas().Pixel(x, 10);
  EXPECT_NE(bottom, top);
  EXPECT_EQ(shot->Canvas().Pixel(x, 95), bottom) << "inside the filled quarter";
  EXPECT_EQ(shot->Canvas().Pixel(x, 80), top) << "above it, the track";
  EXPECT_EQ(shot->Canvas().Pixel(x, 40), top);
  delete painter;
  DestroyWindow(bare);
}

TEST_F(ProgressPanelsTest, ChunkStyleDrawsWholeChunksAndCutsTheLastAtThePosition) {
  TDataSkinBorder& skin = *FApp.Data().Progress;
  ASSERT_EQ(skin.Bitmap2.Width(), 8);
  win::TProgressBar& bar = *Form().ProgressBar1;
  skin.Style = 1;
  bar.SetPosition(0);
  bw::test::WaitPainted(bar.Handle());
  auto empty = WindowShot(bar.Handle());
  bar.SetPosition(15);  // 30 of 200 pixels: three whole chunks and 6 pixels of the fourth
  bw::test::WaitPainted(bar.Handle());
  EXPECT_EQ(static_cast<TSkinProgress*>(PainterOf(*FFrame, bar))->LastFilled(), 30);
  auto some = WindowShot(bar.Handle());
  skin.Style = 0;
  int first = -1, last = -1;
  for (int x = 0; x < some->Width(); ++x)
    for (int y = 0; y < some->Height(); ++y)
      if (some->Canvas().Pixel(x, y) != empty->Canvas().Pixel(x, y)) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  EXPECT_EQ(first, skin.Margins.left);
  EXPECT_EQ(last, skin.Margins.left + 29);
  // Centred vertically: the rows the chunk covers.
  const int ch = skin.Bitmap2.Height(), top = (some->Height() - ch) / 2;
  for (int y = 0; y < some->Height(); ++y)
    if (y < top || y >= top + ch) {
      ASSERT_EQ(some->Canvas().Pixel(10, y), empty->Canvas().Pixel(10, y)) << y;
    }
}

TEST_F(ProgressPanelsTest, TrackBarThumbFromTheSkinOrAnOutlinedRectangle) {
  HWND track = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 240, 150, 200, 32, Form().Handle(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(track, nullptr);
  TSkinTrackBar painter(nullptr);
  painter.Inithwnd(track, &FApp.Data(), &FFrame->FCanvas2, FFrame);
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  ASSERT_GT(thumb.right - thumb.left, 2);
  win::TBitmap target(200, 32, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  NMCUSTOMDRAW draw{};
  draw.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
  draw.hdc = dc;
  draw.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(painter.CustomDraw(draw), static_cast<LRESULT>(CDRF_NOTIFYITEMDRAW));
  draw.dwDrawStage = CDDS_ITEMPREPAINT;
  draw.dwItemSpec = TBCD_CHANNEL;
  EXPECT_EQ(painter.CustomDraw(draw), static_cast<LRESULT>(CDRF_DODEFAULT)) << "the channel stays the system's";
  draw.dwItemSpec = TBCD_TICS;
  EXPECT_EQ(painter.CustomDraw(draw), static_cast<LRESULT>(CDRF_DODEFAULT));
  draw.dwItemSpec = TBCD_THUMB;
  EXPECT_EQ(painter.CustomDraw(draw), static_cast<LRESULT>(CDRF_SKIPDEFAULT));
  // Frame 2 of 5 of the horizontal thumb, stretched over the thumb rectangle.
  TDataSkinObject& thumbSkin = *FApp.Data().TrackThumbHorz;
  const int fw = thumbSkin.Bitmap.Width() / 5, fh = thumbSkin.Bitmap.Height();
  const int tw = thumb.right - thumb.left, th = thumb.bottom - thumb.top;
  win::TBitmap expected(tw, th, win::TPixelFormat::pf24bit);
  SetStretchBltMode(expected.Canvas().Handle(), COLORONCOLOR);
  StretchBlt(expected.Canvas().Handle(), 0, 0, tw, th, thumbSkin.Bitmap.Canvas().Handle(), fw, 0, fw, fh, SRCCOPY);
  const int cx = (thumb.left + thumb.right) / 2, cy = (thumb.top + thumb.bottom) / 2;
  EXPECT_EQ(GetPixel(dc, cx, cy), expected.Canvas().Pixel(cx - thumb.left, cy - thumb.top));

  // Without thumb images: a rectangle outlined in the shadow colour.
  std::unique_ptr<TDataSkinObject> saved = std::move(FApp.Data().TrackThumbHorz);
  RECT all{0, 0, 200, 32};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  painter.CustomDraw(draw);
  FApp.Data().TrackThumbHorz = std::move(saved);
  const COLORREF shadow = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonShadow]);
  EXPECT_EQ(GetPixel(dc, thumb.left, cy), shadow);
  EXPECT_EQ(GetPixel(dc, thumb.right - 1, cy), shadow);
  EXPECT_EQ(GetPixel(dc, cx, thumb.top), shadow);
  EXPECT_EQ(GetPixel(dc, cx, cy), RGB(255, 255, 255)) << "filled with the canvas's default brush";
  DestroyWindow(track);
}

// The height of "0" in the font, as the group box painter measures it.
int ZeroHeight(HFONT font) {
  win::TWindowDC screen(nullptr);
  win::TSaveDCGuard saved(screen.Get());
  SelectObject(screen.Get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), L"0", 1, &size);
  return size.cy;
}

TEST_F(ProgressPanelsTest, GroupBoxLineSitsAtHalfTheTextHeightAndTheCaptionInterruptsIt) {
  // A font whose "0" is 13 pixels high puts the line at y = 13 / 2 - 1 = 5.
  win::TFontHandle font;
  for (int height = -8; height >= -16 && !font; --height) {
    win::TFontHandle candidate(CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    if (ZeroHeight(candidate.Get()) == 13) font = std::move(candidate);
  }
  ASSERT_TRUE(font) << "no font 13 pixels high";
  HWND box = CreateWindowExW(0, L"BUTTON", L"Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 240, 150, 200, 80,
                             Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(box, nullptr);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  TSkinGroupBox painter(nullptr);
  painter.Inithwnd(box, &FApp.Data(), &FFrame->FCanvas2, FFrame);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  bw::test::WaitPainted(box);
  const COLORREF shadow = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonShadow]);
  const COLORREF face = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]);
  EXPECT_EQ(WindowPixel(box, 150, 5), shadow);
  EXPECT_NE(WindowPixel(box, 150, 4), shadow);
  EXPECT_NE(WindowPixel(box, 150, 6), shadow);
  EXPECT_EQ(WindowPixel(box, 1, 40), shadow) << "the left side";
  EXPECT_EQ(WindowPixel(box, 198, 40), shadow) << "the right side";
  SIZE caption{};
  {
    win::TWindowDC screen(nullptr);
    win::TSaveDCGuard saved(screen.Get());
    SelectObject(screen.Get(), font.Get());
    GetTextExtentPoint32W(screen.Get(), L"Group", 5, &caption);
  }
  EXPECT_EQ(WindowPixel(box, 7, 5), shadow);
  for (int x = 8; x < 8 + caption.cx; ++x)
    EXPECT_NE(WindowPixel(box, x, 5), shadow) << "the caption's ground covers the line from 8 pixels, at " << x;
  EXPECT_EQ(WindowPixel(box, 8 + caption.cx + 1, 5), shadow);
  EXPECT_EQ(WindowPixel(box, 0, 40), face) << "the system's own frame is gone";
  DestroyWindow(box);
}

TEST_F(ProgressPanelsTest, AFrameworkTrackBarGetsItsThumbFromTheSkinThroughItsNotifications) {
  win::TTrackBar& bar = *Form().TrackBar1;
  HWND h = bar.Handle();
  RECT thumb{};
  SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  TDataSkinObject& skin = *FApp.Data().TrackThumbHorz;
  const int fw = skin.Bitmap.Width() / 5, fh = skin.Bitmap.Height();
  const int tw = thumb.right - thumb.left, th = thumb.bottom - thumb.top;
  ASSERT_GT(tw, 2);
  win::TBitmap expected(tw, th, win::TPixelFormat::pf24bit);
  SetStretchBltMode(expected.Canvas().Handle(), COLORONCOLOR);
  StretchBlt(expected.Canvas().Handle(), 0, 0, tw, th, skin.Bitmap.Canvas().Handle(), fw, 0, fw, fh, SRCCOPY);
  const COLORREF want = expected.Canvas().Pixel(tw / 2, th / 2);
  ASSERT_NE(want, RGB(255, 0, 255));
  EXPECT_EQ(WaitForWindowPixel(h, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2, want), want);
  // The channel and ticks stay the system's, on the skin's face colour.
  const COLORREF face = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]);
  EXPECT_EQ(WindowPixel(h, 2, 2), face);
}

TEST_F(ProgressPanelsTest, AFrameworkGroupBoxIsAThinRoundedFrameWithItsCaptionOverIt) {
  win::TGroupBox& box = *Form().GroupBox1;
  HWND h = box.Handle();
  bw::test::WaitPainted(h);
  win::TWindowDC screen(nullptr);
  int zero = 0;
  {
    win::TSaveDCGuard saved(screen.Get());
    SelectObject(screen.Get(), box.Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), L"0", 1, &size);
    zero = size.cy;
  }
  const int lineY = zero / 2 - 1;
  const COLORREF shadow = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonShadow]);
  const COLORREF face = win::ColorToRGB(FApp.Data().Colors[TShemeColor::csButtonFace]);
  EXPECT_EQ(WaitForWindowPixel(h, 120, lineY, shadow), shadow);
  EXPECT_EQ(WindowPixel(h, 1, 60), shadow);
  EXPECT_EQ(WindowPixel(h, box.Width() - 2, 60), shadow);
  EXPECT_EQ(WindowPixel(h, 75, box.Height() - 2), shadow);
  EXPECT_EQ(WindowPixel(h, 120, lineY + 1), face) << "the parent's ground inside";
  EXPECT_EQ(WindowPixel(h, 0, 60), face) << "and outside the line";
  EXPECT_EQ(WindowPixel(h, 7, lineY), shadow);
  EXPECT_NE(WindowPixel(h, 10, lineY), shadow) << "the caption's ground interrupts the line";
}

TEST_F(ProgressPanelsTest, APanelTakesTheFaceColourAndGetsItsOwnBackWhenReleased) {
  win::TPanel& panel = *Form().Panel1;
  TSkinControl* painter = PainterOf(*FFrame, panel);
  ASSERT_NE(painter, nullptr);
  EXPECT_EQ(panel.Color(), FApp.Data().Colors[TShemeColor::csButtonFace]);
  EXPECT_EQ(painter->FHandle, panel.Handle());
  EXPECT_EQ(panel.WindowProc.Depth(), 0) << "a panel's messages are not taken over";
  painter->Unsubclass();
  EXPECT_EQ(panel.Color(), win::clWhite);
  EXPECT_EQ(painter->FStatus, kPainterReleased);
  painter->SkinChange();
  EXPECT_EQ(panel.Color(), FApp.Data().Colors[TShemeColor::csButtonFace]);
  // Skin off gives every control back what it had.
  FFrame->UnSubclass();
  EXPECT_EQ(panel.Color(), win::clWhite);
  EXPECT_EQ(SendMessageW(Form().Button1->Handle(), SKIN_MSG_QUERY, 0, 0), 0);
  EXPECT_TRUE(FFrame->FControls.empty());
}

TEST_F(ProgressPanelsTest, ToolbarBackgroundIsTheSkinImageOrTheGradientBetweenItsColours) {
  auto* host = new win::TPanel(&Form());
  host->SetParent(&Form());
  host->SetBounds(240, 150, 200, 40);
  TSkinToolbar* painter = new TSkinToolbar(host);
  painter->Init(FFrame, &FApp.Data(), &FFrame->FCanvas2, false);
  EXPECT_EQ(painter->FGradStart, Blend(FApp.Data().Colors[TShemeColor::csButtonFace], win::clWhite, 150));
  win::TBitmap target(200, 40, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  painter->ERASEBKGND(dc);
  TBitmap& image = FApp.Data().Toolbar->Bitmap;
  EXPECT_EQ(GetPixel(dc, 100, 0), image.Canvas().Pixel(image.Width() / 2, 0));
  EXPECT_EQ(GetPixel(dc, 100, 39), image.Canvas().Pixel(image.Width() / 2, image.Height() - 1));

  std::unique_ptr<TDataSkinObject> saved = std::move(FApp.Data().Toolbar);
  painter->ERASEBKGND(dc);
  FApp.Data().Toolbar = std::move(saved);
  auto alike = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 && std::abs(GetGValue(a) - GetGValue(b)) <= 8 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 8;
  };
  EXPECT_TRUE(alike(GetPixel(dc, 100, 0), win::ColorToRGB(painter->FGradStart)));
  EXPECT_TRUE(alike(GetPixel(dc, 100, 39), win::ColorToRGB(painter->FGradEnd)));
  EXPECT_EQ(GetPixel(dc, 0, 20), GetPixel(dc, 199, 20)) << "top to bottom only";
}

TEST_F(ProgressPanelsTest, Screenshot) {
  Form().Button1->SetFocus();
  Form().BitBtn1->Perform(win::CM_MOUSEENTER);
  bw::test::WaitPainted(Form().Handle());
  EXPECT_NE(WaitForFace(Form().BitBtn1->Handle(), *FApp.Data().Buttons, kFrameHot), 0);
  RECT r;
  GetWindowRect(Form().Handle(), &r);
  InflateRect(&r, 8, 8);
  EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("painters-form.png"), r));
}

}  // namespace
}  // namespace bw::skin::test
