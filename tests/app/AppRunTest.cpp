// Extraction runs of the program, driven from outside: the open dialog, the folder
// question, the summary, the files written, Abort and closing during a run, the preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>

#include "tests/app/AppHarness.h"
#include "tools/driver/LanguageValue.h"
#include "tools/driver/SourceMaker.h"

namespace bw::app::test {
namespace {

namespace fs = std::filesystem;

class AppRunTest : public ::testing::Test {
 protected:
  void StartApp(const char* language) {
    ASSERT_TRUE(driver::WriteLanguage(language));
    std::string error;
    ASSERT_TRUE(FApp.Start(error)) << error;
  }
  std::string OutputFolderOf(const std::string& source) const {
    return source.substr(0, source.size() - 4);
  }

  driver::TLanguageKeyGuard FGuard;
  TScratchFolder FScratch;
  TAppSession FApp;
};

std::vector<std::string> Expected(std::initializer_list<const char*> names) { return {names.begin(), names.end()}; }

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(AppRunTest, CancelledDialogAtFirstStartShowsTheEmptySummary) {
  StartApp("EN");
  ASSERT_TRUE(FApp.LoadCancelled());
  // The summary box's OK is a bare window the skin takes over.
  const auto shown = driver::WaitMessageBox(FApp.Pid());
  ASSERT_TRUE(shown.has_value());
  EXPECT_TRUE(driver::WaitUntil([&] {
    HWND ok = GetDlgItem(shown->Handle, IDOK);
    return ok && SendMessageW(ok, 0x3523, 0, 0) == 1;  // the skin's query
  }));
  const driver::TMessageBox box = FApp.AnswerBox();
  EXPECT_EQ(box.Text, SummaryNothing(false, ""));
  EXPECT_EQ(box.Buttons, Expected({"OK"}));
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2");
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppRunTest, RunWritesTheFilesAndTheSummaryComesAgainAfterACancel) {
  const std::string source = FScratch.Copy("sample_mixed.ppt");
  const std::string folder = OutputFolderOf(source);
  StartApp("EN");
  ASSERT_TRUE(FApp.Load(source));
  const driver::TMessageBox box = FApp.AnswerBox();
  EXPECT_EQ(box.Text, SummaryFound(false, 3, 1, folder));
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2");
  const auto files = FilesIn(fs::u8path(folder));
  EXPECT_EQ(files, Expected({"sample_mixed_001.jpg", "sample_mixed_001.wav", "sample_mixed_002.png",
                             "sample_mixed_003.png"}));
  EXPECT_EQ(ReadAll(fs::u8path(folder) / "sample_mixed_001.jpg").substr(0, 4), "\xFF\xD8\xFF\xE0");
  EXPECT_EQ(ReadAll(fs::u8path(folder) / "sample_mixed_002.png").substr(0, 4), "\x89PNG");
  EXPECT_EQ(ReadAll(fs::u8path(folder) / "sample_mixed_001.wav").substr(0, 4), "RIFF");

  // Cancelling the next open dialog repeats the last summary.
  ASSERT_TRUE(FApp.LoadCancelled());
  EXPECT_EQ(FApp.AnswerBox().Text, SummaryFound(false, 3, 1, folder));
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppRunTest, ExistingFolderQuestionInFrenchCancelThenOk) {
  const std::string source = FScratch.Copy("sample_mixed.ppt");
  const std::string folder = OutputFolderOf(source);
  fs::create_directory(fs::u8path(folder));
  { std::ofstream(fs::u8path(folder) / "keep.txt") << "mine"; }
  StartApp("FR");

  ASSERT_TRUE(FApp.Load(source));
  driver::TMessageBox question = FApp.AnswerBox(IDCANCEL);
  EXPECT_EQ(question.Text, "Le r\xC3\xA9pertoire\n" + folder +
                               "existe d\xC3\xA9ja.\nLes fichiers qu'il contient risquent d'\xC3\xAAtre "
                               "\xC3\xA9" "cras\xC3\xA9s.\n\nContinuer malgr\xC3\xA9 tout ?");
  EXPECT_EQ(question.Buttons.size(), 2u);
  // Declined: no summary, idle again, nothing written.
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2");
  EXPECT_FALSE(driver::FindMessageBox(FApp.Pid()).has_value());
  EXPECT_EQ(FilesIn(fs::u8path(folder)), Expected({"keep.txt"}));

  ASSERT_TRUE(FApp.Load(source));
  question = FApp.AnswerBox(IDOK);
  EXPECT_EQ(question.Buttons.size(), 2u);
  EXPECT_EQ(FApp.AnswerBox().Text, SummaryFound(true, 3, 1, folder));
  EXPECT_EQ(FilesIn(fs::u8path(folder)).size(), 5u);
  EXPECT_EQ(ReadAll(fs::u8path(folder) / "keep.txt"), "mine");
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppRunTest, FolderThatCannotBeCreatedIsReportedAndTheWindowIsIdleAgain) {
  const std::string source = FScratch.Copy("sample_mixed.ppt");
  // A file where the folder would go: creating the folder fails.
  { std::ofstream(fs::u8path(OutputFolderOf(source))) << "in the way"; }
  StartApp("EN");
  ASSERT_TRUE(FApp.Load(source));
  const driver::TMessageBox box = FApp.AnswerBox();
  EXPECT_EQ(box.Text, "Impossible de cr\xC3\xA9" "er le r\xC3\xA9pertoire.");
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2");
  EXPECT_FALSE(driver::FindMessageBox(FApp.Pid()).has_value()) << "no summary after the error";
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppRunTest, WriteFailureIsShownAsAnErrorThenTheSummary) {
  const std::string source = FScratch.Copy("sample_mixed.ppt");
  const std::string folder = OutputFolderOf(source);
  // A folder where the first picture's file would go: that file cannot be created.
  fs::create_directories(fs::u8path(folder) / "sample_mixed_001.jpg");
  StartApp("EN");
  ASSERT_TRUE(FApp.Load(source));
  EXPECT_EQ(FApp.AnswerBox(IDOK).Buttons.size(), 2u) << "the folder question";
  const driver::TMessageBox error = FApp.AnswerBox();
  EXPECT_EQ(error.Text.rfind("Could not write the file\n" + folder + "\\sample_mixed_001.jpg", 0), 0u) << error.Text;
  EXPECT_EQ(FApp.AnswerBox().Text, SummaryNothing(false, "sample_mixed.ppt"));
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FilesIn(fs::u8path(folder)), std::vector<std::string>{}) << "nothing half written is left";
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppRunTest, NonAsciiSourceNamesGiveFoldersCutByCharacters) {
  const struct {
    const char* source;
    const char* base;
  } cases[] = {{"caf\xC3\xA9.ppt", "caf\xC3\xA9"}, {"vid\xC3\xA9o", "v"}, {"x\xC3\xA9.pp", "x"}, {"No\xC3\xABl", ""}};
  StartApp("EN");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string source = FScratch.Utf8() + "\\" + c.source;
    fs::copy_file(fs::u8path(FixturePath("sample_mixed.ppt")), fs::u8path(source));
    ASSERT_TRUE(FApp.Load(source));
    const std::string folder = FScratch.Utf8() + "\\" + c.base;
    // Four characters leave no base: the folder is the source's own, which exists.
    if (*c.base == '\0') {
      EXPECT_EQ(FApp.AnswerBox(IDOK).Buttons.size(), 2u) << "the folder question";
    }
    EXPECT_EQ(FApp.AnswerBox().Text, SummaryFound(false, 3, 1, folder));
    EXPECT_TRUE(FApp.WaitIdle());
    const auto files = FilesIn(fs::u8path(folder));
    EXPECT_NE(std::find(files.begin(), files.end(), std::string(c.base) + "_001.jpg"), files.end());
  }
  EXPECT_EQ(FApp.Close(), 0u);
}

