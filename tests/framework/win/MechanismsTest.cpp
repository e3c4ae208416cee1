// What code that takes controls and windows over relies on: the WindowProc chain released
// in any order, window subclasses that never cut a chain, captions through the window's
// chain, owner-draw requests reaching their child, re-creation announced, children freed by
// their owner only, and a paint that throws.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "framework/win/Subclass.h"
#include "framework/win/Text.h"
#include "tests/framework/win/FormTestClasses.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

constexpr UINT kProbe = WM_USER + 40;

// Records which handlers a message passed, bottom handler included.
class TRecorder : public TCustomControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TRecorder(core::TComponent* owner, std::vector<std::string>* log = nullptr, bool* freed = nullptr)
      : TCustomControl(owner), FLog(log), FFreed(freed) {}
  ~TRecorder() override {
    if (FFreed) *FFreed = true;
  }
  int MeasureRequests = 0;
  UINT MeasuredId = 0;
  bool ThrowInPaint = false;
  int Paints = 0;

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == kProbe && FLog) FLog->push_back("base");
    TCustomControl::WndProc(message);
  }
  void Paint() override {
    ++Paints;
    Canvas().Brush().SetColor(RGB(10, 20, 30));
    Canvas().FillRect(ClientRect());
    if (ThrowInPaint) throw std::runtime_error("paint failed");
  }

 private:
  std::vector<std::string>* FLog;
  bool* FFreed;
};
const core::TClassInfo TRecorder::kClass{"TRecorder", &TCustomControl::kClass, {}, {}};

// A system list box asking its parent for each item's height.
class TOwnerDrawList : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TOwnerDrawList(core::TComponent* owner) : TWinControl(owner) {}
  int MeasureRequests = 0;
  UINT MeasuredId = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.SystemClass = L"LISTBOX";
    params.Style |= LBS_OWNERDRAWVARIABLE | LBS_NOTIFY;
  }
  void WndProc(TMessage& message) override {
    if (message.Msg == CN_MEASUREITEM) {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      ++MeasureRequests;
      MeasuredId = item->CtlID;
      item->itemHeight = 18;
      message.Result = TRUE;
      return;
    }
    TWinControl::WndProc(message);
  }
};
const core::TClassInfo TOwnerDrawList::kClass{"TOwnerDrawList", &TWinControl::kClass, {}, {}};

class MechanismsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FForm = new TForm(nullptr);
    FForm->SetBounds(40, 40, 320, 240);
  }
  void TearDown() override { delete FForm; }
  TRecorder& AddRecorder(std::vector<std::string>* log) {
    auto* r = new TRecorder(FForm, log);
    r->SetBounds(10, 10, 60, 40);
    r->SetParent(FForm);
    return *r;
  }
  TForm* FForm = nullptr;
};

TEST_F(MechanismsTest, TakeoversOfTheWindowProcMayEndInEitherOrder) {
  for (const bool firstEndsFirst : {true, false}) {
    std::vector<std::string> log;
    TRecorder& control = AddRecorder(&log);
    TWindowProcHook a, b;
    a = control.WindowProc.Replace([&](TMessage& m) {
      if (m.Msg == kProbe) log.push_back("a");
      a->CallPrevious(m);
    });
    b = control.WindowProc.Replace([&](TMessage& m) {
      if (m.Msg == kProbe) log.push_back("b");
      b->CallPrevious(m);
    });
    control.Perform(kProbe);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "base"}));
    log.clear();
    EXPECT_TRUE(control.WindowProc.Restore(firstEndsFirst ? a : b));
    control.Perform(kProbe);
    EXPECT_EQ(log, (std::vector<std::string>{firstEndsFirst ? "b" : "a", "base"})) << firstEndsFirst;
    log.clear();
    EXPECT_TRUE(control.WindowProc.Restore(firstEndsFirst ? b : a));
    EXPECT_FALSE(control.WindowProc.Restore(a));  // released already
    EXPECT_FALSE(control.WindowProc.Replaced());
    control.Perform(kProbe);
    EXPECT_EQ(log, std::vector<std::string>{"base"});
    delete &control;
  }
}

