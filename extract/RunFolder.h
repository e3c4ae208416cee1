#pragma once
// The folder set-up of a run, shared by the raw scan and the structure mode: at the first
// item of a run, the output folder beside the source is made or, if it exists, the host
// is asked whether to write into it.
#include "extract/RunHost.h"
#include "extract/RunState.h"

namespace bw::extract {

enum class TFolderResult { Ready, Cancelled, NotCreated };

// Acts once per run (state.FolderPrepared); later calls answer Ready.
TFolderResult PrepareRunFolder(TRunState& state, TRunHost& host);

}  // namespace bw::extract
