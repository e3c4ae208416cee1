#include "extract/Scanner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "extract/FileIo.h"
#include "extract/OutputNaming.h"

namespace bw::extract {
namespace {

using TBytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

TBytes operator+(TBytes a, const TBytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TBytes Filler(std::size_t count, std::uint8_t value = 0x11) { return TBytes(count, value); }

void PutU32(TBytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

TBytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

// A bitmap record: signature, L, identifier, tag, then a DIB of the given header.
TBytes DibRecord(std::uint8_t headerSize, std::uint16_t bitCount, std::size_t dibBytes) {
  TBytes record = {0x80, 0x7A, 0x1F, 0xF0};
  PutU32(record, static_cast<std::uint32_t>(dibBytes + 17));
  record.insert(record.end(), 16, 0xAB);
  record.push_back(0x00);
  TBytes dib(dibBytes, 0);
  for (std::size_t i = 0; i < dibBytes; ++i) dib[i] = static_cast<std::uint8_t>(i * 7);
  dib[0] = headerSize;
  dib[1] = dib[2] = dib[3] = 0;
  dib[14] = static_cast<std::uint8_t>(bitCount);
  dib[15] = static_cast<std::uint8_t>(bitCount >> 8);
  return record + dib;
}

TBytes Riff(std::uint32_t sizeField, const char* form, std::size_t bodyBytes) {
  TBytes chunk = {'R', 'I', 'F', 'F'};
  PutU32(chunk, sizeField);
  chunk.insert(chunk.end(), form, form + 4);
  for (std::size_t i = 0; i < bodyBytes; ++i) chunk.push_back(static_cast<std::uint8_t>(0x30 + i % 40));
  return chunk;
}

class TRecordingHost final : public TRunHost {
 public:
  void Progress(int percent) override { Percents.push_back(percent); }
  void ProcessMessages() override {
    ++MessagePasses;
    if (State != nullptr && AbortAfterPasses > 0 && MessagePasses >= AbortAfterPasses) State->AbortRequested = true;
  }
  bool ConfirmExistingFolder(const std::string& folder) override {
    Questions.push_back(folder);
    return ConfirmAnswer;
  }
  void FolderCreationFailed(const std::string& folder) override { FolderErrors.push_back(folder); }
  bool ShowPreview(TItemKind kind, const std::string& path) override {
    Previews.push_back(FileNameOf(path));
    if (kind == TItemKind::Png && RefusePng) return false;
    return PreviewAnswer;
  }
  void ReportError(const TRunError& error) override { Errors.push_back(error); }
  void ItemWritten(const TWrittenItem& item) override { Items.push_back(item); }

  TRunState* State = nullptr;
  int AbortAfterPasses = 0;
  bool ConfirmAnswer = true;
  bool PreviewAnswer = true;
  bool RefusePng = false;
  int MessagePasses = 0;
  std::vector<int> Percents;
  std::vector<std::string> Questions, FolderErrors, Previews;
  std::vector<TRunError> Errors;
  std::vector<TWrittenItem> Items;
};

class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() /
            ("bw-scan-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
             std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }

  TScanResult Run(const TBytes& source, std::size_t bufferBytes = kSourceBufferBytes,
                  const std::string& name = "talk.ppt") {
    const fs::path path = FRoot / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(source.data()),
                                                static_cast<std::streamsize>(source.size()));
    Host.State = &State;
    int errnoValue = 0;
    EXPECT_EQ(BeginRun(State, Utf8FromPath(path), errnoValue), TOpenResult::Opened);
    const TScanResult result = Scan(State, Host, bufferBytes);
    State.Source.Close();
    return result;
  }

  fs::path Out(const std::string& name) const { return FRoot / "talk" / name; }
  std::vector<std::string> OutputNames() const {
    std::vector<std::string> names;
    if (!fs::exists(FRoot / "talk")) return names;
    for (const auto& entry : fs::directory_iterator(FRoot / "talk")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path FRoot;
  TRunState State;
  TRecordingHost Host;
};

const TBytes kJpegStart = {0xFF, 0xD8, 0xFF, 0xE0};
const TBytes kPngStart = {0x89, 0x50, 0x4E, 0x47};
const TBytes kPngEnd = {0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

TEST_F(ScannerTest, EmptySourceRunsNoIterationAndMakesNoFolder) {
  EXPECT_EQ(Run({}), TScanResult::Completed);
  EXPECT_TRUE(Host.Percents.empty());
  EXPECT_FALSE(fs::exists(FRoot / "talk"));
  EXPECT_EQ(State.PictureCount + State.SoundCount, 0);
}

TEST_F(ScannerTest, JpegIsCopiedUpToItsEndMarkerAndTheScanResumesInsideIt) {
  const TBytes jpeg = kJpegStart + TBytes{1, 2, 0xFF, 0x00, 0xD9, 3, 0xFF, 0xFF, 0xD9};  // FF 00 D9 goes on
  // The second picture starts right behind the first: found from e - 3.
  const TBytes second = kJpegStart + TBytes{9, 0xFF, 0xD9};
  EXPECT_EQ(Run(Filler(3) + jpeg + second + Filler(5)), TScanResult::Completed);
  EXPECT_EQ(State.PictureCount, 2);
  EXPECT_EQ(ReadAll(Out("talk_001.jpg")), jpeg);
  EXPECT_EQ(ReadAll(Out("talk_002.jpg")), second);
  ASSERT_EQ(Host.Items.size(), 2u);
  EXPECT_EQ(Host.Items[0].SourceStartBytes, 3u);
  EXPECT_EQ(Host.Items[0].SourceEndBytes, 3u + jpeg.size());
  EXPECT_EQ(State.Position, State.SourceSize);
}

TEST_F(ScannerTest, JpegWithoutApp0IsNotRecognised) {
  EXPECT_EQ(Run(TBytes{0xFF, 0xD8, 0xFF, 0xE1, 1, 2, 0xFF, 0xD9}), TScanResult::Completed);
  EXPECT_EQ(State.PictureCount, 0);
  EXPECT_FALSE(fs::exists(FRoot / "talk"));
}

TEST_F(ScannerTest, EmbeddedThumbnailRestartsTheFileBehindTheFirstStartMarker) {
  const TBytes outer = kJpegStart + TBytes{0x00, 0x10, 'J', 'F', 'X', 'X', 0x10, 0x11, 0x12, 0x13, 0x14, 0x15};
  const TBytes inner = {0xFF, 0xD8, 0xAA, 0xBB, 0xFF, 0xD9};
  EXPECT_EQ(Run(outer + inner + TBytes{0x55, 0xFF, 0xD9}), TScanResult::Completed);
  // FF D8, the inner stream behind its own FF D8, then what the outer header left beyond it.
  TBytes expected = {0xFF, 0xD8, 0xAA, 0xBB, 0xFF, 0xD9};
  expected.insert(expected.end(), outer.begin() + 6, outer.end());
  expected.insert(expected.end(), {0xFF, 0xD8});  // the inner FF D8 written before the restart
  EXPECT_EQ(ReadAll(Out("talk_001.jpg")), expected);
  // The scan resumes 3 bytes before the inner end marker, not the outer one.
  EXPECT_EQ(Host.Items.at(0).SourceEndBytes, outer.size() + inner.size());
}

TEST_F(ScannerTest, RestartAfterALongStreamOverwritesFromTheStart) {
  // Longer than the output buffer, so the restart must reach bytes already on disk.
  TBytes outer = kJpegStart;
  for (std::size_t i = 0; i < 700 * 1024; ++i) outer.push_back(static_cast<std::uint8_t>(i % 251));
  const TBytes inner = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
  EXPECT_EQ(Run(outer + inner, 4096), TScanResult::Completed);
  TBytes expected = outer;
  expected.insert(expected.end(), {0xFF, 0xD8});
  std::copy(inner.begin() + 2, inner.end(), expected.begin() + 2);
  expected[0] = 0xFF;
  expected[1] = 0xD8;
  const TBytes written = ReadAll(Out("talk_001.jpg"));
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

TEST_F(ScannerTest, PngIsCopiedThroughItsClosingSequence) {
  const TBytes png = kPngStart + TBytes{0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0} + kPngEnd;
  EXPECT_EQ(Run(Filler(1) + png + kPngStart + TBytes{7} + kPngEnd), TScanResult::Completed);
  EXPECT_EQ(ReadAll(Out("talk_001.png")), png);
  EXPECT_EQ(State.PictureCount, 2);
}

TEST_F(ScannerTest, FalseClosingSequenceEndsEarlyAndTheUndecodablePictureIsTakenBack) {
  // The closing bytes spread out with others between them still end the copy.
  const TBytes falsePng = kPngStart + TBytes{0x49, 0x01, 0x45, 0x4E, 0x02, 0x44, 0xAE, 0x42, 0x03, 0x60, 0x82};
  Host.RefusePng = true;
  EXPECT_EQ(Run(falsePng + TBytes{0x99, 0x98} + kJpegStart + TBytes{0xFF, 0xD9}), TScanResult::Completed);
  EXPECT_TRUE(State.PngPreviewFailed);
  // The PNG file went; the JPEG took its number.
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"talk_001.jpg"});
  EXPECT_EQ(Host.Previews, (std::vector<std::string>{"talk_001.png", "talk_001.jpg"}));
  EXPECT_EQ(State.PictureCount, 1);
}

TEST_F(ScannerTest, ClosingDetectorClearsOnlyBelowAnOutOfTurnMember) {
  // I E N D, then a stray I (changes nothing), then the CRC bytes: complete.
  const TBytes png = kPngStart + TBytes{0x49, 0x45, 0x4E, 0x44, 0x49, 0xAE, 0x42, 0x60, 0x82};
  // I E then D out of turn clears: the later 82 does not end the copy.
  const TBytes broken = kPngStart + TBytes{0x49, 0x45, 0x44, 0xAE, 0x42, 0x60, 0x82, 0x00} + kPngEnd;
  EXPECT_EQ(Run(png + broken), TScanResult::Completed);
  EXPECT_EQ(ReadAll(Out("talk_001.png")), png);
  EXPECT_EQ(ReadAll(Out("talk_002.png")), broken);
}

TEST_F(ScannerTest, BitmapRecordGetsAFileHeaderByItsBitCount) {
  const TBytes record24 = DibRecord(0x28, 24, 983);  // L = 1000
  const TBytes record8 = DibRecord(0x28, 8, 40 + 16 * 4 + 8);  // colour table of 16 entries only
  EXPECT_EQ(Run(Filler(2) + record24 + record8), TScanResult::Completed);
  const TBytes bmp24 = ReadAll(Out("talk_001.bmp"));
  ASSERT_EQ(bmp24.size(), 997u);
  const TBytes header24 = {'B', 'M', 0xE5, 0x03, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  EXPECT_TRUE(std::equal(header24.begin(), header24.end(), bmp24.begin()));
  EXPECT_TRUE(std::equal(bmp24.begin() + 14, bmp24.end(), record24.begin() + 25));
  const TBytes bmp8 = ReadAll(Out("talk_002.bmp"));
  EXPECT_EQ(bmp8[10] | bmp8[11] << 8, 1078);
  EXPECT_EQ(bmp8.size(), record8.size() - 25 + 14);
}

TEST_F(ScannerTest, RebuiltBitmapHeaderForEveryBitDepth) {
  // Pixel offset assumes the full colour table of the depth; the size is L - 3.
  const struct {
    std::uint16_t bitCount;
    std::uint32_t pixelOffset;
  } cases[] = {{1, 62}, {4, 118}, {8, 1078}, {16, 54}, {24, 54}, {32, 54}};
  TBytes source = Filler(3);
  for (const auto& c : cases) source = source + DibRecord(0x28, c.bitCount, 300 + c.bitCount);
  ASSERT_EQ(Run(source), TScanResult::Completed);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const TBytes bmp = ReadAll(Out("talk_00" + std::to_string(i + 1) + ".bmp"));
    ASSERT_GE(bmp.size(), 14u) << "depth " << cases[i].bitCount;
    const std::uint32_t lengthField = 300 + cases[i].bitCount + 17;
    EXPECT_EQ(bmp[2] | bmp[3] << 8 | bmp[4] << 16 | bmp[5] << 24, lengthField - 3) << "depth " << cases[i].bitCount;
    EXPECT_EQ(bmp[10] | bmp[11] << 8 | bmp[12] << 16 | bmp[13] << 24, cases[i].pixelOffset)
        << "depth " << cases[i].bitCount;
    EXPECT_EQ(bmp.size(), lengthField - 3) << "depth " << cases[i].bitCount;
  }
}

TEST_F(ScannerTest, NonAsciiSourceNamesGiveFoldersCutByCharacters) {
  const struct {
    const char* source;
    const char* base;
  } cases[] = {{"caf\xC3\xA9.ppt", "caf\xC3\xA9"}, {"vid\xC3\xA9o", "v"}, {"x\xC3\xA9.pp", "x"}, {"No\xC3\xABl", ""}};
  const TBytes bytes = Filler(3) + DibRecord(0x28, 24, 200);
  const std::string root = Utf8FromPath(FRoot);
  const std::string sep(1, PathSeparator());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string path = root + sep + c.source;
    std::FILE* file = OpenFileUtf8(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    int errnoValue = 0;
    ASSERT_EQ(BeginRun(State, path, errnoValue), TOpenResult::Opened);
    EXPECT_EQ(Scan(State, Host), TScanResult::Completed);
    State.Source.Close();
    EXPECT_EQ(State.OutputFolder, root + sep + c.base);
    EXPECT_TRUE(FileExistsUtf8(root + sep + c.base + sep + c.base + "_001.bmp"));
  }
  // "No\xC3\xABl" has four characters: its base is empty and its folder is the source's own.
  EXPECT_EQ(Host.Questions.size(), 1u);
}

TEST_F(ScannerTest, RejectedBitmapRecordLeavesNoFileAndResumesTwoBytesOn) {
  // Header size 12: no picture. Its length field holds a JPEG signature at s + 4, which
  // only a resume at s + 2 can find.
  TBytes record = DibRecord(0x0C, 24, 40);
  const TBytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
  std::copy(jpeg.begin(), jpeg.end(), record.begin() + 4);
  record.insert(record.end(), {0xFF, 0xD9});
  // A record whose L is below 17 is refused too.
  TBytes shortRecord = DibRecord(0x28, 24, 40);
  shortRecord[4] = 16;
  shortRecord[5] = shortRecord[6] = shortRecord[7] = 0;
  EXPECT_EQ(Run(shortRecord + record), TScanResult::Completed);
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"talk_001.jpg"});
  EXPECT_EQ(Host.Items.at(0).SourceStartBytes, shortRecord.size() + 4);
}

TEST_F(ScannerTest, WaveTakesTheByteBehindTheChunkAndTheScanGoesOnBehindIt) {
  const TBytes chunk = Riff(4 + 20, "WAVE", 20);  // Z + 8 bytes
  const TBytes hidden = kJpegStart + TBytes{0xFF, 0xD9};  // starts at the byte the copy takes
  const TBytes later = TBytes{0x00} + kJpegStart + TBytes{0xFF, 0xD9};
  EXPECT_EQ(Run(chunk + hidden + later), TScanResult::Completed);
  TBytes expected = chunk;
  expected.push_back(0xFF);
  EXPECT_EQ(ReadAll(Out("talk_001.wav")), expected);
  EXPECT_EQ(State.SoundCount, 1);
  // Sounds number apart from pictures; the hidden JPEG is missed, the later one found.
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"talk_001.jpg", "talk_001.wav"}));
  EXPECT_EQ(Host.Items.at(1).SourceStartBytes, chunk.size() + hidden.size() + 1);
}

