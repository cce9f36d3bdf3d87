#include "record/utf8_encode_x86.h"

#if defined(__x86_64__)

#include <tmmintrin.h>

#include <array>
#include <cstdint>

#include "record/utf8_encode.h"

namespace xuanshu {
namespace {

// A block is eight units. Each half of four units is widened to four bytes
// a unit, [lead, second, third, 0], and the bytes the unit needs are picked
// out by a shuffle row chosen by the half's mask: bit i when unit i is at
// least U+0080, bit 4 + i when it is at least U+0800.
constexpr std::size_t kBlockUnits = 8;

struct ShuffleTable {
  alignas(16) std::array<std::array<std::uint8_t, 16>, 256> rows{};
  std::array<std::uint8_t, 256> lengths{};
};

constexpr ShuffleTable MakeShuffleTable() {
  ShuffleTable table;
  for (unsigned mask = 0; mask < 256; ++mask) {
    std::array<std::uint8_t, 16>& row = table.rows[mask];
    row.fill(0x80);  // a zero byte, stored but not counted
    unsigned length = 0;
    for (unsigned unit = 0; unit < 4; ++unit) {
      const bool twoOrMore = ((mask >> unit) & 1) != 0;
      const bool three = ((mask >> (4 + unit)) & 1) != 0;
      const unsigned bytes = three ? 3 : twoOrMore ? 2 : 1;
      for (unsigned b = 0; b < bytes; ++b) row[length++] = static_cast<std::uint8_t>(4 * unit + b);
    }
    table.lengths[mask] = static_cast<std::uint8_t>(length);
  }
  return table;
}

constexpr ShuffleTable kShuffle = MakeShuffleTable();
static_assert(kShuffle.lengths[0x00] == 4 && kShuffle.lengths[0x0F] == 8 &&
              kShuffle.lengths[0xFF] == 12);

// A block's stores reach at most 12 + 16 bytes past where it starts: the
// bytes of its first half and one whole store after them. The room of three
// bytes a unit covers that while this many units are left.
constexpr std::ptrdiff_t kUnitsForABlock = (12 + 16 + 2) / 3;
static_assert(kUnitsForABlock * 3 >= 12 + 16 && kUnitsForABlock >= 8);

__attribute__((target("ssse3"))) char* WriteHalf(__m128i widened, unsigned mask, char* out) {
  const __m128i row = _mm_load_si128(reinterpret_cast<const __m128i*>(kShuffle.rows[mask].data()));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(widened, row));
  return out + kShuffle.lengths[mask];
}

// a where the mask is set, else b.
__m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

}  // namespace

__attribute__((target("ssse3"))) char* WriteUtf8Ssse3(TextView text, char* out) {
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  const __m128i zero = _mm_setzero_si128();
  const __m128i low6 = _mm_set1_epi16(0x3F);
  const __m128i continuation = _mm_set1_epi16(0x80);
  while (end - p >= kUnitsForABlock) {
    const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i below80 = _mm_cmpeq_epi16(_mm_and_si128(u, _mm_set1_epi16(-0x80)), zero);
    const __m128i top5 = _mm_and_si128(u, _mm_set1_epi16(-0x800));
    const __m128i below800 = _mm_cmpeq_epi16(top5, zero);
    const __m128i surrogate = _mm_cmpeq_epi16(top5, _mm_set1_epi16(-0x2800));  // D800..DFFF
    if (_mm_movemask_epi8(surrogate) != 0) {
      // Pairs and unpaired surrogates one character at a time; a pair may
      // take the first unit of the next block.
      const char16_t* const blockEnd = p + kBlockUnits;
      while (p < blockEnd) WriteUtf8Character(p, end, out);
      continue;
    }
    const unsigned below =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(below80, below800)));
    if (below == 0xFFFF) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(u, u));
      out += kBlockUnits;
      p += kBlockUnits;
      continue;
    }
    // Lead bytes: the unit itself, 110xxxxx or 1110xxxx.
    const __m128i shifted6 = _mm_srli_epi16(u, 6);
    const __m128i lead2 = _mm_or_si128(shifted6, _mm_set1_epi16(0xC0));
    const __m128i lead3 = _mm_or_si128(_mm_srli_epi16(u, 12), _mm_set1_epi16(0xE0));
    const __m128i lead = Select(below800, Select(below80, u, lead2), lead3);
    // Second bytes: the low six bits of a two-byte unit, the middle six of
    // a three-byte one; third bytes: the low six bits.
    const __m128i middle = Select(below800, u, shifted6);
    const __m128i second = _mm_or_si128(_mm_and_si128(middle, low6), continuation);
    const __m128i third = _mm_or_si128(_mm_and_si128(u, low6), continuation);
    const __m128i firstTwo = _mm_or_si128(lead, _mm_slli_epi16(second, 8));
    const unsigned at = ~below & 0xFFFF;  // bit i: unit i >= 0x80; bit 8 + i: >= 0x800
    out = WriteHalf(_mm_unpacklo_epi16(firstTwo, third), (at & 0x0F) | ((at >> 4) & 0xF0), out);
    out = WriteHalf(_mm_unpackhi_epi16(firstTwo, third), ((at >> 4) & 0x0F) | ((at >> 8) & 0xF0),
                    out);
    p += kBlockUnits;
  }
  while (p < end) WriteUtf8Character(p, end, out);
  return out;
}

}  // namespace xuanshu

#endif
