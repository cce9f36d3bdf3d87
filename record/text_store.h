// Text kept for the life of a document in a few large blocks that never
// move, so the views it hands out stay valid, and unchanged, until Clear.
// A document of a few hundred keys then costs a few allocations instead of
// two strings per key.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "record/text.h"

namespace xuanshu {

// Copies a piece of text at out and returns its end. Most pieces are a few
// units long: moves of eight, four, two and one unit, the last two of a size
// overlapping, instead of a call of memmove; a long one is one memcpy.
inline char16_t* CopyShort(TextView piece, char16_t* out) {
  const char16_t* p = piece.data();
  const std::size_t n = piece.size();
  if (n > 64) {
    std::memcpy(out, p, n * sizeof(char16_t));
    return out + n;
  }
  const auto move = [p, out](std::size_t from, std::size_t units) {
    std::memcpy(out + from, p + from, units * sizeof(char16_t));
  };
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8) move(i, 8);
    move(n - 8, 8);
  } else if (n >= 4) {
    move(0, 4);
    move(n - 4, 4);
  } else if (n >= 2) {
    move(0, 2);
    move(n - 2, 2);
  } else if (n == 1) {
    *out = *p;
  }
  return out + n;
}

class TextStore {
 public:
  TextStore() = default;
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;
  TextStore(TextStore&&) noexcept = default;
  TextStore& operator=(TextStore&&) noexcept = default;

  // A copy of the text, held by the store.
  TextView Keep(TextView text) {
    if (text.empty()) return {};
    if (blocks_.empty() || blocks_.back().size - used_ < text.size()) AddBlock(text.size());
    char16_t* copy = blocks_.back().chars.get() + used_;
    CopyShort(text, copy);
    used_ += text.size();
    return TextView(copy, text.size());
  }
  // Forgets every text but keeps the largest block, so a store that is
  // filled again with a text of the same size allocates nothing.
  void Clear();

 private:
  struct Block {
    std::unique_ptr<char16_t[]> chars;
    std::size_t size = 0;
  };
  // Starts a block with room for at least `size` characters.
  void AddBlock(std::size_t size);

  // The first block; later ones at least double the one before.
  static constexpr std::size_t kFirstBlockSize = 4096;

  std::vector<Block> blocks_;
  std::size_t used_ = 0;  // characters taken from the last block
};

}  // namespace xuanshu
