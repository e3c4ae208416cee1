#include "tools/extract/ExtractCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "extract/FileIo.h"
#include "tools/extract/JsonReport.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;

class ExtractCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("bw-cli-" + std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }
  int Run(const std::vector<std::string>& args, bool terminal = false, const std::string& answers = "") {
    FIn.str(answers);
    FIn.clear();
    FErr.str("");
    FOut.str("");
    return RunExtractCommand(args, "EN", {&FIn, &FErr, terminal, false}, FOut, nullptr);
  }
  fs::path FRoot;
  std::istringstream FIn;
  std::ostringstream FErr, FOut;
};

TEST_F(ExtractCommandTest, SampleGivesWhatItHolds) {
  const fs::path source = FRoot / "sample_mixed.ppt";
  fs::copy_file(fs::path(BW_SOURCE_DIR) / "tests/fixtures/sample_mixed.ppt", source);
  ASSERT_EQ(Run({"--json", source.string()}), kExitOk) << FErr.str();
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(FRoot / "sample_mixed")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"sample_mixed_001.jpg", "sample_mixed_001.wav", "sample_mixed_002.png",
                                             "sample_mixed_003.png"}));
  const std::string json = FOut.str();
  EXPECT_NE(json.find("\"status\": \"completed\""), std::string::npos);
  EXPECT_NE(json.find("\"pictures\": 3, \"sounds\": 1"), std::string::npos);
  EXPECT_NE(json.find("\"kind\": \"wave\""), std::string::npos);

  // Again: the folder exists. Without a terminal and --yes the source is refused...
  EXPECT_EQ(Run({source.string()}), kExitFailed);
  EXPECT_NE(FErr.str().find("--yes"), std::string::npos);
  // ...on a terminal the answer decides, and the summary follows.
  EXPECT_EQ(Run({"--lang", "fr", source.string()}, true, "o\n"), kExitOk);
  EXPECT_NE(FErr.str().find("existe d\xC3\xA9ja."), std::string::npos);
  EXPECT_EQ(FOut.str().rfind("Nombre de photos trouv\xC3\xA9" "es = 3\n", 0), 0u);
  EXPECT_EQ(Run({source.string()}, true, "\n"), kExitFailed);
  EXPECT_EQ(Run({"--yes", "--quiet", source.string()}), kExitOk);
  EXPECT_TRUE(FOut.str().empty());
}

TEST_F(ExtractCommandTest, UnreadableSourcesAndBadUsage) {
  EXPECT_EQ(Run({(FRoot / "missing.ppt").string()}), kExitFailed);
  EXPECT_NE(FErr.str().find("missing.ppt"), std::string::npos);
  EXPECT_EQ(Run({}), kExitUsage);
  EXPECT_EQ(Run({"--lang", "de", "x"}), kExitUsage);
  EXPECT_EQ(Run({"--frobnicate", "x"}), kExitUsage);
  EXPECT_EQ(Run({"--help"}), kExitOk);
  // A source with nothing in it is processed: the summary names it.
  std::ofstream(FRoot / "empty.pps").put('x');
  EXPECT_EQ(Run({(FRoot / "empty.pps").string()}), kExitOk);
  EXPECT_EQ(FOut.str(), "Brindlewick could not extract any picture or sound from this file\nempty.pps\n");
  EXPECT_FALSE(fs::exists(FRoot / "empty"));
}

TEST(ExtractOptions, LanguageFromLocaleAndOptions) {
  EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "fr_FR.UTF-8"), "FR");
  EXPECT_EQ(LanguageFromLocale("en_GB.UTF-8", nullptr, "fr_FR.UTF-8"), "EN");
  EXPECT_EQ(LanguageFromLocale("", "fr_CA", nullptr), "FR");
  EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, nullptr), "EN");
  TCliOptions options;
  EXPECT_EQ(ParseCommandLine({"--lang=fr", "-y", "--", "--json"}, "EN", options).Status, TParseStatus::Ok);
  EXPECT_EQ(options.Language, "FR");
  EXPECT_TRUE(options.Yes);
  EXPECT_FALSE(options.Json);
  EXPECT_EQ(options.Files, std::vector<std::string>{"--json"});
  EXPECT_EQ(ParseCommandLine({"--lang"}, "EN", options).Status, TParseStatus::BadUsage);
}

TEST(ExtractJson, StringsAreEscapedAndKeptValid) {
  EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(JsonString("r\xC3\xA9p"), "\"r\xC3\xA9p\"");
  EXPECT_EQ(JsonString("bad\xC3(\xFF"), "\"bad\\ufffd(\\ufffd\"");
  EXPECT_EQ(RenderJson({}), "{\"sources\": []}\n");
}

}  // namespace
}  // namespace bw::tools
