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

}  // namespace
}  // namespace bw::extract
