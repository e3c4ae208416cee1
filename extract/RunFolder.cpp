#include "extract/RunFolder.h"

#include <filesystem>
#include <system_error>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"

namespace bw::extract {
namespace {

TFolderResult Lock(TRunState& state, TRunHost& host, TOutputLock& lock) {
  std::string reason;
  if (lock.Acquire(state.OutputFolder, reason)) return TFolderResult::Ready;
  host.ReportError({TRunErrorKind::WriteFailed, state.OutputFolder + PathSeparator() + kOutputLockName, reason});
  return TFolderResult::NotLocked;
}

}  // namespace

TFolderResult PrepareRunFolder(TRunState& state, TRunHost& host, TOutputLock& lock) {
  if (state.FolderPrepared) return TFolderResult::Ready;
  state.FolderPrepared = true;
  state.OutputFolder = OutputFolderFor(state.OutputFolder, state.SourceName);
  if (DirectoryExistsUtf8(state.OutputFolder)) {
    const TFolderResult locked = Lock(state, host, lock);
    if (locked != TFolderResult::Ready) return locked;
    const bool confirmed = host.ConfirmExistingFolder(state.OutputFolder);
    // A stop asked for during the question (or just after it) ends the run before a file.
    if (confirmed && !state.AbortRequested) host.ProcessMessages();
    if (state.AbortRequested) return TFolderResult::Aborted;
    return confirmed ? TFolderResult::Ready : TFolderResult::Cancelled;
  }
  std::error_code error;
  std::filesystem::create_directory(PathFromUtf8(state.OutputFolder), error);
  if (!error && DirectoryExistsUtf8(state.OutputFolder)) return Lock(state, host, lock);
  host.FolderCreationFailed(state.OutputFolder);
  return TFolderResult::NotCreated;
}

TScanResult ScanResultFor(TFolderResult result) {
  switch (result) {
    case TFolderResult::Ready: return TScanResult::Completed;
    case TFolderResult::Cancelled: return TScanResult::FolderCancelled;
    case TFolderResult::NotCreated: return TScanResult::FolderNotCreated;
    case TFolderResult::Aborted: return TScanResult::Aborted;
    case TFolderResult::NotLocked: return TScanResult::WriteFailed;
  }
  return TScanResult::WriteFailed;
}

}  // namespace bw::extract
