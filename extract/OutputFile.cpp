#include "extract/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "extract/FileIo.h"
#include "extract/NoFollowCreate.h"

namespace bw::extract {

TOutputFile::~TOutputFile() {
  if (FFile != nullptr) std::fclose(FFile);
}

bool TOutputFile::Create(const std::string& pathUtf8) {
  if (FFile != nullptr) std::fclose(FFile);
  FBufferStartBytes = 0;
  FBufferLengthBytes = 0;
  FCursorBytes = 0;
  FFlushedEndBytes = 0;
  FFailed = false;
  FErrorText.clear();
  FFile = CreateFileNoFollowUtf8(pathUtf8, FErrorText);
  if (FFile == nullptr) {
    FFailed = true;
    return false;
  }
  FBuffer.resize(kOutputBufferBytes);
  return true;
}

void TOutputFile::Fail(int errnoValue) {
  if (!FFailed) FErrorText = LastErrorText(errnoValue);
  FFailed = true;
}

void TOutputFile::Write(const std::uint8_t* data, std::size_t lengthBytes) {
  while (lengthBytes > 0 && !FFailed) {
    if (FCursorBytes == FBuffer.size() && !Flush()) return;
    const std::size_t partBytes = std::min(lengthBytes, FBuffer.size() - FCursorBytes);
    std::memcpy(FBuffer.data() + FCursorBytes, data, partBytes);
    FCursorBytes += partBytes;
    FBufferLengthBytes = std::max(FBufferLengthBytes, FCursorBytes);
    data += partBytes;
    lengthBytes -= partBytes;
  }
}

void TOutputFile::SeekTo(std::uint64_t offsetBytes) {
  if (FFailed) return;
  if (offsetBytes >= FBufferStartBytes && offsetBytes <= FBufferStartBytes + FBufferLengthBytes) {
    FCursorBytes = static_cast<std::size_t>(offsetBytes - FBufferStartBytes);
    return;
  }
  if (!Flush()) return;
  FBufferStartBytes = offsetBytes;
}

bool TOutputFile::Flush() {
  if (FFile == nullptr) return false;
  if (FBufferLengthBytes > 0) {
    errno = 0;
    if (!Seek64(FFile, FBufferStartBytes) ||
        std::fwrite(FBuffer.data(), 1, FBufferLengthBytes, FFile) != FBufferLengthBytes) {
      Fail(errno != 0 ? errno : EIO);
      return false;
    }
    FFlushedEndBytes = std::max(FFlushedEndBytes, FBufferStartBytes + FBufferLengthBytes);
  }
  FBufferStartBytes += FCursorBytes;
  FBufferLengthBytes = 0;
  FCursorBytes = 0;
  return true;
}

std::uint64_t TOutputFile::SizeBytes() const {
  return std::max(FFlushedEndBytes, FBufferStartBytes + FBufferLengthBytes);
}

bool TOutputFile::Close() {
  if (FFile == nullptr) return false;
  if (!FFailed) Flush();
  errno = 0;
  if (std::fclose(FFile) != 0) Fail(errno != 0 ? errno : EIO);
  FFile = nullptr;
  return !FFailed;
}

}  // namespace bw::extract
