#pragma once
// The run host of the command line: asks on the terminal, shows a progress line, checks
// pictures with the desktop program's decoders and collects the report.
#include <chrono>
#include <csignal>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "tools/extract/CliOptions.h"
#include "tools/extract/JsonReport.h"
#include "tools/extract/PreviewCheck.h"
#include "tools/extract/StopSignals.h"

namespace bw::tools {

struct TCliTerminal {
  std::istream* In;
  std::ostream* Err;
  bool InIsTerminal;
  bool ErrIsTerminal;
  int InFd = -1;  // the descriptor behind In, for a wait that a stop request can end
};

class TCliHost final : public extract::TRunHost {
 public:
  TCliHost(const TCliOptions& options, const TCliTerminal& terminal, extract::TRunState& state,
           TSourceReport& report, const TStopSignals* signals);

  void Progress(int percent) override;
  void ProcessMessages() override;
  bool ConfirmExistingFolder(const std::string& folder) override;
  void FolderCreationFailed(const std::string& folder) override;
  bool ShowPreview(extract::TItemKind kind, const std::string& path) override;
  void ReportError(const extract::TRunError& error) override;
  void ItemWritten(const extract::TWrittenItem& item) override;

  // Erases the progress line, if one is shown.
  void ClearProgress();
  // Replaces the decoders, for tests.
  std::function<TPictureVerdict(extract::TItemKind, const std::string&)> PictureCheck;
  // Output folders that earlier sources of the same command wrote files into: never
  // written into again, so no file of an earlier report is overwritten.
  const std::vector<std::string>* EarlierFolders = nullptr;

 private:
  void Error(const std::string& text);

  const TCliOptions& FOptions;
  TCliTerminal FTerminal;
  extract::TRunState& FState;
  TSourceReport& FReport;
  const TStopSignals* FSignals;
  std::chrono::steady_clock::time_point FStart;
  std::chrono::steady_clock::time_point FLastDraw;
  bool FProgressShown = false;
};

}  // namespace bw::tools
