#include "framework/win/Subclass.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace bw::win {

// What a window's chain holds for one owner: it outlives the owner when the owner is
// released beneath another subclass, and then only passes messages on.
struct TSubclassLink {
  HWND Window = nullptr;
  WNDPROC OldProc = nullptr;
  bool Unicode = true;
  TWindowSubclass* Owner = nullptr;  // none: pass-through
  void* Thunk = nullptr;
  int Depth = 0;             // calls of this link in progress
  bool FreePending = false;  // free once the calls in progress return
};

LRESULT CALLBACK SubclassProc(TSubclassLink* link, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

// Executable thunks: `mov rcx, link; mov rax, SubclassProc; jmp rax`. The window handle in
// the first argument is replaced by the link; the link knows its window.
constexpr std::size_t kThunkBytes = 32;
constexpr std::size_t kPageBytes = 4096;

class TThunkPool {
 public:
  void* Make(TSubclassLink* link) {
    std::lock_guard lock(FMutex);
    if (FFree.empty()) {
      auto* page = static_cast<std::uint8_t*>(
          VirtualAlloc(nullptr, kPageBytes, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
      if (!page) return nullptr;
      for (std::size_t at = 0; at + kThunkBytes <= kPageBytes; at += kThunkBytes) FFree.push_back(page + at);
    }
    auto* code = static_cast<std::uint8_t*>(FFree.back());
    FFree.pop_back();
    const auto linkBits = reinterpret_cast<std::uint64_t>(link);
    const auto procBits = reinterpret_cast<std::uint64_t>(&SubclassProc);
    code[0] = 0x48, code[1] = 0xB9;  // mov rcx, imm64
    std::memcpy(code + 2, &linkBits, 8);
    code[10] = 0x48, code[11] = 0xB8;  // mov rax, imm64
    std::memcpy(code + 12, &procBits, 8);
    code[20] = 0xFF, code[21] = 0xE0;  // jmp rax
    FlushInstructionCache(GetCurrentProcess(), code, kThunkBytes);
    return code;
  }
  // The thunk is never returned into (it jumps), so it may go while its procedure runs.
  void Free(void* thunk) {
    if (!thunk) return;
    std::lock_guard lock(FMutex);
    FFree.push_back(thunk);
  }

 private:
  std::mutex FMutex;
  std::vector<void*> FFree;  // pages are kept for the life of the process
};

TThunkPool& Thunks() {
  static TThunkPool pool;
  return pool;
}

WNDPROC CurrentProc(HWND window, bool unicode) {
  return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                           : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

void FreeLink(TSubclassLink* link) {
  Thunks().Free(link->Thunk);
  delete link;
}

LRESULT CallOld(const TSubclassLink& link, UINT msg, WPARAM wParam, LPARAM lParam) {
  return link.Unicode ? CallWindowProcW(link.OldProc, link.Window, msg, wParam, lParam)
                      : CallWindowProcA(link.OldProc, link.Window, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK SubclassProc(TSubclassLink* link, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++link->Depth;
  LRESULT result = 0;
  try {
    if (link->Owner && link->Owner->FHandler) result = link->Owner->FHandler(msg, wParam, lParam);
    else result = CallOld(*link, msg, wParam, lParam);
  } catch (...) {
    // No exception crosses a window procedure; the handler's owner reports its own.
  }
  --link->Depth;
  if (msg == WM_NCDESTROY && !link->Owner) link->FreePending = true;  // an orphan goes with its window
  if (link->FreePending && link->Depth == 0) FreeLink(link);
  return result;
}

TWindowSubclass::~TWindowSubclass() { Restore(); }

bool TWindowSubclass::Install(HWND window, THandler handler) {
  if (FLink || !IsWindow(window)) return false;
  auto* link = new TSubclassLink;
  link->Window = window;
  link->Unicode = IsWindowUnicode(window) != FALSE;
  link->Owner = this;
  link->Thunk = Thunks().Make(link);
  if (!link->Thunk) {
    delete link;
    return false;
  }
  FHandler = std::move(handler);
  FLink = link;
  const auto proc = reinterpret_cast<LONG_PTR>(link->Thunk);
  SetLastError(0);
  const LONG_PTR old = link->Unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                     : SetWindowLongPtrA(window, GWLP_WNDPROC, proc);
  if (old == 0 && GetLastError() != 0) {
    FLink = nullptr;
    FreeLink(link);
    return false;
  }
  link->OldProc = reinterpret_cast<WNDPROC>(old);
  FWindow = window;
  FOldProc = link->OldProc;
  FUnicode = link->Unicode;
  return true;
}

void TWindowSubclass::Restore() {
  TSubclassLink* link = FLink;
  if (!link) return;
  FLink = nullptr;
  link->Owner = nullptr;
  const bool alive = IsWindow(link->Window) != FALSE;
  if (alive && CurrentProc(link->Window, link->Unicode) == reinterpret_cast<WNDPROC>(link->Thunk)) {
    if (link->Unicode) SetWindowLongPtrW(link->Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->OldProc));
    else SetWindowLongPtrA(link->Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->OldProc));
  } else if (alive) {
    return;  // another procedure stands above: stay in the chain as a pass-through
  }
  if (link->Depth > 0) link->FreePending = true;
  else FreeLink(link);
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
  if (!FOldProc) return 0;
  return FUnicode ? CallWindowProcW(FOldProc, FWindow, msg, wParam, lParam)
                  : CallWindowProcA(FOldProc, FWindow, msg, wParam, lParam);
}

WNDPROC TWindowSubclass::Procedure() const {
  return FLink ? reinterpret_cast<WNDPROC>(FLink->Thunk) : nullptr;
}

}  // namespace bw::win
