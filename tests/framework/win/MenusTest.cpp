// Menus on real windows: built from a description, the system menus they fill, commands,
// short cuts, owner-drawn items, popup and context menus, and the form's dialog keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/ImageList.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win {
namespace {

class TMenuForm : public TForm {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TMenuForm(core::TComponent* owner) : TForm(owner) {}
  TPanel* Panel1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem *File1 = nullptr, *Open1 = nullptr, *Sep1 = nullptr, *Hidden1 = nullptr, *Exit1 = nullptr;
  TMenuItem *View1 = nullptr, *Large1 = nullptr, *Small1 = nullptr, *Grid1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem *Copy1 = nullptr, *Paste1 = nullptr;
  std::vector<std::string> Log;
  void Open1Click(core::TObject*) { Log.push_back("open"); }
  void Exit1Click(core::TObject*) { Log.push_back("exit"); }
  void Copy1Click(core::TObject*) { Log.push_back("copy"); }
  void PopupMenu1Popup(core::TObject*) { Log.push_back("popup"); }
};

const core::TMethodInfo kMenuMethods[] = {
    core::Method<&TMenuForm::Open1Click>("Open1Click"),
    core::Method<&TMenuForm::Exit1Click>("Exit1Click"),
    core::Method<&TMenuForm::Copy1Click>("Copy1Click"),
    core::Method<&TMenuForm::PopupMenu1Popup>("PopupMenu1Popup"),
};
const core::TFieldInfo kMenuFields[] = {
    core::Field<&TMenuForm::Panel1>("Panel1"),       core::Field<&TMenuForm::MainMenu1>("MainMenu1"),
    core::Field<&TMenuForm::File1>("File1"),         core::Field<&TMenuForm::Open1>("Open1"),
    core::Field<&TMenuForm::Sep1>("Sep1"),           core::Field<&TMenuForm::Hidden1>("Hidden1"),
    core::Field<&TMenuForm::Exit1>("Exit1"),         core::Field<&TMenuForm::View1>("View1"),
    core::Field<&TMenuForm::Large1>("Large1"),       core::Field<&TMenuForm::Small1>("Small1"),
    core::Field<&TMenuForm::Grid1>("Grid1"),         core::Field<&TMenuForm::PopupMenu1>("PopupMenu1"),
    core::Field<&TMenuForm::Copy1>("Copy1"),         core::Field<&TMenuForm::Paste1>("Paste1"),
};
const core::TClassInfo TMenuForm::kClass{"TMenuForm", &TForm::kClass, {}, kMenuMethods,
                                         &core::CreateComponentOf<TMenuForm>, kMenuFields};

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
  GetMenuItemInfoW(menu, position, TRUE, &info);
  return info;
}

// Presses keys in the menu window that opens next (a menu loop is modal: a timer of this
// thread still runs inside it).
class TMenuKeys {
 public:
  explicit TMenuKeys(std::vector<WPARAM> keys) {
    FKeys = std::move(keys);
    FCurrent = this;
    FTimer = SetTimer(nullptr, 0, 30, &TMenuKeys::Tick);
  }
  ~TMenuKeys() {
    KillTimer(nullptr, FTimer);
    FCurrent = nullptr;
  }
  bool SawMenuWindow() const { return FSawMenu; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuKeys* self = FCurrent;
    if (!self) return;
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    self->FSawMenu = true;
    for (WPARAM key : self->FKeys) PostMessageW(menu, WM_KEYDOWN, key, 0);
    self->FKeys.clear();
  }
  static inline TMenuKeys* FCurrent = nullptr;
  std::vector<WPARAM> FKeys;
  UINT_PTR FTimer = 0;
  bool FSawMenu = false;
};

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStdControls();
    core::RegisterComponentClass(TMenuForm::kClass);
    FApp = std::make_unique<TApplication>(nullptr);
    FApp->Initialize();
    FApp->CreateForm(FForm);
  }
  void Show() {
    FForm->Show();
    bw::test::WaitPainted(FForm->Handle());
  }
  // Key messages as the loop sees them, with the modifiers held.
  void PressKey(HWND target, WPARAM key, bool ctrl) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(target, WM_KEYDOWN, key, 1);
    FApp->ProcessMessages();
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
  }
  std::unique_ptr<TApplication> FApp;
  TMenuForm* FForm = nullptr;
};

