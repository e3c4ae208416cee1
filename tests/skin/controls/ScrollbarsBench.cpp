// The cost of one thumb-drag step of a 10,000-line memo under Wine, skinned (the press on
// the cover window, the cover repainted at each step) beside the same drag with the skin
// off (the press on the system's bar), in one run. A step: one mouse move handed to the
// system's tracking loop, the memo scrolled and repainted. Prints; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/win/EditCtrls.h"
#include "skin/controls/Scrollbars.h"
#include "tests/skin/controls/GalleryPainters.h"
#include "tests/support/WinTestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace bw;

constexpr int kLines = 10000;
constexpr int kSteps = 150;
constexpr UINT kNextStep = WM_APP + 0x51;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// One drag in progress. The tracking loop passes every message it takes through the
// message filter: a step's move is posted when the previous step's repaint of the memo is
// under way, so each step is timed from one marker to the next without idle time.
struct TDrag {
  HWND Memo = nullptr;
  POINT Start{};  // memo client coordinates of the press
  int Done = 0;
  bool Released = false;
  Clock::time_point Last;
  std::vector<double> StepMs;
};
TDrag* gDrag = nullptr;
HHOOK gFilter = nullptr;

void PostNextStep(TDrag& drag) { PostMessageW(drag.Memo, kNextStep, 0, 0); }

LRESULT CALLBACK DragFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_SCROLLBAR && gDrag) {
    TDrag& drag = *gDrag;
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    if (msg.message == kNextStep && msg.hwnd == drag.Memo) {
      const auto now = Clock::now();
      if (drag.Done > 0) drag.StepMs.push_back(std::chrono::duration<double, std::milli>(now - drag.Last).count());
      drag.Last = now;
      const POINT at{drag.Start.x, drag.Start.y + drag.Done + 1};
      if (drag.Done < kSteps) {
        ++drag.Done;
        PostMessageW(drag.Memo, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      } else if (!drag.Released) {
        drag.Released = true;
        PostMessageW(drag.Memo, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      }
      return 1;
    }
    if (msg.message == WM_PAINT && msg.hwnd == drag.Memo) PostNextStep(drag);
    // A move that scrolled nothing leaves nothing to repaint: the timer goes on.
    if (msg.message == WM_TIMER && msg.hwnd == drag.Memo && msg.wParam == kNextStep) PostNextStep(drag);
  }
  return CallNextHookEx(gFilter, code, wParam, lParam);
}

// Drags the thumb from its top down by kSteps pixels; the press goes to `pressWindow`.
std::vector<double> Drag(HWND memo, HWND pressWindow, UINT pressMsg, WPARAM pressW, POINT pressAt) {
  SendMessageW(memo, WM_VSCROLL, SB_TOP, 0);
  test::WaitPainted(GetAncestor(memo, GA_ROOT));
  TDrag drag;
  drag.Memo = memo;
  POINT screen = pressAt;
  if (pressMsg == WM_LBUTTONDOWN) ClientToScreen(pressWindow, &screen);
  drag.Start = screen;
  ScreenToClient(memo, &drag.Start);
  gDrag = &drag;
  gFilter = SetWindowsHookExW(WH_MSGFILTER, &DragFilter, nullptr, GetCurrentThreadId());
  SetTimer(memo, kNextStep, 50, nullptr);
  PostNextStep(drag);  // taken by the tracking loop once it runs
  PostMessageW(pressWindow, pressMsg, pressW, MAKELPARAM(pressAt.x, pressAt.y));
  test::PumpUntil([&] { return drag.Released && GetCapture() == nullptr; }, 60000);
  KillTimer(memo, kNextStep);
  UnhookWindowsHookEx(gFilter);
  gDrag = nullptr;
  return drag.StepMs;
}

SCROLLBARINFO VertInfo(HWND memo) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(memo, OBJID_VSCROLL, &info);
  return info;
}

void MemoThumbDrag() {
  skin::test::TGalleryApp app;
  skin::TLacquerForm* frame = app.Show();
  if (!frame) {
    std::fprintf(stderr, "the gallery was not skinned\n");
    return;
  }
  app.ShowPage(1);
  auto& memo = app.Control<win::TMemo>("Memo1");
  std::string text;
  for (int i = 1; i <= kLines; ++i) text += "Line " + std::to_string(i) + " of a long memo, dragged by its thumb.\r\n";
  SetWindowTextA(memo.Handle(), text.c_str());
  HWND h = memo.Handle();
  std::vector<double> skinned, plain;
  int skinnedSteps = 0, plainSteps = 0;
  for (int round = 0; round < 3; ++round) {
    auto* painter = dynamic_cast<skin::TSkinScrollbar*>([&]() -> skin::TSkinControl* {
      for (skin::TSkinControl* p : app.Frame()->FControls)
        if (p->FHandle == h) return p;
      return nullptr;
    }());
    if (!painter || !painter->FVertBar || !painter->FVertBar->FShown) {
      std::fprintf(stderr, "the memo's bar is not covered\n");
      return;
    }
    SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
    SCROLLBARINFO info = VertInfo(h);
    HWND cover = painter->FVertBar->WindowHandle();
    RECT coverRect;
    GetClientRect(cover, &coverRect);
    std::vector<double> s = Drag(h, cover, WM_LBUTTONDOWN, MK_LBUTTON,
                                 POINT{coverRect.right / 2, (info.xyThumbTop + info.xyThumbBottom) / 2});
    skinnedSteps += static_cast<int>(s.size());
    skinned.insert(skinned.end(), s.begin(), s.end());

    app.Data().SetActive(false);
    test::PumpUntil([&] { return app.Frame() == nullptr; });
    test::WaitPainted(app.Form().WindowHandle());
    SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
    info = VertInfo(h);
    const POINT thumb{(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
                      info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    std::vector<double> p = Drag(h, h, WM_NCLBUTTONDOWN, HTVSCROLL, thumb);
    plainSteps += static_cast<int>(p.size());
    plain.insert(plain.end(), p.begin(), p.end());

    app.Data().SetActive(true);
    test::PumpUntil([&] { return app.Frame() != nullptr && !app.Frame()->FControls.empty(); });
    test::WaitPainted(app.Form().WindowHandle());
  }
  const int first = static_cast<int>(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0));
  std::printf("memo of %d lines, one thumb-drag step (median; steps timed: skinned %d, skin off %d):\n", kLines,
              skinnedSteps, plainSteps);
  std::printf("  skin off (baseline): %8.3f ms\n", Median(plain));
  std::printf("  skinned:             %8.3f ms  (%.2f x)\n", Median(skinned),
              Median(plain) > 0 ? Median(skinned) / Median(plain) : 0.0);
  std::printf("  (first visible line after the last drag: %d)\n", first);
}

}  // namespace

int main() {
  test::StartWatchdog(300);
  MemoThumbDrag();
  return 0;
}
