// The gallery in the program's own classes under the skin engine: every kind of control is
// made, the windows it opens wear the skin, and each leaves a screenshot to look at.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "app/Gallery.h"
#include "framework/win/GdiHandles.h"
#include "skin/window/LacquerDlg.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/LacquerMenu.h"
#include "tests/support/WinTestSupport.h"

namespace bw::app {
namespace {

using bw::test::PumpUntil;
using bw::test::WaitPainted;

RECT WindowArea(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterGalleryClasses();
    skin::InstallSkinEngine();
    FApp = std::make_unique<win::TApplication>(nullptr);
    FApp->Initialize();
    FApp->CreateForm(FGallery);
    ASSERT_NE(FGallery, nullptr);
    FGallery->Show();
    ASSERT_TRUE(WaitSkinned(FGallery->WindowHandle()));
  }
  void TearDown() override {
    FApp.reset();
    skin::ReleaseSkinEngine();
  }

  static bool WaitSkinned(HWND window) {
    const bool skinned = PumpUntil([&] {
      skin::TLacquerForm* frame = skin::SkinManager ? skin::SkinManager->FindSkinForm(window) : nullptr;
      return frame && frame->FState == skin::kFrameSkinned;
    });
    return skinned && WaitPainted(window);
  }

  // Opens the MDI window from the gallery: the window once it shows its three children.
  TGalleryMdiForm* OpenMdi() {
    FGallery->NewMdiClick(nullptr);
    TGalleryMdiForm* mdi = nullptr;
    const bool open = PumpUntil([&] {
      for (int i = 0; i < win::Screen().FormCount(); ++i)
        if (auto* f = dynamic_cast<TGalleryMdiForm*>(win::Screen().Forms(i))) mdi = f;
      return mdi && mdi->MDIChildCount() == 3;
    });
    return open ? mdi : nullptr;
  }

  std::unique_ptr<win::TApplication> FApp;
  TGalleryForm* FGallery = nullptr;
};

TEST_F(GalleryTest, HoldsEveryControlKindAndWearsTheSkin) {
  // One of each kind the engine takes over, found by class name among the live components.
  const char* kinds[] = {"TToolBar",    "TStatusBar",      "TGroupBox",   "TButton",     "TBitBtn",
                         "TSpeedButton", "TCheckBox",      "TRadioButton", "TRadioGroup", "TPanel",
                         "TGalleryFrame", "TEdit",         "TUpDown",     "TComboBox",   "TListBox",
                         "TDateTimePicker", "TTrackBar",   "TProgressBar", "TScrollBar",  "TTabControl",
                         "TTabSet",     "TPageControl",    "TTabSheet",   "TListView",   "TMemo",
                         "TScrollBox",  "TRichEdit",       "TTreeView",   "TStringGrid", "THeaderControl",
                         "TLabel"};
  for (const char* kind : kinds) {
    int found = 0;
    int windowed = 0;
    for (int i = 0; i < FGallery->ComponentCount(); ++i) {
      core::TComponent* c = FGallery->Components(i);
      if (c->ClassName() != kind) continue;
      ++found;
      if (auto* w = dynamic_cast<win::TWinControl*>(c); w && w->HandleAllocated()) ++windowed;
    }
    EXPECT_GT(found, 0) << kind;
    if (std::string(kind) != "TSpeedButton" && std::string(kind) != "TLabel") {
      EXPECT_GT(windowed, 0) << kind << " has no window";
    }
  }
  // The status bar's first panel answers the menu and buttons.
  FGallery->Say("Ready");
  EXPECT_EQ(FGallery->StatusBar1->Panels()->Items(0).Text(), "Ready");
  // The skinned frame: the client no longer starts at the system's caption height.
  RECT window = WindowArea(FGallery->WindowHandle());
  POINT origin{0, 0};
  ClientToScreen(FGallery->WindowHandle(), &origin);
  EXPECT_EQ(origin.x - window.left, 4);
  EXPECT_GT(origin.y - window.top, 26);  // the caption and the skin's menu bar band
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("gallery.png"), window);
}

