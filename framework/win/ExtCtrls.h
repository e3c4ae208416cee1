#pragma once
// A picture on a form, windowless.
#include <memory>

#include "framework/win/Controls.h"
#include "framework/win/Picture.h"

namespace bw::win {

class TImage : public TGraphicControl {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  explicit TImage(core::TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture.get(); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool stretch);
  // With Stretch: scaled up or down to fit, keeping the picture's proportions.
  bool Proportional() const { return FProportional; }
  void SetProportional(bool proportional);
  // Centred in the control instead of anchored at its top-left corner.
  bool Center() const { return FCenter; }
  void SetCenter(bool center);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);

  // Where the picture is drawn, in client coordinates.
  RECT DestRect() const;

 protected:
  void Paint() override;

 private:
  static const core::TPropInfo kProps[];
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = false;
  bool FTransparent = false;
};

}  // namespace bw::win
