#pragma once
// Skins made in memory for the skin data tests, and a form class to read them into.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Streams.h"
#include "skin/data/LacquerData.h"

namespace bw::skin::test {

using Bytes = std::vector<std::uint8_t>;

// The root class of the test form descriptions.
class TSkinHostForm : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  using core::TComponent::TComponent;
};

// A 24-bit BMP file filled with one colour.
Bytes SolidBmp(int widthPx, int heightPx, COLORREF colour = RGB(10, 20, 30));

// The packed container of `ini` (as skin.ini) and the named entries.
Bytes PackedSkin(const std::string& ini, const std::vector<TSkinEntry>& entries = {});
Bytes PackedRaw(const Bytes& container);

core::TMemoryStream StreamOf(const Bytes& bytes);
// LoadFromStream from a packed skin.
void LoadPacked(TSkinData& data, const Bytes& packed);

// The program's skin as the build packed it: a SkinStream value (length, then container).
Bytes ProgramSkinStream();

// Records the skin reader's notices instead of showing them, while it lives.
class TNoticeRecorder {
 public:
  TNoticeRecorder();
  ~TNoticeRecorder();
  TNoticeRecorder(const TNoticeRecorder&) = delete;
  TNoticeRecorder& operator=(const TNoticeRecorder&) = delete;
  std::vector<std::string> notices;
};

}  // namespace bw::skin::test
