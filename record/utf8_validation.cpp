#include "record/utf8_validation.h"

#include <cstdint>
#include <cstring>

#include "record/cpu_features.h"
#include "record/text.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace xuanshu {

// The well-formed sequences of the Unicode standard (no overlongs, no
// surrogates, nothing past U+10FFFF), checked by the ranges of their bytes;
// runs of ASCII are skipped eight bytes at a time.
bool IsValidUtf8Scalar(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = p + bytes.size();
  const auto continues = [](unsigned char b) { return (b & 0xC0) == 0x80; };
  while (p < end) {
    if (end - p >= 8) {
      std::uint64_t eight = 0;
      std::memcpy(&eight, p, 8);
      if ((eight & 0x8080808080808080u) == 0) {
        p += 8;
        continue;
      }
    }
    const unsigned char b0 = *p;
    if (b0 < 0x80) {
      ++p;
      continue;
    }
    const std::ptrdiff_t left = end - p;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      if (left < 2 || !continues(p[1])) return false;
      p += 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      if (left < 3 || !continues(p[1]) || !continues(p[2])) return false;
      if ((b0 == 0xE0 && p[1] < 0xA0) || (b0 == 0xED && p[1] > 0x9F)) return false;
      p += 3;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      if (left < 4 || !continues(p[1]) || !continues(p[2]) || !continues(p[3])) return false;
      if ((b0 == 0xF0 && p[1] < 0x90) || (b0 == 0xF4 && p[1] > 0x8F)) return false;
      p += 4;
    } else {
      return false;
    }
  }
  return true;
}

#if defined(__x86_64__)
namespace {

// What can be wrong with a pair of neighbouring bytes, one bit each. Three
// table lookups (the first byte's high and low nibble, the second byte's
// high nibble) each give the faults their nibble allows; a fault is present
// when all three allow it.
constexpr char kTooShort = 1 << 0;      // lead or ASCII, then lead or ASCII ...
constexpr char kTooLong = 1 << 1;       // ASCII, then continuation
constexpr char kOverlong3 = 1 << 2;     // E0, then 80..9F
constexpr char kTooLarge = 1 << 3;      // F4..FF, then 90..BF
constexpr char kSurrogate = 1 << 4;     // ED, then A0..BF
constexpr char kOverlong2 = 1 << 5;     // C0 or C1, then continuation
constexpr char kTooLarge1000 = 1 << 6;  // F5..FF, then 80..8F
constexpr char kOverlong4 = 1 << 6;     // F0, then 80..8F
constexpr char kTwoContinuations = static_cast<char>(1 << 7);
// ... except that a lead needs continuations: kTooShort and these hold for
// any low nibble of the first byte.
constexpr char kCarry = kTooShort | kTooLong | kTwoContinuations;

__attribute__((target("ssse3"))) __m128i HighNibbles(__m128i bytes) {
  return _mm_and_si128(_mm_srli_epi16(bytes, 4), _mm_set1_epi8(0x0F));
}

// The faults of each byte of `input` with the bytes before it, the last
// sixteen of which are `previous`; nonzero bytes mark faults.
__attribute__((target("ssse3"))) __m128i BlockFaults(__m128i input, __m128i previous) {
  const __m128i firstHigh =
      _mm_setr_epi8(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                    kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations,
                    kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4);
  const char large = kCarry | kTooLarge | kTooLarge1000;
  const __m128i firstLow =
      _mm_setr_epi8(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry,
                    kCarry, kCarry | kTooLarge, large, large, large, large, large, large, large,
                    large, large | kSurrogate, large, large);
  const char continuation = kTooLong | kOverlong2 | kTwoContinuations;
  const __m128i secondHigh = _mm_setr_epi8(
      kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
      continuation | kOverlong3 | kTooLarge1000 | kOverlong4, continuation | kOverlong3 | kTooLarge,
      continuation | kSurrogate | kTooLarge, continuation | kSurrogate | kTooLarge, kTooShort,
      kTooShort, kTooShort, kTooShort);
  const __m128i before1 = _mm_alignr_epi8(input, previous, 15);
  const __m128i pairFaults = _mm_and_si128(
      _mm_and_si128(_mm_shuffle_epi8(firstHigh, HighNibbles(before1)),
                    _mm_shuffle_epi8(firstLow, _mm_and_si128(before1, _mm_set1_epi8(0x0F)))),
      _mm_shuffle_epi8(secondHigh, HighNibbles(input)));
  // A byte two after a three- or four-byte lead, or three after a four-byte
  // lead, must be a continuation: then, and only then, the pair shows two
  // continuations.
  const __m128i before2 = _mm_alignr_epi8(input, previous, 14);
  const __m128i before3 = _mm_alignr_epi8(input, previous, 13);
  const __m128i thirdOrFourth =
      _mm_or_si128(_mm_subs_epu8(before2, _mm_set1_epi8(static_cast<char>(0xE0 - 0x80))),
                   _mm_subs_epu8(before3, _mm_set1_epi8(static_cast<char>(0xF0 - 0x80))));
  const __m128i mustContinue = _mm_and_si128(thirdOrFourth, _mm_set1_epi8(static_cast<char>(0x80)));
  return _mm_xor_si128(mustContinue, pairFaults);
}

}  // namespace

// The last block is padded with ASCII zeros, so a sequence cut at the end
// shows as a lead followed by ASCII.
__attribute__((target("ssse3"))) bool IsValidUtf8Ssse3(std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  __m128i previous = _mm_setzero_si128();
  __m128i faults = _mm_setzero_si128();
  for (; end - p >= 16; p += 16) {
    const __m128i input = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    faults = _mm_or_si128(faults, BlockFaults(input, previous));
    previous = input;
  }
  alignas(16) char last[16] = {};
  if (end > p) std::memcpy(last, p, static_cast<std::size_t>(end - p));
  faults =
      _mm_or_si128(faults, BlockFaults(_mm_load_si128(reinterpret_cast<__m128i*>(last)), previous));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(faults, _mm_setzero_si128())) == 0xFFFF;
}
#endif

bool IsValidUtf8(std::string_view bytes) {
#if defined(__x86_64__)
  if (HasSsse3()) return IsValidUtf8Ssse3(bytes);
#endif
  return IsValidUtf8Scalar(bytes);
}

}  // namespace xuanshu
