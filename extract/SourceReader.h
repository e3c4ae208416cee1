#pragma once
// Buffered forward reading of the source with 64-bit positions: the scan and the carve
// steps look at the source through one bounded buffer, never one system call per byte.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace bw::extract {

inline constexpr std::size_t kSourceBufferBytes = std::size_t{1} << 20;

// While the caller works on one block, a worker thread reads the block behind it into a
// second buffer (copying from the page cache costs about as much as searching). Blocks keep
// the bounds a plain read would give them, and a read-ahead error only counts once the
// caller reaches those bytes, so what the caller sees does not depend on the worker.
class TSourceReader {
 public:
  // Without readAhead every read happens inside Fill (the reference the worker must match).
  TSourceReader(std::FILE* file, std::uint64_t sizeBytes, std::size_t bufferBytes = kSourceBufferBytes,
                bool readAhead = true);
  ~TSourceReader();  // waits for a read in flight: the file is free when this returns
  TSourceReader(const TSourceReader&) = delete;
  TSourceReader& operator=(const TSourceReader&) = delete;

  // Makes [positionBytes, positionBytes + wantBytes) present in the buffer, as far as the
  // source reaches (wantBytes <= the buffer's size). Reads ahead as much as fits. False
  // when the source could not be read (then Failed() and ErrorText() tell).
  bool Fill(std::uint64_t positionBytes, std::size_t wantBytes);

  // The buffered bytes from positionBytes on; positionBytes must lie in the buffer.
  const std::uint8_t* At(std::uint64_t positionBytes) const;
  std::size_t AvailableFrom(std::uint64_t positionBytes) const;

  std::uint64_t SizeBytes() const { return FSizeBytes; }
  std::size_t BufferBytes() const { return FCapacityBytes; }
  bool Failed() const { return FFailed; }
  const std::string& ErrorText() const { return FErrorText; }

 private:
  struct TRead {
    std::uint64_t FromBytes = 0;
    std::size_t WantBytes = 0;
    std::size_t GotBytes = 0;
    std::string ErrorText;  // set when fewer than WantBytes came
  };

  // How many bytes a block starting at readFrom behind keptBytes kept ones takes.
  std::size_t BlockBytes(std::uint64_t readFrom, std::size_t keptBytes) const;
  void ReadNow(std::uint8_t* target, TRead& read);
  void StartAhead(std::size_t keptBytes);
  // Waits for the read-ahead, if any; afterwards only the caller touches the file.
  bool TakeAhead(TRead& read);
  void Work();

  std::FILE* FFile;
  std::uint64_t FSizeBytes;
  std::size_t FCapacityBytes;
  bool FReadAhead;
  std::vector<std::uint8_t> FBuffer;  // FSlackBytes in front of FCapacityBytes
  std::vector<std::uint8_t> FSpare;   // the worker's while a read-ahead is in flight
  const std::uint8_t* FBase = nullptr;  // the byte at FStartBytes
  std::uint64_t FStartBytes = 0;
  std::size_t FLengthBytes = 0;
  std::uint64_t FFilePosBytes = 0;  // where the handle stands
  bool FFailed = false;
  std::string FErrorText;

  bool FAheadPending = false;  // the caller's view: a read-ahead was posted and not taken
  std::mutex FMutex;
  std::condition_variable FWake, FDone;
  bool FAheadPosted = false, FAheadDone = false, FStop = false;
  TRead FAhead;
  std::thread FWorker;
};

}  // namespace bw::extract
