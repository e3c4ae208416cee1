#pragma once
// Speed buttons: windowless buttons with a glyph, flat or raised, that may latch down
// alone or as one of a group (same parent, same GroupIndex) of which one at most is down.
#include <windows.h>

#include <memory>

#include "framework/core/Enums.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Buttons.h"
#include "framework/win/Controls.h"

namespace bw::win {

class TSpeedButton : public TGraphicControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSpeedButton(core::TComponent* owner);

  // GroupIndex 0: the button never stays down. Otherwise it latches down when clicked
  // and its group's other buttons come up; AllowAllUp lets a click on the down button
  // bring it up (else one of the group always stays down once one was).
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index);
  bool Down() const { return FDown; }
  void SetDown(bool down);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool allow);
  // A flat button shows its face only while the mouse is over it, pressed or down.
  bool Flat() const { return FFlat; }
  void SetFlat(bool flat);
  // Frames side by side: up, disabled, clicked, down. The bottom-left pixel is transparent.
  TBitmap* Glyph() const { return FGlyph.get(); }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int count);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout layout);
  int Margin() const { return FMargin; }
  void SetMargin(int margin);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int spacing);

  // Pressed: the mouse went down on the button and is still over it.
  bool Pressed() const { return FPressed; }
  void Loaded() override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;

 private:
  static const core::TPropInfo kProps[];
  // The group's other buttons come up (and share AllowAllUp).
  void UpdateGroup();
  void SetPressed(bool pressed);

  std::unique_ptr<TBitmap> FGlyph;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FPressed = false;
  bool FTracking = false;  // the left button went down on this button
};

void RegisterSpeedButton();

}  // namespace bw::win
