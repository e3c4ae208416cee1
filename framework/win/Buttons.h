#pragma once
// Push buttons and bitmap buttons (a glyph beside the caption).
#include <windows.h>

#include <memory>

#include "framework/core/Enums.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TButtonLayout;

// The base of push buttons, check boxes and radio buttons: windows of the system's button class.
class TButtonControl : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TButtonControl(core::TComponent* owner) : TWinControl(owner) {}
};

class TButton : public TButtonControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TButton(core::TComponent* owner);

  // A click also closes the modal form the button stands on, with this result.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  bool Default() const { return FDefault; }
  void SetDefault(bool isDefault);
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

  int FModalResult = 0;
  bool FDefault = false;

 private:
  static const core::TPropInfo kProps[];
};

// Where the glyph and the caption go inside a button of the given size.
struct TButtonLayoutResult {
  POINT GlyphPos;
  RECT TextRect;
};
// margin -1 centres the pair; spacing -1 spreads glyph, caption and edges evenly.
TButtonLayoutResult CalcButtonLayout(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing);

class TBitBtn : public TButton {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TBitBtn(core::TComponent* owner);

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

  // Paints the button face, glyph and caption into dc (also used by tests).
  void DrawButton(HDC dc, const RECT& rect, bool pressed, bool focused);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
};

}  // namespace bw::win
