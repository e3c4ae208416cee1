// Forms and controls on real windows: creation from a description, class names, the
// object property, WindowProc replacement, reflected notifications, mouse enter and
// leave, the transparent colour, modal forms and the error display.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "framework/core/Exceptions.h"
#include "framework/win/Application.h"
#include "framework/win/Text.h"
#include "tests/framework/win/FormTestClasses.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

std::wstring ClassOf(HWND h) {
  wchar_t name[128] = {};
  GetClassNameW(h, name, 128);
  return name;
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFormTestClasses();
    FApp = std::make_unique<TApplication>(nullptr);
    FApp->Initialize();
    FApp->CreateForm(FForm);
  }
  void TearDown() override { FApp.reset(); }

  void ShowAndPump() {
    FForm->Show();
    FForm->Update();
    bw::test::WaitPainted(FForm->Handle());
  }
  // The pixel at the control's client point once it shows `expected` (or the wait ends).
  COLORREF PixelOf(TControl& control, int x, int y, COLORREF expected) {
    const POINT p = control.ClientToScreen(POINT{x, y});
    return bw::test::WaitForScreenPixel(p.x, p.y, expected);
  }

  std::unique_ptr<TApplication> FApp;
  TTestForm1* FForm = nullptr;
};

// Closes the first message box of this process that appears, remembering its text.
class TMessageBoxCloser {
 public:
  explicit TMessageBoxCloser(unsigned timeoutMs = 5000) {
    FThread = std::thread([this, timeoutMs] {
      const ULONGLONG end = GetTickCount64() + timeoutMs;
      while (GetTickCount64() < end && !FStop) {
        HWND box = FindBox();
        if (box) {
          wchar_t text[512] = {};
          GetDlgItemTextW(box, 0xFFFF, text, 512);
          FText = Narrow(text);
          FSeen = true;
          PostMessageW(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(20);
      }
    });
  }
  ~TMessageBoxCloser() { Join(); }
  void Join() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
  }
  bool Seen() const { return FSeen; }
  const std::string& Text() const { return FText; }

 private:
  static HWND FindBox() {
    struct TFind {
      HWND found = nullptr;
    } find;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == GetCurrentProcessId() && IsWindowVisible(w) && ClassOf(w) == L"#32770") {
            reinterpret_cast<TFind*>(p)->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
  }

  std::thread FThread;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FSeen{false};
  std::string FText;
};

TEST_F(FormTest, DescriptionBuildsTheFormWithItsControlsAndRunsOnCreate) {
  ASSERT_NE(FForm, nullptr);
  ASSERT_NE(FForm->Box1, nullptr);
  ASSERT_NE(FForm->Graphic1, nullptr);
  ASSERT_NE(FForm->Button1, nullptr);
  EXPECT_EQ(FForm->Log, std::vector<std::string>{"FormCreate"});
  EXPECT_EQ(FApp->MainForm(), FForm);
  EXPECT_EQ(FForm->Button1->Parent(), FForm);
  EXPECT_EQ(FForm->Button1->Caption(), "Press");
  ShowAndPump();
  EXPECT_EQ(FForm->ClientWidth(), 300);
  EXPECT_EQ(FForm->ClientHeight(), 200);
  EXPECT_EQ(FForm->Left(), 60);
  wchar_t text[64] = {};
  GetWindowTextW(FForm->Handle(), text, 64);
  EXPECT_EQ(Narrow(text), "Framework test");
}

TEST_F(FormTest, WindowsCarryTheirFrameworkClassNamesAndTheirObjects) {
  ShowAndPump();
  EXPECT_EQ(ClassOf(FForm->Handle()), L"TTestForm1");
  EXPECT_EQ(ClassOf(FForm->Box1->Handle()), L"TTestPaintBox");
  EXPECT_EQ(ClassOf(FForm->Button1->Handle()), L"TTestButton");
  const std::wstring prop = Widen(ControlPropName());
  EXPECT_EQ(prop.rfind(L"ControlOfs", 0), 0u);
  wchar_t thread[16];
  swprintf(thread, 16, L"%.8lX", static_cast<unsigned long>(GetCurrentThreadId()));
  EXPECT_EQ(prop.substr(prop.size() - 8), thread);  // module instance, then thread id
  EXPECT_EQ(GetPropW(FForm->Button1->Handle(), prop.c_str()), FForm->Button1);
  EXPECT_EQ(GetPropA(FForm->Handle(), reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ControlAtom()))), FForm);
  EXPECT_EQ(TWinControl::FromHandle(FForm->Box1->Handle()), FForm->Box1);
  EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr);
  EXPECT_EQ(Screen().FormCount(), 1);
  EXPECT_EQ(Screen().Forms(0), FForm);
}

