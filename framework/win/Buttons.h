#pragma once
// Push buttons and bitmap buttons (a glyph beside the caption).
#include <windows.h>

#include <memory>
#include <string>

#include "framework/core/Enums.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Controls.h"

namespace bw::win {

using core::TAlignment;
using core::TButtonLayout;

// The base of push buttons, check boxes and radio buttons: windows of the system's button class.
class TButtonControl : public TWinControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TButtonControl(core::TComponent* owner) : TWinControl(owner) {}
};

class TImageList;

class TButton : public TButtonControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TButton(core::TComponent* owner);
  ~TButton() override;

  // A click also closes the modal form the button stands on, with this result.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  // Enter clicks the default button, Escape the cancel button, as the form offers the
  // keys to its controls (CM_DIALOGKEY).
  bool Default() const { return FDefault; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool cancel) { FCancel = cancel; }
  // Horizontal place of the caption (and, on bitmap buttons, of glyph and caption).
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  // An image of the list stands for the glyph; DisabledIndex -1 greys ImageIndex instead.
  // The list is not owned; the button forgets it when it is freed.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  int DisabledIndex() const { return FDisabledIndex; }
  void SetDisabledIndex(int index);
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Notification(core::TComponent& component, core::TOperation operation) override;

  int FModalResult = 0;
  bool FDefault = false;
  bool FCancel = false;
  TAlignment FAlignment = TAlignment::taCenter;
  TImageList* FImages = nullptr;
  int FImageIndex = -1;
  int FDisabledIndex = -1;

 private:
  static const core::TPropInfo kProps[];
};

// True when `caption` marks charCode as its accelerator ("&Open" for o or O; "&&" is a
// plain ampersand).
bool IsAccel(unsigned charCode, const std::string& caption);

// Where the glyph and the caption go inside a button of the given size.
struct TButtonLayoutResult {
  POINT GlyphPos;
  RECT TextRect;
};
// margin -1 centres the pair; spacing -1 spreads glyph, caption and edges evenly.
TButtonLayoutResult CalcButtonLayout(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing);

// What a bitmap or speed button shows: one frame of a glyph strip, or an image of a list,
// beside its caption.
struct TButtonContent {
  std::string Caption;
  TFont* Font = nullptr;
  bool Enabled = true;
  TBitmap* Glyph = nullptr;  // frames side by side; its bottom-left pixel is transparent
  int NumGlyphs = 1;
  int GlyphFrame = 0;        // 0-based; the first frame when the strip has fewer
  TImageList* Images = nullptr;  // used when there is no glyph
  int ImageIndex = -1;
  bool ImageEnabled = true;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
};
// Draws the content into rect, shifted by `offset` pixels right and down (a pressed face).
void DrawButtonContent(HDC dc, const RECT& rect, const TButtonContent& content, int offset);

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

  // Paints the button face, glyph (or image-list image) and caption into dc (also used
  // by tests). Alignment taCenter centres glyph and caption whatever Margin says.
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
