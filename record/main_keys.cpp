#include "record/main_keys.h"

#include <optional>

#include "record/ini_document.h"
#include "record/record_file.h"

namespace xuanshu {
namespace {

// The lines are found in the text or, for a UTF-8 head, in its bytes: the
// characters that mark them are ASCII, which UTF-8 never uses inside a
// multi-byte character, and decoding never swallows them.
template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  const auto blank = [](Char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// True when the name is the lower-case ASCII word, letters compared without
// case.
template <typename Char>
bool IsWord(std::basic_string_view<Char> name, std::string_view word) {
  if (name.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const Char c = name[i];
    const Char lower = (c >= 'A' && c <= 'Z') ? static_cast<Char>(c + ('a' - 'A')) : c;
    if (lower != static_cast<Char>(word[i])) return false;
  }
  return true;
}

// Where the two values stand in the text.
template <typename Char>
struct MainValues {
  std::optional<std::basic_string_view<Char>> group, name;
  bool complete = false;
};

template <typename Char>
MainValues<Char> FindMainValues(std::basic_string_view<Char> text) {
  using View = std::basic_string_view<Char>;
  MainValues<Char> found;
  bool inMain = false;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const View line = text.substr(start, end - start);
    start = end + 1;
    const View trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (trimmed.front() == '[') {
      // Section main ends at the next header; a repeated one is never read.
      if (inMain) {
        found.complete = true;
        break;
      }
      const std::size_t close = trimmed.find(Char(']'));
      inMain =
          IsWord(TrimBlanks(trimmed.substr(1, close == View::npos ? close : close - 1)), "main");
      continue;
    }
    const std::size_t eq = line.find(Char('='));
    if (!inMain || eq == View::npos) continue;
    const View key = TrimBlanks(line.substr(0, eq));
    if (!found.group && IsWord(key, "class")) found.group = line.substr(eq + 1);
    if (!found.name && IsWord(key, "name")) found.name = line.substr(eq + 1);
  }
  return found;
}

Text ListedValue(std::optional<TextView> value) {
  return value ? Text(CutToCapacity(*value, kListCapacity)) : Text();
}

Text ListedValue(std::optional<std::string_view> value) {
  if (!value) return {};
  Text text = FromUtf8(*value);
  if (text.size() >= kListCapacity) text.resize(kListCapacity - 1);
  return text;
}

template <typename Char>
HeadMainKeys KeysOf(std::basic_string_view<Char> text) {
  const MainValues<Char> found = FindMainValues(text);
  return {{ListedValue(found.group), ListedValue(found.name)}, found.complete};
}

}  // namespace

RecordMainKeys MainKeysOf(TextView text) {
  return KeysOf(text).keys;
}

HeadMainKeys MainKeysOfHead(std::string_view head) {
  if (head.starts_with("\xFF\xFE")) return KeysOf(TextView(DecodeFileBytes(head)));
  if (head.starts_with("\xEF\xBB\xBF")) return KeysOf(head.substr(3));
  if (IsValidUtf8(head)) return KeysOf(head);
  return KeysOf(TextView(DecodeFileBytes(head)));
}

}  // namespace xuanshu
