#pragma once
// One desktop program under test, driven from outside, with a scratch folder of its own.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/driver/Driver.h"

namespace bw::app::test {

// The program and the fixtures, as Windows paths.
std::string ProgramPath();
std::string FixturePath(const std::string& name);

// A folder under the system's temporary folder, removed with everything in it.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  const std::filesystem::path& Path() const { return FPath; }
  std::string Utf8() const;
  // Copies a fixture in; answers the copy's path.
  std::string Copy(const std::string& fixture) const;

 private:
  std::filesystem::path FPath;
};

// Files directly in a folder, by name, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

class TAppSession {
 public:
  // Starts the program and waits for its main window (which shows only once the
  // language window, if any, has closed).
  bool Start(std::string& error, bool waitMain = true, const std::vector<std::string>& arguments = {});
  bool WaitMain();
  DWORD Pid() const { return FApp.Id(); }
  HWND Main() const { return FMain; }
  driver::TAppProcess& Process() { return FApp; }

  std::string Caption() const { return driver::WindowText(FMain); }
  // The visible button of the main window with this caption, or null.
  HWND Button(const std::string& caption) const { return driver::FindButton(FMain, caption); }
  // Clicks the visible Load button (any language) and waits for the open dialog.
  HWND ClickLoad();
  // Load, then the file typed into the open dialog.
  bool Load(const std::string& path);
  // Load, then Cancel in the open dialog.
  bool LoadCancelled();
  std::optional<driver::TMessageBox> Box(unsigned timeoutMs = driver::kDefaultWaitMs) const {
    return driver::WaitMessageBox(Pid(), timeoutMs);
  }
  // Waits for a box, answers it, returns it; an empty Text when none came.
  driver::TMessageBox AnswerBox(int commandId = IDOK);
  // Waits until the window shows Load (or Choix) again.
  bool WaitIdle() const;
  // Closes the program as a user would and waits for it to end; its exit code.
  std::optional<DWORD> Close();

 private:
  driver::TAppProcess FApp;
  HWND FMain = nullptr;
};

// Runs of the program print the output folder with a trailing backslash.
std::string SummaryFound(bool french, int pictures, int sounds, const std::string& folder);
std::string SummaryNothing(bool french, const std::string& sourceName);

}  // namespace bw::app::test