TEST_F(GalleryTest, TheMdiWindowOpensThreeSkinnedChildren) {
  TGalleryMdiForm* mdi = OpenMdi();
  ASSERT_NE(mdi, nullptr);
  ASSERT_TRUE(WaitSkinned(mdi->WindowHandle()));
  for (int i = 0; i < mdi->MDIChildCount(); ++i)
    EXPECT_TRUE(WaitSkinned(mdi->MDIChildren(i)->WindowHandle())) << i;
  mdi->NewChildClick(nullptr);
  EXPECT_EQ(mdi->MDIChildCount(), 4);
  mdi->TileClick(nullptr);
  WaitPainted(mdi->WindowHandle());
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("gallery-mdi.png"), WindowArea(mdi->WindowHandle()));
  mdi->CloseClick(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(mdi->WindowHandle()); }));
}

TEST_F(GalleryTest, TheModalDialogIsSkinnedAndAnswers) {
  // The dialog runs its own loop: look at it from a timer, then press OK.
  static bool seen = false;
  static HWND dialogWindow = nullptr;
  seen = false;
  dialogWindow = nullptr;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    for (int i = 0; i < win::Screen().FormCount(); ++i)
      if (auto* dialog = dynamic_cast<TGalleryDialog*>(win::Screen().Forms(i))) {
        HWND window = dialog->WindowHandle();
        skin::TLacquerForm* frame = skin::SkinManager ? skin::SkinManager->FindSkinForm(window) : nullptr;
        if (!frame || frame->FState != skin::kFrameSkinned || !WaitPainted(window, 2000)) return;
        KillTimer(nullptr, id);
        seen = true;
        dialogWindow = window;
        bw::test::SaveScreenPng(bw::test::ScreenshotPath("gallery-dialog.png"), WindowArea(window));
        dialog->OkButton->Click();
        return;
      }
  });
  FGallery->DialogClick(nullptr);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(seen);
  EXPECT_NE(dialogWindow, nullptr);
  EXPECT_EQ(FGallery->StatusBar1->Panels()->Items(0).Text(), "The dialog said OK");
}

