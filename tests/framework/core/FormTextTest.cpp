#include "framework/core/FormText.h"

#include <gtest/gtest.h>

namespace bw::core {
namespace {

const char kSource[] = R"(object Form1: TForm1
  // comments are for authors; they are not written back
  Caption = 'Brindlewick  V1.2 b'
  Hint = 'first ' +
    'second'#9'third'
  Color = $80000010
  Left = -2147483648
  Style = [fsBold,fsItalic]
  Empty = []
  Items.Strings = ('a' 'b''c' #233)
  Panels = <item Text = 'x' end item end>
  Picture.Data = @file('pictures/initial.bmp')
  Raw = {0a 0B
         ff}
  object Panel1: TPanel
    object Image1: TImage
    end
  end
  object TTimer
  end
end
)";

std::optional<std::string> FakeAssets(const std::string& path) {
  if (path == "pictures/initial.bmp") return std::string("BM\0\1", 4);
  return std::nullopt;
}

TEST(FormText, ParsesEveryValueForm) {
  const TFormParseResult r = ParseFormText(kSource, FakeAssets);
  ASSERT_TRUE(r.Ok) << r.Error;
  const TFormNode& root = r.Root;
  EXPECT_EQ(root.Name, "Form1");
  EXPECT_EQ(root.ClassName, "TForm1");
  ASSERT_EQ(root.Properties.size(), 10u);
  EXPECT_EQ(root.Properties[0].Value.Text, "Brindlewick  V1.2 b");
  EXPECT_EQ(root.Properties[1].Value.Text, "first second\tthird");
  EXPECT_EQ(root.Properties[2].Value.Int, static_cast<std::int32_t>(0x80000010u));
  EXPECT_EQ(root.Properties[3].Value.Int, INT32_MIN);
  EXPECT_EQ(root.Properties[4].Value.Names, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_TRUE(root.Properties[5].Value.Names.empty());
  EXPECT_EQ(root.Properties[6].Name, "Items.Strings");
  ASSERT_EQ(root.Properties[6].Value.List.size(), 3u);
  EXPECT_EQ(root.Properties[6].Value.List[1].Text, "b'c");
  EXPECT_EQ(root.Properties[6].Value.List[2].Text, "\xE9");
  ASSERT_EQ(root.Properties[7].Value.Items.size(), 2u);
  EXPECT_EQ(root.Properties[7].Value.Items[0][0].Value.Text, "x");
  EXPECT_TRUE(root.Properties[7].Value.Items[1].empty());
  EXPECT_EQ(root.Properties[8].Value.Kind, TFormValueKind::Binary);
  EXPECT_EQ(root.Properties[8].Value.Text, std::string("BM\0\1", 4));
  EXPECT_EQ(root.Properties[9].Value.Text, "\x0A\x0B\xFF");
  ASSERT_EQ(root.Children.size(), 2u);
  EXPECT_EQ(root.Children[0].Children[0].ClassName, "TImage");
  EXPECT_EQ(root.Children[1].Name, "");
  EXPECT_EQ(root.Children[1].ClassName, "TTimer");
}

TEST(FormText, WrittenTextParsesToTheSameTree) {
  const TFormParseResult r = ParseFormText(kSource, FakeAssets);
  ASSERT_TRUE(r.Ok) << r.Error;
  const std::string written = WriteFormText(r.Root);
  EXPECT_EQ(written.find("@file"), std::string::npos);
  const TFormParseResult again = ParseFormText(written);
  ASSERT_TRUE(again.Ok) << again.Error;
  EXPECT_TRUE(again.Root == r.Root);
  EXPECT_EQ(WriteFormText(again.Root), written);
}

TEST(FormText, RefusesDamagedDescriptionsWithTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"", "line 1: expected 'object'"},
      {"object A: TA\n", "line 2: missing 'end'"},
      {"object A: TA\n X 1\nend", "line 2: expected '='"},
      {"object A: TA\n X = 'open\nend", "line 2: unterminated text"},
      {"object A: TA\n X = 2147483648\nend", "line 2: bad or out-of-range integer"},
      {"object A: TA\n X = #256\nend", "bad character code"},
      {"object A: TA\n X = {0A1}\nend", "odd number of hexadecimal digits"},
      {"object A: TA\n X = {0G}\nend", "bad hexadecimal digit"},
      {"object A: TA\n X = {00", "missing '}'"},
      {"object A: TA\n X = (1 2", "missing ')'"},
      {"object A: TA\n X = <item Y = 1", "missing 'end' of an item"},
      {"object A: TA\n X = <thing>\nend", "expected 'item' or '>'"},
      {"object A: TA\n X = 'a' +\nend", "expected text after '+'"},
      {"object A: TA\n X = @file('none')\nend", "cannot read asset 'none'"},
      {"object A: TA\n X = @data('x')\nend", "expected @file"},
      {"object A: TA\nend\nobject B: TB\nend", "line 3: text after the final 'end'"},
      {"object A: TA\n X = ?\nend", "unexpected character"},
      {"object A: TA\n X.= 1\nend", "expected a name after '.'"},
  };
  for (const Case& c : cases) {
    const TFormParseResult r = ParseFormText(c.text, FakeAssets);
    EXPECT_FALSE(r.Ok) << c.text;
    EXPECT_NE(r.Error.find(c.error), std::string::npos) << c.text << " -> " << r.Error;
  }
  // Asset references need the build step.
  const TFormParseResult noResolver = ParseFormText("object A: TA\n X = @file('a.bmp')\nend");
  EXPECT_FALSE(noResolver.Ok);
  EXPECT_NE(noResolver.Error.find("not resolved"), std::string::npos);
}

TEST(FormText, EveryTruncationFailsCleanly) {
  const std::string full = WriteFormText(ParseFormText(kSource, FakeAssets).Root);
  for (std::size_t n = 0; n < full.size(); ++n) {
    const TFormParseResult r = ParseFormText(std::string_view(full).substr(0, n));
    // Only the cut right after the final "end" may still parse.
    if (r.Ok) EXPECT_GE(n, full.size() - 1) << "prefix of " << n << " bytes parsed";
    else EXPECT_FALSE(r.Error.empty());
  }
}

TEST(FormText, NestingDepthIsCapped) {
  std::string deep;
  for (int i = 0; i < kMaxFormNestingDepth + 1; ++i) deep += "object A: TA\n";
  for (int i = 0; i < kMaxFormNestingDepth + 1; ++i) deep += "end\n";
  const TFormParseResult r = ParseFormText(deep);
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("nesting deeper"), std::string::npos);

  std::string lists = "object A: TA\n X = " + std::string(100000, '(');
  EXPECT_FALSE(ParseFormText(lists).Ok);
}

}  // namespace
}  // namespace bw::core
