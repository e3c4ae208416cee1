#pragma once
// Progress bars painted whole from the skin's "Progress" object (a track and, over it, the
// filled bar stretched to the position, or a row of chunks), and track bars whose thumb
// the skin draws through the control's custom-draw notifications.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "skin/controls/WinSubClass.h"

namespace bw::skin {

class TSkinProgress : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinProgress(core::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(win::TMessage& message) override;
  // Bar style: track, then the filled part over the position's share of the width; a
  // vertical bar is composed lying down and turned, so it fills from the bottom.
  void DrawControl(HDC dc, const RECT& rect) override;
  // Chunk style: chunk images side by side over the filled width, centred vertically.
  void DrawControl1(HDC dc, const RECT& rect);

  // Pixels the last paint filled (0 for the track alone), along the bar.
  int LastFilled() const { return FLastFilled; }

 private:
  bool HasProgressImage() const;
  int FLastFilled = 0;
};

class TSkinTrackBar : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinTrackBar(core::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeProc(win::TMessage& message) override;
  // Answers the custom-draw result: only the thumb is the painter's.
  LRESULT CustomDraw(NMCUSTOMDRAW& draw);
  void Drawthumb(NMCUSTOMDRAW& draw);
  void skinchange();
  void SkinChange() override;
};

}  // namespace bw::skin
