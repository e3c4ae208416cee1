#pragma once
// A control's replaceable message handler as a chain of takeovers. Each takeover is a
// link on top of the chain; releasing a link takes it out wherever it stands, so takeovers
// may end in any order and always leave what stood below them. A handler may add or
// release links (its own included) while it runs: a released link keeps its way down.
#include <memory>

#include "framework/win/Messages.h"

namespace bw::win {

class TWindowProcSlot;

class TWindowProcLink {
 public:
  // Hands the message to what stands below this link now (or stood below it when it was
  // released); at the bottom, to the control's own handler. Nothing once the control is gone.
  void CallPrevious(TMessage& message) const;

 private:
  friend class TWindowProcSlot;
  TWndMethod FHandler;
  std::shared_ptr<TWindowProcLink> FNext;
  std::weak_ptr<const TWndMethod> FBase;  // expires with the slot
};
using TWindowProcHook = std::shared_ptr<TWindowProcLink>;

class TWindowProcSlot {
 public:
  explicit TWindowProcSlot(TWndMethod base) : FBase(std::make_shared<const TWndMethod>(std::move(base))) {}
  TWindowProcSlot(const TWindowProcSlot&) = delete;
  TWindowProcSlot& operator=(const TWindowProcSlot&) = delete;

  void operator()(TMessage& message) const;
  // Puts handler on top; keep the answer to call what it replaced and to release it.
  TWindowProcHook Replace(TWndMethod handler);
  // Takes the link out of the chain; false when it is not on it (released already).
  bool Restore(const TWindowProcHook& hook);
  bool Replaced() const { return FHead != nullptr; }
  bool OnTop(const TWindowProcHook& hook) const { return hook && FHead == hook; }
  // Takeovers in the chain now.
  int Depth() const;

 private:
  std::shared_ptr<const TWndMethod> FBase;
  TWindowProcHook FHead;
};

}  // namespace bw::win
