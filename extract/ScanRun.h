#pragma once
// Internal to the scanner: one scan with its reader, its output file and its host pacing.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "extract/OutputFile.h"
#include "extract/OutputLock.h"
#include "extract/Scanner.h"
#include "extract/SourceReader.h"

namespace bw::extract {

class TScanRun {
 public:
  TScanRun(TRunState& state, TRunHost& host, std::size_t bufferBytes);
  TScanResult Run();

 private:
  // Each carve returns where the next window starts, or nothing when the run ends
  // (FResult then says why).
  using TNext = std::optional<std::uint64_t>;
  TNext CarveJpeg(std::uint64_t startBytes);
  TNext CarvePng(std::uint64_t startBytes);
  TNext CarveDib(std::uint64_t startBytes);
  TNext CarveWave(std::uint64_t startBytes);

  bool PrepareOutputFolder();
  bool CreateOutput(const char* extension, std::int32_t count, std::string& nameField);
  // Closes the output and applies the count and the preview check; false ends the run.
  bool FinishItem(TItemKind kind, const std::string& path, std::uint64_t startBytes, std::uint64_t endBytes,
                  bool truncated);
  // Copies up to lengthBytes from fromBytes, stopping at the end of the source; returns
  // where it stopped.
  std::uint64_t CopyBody(std::uint64_t fromBytes, std::uint64_t lengthBytes);
  bool FillOrFail(std::uint64_t positionBytes, std::size_t wantBytes);
  // Reports the file; one that was created is removed, as it is incomplete.
  void FailWrite(const std::string& path, bool created);

  // Calls the host when the percentage changed or enough time passed (or when forced);
  // true when an abort was requested.
  bool Tick(std::uint64_t positionBytes, bool force = false);

  TRunState& FState;
  TRunHost& FHost;
  TSourceReader FReader;
  TOutputFile FOutput;
  TOutputLock FLock;  // held from the folder set-up to the end of the run
  TScanResult FResult = TScanResult::Completed;
  int FLastPercent = -1;
  std::chrono::steady_clock::time_point FLastCall;
};

}  // namespace bw::extract
