#include "tools/driver/LanguageValue.h"

#include <vector>

namespace bw::driver {
namespace {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool Write(HKEY root, DWORD type, const void* data, DWORD sizeBytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, kLanguageKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool ok = RegSetValueExW(key, kLanguageValueName, 0, type, static_cast<const BYTE*>(data), sizeBytes) ==
                  ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

void Restore(HKEY root, const TStoredValue& saved) {
  DeleteLanguageKey(root);
  if (!saved.KeyExists) return;
  if (!saved.ValueExists) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, kLanguageKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      RegCloseKey(key);
    }
    return;
  }
  // Only text values are put back as they were; a value of another type the tests never
  // leave behind.
  WriteLanguage(saved.Text, root);
}

}  // namespace

TStoredValue ReadLanguage(HKEY root) {
  TStoredValue out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, kLanguageKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  out.KeyExists = true;
  DWORD type = REG_NONE;
  DWORD sizeBytes = 0;
  if (RegQueryValueExW(key, kLanguageValueName, nullptr, &type, nullptr, &sizeBytes) == ERROR_SUCCESS) {
    out.ValueExists = true;
    out.Type = type;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::vector<wchar_t> buffer(sizeBytes / sizeof(wchar_t) + 1, L'\0');
      DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      if (RegQueryValueExW(key, kLanguageValueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) ==
          ERROR_SUCCESS) {
        out.Text = Narrow(std::wstring(buffer.data()));
      }
    }
  }
  RegCloseKey(key);
  return out;
}

bool WriteLanguage(const std::string& valueUtf8, HKEY root) {
  const std::wstring value = Widen(valueUtf8);
  return Write(root, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool WriteLanguageDword(DWORD value, HKEY root) { return Write(root, REG_DWORD, &value, sizeof value); }

bool DeleteLanguageValue(HKEY root) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, kLanguageKeyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return true;
  const LSTATUS status = RegDeleteValueW(key, kLanguageValueName);
  RegCloseKey(key);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteLanguageKey(HKEY root) {
  const LSTATUS status = RegDeleteTreeW(root, kLanguageKeyPath);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
  // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
  const LSTATUS gone = RegDeleteKeyW(root, kLanguageKeyPath);
  return gone == ERROR_SUCCESS || gone == ERROR_FILE_NOT_FOUND;
}

TLanguageKeyGuard::TLanguageKeyGuard()
    : FMachine(ReadLanguage(HKEY_LOCAL_MACHINE)), FUser(ReadLanguage(HKEY_CURRENT_USER)) {}

TLanguageKeyGuard::~TLanguageKeyGuard() {
  Restore(HKEY_LOCAL_MACHINE, FMachine);
  Restore(HKEY_CURRENT_USER, FUser);
}

}  // namespace bw::driver
