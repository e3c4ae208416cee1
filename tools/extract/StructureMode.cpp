#include "tools/extract/StructureMode.h"

#include <ostream>

#include "extract/StructureRun.h"

namespace bw::tools {

extract::TScanResult RunStructureMode(extract::TRunState& state, TCliHost& host, TSourceReport& report,
                                      const TCliOptions& options, const TCliTerminal& terminal) {
  extract::TStructureOutcome outcome;
  const extract::TScanResult result = extract::ExtractByStructure(state, host, outcome);
  for (const std::string& problem : outcome.Problems) report.Errors.push_back(problem);
  report.Container = extract::ContainerName(outcome.Container);
  if (outcome.Used) {
    report.Mode = "structure";
    report.StructureFiles = std::move(outcome.Files);
    return result;
  }
  report.Fallback = outcome.FallbackReason;
  if (!options.Quiet) {
    host.ClearProgress();
    *terminal.Err << report.Source << ": " << outcome.FallbackReason << "; the raw scan runs instead\n" << std::flush;
  }
  return extract::Scan(state, host);
}

}  // namespace bw::tools