TEST_F(ScannerTest, RiffOfAnotherFormIsSkippedByOneByte) {
  TBytes avi = Riff(4, "AVI ", 0);
  const TBytes wave = Riff(4, "WAVE", 0) + TBytes{0x77};
  EXPECT_EQ(Run(TBytes{'R'} + avi + wave), TScanResult::Completed);
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"talk_001.wav"});
  EXPECT_EQ(State.SoundCount, 1);
  EXPECT_EQ(ReadAll(Out("talk_001.wav")), wave);
}

TEST_F(ScannerTest, PicturesShareOneNumberingAcrossKinds) {
  const TBytes jpeg = kJpegStart + TBytes{0xFF, 0xD9};
  const TBytes png = kPngStart + kPngEnd;
  const TBytes source = Riff(4, "WAVE", 0) + Filler(4) + jpeg + Filler(3) + DibRecord(0x28, 24, 60) + Filler(3) + png;
  EXPECT_EQ(Run(source), TScanResult::Completed);
  EXPECT_EQ(OutputNames(),
            (std::vector<std::string>{"talk_001.jpg", "talk_001.wav", "talk_002.bmp", "talk_003.png"}));
  EXPECT_TRUE(Host.Questions.empty());
  EXPECT_EQ(State.JpgFileName, Utf8FromPath(Out("talk_001.jpg")));
  EXPECT_EQ(State.BmpFileName, Utf8FromPath(Out("talk_002.bmp")));
}

