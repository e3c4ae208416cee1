// The skinned frame on real windows: set-up, sizes, painting, region, hit tests, caption
// buttons, window commands, MDI rules, system dialogs, unskinning and skin changes.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/window/SkinMessages.h"
#include "tests/skin/window/SkinWindowTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

TEST(Frame, TheMainFormWearsTheSkin) {
  TSkinnedApp app;
  const int clientW = app.Form().ClientWidth(), clientH = app.Form().ClientHeight();
  TLacquerForm* frame = app.ShowSkinned(app.Form());
  ASSERT_NE(frame, nullptr);
  HWND h = app.Form().Handle();
  EXPECT_EQ(SendMessageW(h, SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(app.Form().ClientWidth(), clientW);
  EXPECT_EQ(app.Form().ClientHeight(), clientH);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-main.png"), ScreenRectOf(h, 10));
}

}  // namespace
}  // namespace bw::skin::test
