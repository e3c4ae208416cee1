#include "extract/CompoundFile.h"

#include <gtest/gtest.h>

#include "tests/extract/CompoundFileWriter.h"

namespace bw::extract {
namespace {

using test::TBytes;
using test::TCfbLayout;
using test::TCfbSpec;

TBytes Pattern(std::size_t sizeBytes, std::uint8_t seed) {
  TBytes out(sizeBytes);
  for (std::size_t i = 0; i < sizeBytes; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + seed + i / 251);
  return out;
}

// Opens the file and reads every named stream back; returns the first failure.
TCfbResult ReadBack(const TBytes& file, const TCfbSpec& spec, std::string& mismatch) {
  TMemorySource source(file.data(), file.size());
  TCompoundFile cfb(source);
  TCfbResult result = cfb.Open();
  if (!result.Ok()) return result;
  for (const auto& [name, data] : spec.Streams) {
    TCfbStream stream;
    result = cfb.OpenStream(name, stream);
    if (!result.Ok()) return result;
    TBytes back(static_cast<std::size_t>(stream.SizeBytes));
    if (!cfb.Read(stream, 0, back.data(), back.size())) return {TCfbStatus::ReadFailed, name};
    if (back != data) {
      const auto diff = std::mismatch(back.begin(), back.end(), data.begin(), data.end());
      mismatch = name + " differs at offset " + std::to_string(diff.first - back.begin());
    }
  }
  return {};
}

std::size_t FragmentsOf(const TBytes& file, const std::string& name) {
  TMemorySource source(file.data(), file.size());
  TCompoundFile cfb(source);
  TCfbStream stream;
  std::vector<TFileExtent> extents;
  if (!cfb.Open().Ok() || !cfb.OpenStream(name, stream).Ok() ||
      !cfb.Extents(stream, 0, stream.SizeBytes, extents)) {
    return 0;
  }
  return extents.size();
}

TEST(CompoundFile, StreamsReadBackWhateverTheLayout) {
  struct TCase {
    const char* Name;
    std::uint32_t SectorBytes;
    bool Interleave;
    std::uint32_t FatEvery;
    std::uint32_t ExtraFree;
  };
  const TCase cases[] = {
      {"contiguous", 512, false, 0, 0},
      {"fragmented chains", 512, true, 0, 0},
      {"allocation sectors between runs", 512, false, 16, 0},
      {"fragmented and interrupted", 512, true, 5, 0},
      {"4096-byte sectors", 4096, true, 3, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TCfbSpec spec;
    spec.SectorBytes = c.SectorBytes;
    spec.Interleave = c.Interleave;
    spec.FatSectorEvery = c.FatEvery;
    spec.Streams = {{"Pictures", Pattern(70000, 1)},
                    {"tiny", Pattern(100, 2)},
                    {"PowerPoint Document", Pattern(9000, 3)},
                    {"small", Pattern(4095, 4)},
                    {"empty", {}}};
    const TCfbLayout layout = test::WriteCompoundFile(spec);
    std::string mismatch;
    const TCfbResult result = ReadBack(layout.Bytes, spec, mismatch);
    EXPECT_TRUE(result.Ok()) << result.Reason;
    EXPECT_EQ(mismatch, "");
    if (c.Interleave || c.FatEvery != 0) {
      EXPECT_GT(FragmentsOf(layout.Bytes, "Pictures"), 1u);
    }
  }
}

TEST(CompoundFile, DifatChainOfALargeFile) {
  // More than 109 allocation sectors: the later ones are listed in the DIFAT chain, and the
  // large stream's tail is described only there.
  TCfbSpec spec;
  spec.Streams = {{"Pictures", Pattern(7u << 20, 5)}, {"small", Pattern(300, 6)}};
  spec.FatSectorEvery = 100;
  const TCfbLayout layout = test::WriteCompoundFile(spec);
  ASSERT_FALSE(layout.DifatSectors.empty());
  ASSERT_GT(layout.Bytes.size(), std::size_t{6800} * 1024);
  std::string mismatch;
  const TCfbResult result = ReadBack(layout.Bytes, spec, mismatch);
  EXPECT_TRUE(result.Ok()) << result.Reason;
  EXPECT_EQ(mismatch, "");
}

TEST(CompoundFile, NamesCompareWithoutAsciiCase) {
  TCfbSpec spec;
  spec.Streams = {{"Pictures", Pattern(5000, 1)}};
  const TCfbLayout layout = test::WriteCompoundFile(spec);
  TMemorySource source(layout.Bytes.data(), layout.Bytes.size());
  TCompoundFile cfb(source);
  ASSERT_TRUE(cfb.Open().Ok());
  TCfbStream stream;
  EXPECT_TRUE(cfb.OpenStream("PICTURES", stream).Ok());
  EXPECT_EQ(cfb.OpenStream("Picture", stream).Status, TCfbStatus::NotFound);
}

struct TDamage {
  const char* Name;
  void (*Apply)(TCfbLayout&);
  TCfbStatus Status;
  const char* ReasonPart;
};

TEST(CompoundFile, DamagedFilesAreRefusedWithTheBrokenRule) {
  const TDamage damages[] = {
      {"chain loop", [](TCfbLayout& l) { l.SetFatEntry(l.Chains["Pictures"][9], l.Chains["Pictures"][3]); },
       TCfbStatus::Corrupt, "loops"},
      {"chain into a free sector", [](TCfbLayout& l) { l.SetFatEntry(l.Chains["Pictures"][2], 0xFFFFFFFF); },
       TCfbStatus::Corrupt, "free sector"},
      {"chain ends early", [](TCfbLayout& l) { l.SetFatEntry(l.Chains["Pictures"][4], 0xFFFFFFFE); },
       TCfbStatus::Corrupt, "ends after 5"},
      {"chain past the end of the file",
       [](TCfbLayout& l) { l.SetFatEntry(l.Chains["Pictures"][1], 0x00FFFFFF); }, TCfbStatus::Corrupt, "outside"},
      {"two chains share a sector",
       [](TCfbLayout& l) { l.SetFatEntry(l.Chains["PowerPoint Document"][6], l.Chains["Pictures"][2]); },
       TCfbStatus::Corrupt, "another chain"},
      {"stream size past the end", [](TCfbLayout& l) { l.SetDirectoryField(1, 120, 0x7FFFFFFF); },
       TCfbStatus::Corrupt, "past the end of the file"},
      {"directory cycle", [](TCfbLayout& l) { l.SetDirectoryField(3, 72, 1); }, TCfbStatus::Corrupt, "cycle"},
      {"directory link outside", [](TCfbLayout& l) { l.SetDirectoryField(2, 68, 5000); }, TCfbStatus::Corrupt,
       "outside the directory"},
      {"directory chain loop", [](TCfbLayout& l) { l.SetFatEntry(l.DirectorySector, l.DirectorySector); },
       TCfbStatus::Corrupt, "directory: the chain loops"},
      {"mini stream chain loop",
       [](TCfbLayout& l) { l.SetFatEntry(l.Chains[""][0], l.Chains[""][0]); }, TCfbStatus::Corrupt,
       "mini stream"},
      {"sector shift", [](TCfbLayout& l) { l.Bytes[0x1E] = 10; }, TCfbStatus::Corrupt, "sector shift"},
      {"no signature", [](TCfbLayout& l) { l.Bytes[3] = 0; }, TCfbStatus::NotCompound, "signature"},
      {"truncated inside the header", [](TCfbLayout& l) { l.Bytes.resize(300); }, TCfbStatus::Corrupt, "header"},
      {"truncated in the middle",
       [](TCfbLayout& l) { l.Bytes.resize(static_cast<std::size_t>(l.SectorOffset(l.Chains["Pictures"][20]))); },
       TCfbStatus::Corrupt, ""},
  };
  for (const TDamage& damage : damages) {
    SCOPED_TRACE(damage.Name);
    TCfbSpec spec;
    spec.Interleave = true;
    spec.Streams = {{"Pictures", Pattern(20000, 1)},
                    {"PowerPoint Document", Pattern(8000, 2)},
                    {"tiny", Pattern(700, 3)}};
    TCfbLayout layout = test::WriteCompoundFile(spec);
    damage.Apply(layout);
    std::string mismatch;
    const TCfbResult result = ReadBack(layout.Bytes, spec, mismatch);
    EXPECT_EQ(result.Status, damage.Status) << result.Reason;
    EXPECT_NE(result.Reason.find(damage.ReasonPart), std::string::npos) << result.Reason;
  }
}

TEST(CompoundFile, HeaderClaimsDoNotDriveMemory) {
  TCfbSpec spec;
  spec.Streams = {{"Pictures", Pattern(6000, 1)}};
  TCfbLayout layout = test::WriteCompoundFile(spec);
  // Four billion allocation sectors and DIFAT sectors claimed: only those the file can hold
  // are read.
  for (const std::size_t at : {0x2C, 0x48}) {
    for (int i = 0; i < 4; ++i) layout.Bytes[at + i] = 0xFF;
  }
  std::string mismatch;
  const TCfbResult result = ReadBack(layout.Bytes, spec, mismatch);
  EXPECT_TRUE(result.Ok()) << result.Reason;
  EXPECT_EQ(mismatch, "");

  // Reads beyond a stream's end are refused, not served from neighbouring sectors.
  TMemorySource source(layout.Bytes.data(), layout.Bytes.size());
  TCompoundFile cfb(source);
  ASSERT_TRUE(cfb.Open().Ok());
  TCfbStream stream;
  ASSERT_TRUE(cfb.OpenStream("Pictures", stream).Ok());
  std::uint8_t byte = 0;
  EXPECT_TRUE(cfb.Read(stream, 5999, &byte, 1));
  EXPECT_FALSE(cfb.Read(stream, 6000, &byte, 1));
  EXPECT_FALSE(cfb.Read(stream, ~std::uint64_t{0}, &byte, 1));
}

}  // namespace
}  // namespace bw::extract