TEST_F(ScannerTest, SameResultsWhateverTheBufferSize) {
  std::mt19937 random(7);
  TBytes source;
  for (int i = 0; i < 40; ++i) {
    TBytes noise(random() % 300);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random() % 0x40);
    source = source + noise + kJpegStart + TBytes{1, 0xFF, 0xD9} + noise + DibRecord(0x28, 8, 100) + kPngStart +
             noise + kPngEnd + Riff(30, "WAVE", 30);
  }
  EXPECT_EQ(Run(source), TScanResult::Completed);
  const std::vector<std::string> bigNames = OutputNames();
  std::vector<TBytes> bigFiles;
  for (const auto& name : bigNames) bigFiles.push_back(ReadAll(Out(name)));
  fs::remove_all(FRoot / "talk");
  Host = TRecordingHost();
  EXPECT_EQ(Run(source, 64), TScanResult::Completed);
  ASSERT_EQ(OutputNames(), bigNames);
  for (std::size_t i = 0; i < bigNames.size(); ++i) EXPECT_EQ(ReadAll(Out(bigNames[i])), bigFiles[i]) << bigNames[i];
  EXPECT_EQ(bigNames.size(), 160u);
}

TEST_F(ScannerTest, ItemsCutOffByTheEndOfTheSource) {
  // A sound cut short stays and counts; the scan ends with it.
  EXPECT_EQ(Run(Riff(1000, "WAVE", 10)), TScanResult::Completed);
  EXPECT_EQ(State.SoundCount, 1);
  EXPECT_EQ(ReadAll(Out("talk_001.wav")).size(), 22u);
  EXPECT_TRUE(Host.Items.at(0).Truncated);

  // A bitmap whose length reaches 4 GiB copies what there is; a picture that fails its
  // preview is removed.
  fs::remove_all(FRoot / "talk");
  Host = TRecordingHost();
  Host.PreviewAnswer = false;
  TBytes huge = DibRecord(0x28, 24, 100);
  huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
  EXPECT_EQ(Run(huge + kJpegStart + TBytes{0xFF, 0xD9}), TScanResult::Completed);
  EXPECT_EQ(State.PictureCount, 0);
  EXPECT_EQ(Host.Previews, std::vector<std::string>{"talk_001.bmp"});
  EXPECT_TRUE(OutputNames().empty());
}

