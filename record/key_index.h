// Finding the entries of one INI section by name. Names match when they are
// equal after folding ASCII letters to lower case, as with the platform's
// profile functions. Small sections are scanned; a larger one gets an
// open-addressing table of entry numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "record/text.h"

namespace xuanshu {

struct IniEntry {
  TextView key;
  TextView value;
};

// True when the names match (ASCII letters compared without case). Inline:
// the renderer and the parse compare names by the thousand.
inline bool SameName(TextView a, TextView b) {
  const auto fold = [](char16_t c) -> char16_t {
    return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
  };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

class KeyIndex {
 public:
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  // The hash of a name, the same for names that match.
  static std::size_t HashOf(TextView name);

  // Position of the entry named `key` among `entries`, or kNotFound; `hash`
  // is HashOf(key), so a caller that adds the key next hashes it once.
  std::size_t Find(TextView key, std::size_t hash, std::span<const IniEntry> entries) const;
  std::size_t Find(TextView key, std::span<const IniEntry> entries) const {
    return Find(key, HashOf(key), entries);
  }
  // Takes in the last of `entries`, just appended; `hash` is HashOf its key.
  void Added(std::span<const IniEntry> entries, std::size_t hash);
  // Takes in entries[from, size), appended one after another without the
  // index.
  void AddedSince(std::span<const IniEntry> entries, std::size_t from);
  // Forgets every entry but keeps the table, for a section filled again.
  void Clear();
  // Indexes all of `entries` at once, for an index that holds none yet. Of
  // entries with matching keys only the first is kept: the kept ones move to
  // the front, in order, and their count is returned.
  std::size_t IndexKeepingFirst(std::span<IniEntry> entries);

 private:
  static constexpr std::size_t kScanLimit = 8;
  // An entry's position + 1 (0: the slot is free) and the low half of its
  // key's hash, so probes skip most other keys and growing rehashes none.
  struct Slot {
    std::uint32_t entry = 0;
    std::uint32_t hash = 0;
  };

  // A table of at least four slots per entry.
  static std::size_t TableSizeFor(std::size_t entries);
  void Insert(std::uint32_t entry, std::uint32_t hash);
  void Rebuild(std::span<const IniEntry> entries, std::size_t hash);

  std::vector<Slot> slots_;
  // Slots taken; a table that never held an entry needs no clearing.
  std::size_t taken_ = 0;
};

}  // namespace xuanshu
