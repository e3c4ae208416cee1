#pragma once
// The structure mode on a zip container: every media entry, in directory order, written
// whole with the raw scan's folder, naming and numbering rules.
#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "extract/Scanner.h"
#include "extract/StructureRun.h"
#include "extract/ZipContainer.h"

namespace bw::extract {

// zip is open. An entry that cannot be read whole leaves no file and is listed in
// outcome.Problems; the run goes on with the next.
TScanResult ExtractZipMedia(TRunState& state, TRunHost& host, TZipContainer& zip, TStructureOutcome& outcome);

}  // namespace bw::extract
