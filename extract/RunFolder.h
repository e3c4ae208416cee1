#pragma once
// The folder set-up of a run, shared by the raw scan and the structure mode: at the first
// item of a run, the output folder beside the source is made or, if it exists, the host
// is asked whether to write into it. Either way the run then owns the folder (its lock).
#include "extract/OutputLock.h"
#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "extract/Scanner.h"

namespace bw::extract {

enum class TFolderResult {
  Ready,
  Cancelled,   // the host declined the existing folder
  NotCreated,  // host told
  Aborted,     // a stop was asked for during the question
  NotLocked,   // another run owns the folder, or the lock file cannot be made (host told)
};

// Acts once per run (state.FolderPrepared); later calls answer Ready. lock holds the folder
// from here to the end of the run; it is taken before the question, so that no other run
// writes into the folder while the user decides.
TFolderResult PrepareRunFolder(TRunState& state, TRunHost& host, TOutputLock& lock);

// The run's result for a folder that is not Ready.
TScanResult ScanResultFor(TFolderResult result);

}  // namespace bw::extract
