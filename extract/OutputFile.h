#pragma once
// One carved file being written: buffered, with the one move back that a JPEG restart
// needs; the first failure is kept and reported at Close.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bw::extract {

inline constexpr std::size_t kOutputBufferBytes = std::size_t{256} << 10;

class TOutputFile {
 public:
  TOutputFile() = default;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  ~TOutputFile();

  // Creates the file new, replacing the content of a plain file of that name (a link, a
  // FIFO or a device at the name is refused); an object serves one file at a time and may
  // be reused.
  bool Create(const std::string& pathUtf8);
  void Write(const std::uint8_t* data, std::size_t lengthBytes);
  void WriteByte(std::uint8_t value) { Write(&value, 1); }
  // Moves the write position; bytes already written beyond it stay.
  void SeekTo(std::uint64_t offsetBytes);
  // Flushes and closes; false if anything failed since Create.
  bool Close();

  bool Failed() const { return FFailed; }
  const std::string& ErrorText() const { return FErrorText; }
  std::uint64_t SizeBytes() const;  // the file's length so far (highest byte written)

 private:
  bool Flush();
  void Fail(int errnoValue);

  std::FILE* FFile = nullptr;
  std::vector<std::uint8_t> FBuffer;
  std::uint64_t FBufferStartBytes = 0;  // file offset of FBuffer[0]
  std::size_t FBufferLengthBytes = 0;   // bytes of FBuffer holding data
  std::size_t FCursorBytes = 0;         // write position within FBuffer
  std::uint64_t FFlushedEndBytes = 0;   // length of the file as flushed
  bool FFailed = false;
  std::string FErrorText;
};

}  // namespace bw::extract
