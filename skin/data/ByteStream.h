#pragma once
// A small seekable byte stream and its in-memory form: the seam the skin data layer
// reads and writes through until it runs over the framework's own streams.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bw::skin {

class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class TByteStream {
 public:
  virtual ~TByteStream() = default;
  // Both return the number of bytes actually moved (less at the end or on failure).
  virtual std::size_t Read(void* buffer, std::size_t countBytes) = 0;
  virtual std::size_t Write(const void* buffer, std::size_t countBytes) = 0;
  virtual std::int64_t Size() const = 0;
  virtual std::int64_t Position() const = 0;
  // Absolute; clamped to 0 .. Size().
  virtual void Seek(std::int64_t positionBytes) = 0;

  // Short transfers throw EReadError / EWriteError.
  void ReadBuffer(void* buffer, std::size_t countBytes);
  void WriteBuffer(const void* buffer, std::size_t countBytes);
};

class TMemoryStream : public TByteStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : FData(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t countBytes) override;
  std::size_t Write(const void* buffer, std::size_t countBytes) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(FData.size()); }
  std::int64_t Position() const override { return static_cast<std::int64_t>(FPos); }
  void Seek(std::int64_t positionBytes) override;

  void Clear();
  const std::vector<std::uint8_t>& Bytes() const { return FData; }
  std::vector<std::uint8_t>& Bytes() { return FData; }

  // Whole-file transfers; EFOpenError / EFCreateError / EWriteError name the file.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<std::uint8_t> FData;
  std::size_t FPos = 0;
};

// Whole-file helpers that report instead of throwing; the error text names the file.
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error);
// At most maxBytes: the rest of the file is not read, and fileTooLarge (when given) tells
// whether there was more.
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, std::string& error,
                   std::int64_t maxBytes, bool* fileTooLarge = nullptr);
bool WriteWholeFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace bw::skin
