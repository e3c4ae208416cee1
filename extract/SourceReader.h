#pragma once
// Buffered forward reading of the source with 64-bit positions: the scan and the carve
// steps look at the source through one bounded window, never one system call per byte.
// Where the platform allows, the window is the page cache itself, mapped; otherwise a
// buffer the source is read into.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "extract/SourceMapping.h"

namespace bw::extract {

inline constexpr std::size_t kSourceBufferBytes = std::size_t{1} << 20;
// Mapped window of a reader with the default buffer: larger windows map faster, and the
// pages count towards the process's memory.
inline constexpr std::size_t kSourceMapWindowBytes = std::size_t{8} << 20;

class TSourceReader {
 public:
  TSourceReader(std::FILE* file, std::uint64_t sizeBytes, std::size_t bufferBytes = kSourceBufferBytes);

  // Makes [positionBytes, positionBytes + wantBytes) present in the buffer, as far as the
  // source reaches (wantBytes <= the buffer's size). Reads ahead as much as fits. False
  // when the source could not be read (then Failed() and ErrorText() tell).
  bool Fill(std::uint64_t positionBytes, std::size_t wantBytes);

  // The buffered bytes from positionBytes on; positionBytes must lie in the buffer.
  const std::uint8_t* At(std::uint64_t positionBytes) const;
  std::size_t AvailableFrom(std::uint64_t positionBytes) const;

  std::uint64_t SizeBytes() const { return FSizeBytes; }
  bool Failed() const { return FFailed || FMapping.Lost(); }
  std::string ErrorText() const;

 private:
  std::FILE* FFile;
  std::uint64_t FSizeBytes;
  bool MapWindow(std::uint64_t positionBytes);
  bool ReadWindow(std::uint64_t positionBytes);
  void MakeBuffer();

  TSourceMapping FMapping;
  bool FUseMapping;
  std::size_t FBufferBytes;
  std::size_t FWindowBytes;       // length of a mapped window
  std::vector<std::uint8_t> FBuffer;
  std::uint8_t* FReadTarget = nullptr;  // page-aligned; reads land here, kept bytes just before it
  std::uint8_t* FData = nullptr;        // the buffered bytes
  std::uint64_t FStartBytes = 0;  // source offset of FData[0]
  std::size_t FLengthBytes = 0;
  // Where the handle stands; unknown at first, as others may have moved it (the structure
  // mode reads the same handle before it falls back).
  std::uint64_t FFilePosBytes = ~std::uint64_t{0};
  bool FFailed = false;
  std::string FErrorText;
};

}  // namespace bw::extract
