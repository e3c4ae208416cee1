// The painter base on real controls: taking over and giving back (framework chain and
// bare window procedure), switching painting off and on, the end of a window, re-created
// windows, property access by name, and its drawing routines on memory bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Buttons.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/controls/PaintersTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

class ControlBaseTest : public ::testing::Test {
 protected:
  TPaintersApp FApp;
  TPaintersForm& Form() { return FApp.Form(); }

  win::TButton* NewButton(const std::string& caption, int top) {
    auto* button = new win::TButton(&Form());
    button->SetParent(&Form());
    button->SetBounds(16, top, 90, 28);
    button->SetCaption(caption);
    button->HandleNeeded();
    return button;
  }
};

TEST_F(ControlBaseTest, TakingOverAFrameworkControlAndGivingItBackLeavesAnEarlierHandlerOnTop) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  win::TButton* button = NewButton("Later", 200);
  std::vector<UINT> seen;
  win::TWindowProcHook recorder;
  recorder = button->WindowProc.Replace([&](win::TMessage& m) {
    seen.push_back(m.Msg);
    recorder->CallPrevious(m);
  });
  auto* painter = new TSkinButton(button);
  painter->Init(frame, &FApp.Data(), &frame->FCanvas2, false);
  painter->Init(frame, &FApp.Data(), &frame->FCanvas2, true);  // a second Init changes nothing
  EXPECT_EQ(button->WindowProc.Depth(), 2);
  EXPECT_FALSE(painter->FParentBK);
  EXPECT_EQ(painter->FStatus, kPainterAttached);
  EXPECT_NE(PainterOf(*frame, *button), nullptr);

  seen.clear();
  EXPECT_EQ(SendMessageW(button->Handle(), SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_TRUE(std::find(seen.begin(), seen.end(), SKIN_MSG_QUERY) == seen.end()) << "the query reached the control";

  delete painter;
  EXPECT_TRUE(button->WindowProc.OnTop(recorder));
  EXPECT_EQ(button->WindowProc.Depth(), 1);
  EXPECT_EQ(PainterOf(*frame, *button), nullptr);
  EXPECT_EQ(SendMessageW(button->Handle(), SKIN_MSG_QUERY, 0, 0), 0);
  EXPECT_TRUE(std::find(seen.begin(), seen.end(), SKIN_MSG_QUERY) != seen.end());
  button->WindowProc.Restore(recorder);
}

WNDPROC gPreviousProc = nullptr;
std::vector<UINT>* gRecorded = nullptr;
LRESULT CALLBACK RecordingProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
  if (gRecorded) gRecorded->push_back(msg);
  return CallWindowProcW(gPreviousProc, window, msg, w, l);
}