TEST_F(FormTest, PaintsControlsAndWindowlessControlsOnScreen) {
  ShowAndPump();
  EXPECT_GE(FForm->Box1->Paints, 1);
  EXPECT_EQ(PixelOf(*FForm->Box1, 30, 20, RGB(0, 0, 255)), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(*FForm->Graphic1, 25, 15, RGB(0, 192, 0)), RGB(0, 192, 0));
  EXPECT_EQ(PixelOf(*FForm, 250, 150, RGB(255, 255, 255)), RGB(255, 255, 255));
  FForm->Graphic1->SetColor(RGB(200, 10, 10));
  FForm->Update();
  EXPECT_EQ(PixelOf(*FForm->Graphic1, 25, 15, RGB(200, 10, 10)), RGB(200, 10, 10));
  FForm->Graphic1->Hide();
  FForm->Update();
  EXPECT_EQ(PixelOf(*FForm, 125, 25, RGB(255, 255, 255)), RGB(255, 255, 255));
}

TEST_F(FormTest, ChildNotificationsAreReflectedToTheChild) {
  ShowAndPump();
  SendMessageW(FForm->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(FForm->Button1->ReflectedCommands, 1);
  EXPECT_EQ(FForm->Log.back(), "Button1Click");
}

TEST_F(FormTest, WindowProcCanBeReplacedAndRestored) {
  ShowAndPump();
  TTestPaintBox& box = *FForm->Box1;
  std::vector<UINT> seen;
  TWindowProcHook hook;
  hook = box.WindowProc.Replace([&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 5) {
      m.Result = 77;
      return;
    }
    hook->CallPrevious(m);
  });
  EXPECT_EQ(SendMessageW(box.Handle(), WM_USER + 5, 0, 0), 77);
  box.Invalidate();
  box.Update();
  const int paints = box.Paints;
  EXPECT_GE(paints, 1);
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_PAINT)), seen.end());
  EXPECT_TRUE(box.WindowProc.Restore(hook));
  seen.clear();
  EXPECT_EQ(SendMessageW(box.Handle(), WM_USER + 5, 0, 0), 0);
  EXPECT_TRUE(seen.empty());
}

void MoveMouseTo(POINT screen) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = (screen.x * 65536 + w - 1) / w;
  in.mi.dy = (screen.y * 65536 + h - 1) / h;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

TEST_F(FormTest, MouseEnterAndLeaveFollowTheCursorOverBothKindsOfControl) {
  ShowAndPump();
  std::vector<std::string> events;
  auto watch = [&](TControl& c, const char* name) {
    c.OnMouseEnter = [&events, name](core::TObject*) { events.push_back(std::string("enter ") + name); };
    c.OnMouseLeave = [&events, name](core::TObject*) { events.push_back(std::string("leave ") + name); };
  };
  watch(*FForm->Graphic1, "graphic");
  watch(*FForm->Box1, "box");
  MoveMouseTo(FForm->Graphic1->ClientToScreen(POINT{20, 10}));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Graphic1->MouseInControl(); }));
  EXPECT_EQ(MouseControl(), FForm->Graphic1);
  MoveMouseTo(FForm->Box1->ClientToScreen(POINT{20, 10}));
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Box1->MouseInControl(); }));
  EXPECT_FALSE(FForm->Graphic1->MouseInControl());
  // Off the form altogether: the leave notice comes from the window's mouse tracking.
  MoveMouseTo(POINT{FForm->Left() + FForm->Width() + 150, FForm->Top() + FForm->Height() + 150});
  ASSERT_TRUE(bw::test::PumpUntil([&] { return !FForm->Box1->MouseInControl(); }));
  EXPECT_EQ(events, (std::vector<std::string>{"enter graphic", "leave graphic", "enter box", "leave box"}));
}

