#pragma once
// Base of everything a canvas can draw: bitmaps, JPEG pictures, icons. A graphic is
// persistent: its binary property Data carries its file bytes in a form description.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Exceptions.h"
#include "framework/core/Object.h"

namespace bw::core {
class TStream;
}

namespace bw::win {

class TCanvas;

// A picture file or stream that cannot be read, or a graphic that cannot be made.
class EInvalidGraphic : public core::Exception {
  using Exception::Exception;
};

class TGraphic : public core::TPersistent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool transparent) { FTransparent = transparent; }
  // Draws the whole graphic scaled into `rect` (unscaled when the sizes agree).
  virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;

  // Reads from the stream's position to its end; raises EInvalidGraphic for damaged
  // data and leaves the graphic as it was then.
  virtual void LoadFromStream(core::TStream& stream) = 0;
  // Writes the graphic in its file format (an empty graphic may write nothing).
  virtual void SaveToStream(core::TStream& stream) = 0;
  // Paths are UTF-8. Open failures raise EFOpenError/EFCreateError.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

  void DefineProperties(core::TFiler& filer) override;

  // Told after the graphic's content changed through the graphic itself (loads, sizes).
  std::function<void()> OnChange;

 protected:
  void Changed();

 private:
  bool FTransparent = false;
};

// The bytes from the stream's position to its end; more than maxBytes raises EInvalidGraphic.
std::vector<std::uint8_t> ReadGraphicBytes(core::TStream& stream, std::size_t maxBytes);

}  // namespace bw::win
