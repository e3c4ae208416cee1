#include "extract/SignatureSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

std::size_t FindSignature(const std::uint8_t* data, std::size_t lengthBytes) {
  std::size_t i = 0;
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
