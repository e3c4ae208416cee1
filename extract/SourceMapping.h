#pragma once
// A read-only window of the source mapped into memory, so the scan searches the page
// cache where it lies instead of copying it first. A file that shrinks while mapped
// would raise a bus error on the pages it lost; the guard puts zero pages there instead
// and marks the window, so the reader reports the short file as a read error.
// POSIX only: on Windows the reader keeps its buffered reads.
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace bw::extract {

class TSourceMapping {
 public:
  TSourceMapping() = default;
  TSourceMapping(const TSourceMapping&) = delete;
  TSourceMapping& operator=(const TSourceMapping&) = delete;
  ~TSourceMapping() { Unmap(); }

  // Maps [offsetBytes, offsetBytes + lengthBytes) of the open file; offsetBytes must be a
  // multiple of PageBytes(). False when the file cannot be mapped (a pipe, a device, no
  // mapping on this platform): the caller reads instead.
  bool Map(int fileDescriptor, std::uint64_t offsetBytes, std::size_t lengthBytes);
  void Unmap();

  const std::uint8_t* Data() const { return FData; }
  std::uint64_t OffsetBytes() const { return FOffsetBytes; }
  std::size_t LengthBytes() const { return FLengthBytes; }
  // Some page of this window (or an earlier one) vanished from the file while mapped.
  bool Lost() const { return FLost.load(std::memory_order_acquire); }

  static std::size_t PageBytes();
  static bool Supported();

 private:
  std::uint8_t* FData = nullptr;
  std::uint64_t FOffsetBytes = 0;
  std::size_t FLengthBytes = 0;
  std::atomic<bool> FLost{false};
  int FSlot = -1;
};

}  // namespace bw::extract
