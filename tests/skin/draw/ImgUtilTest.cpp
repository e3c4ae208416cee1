// Bitmap utilities: grey, mirrors, rotations, blending and cached gradients.
#include "skin/draw/ImgUtil.h"

#include <gtest/gtest.h>

namespace bw::skin {
namespace {

using win::TPixelFormat;

COLORREF At(TBitmap& bmp, int x, int y) { return GetPixel(bmp.Canvas().Handle(), x, y); }

// 3 x 2, every pixel its own colour: red = x, green = y.
void Numbered(TBitmap& bmp) {
  bmp.SetPixelFormat(TPixelFormat::pf24bit);
  bmp.SetSize(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPixelV(bmp.Canvas().Handle(), x, y, RGB(100 + x, 200 + y, 7));
}

COLORREF Src(int x, int y) { return RGB(100 + x, 200 + y, 7); }

TEST(ImgUtil, GreyIsTheMeanOfTheChannels) {
  TBitmap bmp(2, 1, TPixelFormat::pf32bit);
  SetPixelV(bmp.Canvas().Handle(), 0, 0, RGB(255, 0, 0));
  SetPixelV(bmp.Canvas().Handle(), 1, 0, RGB(10, 20, 31));
  ConvertBitmapToGrayscale(bmp);
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(At(bmp, 0, 0), RGB(85, 85, 85));
  EXPECT_EQ(At(bmp, 1, 0), RGB(20, 20, 20));
}

TEST(ImgUtil, MirrorsAndHalfTurn) {
  TBitmap bmp;
  Numbered(bmp);
  SpiegelnHorizontal(bmp);
  EXPECT_EQ(At(bmp, 0, 0), Src(2, 0));
  EXPECT_EQ(At(bmp, 2, 1), Src(0, 1));
  Numbered(bmp);
  SpiegelnVertikal(bmp);
  EXPECT_EQ(At(bmp, 0, 0), Src(0, 1));
  EXPECT_EQ(At(bmp, 1, 1), Src(1, 0));
  Numbered(bmp);
  Drehen180Grad(bmp);
  EXPECT_EQ(At(bmp, 0, 0), Src(2, 1));
  EXPECT_EQ(At(bmp, 2, 1), Src(0, 0));
}

TEST(ImgUtil, QuarterTurnsSwapTheSides) {
  TBitmap bmp;
  Numbered(bmp);
  Drehen90Grad(bmp);
  ASSERT_EQ(bmp.Width(), 2);
  ASSERT_EQ(bmp.Height(), 3);
  EXPECT_EQ(At(bmp, 1, 0), Src(0, 0));  // clockwise: the top-left goes top-right
  EXPECT_EQ(At(bmp, 0, 0), Src(0, 1));
  EXPECT_EQ(At(bmp, 0, 2), Src(2, 1));
  Numbered(bmp);
  Drehen270Grad(bmp);
  ASSERT_EQ(bmp.Width(), 2);
  EXPECT_EQ(At(bmp, 0, 2), Src(0, 0));  // counter-clockwise: the top-left goes bottom-left
  EXPECT_EQ(At(bmp, 0, 0), Src(2, 0));
  EXPECT_EQ(At(bmp, 1, 0), Src(2, 1));
}

TEST(ImgUtil, Rotate90MakesACounterClockwiseCopyOf24BitOnly) {
  TBitmap bmp;
  Numbered(bmp);
  auto turned = Rotate90(bmp);
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->Width(), 2);
  EXPECT_EQ(At(*turned, 0, 2), Src(0, 0));
  EXPECT_EQ(At(*turned, 1, 0), Src(2, 1));
  EXPECT_EQ(At(bmp, 0, 0), Src(0, 0));  // the source stays
  TBitmap wide(3, 2, TPixelFormat::pf32bit);
  EXPECT_EQ(Rotate90(wide), nullptr);
}

TEST(ImgUtil, BlendByPercentAndPerMille) {
  EXPECT_EQ(Blend(RGB(12, 34, 56), RGB(12, 34, 56), 37), static_cast<TColor>(RGB(12, 34, 56)));
  EXPECT_EQ(Blend(RGB(0, 0, 0), RGB(255, 255, 255), 50), static_cast<TColor>(RGB(128, 128, 128)));
  // 150 is per mille: 15 % of red over white.
  EXPECT_EQ(Blend(RGB(255, 0, 0), RGB(255, 255, 255), 150), static_cast<TColor>(RGB(255, 217, 217)));
  EXPECT_EQ(Blend(win::clBtnFace, win::clBtnFace, 20), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST(ImgUtil, GradientStepsAndReusesItsTable) {
  TBitmap bmp(11, 3, TPixelFormat::pf24bit);
  HDC dc = bmp.Canvas().Handle();
  GradFill(dc, RECT{0, 0, 11, 3}, RGB(0, 0, 0), RGB(10, 10, 10), TGradientDirection::LeftToRight);
  for (int x = 0; x < 11; ++x) EXPECT_EQ(At(bmp, x, 1), RGB(x, x, x)) << x;
  const int built = GradientTablesBuilt();
  TBitmap other(3, 11, TPixelFormat::pf24bit);
  GradFill(other.Canvas().Handle(), RECT{0, 0, 3, 11}, RGB(0, 0, 0), RGB(10, 10, 10),
           TGradientDirection::TopToBottom);
  EXPECT_EQ(GradientTablesBuilt(), built);
  EXPECT_EQ(At(other, 2, 7), RGB(7, 7, 7));
}

TEST(ImgUtil, GradientPaintsOnlyVisibleBandsWithTheirFullGradientColours) {
  TBitmap bmp(20, 2, TPixelFormat::pf24bit);
  HDC dc = bmp.Canvas().Handle();
  win::TBrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
  RECT all{0, 0, 20, 2};
  FillRect(dc, &all, white.Get());
  win::TRegionHandle clip(CreateRectRgn(0, 0, 15, 2));
  SelectClipRgn(dc, clip.Get());
  GradFill(dc, RECT{10, 0, 20, 2}, RGB(0, 0, 0), RGB(90, 90, 90), TGradientDirection::LeftToRight);
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(At(bmp, 10, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(bmp, 14, 0), RGB(40, 40, 40));
  EXPECT_EQ(At(bmp, 15, 0), RGB(255, 255, 255));
  // A single band takes the middle colour.
  GradFill(dc, RECT{19, 0, 20, 2}, RGB(0, 0, 0), RGB(90, 90, 90), TGradientDirection::LeftToRight);
  EXPECT_EQ(At(bmp, 19, 1), RGB(45, 45, 45));
}

}  // namespace
}  // namespace bw::skin
