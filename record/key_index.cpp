#include "record/key_index.h"

#include <algorithm>
#include <cstring>

namespace xuanshu {

// Setting bit 5 of every unit folds A-Z to a-z, so names that match hash
// alike; a few other units fold together too, which costs only a comparison.
std::size_t KeyIndex::HashOf(TextView name) {
  constexpr std::uint64_t kFold = 0x0020'0020'0020'0020;
  constexpr std::uint64_t kMultiplier = 0x9E37'79B9'7F4A'7C15;
  std::uint64_t h = name.size();
  std::size_t at = 0;
  // Four units at a time, as one 64-bit word.
  for (; at + 4 <= name.size(); at += 4) {
    std::uint64_t units;
    std::memcpy(&units, name.data() + at, sizeof units);
    h = (h ^ (units | kFold)) * kMultiplier;
  }
  for (; at < name.size(); ++at) h = (h ^ (name[at] | 0x20u)) * kMultiplier;
  // A multiplication carries each unit only into higher bits: mix the high
  // half into the low bits, which the table takes, twice over.
  h ^= h >> 32;
  h *= kMultiplier;
  return static_cast<std::size_t>(h ^ (h >> 32));
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
  const auto shortHash = static_cast<std::uint32_t>(hash);
  for (std::size_t s = hash & mask; slots_[s].entry != 0; s = (s + 1) & mask) {
    if (slots_[s].hash != shortHash) continue;
    const std::size_t position = slots_[s].entry - 1;
    if (SameName(entries[position].key, key)) return position;
  }
  return kNotFound;
}

void KeyIndex::Added(std::span<const IniEntry> entries, std::size_t hash) {
  // At most half the slots are taken, so a probe soon meets a free one.
  if (entries.size() > kScanLimit && 2 * entries.size() > slots_.size()) {
    Rebuild(entries, hash);
  } else if (!slots_.empty()) {
    Insert(static_cast<std::uint32_t>(entries.size()), static_cast<std::uint32_t>(hash));
  }
}

void KeyIndex::AddedSince(std::span<const IniEntry> entries, std::size_t from) {
  for (std::size_t i = from; i < entries.size(); ++i) {
    Added(entries.first(i + 1), HashOf(entries[i].key));
  }
}

void KeyIndex::Clear() {
  if (taken_ == 0) return;
  std::fill(slots_.begin(), slots_.end(), Slot{});
  taken_ = 0;
}

std::size_t KeyIndex::IndexKeepingFirst(std::span<IniEntry> entries) {
  if (entries.size() > kScanLimit) {
    slots_.assign(TableSizeFor(entries.size()), Slot{});
    taken_ = 0;
  }
  std::size_t kept = 0;
  for (const IniEntry& entry : entries) {
    const std::size_t hash = HashOf(entry.key);
    if (Find(entry.key, hash, entries.first(kept)) != kNotFound) continue;
    entries[kept++] = entry;
    if (!slots_.empty()) Insert(static_cast<std::uint32_t>(kept), static_cast<std::uint32_t>(hash));
  }
  return kept;
}

std::size_t KeyIndex::TableSizeFor(std::size_t entries) {
  std::size_t size = 32;
  while (size < 4 * entries) size *= 2;
  return size;
}

void KeyIndex::Insert(std::uint32_t entry, std::uint32_t hash) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = hash & mask;
  while (slots_[s].entry != 0) s = (s + 1) & mask;
  slots_[s] = {entry, hash};
  ++taken_;
}

// The table grows to four slots per entry. It holds either no entry or all
// but the one just appended; those keep the hashes of their slots.
void KeyIndex::Rebuild(std::span<const IniEntry> entries, std::size_t hash) {
  const std::vector<Slot> old = std::move(slots_);
  slots_.assign(TableSizeFor(entries.size()), Slot{});
  taken_ = 0;
  std::uint32_t indexed = 0;
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    Insert(slot.entry, slot.hash);
    ++indexed;
  }
  for (std::size_t i = indexed; i + 1 < entries.size(); ++i) {
    Insert(static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(HashOf(entries[i].key)));
  }
  Insert(static_cast<std::uint32_t>(entries.size()), static_cast<std::uint32_t>(hash));
}

}  // namespace xuanshu
