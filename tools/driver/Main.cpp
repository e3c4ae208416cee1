// brindlewick-driver: drives a running desktop program from a shell, and measures runs.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/driver/Driver.h"
#include "tools/driver/LanguageValue.h"
#include "tools/driver/Screenshots.h"
#include "tools/driver/SourceMaker.h"

namespace {

using namespace bw::driver;

constexpr const wchar_t* kMainClass = L"TForm1";
constexpr unsigned kRunWaitMs = 30 * 60 * 1000;

int Usage() {
  std::fputs(
      "usage: brindlewick-driver COMMAND ...\n"
      "  make-source FILE [MB] [PICTURES]  write a synthetic presentation (default 30 MB, 300 JPEGs)\n"
      "  time-run EXE FILE [ARG...]        start EXE with ARGs, load FILE (answering OK to the folder question),\n"
      "                                    print the seconds until the summary and the summary\n"
      "  language get|delete|set VALUE     the stored language under HKEY_LOCAL_MACHINE\n"
      "  click CAPTION                     press a button of the running program's main window\n"
      "  open FILE | open-cancel           fill in (or cancel) the program's open dialog\n"
      "  box [ok|cancel]                   print the program's message box, then answer it\n"
      "  windows                           list the visible top-level windows\n"
      "  screenshots EXE FOLDER SUFFIX [ARG...]  start EXE (with ARGs) in each state and write\n"
      "                                    its windows as PNG files into FOLDER\n"
      "  check-start X Y EXE [ARG...]      start EXE with ARGs, wait until its main window's client\n"
      "                                    area sits at X,Y in its frame, close it; 0 when it did and\n"
      "                                    the program ended with 0\n",
      stderr);
  return 2;
}

DWORD RunningProgram() {
  HWND main = FindWindowW(kMainClass, nullptr);
  DWORD pid = 0;
  if (main) GetWindowThreadProcessId(main, &pid);
  return pid;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "brindlewick-driver: %s\n", why.c_str());
  return 1;
}

int MakeSource(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  TSourcePlan plan;
  if (args.size() > 1) plan.TargetBytes = std::stoull(args[1]) << 20;
  if (args.size() > 2) plan.Pictures = std::stoi(args[2]);
  const int n = WriteSyntheticSource(ToWindowsPath(args[0]), plan);
  if (n < 0) return Fail("cannot write " + args[0]);
  std::printf("%s: %d pictures\n", args[0].c_str(), n);
  return 0;
}

