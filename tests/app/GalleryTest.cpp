// The gallery in the program's own classes under the skin engine: every kind of control is
// made, the windows it opens wear the skin, and each leaves a screenshot to look at.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/Gallery.h"
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
  FGallery->NewMdiClick(nullptr);
  TGalleryMdiForm* mdi = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    for (int i = 0; i < win::Screen().FormCount(); ++i)
      if (auto* f = dynamic_cast<TGalleryMdiForm*>(win::Screen().Forms(i))) mdi = f;
    return mdi && mdi->MDIChildCount() == 3;
  }));
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
