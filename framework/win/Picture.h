#pragma once
// A picture holds any one graphic: a bitmap, a JPEG picture or an icon. Loading a file
// picks the class by the file's extension; the binary property Data carries the
// graphic's class name and its file bytes, so a form description can hold a picture.
#include <functional>
#include <memory>
#include <string>

#include "framework/core/Object.h"
#include "framework/win/Graphic.h"

namespace bw::win {

class TBitmap;

class TPicture : public core::TPersistent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of `graphic` (nullptr empties the picture).
  void SetGraphic(const TGraphic* graphic);
  // The graphic as a bitmap; a picture holding something else is emptied for a new bitmap.
  TBitmap& Bitmap();
  int Width() const;
  int Height() const;

  // .bmp, .jpg/.jpeg and .ico; another extension or a damaged file raises and keeps the
  // graphic held before.
  void LoadFromFile(const std::string& fileName);
  // Raises EInvalidGraphic for an empty picture.
  void SaveToFile(const std::string& fileName);

  void Assign(const core::TPersistent& source) override;
  void DefineProperties(core::TFiler& filer) override;

  std::function<void()> OnChange;

 private:
  void Adopt(std::unique_ptr<TGraphic> graphic);
  void ReadData(core::TStream& stream);
  void WriteData(core::TStream& stream);
  void Changed();

  std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace bw::win