TEST_F(ControlBaseTest, TakingOverABareWindowAndGivingItBackRestoresItsProcedure) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  HWND bare = CreateWindowExW(0, L"BUTTON", L"Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 16, 200, 90, 28,
                              Form().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bare, nullptr);
  std::vector<UINT> seen;
  gRecorded = &seen;
  gPreviousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(bare, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
  auto* painter = new TSkinButton(nullptr);
  painter->Inithwnd(bare, &FApp.Data(), &frame->FCanvas2, frame);
  EXPECT_NE(GetWindowLongPtrW(bare, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
  EXPECT_EQ(painter->FCaption, L"Bare");
  EXPECT_EQ(SendMessageW(bare, SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(PainterOfWindow(*frame, bare), painter);

  delete painter;
  EXPECT_EQ(GetWindowLongPtrW(bare, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
  EXPECT_EQ(PainterOfWindow(*frame, bare), nullptr);
  seen.clear();
  SendMessageW(bare, SKIN_MSG_QUERY, 0, 0);
  EXPECT_EQ(seen, std::vector<UINT>{SKIN_MSG_QUERY});
  SetWindowLongPtrW(bare, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPreviousProc));
  gRecorded = nullptr;
  DestroyWindow(bare);
}

TEST_F(ControlBaseTest, EnableZeroHandsPaintingBackWithoutReleasingAndOneRepaintsSkinnedAtOnce) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  HWND b = Form().Button1->Handle();
  TSkinControl* painter = PainterOf(*frame, *Form().Button1);
  ASSERT_NE(painter, nullptr);
  TDataSkinButton& skin = *FApp.Data().Buttons;
  EXPECT_NE(ShownFace(b, skin), 0) << "skinned before";

  SendMessageW(b, SKIN_MSG_ENABLE, 0, 0);
  EXPECT_FALSE(painter->FPaintActive);
  RedrawWindow(b, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(WaitForFace(b, skin, 0), 0) << "the system paints it again";
  EXPECT_EQ(PainterOf(*frame, *Form().Button1), painter) << "still listed";
  EXPECT_EQ(SendMessageW(b, SKIN_MSG_QUERY, 0, 0), 0) << "while off, messages go to the control";

  InvalidateRect(b, nullptr, TRUE);
  SendMessageW(b, SKIN_MSG_ENABLE, 1, 0);
  EXPECT_FALSE(GetUpdateRect(b, nullptr, FALSE)) << "repainted within the message";
  int face = 0;
  bw::test::PumpUntil([&] { return (face = ShownFace(b, skin)) != 0; });
  EXPECT_NE(face, 0);
  EXPECT_EQ(SendMessageW(b, SKIN_MSG_QUERY, 0, 0), 1);
}

TEST_F(ControlBaseTest, WindowEndLeavesTheStatusDestroyedAfterThePreviousHandlerSawIt) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  win::TButton* button = NewButton("Doomed", 200);
  TSkinButton* painter = nullptr;
  std::int32_t statusWhenSeen = -1;
  win::TWindowProcHook recorder;
  recorder = button->WindowProc.Replace([&](win::TMessage& m) {
    if (m.Msg == WM_NCDESTROY && painter) statusWhenSeen = painter->FStatus;
    recorder->CallPrevious(m);
  });
  painter = new TSkinButton(button);
  painter->Init(frame, &FApp.Data(), &frame->FCanvas2, false);
  button->DestroyHandle();
  EXPECT_EQ(statusWhenSeen, kPainterAttached);
  EXPECT_EQ(painter->FStatus, kPainterDestroyed);
  EXPECT_FALSE(painter->FPaintActive);
  EXPECT_TRUE(button->WindowProc.OnTop(recorder)) << "the painter let the chain go";
  frame->PurgeControls();
  EXPECT_EQ(PainterOf(*frame, *button), nullptr);
  button->WindowProc.Restore(recorder);
}

TEST_F(ControlBaseTest, ARecreatedWindowKeepsItsPainter) {
  TLacquerForm* frame = FApp.Show();
  ASSERT_NE(frame, nullptr);
  win::TButton* button = Form().Button1;
  TSkinControl* painter = PainterOf(*frame, *button);
  ASSERT_NE(painter, nullptr);
  const HWND before = button->Handle();
  button->SetDefault(true);  // the framework re-creates the window for the new style
  ASSERT_NE(button->Handle(), before);
  EXPECT_EQ(painter->FStatus, kPainterAttached);
  EXPECT_EQ(painter->FHandle, button->Handle());
  EXPECT_EQ(SendMessageW(button->Handle(), SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(WaitForFace(button->Handle(), *FApp.Data().Buttons, kFrameFocused), kFrameFocused);
}

TEST_F(ControlBaseTest, PropertiesByNameAndWhatAMissingOneReads) {
  TPaintersForm& f = Form();
  EXPECT_EQ(TSkinControl::GetIntProperty(f.BitBtn1, "Margin"), -1);
  EXPECT_EQ(TSkinControl::FindIntProperty(f.BitBtn1, "Margin"), std::optional<std::int32_t>(-1));
  EXPECT_EQ(TSkinControl::GetIntProperty(f.Button1, "Margin"), -1);
  EXPECT_EQ(TSkinControl::FindIntProperty(f.Button1, "margin"), std::nullopt) << "missing, not automatic";
  EXPECT_EQ(TSkinControl::GetIntProperty(f.BitBtn1, "Caption"), -1) << "not an integer";
  EXPECT_EQ(TSkinControl::GetIntProperty(nullptr, "Tag"), -1);
  EXPECT_EQ(TSkinControl::GetEnumProperty(f.BitBtn1, "Layout"), "blGlyphLeft");
  EXPECT_EQ(TSkinControl::GetEnumProperty(f.Button1, "Layout"), "");
  EXPECT_EQ(TSkinControl::GetEnumProperty(f.BitBtn2, "enabled"), "False");
  EXPECT_EQ(TSkinControl::GetProperty(f.BitBtn1, "NumGlyphs"), "1");
  EXPECT_EQ(TSkinControl::GetProperty(f.Button1, "Caption"), "") << "strings are read with GetStringProp";
  EXPECT_EQ(TSkinControl::GetStringProp(f.Button1, "Caption"), L"Press");
  EXPECT_EQ(TSkinControl::GetStringProp(f.Button1, "NoSuch"), L"");
  EXPECT_NE(TSkinControl::GetObjProp(f.BitBtn1, "Glyph", &win::TBitmap::kClass), nullptr);
  EXPECT_EQ(TSkinControl::GetObjProp(f.BitBtn1, "Glyph", &win::TFont::kClass), nullptr);
  EXPECT_EQ(TSkinControl::GetObjProp(f.Button1, "Glyph", &win::TBitmap::kClass), nullptr);
  EXPECT_NE(TSkinControl::GetObjMethod(f.Button1, "OnClick"), nullptr);
  EXPECT_EQ(TSkinControl::GetObjMethod(f.Button1, "OnNothing"), nullptr);

  TSkinControl::SetProperty(f.Label1, "Transparent", "True");
  EXPECT_TRUE(f.Label1->Transparent());
  TSkinControl::SetProperty(f.BitBtn1, "Spacing", "7");
  EXPECT_EQ(f.BitBtn1->Spacing(), 7);
  TSkinControl::SetProperty(f.Button1, "Caption", "Changed");  // strings are not written this way
  EXPECT_EQ(f.Button1->Caption(), "Press");
  TSkinControl::SetProperty(f.Button1, "Flat", "True");  // missing: ignored
}

TEST(ControlBaseDrawing, StringReplaceTouchesTheFirstOccurrenceOnly) {
  EXPECT_EQ(TSkinControl::StringReplaceW(L"a||b||c", L"||", L"\r\n"), L"a\r\nb||c");
  EXPECT_EQ(TSkinControl::StringReplaceW(L"plain", L"||", L"\r\n"), L"plain");
  EXPECT_EQ(TSkinControl::StringReplaceW(L"x", L"", L"y"), L"x");
}

// A skin object of three 8 x 8 frames, each a flat colour with a magenta top-left pixel.
std::unique_ptr<TDataSkinObject> ThreeFrames(std::int32_t trans) {
  auto object = std::make_unique<TDataSkinObject>("Test");
  object->Bitmap.SetPixelFormat(win::TPixelFormat::pf24bit);
  object->Bitmap.SetSize(24, 8);
  const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
  for (int f = 0; f < 3; ++f) {
    win::TBrushHandle brush(CreateSolidBrush(colours[f]));
    RECT r{f * 8, 0, f * 8 + 8, 8};
    FillRect(object->Bitmap.Canvas().Handle(), &r, brush.Get());
    SetPixelV(object->Bitmap.Canvas().Handle(), f * 8, 0, RGB(255, 0, 255));
  }
  object->Frame = 3;
  object->Trans = trans;
  object->Margins = RECT{2, 2, 2, 2};
  return object;
}

TEST(ControlBaseDrawing, SkinMapKeysMagentaOnlyWhenTransIsOneAndAnInvertedRectangleDrawsNothing) {
  TSkinControl painter(nullptr);
  win::TBitmap target(40, 20, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  win::TBrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
  RECT all{0, 0, 40, 20};
  FillRect(dc, &all, white.Get());
  auto keyed = ThreeFrames(1);
  painter.DrawSkinMap(dc, RECT{0, 0, 20, 20}, *keyed, 2, 3);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "the key pixel lets the white through";
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 200, 0));
  auto opaque = ThreeFrames(0);
  painter.DrawSkinMap(dc, RECT{20, 0, 40, 20}, *opaque, 3, 3);
  EXPECT_EQ(GetPixel(dc, 20, 0), RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(dc, 30, 10), RGB(0, 0, 200));
  FillRect(dc, &all, white.Get());
  painter.DrawSkinMap(dc, RECT{30, 10, 10, 5}, *keyed, 1, 3);
  painter.DrawSkinMap1(dc, RECT{30, 10, 10, 5}, keyed->Bitmap, 1, 3);
  for (int x = 0; x < 40; x += 3)
    for (int y = 0; y < 20; y += 3) ASSERT_EQ(GetPixel(dc, x, y), RGB(255, 255, 255)) << x << "," << y;
}

TEST(ControlBaseDrawing, ComposedImagesAreSharedPerStateAndSizeAndFollowANewSkinBitmap) {
  TSkinImageCache cache;
  auto object = ThreeFrames(1);
  auto compose = [&](int frame, int w) {
    return cache.Compose(object->Bitmap, object->Margins, false, frame, 3, w, 20, true);
  };
  TKeyedImage* first = compose(1, 30);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(compose(1, 30), first);
  EXPECT_NE(compose(2, 30), first);
  EXPECT_EQ(cache.Size(), 2u);
  for (int w = 1; w <= 200; ++w) compose(1, w);
  EXPECT_EQ(cache.Size(), TSkinImageCache::kMaxEntries);
  object->Bitmap.SetPixelFormat(win::TPixelFormat::pf32bit);  // a new bitmap handle: composed again
  TKeyedImage* again = compose(1, 20);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(compose(1, 20), again);
  EXPECT_EQ(compose(1, 0), nullptr);
  // Drawn: the key pixel lets the ground through, the rest is the frame's colour.
  win::TBitmap target(20, 20, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  win::TBrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, white.Get());
  again->Draw(dc, 0, 0);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(200, 0, 0));
}

TEST(ControlBaseDrawing, FontIsRebuiltOnlyWhenItsDescriptionChanges) {
  win::TFont target, source;
  source.SetName("Tahoma");
  source.SetHeight(-13);
  AssignFontIfChanged(target, source);
  const HFONT made = target.Handle();
  source.SetColor(win::clRed);
  AssignFontIfChanged(target, source);
  EXPECT_EQ(target.Handle(), made);
  EXPECT_EQ(target.Color(), win::clRed);
  source.SetStyle(core::TFontStyles{core::TFontStyle::fsBold});
  AssignFontIfChanged(target, source);
  EXPECT_TRUE(target.Style().Contains(core::TFontStyle::fsBold));
}

TEST(ControlBaseDrawing, FocusRectangleStaysInsideTheRectangleAndArrowsDrawByKind) {
  TSkinControl painter(nullptr);
  win::TBitmap target(60, 20, win::TPixelFormat::pf24bit);
  HDC dc = target.Canvas().Handle();
  RECT all{0, 0, 60, 20};
  win::TBrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
  FillRect(dc, &all, white.Get());
  painter.FCaption = L"A caption far too long to fit";
  painter.DrawFocus(dc, L"", RECT{5, 4, 55, 16}, DT_CENTER | DT_SINGLELINE);
  int left = 60, right = -1, top = 20, bottom = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x)
      if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
  EXPECT_EQ(left, 5);
  EXPECT_EQ(right, 54);
  EXPECT_GE(top, 4);
  EXPECT_LE(bottom, 15);

  win::TCanvas canvas(dc);
  for (int kind = 0; kind < 4; ++kind) {
    FillRect(dc, &all, white.Get());
    TSkinControl::DrawArrow(canvas, 30, 10, kind);
    EXPECT_NE(GetPixel(dc, 30, kind == 1 ? 13 : 10), RGB(255, 255, 255)) << "kind " << kind;
  }
  FillRect(dc, &all, white.Get());
  TSkinControl::DrawArrow(canvas, 30, 10, 7);
  for (int x = 20; x < 40; ++x)
    for (int y = 0; y < 20; ++y) ASSERT_EQ(GetPixel(dc, x, y), RGB(255, 255, 255));
  canvas.SetHandle(nullptr);
}

}  // namespace
}  // namespace bw::skin::test
