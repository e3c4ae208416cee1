// Time to load the program's skin (unpack, parse, decode every bitmap, compose) next to
// the unpacking alone, measured in the same run. Prints; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/data/LacquerData.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 30;

template <class F>
double MedianMs(F&& run) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : BW_PROGRAM_SKIN_STREAM;
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> value((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (value.size() <= 4) {
    std::fprintf(stderr, "no skin stream in %s\n", path);
    return 1;
  }
  const std::vector<std::uint8_t> packed(value.begin() + 4, value.end());
  bw::skin::SetDefaultSkinNotice(nullptr);

  const double unpackMs = MedianMs([&] {
    bw::skin::TSkinReader reader;
    bw::skin::TMemoryStream stream(packed);
    if (!reader.Loadfromstream(stream)) std::abort();
  });
  bw::skin::TSkinData data(nullptr);
  const double loadMs = MedianMs([&] {
    bw::core::TMemoryStream stream;
    stream.WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
    data.LoadFromStream(stream);
    if (data.NoSkin) std::abort();
  });
  std::printf("program skin: %zu packed bytes, median of %d runs\n", packed.size(), kRuns);
  std::printf("  unpack only (baseline): %8.2f ms\n", unpackMs);
  std::printf("  full load:              %8.2f ms  (%.1f x the unpack)\n", loadMs, loadMs / unpackMs);
  return 0;
}