TEST_F(ScannerTest, ExistingFolderIsAskedAboutOnceAndCancelEndsTheRunWithoutFiles) {
  fs::create_directory(FRoot / "talk");
  const TBytes source = Riff(4, "WAVE", 0) + Filler(2) + kJpegStart + TBytes{0xFF, 0xD9};
  Host.ConfirmAnswer = false;
  EXPECT_EQ(Run(source), TScanResult::FolderCancelled);
  EXPECT_TRUE(OutputNames().empty());
  EXPECT_EQ(Host.Questions.size(), 1u);

  Host = TRecordingHost();
  std::ofstream(Out("talk_001.jpg")) << "old";
  std::ofstream(Out("other.txt")) << "kept";
  EXPECT_EQ(Run(source), TScanResult::Completed);
  EXPECT_EQ(Host.Questions, std::vector<std::string>{Utf8FromPath(FRoot / "talk")});
  EXPECT_EQ(ReadAll(Out("talk_001.jpg")), (kJpegStart + TBytes{0xFF, 0xD9}));
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"other.txt", "talk_001.jpg", "talk_001.wav"}));
}

TEST_F(ScannerTest, FolderThatCannotBeCreatedEndsTheRun) {
  std::ofstream(FRoot / "talk") << "a file in the way";
  EXPECT_EQ(Run(kJpegStart + TBytes{0xFF, 0xD9}), TScanResult::FolderNotCreated);
  EXPECT_EQ(Host.FolderErrors, std::vector<std::string>{Utf8FromPath(FRoot / "talk")});
  EXPECT_EQ(State.PictureCount, 0);
}