TEST_F(MenusTest, DescriptionBuildsTheTreeWithPropertiesReadableByName) {
  ASSERT_NE(FForm->MainMenu1, nullptr);
  EXPECT_EQ(FForm->Menu(), FForm->MainMenu1);
  EXPECT_EQ(FForm->MainMenu1->Items()->Count(), 2);
  EXPECT_EQ(FForm->File1->Count(), 4);
  EXPECT_EQ(FForm->Open1->Parent(), FForm->File1);
  EXPECT_EQ(FForm->Open1->GetParentMenu(), FForm->MainMenu1);
  EXPECT_EQ(FForm->File1->GetParentComponent(), FForm->MainMenu1);
  EXPECT_EQ(FForm->Open1->GetParentComponent(), FForm->File1);
  EXPECT_EQ(FForm->Panel1->PopupMenu(), FForm->PopupMenu1);
  EXPECT_EQ(core::GetStrProp(FForm->Open1, "caption"), "&Open...");
  EXPECT_EQ(core::GetIntProp(FForm->Open1, "ShortCut"), scCtrl | 'O');
  EXPECT_EQ(core::GetEnumProp(FForm->Grid1, "Checked"), "True");
  EXPECT_EQ(core::GetEnumProp(FForm->Exit1, "Enabled"), "False");
  EXPECT_EQ(core::GetEnumProp(FForm->MainMenu1, "OwnerDraw"), "False");
  EXPECT_EQ(core::GetObjectProp(FForm, "Menu"), FForm->MainMenu1);
  EXPECT_EQ(core::GetObjectProp(FForm->Panel1, "PopupMenu"), FForm->PopupMenu1);
  EXPECT_EQ(core::GetEventProp(FForm->Open1, "OnDrawItem") != nullptr, true);
  EXPECT_EQ(core::GetIntProp(FForm->Open1, "NoSuchProperty"), -1);
  EXPECT_EQ(core::GetEnumProp(FForm->MainMenu1, "Flat"), "");
  EXPECT_EQ(core::SetEnumProp(FForm->MainMenu1, "OwnerDraw", "True"), core::TPropResult::Done);
  EXPECT_TRUE(FForm->MainMenu1->OwnerDraw());
}

TEST_F(MenusTest, TheBarAndItsSubmenusShowTheItemsAsTheyAre) {
  Show();
  HMENU bar = GetMenu(FForm->Handle());
  ASSERT_EQ(bar, FForm->MainMenu1->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), L"&File");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(file, FForm->File1->Handle());
  ASSERT_EQ(GetMenuItemCount(file), 3);  // the hidden item is left out
  EXPECT_EQ(MenuText(file, 0), L"&Open...\tCtrl+O");
  const MENUITEMINFOW open = ItemInfo(file, 0);
  EXPECT_EQ(open.wID, FForm->Open1->Command());
  EXPECT_EQ(open.dwItemData, reinterpret_cast<ULONG_PTR>(FForm->Open1));
  EXPECT_TRUE(ItemInfo(file, 1).fType & MFT_SEPARATOR);
  EXPECT_TRUE(ItemInfo(file, 2).fState & MFS_GRAYED);
  HMENU view = GetSubMenu(bar, 1);
  EXPECT_TRUE(ItemInfo(view, 0).fType & MFT_RADIOCHECK);
  EXPECT_TRUE(ItemInfo(view, 0).fState & MFS_CHECKED);
  EXPECT_TRUE(ItemInfo(view, 2).fState & MFS_DEFAULT);
  // Radio items of a group: checking one unchecks the others.
  FForm->Small1->SetChecked(true);
  EXPECT_FALSE(FForm->Large1->Checked());
  EXPECT_FALSE(ItemInfo(view, 0).fState & MFS_CHECKED);
  EXPECT_TRUE(ItemInfo(view, 1).fState & MFS_CHECKED);
  EXPECT_TRUE(FForm->Grid1->Checked());  // not a radio item
  // Changes show at once, and the form hears of them.
  int menuChanges = 0;
  TWindowProcHook hook;
  hook = FForm->WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) ++menuChanges;
    hook->CallPrevious(m);
  });
  FForm->Hidden1->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(file), 4);
  FForm->File1->SetCaption("&Document");
  EXPECT_EQ(MenuText(bar, 0), L"&Document");
  EXPECT_GE(menuChanges, 2);
  delete FForm->Hidden1;
  FForm->Hidden1 = nullptr;
  EXPECT_EQ(GetMenuItemCount(file), 3);
  FForm->WindowProc.Restore(hook);
}

