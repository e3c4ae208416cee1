// Costs of the skinned frame under Wine, each beside a baseline of the same run: window
// creation with the engine's hook against none, a full non-client paint against the system's
// own, a region build, a skin change of ten open windows, and the GDI handles left over after
// many paints and skin changes (counted as the handles the process can still make). Prints;
// asserts nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/skin/window/SkinWindowTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace bw;

template <class F>
double MedianMs(int runs, F&& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double CreateWindowsMs(HWND parent) {
  return MedianMs(1, [&] {
    std::vector<HWND> windows;
    for (int i = 0; i < 1000; ++i)
      windows.push_back(CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    for (HWND w : windows) DestroyWindow(w);
  });
}

LRESULT CALLBACK EmptyHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  skin::test::TSkinnedApp app;
  skin::TLacquerForm* frame = app.ShowSkinned(app.Form());
  if (!frame) {
    std::fprintf(stderr, "the form was not skinned\n");
    return 1;
  }
  // Alternating rounds, the hook taken off and put back, so drift hits both alike.
  std::vector<double> bare, empty, hooked;
  for (int round = 0; round < 9; ++round) {
    UnhookWindowsHookEx(skin::SkinManager->FHook);
    skin::SkinManager->FHook = nullptr;
    bare.push_back(CreateWindowsMs(host));
    HHOOK nothing = SetWindowsHookExW(WH_CBT, &EmptyHook, nullptr, GetCurrentThreadId());
    empty.push_back(CreateWindowsMs(host));
    UnhookWindowsHookEx(nothing);
    skin::SkinManager->InstallHook();
    hooked.push_back(CreateWindowsMs(host));
  }
  const double bareMs = Median(bare), hookedMs = Median(hooked), emptyMs = Median(empty);
  std::printf("1000 child windows: %.2f ms with a hook that only passes on (%+.1f %%)\n", emptyMs,
              100.0 * (emptyMs - bareMs) / bareMs);
  std::printf("1000 child windows: %.2f ms with the engine's hook, %.2f ms without (%+.1f %%)\n", hookedMs, bareMs,
              100.0 * (hookedMs - bareMs) / bareMs);

  HWND h = app.Form().Handle();
  const double skinnedNcMs = MedianMs(200, [&] { frame->UpdateNc(); });
  HWND plain = CreateWindowExW(0, L"STATIC", L"plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 80, 500, 360, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  bw::test::WaitPainted(plain);
  const double systemNcMs = MedianMs(200, [&] { SendMessageW(plain, WM_NCPAINT, 1, 0); });
  std::printf("non-client paint of a %dx%d frame: %.3f ms skinned, %.3f ms the system's\n", frame->FWidth,
              frame->FHeight, skinnedNcMs, systemNcMs);

  const double regionMs = MedianMs(50, [&] {
    frame->FRgnWidth = 0;  // forces a rebuild
    frame->Cropwindow();
  });
  const double rectRegionMs = MedianMs(50, [&] {
    RECT r;
    GetWindowRect(h, &r);
    SetWindowRgn(plain, CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top), TRUE);
  });
  std::printf("window region: %.3f ms from the keyed borders, %.3f ms a plain rectangle\n", regionMs, rectRegionMs);

  std::vector<win::TForm*> forms;
  for (int i = 0; i < 9; ++i) {
    auto* form = win::CreateForm<win::TForm>(&app.App());
    form->SetBounds(40 + 20 * i, 40 + 20 * i, 300, 200);
    form->SetCaption("Window " + std::to_string(i + 2));
    app.ShowSkinned(*form);
    forms.push_back(form);
  }
  skin::TSkinData& data = *app.Form().SkinData1;
  const double changeMs = MedianMs(10, [&] {
    skin::SkinManager->SetActionData(&data);
    skin::SkinManager->FAction = skin::kActionSkinChanged;
    skin::SkinManager->OnTimer();
  });
  const double repaintMs = MedianMs(10, [&] {
    for (win::TForm* form : forms) skin::TLacquerForm::RePaint(form->Handle());
    skin::TLacquerForm::RePaint(h);
  });
  std::printf("skin change of 10 open windows: %.2f ms; repainting them: %.2f ms\n", changeMs, repaintMs);

  const int before = bw::test::GdiHeadroom();
  for (int i = 0; i < 10000; ++i) frame->UpdateNc();
  const int afterPaints = bw::test::GdiHeadroom();
  for (int i = 0; i < 100; ++i) {
    skin::SkinManager->SetActionData(&data);
    skin::SkinManager->FAction = skin::kActionSkinChanged;
    skin::SkinManager->OnTimer();
  }
  const int afterChanges = bw::test::GdiHeadroom();
  std::printf("GDI handles left behind: %d after 10,000 frame paints, %d after 100 skin changes (headroom %d)\n",
              before - afterPaints, afterPaints - afterChanges, before);
  DestroyWindow(plain);
  DestroyWindow(host);
  return 0;
}
