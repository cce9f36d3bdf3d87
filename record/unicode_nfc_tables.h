// Tables of Unicode normalisation form C, generated into
// unicode_nfc_tables.cpp by tools/unicode/make_nfc_tables.py.
#pragma once

#include <cstddef>

namespace xuanshu::nfc_tables {

struct CombiningClassRange {
  char32_t first, last;
  unsigned char combiningClass;
};
// Full canonical decomposition of one character (Hangul syllables excepted).
struct Decomposition {
  char32_t character;
  char32_t parts[4];
  unsigned char length;
};
// A primary composite and the pair it is made of.
struct Composition {
  char32_t first, second, composite;
};

// Each sorted by its first field (compositions by first, then second).
extern const CombiningClassRange kCombiningClasses[];
extern const std::size_t kCombiningClassCount;
extern const Decomposition kDecompositions[];
extern const std::size_t kDecompositionCount;
extern const Composition kCompositions[];
extern const std::size_t kCompositionCount;

}  // namespace xuanshu::nfc_tables
