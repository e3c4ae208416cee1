// Reading the stored language at start and storing a choice, over a registry stand-in
// whose keys can be missing, unreadable or refused for lack of rights.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/Language.h"

namespace bw::app {
namespace {

struct TFakeKey {
  bool Exists = false;
  bool Writable = true;  // false: opening for writing or creating is refused
  bool Readable = true;
  std::optional<std::string> Text;
  bool NotText = false;  // a value of another type
  int Writes = 0;
};

class TFakeStore final : public TSettingsStore {
 public:
  TFakeKey Machine;
  TFakeKey User;

  bool OpenKey(TSettingsRoot root, TOpenMode mode) override {
    TFakeKey& key = Of(root);
    FCurrent = nullptr;
    switch (mode) {
      case TOpenMode::ReadWrite:
        if (!key.Exists || !key.Writable) return false;
        break;
      case TOpenMode::ReadOnly:
        if (!key.Exists || !key.Readable) return false;
        break;
      case TOpenMode::Create:
        if (!key.Writable) return false;
        key.Exists = true;
        break;
    }
    FCurrent = &key;
    return true;
  }
  TReadStatus ReadLanguage(std::string& value) override {
    if (FCurrent == nullptr) return TReadStatus::Missing;
    if (FCurrent->NotText) return TReadStatus::NotText;
    if (!FCurrent->Text) return TReadStatus::Missing;
    value = *FCurrent->Text;
    return TReadStatus::Text;
  }
  bool WriteLanguage(const std::string& value) override {
    if (FCurrent == nullptr || !FCurrent->Writable) return false;
    FCurrent->Text = value;
    FCurrent->NotText = false;
    ++FCurrent->Writes;
    return true;
  }

