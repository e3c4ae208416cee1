#include "framework/core/Streams.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/core/Exceptions.h"

namespace bw::core {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    FPath = fs::temp_directory_path() /
            ("bw-streams-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-" +
             std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(FPath);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  std::string File(const char* name) const { return (FPath / name).string(); }
  std::string Path() const { return FPath.string(); }

 private:
  fs::path FPath;
};

TEST(MemoryStream, ReadsWritesAndSeeks) {
  TMemoryStream m;
  m.WriteInt32(0x04030201);
  m.WriteBuffer("xyz", 3);
  EXPECT_EQ(m.Size(), 7);
  EXPECT_EQ(m.Position(), 7);
  m.SetPosition(0);
  EXPECT_EQ(m.ReadInt32(), 0x04030201);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 3);  // short read answers the count
  EXPECT_EQ(std::string(buf, 3), "xyz");
  EXPECT_EQ(m.Read(buf, 8), 0);
  EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
  EXPECT_EQ(m.Seek(-3, TSeekOrigin::soEnd), 4);
  EXPECT_THROW(m.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
  // Writing past the end fills the gap with zeros.
  m.Seek(10, TSeekOrigin::soBeginning);
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 11);
  EXPECT_EQ(m.Memory()[8], 0);
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  EXPECT_THROW(m.SetSize(-1), EStreamError);
  EXPECT_THROW(m.SetSize(TMemoryStream::kMaxMemoryStreamBytes + 1), EStreamError);
  EXPECT_EQ(m.Size(), 2);
  // A position far past the end cannot turn into a huge or wrapped write.
  m.Seek(INT64_MAX - 1, TSeekOrigin::soBeginning);
  EXPECT_THROW(m.WriteBuffer("xy", 2), EStreamError);
  EXPECT_THROW(m.Seek(INT64_MAX, TSeekOrigin::soCurrent), EStreamError);
  EXPECT_EQ(m.Size(), 2);
}

TEST(MemoryStream, CopyFromMovesWholeStreamsOrCounts) {
  TMemoryStream source;
  std::string big(200000, 'q');
  big[150000] = 'Z';
  source.WriteBuffer(big.data(), static_cast<std::int64_t>(big.size()));
  TMemoryStream dest;
  EXPECT_EQ(dest.CopyFrom(source, 0), 200000);  // 0: everything, from the start
  EXPECT_EQ(dest.Memory()[150000], 'Z');
  source.SetPosition(199990);
  TMemoryStream partial;
  EXPECT_THROW(partial.CopyFrom(source, 20), EReadError);  // only 10 left
}

TEST(FileStream, CreatesOpensAndKeepsContent) {
  TempFolder dir;
  const std::string name = dir.File("a.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("hello world", 11);
    EXPECT_EQ(f.Size(), 11);
    f.SetPosition(6);
    char w[5];
    f.ReadBuffer(w, 5);
    EXPECT_EQ(std::string(w, 5), "world");
  }
  {
    TFileStream f(name, fmOpenWrite | fmShareExclusive);  // keeps the content
    f.WriteBuffer("J", 1);
    char c;
    EXPECT_EQ(f.Read(&c, 1), 0);  // write-only
  }
  {
    TFileStream f(name, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(f.Size(), 11);
    EXPECT_EQ(f.Write("x", 1), 0);  // read-only
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
    EXPECT_THROW(f.SetSize(2), EStreamError);
    char all[11];
    f.ReadBuffer(all, 11);
    EXPECT_EQ(std::string(all, 11), "Jello world");
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    f.SetSize(5);
    EXPECT_EQ(f.Size(), 5);
    f.Seek(0, TSeekOrigin::soEnd);
    f.WriteBuffer("!", 1);
  }
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), 6), "Jello!");
}

TEST(FileStream, NamesOutsideAsciiWorkInBothBuilds) {
  TempFolder dir;
  const std::string name = dir.Path() + "/r\xC3\xA9pertoire-\xE2\x82\xAC.bin";  // UTF-8
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("abc", 3);
  }
  TFileStream f(name, fmOpenRead);
  EXPECT_EQ(f.Size(), 3);
  // The name on disk is the one meant, not its bytes read in another code page.
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(dir.Path()) / std::filesystem::path(u8"r\u00E9pertoire-\u20AC.bin")));
}

TEST(FileStream, FailuresAreClearErrors) {
  TempFolder dir;
  EXPECT_THROW(TFileStream(dir.File("missing.bin"), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir.File("no/such/folder/x.bin"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);  // a folder
  EXPECT_THROW(TFileStream(dir.Path(), fmCreate), EFCreateError);
  try {
    TFileStream f(dir.File("missing.bin"), fmOpenRead);
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find("missing.bin"), std::string::npos);
  }
  TMemoryStream m;
  EXPECT_THROW(m.LoadFromFile(dir.File("missing.bin")), EFOpenError);
}

#ifdef _WIN32
TEST(FileStream, ShareModesAreEnforced) {
  TempFolder dir;
  const std::string name = dir.File("shared.bin");
  TMemoryStream().SaveToFile(name);
  {
    TFileStream exclusive(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone), EFOpenError);
  }
  {
    TFileStream reader(name, fmOpenRead | fmShareDenyWrite);
    TFileStream otherReader(name, fmOpenRead | fmShareDenyNone);
    EXPECT_THROW(TFileStream(name, fmOpenWrite | fmShareDenyNone), EFOpenError);
  }
  TFileStream again(name, fmOpenReadWrite | fmShareExclusive);  // all released
}
#else
TEST(FileStream, ShareModesAreAcceptedWithoutEffectOnPosix) {
  TempFolder dir;
  const std::string name = dir.File("shared.bin");
  TMemoryStream().SaveToFile(name);
  TFileStream exclusive(name, fmOpenReadWrite | fmShareExclusive);
  TFileStream second(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(second.Size(), 0);
}
#endif

TEST(HandleStream, WorksOverABorrowedFile) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  {
    THandleStream s(f);
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char c;
    s.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'b');
    s.WriteBuffer("Z", 1);  // switching direction needs no care from the caller
    s.SetPosition(0);
    char all[3];
    s.ReadBuffer(all, 3);
    EXPECT_EQ(std::string(all, 3), "abZ");
  }
  EXPECT_EQ(std::fclose(f), 0);  // still open: the stream did not own it
}

}  // namespace
}  // namespace bw::core
