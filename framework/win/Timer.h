#pragma once
// A timer component: OnTimer every Interval milliseconds while Enabled, through a hidden
// message-only window of its own on the thread that made the timer.
#include <windows.h>

#include <cstdint>

#include "framework/core/Component.h"
#include "framework/core/TypeInfo.h"

namespace bw::win {

class TTimer : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  static constexpr std::uint32_t kDefaultIntervalMs = 1000;

  explicit TTimer(core::TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return FIntervalMs; }
  void SetInterval(std::uint32_t intervalMs);
  // No timer runs while this is unassigned; assign through SetOnTimer so it starts.
  const core::TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(core::TNotifyEvent::THandler handler);
  // Whether the system timer is set now.
  bool Running() const { return FRunning; }

  void Loaded() override;

 protected:
  // Calls OnTimer; exceptions stay inside the timer's window procedure.
  virtual void Timer();

 private:
  static const core::TPropInfo kProps[];
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void UpdateTimer();

  HWND FWindow = nullptr;
  bool FEnabled = true;
  bool FRunning = false;
  std::uint32_t FIntervalMs = kDefaultIntervalMs;
  core::TNotifyEvent FOnTimer;
};

}  // namespace bw::win
