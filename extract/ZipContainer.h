#pragma once
// Reader of zip containers (.pptx, .ppsx, .odp) over libzip: the central directory, which
// entries are media, and each entry's bytes (inflated where deflated) with bounded work.
// Entry names are data, never paths: nothing here touches the file system.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "extract/CompoundFile.h"

namespace bw::extract {

enum class TZipStatus {
  Ok,
  NotZip,      // no zip structure at all
  Corrupt,     // the archive or the entry breaks a rule; Reason says which
  Refused,     // the entry is readable in principle but not taken: encrypted, a bomb, a method we lack
  ReadFailed,  // the source could not be read
  Stopped,     // the sink asked to stop
};

struct TZipResult {
  TZipStatus Status = TZipStatus::Ok;
  std::string Reason;
  bool Ok() const { return Status == TZipStatus::Ok; }
};

struct TZipEntry {
  std::uint64_t Index = 0;  // in the central directory
  std::string Name;         // as stored; any bytes
  std::uint64_t SizeBytes = 0;        // as the directory states it
  std::uint64_t CompressedBytes = 0;  // as the directory states it
  std::uint16_t Method = 0;           // 0 stored, 8 deflated, others refused
  bool Encrypted = false;
};

// Whatever a directory says, one archive inflates to no more than the floor plus this many
// bytes per byte of the archive: a bomb (one entry or many sharing their data) stops there.
inline constexpr std::uint64_t kZipBombFloorBytes = std::uint64_t{64} << 20;
inline constexpr std::uint64_t kZipMaxInflateRatio = 200;

// The bytes of an entry as they come; false stops the read.
using TZipSink = std::function<bool(const std::uint8_t* data, std::size_t lengthBytes)>;

class TZipContainer {
 public:
  explicit TZipContainer(TByteSource& source);
  ~TZipContainer();
  TZipContainer(const TZipContainer&) = delete;
  TZipContainer& operator=(const TZipContainer&) = delete;

  TZipResult Open();
  const std::vector<TZipEntry>& Entries() const { return FEntries; }
  // The bytes an archive of this size may still inflate to (see kZipMaxInflateRatio).
  std::uint64_t BudgetBytes() const { return FBudgetBytes; }

  // Whether Read would take the entry at all: not encrypted, a method we have, a stated
  // size within the budget.
  TZipResult Admit(const TZipEntry& entry) const;
  // Streams the entry to sink and takes its size from the budget. Refused before any byte
  // when it is encrypted, of another method or states more than the budget; Corrupt when
  // its data gives more or fewer bytes than stated, or fails its checksum.
  TZipResult Read(const TZipEntry& entry, const TZipSink& sink);

 private:
  struct TState;
  TByteSource& FSource;
  std::unique_ptr<TState> FState;
  std::vector<TZipEntry> FEntries;
  std::uint64_t FBudgetBytes = 0;
};

enum class TMediaClass { Picture, OtherMedia };

struct TMediaEntry {
  TMediaClass Class = TMediaClass::Picture;
  std::string Extension;  // with its dot, as the entry has it; ".bin" when it has none usable
};

enum class TEntryVerdict { Media, NotMedia, Unsafe };

// Media are the entries below ppt/media/ (.pptx, .ppsx) or Pictures/ or Media/ (.odp).
// A name with a ".." part, a leading separator or a drive letter is Unsafe: no office suite
// writes one, so it is reported, never followed.
TEntryVerdict ClassifyEntry(const std::string& name, TMediaEntry& media);

// True when the source starts as a zip archive does.
bool LooksLikeZip(TByteSource& source);

}  // namespace bw::extract
