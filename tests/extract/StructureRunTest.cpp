#include "extract/StructureRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "extract/FileIo.h"
#include "extract/OutputLock.h"
#include "extract/OutputNaming.h"
#include "tests/extract/CompoundFileWriter.h"
#include "tests/extract/ZipWriter.h"

namespace bw::extract {
namespace {

namespace fs = std::filesystem;
using test::TBytes;

TBytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

TBytes Join(std::initializer_list<TBytes> parts) {
  TBytes out;
  for (const TBytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

class TQuietHost final : public TRunHost {
 public:
  void Progress(int) override {}
  void ProcessMessages() override {}
  bool ConfirmExistingFolder(const std::string&) override { return true; }
  void FolderCreationFailed(const std::string& folder) override { FolderErrors.push_back(folder); }
  bool ShowPreview(TItemKind, const std::string&) override { return true; }
  void ReportError(const TRunError& error) override { Errors.push_back(error.Path + ": " + error.Cause); }
  std::vector<std::string> Errors;
  std::vector<std::string> FolderErrors;
};

class StructureRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("bw-structure-" + std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }
  TScanResult Run(const TBytes& file, TStructureOutcome& outcome, bool compare = true) {
    const fs::path source = FRoot / "deck.ppt";
    std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                  static_cast<std::streamsize>(file.size()));
    return RunFile(source, outcome, compare);
  }
  TScanResult RunFile(const fs::path& source, TStructureOutcome& outcome, bool compare = true) {
    int errnoValue = 0;
    EXPECT_EQ(BeginRun(FState, source.string(), errnoValue), TOpenResult::Opened);
    const TScanResult result = ExtractByStructure(FState, FHost, outcome, compare);
    FState.Source.Close();
    return result;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    if (!fs::exists(FRoot / "deck")) return names;
    for (const auto& entry : fs::directory_iterator(FRoot / "deck")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path FRoot;
  TRunState FState;
  TQuietHost FHost;
};

TEST_F(StructureRunTest, EveryPictureAndSoundWholeWithTheRawVerdicts) {
  const TBytes small = test::FakeJpeg(3000, false);
  const TBytes large = test::FakeJpeg(90000, false);  // crosses allocation sectors
  const TBytes exif = test::FakeJpeg(5000, true);     // no APP0 segment: the raw scan never starts it
  const TBytes png = test::FakePng(2000);
  const TBytes dib = test::FakeDib(24, 300);
  TBytes wmf(400, 0x05);
  wmf[0] = 1;
  const TBytes emf(3000, 0x44);
  const TBytes sound = test::FakeWave(20000);
  const TBytes pictures =
      Join({test::BitmapRecord(0xF01D, 0x46A, small), test::BitmapRecord(0xF01D, 0x46A, large),
            test::BitmapRecord(0xF01D, 0x46A, exif), test::BitmapRecord(0xF01E, 0x6E0, png),
            test::BitmapRecord(0xF01F, 0x7A8, dib), test::MetafileRecord(0xF01B, 0x216, wmf, true, 2880, 1440, 1828800),
            test::MetafileRecord(0xF01A, 0x3D4, emf, true)});
  test::TCfbSpec spec;
  spec.FatSectorEvery = 128;  // as office suites do: an allocation sector every 64 KiB
  spec.Streams = {{"Pictures", pictures}, {"PowerPoint Document", test::SoundDocument({{"s.wav", sound}})}};
  TStructureOutcome outcome;
  ASSERT_EQ(Run(test::WriteCompoundFile(spec).Bytes, outcome), TScanResult::Completed);
  ASSERT_TRUE(outcome.Used) << outcome.FallbackReason;
  EXPECT_TRUE(outcome.Problems.empty());
  EXPECT_TRUE(FHost.Errors.empty());

  EXPECT_EQ(Names(), (std::vector<std::string>{"deck_001.jpg", "deck_001.wav", "deck_002.jpg", "deck_003.jpg",
                                               "deck_004.png", "deck_005.bmp", "deck_006.wmf", "deck_007.emf"}));
  const fs::path out = FRoot / "deck";
  EXPECT_EQ(ReadAll(out / "deck_001.jpg"), small);
  EXPECT_EQ(ReadAll(out / "deck_002.jpg"), large);
  EXPECT_EQ(ReadAll(out / "deck_003.jpg"), exif);
  EXPECT_EQ(ReadAll(out / "deck_004.png"), png);
  EXPECT_EQ(ReadAll(out / "deck_007.emf"), emf);
  EXPECT_EQ(ReadAll(out / "deck_001.wav"), sound);
  const TBytes bmp = ReadAll(out / "deck_005.bmp");
  ASSERT_EQ(bmp.size(), dib.size() + 14);
  EXPECT_TRUE(std::equal(dib.begin(), dib.end(), bmp.begin() + 14));
  const TBytes placeable = ReadAll(out / "deck_006.wmf");
  ASSERT_EQ(placeable.size(), wmf.size() + 22);
  EXPECT_TRUE(HasPlaceableKey(placeable.data(), placeable.size()));
  EXPECT_EQ(placeable[14] | placeable[15] << 8, 1440);  // 2880 units over two inches
  EXPECT_TRUE(std::equal(wmf.begin(), wmf.end(), placeable.begin() + 22));

  ASSERT_EQ(outcome.Files.size(), 8u);
  const TRawVerdict verdicts[] = {TRawVerdict::Same,   TRawVerdict::Cut,    TRawVerdict::Missed,
                                  TRawVerdict::Same,   TRawVerdict::Same,   TRawVerdict::Missed,
                                  TRawVerdict::Missed, TRawVerdict::Same};
  for (std::size_t i = 0; i < outcome.Files.size(); ++i) {
    SCOPED_TRACE(outcome.Files[i].Path);
    EXPECT_EQ(outcome.Files[i].Raw, verdicts[i]);
  }
  EXPECT_GT(outcome.Files[1].Fragments, 1u);
  EXPECT_EQ(outcome.Files[0].Fragments, 1u);
  EXPECT_EQ(FState.PictureCount, 7);
  EXPECT_EQ(FState.SoundCount, 1);
}

TEST_F(StructureRunTest, MiniStreamPicturesAndFragmentedChains) {
  const TBytes tiny = test::FakePng(600);
  const TBytes big = test::FakeJpeg(20000, false);
  test::TCfbSpec spec;
  spec.Interleave = true;
  spec.SectorBytes = 4096;
  spec.Streams = {{"Pictures", test::BitmapRecord(0xF01E, 0x6E0, tiny)},
                  {"PowerPoint Document", test::SoundDocument({{"a.wav", test::FakeWave(9000)}})},
                  {"Other", big}};
  const TBytes file = test::WriteCompoundFile(spec).Bytes;
  TStructureOutcome outcome;
  ASSERT_EQ(Run(file, outcome), TScanResult::Completed);
  ASSERT_TRUE(outcome.Used);
  ASSERT_EQ(outcome.Files.size(), 2u);
  EXPECT_EQ(ReadAll(FRoot / "deck" / "deck_001.png"), tiny);
  // The mini sector maps to the file through the root's chain.
  ASSERT_LE(outcome.Files[0].SourceStartBytes + tiny.size(), file.size());
  EXPECT_TRUE(std::equal(tiny.begin(), tiny.end(), file.begin() + static_cast<std::ptrdiff_t>(outcome.Files[0].SourceStartBytes)));
  // The raw copy of the sound, which stands before it in the file, swallows it.
  EXPECT_EQ(outcome.Files[0].Raw, TRawVerdict::Missed);
  // The sound's stream alternates with another: the raw copy takes foreign bytes.
  EXPECT_EQ(ReadAll(FRoot / "deck" / "deck_001.wav"), test::FakeWave(9000));
  EXPECT_EQ(outcome.Files[1].Raw, TRawVerdict::Cut);
}

TEST_F(StructureRunTest, FallsBackWithAReasonAndWritesNothing) {
  struct TCase {
    const char* Name;
    TBytes File;
    const char* Reason;
  };
  test::TCfbSpec noStreams;
  noStreams.Streams = {{"Workbook", TBytes(5000, 1)}};
  test::TCfbSpec looped;
  looped.Streams = {{"Pictures", TBytes(9000, 1)}};
  test::TCfbLayout loopedLayout = test::WriteCompoundFile(looped);
  loopedLayout.SetFatEntry(loopedLayout.Chains["Pictures"][3], loopedLayout.Chains["Pictures"][0]);
  const TCase cases[] = {
      {"plain bytes", test::FakeJpeg(400, false), "not a compound file or zip container"},
      {"empty", {}, "not a compound file or zip container"},
      {"other streams", test::WriteCompoundFile(noStreams).Bytes, "no \"Pictures\""},
      {"chain loop", loopedLayout.Bytes, "damaged compound file: stream Pictures: the chain loops"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TStructureOutcome outcome;
    EXPECT_EQ(Run(c.File, outcome), TScanResult::Completed);
    EXPECT_FALSE(outcome.Used);
    EXPECT_NE(outcome.FallbackReason.find(c.Reason), std::string::npos) << outcome.FallbackReason;
    EXPECT_TRUE(outcome.Files.empty());
    EXPECT_FALSE(fs::exists(FRoot / "deck"));
  }
}

TEST_F(StructureRunTest, MetafileThatDoesNotInflateIsSkippedAndLeavesNoFile) {
  TBytes broken = test::MetafileRecord(0xF01A, 0x3D4, TBytes(5000, 0x44), true);
  broken[broken.size() - 2] ^= 0x5A;  // the deflate stream's check value
  const TBytes png = test::FakePng(300);
  test::TCfbSpec spec;
  spec.Streams = {{"Pictures", Join({broken, test::BitmapRecord(0xF01E, 0x6E0, png)})}};
  TStructureOutcome outcome;
  ASSERT_EQ(Run(test::WriteCompoundFile(spec).Bytes, outcome, false), TScanResult::Completed);
  ASSERT_TRUE(outcome.Used);
  ASSERT_EQ(outcome.Problems.size(), 1u);
  EXPECT_NE(outcome.Problems[0].find("does not inflate"), std::string::npos) << outcome.Problems[0];
  // The next picture takes the number the broken one would have had.
  EXPECT_EQ(Names(), std::vector<std::string>{"deck_001.png"});
  EXPECT_EQ(outcome.Files[0].Raw, TRawVerdict::Unknown);
}

TEST_F(StructureRunTest, ExistingFolderRefusedEndsTheRun) {
  class TRefusingHost final : public TRunHost {
   public:
    void Progress(int) override {}
    void ProcessMessages() override {}
    bool ConfirmExistingFolder(const std::string&) override { return false; }
    void FolderCreationFailed(const std::string&) override {}
    bool ShowPreview(TItemKind, const std::string&) override { return true; }
    void ReportError(const TRunError&) override {}
  } host;
  test::TCfbSpec spec;
  spec.Streams = {{"Pictures", test::BitmapRecord(0xF01E, 0x6E0, test::FakePng(300))}};
  const TBytes file = test::WriteCompoundFile(spec).Bytes;
  const fs::path source = FRoot / "deck.ppt";
  std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
  fs::create_directories(FRoot / "deck");
  int errnoValue = 0;
  ASSERT_EQ(BeginRun(FState, source.string(), errnoValue), TOpenResult::Opened);
  TStructureOutcome outcome;
  EXPECT_EQ(ExtractByStructure(FState, host, outcome), TScanResult::FolderCancelled);
  EXPECT_TRUE(fs::is_empty(FRoot / "deck"));
}

TEST_F(StructureRunTest, TheRunOwnsItsFolderAndStopsAsTheRawScanDoes) {
  // Asks once whether to stop; answers the folder question as told.
  class TStopHost final : public TRunHost {
   public:
    TStopHost(TRunState& state, bool stopNow, bool stopInQuestion)
        : FState(state), FStopNow(stopNow), FStopInQuestion(stopInQuestion) {}
    void Progress(int) override {}
    void ProcessMessages() override {
      FState.AbortRequested = true;
      FState.StopNow = FStopNow;
    }
    bool ConfirmExistingFolder(const std::string&) override {
      if (FStopInQuestion) FState.AbortRequested = true;
      return true;
    }
    void FolderCreationFailed(const std::string&) override {}
    bool ShowPreview(TItemKind, const std::string&) override { return true; }
    void ReportError(const TRunError& error) override { Errors.push_back(error.Path); }
    std::vector<std::string> Errors;

   private:
    TRunState& FState;
    bool FStopNow;
    bool FStopInQuestion;
  };
  test::TCfbSpec spec;
  const TBytes big = test::FakeJpeg(700000, false);  // several copy chunks
  spec.Streams = {{"Pictures", Join({test::BitmapRecord(0xF01D, 0x46A, big),
                                     test::BitmapRecord(0xF01E, 0x6E0, test::FakePng(300))})}};
  const TBytes file = test::WriteCompoundFile(spec).Bytes;
  const fs::path source = FRoot / "deck.ppt";
  std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
  const auto run = [&](TStopHost& host) {
    int errnoValue = 0;
    EXPECT_EQ(BeginRun(FState, source.string(), errnoValue), TOpenResult::Opened);
    TStructureOutcome outcome;
    const TScanResult result = ExtractByStructure(FState, host, outcome, false);
    FState.Source.Close();
    return result;
  };

  // A first stop lets the item being written finish; a stop that cannot wait removes it.
  TStopHost abort(FState, false, false);
  EXPECT_EQ(run(abort), TScanResult::Aborted);
  EXPECT_EQ(Names(), std::vector<std::string>{"deck_001.jpg"});
  EXPECT_EQ(ReadAll(FRoot / "deck" / "deck_001.jpg"), big);
  fs::remove_all(FRoot / "deck");
  TStopHost stop(FState, true, false);
  EXPECT_EQ(run(stop), TScanResult::Aborted);
  EXPECT_EQ(Names(), std::vector<std::string>{});
  EXPECT_EQ(FState.PictureCount, 0);

  // A stop during the folder question writes nothing.
  TStopHost question(FState, false, true);
  EXPECT_EQ(run(question), TScanResult::Aborted);
  EXPECT_EQ(Names(), std::vector<std::string>{});

  // Another run holds the folder: refused, naming the lock file, nothing written.
  TOutputLock other;
  std::string reason;
  ASSERT_TRUE(other.Acquire((FRoot / "deck").string(), reason)) << reason;
  TStopHost refused(FState, false, false);
  EXPECT_EQ(run(refused), TScanResult::WriteFailed);
  ASSERT_EQ(refused.Errors.size(), 1u);
  EXPECT_NE(refused.Errors[0].find(kOutputLockName), std::string::npos) << refused.Errors[0];
  other.Release();
  EXPECT_EQ(Names(), std::vector<std::string>{});
}

TEST_F(StructureRunTest, ZipMediaWholeInDirectoryOrderWithTheirOwnExtensions) {
  const TBytes jpeg = test::FakeJpeg(5000, true);
  const TBytes png = test::FakePng(3000);
  TBytes emf(40000, 0x44);
  emf[0] = 1;
  const TBytes wave = test::FakeWave(9000);
  const TBytes video(7000, 0x77);
  test::TZipSpec spec;
  spec.Entries = {{"[Content_Types].xml", TBytes(100, 'x'), true},
                  {"ppt/media/image2.png", png},
                  {"ppt/media/image1.JPEG", jpeg},
                  {"ppt/media/media1.wav", wave, true},
                  {"ppt/media/image3.emf", emf, true},
                  {"docProps/thumbnail.jpeg", test::FakeJpeg(800, false)},
                  {"ppt/media/media2.mp4", video}};
  spec.DirectoryOrder = {0, 2, 1, 3, 4, 5, 6};
  TStructureOutcome outcome;
  ASSERT_EQ(Run(test::WriteZip(spec), outcome), TScanResult::Completed);
  ASSERT_TRUE(outcome.Used) << outcome.FallbackReason;
  EXPECT_EQ(outcome.Container, TContainerKind::Zip);
  EXPECT_TRUE(outcome.Problems.empty());
  // Pictures share one counter, other media another, both in the directory's order.
  EXPECT_EQ(Names(), (std::vector<std::string>{"deck_001.JPEG", "deck_001.wav", "deck_002.mp4", "deck_002.png",
                                               "deck_003.emf"}));
  const fs::path out = FRoot / "deck";
  EXPECT_EQ(ReadAll(out / "deck_001.JPEG"), jpeg);
  EXPECT_EQ(ReadAll(out / "deck_002.png"), png);
  EXPECT_EQ(ReadAll(out / "deck_003.emf"), emf);
  EXPECT_EQ(ReadAll(out / "deck_001.wav"), wave);
  EXPECT_EQ(ReadAll(out / "deck_002.mp4"), video);
  ASSERT_EQ(outcome.Files.size(), 5u);
  EXPECT_EQ(outcome.Files[0].Entry, "ppt/media/image1.JPEG");
  EXPECT_EQ(outcome.Files[0].Method, "stored");
  EXPECT_EQ(outcome.Files[2].Entry, "ppt/media/media1.wav");
  EXPECT_EQ(outcome.Files[2].Method, "deflated");
  EXPECT_EQ(outcome.Files[3].SizeBytes, emf.size());
  EXPECT_LT(outcome.Files[3].StoredBytes, emf.size());
  EXPECT_EQ(FState.PictureCount, 3);
  EXPECT_EQ(FState.SoundCount, 2);
}

TEST_F(StructureRunTest, HostileZipEntriesLeaveNoFileAndAreListed) {
  const TBytes good = test::FakePng(2000);
  test::TZipSpecEntry lying{"ppt/media/lies.png", TBytes(30000, 0x11), true};
  lying.StatedSize = 100;
  test::TZipSpecEntry locked{"ppt/media/locked.png", good};
  locked.Encrypted = true;
  test::TZipSpec spec;
  spec.Entries = {{"ppt/media/../../../escape.png", good},
                  {"/tmp/absolute.png", good},
                  {"C:\\ppt\\media\\drive.png", good},
                  lying,
                  locked,
                  {"ppt/media/bomb.bmp", TBytes(std::size_t{100} << 20, 0), true},
                  {"ppt/media/kept.png", good}};
  TStructureOutcome outcome;
  ASSERT_EQ(Run(test::WriteZip(spec), outcome), TScanResult::Completed);
  ASSERT_TRUE(outcome.Used);
  // Only the honest entry is written, under the numbering's name and nowhere else.
  EXPECT_EQ(Names(), std::vector<std::string>{"deck_001.png"});
  EXPECT_EQ(ReadAll(FRoot / "deck" / "deck_001.png"), good);
  EXPECT_FALSE(fs::exists(FRoot / "escape.png"));
  EXPECT_FALSE(fs::exists(FRoot.parent_path() / "escape.png"));
  std::size_t entries = 0;
  for (auto it = fs::recursive_directory_iterator(FRoot); it != fs::recursive_directory_iterator(); ++it) ++entries;
  EXPECT_EQ(entries, 3u);  // deck.ppt, deck/, deck/deck_001.png
  const std::vector<std::string> expected = {"escape.png: a name that leaves", "absolute.png: a name that leaves",
                                             "drive.png: a name that leaves", "lies.png: the data runs past",
                                             "locked.png: encrypted; skipped", "bomb.bmp: states"};
  ASSERT_EQ(outcome.Problems.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NE(outcome.Problems[i].find(expected[i]), std::string::npos) << outcome.Problems[i];
  }
}

TEST_F(StructureRunTest, DamagedZipFallsBackAndSaysWhy) {
  test::TZipSpec spec;
  spec.Entries = {{"ppt/media/a.png", test::FakePng(500)}};
  spec.DirectoryOffset = 4000000;
  TStructureOutcome outcome;
  EXPECT_EQ(Run(test::WriteZip(spec), outcome), TScanResult::Completed);
  EXPECT_FALSE(outcome.Used);
  EXPECT_EQ(outcome.Container, TContainerKind::Zip);
  EXPECT_NE(outcome.FallbackReason.find("damaged zip container: "), std::string::npos) << outcome.FallbackReason;
  EXPECT_FALSE(fs::exists(FRoot / "deck"));
}

#ifndef _WIN32
// Past 4 GiB every offset needs the zip64 records. The filler entry stays a hole on disk
// and is never read: it is no medium.
TEST_F(StructureRunTest, ZipOverFourGibibytes) {
  const TBytes png = test::FakePng(4000);
  test::TZipSpecEntry filler{"ppt/embeddings/filler.bin", {}};
  filler.HoleBytes = (std::uint64_t{4} << 30) + 4096;
  test::TZipSpec spec;
  spec.Zip64 = true;
  spec.Entries = {{"ppt/media/image1.png", png}, filler, {"ppt/media/image2.png", png, true}};
  const fs::path source = FRoot / "deck.ppt";
  ASSERT_TRUE(test::WriteZipFile(spec, source.string()));
  ASSERT_GT(fs::file_size(source), std::uint64_t{4} << 30);
  TStructureOutcome outcome;
  ASSERT_EQ(RunFile(source, outcome), TScanResult::Completed);
  ASSERT_TRUE(outcome.Used) << outcome.FallbackReason;
  EXPECT_TRUE(outcome.Problems.empty());
  EXPECT_EQ(Names(), (std::vector<std::string>{"deck_001.png", "deck_002.png"}));
  EXPECT_EQ(ReadAll(FRoot / "deck" / "deck_002.png"), png);
}
#endif

}  // namespace
}  // namespace bw::extract
