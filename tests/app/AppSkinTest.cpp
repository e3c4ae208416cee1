// `brindlewick.exe --skin FILE` and `--skin none`, driven from outside: the frame the
// windows wear, and what the user is told about a file that is no skin.
#include <gtest/gtest.h>

#include <fstream>

#include "skin/window/SkinMessages.h"
#include "tests/app/AppHarness.h"
#include "tests/support/WinTestSupport.h"
#include "tools/driver/LanguageValue.h"

namespace bw::app::test {
namespace {

// The second skin's outer line, and its borders: left and right 6, a 28 px caption.
constexpr COLORREF kFrostEdge = RGB(0x6F, 0x8B, 0xA8);

POINT ClientOffset(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return POINT{origin.x - frame.left, origin.y - frame.top};
}

bool WaitClientOffset(HWND window, int x, int y) {
  return driver::WaitUntil([&] {
    const POINT p = ClientOffset(window);
    return p.x == x && p.y == y;
  });
}

class AppSkinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(driver::WriteLanguage("EN")); }
  void StartApp(const std::vector<std::string>& args, bool waitMain = true) {
    std::string error;
    ASSERT_TRUE(FApp.Start(error, waitMain, args)) << error;
  }

  driver::TLanguageKeyGuard FGuard;
  TAppSession FApp;
};

TEST_F(AppSkinTest, ASkinFileDressesEveryWindowInIt) {
  ASSERT_NO_FATAL_FAILURE(StartApp({"--skin", driver::ToWindowsPath(BW_FROST_SKIN)}));
  HWND main = FApp.Main();
  EXPECT_TRUE(WaitClientOffset(main, 6, 28));
  EXPECT_EQ(SendMessageW(main, skin::SKIN_MSG_QUERY, 0, 0), 1);
  RECT r{};
  GetWindowRect(main, &r);
  // No transparent border: the corner is the skin's outer line, not cut away.
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left, r.top, kFrostEdge), kFrostEdge);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.right - 1, r.top, kFrostEdge), kFrostEdge);
  EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Load") != nullptr; }));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("app-frost.png"), r);
  // The summary's message box wears it too.
  TScratchFolder scratch;
  ASSERT_TRUE(FApp.Load(scratch.Copy("sample_mixed.ppt")));
  auto box = FApp.Box();
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(WaitClientOffset(box->Handle, 6, 28));
  RECT b{};
  GetWindowRect(box->Handle, &b);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("app-frost-summary.png"), b);
  driver::AnswerMessageBox(*box, IDOK);
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppSkinTest, TheGalleryWearsTheSecondSkin) {
  ASSERT_NO_FATAL_FAILURE(StartApp({"--gallery", "--skin", driver::ToWindowsPath(BW_FROST_SKIN)}, false));
  HWND gallery = driver::WaitTopWindow(FApp.Pid(), L"TGalleryForm");
  ASSERT_NE(gallery, nullptr);
  EXPECT_TRUE(driver::WaitUntil([&] {
    const POINT p = ClientOffset(gallery);
    return p.x == 6 && p.y > 28;  // the caption and the skin's menu band
  }));
  RECT r{};
  GetWindowRect(gallery, &r);
  EXPECT_EQ(bw::test::WaitForScreenPixel(r.left, r.top, kFrostEdge), kFrostEdge);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("app-gallery-frost.png"), r);
  PostMessageW(gallery, WM_CLOSE, 0, 0);
  EXPECT_EQ(FApp.Process().WaitExit(), 0u);
}

TEST_F(AppSkinTest, NoneStartsWithTheSystemsFrame) {
  ASSERT_NO_FATAL_FAILURE(StartApp({"--skin", "none"}));
  HWND main = FApp.Main();
  EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Load") != nullptr; }));
  RECT system{0, 0, 0, 0};
  AdjustWindowRectEx(&system, GetWindowLongPtrW(main, GWL_STYLE), FALSE, GetWindowLongPtrW(main, GWL_EXSTYLE));
  EXPECT_TRUE(WaitClientOffset(main, -system.left, -system.top));
  EXPECT_NE(SendMessageW(main, skin::SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_TRUE(GetWindowLongPtrW(main, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(FApp.Close(), 0u);
}

// Said once, in a message box; then the program's own skin (4 px borders, a 26 px caption).
TEST_F(AppSkinTest, AFileThatIsNoSkinIsReportedOnceAndTheOwnSkinStays) {
  TScratchFolder scratch;
  const std::string garbage = driver::ToWindowsPath(scratch.Utf8() + "/garbage.skin");
  {
    std::ofstream out(scratch.Path() / "garbage.skin", std::ios::binary);
    out << "not a skin at all";
  }
  const std::string missing = driver::ToWindowsPath(scratch.Utf8() + "/missing.skin");
  for (const auto& [file, reason] : {std::pair<std::string, std::string>{garbage, "it is not a skin"},
                                     std::pair<std::string, std::string>{missing, "cannot open the file"}}) {
    ASSERT_NO_FATAL_FAILURE(StartApp({"--skin", file}, false));
    const driver::TMessageBox box = FApp.AnswerBox();
    EXPECT_NE(box.Text.find("The skin file \"" + file + "\" cannot be used: " + reason), std::string::npos) << box.Text;
    EXPECT_NE(box.Text.find("Brindlewick keeps its own skin."), std::string::npos) << box.Text;
    ASSERT_TRUE(FApp.WaitMain());
    EXPECT_TRUE(WaitClientOffset(FApp.Main(), 4, 26)) << file;
    EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Load") != nullptr; }));
    EXPECT_FALSE(driver::FindMessageBox(FApp.Pid()).has_value()) << file << ": said more than once";
    EXPECT_EQ(FApp.Close(), 0u);
  }
}

}  // namespace
}  // namespace bw::app::test
