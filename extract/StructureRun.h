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
};

struct TStructureOutcome {
  bool Used = false;           // false: nothing written; the raw scan is to run instead
  std::string FallbackReason;  // why the structure could not be used
  std::vector<TStructureFile> Files;
  std::vector<std::string> Problems;  // damaged records that were skipped
};

// Runs over the source BeginRun opened. When the source is no compound file, or holds
// neither stream, or its structure is damaged, it writes nothing and says why in the
// outcome. compareWithRaw runs the raw scan into a temporary folder for the verdicts.
TScanResult ExtractByStructure(TRunState& state, TRunHost& host, TStructureOutcome& outcome,
                               bool compareWithRaw = true);

const char* RawVerdictName(TRawVerdict verdict);

}  // namespace bw::extract
