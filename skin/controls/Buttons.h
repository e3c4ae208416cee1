#pragma once
// Push, bitmap and speed buttons drawn from the skin's "Buttons" object: five faces side by
// side (normal, pressed, disabled, hot, focused/default), the caption and the glyph over
// them, composed in the shared scratch bitmap and copied once.
#include <windows.h>

#include <memory>

#include "skin/controls/WinSubClass.h"

namespace bw::skin {

// Glyph layouts, from the control's Layout compared lower-cased.
enum class TGlyphLayout : int { Left = 0, Right = 1, Top = 2, Bottom = 3 };

// Where the glyph and the text go along and across a button (all divisions toward zero).
struct TGlyphPlacement {
  POINT Glyph;
  POINT Text;
  UINT Format;  // DrawText flags for the text
};
// client, glyph and text sizes; margin and spacing -1 for automatic. With alignCentre the
// margin is automatic whatever was given (a bit button whose Alignment is taCenter);
// plusOne adds the speed button's extra pixel to the automatic margin beside a given spacing.
TGlyphPlacement PlaceGlyph(SIZE client, SIZE glyph, SIZE text, TGlyphLayout layout, int margin, int spacing,
                           bool alignCentre, bool plusOne);

class TSkinButton : public TSkinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinButton(core::TComponent* owner) : TSkinControl(owner) {}

  void Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) override;
  bool BeforeProc(win::TMessage& message) override;
  void AfterProc(win::TMessage& message) override;
  void DrawControl(HDC dc, const RECT& rect) override;

  // The caption centred (align DT_CENTER) or spanning the rectangle, a pixel above the
  // middle; the first "||" breaks the line; a focus rectangle round it when focused.
  void DrawButtonText(win::TCanvas& canvas, const RECT& rect, UINT align, std::wstring text);

  // The face frame the last paint drew (0 before the first), for tests and tools.
  int LastFace() const { return FLastFace; }

 protected:
  // Reads focus, enabled state and caption from the window and the control.
  void RefreshFromWindow();
  // Paints the background under the face.
  void PrepareBuffer(HDC buffer, const RECT& rect);
  // Text colour by the face state: the skin's colours, a shadow when disabled.
  void ApplyTextColour(win::TCanvas& canvas, int face, bool frameworkBranch);
  void Press(const win::TMessage& message);
  bool ReleasePress();
  void EnterHot();
  TDataSkinButton* Face() const;

  int FLastFace = 0;
};

class TSkinBitButton : public TSkinButton {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinBitButton(core::TComponent* owner) : TSkinButton(owner) {}
  void DrawControl(HDC dc, const RECT& rect) override;

 protected:
  // Draws frame `frame` (1 up, 2 disabled, 3 pressed) of a glyph strip, its bottom-left
  // pixel transparent; a disabled frame is greyed whichever frame was taken.
  static void DrawGlyph(HDC dc, POINT at, win::TBitmap& glyph, int frame, int numGlyphs);
};

// Windowless speed buttons: painted when their parent paints them; a flat one shows its
// face only while hot or pressed.
class TSkinSpeedButton : public TSkinBitButton {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TSkinSpeedButton(core::TComponent* owner) : TSkinBitButton(owner) {}
  ~TSkinSpeedButton() override;

  void InitGraphicControl(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas);
  bool BeforeProc(win::TMessage& message) override;
  void AfterProc(win::TMessage& message) override;
  void PaintControl(HDC dc) override;
  void DrawSpeedbtn(HDC dc, const RECT& rect);

 private:
  void Repaint();
  bool FPainting = false;
};

}  // namespace bw::skin