int CountFrom(const std::string& summary) {
  std::smatch m;
  return std::regex_search(summary, m, std::regex("= (\\d+)")) ? std::stoi(m[1]) : -1;
}

class AppLargeRunTest : public AppRunTest {
 protected:
  void SetUp() override {
    FSource = FScratch.Utf8() + "\\large.ppt";
    driver::TSourcePlan plan;
    plan.TargetBytes = 40u << 20;
    plan.Pictures = 2000;
    plan.PictureWidthPx = 64;
    plan.PictureHeightPx = 48;
    ASSERT_EQ(driver::WriteSyntheticSource(FSource, plan), plan.Pictures);
    FTotal = plan.Pictures;
  }
  // Starts the run and waits until a few pictures are on disk.
  void StartRun() {
    StartApp("EN");
    ASSERT_TRUE(FApp.Load(FSource));
    ASSERT_TRUE(driver::WaitUntil([&] { return FilesIn(fs::u8path(OutputFolderOf(FSource))).size() >= 3; }));
    EXPECT_EQ(FApp.Caption(), FSource);
    EXPECT_NE(FApp.Button("Abort"), nullptr);
    EXPECT_EQ(FApp.Button("Load"), nullptr);
  }

  std::string FSource;
  int FTotal = 0;
};

TEST_F(AppLargeRunTest, AbortStopsTheRunAndTheSummaryCountsWhatWasWritten) {
  StartRun();
  driver::Click(FApp.Button("Abort"));
  const driver::TMessageBox box = FApp.AnswerBox();
  const int pictures = CountFrom(box.Text);
  EXPECT_GE(pictures, 3);
  EXPECT_LT(pictures, FTotal);
  EXPECT_EQ(box.Text, SummaryFound(false, pictures, 0, OutputFolderOf(FSource)));
  EXPECT_EQ(FilesIn(fs::u8path(OutputFolderOf(FSource))).size(), static_cast<size_t>(pictures));
  EXPECT_TRUE(FApp.WaitIdle());
  EXPECT_EQ(FApp.Caption(), "Brindlewick  V1.2");
  EXPECT_EQ(FApp.Close(), 0u);
}