TEST_F(ScannerTest, FileThatCannotBeWrittenIsReportedAndNotCounted) {
  fs::create_directories(Out("talk_002.jpg"));  // a folder where the second file goes
  const TBytes jpeg = kJpegStart + TBytes{0xFF, 0xD9};
  EXPECT_EQ(Run(jpeg + jpeg + jpeg), TScanResult::WriteFailed);
  EXPECT_EQ(State.PictureCount, 1);
  ASSERT_EQ(Host.Errors.size(), 1u);
  EXPECT_EQ(Host.Errors[0].Kind, TRunErrorKind::WriteFailed);
  EXPECT_EQ(Host.Errors[0].Path, Utf8FromPath(Out("talk_002.jpg")));
  EXPECT_FALSE(fs::exists(Out("talk_003.jpg")));
}

TEST_F(ScannerTest, SourceThatShrinksMidRunIsReportedAndThePartialFileRemoved) {
  TBytes source = Filler(5000) + kJpegStart + Filler(200 * 1024) + TBytes{0xFF, 0xD9};
  const fs::path path = FRoot / "talk.ppt";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(source.data()),
                                              static_cast<std::streamsize>(source.size()));
  int errnoValue = 0;
  ASSERT_EQ(BeginRun(State, Utf8FromPath(path), errnoValue), TOpenResult::Opened);
  fs::resize_file(path, 100 * 1024);  // after the size was taken
  EXPECT_EQ(Scan(State, Host, 4096), TScanResult::ReadFailed);
  State.Source.Close();
  ASSERT_EQ(Host.Errors.size(), 1u);
  EXPECT_EQ(Host.Errors[0].Kind, TRunErrorKind::ReadFailed);
  EXPECT_EQ(Host.Errors[0].Path, Utf8FromPath(path));
  EXPECT_EQ(State.PictureCount, 0);
  EXPECT_TRUE(OutputNames().empty());
}

