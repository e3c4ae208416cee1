// Timers: fire while enabled with a handler, stop when disabled; errors stay inside.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/core/Exceptions.h"
#include "framework/win/CallbackErrors.h"
#include "framework/core/ClassRegistry.h"
#include "framework/win/Timer.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win {
namespace {

using test::PumpUntil;

TEST(Timer, FiresWhileEnabledAndStopsWhenDisabled) {
  TTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(timer.Running());  // no handler yet
  int fired = 0;
  core::TObject* sender = nullptr;
  timer.SetInterval(10);
  timer.SetOnTimer([&](core::TObject* s) {
    ++fired;
    sender = s;
  });
  EXPECT_TRUE(timer.Running());
  ASSERT_TRUE(PumpUntil([&] { return fired >= 3; }));
  EXPECT_EQ(sender, &timer);

  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  const int stoppedAt = fired;
  test::PumpMessages(100);
  EXPECT_EQ(fired, stoppedAt);

  timer.SetEnabled(true);
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  timer.SetInterval(15);  // a change while running restarts it
  EXPECT_TRUE(timer.Running());
  ASSERT_TRUE(PumpUntil([&] { return fired > stoppedAt; }));
}

TEST(Timer, ErrorsInTheHandlerGoToTheCallbackHandler) {
  static int reported = 0;
  static std::string message;
  const TCallbackErrorHandler previous = SetCallbackErrorHandler([](core::TObject*, std::exception_ptr error) {
    ++reported;
    try {
      std::rethrow_exception(error);
    } catch (const core::Exception& e) {
      message = e.Message();
    } catch (...) {
    }
  });
  TTimer timer(nullptr);
  timer.SetInterval(10);
  int aborted = 0;
  timer.SetOnTimer([&](core::TObject*) {
    if (aborted++ == 0) core::Abort();  // silent: not reported
    throw core::EConvertError("bad number");
  });
  EXPECT_TRUE(PumpUntil([&] { return reported > 0; }));
  timer.SetEnabled(false);
  SetCallbackErrorHandler(previous);
  EXPECT_GE(aborted, 2);
  EXPECT_EQ(message, "bad number");
}

TEST(Timer, MadeByClassNameWithPublishedProperties) {
  std::unique_ptr<core::TComponent> made(core::CreateComponent("TTimer", nullptr));
  auto* timer = dynamic_cast<TTimer*>(made.get());
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(core::SetIntProp(timer, "Interval", 250), core::TPropResult::Done);
  EXPECT_EQ(core::SetEnumProp(timer, "Enabled", "False"), core::TPropResult::Done);
  EXPECT_EQ(timer->Interval(), 250u);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_NE(core::GetEventProp(timer, "OnTimer"), nullptr);
}

}  // namespace
}  // namespace bw::win
