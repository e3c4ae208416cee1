// The registry class against the real (Wine) registry, under a key of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/core/Exceptions.h"
#include "framework/win/Registry.h"

namespace bw::win {
namespace {

const std::string kTestRoot = "Software\\Brindlewick-tests";

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override { FKey = kTestRoot + "\\run-" + std::to_string(GetCurrentProcessId()); }
  void TearDown() override {
    TRegistry reg;
    reg.DeleteKey("\\" + FKey);
    reg.DeleteKey("\\" + kTestRoot);  // harmless when another run still has keys there
  }
  std::string FKey;
};

TEST_F(RegistryTest, StringsRoundTripInUtf8) {
  {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(FKey, true));
    EXPECT_EQ(reg.CurrentPath(), FKey);
    reg.WriteString("Folder", "C:\\Pictures\\Caf\xC3\xA9");
    reg.WriteString("Empty", "");
  }
  TRegistry reg;
  EXPECT_TRUE(reg.KeyExists(FKey));
  ASSERT_TRUE(reg.OpenKey(FKey, false));
  EXPECT_TRUE(reg.ValueExists("Folder"));
  EXPECT_EQ(reg.ReadString("Folder"), "C:\\Pictures\\Caf\xC3\xA9");
  EXPECT_TRUE(reg.ValueExists("Empty"));
  EXPECT_EQ(reg.ReadString("Empty"), "");
  EXPECT_TRUE(reg.DeleteValue("Folder"));
  EXPECT_FALSE(reg.ValueExists("Folder"));
  EXPECT_FALSE(reg.DeleteValue("Folder"));
}

TEST_F(RegistryTest, MissingValueIsEmptyAndOtherTypesRaise) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(FKey, true));
  EXPECT_EQ(reg.ReadString("Nothing"), "");
  const DWORD number = 42;
  ASSERT_EQ(RegSetValueExW(reg.CurrentKey(), L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number),
            ERROR_SUCCESS);
  try {
    reg.ReadString("Number");
    ADD_FAILURE() << "a number was read as text";
  } catch (const core::ERegistryException& e) {
    EXPECT_NE(std::string(e.what()).find("'Number'"), std::string::npos) << e.what();
  }
}

TEST_F(RegistryTest, KeysOpenRelativeOrFromTheRootAndAreDeletedWithTheirContent) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(FKey + "\\Missing", false));
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  ASSERT_TRUE(reg.CreateKey(FKey + "\\A\\B"));
  ASSERT_TRUE(reg.OpenKey(FKey, false));
  EXPECT_TRUE(reg.KeyExists("A\\B"));  // relative to the open key
  ASSERT_TRUE(reg.OpenKey("A", false));
  EXPECT_EQ(reg.CurrentPath(), FKey + "\\A");
  reg.WriteString("x", "y");
  ASSERT_TRUE(reg.OpenKey("\\" + FKey, false));  // from the root again
  EXPECT_EQ(reg.CurrentPath(), FKey);
  EXPECT_FALSE(reg.DeleteKey(""));
  EXPECT_TRUE(reg.DeleteKey("A"));
  EXPECT_FALSE(reg.KeyExists("A"));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(FKey));
}

TEST_F(RegistryTest, WritingWithoutAKeyOfOurOwnFailsLoudly) {
  TRegistry reg(KEY_READ);
  ASSERT_TRUE(reg.OpenKey(FKey, true));
  EXPECT_THROW(reg.WriteString("v", "w"), core::ERegistryException);
  EXPECT_FALSE(reg.OpenKeyReadOnly(FKey));  // relative to the open key: FKey\FKey
  EXPECT_TRUE(reg.OpenKeyReadOnly("\\" + FKey));
  EXPECT_EQ(reg.CurrentPath(), FKey);
}

}  // namespace
}  // namespace bw::win
