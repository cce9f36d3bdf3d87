// Text kept for the life of a document in a few large blocks that never
// move, so the views it hands out stay valid, and unchanged, until Clear.
// A document of a few hundred keys then costs a few allocations instead of
// two strings per key.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "record/text.h"

namespace xuanshu {

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
    text.copy(copy, text.size());
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
