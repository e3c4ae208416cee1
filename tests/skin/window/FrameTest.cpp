// The skinned frame on real windows: set-up, sizes, painting, region, hit tests, caption
// buttons, window commands, refusals, system dialogs, MDI rules, skin off and on, and a
// change to a second skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/win/Dialogs.h"
#include "framework/win/Menus.h"
#include "framework/win/Text.h"
#include "skin/controls/SkinImages.h"
#include "skin/window/LacquerMenu.h"
#include "skin/window/SkinMessages.h"
#include "tests/skin/window/SkinWindowTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {
namespace {

// Oxblood's frame: 4 px borders, a 26 px caption.
constexpr int kSide = 4, kCaption = 26;

POINT ClientOrigin(HWND h) {
  RECT window;
  GetWindowRect(h, &window);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  return POINT{origin.x - window.left, origin.y - window.top};
}

COLORREF BitmapPixel(TBitmap& bitmap, int x, int y) { return GetPixel(bitmap.Canvas().Handle(), x, y); }

// Window coordinates to the screen.
POINT ScreenOf(HWND h, POINT p) {
  RECT window;
  GetWindowRect(h, &window);
  return POINT{window.left + p.x, window.top + p.y};
}

LPARAM ScreenParam(POINT p) { return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)); }

TWinSysButton* ButtonWithAction(TLacquerForm& frame, std::int32_t action) {
  for (auto& b : frame.FButtons)
    if (b->FSkinButton->Action == action && b->FVisible) return b.get();
  return nullptr;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class FrameTest : public ::testing::Test {
 protected:
  TSkinnedApp FApp;
  TSkinFrameForm& Form() { return FApp.Form(); }
};

TEST_F(FrameTest, TheMainFormWearsTheSkinAroundAnUnchangedClient) {
  const int clientW = Form().ClientWidth(), clientH = Form().ClientHeight();
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  HWND h = Form().Handle();
  EXPECT_EQ(SendMessageW(h, SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(frame->FLeftWidth, kSide);
  EXPECT_EQ(frame->FTopHeight, kCaption);
  EXPECT_EQ(Form().ClientWidth(), clientW);
  EXPECT_EQ(Form().ClientHeight(), clientH);
  const POINT origin = ClientOrigin(h);
  EXPECT_EQ(origin.x, kSide);
  EXPECT_EQ(origin.y, kCaption);
  RECT window;
  GetWindowRect(h, &window);
  EXPECT_EQ(window.right - window.left, clientW + 2 * kSide);
  EXPECT_EQ(window.bottom - window.top, clientH + kCaption + kSide);
  // The system's own caption buttons are gone, so it never paints them over the skin.
  EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_EQ(frame->FBorderStyle, TSkinFormBorder::sbsSizeable);
  // A second registration of a framed window is refused.
  EXPECT_FALSE(SkinManager->AddForm(h));
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-main.png"), ScreenRectOf(h, 10));
}

TEST_F(FrameTest, TheRegionCutsTheMagentaCornersAndBordersShowTheirStateFrame) {
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  HWND h = Form().Handle();
  RECT window;
  GetWindowRect(h, &window);
  const int w = window.right - window.left, hgt = window.bottom - window.top;
  win::TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(h, region.Get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));      // rounded top corners
  EXPECT_FALSE(PtInRegion(region.Get(), w - 1, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), w / 2, 1));
  EXPECT_TRUE(PtInRegion(region.Get(), w / 2, hgt / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, hgt - 1));  // the bottom border is opaque
  // Active: frame 1 of the left border; inactive: frame 2.
  TDataSkinBorder& left = *Form().SkinData1->LeftBorder;
  const int frameW = left.Bitmap.Width() / left.Frame;
  const int y = hgt / 2;
  const COLORREF active = BitmapPixel(left.Bitmap, 1, left.Margins.top + 1);
  const COLORREF inactive = BitmapPixel(left.Bitmap, frameW + 1, left.Margins.top + 1);
  ASSERT_NE(active, inactive);
  EXPECT_EQ(bw::test::WaitForScreenPixel(window.left + 1, window.top + y, active), active);
  auto* other = win::CreateForm<win::TForm>(&FApp.App());
  other->SetBounds(window.right + 20, window.top, 200, 120);
  other->Show();
  EXPECT_TRUE(bw::test::PumpUntil([&] { return !frame->FActive; }));
  EXPECT_EQ(bw::test::WaitForScreenPixel(window.left + 1, window.top + y, inactive), inactive);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-inactive.png"), ScreenRectOf(h, 10));
}

TEST_F(FrameTest, HitTestsKeepTheResizeEdgesAndMakeTheStripACaption) {
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  HWND h = Form().Handle();
  RECT window;
  GetWindowRect(h, &window);
  const int w = window.right - window.left, hgt = window.bottom - window.top;
  auto hit = [&](int x, int y) { return SendMessageW(h, WM_NCHITTEST, 0, ScreenParam(ScreenOf(h, POINT{x, y}))); };
  EXPECT_EQ(hit(w / 3, 14), HTCAPTION);
  EXPECT_EQ(hit(w / 3, 1), HTTOP);  // the top three rows keep the default
  EXPECT_EQ(hit(1, hgt / 2), HTLEFT);
  EXPECT_EQ(hit(w / 2, hgt / 2), HTCLIENT);
  EXPECT_EQ(hit(w - 1, hgt - 1), HTBOTTOMRIGHT);
}

TEST_F(FrameTest, CaptionButtonsTrackTheMouseAndRunTheirActions) {
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  HWND h = Form().Handle();
  TWinSysButton* maximise = ButtonWithAction(*frame, kActionMaximize);
  ASSERT_NE(maximise, nullptr);
  const POINT at = ScreenOf(h, Centre(maximise->FRect));
  TDataSkinSysButton& skin = *maximise->FSkinButton;
  const int bw = skin.Bitmap.Width() / skin.Frame;
  const POINT inButton{Centre(maximise->FRect).x - maximise->FRect.left, Centre(maximise->FRect).y - maximise->FRect.top};
  auto framePixel = [&](int frameIndex) { return BitmapPixel(skin.Bitmap, (frameIndex - 1) * bw + inButton.x, inButton.y); };
  ASSERT_NE(framePixel(3), framePixel(2));

  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenParam(at));
  EXPECT_EQ(frame->FHot, maximise);
  EXPECT_EQ(maximise->FStatus, kNCHot);
  EXPECT_EQ(bw::test::WaitForScreenPixel(at.x, at.y, framePixel(3)), framePixel(3));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(at));
  EXPECT_EQ(maximise->FStatus, kNCPressed);
  EXPECT_EQ(bw::test::WaitForScreenPixel(at.x, at.y, framePixel(2)), framePixel(2));
  // Released elsewhere: nothing happens.
  const POINT away = ScreenOf(h, POINT{60, 14});
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenParam(away));
  bw::test::PumpMessages(50);
  EXPECT_FALSE(IsZoomed(h));

  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenParam(at));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(at));
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenParam(at));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return IsZoomed(h) != FALSE; }));
  bw::test::PumpUntil([&] { return frame->FState == kFrameSkinned; });
  bw::test::WaitPainted(h);
  // Maximised: the restore button stands where maximise was.
  frame->Geometry();
  TWinSysButton* restore = ButtonWithAction(*frame, kActionMaximize2);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(ButtonWithAction(*frame, kActionMaximize), nullptr);
  frame->UpdateNc();
  const POINT restoreAt = ScreenOf(h, Centre(restore->FRect));
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenParam(restoreAt));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(restoreAt));
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenParam(restoreAt));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return !IsZoomed(h); }));

  frame->UpdateNc();
  TWinSysButton* minimise = ButtonWithAction(*frame, kActionMinimize);
  ASSERT_NE(minimise, nullptr);
  const POINT minAt = ScreenOf(h, Centre(minimise->FRect));
  SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, ScreenParam(minAt));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, ScreenParam(minAt));
  SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, ScreenParam(minAt));
  EXPECT_TRUE(bw::test::PumpUntil([&] { return IsIconic(h) != FALSE; }));
  ShowWindow(h, SW_RESTORE);
}

