// Costs of the control painters under Wine, each beside a baseline of the same run: one
// full repaint of the program's main window skinned and with the skin off; discovering and
// skinning the controls of the gallery and of a form of about forty controls against the
// same walk with every painter switched off; a hover repaint of a skinned button against
// the system's repaint of a plain one; hover moves over every control of the gallery,
// skinned and with every painter switched off, with the GDI objects left after them.
// Prints; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/Gallery.h"
#include "app/QuorbelFP.h"
#include "tests/skin/controls/PaintersTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace bw;

template <class F>
double Ms(F&& run) {
  const auto start = Clock::now();
  run();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void FullRepaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool WaitSkinned(HWND window, bool skinned) {
  return test::PumpUntil([&] {
    skin::TLacquerForm* frame = skin::SkinManager ? skin::SkinManager->FindSkinForm(window) : nullptr;
    return skinned ? frame && frame->FState == skin::kFrameSkinned && !frame->FControls.empty() : frame == nullptr;
  });
}

// Rows of the controls the painters here serve, placed below the form's own.
void AddControls(skin::test::TPaintersForm& form, int rows) {
  for (int row = 0; row < rows; ++row) {
    const int top = 180 + row * 30;
    auto* button = new win::TButton(&form);
    button->SetParent(&form);
    button->SetBounds(16, top, 70, 26);
    button->SetCaption("Button");
    auto* bit = new win::TBitBtn(&form);
    bit->SetParent(&form);
    bit->SetBounds(90, top, 70, 26);
    bit->SetCaption("Bit");
    auto* bar = new win::TProgressBar(&form);
    bar->SetParent(&form);
    bar->SetBounds(164, top, 100, 20);
    bar->SetPosition(30 + row * 10);
    auto* panel = new win::TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(270, top, 120, 28);
    auto* inner = new win::TButton(&form);
    inner->SetParent(panel);
    inner->SetBounds(2, 2, 60, 22);
    auto* label = new win::TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(400, top, 60, 16);
    label->SetCaption("Label");
  }
}

void MainWindow() {
  app::RegisterMainFormClasses();
  skin::InstallSkinEngine();
  {
    win::TApplication application(nullptr);
    application.Initialize();
    application.CreateForm(app::Form1);
    app::Form1->Show();
    HWND main = app::Form1->Handle();
    if (!WaitSkinned(main, true)) {
      std::fprintf(stderr, "the main window was not skinned\n");
      return;
    }
    test::WaitPainted(main);
    std::vector<double> skinned, plain;
    // The painted controls one by one, and the form without its children (its frame).
    std::vector<double> partSkinned[4], partPlain[4];
    auto parts = [&](std::vector<double>* into) {
      HWND ws[] = {app::Form1->BitBtn1->Handle(), app::Form1->ProgressBar1->Handle(), app::Form1->Panel1->Handle()};
      for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 20; ++i) into[k].push_back(Ms([&] { FullRepaint(ws[k]); }));
      for (int i = 0; i < 20; ++i)
        into[3].push_back(Ms([&] {
          RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN);
        }));
    };
    for (int round = 0; round < 3; ++round) {
      for (int i = 0; i < 40; ++i) skinned.push_back(Ms([&] { FullRepaint(main); }));
      parts(partSkinned);
      app::Form1->SkinData1->SetActive(false);
      WaitSkinned(main, false);
      test::WaitPainted(main);
      for (int i = 0; i < 40; ++i) plain.push_back(Ms([&] { FullRepaint(main); }));
      parts(partPlain);
      app::Form1->SkinData1->SetActive(true);
      WaitSkinned(main, true);
      test::WaitPainted(main);
    }
    std::printf("main window, one full repaint (median of %zu):\n", skinned.size());
    std::printf("  skin off (baseline): %8.3f ms\n", Median(plain));
    std::printf("  skinned:             %8.3f ms  (%.2f x)\n", Median(skinned), Median(skinned) / Median(plain));
    const char* names[] = {"Load bit button", "progress bar", "preview panel and picture", "window without children"};
    for (int k = 0; k < 4; ++k)
      std::printf("  %-27s skin off %7.3f ms, skinned %7.3f ms\n", names[k], Median(partPlain[k]),
                  Median(partSkinned[k]));
  }
  skin::ReleaseSkinEngine();
}

