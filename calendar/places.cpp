#include "calendar/places.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

#include "record/script_text.h"

namespace xuanshu {
namespace {

struct PlaceAlias {
  std::size_t place;  // index into kPlaces
  TextView alias;
};

// kPlaces and kPlaceAliases (sorted by place).
#include "calendar/places_data.inc"

constexpr TextView kBlanks = u" \t\u3000";
constexpr TextView kSeparators = u",， \u3000";

TextView Trim(TextView text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == TextView::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::span<const PlaceAlias> AliasesOf(const Place& place) {
  const std::less<const Place*> before;
  if (before(&place, std::begin(kPlaces)) || !before(&place, std::end(kPlaces))) return {};
  const auto index = static_cast<std::size_t>(&place - std::begin(kPlaces));
  const auto first = std::partition_point(std::begin(kPlaceAliases), std::end(kPlaceAliases),
                                          [&](const PlaceAlias& a) { return a.place < index; });
  const auto last = std::partition_point(first, std::end(kPlaceAliases),
                                         [&](const PlaceAlias& a) { return a.place == index; });
  return {first, last};
}

// True when pred holds for the place's name or one of its aliases.
template <class Pred>
bool AnyName(const Place& place, Pred pred) {
  if (pred(place.name)) return true;
  const std::span<const PlaceAlias> aliases = AliasesOf(place);
  return std::any_of(aliases.begin(), aliases.end(),
                     [&](const PlaceAlias& a) { return pred(a.alias); });
}

// "word" itself, or "word" followed by one of the suffix characters.
bool SpellsWord(TextView text, TextView word, TextView suffixes) {
  if (text == word) return true;
  return text.size() == word.size() + 1 && text.starts_with(word) &&
         suffixes.find(text.back()) != TextView::npos;
}

bool NamesPlace(TextView text, const Place& place) {
  return AnyName(place, [&](TextView name) { return SpellsWord(text, name, u"市"); });
}

bool NamesRegion(TextView text, const Place& place) {
  return SpellsWord(text, place.region, u"省市");
}

struct QualifiedParts {
  TextView name;
  TextView region;
};

// The readings of "名称（区域）", "名称,区域" and "区域,名称" that the text allows.
std::vector<QualifiedParts> SplitQualified(TextView text) {
  std::vector<QualifiedParts> readings;
  if (text.ends_with(u'）') || text.ends_with(u')')) {
    const std::size_t open = text.find_last_of(u"（(");
    if (open != TextView::npos) {
      readings.push_back(
          {Trim(text.substr(0, open)), Trim(text.substr(open + 1, text.size() - open - 2))});
    }
  }
  const std::size_t separator = text.find_first_of(kSeparators);
  if (separator != TextView::npos) {
    const TextView before = Trim(text.substr(0, separator));
    const TextView after = Trim(text.substr(separator + 1));
    readings.push_back({before, after});
    readings.push_back({after, before});
  }
  return readings;
}

// "区域名称", the region with an optional 省 or 市 before the name.
bool HasRegionPrefix(TextView text, const Place& place) {
  if (!text.starts_with(place.region)) return false;
  TextView rest = text.substr(place.region.size());
  if (NamesPlace(Trim(rest), place)) return true;
  if (rest.starts_with(u'省') || rest.starts_with(u'市'))
    return NamesPlace(Trim(rest.substr(1)), place);
  return false;
}

// The one place pred holds for; nullptr when none or several. `found` tells the two apart.
template <class Pred>
const Place* OnlyPlace(Pred pred, bool& found) {
  const Place* only = nullptr;
  int count = 0;
  for (const Place& place : kPlaces) {
    if (pred(place)) {
      only = &place;
      ++count;
    }
  }
  found = count > 0;
  return count == 1 ? only : nullptr;
}

constexpr int kNoMatch = -1;

int SearchRank(TextView query, const Place& place) {
  if (AnyName(place, [&](TextView name) { return name.starts_with(query); })) return 1;
  if (AnyName(place, [&](TextView name) { return Contains(name, query); })) return 2;
  if (Contains(place.region, query)) return 3;
  return kNoMatch;
}

// The place the text names, read as it is written.
const Place* FindPlaceAsWritten(TextView text) {
  bool found = false;
  const Place* place = OnlyPlace([&](const Place& p) { return p.name == text; }, found);
  if (found) return place;
  place = OnlyPlace([&](const Place& p) { return NamesPlace(text, p); }, found);
  if (found) return place;
  const std::vector<QualifiedParts> readings = SplitQualified(text);
  return OnlyPlace(
      [&](const Place& p) {
        return HasRegionPrefix(text, p) ||
               std::any_of(readings.begin(), readings.end(), [&](const QualifiedParts& parts) {
                 return NamesPlace(parts.name, p) && NamesRegion(parts.region, p);
               });
      },
      found);
}

}  // namespace

std::span<const Place> AllPlaces() {
  return kPlaces;
}

const Place* FindPlace(TextView text) {
  text = Trim(text);
  if (text.empty()) return nullptr;
  if (const Place* place = FindPlaceAsWritten(text)) return place;
  const Text simplified = SimplifiedOf(text);
  return simplified == text ? nullptr : FindPlaceAsWritten(simplified);
}

std::vector<const Place*> SearchPlaces(TextView query, std::size_t limit) {
  query = Trim(query);
  std::vector<const Place*> places;
  if (query.empty() || limit == 0) return places;
  const Text simplified = SimplifiedOf(query);
  const Place* exact = FindPlace(query);
  std::vector<std::pair<int, const Place*>> ranked;
  for (const Place& place : kPlaces) {
    int rank = &place == exact ? 0 : SearchRank(query, place);
    if (rank == kNoMatch && simplified != query) rank = SearchRank(simplified, place);
    if (rank != kNoMatch) ranked.emplace_back(rank, &place);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [rank, place] : ranked) {
    if (places.size() == limit) break;
    places.push_back(place);
  }
  return places;
}

Text PlaceLabel(const Place& place) {
  Text label(place.name);
  if (place.region == place.name) return label;  // 北京, 香港
  label += u'（';
  label += place.region;
  label += u'）';
  return label;
}

std::vector<TextView> PlaceAliases(const Place& place) {
  std::vector<TextView> aliases;
  for (const PlaceAlias& a : AliasesOf(place)) aliases.push_back(a.alias);
  return aliases;
}

bool IsPlaceLabel(TextView text) {
  const Place* place = FindPlace(text);
  return place != nullptr && PlaceLabel(*place) == text;
}

}  // namespace xuanshu
