#include "framework/win/WindowProcSlot.h"

namespace bw::win {

void TWindowProcLink::CallPrevious(TMessage& message) const {
  if (const TWindowProcHook next = FNext) {  // a copy: the link survives its own release
    next->FHandler(message);
    return;
  }
  if (const auto base = FBase.lock()) (*base)(message);
}

void TWindowProcSlot::operator()(TMessage& message) const {
  if (const TWindowProcHook head = FHead) {
    head->FHandler(message);
    return;
  }
  (*FBase)(message);
}

TWindowProcHook TWindowProcSlot::Replace(TWndMethod handler) {
  auto link = std::make_shared<TWindowProcLink>();
  link->FHandler = std::move(handler);
  link->FNext = FHead;
  link->FBase = FBase;
  FHead = link;
  return link;
}

bool TWindowProcSlot::Restore(const TWindowProcHook& hook) {
  if (!hook) return false;
  if (FHead == hook) {
    FHead = hook->FNext;
    return true;
  }
  for (TWindowProcLink* link = FHead.get(); link; link = link->FNext.get()) {
    if (link->FNext == hook) {
      link->FNext = hook->FNext;  // the released link keeps its own way down
      return true;
    }
  }
  return false;
}

int TWindowProcSlot::Depth() const {
  int depth = 0;
  for (const TWindowProcLink* link = FHead.get(); link; link = link->FNext.get()) ++depth;
  return depth;
}

}  // namespace bw::win
