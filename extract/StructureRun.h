#pragma once
// The structure mode: reads the source as a compound file and writes every picture of its
// "Pictures" stream and every sound of its "PowerPoint Document" stream exactly, with the
// raw scan's folder, naming and numbering rules; then tells for each item what the raw
// scan would have made of it.
#include <cstdint>
#include <string>
#include <vector>

#include "extract/PresentationRecords.h"
#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "extract/Scanner.h"

namespace bw::extract {

enum class TRawVerdict {
  Same,     // the raw scan writes these bytes (a sound with the one byte it always adds)
  Cut,      // the raw scan starts this item but writes other bytes (foreign sectors, an early end)
  Missed,   // the raw scan does not find it
  Unknown,  // the comparison could not run
};

struct TStructureFile {
  TStructureKind Kind;
  std::string Path;
  std::uint64_t SizeBytes = 0;
  std::string Stream;
  std::uint64_t RecordOffsetBytes = 0;  // in its stream
  std::uint64_t SourceStartBytes = 0;   // file offset of the item's first byte of data
  std::size_t Fragments = 0;            // contiguous runs of the file its data spans
  TRawVerdict Raw = TRawVerdict::Unknown;
  // Zip containers: the entry the file came from (no stream, offsets or verdict there).
  std::string Entry;
  std::string Method;  // "stored" or "deflated"
  std::uint64_t StoredBytes = 0;
};

enum class TContainerKind { None, Compound, Zip };

struct TStructureOutcome {
  bool Used = false;           // false: nothing written; the raw scan is to run instead
  TContainerKind Container = TContainerKind::None;
  std::string FallbackReason;  // why the structure could not be used
  std::vector<TStructureFile> Files;
  std::vector<std::string> Problems;  // damaged records that were skipped
};

// Runs over the source BeginRun opened: a compound file, or else a zip container whose
// media entries are written in directory order. When the source is neither, or a compound
// file holds neither stream, or a structure is damaged, it writes nothing and says why in
// the outcome. compareWithRaw runs the raw scan into a temporary folder for the verdicts
// of a compound file's items.
TScanResult ExtractByStructure(TRunState& state, TRunHost& host, TStructureOutcome& outcome,
                               bool compareWithRaw = true);

const char* RawVerdictName(TRawVerdict verdict);
const char* ContainerName(TContainerKind kind);

// What the source's first bytes say it is, for the raw scan's hint that --structure would
// recover more.
TContainerKind SniffContainer(TRunState& state);

}  // namespace bw::extract
