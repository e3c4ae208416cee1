#include "extract/StructureRun.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <system_error>

#include "extract/CompoundFile.h"
#include "extract/FileIo.h"
#include "extract/ItemFiles.h"
#include "extract/OutputFile.h"
#include "extract/OutputNaming.h"
#include "extract/RunFolder.h"
#include "extract/ZipRun.h"

namespace bw::extract {
namespace {

constexpr std::size_t kCopyChunkBytes = std::size_t{256} << 10;
const char* const kPicturesStream = "Pictures";
const char* const kDocumentStream = "PowerPoint Document";

struct TStreamItems {
  TCfbStream Stream;
  const char* Name;
  TWalkResult Walk;
};

class TStructureWriter {
 public:
  TStructureWriter(TRunState& state, TRunHost& host, TCompoundFile& file, TStructureOutcome& outcome,
                   std::uint64_t totalBytes)
      : FFiles(state, host, totalBytes), FFile(file), FOutcome(outcome) {}

  TScanResult Write(const TStreamItems& source) {
    for (const TStructureItem& item : source.Walk.Items) {
      const TScanResult result = WriteItem(source, item);
      if (result != TScanResult::Completed) return result;
      if (FFiles.Advance(0, true)) return TScanResult::Aborted;
    }
    return TScanResult::Completed;
  }

 private:
  std::string Problem(const TStreamItems& source, const TStructureItem& item, const std::string& text) {
    return std::string(source.Name) + ": record at offset " + std::to_string(item.RecordOffsetBytes) + ": " + text;
  }

  // Copies the item's stored bytes; false with reason when the stream cannot be read.
  bool CopyStored(const TStreamItems& source, const TStructureItem& item, std::string& reason) {
    TOutputFile& output = FFiles.Output();
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunkBytes, item.DataBytes)));
    if (item.Kind == TStructureKind::Wmf) {
      std::uint8_t key[4] = {};
      if (item.DataBytes >= 4 && !FFile.Read(source.Stream, item.DataOffsetBytes, key, 4)) {
        reason = "unreadable";
        return false;
      }
      if (!HasPlaceableKey(key, item.DataBytes >= 4 ? 4 : 0)) {
        const std::vector<std::uint8_t> header = PlaceableWmfHeader(item.Metafile);
        output.Write(header.data(), header.size());
      }
    }
    for (std::uint64_t done = 0; done < item.DataBytes && !output.Failed() && !FFiles.Stopped();) {
      const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), item.DataBytes - done));
      if (!FFile.Read(source.Stream, item.DataOffsetBytes + done, chunk.data(), part)) {
        reason = "unreadable";
        return false;
      }
      output.Write(chunk.data(), part);
      done += part;
      FFiles.Advance(part);
    }
    return true;
  }

  // Inflates a compressed metafile into the output, zlib-wrapped or bare deflate.
  bool CopyInflated(const TStreamItems& source, const TStructureItem& item, std::string& reason) {
    TOutputFile& output = FFiles.Output();
    std::vector<std::uint8_t> in(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunkBytes, item.DataBytes)));
    std::vector<std::uint8_t> out(kCopyChunkBytes);
    std::uint8_t head[2] = {};
    if (item.DataBytes < 2 || !FFile.Read(source.Stream, item.DataOffsetBytes, head, 2)) {
      reason = "the compressed metafile is empty";
      return false;
    }
    const bool zlibWrapped = (head[0] & 0x0F) == 8 && (head[0] * 256 + head[1]) % 31 == 0;
    z_stream z{};
    if (inflateInit2(&z, zlibWrapped ? 15 : -15) != Z_OK) {
      reason = "no memory to inflate";
      return false;
    }
    std::uint64_t readBytes = 0;
    std::uint64_t outBytes = 0;
    bool headerDecided = item.Kind != TStructureKind::Wmf;
    int status = Z_OK;
    while (status != Z_STREAM_END && !FFiles.Stopped()) {
      std::size_t partBytes = 0;
      if (z.avail_in == 0 && readBytes < item.DataBytes) {
        partBytes = static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), item.DataBytes - readBytes));
        if (!FFile.Read(source.Stream, item.DataOffsetBytes + readBytes, in.data(), partBytes)) {
          reason = "unreadable";
          break;
        }
        readBytes += partBytes;
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(partBytes);
      }
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) {
        reason = std::string("the metafile does not inflate: ") +
                 (status == Z_BUF_ERROR ? "the data ends early" : z.msg != nullptr ? z.msg : "damaged data");
        break;
      }
      const std::size_t produced = out.size() - z.avail_out;
      outBytes += produced;
      if (outBytes > kMaxMetafileBytes) {
        reason = "the metafile inflates past " + std::to_string(kMaxMetafileBytes >> 20) + " MiB";
        break;
      }
      if (!headerDecided && (produced >= 4 || status == Z_STREAM_END)) {
        headerDecided = true;
        if (!HasPlaceableKey(out.data(), produced)) {
          const std::vector<std::uint8_t> header = PlaceableWmfHeader(item.Metafile);
          output.Write(header.data(), header.size());
        }
      }
      output.Write(out.data(), produced);
      if (status == Z_OK && produced == 0 && z.avail_in == 0 && readBytes >= item.DataBytes) {
        reason = "the metafile does not inflate: the data ends early";
        break;
      }
      FFiles.Advance(partBytes);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END && reason.empty();
  }

  TScanResult WriteItem(const TStreamItems& source, const TStructureItem& item) {
    const TScanResult begun = FFiles.Begin(item.Kind == TStructureKind::Sound, item.Extension);
    if (begun != TScanResult::Completed) return begun;
    FFiles.Output().Write(item.Prefix.data(), item.Prefix.size());
    std::string reason;
    const bool copied = item.Metafile.Compressed ? CopyInflated(source, item, reason) : CopyStored(source, item, reason);
    bool kept = false;
    std::uint64_t sizeBytes = 0;
    const TScanResult finished = FFiles.Finish(copied, kept, sizeBytes);
    if (finished != TScanResult::Completed) return finished;
    if (!kept) {
      FOutcome.Problems.push_back(Problem(source, item, reason));
      return TScanResult::Completed;
    }
    TStructureFile file{item.Kind, FFiles.Path(), sizeBytes, source.Name, item.RecordOffsetBytes, 0, 0,
                        TRawVerdict::Unknown, {}, {}, 0};
    std::vector<TFileExtent> extents;
    if (FFile.Extents(source.Stream, item.DataOffsetBytes, item.DataBytes, extents) && !extents.empty()) {
      file.SourceStartBytes = extents.front().FileOffsetBytes;
      file.Fragments = extents.size();
    }
    FOutcome.Files.push_back(std::move(file));
    return TScanResult::Completed;
  }

  TItemFiles FFiles;
  TCompoundFile& FFile;
  TStructureOutcome& FOutcome;
};

