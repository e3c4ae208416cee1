#pragma once
// The gallery under the skin engine, for the painters of its standard controls: its
// controls by name, their painters, and what of a skin image reached the screen.
#include <windows.h>

#include <memory>
#include <string_view>

#include "app/Gallery.h"
#include "skin/controls/WinSubClass.h"
#include "skin/window/LacquerForm.h"
#include "tests/skin/window/SkinWindowTestSupport.h"

namespace bw::skin::test {

class TGalleryApp : public TSkinnedAppOf<app::TGalleryForm> {
 public:
  TGalleryApp() : TSkinnedAppOf<app::TGalleryForm>(&app::RegisterGalleryClasses) {}
  template <class T>
  T& Control(std::string_view name) {
    return *dynamic_cast<T*>(Form().FindComponent(name));
  }
  // A second window of the program made by the same application, shown, and its frame
  // once set up (none when it is not skinned).
  TLacquerForm* ShowOther(win::TForm& form) { return ShowSkinned(form); }
  // Brings the page control's page of this index forward and waits for it to paint.
  void ShowPage(int index);
};

// The frame (1-based) of `frames` side-by-side frames of the image whose pixels the screen
// shows with its top-left corner at `screen` (magenta pixels not compared); 0 when none
// or more than one matches.
int ShownFrameAt(POINT screen, win::TBitmap& image, int frames);

}  // namespace bw::skin::test