TEST_F(FrameTest, ButtonsShowByTheVisibilityRules) {
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  HWND h = Form().Handle();
  auto shown = [&](std::int32_t action) {
    frame->Geometry();
    return ButtonWithAction(*frame, action) != nullptr;
  };
  EXPECT_TRUE(shown(kActionClose));
  EXPECT_TRUE(shown(kActionMaximize));
  EXPECT_FALSE(shown(kActionMaximize2));  // restore: only while maximised
  EXPECT_TRUE(shown(kActionMinimize));
  EXPECT_TRUE(shown(kActionIcon));
  // The help button (visibility 1000) asks the window.
  EXPECT_FALSE(shown(4));
  win::TWindowProcHook hook;
  hook = Form().WindowProc.Replace([&](win::TMessage& m) {
    if (m.Msg == SKIN_MSG_BUTTONVISIBLE) {
      m.Result = 1;
      return;
    }
    hook->CallPrevious(m);
  });
  EXPECT_TRUE(shown(4));
  Form().WindowProc.Restore(hook);
  // Without a maximise box: no maximise button whatever the skin says.
  frame->FCaps &= static_cast<BYTE>(~kCapMaxBox);
  EXPECT_FALSE(shown(kActionMaximize));
  EXPECT_TRUE(shown(kActionMinimize));  // the other minimise button, for windows without one
  frame->FCaps |= kCapMaxBox;
  // A decorative button (negative action) is drawn but never hit.
  for (auto& b : frame->FButtons) {
    if (b->FSkinButton->Action < 0 && b->FVisible) {
      EXPECT_EQ(frame->FindBtn(Centre(b->FRect)), nullptr);
    }
  }
  (void)h;
}

