#include "skin/controls/SkinImages.h"

#include <algorithm>

#include "framework/win/Text.h"
#include "skin/draw/ImgUtil.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

namespace {

// One memory context the keyed images are selected into, one at a time, to be drawn.
HDC ImageDC() {
  static win::TMemoryDC dc(nullptr);
  return dc.Get();
}

bool gScratchTaken = false;

}  // namespace

TKeyedImage::TKeyedImage(std::unique_ptr<win::TBitmap> image, bool keyed, COLORREF key) {
  if (!image || image->Width() == 0 || image->Height() == 0) return;
  image->SetPixelFormat(win::TPixelFormat::pf24bit);
  FWidth = image->Width();
  FHeight = image->Height();
  if (keyed) {
    win::TBitmap mask(FWidth, FHeight, win::TPixelFormat::pf24bit);
    bool anyKey = false;
    if (mask.Width() == FWidth) {
      const BYTE kr = GetRValue(key), kg = GetGValue(key), kb = GetBValue(key);
      for (int y = 0; y < FHeight; ++y) {
        auto* px = static_cast<BYTE*>(image->ScanLine(y));
        auto* mk = static_cast<BYTE*>(mask.ScanLine(y));
        for (int x = 0; x < FWidth; ++x, px += 3, mk += 3) {
          const bool isKey = px[0] == kb && px[1] == kg && px[2] == kr;
          anyKey |= isKey;
          mk[0] = mk[1] = mk[2] = isKey ? 255 : 0;
          if (isKey) px[0] = px[1] = px[2] = 0;
        }
      }
    }
    if (anyKey) FMask.Reset(mask.ReleaseHandle());  // without a mask (no memory): drawn opaque
  }
  FImage.Reset(image->ReleaseHandle());
}

void TKeyedImage::Draw(HDC dc, int x, int y) const {
  if (!FImage) return;
  HDC src = ImageDC();
  if (FMask) {
    win::TSelectGuard select(src, FMask.Get());
    BitBlt(dc, x, y, FWidth, FHeight, src, 0, 0, SRCAND);
  }
  win::TSelectGuard select(src, FImage.Get());
  BitBlt(dc, x, y, FWidth, FHeight, src, 0, 0, FMask ? SRCPAINT : SRCCOPY);
}

TSkinImageCache& TSkinImageCache::Shared() {
  static TSkinImageCache cache;
  return cache;
}

bool TSkinImageCache::TKey::operator==(const TKey& o) const {
  return Source == o.Source && SourceWidth == o.SourceWidth && SourceHeight == o.SourceHeight &&
         EqualRect(&Margins, &o.Margins) && Kind == o.Kind && Tile == o.Tile && FrameIndex == o.FrameIndex &&
         FrameCount == o.FrameCount && Width == o.Width && Height == o.Height && Flag == o.Flag && Stamp == o.Stamp;
}

TKeyedImage* TSkinImageCache::Find(const TKey& key) {
  ++FClock;
  for (TEntry& e : FEntries)
    if (e.Key == key) {
      e.LastUse = FClock;
      return e.Image.get();
    }
  return nullptr;
}

TKeyedImage* TSkinImageCache::Keep(const TKey& key, std::unique_ptr<TKeyedImage> image) {
  if (!image || image->Width() == 0) return nullptr;
  if (FEntries.size() >= kMaxEntries) {
    auto oldest = std::min_element(FEntries.begin(), FEntries.end(),
                                   [](const TEntry& a, const TEntry& b) { return a.LastUse < b.LastUse; });
    FEntries.erase(oldest);
  }
  FEntries.push_back(TEntry{key, FClock, std::move(image)});
  return FEntries.back().Image.get();
}

TKeyedImage* TSkinImageCache::Compose(win::TBitmap& bitmap, const RECT& margins, bool tile, int frameIndex,
                                      int frameCount, int widthPx, int heightPx, bool keyed) {
  if (widthPx <= 0 || heightPx <= 0 || bitmap.Width() == 0 || bitmap.Height() == 0) return nullptr;
  const TKey key{bitmap.Handle(), bitmap.Width(), bitmap.Height(), margins, 0, tile ? 1 : 0, frameIndex, frameCount,
                 widthPx, heightPx, keyed ? 1 : 0, 0};
  if (TKeyedImage* found = Find(key)) return found;
  auto composed = GetHMap(RECT{0, 0, widthPx, heightPx}, bitmap, margins, frameIndex, frameCount, tile, false);
  if (!composed || composed->Width() == 0) return nullptr;
  return Keep(key, std::make_unique<TKeyedImage>(std::move(composed), keyed, kSkinKeyColor));
}

