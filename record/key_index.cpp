#include "record/key_index.h"

#include <algorithm>

namespace xuanshu {
namespace {

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

}  // namespace

std::size_t KeyIndex::HashOf(TextView name) {
  std::size_t h = 1469598103934665603ULL;  // FNV-1a
  for (char16_t c : name) h = (h ^ FoldAscii(c)) * 1099511628211ULL;
  return h;
}

bool SameName(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::size_t KeyIndex::Find(TextView key, std::size_t hash,
                           std::span<const IniEntry> entries) const {
  if (slots_.empty()) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (SameName(entries[i].key, key)) return i;
    }
    return kNotFound;
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t s = hash & mask; slots_[s] != 0; s = (s + 1) & mask) {
    const std::size_t position = slots_[s] - 1;
    if (SameName(entries[position].key, key)) return position;
  }
  return kNotFound;
}

void KeyIndex::Added(std::span<const IniEntry> entries, std::size_t hash) {
  // At most half the slots are taken, so a probe soon meets a free one.
  if (entries.size() > kScanLimit && 2 * entries.size() > slots_.size()) {
    Rebuild(entries);
  } else if (!slots_.empty()) {
    Insert(entries.size() - 1, hash);
  }
}

void KeyIndex::Clear() {
  std::fill(slots_.begin(), slots_.end(), 0);
}

void KeyIndex::Insert(std::size_t position, std::size_t hash) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = hash & mask;
  while (slots_[s] != 0) s = (s + 1) & mask;
  slots_[s] = static_cast<std::uint32_t>(position + 1);
}

void KeyIndex::Rebuild(std::span<const IniEntry> entries) {
  std::size_t size = 32;
  while (size < 4 * entries.size()) size *= 2;
  slots_.assign(size, 0);
  for (std::size_t i = 0; i < entries.size(); ++i) Insert(i, HashOf(entries[i].key));
}

}  // namespace xuanshu
