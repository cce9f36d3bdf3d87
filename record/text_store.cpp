#include "record/text_store.h"

#include <algorithm>

namespace xuanshu {

void TextStore::AddBlock(std::size_t size) {
  const std::size_t last = blocks_.empty() ? kFirstBlockSize / 2 : blocks_.back().size;
  const std::size_t blockSize = std::max(2 * last, size);
  blocks_.push_back({std::make_unique_for_overwrite<char16_t[]>(blockSize), blockSize});
  used_ = 0;
}

void TextStore::Clear() {
  if (blocks_.size() > 1) {
    // The last block is the largest.
    std::swap(blocks_.front(), blocks_.back());
    blocks_.resize(1);
  }
  used_ = 0;
}

}  // namespace xuanshu
