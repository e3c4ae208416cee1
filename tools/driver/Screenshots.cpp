#include "tools/driver/Screenshots.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <stdexcept>

#include "tools/driver/Driver.h"
#include "tools/driver/LanguageValue.h"
#include "tools/driver/ScreenPng.h"
#include "tools/driver/SourceMaker.h"

namespace bw::driver {
namespace {

// A fixed place, so that the paths the boxes show are the same on every machine.
constexpr const char* kShotFolder = "C:\\brindlewick-shots";
constexpr const char* kShotSource = "C:\\brindlewick-shots\\talk.ppt";

struct TShotError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

template <class T>
T Need(T value, const std::string& what) {
  if (!value) throw TShotError(what);
  return value;
}

RECT WindowArea(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT Union(const RECT& a, const RECT& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

class TShooter {
 public:
  TShooter(const std::string& exe, const std::string& folder, const std::string& suffix,
           const std::vector<std::string>& arguments)
      : FExe(exe), FFolder(folder), FSuffix(suffix), FArguments(arguments) {}

  void All() {
    // No hot control under the pointer.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    LanguageAndRun();
    GalleryMenu();
    Mdi();
  }

 private:
  // The windows shown are repainted first and waited for: on a busy machine a program may
  // not have painted its last change for longer than the screen needs to look steady.
  void Shot(const std::string& name, const RECT& area, std::initializer_list<HWND> shown) {
    for (HWND window : shown) {
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    WaitScreenSteady(area);
    const std::string path = FFolder + "\\" + name + FSuffix + ".png";
    if (!SaveScreenPng(path, area)) throw TShotError("cannot write " + path);
    std::printf("%s\n", path.c_str());
  }

  void Start(TAppProcess& app, const std::vector<std::string>& more) {
    std::vector<std::string> arguments = more;
    arguments.insert(arguments.end(), FArguments.begin(), FArguments.end());
    std::string error;
    if (!app.Start(FExe, error, arguments)) throw TShotError(error);
  }

  void LanguageAndRun() {
    CreateDirectoryA(kShotFolder, nullptr);
    TSourcePlan plan;
    plan.TargetBytes = std::uint64_t{4} << 20;
    plan.Pictures = 2;
    plan.PictureWidthPx = 400;
    plan.PictureHeightPx = 240;
    Need(WriteSyntheticSource(kShotSource, plan) == 2, std::string("cannot write ") + kShotSource);
    // The output folder exists already, so the run asks before it writes.
    CreateDirectoryA((std::string(kShotFolder) + "\\talk").c_str(), nullptr);

    Need(WriteLanguage("??"), "cannot ask for the language window");
    TAppProcess app;
    Start(app, {});
    HWND language = Need(WaitTopWindow(app.Id(), L"TForm2"), "the language window did not appear");
    Shot("language", WindowArea(language), {language});
    HWND ok = Need(FindButton(language, "OK"), "no OK in the language window");
    const auto combos = ChildWindows(language, L"TComboBox");
    Need(!combos.empty(), "no list in the language window");
    SelectComboItem(combos.front(), 0);
    Need(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }), "OK stays disabled");
    Click(ok);

    HWND main = Need(WaitTopWindow(app.Id(), L"TForm1"), "the main window did not appear");
    Need(WaitUntil([&] { return FindButton(main, "Load") != nullptr; }), "no Load button");
    Shot("main-idle", WindowArea(main), {main});

    Click(FindButton(main, "Load"));
    HWND dialog = Need(WaitOpenDialog(app.Id()), "the open dialog did not appear");
    Need(ChooseFile(dialog, kShotSource), "the open dialog did not take the source");
    auto question = WaitMessageBox(app.Id());
    Need(question.has_value(), "no folder question");
    Shot("folder-question", Union(WindowArea(main), WindowArea(question->Handle)), {main, question->Handle});
    Need(AnswerMessageBox(*question, IDOK), "the folder question stays");

    // The run's last moment, caught behind its summary: the bar full, the last picture in
    // the preview, Abort still shown. Always the same, unlike a moment in the middle.
    auto summary = WaitMessageBox(app.Id());
    Need(summary.has_value(), "no summary");
    ShowWindow(summary->Handle, SW_HIDE);
    Need(WaitUntil([&] { return !IsWindowVisible(summary->Handle); }), "the summary stays in front of the run");
    Shot("run", WindowArea(main), {main});
    ShowWindow(summary->Handle, SW_SHOWNA);
    Need(WaitUntil([&] { return IsWindowVisible(summary->Handle) != FALSE; }), "the summary did not come back");
    Shot("summary", Union(WindowArea(main), WindowArea(summary->Handle)), {main, summary->Handle});
    AnswerMessageBox(*summary, IDOK);
    PostMessageW(main, WM_CLOSE, 0, 0);
    app.WaitExit();
  }

  HWND StartGallery(TAppProcess& app) {
    Start(app, {"--gallery"});
    return Need(WaitTopWindow(app.Id(), L"TGalleryForm"), "the gallery did not appear");
  }

  void GalleryMenu() {
    TAppProcess app;
    HWND gallery = StartGallery(app);
    WaitScreenSteady(WindowArea(gallery));
    // Alt+F, as the keyboard opens it.
    PostMessageW(gallery, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    HWND menu = nullptr;
    Need(WaitUntil([&] {
           for (HWND w : TopWindows(app.Id(), L"#32768")) menu = w;
           return menu != nullptr;
         }),
         "the menu did not open");
    Shot("gallery-menu", Union(WindowArea(gallery), WindowArea(menu)), {gallery, menu});
  }

  void Mdi() {
    TAppProcess app;
    HWND gallery = StartGallery(app);
    Click(Need(FindButton(gallery, "MDI window..."), "no MDI button in the gallery"));
    HWND mdi = Need(WaitTopWindow(app.Id(), L"TGalleryMdiForm"), "the MDI window did not appear");
    HWND client = nullptr;
    Need(WaitUntil([&] {
           const auto clients = ChildWindows(mdi, L"MDIClient");
           client = clients.empty() ? nullptr : clients.front();
           return client && ChildWindows(client, L"TGalleryMdiChild").size() >= 3;
         }),
         "the MDI window did not get its children");
    // Side by side, as Window > Tile puts them.
    SendMessageW(client, WM_MDITILE, MDITILE_VERTICAL, 0);
    Shot("mdi", WindowArea(mdi), {mdi});
  }

  std::string FExe, FFolder, FSuffix;
  std::vector<std::string> FArguments;
};

}  // namespace

bool TakeScreenshots(const std::string& exe, const std::string& folder, const std::string& suffix,
                     const std::vector<std::string>& arguments, std::string& error) {
  try {
    TShooter(exe, folder, suffix, arguments).All();
    return true;
  } catch (const TShotError& e) {
    error = e.what();
    return false;
  }
}

}  // namespace bw::driver
