#pragma once
// Small image routines of the skin engine: grey, mirror, rotate, blend, gradients.
// All but Rotate90 and ConvertBitmapToGrayscale expect 24-bit bitmaps.
#include <windows.h>

#include <memory>

#include "framework/win/Bitmap.h"
#include "framework/win/Colors.h"

namespace bw::skin {

using win::TBitmap;
using win::TColor;

// Sets 24 bits per pixel; each channel becomes (R + G + B) / 3.
void ConvertBitmapToGrayscale(TBitmap& bitmap);
// Left-right mirror.
void SpiegelnHorizontal(TBitmap& bitmap);
// Top-bottom mirror.
void SpiegelnVertikal(TBitmap& bitmap);
// 90 degrees clockwise; width and height swap.
void Drehen90Grad(TBitmap& bitmap);
// 90 degrees counter-clockwise; width and height swap.
void Drehen270Grad(TBitmap& bitmap);
void Drehen180Grad(TBitmap& bitmap);
// A new bitmap, the source turned 90 degrees counter-clockwise; none unless 24-bit.
std::unique_ptr<TBitmap> Rotate90(TBitmap& source);

// amount < 100 is per cent of colour1 over colour2, else per mille.
TColor Blend(TColor colour1, TColor colour2, int amount);

enum class TGradientDirection { LeftToRight = 0, TopToBottom = 1 };
// Paints only the bands inside the DC's clip box, each in the colour it has in the full
// gradient. Colour tables are kept in a ring of 16 for reuse.
void GradFill(HDC dc, const RECT& rect, TColor colour1, TColor colour2, TGradientDirection direction);

// How many gradient tables have been built since start; lets tests see cache reuse.
int GradientTablesBuilt();

}  // namespace bw::skin
