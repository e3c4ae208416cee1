#include "tests/skin/controls/PaintersTestSupport.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/GdiHandles.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {

const core::TFieldInfo kPaintersFormFields[] = {
    core::Field<&TPaintersForm::Button1>("Button1"),
    core::Field<&TPaintersForm::Button2>("Button2"),
    core::Field<&TPaintersForm::BitBtn1>("BitBtn1"),
    core::Field<&TPaintersForm::BitBtn2>("BitBtn2"),
    core::Field<&TPaintersForm::ProgressBar1>("ProgressBar1"),
    core::Field<&TPaintersForm::Panel1>("Panel1"),
    core::Field<&TPaintersForm::Label1>("Label1"),
    core::Field<&TPaintersForm::Button3>("Button3"),
    core::Field<&TPaintersForm::Button4>("Button4"),
    core::Field<&TPaintersForm::GroupBox1>("GroupBox1"),
    core::Field<&TPaintersForm::SpeedButton1>("SpeedButton1"),
    core::Field<&TPaintersForm::SpeedButton2>("SpeedButton2"),
    core::Field<&TPaintersForm::TrackBar1>("TrackBar1"),
    core::Field<&TPaintersForm::RadioGroup1>("RadioGroup1"),
    core::Field<&TPaintersForm::SkinData1>("SkinData1"),
};
const core::TClassInfo TPaintersForm::kClass{"TPaintersForm", &win::TForm::kClass, {}, {},
                                             &core::CreateComponentOf<TPaintersForm>, kPaintersFormFields};

namespace {

void RegisterPaintersFormClasses() {
  win::RegisterStdControls();
  core::RegisterComponentClass(TPaintersForm::kClass);
  core::RegisterComponentClass(TSkinData::kClass);
}

}  // namespace

TPaintersApp::TPaintersApp() : TSkinnedAppOf<TPaintersForm>(&RegisterPaintersFormClasses) {}

TSkinControl* PainterOf(const TLacquerForm& frame, const core::TObject& control) {
  for (TSkinControl* p : frame.FControls)
    if (p->FControl == &control || p->FGraphicControl == &control) return p;
  return nullptr;
}

TSkinControl* PainterOfWindow(const TLacquerForm& frame, HWND window) {
  for (TSkinControl* p : frame.FControls)
    if (p->FHandle == window) return p;
  return nullptr;
}

COLORREF WindowPixel(HWND window, int x, int y) {
  RECT r;
  GetWindowRect(window, &r);
  return bw::test::ScreenPixel(r.left + x, r.top + y);
}

COLORREF WaitForWindowPixel(HWND window, int x, int y, COLORREF expected) {
  RECT r;
  GetWindowRect(window, &r);
  return bw::test::WaitForScreenPixel(r.left + x, r.top + y, expected);
}

int ShownFaceAt(POINT screen, TDataSkinButton& skin) {
  win::TBitmap shot(4, 4, win::TPixelFormat::pf24bit);
  {
    win::TWindowDC screenDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, 4, 4, screenDC.Get(), screen.x, screen.y, SRCCOPY);
  }
  const int frames = std::max(skin.Frame, 1);
  const int fw = skin.Bitmap.Width() / frames;
  int found = 0;
  for (int f = 1; f <= frames; ++f) {
    bool same = true, compared = false;
    for (int y = 0; y < 4 && same; ++y)
      for (int x = 0; x < 4 && same; ++x) {
        const COLORREF want = skin.Bitmap.Canvas().Pixel((f - 1) * fw + x, y);
        if (want == RGB(255, 0, 255)) continue;  // the background shows there
        compared = true;
        same = shot.Canvas().Pixel(x, y) == want;
      }
    if (same && compared) {
      if (found) return 0;  // ambiguous
      found = f;
    }
  }
  return found;
}

int ShownFace(HWND window, TDataSkinButton& skin) {
  RECT r;
  GetWindowRect(window, &r);
  return ShownFaceAt(POINT{r.left, r.top}, skin);
}

POINT ScreenOrigin(const win::TControl& control) {
  POINT p{control.Left(), control.Top()};
  if (control.Parent()) p = control.Parent()->ClientToScreen(p);
  return p;
}

int WaitForFace(HWND window, TDataSkinButton& skin, int expected) {
  int seen = 0;
  bw::test::PumpUntil([&] { return (seen = ShownFace(window, skin)) == expected; }, 3000);
  return seen;
}

}  // namespace bw::skin::test
