#include "framework/win/ExtCtrls.h"

#include "framework/win/Graphic.h"

namespace bw::win {

const core::TPropInfo TImage::kProps[] = {
    core::ObjProp<&TImage::Picture>("Picture"),
    core::BoolProp<&TImage::FStretch, &TImage::SetStretch>("Stretch", false),
    core::BoolProp<&TImage::FProportional, &TImage::SetProportional>("Proportional", false),
    core::BoolProp<&TImage::FCenter, &TImage::SetCenter>("Center", false),
    core::BoolProp<&TImage::FTransparent, &TImage::SetTransparent>("Transparent", false),
};
const core::TClassInfo TImage::kClass{"TImage", &TGraphicControl::kClass, kProps, {},
                                      &core::CreateComponentOf<TImage>};

TImage::TImage(core::TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
  FWidth = 105;
  FHeight = 105;
  FPicture->OnChange = [this] { Invalidate(); };
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::SetStretch(bool stretch) {
  FStretch = stretch;
  Invalidate();
}

void TImage::SetProportional(bool proportional) {
  FProportional = proportional;
  Invalidate();
}

void TImage::SetCenter(bool center) {
  FCenter = center;
  Invalidate();
}

void TImage::SetTransparent(bool transparent) {
  FTransparent = transparent;
  Invalidate();
}

RECT TImage::DestRect() const {
  const int pw = FPicture->Width(), ph = FPicture->Height();
  const int cw = FWidth, ch = FHeight;
  int w = pw, h = ph;
  if (FStretch && pw > 0 && ph > 0) {
    if (!FProportional) {
      w = cw;
      h = ch;
    } else if (static_cast<long long>(pw) * ch > static_cast<long long>(ph) * cw) {
      w = cw;  // wider than the control: the width decides
      h = static_cast<int>(static_cast<long long>(ph) * cw / pw);
    } else {
      h = ch;
      w = static_cast<int>(static_cast<long long>(pw) * ch / ph);
    }
  }
  const int x = FCenter ? (cw - w) / 2 : 0, y = FCenter ? (ch - h) / 2 : 0;
  return RECT{x, y, x + w, y + h};
}

void TImage::Paint() {
  TGraphic* graphic = FPicture->Graphic();
  if (!graphic || graphic->Empty()) return;
  const bool wasTransparent = graphic->Transparent();
  graphic->SetTransparent(FTransparent);
  const RECT r = DestRect();
  Canvas().StretchDraw(r, *graphic);
  graphic->SetTransparent(wasTransparent);
}

}  // namespace bw::win
