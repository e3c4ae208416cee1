#include "extract/SignatureSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace bw::extract {
namespace {

TEST(SignatureSearch, FindsEachSignatureAtEveryOffsetAndLength) {
  const std::vector<std::vector<std::uint8_t>> signatures = {
      {0xFF, 0xD8, 0xFF, 0xE0}, {0x89, 0x50, 0x4E, 0x47}, {0x80, 0x7A, 0x1F, 0xF0}, {0x52, 0x49, 0x46, 0x46}};
  // Near misses everywhere else: the first two bytes of a signature without the rest.
  for (const auto& signature : signatures) {
    for (std::size_t length = 4; length < 90; ++length) {
      for (std::size_t at = 0; at + 4 <= length; ++at) {
        std::vector<std::uint8_t> data(length);
        for (std::size_t i = 0; i < length; ++i) data[i] = i % 3 == 0 ? 0xFF : (i % 3 == 1 ? 0xD8 : 0x52);
        std::copy(signature.begin(), signature.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
        ASSERT_EQ(FindSignature(data.data(), length), at) << "length " << length;
      }
    }
  }
}

TEST(SignatureSearch, AgreesWithTheWindowTestOnRandomData) {
  std::mt19937 random(3);
  std::vector<std::uint8_t> data(1 << 16);
  // Few distinct bytes, so partial and full signatures are common.
  const std::uint8_t alphabet[] = {0xFF, 0xD8, 0xE0, 0x89, 0x50, 0x4E, 0x47, 0x52, 0x49, 0x46};
  for (auto& b : data) b = alphabet[random() % sizeof alphabet];
  std::size_t from = 0;
  int hits = 0;
  while (from + 4 <= data.size()) {
    const std::size_t found = FindSignature(data.data() + from, data.size() - from);
    std::size_t expected = data.size() - from;
    for (std::size_t i = from; i + 4 <= data.size(); ++i) {
      if (SignatureOf(data.data() + i) != TSignature::None) {
        expected = i - from;
        break;
      }
    }
    ASSERT_EQ(found, expected);
    if (found == data.size() - from) break;
    ++hits;
    from += found + 1;
  }
  EXPECT_GT(hits, 10);
  EXPECT_EQ(FindSignature(data.data(), 3), 3u);
}

// Long enough for the widest filter at every alignment, with bytes that share a low nibble
// with a signature byte (the filter's lookup key) as near misses.
TEST(SignatureSearch, WideFiltersAgreeWithTheWindowTestAtEveryAlignment) {
  const std::uint8_t alphabet[] = {0xFF, 0xD8, 0xE0, 0x89, 0x50, 0x4E, 0x47, 0x80, 0x7A, 0x1F, 0xF0, 0x52,
                                   0x49, 0x46, 0x7F, 0x0F, 0x19, 0x09, 0x00, 0x22, 0x58, 0x60, 0x0A, 0x39};
  std::mt19937 random(5);
  std::vector<std::uint8_t> data(4096 + 64);
  for (auto& b : data) b = alphabet[random() % sizeof alphabet];
  const std::uint32_t words[] = {0xE0FFD8FF, 0x474E5089, 0xF01F7A80, 0x46464952};
  for (int planted = 0; planted < 24; ++planted) {
    const std::uint32_t word = words[random() % 4];
    const std::size_t at = random() % (data.size() - 4);
    for (int k = 0; k < 4; ++k) data[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(word >> (8 * k));
  }
  int hits = 0;
  for (std::size_t offset = 0; offset < 64; ++offset) {
    const std::uint8_t* base = data.data() + offset;
    const std::size_t lengthBytes = data.size() - 64 + (offset % 7);
    std::size_t from = 0;
    while (from + 4 <= lengthBytes) {
      std::size_t expected = lengthBytes - from;
      for (std::size_t i = from; i + 4 <= lengthBytes; ++i) {
        if (SignatureOf(base + i) != TSignature::None) {
          expected = i - from;
          break;
        }
      }
      ASSERT_EQ(FindSignature(base + from, lengthBytes - from), expected) << "offset " << offset << " from " << from;
      hits += from + expected + 4 <= lengthBytes ? 1 : 0;
      from += expected + 1;
    }
  }
  EXPECT_GT(hits, 64 * 10);
}

TEST(SignatureSearch, FindsALoneSignatureAnywhereInALongStretch) {
  const std::uint8_t signatures[][4] = {
      {0xFF, 0xD8, 0xFF, 0xE0}, {0x89, 0x50, 0x4E, 0x47}, {0x80, 0x7A, 0x1F, 0xF0}, {0x52, 0x49, 0x46, 0x46}};
  for (const auto& signature : signatures) {
    for (std::size_t length : {std::size_t{129}, std::size_t{200}, std::size_t{300}}) {
      for (std::size_t at = 0; at + 4 <= length; ++at) {
        // Each first byte followed by a wrong second byte, elsewhere.
        std::vector<std::uint8_t> data(length);
        for (std::size_t i = 0; i < length; ++i) data[i] = signatures[i % 4][(i / 4) % 2 == 0 ? 0 : 2];
        std::copy(signature, signature + 4, data.begin() + static_cast<std::ptrdiff_t>(at));
        std::size_t expected = length;
        for (std::size_t i = 0; i + 4 <= length; ++i) {
          if (SignatureOf(data.data() + i) != TSignature::None) {
            expected = i;
            break;
          }
        }
        ASSERT_EQ(expected, at);
        ASSERT_EQ(FindSignature(data.data(), length), at) << "length " << length;
      }
    }
  }
}

}  // namespace
}  // namespace bw::extract
