// An ordered INI document held in memory: sections in order of first write,
// keys in order of first write within their section, rewrites in place.
// Section and key names match case-insensitively in ASCII, like the
// platform's profile functions; values are kept verbatim.
//
// Every name and value lives in the document's text store (record/text_store.h)
// and is handed out as a view. A view stays valid and unchanged until the
// document is cleared or destroyed: a rewrite stores the new value and points
// the entry at it. One document is the record of the engine, the renderer and
// the history alike; the engine refills the same document for every chart.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "record/key_index.h"
#include "record/text.h"
#include "record/text_store.h"

namespace xuanshu {

// Default read capacity of a profile string, terminator included.
inline constexpr std::size_t kReadCapacity = 520;
// Capacity of the long reads (annual detail lines, 岁运并临 listing).
inline constexpr std::size_t kLongReadCapacity = 2048;

class IniDocument {
 public:
  using Entry = IniEntry;

  class Section {
   public:
    TextView name() const { return name_; }
    const std::vector<Entry>& entries() const { return entries_; }
    // The stored value, or nullptr when the key is missing. The pointer is
    // valid until the section gains a key. The first lookup after keys were
    // added unlooked-for indexes them, so a document is not to be read from
    // two threads at once.
    const TextView* Find(TextView key) const;

   private:
    friend class IniDocument;
    explicit Section(TextView name) : name_(name) {}
    // Adds a key that the section does not hold yet (hash: KeyIndex::HashOf
    // the key), after a lookup brought the index up to date.
    void Append(TextView key, TextView value, std::size_t hash);
    // Adds a key that the section does not hold yet; the index takes it in
    // at the next lookup. A record that is only written out is never indexed.
    void AppendUnindexed(TextView key, TextView value) { entries_.push_back({key, value}); }
    void CatchUpIndex() const;
    // Drops every entry, keeping the storage.
    void Empty();
    // Indexes the entries the parse added without the index; the first of
    // duplicate keys is kept.
    void IndexParsedEntries();

    TextView name_;
    std::vector<Entry> entries_;
    mutable KeyIndex index_;
    mutable std::size_t indexed_ = 0;  // entries the index holds, from the first
  };

  // Writes into one section, found or added once, for long runs of keys.
  // Valid until the document is cleared.
  class SectionWriter {
   public:
    void Set(TextView key, TextView value) {
      document_->SetIn(document_->sections_[section_], key, value);
    }
    // Adds a key that the section does not hold yet, without looking for it:
    // for long runs of keys made unique by construction.
    void Add(TextView key, TextView value) {
      document_->AddIn(document_->sections_[section_], key, value);
    }

   private:
    friend class IniDocument;
    SectionWriter(IniDocument& document, std::size_t section)
        : document_(&document), section_(section) {}

    IniDocument* document_;
    std::size_t section_;
  };

  IniDocument() = default;
  IniDocument(const IniDocument& other);
  IniDocument& operator=(const IniDocument& other);
  IniDocument(IniDocument&&) noexcept = default;
  IniDocument& operator=(IniDocument&&) noexcept = default;

  void Set(TextView section, TextView key, TextView value);
  SectionWriter WriterFor(TextView section);
  // The stored value, or nullptr when the section or key is missing.
  const TextView* Find(TextView section, TextView key) const;
  bool HasSection(TextView section) const { return FindSection(section) != nullptr; }

  // A profile-string read: missing -> empty; longer values are cut to
  // capacity - 1 characters.
  Text ReadString(TextView section, TextView key, std::size_t capacity = kReadCapacity) const;
  // The same read without a copy: a view of the stored value.
  TextView ReadView(TextView section, TextView key, std::size_t capacity = kReadCapacity) const;
  // A profile-integer read: missing -> fallback; present -> the value of its
  // leading decimal digits, 0 when there are none.
  long long ReadInt(TextView section, TextView key, long long fallback = 0) const;

  const std::vector<Section>& sections() const { return sections_; }
  const Section* FindSection(TextView section) const;
  bool empty() const { return sections_.empty(); }
  // Empties the document; its storage is kept for the next fill.
  void Clear();

  // "[section]" and "key=value" lines, each ended by CR LF.
  Text Serialize() const;
  // The same lines in UTF-8: the bytes of a record file.
  std::string SerializeUtf8() const;
  // The same bytes written into `buffer`, which keeps its size for the next
  // record, so that a run of records fills it only once.
  std::string_view SerializeUtf8Into(std::string& buffer) const;
  // Accepts CR LF, LF or CR line ends. Lines outside a section, lines without
  // "=" and ";" comments are ignored; the first of duplicate keys wins, and a
  // later section with the name of an earlier one is ignored whole.
  static IniDocument Parse(TextView text);

 private:
  Section& SectionFor(TextView section);
  void SetIn(Section& section, TextView key, TextView value);
  void AddIn(Section& section, TextView key, TextView value);
  // Appends a section of a name the document does not hold yet.
  Section& AddSection(TextView name);
  void CopyFrom(const IniDocument& other);
  // The units of the serialised lines, and the lines written at `out`, which
  // has room for them; returns the end of what was written.
  std::size_t LineUnits() const;
  char16_t* WriteLines(char16_t* out) const;
  // The lines in one array of `units` units.
  std::unique_ptr<char16_t[]> GatherLines(std::size_t& units) const;

  TextStore store_;
  std::vector<Section> sections_;
  // Emptied sections of earlier fills, taken again before allocating.
  std::vector<Section> spare_;
  // The engine writes long runs of keys into one section.
  std::size_t lastSection_ = 0;
};

// A value cut to a read capacity (terminator included), as the profile
// functions read it.
TextView CutToCapacity(TextView value, std::size_t capacity);

}  // namespace xuanshu
