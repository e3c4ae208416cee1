#pragma once
// A canvas over a device context. Handle() gives the DC with the canvas's font, brush and
// pen selected; they are deselected when the DC is detached or one of them changes, so
// the DC is handed back as it was found.
#include <windows.h>

#include <span>
#include <string>

#include "framework/win/GraphicsObjects.h"

namespace bw::win {

class TGraphic;

class TCanvas {
 public:
  TCanvas();
  explicit TCanvas(HDC dc);
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle();
  // Attaches a DC the canvas does not own (nullptr detaches).
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return FDC != nullptr; }

  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }
  DWORD CopyMode() const { return FCopyMode; }
  void SetCopyMode(DWORD rop) { FCopyMode = rop; }

  void FillRect(const RECT& rect);
  void FrameRect(const RECT& rect);
  void Rectangle(int left, int top, int right, int bottom);
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  void Ellipse(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polygon(std::span<const POINT> points);
  void TextOut(int x, int y, const std::string& text);
  // Text clipped to `rect`, drawn from (x, y).
  void TextRect(const RECT& rect, int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TGraphic& graphic);
  void StretchDraw(const RECT& rect, TGraphic& graphic);
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);
  COLORREF Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);

 protected:
  // Canvases that get their DC on demand (a control's) override this.
  virtual void CreateHandle() {}

 private:
  void SelectFont();
  void SelectBrush();
  void SelectPen();
  void DeselectAll();
  void SaveAttributes();

  HDC FDC = nullptr;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  DWORD FCopyMode = SRCCOPY;
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldBrush = nullptr;
  HGDIOBJ FOldPen = nullptr;
  // DC attributes as found, put back when the DC is detached.
  bool FAttributesSaved = false;
  COLORREF FSavedTextColor = 0;
  COLORREF FSavedBkColor = 0;
  int FSavedBkMode = 0;
};

}  // namespace bw::win
