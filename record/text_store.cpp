#include "record/text_store.h"

#include <algorithm>

namespace xuanshu {

TextView TextStore::Keep(TextView text) {
  if (text.empty()) return {};
  if (blocks_.empty() || blocks_.back().size - used_ < text.size()) {
    const std::size_t last = blocks_.empty() ? kFirstBlockSize / 2 : blocks_.back().size;
    const std::size_t size = std::max(2 * last, text.size());
    blocks_.push_back({std::make_unique_for_overwrite<char16_t[]>(size), size});
    used_ = 0;
  }
  char16_t* copy = blocks_.back().chars.get() + used_;
  std::copy(text.begin(), text.end(), copy);
  used_ += text.size();
  return TextView(copy, text.size());
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
