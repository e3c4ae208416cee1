// The Windows build of the extractor as a user starts it: a non-ASCII name on its command
// line reaches it whole, whatever the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "extract/FileIo.h"
#include "tools/driver/Driver.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;

std::wstring Wide(const std::string& utf8) {
  const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), count);
  text.resize(text.size() - 1);
  return text;
}

DWORD RunIn(const fs::path& folder, const std::wstring& arguments) {
  std::wstring line = L"\"" + Wide(driver::ToWindowsPath(BW_EXTRACT_EXE)) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, folder.c_str(),
                      &startup, &process)) {
    return 1000 + GetLastError();
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 999;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST(ExtractExe, NonAsciiArgumentsArriveWhole) {
  const fs::path folder = fs::temp_directory_path() / ("bw-exe-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  const std::string name = "caf\xC3\xA9.ppt";
  fs::copy_file(extract::PathFromUtf8(driver::ToWindowsPath(BW_SOURCE_DIR "/tests/fixtures/sample_mixed.ppt")),
                folder / extract::PathFromUtf8(name));
  EXPECT_EQ(RunIn(folder, L"--yes --quiet " + Wide(name)), 0u);
  EXPECT_TRUE(fs::exists(folder / extract::PathFromUtf8("caf\xC3\xA9") / extract::PathFromUtf8("caf\xC3\xA9_001.jpg")));
  // A name of four characters and none: the folder is the source's own.
  const std::string noel = "No\xC3\xABl";
  fs::copy_file(folder / extract::PathFromUtf8(name), folder / extract::PathFromUtf8(noel));
  EXPECT_EQ(RunIn(folder, L"--yes --quiet " + Wide(noel)), 0u);
  EXPECT_TRUE(fs::exists(folder / "_001.jpg"));
  std::error_code error;
  fs::remove_all(folder, error);
}

}  // namespace
}  // namespace bw::tools
