#include "tests/skin/controls/GalleryPainters.h"

#include <algorithm>

#include "framework/win/GdiHandles.h"
#include "skin/window/LacquerDlg.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {

void TGalleryApp::ShowPage(int index) {
  Form().PageControl1->SetActivePageIndex(index);
  bw::test::WaitPainted(Form().WindowHandle());
}

int ShownFrameAt(POINT screen, win::TBitmap& image, int frames) {
  frames = std::max(frames, 1);
  const int fw = image.Width() / frames, fh = image.Height();
  win::TBitmap shot(fw, fh, win::TPixelFormat::pf24bit);
  {
    win::TWindowDC screenDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, fw, fh, screenDC.Get(), screen.x, screen.y, SRCCOPY);
  }
  int found = 0;
  for (int f = 1; f <= frames; ++f) {
    bool same = true, compared = false;
    for (int y = 0; y < fh && same; ++y)
      for (int x = 0; x < fw && same; ++x) {
        const COLORREF want = image.Canvas().Pixel((f - 1) * fw + x, y);
        if (want == RGB(255, 0, 255)) continue;
        compared = true;
        same = shot.Canvas().Pixel(x, y) == want;
      }
    if (same && compared) {
      if (found) return 0;
      found = f;
    }
  }
  return found;
}

}  // namespace bw::skin::test
