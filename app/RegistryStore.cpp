#include "app/RegistryStore.h"

#include "framework/core/Exceptions.h"
#include "framework/win/Registry.h"

namespace bw::app {

TRegistryStore::TRegistryStore() : FRegistry(std::make_unique<win::TRegistry>()) {}

TRegistryStore::~TRegistryStore() = default;

bool TRegistryStore::OpenKey(TSettingsRoot root, TOpenMode mode) {
  FRegistry->CloseKey();
  FRegistry->SetRootKey(root == TSettingsRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
  try {
    switch (mode) {
      case TOpenMode::ReadWrite: FOpen = FRegistry->OpenKey(kLanguageKeyPath, false); break;
      case TOpenMode::Create: FOpen = FRegistry->OpenKey(kLanguageKeyPath, true); break;
      case TOpenMode::ReadOnly: FOpen = FRegistry->OpenKeyReadOnly(kLanguageKeyPath); break;
    }
  } catch (const core::Exception&) {
    FOpen = false;
  }
  return FOpen;
}

TReadStatus TRegistryStore::ReadLanguage(std::string& value) {
  if (!FOpen) return TReadStatus::Missing;
  try {
    if (!FRegistry->ValueExists(kLanguageValueName)) return TReadStatus::Missing;
    value = FRegistry->ReadString(kLanguageValueName);
    return TReadStatus::Text;
  } catch (const core::ERegistryException&) {
    return TReadStatus::NotText;
  }
}

bool TRegistryStore::WriteLanguage(const std::string& value) {
  if (!FOpen) return false;
  try {
    FRegistry->WriteString(kLanguageValueName, value);
    return true;
  } catch (const core::Exception&) {
    return false;
  }
}

}  // namespace bw::app
