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
  COLORREF seen = CLR_INVALID, itemSeen = CLR_INVALID, itemWanted = RGB(1, 2, 3);
  {
    TMenuScript script({[&](HWND menu) {
      RECT r;
      GetWindowRect(menu, &r);
      seen = bw::test::WaitForScreenPixel(r.left + 1, r.top + 1, corner);
      // The first item lies where the border ends, over the background from (3, 3) on;
      // its frame 1 is keyed all over in this skin, so the background shows through.
      TLacquerPopMenu* painter = nullptr;
      for (TLacquerPopMenu* m : SkinManager->Menus())
        if (m->FHandle == menu) painter = m;
      if (painter && painter->FMenuBackground) {
        itemSeen = bw::test::ScreenPixel(r.left + 4, r.top + 4);
        itemWanted = GetPixel(painter->FMenuBackground->Canvas().Handle(), 4, 4);
      }
      EndMenu();
    }});
    const POINT at = ScreenOf(Handle(), Centre(Button(1).FRect));
    SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenParam(at));
  }
  EXPECT_EQ(seen, corner);
  EXPECT_EQ(itemSeen, itemWanted);
  EXPECT_NE(itemSeen, static_cast<COLORREF>(GetSysColor(COLOR_MENU)));
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

// Pixels of one item drawn alone at the size of a frame of the item bitmap.
class TItemPicture {
 public:
  TItemPicture(TLacquerForm& frame, win::TMenuItem& item, int w, int h, bool selected = false) : FBitmap(w, h, win::TPixelFormat::pf24bit) {
    frame.DrawMenuItem(item, FBitmap.Canvas(), RECT{0, 0, w, h}, selected);
  }
  COLORREF At(int x, int y) { return GetPixel(FBitmap.Canvas().Handle(), x, y); }
  int Count(COLORREF colour, RECT area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
    return n;
  }

 private:
  TBitmap FBitmap;
};

TEST_F(MenuBarTest, ItemsDrawChecksSeparatorsAndDisabledTextInTheSkinsColours) {
  TSkinData& data = *FApp.Form().SkinData1;
  TDataSkinObject& object = *data.MenuItem;
  const int fw = object.Bitmap.Width() / 5, fh = object.Bitmap.Height();
  HDC skin = object.Bitmap.Canvas().Handle();
  // A separator is 8 px high and shows the bottom rows of frame 2 where they are not keyed.
  win::TMenuItem* line = FFile->Items(1);
  ASSERT_TRUE(line->IsLine());
  {
    win::TWindowDC screen(nullptr);
    win::TCanvas canvas;
    canvas.SetHandle(screen.Get());
    int w = 0, h = 0;
    FFrame->MeasureItem(*line, canvas, w, h);
    canvas.SetHandle(nullptr);
    EXPECT_EQ(h, 8);
  }
  TItemPicture separator(*FFrame, *line, fw, 8);
  int compared = 0;
  for (int y = 0; y < std::min(8, fh); ++y)
    for (int x = object.Margins.left; x < fw - object.Margins.right; ++x) {
      const COLORREF source = GetPixel(skin, fw + x, fh - std::min(8, fh) + y);
      if (source == RGB(255, 0, 255)) continue;
      EXPECT_EQ(separator.At(x, 8 - std::min(8, fh) + y), source) << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 0) << "frame 2 of the item bitmap is keyed all over";

  // A checked item without an image shows the check glyph in the text colour of buttons.
  const int h = 22, w = 160;
  const RECT glyphBox{1 + object.Margins.left, 0, 1 + object.Margins.left + 18, h};
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  ASSERT_TRUE(FGrid->Checked());
  const int checked = TItemPicture(*FFrame, *FGrid, w, h).Count(ink, glyphBox);
  FGrid->SetChecked(false);
  const int unchecked = TItemPicture(*FFrame, *FGrid, w, h).Count(ink, glyphBox);
  EXPECT_GT(checked, 6);
  EXPECT_EQ(unchecked, 0);

  // Text: the menu's colour; disabled: the skin's button shadow; selected: highlighted text.
  const COLORREF text = win::ColorToRGB(data.Colors[TShemeColor::csMenuText]);
  const COLORREF shadow = win::ColorToRGB(data.Colors[TShemeColor::csButtonShadow]);
  const COLORREF lit = win::ColorToRGB(data.Colors[TShemeColor::csHilightText]);
  ASSERT_NE(text, shadow);
  const RECT textArea{glyphBox.right, 0, w, h};
  TItemPicture enabled(*FFrame, *FSave, w, h);
  EXPECT_GT(enabled.Count(text, textArea), 10);
  EXPECT_EQ(enabled.Count(shadow, textArea), 0);
  FSave->SetEnabled(false);
  TItemPicture disabled(*FFrame, *FSave, w, h);
  EXPECT_GT(disabled.Count(shadow, textArea), 10);
  EXPECT_EQ(disabled.Count(text, textArea), 0);
  FSave->SetEnabled(true);
  if (lit != text) {
    TItemPicture selected(*FFrame, *FSave, w, h, true);
    EXPECT_GT(selected.Count(lit, textArea), 10);
  }
}

