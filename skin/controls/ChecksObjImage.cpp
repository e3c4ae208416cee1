// Check boxes and radio buttons of libraries that draw their own glyph strips: handed a
// strip made from the skin's check or radio image.
#include "skin/controls/Checks.h"

#include <string>
#include <utility>
#include <vector>

#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinObjImage::kClass{"TSkinObjImage", &TSkinControl::kClass, {}, {}};

namespace {
constexpr TColor kStripTransparent = 0xFF00FF;
}  // namespace

void TSkinObjImage::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool /*parentBK*/) {
  if (FInitialized) return;
  FSkinData = skinData;
  FForm = form;
  FCanvas = canvas;
  FControl = dynamic_cast<win::TWinControl*>(Owner());
  if (FControl && FControl->HandleAllocated()) FHandle = FControl->Handle();
  if (FForm) FForm->AddControlList(this);
  ChangeImage();
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinObjImage::Unsubclass() {
  if (FControl && !FControl->IsDestroying()) SetProperty(FControl, "UseCustomGlyphs", "false");
}

void TSkinObjImage::ChangeImage() {
  if (FImageKind == kCheckKind) SetRzImage();
  else if (FImageKind == kRadioKind) SetRzRadio();
}

// Nine frames: unchecked, checked, grayed, each normal / pressed / disabled.
void TSkinObjImage::SetRzImage() {
  if (!FSkinData || !FSkinData->Buttons) return;
  const int n = FSkinData->Buttons->CheckButtonFrame;
  std::vector<std::pair<int, int>> copies{{0, 0}, {3, 0}, {1, 1}, {4, 1}, {6, 2}, {7, 3}};
  if (n == 5) copies.insert(copies.end(), {{2, 4}, {5, 4}, {8, 4}});  // a grayed frame
  HandOver(FSkinData->Buttons->CheckBitmap, n, 9, copies);
}

// Six frames: unchecked, checked, each normal / pressed, then the two disabled ones.
void TSkinObjImage::SetRzRadio() {
  if (!FSkinData || !FSkinData->Buttons) return;
  HandOver(FSkinData->Buttons->RadioBitmap, FSkinData->Buttons->RadioButtonFrame, 6,
           {{0, 0}, {2, 0}, {1, 1}, {3, 1}, {4, 2}, {5, 3}});
}

void TSkinObjImage::HandOver(const TBitmap& image, int sourceFrames, int frames,
                             const std::vector<std::pair<int, int>>& copies) {
  if (image.Width() <= 0 || sourceFrames <= 0 || image.Width() < sourceFrames || !FControl) return;
  auto* glyphs = dynamic_cast<TBitmap*>(GetObjProp(FControl, "CustomGlyphs", &TBitmap::kClass));
  if (!glyphs) return;
  const int w = image.Width() / sourceFrames, h = image.Height();
  TBitmap strip(w * frames, h);
  // Frames the source has nothing for stay see-through.
  strip.Canvas().Brush().SetColor(kStripTransparent);
  const RECT all{0, 0, w * frames, h};
  strip.Canvas().FillRect(all);
  HDC source = const_cast<TBitmap&>(image).Canvas().Handle();
  for (const auto& [target, from] : copies) {
    if (from >= sourceFrames) continue;
    BitBlt(strip.Canvas().Handle(), target * w, 0, w, h, source, from * w, 0, SRCCOPY);
  }
  glyphs->Assign(strip);
  SetProperty(FControl, "transparentcolor", std::to_string(kStripTransparent));
  // Off and on again: the control reloads its glyphs.
  SetProperty(FControl, "UseCustomGlyphs", "false");
  SetProperty(FControl, "UseCustomGlyphs", "true");
}

}  // namespace bw::skin