TEST_F(ScannerTest, AbortStopsAtTheNextHostCallAndKeepsWhatWasWritten) {
  const TBytes jpeg = kJpegStart + TBytes{0xFF, 0xD9};
  Host.AbortAfterPasses = 1;
  EXPECT_EQ(Run(jpeg + Filler(100) + jpeg), TScanResult::Aborted);
  EXPECT_EQ(State.PictureCount, 1);
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"talk_001.jpg"});
}

TEST_F(ScannerTest, ShortSourceEndsWithAFullBar) {
  EXPECT_EQ(Run(Filler(50)), TScanResult::Completed);
  ASSERT_FALSE(Host.Percents.empty());
  EXPECT_EQ(Host.Percents.back(), 100);
  EXPECT_EQ(State.Position, 50u);
}

TEST(ScanProgress, PercentFollowsThePositionWithoutOverflow) {
  EXPECT_EQ(ProgressPercent(0, 30'000'000), 0);
  EXPECT_EQ(ProgressPercent(15'000'000, 30'000'000), 50);
  EXPECT_EQ(ProgressPercent(29'999'999, 30'000'000), 100);
  EXPECT_EQ(ProgressPercent(10, 50), 22);
  EXPECT_EQ(ProgressPercent(50, 50), 100);  // 102 for a small source: a full bar
  const std::uint64_t huge = std::uint64_t{1} << 62;
  EXPECT_EQ(ProgressPercent(huge / 4, huge), 25);
  EXPECT_EQ(ProgressPercent(5, 0), 0);
}

}  // namespace
}  // namespace bw::extract
