#pragma once
// No exception crosses a window, hook or timer procedure: the procedure catches and hands
// the error here. The application installs its error display; until then errors are
// dropped (EAbort always is).
#include <exception>

#include "framework/core/Object.h"

namespace bw::win {

using TCallbackErrorHandler = void (*)(core::TObject* sender, std::exception_ptr error);

// Answers the handler installed before; nullptr restores the default.
TCallbackErrorHandler SetCallbackErrorHandler(TCallbackErrorHandler handler);
// Call inside a catch block: passes the exception being handled on. Never raises.
void HandleCallbackError(core::TObject* sender) noexcept;

}  // namespace bw::win