TEST_F(MechanismsTest, AHandlerMayReleaseItselfOrAddAnotherWhileItRuns) {
  std::vector<std::string> log;
  TRecorder& control = AddRecorder(&log);
  TWindowProcHook self, later;
  self = control.WindowProc.Replace([&](TMessage& m) {
    if (m.Msg != kProbe) return self->CallPrevious(m);
    log.push_back("self");
    control.WindowProc.Restore(self);  // as a painter does inside WM_NCDESTROY
    later = control.WindowProc.Replace([&](TMessage& inner) {
      if (inner.Msg == kProbe) log.push_back("later");
      later->CallPrevious(inner);
    });
    self->CallPrevious(m);  // still reaches the bottom
  });
  control.Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"self", "base"}));
  log.clear();
  control.Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"later", "base"}));
  EXPECT_EQ(control.WindowProc.Depth(), 1);
}

TEST_F(MechanismsTest, WindowSubclassesStackAndAReleaseBeneathAnotherNeverCutsTheChain) {
  FForm->HandleNeeded();
  HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, FForm->Handle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  for (const bool lowerEndsFirst : {false, true}) {
    const auto original = GetWindowLongPtrW(window, GWLP_WNDPROC);
    std::vector<std::string> log;
    auto lower = std::make_unique<TWindowSubclass>();
    auto upper = std::make_unique<TWindowSubclass>();
    ASSERT_TRUE(lower->Install(window, [&](UINT msg, WPARAM w, LPARAM l) {
      if (msg == kProbe) log.push_back("lower");
      return lower->CallPrevious(msg, w, l);
    }));
    EXPECT_FALSE(lower->Install(window, nullptr));  // once per owner
    ASSERT_TRUE(upper->Install(window, [&](UINT msg, WPARAM w, LPARAM l) {
      if (msg == kProbe) log.push_back("upper");
      return upper->CallPrevious(msg, w, l);
    }));
    SendMessageW(window, kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"upper", "lower"}));
    log.clear();
    if (lowerEndsFirst) {
      lower.reset();  // beneath `upper`: stays in the chain, passing messages on
      EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(upper->Procedure()));
      SendMessageW(window, kProbe, 0, 0);
      EXPECT_EQ(log, std::vector<std::string>{"upper"});
      upper.reset();
      EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), original);  // the pass-through stays until the window goes
    } else {
      upper.reset();
      lower.reset();
      EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    }
    SetWindowTextW(window, L"still answers");
    wchar_t text[32] = {};
    GetWindowTextW(window, text, 32);
    EXPECT_STREQ(text, L"still answers");
  }
  DestroyWindow(window);  // frees the pass-through left by the first round
}

TEST_F(MechanismsTest, ASubclassMayReleaseItselfInsideItsLastMessage) {
  FForm->HandleNeeded();
  HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, FForm->Handle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  TWindowSubclass owner;
  bool passedOn = false;
  ASSERT_TRUE(owner.Install(window, [&](UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_NCDESTROY) return owner.CallPrevious(msg, w, l);
    const LRESULT r = owner.CallPrevious(msg, w, l);
    passedOn = true;
    owner.Restore();
    return r;
  }));
  DestroyWindow(window);
  EXPECT_TRUE(passedOn);
  EXPECT_FALSE(owner.Installed());
}

TEST_F(MechanismsTest, CaptionChangesPassThroughTheWindowsChain) {
  auto* panel = new TPanel(FForm);
  panel->SetParent(FForm);
  FForm->HandleNeeded();
  std::vector<std::wstring> subclassSaw;
  std::vector<std::string> slotSaw;
  TWindowSubclass recorder;
  ASSERT_TRUE(recorder.Install(panel->Handle(), [&](UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_SETTEXT) subclassSaw.emplace_back(reinterpret_cast<const wchar_t*>(l));
    return recorder.CallPrevious(msg, w, l);
  }));
  int textChanges = 0;
  TWindowProcHook hook;
  hook = panel->WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == WM_SETTEXT) slotSaw.push_back(Narrow(reinterpret_cast<const wchar_t*>(m.LParam)));
    if (m.Msg == CM_TEXTCHANGED) ++textChanges;
    hook->CallPrevious(m);
  });
  panel->SetCaption("Caf\xC3\xA9");
  EXPECT_EQ(subclassSaw, std::vector<std::wstring>{L"Caf\u00E9"});
  EXPECT_EQ(slotSaw, std::vector<std::string>{"Caf\xC3\xA9"});
  EXPECT_EQ(panel->Caption(), "Caf\xC3\xA9");
  // A change from outside is the control's caption too.
  SetWindowTextW(panel->Handle(), L"Outside");
  EXPECT_EQ(panel->Caption(), "Outside");
  EXPECT_EQ(textChanges, 2);
  panel->WindowProc.Restore(hook);
  recorder.Restore();
}

