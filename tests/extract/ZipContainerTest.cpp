#include "extract/ZipContainer.h"

#include <gtest/gtest.h>

#include "tests/extract/CompoundFileWriter.h"
#include "tests/extract/ZipWriter.h"

namespace bw::extract {
namespace {

using test::TZipBytes;
using test::TZipSpec;
using test::TZipSpecEntry;

struct TOpened {
  TZipBytes Bytes;
  TMemorySource Source{nullptr, 0};
  TZipContainer Zip{Source};
  TZipResult Status;
  explicit TOpened(TZipBytes bytes) : Bytes(std::move(bytes)), Source(Bytes.data(), Bytes.size()) {
    Status = Zip.Open();
  }
  // The entry's bytes as Read gives them, and its result.
  TZipResult Read(std::size_t index, TZipBytes& out) {
    out.clear();
    return Zip.Read(Zip.Entries().at(index), [&](const std::uint8_t* data, std::size_t length) {
      out.insert(out.end(), data, data + length);
      return true;
    });
  }
};

TZipBytes Pattern(std::size_t sizeBytes, std::uint32_t seed) {
  TZipBytes out(sizeBytes);
  for (std::uint8_t& byte : out) {
    seed = seed * 1103515245 + 12345;
    byte = static_cast<std::uint8_t>(seed >> 16);
  }
  return out;
}

TEST(ZipClassify, MediaFoldersUnsafeNamesAndExtensions) {
  struct TCase {
    const char* Name;
    TEntryVerdict Verdict;
    TMediaClass Class;
    const char* Extension;
  };
  const TCase cases[] = {
      {"ppt/media/image1.png", TEntryVerdict::Media, TMediaClass::Picture, ".png"},
      {"ppt/media/image2.JPEG", TEntryVerdict::Media, TMediaClass::Picture, ".JPEG"},
      {"ppt/media/image3.emf", TEntryVerdict::Media, TMediaClass::Picture, ".emf"},
      {"Pictures/10000000000001.svg", TEntryVerdict::Media, TMediaClass::Picture, ".svg"},
      {"Media/clip.mp4", TEntryVerdict::Media, TMediaClass::OtherMedia, ".mp4"},
      {"ppt/media/media1.wav", TEntryVerdict::Media, TMediaClass::OtherMedia, ".wav"},
      {"ppt/media/noextension", TEntryVerdict::Media, TMediaClass::OtherMedia, ".bin"},
      {"ppt/media/odd.p$g", TEntryVerdict::Media, TMediaClass::OtherMedia, ".bin"},
      {"ppt/media/x.averyveryverylongone", TEntryVerdict::Media, TMediaClass::OtherMedia, ".bin"},
      {"ppt/slides/slide1.xml", TEntryVerdict::NotMedia, TMediaClass::Picture, ""},
      {"docProps/thumbnail.jpeg", TEntryVerdict::NotMedia, TMediaClass::Picture, ""},
      {"Thumbnails/thumbnail.png", TEntryVerdict::NotMedia, TMediaClass::Picture, ""},
      {"ppt/media/", TEntryVerdict::NotMedia, TMediaClass::Picture, ""},
      {"xppt/media/a.png", TEntryVerdict::NotMedia, TMediaClass::Picture, ""},
      {"ppt/media/../../etc/a.png", TEntryVerdict::Unsafe, TMediaClass::Picture, ""},
      {"ppt\\media\\..\\a.png", TEntryVerdict::Unsafe, TMediaClass::Picture, ""},
      {"/ppt/media/a.png", TEntryVerdict::Unsafe, TMediaClass::Picture, ""},
      {"C:/ppt/media/a.png", TEntryVerdict::Unsafe, TMediaClass::Picture, ""},
      {"..", TEntryVerdict::Unsafe, TMediaClass::Picture, ""},
      {"", TEntryVerdict::Unsafe, TMediaClass::Picture, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMediaEntry media;
    EXPECT_EQ(ClassifyEntry(c.Name, media), c.Verdict);
    if (c.Verdict != TEntryVerdict::Media) continue;
    EXPECT_EQ(media.Class, c.Class);
    EXPECT_EQ(media.Extension, c.Extension);
  }
  // Dots inside a name are no ".." part.
  TMediaEntry media;
  EXPECT_EQ(ClassifyEntry("ppt/media/a..b.png", media), TEntryVerdict::Media);
}

TEST(ZipContainer, StoredAndDeflatedEntriesReadByteExactInDirectoryOrder) {
  const TZipBytes png = test::FakePng(3000);
  const TZipBytes emf = Pattern(20000, 7);
  TZipBytes wmf(50000, 0x33);
  TZipSpec spec;
  spec.Entries = {{"ppt/media/image1.png", png}, {"ppt/media/image2.emf", emf, true}, {"ppt/media/image3.wmf", wmf, true}};
  spec.DirectoryOrder = {2, 0, 1};
  for (const bool zip64 : {false, true}) {
    SCOPED_TRACE(zip64 ? "zip64" : "zip");
    spec.Zip64 = zip64;
    TOpened opened(test::WriteZip(spec));
    ASSERT_TRUE(opened.Status.Ok()) << opened.Status.Reason;
    ASSERT_EQ(opened.Zip.Entries().size(), 3u);
    EXPECT_EQ(opened.Zip.Entries()[0].Name, "ppt/media/image3.wmf");
    EXPECT_EQ(opened.Zip.Entries()[1].Name, "ppt/media/image1.png");
    EXPECT_EQ(opened.Zip.Entries()[0].Method, 8);
    EXPECT_EQ(opened.Zip.Entries()[1].Method, 0);
    TZipBytes out;
    ASSERT_TRUE(opened.Read(0, out).Ok());
    EXPECT_EQ(out, wmf);
    ASSERT_TRUE(opened.Read(1, out).Ok());
    EXPECT_EQ(out, png);
    ASSERT_TRUE(opened.Read(2, out).Ok());
    EXPECT_EQ(out, emf);
  }
}

TEST(ZipContainer, EntriesThatLieOrHideAreRefusedOneByOne) {
  const TZipBytes data = Pattern(4000, 3);
  struct TCase {
    const char* Name;
    TZipSpecEntry Entry;
    TZipStatus Status;
    const char* Reason;
  };
  TZipSpecEntry longer{"ppt/media/a.png", data, true};
  longer.StatedSize = 1000;
  TZipSpecEntry shorter{"ppt/media/a.png", data, true};
  shorter.StatedSize = 9000;
  TZipSpecEntry badCrc{"ppt/media/a.png", data, true};
  badCrc.Crc = 0x12345678;
  TZipSpecEntry storedLie{"ppt/media/a.png", data};
  storedLie.StatedSize = 3000;
  TZipSpecEntry encrypted{"ppt/media/a.png", data};
  encrypted.Encrypted = true;
  const TCase cases[] = {
      {"inflates past its size", longer, TZipStatus::Corrupt, "past the stated size"},
      {"ends before its size", shorter, TZipStatus::Corrupt, "ends before"},
      {"wrong checksum", badCrc, TZipStatus::Corrupt, "crc"},
      {"stored with two sizes", storedLie, TZipStatus::Corrupt, "two sizes"},
      {"encrypted", encrypted, TZipStatus::Refused, "encrypted"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TZipSpec spec;
    spec.Entries = {c.Entry, {"ppt/media/b.png", data}};
    TOpened opened(test::WriteZip(spec));
    ASSERT_TRUE(opened.Status.Ok()) << opened.Status.Reason;
    TZipBytes out;
    const TZipResult result = opened.Read(0, out);
    EXPECT_EQ(result.Status, c.Status);
    EXPECT_NE(result.Reason.find(c.Reason), std::string::npos) << result.Reason;
    // Never more than the stated size reaches the sink.
    EXPECT_LE(out.size(), opened.Zip.Entries()[0].SizeBytes);
    // The next entry is not harmed.
    ASSERT_TRUE(opened.Read(1, out).Ok());
    EXPECT_EQ(out, data);
  }
}

TEST(ZipContainer, BombsStopAtTheArchiveBudget) {
  // One entry that states more than the archive may inflate to: refused before any byte.
  const TZipBytes zeros(std::size_t{80} << 20, 0);
  TZipSpec single;
  single.Entries = {{"ppt/media/bomb.bmp", zeros, true}};
  TOpened bomb(test::WriteZip(single));
  ASSERT_TRUE(bomb.Status.Ok());
  EXPECT_LT(bomb.Bytes.size(), std::size_t{100} << 10);
  TZipBytes out;
  const TZipResult refused = bomb.Read(0, out);
  EXPECT_EQ(refused.Status, TZipStatus::Refused);
  EXPECT_NE(refused.Reason.find("a bomb"), std::string::npos) << refused.Reason;
  EXPECT_TRUE(out.empty());
  // Entries whose sum passes the budget: the first ones are read, the rest refused.
  TZipSpec many;
  const TZipBytes part(std::size_t{24} << 20, 0);
  for (const char* name : {"ppt/media/a.bmp", "ppt/media/b.bmp", "ppt/media/c.bmp", "ppt/media/d.bmp"}) {
    many.Entries.push_back({name, part, true});
  }
  TOpened several(test::WriteZip(many));
  ASSERT_TRUE(several.Status.Ok()) << several.Status.Reason;
  ASSERT_LT(several.Bytes.size(), std::size_t{200} << 10);
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(several.Read(i, out).Ok());
    total += out.size();
  }
  EXPECT_EQ(several.Read(3, out).Status, TZipStatus::Refused);
  EXPECT_LE(total, kZipBombFloorBytes + several.Bytes.size() * kZipMaxInflateRatio);
  // Directory entries that share one entry's data (the overlapping bomb) are refused whole.
  TZipSpec shared;
  shared.Entries = {{"ppt/media/a.bmp", part, true}};
  for (int i = 0; i < 10; ++i) {
    TZipSpecEntry again{"ppt/media/a.bmp", {}, true};
    again.SharesDataOf = 0;
    shared.Entries.push_back(again);
  }
  TOpened overlap(test::WriteZip(shared));
  EXPECT_EQ(overlap.Status.Status, TZipStatus::Corrupt) << overlap.Status.Reason;
}

TEST(ZipContainer, DamagedArchivesAreToldApartFromOtherFiles) {
  TZipSpec spec;
  spec.Entries = {{"ppt/media/a.png", Pattern(500, 1)}, {"ppt/media/b.png", Pattern(700, 2)}};
  const TZipBytes good = test::WriteZip(spec);
  spec.DirectoryOffset = 999999;
  const TZipBytes lyingDirectory = test::WriteZip(spec);
  TZipBytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  TZipBytes badLocal = good;
  badLocal[30] = 'q';  // the first local header's name differs from its directory entry's
  struct TCase {
    const char* Name;
    TZipBytes Bytes;
    TZipStatus Status;
  };
  const TCase cases[] = {
      {"empty", {}, TZipStatus::NotZip},
      {"other bytes", Pattern(5000, 9), TZipStatus::NotZip},
      {"a compound file", test::WriteCompoundFile({}).Bytes, TZipStatus::NotZip},
      {"directory offset past the end", lyingDirectory, TZipStatus::Corrupt},
      {"truncated", truncated, TZipStatus::NotZip},
      {"local header disagrees", badLocal, TZipStatus::Corrupt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOpened opened(c.Bytes);
    if (c.Status == TZipStatus::Corrupt && opened.Status.Ok()) {
      // libzip may open it and find the lie at the entry instead.
      TZipBytes out;
      EXPECT_FALSE(opened.Read(0, out).Ok());
      continue;
    }
    EXPECT_EQ(opened.Status.Status, c.Status) << opened.Status.Reason;
    EXPECT_FALSE(opened.Status.Reason.empty());
  }
}

}  // namespace
}  // namespace bw::extract
