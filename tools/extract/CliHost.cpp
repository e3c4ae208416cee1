#include "tools/extract/CliHost.h"

#include <cstdio>
#include <filesystem>
#include <istream>
#include <ostream>

#include "extract/FileIo.h"
#include "extract/Texts.h"

namespace bw::tools {
namespace {

constexpr auto kProgressRedraw = std::chrono::milliseconds(100);

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(extract::PathFromUtf8(a), extract::PathFromUtf8(b), error);
}

}  // namespace

TCliHost::TCliHost(const TCliOptions& options, const TCliTerminal& terminal, extract::TRunState& state,
                   TSourceReport& report, const TStopSignals* signals)
    : PictureCheck(CheckPicture),
      FOptions(options),
      FTerminal(terminal),
      FState(state),
      FReport(report),
      FSignals(signals),
      FStart(std::chrono::steady_clock::now()) {}

void TCliHost::Progress(int percent) {
  if (FOptions.Quiet || !FTerminal.ErrIsTerminal) return;
  const auto now = std::chrono::steady_clock::now();
  if (FProgressShown && percent < 100 && now - FLastDraw < kProgressRedraw) return;
  FLastDraw = now;
  const double seconds = std::chrono::duration<double>(now - FStart).count();
  const double megabytesPerSecond = seconds > 0 ? static_cast<double>(FState.Position) / 1e6 / seconds : 0.0;
  char line[160];
  std::snprintf(line, sizeof line, "\r%3d%%  %8.1f MB/s  %d pictures  %d sounds ", percent, megabytesPerSecond,
                FState.PictureCount, FState.SoundCount);
  *FTerminal.Err << line << std::flush;
  FProgressShown = true;
}

void TCliHost::ClearProgress() {
  if (!FProgressShown) return;
  *FTerminal.Err << "\r" << std::string(70, ' ') << "\r" << std::flush;
  FProgressShown = false;
}

void TCliHost::ProcessMessages() {
  if (FSignals == nullptr) return;
  if (FSignals->StopSoon()) FState.AbortRequested = true;
  if (FSignals->StopNow()) FState.StopNow = true;
}

void TCliHost::Error(const std::string& text) {
  ClearProgress();
  FReport.Errors.push_back(text);
  *FTerminal.Err << text << "\n" << std::flush;
}

bool TCliHost::ConfirmExistingFolder(const std::string& folder) {
  if (EarlierFolders != nullptr) {
    for (const std::string& earlier : *EarlierFolders) {
      if (!SameFolder(folder, earlier)) continue;
      Error(FReport.Source + ": the folder " + folder +
            " holds the files of an earlier source of this command; nothing written over them");
      return false;
    }
  }
  if (FOptions.Yes) return true;
  if (!FTerminal.InIsTerminal) {
    Error(FReport.Source + ": the folder " + folder +
          " exists already; nothing written (--yes writes into it without asking)");
    return false;
  }
  ClearProgress();
  *FTerminal.Err << extract::FolderQuestionText(FOptions.Language, folder) << " [y/N] " << std::flush;
  std::string answer;
  if (ReadAnswerLine(*FTerminal.In, FTerminal.InFd, FSignals, answer) == TLineStatus::Stopped) {
    *FTerminal.Err << "\n" << std::flush;
    ProcessMessages();
    return false;
  }
  const bool yes = !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y' || answer[0] == 'o' || answer[0] == 'O');
  if (!yes) FReport.Errors.push_back("the folder " + folder + " exists already; the user declined to write into it");
  return yes;
}

void TCliHost::FolderCreationFailed(const std::string& folder) {
  Error(extract::FolderCreationErrorText() + "\n" + folder);
}

bool TCliHost::ShowPreview(extract::TItemKind kind, const std::string& path) {
  switch (PictureCheck(kind, path)) {
    case TPictureVerdict::Shows: return true;
    case TPictureVerdict::Fails: return false;
    case TPictureVerdict::Unchecked:
      // Memory ran out in the check: that says nothing against the picture, so it stays,
      // marked as unchecked.
      FReport.Unchecked.push_back(path);
      if (!FOptions.Json) {
        ClearProgress();
        *FTerminal.Err << path << ": kept without the picture check (not enough memory to decode it)\n" << std::flush;
      }
      return true;
  }
  return false;
}

void TCliHost::ReportError(const extract::TRunError& error) {
  const std::string text = error.Kind == extract::TRunErrorKind::WriteFailed
                               ? extract::WriteErrorText(FOptions.Language, error.Path)
                               : extract::ReadErrorText(FOptions.Language, error.Path);
  Error(error.Cause.empty() ? text : text + "\n" + error.Cause);
}

void TCliHost::ItemWritten(const extract::TWrittenItem& item) { FReport.Files.push_back(item); }

}  // namespace bw::tools
