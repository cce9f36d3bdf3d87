// Relations of one annual pillar (流年) with the luck pillar in force and the
// natal pillars. Natal values are tagged 命, the luck value 运 and the annual
// value 岁; only relations that touch the annual pillar are listed.
//
// Counting runs twice: once over the natal and annual values, and once more
// with the luck value added. A relation that then touches all three of 岁,
// 运 and 命 is summarised a second time, counted with the luck pillar.
#include <array>
#include <vector>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr char16_t kAnnual = u'岁';
constexpr char16_t kLuck = u'运';
constexpr char16_t kNatal = u'命';
constexpr TextView kTagOrder = u"岁运命";

void AppendSeparated(Text& out, std::initializer_list<TextView> parts) {
  if (!out.empty()) out += u"、";
  for (TextView part : parts) out += part;
}

// The values that are counted: the four natal values tagged 命 and the annual
// value tagged 岁, then the luck value tagged 运.
struct CountedValues {
  std::array<TaggedEntry, 5> natalAndAnnual;
  TaggedEntry luck;
};

template <typename Part>
CountedValues MakeCountedValues(TextView annual, TextView luck,
                                const std::array<TextView, 4>& natal, Part part) {
  return {{{{Text(1, kNatal), Text(part(natal[0]))},
            {Text(1, kNatal), Text(part(natal[1]))},
            {Text(1, kNatal), Text(part(natal[2]))},
            {Text(1, kNatal), Text(part(natal[3]))},
            {Text(1, kAnnual), Text(part(annual))}}},
          {Text(1, kLuck), Text(part(luck))}};
}

void CountValue(std::vector<RelationTally>& tallies, const TaggedEntry& value) {
  const auto addTag = [&](Text& tags) {
    if (tags.find(value.tag) == Text::npos) tags += value.tag;
  };
  for (RelationTally& t : tallies) {
    if (t.side1 == value.value) {
      ++t.count1;
      addTag(t.tags);
    }
    if (t.side2 == value.value) {
      ++t.count2;
      addTag(t.tags);
    }
  }
}

// The two counting passes; returns the tallies to summarise.
std::vector<RelationTally> CountTagged(const std::vector<RelationTally>& tallies,
                                       const CountedValues& values) {
  std::vector<RelationTally> counted = tallies;
  std::vector<RelationTally> withLuck = tallies;
  for (const TaggedEntry& v : values.natalAndAnnual) {
    CountValue(counted, v);
    CountValue(withLuck, v);
  }
  CountValue(withLuck, values.luck);
  for (RelationTally& t : withLuck) {
    const bool allThree = t.tags.find(kAnnual) != Text::npos && t.tags.find(kLuck) != Text::npos &&
                          t.tags.find(kNatal) != Text::npos;
    if (allThree) counted.push_back(std::move(t));
  }
  return counted;
}

Text OrderedTags(TextView tags) {
  Text ordered;
  for (char16_t tag : kTagOrder) {
    if (tags.find(tag) != TextView::npos) ordered += tag;
  }
  return ordered;
}

// Appends each counted item to `small` (both counts below three, "、"
// between items) or to `large` (a count of three or more).
void SplitCountedItems(const std::vector<RelationTally>& counted, Text& small, Text& large) {
  bool firstSmall = true;
  for (const RelationTally& t : counted) {
    if (!IsSummaryCandidate(t)) continue;
    const Text item = CountedItem(t);
    if (item.empty()) continue;
    const Text tags = OrderedTags(t.tags);
    if (t.count1 >= 3 || t.count2 >= 3) {
      AppendSeparated(large, {u"[", tags, u"]", item});
    } else {
      if (!firstSmall) small += u"、";
      firstSmall = false;
      small.append(u"[").append(tags).append(u"]").append(item);
    }
  }
}

bool HasTag(TextView label, TextView tag) {
  return label.find(tag) != TextView::npos;
}

std::vector<TaggedEntry> AnnualBranchEntries(TextView annual, TextView luck,
                                             const std::array<TextView, 4>& natal) {
  std::vector<TaggedEntry> entries;
  entries.reserve(6);
  entries.push_back({Text(1, kLuck), Text(BranchOf(luck))});
  for (TextView pillar : natal) entries.push_back({Text(1, kNatal), Text(BranchOf(pillar))});
  entries.push_back({Text(1, kAnnual), Text(BranchOf(annual))});
  return entries;
}