// Keeps every item the raw scan writes, so that cut ones can be compared too.
class TCollectingHost final : public TRunHost {
 public:
  TCollectingHost(TRunHost& outer, TRunState& outerState, TRunState& state)
      : FOuter(outer), FOuterState(outerState), FState(state) {}
  void Progress(int) override {}
  void ProcessMessages() override {
    FOuter.ProcessMessages();
    FState.AbortRequested = FOuterState.AbortRequested;
  }
  bool ConfirmExistingFolder(const std::string&) override { return true; }
  void FolderCreationFailed(const std::string&) override {}
  bool ShowPreview(TItemKind, const std::string&) override { return true; }
  void ReportError(const TRunError&) override {}
  void ItemWritten(const TWrittenItem& item) override { Items[item.SourceStartBytes] = item.Path; }

  std::map<std::uint64_t, std::string> Items;  // by the source offset of their first byte

 private:
  TRunHost& FOuter;
  TRunState& FOuterState;
  TRunState& FState;
};

// True when the file at rawPath holds the file at ourPath, followed by extraBytes more.
bool SameBytes(const std::string& ourPath, const std::string& rawPath, std::uint64_t extraBytes) {
  std::error_code error;
  const std::uintmax_t ourSize = std::filesystem::file_size(PathFromUtf8(ourPath), error);
  if (error) return false;
  const std::uintmax_t rawSize = std::filesystem::file_size(PathFromUtf8(rawPath), error);
  if (error || rawSize != ourSize + extraBytes) return false;
  std::FILE* ours = OpenFileUtf8(ourPath, "rb");
  std::FILE* raw = OpenFileUtf8(rawPath, "rb");
  bool same = ours != nullptr && raw != nullptr;
  std::vector<std::uint8_t> a(kCopyChunkBytes), b(kCopyChunkBytes);
  for (std::uintmax_t done = 0; same && done < ourSize;) {
    const std::size_t part = static_cast<std::size_t>(std::min<std::uintmax_t>(a.size(), ourSize - done));
    same = std::fread(a.data(), 1, part, ours) == part && std::fread(b.data(), 1, part, raw) == part &&
           std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(part), b.begin());
    done += part;
  }
  if (ours != nullptr) std::fclose(ours);
  if (raw != nullptr) std::fclose(raw);
  return same;
}

void CompareWithRaw(TRunState& state, TRunHost& host, TCompoundFile& file, const std::vector<TStreamItems>& sources,
                    TStructureOutcome& outcome) {
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path(error) / ("bw-compare-" + std::to_string(std::random_device{}()));
  if (error || !std::filesystem::create_directories(folder, error)) return;
  TRunState raw;
  int errnoValue = 0;
  if (BeginRun(raw, state.Source.Path(), errnoValue) == TOpenResult::Opened) {
    raw.OutputFolder = Utf8FromPath(folder);
    TCollectingHost collector(host, state, raw);
    if (Scan(raw, collector) == TScanResult::Completed) {
      // Where the raw scan would start each item: a bitmap at its record, the rest at their data.
      std::size_t next = 0;
      for (const TStreamItems& source : sources) {
        for (const TStructureItem& item : source.Walk.Items) {
          if (next >= outcome.Files.size()) break;
          TStructureFile& written = outcome.Files[next];
          if (written.RecordOffsetBytes != item.RecordOffsetBytes || written.Stream != source.Name) continue;
          ++next;
          std::vector<TFileExtent> extents;
          const std::uint64_t anchor = item.Kind == TStructureKind::Dib ? item.RecordOffsetBytes : item.DataOffsetBytes;
          written.Raw = TRawVerdict::Missed;
          if (!file.Extents(source.Stream, anchor, 1, extents) || extents.empty()) continue;
          const auto found = collector.Items.find(extents.front().FileOffsetBytes);
          if (found == collector.Items.end()) continue;
          const std::uint64_t extra = item.Kind == TStructureKind::Sound ? 1 : 0;
          written.Raw = SameBytes(written.Path, found->second, extra) ? TRawVerdict::Same : TRawVerdict::Cut;
        }
      }
    }
    raw.Source.Close();
  }
  std::filesystem::remove_all(folder, error);
}

}  // namespace

