#include "tests/app/AppHarness.h"

#include <algorithm>
#include <atomic>
#include <fstream>

namespace bw::app::test {
namespace {

std::string ToUtf8(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

std::filesystem::path FromUtf8(const std::string& s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

}  // namespace

std::string ProgramPath() { return driver::ToWindowsPath(BW_APP_EXE); }

std::string FixturePath(const std::string& name) {
  return driver::ToWindowsPath(std::string(BW_SOURCE_DIR) + "/tests/fixtures/" + name);
}

TScratchFolder::TScratchFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  FPath = std::filesystem::path(temp) /
          ("bw-app-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(FPath);
  std::filesystem::create_directories(FPath);
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string TScratchFolder::Utf8() const { return ToUtf8(FPath); }

std::string TScratchFolder::Copy(const std::string& fixture) const {
  const std::filesystem::path from = FromUtf8(FixturePath(fixture));
  const std::filesystem::path to = FPath / from.filename();
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  return ToUtf8(to);
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) names.push_back(ToUtf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool TAppSession::Start(std::string& error, bool waitMain, const std::vector<std::string>& arguments) {
  FMain = nullptr;
  if (!FApp.Start(ProgramPath(), error, arguments)) return false;
  if (!waitMain) return true;
  if (!WaitMain()) error = "the main window did not appear";
  return FMain != nullptr;
}

bool TAppSession::WaitMain() {
  FMain = driver::WaitTopWindow(FApp.Id(), L"TForm1");
  return FMain != nullptr;
}

HWND TAppSession::ClickLoad() {
  HWND load = nullptr;
  driver::WaitUntil([&] {
    load = Button("Load");
    if (!load) load = Button("Choix");
    return load != nullptr;
  });
  if (!load) return nullptr;
  driver::Click(load);
  return driver::WaitOpenDialog(Pid());
}

bool TAppSession::Load(const std::string& path) {
  HWND dialog = ClickLoad();
  return dialog && driver::ChooseFile(dialog, path);
}

bool TAppSession::LoadCancelled() {
  HWND dialog = ClickLoad();
  return dialog && driver::CancelDialog(dialog);
}

driver::TMessageBox TAppSession::AnswerBox(int commandId) {
  auto box = Box();
  if (!box) return {};
  driver::AnswerMessageBox(*box, commandId);
  return *box;
}

bool TAppSession::WaitIdle() const {
  return driver::WaitUntil([&] { return Button("Load") != nullptr || Button("Choix") != nullptr; });
}

std::optional<DWORD> TAppSession::Close() {
  PostMessageW(FMain, WM_CLOSE, 0, 0);
  return FApp.WaitExit();
}

std::string SummaryFound(bool french, int pictures, int sounds, const std::string& folder) {
  if (french) {
    return "Nombre de photos trouv\xC3\xA9" "es = " + std::to_string(pictures) +
           "\nNombre de fichiers wave trouv\xC3\xA9s = " + std::to_string(sounds) +
           "\n\nCes fichiers ont \xC3\xA9t\xC3\xA9 sauvegard\xC3\xA9s dans le r\xC3\xA9pertoire\n" + folder + "\\";
  }
  return "Number of pictures found = " + std::to_string(pictures) + "\nNumber of wave files found = " +
         std::to_string(sounds) + "\n\nThey have been saved in directory\n" + folder + "\\";
}

std::string SummaryNothing(bool french, const std::string& sourceName) {
  return (french ? "Brindlewick n'a pu extraire aucune image ou son de ce fichier\n"
                 : "Brindlewick could not extract any picture or sound from this file\n") +
         sourceName;
}

}  // namespace bw::app::test