void Discovery() {
  skin::test::TPaintersApp app;
  AddControls(app.Form(), 6);
  skin::TLacquerForm* frame = app.Show();
  if (!frame) {
    std::fprintf(stderr, "the form was not skinned\n");
    return;
  }
  const size_t painters = frame->FControls.size();
  skin::TSkinData& data = app.Data();
  const skin::TSkinControlTypes all = data.SkinControls();
  std::vector<double> full, walk, repaint;
  for (int round = 0; round < 15; ++round) {
    frame->DeleteControls();
    test::PumpMessages(10);
    full.push_back(Ms([&] { frame->InitControls(app.Form()); }));
    test::WaitPainted(app.Form().Handle());
    repaint.push_back(Ms([&] { FullRepaint(app.Form().Handle()); }));
    frame->DeleteControls();
    data.SetSkinControls({});
    test::PumpMessages(10);
    walk.push_back(Ms([&] { frame->InitControls(app.Form()); }));
    data.SetSkinControls(all);
  }
  frame->DeleteControls();
  frame->InitControls(app.Form());
  // The walk alone asks every control whether it is skinned; unskinned controls answer
  // through the system's procedures, so the walk is no cheaper than the discovery.
  std::printf("discovery over %d controls, %zu painters (median of %zu):\n", app.Form().ComponentCount() - 1,
              painters, full.size());
  std::printf("  one full repaint of the form, skinned (baseline): %8.3f ms\n", Median(repaint));
  std::printf("  the walk, every painter switched off (baseline):  %8.3f ms\n", Median(walk));
  std::printf("  discover and skin:                                %8.3f ms\n", Median(full));

  // A hover repaint: the skinned button's state changes, the plain button is invalidated.
  win::TButton& hot = *app.Form().Button1;
  HWND plain = app.Form().Button4->Handle();
  std::vector<double> skinned, system;
  for (int round = 0; round < 20; ++round) {
    skinned.push_back(Ms([&] {
                        for (int i = 0; i < 50; ++i) {
                          hot.Perform(win::CM_MOUSEENTER);
                          hot.Perform(win::CM_MOUSELEAVE);
                        }
                      }) / 100.0);
    system.push_back(Ms([&] {
                       for (int i = 0; i < 100; ++i) {
                         InvalidateRect(plain, nullptr, TRUE);
                         UpdateWindow(plain);
                       }
                     }) / 100.0);
  }
  std::printf("one button repaint (median of %zu rounds of 100):\n", skinned.size());
  std::printf("  system button (baseline): %8.4f ms\n", Median(system));
  std::printf("  skinned hover repaint:    %8.4f ms  (%.2f x)\n", Median(skinned), Median(skinned) / Median(system));
}

// Runs `measure` on the gallery once it is shown, skinned and painted.
template <class F>
void OnSkinnedGallery(F&& measure) {
  app::RegisterGalleryClasses();
  skin::InstallSkinEngine();
  {
    win::TApplication application(nullptr);
    application.Initialize();
    app::TGalleryForm* gallery = nullptr;
    application.CreateForm(gallery);
    gallery->Show();
    HWND window = gallery->Handle();
    if (WaitSkinned(window, true)) {
      test::WaitPainted(window);
      measure(gallery, window, skin::SkinManager->FindSkinForm(window));
    } else {
      std::fprintf(stderr, "the gallery was not skinned\n");
    }
  }
  skin::ReleaseSkinEngine();
}

