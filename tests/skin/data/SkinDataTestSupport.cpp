#include "tests/skin/data/SkinDataTestSupport.h"

#include <fstream>
#include <iterator>

#include "framework/core/BmpFile.h"

namespace bw::skin::test {

const core::TClassInfo TSkinHostForm::kClass{"TSkinHostForm", &core::TComponent::kClass, {}, {},
                                             &core::CreateComponentOf<TSkinHostForm>};

Bytes SolidBmp(int widthPx, int heightPx, COLORREF colour) {
  core::TDib dib(widthPx, heightPx, 24);
  for (int y = 0; y < heightPx; ++y) {
    std::uint8_t* row = dib.RowFromTop(y);
    for (int x = 0; x < widthPx; ++x) {
      row[3 * x] = GetBValue(colour);
      row[3 * x + 1] = GetGValue(colour);
      row[3 * x + 2] = GetRValue(colour);
    }
  }
  return core::WriteBmp(dib);
}

Bytes PackedRaw(const Bytes& container) { return PackFramedBytes(container); }

Bytes PackedSkin(const std::string& ini, const std::vector<TSkinEntry>& entries) {
  std::vector<TSkinEntry> all{{"skin.ini", Bytes(ini.begin(), ini.end())}};
  all.insert(all.end(), entries.begin(), entries.end());
  return PackedRaw(BuildSkinContainer(all));
}

core::TMemoryStream StreamOf(const Bytes& bytes) {
  core::TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  return stream;
}

void LoadPacked(TSkinData& data, const Bytes& packed) {
  core::TMemoryStream stream = StreamOf(packed);
  data.LoadFromStream(stream);
}

Bytes ProgramSkinStream() {
  std::ifstream in(BW_PROGRAM_SKIN_STREAM, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TNoticeRecorder::TNoticeRecorder() {
  SetDefaultSkinNotice([this](const std::string& text) { notices.push_back(text); });
}

TNoticeRecorder::~TNoticeRecorder() { SetDefaultSkinNotice(nullptr); }

}  // namespace bw::skin::test
