#include "framework/win/Timer.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/win/CallbackErrors.h"

namespace bw::win {

namespace {

constexpr wchar_t kWindowClass[] = L"TTimerWindow";
constexpr UINT_PTR kTimerId = 1;

// Same for every timer; registered once per module.
bool RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSW wc{};
  if (GetClassInfoW(instance, kWindowClass, &wc)) return true;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

const core::TPropInfo TTimer::kProps[] = {
    core::BoolProp<&TTimer::FEnabled, &TTimer::SetEnabled>("Enabled", true),
    core::IntProp<&TTimer::FIntervalMs, &TTimer::SetInterval>("Interval", kDefaultIntervalMs),
    core::EventProp<&TTimer::FOnTimer>("OnTimer"),
};
const core::TClassInfo TTimer::kClass{"TTimer", &core::TComponent::kClass, kProps, {},
                                      &core::CreateComponentOf<TTimer>};
namespace {
const core::TClassRegistration kRegistration{TTimer::kClass};
}

TTimer::TTimer(core::TComponent* owner) : core::TComponent(owner) {}

TTimer::~TTimer() {
  if (FWindow) {
    if (FRunning) KillTimer(FWindow, kTimerId);
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
  }
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(std::uint32_t intervalMs) {
  if (intervalMs == FIntervalMs) return;
  FIntervalMs = intervalMs;
  UpdateTimer();
}

void TTimer::SetOnTimer(core::TNotifyEvent::THandler handler) {
  FOnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  core::TComponent::Loaded();
  UpdateTimer();  // the handler is bound only once the whole form is read
}

void TTimer::UpdateTimer() {
  if (FRunning) {
    KillTimer(FWindow, kTimerId);
    FRunning = false;
  }
  if (!FEnabled || FIntervalMs == 0 || !FOnTimer || IsLoading() || IsDestroying()) return;
  if (!FWindow) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (RegisterWindowClass(instance, &TTimer::WindowProc))
      FWindow = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!FWindow) throw core::Exception("Cannot make the timer's window (error " + std::to_string(GetLastError()) + ")");
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!SetTimer(FWindow, kTimerId, FIntervalMs, nullptr)) throw core::Exception("Not enough timers available");
  FRunning = true;
}

void TTimer::Timer() { FOnTimer(this); }

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timer != nullptr && timer->FRunning) {
      try {
        timer->Timer();
      } catch (...) {
        HandleCallbackError(timer);
      }
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace bw::win
