#pragma once
// The program's stored language, set and read from outside the program (test set-up).
#include <windows.h>

#include <optional>
#include <string>

namespace bw::driver {

inline constexpr const wchar_t* kLanguageKeyPath =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Brindlewick";
inline constexpr const wchar_t* kLanguageValueName = L"Language";

struct TStoredValue {
  bool KeyExists = false;
  bool ValueExists = false;
  DWORD Type = REG_NONE;
  std::string Text;  // UTF-8, for REG_SZ
};

TStoredValue ReadLanguage(HKEY root = HKEY_LOCAL_MACHINE);
// Create the key as needed; false when the system refuses.
bool WriteLanguage(const std::string& valueUtf8, HKEY root = HKEY_LOCAL_MACHINE);
bool WriteLanguageDword(DWORD value, HKEY root = HKEY_LOCAL_MACHINE);
bool DeleteLanguageValue(HKEY root = HKEY_LOCAL_MACHINE);
// Removes the key and everything under it; true also when there was none.
bool DeleteLanguageKey(HKEY root = HKEY_LOCAL_MACHINE);

// Saves the key's state under both roots and puts it back on destruction, so a test
// leaves the machine as it found it.
class TLanguageKeyGuard {
 public:
  TLanguageKeyGuard();
  ~TLanguageKeyGuard();
  TLanguageKeyGuard(const TLanguageKeyGuard&) = delete;
  TLanguageKeyGuard& operator=(const TLanguageKeyGuard&) = delete;

 private:
  TStoredValue FMachine;
  TStoredValue FUser;
};

}  // namespace bw::driver
