#pragma once
// Containers whose content may be larger than themselves: scroll boxes and frames.
#include <windows.h>

#include "framework/core/Enums.h"
#include "framework/win/Forms.h"

namespace bw::win {

using core::TBorderStyle;

// Keeps a control's own window scroll bars (WS_HSCROLL / WS_VSCROLL, shown only while
// needed) ranged over the extent of its visible children, and moves the children when
// the bars scroll. The control hands its messages to Before and After.
class TAutoScroller {
 public:
  static constexpr int kLineStepPx = 8;

  explicit TAutoScroller(TWinControl& control) : FControl(control) {}
  // Off: the bars go and the content returns to its place.
  void SetEnabled(bool enabled);
  // The content's offset: how far it is scrolled right and down, in pixels.
  POINT Position() const { return POINT{FX, FY}; }
  void ScrollTo(int x, int y);
  // Ranges from the children's extent now.
  void Update();

  // Scroll requests of the control's own bars and the mouse wheel; true when answered.
  bool Before(TMessage& message);
  // Follows size changes of the control and of its children.
  void After(const TMessage& message);

 private:
  int Limit(int bar) const;
  void MoveContent(int dx, int dy);

  TWinControl& FControl;
  int FX = 0, FY = 0;  // the content's offset
  bool FEnabled = true;
  bool FUpdating = false;  // the bars appearing resize the control
  bool FMoving = false;    // children moved by scrolling
};

class TScrollBox : public TScrollingWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TScrollBox(core::TComponent* owner);

  void SetAutoScroll(bool on) override;
  // bsSingle: a sunken border (WS_EX_CLIENTEDGE).
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle style);
  POINT ScrollPosition() const { return FScroller.Position(); }
  void ScrollTo(int x, int y) { FScroller.ScrollTo(x, y); }
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  TAutoScroller FScroller{*this};
};

// A frame: a container whose layout comes from the description registered under its
// class name (as a form's does), embedded in a form. The frame owns the components of
// its description; a form's description may set the frame's own properties after them.
class TCustomFrame : public TScrollingWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TCustomFrame(core::TComponent* owner);

  void SetAutoScroll(bool on) override;
  // Reads the registered description of this class, if any; raises EReadError when it
  // is damaged (nothing of it is kept then).
  void ReadDescription();
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  TAutoScroller FScroller{*this};
};

class TFrame : public TCustomFrame {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TFrame(core::TComponent* owner) : TCustomFrame(owner) {}
};

// Builds frame T with its description: the Create function of frame classes, so that a
// form's description that names the class embeds the frame's own layout.
template <class T>
core::TComponent* CreateFrameOf(core::TComponent* owner) {
  auto* frame = new T(owner);
  try {
    frame->ReadDescription();
  } catch (...) {
    delete frame;
    throw;
  }
  return frame;
}

template <class T>
T* CreateFrame(core::TComponent* owner) {
  return static_cast<T*>(CreateFrameOf<T>(owner));
}

void RegisterScrollingControls();

}  // namespace bw::win