TEST_F(AppLargeRunTest, ClosingDuringARunStopsItFirstAndKeepsTheFiles) {
  StartRun();
  EXPECT_EQ(FApp.Close(), 0u);
  const size_t written = FilesIn(fs::u8path(OutputFolderOf(FSource))).size();
  EXPECT_GE(written, 3u);
  EXPECT_LT(written, static_cast<size_t>(FTotal));
}

// Where Image1 stands on the screen: inside Panel1, 3 pixels from its corner.
POINT PreviewOrigin(HWND main) {
  const auto panels = driver::ChildWindows(main, L"TPanel");
  if (panels.empty()) return POINT{-1, -1};
  return driver::ClientToScreenPoint(panels.front(), 3, 3);
}

struct TPreviewCase {
  int WidthPx, HeightPx;
  int ShownWidthPx, ShownHeightPx;  // the picture scaled into 409 x 238, proportions kept
};

TEST_F(AppRunTest, PreviewScalesThePictureIntoTheAreaAnchoredTopLeft) {
  constexpr COLORREF kRed = RGB(220, 30, 40);
  const TPreviewCase cases[] = {{200, 50, 409, 102}, {50, 200, 59, 238}, {20, 20, 238, 238}};
  StartApp("EN");
  int n = 0;
  for (const TPreviewCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.WidthPx) + "x" + std::to_string(c.HeightPx));
    const std::string source = FScratch.Utf8() + "\\preview" + std::to_string(n++) + ".ppt";
    ASSERT_TRUE(driver::WriteSingleItemSource(source, driver::EncodeSolidPng(c.WidthPx, c.HeightPx, 220, 30, 40)));
    ASSERT_TRUE(FApp.Load(source));
    // The summary comes before the preview is cleared: move it aside and look.
    auto box = FApp.Box();
    ASSERT_TRUE(box.has_value());
    SetWindowPos(box->Handle, nullptr, 0, 900, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const POINT origin = PreviewOrigin(FApp.Main());
    const auto at = [&](int x, int y) { return driver::ScreenPixel(origin.x + x, origin.y + y); };
    driver::WaitUntil([&] { return at(1, 1) == kRed; });
    EXPECT_EQ(at(1, 1), kRed);
    EXPECT_EQ(at(c.ShownWidthPx - 2, 1), kRed);
    EXPECT_EQ(at(1, c.ShownHeightPx - 2), kRed);
    EXPECT_EQ(at(c.ShownWidthPx - 2, c.ShownHeightPx - 2), kRed);
    if (c.ShownWidthPx < 405) {
      EXPECT_NE(at(c.ShownWidthPx + 3, 1), kRed);
    }
    if (c.ShownHeightPx < 234) {
      EXPECT_NE(at(1, c.ShownHeightPx + 3), kRed);
    }
    EXPECT_EQ(box->Text, SummaryFound(false, 1, 0, OutputFolderOf(source)));
    driver::AnswerMessageBox(*box, IDOK);
    ASSERT_TRUE(FApp.WaitIdle());
    // Cleared at the end of the command.
    driver::WaitUntil([&] { return at(1, 1) != kRed; });
    EXPECT_NE(at(1, 1), kRed);
  }
  EXPECT_EQ(FApp.Close(), 0u);
}

}  // namespace
}  // namespace bw::app::test
