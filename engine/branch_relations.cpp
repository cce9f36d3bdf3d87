#include "engine/branch_relations.h"

#include <algorithm>
#include <array>

#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

struct BranchPairRelation {
  char16_t first;
  char16_t second;
  TextView name;
};

// Searched in this order; the first entry matching either way wins.
constexpr std::array<BranchPairRelation, 37> kBranchRelationTable = {{
    {u'子', u'丑', u"合"},        // 1
    {u'子', u'卯', u"无礼刑"},    // 2
    {u'子', u'辰', u"墓半合"},    // 3
    {u'子', u'午', u"冲"},        // 4
    {u'子', u'未', u"害"},        // 5
    {u'申', u'子', u"生半合"},    // 6
    {u'巳', u'丑', u"假半合"},    // 7
    {u'丑', u'午', u"害"},        // 8
    {u'丑', u'未', u"无恩刑冲"},  // 9
    {u'酉', u'丑', u"墓半合"},    // 10
    {u'丑', u'戌', u"无恩刑"},    // 11
    {u'寅', u'巳', u"持势刑害"},  // 12
    {u'寅', u'午', u"生半合"},    // 13
    {u'寅', u'申', u"持势刑冲"},  // 14
    {u'寅', u'戌', u"假半合"},    // 15
    {u'寅', u'亥', u"合"},        // 16
    {u'卯', u'辰', u"害"},        // 17
    {u'卯', u'未', u"墓半合"},    // 18
    {u'卯', u'酉', u"冲"},        // 19
    {u'卯', u'戌', u"合"},        // 20
    {u'亥', u'卯', u"生半合"},    // 21
    {u'辰', u'辰', u"自刑"},      // 22
    {u'申', u'辰', u"假半合"},    // 23
    {u'辰', u'酉', u"合"},        // 24
    {u'辰', u'戌', u"冲"},        // 25
    {u'巳', u'申', u"合持势刑"},  // 26
    {u'巳', u'酉', u"生半合"},    // 27
    {u'巳', u'亥', u"冲"},        // 28
    {u'午', u'午', u"自刑"},      // 29
    {u'午', u'未', u"合"},        // 30
    {u'午', u'戌', u"墓半合"},    // 31
    {u'未', u'戌', u"无恩刑"},    // 32
    {u'亥', u'未', u"假半合"},    // 33
    {u'申', u'亥', u"害"},        // 34
    {u'酉', u'酉', u"自刑"},      // 35
    {u'酉', u'戌', u"害"},        // 36
    {u'亥', u'亥', u"自刑"},      // 37
}};

using GroupTable = std::array<TextView, 4>;
constexpr GroupTable kSanHeGroups = {u"申子辰", u"亥卯未", u"寅午戌", u"巳酉丑"};
constexpr GroupTable kSanHuiGroups = {u"寅卯辰", u"巳午未", u"申酉戌", u"亥子丑"};

// The group finder relies on every group starting with a different branch.
constexpr bool FirstBranchesDistinct(const GroupTable& groups) {
  for (std::size_t i = 0; i < groups.size(); ++i) {
    for (std::size_t j = i + 1; j < groups.size(); ++j) {
      if (groups[i][0] == groups[j][0]) return false;
    }
  }
  return true;
}
static_assert(FirstBranchesDistinct(kSanHeGroups) && FirstBranchesDistinct(kSanHuiGroups));

// Only 岁 and 运 are looked for: 年 月 日 时 and 命 all count as natal.
TextView PatternLabel(const TaggedEntry& a, const TaggedEntry& b, const TaggedEntry& c) {
  const auto has = [&](char16_t tag) {
    return a.tag.find(tag) != Text::npos || b.tag.find(tag) != Text::npos ||
           c.tag.find(tag) != Text::npos;
  };
  const bool annual = has(u'岁');
  const bool luck = has(u'运');
  if (annual && luck) return u"岁运命";
  if (annual) return u"岁命命";
  if (luck) return u"运命命";
  return u"命命命";
}

void AddPattern(std::vector<GroupPattern>& patterns, TextView label, TextView group) {
  for (const GroupPattern& p : patterns) {
    if (p.label == label && p.group == group) return;
  }
  patterns.push_back({Text(label), Text(group)});
}

bool AllSingleCharacters(const std::vector<TaggedEntry>& entries) {
  for (const TaggedEntry& e : entries) {
    if (e.value.size() != 1) return false;
  }
  return true;
}

