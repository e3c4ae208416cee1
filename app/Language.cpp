#include "app/Language.h"

namespace bw::app {
namespace {

std::string ReadWithRules(TSettingsStore& store) {
  std::string value;
  switch (store.ReadLanguage(value)) {
    case TReadStatus::Text: return value;
    case TReadStatus::Missing: return {};
    case TReadStatus::NotText: return kUnreadableLanguage;
  }
  return kUnreadableLanguage;
}

std::string CreateWithDefault(TSettingsStore& store, TSettingsRoot root) {
  if (store.OpenKey(root, TOpenMode::Create)) store.WriteLanguage(kFirstStartLanguage);
  return kFirstStartLanguage;
}

}  // namespace

TStoredLanguage ReadStoredLanguage(TSettingsStore& store) {
  constexpr auto machine = TSettingsRoot::LocalMachine;
  constexpr auto user = TSettingsRoot::CurrentUser;
  if (store.OpenKey(machine, TOpenMode::ReadWrite)) return {ReadWithRules(store), machine};
  if (store.OpenKey(machine, TOpenMode::Create)) {
    // Write failures are not fatal here: the language for this run is settled either way.
    store.WriteLanguage(kFirstStartLanguage);
    return {kFirstStartLanguage, machine};
  }

  // No write access to the machine's key: the user's key stands in for it.
  const bool userKey = store.OpenKey(user, TOpenMode::ReadWrite);
  std::string value;
  if (userKey && store.ReadLanguage(value) == TReadStatus::Text) return {value, user};
  if (store.OpenKey(machine, TOpenMode::ReadOnly) && store.ReadLanguage(value) == TReadStatus::Text) {
    return {value, user};
  }
  if (userKey && store.OpenKey(user, TOpenMode::ReadWrite)) return {ReadWithRules(store), user};
  return {CreateWithDefault(store, user), user};
}

bool StoreLanguage(TSettingsStore& store, TSettingsRoot root, const std::string& value) {
  if (root == TSettingsRoot::LocalMachine) {
    // A key removed since start is made again rather than the value written elsewhere.
    if ((store.OpenKey(root, TOpenMode::ReadWrite) || store.OpenKey(root, TOpenMode::Create)) &&
        store.WriteLanguage(value)) {
      return true;
    }
  }
  return store.OpenKey(TSettingsRoot::CurrentUser, TOpenMode::Create) && store.WriteLanguage(value);
}

std::string LanguageForChoice(const std::string& itemText) {
  return !itemText.empty() && itemText[0] == 'F' ? "FR" : "EN";
}

bool AsksForLanguage(const std::string& language) { return language == kAskLanguage; }

}  // namespace bw::app
