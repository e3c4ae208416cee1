#include "extract/SignatureSearch.h"

#include <cstring>
#include <initializer_list>

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

// The four first bytes differ in their low nibble (F, 9, 0, 2), so a lookup by that nibble
// gives the only first byte, and the only second byte, a signature there could have:
// an exact two-byte filter at less than half the work of comparing against each pair.
struct TNibbleTables {
  alignas(64) std::uint8_t First[64];  // the 16 entries once per 16-byte lane
  alignas(64) std::uint8_t Second[64];
};

constexpr TNibbleTables MakeNibbleTables() {
  TNibbleTables tables{};
  const std::uint32_t words[] = {kJpegWord, kPngWord, kDibWord, kRiffWord};
  for (int lane = 0; lane < 64; ++lane) {
    // A byte whose low nibble is not the index never equals a byte looked up by it.
    tables.First[lane] = static_cast<std::uint8_t>((lane & 15) ^ 1);
    tables.Second[lane] = 0;
  }
  for (const std::uint32_t word : words) {
    const int nibble = static_cast<int>(word & 15);
    for (int lane = nibble; lane < 64; lane += 16) {
      tables.First[lane] = static_cast<std::uint8_t>(word);
      tables.Second[lane] = static_cast<std::uint8_t>(word >> 8);
    }
  }
  return tables;
}
constexpr TNibbleTables kNibbleTables = MakeNibbleTables();
static_assert(((kJpegWord ^ kPngWord) & 15) && ((kJpegWord ^ kDibWord) & 15) && ((kJpegWord ^ kRiffWord) & 15) &&
                  ((kPngWord ^ kDibWord) & 15) && ((kPngWord ^ kRiffWord) & 15) && ((kDibWord ^ kRiffWord) & 15),
              "the nibble filter needs first bytes with distinct low nibbles");

__attribute__((target("avx2"))) inline __m256i PairHitsAvx2(const std::uint8_t* p) {
  const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
  const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kNibbleTables.First));
  const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kNibbleTables.Second));
  const __m256i nibble = _mm256_and_si256(a, _mm256_set1_epi8(0x0F));
  return _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_shuffle_epi8(first, nibble), a),
                          _mm256_cmpeq_epi8(_mm256_shuffle_epi8(second, nibble), b));
}

// The nibble lookup, 64 windows per step, for processors that have AVX2.
__attribute__((target("avx2"))) std::size_t FindAvx2(const std::uint8_t* data, std::size_t from,
                                                     std::size_t lengthBytes) {
  std::size_t i = from;
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

__attribute__((target("avx512bw"))) inline __mmask64 PairHitsAvx512(const std::uint8_t* p) {
  // Vectors stay out of the parameters: the win64 calling convention would pass them in memory.
  const __m512i first = _mm512_loadu_si512(kNibbleTables.First);
  const __m512i second = _mm512_loadu_si512(kNibbleTables.Second);
  const __m512i a = _mm512_loadu_si512(p);
  const __m512i b = _mm512_loadu_si512(p + 1);
  const __m512i nibble = _mm512_and_si512(a, _mm512_set1_epi8(0x0F));
  return _mm512_mask_cmpeq_epi8_mask(_mm512_cmpeq_epi8_mask(_mm512_shuffle_epi8(first, nibble), a),
                                     _mm512_shuffle_epi8(second, nibble), b);
}

// The same lookup, 128 windows per step, where byte operations on 64-byte vectors exist.
__attribute__((target("avx512bw"))) std::size_t FindAvx512(const std::uint8_t* data, std::size_t lengthBytes) {
  std::size_t i = 0;
  while (i + 129 <= lengthBytes) {
    const __mmask64 low = PairHitsAvx512(data + i);
    const __mmask64 high = PairHitsAvx512(data + i + 64);
    if ((low | high) != 0) {
      for (std::uint64_t mask : {std::uint64_t{low}, std::uint64_t{high}}) {
        while (mask != 0) {
          const std::size_t at = i + static_cast<std::size_t>(__builtin_ctzll(mask));
          if (at + 4 <= lengthBytes && SignatureOf(data + at) != TSignature::None) return at;
          mask &= mask - 1;
        }
        i += 64;
      }
    } else {
      i += 128;
    }
  }
  return i;  // the caller goes on from here
}

bool HasAvx512() {
  static const bool has = __builtin_cpu_supports("avx512bw");
  return has;
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
  if (HasAvx512()) {
    i = FindAvx512(data, lengthBytes);
    if (i + 4 <= lengthBytes && SignatureOf(data + i) != TSignature::None) return i;
  }
  if (HasAvx2()) {
    i = FindAvx2(data, i, lengthBytes);
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
