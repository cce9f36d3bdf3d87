// An ordered INI document held in memory: sections in order of first write,
// keys in order of first write within their section, rewrites in place.
// Section and key names match case-insensitively in ASCII, like the
// platform's profile functions; values are kept verbatim.
#pragma once

#include <cstddef>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "record/text.h"

namespace xuanshu {

// Default read capacity of a profile string, terminator included.
inline constexpr std::size_t kReadCapacity = 520;
// Capacity of the long reads (annual detail lines, 岁运并临 listing).
inline constexpr std::size_t kLongReadCapacity = 2048;

class IniDocument {
 public:
  struct Entry {
    Text key;
    Text value;
  };

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(TextView name) const noexcept;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(TextView a, TextView b) const noexcept;
  };

  class Section {
   public:
    explicit Section(Text name) : name_(std::move(name)) {}
    Section(const Section& other);
    Section& operator=(const Section& other);
    Section(Section&&) noexcept = default;
    Section& operator=(Section&&) noexcept = default;

    const Text& name() const { return name_; }
    const std::deque<Entry>& entries() const { return entries_; }
    const Text* Find(TextView key) const;
    void Set(TextView key, TextView value);
    // Keeps the first value of a key that occurs twice (reading a file).
    void AddIfAbsent(TextView key, TextView value);

   private:
    // Small sections are scanned; larger ones get a hash index.
    static constexpr std::size_t kLinearScanLimit = 12;
    static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
    std::size_t IndexOf(TextView key) const;
    void RebuildIndex();

    Text name_;
    // A deque never moves its elements, so the index can view their keys.
    std::deque<Entry> entries_;
    std::unordered_map<TextView, std::size_t, NameHash, NameEqual> index_;
  };

  void Set(TextView section, TextView key, TextView value);
  // The stored value, or nullptr when the section or key is missing.
  const Text* Find(TextView section, TextView key) const;
  bool HasSection(TextView section) const { return FindSection(section) != nullptr; }

  // A profile-string read: missing -> empty; longer values are cut to
  // capacity - 1 characters.
  Text ReadString(TextView section, TextView key, std::size_t capacity = kReadCapacity) const;
  // A profile-integer read: missing -> fallback; present -> the value of its
  // leading decimal digits, 0 when there are none.
  long long ReadInt(TextView section, TextView key, long long fallback = 0) const;

  const std::vector<Section>& sections() const { return sections_; }
  const Section* FindSection(TextView section) const;
  bool empty() const { return sections_.empty(); }
  void Clear();

  // "[section]" and "key=value" lines, each ended by CR LF.
  Text Serialize() const;
  // Accepts CR LF, LF or CR line ends. Lines outside a section, lines without
  // "=" and ";" comments are ignored; the first of duplicate keys wins, and a
  // later section with the name of an earlier one is ignored whole.
  static IniDocument Parse(TextView text);

 private:
  Section& SectionFor(TextView section);

  std::vector<Section> sections_;
  std::unordered_map<Text, std::size_t, NameHash, NameEqual> index_;
  // The engine writes long runs of keys into one section.
  std::size_t lastSection_ = 0;
};

}  // namespace xuanshu
