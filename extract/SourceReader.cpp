#include "extract/SourceReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "extract/FileIo.h"

namespace bw::extract {
namespace {

constexpr std::size_t kReadAlignBytes = 4096;

}  // namespace

TSourceReader::TSourceReader(std::FILE* file, std::uint64_t sizeBytes, std::size_t bufferBytes)
    : FFile(file), FSizeBytes(sizeBytes), FBuffer(std::max<std::size_t>(bufferBytes, 64) + kReadAlignBytes) {}

bool TSourceReader::Fill(std::uint64_t positionBytes, std::size_t wantBytes) {
  if (FFailed) return false;
  if (positionBytes > FSizeBytes) positionBytes = FSizeBytes;
  const std::uint64_t wantEnd = std::min<std::uint64_t>(positionBytes + wantBytes, FSizeBytes);
  if (positionBytes >= FStartBytes && wantEnd <= FStartBytes + FLengthBytes) return true;

  // Keep what is buffered from positionBytes on and read behind it.
  std::size_t keptBytes = 0;
  if (positionBytes >= FStartBytes && positionBytes < FStartBytes + FLengthBytes) {
    const std::size_t from = static_cast<std::size_t>(positionBytes - FStartBytes);
    keptBytes = FLengthBytes - from;
    std::memmove(FBuffer.data(), FBuffer.data() + from, keptBytes);
  }
  FStartBytes = positionBytes;
  FLengthBytes = keptBytes;
  const std::uint64_t readFrom = positionBytes + keptBytes;
  // Whole blocks from aligned offsets: the slack behind the buffer takes the kept tail.
  std::size_t roomBytes = FBuffer.size() - keptBytes;
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
  const std::size_t gotBytes = std::fread(FBuffer.data() + keptBytes, 1, readBytes, FFile);
  FFilePosBytes += gotBytes;
  FLengthBytes += gotBytes;
  if (gotBytes != readBytes) {
    // The size was taken at open: fewer bytes now means the source shrank or failed.
    FFailed = true;
    FErrorText = std::ferror(FFile) ? LastErrorText(errno) : std::string("the file ended before its size");
    return false;
  }
  return true;
}

const std::uint8_t* TSourceReader::At(std::uint64_t positionBytes) const {
  return FBuffer.data() + (positionBytes - FStartBytes);
}

std::size_t TSourceReader::AvailableFrom(std::uint64_t positionBytes) const {
  if (positionBytes < FStartBytes || positionBytes > FStartBytes + FLengthBytes) return 0;
  return static_cast<std::size_t>(FStartBytes + FLengthBytes - positionBytes);
}

}  // namespace bw::extract