TScanResult ExtractByStructure(TRunState& state, TRunHost& host, TStructureOutcome& outcome, bool compareWithRaw) {
  outcome = TStructureOutcome();
  if (state.Source.Handle() == nullptr) {
    outcome.FallbackReason = "the file is not open";
    return TScanResult::Completed;
  }
  TFileSource source(state.Source.Handle(), state.SourceSize);
  TCompoundFile file(source);
  const TCfbResult opened = file.Open();
  if (opened.Status == TCfbStatus::NotCompound) {
    TZipContainer zip(source);
    const TZipResult zipOpened = zip.Open();
    if (zipOpened.Status == TZipStatus::NotZip) {
      outcome.FallbackReason = "not a compound file or zip container";
      return TScanResult::Completed;
    }
    outcome.Container = TContainerKind::Zip;
    if (!zipOpened.Ok()) {
      outcome.FallbackReason = "damaged zip container: " + zipOpened.Reason;
      return TScanResult::Completed;
    }
    return ExtractZipMedia(state, host, zip, outcome);
  }
  outcome.Container = TContainerKind::Compound;
  if (!opened.Ok()) {
    outcome.FallbackReason = "damaged compound file: " + opened.Reason;
    return TScanResult::Completed;
  }
  std::vector<TStreamItems> sources = {{{}, kPicturesStream, {}}, {{}, kDocumentStream, {}}};
  std::size_t present = 0;
  std::uint64_t totalBytes = 0;
  for (TStreamItems& items : sources) {
    const TCfbResult result = file.OpenStream(items.Name, items.Stream);
    if (result.Status == TCfbStatus::NotFound) continue;
    if (!result.Ok()) {
      outcome.FallbackReason = "damaged compound file: " + result.Reason;
      return TScanResult::Completed;
    }
    ++present;
    const TStreamRead read = [&](std::uint64_t offset, std::uint8_t* into, std::size_t length) {
      return file.Read(items.Stream, offset, into, length);
    };
    if (&items == &sources[0]) {
      WalkPictures(read, items.Stream.SizeBytes, items.Walk);
    } else {
      WalkSounds(read, items.Stream.SizeBytes, items.Walk);
    }
    for (const std::string& problem : items.Walk.Problems) outcome.Problems.push_back(items.Name + (": " + problem));
    for (const TStructureItem& item : items.Walk.Items) totalBytes += item.DataBytes;
  }
  if (present == 0) {
    outcome.FallbackReason = "no \"Pictures\" or \"PowerPoint Document\" stream";
    return TScanResult::Completed;
  }
  outcome.Used = true;
  TStructureWriter writer(state, host, file, outcome, totalBytes);
  for (const TStreamItems& items : sources) {
    const TScanResult result = writer.Write(items);
    if (result != TScanResult::Completed) return result;
  }
  state.Position = state.SourceSize;
  host.Progress(100);
  if (compareWithRaw && !outcome.Files.empty()) CompareWithRaw(state, host, file, sources, outcome);
  return state.AbortRequested ? TScanResult::Aborted : TScanResult::Completed;
}

TContainerKind SniffContainer(TRunState& state) {
  if (state.Source.Handle() == nullptr) return TContainerKind::None;
  TFileSource source(state.Source.Handle(), state.SourceSize);
  if (LooksLikeZip(source)) return TContainerKind::Zip;
  static constexpr std::uint8_t kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::uint8_t head[8] = {};
  return source.ReadAt(0, head, sizeof head) && std::equal(head, head + 8, kCompoundSignature) ? TContainerKind::Compound
                                                                                                : TContainerKind::None;
}

const char* ContainerName(TContainerKind kind) {
  switch (kind) {
    case TContainerKind::None: return "none";
    case TContainerKind::Compound: return "compound";
    case TContainerKind::Zip: return "zip";
  }
  return "none";
}

const char* RawVerdictName(TRawVerdict verdict) {
  switch (verdict) {
    case TRawVerdict::Same: return "same";
    case TRawVerdict::Cut: return "cut";
    case TRawVerdict::Missed: return "missed";
    case TRawVerdict::Unknown: return "unknown";
  }
  return "unknown";
}

}  // namespace bw::extract