TEST_F(MenusTest, CommandsAndShortCutsClickEnabledItemsOnly) {
  Show();
  SendMessageW(FForm->Handle(), WM_COMMAND, MAKEWPARAM(FForm->Open1->Command(), 0), 0);
  SendMessageW(FForm->Handle(), WM_COMMAND, MAKEWPARAM(FForm->Exit1->Command(), 0), 0);
  EXPECT_EQ(FForm->Log, std::vector<std::string>{"open"});
  FForm->Log.clear();
  PressKey(FForm->Panel1->Handle(), 'O', true);
  EXPECT_EQ(FForm->Log, std::vector<std::string>{"open"});
  PressKey(FForm->Panel1->Handle(), 'O', false);  // no Ctrl: not the short cut
  PressKey(FForm->Panel1->Handle(), 'C', true);   // the form's popup menu has it
  EXPECT_EQ(FForm->Log, (std::vector<std::string>{"open", "copy"}));
  // AutoCheck items toggle when clicked.
  FForm->Small1->Click();
  EXPECT_TRUE(FForm->Small1->Checked());
  EXPECT_FALSE(FForm->Large1->Checked());
}

TEST_F(MenusTest, OwnerDrawnItemsAskTheirHandlersOrDrawThemselves) {
  Show();
  FForm->MainMenu1->SetOwnerDraw(true);
  HMENU file = FForm->File1->Handle();
  EXPECT_TRUE(ItemInfo(file, 0).fType & MFT_OWNERDRAW);
  std::vector<std::string> seen;
  FForm->Open1->OnMeasureItem = [&](core::TObject* sender, TCanvas&, int& w, int& h) {
    seen.push_back(sender == FForm->Open1 ? "measure open" : "measure ?");
    w = 123;
    h = 31;
  };
  FForm->Open1->OnDrawItem = [&](core::TObject*, TCanvas& canvas, RECT r, bool selected) {
    seen.push_back(selected ? "draw selected" : "draw");
    canvas.Brush().SetColor(RGB(1, 2, 3));
    canvas.FillRect(r);
  };
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, FForm->Open1->Command(), 0, 0,
                            reinterpret_cast<ULONG_PTR>(FForm->Open1)};
  EXPECT_TRUE(SendMessageW(FForm->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(measure.itemWidth, 123u);
  EXPECT_EQ(measure.itemHeight, 31u);
  TBitmap target(60, 20);
  DRAWITEMSTRUCT draw{ODT_MENU, 0, FForm->Open1->Command(), ODA_DRAWENTIRE, ODS_SELECTED, nullptr,
                      target.Canvas().Handle(), RECT{0, 0, 60, 20}, reinterpret_cast<ULONG_PTR>(FForm->Open1)};
  EXPECT_TRUE(SendMessageW(FForm->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
  EXPECT_EQ(GetPixel(target.Canvas().Handle(), 30, 10), RGB(1, 2, 3));
  EXPECT_EQ(seen, (std::vector<std::string>{"measure open", "draw selected"}));
  // Without handlers the item measures and draws itself: selected in the highlight colour.
  measure.itemData = reinterpret_cast<ULONG_PTR>(FForm->Grid1);
  measure.itemWidth = measure.itemHeight = 0;
  SendMessageW(FForm->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_GT(measure.itemWidth, 20u);
  EXPECT_GE(measure.itemHeight, 16u);
  draw.itemData = reinterpret_cast<ULONG_PTR>(FForm->Grid1);
  SendMessageW(FForm->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(GetPixel(target.Canvas().Handle(), 59, 1), GetSysColor(COLOR_HIGHLIGHT));
  measure.itemData = reinterpret_cast<ULONG_PTR>(FForm->Sep1);
  SendMessageW(FForm->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(measure.itemHeight, 8u);
  // Item data that names no live item is not ours.
  measure.itemData = 12345;
  EXPECT_FALSE(HandleMenuOwnerDraw(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure)));
}

TEST_F(MenusTest, APopupMenuRunsTheChosenItemAndDrawsItemsInItsLoop) {
  Show();
  FForm->PopupMenu1->SetOwnerDraw(true);
  int measured = 0, drawn = 0;
  for (TMenuItem* item : {FForm->Copy1, FForm->Paste1}) {
    item->OnMeasureItem = [&](core::TObject*, TCanvas&, int& w, int& h) {
      ++measured;
      w = 90;
      h = 20;
    };
    item->OnDrawItem = [&](core::TObject* sender, TCanvas& canvas, RECT r, bool) {
      ++drawn;
      canvas.Brush().SetColor(clMenu);
      canvas.FillRect(r);
      canvas.TextOut(r.left + 4, r.top + 2, static_cast<TMenuItem*>(sender)->Caption());
    };
  }
  {
    TMenuKeys keys({VK_DOWN, VK_RETURN});  // the first item, then choose it
    const POINT at = FForm->ClientToScreen(POINT{40, 40});
    FForm->PopupMenu1->Popup(at.x, at.y);
    EXPECT_TRUE(keys.SawMenuWindow());
  }
  EXPECT_EQ(FForm->Log, (std::vector<std::string>{"popup", "copy"}));
  EXPECT_EQ(measured, 2);
  EXPECT_GE(drawn, 2);
}

TEST_F(MenusTest, ARightClickOrTheMenuKeyOpensTheControlsPopupMenu) {
  Show();
  for (const bool fromKey : {false, true}) {
    FForm->Log.clear();
    TMenuKeys keys({VK_ESCAPE});
    const POINT at = FForm->Panel1->ClientToScreen(POINT{10, 10});
    const LPARAM where = fromKey ? -1 : MAKELPARAM(at.x, at.y);
    SendMessageW(FForm->Panel1->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FForm->Panel1->Handle()), where);
    EXPECT_TRUE(keys.SawMenuWindow()) << fromKey;
    EXPECT_EQ(FForm->Log, std::vector<std::string>{"popup"}) << fromKey;
    EXPECT_EQ(FForm->PopupMenu1->PopupComponent(), FForm->Panel1);
  }
}

TEST_F(MenusTest, MenusFreedLeaveNoReferencesBehind) {
  Show();
  delete FForm->PopupMenu1;
  EXPECT_EQ(FForm->Panel1->PopupMenu(), nullptr);
  delete FForm->MainMenu1;
  EXPECT_EQ(FForm->Menu(), nullptr);
  EXPECT_EQ(GetMenu(FForm->Handle()), nullptr);
}

TEST_F(MenusTest, ImagesShowBesideSystemDrawnItems) {
  Show();
  TImageList images(nullptr);
  TBitmap strip(32, 16, TPixelFormat::pf24bit);
  strip.Canvas().Brush().SetColor(RGB(200, 0, 0));
  strip.Canvas().FillRect(RECT{0, 0, 32, 16});
  images.Add(strip, nullptr);
  FForm->MainMenu1->SetImages(&images);
  FForm->Open1->SetImageIndex(1);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  GetMenuItemInfoW(FForm->File1->Handle(), 0, TRUE, &info);
  ASSERT_NE(info.hbmpItem, nullptr);
  BITMAP bm{};
  GetObjectW(info.hbmpItem, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 16);
  FForm->MainMenu1->SetImages(nullptr);
  info.hbmpItem = nullptr;
  GetMenuItemInfoW(FForm->File1->Handle(), 0, TRUE, &info);
  EXPECT_EQ(info.hbmpItem, nullptr);
}

TEST(ShortCuts, TextsAndAcceleratorsRoundTrip) {
  const struct {
    TShortCut Key;
    const char* Text;
  } cases[] = {{static_cast<TShortCut>(scCtrl | 'O'), "Ctrl+O"},
               {static_cast<TShortCut>(scShift | VK_F10), "Shift+F10"},
               {VK_DELETE, "Del"},
               {static_cast<TShortCut>(scShift | scCtrl | scAlt | 'Z'), "Shift+Ctrl+Alt+Z"},
               {VK_F5, "F5"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Key), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Key) << c.Text;
  }
  EXPECT_EQ(TextToShortCut("ctrl+o"), scCtrl | 'O');
  EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_TRUE(IsAccel(L'f', "&File"));
  EXPECT_TRUE(IsAccel(L'X', "E&xit"));
  EXPECT_FALSE(IsAccel(L's', "&&Save"));
  EXPECT_TRUE(IsAccel(L'\u00E9', "&\xC3\xA9t\xC3\xA9"));
  EXPECT_FALSE(IsAccel(L'f', "File"));
  EXPECT_EQ(StripHotkey("Save && E&xit"), "Save & Exit");
}

TEST_F(MenusTest, DialogKeysAndAltCharactersReachTheForm) {
  auto* button = new TButton(FForm);
  button->SetParent(FForm);
  Show();
  button->SetFocus();
  std::vector<UINT> seen;
  TWindowProcHook hook;
  hook = FForm->WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == CM_DIALOGKEY || m.Msg == CM_DIALOGCHAR) seen.push_back(m.Msg);
    hook->CallPrevious(m);
  });
  PostMessageW(button->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(button->Handle(), WM_SYSCHAR, 'q', 1 << 29);  // no menu item has it
  FApp->ProcessMessages();
  EXPECT_EQ(seen, (std::vector<UINT>{CM_DIALOGKEY, CM_DIALOGCHAR}));
  FForm->WindowProc.Restore(hook);
}

}  // namespace
}  // namespace bw::win
