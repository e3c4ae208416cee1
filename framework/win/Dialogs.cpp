#include "framework/win/Dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <bit>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/win/Text.h"

namespace bw::win {

namespace {

struct TButtonText {
  TMsgDlgBtn Button;
  int Id;
  const char* Text;
};

const TButtonText kButtonTexts[] = {
    {TMsgDlgBtn::mbYes, IDYES, "&Yes"},         {TMsgDlgBtn::mbNo, IDNO, "&No"},
    {TMsgDlgBtn::mbOK, IDOK, "OK"},             {TMsgDlgBtn::mbCancel, IDCANCEL, "Cancel"},
    {TMsgDlgBtn::mbAbort, IDABORT, "&Abort"},   {TMsgDlgBtn::mbRetry, IDRETRY, "&Retry"},
    {TMsgDlgBtn::mbIgnore, IDIGNORE, "&Ignore"}, {TMsgDlgBtn::mbHelp, IDHELP, "&Help"},
};

// The system's button sets, best first when several contain the buttons asked for.
struct TButtonSet {
  TMsgDlgButtons Buttons;
  UINT Style;
};
const TButtonSet kButtonSets[] = {
    {{TMsgDlgBtn::mbOK}, MB_OK},
    {{TMsgDlgBtn::mbOK, TMsgDlgBtn::mbCancel}, MB_OKCANCEL},
    {{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, MB_YESNO},
    {{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel}, MB_YESNOCANCEL},
    {{TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbCancel}, MB_RETRYCANCEL},
    {{TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry, TMsgDlgBtn::mbIgnore}, MB_ABORTRETRYIGNORE},
};

// The smallest system set holding every button asked for; failing that, the set sharing
// the most buttons with it (OK alone when none shares any).
UINT ButtonStyle(TMsgDlgButtons asked) {
  asked.Exclude(TMsgDlgBtn::mbHelp);
  const TButtonSet* best = &kButtonSets[0];
  int bestShared = -1;
  bool bestHoldsAll = false;
  for (const TButtonSet& set : kButtonSets) {
    const std::uint32_t shared = set.Buttons.Bits() & asked.Bits();
    const bool holdsAll = shared == asked.Bits();
    const int count = std::popcount(shared);
    if (holdsAll && !bestHoldsAll) {
      best = &set;
      bestHoldsAll = true;
    } else if (!bestHoldsAll && count > bestShared) {
      best = &set;
      bestShared = count;
    }
  }
  return best->Style;
}

thread_local HHOOK tButtonTextHook = nullptr;

// Puts the framework's texts on the buttons of the box being activated, then unhooks. The
// hooks installed before this one (a skin engine's) see the activation first: the chain is
// followed before this hook leaves it.
LRESULT CALLBACK ButtonTextHook(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = tButtonTextHook;
  bool done = false;
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = {};
    GetClassNameW(box, className, 16);
    if (lstrcmpW(className, L"#32770") == 0) {
      for (const TButtonText& b : kButtonTexts) {
        if (HWND button = GetDlgItem(box, b.Id)) SetWindowTextW(button, Widen(b.Text).c_str());
      }
      done = true;
    }
  }
  const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
  if (done) {
    UnhookWindowsHookEx(hook);
    tButtonTextHook = nullptr;
  }
  return result;
}

std::string ProgramName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.erase(dot);
  return Narrow(name);
}

// "a|b|c|d" to the system's form: pieces ended by NUL, the list by another NUL.
std::wstring SystemFilter(const std::string& filter) {
  std::vector<std::wstring> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = filter.find('|', start);
    pieces.push_back(Widen(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (pieces.size() % 2 != 0) pieces.pop_back();
  std::wstring out;
  for (const std::wstring& p : pieces) {
    out += p;
    out.push_back(L'\0');
  }
  if (!out.empty()) out.push_back(L'\0');
  return out;
}

}  // namespace

const char* MsgDlgButtonText(TMsgDlgBtn button) {
  for (const TButtonText& b : kButtonTexts)
    if (b.Button == button) return b.Text;
  return "";
}

const char* MsgDlgCaption(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirm";
    case TMsgDlgType::mtCustom: return "";
  }
  return "";
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/) {
  static constexpr UINT kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
  UINT style = ButtonStyle(buttons) | kIcons[static_cast<int>(type)];
  if (buttons.Contains(TMsgDlgBtn::mbHelp)) style |= MB_HELP;
  HWND owner = GetActiveWindow();
  if (!owner) style |= MB_TASKMODAL;  // still blocks the thread's other windows
  const std::string caption = type == TMsgDlgType::mtCustom ? ProgramName() : MsgDlgCaption(type);

  const HHOOK previous = tButtonTextHook;
  tButtonTextHook = SetWindowsHookExW(WH_CBT, ButtonTextHook, nullptr, GetCurrentThreadId());
  const int result = MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), style);
  if (tButtonTextHook) UnhookWindowsHookEx(tButtonTextHook);  // the box never activated
  tButtonTextHook = previous;
  return result > 0 ? result : mrNone;
}

