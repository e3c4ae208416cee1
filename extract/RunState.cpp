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
  int openError = 0;
  std::FILE* handle = OpenRegularFileUtf8(pathUtf8, openError);
  if (handle == nullptr) return openError;
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
  // A relative path stays relative (an absolute form can pass the system's length limit
  // from a deep working directory); only a Windows drive-relative one ("C:x.ppt") is made
  // absolute, as its folder could not be named otherwise.
  const std::filesystem::path given = PathFromUtf8(path);
  if (!path.empty() && given.has_root_name() && !given.has_root_directory()) {
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
  state.StopNow = false;
  state.FolderPrepared = false;
  return TOpenResult::Opened;
}

}  // namespace bw::extract
