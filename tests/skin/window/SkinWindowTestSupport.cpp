#include "tests/skin/window/SkinWindowTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/win/GdiHandles.h"
#include "tests/support/WinTestSupport.h"

namespace bw::skin::test {

const core::TFieldInfo kFrameFormFields[] = {
    core::Field<&TSkinFrameForm::Button1>("Button1"),
    core::Field<&TSkinFrameForm::SkinData1>("SkinData1"),
};
const core::TClassInfo TSkinFrameForm::kClass{"TSkinFrameForm", &win::TForm::kClass, {}, {},
                                              &core::CreateComponentOf<TSkinFrameForm>, kFrameFormFields};

namespace {

void RegisterFrameFormClasses() {
  win::RegisterStdControls();
  core::RegisterComponentClass(TSkinFrameForm::kClass);
  core::RegisterComponentClass(TSkinData::kClass);
}

}  // namespace

TSkinnedApp::TSkinnedApp() : TSkinnedAppOf<TSkinFrameForm>(&RegisterFrameFormClasses) {}

TLacquerForm* FrameOfWindow(HWND window) { return SkinManager ? SkinManager->FindSkinForm(window) : nullptr; }

TLacquerForm* ShowSkinnedForm(win::TCustomForm& form) {
  form.Show();
  TLacquerForm* frame = nullptr;
  bw::test::PumpUntil([&] {
    frame = FrameOfWindow(form.WindowHandle());
    return frame && frame->FState == kFrameSkinned;
  });
  if (frame) bw::test::WaitPainted(form.WindowHandle());
  return frame;
}

RECT ScreenRectOf(HWND window, int margin) {
  RECT r;
  GetWindowRect(window, &r);
  InflateRect(&r, margin, margin);
  return r;
}

std::unique_ptr<win::TBitmap> WindowShot(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  auto shot = std::make_unique<win::TBitmap>(r.right - r.left, r.bottom - r.top, win::TPixelFormat::pf24bit);
  win::TWindowDC screen(nullptr);
  BitBlt(shot->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen.Get(), r.left, r.top, SRCCOPY);
  return shot;
}

}  // namespace bw::skin::test
