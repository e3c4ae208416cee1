#pragma once
// The media scan: walks the source through a four-byte window and carves every JPEG, PNG,
// bitmap record and RIFF WAVE sound it meets into a numbered file of its own.
#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "extract/SourceReader.h"

namespace bw::extract {

enum class TScanResult {
  Completed,         // the end of the source was reached
  Aborted,           // AbortRequested was seen after a host call
  FolderCancelled,   // the user declined to write into the existing folder
  FolderNotCreated,  // the output folder could not be created (host told)
  WriteFailed,       // an output file could not be created or written (host told; file removed)
  ReadFailed,        // the source could not be read to its end (host told)
};

// Runs the scan over the source BeginRun opened, from state.Position on. The counts and
// names in the state tell what was written; the source stays open. bufferBytes bounds
// the source buffer (small values serve tests of buffer edges).
TScanResult Scan(TRunState& state, TRunHost& host, std::size_t bufferBytes = kSourceBufferBytes);

// Integer (position x 100 + 100) / size, clamped to 100; 0 for an empty source.
int ProgressPercent(std::uint64_t positionBytes, std::uint64_t sizeBytes);

}  // namespace bw::extract