std::vector<GroupPattern> WithAnnualLabel(std::vector<GroupPattern> patterns) {
  std::erase_if(patterns, [](const GroupPattern& p) { return !HasTag(p.label, Text(1, kAnnual)); });
  return patterns;
}

// A pair is left out when a group formed with the luck pillar holds both
// branches and its label carries both entries' tags.
bool SuppressedByGroup(const std::vector<GroupPattern>& patterns, const TaggedEntry& a,
                       const TaggedEntry& b) {
  for (const GroupPattern& p : patterns) {
    if (Contains(p.group, a.value) && Contains(p.group, b.value) && HasTag(p.label, a.tag) &&
        HasTag(p.label, b.tag) && HasTag(p.label, Text(1, kLuck))) {
      return true;
    }
  }
  return false;
}

}  // namespace

AnnualBranchTexts ChartEngine::AnnualBranchRelations(TextView annualPillar,
                                                     TextView luckPillar) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  const std::vector<TaggedEntry> entries = AnnualBranchEntries(annualPillar, luckPillar, natal);
  const std::vector<GroupPattern> patterns = WithAnnualLabel(FindSanHe(entries));

  AnnualBranchTexts texts;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      const TaggedEntry& a = entries[i];
      const TaggedEntry& b = entries[j];
      // Only pairs with the annual branch are listed.
      if (a.tag[0] != kAnnual && b.tag[0] != kAnnual) continue;
      if (SuppressedByGroup(patterns, a, b)) continue;
      const BranchRelationResult relation = BranchRelation(a.value, b.value);
      if (relation.name.empty()) continue;
      const TaggedEntry& first = relation.reversed ? b : a;
      const TaggedEntry& second = relation.reversed ? a : b;
      AppendSeparated(texts.pairs, {u"[", first.tag, second.tag, u"]", first.value, second.value,
                                    u"(", relation.name, u")"});
      AddTally(tallies, {first.value, 0, second.value, 0, Text(relation.name), {}});
    }
  }

  for (const GroupPattern& p : patterns) {
    AppendSeparated(texts.groups, {u"[", p.label, u"]", p.group, u"(三合)"});
  }
  for (const GroupPattern& p : WithAnnualLabel(FindSanHui(entries))) {
    AppendSeparated(texts.groups, {u"[", p.label, u"]", p.group, u"(三会)"});
  }
  const CountedValues values = MakeCountedValues(annualPillar, luckPillar, natal, BranchOf);
  SplitCountedItems(CountTagged(tallies, values), texts.summary, texts.groups);
  return texts;
}

AnnualStemTexts ChartEngine::AnnualStemRelations(TextView annualPillar, TextView luckPillar) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  const CountedValues values = MakeCountedValues(annualPillar, luckPillar, natal, StemOf);
  const Text& annual = values.natalAndAnnual.back().value;
  const std::array<const TaggedEntry*, 5> entries = {
      &values.luck, &values.natalAndAnnual[0], &values.natalAndAnnual[1], &values.natalAndAnnual[2],
      &values.natalAndAnnual[3]};

  AnnualStemTexts texts;
  std::vector<RelationTally> tallies;
  for (const TaggedEntry* e : entries) {
    Text text;
    const int r = StemRelation(e->value, annual, text);
    if (r == 0) continue;
    AppendSeparated(texts.main, {u"[岁", e->tag, u"]", text});
    // Side 1 is the controller, or the first stem of the combination pair.
    const bool annualFirst = r == 1 || r == 4;
    const Text& side1 = annualFirst ? annual : e->value;
    const Text& side2 = annualFirst ? e->value : annual;
    AddTally(tallies, {side1, 0, side2, 0, Text(r <= 2 ? u"克" : u"合"), {}});
  }
  if (!texts.main.empty()) texts.main += u' ';
  Text summary;
  SplitCountedItems(CountTagged(tallies, values), summary, texts.big);
  texts.main += summary;
  return texts;
}

Text ChartEngine::AnnualStrikeAndClash(TextView annualPillar, TextView luckPillar) const {
  const std::array<std::pair<TextView, TextView>, 5> entries = {{{u"运", luckPillar},
                                                                 {u"年", yearPillar},
                                                                 {u"月", monthPillar},
                                                                 {u"日", dayPillar},
                                                                 {u"时", hourPillar}}};
  Text out;
  for (const auto& [tag, pillar] : entries) {
    if (StrikeAndClash(annualPillar, pillar) > 0) {
      AppendSeparated(out, {u"[", tag, u"岁]", annualPillar, pillar, u"天克地冲"});
    }
  }
  return out;
}

}  // namespace xuanshu
