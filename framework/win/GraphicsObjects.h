#pragma once
// Fonts, brushes and pens: descriptions whose GDI handle is made on first use and kept
// until a property changes.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/core/Object.h"
#include "framework/core/TypeInfo.h"
#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"

namespace bw::win {

using core::TFontStyle;
using core::TFontStyles;

class TGraphicsObject : public core::TPersistent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  std::function<void()> OnChange;

 protected:
  void Changed();
};

class TFont : public TGraphicsObject {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  static constexpr int kScreenPixelsPerInch = 96;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return FHeight; }
  void SetHeight(int height);
  int Size() const;  // points
  void SetSize(int points);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  int Charset() const { return FCharset; }
  void SetCharset(int charset);

  void Assign(const TFont& other);
  void Assign(const core::TPersistent& source) override;
  HFONT Handle();

 private:
  static const core::TPropInfo kProps[];
  void Rebuild();
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  int FCharset = DEFAULT_CHARSET;
  TFontHandle FHandle;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  void Assign(const TBrush& other);
  HBRUSH Handle();

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
  TBrushHandle FHandle;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  int Width() const { return FWidth; }
  void SetWidth(int width);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle style);
  void Assign(const TPen& other);
  HPEN Handle();

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = TPenStyle::psSolid;
  TPenHandle FHandle;
};

}  // namespace bw::win
