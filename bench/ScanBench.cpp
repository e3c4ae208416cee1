// Scan throughput next to `cat` and a plain 1 MiB-buffer read loop over the same
// page-cached file, and the peak memory of the process. Usage: bench_scan [MiB [scan buffer
// KiB]] (default 1024 MiB and the engine's own buffer).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "extract/FileIo.h"
#include "extract/Scanner.h"
#include "extract/SignatureSearch.h"

namespace {

namespace fs = std::filesystem;
using namespace bw::extract;
constexpr std::size_t kMiB = std::size_t{1} << 20;

class TQuietHost final : public TRunHost {
 public:
  void Progress(int) override {}
  void ProcessMessages() override {}
  bool ConfirmExistingFolder(const std::string&) override { return true; }
  void FolderCreationFailed(const std::string&) override {}
  bool ShowPreview(TItemKind, const std::string&) override { return true; }
  void ReportError(const TRunError& error) override { std::fprintf(stderr, "error: %s\n", error.Path.c_str()); }
};

void BreakSignatures(std::vector<std::uint8_t>& chunk) {
  for (std::size_t i = 0; i + 4 <= chunk.size(); ++i) {
    if (SignatureOf(chunk.data() + i) != TSignature::None) chunk[i + 1] ^= 0x01;
  }
}

// Random bytes without any signature, written a chunk at a time.
void WriteNoHitFile(const fs::path& path, std::size_t sizeBytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::mt19937_64 random(1);
  std::vector<std::uint8_t> chunk(kMiB + 3);
  for (std::size_t done = 0; done < sizeBytes; done += kMiB) {
    for (std::size_t i = 0; i < chunk.size(); i += 8) {
      const std::uint64_t value = random();
      std::copy_n(reinterpret_cast<const std::uint8_t*>(&value), std::min<std::size_t>(8, chunk.size() - i), chunk.begin() + static_cast<std::ptrdiff_t>(i));
    }
    chunk[0] = chunk[1] = chunk[2] = 0;  // no signature across chunk seams
    BreakSignatures(chunk);
    std::fwrite(chunk.data(), 1, std::min(kMiB, sizeBytes - done), file);
  }
  std::fclose(file);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Items of every kind, 16 KiB of body each, back to back with a little noise.
void WriteItemsFile(const fs::path& path, std::size_t sizeBytes, std::size_t& items) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::vector<std::uint8_t> body(16 * 1024);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(0x20 + i % 31);
  std::size_t written = 0;
  items = 0;
  while (written < sizeBytes) {
    std::vector<std::uint8_t> block = {0xFF, 0xD8, 0xFF, 0xE0};
    block.insert(block.end(), body.begin(), body.end());
    block.insert(block.end(), {0xFF, 0xD9, 0, 0, 0});
    block.insert(block.end(), {0x89, 0x50, 0x4E, 0x47});
    block.insert(block.end(), body.begin(), body.end());
    block.insert(block.end(), {0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82, 0, 0, 0});
    block.insert(block.end(), {0x80, 0x7A, 0x1F, 0xF0});
    PutU32(block, static_cast<std::uint32_t>(body.size() + 17));
    block.insert(block.end(), 17, 0);
    block.insert(block.end(), {40, 0, 0, 0});
    block.insert(block.end(), body.begin() + 4, body.end());
    block.insert(block.end(), {0, 0, 0});
    block.insert(block.end(), {'R', 'I', 'F', 'F'});
    PutU32(block, static_cast<std::uint32_t>(body.size() + 4));
    block.insert(block.end(), {'W', 'A', 'V', 'E'});
    block.insert(block.end(), body.begin(), body.end());
    block.insert(block.end(), {0, 0});
    std::fwrite(block.data(), 1, block.size(), file);
    written += block.size();
    items += 4;
  }
  std::fclose(file);
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// cat run on the file, its output thrown away: the program as a user would time it.
double CatSeconds(const fs::path& path) {
  const std::string command = "cat '" + path.string() + "' > /dev/null";
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cat failed\n");
  return Seconds(std::chrono::steady_clock::now() - start);
}

double ReadLoopSeconds(const fs::path& path) {
  std::vector<std::uint8_t> buffer(kMiB);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  const auto start = std::chrono::steady_clock::now();
  std::uint64_t sum = 0;
  while (true) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    if (got == 0) break;
    sum += buffer[got - 1];  // keeps the loop from being dropped
  }
  const double seconds = Seconds(std::chrono::steady_clock::now() - start);
  std::fclose(file);
  if (sum == 1) std::puts("");
  return seconds;
}

std::size_t gBufferBytes = kSourceBufferBytes;

double ScanSeconds(const fs::path& path, std::int32_t& pictures, std::int32_t& sounds) {
  TRunState state;
  int errnoValue = 0;
  BeginRun(state, path.string(), errnoValue);
  TQuietHost host;
  const auto start = std::chrono::steady_clock::now();
  const TScanResult result = Scan(state, host, gBufferBytes);
  const double seconds = Seconds(std::chrono::steady_clock::now() - start);
  if (result != TScanResult::Completed) std::fprintf(stderr, "scan did not complete\n");
  pictures = state.PictureCount;
  sounds = state.SoundCount;
  fs::remove_all(path.parent_path() / path.stem());
  return seconds;
}

// The signature search alone over a buffer that stays in the cache, as the scan sees it.
double SearchAloneMBps(const fs::path& path) {
  std::vector<std::uint8_t> buffer(kMiB);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
  std::fclose(file);
  constexpr int kRounds = 256;
  double seconds = 1e9;
  for (int run = 0; run < 3; ++run) {
    std::size_t found = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) found += FindSignature(buffer.data(), got);
    seconds = std::min(seconds, Seconds(std::chrono::steady_clock::now() - start));
    if (found != got * kRounds) std::fprintf(stderr, "search found a signature\n");
  }
  return static_cast<double>(got) * kRounds / 1e6 / seconds;
}

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mebibytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
  if (argc > 2) gBufferBytes = std::strtoul(argv[2], nullptr, 10) * 1024;
  const std::size_t sizeBytes = mebibytes * kMiB;
  const fs::path folder = fs::temp_directory_path() / ("bw-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  const fs::path noHit = folder / "nohit.ppt";
  const fs::path items = folder / "items.ppt";
  const fs::path huge = folder / "hugelen.ppt";
  WriteNoHitFile(noHit, sizeBytes);
  std::size_t itemCount = 0;
  // Items write 4 files per 66 KB: the small-file source stays at 256 MiB at most.
  const std::size_t itemMebibytes = std::min<std::size_t>(mebibytes, 256);
  WriteItemsFile(items, itemMebibytes * kMiB, itemCount);
  {
    // A sound claiming 4 GiB at the start, then the no-hit bytes: one item as long as the file.
    std::FILE* file = std::fopen(huge.c_str(), "wb");
    const std::uint8_t header[] = {'R', 'I', 'F', 'F', 0xF0, 0xFF, 0xFF, 0xFF, 'W', 'A', 'V', 'E'};
    std::fwrite(header, 1, sizeof header, file);
    std::fclose(file);
    fs::resize_file(huge, 64 * kMiB);
  }
  const long rssAfterSetup = PeakRssKiB();

  auto best = [](auto run) {
    double seconds = 1e9;
    for (int i = 0; i < 3; ++i) seconds = std::min(seconds, run());
    return seconds;
  };
  std::int32_t pictures = 0, sounds = 0;
  const double mb = static_cast<double>(sizeBytes) / 1e6;
  ReadLoopSeconds(noHit);  // warm the cache
  // Rounds of all three in turn, best of each: a machine shared with others drifts.
  double catNoHit = 1e9, readNoHit = 1e9, scanNoHit = 1e9;
  for (int round = 0; round < 5; ++round) {
    catNoHit = std::min(catNoHit, CatSeconds(noHit));
    readNoHit = std::min(readNoHit, ReadLoopSeconds(noHit));
    scanNoHit = std::min(scanNoHit, ScanSeconds(noHit, pictures, sounds));
  }
  std::printf("no-hit source, %zu MiB: cat %8.1f MB/s   read loop %8.1f MB/s   scan %8.1f MB/s   scan/cat %5.2f x   "
              "scan/read loop %5.2f x   (items %d)\n",
              mebibytes, mb / catNoHit, mb / readNoHit, mb / scanNoHit, catNoHit / scanNoHit, readNoHit / scanNoHit,
              pictures + sounds);
  std::printf("search alone, 1 MiB in the cache: %8.1f MB/s\n", SearchAloneMBps(noHit));
  ReadLoopSeconds(items);
  const double readItems = best([&] { return ReadLoopSeconds(items); });
  const double scanItems = best([&] { return ScanSeconds(items, pictures, sounds); });
  const double itemMb = static_cast<double>(itemMebibytes * kMiB) / 1e6;
  std::printf("full of items, %zu MiB: read loop %8.1f MB/s   scan %8.1f MB/s   ratio %5.1f %%   (%d pictures, %d "
              "sounds of %zu)\n",
              itemMebibytes, itemMb / readItems, itemMb / scanItems, 100.0 * readItems / scanItems, pictures, sounds, itemCount);
  const double scanHuge = ScanSeconds(huge, pictures, sounds);
  std::printf("4 GiB length field, 64 MiB source: scan %8.1f MB/s (%d sounds)\n", 64 * kMiB / 1e6 / scanHuge, sounds);
  std::printf("peak memory: %.1f MiB (after building the sources: %.1f MiB)\n", PeakRssKiB() / 1024.0,
              rssAfterSetup / 1024.0);
  fs::remove_all(folder);
  return 0;
}
