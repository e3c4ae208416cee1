#include "framework/core/Exceptions.h"

namespace bw::core {

void Abort() { throw EAbort(); }

}  // namespace bw::core
