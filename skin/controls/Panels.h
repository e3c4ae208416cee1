#pragma once
// Containers in the skin's colours: panels, frames and tool bars take the face colour,
// bare dialog windows are filled with it, group boxes get a thin rounded frame with the
// caption over it, tool-bar backgrounds a skin image or a gradient.
#include <windows.h>

#include <functional>

#include "skin/controls/WinSubClass.h"

namespace bw::skin {

// Recolours its control to the face colour while attached; takes no messages over.
class TSkinBox : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinBox(core::TComponent* owner) : TSkinControl(owner) {}
  ~TSkinBox() override;

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  void Unsubclass() override;
  void AfterProc(win::TMessage&) override {}
  // Run once when the painter lets its control go (discovery's changes to a tool bar).
  void SetReleaseAction(std::function<void()> action) { FReleaseAction = std::move(action); }

 private:
  void RunReleaseAction();
  std::function<void()> FReleaseAction;
};

// A dialog nested in a dialog: its background and its static children's in the face colour.
class TSkinBoxH : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinBoxH(core::TComponent* owner) : TSkinControl(owner) {}
  bool BeforeProc(win::TMessage& message) override;
  void AfterProc(win::TMessage& message) override;
};

class TSkinGroupBox : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinGroupBox(core::TComponent* owner) : TSkinControl(owner) {}

  // FClassFlag: the painter draws the whole group box (a framework control); a bare
  // window is painted by the system and framed over after.
  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  bool BeforeProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  void DefaultDraw(HDC dc, const RECT& rect);
};

// Status bars drawn whole from the skin: panel frames, texts, the size grip; owner-drawn
// panels are left to the bar's handler after the picture is on the screen.
class TSkinStatusBar : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinStatusBar(core::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;
  // A panel's frame: 1 lowered, 2 raised, 3 flat.
  void drawitem(HDC dc, const RECT& rect, int frame);
  static void Defaultpaint(HDC dc, const RECT& rect, int frame);
};

class TSkinToolbar : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinToolbar(core::TComponent* owner) : TSkinControl(owner) {}

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  bool BeforeProc(win::TMessage& message) override;
  void ERASEBKGND(HDC dc);

  TColor FGradEnd = 0;
  TColor FGradStart = 0;
};

}  // namespace bw::skin