TEST_F(FrameTest, SkinOffLeavesTheWindowAsItWasAndOnFramesItAgain) {
  Form().Show();
  bw::test::WaitPainted(Form().Handle());
  HWND h = Form().Handle();
  // The frame comes with the activation; before it, the system's frame stands.
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  const int clientW = Form().ClientWidth(), clientH = Form().ClientHeight();
  // Images composed from this skin are not kept past it: a later bitmap may reuse a handle.
  TDataSkinObject& face = *Form().SkinData1->MenuItem;
  ASSERT_NE(TSkinImageCache::Shared().Compose(face.Bitmap, face.Margins, false, 1, 5, 40, 20, true), nullptr);
  Form().SkinData1->SetActive(false);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FApp.FrameOf(h) == nullptr; }));
  EXPECT_EQ(TSkinImageCache::Shared().Size(), 0u);
  EXPECT_NE(SendMessageW(h, SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(Form().ClientWidth(), clientW);
  EXPECT_EQ(Form().ClientHeight(), clientH);
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_MAXIMIZEBOX);
  win::TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(h, region.Get()), ERROR);
  RECT system{0, 0, 0, 0};
  AdjustWindowRectEx(&system, GetWindowLongPtrW(h, GWL_STYLE), FALSE, GetWindowLongPtrW(h, GWL_EXSTYLE));
  EXPECT_EQ(ClientOrigin(h).y, -system.top);

  Form().SkinData1->SetActive(true);
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    TLacquerForm* again = FApp.FrameOf(h);
    return again && again->FState == kFrameSkinned;
  }));
  EXPECT_EQ(Form().ClientWidth(), clientW);
  EXPECT_EQ(Form().ClientHeight(), clientH);
  EXPECT_EQ(ClientOrigin(h).y, kCaption);
}

// A window no framework object stands for, made as `instance`'s (a global class serves every
// module).
HWND PlainWindow(HINSTANCE instance, int w, int h, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU) {
  static const wchar_t* kClass = L"BwPlainTestWindow";
  WNDCLASSW wc{};
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  return CreateWindowExW(0, kClass, L"plain", style, 50, 50, w, h, nullptr, nullptr, instance, nullptr);
}

