// Arbitrary stream bytes through the record walk: the first byte picks the Pictures walk or
// the sound walk; every item found must lie inside the stream and read back.
#include <cstdint>
#include <cstring>
#include <vector>

#include "extract/PresentationRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::extract;
  if (size < 1) return 0;
  const bool pictures = (data[0] & 1) != 0;
  const std::uint8_t* stream = data + 1;
  const std::size_t streamBytes = size - 1;
  const TStreamRead read = [&](std::uint64_t offset, std::uint8_t* into, std::size_t length) {
    if (offset > streamBytes || length > streamBytes - offset) return false;
    std::memcpy(into, stream + offset, length);
    return true;
  };
  TWalkResult result;
  if (pictures) {
    WalkPictures(read, streamBytes, result);
  } else {
    WalkSounds(read, streamBytes, result);
  }
  for (const TStructureItem& item : result.Items) {
    if (item.DataOffsetBytes > streamBytes || item.DataBytes > streamBytes - item.DataOffsetBytes) __builtin_trap();
    if (item.RecordOffsetBytes >= item.DataOffsetBytes) __builtin_trap();
    if (item.Extension.empty() || item.Extension[0] != '.') __builtin_trap();
    if (item.Kind == TStructureKind::Wmf && PlaceableWmfHeader(item.Metafile).size() != 22) __builtin_trap();
  }
  return 0;
}
