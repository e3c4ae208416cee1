// The skinned menu bar and popup menus on real windows: the band and its buttons, dropping
// submenus, sliding from item to item, accelerators, owner-drawn items over the skinned
// background, the popup's border, and the skinned system menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/win/Menus.h"
#include "framework/win/Text.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/LacquerPopMenu.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/window/SkinWindowTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

LPARAM ScreenParam(POINT p) { return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)); }

POINT ScreenOf(HWND h, POINT p) {
  RECT window;
  GetWindowRect(h, &window);
  return POINT{window.left + p.x, window.top + p.y};
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

HWND OpenMenuWindow() {
  HWND found = nullptr;
  for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr))
    if (IsWindowVisible(w)) found = w;
  return found;
}

// Steps run from a timer inside the modal menu loops: one step per menu window that opens.
class TMenuScript {
 public:
  using TStep = std::function<void(HWND menu)>;
  explicit TMenuScript(std::vector<TStep> steps) : FSteps(std::move(steps)) {
    Current = this;
    FTimer = SetTimer(nullptr, 0, 40, &TMenuScript::Tick);
  }
  ~TMenuScript() {
    KillTimer(nullptr, FTimer);
    Current = nullptr;
  }
  size_t Done() const { return FDone; }
  std::vector<HWND> Seen;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuScript* self = Current;
    if (!self || self->FDone >= self->FSteps.size()) return;
    HWND menu = OpenMenuWindow();
    if (!menu || (!self->Seen.empty() && self->Seen.back() == menu && self->FWaitNew)) return;
    self->Seen.push_back(menu);
    self->FWaitNew = true;
    self->FSteps[self->FDone++](menu);
  }
  static inline TMenuScript* Current = nullptr;
  std::vector<TStep> FSteps;
  size_t FDone = 0;
  bool FWaitNew = false;
  UINT_PTR FTimer = 0;
};

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::TCustomForm& form = FApp.Form();
    FMenu = new win::TMainMenu(&form);
    FFile = AddItem(FMenu->Items(), "&File");
    FOpen = AddItem(FFile, "&Open...");
    FOpen->SetShortCut(win::TextToShortCut("Ctrl+O"));
    AddItem(FFile, "-");
    FSave = AddItem(FFile, "&Save");
    AddItem(FFile, "-");
    AddItem(FFile, "-");
    FExit = AddItem(FFile, "E&xit");
    AddItem(FFile, "-");
    FView = AddItem(FMenu->Items(), "&View");
    FGrid = AddItem(FView, "&Grid");
    FGrid->SetChecked(true);
    FLocked = AddItem(FMenu->Items(), "&Locked");
    FLocked->SetEnabled(false);
    AddItem(FLocked, "Never seen");
    form.SetMenu(FMenu);
    FFrame = FApp.ShowSkinned(form);
    ASSERT_NE(FFrame, nullptr);
    ASSERT_NE(FFrame->FMenuBar, nullptr);
    FFrame->UpdateNc();
  }
  win::TMenuItem* AddItem(win::TMenuItem* parent, const char* caption) {
    auto* item = new win::TMenuItem(&FApp.Form());
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  TMenuBtn& Button(int index) { return *FFrame->FMenuBar->FMenuButtons.at(static_cast<size_t>(index)); }
  HWND Handle() { return FApp.Form().Handle(); }

  TSkinnedApp FApp;
  TLacquerForm* FFrame = nullptr;
  win::TMainMenu* FMenu = nullptr;
  win::TMenuItem *FFile = nullptr, *FOpen = nullptr, *FSave = nullptr, *FExit = nullptr;
  win::TMenuItem *FView = nullptr, *FGrid = nullptr, *FLocked = nullptr;
};

TEST_F(MenuBarTest, TheBandReplacesTheSystemsMenuBar) {
  EXPECT_EQ(GetMenu(Handle()), nullptr);
  EXPECT_EQ(FFrame->FMenuHeight, GetSystemMetrics(SM_CYMENU));
  ASSERT_EQ(FFrame->FMenuBar->FMenuButtons.size(), 3u);
  EXPECT_EQ(Button(0).FCaption, L"&File");
  EXPECT_EQ(Button(0).FItem, FFile);
  EXPECT_EQ(Button(0).FSubMenu, FFile->Handle());
  EXPECT_FALSE(Button(2).FEnabled);
  // Buttons lie side by side in the band, each as wide as its caption and some.
  EXPECT_GE(Button(0).FRect.top, FFrame->FTopHeight);
  EXPECT_EQ(Button(1).FRect.left, Button(0).FRect.right);
  EXPECT_GT(Button(0).FRect.right - Button(0).FRect.left, 10);
  // The band's hit test is the menu.
  const POINT at = ScreenOf(Handle(), Centre(Button(1).FRect));
  EXPECT_EQ(SendMessageW(Handle(), WM_NCHITTEST, 0, ScreenParam(at)), HTMENU);
  // A caption change shows in the band.
  FView->SetCaption("&Look");
  EXPECT_EQ(Button(1).FCaption, L"&Look");
  bw::test::WaitPainted(Handle());
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("menubar.png"), ScreenRectOf(Handle(), 6));
}

