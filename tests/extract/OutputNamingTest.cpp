#include "extract/OutputNaming.h"

#include <gtest/gtest.h>

namespace bw::extract {
namespace {

TEST(OutputNaming, BaseNameDropsLastFourCharacters) {
  EXPECT_EQ(BaseNameOf("intro.ppt"), "intro");
  EXPECT_EQ(BaseNameOf("a.pps"), "a");
  EXPECT_EQ(BaseNameOf("slides"), "sl");
  EXPECT_EQ(BaseNameOf("x.p"), "");
  EXPECT_EQ(BaseNameOf("abcd"), "");
  EXPECT_EQ(BaseNameOf(""), "");
}

TEST(OutputNaming, BaseNameCutsCharactersNotBytes) {
  EXPECT_EQ(BaseNameOf("caf\xC3\xA9.ppt"), "caf\xC3\xA9");
  EXPECT_EQ(BaseNameOf("vid\xC3\xA9o"), "v");
  EXPECT_EQ(BaseNameOf("x\xC3\xA9.pp"), "x");
  EXPECT_EQ(BaseNameOf("No\xC3\xABl"), "");
  EXPECT_EQ(BaseNameOf("\xE2\x82\xAC\xF0\x9F\x8E\xB5.ppt"), "\xE2\x82\xAC\xF0\x9F\x8E\xB5");  // 3- and 4-byte sequences
  EXPECT_EQ(BaseNameOf("ab\xF0\x9F\x8E\xB5xyz"), "ab");
  // Bytes that lead no valid sequence count one character each.
  EXPECT_EQ(BaseNameOf("ab\xFF.ppt"), "ab\xFF");
  EXPECT_EQ(BaseNameOf("abc\xA9\xA9\xA9\xA9"), "abc");
  EXPECT_EQ(BaseNameOf("abcde\xC3"), "ab");
}

TEST(OutputNaming, NumbersHaveAtLeastThreeDigits) {
  struct Case { std::int32_t count; const char* text; };
  const Case cases[] = {{0, "001"}, {8, "009"}, {9, "010"}, {98, "099"},
                        {99, "100"}, {998, "999"}, {999, "1000"}, {12344, "12345"}};
  for (const Case& c : cases) EXPECT_EQ(PaddedNumber(c.count), c.text) << c.count;
}

TEST(OutputNaming, PathJoinsFolderBaseNumberAndExtension) {
  const TPathStyle win = TPathStyle::Windows;
  EXPECT_EQ(MakeOutputName("D:\\Talks\\intro", "intro", 0, ".jpg", win), "D:\\Talks\\intro\\intro_001.jpg");
  EXPECT_EQ(MakeOutputName("D:\\Talks\\intro", "intro", 1, ".png", win), "D:\\Talks\\intro\\intro_002.png");
  // Drive root: the folder already ends in a backslash, and the doubled one stays.
  EXPECT_EQ(MakeOutputName("C:\\\\x", "x", 0, ".wav", win), "C:\\\\x\\x_001.wav");
  EXPECT_EQ(MakeOutputName("C:\\dir\\", "", 0, ".jpg", win), "C:\\dir\\\\_001.jpg");
  EXPECT_EQ(MakeOutputName("/t/intro", "intro", 9, ".bmp", TPathStyle::Posix), "/t/intro/intro_010.bmp");
}

TEST(OutputNaming, DirectoryPartKeepsOnlyARootsSeparator) {
  const TPathStyle win = TPathStyle::Windows;
  EXPECT_EQ(DirectoryOf("D:\\Talks\\intro.ppt", win), "D:\\Talks");
  EXPECT_EQ(DirectoryOf("C:\\x.ppt", win), "C:\\");
  EXPECT_EQ(DirectoryOf("C:x.ppt", win), "C:");
  EXPECT_EQ(DirectoryOf("\\x.ppt", win), "\\");
  EXPECT_EQ(DirectoryOf("x.ppt", win), "");
  EXPECT_EQ(DirectoryOf("/t/intro.ppt", TPathStyle::Posix), "/t");
  EXPECT_EQ(DirectoryOf("/x.ppt", TPathStyle::Posix), "/");
  EXPECT_EQ(DirectoryOf("a\\b.ppt", TPathStyle::Posix), "");  // a backslash is a name character there
  EXPECT_EQ(FileNameOf("D:\\Talks\\intro.ppt", win), "intro.ppt");
  EXPECT_EQ(FileNameOf("/t/a.pps", TPathStyle::Posix), "a.pps");
}

TEST(OutputNaming, OutputFolderBesideTheSource) {
  const TPathStyle win = TPathStyle::Windows;
  EXPECT_EQ(OutputFolderFor("D:\\Talks", "intro.ppt", win), "D:\\Talks\\intro");
  EXPECT_EQ(OutputFolderFor("C:\\", "x.ppt", win), "C:\\\\x");  // the doubled backslash stays
  EXPECT_EQ(OutputFolderFor("D:\\Talks", "x.p", win), "D:\\Talks\\");  // short name: the folder itself
  EXPECT_EQ(OutputFolderFor("/t", "slides", TPathStyle::Posix), "/t/sl");
  // A source named without a folder (a relative name): the folder beside it, relative too.
  EXPECT_EQ(OutputFolderFor("", "talk.ppt", TPathStyle::Posix), "talk");
  EXPECT_EQ(OutputFolderFor("", "x.p", win), ".");
}

}  // namespace
}  // namespace bw::extract