TEST_F(MechanismsTest, OwnerDrawMeasureRequestsReachTheirChild) {
  auto* list = new TOwnerDrawList(FForm);
  list->SetBounds(10, 10, 120, 100);
  list->SetParent(FForm);
  auto* other = new TOwnerDrawList(FForm);
  other->SetBounds(140, 10, 120, 100);
  other->SetParent(FForm);
  FForm->HandleNeeded();
  ASSERT_NE(list->ControlId(), 0);
  EXPECT_NE(list->ControlId(), other->ControlId());
  EXPECT_GE(list->ControlId(), 0x100);  // above the dialog command ids
  EXPECT_EQ(GetDlgItem(FForm->Handle(), list->ControlId()), list->Handle());
  SendMessageW(list->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
  EXPECT_EQ(list->MeasureRequests, 1);
  EXPECT_EQ(list->MeasuredId, static_cast<UINT>(list->ControlId()));
  EXPECT_EQ(other->MeasureRequests, 0);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 18);
}

TEST_F(MechanismsTest, RecreationIsAnnouncedOnTheChainAndKeepsTheChildren) {
  auto* panel = new TPanel(FForm);
  panel->SetParent(FForm);
  auto* child = new TPanel(FForm);
  child->SetParent(panel);
  FForm->HandleNeeded();
  const HWND before = panel->Handle();
  HWND during = nullptr, after = nullptr;
  TWindowProcHook hook;
  hook = panel->WindowProc.Replace([&](TMessage& m) {
    if (m.Msg == CM_RECREATEWND) during = panel->WindowHandle();
    hook->CallPrevious(m);
    if (m.Msg == CM_RECREATEWND) after = panel->WindowHandle();
  });
  panel->RecreateWnd();
  EXPECT_EQ(during, before);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(GetParent(child->Handle()), after);
  EXPECT_EQ(TWinControl::FromHandle(after), panel);
  panel->WindowProc.Restore(hook);
}

TEST_F(MechanismsTest, AParentFreesTheChildrenItOwnsAndLeavesTheOthersToTheirOwners) {
  auto* panel = new TPanel(FForm);
  panel->SetParent(FForm);
  bool ownedFreed = false, othersFreed = false;
  auto* owned = new TRecorder(panel, nullptr, &ownedFreed);
  owned->SetParent(panel);
  auto* others = new TRecorder(FForm, nullptr, &othersFreed);
  others->SetParent(panel);
  FForm->HandleNeeded();
  delete panel;
  EXPECT_TRUE(ownedFreed);
  EXPECT_FALSE(othersFreed);
  EXPECT_EQ(others->Parent(), nullptr);
  delete others;
  EXPECT_TRUE(othersFreed);
}

TEST_F(MechanismsTest, APaintThatThrowsStillEndsThePaint) {
  TRecorder& control = AddRecorder(nullptr);
  control.SetDoubleBuffered(true);
  control.ThrowInPaint = true;
  FForm->Show();
  for (int i = 0; i < 50; ++i) {
    control.Invalidate();
    control.Update();  // the exception is caught at the window procedure
    RECT pending;
    ASSERT_FALSE(GetUpdateRect(control.Handle(), &pending, FALSE)) << "paint " << i << " was not ended";
  }
  EXPECT_GE(control.Paints, 50);
  control.ThrowInPaint = false;
  control.Invalidate();
  control.Update();
  const POINT p = control.ClientToScreen(POINT{5, 5});
  EXPECT_EQ(bw::test::WaitForScreenPixel(p.x, p.y, RGB(10, 20, 30)), RGB(10, 20, 30));
}

}  // namespace
}  // namespace bw::win::test
