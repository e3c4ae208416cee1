#include "skin/data/WinConvert.h"

#include <gtest/gtest.h>

#include <functional>

#include <cstdint>
#include <string>
#include <vector>

namespace bw::skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Deterministic word soup: compressible like a skin description, long enough to
// drive the Huffman model through several rebuilds.
Bytes SampleText(std::size_t sizeBytes, std::uint32_t seed) {
  static const char* const kWords[] = {"Left", "=", "border", ".bmp", "\r\n", "[Button", "]", "Trans", "1",
                                       "Colour", "0x", "FF00FF", " ", "TopHeight", "Image", "Frame"};
  Bytes out;
  std::uint32_t state = seed;
  while (out.size() < sizeBytes) {
    state = state * 1664525u + 1013904223u;
    const char* word = kWords[(state >> 24) % 16];
    while (*word != '\0' && out.size() < sizeBytes) out.push_back(static_cast<std::uint8_t>(*word++));
    if ((state & 0x70000) == 0 && out.size() < sizeBytes) out.push_back(static_cast<std::uint8_t>(state >> 8));
  }
  return out;
}

Bytes Noise(std::size_t sizeBytes, std::uint32_t seed) {
  Bytes out(sizeBytes);
  std::uint32_t state = seed;
  for (auto& b : out) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    b = static_cast<std::uint8_t>(state);
  }
  return out;
}

std::uint64_t Fnv1a(const Bytes& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
  return hash;
}

// Empty string when equal; otherwise where they first differ.
std::string FirstMismatch(const Bytes& expected, const Bytes& actual) {
  const std::size_t common = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (expected[i] != actual[i]) return "first mismatch at offset " + std::to_string(i);
  }
  if (expected.size() != actual.size()) {
    return "sizes differ: " + std::to_string(expected.size()) + " vs " + std::to_string(actual.size());
  }
  return {};
}

void ExpectRoundTrip(const Bytes& plain, const std::string& what) {
  const Bytes packed = PackFramedBytes(plain);
  Bytes unpacked;
  const TUnpackResult result = UnpackFramedBytes(packed, unpacked);
  ASSERT_TRUE(result.Ok()) << what << ": " << result.reason;
  EXPECT_EQ(result.statedBytes, static_cast<std::int32_t>(plain.size())) << what;
  EXPECT_EQ(FirstMismatch(plain, unpacked), "") << what;
}

TEST(LzhCodec, SmallInputsPackToHandDerivedBytes) {
  // Worked out from the initial Huffman tree: literal 0 (the untouched window byte an
  // empty input codes) is 110001100, 'A' 111001101, 'a' 111101101; after 'a' the
  // 60-byte match symbol takes over its code, and a run ends with a 39-byte match
  // (10110000) at distance 0 (000 000000).
  struct Case {
    const char* name;
    Bytes plain;
    Bytes packed;
  };
  const Case cases[] = {
      {"empty", {}, {0x00, 0x00, 0x00, 0x00, 0xC6, 0x00}},
      {"one byte", FromText("A"), {0x01, 0x00, 0x00, 0x00, 0xE6, 0x80}},
      {"three literals", FromText("abc"), {0x03, 0x00, 0x00, 0x00, 0xF6, 0xFB, 0xBD, 0xE0}},
      {"run of 100", Bytes(100, 'a'), {0x64, 0x00, 0x00, 0x00, 0xF6, 0xFB, 0x40, 0x16, 0x00, 0x00}},
  };
  for (const Case& c : cases) EXPECT_EQ(PackFramedBytes(c.plain), c.packed) << c.name;
}

TEST(LzhCodec, LongerInputsKeepTheirPinnedPackedForm) {
  // Guards the packer's match choices and model updates against silent change.
  struct Case {
    const char* name;
    Bytes plain;
    std::size_t packedBytes;
    std::uint64_t hash;
  };
  const Case cases[] = {
      {"text, one model rebuild", SampleText(300000, 7), 82984, 0xa1a1cbde434f2a8cull},
      {"noise, three model rebuilds", Noise(70000, 3), 70158, 0x1fcc83c1cce0af6eull},
      {"run of 5000", Bytes(5000, 'x'), 138, 0xbe15badfa7d867b3ull},
  };
  for (const Case& c : cases) {
    const Bytes packed = PackFramedBytes(c.plain);
    EXPECT_EQ(packed.size(), c.packedBytes) << c.name;
    EXPECT_EQ(Fnv1a(packed), c.hash) << c.name << std::hex << " hash 0x" << Fnv1a(packed);
  }
}

