#pragma once
// Where the user's language is kept and how it is read at start and stored on a choice.
// The registry sits behind TSettingsStore so the rules can be checked without one.
#include <string>

namespace bw::app {

enum class TSettingsRoot { LocalMachine, CurrentUser };

enum class TOpenMode { ReadWrite, ReadOnly, Create };

enum class TReadStatus { Text, Missing, NotText };

// One key path ("SOFTWARE\...\App Paths\Brindlewick") under either root, value "Language".
class TSettingsStore {
 public:
  virtual ~TSettingsStore() = default;
  // Makes the key under root the current one; false when it cannot be opened (or created).
  virtual bool OpenKey(TSettingsRoot root, TOpenMode mode) = 0;
  virtual TReadStatus ReadLanguage(std::string& value) = 0;
  virtual bool WriteLanguage(const std::string& value) = 0;
};

inline constexpr const char* kLanguageKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Brindlewick";
inline constexpr const char* kLanguageValueName = "Language";
inline constexpr const char* kFirstStartLanguage = "English";
inline constexpr const char* kUnreadableLanguage = "English";
inline constexpr const char* kAskLanguage = "??";

struct TStoredLanguage {
  std::string Language;
  // Where a choice is written back: the machine's key, or the user's when the machine's
  // cannot be opened with write access.
  TSettingsRoot Root = TSettingsRoot::LocalMachine;
};

// The language at start. Under HKEY_LOCAL_MACHINE: a text value as stored (missing: empty),
// a value of another type "English", no key: the key is created holding "English".
// Without the rights for that, the same under HKEY_CURRENT_USER, a text value there winning
// over one readable under the machine's key. Never fails: "English" when nothing works.
TStoredLanguage ReadStoredLanguage(TSettingsStore& store);

// Writes the choice under the root the language was read from; when the machine's key
// cannot take it, under the user's. False when it could be stored nowhere.
bool StoreLanguage(TSettingsStore& store, TSettingsRoot root, const std::string& value);

// The value the language window writes for the item chosen.
std::string LanguageForChoice(const std::string& itemText);

bool AsksForLanguage(const std::string& language);

}  // namespace bw::app
