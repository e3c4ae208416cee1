// Image lists: masked and disabled drawing, pixel-exact on memory bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Component.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Graphic.h"
#include "framework/win/ImageList.h"

namespace bw::win {
namespace {

constexpr COLORREF kBackground = RGB(10, 20, 30);

// Two 16x16 images side by side: a red 8x8 square at (4,4) on magenta, then solid blue.
void PaintStrip(TBitmap& strip) {
  strip.SetPixelFormat(TPixelFormat::pf24bit);
  strip.SetSize(32, 16);
  TCanvas& c = strip.Canvas();
  c.Brush().SetColor(clFuchsia);
  c.FillRect({0, 0, 16, 16});
  c.Brush().SetColor(clRed);
  c.FillRect({4, 4, 12, 12});
  c.Brush().SetColor(clBlue);
  c.FillRect({16, 0, 32, 16});
}

void PaintTarget(TBitmap& target) {
  target.SetPixelFormat(TPixelFormat::pf24bit);
  target.SetSize(48, 48);
  target.Canvas().Brush().SetColor(static_cast<TColor>(kBackground));
  target.Canvas().FillRect({0, 0, 48, 48});
}

TEST(ImageList, MaskedImagesDrawTransparently) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(strip.Canvas().Pixel(0, 0), RGB(255, 0, 255));  // the source is left alone

  TBitmap target;
  PaintTarget(target);
  list.Draw(target.Canvas(), 10, 10, 0);
  list.Draw(target.Canvas(), 30, 30, 1);
  EXPECT_EQ(target.Canvas().Pixel(10 + 5, 10 + 5), RGB(255, 0, 0));
  EXPECT_EQ(target.Canvas().Pixel(10 + 1, 10 + 1), kBackground);
  EXPECT_EQ(target.Canvas().Pixel(10 + 12, 10 + 12), kBackground);
  EXPECT_EQ(target.Canvas().Pixel(30, 30), RGB(0, 0, 255));
  EXPECT_EQ(target.Canvas().Pixel(45, 45), RGB(0, 0, 255));
  EXPECT_EQ(target.Canvas().Pixel(29, 29), kBackground);
}

TEST(ImageList, AutomaticMaskColourIsTheBottomLeftPixel) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  list.AddMasked(strip, clDefault);
  TBitmap target;
  PaintTarget(target);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), kBackground);
  EXPECT_EQ(target.Canvas().Pixel(4, 4), RGB(255, 0, 0));
}

TEST(ImageList, ExplicitMaskBitmap) {
  TImageList list(nullptr);
  TBitmap image(16, 16, TPixelFormat::pf24bit);
  image.Canvas().Brush().SetColor(clLime);
  image.Canvas().FillRect({0, 0, 16, 16});
  TBitmap mask(16, 16, TPixelFormat::pf24bit);  // white: see-through; black: opaque
  mask.Canvas().Brush().SetColor(clWhite);
  mask.Canvas().FillRect({0, 0, 16, 16});
  mask.Canvas().Brush().SetColor(clBlack);
  mask.Canvas().FillRect({0, 0, 8, 16});
  EXPECT_EQ(list.Add(image, &mask), 0);
  TBitmap target;
  PaintTarget(target);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(target.Canvas().Pixel(3, 3), RGB(0, 255, 0));
  EXPECT_EQ(target.Canvas().Pixel(12, 3), kBackground);
}

TEST(ImageList, DisabledImageIsItsShapeInShadowWithAHighlightEdge) {
  TImageList list(nullptr);
  TBitmap strip;
  PaintStrip(strip);
  list.AddMasked(strip, clFuchsia);
  TBitmap target;
  PaintTarget(target);
  HDC dc = target.Canvas().Handle();
  const COLORREF textBefore = GetTextColor(dc), backBefore = GetBkColor(dc);
  list.Draw(target.Canvas(), 10, 10, 0, false);
  EXPECT_EQ(GetTextColor(dc), textBefore);
  EXPECT_EQ(GetBkColor(dc), backBefore);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, highlight);
  EXPECT_EQ(target.Canvas().Pixel(10 + 4, 10 + 4), shadow);
  EXPECT_EQ(target.Canvas().Pixel(10 + 11, 10 + 11), shadow);
  EXPECT_EQ(target.Canvas().Pixel(10 + 12, 10 + 12), highlight);  // the shape one pixel down and right
  EXPECT_EQ(target.Canvas().Pixel(10 + 12, 10 + 5), highlight);
  EXPECT_EQ(target.Canvas().Pixel(10 + 3, 10 + 3), kBackground);
  EXPECT_EQ(target.Canvas().Pixel(10 + 13, 10 + 13), kBackground);
}

TEST(ImageList, BadIndexesDrawNothingAndSmallImagesAreRefused) {
  TImageList list(nullptr);
  TBitmap target;
  PaintTarget(target);
  list.Draw(target.Canvas(), 0, 0, 0);  // empty list
  TBitmap strip;
  PaintStrip(strip);
  list.AddMasked(strip, clFuchsia);
  list.Draw(target.Canvas(), 0, 0, 2);
  list.Draw(target.Canvas(), 0, 0, -1);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), kBackground);
  TBitmap tiny(8, 8);
  EXPECT_THROW(list.AddMasked(tiny, clFuchsia), EInvalidGraphic);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  list.SetWidth(24);  // a new size empties the list
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Width(), 24);
}

TEST(ImageList, CreatedByClassNameWithItsSize) {
  std::unique_ptr<core::TComponent> made(core::CreateComponent("TImageList", nullptr));
  auto* list = dynamic_cast<TImageList*>(made.get());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(core::SetIntProp(list, "Width", 32), core::TPropResult::Done);
  EXPECT_EQ(core::GetIntProp(list, "height"), 16);
  EXPECT_EQ(list->Width(), 32);
}

}  // namespace
}  // namespace bw::win
