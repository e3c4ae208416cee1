#include "extract/OutputLock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"

namespace bw::extract {
namespace {

namespace fs = std::filesystem;

TEST(OutputLock, OneHolderAtATimeAndNothingLeftBehind) {
  const fs::path folder = fs::temp_directory_path() / ("bw-lock-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  const std::string folderUtf8 = Utf8FromPath(folder);
  const std::string lockFile = folderUtf8 + PathSeparator() + kOutputLockName;
  std::string error;
  {
    TOutputLock first;
    ASSERT_TRUE(first.Acquire(folderUtf8, error)) << error;
    EXPECT_TRUE(FileExistsUtf8(lockFile));
    TOutputLock second;
    EXPECT_FALSE(second.Acquire(folderUtf8, error));
    EXPECT_NE(error.find("another run is writing into the folder " + folderUtf8), std::string::npos) << error;
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_FALSE(FileExistsUtf8(lockFile));
    EXPECT_TRUE(second.Acquire(folderUtf8, error)) << error;
  }
  // Let go with its holder.
  EXPECT_FALSE(FileExistsUtf8(lockFile));
  TOutputLock missing;
  EXPECT_FALSE(missing.Acquire(folderUtf8 + PathSeparator() + "no-such-folder", error));
  EXPECT_EQ(error.find("another run"), std::string::npos) << error;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace bw::extract
