#pragma once
// Stop requests of the command line. Ctrl-C asks the run to stop after the item being
// written (cheap for every normal item); a second Ctrl-C, SIGTERM or SIGHUP asks it to stop
// at once, removing that item. Either way the report of what was written is printed.
#include <csignal>
#include <iosfwd>
#include <string>

namespace bw::tools {

struct TStopSignals {
  volatile std::sig_atomic_t Interrupts = 0;  // Ctrl-C presses
  volatile std::sig_atomic_t Terminated = 0;  // the number of a termination signal, 0 if none
  int WakeFd = -1;                            // POSIX: readable once any of them came; -1 if none

  bool StopSoon() const { return Interrupts > 0 || Terminated != 0; }
  bool StopNow() const { return Interrupts > 1 || Terminated != 0; }
};

// Installs the process's handlers for SIGINT, SIGTERM and SIGHUP into `signals`, which must
// live as long as the process. They do not restart interrupted calls. SIGPIPE is ignored so
// that a closed output shows as a write error.
void InstallStopHandlers(TStopSignals& signals);

enum class TLineStatus { Line, EndOfInput, Stopped };

// One answer line from the terminal. With a descriptor for `in` and signals, the wait ends
// as soon as a stop is asked for; otherwise it is a plain getline.
TLineStatus ReadAnswerLine(std::istream& in, int inFd, const TStopSignals* signals, std::string& line);

}  // namespace bw::tools