 private:
  TFakeKey& Of(TSettingsRoot root) { return root == TSettingsRoot::LocalMachine ? Machine : User; }
  TFakeKey* FCurrent = nullptr;
};

TFakeKey MachineKeyWith(std::optional<std::string> text) {
  TFakeKey key;
  key.Exists = true;
  key.Text = std::move(text);
  return key;
}

TEST(ReadStoredLanguage, MachineKeyValuesAreTakenAsStoredAndNothingIsWritten) {
  for (const char* value : {"FR", "F", "Fran\xC3\xA7" "ais", "EN", "English", "??", "de", ""}) {
    TFakeStore store;
    store.Machine = MachineKeyWith(value);
    const TStoredLanguage got = ReadStoredLanguage(store);
    EXPECT_EQ(got.Language, value);
    EXPECT_EQ(got.Root, TSettingsRoot::LocalMachine);
    EXPECT_EQ(store.Machine.Writes + store.User.Writes, 0) << value;
  }
}

TEST(ReadStoredLanguage, MissingValueReadsEmptyAndUnreadableValueReadsEnglish) {
  TFakeStore missing;
  missing.Machine = MachineKeyWith(std::nullopt);
  EXPECT_EQ(ReadStoredLanguage(missing).Language, "");
  EXPECT_FALSE(missing.Machine.Text.has_value());

  TFakeStore notText;
  notText.Machine = MachineKeyWith(std::nullopt);
  notText.Machine.NotText = true;
  EXPECT_EQ(ReadStoredLanguage(notText).Language, "English");
  EXPECT_TRUE(notText.Machine.NotText) << "an unreadable value must not be overwritten";
  EXPECT_EQ(notText.Machine.Writes, 0);
}

TEST(ReadStoredLanguage, FirstStartCreatesTheMachineKeyHoldingEnglish) {
  TFakeStore store;
  const TStoredLanguage got = ReadStoredLanguage(store);
  EXPECT_EQ(got.Language, "English");
  EXPECT_EQ(got.Root, TSettingsRoot::LocalMachine);
  EXPECT_TRUE(store.Machine.Exists);
  EXPECT_EQ(store.Machine.Text, "English");
  EXPECT_FALSE(store.User.Exists);
}

TEST(ReadStoredLanguage, WithoutMachineRightsTheUserKeyStandsIn) {
  // The user's own value wins over one the machine's key holds.
  TFakeStore userWins;
  userWins.Machine = MachineKeyWith("EN");
  userWins.Machine.Writable = false;
  userWins.User = MachineKeyWith("FR");
  TStoredLanguage got = ReadStoredLanguage(userWins);
  EXPECT_EQ(got.Language, "FR");
  EXPECT_EQ(got.Root, TSettingsRoot::CurrentUser);

  // No user value: the machine's, read only; choices go to the user's key.
  TFakeStore machineReadOnly;
  machineReadOnly.Machine = MachineKeyWith("??");
  machineReadOnly.Machine.Writable = false;
  got = ReadStoredLanguage(machineReadOnly);
  EXPECT_EQ(got.Language, "??");
  EXPECT_EQ(got.Root, TSettingsRoot::CurrentUser);
  EXPECT_EQ(machineReadOnly.Machine.Writes + machineReadOnly.User.Writes, 0);

  // Nothing anywhere and no machine key to create: the user's key gets "English".
  TFakeStore firstStart;
  firstStart.Machine.Writable = false;
  got = ReadStoredLanguage(firstStart);
  EXPECT_EQ(got.Language, "English");
  EXPECT_EQ(got.Root, TSettingsRoot::CurrentUser);
  EXPECT_EQ(firstStart.User.Text, "English");
  EXPECT_FALSE(firstStart.Machine.Exists);

  // A user key with a value of another type follows the same rule as the machine's.
  TFakeStore userNotText;
  userNotText.Machine.Writable = false;
  userNotText.User = MachineKeyWith(std::nullopt);
  userNotText.User.NotText = true;
  EXPECT_EQ(ReadStoredLanguage(userNotText).Language, "English");
  EXPECT_TRUE(userNotText.User.NotText);
}

TEST(ReadStoredLanguage, NoUsableKeyAtAllStillGivesEnglish) {
  TFakeStore store;
  store.Machine.Writable = false;
  store.Machine.Readable = false;
  store.User.Writable = false;
  const TStoredLanguage got = ReadStoredLanguage(store);
  EXPECT_EQ(got.Language, "English");
}

TEST(StoreLanguage, WritesWhereTheLanguageWasRead) {
  TFakeStore machine;
  machine.Machine = MachineKeyWith("??");
  EXPECT_TRUE(StoreLanguage(machine, TSettingsRoot::LocalMachine, "FR"));
  EXPECT_EQ(machine.Machine.Text, "FR");
  EXPECT_FALSE(machine.User.Exists);

  TFakeStore user;
  user.Machine = MachineKeyWith("??");
  user.Machine.Writable = false;
  EXPECT_TRUE(StoreLanguage(user, TSettingsRoot::CurrentUser, "EN"));
  EXPECT_EQ(user.User.Text, "EN");
  EXPECT_EQ(user.Machine.Text, "??");
}

TEST(StoreLanguage, MachineKeyRemovedOrRefusedMeanwhile) {
  TFakeStore removed;  // deleted between start and the choice: made again
  EXPECT_TRUE(StoreLanguage(removed, TSettingsRoot::LocalMachine, "FR"));
  EXPECT_EQ(removed.Machine.Text, "FR");

  TFakeStore refused;
  refused.Machine = MachineKeyWith("??");
  refused.Machine.Writable = false;
  EXPECT_TRUE(StoreLanguage(refused, TSettingsRoot::LocalMachine, "FR"));
  EXPECT_EQ(refused.User.Text, "FR");

  TFakeStore nowhere;
  nowhere.Machine.Writable = false;
  nowhere.User.Writable = false;
  EXPECT_FALSE(StoreLanguage(nowhere, TSettingsRoot::LocalMachine, "FR"));
}

TEST(LanguageChoice, ItemsAndTheAskingValue) {
  EXPECT_EQ(LanguageForChoice("Fran\xC3\xA7" "ais"), "FR");
  EXPECT_EQ(LanguageForChoice("English"), "EN");
  EXPECT_EQ(LanguageForChoice(""), "EN");
  EXPECT_TRUE(AsksForLanguage("??"));
  for (const char* other : {"?", "???", "?? ", "", "FR"}) EXPECT_FALSE(AsksForLanguage(other)) << other;
}

}  // namespace
}  // namespace bw::app
