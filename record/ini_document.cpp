#include "record/ini_document.h"

namespace xuanshu {
namespace {

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

TextView TrimBlanks(TextView text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::size_t IniDocument::NameHash::operator()(TextView name) const noexcept {
  std::size_t h = 1469598103934665603ULL;  // FNV-1a
  for (char16_t c : name) h = (h ^ FoldAscii(c)) * 1099511628211ULL;
  return h;
}

bool IniDocument::NameEqual::operator()(TextView a, TextView b) const noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

IniDocument::Section::Section(const Section& other) : name_(other.name_), entries_(other.entries_) {
  RebuildIndex();
}

IniDocument::Section& IniDocument::Section::operator=(const Section& other) {
  if (this != &other) {
    name_ = other.name_;
    entries_ = other.entries_;
    RebuildIndex();
  }
  return *this;
}

void IniDocument::Section::RebuildIndex() {
  index_.clear();
  if (entries_.size() <= kLinearScanLimit) return;
  index_.reserve(entries_.size() * 2);
  for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].key, i);
}

std::size_t IniDocument::Section::IndexOf(TextView key) const {
  if (index_.empty()) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (NameEqual{}(entries_[i].key, key)) return i;
    }
    return kNotFound;
  }
  const auto it = index_.find(key);
  return it == index_.end() ? kNotFound : it->second;
}

const Text* IniDocument::Section::Find(TextView key) const {
  const std::size_t i = IndexOf(key);
  return i == kNotFound ? nullptr : &entries_[i].value;
}

void IniDocument::Section::Set(TextView key, TextView value) {
  const std::size_t i = IndexOf(key);
  if (i != kNotFound) {
    entries_[i].value.assign(value);
    return;
  }
  const Entry& added = entries_.emplace_back(Entry{Text(key), Text(value)});
  if (!index_.empty()) {
    index_.emplace(added.key, entries_.size() - 1);
  } else if (entries_.size() > kLinearScanLimit) {
    RebuildIndex();
  }
}

void IniDocument::Section::AddIfAbsent(TextView key, TextView value) {
  if (IndexOf(key) == kNotFound) Set(key, value);
}

IniDocument::Section& IniDocument::SectionFor(TextView section) {
  if (lastSection_ < sections_.size() && NameEqual{}(sections_[lastSection_].name(), section)) {
    return sections_[lastSection_];
  }
  const auto it = index_.find(section);
  if (it != index_.end()) {
    lastSection_ = it->second;
    return sections_[it->second];
  }
  lastSection_ = sections_.size();
  index_.emplace(Text(section), sections_.size());
  return sections_.emplace_back(Text(section));
}

const IniDocument::Section* IniDocument::FindSection(TextView section) const {
  const auto it = index_.find(section);
  return it == index_.end() ? nullptr : &sections_[it->second];
}

void IniDocument::Set(TextView section, TextView key, TextView value) {
  SectionFor(section).Set(key, value);
}

const Text* IniDocument::Find(TextView section, TextView key) const {
  const Section* s = FindSection(section);
  return s == nullptr ? nullptr : s->Find(key);
}

Text IniDocument::ReadString(TextView section, TextView key, std::size_t capacity) const {
  const Text* value = Find(section, key);
  if (value == nullptr || capacity == 0) return {};
  return value->substr(0, capacity - 1);
}

long long IniDocument::ReadInt(TextView section, TextView key, long long fallback) const {
  const Text* value = Find(section, key);
  return value == nullptr ? fallback : LeadingInt(*value);
}

void IniDocument::Clear() {
  sections_.clear();
  index_.clear();
  lastSection_ = 0;
}

Text IniDocument::Serialize() const {
  Text out;
  for (const Section& s : sections_) {
    out += u'[';
    out += s.name();
    out += u"]\r\n";
    for (const Entry& e : s.entries()) {
      out += e.key;
      out += u'=';
      out += e.value;
      out += u"\r\n";
    }
  }
  return out;
}

IniDocument IniDocument::Parse(TextView text) {
  IniDocument doc;
  Section* current = nullptr;
  while (!text.empty()) {
    std::size_t end = text.find_first_of(u"\r\n");
    TextView line = text.substr(0, end);
    if (end == TextView::npos) {
      text = {};
    } else {
      const bool crlf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }
    const TextView trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == u';') continue;
    if (trimmed.front() == u'[') {
      const std::size_t close = trimmed.find(u']');
      const TextView name =
          TrimBlanks(trimmed.substr(1, close == TextView::npos ? TextView::npos : close - 1));
      // Like the profile functions, only the first section of a name counts.
      current = doc.FindSection(name) == nullptr ? &doc.SectionFor(name) : nullptr;
      continue;
    }
    const std::size_t eq = line.find(u'=');
    if (current == nullptr || eq == TextView::npos) continue;
    current->AddIfAbsent(TrimBlanks(line.substr(0, eq)), line.substr(eq + 1));
  }
  return doc;
}

}  // namespace xuanshu
