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

TEST(OutputNaming, NumbersHaveAtLeastThreeDigits) {
  struct Case { std::int32_t count; const char* text; };
  const Case cases[] = {{0, "001"}, {8, "009"}, {9, "010"}, {98, "099"},
                        {99, "100"}, {998, "999"}, {999, "1000"}, {12344, "12345"}};
  for (const Case& c : cases) EXPECT_EQ(PaddedNumber(c.count), c.text) << c.count;
}

TEST(OutputNaming, PathJoinsFolderBaseNumberAndExtension) {
  EXPECT_EQ(MakeOutputName("D:\\Talks\\intro", "intro", 0, ".jpg"), "D:\\Talks\\intro\\intro_001.jpg");
  EXPECT_EQ(MakeOutputName("D:\\Talks\\intro", "intro", 1, ".png"), "D:\\Talks\\intro\\intro_002.png");
  // Drive root: the folder already ends in a backslash, and the doubled one stays.
  EXPECT_EQ(MakeOutputName("C:\\\\x", "x", 0, ".wav"), "C:\\\\x\\x_001.wav");
  EXPECT_EQ(MakeOutputName("C:\\dir\\", "", 0, ".jpg"), "C:\\dir\\\\_001.jpg");
}

}  // namespace
}  // namespace bw::extract