TEST_F(FrameTest, WindowsThatDoNotQualifyAreRefused) {
  ASSERT_NE(FApp.ShowSkinned(Form()), nullptr);
  TSkinManage& manager = *SkinManager;
  // Another module's window: refused; one of this module: framed.
  HWND foreign = PlainWindow(GetModuleHandleW(L"user32.dll"), 200, 100);
  ASSERT_NE(foreign, nullptr);
  EXPECT_FALSE(manager.AddForm(foreign));
  HWND own = PlainWindow(GetModuleHandleW(nullptr), 200, 100);
  EXPECT_TRUE(manager.AddForm(own));
  // No area.
  HWND empty = PlainWindow(GetModuleHandleW(nullptr), 0, 0);
  EXPECT_FALSE(manager.AddForm(empty));
  // The application's window.
  EXPECT_FALSE(manager.AddForm(FApp.App().Handle()));
  // A form tagged 99.
  auto* tagged = win::CreateForm<win::TForm>(&FApp.App());
  tagged->SetTag(99);
  tagged->SetBounds(10, 10, 200, 100);
  tagged->HandleNeeded();
  EXPECT_FALSE(manager.AddForm(tagged->Handle()));
  // A form inside another form, unless forced.
  auto* nested = win::CreateForm<win::TForm>(&FApp.App());
  nested->SetBorderStyle(core::TFormBorderStyle::bsNone);
  nested->SetBounds(5, 5, 100, 60);
  nested->SetParent(&Form());
  nested->Show();
  EXPECT_FALSE(manager.AddForm(nested->Handle()));
  Form().SkinData1->SkinForm(nested->Handle());
  EXPECT_NE(manager.FindSkinForm(nested->Handle()), nullptr);
  // The application's decision, and previews without xoPreview.
  auto* refused = win::CreateForm<win::TForm>(&FApp.App());
  refused->SetBounds(10, 10, 200, 100);
  refused->HandleNeeded();
  Form().SkinData1->OnFormSkin = [](core::TObject*, const std::string&, bool& doSkin) { doSkin = false; };
  EXPECT_FALSE(manager.AddForm(refused->Handle()));
  Form().SkinData1->OnFormSkin = nullptr;
  Form().SkinData1->SetOptions(TSkinOptions{});
  EXPECT_TRUE(manager.OnBeforeSkin("TForm1"));
  EXPECT_FALSE(manager.OnBeforeSkin("TPrintPreviewForm"));
  Form().SkinData1->SetOptions(kDefaultSkinOptions);
  EXPECT_TRUE(manager.OnBeforeSkin("TPrintPreviewForm"));
  EXPECT_FALSE(manager.OnBeforeSkin("SysMonthCal32"));
  // No skin loaded.
  Form().SkinData1->NoSkin = true;
  EXPECT_FALSE(manager.AddForm(refused->Handle()));
  Form().SkinData1->NoSkin = false;
  EXPECT_TRUE(manager.AddForm(refused->Handle()));
  for (HWND w : {foreign, own, empty}) DestroyWindow(w);
}

// A dialog template: a narrow "#32770" with a long caption and one button.
struct TDialogTemplate {
  DLGTEMPLATE Dialog;
  WORD Menu, Class;
  wchar_t Title[64];
};

TEST_F(FrameTest, ASystemDialogIsFramedAndWidenedForItsCaption) {
  ASSERT_NE(FApp.ShowSkinned(Form()), nullptr);
  TDialogTemplate t{};
  t.Dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  t.Dialog.cx = 40;
  t.Dialog.cy = 40;
  wcscpy(t.Title, L"A caption far wider than the dialog under it");
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(L"user32.dll"), &t.Dialog, Form().Handle(),
                                           [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dialog, nullptr);
  RECT before;
  GetWindowRect(dialog, &before);
  SetForegroundWindow(dialog);
  SetActiveWindow(dialog);
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    TLacquerForm* f = FApp.FrameOf(dialog);
    return f && f->FState == kFrameSkinned;
  }));
  TLacquerForm* frame = FApp.FrameOf(dialog);
  EXPECT_EQ(frame->FForm, nullptr);  // a plain frame
  EXPECT_EQ(frame->FBorderStyle, TSkinFormBorder::sbsDialog);
  RECT after;
  GetWindowRect(dialog, &after);
  const auto& title = Form().SkinData1->Title->Margins;
  EXPECT_GE(after.right - after.left, title.left + frame->FCaptionWidth + title.right);
  EXPECT_GT(after.right - after.left, before.right - before.left);
  bw::test::WaitPainted(dialog);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-dialog.png"), ScreenRectOf(dialog, 6));
  DestroyWindow(dialog);
}

