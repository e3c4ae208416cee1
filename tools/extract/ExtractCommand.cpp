#include "tools/extract/ExtractCommand.h"

#include <new>
#include <ostream>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"
#include "extract/Scanner.h"
#include "extract/StructureRun.h"
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
                      const TCliTerminal& terminal, std::ostream& out, const TStopSignals* signals) {
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
  std::vector<std::string> writtenFolders;
  bool allProcessed = true;
  for (const std::string& file : options.Files) {
    if (signals != nullptr && signals->StopSoon()) {
      allProcessed = false;
      break;
    }
    reports.emplace_back();
    TSourceReport& report = reports.back();
    report.Source = file;
    extract::TRunState state;
    TCliHost host(options, terminal, state, report, signals);
    host.EarlierFolders = &writtenFolders;

    int errnoValue = 0;
    if (extract::BeginRun(state, file, errnoValue) != extract::TOpenResult::Opened) {
      host.ReportError({extract::TRunErrorKind::ReadFailed, file, extract::LastErrorText(errnoValue)});
      report.Status = "unreadable";
      allProcessed = false;
      continue;
    }
    if (!options.Structure) {
      const extract::TContainerKind container = extract::SniffContainer(state);
      report.Container = extract::ContainerName(container);
      if (container != extract::TContainerKind::None && !options.Quiet && !options.Json) {
        *terminal.Err << file << ": " << (container == extract::TContainerKind::Zip ? "a zip container" : "a compound file")
                      << "; --structure recovers every medium whole\n"
                      << std::flush;
      }
    }
    extract::TScanResult result = extract::TScanResult::Completed;
    try {
      result = options.Structure ? RunStructureMode(state, host, report, options, terminal) : extract::Scan(state, host);
    } catch (const std::bad_alloc&) {
      // One source that memory cannot hold must not cost the report or the other sources.
      // The engine removes no file here: the item being written may stay cut.
      host.ReportError({extract::TRunErrorKind::ReadFailed, file, "not enough memory to go on with this source"});
      result = extract::TScanResult::ReadFailed;
    }
    state.Source.Close();
    host.ClearProgress();
    report.Status = StatusName(result);
    report.OutputFolder = state.FolderPrepared ? state.OutputFolder : std::string();
    report.Pictures = state.PictureCount;
    report.Sounds = state.SoundCount;
    if (result != extract::TScanResult::Completed) allProcessed = false;
    if (!report.Files.empty() || !report.StructureFiles.empty()) writtenFolders.push_back(state.OutputFolder);

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
  if (!out) {
    // The report is what a script reads: losing it is a failure, whatever was written.
    *terminal.Err << "brindlewick-extract: the report could not be written to standard output\n" << std::flush;
    return kExitFailed;
  }
  return allProcessed ? kExitOk : kExitFailed;
}

}  // namespace bw::tools
