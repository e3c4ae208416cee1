#pragma once
// Reader of compound files (the container of .ppt/.pps): header, allocation table, its
// DIFAT chain, directory, mini stream. It trusts nothing: every chain is bounded by the
// file, checked for loops and for sectors that another chain already holds, and memory
// stays proportional to the file's real size whatever the header claims.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bw::extract {

// Random access to the bytes of the source.
class TByteSource {
 public:
  virtual ~TByteSource() = default;
  virtual std::uint64_t SizeBytes() const = 0;
  // Reads exactly lengthBytes at offsetBytes; false when that is not possible.
  virtual bool ReadAt(std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes) = 0;
};

class TMemorySource final : public TByteSource {
 public:
  TMemorySource(const std::uint8_t* data, std::size_t sizeBytes) : FData(data), FSizeBytes(sizeBytes) {}
  std::uint64_t SizeBytes() const override { return FSizeBytes; }
  bool ReadAt(std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes) override;

 private:
  const std::uint8_t* FData;
  std::size_t FSizeBytes;
};

// Reads through a C file handle the caller owns.
class TFileSource final : public TByteSource {
 public:
  TFileSource(std::FILE* file, std::uint64_t sizeBytes) : FFile(file), FSizeBytes(sizeBytes) {}
  std::uint64_t SizeBytes() const override { return FSizeBytes; }
  bool ReadAt(std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes) override;

 private:
  std::FILE* FFile;
  std::uint64_t FSizeBytes;
};

enum class TCfbStatus {
  Ok,
  NotCompound,  // no compound-file signature
  Corrupt,      // the structure breaks a rule; Reason says which
  NotFound,     // no stream of that name
  ReadFailed,   // the source could not be read
};

struct TCfbResult {
  TCfbStatus Status = TCfbStatus::Ok;
  std::string Reason;
  bool Ok() const { return Status == TCfbStatus::Ok; }
};

// The allocation table holds 4 bytes per sector of the file; this bounds it (files up to
// 4 GiB with 512-byte sectors, 32 GiB with 4096-byte ones).
inline constexpr std::uint64_t kMaxCfbSectors = std::uint64_t{8} << 20;

// A stream as a list of sectors; offsets map to the file through it.
struct TCfbStream {
  std::uint64_t SizeBytes = 0;
  bool InMiniStream = false;
  std::vector<std::uint32_t> Sectors;  // regular or mini sector numbers, in stream order
};

// A run of stream bytes that lies contiguously in the file.
struct TFileExtent {
  std::uint64_t FileOffsetBytes;
  std::uint64_t LengthBytes;
};

class TCompoundFile {
 public:
  explicit TCompoundFile(TByteSource& source) : FSource(source) {}

  // Reads the header, the allocation tables and the directory.
  TCfbResult Open();

  // A stream directly under the root storage; names compare without regard to ASCII case.
  // Its chain is checked here and its sectors are claimed: a later stream that shares one
  // is refused.
  TCfbResult OpenStream(const std::string& asciiName, TCfbStream& stream);

  // Reads lengthBytes of the stream at offsetBytes; false past the stream's end or when
  // the source fails.
  bool Read(const TCfbStream& stream, std::uint64_t offsetBytes, std::uint8_t* into, std::size_t lengthBytes);
  // Where the stream's bytes [offset, offset + length) lie in the file, merged into runs.
  bool Extents(const TCfbStream& stream, std::uint64_t offsetBytes, std::uint64_t lengthBytes,
               std::vector<TFileExtent>& extents) const;

  std::uint32_t SectorBytes() const { return FSectorBytes; }
  std::size_t DirectoryEntryCount() const { return FEntries.size(); }

 private:
  struct TEntry {
    std::u16string Name;
    std::uint8_t Type = 0;
    std::uint32_t Left = 0, Right = 0, Child = 0;
    std::uint32_t StartSector = 0;
    std::uint64_t SizeBytes = 0;
  };

  TCfbResult ReadHeaderAndFat();
  TCfbResult ReadDirectory();
  TCfbResult ReadMiniStream();
  // Follows a chain of the given table from start for at most neededCount links (all
  // links to the end of chain when neededCount is 0), claiming each sector for owner.
  TCfbResult FollowChain(const std::vector<std::uint32_t>& table, std::vector<std::uint8_t>& owners,
                         std::uint32_t start, std::uint64_t neededCount, std::uint8_t owner,
                         std::vector<std::uint32_t>& chain, const char* what);
  bool ReadSectors(const std::vector<std::uint32_t>& chain, std::vector<std::uint8_t>& bytes);
  bool FileExtents(const std::vector<std::uint32_t>& sectors, std::uint32_t unitBytes, bool mini,
                   std::uint64_t offsetBytes, std::uint64_t lengthBytes, std::vector<TFileExtent>& extents) const;

  TByteSource& FSource;
  std::uint32_t FSectorBytes = 512;
  std::uint32_t FMiniSectorBytes = 64;
  std::uint32_t FMiniCutoffBytes = 4096;
  std::uint32_t FVersion = 3;
  std::uint32_t FDirectoryStart = 0;
  std::uint32_t FMiniFatStart = 0;
  std::uint64_t FSectorCount = 0;  // whole or partial sectors the file holds behind its header
  std::vector<std::uint32_t> FFat;
  std::vector<std::uint8_t> FSectorOwner;  // 0 free to claim; else who holds the sector
  std::vector<std::uint32_t> FMiniFat;
  std::vector<std::uint8_t> FMiniOwner;
  std::uint8_t FNextOwner = 0;
  std::vector<TEntry> FEntries;
  TCfbStream FMiniStream;  // the root entry's chain
  bool FMiniStreamRead = false;
  TCfbResult FMiniResult;
};

}  // namespace bw::extract
