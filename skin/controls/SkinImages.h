#pragma once
// What painters draw with, made once and shared: skin images composed for a state and a
// size (with their key masks), kept in one cache for all painters, so controls of the same
// size share them and a repaint of a state drawn before makes no GDI object; and the one
// scratch bitmap painters compose in.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/win/Bitmap.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/GraphicsObjects.h"

namespace bw::skin {

// An image drawn with its key colour left out: the mask ANDed, then the image (its key
// pixels turned black) ORed. Plain blits through one shared memory context, so drawing
// makes no GDI objects, not even the system's temporary ones of a masked blit.
class TKeyedImage {
 public:
  // Takes the image's pixels; keyed: pixels of `key` are left out when drawn.
  TKeyedImage(std::unique_ptr<win::TBitmap> image, bool keyed, COLORREF key);
  void Draw(HDC dc, int x, int y) const;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Keyed() const { return static_cast<bool>(FMask); }

 private:
  win::TBitmapHandle FImage;
  win::TBitmapHandle FMask;  // white where the key was, black elsewhere
  int FWidth = 0, FHeight = 0;
};

class TSkinImageCache {
 public:
  static constexpr std::size_t kMaxEntries = 96;
  // The cache every painter shares.
  static TSkinImageCache& Shared();

  // Frame frameIndex of frameCount side-by-side frames of the bitmap, composed to the
  // size with the margins kept (no margins: the whole frame stretched), the middle tiled
  // or stretched; keyed on magenta when asked. nullptr for an empty size or bitmap.
  TKeyedImage* Compose(win::TBitmap& bitmap, const RECT& margins, bool tile, int frameIndex, int frameCount,
                       int widthPx, int heightPx, bool keyed);
  // Frame `frame` of a glyph strip of numGlyphs frames (the first when it has fewer),
  // greyed when grey, keyed on the frame's bottom-left pixel.
  TKeyedImage* Glyph(win::TBitmap& glyph, int frame, int numGlyphs, bool grey);
  void Clear() { FEntries.clear(); }
  std::size_t Size() const { return FEntries.size(); }

 private:
  struct TKey {
    HBITMAP Source;
    int SourceWidth, SourceHeight;
    RECT Margins;
    int Kind;  // 0 composed, 1 glyph
    int Tile, FrameIndex, FrameCount, Width, Height, Flag;
    std::uint32_t Stamp;  // a glyph's content
    bool operator==(const TKey& other) const;
  };
  struct TEntry {
    TKey Key;
    std::uint64_t LastUse;
    std::unique_ptr<TKeyedImage> Image;
  };
  TKeyedImage* Find(const TKey& key);
  TKeyedImage* Keep(const TKey& key, std::unique_ptr<TKeyedImage> image);
  std::vector<TEntry> FEntries;
  std::uint64_t FClock = 0;
};

// The surface a painter composes in: the unit's scratch bitmap (grown to the largest
// control, never shrunk), or a bitmap of its own while the scratch is taken by a paint
// this one runs inside of.
class TScratch {
 public:
  TScratch(int widthPx, int heightPx);
  ~TScratch();
  TScratch(const TScratch&) = delete;
  TScratch& operator=(const TScratch&) = delete;
  win::TBitmap& Bitmap() { return *FBitmap; }
  HDC DC() { return FBitmap->Canvas().Handle(); }
  // This paint holds the unit's scratch bitmap (it is not nested in another).
  bool Shared() const { return !FOwn; }

 private:
  std::unique_ptr<win::TBitmap> FOwn;
  win::TBitmap* FBitmap;
};

// Copies a font's description unless it is already the same, so the GDI font a canvas
// holds is not rebuilt at every paint.
void AssignFontIfChanged(win::TFont& target, const win::TFont& source);
// The description of a bare window's GDI font (WM_GETFONT) in a framework font; keeps the colour.
void FontFromHandle(HFONT handle, win::TFont& target);

}  // namespace bw::skin
