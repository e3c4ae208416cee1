// Canvas, bitmap and GDI owner behaviour, pixel-exact on memory bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "framework/win/Bitmap.h"
#include "framework/win/Canvas.h"
#include "framework/win/GdiHandles.h"

namespace bw::win {
namespace {

COLORREF PixelAt(TBitmap& bmp, int x, int y) { return GetPixel(bmp.Canvas().Handle(), x, y); }

void Fill(TBitmap& bmp, TColor color, RECT rc) {
  bmp.Canvas().Brush().SetColor(color);
  bmp.Canvas().FillRect(rc);
}

TEST(GdiOwners, SelectGuardPutsThePreviousObjectBack) {
  TMemoryDC dc(nullptr);
  ASSERT_TRUE(dc);
  HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
  {
    TSelectGuard select(dc.Get(), red.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), red.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), before);
  // Deselected, so the owner can delete it.
  EXPECT_TRUE(DeleteObject(red.Release()));
}

TEST(GdiOwners, SaveDCGuardRestoresAttributes) {
  TMemoryDC dc(nullptr);
  SetTextColor(dc.Get(), RGB(1, 2, 3));
  SetBkMode(dc.Get(), OPAQUE);
  {
    TSaveDCGuard saved(dc.Get());
    SetTextColor(dc.Get(), RGB(9, 9, 9));
    SetBkMode(dc.Get(), TRANSPARENT);
  }
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc.Get()), OPAQUE);
}

TEST(GdiOwners, MovedOwnerDeletesOnce) {
  TPenHandle a(CreatePen(PS_SOLID, 1, 0));
  HPEN raw = a.Get();
  TPenHandle b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(b.Get(), raw);
  b.Reset();
  EXPECT_EQ(GetObjectType(raw), 0u);  // deleted
}

TEST(Canvas, HandsTheDCBackAsItFoundIt) {
  TMemoryDC dc(nullptr);
  HGDIOBJ font = GetCurrentObject(dc.Get(), OBJ_FONT);
  HGDIOBJ brush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  HGDIOBJ pen = GetCurrentObject(dc.Get(), OBJ_PEN);
  SetTextColor(dc.Get(), RGB(7, 8, 9));
  SetBkMode(dc.Get(), TRANSPARENT);
  {
    TCanvas canvas(dc.Get());
    canvas.Font().SetColor(clRed);
    canvas.Brush().SetColor(clBlue);
    canvas.Rectangle(0, 0, 4, 4);
    canvas.Font().SetHeight(-20);  // a change while selected must not leak the old font
    canvas.TextOut(0, 0, "x");
    EXPECT_NE(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen);
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(7, 8, 9));
  EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT);
}

TEST(Bitmap, ScanLinesAreTopDownInBlueGreenRedOrder) {
  TBitmap bmp(3, 2, TPixelFormat::pf24bit);
  Fill(bmp, RGB(10, 20, 30), RECT{0, 0, 3, 2});
  bmp.Canvas().SetPixel(2, 0, RGB(200, 100, 50));
  EXPECT_EQ(bmp.BytesPerScanLine(), 12);  // 9 bytes padded to a word
  auto* top = static_cast<const std::uint8_t*>(bmp.ScanLine(0));
  auto* bottom = static_cast<const std::uint8_t*>(bmp.ScanLine(1));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top[0], 30);
  EXPECT_EQ(top[1], 20);
  EXPECT_EQ(top[2], 10);
  EXPECT_EQ(top[6], 50);
  EXPECT_EQ(top[7], 100);
  EXPECT_EQ(top[8], 200);
  EXPECT_EQ(bottom[6], 30);
  EXPECT_EQ(bmp.ScanLine(2), nullptr);
}

