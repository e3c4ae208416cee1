// Nine-slice, tiling, colour keys and regions, checked pixel by pixel on memory bitmaps.
#include "skin/draw/SkinDraw.h"

#include "framework/win/Forms.h"

#include <gtest/gtest.h>

namespace bw::skin {
namespace {

using win::TPixelFormat;

constexpr COLORREF kBackground = RGB(0, 0, 99);

COLORREF At(TBitmap& bmp, int x, int y) { return GetPixel(bmp.Canvas().Handle(), x, y); }

void Fill(TBitmap& bmp, COLORREF c, RECT rc) {
  win::TBrushHandle brush(CreateSolidBrush(c));
  FillRect(bmp.Canvas().Handle(), &rc, brush.Get());
}

// One 6x6 frame whose nine pieces (margins 2) each have their own colour: red = column
// (0, 1, 2 -> 10, 20, 30), green = row, blue = frame index.
void PaintFrame(TBitmap& bmp, int originX, int originY, int frame) {
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const int col = x < 2 ? 0 : x < 4 ? 1 : 2, row = y < 2 ? 0 : y < 4 ? 1 : 2;
      SetPixelV(bmp.Canvas().Handle(), originX + x, originY + y, RGB(10 + 10 * col, 10 + 10 * row, frame));
    }
}

COLORREF Piece(int col, int row, int frame) { return RGB(10 + 10 * col, 10 + 10 * row, frame); }

TBitmap& NineSliceSkin(bool stacked) {
  static TBitmap sideBySide(18, 6, TPixelFormat::pf24bit), stackedSkin(6, 18, TPixelFormat::pf24bit);
  TBitmap& bmp = stacked ? stackedSkin : sideBySide;
  for (int k = 0; k < 3; ++k) PaintFrame(bmp, stacked ? 0 : 6 * k, stacked ? 6 * k : 0, k + 1);
  return bmp;
}

TEST(FrameGeometry, FramesSideBySideAndStacked) {
  TBitmap strip(40, 7, TPixelFormat::pf24bit);
  const TFrameGeometry first = FrameOf(strip, 1, 4, false), last = FrameOf(strip, 4, 4, false);
  EXPECT_EQ(first.sx, 0);
  EXPECT_EQ(first.fw, 10);
  EXPECT_EQ(last.sx, 30);
  EXPECT_EQ(last.fh, 7);
  TBitmap column(8, 30, TPixelFormat::pf24bit);
  const TFrameGeometry third = FrameOf(column, 3, 3, true);
  EXPECT_EQ(third.sy, 20);
  EXPECT_EQ(third.fh, 10);
  EXPECT_EQ(third.sx, 0);
  // Out of range: clamped to the nearest frame.
  EXPECT_EQ(FrameOf(strip, 9, 4, false).sx, 30);
  EXPECT_EQ(FrameOf(strip, 0, 0, false).fw, 40);
}

TEST(NineSlice, CornersKeepTheirSizeEdgesAndCentreStretch) {
  for (bool stacked : {false, true}) {
    SCOPED_TRACE(stacked ? "stacked" : "side by side");
    auto out = GetHMap(RECT{0, 0, 10, 8}, NineSliceSkin(stacked), RECT{2, 2, 2, 2}, 2, 3, false, stacked);
    ASSERT_EQ(out->Width(), 10);
    ASSERT_EQ(out->Height(), 8);
    EXPECT_EQ(At(*out, 0, 0), Piece(0, 0, 2));
    EXPECT_EQ(At(*out, 1, 1), Piece(0, 0, 2));
    EXPECT_EQ(At(*out, 2, 0), Piece(1, 0, 2));  // top edge starts right after the corner
    EXPECT_EQ(At(*out, 7, 1), Piece(1, 0, 2));
    EXPECT_EQ(At(*out, 8, 0), Piece(2, 0, 2));
    EXPECT_EQ(At(*out, 9, 7), Piece(2, 2, 2));
    EXPECT_EQ(At(*out, 0, 5), Piece(0, 1, 2));
    EXPECT_EQ(At(*out, 0, 6), Piece(0, 2, 2));
    EXPECT_EQ(At(*out, 5, 4), Piece(1, 1, 2));
    EXPECT_EQ(At(*out, 9, 3), Piece(2, 1, 2));
  }
}

TEST(NineSlice, TooNarrowTargetDropsLeftAndRightButKeepsTopAndBottom) {
  auto out = GetHMap(RECT{0, 0, 3, 8}, NineSliceSkin(false), RECT{2, 2, 2, 2}, 1, 3, false, false);
  // The whole 6-pixel frame width is squeezed into 3: columns 0, 2, 4 of the frame.
  EXPECT_EQ(At(*out, 0, 0), Piece(0, 0, 1));
  EXPECT_EQ(At(*out, 1, 0), Piece(1, 0, 1));
  EXPECT_EQ(At(*out, 2, 7), Piece(2, 2, 1));
  EXPECT_EQ(At(*out, 0, 1), Piece(0, 0, 1));  // top row keeps its 2 pixels
  EXPECT_EQ(At(*out, 0, 2), Piece(0, 1, 1));
}

TEST(NineSlice, TiledCentreRepeatsStretchedCentreScales) {
  TBitmap skin(4, 4, TPixelFormat::pf24bit);
  Fill(skin, RGB(1, 1, 1), RECT{0, 0, 4, 4});
  // A 2x2 centre: a diagonal pattern.
  SetPixelV(skin.Canvas().Handle(), 1, 1, RGB(200, 0, 0));
  SetPixelV(skin.Canvas().Handle(), 2, 1, RGB(0, 200, 0));
  SetPixelV(skin.Canvas().Handle(), 1, 2, RGB(0, 200, 0));
  SetPixelV(skin.Canvas().Handle(), 2, 2, RGB(200, 0, 0));
  auto tiled = GetHMap(RECT{0, 0, 7, 7}, skin, RECT{1, 1, 1, 1}, 1, 1, true, false);
  EXPECT_EQ(At(*tiled, 1, 1), RGB(200, 0, 0));
  EXPECT_EQ(At(*tiled, 2, 1), RGB(0, 200, 0));
  EXPECT_EQ(At(*tiled, 3, 1), RGB(200, 0, 0));
  EXPECT_EQ(At(*tiled, 4, 2), RGB(200, 0, 0));
  EXPECT_EQ(At(*tiled, 6, 6), RGB(1, 1, 1));  // the overrun is covered by the later pieces
  auto stretched = GetHMap(RECT{0, 0, 6, 6}, skin, RECT{1, 1, 1, 1}, 1, 1, false, false);
  EXPECT_EQ(At(*stretched, 1, 1), RGB(200, 0, 0));
  EXPECT_EQ(At(*stretched, 2, 2), RGB(200, 0, 0));
  EXPECT_EQ(At(*stretched, 3, 1), RGB(0, 200, 0));
}

TEST(Primitives, InvertedTargetsDrawNothing) {
  TBitmap target(10, 10, TPixelFormat::pf24bit);
  Fill(target, kBackground, RECT{0, 0, 10, 10});
  HDC dc = target.Canvas().Handle();
  TBitmap& skin = NineSliceSkin(false);
  const RECT inverted{8, 2, 2, 8};
  DrawRect2(dc, inverted, skin, RECT{2, 2, 2, 2}, 1, 3, false, false, false);
  DrawBorder(dc, inverted, skin, RECT{2, 2, 2, 2}, 1, 3, false, false);
  DrawRect1(dc, inverted, skin, 1, 3, false);
  DrawRect3(dc, inverted, skin, 1, 3, false);
  DrawRectTile(target.Canvas(), inverted, skin, RECT{2, 2, 2, 2}, 1, 3, false, false);
  DrawTranmap(dc, inverted, skin, kSkinKeyColor);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(At(target, x, y), kBackground) << x << "," << y;
}

TEST(Primitives, BorderLeavesTheCentreAlone) {
  TBitmap target(10, 10, TPixelFormat::pf24bit);
  Fill(target, kBackground, RECT{0, 0, 10, 10});
  DrawBorder(target.Canvas().Handle(), RECT{1, 1, 9, 9}, NineSliceSkin(false), RECT{2, 2, 2, 2}, 3, 3, false,
             false);
  EXPECT_EQ(At(target, 0, 0), kBackground);
  EXPECT_EQ(At(target, 1, 1), Piece(0, 0, 3));
  EXPECT_EQ(At(target, 4, 4), kBackground);
  EXPECT_EQ(At(target, 8, 8), Piece(2, 2, 3));
  EXPECT_EQ(At(target, 5, 8), Piece(1, 2, 3));
}

TEST(Primitives, Rect3CentresTheFrameAndMayOverhang) {
  TBitmap target(12, 12, TPixelFormat::pf24bit);
  Fill(target, kBackground, RECT{0, 0, 12, 12});
  HDC dc = target.Canvas().Handle();
  DrawRect3(dc, RECT{0, 0, 11, 9}, NineSliceSkin(false), 2, 3, false);  // x = (11-6)/2 = 2, y = 1
  EXPECT_EQ(At(target, 1, 1), kBackground);
  EXPECT_EQ(At(target, 2, 1), Piece(0, 0, 2));
  EXPECT_EQ(At(target, 7, 6), Piece(2, 2, 2));
  EXPECT_EQ(At(target, 8, 6), kBackground);
  Fill(target, kBackground, RECT{0, 0, 12, 12});
  DrawRect3(dc, RECT{6, 6, 8, 8}, NineSliceSkin(false), 1, 3, false);  // starts at 6 + (2-6)/2 = 4
  EXPECT_EQ(At(target, 4, 4), Piece(0, 0, 1));
  EXPECT_EQ(At(target, 3, 3), kBackground);
}

TEST(Primitives, Rect1StretchesTheWholeFrame) {
  TBitmap target(12, 6, TPixelFormat::pf24bit);
  DrawRect1(target.Canvas().Handle(), RECT{0, 0, 12, 6}, NineSliceSkin(false), 3, 3, false);
  EXPECT_EQ(At(target, 0, 0), Piece(0, 0, 3));
  EXPECT_EQ(At(target, 3, 0), Piece(0, 0, 3));  // column 1 of the frame, doubled
  EXPECT_EQ(At(target, 4, 0), Piece(1, 0, 3));
  EXPECT_EQ(At(target, 11, 5), Piece(2, 2, 3));
}

TEST(Primitives, TileRepeatsTheMiddleStripAndStopsWhenItHasNoWidth) {
  TBitmap target(13, 6, TPixelFormat::pf24bit);
  Fill(target, kBackground, RECT{0, 0, 13, 6});
  DrawRectTile(target.Canvas(), RECT{0, 0, 13, 6}, NineSliceSkin(false), RECT{2, 0, 2, 0}, 1, 3, false, false);
  EXPECT_EQ(At(target, 1, 0), Piece(0, 0, 1));
  EXPECT_EQ(At(target, 2, 0), Piece(1, 0, 1));
  EXPECT_EQ(At(target, 4, 3), Piece(1, 1, 1));  // second repetition of the 2-pixel strip
  EXPECT_EQ(At(target, 10, 0), Piece(1, 0, 1));
  EXPECT_EQ(At(target, 11, 0), Piece(2, 0, 1));
  // Margins as wide as the frame: no middle part, and the call returns.
  Fill(target, kBackground, RECT{0, 0, 13, 6});
  DrawRectTile(target.Canvas(), RECT{0, 0, 13, 6}, NineSliceSkin(false), RECT{3, 0, 3, 0}, 1, 3, false, false);
  EXPECT_EQ(At(target, 0, 0), Piece(0, 0, 1));
  EXPECT_EQ(At(target, 6, 0), RGB(0, 0, 0));  // the scratch bitmap, untouched between the ends
  EXPECT_EQ(At(target, 12, 0), Piece(2, 0, 1));
}

TEST(Primitives, BackgroundTilesRunPastTheTarget) {
  TBitmap src(3, 2, TPixelFormat::pf24bit);
  Fill(src, RGB(5, 5, 5), RECT{0, 0, 3, 2});
  SetPixelV(src.Canvas().Handle(), 1, 0, RGB(70, 80, 90));
  TBitmap target(10, 10, TPixelFormat::pf24bit);
  Fill(target, kBackground, RECT{0, 0, 10, 10});
  DrawBGbmp(target.Canvas(), RECT{1, 1, 5, 4}, src, RECT{0, 0, 3, 2});
  EXPECT_EQ(At(target, 2, 1), RGB(70, 80, 90));
  EXPECT_EQ(At(target, 5, 3), RGB(70, 80, 90));  // the second tile column starts at 4
  EXPECT_EQ(At(target, 6, 4), RGB(5, 5, 5));    // not clipped to the target
  EXPECT_EQ(At(target, 7, 1), kBackground);
  DrawBGbmp(target.Canvas(), RECT{0, 0, 10, 10}, src, RECT{2, 0, 1, 2});  // inverted source: nothing
  EXPECT_EQ(At(target, 0, 0), kBackground);
}

TEST(Primitives, TranmapKeysOnTheExactColourOnly) {
  TBitmap src(3, 1, TPixelFormat::pf24bit);
  SetPixelV(src.Canvas().Handle(), 0, 0, kSkinKeyColor);
  SetPixelV(src.Canvas().Handle(), 1, 0, RGB(255, 1, 255));
  SetPixelV(src.Canvas().Handle(), 2, 0, RGB(3, 4, 5));
  TBitmap target(3, 1, TPixelFormat::pf24bit);
  Fill(target, kBackground, RECT{0, 0, 3, 1});
  DrawTranmap(target.Canvas().Handle(), RECT{0, 0, 3, 1}, src, kSkinKeyColor);
  EXPECT_EQ(At(target, 0, 0), kBackground);
  EXPECT_EQ(At(target, 1, 0), RGB(255, 1, 255));
  EXPECT_EQ(At(target, 2, 0), RGB(3, 4, 5));
}

TEST(Regions, KeyedPixelsAreLeftOutWithinTheTolerance) {
  TBitmap bmp(4, 2, TPixelFormat::pf24bit);
  Fill(bmp, RGB(30, 30, 30), RECT{0, 0, 4, 2});
  SetPixelV(bmp.Canvas().Handle(), 0, 0, kSkinKeyColor);
  SetPixelV(bmp.Canvas().Handle(), 1, 0, RGB(255, 6, 255));  // within a tolerance of 8
  SetPixelV(bmp.Canvas().Handle(), 3, 1, RGB(250, 0, 255));  // below the key: opaque
  auto rgn = BitmapToRegion(bmp, 10, 20, kSkinKeyColor, 8, 8, 8);
  ASSERT_TRUE(rgn);
  EXPECT_FALSE(PtInRegion(rgn.Get(), 10, 20));
  EXPECT_FALSE(PtInRegion(rgn.Get(), 11, 20));
  EXPECT_TRUE(PtInRegion(rgn.Get(), 12, 20));
  EXPECT_TRUE(PtInRegion(rgn.Get(), 13, 21));
  EXPECT_FALSE(PtInRegion(rgn.Get(), 14, 21));
  EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(Regions, AllKeyGivesEmptyNoKeyGivesTheFullOffsetRectangle) {
  TBitmap keyed(5, 5, TPixelFormat::pf24bit);
  Fill(keyed, kSkinKeyColor, RECT{0, 0, 5, 5});
  RECT box{};
  auto empty = BitmapToRegion(keyed, 0, 0, kSkinKeyColor, 0, 0, 0);
  EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);
  TBitmap solid(5, 3, TPixelFormat::pf24bit);
  auto full = BitmapToRegion(solid, 7, 9, kSkinKeyColor, 0, 0, 0);
  EXPECT_EQ(GetRgnBox(full.Get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 7);
  EXPECT_EQ(box.top, 9);
  EXPECT_EQ(box.right, 12);
  EXPECT_EQ(box.bottom, 12);
}

TEST(Regions, ManyRunsAreBatchedWithoutLosingAny) {
  // A checkerboard of single pixels: 60 x 100 / 2 = 3000 runs, more than one batch.
  TBitmap board(60, 100, TPixelFormat::pf24bit);
  Fill(board, kSkinKeyColor, RECT{0, 0, 60, 100});
  for (int y = 0; y < 100; ++y)
    for (int x = (y & 1); x < 60; x += 2) SetPixelV(board.Canvas().Handle(), x, y, RGB(0, 0, 0));
  auto rgn = BitmapToRegion(board, 0, 0, kSkinKeyColor, 0, 0, 0);
  int inside = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool opaque = ((x + y) & 1) == 0;
      ASSERT_EQ(PtInRegion(rgn.Get(), x, y) != FALSE, opaque) << x << "," << y;
      inside += opaque;
    }
  EXPECT_EQ(inside, 3000);
}

}  // namespace
}  // namespace bw::skin

