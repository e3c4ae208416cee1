// Kinds of forms: MDI frames and their children, forms inside forms, window states, the
// active control and the screen's forms in z-order.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Application.h"
#include "framework/win/Buttons.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Text.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win {
namespace {

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStdControls();
    FApp = std::make_unique<TApplication>(nullptr);
    FApp->Initialize();
  }
  // The main form, an MDI frame with a window menu, and `children` children.
  TForm* MakeFrame(int children) {
    auto* frame = CreateForm<TForm>(FApp.get());
    FApp->SetMainForm(frame);
    frame->SetFormStyle(TFormStyle::fsMDIForm);
    frame->SetBounds(20, 20, 640, 480);
    auto* menu = new TMainMenu(frame);
    auto* window = new TMenuItem(frame);
    window->SetCaption("&Window");
    menu->Items()->Add(window);
    frame->SetMenu(menu);
    frame->SetWindowMenu(window);
    frame->Show();
    for (int i = 0; i < children; ++i) {
      auto* child = new TForm(FApp.get());
      child->SetFormStyle(TFormStyle::fsMDIChild);
      child->SetCaption("Child " + std::to_string(i + 1));
      child->SetBounds(10 * i, 10 * i, 200, 150);
      child->Show();
    }
    bw::test::WaitPainted(frame->Handle());
    return frame;
  }
  std::unique_ptr<TApplication> FApp;
};

TEST_F(FormsTest, AnMDIFrameHoldsItsChildrenInItsClient) {
  TForm* frame = MakeFrame(3);
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(GetParent(client), frame->Handle());
  EXPECT_EQ(ClassOf(client), L"MDIClient");
  ASSERT_EQ(frame->MDIChildCount(), 3);
  TCustomForm* active = frame->ActiveMDIChild();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->Caption(), "Child 3");
  EXPECT_EQ(frame->MDIChildren(0), active);
  for (int i = 0; i < 3; ++i) {
    HWND h = frame->MDIChildren(i)->Handle();
    EXPECT_EQ(GetParent(h), client);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_MDICHILD);
  }
  // The window menu lists the children after a separator.
  HMENU windowMenu = frame->WindowMenu()->Handle();
  EXPECT_GE(GetMenuItemCount(windowMenu), 4);
  EXPECT_EQ(core::GetEnumProp(active, "FormStyle"), "fsMDIChild");
  EXPECT_EQ(core::GetEnumProp(frame, "FormStyle"), "fsMDIForm");
}

