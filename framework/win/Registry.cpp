#include "framework/win/Registry.h"

#include <vector>

#include "framework/core/Exceptions.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

// Values larger than this are refused rather than read.
constexpr DWORD kMaxStringValueBytes = DWORD{16} << 20;

std::string Trimmed(const std::string& key) {
  std::size_t begin = 0, end = key.size();
  while (begin < end && key[begin] == '\\') ++begin;
  while (end > begin && key[end - 1] == '\\') --end;
  return key.substr(begin, end - begin);
}

}  // namespace

const core::TClassInfo TRegistry::kClass{"TRegistry", &core::TObject::kClass, {}, {}};

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  if (root == FRootKey) return;
  CloseKey();
  FRootKey = root;
}

void TRegistry::CloseKey() {
  if (FCurrentKey) RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

HKEY TRegistry::BaseKey(const std::string& key, std::wstring& relative) const {
  const bool absolute = !key.empty() && key[0] == '\\';
  relative = Widen(Trimmed(key));
  return absolute || !FCurrentKey ? FRootKey : FCurrentKey;
}

bool TRegistry::Open(const std::string& key, bool canCreate, REGSAM access) {
  std::wstring relative;
  HKEY base = BaseKey(key, relative);
  HKEY opened = nullptr;
  const LONG status = canCreate ? RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                  access, nullptr, &opened, nullptr)
                                : RegOpenKeyExW(base, relative.c_str(), 0, access, &opened);
  if (status != ERROR_SUCCESS) return false;
  const bool absolute = !key.empty() && key[0] == '\\';
  std::string path = absolute || FCurrentPath.empty() ? Trimmed(key) : FCurrentPath + "\\" + Trimmed(key);
  if (!absolute && Trimmed(key).empty()) path = FCurrentPath;
  CloseKey();
  FCurrentKey = opened;
  FCurrentPath = std::move(path);
  return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return Open(key, canCreate, FAccess); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) { return Open(key, false, KEY_READ); }

bool TRegistry::KeyExists(const std::string& key) {
  std::wstring relative;
  HKEY base = BaseKey(key, relative);
  HKEY opened = nullptr;
  if (RegOpenKeyExW(base, relative.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool TRegistry::CreateKey(const std::string& key) {
  std::wstring relative;
  HKEY base = BaseKey(key, relative);
  HKEY created = nullptr;
  if (RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr, &created,
                      nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(created);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  std::wstring relative;
  HKEY base = BaseKey(key, relative);
  if (relative.empty()) return false;
  return RegDeleteTreeW(base, relative.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) {
  const std::wstring wide = Widen(name);
  const LONG status = RegQueryValueExW(ValueKey(), wide.c_str(), nullptr, nullptr, nullptr, nullptr);
  return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

bool TRegistry::DeleteValue(const std::string& name) {
  const std::wstring wide = Widen(name);
  return RegDeleteValueW(ValueKey(), wide.c_str()) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) {
  const std::wstring wide = Widen(name);
  // The value may change between asking its size and reading it: ask again then.
  for (;;) {
    DWORD type = 0, sizeBytes = 0;
    LONG status = RegQueryValueExW(ValueKey(), wide.c_str(), nullptr, &type, nullptr, &sizeBytes);
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
      throw core::ERegistryException("Failed to get data for '" + name + "'");
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      throw core::ERegistryException("Invalid data type for '" + name + "': it is not text");
    if (sizeBytes > kMaxStringValueBytes)
      throw core::ERegistryException("Value '" + name + "' is larger than " + std::to_string(kMaxStringValueBytes) +
                                     " bytes");
    std::vector<wchar_t> text(sizeBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
    status = RegQueryValueExW(ValueKey(), wide.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got);
    if (status == ERROR_MORE_DATA) continue;
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) throw core::ERegistryException("Failed to get data for '" + name + "'");
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      throw core::ERegistryException("Invalid data type for '" + name + "': it is not text");
    std::size_t length = got / sizeof(wchar_t);
    while (length > 0 && text[length - 1] == L'\0') --length;
    return Narrow(std::wstring_view(text.data(), length));
  }
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  const std::wstring wide = Widen(name);
  const std::wstring data = Widen(value);
  const auto sizeBytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  const LONG status = RegSetValueExW(ValueKey(), wide.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(data.c_str()), sizeBytes);
  if (status != ERROR_SUCCESS)
    throw core::ERegistryException("Failed to set data for '" + name + "' (error " + std::to_string(status) + ")");
}

}  // namespace bw::win
