#include "extract/SourceMapping.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <mutex>
#endif

namespace bw::extract {

#ifdef _WIN32

bool TSourceMapping::Map(int, std::uint64_t, std::size_t) { return false; }
void TSourceMapping::Unmap() {}
std::size_t TSourceMapping::PageBytes() { return 4096; }
bool TSourceMapping::Supported() { return false; }

#else

namespace {

// The windows the bus-error guard may repair; a handful of readers at most are alive.
struct TGuardSlot {
  std::atomic<std::uintptr_t> Start{0};
  std::atomic<std::size_t> Length{0};
  std::atomic<std::atomic<bool>*> Lost{nullptr};
};
constexpr int kGuardSlots = 16;
TGuardSlot gSlots[kGuardSlots];
std::mutex gSlotLock;
struct sigaction gPreviousBusAction;

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (TGuardSlot& slot : gSlots) {
    const std::uintptr_t start = slot.Start.load(std::memory_order_acquire);
    if (start == 0 || address < start || address - start >= slot.Length.load(std::memory_order_acquire)) continue;
    // Zero pages over the lost one: the access is repeated and reads zeros, and the reader
    // sees the mark at its next step.
    const std::uintptr_t page = address & ~(static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)) - 1);
    void* fixed = mmap(reinterpret_cast<void*>(page), static_cast<std::size_t>(sysconf(_SC_PAGESIZE)),
                       PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (fixed != MAP_FAILED) {
      if (std::atomic<bool>* lost = slot.Lost.load(std::memory_order_acquire)) lost->store(true);
      return;
    }
  }
  // Not ours: what would have happened without the guard.
  if ((gPreviousBusAction.sa_flags & SA_SIGINFO) != 0 && gPreviousBusAction.sa_sigaction != nullptr) {
    gPreviousBusAction.sa_sigaction(signal, info, context);
    return;
  }
  if (gPreviousBusAction.sa_handler != SIG_DFL && gPreviousBusAction.sa_handler != SIG_IGN &&
      gPreviousBusAction.sa_handler != nullptr) {
    gPreviousBusAction.sa_handler(signal);
    return;
  }
  ::signal(SIGBUS, SIG_DFL);
}

void InstallGuard() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &gPreviousBusAction);
  });
}

}  // namespace

std::size_t TSourceMapping::PageBytes() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }
bool TSourceMapping::Supported() { return true; }

bool TSourceMapping::Map(int fileDescriptor, std::uint64_t offsetBytes, std::size_t lengthBytes) {
  Unmap();
  if (lengthBytes == 0 || offsetBytes % PageBytes() != 0) return false;
  InstallGuard();
  // Populated at once: faulting the window in page by page costs more than the copy saved.
  void* data = mmap(nullptr, lengthBytes, PROT_READ, MAP_SHARED | MAP_POPULATE, fileDescriptor,
                    static_cast<off_t>(offsetBytes));
  if (data == MAP_FAILED) return false;
  FData = static_cast<std::uint8_t*>(data);
  FOffsetBytes = offsetBytes;
  FLengthBytes = lengthBytes;
  const std::lock_guard<std::mutex> hold(gSlotLock);
  for (int i = 0; i < kGuardSlots; ++i) {
    if (gSlots[i].Start.load() != 0) continue;
    gSlots[i].Lost.store(&FLost);
    gSlots[i].Length.store(lengthBytes);
    gSlots[i].Start.store(reinterpret_cast<std::uintptr_t>(FData), std::memory_order_release);
    FSlot = i;
    return true;
  }
  // No slot: an unguarded mapping could take the process down, so none is used.
  munmap(data, lengthBytes);
  FData = nullptr;
  return false;
}

void TSourceMapping::Unmap() {
  if (FData == nullptr) return;
  if (FSlot >= 0) {
    const std::lock_guard<std::mutex> hold(gSlotLock);
    gSlots[FSlot].Start.store(0, std::memory_order_release);
    gSlots[FSlot].Lost.store(nullptr);
    FSlot = -1;
  }
  munmap(FData, FLengthBytes);
  FData = nullptr;
  FLengthBytes = 0;
}

#endif

}  // namespace bw::extract
