#include "framework/win/SpeedButton.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"

namespace bw::win {

const core::TPropInfo TSpeedButton::kProps[] = {
    // GroupIndex before Down, so that a written button reads back down.
    core::IntProp<&TSpeedButton::FGroupIndex, &TSpeedButton::SetGroupIndex>("GroupIndex", 0),
    core::BoolProp<&TSpeedButton::FDown, &TSpeedButton::SetDown>("Down", false),
    core::BoolProp<&TSpeedButton::FAllowAllUp, &TSpeedButton::SetAllowAllUp>("AllowAllUp", false),
    core::BoolProp<&TSpeedButton::FFlat, &TSpeedButton::SetFlat>("Flat", false),
    core::ObjProp<&TSpeedButton::Glyph>("Glyph"),
    core::IntProp<&TSpeedButton::FNumGlyphs, &TSpeedButton::SetNumGlyphs>("NumGlyphs", 1),
    core::EnumProp<&TSpeedButton::FLayout, &TSpeedButton::SetLayout>("Layout", core::kButtonLayoutInfo,
                                                                    TButtonLayout::blGlyphLeft),
    core::IntProp<&TSpeedButton::FMargin, &TSpeedButton::SetMargin>("Margin", -1),
    core::IntProp<&TSpeedButton::FSpacing, &TSpeedButton::SetSpacing>("Spacing", 4),
};
const core::TClassInfo TSpeedButton::kClass{"TSpeedButton", &TGraphicControl::kClass, kProps, {},
                                            &core::CreateComponentOf<TSpeedButton>};

TSpeedButton::TSpeedButton(core::TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()) {
  FWidth = 23;
  FHeight = 22;
  FGlyph->SetTransparent(true);
  FGlyph->OnChange = [this] { Invalidate(); };
}

void TSpeedButton::SetGroupIndex(int index) {
  FGroupIndex = index;
  UpdateGroup();
}

void TSpeedButton::SetDown(bool down) {
  // While the description is read GroupIndex may come later: Loaded settles it.
  if (!IsLoading()) {
    if (FGroupIndex == 0) down = false;
    if (down == FDown) return;
    if (FDown && !FAllowAllUp) return;  // one of the group stays down
  }
  FDown = down;
  Invalidate();
  if (FDown && !IsLoading()) UpdateGroup();
}

void TSpeedButton::SetAllowAllUp(bool allow) {
  FAllowAllUp = allow;
  UpdateGroup();
}

void TSpeedButton::SetFlat(bool flat) {
  FFlat = flat;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int count) {
  FNumGlyphs = std::clamp(count, 1, 4);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
  FLayout = layout;
  Invalidate();
}

void TSpeedButton::SetMargin(int margin) {
  FMargin = margin;
  Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
  FSpacing = spacing;
  Invalidate();
}

void TSpeedButton::Loaded() {
  TGraphicControl::Loaded();
  if (FGroupIndex == 0) FDown = false;
  if (FDown) UpdateGroup();
}

void TSpeedButton::UpdateGroup() {
  if (FGroupIndex == 0 || !FParent || IsLoading()) return;
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
    if (!other || other == this || other->FGroupIndex != FGroupIndex) continue;
    if (FDown && other->FDown) {
      other->FDown = false;
      other->Invalidate();
    }
    other->FAllowAllUp = FAllowAllUp;
  }
}

void TSpeedButton::SetPressed(bool pressed) {
  if (pressed == FPressed) return;
  FPressed = pressed;
  Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft && FEnabled) {
    FTracking = true;
    SetPressed(true);
  }
  TGraphicControl::MouseDown(button, x, y);
}

void TSpeedButton::MouseMove(int x, int y) {
  if (FTracking) SetPressed(x >= 0 && y >= 0 && x < FWidth && y < FHeight);
  TGraphicControl::MouseMove(x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, int x, int y) {
  if (button == TMouseButton::mbLeft && FTracking) {
    FTracking = false;
    const bool released = FPressed;  // over the button: a click
    SetPressed(false);
    if (released && FGroupIndex != 0) SetDown(FDown ? !FAllowAllUp : true);
  }
  TGraphicControl::MouseUp(button, x, y);
}

void TSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(message);
      if (FEnabled) Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(message.WParam), FCaption) && FEnabled && FVisible && FParent &&
          FParent->Showing()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
  }
  TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
  const RECT rect = ClientRect();
  HDC dc = Canvas().Handle();
  const bool sunken = FPressed || FDown;
  const bool hot = MouseInControl() && FEnabled;
  if (!FFlat) {
    RECT face = rect;
    UINT state = DFCS_BUTTONPUSH;
    if (sunken) state |= DFCS_PUSHED;
    if (FDown && !FPressed) state |= DFCS_CHECKED;  // latched: the dithered face
    DrawFrameControl(dc, &face, DFC_BUTTON, state);
  } else if (sunken || hot) {
    // Flat: the face shows only under the mouse, pressed or down.
    RECT edge = rect;
    DrawEdge(dc, &edge, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  TButtonContent content;
  content.Caption = FCaption;
  content.Font = FFont.get();
  content.Enabled = FEnabled;
  content.Glyph = FGlyph.get();
  content.NumGlyphs = FNumGlyphs;
  content.GlyphFrame = !FEnabled ? 1 : (FPressed ? 2 : (FDown ? 3 : 0));
  content.Layout = FLayout;
  content.Margin = FMargin;
  content.Spacing = FSpacing;
  DrawButtonContent(dc, rect, content, sunken ? 1 : 0);
}

void RegisterSpeedButton() { core::RegisterComponentClass(TSpeedButton::kClass); }

}  // namespace bw::win
