#pragma once
// Streams: a byte source and sink with a position. Read and Write move what they can
// and answer the count; ReadBuffer and WriteBuffer raise when the whole block fails.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Object.h"

namespace bw::core {

enum class TSeekOrigin : std::uint8_t { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Answers the new position; raises EStreamError when the target is before the start.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t size) = 0;

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  void ReadBuffer(void* buffer, std::int64_t count);         // EReadError when short
  void WriteBuffer(const void* buffer, std::int64_t count);  // EWriteError when short
  // Copies count bytes from source's position; count 0 copies all of source from its start.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

  std::int32_t ReadInt32();  // little-endian
  void WriteInt32(std::int32_t value);
};

// All bytes in memory. Growth past kMaxMemoryStreamBytes raises EStreamError.
class TMemoryStream : public TStream {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }
  static constexpr std::int64_t kMaxMemoryStreamBytes = std::int64_t{1} << 30;

  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : FData(std::move(bytes)) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
  void SetSize(std::int64_t size) override;

  void Clear();
  const std::uint8_t* Memory() const { return FData.data(); }
  std::uint8_t* Memory() { return FData.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return FData; }
  // The bytes themselves, for code that fills or takes them whole; the position stays
  // where it was (a read from past the end gives nothing).
  std::vector<std::uint8_t>& Bytes() { return FData; }
  void LoadFromStream(TStream& source);  // the whole of source, from its start
  void SaveToStream(TStream& dest);
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

 private:
  std::vector<std::uint8_t> FData;
  std::int64_t FPosition = 0;
};

// Open modes and share modes, combined with |.
enum : std::uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// A stream over an open C file, not owned.
class THandleStream : public TStream {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  explicit THandleStream(std::FILE* handle) : FHandle(handle) {}
  std::FILE* Handle() const { return FHandle; }
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t size) override;

 protected:
  std::FILE* FHandle;
  bool FWritable = true;
  bool FReadable = true;
  bool FLastWasWrite = false;
};

// A named file, owned by the stream. Share modes are enforced where the C library
// can (Windows: the sharing flags of the open); POSIX has no mandatory sharing, so
// there they are accepted and have no effect.
class TFileStream : public THandleStream {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  // fmCreate makes or empties the file (EFCreateError); other modes open an existing
  // file (EFOpenError). fmOpenWrite keeps the content and writes from the start.
  TFileStream(const std::string& fileName, std::uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
};

}  // namespace bw::core