// The gallery: every control kind of the program's windows, skinned as the program does.
void GalleryDiscovery() {
  OnSkinnedGallery([](app::TGalleryForm* gallery, HWND window, skin::TLacquerForm* frame) {
    skin::TSkinData& data = *gallery->SkinData1;
    const skin::TSkinControlTypes all = data.SkinControls();
    const size_t painters = frame->FControls.size();
    std::vector<double> full, walk, repaint, plainRepaint;
    for (int round = 0; round < 15; ++round) {
      frame->DeleteControls();
      test::PumpMessages(10);
      full.push_back(Ms([&] { frame->InitControls(*gallery); }));
      test::WaitPainted(window);
      repaint.push_back(Ms([&] { FullRepaint(window); }));
      frame->DeleteControls();
      data.SetSkinControls({});
      test::PumpMessages(10);
      walk.push_back(Ms([&] { frame->InitControls(*gallery); }));
      test::WaitPainted(window);
      plainRepaint.push_back(Ms([&] { FullRepaint(window); }));
      data.SetSkinControls(all);
    }
    frame->DeleteControls();
    frame->InitControls(*gallery);
    std::printf("gallery: %d components, %zu painters (median of %zu):\n", gallery->ComponentCount(), painters,
                full.size());
    std::printf("  the walk, every painter switched off (baseline): %8.3f ms\n", Median(walk));
    std::printf("  discover and skin the gallery's controls:        %8.3f ms\n", Median(full));
    std::printf("  one full repaint, controls unskinned (baseline): %8.3f ms\n", Median(plainRepaint));
    std::printf("  one full repaint, controls skinned:              %8.3f ms  (%.2f x)\n", Median(repaint),
                Median(repaint) / Median(plainRepaint));
  });
}

// The mouse moving over every windowed control of the gallery in turn: each move enters
// one control and leaves the one before.
double HoverMoves(const std::vector<HWND>& windows, int moves) {
  return Ms([&] {
    for (int i = 0; i < moves; ++i) {
      HWND w = windows[static_cast<size_t>(i) % windows.size()];
      HWND before = windows[static_cast<size_t>(i + windows.size() - 1) % windows.size()];
      SendMessageW(before, win::CM_MOUSELEAVE, 0, 0);
      RECT r;
      GetClientRect(w, &r);
      SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
      SendMessageW(w, win::CM_MOUSEENTER, 0, 0);
      if (i % 200 == 0) test::PumpMessages(1);
    }
  });
}

void GalleryHover() {
  OnSkinnedGallery([](app::TGalleryForm* gallery, HWND window, skin::TLacquerForm* frame) {
    constexpr int kMoves = 10000;
    std::vector<HWND> windows;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM into) {
          if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(into)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    skin::TSkinData& data = *gallery->SkinData1;
    const skin::TSkinControlTypes all = data.SkinControls();
    HoverMoves(windows, 200);  // the composed images made once
    const int roomSkinned = test::GdiHeadroom();
    const double skinned = HoverMoves(windows, kMoves);
    const int roomSkinnedAfter = test::GdiHeadroom();
    frame->DeleteControls();
    data.SetSkinControls({});
    frame->InitControls(*gallery);
    test::WaitPainted(window);
    HoverMoves(windows, 200);
    const int roomPlain = test::GdiHeadroom();
    const double plain = HoverMoves(windows, kMoves);
    const int roomPlainAfter = test::GdiHeadroom();
    data.SetSkinControls(all);
    std::printf("gallery, %d hover moves over %zu windows:\n", kMoves, windows.size());
    std::printf("  every painter switched off (baseline): %8.4f ms a move, GDI headroom %d -> %d\n",
                plain / kMoves, roomPlain, roomPlainAfter);
    std::printf("  skinned:                               %8.4f ms a move, GDI headroom %d -> %d\n",
                skinned / kMoves, roomSkinned, roomSkinnedAfter);
  });
}

}  // namespace

int main() {
  test::StartWatchdog(300);
  MainWindow();
  GalleryDiscovery();
  GalleryHover();
  Discovery();
  return 0;
}
