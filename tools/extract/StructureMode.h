#pragma once
// --structure: the compound-file extraction, or the raw scan when the source has no usable
// structure, said on the terminal and in the report.
#include "extract/RunState.h"
#include "extract/Scanner.h"
#include "tools/extract/CliHost.h"

namespace bw::tools {

extract::TScanResult RunStructureMode(extract::TRunState& state, TCliHost& host, TSourceReport& report,
                                      const TCliOptions& options, const TCliTerminal& terminal);

}  // namespace bw::tools
