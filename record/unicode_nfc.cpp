// Normalisation form C as the Unicode standard (UAX #15) defines it: full
// canonical decomposition, canonical ordering of combining marks, then
// canonical composition. Hangul syllables are decomposed and composed by
// arithmetic, everything else through the generated tables.
#include "record/unicode_nfc.h"

#include <algorithm>
#include <vector>

#include "record/unicode_nfc_tables.h"

namespace xuanshu {
namespace {

using namespace nfc_tables;

// Hangul syllable arithmetic (Unicode chapter 3.12).
constexpr char32_t kSBase = 0xAC00, kLBase = 0x1100, kVBase = 0x1161, kTBase = 0x11A7;
constexpr char32_t kLCount = 19, kVCount = 21, kTCount = 28;
constexpr char32_t kNCount = kVCount * kTCount, kSCount = kLCount * kNCount;

// Below this code unit every character is a starter that never composes
// with what follows, so such text is already in form C.
constexpr char16_t kFirstAffected = 0x300;

int CombiningClass(char32_t c) {
  const CombiningClassRange* end = kCombiningClasses + kCombiningClassCount;
  const CombiningClassRange* it =
      std::upper_bound(kCombiningClasses, end, c,
                       [](char32_t v, const CombiningClassRange& r) { return v < r.first; });
  if (it == kCombiningClasses) return 0;
  --it;
  return c <= it->last ? it->combiningClass : 0;
}

void Decompose(char32_t c, std::vector<char32_t>& out) {
  if (c >= kSBase && c < kSBase + kSCount) {
    const char32_t s = c - kSBase;
    out.push_back(kLBase + s / kNCount);
    out.push_back(kVBase + (s % kNCount) / kTCount);
    if (s % kTCount != 0) out.push_back(kTBase + s % kTCount);
    return;
  }
  const Decomposition* end = kDecompositions + kDecompositionCount;
  const Decomposition* it = std::lower_bound(
      kDecompositions, end, c, [](const Decomposition& d, char32_t v) { return d.character < v; });
  if (it == end || it->character != c) {
    out.push_back(c);
    return;
  }
  out.insert(out.end(), it->parts, it->parts + it->length);
}

// The primary composite of a pair, 0 when there is none.
char32_t Compose(char32_t first, char32_t second) {
  if (first >= kLBase && first < kLBase + kLCount && second >= kVBase &&
      second < kVBase + kVCount) {
    return kSBase + ((first - kLBase) * kVCount + (second - kVBase)) * kTCount;
  }
  if (first >= kSBase && first < kSBase + kSCount && (first - kSBase) % kTCount == 0 &&
      second > kTBase && second < kTBase + kTCount) {
    return first + (second - kTBase);
  }
  const Composition* end = kCompositions + kCompositionCount;
  const Composition* it =
      std::lower_bound(kCompositions, end, std::pair(first, second),
                       [](const Composition& c, const std::pair<char32_t, char32_t>& v) {
                         return std::pair(c.first, c.second) < v;
                       });
  return it != end && it->first == first && it->second == second ? it->composite : 0;
}

std::vector<char32_t> DecomposedCodePoints(TextView text) {
  std::vector<char32_t> out;
  out.reserve(text.size() + 4);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    Decompose(c, out);
  }
  return out;
}

// Combining marks of each run sorted by class, keeping their order within
// a class.
void OrderMarks(std::vector<char32_t>& points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    const int cc = CombiningClass(points[i]);
    if (cc == 0) continue;
    for (std::size_t j = i; j > 0 && CombiningClass(points[j - 1]) > cc; --j) {
      std::swap(points[j - 1], points[j]);
    }
  }
}

// Each character joins the last starter when no character in between
// blocks it (one of class 0 or of a class not below its own).
std::vector<char32_t> Composed(const std::vector<char32_t>& points) {
  std::vector<char32_t> out;
  out.reserve(points.size());
  std::size_t starter = 0;
  bool haveStarter = false;
  int lastClass = 0;
  for (char32_t c : points) {
    const int cc = CombiningClass(c);
    if (haveStarter && (lastClass < cc || (lastClass == 0 && out.size() == starter + 1))) {
      if (const char32_t composite = Compose(out[starter], c)) {
        out[starter] = composite;
        continue;
      }
    }
    if (cc == 0) {
      starter = out.size();
      haveStarter = true;
      lastClass = 0;
    } else {
      lastClass = cc;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

Text ToNfc(TextView text) {
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < kFirstAffected; })) {
    return Text(text);
  }
  std::vector<char32_t> points = DecomposedCodePoints(text);
  OrderMarks(points);
  Text out;
  out.reserve(text.size());
  for (char32_t c : Composed(points)) {
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

}  // namespace xuanshu
