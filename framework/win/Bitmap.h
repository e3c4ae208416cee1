#pragma once
// A bitmap is a DIB section with its own memory DC and canvas.
#include <windows.h>

#include <optional>
#include <span>
#include <vector>

#include "framework/core/Dib.h"
#include "framework/win/Canvas.h"
#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Graphic.h"

namespace bw::win {

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum class TTransparentMode { tmAuto, tmFixed };

// Bits per pixel of a format; pfDevice is kept as 32 bits.
int BitsPerPixel(TPixelFormat format);

class TBitmap : public TGraphic {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  TBitmap() = default;
  TBitmap(int widthPx, int heightPx, TPixelFormat format = TPixelFormat::pf24bit);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Keeps the overlapping top-left part of the picture; new pixels are black.
  void SetSize(int widthPx, int heightPx);
  void SetWidth(int widthPx) { SetSize(widthPx, FHeight); }
  void SetHeight(int heightPx) { SetSize(FWidth, heightPx); }
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat format);

  TCanvas& Canvas();
  // Row 0 is the top row; rows are BytesPerScanLine() apart, padded to 4 bytes.
  void* ScanLine(int row);
  int BytesPerScanLine() const { return FStride; }

  HBITMAP Handle() const { return FHandle.Get(); }
  // Takes ownership of `bitmap` (a DIB section or a device bitmap, copied into one).
  void SetHandle(HBITMAP bitmap);
  // Takes the handle away; the bitmap is empty afterwards and the caller owns the handle.
  HBITMAP ReleaseHandle();

  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode mode) { FTransparentMode = mode; }
  // tmAuto: the bottom-left pixel; tmFixed: the colour set.
  TColor TransparentColor();
  void SetTransparentColor(TColor color);

  std::vector<RGBQUAD> ColorTable();
  void SetColorTable(std::span<const RGBQUAD> colors);

  void Assign(const TBitmap& source);
  // Other graphics are drawn onto a 32-bit bitmap of their size.
  void Assign(const core::TPersistent& source) override;
  void Draw(TCanvas& canvas, const RECT& rect) override;

  // BMP files. 1, 4, 8, 16, 24 and 32 bits per pixel keep their format, masks and colour
  // table; an empty stream gives an empty bitmap; a damaged one raises EInvalidGraphic.
  void LoadFromStream(core::TStream& stream) override;
  void SaveToStream(core::TStream& stream) override;
  // The same rules for a picture already in memory.
  void LoadFromDib(const core::TDib& dib);
  core::TDib SaveToDib();

 private:
  void Recreate(int widthPx, int heightPx, TPixelFormat format, bool keepContent);
  HDC MemoryDC();
  void DeselectBitmap();
  void AdoptSection(HBITMAP section);

  TBitmapHandle FHandle;
  std::optional<TMemoryDC> FDC;  // made on first use of the canvas
  HGDIOBJ FOldBitmap = nullptr;
  TCanvas FCanvas;
  void* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  TColor FTransparentColor = clDefault;
  // Length of the colour table a loaded picture came with; 0 for a full table. Sections
  // keep only the full table, and saving must give the file back as it was.
  int FColorsUsed = 0;
};

}  // namespace bw::win
