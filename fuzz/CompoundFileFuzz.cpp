// Arbitrary bytes as a compound file: the header, tables, directory and mini stream, then
// the two streams read whole through their chains and walked for records.
#include <cstdint>
#include <vector>

#include "extract/CompoundFile.h"
#include "extract/PresentationRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::extract;
  TMemorySource source(data, size);
  TCompoundFile file(source);
  if (!file.Open().Ok()) return 0;
  for (const char* name : {"Pictures", "PowerPoint Document", "Pictures"}) {
    TCfbStream stream;
    if (!file.OpenStream(name, stream).Ok()) continue;
    // A stream never maps past the file: its sectors were checked against it.
    std::vector<TFileExtent> extents;
    if (!file.Extents(stream, 0, stream.SizeBytes, extents)) __builtin_trap();
    std::uint64_t total = 0;
    for (const TFileExtent& extent : extents) {
      if (extent.FileOffsetBytes > size || extent.LengthBytes > size - extent.FileOffsetBytes + file.SectorBytes()) {
        __builtin_trap();
      }
      total += extent.LengthBytes;
    }
    if (total != stream.SizeBytes) __builtin_trap();
    const TStreamRead read = [&](std::uint64_t offset, std::uint8_t* into, std::size_t length) {
      return file.Read(stream, offset, into, length);
    };
    TWalkResult result;
    WalkPictures(read, stream.SizeBytes, result);
    WalkSounds(read, stream.SizeBytes, result);
    for (const TStructureItem& item : result.Items) {
      if (item.DataOffsetBytes > stream.SizeBytes || item.DataBytes > stream.SizeBytes - item.DataOffsetBytes) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