int TimeRun(const std::vector<std::string>& args) {
  if (args.size() < 2) return Usage();
  TAppProcess app;
  std::string error;
  if (!app.Start(ToWindowsPath(args[0]), error, std::vector<std::string>(args.begin() + 2, args.end()))) {
    return Fail(error);
  }
  HWND main = WaitTopWindow(app.Id(), kMainClass);
  if (!main) return Fail("the main window did not appear");
  HWND load = FindButton(main, "Load");
  if (!load) load = FindButton(main, "Choix");
  if (!load) return Fail("no Load button");
  Click(load);
  HWND dialog = WaitOpenDialog(app.Id());
  if (!dialog) return Fail("the open dialog did not appear");
  const auto start = std::chrono::steady_clock::now();
  if (!ChooseFile(dialog, ToWindowsPath(args[1]))) return Fail("the open dialog did not take the file");
  for (;;) {
    auto box = WaitMessageBox(app.Id(), kRunWaitMs);
    if (!box) return Fail("no summary within the time allowed");
    if (box->Buttons.size() > 1) {  // the folder question
      AnswerMessageBox(*box, IDOK);
      continue;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("desktop run: %.2f s\n%s\n", seconds, box->Text.c_str());
    AnswerMessageBox(*box, IDOK);
    break;
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  app.WaitExit();
  return 0;
}

int Screenshots(const std::vector<std::string>& args) {
  if (args.size() < 3) return Usage();
  std::string error;
  const std::vector<std::string> arguments(args.begin() + 3, args.end());
  if (!TakeScreenshots(ToWindowsPath(args[0]), ToWindowsPath(args[1]), args[2], arguments, error)) return Fail(error);
  return 0;
}

int Language(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  if (args[0] == "get") {
    const TStoredValue v = ReadLanguage();
    if (!v.KeyExists) std::puts("(no key)");
    else if (!v.ValueExists) std::puts("(no value)");
    else if (v.Type != REG_SZ) std::printf("(value of type %lu)\n", static_cast<unsigned long>(v.Type));
    else std::printf("%s\n", v.Text.c_str());
    return 0;
  }
  if (args[0] == "delete") return DeleteLanguageKey() ? 0 : Fail("cannot delete the key");
  if (args[0] == "set" && args.size() > 1) return WriteLanguage(args[1]) ? 0 : Fail("cannot write the value");
  return Usage();
}

int ClickButton(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const DWORD pid = RunningProgram();
  if (!pid) return Fail("the program is not running");
  HWND main = WaitTopWindow(pid, kMainClass);
  HWND button = main ? FindButton(main, args[0]) : nullptr;
  if (!button) return Fail("no button " + args[0]);
  Click(button);
  return 0;
}

int OpenDialog(bool cancel, const std::vector<std::string>& args) {
  if (!cancel && args.empty()) return Usage();
  const DWORD pid = RunningProgram();
  HWND dialog = pid ? WaitOpenDialog(pid) : nullptr;
  if (!dialog) return Fail("no open dialog");
  const bool done = cancel ? CancelDialog(dialog) : ChooseFile(dialog, ToWindowsPath(args[0]));
  return done ? 0 : Fail("the dialog did not close");
}

int Box(const std::vector<std::string>& args) {
  const DWORD pid = RunningProgram();
  auto box = pid ? WaitMessageBox(pid) : std::nullopt;
  if (!box) return Fail("no message box");
  std::printf("[%s]\n%s\n", box->Caption.c_str(), box->Text.c_str());
  if (!args.empty()) AnswerMessageBox(*box, args[0] == "cancel" ? IDCANCEL : IDOK);
  return 0;
}

POINT ClientOffset(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return POINT{origin.x - frame.left, origin.y - frame.top};
}

int CheckStart(const std::vector<std::string>& args) {
  if (args.size() < 3) return Usage();
  const int x = std::stoi(args[0]), y = std::stoi(args[1]);
  TAppProcess app;
  std::string error;
  if (!app.Start(ToWindowsPath(args[2]), error, std::vector<std::string>(args.begin() + 3, args.end()))) return Fail(error);
  HWND main = WaitTopWindow(app.Id(), kMainClass);
  if (!main) {
    if (auto box = FindMessageBox(app.Id())) return Fail("a message instead of the main window: " + box->Text);
    return Fail("the main window did not appear");
  }
  const bool placed = WaitUntil([&] {
    const POINT p = ClientOffset(main);
    return p.x == x && p.y == y;
  });
  const POINT p = ClientOffset(main);
  std::printf("main window \"%s\": client at %ld,%ld\n", WindowText(main).c_str(), p.x, p.y);
  if (auto box = FindMessageBox(app.Id())) std::printf("message: %s\n", box->Text.c_str());
  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto code = app.WaitExit();
  if (!code) return Fail("the program did not end");
  std::printf("exit %lu\n", static_cast<unsigned long>(*code));
  return placed && *code == 0 ? 0 : 1;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM /*unused*/) {
  if (!IsWindowVisible(window)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  RECT r{};
  GetWindowRect(window, &r);
  std::wstring cls = ClassOf(window);
  std::printf("%p pid %lu class %ls at %ld,%ld %ldx%ld \"%s\"\n", static_cast<void*>(window),
              static_cast<unsigned long>(pid), cls.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
              WindowText(window).c_str());
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "make-source") return MakeSource(args);
    if (command == "time-run") return TimeRun(args);
    if (command == "language") return Language(args);
    if (command == "screenshots") return Screenshots(args);
    if (command == "click") return ClickButton(args);
    if (command == "open") return OpenDialog(false, args);
    if (command == "open-cancel") return OpenDialog(true, args);
    if (command == "box") return Box(args);
    if (command == "check-start") return CheckStart(args);
    if (command == "windows") return EnumWindows(PrintWindow, 0) ? 0 : 1;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return Usage();
}