TEST(LzhCodec, RoundTripsEveryKindOfInput) {
  ExpectRoundTrip({}, "empty");
  ExpectRoundTrip({0x00}, "one zero byte");
  ExpectRoundTrip({0xFF}, "one 0xFF byte");
  ExpectRoundTrip(Bytes(70000, 0x20), "long run of the window's fill byte");
  ExpectRoundTrip(Bytes(10000, 0xAB), "long run");
  Bytes allValues;
  for (int i = 0; i < 3 * 256; ++i) allValues.push_back(static_cast<std::uint8_t>(i));
  ExpectRoundTrip(allValues, "every byte value");
  ExpectRoundTrip(SampleText(300000, 11), "text through many rebuilds");
  ExpectRoundTrip(Noise(100000, 5), "noise through five rebuilds");
  // Repeats just inside and just beyond the 4 KiB window.
  for (std::size_t period : {4095u, 4096u, 4097u}) {
    Bytes block = Noise(period, static_cast<std::uint32_t>(period));
    Bytes repeated;
    for (int i = 0; i < 4; ++i) repeated.insert(repeated.end(), block.begin(), block.end());
    ExpectRoundTrip(repeated, "period " + std::to_string(period));
  }
}

TEST(LzhCodec, LongRunsPackIntoAFewBytes) {
  // One literal, then matches of 60 at distance 0: a dozen bits per 60 bytes.
  const Bytes packed = PackFramedBytes(Bytes(8192, 'z'));
  EXPECT_LT(packed.size(), 8192u / 30);
}

TEST(LzhCodec, PackReportsInputConsumedAndOutputWritten) {
  const Bytes plain = SampleText(20000, 1);
  TMemoryStream source(plain);
  TMemoryStream dest;
  TLZH lzh;
  lzh.SetStreams(&source, &dest);
  std::int32_t bytes = -1;
  lzh.LZHPack(bytes, lzh.BlockReader(), lzh.BlockWriter());
  EXPECT_EQ(bytes, 20000);
  EXPECT_EQ(lzh.CodeSize(), dest.Size());
}

TEST(LzhCodec, PackStopsReadingAtTheFirstEmptyAnswer) {
  const Bytes first = FromText("first part, ");
  const Bytes later = FromText("data offered after the end");
  std::size_t calls = 0;
  std::size_t pos = 0;
  TReadProc reader = [&](std::uint8_t* buffer, std::uint16_t, std::uint16_t& actual) {
    ++calls;
    actual = 0;
    if (pos < first.size()) {
      *buffer = first[pos++];
      actual = 1;
    } else if (pos == first.size()) {
      ++pos;  // one empty answer, then more data
    } else if (pos - first.size() - 1 < later.size()) {
      *buffer = later[pos - first.size() - 1];
      ++pos;
      actual = 1;
    }
  };
  Bytes packed;
  TWriteProc writer = [&](const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
    packed.insert(packed.end(), buffer, buffer + count);
    actual = count;
  };
  TLZH lzh;
  std::int32_t bytes = 0;
  lzh.LZHPack(bytes, reader, writer);
  EXPECT_EQ(bytes, static_cast<std::int32_t>(first.size()));
  EXPECT_EQ(calls, first.size() + 1);

  Bytes framed = {static_cast<std::uint8_t>(bytes), 0, 0, 0};
  framed.insert(framed.end(), packed.begin(), packed.end());
  Bytes unpacked;
  ASSERT_TRUE(UnpackFramedBytes(framed, unpacked).Ok());
  EXPECT_EQ(unpacked, first);
}

TEST(LzhCodec, DecodesMatchChoicesThePackerWouldNotMake) {
  // A 3-byte match (10001100) at distance 5 (000 000101) reaches into the window's
  // initial spaces; this packer would pick distance 0.
  const Bytes stream = {0x03, 0x00, 0x00, 0x00, 0x8C, 0x02, 0x80};
  Bytes unpacked;
  ASSERT_TRUE(UnpackFramedBytes(stream, unpacked).Ok());
  EXPECT_EQ(unpacked, FromText("   "));
}

