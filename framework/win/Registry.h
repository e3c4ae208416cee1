#pragma once
// The registry: a root key, one open key, strings read and written. Key paths are UTF-8,
// relative to the open key, or to the root when they start with a backslash.
#include <windows.h>

#include <string>

#include "framework/core/Object.h"

namespace bw::win {

class TRegistry : public core::TObject {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key.
  void SetRootKey(HKEY root);
  // The rights keys are opened with. Without them OpenKey answers false (writing under
  // HKEY_LOCAL_MACHINE needs an administrator on Windows).
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM access) { FAccess = access; }
  HKEY CurrentKey() const { return FCurrentKey; }
  // Below the root, without a leading backslash; empty when no key is open.
  const std::string& CurrentPath() const { return FCurrentPath; }

  // Opens (with canCreate, creates when missing) the key and makes it the current one.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  bool KeyExists(const std::string& key);
  bool CreateKey(const std::string& key);
  // Deletes the key with everything below it. An empty path deletes nothing.
  bool DeleteKey(const std::string& key);

  // Values of the current key (the root key when none is open).
  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);
  // A missing value reads as empty text; a value that is not text raises ERegistryException.
  std::string ReadString(const std::string& name);
  // Raises ERegistryException when the value cannot be written.
  void WriteString(const std::string& name, const std::string& value);

 private:
  HKEY BaseKey(const std::string& key, std::wstring& relative) const;
  HKEY ValueKey() const { return FCurrentKey ? FCurrentKey : FRootKey; }
  bool Open(const std::string& key, bool canCreate, REGSAM access);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  std::string FCurrentPath;
  REGSAM FAccess;
};

}  // namespace bw::win
