#include "framework/win/CallbackErrors.h"

#include <atomic>

#include "framework/core/Exceptions.h"

namespace bw::win {

namespace {
std::atomic<TCallbackErrorHandler> gHandler{nullptr};
}

TCallbackErrorHandler SetCallbackErrorHandler(TCallbackErrorHandler handler) { return gHandler.exchange(handler); }

void HandleCallbackError(core::TObject* sender) noexcept {
  const std::exception_ptr error = std::current_exception();
  if (!error) return;
  try {
    std::rethrow_exception(error);
  } catch (const core::EAbort&) {
    return;
  } catch (...) {
  }
  const TCallbackErrorHandler handler = gHandler.load();
  if (handler == nullptr) return;
  try {
    handler(sender, error);
  } catch (...) {  // the handler's own failure has nowhere left to go
  }
}

}  // namespace bw::win