TEST(Bitmap, ResizeKeepsTheTopLeftPicture) {
  TBitmap bmp(4, 4, TPixelFormat::pf32bit);
  Fill(bmp, clRed, RECT{0, 0, 4, 4});
  Fill(bmp, clLime, RECT{0, 0, 1, 1});
  bmp.SetSize(6, 3);
  EXPECT_EQ(bmp.Width(), 6);
  EXPECT_EQ(PixelAt(bmp, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(bmp, 3, 2), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(bmp, 5, 0), RGB(0, 0, 0));
  bmp.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(PixelAt(bmp, 0, 0), RGB(0, 255, 0));
}

TEST(Bitmap, TransparentDrawKeepsTheDestinationUnderTheKeyColour) {
  TBitmap sprite(4, 1, TPixelFormat::pf24bit);
  Fill(sprite, RGB(255, 0, 255), RECT{0, 0, 4, 1});
  sprite.Canvas().SetPixel(1, 0, RGB(12, 34, 56));
  sprite.Canvas().SetPixel(2, 0, RGB(254, 0, 255));  // near the key is not the key
  sprite.SetTransparent(true);
  sprite.SetTransparentColor(clFuchsia);

  TBitmap target(6, 2, TPixelFormat::pf24bit);
  Fill(target, RGB(0, 0, 200), RECT{0, 0, 6, 2});
  target.Canvas().Draw(1, 1, sprite);
  EXPECT_EQ(PixelAt(target, 1, 1), RGB(0, 0, 200));
  EXPECT_EQ(PixelAt(target, 2, 1), RGB(12, 34, 56));
  EXPECT_EQ(PixelAt(target, 3, 1), RGB(254, 0, 255));
  EXPECT_EQ(PixelAt(target, 4, 1), RGB(0, 0, 200));
  EXPECT_EQ(PixelAt(target, 2, 0), RGB(0, 0, 200));
}

TEST(Bitmap, AutomaticKeyIsTheBottomLeftPixel) {
  TBitmap sprite(2, 2, TPixelFormat::pf32bit);
  Fill(sprite, RGB(1, 2, 3), RECT{0, 0, 2, 2});
  sprite.Canvas().SetPixel(0, 1, RGB(40, 50, 60));
  sprite.Canvas().SetPixel(1, 0, RGB(40, 50, 60));
  EXPECT_EQ(static_cast<COLORREF>(sprite.TransparentColor()), RGB(40, 50, 60));
  sprite.SetTransparent(true);
  TBitmap target(2, 2, TPixelFormat::pf32bit);
  Fill(target, clWhite, RECT{0, 0, 2, 2});
  target.Canvas().Draw(0, 0, sprite);
  EXPECT_EQ(PixelAt(target, 1, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(target, 0, 0), RGB(1, 2, 3));
}

TEST(Bitmap, StretchDrawReplicatesPixels) {
  TBitmap src(2, 1, TPixelFormat::pf24bit);
  src.Canvas().SetPixel(0, 0, RGB(255, 0, 0));
  src.Canvas().SetPixel(1, 0, RGB(0, 0, 255));
  TBitmap dst(4, 2, TPixelFormat::pf24bit);
  dst.Canvas().StretchDraw(RECT{0, 0, 4, 2}, src);
  EXPECT_EQ(PixelAt(dst, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(dst, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(dst, 2, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(dst, 3, 1), RGB(0, 0, 255));
}

TEST(Bitmap, HandleTakenAwayAndGivenBackKeepsPixelsWrittenMeanwhile) {
  TBitmap bmp(2, 2, TPixelFormat::pf24bit);
  HBITMAP handle = bmp.ReleaseHandle();
  EXPECT_EQ(bmp.Width(), 0);
  ASSERT_NE(handle, nullptr);
  // Two bottom-up rows of 24-bit pixels, as a decoder hands them over.
  const std::uint8_t rows[2][8] = {{0, 0, 255, 0, 255, 0, 0, 0}, {255, 0, 0, 255, 255, 255, 0, 0}};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = 2;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  TWindowDC screen(nullptr);
  EXPECT_EQ(SetDIBits(screen.Get(), handle, 0, 2, rows, &info, DIB_RGB_COLORS), 2);
  bmp.SetHandle(handle);
  EXPECT_EQ(bmp.Width(), 2);
  EXPECT_EQ(PixelAt(bmp, 0, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(bmp, 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(bmp, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(bmp, 1, 0), RGB(255, 255, 255));
}

TEST(Bitmap, DeviceBitmapIsAdoptedAsASection) {
  TWindowDC screen(nullptr);
  HBITMAP device = CreateCompatibleBitmap(screen.Get(), 3, 3);
  {
    TMemoryDC dc(screen.Get());
    TSelectGuard select(dc.Get(), device);
    RECT rc{0, 0, 3, 3};
    TBrushHandle green(CreateSolidBrush(RGB(0, 128, 0)));
    FillRect(dc.Get(), &rc, green.Get());
  }
  TBitmap bmp;
  bmp.SetHandle(device);
  EXPECT_EQ(bmp.Height(), 3);
  EXPECT_NE(bmp.ScanLine(0), nullptr);
  EXPECT_EQ(PixelAt(bmp, 2, 2), RGB(0, 128, 0));
}

TEST(Bitmap, IndexedColourTableRoundTrips) {
  TBitmap bmp(8, 1, TPixelFormat::pf4bit);
  RGBQUAD colors[16] = {};
  colors[3] = RGBQUAD{9, 8, 7, 0};
  bmp.SetColorTable(colors);
  auto* row = static_cast<std::uint8_t*>(bmp.ScanLine(0));
  row[0] = 0x30;  // first pixel index 3
  EXPECT_EQ(PixelAt(bmp, 0, 0), RGB(7, 8, 9));
  EXPECT_EQ(bmp.ColorTable().at(3).rgbBlue, 9);
}

TEST(Bitmap, RepeatedDrawingLeaksNoGdiObjects) {
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (before == 0) GTEST_SKIP() << "GetGuiResources is not implemented here";
  TBitmap sprite(8, 8, TPixelFormat::pf24bit);
  sprite.SetTransparent(true);
  for (int i = 0; i < 300; ++i) {
    TBitmap target(16, 16, TPixelFormat::pf24bit);
    target.Canvas().Font().SetHeight(-10 - i % 5);
    target.Canvas().TextOut(0, 0, "Brindlewick");
    target.Canvas().StretchDraw(RECT{0, 0, 16, 16}, sprite);
  }
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
}

}  // namespace
}  // namespace bw::win