TEST_F(MenuBarTest, HoverOutlinesTheButtonAndLeavingRestoresTheBand) {
  TMenuBtn& view = Button(1);
  const POINT at = ScreenOf(Handle(), Centre(view.FRect));
  const POINT edge = ScreenOf(Handle(), POINT{view.FRect.left, Centre(view.FRect).y});
  const COLORREF outline = win::ColorToRGB(FApp.Form().SkinData1->Colors[TShemeColor::csButtonHilight]);
  const COLORREF plain = bw::test::ScreenPixel(edge.x, edge.y);
  ASSERT_NE(plain, outline);
  SendMessageW(Handle(), WM_NCMOUSEMOVE, HTMENU, ScreenParam(at));
  EXPECT_EQ(FFrame->FHot, &view);
  EXPECT_EQ(bw::test::WaitForScreenPixel(edge.x, edge.y, outline), outline);
  const POINT caption = ScreenOf(Handle(), POINT{80, 10});
  SendMessageW(Handle(), WM_NCMOUSEMOVE, HTCAPTION, ScreenParam(caption));
  EXPECT_EQ(FFrame->FHot, nullptr);
  EXPECT_EQ(bw::test::WaitForScreenPixel(edge.x, edge.y, plain), plain);
}

TEST_F(MenuBarTest, APressDropsTheSubmenuSkinnedAndTidied) {
  int opened = 0;
  bool wrapped = false;
  int menuItems = 0;
  FFile->OnClick = [&](core::TObject*) { ++opened; };
  {
    TMenuScript script({[&](HWND menu) {
      wrapped = SendMessageW(menu, SKIN_MSG_QUERY, 0, 0) == 1 && SkinManager->FindSkinMenu(menu);
      menuItems = GetMenuItemCount(FFile->Handle());


      bw::test::WaitPainted(menu, 1000);
      RECT r;
      GetWindowRect(menu, &r);
      RECT shot{r.left - 40, r.top - 40, r.right + 10, r.bottom + 10};
      bw::test::SaveScreenPng(bw::test::ScreenshotPath("menubar-dropped.png"), shot);
      EndMenu();
    }});
    const POINT at = ScreenOf(Handle(), Centre(Button(0).FRect));
    SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenParam(at));
    EXPECT_EQ(script.Done(), 1u);
  }
  EXPECT_TRUE(wrapped);
  EXPECT_FALSE(DropLoopRunning());
  EXPECT_FALSE(FFrame->FInMenuLoop);
  // Open, one separator, Save, one separator, Exit: the doubled and the trailing ones hidden.
  EXPECT_EQ(menuItems, 5);
  bw::test::PumpMessages(20);
  EXPECT_EQ(opened, 1);  // the top-level item's click ran
  // A disabled top-level item drops nothing.
  const POINT locked = ScreenOf(Handle(), Centre(Button(2).FRect));
  TMenuScript none({[&](HWND) { EndMenu(); }});
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenParam(locked));
  EXPECT_EQ(none.Done(), 0u);
}

TEST_F(MenuBarTest, ArrowKeysAndTheMouseSlideFromItemToItem) {
  std::vector<HMENU> dropped;
  auto note = [&] { dropped.push_back(FFrame->FOpenSubmenu); };
  {
    TMenuScript script({[&](HWND menu) {
                          note();
                          PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);  // no submenu selected: the next item
                        },
                        [&](HWND) {
                          note();
                          // The mouse onto File while View is down.
                          const POINT at = ScreenOf(Handle(), Centre(Button(0).FRect));
                          SetCursorPos(at.x, at.y);
                          PostMessageW(OpenMenuWindow(), WM_MOUSEMOVE, 0, 0);
                        },
                        [&](HWND menu) {
                          note();
                          PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                          EndMenu();
                        }});
    const POINT at = ScreenOf(Handle(), Centre(Button(0).FRect));
    SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenParam(at));
    EXPECT_EQ(script.Done(), 3u);
  }
  EXPECT_EQ(dropped, (std::vector<HMENU>{FFile->Handle(), FView->Handle(), FFile->Handle()}));
  EXPECT_FALSE(DropLoopRunning());
}