// Looks at the message box that the next MessageDlg shows, then answers it.
struct TBoxWatch {
  static inline TBoxWatch* Current = nullptr;
  bool Framed = false;
  bool Seen = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TBoxWatch* self = Current;
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!self || !box || !IsWindowVisible(box)) return;
    TLacquerForm* frame = SkinManager ? SkinManager->FindSkinForm(box) : nullptr;
    if (!frame || frame->FState != kFrameSkinned) return;
    self->Seen = true;
    self->Framed = SendMessageW(box, SKIN_MSG_QUERY, 0, 0) == 1;
    bw::test::WaitPainted(box, 1000);
    bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-message-box.png"), ScreenRectOf(box, 6));
    KillTimer(nullptr, id);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
};

TEST_F(FrameTest, TheFrameworksMessageBoxesAreFramedToo) {
  ASSERT_NE(FApp.ShowSkinned(Form()), nullptr);
  TBoxWatch watch;
  TBoxWatch::Current = &watch;
  SetTimer(nullptr, 0, 50, &TBoxWatch::Tick);
  win::MessageDlg("Caf\xC3\xA9 cr\xC3\xA8me: the summary of a run.", win::TMsgDlgType::mtInformation,
                  win::TMsgDlgButtons{win::TMsgDlgBtn::mbOK}, 0);
  TBoxWatch::Current = nullptr;
  EXPECT_TRUE(watch.Seen);
  EXPECT_TRUE(watch.Framed);
}

TEST_F(FrameTest, AnMDIChildIsFramedAtCreationAndShowsItsButtonsInTheParentsBandWhenMaximised) {
  win::TCustomForm& frameForm = Form();
  frameForm.SetFormStyle(core::TFormStyle::fsMDIForm);
  auto* menu = new win::TMainMenu(&frameForm);
  auto* file = new win::TMenuItem(&frameForm);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  auto* open = new win::TMenuItem(&frameForm);
  open->SetCaption("&Open");
  file->Add(open);
  frameForm.SetMenu(menu);
  TLacquerForm* parent = FApp.ShowSkinned(frameForm);
  ASSERT_NE(parent, nullptr);
  ASSERT_NE(parent->FMenuBar, nullptr);
  EXPECT_EQ(GetMenu(frameForm.Handle()), nullptr);  // the skin draws the menu band
  EXPECT_EQ(ClientOrigin(frameForm.Handle()).y, kCaption + parent->FMenuHeight);

  auto* child = new win::TForm(&FApp.App());
  child->SetFormStyle(core::TFormStyle::fsMDIChild);
  child->SetCaption("Child");
  child->SetBounds(10, 10, 240, 160);
  child->Show();
  HWND c = child->Handle();
  EXPECT_EQ(SendMessageW(c, SKIN_MSG_QUERY, 0, 0), 1);  // framed as it was made
  ASSERT_TRUE(bw::test::PumpUntil([&] {
    TLacquerForm* f = FApp.FrameOf(c);
    return f && f->FState == kFrameSkinned;
  }));
  EXPECT_EQ(FApp.FrameOf(c)->FForm, child);
  bw::test::WaitPainted(frameForm.Handle());
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-mdi.png"), ScreenRectOf(frameForm.Handle(), 6));

  child->SetWindowState(core::TWindowState::wsMaximized);
  ASSERT_TRUE(IsZoomed(c));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return SkinManager->FMDIMax; }));
  parent->UpdateNc();
  int mdiButtons = 0;
  for (auto& b : parent->FButtons)
    if (b->FSkinButton->Visibility == kVisibilityMDI && b->FVisible) {
      ++mdiButtons;
      EXPECT_GE(b->FRect.top, parent->FTopHeight);
      EXPECT_LE(b->FRect.bottom, parent->FTopHeight + parent->FMenuHeight);
    }
  EXPECT_EQ(mdiButtons, 3);
  bw::test::WaitPainted(frameForm.Handle());
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-mdi-maximised.png"),
                          ScreenRectOf(frameForm.Handle(), 6));
}