namespace bw::skin {
namespace {

// A parent painting a left half red and a right half green.
class THalves : public win::TCustomControl {
 public:
  explicit THalves(core::TComponent* owner) : win::TCustomControl(owner) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    const RECT r = ClientRect();
    Canvas().Brush().SetColor(RGB(255, 0, 0));
    Canvas().FillRect(RECT{0, 0, r.right / 2, r.bottom});
    Canvas().Brush().SetColor(RGB(0, 255, 0));
    Canvas().FillRect(RECT{r.right / 2, 0, r.right, r.bottom});
  }
};

TEST(ParentImage, TheParentPaintsWhatLiesBehindTheControl) {
  auto form = std::make_unique<win::TForm>(nullptr);
  form->SetBounds(0, 0, 200, 150);
  auto* parent = new THalves(form.get());
  parent->SetBounds(0, 0, 100, 50);
  parent->SetParent(form.get());
  auto* child = new win::TCustomControl(form.get());
  child->SetBounds(40, 10, 20, 20);  // straddles the middle at x = 50
  child->SetParent(parent);
  form->HandleNeeded();
  TBitmap target(20, 20, TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  POINT originBefore;
  GetViewportOrgEx(dc, &originBefore);
  DrawParentImage(*child, dc, true);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));    // parent x 40
  EXPECT_EQ(GetPixel(dc, 9, 19), RGB(255, 0, 0));   // parent x 49
  EXPECT_EQ(GetPixel(dc, 10, 0), RGB(0, 255, 0));   // parent x 50
  POINT originAfter;
  GetViewportOrgEx(dc, &originAfter);
  EXPECT_EQ(originAfter.x, originBefore.x);
  EXPECT_GE(parent->Paints, 1);
  win::TCustomControl orphan(nullptr);
  DrawParentImage(orphan, dc, true);  // no parent: nothing, no failure
}

}  // namespace
}  // namespace bw::skin
