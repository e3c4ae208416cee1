#include "skin/data/ByteStream.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <memory>

namespace bw::skin {

void TByteStream::ReadBuffer(void* buffer, std::size_t countBytes) {
  if (Read(buffer, countBytes) != countBytes) throw EReadError("Stream read error");
}

void TByteStream::WriteBuffer(const void* buffer, std::size_t countBytes) {
  if (Write(buffer, countBytes) != countBytes) throw EWriteError("Stream write error");
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t countBytes) {
  const std::size_t available = FPos < FData.size() ? FData.size() - FPos : 0;
  const std::size_t n = std::min(countBytes, available);
  if (n > 0) std::memcpy(buffer, FData.data() + FPos, n);
  FPos += n;
  return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t countBytes) {
  if (countBytes == 0) return 0;
  const auto* src = static_cast<const std::uint8_t*>(buffer);
  // Decoders append one byte per call.
  if (countBytes == 1 && FPos == FData.size()) {
    FData.push_back(*src);
    ++FPos;
    return 1;
  }
  if (FPos == FData.size()) {
    FData.insert(FData.end(), src, src + countBytes);
  } else {
    if (FPos + countBytes > FData.size()) FData.resize(FPos + countBytes);
    std::memcpy(FData.data() + FPos, src, countBytes);
  }
  FPos += countBytes;
  return countBytes;
}

void TMemoryStream::Seek(std::int64_t positionBytes) {
  FPos = static_cast<std::size_t>(std::clamp<std::int64_t>(positionBytes, 0, Size()));
}

void TMemoryStream::Clear() {
  FData.clear();
  FPos = 0;
}

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

std::string SystemReason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

}  // namespace

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error) {
  return ReadWholeFile(fileName, bytes, error, INT64_MAX);
}

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error,
                   std::int64_t maxBytes, bool* fileTooLarge) {
  if (fileTooLarge != nullptr) *fileTooLarge = false;
  errno = 0;
  TFilePtr f(std::fopen(fileName.c_str(), "rb"));
  if (!f) {
    error = "Cannot open file \"" + fileName + "\": " + SystemReason();
    return false;
  }
  std::vector<std::uint8_t> result;
  std::uint8_t chunk[65536];
  for (;;) {
    const auto left = static_cast<std::uint64_t>(maxBytes) - result.size();
    if (left == 0) {
      if (fileTooLarge != nullptr) *fileTooLarge = std::fread(chunk, 1, 1, f.get()) == 1;
      break;
    }
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, left));
    const std::size_t n = std::fread(chunk, 1, want, f.get());
    result.insert(result.end(), chunk, chunk + n);
    if (n < want) break;
  }
  if (std::ferror(f.get())) {
    error = "Cannot read file \"" + fileName + "\"";
    return false;
  }
  bytes = std::move(result);
  return true;
}

bool WriteWholeFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes, std::string& error) {
  errno = 0;
  TFilePtr f(std::fopen(fileName.c_str(), "wb"));
  if (!f) {
    error = "Cannot create file \"" + fileName + "\": " + SystemReason();
    return false;
  }
  const bool wrote = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  const bool closed = std::fclose(f.release()) == 0;
  if (!wrote || !closed) {
    error = "Cannot write file \"" + fileName + "\"";
    return false;
  }
  return true;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(fileName, bytes, error)) throw EFOpenError(error);
  FData = std::move(bytes);
  FPos = 0;
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  std::string error;
  if (!WriteWholeFile(fileName, FData, error)) throw EFCreateError(error);
}

}  // namespace bw::skin