TEST_F(FrameTest, AChangeToASecondSkinTakesItsSizesAndKeepsTheClient) {
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  HWND h = Form().Handle();
  const int clientW = Form().ClientWidth(), clientH = Form().ClientHeight();
  Form().SkinData1->LoadFromFile(BW_SLATE_SKIN);
  ASSERT_FALSE(Form().SkinData1->NoSkin);
  ASSERT_TRUE(bw::test::PumpUntil([&] { return frame->FLeftWidth == 6 && frame->FState == kFrameSkinned; }));
  EXPECT_EQ(frame->FTopHeight, 30);
  EXPECT_EQ(frame->FBottomHeight, 5);
  EXPECT_EQ(Form().ClientWidth(), clientW);
  EXPECT_EQ(Form().ClientHeight(), clientH);
  EXPECT_EQ(ClientOrigin(h).x, 6);
  EXPECT_EQ(ClientOrigin(h).y, 30);
  RECT window;
  GetWindowRect(h, &window);
  // No transparent border: the region is the whole window.
  win::TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(h, region.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.Get(), 0, 0));
  EXPECT_EQ(bw::test::WaitForScreenPixel(window.left + 2, window.top + 60, RGB(20, 90, 160)), RGB(20, 90, 160));
  EXPECT_EQ(bw::test::WaitForScreenPixel(window.left + 40, window.bottom - 2, RGB(50, 120, 190)),
            RGB(50, 120, 190));
  bw::test::WaitPainted(h);
  bw::test::SaveScreenPng(bw::test::ScreenshotPath("frame-second-skin.png"), ScreenRectOf(h, 10));
}

TEST_F(FrameTest, AnotherModulesManagerFramesItsWindowsInTheSharedListsAndTakesThemAway) {
  ASSERT_NE(FApp.ShowSkinned(Form()), nullptr);
  const HINSTANCE other = GetModuleHandleW(L"user32.dll");
  HWND foreign = PlainWindow(other, 200, 100);
  ASSERT_NE(foreign, nullptr);
  EXPECT_FALSE(SkinManager->AddForm(foreign));  // not the program's module
  {
    TSkinManage sub(true, other);
    EXPECT_FALSE(sub.Attached());
    EXPECT_FALSE(sub.AddForm(foreign));  // no lists before it is attached
    sub.AssignData(SkinManager);
    ASSERT_TRUE(sub.Attached());
    EXPECT_TRUE(sub.AddForm(foreign));
    // One list for both managers: the program's manager finds the module's frame.
    TLacquerForm* frame = SkinManager->FindSkinForm(foreign);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->FModule, other);
    EXPECT_TRUE(bw::test::PumpUntil([&] { return frame->FState == kFrameSkinned; }));
    EXPECT_EQ(SendMessageW(foreign, SKIN_MSG_QUERY, 0, 0), 1);
  }
  // The module's manager went and took its frames: the window is as it was; ours stay.
  EXPECT_EQ(SkinManager->FindSkinForm(foreign), nullptr);
  EXPECT_NE(SendMessageW(foreign, SKIN_MSG_QUERY, 0, 0), 1);
  win::TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(foreign, region.Get()), ERROR);
  EXPECT_NE(SkinManager->FindSkinForm(Form().Handle()), nullptr);
  EXPECT_EQ(SendMessageW(Form().Handle(), SKIN_MSG_QUERY, 0, 0), 1);

  // When the program's manager goes first, the module's manager is detached, not left dangling.
  auto late = std::make_unique<TSkinManage>(true, other);
  late->AssignData(SkinManager);
  HWND h = Form().Handle();
  const int clientW = Form().ClientWidth(), clientH = Form().ClientHeight();
  ReleaseSkinEngine();
  EXPECT_FALSE(late->Attached());
  late.reset();
  // Every window is left as it was.
  EXPECT_NE(SendMessageW(h, SKIN_MSG_QUERY, 0, 0), 1);
  EXPECT_EQ(GetWindowRgn(h, region.Get()), ERROR);
  EXPECT_EQ(Form().ClientWidth(), clientW);
  EXPECT_EQ(Form().ClientHeight(), clientH);
  DestroyWindow(foreign);
}

