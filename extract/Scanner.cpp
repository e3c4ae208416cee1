#include "extract/Scanner.h"

#include <algorithm>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"
#include "extract/RunFolder.h"
#include "extract/ScanRun.h"
#include "extract/SignatureSearch.h"

namespace bw::extract {
namespace {

// Longest stretch searched between two chances for the host to run.
constexpr std::size_t kSearchSliceBytes = std::size_t{256} << 10;
constexpr auto kHostInterval = std::chrono::milliseconds(20);

}  // namespace

int ProgressPercent(std::uint64_t positionBytes, std::uint64_t sizeBytes) {
  if (sizeBytes == 0) return 0;
  const unsigned __int128 value = (static_cast<unsigned __int128>(positionBytes) * 100 + 100) / sizeBytes;
  return value >= 100 ? 100 : static_cast<int>(value);
}

TScanResult Scan(TRunState& state, TRunHost& host, std::size_t bufferBytes) {
  return TScanRun(state, host, bufferBytes).Run();
}

TScanRun::TScanRun(TRunState& state, TRunHost& host, std::size_t bufferBytes)
    : FState(state), FHost(host), FReader(state.Source.Handle(), state.SourceSize, bufferBytes) {}

bool TScanRun::Tick(std::uint64_t positionBytes, bool force) {
  const int percent = ProgressPercent(positionBytes, FState.SourceSize);
  const auto now = std::chrono::steady_clock::now();
  if (force || percent != FLastPercent || now - FLastCall >= kHostInterval) {
    FLastPercent = percent;
    FLastCall = now;
    FHost.Progress(percent);
    FHost.ProcessMessages();
  }
  return FState.AbortRequested;
}

bool TScanRun::FillOrFail(std::uint64_t positionBytes, std::size_t wantBytes) {
  if (FReader.Fill(positionBytes, wantBytes)) return true;
  FResult = TScanResult::ReadFailed;
  FHost.ReportError({TRunErrorKind::ReadFailed, FState.Source.Path(), FReader.ErrorText()});
  return false;
}

TScanResult TScanRun::Run() {
  if (FState.Source.Handle() == nullptr) {
    FHost.ReportError({TRunErrorKind::ReadFailed, FState.Source.Path(), "the file is not open"});
    return TScanResult::ReadFailed;
  }
  const std::uint64_t sizeBytes = FState.SourceSize;
  std::uint64_t pos = FState.Position;
  if (pos >= sizeBytes) return TScanResult::Completed;
  FLastCall = std::chrono::steady_clock::now();

  while (true) {
    if (sizeBytes - pos < 4) {
      // Too short for any signature: the scan ends with the source.
      if (FReader.Failed()) {
        FHost.ReportError({TRunErrorKind::ReadFailed, FState.Source.Path(), FReader.ErrorText()});
        return TScanResult::ReadFailed;
      }
      FState.Position = sizeBytes;
      Tick(sizeBytes, true);
      return FState.AbortRequested ? TScanResult::Aborted : TScanResult::Completed;
    }
    if (!FillOrFail(pos, 4)) return FResult;
    const std::size_t lookBytes = std::min(FReader.AvailableFrom(pos), kSearchSliceBytes);
    const std::size_t found = FindSignature(FReader.At(pos), lookBytes);
    if (found == lookBytes) {
      pos += lookBytes - 3;
      FState.Position = pos;
      if (Tick(pos)) return TScanResult::Aborted;
      continue;
    }

    const std::uint64_t start = pos + found;
    const std::uint8_t* window = FReader.At(start);
    std::copy(window, window + 4, FState.Window.begin());
    FState.Position = start + 4;
    TNext next;
    switch (SignatureOf(window)) {
      case TSignature::Jpeg: next = CarveJpeg(start); break;
      case TSignature::Png: next = CarvePng(start); break;
      case TSignature::Dib: next = CarveDib(start); break;
      case TSignature::Riff: next = CarveWave(start); break;
      case TSignature::None: next = start + 1; break;
    }
    if (!next) return FResult;
    pos = *next;
    FState.Position = pos;
    if (Tick(pos)) return TScanResult::Aborted;
  }
}

bool TScanRun::PrepareOutputFolder() {
  switch (PrepareRunFolder(FState, FHost)) {
    case TFolderResult::Ready: return true;
    case TFolderResult::Cancelled: FResult = TScanResult::FolderCancelled; return false;
    case TFolderResult::NotCreated: FResult = TScanResult::FolderNotCreated; return false;
  }
  return false;
}

void TScanRun::FailWrite(const std::string& path, bool created) {
  const std::string cause = FOutput.ErrorText();
  if (created) {
    FOutput.Close();
    RemoveFileUtf8(path);
  }
  FResult = TScanResult::WriteFailed;
  FHost.ReportError({TRunErrorKind::WriteFailed, path, cause});
}

bool TScanRun::CreateOutput(const char* extension, std::int32_t count, std::string& nameField) {
  nameField = MakeOutputName(FState.OutputFolder, BaseNameOf(FState.SourceName), count, extension);
  if (FOutput.Create(nameField)) return true;
  FailWrite(nameField, false);
  return false;
}

std::uint64_t TScanRun::CopyBody(std::uint64_t fromBytes, std::uint64_t lengthBytes) {
  std::uint64_t pos = fromBytes;
  const std::uint64_t endBytes = fromBytes + std::min(lengthBytes, FState.SourceSize - std::min(fromBytes, FState.SourceSize));
  while (pos < endBytes && !FOutput.Failed()) {
    if (!FReader.Fill(pos, 1)) break;
    const std::size_t partBytes =
        static_cast<std::size_t>(std::min<std::uint64_t>(FReader.AvailableFrom(pos), endBytes - pos));
    FOutput.Write(FReader.At(pos), partBytes);
    pos += partBytes;
    FState.Position = pos;
    Tick(pos);  // keeps the host alive; an abort waits for the item to be complete
  }
  return pos;
}

bool TScanRun::FinishItem(TItemKind kind, const std::string& path, std::uint64_t startBytes,
                          std::uint64_t endBytes, bool truncated) {
  if (FReader.Failed()) {
    FOutput.Close();
    RemoveFileUtf8(path);
    FResult = TScanResult::ReadFailed;
    FHost.ReportError({TRunErrorKind::ReadFailed, FState.Source.Path(), FReader.ErrorText()});
    return false;
  }
  const std::uint64_t sizeBytes = FOutput.SizeBytes();
  if (FOutput.Failed() || !FOutput.Close()) {
    FailWrite(path, true);
    return false;
  }
  std::int32_t& count = kind == TItemKind::Wave ? FState.SoundCount : FState.PictureCount;
  ++count;
  if (kind != TItemKind::Wave) {
    const bool shown = FHost.ShowPreview(kind, path);
    if (kind == TItemKind::Png) FState.PngPreviewFailed = !shown;
    if (!shown) {
      if (FileExistsUtf8(path)) {
        RemoveFileUtf8(path);
        --count;
      }
      return true;
    }
  }
  FHost.ItemWritten({kind, path, sizeBytes, startBytes, endBytes, truncated});
  return true;
}

}  // namespace bw::extract
