#include "extract/RunState.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"

namespace bw::extract {

int TSourceFile::Open(const std::string& pathUtf8) {
  Close();
  const std::filesystem::path path = PathFromUtf8(pathUtf8);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return EISDIR;
  std::FILE* handle = OpenFileUtf8(pathUtf8, "rb");
  if (handle == nullptr) return errno != 0 ? errno : ENOENT;
  const std::uintmax_t sizeBytes = std::filesystem::file_size(path, error);
  if (error) {
    std::fclose(handle);
    return error.value() != 0 ? error.value() : EIO;
  }
  FHandle = handle;
  FSizeBytes = sizeBytes;
  FPath = pathUtf8;
  return 0;
}

void TSourceFile::Close() {
  if (FHandle != nullptr) std::fclose(FHandle);
  FHandle = nullptr;
  FSizeBytes = 0;
}

TOpenResult BeginRun(TRunState& state, const std::string& sourcePathUtf8, int& errnoValue) {
  std::string path = sourcePathUtf8;
  std::error_code error;
  if (!path.empty() && PathFromUtf8(path).is_relative()) {
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), error);
    if (!error) path = Utf8FromPath(absolute);
  }
  errnoValue = state.Source.Open(path);
  if (errnoValue != 0) return TOpenResult::NotOpened;
  state.SourceSize = state.Source.SizeBytes();
  state.Position = 0;
  state.Window = {};
  state.PictureCount = 0;
  state.SoundCount = 0;
  state.OutputFolder = DirectoryOf(path);
  state.SourceName = FileNameOf(path);
  state.PngPreviewFailed = false;
  state.AbortRequested = false;
  state.FolderPrepared = false;
  return TOpenResult::Opened;
}

}  // namespace bw::extract
