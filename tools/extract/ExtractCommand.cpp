#include "tools/extract/ExtractCommand.h"

#include <ostream>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"
#include "extract/Scanner.h"
#include "extract/Texts.h"
#include "tools/extract/StructureMode.h"

namespace bw::tools {
namespace {

const char* StatusName(extract::TScanResult result) {
  switch (result) {
    case extract::TScanResult::Completed: return "completed";
    case extract::TScanResult::Aborted: return "aborted";
    case extract::TScanResult::FolderCancelled: return "refused";
    case extract::TScanResult::FolderNotCreated:
    case extract::TScanResult::WriteFailed:
    case extract::TScanResult::ReadFailed: return "failed";
  }
  return "failed";
}

}  // namespace

int RunExtractCommand(const std::vector<std::string>& args, const std::string& defaultLanguage,
                      const TCliTerminal& terminal, std::ostream& out,
                      const volatile std::sig_atomic_t* interrupted) {
  TCliOptions options;
  const TParseResult parsed = ParseCommandLine(args, defaultLanguage, options);
  if (parsed.Status != TParseStatus::Ok) {
    *terminal.Err << "brindlewick-extract: " << parsed.Message << "\n" << UsageText();
    return kExitUsage;
  }
  if (options.Help) {
    out << UsageText();
    return kExitOk;
  }

  std::vector<TSourceReport> reports;
  bool allProcessed = true;
  for (const std::string& file : options.Files) {
    if (interrupted != nullptr && *interrupted != 0) {
      allProcessed = false;
      break;
    }
    reports.emplace_back();
    TSourceReport& report = reports.back();
    report.Source = file;
    extract::TRunState state;
    TCliHost host(options, terminal, state, report, interrupted);

    int errnoValue = 0;
    if (extract::BeginRun(state, file, errnoValue) != extract::TOpenResult::Opened) {
      host.ReportError({extract::TRunErrorKind::ReadFailed, file, extract::LastErrorText(errnoValue)});
      report.Status = "unreadable";
      allProcessed = false;
      continue;
    }
    const extract::TScanResult result =
        options.Structure ? RunStructureMode(state, host, report, options, terminal) : extract::Scan(state, host);
    state.Source.Close();
    host.ClearProgress();
    report.Status = StatusName(result);
    report.OutputFolder = state.FolderPrepared ? state.OutputFolder : std::string();
    report.Pictures = state.PictureCount;
    report.Sounds = state.SoundCount;
    if (result != extract::TScanResult::Completed) allProcessed = false;

    const bool summary = result != extract::TScanResult::FolderCancelled &&
                         result != extract::TScanResult::FolderNotCreated;
    if (summary && !options.Quiet && !options.Json) {
      if (options.Files.size() > 1) out << file << ":\n";
      out << extract::SummaryText(options.Language, state.PictureCount, state.SoundCount, state.OutputFolder,
                                  state.SourceName, extract::PathSeparator())
          << "\n";
    }
    if (result == extract::TScanResult::Aborted) {
      report.Errors.push_back("interrupted");
      *terminal.Err << file << ": interrupted; the files written so far stay\n";
      break;
    }
  }
  if (options.Json) out << RenderJson(reports);
  out.flush();
  return allProcessed ? kExitOk : kExitFailed;
}

}  // namespace bw::tools
