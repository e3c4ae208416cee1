#include "framework/win/Picture.h"

#include <algorithm>
#include <cctype>

#include "framework/core/Streams.h"
#include "framework/core/Text.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Icon.h"
#include "framework/win/JpegImage.h"

namespace bw::win {

namespace {

// Graphic classes a picture can hold: what files and form descriptions name.
struct TGraphicClass {
  const core::TClassInfo* Class;
  std::unique_ptr<TGraphic> (*Create)();
};

template <class T>
std::unique_ptr<TGraphic> CreateGraphic() {
  return std::make_unique<T>();
}

const TGraphicClass kGraphicClasses[] = {
    {&TBitmap::kClass, &CreateGraphic<TBitmap>},
    {&TJPEGImage::kClass, &CreateGraphic<TJPEGImage>},
    {&TIcon::kClass, &CreateGraphic<TIcon>},
};

struct TExtension {
  const char* Extension;
  const core::TClassInfo* Class;
};

const TExtension kExtensions[] = {
    {"bmp", &TBitmap::kClass},
    {"jpg", &TJPEGImage::kClass},
    {"jpeg", &TJPEGImage::kClass},
    {"ico", &TIcon::kClass},
};

std::unique_ptr<TGraphic> CreateByName(std::string_view name) {
  for (const TGraphicClass& c : kGraphicClasses)
    if (core::SameText(name, c.Class->Name)) return c.Create();
  return nullptr;
}

std::string ExtensionOf(const std::string& fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  const std::size_t slash = fileName.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return fileName.substr(dot + 1);
}

// A copy through the graphic's file bytes: one rule for every class.
std::unique_ptr<TGraphic> CopyOf(const TGraphic& graphic) {
  std::unique_ptr<TGraphic> copy = CreateByName(graphic.ClassName());
  if (!copy) throw EInvalidGraphic("Cannot hold a graphic of class " + graphic.ClassName() + " in a picture");
  copy->Assign(graphic);
  return copy;
}

}  // namespace

const core::TClassInfo TPicture::kClass{"TPicture", &core::TPersistent::kClass, {}, {}};

TPicture::TPicture() = default;

TPicture::~TPicture() {
  if (FGraphic) FGraphic->OnChange = nullptr;
}

void TPicture::Changed() {
  if (OnChange) OnChange();
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  if (FGraphic) FGraphic->OnChange = nullptr;
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = [this] { Changed(); };
  Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (graphic == FGraphic.get()) return;
  Adopt(graphic ? CopyOf(*graphic) : nullptr);
}

TBitmap& TPicture::Bitmap() {
  auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get());
  if (bitmap == nullptr) {
    auto made = std::make_unique<TBitmap>();
    bitmap = made.get();
    Adopt(std::move(made));
  }
  return *bitmap;
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }

int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const std::string& fileName) {
  const std::string extension = ExtensionOf(fileName);
  const core::TClassInfo* cls = nullptr;
  for (const TExtension& e : kExtensions)
    if (core::SameText(extension, e.Extension)) cls = e.Class;
  if (cls == nullptr)
    throw EInvalidGraphic("Unknown picture file extension (." + extension + ") of \"" + fileName + "\"");
  std::unique_ptr<TGraphic> graphic = CreateByName(cls->Name);
  graphic->LoadFromFile(fileName);  // raises before the held graphic is touched
  Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (!FGraphic) throw EInvalidGraphic("Cannot save an empty picture to \"" + fileName + "\"");
  FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(const core::TPersistent& source) {
  if (const auto* picture = dynamic_cast<const TPicture*>(&source)) return SetGraphic(picture->Graphic());
  if (const auto* graphic = dynamic_cast<const TGraphic*>(&source)) return SetGraphic(graphic);
  core::TPersistent::Assign(source);
}

// Data: one length byte, the class name, then the graphic's file bytes.
void TPicture::ReadData(core::TStream& stream) {
  std::uint8_t length = 0;
  stream.ReadBuffer(&length, 1);
  std::string name(length, '\0');
  if (length > 0) stream.ReadBuffer(name.data(), length);
  std::unique_ptr<TGraphic> graphic = CreateByName(name);
  if (!graphic) throw EInvalidGraphic("Unknown picture class \"" + name + "\"");
  graphic->LoadFromStream(stream);
  Adopt(std::move(graphic));
}

void TPicture::WriteData(core::TStream& stream) {
  const std::string name = FGraphic->ClassName();
  const auto length = static_cast<std::uint8_t>(name.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(name.data(), length);
  FGraphic->SaveToStream(stream);
}

void TPicture::DefineProperties(core::TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](core::TStream& s) { ReadData(s); }, [this](core::TStream& s) { WriteData(s); },
      FGraphic != nullptr && !FGraphic->Empty());
}

}  // namespace bw::win
