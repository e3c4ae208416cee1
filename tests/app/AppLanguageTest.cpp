// The program's start under each stored language, driven from outside: the texts it
// shows, the language window and what it leaves in the registry.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/app/AppHarness.h"
#include "tests/support/WinTestSupport.h"
#include "tools/driver/LanguageValue.h"

namespace bw::app::test {
namespace {

using driver::TStoredValue;

constexpr COLORREF kFuchsia = RGB(255, 0, 255);
constexpr COLORREF kOvalYellow = RGB(248, 249, 145);
// The program's skin: its query message, its face colour and its buttons' outer line.
constexpr UINT kSkinQuery = 0x3523;
constexpr COLORREF kSkinFace = RGB(243, 235, 211);
constexpr COLORREF kSkinButtonEdge = RGB(122, 92, 62);

class AppLanguageTest : public ::testing::Test {
 protected:
  void StartApp(bool waitMain = true) {
    std::string error;
    ASSERT_TRUE(FApp.Start(error, waitMain)) << error;
  }
  HWND LanguageWindow(unsigned timeoutMs = driver::kDefaultWaitMs) {
    return driver::WaitTopWindow(FApp.Pid(), L"TForm2", timeoutMs);
  }

  driver::TLanguageKeyGuard FGuard;
  TAppSession FApp;
};

RECT InParent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectBounds(HWND child, int left, int top, int width, int height) {
  const RECT r = InParent(child);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST_F(AppLanguageTest, MainWindowLayoutAndTabOrder) {
  ASSERT_TRUE(driver::WriteLanguage("EN"));
  ASSERT_NO_FATAL_FAILURE(StartApp());
  // The description's 494 x 360 is the size with the system's frame; the skinned frame keeps
  // that client area and puts its own borders (4 px, a 26 px caption) round it.
  RECT system{0, 0, 0, 0};
  AdjustWindowRectEx(&system, WS_OVERLAPPEDWINDOW, FALSE, 0);
  // The frame finishes its set-up from a posted message: wait until the client sits in it.
  EXPECT_TRUE(driver::WaitUntil([&] {
    RECT window{};
    GetWindowRect(FApp.Main(), &window);
    POINT origin{0, 0};
    ClientToScreen(FApp.Main(), &origin);
    return origin.x - window.left == 4 && origin.y - window.top == 26;
  }));
  RECT client{};
  RECT frame{};
  // The skinned frame takes over after the window shows: wait for its borders.
  driver::WaitUntil([&] {
    GetClientRect(FApp.Main(), &client);
    GetWindowRect(FApp.Main(), &frame);
    return frame.bottom - frame.top == client.bottom + 26 + 4;
  });
  EXPECT_EQ(client.right, 494 - (system.right - system.left));
  EXPECT_EQ(client.bottom, 360 - (system.bottom - system.top));
  EXPECT_EQ(frame.right - frame.left, client.right + 4 + 4);
  EXPECT_EQ(frame.bottom - frame.top, client.bottom + 26 + 4);
  // Centred as made; the skinned frame then grows from the top-left corner.
  EXPECT_LE(std::abs(frame.left + 494 / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs(frame.top + 360 / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);

  // Tab order is window order: Load, progress bar, panel, Abort.
  const auto children = driver::ChildWindows(FApp.Main(), {});
  ASSERT_EQ(children.size(), 4u);
  EXPECT_EQ(driver::ClassOf(children[0]), L"TBitBtn");
  EXPECT_EQ(driver::ClassOf(children[1]), L"TProgressBar");
  EXPECT_EQ(driver::ClassOf(children[2]), L"TPanel");
  EXPECT_EQ(driver::ClassOf(children[3]), L"TBitBtn");
  EXPECT_EQ(driver::WindowText(children[0]), "Load");
  EXPECT_TRUE(driver::IsShown(children[0]));
  EXPECT_FALSE(driver::IsShown(children[3])) << "Abort is hidden at start";
  EXPECT_EQ(driver::WindowText(children[3]), "Abort");
  ExpectBounds(children[0], 363, 258, 60, 25);
  ExpectBounds(children[1], 9, 257, 346, 25);
  ExpectBounds(children[2], 9, 9, 415, 244);
  ExpectBounds(children[3], 363, 258, 60, 25);
  // The skin paints the buttons and the progress bar (each answers the skin's query) and
  // gives the preview panel its face colour.
  for (HWND painted : {children[0], children[1], children[3]})
    EXPECT_TRUE(driver::WaitUntil([&] { return SendMessageW(painted, kSkinQuery, 0, 0) == 1; }))
        << driver::WindowText(painted);
  const POINT panelEdge = driver::ClientToScreenPoint(children[2], 1, 122);
  EXPECT_TRUE(driver::WaitUntil([&] { return driver::ScreenPixel(panelEdge.x, panelEdge.y) == kSkinFace; }));
  const POINT loadCorner = driver::ClientToScreenPoint(children[0], 1, 1);
  EXPECT_TRUE(driver::WaitUntil([&] { return driver::ScreenPixel(loadCorner.x, loadCorner.y) == kSkinButtonEdge; }))
      << "the skin's button outline";
  RECT shot = frame;
  InflateRect(&shot, 8, 8);
  EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("app-main.png"), shot));
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppLanguageTest, FirstStartWritesEnglishAndAsksNothing) {
  ASSERT_TRUE(driver::DeleteLanguageKey());
  ASSERT_NO_FATAL_FAILURE(StartApp());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2 b");
  EXPECT_NE(FApp.Button("Load"), nullptr);
  EXPECT_TRUE(driver::TopWindows(FApp.Pid(), L"TForm2").empty());
  const TStoredValue stored = driver::ReadLanguage();
  EXPECT_TRUE(stored.KeyExists);
  EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored.Text, "English");
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppLanguageTest, StoredValuesChooseTheTextsAndStayAsTheyWere) {
  struct TCase {
    const char* Stored;
    const char* Load;
  };
  const TCase cases[] = {{"FR", "Choix"}, {"F", "Choix"}, {"Fran\xC3\xA7" "ais", "Choix"}, {"EN", "Load"},
                         {"English", "Load"}, {"de", "Load"}, {"fr", "Load"}, {"", "Load"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("stored '") + c.Stored + "'");
    ASSERT_TRUE(driver::WriteLanguage(c.Stored));
    ASSERT_NO_FATAL_FAILURE(StartApp());
    EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button(c.Load) != nullptr; }));
    // No error at start, also for the empty value, and no language window.
    EXPECT_FALSE(driver::FindMessageBox(FApp.Pid()).has_value());
    EXPECT_TRUE(driver::TopWindows(FApp.Pid(), L"TForm2").empty());
    EXPECT_EQ(FApp.Close(), 0u);
    EXPECT_EQ(driver::ReadLanguage().Text, c.Stored);
  }
}

