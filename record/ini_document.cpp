#include "record/ini_document.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace xuanshu {
namespace {

TextView TrimBlanks(TextView text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// The top bit of each 16-bit lane of `units` that is zero; exact up to the
// first zero lane (a borrow can only mark lanes after it).
constexpr std::uint64_t ZeroLanes(std::uint64_t units) {
  constexpr std::uint64_t kOnes = 0x0001'0001'0001'0001;
  constexpr std::uint64_t kTops = 0x8000'8000'8000'8000;
  return (units - kOnes) & ~units & kTops;
}

// Where the first line end in `text` stands, or text.size(). Four
// characters are tested at once, as one 64-bit word.
std::size_t FindLineEnd(TextView text) {
  static_assert(std::endian::native == std::endian::little, "the first character is the low lane");
  constexpr std::uint64_t kCr = 0x000D'000D'000D'000D;
  constexpr std::uint64_t kLf = 0x000A'000A'000A'000A;
  std::size_t at = 0;
  for (; at + 4 <= text.size(); at += 4) {
    std::uint64_t units;
    std::memcpy(&units, text.data() + at, sizeof units);
    const std::uint64_t ends = ZeroLanes(units ^ kCr) | ZeroLanes(units ^ kLf);
    if (ends != 0) return at + std::countr_zero(ends) / 16;
  }
  while (at < text.size() && !IsLineEnd(text[at])) ++at;
  return at;
}

// The first line of `text` without its line end (CR LF, LF or CR); `text`
// moves on to the next line.
TextView TakeLine(TextView& text) {
  const std::size_t end = FindLineEnd(text);
  const TextView line = text.substr(0, end);
  const bool crlf = end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n';
  text.remove_prefix(std::min(text.size(), end + (crlf ? 2 : 1)));
  return line;
}

}  // namespace

TextView CutToCapacity(TextView value, std::size_t capacity) {
  return capacity == 0 ? TextView() : value.substr(0, capacity - 1);
}

const TextView* IniDocument::Section::Find(TextView key) const {
  CatchUpIndex();
  const std::size_t i = index_.Find(key, entries_);
  return i == KeyIndex::kNotFound ? nullptr : &entries_[i].value;
}

void IniDocument::Section::CatchUpIndex() const {
  if (indexed_ == entries_.size()) return;
  index_.AddedSince(entries_, indexed_);
  indexed_ = entries_.size();
}

void IniDocument::Section::Append(TextView key, TextView value, std::size_t hash) {
  entries_.push_back({key, value});
  index_.Added(entries_, hash);
  indexed_ = entries_.size();
}

void IniDocument::Section::IndexParsedEntries() {
  entries_.resize(index_.IndexKeepingFirst(entries_));
  indexed_ = entries_.size();
}

void IniDocument::Section::Empty() {
  entries_.clear();
  index_.Clear();
  indexed_ = 0;
}

IniDocument::IniDocument(const IniDocument& other) {
  CopyFrom(other);
}

IniDocument& IniDocument::operator=(const IniDocument& other) {
  if (this != &other) {
    Clear();
    CopyFrom(other);
  }
  return *this;
}

void IniDocument::CopyFrom(const IniDocument& other) {
  sections_.reserve(other.sections_.size());
  for (const Section& from : other.sections_) {
    Section& to = AddSection(store_.Keep(from.name_));
    to.entries_.reserve(from.entries_.size());
    for (const Entry& e : from.entries_) {
      to.AppendUnindexed(store_.Keep(e.key), store_.Keep(e.value));
    }
  }
}

IniDocument::Section& IniDocument::SectionFor(TextView section) {
  if (lastSection_ < sections_.size() && (sections_[lastSection_].name_ == section ||
                                          SameName(sections_[lastSection_].name_, section))) {
    return sections_[lastSection_];
  }
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (SameName(sections_[i].name_, section)) {
      lastSection_ = i;
      return sections_[i];
    }
  }
  return AddSection(store_.Keep(section));
}

IniDocument::Section& IniDocument::AddSection(TextView name) {
  lastSection_ = sections_.size();
  if (spare_.empty()) return sections_.emplace_back(Section(name));
  Section& added = sections_.emplace_back(std::move(spare_.back()));
  spare_.pop_back();
  added.name_ = name;
  return added;
}

const IniDocument::Section* IniDocument::FindSection(TextView section) const {
  for (const Section& s : sections_) {
    if (SameName(s.name_, section)) return &s;
  }
  return nullptr;
}

void IniDocument::Set(TextView section, TextView key, TextView value) {
  SetIn(SectionFor(section), key, value);
}

IniDocument::SectionWriter IniDocument::WriterFor(TextView section) {
  SectionFor(section);
  return SectionWriter(*this, lastSection_);
}

