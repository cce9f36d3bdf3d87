#include "report/chart_json_values.h"

#include <cstdlib>

#include "report/report_operations.h"

namespace xuanshu::chart_json {

Json String(TextView text) {
  return ToUtf8(text);
}

std::string AsciiOf(TextView text) {
  std::string ascii;
  for (char16_t c : text) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}

Json NumberOrNull(TextView text) {
  const std::string ascii = AsciiOf(text);
  std::size_t at = ascii.starts_with('-') ? 1 : 0;
  const std::size_t digitsFrom = at;
  while (at < ascii.size() && ascii[at] >= '0' && ascii[at] <= '9') ++at;
  const std::size_t intDigits = at - digitsFrom;
  if (intDigits == 0 || intDigits > 18) return nullptr;
  if (at == ascii.size()) return std::strtoll(ascii.c_str(), nullptr, 10);
  if (ascii[at] != '.' || at + 1 == ascii.size() || ascii.size() - at > 19) return nullptr;
  for (std::size_t i = at + 1; i < ascii.size(); ++i) {
    if (ascii[i] < '0' || ascii[i] > '9') return nullptr;
  }
  return std::strtod(ascii.c_str(), nullptr);
}

Json IntegerOrNull(TextView text) {
  Json number = NumberOrNull(text);
  return number.is_number_integer() ? number : Json(nullptr);
}

Json YearList(TextView list) {
  Json years = Json::array();
  for (TextView item : SplitSlashList(list)) {
    if (Json year = IntegerOrNull(item); !year.is_null()) years.push_back(year);
  }
  return years;
}

Json SplitText(TextView value) {
  const SplitParts parts = SplitAtSpace(value);
  return {{"text", String(parts.first)}, {"summary", String(parts.hasSpace ? parts.second : u"")}};
}

Json ClashList(TextView value) {
  Json clashes = Json::array();
  while (!value.empty()) {
    const std::size_t space = value.find(u' ');
    const TextView item = value.substr(0, space);
    value = space == TextView::npos ? TextView{} : value.substr(space + 1);
    if (item.empty()) continue;
    const std::size_t open = item.find(u'（');
    const std::size_t close = item.find(u'）', open == TextView::npos ? 0 : open);
    Json years = Json::array();
    if (open != TextView::npos) {
      TextView inside =
          item.substr(open + 1, close == TextView::npos ? TextView::npos : close - open - 1);
      while (!inside.empty()) {
        const std::size_t comma = inside.find(u'，');
        if (Json year = IntegerOrNull(inside.substr(0, comma)); !year.is_null()) {
          years.push_back(year);
        }
        inside = comma == TextView::npos ? TextView{} : inside.substr(comma + 1);
      }
    }
    clashes.push_back({{"pillar", String(item.substr(0, open))}, {"years", years}});
  }
  return clashes;
}

Json HiddenStems(TextView list) {
  Json stems = Json::array();
  for (TextView item : SplitSlashList(list)) {
    const std::size_t gap = item.find(u'\u3000');
    stems.push_back(
        {{"stem", String(item.substr(0, gap))},
         {"ten_god", String(gap == TextView::npos ? TextView{} : item.substr(gap + 1))}});
  }
  return stems;
}

}  // namespace xuanshu::chart_json
