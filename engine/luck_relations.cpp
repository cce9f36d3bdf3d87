// Relations between each luck pillar (大运) and the natal pillars: branch
// relations, stem controls and combinations, and 天克地冲. Only relations
// that involve the luck pillar are listed; natal-only ones stay in shizhu.
#include <array>
#include <vector>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr TextView kLuckTag = u"运";
constexpr std::array<TextView, 4> kNatalTags = {u"年", u"月", u"日", u"时"};

void AppendSeparated(Text& out, std::initializer_list<TextView> parts) {
  if (!out.empty()) out += u"、";
  for (TextView part : parts) out += part;
}

// Entries of one luck step: the luck value tagged 运, then the natal values
// tagged 年 月 日 时. `part` picks the stem or the branch of each pillar.
template <typename Part>
std::vector<TaggedEntry> LuckEntries(TextView luckPillar, const std::array<TextView, 4>& natal,
                                     Part part) {
  std::vector<TaggedEntry> entries;
  entries.reserve(5);
  entries.push_back({Text(kLuckTag), Text(part(luckPillar))});
  for (std::size_t i = 0; i < natal.size(); ++i) {
    entries.push_back({Text(kNatalTags[i]), Text(part(natal[i]))});
  }
  return entries;
}

std::vector<Text> ValuesOf(const std::vector<TaggedEntry>& entries) {
  std::vector<Text> values;
  values.reserve(entries.size());
  for (const TaggedEntry& e : entries) values.push_back(e.value);
  return values;
}

Text LuckBranchText(TextView luckPillar, const std::array<TextView, 4>& natal) {
  const std::vector<TaggedEntry> entries = LuckEntries(luckPillar, natal, BranchOf);
  const Text& luck = entries.front().value;

  // Only groups formed with the luck branch belong to the luck text.
  std::vector<GroupPattern> groups = FindSanHe(entries);
  std::erase_if(groups, [](const GroupPattern& p) { return !Contains(p.label, kLuckTag); });

  Text out;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const TaggedEntry& n = entries[i];
    if (PairInGroup(groups, n.value, luck)) continue;
    const BranchRelationResult relation = BranchRelation(luck, n.value);
    if (relation.name.empty()) continue;
    const TextView first = relation.reversed ? TextView(n.value) : TextView(luck);
    const TextView second = relation.reversed ? TextView(luck) : TextView(n.value);
    AppendSeparated(out, {u"[运", n.tag, u"]", first, second, u"(", relation.name, u")"});
    AddTally(tallies, {Text(first), 0, Text(second), 0, Text(relation.name), {}});
  }
  for (const GroupPattern& p : groups) AppendSeparated(out, {p.group, u"(三合)"});
  for (const GroupPattern& p : FindSanHui(entries)) {
    if (Contains(p.label, kLuckTag)) AppendSeparated(out, {p.group, u"(三会)"});
  }
  if (!out.empty()) out += u' ';
  out += MultiplicitySummary(tallies, ValuesOf(entries));
  return out;
}

Text LuckStemText(TextView luckPillar, const std::array<TextView, 4>& natal) {
  const std::vector<TaggedEntry> entries = LuckEntries(luckPillar, natal, StemOf);
  const Text& luck = entries.front().value;

  Text out;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const TaggedEntry& n = entries[i];
    Text text;
    const int r = StemRelation(n.value, luck, text);
    if (r == 0) continue;
    AppendSeparated(out, {u"[运", n.tag, u"]", text});
    // Side 1 is the controller, or the first stem of the combination pair.
    const bool luckFirst = r == 1 || r == 4;
    const Text& side1 = luckFirst ? luck : n.value;
    const Text& side2 = luckFirst ? n.value : luck;
    AddTally(tallies, {side1, 0, side2, 0, Text(r <= 2 ? u"克" : u"合"), {}});
  }
  if (!out.empty()) out += u' ';
  out += MultiplicitySummary(tallies, ValuesOf(entries));
  return out;
}

Text LuckStrikeText(TextView luckPillar, const std::array<TextView, 4>& natal) {
  Text out;
  for (std::size_t i = 0; i < natal.size(); ++i) {
    if (StrikeAndClash(luckPillar, natal[i]) > 0) {
      AppendSeparated(out, {u"[", kNatalTags[i], u"运]", luckPillar, natal[i], u"天克地冲"});
    }
  }
  return out;
}

}  // namespace

void ChartEngine::LuckBranchRelations(ChartRecord& record) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  record.Set(u"dayunhcxh", u"count", Num(static_cast<long long>(luckPillars.size())));
  for (const Text& luck : luckPillars) record.Set(u"dayunhcxh", luck, LuckBranchText(luck, natal));
}

void ChartEngine::LuckStrikeAndClash(ChartRecord& record) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  for (const Text& luck : luckPillars) {
    const Text text = LuckStrikeText(luck, natal);
    if (!text.empty()) record.Set(u"dayuntkdc", luck, text);
  }
}

void ChartEngine::LuckStemRelations(ChartRecord& record) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  for (const Text& luck : luckPillars) {
    record.Set(u"dayuntiangankehe", luck, LuckStemText(luck, natal));
  }
}

}  // namespace xuanshu
