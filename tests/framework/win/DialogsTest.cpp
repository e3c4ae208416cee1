// The message dialog and the open dialog, answered from a helper thread as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "framework/core/FormStreaming.h"
#include "framework/core/Text.h"
#include "framework/core/ClassRegistry.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Text.h"

namespace bw::win {
namespace {

// Polls for a visible top-level window; the bound only keeps a broken run from waiting forever.
HWND WaitForWindow(const wchar_t* className, const wchar_t* caption) {
  for (int i = 0; i < 1000; ++i) {
    HWND w = FindWindowW(className, caption);
    if (w && IsWindowVisible(w)) return w;
    Sleep(10);
  }
  return nullptr;
}

std::string TextOf(HWND window) {
  if (!window) return "<none>";
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return Narrow(text);
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Shows(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button && IsWindowVisible(button);
}

struct TSeen {
  bool Found = false;
  std::string Text;
  HWND Owner = nullptr;
  std::string ButtonTexts;  // "id=text;" for every visible button
};

TEST(MessageDlg, CaptionsButtonsAndResults) {
  struct TCase {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    const wchar_t* Caption;
    int Press;
    int Result;
    const char* ButtonTexts;
  } cases[] = {
      {TMsgDlgType::mtWarning, mbOKCancel, L"Warning", IDCANCEL, mrCancel, "1=OK;2=Cancel;"},
      {TMsgDlgType::mtWarning, mbOKCancel, L"Warning", IDOK, mrOk, "1=OK;2=Cancel;"},
      {TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, L"Information", IDOK, mrOk, "1=OK;"},
      {TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, L"Error", IDOK, mrOk, "1=OK;"},
      {TMsgDlgType::mtConfirmation, mbYesNoCancel, L"Confirm", IDNO, mrNo, "2=Cancel;6=&Yes;7=&No;"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Narrow(c.Caption));
    TSeen seen;
    std::thread user([&] {
      HWND box = WaitForWindow(L"#32770", c.Caption);
      if (!box) return;
      seen.Found = true;
      seen.Text = TextOf(GetDlgItem(box, 0xFFFF));
      for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (Shows(box, id)) seen.ButtonTexts += std::to_string(id) + "=" + TextOf(GetDlgItem(box, id)) + ";";
      Press(box, c.Press);
    });
    const int result = MessageDlg("Pictures found: 3\nCaf\xC3\xA9", c.Type, c.Buttons, 0);
    user.join();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Text, "Pictures found: 3\nCaf\xC3\xA9");
    EXPECT_EQ(seen.ButtonTexts, c.ButtonTexts);
    EXPECT_EQ(result, c.Result);
  }
}

TEST(MessageDlg, OwnedByTheActiveWindow) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"Owner of the box", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  SetForegroundWindow(owner);
  SetActiveWindow(owner);
  ASSERT_EQ(GetActiveWindow(), owner);
  TSeen seen;
  std::thread user([&] {
    HWND box = WaitForWindow(L"#32770", L"Information");
    if (!box) return;
    seen.Found = true;
    seen.Owner = GetWindow(box, GW_OWNER);
    Press(box, IDOK);
  });
  EXPECT_EQ(MessageDlg("Done.", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}), mrOk);
  user.join();
  EXPECT_TRUE(seen.Found);
  EXPECT_EQ(seen.Owner, owner);
  DestroyWindow(owner);
}

HWND FindChildOfClass(HWND parent, const wchar_t* className) {
  struct TSearch {
    const wchar_t* Class;
    HWND Found;
  } search{className, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(param);
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, s->Class) != 0) return TRUE;
        s->Found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

class OpenDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    FDir = std::filesystem::temp_directory_path() / ("bw-open-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(FDir);
    std::ofstream(FDir / "pick.bmp") << "x";
    FWorkDir = std::filesystem::current_path();
  }
  void TearDown() override {
    std::filesystem::current_path(FWorkDir);
    std::error_code ec;
    std::filesystem::remove_all(FDir, ec);
  }

  // Runs the dialog while a helper types `fileName` (empty: cancels); answers Execute().
  bool Run(TOpenDialog& dialog, const std::wstring& fileName, bool& found) {
    found = false;
    std::thread user([&] {
      HWND box = WaitForWindow(L"#32770", Widen(dialog.Title()).c_str());
      if (!box) return;
      found = true;
      if (fileName.empty()) return Press(box, IDCANCEL);
      // The name field is an edit nested inside control 0x47C.
      HWND combo = GetDlgItem(box, 0x47C);
      HWND edit = combo ? FindChildOfClass(combo, L"Edit") : nullptr;
      if (!edit) edit = GetDlgItem(box, 0x480);
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
      Press(box, IDOK);
    });
    const bool chosen = dialog.Execute();
    user.join();
    return chosen;
  }

  std::filesystem::path FDir;
  std::filesystem::path FWorkDir;
};

TEST_F(OpenDialogTest, ChosenFileComesBackAndCancelKeepsTheOldName) {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("Choose a presentation");
  dialog.SetFilter("Pictures|*.bmp|All files|*.*|Dangling description");
  dialog.SetFilterIndex(2);
  dialog.SetInitialDir(FDir.string());
  dialog.SetOptions({TOpenOption::ofFileMustExist, TOpenOption::ofHideReadOnly, TOpenOption::ofNoChangeDir});
  bool found = false;
  const std::wstring path = (FDir / "pick.bmp").wstring();
  ASSERT_TRUE(Run(dialog, path, found));
  EXPECT_TRUE(found);
  EXPECT_EQ(core::LowerCase(dialog.FileName()), core::LowerCase(Narrow(path)));
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_EQ(std::filesystem::current_path(), FWorkDir);  // ofNoChangeDir

  EXPECT_FALSE(Run(dialog, L"", found));
  EXPECT_TRUE(found);
  EXPECT_EQ(core::LowerCase(dialog.FileName()), core::LowerCase(Narrow(path)));
}

TEST(OpenDialog, FormDescriptionSetsThePublishedProperties) {
  const std::string text =
      "object OpenDialog1: TOpenDialog\n"
      "  FileName = 'a.ppt'\n"
      "  Filter = 'Presentations|*.ppt;*.pps|All files|*.*'\n"
      "  FilterIndex = 2\n"
      "  Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist]\n"
      "  Title = 'Open'\n"
      "end\n";
  std::unique_ptr<core::TComponent> made = core::CreateComponentFromText(text);
  auto* dialog = dynamic_cast<TOpenDialog*>(made.get());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Title(), "Open");
  EXPECT_EQ(dialog->FilterIndex(), 2);
  EXPECT_TRUE(dialog->Options().Contains(TOpenOption::ofFileMustExist));
  EXPECT_FALSE(dialog->Options().Contains(TOpenOption::ofNoChangeDir));
  EXPECT_EQ(core::WriteComponentText(*dialog), text);
}

}  // namespace
}  // namespace bw::win