TEST_F(FormTest, TransparentColourLetsTheWindowBelowShowThrough) {
  // The test form is the backdrop, white; a borderless form on top is fuchsia with a yellow box.
  FForm->SetBounds(50, 50, 300, 240);
  ShowAndPump();
  auto* top = CreateForm<TForm>(FApp.get());
  top->SetBorderStyle(TFormBorderStyle::bsNone);
  top->SetFormStyle(TFormStyle::fsStayOnTop);
  top->SetBounds(80, 80, 120, 100);
  top->SetColor(clFuchsia);
  top->SetTransparentColor(true);
  top->SetTransparentColorValue(clFuchsia);
  auto* box = new TTestPaintBox(top);
  box->SetBounds(10, 10, 40, 40);
  box->SetColor(RGB(255, 255, 0));
  box->SetParent(top);
  top->Show();
  top->Update();
  EXPECT_EQ(bw::test::WaitForScreenPixel(80 + 30, 80 + 30, RGB(255, 255, 0)), RGB(255, 255, 0));
  EXPECT_EQ(bw::test::WaitForScreenPixel(80 + 90, 80 + 70, RGB(255, 255, 255)), RGB(255, 255, 255));  // fuchsia: see-through
  top->SetTransparentColor(false);
  top->Invalidate();
  EXPECT_EQ(bw::test::WaitForScreenPixel(80 + 90, 80 + 70, RGB(255, 0, 255)), RGB(255, 0, 255));
}

TEST_F(FormTest, ProcessMessagesHandlesWhatIsPending) {
  ShowAndPump();
  int handled = 0;
  TWindowProcHook hook;
  hook = FForm->WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == WM_USER + 7) ++handled;
    hook->CallPrevious(m);
  });
  PostMessageW(FForm->Handle(), WM_USER + 7, 0, 0);
  PostMessageW(FForm->Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(handled, 0);
  FApp->ProcessMessages();
  EXPECT_EQ(handled, 2);
  FForm->WindowProc.Restore(hook);
}

TEST_F(FormTest, ShowModalReturnsTheModalResultAndReenablesTheOtherWindows) {
  ShowAndPump();
  auto* dialog = CreateForm<TForm>(FApp.get());
  dialog->SetBounds(120, 120, 200, 120);
  bool ownerDisabledMeanwhile = false;
  TWindowProcHook hook;
  hook = dialog->WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == WM_USER + 9) {
      ownerDisabledMeanwhile = !IsWindowEnabled(FForm->Handle());
      dialog->SetModalResult(mrOk);
    }
    hook->CallPrevious(m);
  });
  PostMessageW(dialog->Handle(), WM_USER + 9, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(FForm->Handle()));
  EXPECT_FALSE(dialog->Visible());
}

