#pragma once
// Base of everything a canvas can draw: bitmaps, JPEG pictures, icons.
#include <windows.h>

#include "framework/core/Object.h"

namespace bw::win {

class TCanvas;

class TGraphic : public core::TPersistent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool transparent) { FTransparent = transparent; }
  // Draws the whole graphic scaled into `rect` (unscaled when the sizes agree).
  virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;

 private:
  bool FTransparent = false;
};

}  // namespace bw::win