TEST_F(AppLanguageTest, ValueOfAnotherTypeReadsEnglishAndIsLeftAlone) {
  ASSERT_TRUE(driver::WriteLanguageDword(70));  // 'F' as a number is no text
  ASSERT_NO_FATAL_FAILURE(StartApp());
  EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Load") != nullptr; }));
  EXPECT_FALSE(driver::FindMessageBox(FApp.Pid()).has_value());
  EXPECT_EQ(FApp.Close(), 0u);
  const TStoredValue stored = driver::ReadLanguage();
  EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(AppLanguageTest, AskingValueShowsTheLanguageWindowAndFrenchIsStoredOnOk) {
  ASSERT_TRUE(driver::WriteLanguage("??"));
  ASSERT_NO_FATAL_FAILURE(StartApp(false));
  HWND window = LanguageWindow();
  ASSERT_NE(window, nullptr);
  HWND ok = driver::FindButton(window, "OK");
  ASSERT_NE(ok, nullptr);
  EXPECT_FALSE(IsWindowEnabled(ok)) << "OK before a choice";
  EXPECT_TRUE(driver::WaitUntil([&] { return SendMessageW(ok, kSkinQuery, 0, 0) == 1; })) << "OK is skinned";
  const auto combos = driver::ChildWindows(window, L"TComboBox");
  ASSERT_EQ(combos.size(), 1u);

  // See-through where the picture is fuchsia (its corners), yellow inside the oval.
  RECT frame{};
  GetWindowRect(window, &frame);
  driver::WaitUntil([&] { return driver::ScreenPixel(frame.left + 250, frame.top + 40) == kOvalYellow; });
  EXPECT_EQ(driver::ScreenPixel(frame.left + 250, frame.top + 40), kOvalYellow);
  EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("app-language.png"), frame));
  for (const POINT corner : {POINT{2, 2}, POINT{497, 2}, POINT{2, 297}, POINT{497, 297}}) {
    EXPECT_NE(driver::ScreenPixel(frame.left + corner.x, frame.top + corner.y), kFuchsia)
        << corner.x << "," << corner.y;
  }

  driver::SelectComboItem(combos.front(), 1);
  EXPECT_TRUE(driver::WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
  driver::Click(ok);
  EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsShown(window); }));
  EXPECT_EQ(driver::ReadLanguage().Text, "FR");
  ASSERT_TRUE(FApp.WaitMain());

  // From then on everything is French: the buttons, the dialog title, the summary.
  EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Choix") != nullptr; }));
  HWND dialog = FApp.ClickLoad();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(driver::WindowText(dialog), "Choix du fichier PPS \xC3\xA0 utiliser");
  {
    RECT dialogRect{};
    GetWindowRect(dialog, &dialogRect);
    driver::WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; });
    bw::test::WaitPainted(dialog);
    // The dialog's push buttons are bare windows taken over by the skin.
    EXPECT_TRUE(driver::WaitUntil([&] {
      for (HWND button : driver::ChildWindows(dialog, L"Button", true))
        if ((GetWindowLongPtrW(button, GWL_STYLE) & 0xF) <= BS_DEFPUSHBUTTON && IsWindowVisible(button) &&
            SendMessageW(button, kSkinQuery, 0, 0) == 1)
          return true;
      return false;
    }));
    EXPECT_TRUE(bw::test::SaveScreenPng(bw::test::ScreenshotPath("app-open-dialog.png"), dialogRect));
  }
  ASSERT_TRUE(driver::CancelDialog(dialog));
  const driver::TMessageBox box = FApp.AnswerBox();
  EXPECT_EQ(box.Text, SummaryNothing(true, ""));
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2");
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppLanguageTest, LanguageWindowEnglishChoiceAndClosingWithoutOk) {
  ASSERT_TRUE(driver::WriteLanguage("??"));
  ASSERT_NO_FATAL_FAILURE(StartApp(false));
  HWND window = LanguageWindow();
  ASSERT_NE(window, nullptr);
  const auto combos = driver::ChildWindows(window, L"TComboBox");
  ASSERT_EQ(combos.size(), 1u);
  driver::SelectComboItem(combos.front(), 0);
  HWND ok = driver::FindButton(window, "OK");
  ASSERT_TRUE(driver::WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
  driver::Click(ok);
  ASSERT_TRUE(FApp.WaitMain());
  EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Load") != nullptr; }));
  EXPECT_EQ(driver::ReadLanguage().Text, "EN");
  EXPECT_EQ(FApp.Close(), 0u);

  // Closed without OK: nothing written, and the window comes again at the next start.
  ASSERT_TRUE(driver::WriteLanguage("??"));
  ASSERT_NO_FATAL_FAILURE(StartApp(false));
  window = LanguageWindow();
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver::WaitUntil([&] { return !driver::IsShown(window); }));
  ASSERT_TRUE(FApp.WaitMain());
  EXPECT_TRUE(driver::WaitUntil([&] { return FApp.Button("Load") != nullptr; }));
  EXPECT_EQ(driver::ReadLanguage().Text, "??");
  EXPECT_EQ(FApp.Close(), 0u);
}

}  // namespace
}  // namespace bw::app::test
