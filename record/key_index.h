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

// True when the names match (ASCII letters compared without case).
bool SameName(TextView a, TextView b);

class KeyIndex {
 public:
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  // Position of the entry named `key` among `entries`, or kNotFound.
  std::size_t Find(TextView key, std::span<const IniEntry> entries) const;
  // Takes in the last of `entries`, just appended.
  void Added(std::span<const IniEntry> entries);
  void Clear() { slots_.clear(); }

 private:
  static constexpr std::size_t kScanLimit = 8;
  void Insert(std::size_t position, TextView key);
  void Rebuild(std::span<const IniEntry> entries);

  std::vector<std::uint32_t> slots_;  // entry position + 1; 0 is free
};

}  // namespace xuanshu