// The thread's top-level windows, visible or not: a skin change must leave none behind.
std::set<HWND> ThreadWindows() {
  std::set<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM into) {
        reinterpret_cast<std::set<HWND>*>(into)->insert(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

TEST_F(GalleryTest, ASkinChangeAtRunTimeReachesEveryOpenWindowWithoutLeaks) {
  TGalleryMdiForm* mdi = OpenMdi();
  ASSERT_NE(mdi, nullptr);
  std::vector<HWND> windows{FGallery->WindowHandle(), mdi->WindowHandle()};
  for (int i = 0; i < mdi->MDIChildCount(); ++i) windows.push_back(mdi->MDIChildren(i)->WindowHandle());
  for (HWND w : windows) ASSERT_TRUE(WaitSkinned(w));

  skin::TSkinData& data = *FGallery->SkinData1;
  core::TMemoryStream stored;
  data.SkinStream().SetPosition(0);
  stored.LoadFromStream(data.SkinStream());
  // Every frame has taken the sizes of the skin just loaded, and finished its change.
  auto everyFrameHas = [&](int side, int caption) {
    return PumpUntil([&] {
      for (HWND w : windows) {
        skin::TLacquerForm* frame = skin::SkinManager->FindSkinForm(w);
        if (!frame || frame->FState != skin::kFrameSkinned || frame->FLeftWidth != side || frame->FTopHeight != caption)
          return false;
      }
      return true;
    });
  };
  auto toFrost = [&] {
    data.LoadFromFile(BW_FROST_SKIN);
    return everyFrameHas(6, 28);
  };
  auto toStored = [&] {
    stored.SetPosition(0);
    data.LoadFromStream(stored);
    return everyFrameHas(4, 26);
  };
  const std::set<HWND> before = ThreadWindows();

  ASSERT_TRUE(toFrost());
  EXPECT_EQ(data.SkinName, "Frost");
  for (HWND w : windows) {
    WaitPainted(w);
    RECT r = WindowArea(w);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x - r.left, 6);
    // Opaque borders: no region cuts the corners away.
    win::TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(w, region.Get()) != ERROR) {
      EXPECT_TRUE(PtInRegion(region.Get(), 0, 0));
    }
  }
  RECT gallery = WindowArea(FGallery->WindowHandle());
  EXPECT_EQ(bw::test::WaitForScreenPixel(gallery.left, gallery.top, RGB(0x6F, 0x8B, 0xA8)), RGB(0x6F, 0x8B, 0xA8));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("gallery-frost.png"), gallery);
  mdi->TileClick(nullptr);
  WaitPainted(mdi->WindowHandle());
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("gallery-mdi-frost.png"), WindowArea(mdi->WindowHandle()));

  ASSERT_TRUE(toStored());
  EXPECT_EQ(data.SkinName, "Oxblood");
  win::TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(FGallery->WindowHandle(), region.Get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));  // the rounded corner is cut again

  // A leak of even one object per change would show after several round trips.
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  constexpr int kRoundTrips = 4;
  for (int i = 0; i < kRoundTrips; ++i) {
    ASSERT_TRUE(toFrost()) << i;
    ASSERT_TRUE(toStored()) << i;
  }
  for (HWND w : windows) WaitPainted(w);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + kRoundTrips / 2);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + kRoundTrips / 2);
  EXPECT_EQ(ThreadWindows(), before) << "windows left behind or lost by the changes";
}

// Saves the screen round the menu window that opens next, then closes it.
struct TMenuShot {
  static inline const char* File = nullptr;
  static inline RECT Around{};
  static inline bool Saved = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || !WaitPainted(menu, 1000)) return;
    KillTimer(nullptr, id);
    RECT r;
    GetWindowRect(menu, &r);
    UnionRect(&r, &r, &Around);
    Saved = bw::test::SaveScreenPng(bw::test::ScreenshotPath(File), r);
    EndMenu();
  }
  static bool Take(const char* file, RECT around, const std::function<void()>& open) {
    File = file;
    Around = around;
    Saved = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &Tick);
    open();
    PumpUntil([] { return Saved; }, 3000);
    KillTimer(nullptr, timer);
    return Saved;
  }
};

TEST_F(GalleryTest, MenusOpenSkinnedFromTheBandAndAsContextMenu) {
  HWND window = FGallery->WindowHandle();
  skin::TLacquerForm* frame = skin::SkinManager->FindSkinForm(window);
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->FMenuBar, nullptr);
  ASSERT_GE(frame->FMenuBar->FMenuButtons.size(), 4u);
  RECT shown = WindowArea(window);
  const RECT& file = frame->FMenuBar->FMenuButtons[0]->FRect;
  const POINT at{shown.left + (file.left + file.right) / 2, shown.top + (file.top + file.bottom) / 2};
  RECT corner{shown.left, shown.top, shown.left + 260, shown.top + 80};
  EXPECT_TRUE(TMenuShot::Take("gallery-menu.png", corner, [&] {
    SendMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
  }));
  ASSERT_NE(FGallery->PopupMenu1, nullptr);
  const POINT context{shown.left + 120, shown.top + 520};
  EXPECT_TRUE(TMenuShot::Take("gallery-context-menu.png", RECT{context.x - 10, context.y - 10, context.x, context.y},
                              [&] { FGallery->PopupMenu1->Popup(context.x, context.y); }));
  EXPECT_TRUE(skin::SkinManager->Menus().empty());
}

}  // namespace
}  // namespace bw::app
