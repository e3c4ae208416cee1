#pragma once
// Fonts, brushes and pens: descriptions whose GDI handle is made on first use and kept
// until a property changes.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"

namespace bw::win {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TGraphicsObject {
 public:
  virtual ~TGraphicsObject() = default;
  std::function<void()> OnChange;

 protected:
  void Changed();
};

class TFont : public TGraphicsObject {
 public:
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
  HFONT Handle();

 private:
  void Rebuild();
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle = 0;
  int FCharset = DEFAULT_CHARSET;
  TFontHandle FHandle;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
 public:
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