TEST_F(FormsTest, MDIChildrenMaximiseRestoreTileCascadeAndClose) {
  TForm* frame = MakeFrame(3);
  TCustomForm* child = frame->ActiveMDIChild();
  ASSERT_NE(child, nullptr);
  child->SetWindowState(TWindowState::wsMaximized);
  EXPECT_TRUE(IsZoomed(child->Handle()));
  EXPECT_EQ(child->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(core::GetEnumProp(child, "WindowState"), "wsMaximized");
  child->SetWindowState(TWindowState::wsNormal);
  EXPECT_FALSE(IsZoomed(child->Handle()));

  frame->Tile();
  RECT clientArea;
  GetClientRect(frame->ClientHandle(), &clientArea);
  RECT r[3];
  for (int i = 0; i < 3; ++i) {
    GetWindowRect(frame->MDIChildren(i)->Handle(), &r[i]);
    MapWindowPoints(nullptr, frame->ClientHandle(), reinterpret_cast<POINT*>(&r[i]), 2);
    EXPECT_GE(r[i].left, clientArea.left);
    EXPECT_LE(r[i].right, clientArea.right);
  }
  EXPECT_FALSE(Overlap(r[0], r[1]));
  EXPECT_FALSE(Overlap(r[1], r[2]));
  EXPECT_FALSE(Overlap(r[0], r[2]));

  frame->Cascade();
  RECT first, second;
  GetWindowRect(frame->MDIChildren(0)->Handle(), &first);
  GetWindowRect(frame->MDIChildren(1)->Handle(), &second);
  EXPECT_NE(first.left, second.left);  // stepped, not stacked
  EXPECT_NE(first.top, second.top);

  bool destroyed = false;
  child->OnDestroy = [&](core::TObject*) { destroyed = true; };
  SendMessageW(child->Handle(), WM_CLOSE, 0, 0);  // freed once the pending messages ran
  EXPECT_TRUE(bw::test::PumpUntil([&] { return destroyed; }));
  EXPECT_EQ(frame->MDIChildCount(), 2);
}

TEST_F(FormsTest, TheActiveChildsMenuMergesIntoTheFramesBarByGroup) {
  TForm* frame = MakeFrame(1);
  HMENU bar = frame->Menu()->Handle();
  ASSERT_EQ(GetMenuItemCount(bar), 1);  // Window
  frame->WindowMenu()->SetGroupIndex(9);
  auto* child = new TForm(FApp.get());
  child->SetFormStyle(TFormStyle::fsMDIChild);
  auto* menu = new TMainMenu(child);
  auto* edit = new TMenuItem(child);
  edit->SetCaption("&Edit");
  edit->SetGroupIndex(2);
  menu->Items()->Add(edit);
  auto* undo = new TMenuItem(child);
  undo->SetCaption("&Undo");
  edit->Add(undo);
  int undone = 0;
  undo->OnClick = [&](core::TObject*) { ++undone; };
  child->SetMenu(menu);
  child->Show();
  ASSERT_TRUE(bw::test::PumpUntil([&] { return GetMenuItemCount(bar) == 2; }));
  wchar_t text[32] = {};
  GetMenuStringW(bar, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Edit");  // group 2 goes before the frame's group 9
  SendMessageW(frame->Handle(), WM_COMMAND, undo->Command(), 0);
  EXPECT_EQ(undone, 1);
  // Another child without a menu becomes active: the bar is the frame's alone again.
  auto* plain = new TForm(FApp.get());
  plain->SetFormStyle(TFormStyle::fsMDIChild);
  plain->Show();
  EXPECT_TRUE(bw::test::PumpUntil([&] { return GetMenuItemCount(bar) == 1; }));
  delete child;
  EXPECT_EQ(frame->Menu()->Merged(), nullptr);
}

TEST_F(FormsTest, TheMDIClientLeavesRoomForEdgeControls) {
  TForm* frame = MakeFrame(1);
  auto* bar = new TPanel(frame);
  bar->SetBounds(0, 0, frame->ClientWidth(), 30);
  bar->SetParent(frame);
  SendMessageW(frame->Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(frame->ClientWidth(), frame->ClientHeight()));
  RECT client;
  GetWindowRect(frame->ClientHandle(), &client);
  MapWindowPoints(nullptr, frame->Handle(), reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(client.top, 30);
  EXPECT_EQ(client.bottom, frame->ClientHeight());
}

TEST_F(FormsTest, AFormInsideAnotherIsAChildWindowThere) {
  auto* host = CreateForm<TForm>(FApp.get());
  host->SetBounds(50, 50, 400, 300);
  auto* panel = new TPanel(host);
  panel->SetBounds(10, 10, 300, 200);
  panel->SetParent(host);
  host->Show();
  auto* inner = CreateForm<TForm>(FApp.get());
  inner->SetBorderStyle(TFormBorderStyle::bsNone);
  inner->SetBounds(5, 5, 120, 80);
  inner->SetParent(panel);
  inner->Show();
  HWND h = inner->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetParent(h), panel->Handle());
  EXPECT_FALSE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_MDICHILD);
  RECT r;
  GetWindowRect(h, &r);
  const POINT corner = panel->ClientToScreen(POINT{5, 5});
  EXPECT_EQ(r.left, corner.x);
  EXPECT_EQ(r.top, corner.y);
  EXPECT_TRUE(IsWindowVisible(h));
  // Out again: a top-level window once more.
  inner->SetParent(nullptr);
  inner->Show();
  EXPECT_FALSE(GetWindowLongPtrW(inner->Handle(), GWL_STYLE) & WS_CHILD);
}

TEST_F(FormsTest, WindowStateAndTheActiveControlApplyWhenShown) {
  auto* form = CreateForm<TForm>(FApp.get());
  form->SetBounds(40, 40, 300, 200);
  auto* first = new TButton(form);
  first->SetParent(form);
  auto* second = new TButton(form);
  second->SetTop(40);
  second->SetParent(form);
  EXPECT_EQ(core::SetEnumProp(form, "WindowState", "wsMaximized"), core::TPropResult::Done);
  EXPECT_EQ(core::SetObjectProp(form, "ActiveControl", second), core::TPropResult::Done);
  form->Show();
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(GetFocus(), second->Handle());
  EXPECT_EQ(form->ActiveControl(), second);
  first->SetFocus();
  EXPECT_EQ(form->ActiveControl(), first);
  form->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
  delete second;
  EXPECT_NE(form->ActiveControl(), second);
}

TEST_F(FormsTest, ScreenFormsFollowTheZOrder) {
  auto* a = CreateForm<TForm>(FApp.get());
  a->SetBounds(10, 10, 200, 100);
  a->Show();
  auto* b = CreateForm<TForm>(FApp.get());
  b->SetBounds(30, 30, 200, 100);
  b->Show();
  auto* hidden = CreateForm<TForm>(FApp.get());  // no window yet: last
  SetWindowPos(a->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_EQ(Screen().FormCount(), 3);
  EXPECT_EQ(Screen().Forms(0), a);
  EXPECT_EQ(Screen().Forms(1), b);
  EXPECT_EQ(Screen().Forms(2), hidden);
  SetWindowPos(b->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(Screen().Forms(0), b);
  EXPECT_THROW(Screen().Forms(3), core::EListError);
}

}  // namespace
}  // namespace bw::win