// Every ordering of every three entries (repeats included) is matched against
// each group, in loop order, so the patterns come out in order of discovery.
// Values that are not single characters are matched on the joined text.
std::vector<GroupPattern> FindGroupsByText(const std::vector<TaggedEntry>& entries,
                                           const GroupTable& groups) {
  std::vector<GroupPattern> patterns;
  for (const TaggedEntry& a : entries) {
    for (const TaggedEntry& b : entries) {
      for (const TaggedEntry& c : entries) {
        const Text joined = a.value + b.value + c.value;
        for (TextView group : groups) {
          if (joined == group) AddPattern(patterns, PatternLabel(a, b, c), group);
        }
      }
    }
  }
  return patterns;
}

// The same search for single-character values. Each group starts with its own
// branch, so the first entry of an ordering selects the only group it can
// complete and the discovery order is unchanged.
std::vector<GroupPattern> FindGroups(const std::vector<TaggedEntry>& entries,
                                     const GroupTable& groups) {
  if (!AllSingleCharacters(entries)) return FindGroupsByText(entries, groups);
  std::vector<GroupPattern> patterns;
  for (const TaggedEntry& a : entries) {
    const auto group =
        std::find_if(groups.begin(), groups.end(), [&](TextView g) { return g[0] == a.value[0]; });
    if (group == groups.end()) continue;
    for (const TaggedEntry& b : entries) {
      if (b.value[0] != (*group)[1]) continue;
      for (const TaggedEntry& c : entries) {
        if (c.value[0] == (*group)[2]) AddPattern(patterns, PatternLabel(a, b, c), *group);
      }
    }
  }
  return patterns;
}

}  // namespace

BranchRelationResult BranchRelation(TextView x, TextView y) {
  if (x.size() != 1 || y.size() != 1) return {};
  for (const BranchPairRelation& entry : kBranchRelationTable) {
    if (entry.first == x[0] && entry.second == y[0]) return {entry.name, false};
    if (entry.first == y[0] && entry.second == x[0]) return {entry.name, true};
  }
  return {};
}

std::vector<GroupPattern> FindSanHe(const std::vector<TaggedEntry>& entries) {
  return FindGroups(entries, kSanHeGroups);
}

std::vector<GroupPattern> FindSanHui(const std::vector<TaggedEntry>& entries) {
  return FindGroups(entries, kSanHuiGroups);
}

bool PairInGroup(const std::vector<GroupPattern>& patterns, TextView a, TextView b) {
  for (const GroupPattern& p : patterns) {
    if (Contains(p.group, a) && Contains(p.group, b)) return true;
  }
  return false;
}

void AppendSeparated(Text& out, std::initializer_list<TextView> parts) {
  if (!out.empty()) out += u"、";
  for (TextView part : parts) out += part;
}

void AddTally(std::vector<RelationTally>& tallies, RelationTally tally) {
  for (const RelationTally& t : tallies) {
    if (t.side1 == tally.side1 && t.side2 == tally.side2) return;
  }
  tallies.push_back(std::move(tally));
}

CountedPair RelationTally::Counted() const {
  return {side1, count1, side2, count2, word};
}

bool IsSummaryCandidate(const CountedPair& pair) {
  if (pair.count1 < 1 || pair.count2 < 1) return false;
  if (pair.count1 < 2 && pair.count2 < 2) return false;
  return !Contains(pair.word, u"半合") && !Contains(pair.word, u"三会");
}

bool HasCountedItem(const CountedPair& pair) {
  if (!IsSummaryCandidate(pair)) return false;
  // Self-punishment is only worth a summary from three alike branches on.
  return pair.word != u"自刑" || (pair.count1 >= 3 && pair.count2 >= 3);
}

void AppendCountedItem(Text& out, const CountedPair& pair) {
  out.append(NumeralWord(pair.count1)).append(pair.side1);
  if (pair.word == u"自刑") {
    out.append(u"自刑");
    return;
  }
  out.append(pair.word).append(NumeralWord(pair.count2)).append(pair.side2);
}

Text CountedItem(const RelationTally& tally) {
  Text item;
  if (HasCountedItem(tally.Counted())) AppendCountedItem(item, tally.Counted());
  return item;
}

Text MultiplicitySummary(std::vector<RelationTally>& tallies, const std::vector<Text>& values) {
  for (const Text& v : values) {
    for (RelationTally& t : tallies) {
      if (t.side1 == v) ++t.count1;
      if (t.side2 == v) ++t.count2;
    }
  }
  Text summary;
  for (const RelationTally& t : tallies) {
    if (!HasCountedItem(t.Counted())) continue;
    if (!summary.empty()) summary += u"、";
    AppendCountedItem(summary, t.Counted());
  }
  return summary;
}

}  // namespace xuanshu
