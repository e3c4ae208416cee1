// LZH pack and unpack throughput on a generated skin container (bitmaps + INI text,
// the size of the program's skin) and on a 4 MiB text, beside zlib's deflate and
// inflate of the same bytes in the same run. The skin's unpack time per iteration is
// the figure to hold under 10 ms.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "skin/data/WinConvert.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using bw::skin::TSkinEntry;

void PutLE(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 24-bit bitmap of `frames` state images: gradient faces, a dark edge, a gold line
// and magenta corners, like a skin's element images.
Bytes SkinBitmap(int widthPx, int heightPx, int frames, std::uint32_t seed) {
  const int rowBytes = (widthPx * 3 + 3) / 4 * 4;
  Bytes out = {'B', 'M'};
  PutLE(out, static_cast<std::uint32_t>(54 + rowBytes * heightPx), 4);
  PutLE(out, 0, 4);
  PutLE(out, 54, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<std::uint32_t>(widthPx), 4);
  PutLE(out, static_cast<std::uint32_t>(heightPx), 4);
  PutLE(out, 1, 2);
  PutLE(out, 24, 2);
  for (int i = 0; i < 6; ++i) PutLE(out, i == 1 ? static_cast<std::uint32_t>(rowBytes * heightPx) : 0, 4);
  const int frameWidth = widthPx / frames;
  for (int y = 0; y < heightPx; ++y) {
    for (int x = 0; x < widthPx; ++x) {
      const int fx = x % frameWidth;
      const int state = x / frameWidth;
      std::uint8_t b, g, r;
      if ((fx < 2 || fx >= frameWidth - 2) && (y < 2 || y >= heightPx - 2)) {
        b = 255, g = 0, r = 255;
      } else if (fx == 0 || y == 0 || fx == frameWidth - 1 || y == heightPx - 1) {
        b = 0x20, g = 0x18, r = 0x5A;
      } else if (fx == 1 || y == 1) {
        b = 0x40, g = 0xB8, r = 0xD8;
      } else {
        b = static_cast<std::uint8_t>(0xC8 + y * 24 / heightPx - state * 6);
        g = static_cast<std::uint8_t>(0xE8 + y * 16 / heightPx - state * 4);
        r = static_cast<std::uint8_t>(0xF0 - ((seed + static_cast<std::uint32_t>(x)) & 1));
      }
      out.push_back(b);
      out.push_back(g);
      out.push_back(r);
    }
    for (int pad = widthPx * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

Bytes SkinContainer() {
  std::vector<TSkinEntry> entries;
  std::string ini = "[TitlebarSkin]\r\nSkinName=Bench\r\n";
  for (int i = 0; i < 50; ++i) {
    const std::string name = "element" + std::to_string(i) + ".bmp";
    const int frames = 1 + i % 4;
    entries.push_back({name, SkinBitmap(frames * (16 + (i * 7) % 60), 12 + (i * 5) % 40, frames, i)});
    ini += "[Element" + std::to_string(i) + "]\r\nImage=" + name + "\r\nLeftWidth=" + std::to_string(i % 9) +
           "\r\nTopHeight=4\r\nTrans=1\r\nTile=0\r\n\r\n";
  }
  entries.insert(entries.begin(), {"skin.ini", Bytes(ini.begin(), ini.end())});
  return bw::skin::BuildSkinContainer(entries);
}

Bytes Text4MiB() {
  static const char* const kWords[] = {"the ", "picture ", "sound ", "file ", "is ", "written ", "into ",
                                       "a ", "folder ", "named ", "after ", "it", ".\r\n", "Slide ", "42 "};
  Bytes out;
  std::uint32_t state = 12345;
  while (out.size() < 4u << 20) {
    state = state * 1664525u + 1013904223u;
    for (const char* w = kWords[(state >> 24) % 15]; *w != '\0'; ++w) out.push_back(static_cast<std::uint8_t>(*w));
  }
  out.resize(4u << 20);
  return out;
}

const Bytes& Input(int which) {
  static const Bytes skin = SkinContainer();
  static const Bytes text = Text4MiB();
  return which == 0 ? skin : text;
}

void Label(benchmark::State& state, const Bytes& plain, std::size_t packedBytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plain.size()));
  state.counters["ratio%"] = 100.0 * static_cast<double>(packedBytes) / static_cast<double>(plain.size());
  state.SetLabel((state.range(0) == 0 ? "skin container, " : "text, ") + std::to_string(plain.size() / 1024) + " KiB");
}

void LzhPack(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  Bytes packed;
  for (auto _ : state) {
    packed = bw::skin::PackFramedBytes(plain);
    benchmark::DoNotOptimize(packed.data());
  }
  Label(state, plain, packed.size());
}

void LzhUnpack(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  const Bytes packed = bw::skin::PackFramedBytes(plain);
  Bytes out;
  for (auto _ : state) {
    if (!bw::skin::UnpackFramedBytes(packed, out).Ok() || out.size() != plain.size()) state.SkipWithError("bad");
    benchmark::DoNotOptimize(out.data());
  }
  Label(state, plain, packed.size());
}

void ZlibDeflate(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  Bytes packed(compressBound(plain.size()));
  uLongf packedBytes = 0;
  for (auto _ : state) {
    packedBytes = packed.size();
    if (compress2(packed.data(), &packedBytes, plain.data(), plain.size(), Z_DEFAULT_COMPRESSION) != Z_OK) {
      state.SkipWithError("deflate failed");
    }
    benchmark::DoNotOptimize(packed.data());
  }
  Label(state, plain, packedBytes);
}

void ZlibInflate(benchmark::State& state) {
  const Bytes& plain = Input(static_cast<int>(state.range(0)));
  Bytes packed(compressBound(plain.size()));
  uLongf packedBytes = packed.size();
  compress2(packed.data(), &packedBytes, plain.data(), plain.size(), Z_DEFAULT_COMPRESSION);
  Bytes out(plain.size());
  for (auto _ : state) {
    uLongf outBytes = out.size();
    if (uncompress(out.data(), &outBytes, packed.data(), packedBytes) != Z_OK) state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  Label(state, plain, packedBytes);
}

BENCHMARK(LzhPack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ZlibDeflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LzhUnpack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