TEST_F(MenuBarTest, ContextAndSystemMenusAreSkinnedOnlyWhenTheSkinSaysSo) {
  TSkinData& data = *FApp.Form().SkinData1;
  auto* popup = new win::TPopupMenu(&FApp.Form());
  for (const char* caption : {"&Cut", "&Copy", "-", "&Paste"}) {
    auto* item = new win::TMenuItem(&FApp.Form());
    item->SetCaption(caption);
    popup->Items()->Add(item);
  }
  // Whether the menu window that opens wears the skin, and the kind left behind afterwards.
  auto wrappedWhen = [&](const std::function<void()>& open) {
    int wrapped = -1;
    {
      TMenuScript script({[&](HWND menu) {
        wrapped = SendMessageW(menu, SKIN_MSG_QUERY, 0, 0) == 1 ? 1 : 0;
        EndMenu();
      }});
      open();
      bw::test::PumpUntil([&] { return script.Done() == 1; }, 3000);
    }
    bw::test::PumpUntil([] { return OpenMenuWindow() == nullptr; }, 2000);
    EXPECT_EQ(SkinManager->FMenuKind, 0);
    return wrapped;
  };
  RECT window;
  GetWindowRect(Handle(), &window);
  auto context = [&] { popup->Popup(window.left + 60, window.top + 80); };
  auto system = [&] {
    SendMessageW(Handle(), WM_NCRBUTTONDOWN, HTCAPTION, ScreenParam(ScreenOf(Handle(), POINT{60, 12})));
  };
  const TSkinControlTypes all = data.SkinControls();
  ASSERT_TRUE(all.Contains(TSkinControlType::xcPopupMenu));
  ASSERT_TRUE(all.Contains(TSkinControlType::xcSystemMenu));
  EXPECT_EQ(wrappedWhen(context), 1);
  TSkinControlTypes without = all;
  without.Exclude(TSkinControlType::xcPopupMenu);
  data.SetSkinControls(without);
  EXPECT_EQ(wrappedWhen(context), 0);
  data.SetSkinControls(all);
  EXPECT_EQ(wrappedWhen(system), 1);
  // Without xcSystemMenu the window's own system menu opens, as the system draws it; the
  // menu kind it set must not leak into the next context menu.
  without = all;
  without.Exclude(TSkinControlType::xcSystemMenu);
  data.SetSkinControls(without);
  bw::test::PumpMessages(GetDoubleClickTime() + 50);  // not a double click on the caption
  EXPECT_EQ(wrappedWhen(system), 0);
  data.SetSkinControls(all);
  EXPECT_EQ(wrappedWhen(context), 1);
}

// Ends every menu loop of the thread as soon as it goes idle (its menus shown and painted).
int gIdleEnds = 0;
LRESULT CALLBACK EndMenuWhenIdle(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
    ++gIdleEnds;
    EndMenu();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MenuBarTest, AThousandMenuOpensLeaveNoGdiObjectsBehind) {
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &EndMenuWhenIdle, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const POINT file = ScreenOf(Handle(), Centre(Button(0).FRect));
  // How many drop-downs opened, went idle once and closed again with their painter gone.
  auto opens = [&](int times) {
    int done = 0;
    for (int i = 0; i < times; ++i) {
      gIdleEnds = 0;
      SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTMENU, ScreenParam(file));
      done += gIdleEnds == 1 && SkinManager->Menus().empty() ? 1 : 0;
    }
    return done;
  };
  opens(20);  // caches of the first opens
  const int before = bw::test::GdiHeadroom();
  EXPECT_EQ(opens(1000), 1000);
  const int after = bw::test::GdiHeadroom();
  UnhookWindowsHookEx(hook);
  RecordProperty("GdiHeadroomLost", before - after);
  EXPECT_LE(before - after, 8) << "GDI objects left behind by 1,000 menu opens";
  EXPECT_EQ(SkinManager->FMenuKind, 0);
  EXPECT_FALSE(DropLoopRunning());
}

bool DrawnByItsOwner(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

TEST_F(MenuBarTest, SkinOffGivesTheMenusTheirOwnDrawingAndOnTakesThemAgain) {
  auto* popup = new win::TPopupMenu(&FApp.Form());
  auto* cut = new win::TMenuItem(&FApp.Form());
  cut->SetCaption("Cu&t");
  popup->Items()->Add(cut);
  TSkinData& data = *FApp.Form().SkinData1;
  HWND h = Handle();
  // Dropped once, the submenu's items are drawn by the skin.
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &EndMenuWhenIdle, nullptr, GetCurrentThreadId());
  SendMessageW(h, WM_NCLBUTTONDOWN, HTMENU, ScreenParam(ScreenOf(h, Centre(Button(0).FRect))));
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(DrawnByItsOwner(FFile->Handle(), 0));
  data.SetActive(false);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FApp.FrameOf(h) == nullptr; }));
  // The system's menu bar is back, with items it draws itself.
  EXPECT_EQ(GetMenu(h), FMenu->Handle());
  EXPECT_FALSE(FMenu->OwnerDraw());
  EXPECT_FALSE(DrawnByItsOwner(FFile->Handle(), 0));
  EXPECT_FALSE(popup->OwnerDraw());

  data.SetActive(true);
  TLacquerForm* again = nullptr;
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    again = FApp.FrameOf(h);
    return again && again->FState == kFrameSkinned;
  }));
  EXPECT_EQ(GetMenu(h), nullptr);
  ASSERT_NE(again->FMenuBar, nullptr);
  EXPECT_EQ(again->FMenuBar->FMenuButtons.size(), 3u);
  EXPECT_TRUE(popup->OwnerDraw());  // context menus are taken when the skin comes on
}

}  // namespace
}  // namespace bw::skin::test
