#include "skin/data/SkinRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace bw::skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

void PutI32(Bytes& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

// An unpacked container written field by field, so that any field can lie.
Bytes RawContainer(std::int32_t mark, const std::string& nameText, const std::vector<std::int32_t>& sizes,
                   const Bytes& data, std::optional<std::int32_t> nameBytes = std::nullopt) {
  Bytes out;
  PutI32(out, mark);
  PutI32(out, nameBytes.value_or(static_cast<std::int32_t>(nameText.size())));
  PutI32(out, 7);
  PutI32(out, 8);
  out.insert(out.end(), nameText.begin(), nameText.end());
  for (std::int32_t size : sizes) PutI32(out, size);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// A reader that records its notices.
struct TObservedReader {
  TSkinReader reader;
  std::vector<std::string> notices;
  TObservedReader() {
    reader.SetNotice([this](const std::string& text) { notices.push_back(text); });
  }
  bool Load(const Bytes& container) {
    TMemoryStream packed(PackFramedBytes(container));
    return reader.Loadfromstream(packed);
  }
};

std::string Entry(const TSkinReader& reader, const std::string& name) {
  TMemoryStream dest;
  reader.readfile(name, dest);
  EXPECT_EQ(dest.Position(), 0);
  return std::string(dest.Bytes().begin(), dest.Bytes().end());
}

TObservedReader LoadedSample() {
  TObservedReader r;
  const Bytes container = BuildSkinContainer({{"Combo-Arrows.bmp", FromText("BMarrows")},
                                              {"skin.ini", FromText("[Buttons]\r\n")},
                                              {"twice.bmp", FromText("BMfirst")},
                                              {"TWICE.bmp", FromText("BMsecond")},
                                              {"empty.bmp", {}},
                                              {"other.ini", FromText("[Other]")}});
  EXPECT_TRUE(r.Load(container));
  return r;
}

TEST(SkinReaderLookup, NamesMatchWithoutRegardToCaseAndTheFirstWins) {
  const TObservedReader r = LoadedSample();
  ASSERT_EQ(r.reader.Count(), 6);
  EXPECT_EQ(r.reader.EntryName(0), "combo-arrows.bmp");
  for (const char* name : {"Combo-Arrows.bmp", "combo-arrows.bmp", "COMBO-ARROWS.BMP"}) {
    EXPECT_EQ(Entry(r.reader, name), "BMarrows") << name;
  }
  EXPECT_EQ(Entry(r.reader, "twice.bmp"), "BMfirst");
  EXPECT_EQ(Entry(r.reader, "empty.bmp"), "");
  EXPECT_EQ(Entry(r.reader, "missing.bmp"), "");
  EXPECT_TRUE(r.notices.empty());
  EXPECT_EQ(r.reader.HeaderField(0), kSkinFormatMark);
  EXPECT_EQ(r.reader.HeaderField(2), 0);  // reserved fields are written as zeros
}

TEST(SkinReaderLookup, IniIsTheFirstEntryContainingThePattern) {
  const TObservedReader r = LoadedSample();
  TMemoryStream dest(FromText("stale"));
  std::string name = "unchanged";
  r.reader.readIni(".ini", dest, name);
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "[Buttons]\r\n");
  EXPECT_EQ(dest.Position(), 0);

  name = "unchanged";
  r.reader.readIni(".INI", dest, name);  // the pattern is compared as given
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(dest.Size(), 0);
}

TEST(SkinReaderLoading, NameTextLineBreaksAndEmptyNames) {
  const Bytes data = FromText("aabbbc");
  for (const char* names : {"a\r\nb\r\nc\r\n", "a\r\nb\r\nc", "a\nb\rc"}) {
    TObservedReader r;
    ASSERT_TRUE(r.Load(RawContainer(kSkinFormatMark, names, {2, 3, 1}, data))) << names;
    EXPECT_EQ(r.reader.Count(), 3) << names;
    EXPECT_EQ(Entry(r.reader, "b"), "bbb") << names;
    EXPECT_EQ(Entry(r.reader, "c"), "c") << names;
  }
  TObservedReader r;
  ASSERT_TRUE(r.Load(RawContainer(kSkinFormatMark, "a\r\n\r\nc\r\n", {2, 3, 1}, data)));
  EXPECT_EQ(r.reader.Count(), 3);
  EXPECT_EQ(Entry(r.reader, ""), "bbb");
}

TEST(SkinReaderLoading, WrongFormatMarkRaisesTheNoticeAndKeepsThePreviousSkin) {
  for (std::int32_t mark : {19999, 20001}) {
    TObservedReader r = LoadedSample();
    EXPECT_FALSE(r.Load(RawContainer(mark, "x\r\n", {1}, FromText("x"))));
    ASSERT_EQ(r.notices.size(), 1u) << mark;
    EXPECT_EQ(r.notices[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(r.reader.Count(), 6) << mark;
    EXPECT_EQ(Entry(r.reader, "combo-arrows.bmp"), "BMarrows") << mark;
  }
}

TEST(SkinReaderLoading, NewReadersTakeTheDefaultNotice) {
  std::vector<std::string> seen;
  SetDefaultSkinNotice([&seen](const std::string& text) { seen.push_back(text); });
  TSkinReader reader;
  SetDefaultSkinNotice(nullptr);
  TMemoryStream packed(PackFramedBytes(RawContainer(1, "", {}, {})));
  EXPECT_FALSE(reader.Loadfromstream(packed));
  EXPECT_EQ(seen.size(), 1u);
}

TEST(SkinReaderLoading, InvalidContainersAreRefusedWithoutNoticeOrDamage) {
  const std::string manyNames = [] {
    std::string text;
    for (int i = 0; i < 1002; ++i) text += "n\r\n";
    return text;
  }();
  struct Case {
    const char* name;
    Bytes container;
  };
  const Case cases[] = {
      {"1002 names", RawContainer(kSkinFormatMark, manyNames, std::vector<std::int32_t>(1002, 0), {})},
      {"sizes past the data", RawContainer(kSkinFormatMark, "a\r\nb\r\n", {2, 3}, FromText("aabb"))},
      {"negative size", RawContainer(kSkinFormatMark, "a\r\nb\r\n", {-1, 3}, FromText("aabb"))},
      {"sizes overflowing 32 bits",
       RawContainer(kSkinFormatMark, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, FromText("aabb"))},
      {"name text longer than the container", RawContainer(kSkinFormatMark, "a\r\n", {1}, FromText("a"), 5000)},
      {"negative name text length", RawContainer(kSkinFormatMark, "a\r\n", {1}, FromText("a"), -3)},
      {"size table cut short", RawContainer(kSkinFormatMark, "a\r\nb\r\n", {0}, {})},
      {"shorter than the header", Bytes{0x20, 0x4E, 0x00}},
  };
  for (const Case& c : cases) {
    TObservedReader r = LoadedSample();
    EXPECT_FALSE(r.Load(c.container)) << c.name;
    EXPECT_FALSE(r.reader.LastError().empty()) << c.name;
    EXPECT_TRUE(r.notices.empty()) << c.name;
    EXPECT_EQ(r.reader.Count(), 6) << c.name;
    EXPECT_EQ(Entry(r.reader, "twice.bmp"), "BMfirst") << c.name;
  }
  // 1001 entries is the most a container may hold.
  TObservedReader r;
  std::string names;
  for (int i = 0; i < 1001; ++i) names += "e" + std::to_string(i) + "\n";
  EXPECT_TRUE(r.Load(RawContainer(kSkinFormatMark, names, std::vector<std::int32_t>(1001, 0), {})));
  EXPECT_EQ(r.reader.Count(), 1001);
}

TEST(SkinReaderLoading, DamagedPackedStreamsAreRefused) {
  TObservedReader r = LoadedSample();
  const Bytes packedStreams[] = {{}, {0x10, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF, 0x00}, {0x00, 0x00, 0x00, 0x10, 0x01}};
  for (const Bytes& bytes : packedStreams) {
    TMemoryStream stream(bytes);
    EXPECT_FALSE(r.reader.Loadfromstream(stream));
    EXPECT_EQ(r.reader.Count(), 6);
  }
  EXPECT_TRUE(r.notices.empty());
}

TEST(SkinReaderLoading, FromFile) {
  const auto folder = std::filesystem::temp_directory_path() / ("bw-skinread-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "tiny.skn").string();
  TMemoryStream(PackFramedBytes(BuildSkinContainer({{"skin.ini", FromText("[A]")}}))).SaveToFile(file);
  TObservedReader r;
  EXPECT_TRUE(r.reader.loadfromfile(file));
  EXPECT_EQ(Entry(r.reader, "skin.ini"), "[A]");
  EXPECT_FALSE(r.reader.loadfromfile((folder / "missing.skn").string()));
  EXPECT_TRUE(r.notices.empty());
  EXPECT_EQ(r.reader.Count(), 1);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace bw::skin
