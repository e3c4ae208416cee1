#include "extract/SignatureSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define BW_HAVE_AVX2_SEARCH 1
#include <immintrin.h>
#endif

namespace bw::extract {
namespace {

constexpr std::uint32_t Word(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  return std::uint32_t{a} | std::uint32_t{b} << 8 | std::uint32_t{c} << 16 | std::uint32_t{d} << 24;
}

constexpr std::uint32_t kJpegWord = Word(0xFF, 0xD8, 0xFF, 0xE0);
constexpr std::uint32_t kPngWord = Word(0x89, 0x50, 0x4E, 0x47);
constexpr std::uint32_t kDibWord = Word(0x80, 0x7A, 0x1F, 0xF0);
constexpr std::uint32_t kRiffWord = Word(0x52, 0x49, 0x46, 0x46);

std::size_t FindScalar(const std::uint8_t* data, std::size_t from, std::size_t lengthBytes) {
  for (std::size_t i = from; i + 4 <= lengthBytes; ++i) {
    if (SignatureOf(data + i) != TSignature::None) return i;
  }
  return lengthBytes;
}

}  // namespace

TSignature SignatureOf(const std::uint8_t* window) {
  const std::uint32_t word = Word(window[0], window[1], window[2], window[3]);
  switch (word) {
    case kJpegWord: return TSignature::Jpeg;
    case kPngWord: return TSignature::Png;
    case kDibWord: return TSignature::Dib;
    case kRiffWord: return TSignature::Riff;
    default: return TSignature::None;
  }
}

#ifdef BW_HAVE_AVX2_SEARCH
namespace {

__attribute__((target("avx2"))) inline __m256i PairHitsAvx2(const std::uint8_t* p) {
  const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
  auto pair = [&](char first, char second) __attribute__((target("avx2"))) {
    return _mm256_and_si256(_mm256_cmpeq_epi8(a, _mm256_set1_epi8(first)),
                            _mm256_cmpeq_epi8(b, _mm256_set1_epi8(second)));
  };
  return _mm256_or_si256(_mm256_or_si256(pair(static_cast<char>(0xFF), static_cast<char>(0xD8)),
                                         pair(static_cast<char>(0x89), 0x50)),
                         _mm256_or_si256(pair(static_cast<char>(0x80), 0x7A), pair(0x52, 0x49)));
}

// The same filter as below, 64 windows per step, for processors that have AVX2.
__attribute__((target("avx2"))) std::size_t FindAvx2(const std::uint8_t* data, std::size_t lengthBytes) {
  std::size_t i = 0;
  while (i + 65 <= lengthBytes) {
    const __m256i low = PairHitsAvx2(data + i);
    const __m256i high = PairHitsAvx2(data + i + 32);
    if (_mm256_testz_si256(_mm256_or_si256(low, high), _mm256_or_si256(low, high)) == 0) {
      std::uint64_t mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
                           std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32;
      while (mask != 0) {
        const std::size_t at = i + static_cast<std::size_t>(__builtin_ctzll(mask));
        if (at + 4 <= lengthBytes && SignatureOf(data + at) != TSignature::None) return at;
        mask &= mask - 1;
      }
    }
    i += 64;
  }
  return i;  // the caller goes on from here
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace
#endif

std::size_t FindSignature(const std::uint8_t* data, std::size_t lengthBytes) {
  std::size_t i = 0;
#ifdef BW_HAVE_AVX2_SEARCH
  if (HasAvx2()) {
    i = FindAvx2(data, lengthBytes);
    if (i + 4 <= lengthBytes && SignatureOf(data + i) != TSignature::None) return i;
  }
#endif
#if defined(__SSE2__)
  // Filter on the first two bytes of each signature, 32 windows per step; the rare
  // survivors are checked in full.
  const __m128i ff = _mm_set1_epi8(static_cast<char>(0xFF)), d8 = _mm_set1_epi8(static_cast<char>(0xD8));
  const __m128i x89 = _mm_set1_epi8(static_cast<char>(0x89)), x50 = _mm_set1_epi8(0x50);
  const __m128i x80 = _mm_set1_epi8(static_cast<char>(0x80)), x7a = _mm_set1_epi8(0x7A);
  const __m128i x52 = _mm_set1_epi8(0x52), x49 = _mm_set1_epi8(0x49);
  auto pairs = [&](const std::uint8_t* p) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i hit = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(a, ff), _mm_cmpeq_epi8(b, d8)),
                     _mm_and_si128(_mm_cmpeq_epi8(a, x89), _mm_cmpeq_epi8(b, x50))),
        _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(a, x80), _mm_cmpeq_epi8(b, x7a)),
                     _mm_and_si128(_mm_cmpeq_epi8(a, x52), _mm_cmpeq_epi8(b, x49))));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
  };
  // Loads reach i + 32; windows must end by lengthBytes.
  while (i + 33 <= lengthBytes) {
    std::uint32_t mask = pairs(data + i) | pairs(data + i + 16) << 16;
    while (mask != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
      if (at + 4 <= lengthBytes && SignatureOf(data + at) != TSignature::None) return at;
      mask &= mask - 1;
    }
    i += 32;
  }
#endif
  return FindScalar(data, i, lengthBytes);
}

}  // namespace bw::extract
