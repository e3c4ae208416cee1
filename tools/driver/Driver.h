#pragma once
// Drives the desktop program from outside, as a user would: starts it, finds its windows,
// presses buttons, fills the open dialog, reads and answers message boxes. Every wait is
// bounded and polls; nothing here sleeps for a fixed time to let the program catch up.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bw::driver {

// Generous: a slow machine under Wine must never fail a wait that would succeed.
inline constexpr unsigned kDefaultWaitMs = 30000;

// Polls `done` every few milliseconds until it answers true or timeoutMs pass.
bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs = kDefaultWaitMs);

// The program under test; killed (and waited for) on destruction if still running.
class TAppProcess {
 public:
  TAppProcess() = default;
  TAppProcess(const TAppProcess&) = delete;
  TAppProcess& operator=(const TAppProcess&) = delete;
  ~TAppProcess();

  // false (with the system's reason in error) when the process cannot be started.
  // arguments: each is quoted on the command line.
  bool Start(const std::string& exePath, std::string& error, const std::vector<std::string>& arguments = {});
  DWORD Id() const { return FInfo.dwProcessId; }
  bool Running() const;
  // Exit code once ended within timeoutMs; nothing otherwise.
  std::optional<DWORD> WaitExit(unsigned timeoutMs = kDefaultWaitMs);
  void Kill();

 private:
  PROCESS_INFORMATION FInfo{};
};

// Visible top-level windows of process pid of the given window class (any when empty).
std::vector<HWND> TopWindows(DWORD pid, const std::wstring& className = {});
HWND WaitTopWindow(DWORD pid, const std::wstring& className, unsigned timeoutMs = kDefaultWaitMs);

// Direct children (or all descendants) of the given class, in z order.
std::vector<HWND> ChildWindows(HWND parent, const std::wstring& className, bool descendants = false);
// The visible child button whose caption is `caption` (UTF-8; '&' markers ignored).
HWND FindButton(HWND parent, const std::string& caption);

std::string WindowText(HWND window);
std::wstring ClassOf(HWND window);
bool IsShown(HWND window);

// Posts the click so that a command that opens a modal dialog does not block the driver.
void Click(HWND button);

// A message box of the process: its caption and text (UTF-8).
struct TMessageBox {
  HWND Handle = nullptr;
  std::string Caption;
  std::string Text;
  std::vector<std::string> Buttons;  // captions, in z order
};
std::optional<TMessageBox> FindMessageBox(DWORD pid);
std::optional<TMessageBox> WaitMessageBox(DWORD pid, unsigned timeoutMs = kDefaultWaitMs);
// Presses the button with this command id (IDOK, IDCANCEL) and waits for the box to go.
bool AnswerMessageBox(const TMessageBox& box, int commandId, unsigned timeoutMs = kDefaultWaitMs);

// The open dialog of the process (the dialog holding the file-name control).
HWND FindOpenDialog(DWORD pid);
HWND WaitOpenDialog(DWORD pid, unsigned timeoutMs = kDefaultWaitMs);
// Types the path into the file-name field and presses Open; true once the dialog is gone.
bool ChooseFile(HWND dialog, const std::string& pathUtf8, unsigned timeoutMs = kDefaultWaitMs);
bool CancelDialog(HWND dialog, unsigned timeoutMs = kDefaultWaitMs);

// Drops one file on a window of process pid as the shell does: a DROPFILES block in the
// program's memory, posted as WM_DROPFILES. The block is one page of the driver's making:
// the program's DragFinish cannot free it and leaves it (Wine tolerates that; tests only).
bool DropFile(HWND window, DWORD pid, const std::string& pathUtf8);

// Chooses item `index` of a drop-down list as a user would: selects it and tells the
// parent (CBN_SELCHANGE), which is what a click in the list does.
void SelectComboItem(HWND combo, int index);

// Screen pixel as 0x00BBGGRR.
COLORREF ScreenPixel(int x, int y);
// Client point of a window in screen coordinates.
POINT ClientToScreenPoint(HWND window, int x, int y);

// Windows path of a Unix path, as the program sees it ("Z:\..." under Wine); a path
// that already looks like a Windows one is returned as it is.
std::string ToWindowsPath(const std::string& path);

}  // namespace bw::driver
