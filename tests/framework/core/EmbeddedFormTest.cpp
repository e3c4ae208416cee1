#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"
#include "tests/framework/core/TestClasses.h"

namespace bw::core::test {
namespace {

std::string ReadFixture(const char* relative) {
  std::ifstream in(std::string(BW_SOURCE_DIR) + "/tests/framework/core/" + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(EmbeddedForm, BuildStepInlinesTheAssetByteForByte) {
  RegisterTestClasses();
  const std::optional<std::string_view> data = FindFormData("ttestform");
  ASSERT_TRUE(data.has_value());
  TTestForm form(nullptr);
  ReadComponentText(form, *data);
  EXPECT_EQ(form.Tag(), 42);
  auto* button = dynamic_cast<TTestButton*>(form.FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  const std::string asset = ReadFixture("forms/glyphs/ok.bin");
  ASSERT_FALSE(asset.empty());
  EXPECT_EQ(button->FGlyph.FBytes, asset);
  EXPECT_EQ(button->Caption(), "Fran\xE7"
                               "ais");
  // The built text is what the writer gives back.
  EXPECT_EQ(WriteComponentText(form), *data);
  EXPECT_FALSE(FindFormData("TNoSuchForm").has_value());
}

}  // namespace
}  // namespace bw::core::test