TEST_F(MenuBarTest, AltWithAnAcceleratorDropsItsItem) {
  std::vector<HMENU> dropped;
  {
    TMenuScript script({[&](HWND) {
      dropped.push_back(FFrame->FOpenSubmenu);
      EndMenu();
    }});
    // As the message loop sends it for Alt+V: the form's dialog characters.
    FApp.Form().Perform(win::CM_DIALOGCHAR, 'v', 1 << 29);
    bw::test::PumpUntil([&] { return script.Done() == 1; }, 3000);
  }
  EXPECT_EQ(dropped, std::vector<HMENU>{FView->Handle()});
  EXPECT_EQ(FApp.Form().Perform(win::CM_DIALOGCHAR, 'q', 1 << 29), 0);  // no item has it
}

TEST_F(MenuBarTest, SubmenuItemsAreMeasuredAndDrawnFromTheSkin) {
  TDataSkinObject& item = *FApp.Form().SkinData1->MenuItem;
  // Measured as the framework measures them, then wider by the skin's margin and the glyph room.
  win::TWindowDC screen(nullptr);
  win::TCanvas canvas;
  canvas.SetHandle(screen.Get());
  canvas.Font().Assign(*win::Screen().MenuFont());
  int plainW = 0, plainH = 0, skinW = 0, skinH = 0;
  FOpen->DefaultMeasureItem(canvas, plainW, plainH);
  FFrame->MeasureItem(*FOpen, canvas, skinW, skinH);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(skinW, plainW + item.Margins.left + 10 + 25);
  EXPECT_EQ(skinH, plainH);
  // Selected: frame 4 of the item bitmap. Not selected: frame 1, keyed all over in this skin,
  // so the menu's background shows. At the frame's own size the nine-slice copies it as it is.
  const int fw = item.Bitmap.Width() / 5, fh = item.Bitmap.Height();
  HDC skin = item.Bitmap.Canvas().Handle();
  const int x = fw / 2, y = fh / 2;
  ASSERT_NE(GetPixel(skin, 3 * fw + x, y), RGB(255, 0, 255));
  TBitmap target(fw, fh, win::TPixelFormat::pf24bit);
  FFrame->DrawMenuItem(*FOpen, target.Canvas(), RECT{0, 0, fw, fh}, true);
  EXPECT_EQ(GetPixel(target.Canvas().Handle(), x, y), GetPixel(skin, 3 * fw + x, y));
  FFrame->DrawMenuItem(*FOpen, target.Canvas(), RECT{0, 0, fw, fh}, false);
  EXPECT_EQ(GetPixel(target.Canvas().Handle(), x, y),
            win::ColorToRGB(FApp.Form().SkinData1->Colors[TShemeColor::csMenubg]));
}

TEST_F(MenuBarTest, PopupBordersComeFromTheMenuBackground) {
  TDataSkinObject& back = *FApp.Form().SkinData1->MenuBackground;
  const COLORREF corner = GetPixel(back.Bitmap.Canvas().Handle(), 1, 1);
  COLORREF seen = CLR_INVALID;
  {
    TMenuScript script({[&](HWND menu) {
      RECT r;
      GetWindowRect(menu, &r);
      seen = bw::test::WaitForScreenPixel(r.left + 1, r.top + 1, corner);
      EndMenu();
    }});
    const POINT at = ScreenOf(Handle(), Centre(Button(1).FRect));
    SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenParam(at));
  }
  EXPECT_EQ(seen, corner);
  EXPECT_TRUE(SkinManager->Menus().empty());  // the painter went with its window
  EXPECT_EQ(SkinManager->FMenuKind, 0);
}

TEST_F(MenuBarTest, TheSkinnedSystemMenuOpensOnTheCaptionAndCloses) {
  std::vector<std::wstring> captions;
  {
    TMenuScript script({[&](HWND) {
      for (int i = 0; i < FFrame->FSysMenu->Items()->Count(); ++i)
        captions.push_back(win::Widen(FFrame->FSysMenu->Items()->Items(i)->Caption()));
      EndMenu();
    }});
    const POINT at = ScreenOf(Handle(), POINT{60, 12});
    SendMessageW(Handle(), WM_NCRBUTTONDOWN, HTCAPTION, ScreenParam(at));
    EXPECT_EQ(script.Done(), 1u);
  }
  EXPECT_EQ(captions, (std::vector<std::wstring>{L" Restore ", L" Maximize ", L" Minimize ", L"-", L" Close "}));
  EXPECT_EQ(FFrame->FSysMenu->Tag(), kSysMenuTag);
  // Its Close item closes the window.
  bool closed = false;
  FApp.Form().OnClose = [&](core::TObject*, win::TCloseAction& action) {
    closed = true;
    action = win::TCloseAction::caNone;
  };
  win::TMenuItem* close = FFrame->FSysMenu->Items()->Items(FFrame->FSysMenu->Items()->Count() - 1);
  close->Click();
  EXPECT_TRUE(bw::test::PumpUntil([&] { return closed; }));
}

}  // namespace
}  // namespace bw::skin::test