TEST(LzhCodec, DamagedStreamsGiveTheStatedSizeOrAreRefused) {
  // A last match longer than what is left is cut at the stated size.
  Bytes overrun = {0x01, 0x00, 0x00, 0x00, 0x8C, 0x02, 0x80};
  Bytes unpacked;
  ASSERT_TRUE(UnpackFramedBytes(overrun, unpacked).Ok());
  EXPECT_EQ(unpacked, FromText(" "));

  // Missing input is no zero bits: a stream cut anywhere is refused, and gives nothing.
  const Bytes plain = SampleText(3000, 9);
  const Bytes whole = PackFramedBytes(plain);
  // (Cuts to under 1/48 of the size are refused by the size check before decoding.)
  for (std::size_t keep = 4 + plain.size() / 48 + 1; keep < whole.size(); keep += keep < 100 ? 1 : 53) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
    const TUnpackResult result = UnpackFramedBytes(cut, unpacked);
    EXPECT_EQ(result.status, TUnpackStatus::Truncated) << keep << " of " << whole.size();
    EXPECT_NE(result.reason.find("stream ended"), std::string::npos) << result.reason;
    EXPECT_TRUE(unpacked.empty());
  }
  // The packer's last byte is needed too.
  EXPECT_FALSE(UnpackFramedBytes(Bytes(whole.begin(), whole.end() - 1), unpacked).Ok());
  ASSERT_TRUE(UnpackFramedBytes(whole, unpacked).Ok());
  EXPECT_EQ(unpacked, plain);

  for (std::size_t at = 4; at < whole.size(); at += 37) {
    Bytes damaged = whole;
    damaged[at] ^= 0x5A;
    if (UnpackFramedBytes(damaged, unpacked).Ok()) {
      EXPECT_EQ(unpacked.size(), plain.size()) << at;
    } else {
      EXPECT_TRUE(unpacked.empty()) << at;
    }
  }
}

TEST(LzhCodec, FramedSizesThatCannotBeRightAreRefused) {
  struct Case {
    const char* name;
    Bytes stream;
    TUnpackStatus status;
  };
  const Case cases[] = {
      {"no size field", {0x05, 0x00}, TUnpackStatus::Truncated},
      {"empty", {}, TUnpackStatus::Truncated},
      {"negative size", {0xFF, 0xFF, 0xFF, 0xFF, 0x00}, TUnpackStatus::Corrupt},
      {"size beyond what 2 bytes encode", {0x61, 0x00, 0x00, 0x00, 0x12, 0x34}, TUnpackStatus::Corrupt},
      {"size but no stream", {0x01, 0x00, 0x00, 0x00}, TUnpackStatus::Corrupt},
      {"size above the cap", {0xFF, 0xFF, 0xFF, 0x7F, 0x00}, TUnpackStatus::TooLarge},
  };
  for (const Case& c : cases) {
    Bytes unpacked;
    const TUnpackResult result = UnpackFramedBytes(c.stream, unpacked);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_FALSE(result.reason.empty()) << c.name;
    EXPECT_TRUE(unpacked.empty()) << c.name;
  }
  // The largest size two stream bytes could hold passes the size check; these two bytes
  // then run out before it.
  Bytes unpacked;
  EXPECT_EQ(UnpackFramedBytes({0x60, 0x00, 0x00, 0x00, 0x12, 0x34}, unpacked).status, TUnpackStatus::Truncated);
}

class TRefusingStream : public TMemoryStream {
 public:
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
};

// What the application's error display shows: a framework exception's Message().
std::string DisplayedText(const std::function<void()>& action) {
  try {
    action();
  } catch (const core::Exception& e) {
    return e.Message();
  } catch (...) {
    return "(not a framework exception)";
  }
  return "(nothing thrown)";
}

TEST(LzhCodec, ShortWritesRaiseTheFrameworksWriteErrorWithItsText) {
  TMemoryStream packed(PackFramedBytes(FromText("some text")));
  TRefusingStream full;
  EXPECT_THROW(UnpackFramed(packed, full), core::EWriteError);
  TMemoryStream plain(FromText("some text"));
  TRefusingStream fullToo;
  EXPECT_THROW(PackFramed(plain, fullToo), core::EWriteError);
  EXPECT_EQ(DisplayedText([&] { PackFramed(plain, fullToo); }), "Stream write error");
  EXPECT_EQ(DisplayedText([] { throw ElzhException("LZH : Cannot get memory for dictionary tables"); }),
            "LZH : Cannot get memory for dictionary tables");
}

}  // namespace
}  // namespace bw::skin
