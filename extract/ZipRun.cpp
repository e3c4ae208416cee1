#include "extract/ZipRun.h"

#include <algorithm>

#include "extract/ItemFiles.h"

namespace bw::extract {
namespace {

struct TMediaItem {
  const TZipEntry* Entry;
  TMediaEntry Media;
};

class TZipWriter {
 public:
  TZipWriter(TRunState& state, TRunHost& host, TZipContainer& zip, TStructureOutcome& outcome,
             std::uint64_t totalBytes)
      : FFiles(state, host, totalBytes), FZip(zip), FOutcome(outcome) {}

  TScanResult WriteItem(const TMediaItem& item) {
    const TZipEntry& entry = *item.Entry;
    // Checked before the folder is made: an archive of refused entries writes nothing.
    const TZipResult admitted = FZip.Admit(entry);
    if (!admitted.Ok()) {
      FOutcome.Problems.push_back(entry.Name + ": " + admitted.Reason + "; skipped");
      return TScanResult::Completed;
    }
    const bool picture = item.Media.Class == TMediaClass::Picture;
    const TScanResult begun = FFiles.Begin(!picture, item.Media.Extension);
    if (begun != TScanResult::Completed) return begun;
    TOutputFile& output = FFiles.Output();
    const TZipResult read = FZip.Read(entry, [&](const std::uint8_t* data, std::size_t lengthBytes) {
      output.Write(data, lengthBytes);
      FFiles.Advance(lengthBytes);
      return !output.Failed() && !FFiles.Stopped();
    });
    bool kept = false;
    std::uint64_t sizeBytes = 0;
    const TScanResult finished = FFiles.Finish(read.Ok(), kept, sizeBytes);
    if (finished != TScanResult::Completed) return finished;
    if (!kept) {
      FOutcome.Problems.push_back(entry.Name + ": " + read.Reason + "; skipped");
      return TScanResult::Completed;
    }
    TStructureFile file;
    file.Kind = picture ? TStructureKind::Jpeg : TStructureKind::Sound;
    file.Path = FFiles.Path();
    file.SizeBytes = sizeBytes;
    file.Entry = entry.Name;
    file.Method = entry.Method == 0 ? "stored" : "deflated";
    file.StoredBytes = entry.CompressedBytes;
    FOutcome.Files.push_back(std::move(file));
    return FFiles.Advance(0, true) ? TScanResult::Aborted : TScanResult::Completed;
  }

 private:
  TItemFiles FFiles;
  TZipContainer& FZip;
  TStructureOutcome& FOutcome;
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
