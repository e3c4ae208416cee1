#pragma once
// Takes over the procedure of any window (system dialogs, a combo box's edit, MDI clients,
// menu windows). Each owner installs a procedure of its own (a small code thunk bound to
// it), so owners stack like any other subclassing code. Restore puts the replaced procedure
// back when this owner is on top of the window's chain; when another procedure was
// installed above it since, this one stays in the chain and passes every message on (it
// goes with the window), so a chain it is not on top of is never cut.
#include <windows.h>

#include <functional>

namespace bw::win {

struct TSubclassLink;

class TWindowSubclass {
 public:
  // Answers the message; call CallPrevious for the replaced procedure's answer.
  using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  TWindowSubclass() = default;
  ~TWindowSubclass();
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // The window's Unicode state decides the A or W calls. False when already installed,
  // for a window that does not exist, or when the system refuses.
  bool Install(HWND window, THandler handler);
  // Safe to call from inside the handler, on any message, and more than once.
  void Restore();
  bool Installed() const { return FLink != nullptr; }
  HWND Window() const { return FWindow; }
  bool Unicode() const { return FUnicode; }
  // The procedure this owner replaced, with the message as given; still reachable from
  // inside the handler after Restore.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;
  // The procedure now installed for this owner (its thunk); nullptr when not installed.
  WNDPROC Procedure() const;

 private:
  friend LRESULT CALLBACK SubclassProc(TSubclassLink* link, UINT msg, WPARAM wParam, LPARAM lParam);
  TSubclassLink* FLink = nullptr;
  THandler FHandler;
  HWND FWindow = nullptr;
  WNDPROC FOldProc = nullptr;
  bool FUnicode = true;
};

}  // namespace bw::win
