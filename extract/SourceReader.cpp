#include "extract/SourceReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "extract/FileIo.h"

namespace bw::extract {
namespace {

constexpr std::size_t kReadAlignBytes = 4096;
// Room in front of a block for the tail kept from the one before it.
constexpr std::size_t kSlackBytes = kReadAlignBytes;

}  // namespace

TSourceReader::TSourceReader(std::FILE* file, std::uint64_t sizeBytes, std::size_t bufferBytes, bool readAhead)
    : FFile(file),
      FSizeBytes(sizeBytes),
      FCapacityBytes(std::max<std::size_t>(bufferBytes, 64) + kReadAlignBytes),
      FReadAhead(readAhead),
      FBuffer(kSlackBytes + FCapacityBytes),
      FSpare(readAhead ? kSlackBytes + FCapacityBytes : 0),
      FBase(FBuffer.data()) {}

TSourceReader::~TSourceReader() {
  if (!FWorker.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FStop = true;
  }
  FWake.notify_one();
  FWorker.join();
}

std::size_t TSourceReader::BlockBytes(std::uint64_t readFrom, std::size_t keptBytes) const {
  // Whole blocks from aligned offsets: the slack behind the capacity takes the kept tail.
  std::size_t roomBytes = FCapacityBytes - keptBytes;
  if (roomBytes > 2 * kReadAlignBytes) roomBytes -= (readFrom + roomBytes) % kReadAlignBytes;
  return static_cast<std::size_t>(std::min<std::uint64_t>(roomBytes, FSizeBytes - readFrom));
}

void TSourceReader::ReadNow(std::uint8_t* target, TRead& read) {
  read.GotBytes = 0;
  if (read.FromBytes != FFilePosBytes) {
    if (!Seek64(FFile, read.FromBytes)) {
      read.ErrorText = LastErrorText(errno);
      return;
    }
    FFilePosBytes = read.FromBytes;
  }
  read.GotBytes = std::fread(target, 1, read.WantBytes, FFile);
  FFilePosBytes += read.GotBytes;
  if (read.GotBytes != read.WantBytes) {
    // The size was taken at open: fewer bytes now means the source shrank or failed.
    read.ErrorText = std::ferror(FFile) ? LastErrorText(errno) : std::string("the file ended before its size");
  }
}

bool TSourceReader::Fill(std::uint64_t positionBytes, std::size_t wantBytes) {
  if (FFailed) return false;
  if (positionBytes > FSizeBytes) positionBytes = FSizeBytes;
  const std::uint64_t wantEnd = std::min<std::uint64_t>(positionBytes + wantBytes, FSizeBytes);
  if (positionBytes >= FStartBytes && wantEnd <= FStartBytes + FLengthBytes) return true;

  // Keep what is buffered from positionBytes on and read behind it.
  const std::size_t keptBytes = positionBytes >= FStartBytes && positionBytes < FStartBytes + FLengthBytes
                                    ? static_cast<std::size_t>(FStartBytes + FLengthBytes - positionBytes)
                                    : 0;
  const std::uint64_t readFrom = positionBytes + keptBytes;
  const std::size_t readBytes = BlockBytes(readFrom, keptBytes);
  const std::size_t baseOffset = keptBytes <= kSlackBytes ? kSlackBytes - keptBytes : 0;

  TRead ahead;
  const bool hadAhead = TakeAhead(ahead);
  const bool useAhead = hadAhead && ahead.FromBytes == readFrom && baseOffset + keptBytes == kSlackBytes &&
                        readBytes > 0;
  const bool aheadFailsHere = useAhead && ahead.GotBytes < readBytes && !ahead.ErrorText.empty();
  // A failure further on than these bytes is met again when the reading gets there.
  if (hadAhead && !ahead.ErrorText.empty() && !aheadFailsHere) std::clearerr(FFile);

  std::vector<std::uint8_t>& target = useAhead ? FSpare : FBuffer;
  if (keptBytes > 0) std::memmove(target.data() + baseOffset, At(positionBytes), keptBytes);
  if (useAhead) std::swap(FBuffer, FSpare);
  FBase = FBuffer.data() + baseOffset;
  FStartBytes = positionBytes;
  FLengthBytes = keptBytes;
  if (readBytes == 0) return true;

  std::size_t haveBytes = useAhead ? std::min(ahead.GotBytes, readBytes) : 0;
  std::string error = aheadFailsHere ? ahead.ErrorText : std::string();
  if (error.empty() && haveBytes < readBytes) {
    TRead rest{readFrom + haveBytes, readBytes - haveBytes, 0, {}};
    ReadNow(FBuffer.data() + baseOffset + keptBytes + haveBytes, rest);
    haveBytes += rest.GotBytes;
    error = rest.ErrorText;
  }
  FLengthBytes += haveBytes;
  if (!error.empty()) {
    FFailed = true;
    FErrorText = error;
    return false;
  }
  StartAhead(keptBytes);
  return true;
}

void TSourceReader::StartAhead(std::size_t keptBytes) {
  // The next fill most likely keeps as many bytes as this one did.
  const std::uint64_t from = FStartBytes + FLengthBytes;
  if (!FReadAhead || from >= FSizeBytes) return;
  const std::size_t wantBytes = BlockBytes(from, keptBytes);
  if (wantBytes == 0) return;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FAhead = TRead{from, wantBytes, 0, {}};
    FAheadPosted = true;
    FAheadDone = false;
  }
  FAheadPending = true;
  if (FWorker.joinable()) {
    FWake.notify_one();
  } else {
    FWorker = std::thread([this] { Work(); });
  }
}

bool TSourceReader::TakeAhead(TRead& read) {
  if (!FAheadPending) return false;
  FAheadPending = false;
  std::unique_lock<std::mutex> lock(FMutex);
  FDone.wait(lock, [this] { return FAheadDone; });
  FAheadDone = false;
  read = std::move(FAhead);
  return true;
}

void TSourceReader::Work() {
  std::unique_lock<std::mutex> lock(FMutex);
  while (true) {
    FWake.wait(lock, [this] { return FStop || FAheadPosted; });
    if (FStop) return;
    FAheadPosted = false;
    TRead read = FAhead;
    lock.unlock();
    ReadNow(FSpare.data() + kSlackBytes, read);
    lock.lock();
    FAhead = std::move(read);
    FAheadDone = true;
    FDone.notify_one();
  }
}

const std::uint8_t* TSourceReader::At(std::uint64_t positionBytes) const {
  return FBase + (positionBytes - FStartBytes);
}

std::size_t TSourceReader::AvailableFrom(std::uint64_t positionBytes) const {
  if (positionBytes < FStartBytes || positionBytes > FStartBytes + FLengthBytes) return 0;
  return static_cast<std::size_t>(FStartBytes + FLengthBytes - positionBytes);
}

}  // namespace bw::extract
