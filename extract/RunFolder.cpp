#include "extract/RunFolder.h"

#include <filesystem>
#include <system_error>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"

namespace bw::extract {

TFolderResult PrepareRunFolder(TRunState& state, TRunHost& host) {
  if (state.FolderPrepared) return TFolderResult::Ready;
  state.FolderPrepared = true;
  state.OutputFolder = OutputFolderFor(state.OutputFolder, state.SourceName);
  if (DirectoryExistsUtf8(state.OutputFolder)) {
    return host.ConfirmExistingFolder(state.OutputFolder) ? TFolderResult::Ready : TFolderResult::Cancelled;
  }
  std::error_code error;
  std::filesystem::create_directory(PathFromUtf8(state.OutputFolder), error);
  if (!error && DirectoryExistsUtf8(state.OutputFolder)) return TFolderResult::Ready;
  host.FolderCreationFailed(state.OutputFolder);
  return TFolderResult::NotCreated;
}

}  // namespace bw::extract
