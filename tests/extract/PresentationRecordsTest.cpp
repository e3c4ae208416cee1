#include "extract/PresentationRecords.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/extract/CompoundFileWriter.h"

namespace bw::extract {
namespace {

using test::TBytes;

TStreamRead Reader(const TBytes& stream) {
  return [&stream](std::uint64_t offset, std::uint8_t* into, std::size_t length) {
    if (offset > stream.size() || length > stream.size() - offset) return false;
    std::memcpy(into, stream.data() + offset, length);
    return true;
  };
}

TWalkResult Pictures(const TBytes& stream) {
  TWalkResult result;
  WalkPictures(Reader(stream), stream.size(), result);
  return result;
}

TBytes Join(std::initializer_list<TBytes> parts) {
  TBytes out;
  for (const TBytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

TBytes Slice(const TBytes& stream, const TStructureItem& item) {
  return TBytes(stream.begin() + static_cast<std::ptrdiff_t>(item.DataOffsetBytes),
                stream.begin() + static_cast<std::ptrdiff_t>(item.DataOffsetBytes + item.DataBytes));
}

TEST(PictureWalk, EveryKindWithOneOrTwoIdentifiers) {
  const TBytes jpeg = test::FakeJpeg(300, true);
  const TBytes png = test::FakePng(200);
  const TBytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
  const TBytes emf(120, 0x33);
  TBytes twoIds = test::BitmapRecord(0xF01D, 0x6E3, jpeg);  // JPEG, second instance value + 1
  twoIds.insert(twoIds.begin() + 8 + 16, 16, 0x22);          // the second identifier
  twoIds[4] = static_cast<std::uint8_t>(twoIds.size() - 8);
  const TBytes stream = Join({test::BitmapRecord(0xF01D, 0x46A, jpeg), test::BitmapRecord(0xF01E, 0x6E0, png),
                              test::Record(0, 0, 0xF00B, TBytes(10, 0)),  // not a picture: skipped
                              test::BitmapRecord(0xF029, 0x6E4, tiff), twoIds,
                              test::MetafileRecord(0xF01A, 0x3D4, emf, false),
                              test::BitmapRecord(0xF02A, 0x46A, jpeg)});
  const TWalkResult result = Pictures(stream);
  EXPECT_TRUE(result.Problems.empty());
  ASSERT_EQ(result.Items.size(), 6u);
  const TStructureKind kinds[] = {TStructureKind::Jpeg, TStructureKind::Png, TStructureKind::Tiff,
                                  TStructureKind::Jpeg, TStructureKind::Emf, TStructureKind::Jpeg};
  const TBytes* bytes[] = {&jpeg, &png, &tiff, &jpeg, &emf, &jpeg};
  const char* extensions[] = {".jpg", ".png", ".tif", ".jpg", ".emf", ".jpg"};
  for (std::size_t i = 0; i < result.Items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(result.Items[i].Kind, kinds[i]);
    EXPECT_EQ(Slice(stream, result.Items[i]), *bytes[i]);
    EXPECT_EQ(result.Items[i].Extension, extensions[i]);
  }
  EXPECT_FALSE(result.Items[4].Metafile.Compressed);
}

TEST(PictureWalk, BitmapGetsTheRawCarvesFileHeader) {
  for (const auto& [bits, offset] : std::vector<std::pair<std::uint16_t, std::uint32_t>>{{1, 62}, {4, 118}, {8, 1078}, {24, 54}}) {
    const TBytes dib = test::FakeDib(bits, 64);
    const TWalkResult result = Pictures(test::BitmapRecord(0xF01F, 0x7A8, dib));
    ASSERT_EQ(result.Items.size(), 1u);
    const TBytes& prefix = result.Items[0].Prefix;
    ASSERT_EQ(prefix.size(), 14u);
    EXPECT_EQ(prefix[0], 'B');
    EXPECT_EQ(prefix[1], 'M');
    // The raw carve writes the record length minus 3: the DIB plus its 14 header bytes.
    EXPECT_EQ(prefix[2] | prefix[3] << 8 | prefix[4] << 16, static_cast<int>(dib.size() + 14));
    EXPECT_EQ(static_cast<std::uint32_t>(prefix[10] | prefix[11] << 8), offset);
  }
}

TEST(PictureWalk, DamagedRecordsAreReportedNotTaken) {
  const TBytes jpeg = test::FakeJpeg(100, false);
  struct TCase {
    const char* Name;
    TBytes Stream;
    std::size_t Items;
    const char* Problem;
  };
  TBytes pastEnd = test::BitmapRecord(0xF01D, 0x46A, jpeg);
  pastEnd[4] = 0xFF;
  pastEnd[7] = 0x7F;
  TBytes badSaved = test::MetafileRecord(0xF01B, 0x216, TBytes(50, 1), false);
  badSaved[8 + 16 + 28] = 0xFF;  // saved size larger than the record
  TBytes badCompression = test::MetafileRecord(0xF01B, 0x216, TBytes(50, 1), false);
  badCompression[8 + 16 + 32] = 0x07;
  const TCase cases[] = {
      {"unknown instance", Join({test::BitmapRecord(0xF01D, 0x123, jpeg), test::BitmapRecord(0xF01D, 0x46A, jpeg)}), 1,
       "unknown instance"},
      {"length past the stream", Join({test::BitmapRecord(0xF01E, 0x6E0, jpeg), pastEnd}), 1, "past the end"},
      {"too short for its header", test::Record(0, 0x46A, 0xF01D, TBytes(10, 0)), 0, "too short"},
      {"saved size past the record", badSaved, 0, "saved size"},
      {"unknown compression", badCompression, 0, "compression"},
      {"bitmap without header", test::BitmapRecord(0xF01F, 0x7A8, TBytes(5, 0)), 0, "too short"},
      {"half a header at the end", Join({test::BitmapRecord(0xF01D, 0x46A, jpeg), TBytes(5, 0)}), 1, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TWalkResult result = Pictures(c.Stream);
    EXPECT_EQ(result.Items.size(), c.Items);
    if (*c.Problem != '\0') {
      ASSERT_EQ(result.Problems.size(), 1u);
      EXPECT_NE(result.Problems[0].find(c.Problem), std::string::npos) << result.Problems[0];
    } else {
      EXPECT_TRUE(result.Problems.empty());
    }
  }
}

TEST(SoundWalk, SoundsInsideTheDocumentContainer) {
  const TBytes first = test::FakeWave(500);
  const TBytes second = test::FakeWave(80);
  const TBytes stream = Join({test::Record(0xF, 0, 0x0FF0, test::Record(0, 0, 0x0FF1, TBytes(4, 0))),
                              test::SoundDocument({{"chime.wav", first}, {"odd name", second}, {"x.MP3", first}})});
  TWalkResult result;
  WalkSounds(Reader(stream), stream.size(), result);
  EXPECT_TRUE(result.Problems.empty());
  ASSERT_EQ(result.Items.size(), 3u);
  EXPECT_EQ(Slice(stream, result.Items[0]), first);
  EXPECT_EQ(Slice(stream, result.Items[1]), second);
  EXPECT_EQ(result.Items[0].Extension, ".wav");
  EXPECT_EQ(result.Items[1].Extension, ".wav");  // no extension given: a RIFF WAVE is a .wav
  EXPECT_EQ(result.Items[2].Extension, ".mp3");
}

TEST(SoundWalk, DamagedContainersStopWithAProblem) {
  TBytes document = test::SoundDocument({{"a.wav", test::FakeWave(100)}});
  // The sound data record claims more than its container holds.
  const std::size_t data = document.size() - 112 - 8;
  ASSERT_EQ(document[data + 2], 0xE7);
  document[data + 4] = 0xF0;
  TWalkResult result;
  WalkSounds(Reader(document), document.size(), result);
  EXPECT_TRUE(result.Items.empty());
  ASSERT_FALSE(result.Problems.empty());
  EXPECT_NE(result.Problems[0].find("past its sound container"), std::string::npos);

  // Containers nested deeper than the limit are skipped, not followed.
  TBytes nested = test::SoundDocument({{"a.wav", test::FakeWave(10)}});
  for (int i = 0; i < kMaxRecordDepth; ++i) nested = test::Record(0xF, 0, 0x1000, nested);
  TWalkResult deep;
  WalkSounds(Reader(nested), nested.size(), deep);
  EXPECT_TRUE(deep.Items.empty());
  EXPECT_FALSE(deep.Problems.empty());
}

TEST(PlaceableHeader, ChecksumAndUnitsPerInch) {
  TMetafileInfo info;
  info.Bounds[2] = 2880;  // two inches at 1440 units
  info.Bounds[3] = 1440;
  info.SizeEmu[0] = 2 * 914400;
  const std::vector<std::uint8_t> header = PlaceableWmfHeader(info);
  ASSERT_EQ(header.size(), 22u);
  EXPECT_TRUE(HasPlaceableKey(header.data(), header.size()));
  EXPECT_EQ(header[10] | header[11] << 8, 2880);
  EXPECT_EQ(header[14] | header[15] << 8, 1440);
  std::uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<std::uint16_t>(header[i] | header[i + 1] << 8);
  EXPECT_EQ(header[20] | header[21] << 8, checksum);

  info.SizeEmu[0] = 0;  // no usable size: the common default
  info.Bounds[2] = 100000;  // bounds beyond 16 bits are clamped
  const std::vector<std::uint8_t> fallback = PlaceableWmfHeader(info);
  EXPECT_EQ(fallback[14] | fallback[15] << 8, 1440);
  EXPECT_EQ(fallback[10] | fallback[11] << 8, 32767);
}

}  // namespace
}  // namespace bw::extract