void IniDocument::SetIn(Section& s, TextView key, TextView value) {
  s.CatchUpIndex();
  const std::size_t hash = KeyIndex::HashOf(key);
  const std::size_t i = s.index_.Find(key, hash, s.entries_);
  if (i != KeyIndex::kNotFound) {
    s.entries_[i].value = store_.Keep(value);
  } else {
    s.Append(store_.Keep(key), store_.Keep(value), hash);
  }
}

void IniDocument::AddIn(Section& s, TextView key, TextView value) {
  s.AppendUnindexed(store_.Keep(key), store_.Keep(value));
}

const TextView* IniDocument::Find(TextView section, TextView key) const {
  const Section* s = FindSection(section);
  return s == nullptr ? nullptr : s->Find(key);
}

TextView IniDocument::ReadView(TextView section, TextView key, std::size_t capacity) const {
  const TextView* value = Find(section, key);
  return value == nullptr ? TextView() : CutToCapacity(*value, capacity);
}

Text IniDocument::ReadString(TextView section, TextView key, std::size_t capacity) const {
  return Text(ReadView(section, key, capacity));
}

long long IniDocument::ReadInt(TextView section, TextView key, long long fallback) const {
  const TextView* value = Find(section, key);
  return value == nullptr ? fallback : LeadingInt(*value);
}

void IniDocument::Clear() {
  // The sections keep their storage for the next fill.
  for (Section& s : sections_) {
    s.Empty();
    spare_.push_back(std::move(s));
  }
  sections_.clear();
  store_.Clear();
  lastSection_ = 0;
}

std::size_t IniDocument::LineUnits() const {
  std::size_t units = 0;
  for (const Section& s : sections_) {
    units += s.name().size() + 4;
    for (const Entry& e : s.entries()) units += e.key.size() + e.value.size() + 3;
  }
  return units;
}

char16_t* IniDocument::WriteLines(char16_t* out) const {
  const auto put = [&out](TextView piece) { out = CopyShort(piece, out); };
  const auto endLine = [&out] {
    *out++ = u'\r';
    *out++ = u'\n';
  };
  for (const Section& s : sections_) {
    *out++ = u'[';
    put(s.name());
    *out++ = u']';
    endLine();
    for (const Entry& e : s.entries()) {
      put(e.key);
      *out++ = u'=';
      put(e.value);
      endLine();
    }
  }
  return out;
}

Text IniDocument::Serialize() const {
  Text out(LineUnits(), u'\0');
  WriteLines(out.data());
  return out;
}

// The lines as one long text first, not a few thousand short pieces: the
// encoder takes eight units at a time, and most keys and values are shorter.
std::unique_ptr<char16_t[]> IniDocument::GatherLines(std::size_t& units) const {
  units = LineUnits();
  auto lines = std::make_unique_for_overwrite<char16_t[]>(units);
  WriteLines(lines.get());
  return lines;
}

std::string_view IniDocument::SerializeUtf8Into(std::string& buffer) const {
  std::size_t units = 0;
  const std::unique_ptr<char16_t[]> lines = GatherLines(units);
  if (buffer.size() < units * kMaxUtf8BytesPerUnit) buffer.resize(units * kMaxUtf8BytesPerUnit);
  const char* const end = WriteUtf8({lines.get(), units}, buffer.data());
  return {buffer.data(), static_cast<std::size_t>(end - buffer.data())};
}

// Encoded into uninitialised memory and copied once: a string sized for the
// longest encoding would first be filled with three times the zeros needed.
std::string IniDocument::SerializeUtf8() const {
  std::size_t units = 0;
  const std::unique_ptr<char16_t[]> lines = GatherLines(units);
  const auto bytes = std::make_unique_for_overwrite<char[]>(units * kMaxUtf8BytesPerUnit);
  return std::string(bytes.get(), WriteUtf8({lines.get(), units}, bytes.get()));
}

IniDocument IniDocument::Parse(TextView text) {
  IniDocument doc;
  // One copy of the whole text; every name and value is a view into it.
  text = doc.store_.Keep(text);
  Section* current = nullptr;
  while (!text.empty()) {
    const TextView line = TakeLine(text);
    const TextView trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == u';') continue;
    if (trimmed.front() == u'[') {
      const std::size_t close = trimmed.find(u']');
      const TextView name =
          TrimBlanks(trimmed.substr(1, close == TextView::npos ? TextView::npos : close - 1));
      // Like the profile functions, only the first section of a name counts.
      current = doc.FindSection(name) == nullptr ? &doc.AddSection(name) : nullptr;
      continue;
    }
    const std::size_t eq = line.find(u'=');
    if (current == nullptr || eq == TextView::npos) continue;
    current->entries_.push_back({TrimBlanks(line.substr(0, eq)), line.substr(eq + 1)});
  }
  // Each section is indexed once, whole; the first of duplicate keys wins.
  for (Section& s : doc.sections_) s.IndexParsedEntries();
  return doc;
}

}  // namespace xuanshu
