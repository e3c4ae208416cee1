#include "extract/ZipRun.h"

#include <algorithm>
#include <chrono>

#include "extract/FileIo.h"
#include "extract/OutputFile.h"
#include "extract/OutputNaming.h"
#include "extract/RunFolder.h"

namespace bw::extract {
namespace {

constexpr auto kHostInterval = std::chrono::milliseconds(20);

struct TMediaItem {
  const TZipEntry* Entry;
  TMediaEntry Media;
};

class TZipWriter {
 public:
  TZipWriter(TRunState& state, TRunHost& host, TZipContainer& zip, TStructureOutcome& outcome,
             std::uint64_t totalBytes)
      : FState(state), FHost(host), FZip(zip), FOutcome(outcome), FTotalBytes(totalBytes) {}

  TScanResult WriteItem(const TMediaItem& item) {
    const TZipEntry& entry = *item.Entry;
    const TZipResult admitted = FZip.Admit(entry);
    if (!admitted.Ok()) {
      FOutcome.Problems.push_back(entry.Name + ": " + admitted.Reason + "; skipped");
      return TScanResult::Completed;
    }
    const TFolderResult folder = PrepareRunFolder(FState, FHost, FLock);
    if (folder != TFolderResult::Ready) return ScanResultFor(folder);
    const bool picture = item.Media.Class == TMediaClass::Picture;
    std::int32_t& count = picture ? FState.PictureCount : FState.SoundCount;
    const std::string path =
        MakeOutputName(FState.OutputFolder, BaseNameOf(FState.SourceName), count, item.Media.Extension);
    if (!FOutput.Create(path)) {
      FHost.ReportError({TRunErrorKind::WriteFailed, path, FOutput.ErrorText()});
      return TScanResult::WriteFailed;
    }
    const TZipResult read = FZip.Read(entry, [&](const std::uint8_t* data, std::size_t lengthBytes) {
      FOutput.Write(data, lengthBytes);
      FDoneBytes += lengthBytes;
      Tick();
      return !FOutput.Failed() && !Stopped();
    });
    const std::uint64_t sizeBytes = FOutput.SizeBytes();
    if (!FOutput.Close()) {
      const std::string cause = FOutput.ErrorText();
      RemoveFileUtf8(path);
      FHost.ReportError({TRunErrorKind::WriteFailed, path, cause});
      return TScanResult::WriteFailed;
    }
    if (Stopped()) {
      // Stopped inside the item: what was written is no whole item and is not counted.
      RemoveFileUtf8(path);
      return TScanResult::Aborted;
    }
    if (!read.Ok()) {
      RemoveFileUtf8(path);
      FOutcome.Problems.push_back(entry.Name + ": " + read.Reason + "; skipped");
      return TScanResult::Completed;
    }
    ++count;
    TStructureFile file;
    file.Kind = picture ? TStructureKind::Jpeg : TStructureKind::Sound;
    file.Path = path;
    file.SizeBytes = sizeBytes;
    file.Entry = entry.Name;
    file.Method = entry.Method == 0 ? "stored" : "deflated";
    file.StoredBytes = entry.CompressedBytes;
    FOutcome.Files.push_back(std::move(file));
    return Tick(true) ? TScanResult::Aborted : TScanResult::Completed;
  }

 private:
  bool Tick(bool force = false) {
    const auto now = std::chrono::steady_clock::now();
    if (force || now - FLastCall >= kHostInterval) {
      FLastCall = now;
      FHost.Progress(ProgressPercent(FDoneBytes, FTotalBytes));
      FHost.ProcessMessages();
    }
    return FState.AbortRequested;
  }

  // An abort waits for the item to be complete, a stop does not.
  bool Stopped() const { return FState.AbortRequested && FState.StopNow; }

  TRunState& FState;
  TRunHost& FHost;
  TZipContainer& FZip;
  TStructureOutcome& FOutcome;
  TOutputFile FOutput;
  TOutputLock FLock;  // held from the folder set-up to the end of the run
  std::uint64_t FTotalBytes;
  std::uint64_t FDoneBytes = 0;
  std::chrono::steady_clock::time_point FLastCall{};
};

}  // namespace

TScanResult ExtractZipMedia(TRunState& state, TRunHost& host, TZipContainer& zip, TStructureOutcome& outcome) {
  std::vector<TMediaItem> items;
  std::uint64_t totalBytes = 0;
  for (const TZipEntry& entry : zip.Entries()) {
    TMediaEntry media;
    switch (ClassifyEntry(entry.Name, media)) {
      case TEntryVerdict::Media:
        items.push_back({&entry, media});
        totalBytes += std::min(entry.SizeBytes, zip.BudgetBytes());
        break;
      case TEntryVerdict::Unsafe:
        outcome.Problems.push_back(entry.Name + ": a name that leaves the archive's folders; skipped");
        break;
      case TEntryVerdict::NotMedia: break;
    }
  }
  outcome.Used = true;
  TZipWriter writer(state, host, zip, outcome, totalBytes);
  for (const TMediaItem& item : items) {
    const TScanResult result = writer.WriteItem(item);
    if (result != TScanResult::Completed) return result;
  }
  state.Position = state.SourceSize;
  host.Progress(100);
  return state.AbortRequested ? TScanResult::Aborted : TScanResult::Completed;
}

}  // namespace bw::extract