const char* const kOpenOptionNames[] = {"ofReadOnly",     "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir",
                                        "ofNoValidate",   "ofPathMustExist",   "ofFileMustExist"};
const core::TEnumInfo kOpenOptionInfo{"TOpenOption", kOpenOptionNames};

const core::TPropInfo TOpenDialog::kProps[] = {
    core::StrProp<&TOpenDialog::FDefaultExt, &TOpenDialog::FDefaultExt>("DefaultExt"),
    core::StrProp<&TOpenDialog::FFileName, &TOpenDialog::FFileName>("FileName"),
    core::StrProp<&TOpenDialog::FFilter, &TOpenDialog::FFilter>("Filter"),
    core::IntProp<&TOpenDialog::FFilterIndex, &TOpenDialog::FFilterIndex>("FilterIndex", 1),
    core::StrProp<&TOpenDialog::FInitialDir, &TOpenDialog::FInitialDir>("InitialDir"),
    core::SetProp<&TOpenDialog::FOptions, &TOpenDialog::FOptions>("Options", kOpenOptionInfo,
                                                                  TOpenOptions{TOpenOption::ofHideReadOnly}),
    core::StrProp<&TOpenDialog::FTitle, &TOpenDialog::FTitle>("Title"),
};
const core::TClassInfo TOpenDialog::kClass{"TOpenDialog", &core::TComponent::kClass, kProps, {},
                                           &core::CreateComponentOf<TOpenDialog>};
namespace {
const core::TClassRegistration kRegistration{TOpenDialog::kClass};
}

TOpenDialog::TOpenDialog(core::TComponent* owner) : core::TComponent(owner) {}

bool TOpenDialog::Execute() {
  static constexpr struct {
    TOpenOption Option;
    DWORD Flag;
  } kFlags[] = {
      {TOpenOption::ofReadOnly, OFN_READONLY},         {TOpenOption::ofOverwritePrompt, OFN_OVERWRITEPROMPT},
      {TOpenOption::ofHideReadOnly, OFN_HIDEREADONLY}, {TOpenOption::ofNoChangeDir, OFN_NOCHANGEDIR},
      {TOpenOption::ofNoValidate, OFN_NOVALIDATE},     {TOpenOption::ofPathMustExist, OFN_PATHMUSTEXIST},
      {TOpenOption::ofFileMustExist, OFN_FILEMUSTEXIST},
  };
  std::vector<wchar_t> file(kMaxFileNameChars, L'\0');
  const std::wstring name = Widen(FFileName);
  lstrcpynW(file.data(), name.c_str(), static_cast<int>(file.size()));
  const std::wstring filter = SystemFilter(FFilter);
  const std::wstring title = Widen(FTitle);
  const std::wstring dir = Widen(FInitialDir);
  std::wstring ext = Widen(FDefaultExt);
  if (!ext.empty() && ext[0] == L'.') ext.erase(0, 1);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(std::max(FFilterIndex, 0));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  for (const auto& f : kFlags)
    if (FOptions.Contains(f.Option)) ofn.Flags |= f.Flag;

  if (!GetOpenFileNameW(&ofn)) {
    const DWORD error = CommDlgExtendedError();
    if (error == 0) return false;  // cancelled
    throw core::Exception("Cannot show the open dialog (error " + std::to_string(error) + ")");
  }
  FFileName = Narrow(file.data());
  FFilterIndex = static_cast<int>(ofn.nFilterIndex);
  if (ofn.Flags & OFN_READONLY) FOptions.Include(TOpenOption::ofReadOnly);
  else FOptions.Exclude(TOpenOption::ofReadOnly);
  return true;
}

}  // namespace bw::win
