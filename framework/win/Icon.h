#pragma once
// Icons: an HICON made from the best image of an .ico file (or a resource), drawn with
// DrawIconEx. The file bytes are kept, so saving writes the file that was loaded.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/win/Graphic.h"

namespace bw::win {

// The owner of an icon handle: destroyed, not deleted like GDI objects.
class TIconHandle {
 public:
  TIconHandle() = default;
  explicit TIconHandle(HICON handle) : FHandle(handle) {}
  ~TIconHandle() { Reset(); }
  TIconHandle(const TIconHandle&) = delete;
  TIconHandle& operator=(const TIconHandle&) = delete;
  TIconHandle(TIconHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TIconHandle& operator=(TIconHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
    return *this;
  }
  HICON Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  HICON Release() { return std::exchange(FHandle, nullptr); }
  void Reset(HICON handle = nullptr) {
    if (FHandle && FHandle != handle) DestroyIcon(FHandle);
    FHandle = handle;
  }

 private:
  HICON FHandle = nullptr;
};

class TIcon : public TGraphic {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  static constexpr int kDefaultSizePx = 32;

  TIcon() = default;
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void Draw(TCanvas& canvas, const RECT& rect) override;

  HICON Handle() const { return FHandle.Get(); }
  // Takes ownership of `icon` (nullptr empties the icon).
  void SetHandle(HICON icon);
  // Takes the handle away; the icon is empty afterwards and the caller owns the handle.
  HICON ReleaseHandle();

  // .ico files: the image nearest 32 x 32 is shown. Damaged files raise EInvalidGraphic
  // and keep the previous icon; an empty stream gives an empty icon.
  void LoadFromStream(core::TStream& stream) override;
  // Writes the loaded file, or a 32-bit one-image file made from the handle.
  void SaveToStream(core::TStream& stream) override;
  void LoadFromResourceName(HINSTANCE instance, const std::string& name, int sizePx = kDefaultSizePx);
  void LoadFromResourceID(HINSTANCE instance, int id, int sizePx = kDefaultSizePx);
  void Assign(const core::TPersistent& source) override;

 private:
  void Adopt(HICON icon, std::vector<std::uint8_t> data);
  void LoadResource(HINSTANCE instance, LPCWSTR name, const std::string& what, int sizePx);

  TIconHandle FHandle;
  std::vector<std::uint8_t> FData;
  int FWidth = 0;
  int FHeight = 0;
};

}  // namespace bw::win
