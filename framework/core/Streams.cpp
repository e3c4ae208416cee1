#include "framework/core/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "framework/core/Exceptions.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace bw::core {
namespace {

constexpr std::int64_t kCopyChunkBytes = 64 * 1024;

int FileSeek(std::FILE* f, std::int64_t offset, int whence) {
#ifdef _WIN32
  return _fseeki64(f, offset, whence);
#else
  return fseeko(f, static_cast<off_t>(offset), whence);
#endif
}

std::int64_t FileTell(std::FILE* f) {
#ifdef _WIN32
  return _ftelli64(f);
#else
  return static_cast<std::int64_t>(ftello(f));
#endif
}

std::string SystemReason() { return std::strerror(errno); }

// File names are UTF-8; on Windows the wide API takes them whatever the code page.
std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

const TClassInfo TStream::kClass{"TStream", &TObject::kClass, {}, {}};
const TClassInfo TMemoryStream::kClass{"TMemoryStream", &TStream::kClass, {}, {}};
const TClassInfo THandleStream::kClass{"THandleStream", &TStream::kClass, {}, {}};
const TClassInfo TFileStream::kClass{"TFileStream", &THandleStream::kClass, {}, {}};

std::int64_t TStream::Size() {
  const std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
  const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0) throw EReadError("Stream read error");
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(count, kCopyChunkBytes)));
  std::int64_t left = count;
  while (left > 0) {
    const std::int64_t n = std::min(left, kCopyChunkBytes);
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

std::int32_t TStream::ReadInt32() {
  std::uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<std::int32_t>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
                                   std::uint32_t{b[3]} << 24);
}

void TStream::WriteInt32(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  WriteBuffer(b, 4);
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = Size() - FPosition;
  if (count <= 0 || available <= 0) return 0;
  const std::int64_t n = std::min(count, available);
  std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (count > kMaxMemoryStreamBytes - FPosition)
    throw EStreamError("Out of memory while expanding memory stream");
  const std::int64_t end = FPosition + count;
  if (end > Size()) SetSize(end);
  std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
  FPosition = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = FPosition;
  else if (origin == TSeekOrigin::soEnd) base = Size();
  if (offset < -base) throw EStreamError("Stream seek before the start");
  if (offset > INT64_MAX - base) throw EStreamError("Stream seek beyond any size");
  // Past the end is allowed: a later write fills the gap with zeros.
  FPosition = base + offset;
  return FPosition;
}

void TMemoryStream::SetSize(std::int64_t size) {
  if (size < 0 || size > kMaxMemoryStreamBytes)
    throw EStreamError("Out of memory while expanding memory stream");
  try {
    FData.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const std::int64_t size = source.Size();
  SetSize(size);
  FPosition = 0;
  if (size > 0) source.ReadBuffer(FData.data(), size);
}

void TMemoryStream::SaveToStream(TStream& dest) {
  if (!FData.empty()) dest.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

std::int64_t THandleStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || !FReadable) return 0;
  // The C library needs a positioning call between a write and a read.
  if (FLastWasWrite) {
    FileSeek(FHandle, 0, SEEK_CUR);
    FLastWasWrite = false;
  }
  return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), FHandle));
}

std::int64_t THandleStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0 || !FWritable) return 0;
  if (!FLastWasWrite) {
    FileSeek(FHandle, 0, SEEK_CUR);
    FLastWasWrite = true;
  }
  return static_cast<std::int64_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(count), FHandle));
}

std::int64_t THandleStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  if (!(offset == 0 && whence == SEEK_CUR) && FileSeek(FHandle, offset, whence) != 0)
    throw EStreamError("Stream seek error: " + SystemReason());
  const std::int64_t position = FileTell(FHandle);
  if (position < 0) throw EStreamError("Stream seek error: " + SystemReason());
  return position;
}

void THandleStream::SetSize(std::int64_t size) {
  if (size < 0 || !FWritable) throw EStreamError("Cannot set the size of the stream");
  std::fflush(FHandle);
#ifdef _WIN32
  const bool ok = _chsize_s(_fileno(FHandle), size) == 0;
#else
  const bool ok = ftruncate(fileno(FHandle), static_cast<off_t>(size)) == 0;
#endif
  if (!ok) throw EStreamError("Cannot set the size of the stream: " + SystemReason());
  if (Position() > size) SetPosition(size);
}

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
    : THandleStream(nullptr), FFileName(fileName) {
  const bool create = (mode & fmCreate) == fmCreate;
  const unsigned access = mode & 0x3u;
  const char* how = create ? "w+b" : access == fmOpenRead ? "rb" : "r+b";
  std::error_code ec;
  if (std::filesystem::is_directory(PathOf(fileName), ec)) {
    const std::string text = "Cannot " + std::string(create ? "create" : "open") + " file \"" + fileName +
                             "\". It is a folder";
    if (create) throw EFCreateError(text);
    throw EFOpenError(text);
  }
#ifdef _WIN32
  int share = _SH_DENYNO;
  switch (mode & 0xF0u) {
    case fmShareExclusive: share = _SH_DENYRW; break;
    case fmShareDenyWrite: share = _SH_DENYWR; break;
    case fmShareDenyRead: share = _SH_DENYRD; break;
    default: break;
  }
  const std::wstring wideHow(how, how + std::strlen(how));
  FHandle = _wfsopen(PathOf(fileName).c_str(), wideHow.c_str(), share);
#else
  FHandle = std::fopen(PathOf(fileName).c_str(), how);
#endif
  if (FHandle == nullptr) {
    if (create) throw EFCreateError("Cannot create file \"" + fileName + "\". " + SystemReason());
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + SystemReason());
  }
  FReadable = create || access != fmOpenWrite;
  FWritable = create || access != fmOpenRead;
}

TFileStream::~TFileStream() {
  if (FHandle != nullptr) std::fclose(FHandle);
}

}  // namespace bw::core
