#pragma once
// Test-side writer of compound files and presentation records, with the layouts readers
// must cope with: fragmented chains, allocation sectors between runs, the mini stream, a
// DIFAT chain, 4096-byte sectors. The layout it reports lets a test damage the file.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bw::extract::test {

using TBytes = std::vector<std::uint8_t>;

struct TCfbSpec {
  std::uint32_t SectorBytes = 512;
  std::vector<std::pair<std::string, TBytes>> Streams;  // under the root, in this order
  bool Interleave = false;            // the streams' sectors alternate: every chain fragmented
  std::uint32_t FatSectorEvery = 0;   // an allocation sector after every N data sectors (0: all at the end)
  std::uint32_t ExtraFreeSectors = 0; // free sectors at the end, to make the file large
};

struct TCfbLayout {
  TBytes Bytes;
  std::uint32_t SectorBytes = 512;
  std::map<std::string, std::vector<std::uint32_t>> Chains;  // regular chains by stream ("" = mini stream)
  std::vector<std::uint32_t> FatSectors;
  std::vector<std::uint32_t> DifatSectors;
  std::uint32_t DirectorySector = 0;

  std::uint64_t SectorOffset(std::uint32_t sector) const { return (std::uint64_t{sector} + 1) * SectorBytes; }
  // Rewrites the allocation-table entry of a sector.
  void SetFatEntry(std::uint32_t sector, std::uint32_t value);
  // Rewrites a 32-bit field of directory entry `entry` (offset within the 128-byte entry).
  void SetDirectoryField(std::uint32_t entry, std::uint32_t offset, std::uint32_t value);
};

TCfbLayout WriteCompoundFile(const TCfbSpec& spec);

// One record: header (version, instance, type, length) and body.
TBytes Record(std::uint16_t version, std::uint16_t instance, std::uint16_t type, const TBytes& body);
// A picture record of a bitmap kind with one identifier and the tag byte.
TBytes BitmapRecord(std::uint16_t type, std::uint16_t instance, const TBytes& picture);
// A metafile record with one identifier; deflated when compress is set.
TBytes MetafileRecord(std::uint16_t type, std::uint16_t instance, const TBytes& metafile, bool compress,
                      std::int32_t widthUnits = 0, std::int32_t heightUnits = 0, std::int32_t widthEmu = 0);
// A document container holding a sound collection with one container per sound.
TBytes SoundDocument(const std::vector<std::pair<std::string, TBytes>>& namedSounds);

// Stand-ins with the right signatures and no other signature inside.
TBytes FakeJpeg(std::size_t sizeBytes, bool exif);
TBytes FakePng(std::size_t sizeBytes);
TBytes FakeWave(std::size_t dataBytes);
TBytes FakeDib(std::uint16_t bitCount, std::size_t pixelBytes);

}  // namespace bw::extract::test