TEST_F(FrameTest, CaptionsAreMeasuredAndDrawnAsWideText) {
  TLacquerForm* frame = FApp.ShowSkinned(Form());
  ASSERT_NE(frame, nullptr);
  const std::string caption = "Arr\xC3\xAAt \xE2\x80\x94 Fran\xC3\xA7" "ais";  // UTF-8
  Form().SetCaption(caption);
  frame->UpdateNc();
  auto width = [&](const std::wstring& text) {
    win::TWindowDC screen(nullptr);
    win::TMemoryDC dc(screen.Get());
    win::TSelectGuard font(dc.Get(), frame->FCaptionFont->Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    return r.right - r.left;
  };
  wchar_t shown[64] = {};
  GetWindowTextW(Form().Handle(), shown, 64);
  EXPECT_EQ(std::wstring(shown), L"Arr\u00EAt \u2014 Fran\u00E7ais");
  const int wide = width(frame->FCaptionPrefix + L"Arr\u00EAt \u2014 Fran\u00E7ais" + frame->FCaptionSuffix);
  // Read through a one-byte code page, the same bytes would make a longer text.
  const int bytes = width(frame->FCaptionPrefix + L"Arr\u00C3\u00AAt \u00E2\u20AC\u201D Fran\u00C3\u00A7ais" +
                          frame->FCaptionSuffix);
  ASSERT_NE(wide, bytes);
  EXPECT_EQ(frame->FTextSize.cx, wide);
}

TEST_F(FrameTest, AHookedThreadsWindowsAreFramedThereAndLetGoWhenDestroyed) {
  ASSERT_NE(FApp.ShowSkinned(Form()), nullptr);
  std::atomic<DWORD> worker{0};
  std::atomic<bool> hooked{false}, done{false};
  std::atomic<HWND> window{nullptr};
  bool framed = false, letGo = false;
  std::thread thread([&] {
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before anyone posts
    worker = GetCurrentThreadId();
    bw::test::PumpUntil([&] { return hooked.load(); });
    HWND w = PlainWindow(GetModuleHandleW(nullptr), 220, 120);
    window = w;
    ShowWindow(w, SW_SHOW);  // the activation reaches the thread's hook
    framed = bw::test::PumpUntil([&] {
      TLacquerForm* frame = SkinManager->FindSkinForm(w);
      return frame && frame->FState == kFrameSkinned;
    });
    DestroyWindow(w);
    TLacquerForm* frame = SkinManager->FindSkinForm(w);
    letGo = frame && frame->FState == kFrameDestroyed;  // purged by the next pass over the list
    done = true;
  });
  ASSERT_TRUE(bw::test::PumpUntil([&] { return worker.load() != 0; }));
  const int slot = SkinManager->InstallThread(worker);
  EXPECT_GE(slot, 0);
  SkinManager->InstallThread(worker);  // once is enough: no second hook
  hooked = true;
  // This thread keeps its queue running: the other window's activation talks to ours.
  EXPECT_TRUE(bw::test::PumpUntil([&] { return done.load(); }, 10000));
  thread.join();
  EXPECT_TRUE(framed);
  EXPECT_TRUE(letGo);
  SkinManager->UnInstallThread(worker);
  SkinManager->DeleteDeleted();
  EXPECT_EQ(SkinManager->FindSkinForm(window), nullptr);
}

}  // namespace
}  // namespace bw::skin::test
