// The extractor as a hostile user meets it: signals, concurrent runs, planted links, lost
// output, memory limits, deep folders. Most cases run the real program in a child process.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

#include "tools/extract/ExtractCommand.h"
#include "tools/extract/JsonReport.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

// A limit for a child that never ends on its own; reaching it is a failure, not a timing.
constexpr auto kGiveUp = std::chrono::seconds(60);

std::string ExtractorPath() {
  // BW_EXTRACT_BIN runs these cases against another build of the program.
  const char* other = std::getenv("BW_EXTRACT_BIN");
  return other != nullptr ? other : BW_EXTRACT_BIN;
}

bool WaitFor(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + kGiveUp;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uintmax_t SizeOf(const fs::path& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? 0 : size;
}

struct TChild {
  pid_t Pid = -1;
  fs::path Out, Err;
  int Status = 0;
  bool Ended = false;

  bool WaitEnd() {
    const bool ended = WaitFor([&] { return waitpid(Pid, &Status, WNOHANG) == Pid; });
    if (!ended) {
      kill(Pid, SIGKILL);
      waitpid(Pid, &Status, 0);
    }
    Ended = true;
    return ended;
  }
  int ExitCode() const { return WIFEXITED(Status) ? WEXITSTATUS(Status) : 1000 + WTERMSIG(Status); }
  ~TChild() {
    if (Pid > 0 && !Ended) {
      kill(Pid, SIGKILL);
      waitpid(Pid, nullptr, 0);
    }
  }
};

struct TSpawn {
  TSpawn(std::vector<std::string> args, fs::path folder, int stdinFd = -1, const char* stdoutPath = nullptr)
      : Args(std::move(args)), Folder(std::move(folder)), StdinFd(stdinFd), StdoutPath(stdoutPath) {}
  std::vector<std::string> Args;
  fs::path Folder;        // working directory, and where stdout / stderr files go
  int StdinFd = -1;       // -1: /dev/null
  const char* StdoutPath = nullptr;  // nullptr: a file in Folder
  bool CloseStdout = false;
  rlim_t AddressSpaceBytes = 0;  // 0: no limit
  std::vector<std::string> ChdirSteps;  // relative steps into the working directory
};

std::unique_ptr<TChild> Spawn(const TSpawn& how) {
  auto child = std::make_unique<TChild>();
  static int serial = 0;
  const std::string tag = std::to_string(getpid()) + "-" + std::to_string(++serial);
  child->Out = fs::temp_directory_path() / ("bw-out-" + tag);
  child->Err = fs::temp_directory_path() / ("bw-err-" + tag);
  const std::string program = ExtractorPath();
  child->Pid = fork();
  if (child->Pid == 0) {
    if (chdir(how.Folder.c_str()) != 0) _exit(120);
    for (const std::string& step : how.ChdirSteps) {
      if (chdir(step.c_str()) != 0) _exit(121);
    }
    const int in = how.StdinFd >= 0 ? how.StdinFd : open("/dev/null", O_RDONLY);
    dup2(in, 0);
    const int err = open(child->Err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    if (how.CloseStdout) {
      close(1);
    } else {
      const int out = open(how.StdoutPath != nullptr ? how.StdoutPath : child->Out.c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
    }
    if (how.AddressSpaceBytes != 0) {
      const rlimit limit{how.AddressSpaceBytes, how.AddressSpaceBytes};
      setrlimit(RLIMIT_AS, &limit);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : how.Args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return child;
}

TBytes Fixture() {
  std::ifstream in(fs::path(BW_SOURCE_DIR) / "tests/fixtures/sample_mixed.ppt", std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const TBytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// A source whose one sound claims almost 2 GiB and has it (sparse zeros): a run stays
// inside that item for as long as a test needs.
void WriteLongItemSource(const fs::path& path) {
  const std::uint32_t claimed = 0x7FFFFF00u;
  TBytes head = {'R', 'I', 'F', 'F'};
  for (int i = 0; i < 4; ++i) head.push_back(static_cast<std::uint8_t>(claimed >> (8 * i)));
  head.insert(head.end(), {'W', 'A', 'V', 'E'});
  WriteBytes(path, head);
  fs::resize_file(path, std::uintmax_t{claimed} + 64);
}

class ExtractHardening : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("bw-hard-" + std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }
  fs::path FRoot;
};

TEST_F(ExtractHardening, TerminationSignalsRemoveTheItemBeingWrittenAndPrintTheReport) {
  for (const int signalNumber : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signalNumber);
    fs::remove_all(FRoot / "long");
    WriteLongItemSource(FRoot / "long.ppt");
    auto child = Spawn({{"--json", "--yes", "long.ppt"}, FRoot});
    const fs::path item = FRoot / "long" / "long_001.wav";
    ASSERT_TRUE(WaitFor([&] { return SizeOf(item) > 0; }));
    kill(child->Pid, signalNumber);
    ASSERT_TRUE(child->WaitEnd());
    EXPECT_TRUE(WIFEXITED(child->Status)) << "killed by the signal";
    EXPECT_NE(child->ExitCode(), 0);
    EXPECT_FALSE(fs::exists(item));
    const std::string json = ReadText(child->Out);
    EXPECT_NE(json.find("\"status\": \"aborted\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"sounds\": 0"), std::string::npos) << json;
  }
}

TEST_F(ExtractHardening, SecondCtrlCStopsALongItemAtOnce) {
  WriteLongItemSource(FRoot / "long.ppt");
  auto child = Spawn({{"--json", "long.ppt"}, FRoot});
  const fs::path item = FRoot / "long" / "long_001.wav";
  ASSERT_TRUE(WaitFor([&] { return SizeOf(item) > 0; }));
  kill(child->Pid, SIGINT);
  // The first Ctrl-C lets the item go on...
  const std::uintmax_t before = SizeOf(item);
  ASSERT_TRUE(WaitFor([&] { return SizeOf(item) > before; }));
  EXPECT_NE(waitpid(child->Pid, nullptr, WNOHANG), child->Pid);
  // ...the second ends it: the partial file goes and is not counted.
  kill(child->Pid, SIGINT);
  ASSERT_TRUE(child->WaitEnd());
  EXPECT_EQ(child->ExitCode(), kExitFailed);
  EXPECT_FALSE(fs::exists(item));
  EXPECT_NE(ReadText(child->Out).find("\"sounds\": 0"), std::string::npos);
}

TEST_F(ExtractHardening, CtrlCEndsTheFolderQuestionAndAFifoIsNotWaitedFor) {
  WriteBytes(FRoot / "talk.ppt", Fixture());
  fs::create_directory(FRoot / "talk");
  int master = -1, slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  auto child = Spawn({{"talk.ppt"}, FRoot, slave});
  close(slave);
  ASSERT_TRUE(WaitFor([&] { return ReadText(child->Err).find("[y/N]") != std::string::npos; }));
  kill(child->Pid, SIGINT);
  EXPECT_TRUE(child->WaitEnd()) << "still waiting for an answer";
  close(master);
  EXPECT_NE(child->ExitCode(), 0);
  EXPECT_TRUE(fs::is_empty(FRoot / "talk")) << "a file was written after Ctrl-C";

  ASSERT_EQ(mkfifo((FRoot / "pipe.ppt").c_str(), 0644), 0);
  auto reader = Spawn({{"pipe.ppt"}, FRoot});
  ASSERT_TRUE(reader->WaitEnd()) << "blocked opening a FIFO";
  EXPECT_EQ(reader->ExitCode(), kExitFailed);
  EXPECT_NE(ReadText(reader->Err).find("not a regular file"), std::string::npos) << ReadText(reader->Err);
}

TEST_F(ExtractHardening, ASecondRunIntoAFolderInUseIsRefused) {
  WriteLongItemSource(FRoot / "long.ppt");
  auto first = Spawn({{"--yes", "long.ppt"}, FRoot});
  const fs::path item = FRoot / "long" / "long_001.wav";
  ASSERT_TRUE(WaitFor([&] { return SizeOf(item) > 0; }));
  // The same folder from a second run, in this process, while the first one writes.
  std::istringstream in;
  std::ostringstream err, out;
  const int status = RunExtractCommand({"--yes", "--json", (FRoot / "long.ppt").string()}, "EN",
                                       {&in, &err, false, false}, out, nullptr);
  EXPECT_EQ(status, kExitFailed);
  EXPECT_NE(err.str().find("another run is writing into the folder"), std::string::npos) << err.str();
  EXPECT_NE(out.str().find("\"status\": \"failed\""), std::string::npos) << out.str();
  EXPECT_EQ(waitpid(first->Pid, nullptr, WNOHANG), 0) << "the first run was disturbed";
  kill(first->Pid, SIGTERM);
  ASSERT_TRUE(first->WaitEnd());
  // Its lock went with it: the folder is free again and holds no lock file.
  EXPECT_FALSE(fs::exists(FRoot / "long" / ".brindlewick-lock"));
  fs::resize_file(FRoot / "long.ppt", 64);
  EXPECT_EQ(RunExtractCommand({"--yes", (FRoot / "long.ppt").string()}, "EN", {&in, &err, false, false}, out, nullptr),
            kExitOk);  // the cut sound is kept as such
  EXPECT_EQ(err.str().find("another run", err.str().find("another run") + 1), std::string::npos);
}

TEST_F(ExtractHardening, LinksAtOutputNamesAreNotWrittenThrough) {
  WriteBytes(FRoot / "talk.ppt", Fixture());
  fs::create_directory(FRoot / "talk");
  WriteBytes(FRoot / "outside.txt", {'k', 'e', 'e', 'p'});
  fs::create_symlink(FRoot / "outside.txt", FRoot / "talk" / "talk_001.jpg");
  std::istringstream in;
  std::ostringstream err, out;
  EXPECT_EQ(RunExtractCommand({"--yes", (FRoot / "talk.ppt").string()}, "EN", {&in, &err, false, false}, out, nullptr),
            kExitFailed);
  EXPECT_EQ(ReadText(FRoot / "outside.txt"), "keep");
  EXPECT_NE(err.str().find("talk_001.jpg"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("symbolic link"), std::string::npos) << err.str();

  fs::remove(FRoot / "talk" / "talk_001.jpg");
  fs::create_hard_link(FRoot / "outside.txt", FRoot / "talk" / "talk_001.jpg");
  err.str("");
  EXPECT_EQ(RunExtractCommand({"--yes", (FRoot / "talk.ppt").string()}, "EN", {&in, &err, false, false}, out, nullptr),
            kExitFailed);
  EXPECT_EQ(ReadText(FRoot / "outside.txt"), "keep");
  EXPECT_NE(err.str().find("hard link"), std::string::npos) << err.str();
}

TEST_F(ExtractHardening, TwoSourcesWithOneBaseNameDoNotOverwriteEachOther) {
  TBytes second = Fixture();
  second.insert(second.begin(), 7, 0x00);  // other offsets, same pictures
  WriteBytes(FRoot / "talk.ppt", Fixture());
  WriteBytes(FRoot / "talk.pps", second);
  std::istringstream in;
  std::ostringstream err, out;
  EXPECT_EQ(RunExtractCommand({"--yes", "--json", (FRoot / "talk.ppt").string(), (FRoot / "talk.pps").string()}, "EN",
                              {&in, &err, false, false}, out, nullptr),
            kExitFailed);
  EXPECT_NE(err.str().find("earlier source of this command"), std::string::npos) << err.str();
  // The first source's files are still what a run of it alone writes.
  fs::create_directory(FRoot / "solo");
  WriteBytes(FRoot / "solo" / "talk.ppt", Fixture());
  ASSERT_EQ(RunExtractCommand({(FRoot / "solo" / "talk.ppt").string()}, "EN", {&in, &err, false, false}, out, nullptr),
            kExitOk);
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(FRoot / "solo" / "talk")) {
    EXPECT_EQ(ReadText(FRoot / "talk" / entry.path().filename()), ReadText(entry.path())) << entry.path();
    ++compared;
  }
  EXPECT_EQ(compared, 4);
}

TEST_F(ExtractHardening, AReportThatCannotBeWrittenFailsTheCommand) {
  WriteBytes(FRoot / "talk.ppt", Fixture());
  auto full = Spawn({{"--json", "--yes", "talk.ppt"}, FRoot, -1, "/dev/full"});
  ASSERT_TRUE(full->WaitEnd());
  EXPECT_EQ(full->ExitCode(), kExitFailed);
  EXPECT_NE(ReadText(full->Err).find("could not be written"), std::string::npos);
  TSpawn closed{{"--yes", "talk.ppt"}, FRoot};
  closed.CloseStdout = true;
  auto shut = Spawn(closed);
  ASSERT_TRUE(shut->WaitEnd());
  EXPECT_EQ(shut->ExitCode(), kExitFailed);
}

// A bitmap record of 8192 x 8192 at 8 bits: 64 MiB of pixels, present in the source.
void WriteBigBitmapSource(const fs::path& path) {
  const std::uint32_t sidePx = 8192;
  const std::uint32_t dibBytes = 40 + 1024 + sidePx * sidePx;
  TBytes head = {0x80, 0x7A, 0x1F, 0xF0};
  const std::uint32_t length = dibBytes + 17;
  for (int i = 0; i < 4; ++i) head.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  head.insert(head.end(), 16, 0xAB);
  head.push_back(0);
  TBytes info(40, 0);
  info[0] = 40;
  for (int i = 0; i < 4; ++i) info[4 + i] = info[8 + i] = static_cast<std::uint8_t>(sidePx >> (8 * i));
  info[12] = 1;
  info[14] = 8;
  head.insert(head.end(), info.begin(), info.end());
  WriteBytes(path, head);
  fs::resize_file(path, head.size() + 1024 + std::uintmax_t{sidePx} * sidePx + 16);
}

TEST_F(ExtractHardening, MemoryRunningOutInThePictureCheckEndsNoRun) {
  WriteBigBitmapSource(FRoot / "big.ppt");
  WriteBytes(FRoot / "talk.ppt", Fixture());
  TSpawn how{{"--json", "--yes", "big.ppt", "talk.ppt"}, FRoot};
  how.AddressSpaceBytes = rlim_t{160} << 20;
  auto child = Spawn(how);
  ASSERT_TRUE(child->WaitEnd());
  EXPECT_TRUE(WIFEXITED(child->Status)) << "ended by signal " << WTERMSIG(child->Status);
  const std::string json = ReadText(child->Out);
  // The bitmap could not be checked: kept, and marked so; the next source ran.
  EXPECT_NE(json.find("big_001.bmp\""), std::string::npos) << json << ReadText(child->Err);
  EXPECT_NE(json.find("\"checked\": false"), std::string::npos) << json;
  EXPECT_NE(json.find("\"pictures\": 3, \"sounds\": 1"), std::string::npos) << json;
}

TEST_F(ExtractHardening, NamesThatAreNotUtf8AreRecoverableFromTheJson) {
  const std::string name = "t\xFFk.ppt";
  WriteBytes(FRoot / name, Fixture());
  std::istringstream in;
  std::ostringstream err, out;
  ASSERT_EQ(RunExtractCommand({"--json", (FRoot / name).string()}, "EN", {&in, &err, false, false}, out, nullptr),
            kExitOk);
  const std::string json = out.str();
  const std::string key = "\"pathHex\": \"";
  const std::size_t at = json.find(key);
  ASSERT_NE(at, std::string::npos) << json;
  const std::string hex = json.substr(at + key.size(), json.find('"', at + key.size()) - at - key.size());
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  EXPECT_TRUE(fs::is_regular_file(bytes)) << bytes;
  EXPECT_NE(json.find("\"sourceHex\": \""), std::string::npos);
  EXPECT_EQ(JsonNameMember("path", "caf\xC3\xA9"), "\"path\": \"caf\xC3\xA9\"");
  EXPECT_EQ(JsonNameMember("path", "a\xFF"), "\"path\": \"a\\ufffd\", \"pathHex\": \"61ff\"");
}

TEST_F(ExtractHardening, RelativeSourceFromAVeryDeepFolder) {
  // Deeper than the system's path limit: only relative names reach it.
  const std::string step(200, 'd');
  std::vector<std::string> steps(30, step);
  fs::path here = FRoot;
  ASSERT_EQ(chdir(FRoot.c_str()), 0);
  for (const std::string& s : steps) {
    ASSERT_EQ(mkdir(s.c_str(), 0755), 0);
    ASSERT_EQ(chdir(s.c_str()), 0);
  }
  WriteBytes("talk.ppt", Fixture());
  ASSERT_EQ(chdir(FRoot.c_str()), 0);
  TSpawn how{{"--yes", "talk.ppt"}, FRoot};
  how.ChdirSteps = steps;
  auto child = Spawn(how);
  ASSERT_TRUE(child->WaitEnd());
  EXPECT_EQ(child->ExitCode(), kExitOk) << ReadText(child->Err);
  // Check and clean up from inside, where relative names work.
  for (const std::string& s : steps) ASSERT_EQ(chdir(s.c_str()), 0);
  struct stat info {};
  EXPECT_EQ(stat("talk/talk_001.jpg", &info), 0);
  for (const char* name : {"talk/talk_001.jpg", "talk/talk_001.wav", "talk/talk_002.png", "talk/talk_003.png"}) {
    unlink(name);
  }
  rmdir("talk");
  unlink("talk.ppt");
  for (std::size_t i = 0; i < steps.size(); ++i) {
    ASSERT_EQ(chdir(".."), 0);
    rmdir(step.c_str());
  }
}

}  // namespace
}  // namespace bw::tools

#endif