TEST_F(FormTest, ErrorsInHandlersAreShownAbortIsSilentForeignErrorsShowNoText) {
  ShowAndPump();
  HWND button = FForm->Button1->Handle();
  FForm->Button1->OnClick = [](core::TObject*) { throw core::Exception("Impossible de cr\xC3\xA9" "er le r\xC3\xA9pertoire"); };
  {
    TMessageBoxCloser closer;
    SendMessageW(button, BM_CLICK, 0, 0);
    closer.Join();
    EXPECT_TRUE(closer.Seen());
    EXPECT_EQ(closer.Text(), "Impossible de cr\xC3\xA9" "er le r\xC3\xA9pertoire.");
  }
  FForm->Button1->OnClick = [](core::TObject*) { core::Abort(); };
  {
    TMessageBoxCloser closer(600);
    SendMessageW(button, BM_CLICK, 0, 0);  // returns at once: nothing is shown
    closer.Join();
    EXPECT_FALSE(closer.Seen());
  }
  FForm->Button1->OnClick = [](core::TObject*) { throw std::runtime_error("not ours"); };
  {
    TMessageBoxCloser closer;
    SendMessageW(button, BM_CLICK, 0, 0);
    closer.Join();
    EXPECT_TRUE(closer.Seen());
    EXPECT_EQ(closer.Text(), "");
  }
}

TEST(Controls, OwnerFreesChildrenAndParentsFontReachesThem) {
  TApplication app(nullptr);
  auto* form = CreateForm<TForm>(&app);
  auto* box = new TTestPaintBox(form);
  box->SetParent(form);
  form->Font()->SetHeight(-16);
  EXPECT_EQ(box->Font()->Height(), -16);
  EXPECT_TRUE(box->ParentFont());
  box->Font()->SetHeight(-9);  // a font of its own
  EXPECT_FALSE(box->ParentFont());
  form->Font()->SetHeight(-20);
  EXPECT_EQ(box->Font()->Height(), -9);
  EXPECT_EQ(form->ControlCount(), 1);
  delete box;
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(form->FindComponent("") , nullptr);
}

}  // namespace
}  // namespace bw::win::test

namespace bw::win::test {
namespace {

TEST_F(FormTest, ScreenCentredFormsShowAndCloseInOrder) {
  auto* form = CreateForm<TForm>(FApp.get());
  form->SetBounds(0, 0, 200, 100);
  form->SetPosition(core::TPosition::poScreenCenter);
  std::vector<std::string> log;
  form->OnShow = [&](core::TObject*) { log.push_back("show"); };
  form->OnClose = [&](core::TObject*, TCloseAction& action) {
    log.push_back("close");
    EXPECT_EQ(action, TCloseAction::caHide);
  };
  form->Show();
  bw::test::WaitPainted(form->Handle());
  EXPECT_EQ(form->Left(), (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
  EXPECT_EQ(form->Top(), (GetSystemMetrics(SM_CYSCREEN) - 100) / 2);
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);  // the system's close command
  EXPECT_EQ(log, (std::vector<std::string>{"show", "close"}));
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(FApp->Terminated());  // not the main form
}

TEST_F(FormTest, TabOrderIsWindowOrderAndHintsBecomeToolTips) {
  auto* second = new TTestButton(FForm);
  second->SetBounds(100, 120, 80, 25);
  second->SetParent(FForm);
  second->SetTabOrder(0);
  ShowAndPump();
  EXPECT_EQ(second->TabOrder(), 0);
  EXPECT_EQ(FForm->Button1->TabOrder(), 2);  // Box1 keeps its place between them
  // Windows follow tab order, so the dialog navigation visits `second` first.
  EXPECT_EQ(GetNextDlgTabItem(FForm->Handle(), nullptr, FALSE), second->Handle());
  FForm->Button1->SetShowHint(true);
  FForm->Button1->SetHint("Press it");
  HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(tips, nullptr);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = FForm->Handle();
  info.uId = reinterpret_cast<UINT_PTR>(FForm->Button1->Handle());
  wchar_t text[64] = {};
  info.lpszText = text;
  EXPECT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(Narrow(text), "Press it");
  FForm->Button1->SetShowHint(false);
  EXPECT_FALSE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
}

TEST(Screen, MenuFontComesFromTheSystem) {
  TFont* font = Screen().MenuFont();
  ASSERT_NE(font, nullptr);
  EXPECT_FALSE(font->Name().empty());
  EXPECT_NE(font->Height(), 0);
}

}  // namespace
}  // namespace bw::win::test
