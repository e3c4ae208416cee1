#include "tools/driver/Driver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include <string_view>

namespace bw::driver {
namespace {

constexpr unsigned kPollMs = 15;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kFileNameControlId = 0x47C;
// Bounds a cross-process send so a program stuck in a modal loop cannot hang the driver.
constexpr UINT kSendTimeoutMs = 5000;

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string WithoutAccelerators(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

struct TEnumTop {
  DWORD Pid;
  const std::wstring* ClassName;
  std::vector<HWND>* Out;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto& e = *reinterpret_cast<TEnumTop*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != e.Pid || !IsWindowVisible(window)) return TRUE;
  if (!e.ClassName->empty() && ClassOf(window) != *e.ClassName) return TRUE;
  e.Out->push_back(window);
  return TRUE;
}

struct TEnumChild {
  HWND Parent;
  const std::wstring* ClassName;
  bool Descendants;
  std::vector<HWND>* Out;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto& e = *reinterpret_cast<TEnumChild*>(param);
  if (!e.Descendants && GetParent(window) != e.Parent) return TRUE;
  if (!e.ClassName->empty() && ClassOf(window) != *e.ClassName) return TRUE;
  e.Out->push_back(window);
  return TRUE;
}

bool WaitGone(HWND window, unsigned timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
}

TAppProcess::~TAppProcess() { Kill(); }

bool TAppProcess::Start(const std::string& exePath, std::string& error, const std::vector<std::string>& arguments) {
  Kill();
  std::wstring commandLine = L"\"" + Widen(exePath) + L"\"";
  for (const std::string& argument : arguments) commandLine += L" \"" + Widen(argument) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Wine now and then fails a start with an internal error while the previous instance of
  // the program is still going away; a later attempt succeeds.
  bool started = false;
  DWORD code = 0;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &FInfo) != 0;
    code = started ? 0 : GetLastError();
    if (!started && code != ERROR_INTERNAL_ERROR) break;
    if (!started) Sleep(200);
  }
  if (!started) {
    FInfo = {};
    error = "cannot start " + exePath + " (system error " + std::to_string(code) + ")";
    return false;
  }
  WaitForInputIdle(FInfo.hProcess, kDefaultWaitMs);
  return true;
}

bool TAppProcess::Running() const {
  return FInfo.hProcess != nullptr && WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TAppProcess::WaitExit(unsigned timeoutMs) {
  if (FInfo.hProcess == nullptr || WaitForSingleObject(FInfo.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return code;
}

void TAppProcess::Kill() {
  if (FInfo.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(FInfo.hProcess, 99);
    WaitForSingleObject(FInfo.hProcess, kDefaultWaitMs);
  }
  CloseHandle(FInfo.hThread);
  CloseHandle(FInfo.hProcess);
  FInfo = {};
}

std::vector<HWND> TopWindows(DWORD pid, const std::wstring& className) {
  std::vector<HWND> out;
  TEnumTop e{pid, &className, &out};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&e));
  return out;
}

HWND WaitTopWindow(DWORD pid, const std::wstring& className, unsigned timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = TopWindows(pid, className);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

std::vector<HWND> ChildWindows(HWND parent, const std::wstring& className, bool descendants) {
  std::vector<HWND> out;
  TEnumChild e{parent, &className, descendants, &out};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&e));
  return out;
}

HWND FindButton(HWND parent, const std::string& caption) {
  for (HWND child : ChildWindows(parent, {}, true)) {
    if (IsWindowVisible(child) && WithoutAccelerators(WindowText(child)) == caption) return child;
  }
  return nullptr;
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &copied);
  text.resize(std::min<size_t>(copied, length));
  return Narrow(text);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

bool IsShown(HWND window) { return window != nullptr && IsWindow(window) && IsWindowVisible(window); }

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::optional<TMessageBox> FindMessageBox(DWORD pid) {
  for (HWND dialog : TopWindows(pid, L"#32770")) {
    HWND text = GetDlgItem(dialog, kMessageBoxTextId);
    if (text == nullptr) continue;
    TMessageBox box;
    box.Handle = dialog;
    box.Caption = WindowText(dialog);
    box.Text = WindowText(text);
    for (HWND button : ChildWindows(dialog, L"Button")) {
      if (IsWindowVisible(button)) box.Buttons.push_back(WithoutAccelerators(WindowText(button)));
    }
    return box;
  }
  return std::nullopt;
}

std::optional<TMessageBox> WaitMessageBox(DWORD pid, unsigned timeoutMs) {
  std::optional<TMessageBox> box;
  WaitUntil(
      [&] {
        box = FindMessageBox(pid);
        return box.has_value();
      },
      timeoutMs);
  return box;
}

bool AnswerMessageBox(const TMessageBox& box, int commandId, unsigned timeoutMs) {
  PostMessageW(box.Handle, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.Handle, commandId)));
  return WaitGone(box.Handle, timeoutMs);
}

HWND FindOpenDialog(DWORD pid) {
  for (HWND dialog : TopWindows(pid, L"#32770")) {
    if (GetDlgItem(dialog, kFileNameControlId) != nullptr) return dialog;
  }
  return nullptr;
}

HWND WaitOpenDialog(DWORD pid, unsigned timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindOpenDialog(pid);
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

bool ChooseFile(HWND dialog, const std::string& pathUtf8, unsigned timeoutMs) {
  HWND nameControl = GetDlgItem(dialog, kFileNameControlId);
  if (nameControl == nullptr) return false;
  const auto edits = ChildWindows(nameControl, L"Edit", true);
  HWND edit = edits.empty() ? nameControl : edits.front();
  const std::wstring path = Widen(pathUtf8);
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &ignored)) {
    return false;
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return WaitGone(dialog, timeoutMs);
}

bool CancelDialog(HWND dialog, unsigned timeoutMs) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  return WaitGone(dialog, timeoutMs);
}

void SelectComboItem(HWND combo, int index) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  const int id = GetDlgCtrlID(combo);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

std::string ToWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

bool DropFile(HWND window, DWORD pid, const std::string& pathUtf8) {
  const std::wstring path = Widen(pathUtf8);
  std::vector<std::uint8_t> block(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = POINT{20, 20};
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  std::memcpy(block.data() + sizeof header, path.c_str(), path.size() * sizeof(wchar_t));
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return false;
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written =
      remote != nullptr && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr) != 0;
  CloseHandle(process);
  return written && PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0;
}

}  // namespace bw::driver
