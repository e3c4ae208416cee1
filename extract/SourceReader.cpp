#include "extract/SourceReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "extract/FileIo.h"

namespace bw::extract {
namespace {

constexpr std::size_t kReadAlignBytes = 4096;
// Bytes kept across a refill (a signature's overlap, a record header) go just before the
// read target, so the read itself lands on a page boundary: a read into an address a few
// bytes off one copies at a fraction of the speed.
constexpr std::size_t kKeepSlackBytes = 4096;

constexpr const char* kShrunkText = "the file ended before its size";

}  // namespace

TSourceReader::TSourceReader(std::FILE* file, std::uint64_t sizeBytes, std::size_t bufferBytes)
    : FFile(file),
      FSizeBytes(sizeBytes),
      FUseMapping(TSourceMapping::Supported() && file != nullptr),
      FBufferBytes(std::max<std::size_t>(bufferBytes, 64)) {
  // A window one page longer than the buffer holds any stretch a caller may ask for.
  const std::size_t page = TSourceMapping::PageBytes();
  FWindowBytes = bufferBytes >= kSourceBufferBytes ? std::max(kSourceMapWindowBytes, FBufferBytes + page)
                                                   : (FBufferBytes + page - 1) / page * page + page;
}

void TSourceReader::MakeBuffer() {
  if (!FBuffer.empty()) return;
  FBuffer.resize(kKeepSlackBytes + FBufferBytes + 2 * kReadAlignBytes);
  const auto address = reinterpret_cast<std::uintptr_t>(FBuffer.data()) + kKeepSlackBytes;
  FReadTarget = FBuffer.data() + kKeepSlackBytes + (kReadAlignBytes - address % kReadAlignBytes) % kReadAlignBytes;
  FData = FReadTarget;
}

std::string TSourceReader::ErrorText() const { return !FFailed && FMapping.Lost() ? kShrunkText : FErrorText; }

bool TSourceReader::Fill(std::uint64_t positionBytes, std::size_t wantBytes) {
  if (Failed()) return false;
  if (positionBytes > FSizeBytes) positionBytes = FSizeBytes;
  const std::uint64_t wantEnd = std::min<std::uint64_t>(positionBytes + wantBytes, FSizeBytes);
  if (positionBytes >= FStartBytes && wantEnd <= FStartBytes + FLengthBytes) return true;
  if (FUseMapping && MapWindow(positionBytes)) return true;
  return ReadWindow(positionBytes);
}

bool TSourceReader::MapWindow(std::uint64_t positionBytes) {
  const std::uint64_t page = TSourceMapping::PageBytes();
  const std::uint64_t offset = positionBytes / page * page;
  const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(FWindowBytes, FSizeBytes - offset));
#ifdef _WIN32
  const int descriptor = -1;  // no mapping there: reads only
#else
  const int descriptor = fileno(FFile);
#endif
  if (length == 0 || !FMapping.Map(descriptor, offset, length)) {
    // Not mappable (or nothing left to map): reads from here on.
    FMapping.Unmap();
    FUseMapping = false;
    FStartBytes = 0;
    FLengthBytes = 0;
    return false;
  }
  FData = const_cast<std::uint8_t*>(FMapping.Data());
  FStartBytes = offset;
  FLengthBytes = length;
  return true;
}

bool TSourceReader::ReadWindow(std::uint64_t positionBytes) {
  MakeBuffer();

  // Keep what is buffered from positionBytes on and read behind it.
  std::size_t keptBytes = 0;
  std::uint8_t* keptFrom = nullptr;
  if (positionBytes >= FStartBytes && positionBytes < FStartBytes + FLengthBytes) {
    const std::size_t from = static_cast<std::size_t>(positionBytes - FStartBytes);
    keptBytes = FLengthBytes - from;
    keptFrom = FData + from;
  }
  // More than the slack holds (a caller asking for a long stretch) goes to the buffer's
  // start and the read behind it is unaligned; the scan never does this.
  std::uint8_t* target = keptBytes <= kKeepSlackBytes ? FReadTarget : FBuffer.data() + keptBytes;
  FData = target - keptBytes;
  if (keptBytes > 0) std::memmove(FData, keptFrom, keptBytes);
  FStartBytes = positionBytes;
  FLengthBytes = keptBytes;
  const std::uint64_t readFrom = positionBytes + keptBytes;
  // Whole blocks from aligned offsets: the last partial block is left for the next read.
  std::size_t roomBytes = static_cast<std::size_t>(FBuffer.data() + FBuffer.size() - target) - kReadAlignBytes;
  if (roomBytes > 2 * kReadAlignBytes) roomBytes -= (readFrom + roomBytes) % kReadAlignBytes;
  const std::size_t readBytes = static_cast<std::size_t>(std::min<std::uint64_t>(roomBytes, FSizeBytes - readFrom));
  if (readBytes == 0) return true;
  if (readFrom != FFilePosBytes) {
    if (!Seek64(FFile, readFrom)) {
      FFailed = true;
      FErrorText = LastErrorText(errno);
      return false;
    }
    FFilePosBytes = readFrom;
  }
  const std::size_t gotBytes = std::fread(target, 1, readBytes, FFile);
  FFilePosBytes += gotBytes;
  FLengthBytes += gotBytes;
  if (gotBytes != readBytes) {
    // The size was taken at open: fewer bytes now means the source shrank or failed.
    FFailed = true;
    FErrorText = std::ferror(FFile) ? LastErrorText(errno) : std::string(kShrunkText);
    return false;
  }
  return true;
}

const std::uint8_t* TSourceReader::At(std::uint64_t positionBytes) const {
  return FData + (positionBytes - FStartBytes);
}

std::size_t TSourceReader::AvailableFrom(std::uint64_t positionBytes) const {
  if (positionBytes < FStartBytes || positionBytes > FStartBytes + FLengthBytes) return 0;
  return static_cast<std::size_t>(FStartBytes + FLengthBytes - positionBytes);
}

}  // namespace bw::extract
