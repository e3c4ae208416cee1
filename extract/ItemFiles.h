#pragma once
// One file per item of a structure run: the folder set-up at the first item, the name from
// the numbering rules, the host called at its pace, and no file left behind by an item that
// fails or is stopped.
#include <chrono>
#include <cstdint>
#include <string>

#include "extract/OutputFile.h"
#include "extract/OutputLock.h"
#include "extract/RunHost.h"
#include "extract/RunState.h"
#include "extract/Scanner.h"

namespace bw::extract {

class TItemFiles {
 public:
  TItemFiles(TRunState& state, TRunHost& host, std::uint64_t totalBytes)
      : FState(state), FHost(host), FTotalBytes(totalBytes) {}

  // Creates the next file on the sound or the picture counter; Completed once it is open,
  // otherwise how the run ends.
  TScanResult Begin(bool sound, const std::string& extension);
  TOutputFile& Output() { return FOutput; }
  const std::string& Path() const { return FPath; }
  // Counts source bytes done and lets the host in at its pace (always when forced); true
  // when an abort was asked for.
  bool Advance(std::uint64_t bytes, bool force = false);
  // An abort waits for the item to be complete, a stop does not.
  bool Stopped() const { return FState.AbortRequested && FState.StopNow; }
  // Closes the item. A whole one is kept and counted (kept, with its size); a stopped or
  // failed one is removed. A close failure is reported and ends the run.
  TScanResult Finish(bool whole, bool& kept, std::uint64_t& sizeBytes);

 private:
  TRunState& FState;
  TRunHost& FHost;
  TOutputFile FOutput;
  TOutputLock FLock;  // held from the folder set-up to the end of the run
  std::string FPath;
  std::int32_t* FCount = nullptr;
  std::uint64_t FTotalBytes;
  std::uint64_t FDoneBytes = 0;
  std::chrono::steady_clock::time_point FLastCall{};
};

}  // namespace bw::extract
