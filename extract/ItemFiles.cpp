#include "extract/ItemFiles.h"

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"
#include "extract/RunFolder.h"

namespace bw::extract {
namespace {
constexpr auto kHostInterval = std::chrono::milliseconds(20);
}  // namespace

TScanResult TItemFiles::Begin(bool sound, const std::string& extension) {
  const TFolderResult folder = PrepareRunFolder(FState, FHost, FLock);
  if (folder != TFolderResult::Ready) return ScanResultFor(folder);
  FCount = sound ? &FState.SoundCount : &FState.PictureCount;
  FPath = MakeOutputName(FState.OutputFolder, BaseNameOf(FState.SourceName), *FCount, extension);
  if (!FOutput.Create(FPath)) {
    FHost.ReportError({TRunErrorKind::WriteFailed, FPath, FOutput.ErrorText()});
    return TScanResult::WriteFailed;
  }
  return TScanResult::Completed;
}

bool TItemFiles::Advance(std::uint64_t bytes, bool force) {
  FDoneBytes += bytes;
  const auto now = std::chrono::steady_clock::now();
  if (force || now - FLastCall >= kHostInterval) {
    FLastCall = now;
    FHost.Progress(ProgressPercent(FDoneBytes, FTotalBytes));
    FHost.ProcessMessages();
  }
  return FState.AbortRequested;
}

TScanResult TItemFiles::Finish(bool whole, bool& kept, std::uint64_t& sizeBytes) {
  kept = false;
  sizeBytes = FOutput.SizeBytes();
  if (!FOutput.Close()) {
    const std::string cause = FOutput.ErrorText();
    RemoveFileUtf8(FPath);
    FHost.ReportError({TRunErrorKind::WriteFailed, FPath, cause});
    return TScanResult::WriteFailed;
  }
  if (Stopped()) {
    // Stopped inside the item: what was written is no whole item and is not counted.
    RemoveFileUtf8(FPath);
    return TScanResult::Aborted;
  }
  if (!whole) {
    RemoveFileUtf8(FPath);
    return TScanResult::Completed;
  }
  ++*FCount;
  kept = true;
  return TScanResult::Completed;
}

}  // namespace bw::extract
