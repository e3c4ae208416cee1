#include "tools/extract/StopSignals.h"

#include <istream>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace bw::tools {
namespace {

TStopSignals* gSignals = nullptr;
#ifndef _WIN32
int gWakeWriteFd = -1;
#endif

extern "C" void OnStopSignal(int signalNumber) {
  if (gSignals == nullptr) return;
  if (signalNumber == SIGINT) {
    gSignals->Interrupts = gSignals->Interrupts + 1;
  } else {
    gSignals->Terminated = signalNumber;
  }
#ifndef _WIN32
  if (gWakeWriteFd >= 0) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWakeWriteFd, &byte, 1);
    errno = savedErrno;
  }
#endif
}

}  // namespace

void InstallStopHandlers(TStopSignals& signals) {
  gSignals = &signals;
#ifdef _WIN32
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  std::signal(SIGBREAK, OnStopSignal);
#else
  int pipeFds[2];
  if (::pipe(pipeFds) == 0) {
    for (const int fd : pipeFds) {
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
      ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    signals.WakeFd = pipeFds[0];
    gWakeWriteFd = pipeFds[1];
  }
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocked read must come back with EINTR
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signalNumber, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, nullptr);
#endif
}

TLineStatus ReadAnswerLine(std::istream& in, int inFd, const TStopSignals* signals, std::string& line) {
  line.clear();
  if (signals != nullptr && signals->StopSoon()) return TLineStatus::Stopped;
#ifndef _WIN32
  if (signals != nullptr && inFd >= 0 && in.rdbuf()->in_avail() <= 0) {
    // Wait for the terminal or the wake pipe, so that a signal between the check above
    // and the wait still ends it.
    for (;;) {
      pollfd fds[2] = {{inFd, POLLIN, 0}, {signals->WakeFd, POLLIN, 0}};
      const int ready = ::poll(fds, signals->WakeFd >= 0 ? 2 : 1, -1);
      if (signals->StopSoon()) return TLineStatus::Stopped;
      if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) break;
      if (ready < 0 && errno != EINTR) break;
    }
  }
#else
  (void)inFd;
#endif
  if (!std::getline(in, line)) {
    if (signals != nullptr && signals->StopSoon()) return TLineStatus::Stopped;
    return TLineStatus::EndOfInput;
  }
  return signals != nullptr && signals->StopSoon() ? TLineStatus::Stopped : TLineStatus::Line;
}

}  // namespace bw::tools