namespace {
// Glyphs are small and may be given new pixels in the same bitmap: they are known by
// their content as well as by their handle.
std::uint32_t ContentStamp(win::TBitmap& bitmap) {
  std::uint32_t hash = 2166136261u;
  const int bytes =
      std::min(bitmap.BytesPerScanLine(), (bitmap.Width() * win::BitsPerPixel(bitmap.PixelFormat()) + 7) / 8);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const auto* row = static_cast<const BYTE*>(bitmap.ScanLine(y));
    if (!row) break;
    for (int i = 0; i < bytes; ++i) hash = (hash ^ row[i]) * 16777619u;
  }
  return hash;
}
}  // namespace

TKeyedImage* TSkinImageCache::Glyph(win::TBitmap& glyph, int frame, int numGlyphs, bool grey) {
  numGlyphs = std::max(numGlyphs, 1);
  const int w = glyph.Width() / numGlyphs, h = glyph.Height();
  if (w <= 0 || h <= 0) return nullptr;
  const TKey key{glyph.Handle(), glyph.Width(), glyph.Height(), RECT{}, 1, 0, frame, numGlyphs, w, h, grey ? 1 : 0,
                 ContentStamp(glyph)};
  if (TKeyedImage* found = Find(key)) return found;
  const int taken = numGlyphs < frame ? 1 : frame;
  auto copy = std::make_unique<win::TBitmap>(w, h, win::TPixelFormat::pf24bit);
  BitBlt(copy->Canvas().Handle(), 0, 0, w, h, glyph.Canvas().Handle(), (taken - 1) * w, 0, SRCCOPY);
  if (grey) ConvertBitmapToGrayscale(*copy);
  const COLORREF keyColour = GetPixel(copy->Canvas().Handle(), 0, h - 1);
  return Keep(key, std::make_unique<TKeyedImage>(std::move(copy), true, keyColour));
}

TScratch::TScratch(int widthPx, int heightPx) : FBitmap(SharedBG()) {
  widthPx = std::max(widthPx, 1);
  heightPx = std::max(heightPx, 1);
  if (gScratchTaken || !FBitmap) {
    FOwn = std::make_unique<win::TBitmap>(widthPx, heightPx, win::TPixelFormat::pf24bit);
    FBitmap = FOwn.get();
    return;
  }
  gScratchTaken = true;
  FBitmap->SetPixelFormat(win::TPixelFormat::pf24bit);
  if (FBitmap->Width() < widthPx || FBitmap->Height() < heightPx)
    FBitmap->SetSize(std::max(FBitmap->Width(), widthPx), std::max(FBitmap->Height(), heightPx));
}

TScratch::~TScratch() {
  if (!FOwn) gScratchTaken = false;
}

void AssignFontIfChanged(win::TFont& target, const win::TFont& source) {
  if (target.Name() == source.Name() && target.Height() == source.Height() && target.Style() == source.Style() &&
      target.Charset() == source.Charset()) {
    target.SetColor(source.Color());
    return;
  }
  target.Assign(source);
}

void FontFromHandle(HFONT handle, win::TFont& target) {
  LOGFONTW lf{};
  if (!handle || !GetObjectW(handle, sizeof lf, &lf)) return;
  win::TFont font;
  font.SetName(win::Narrow(lf.lfFaceName));
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  core::TFontStyles style;
  if (lf.lfWeight >= FW_BOLD) style.Include(core::TFontStyle::fsBold);
  if (lf.lfItalic) style.Include(core::TFontStyle::fsItalic);
  if (lf.lfUnderline) style.Include(core::TFontStyle::fsUnderline);
  if (lf.lfStrikeOut) style.Include(core::TFontStyle::fsStrikeOut);
  font.SetStyle(style);
  font.SetColor(target.Color());
  AssignFontIfChanged(target, font);
}

}  // namespace bw::skin
