#include <array>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
namespace {

constexpr TextView kSection = u"shizhu";

// "<year god>/<month god>/日主/<hour god>/": the day stem is the reference itself.
Text VisibleTenGods(TextView dayStem, TextView yearStem, TextView monthStem, TextView hourStem) {
  Text out;
  out.append(TenGodOf(dayStem, yearStem)).append(u"/");
  out.append(TenGodOf(dayStem, monthStem)).append(u"/");
  out.append(u"日主/");
  out.append(TenGodOf(dayStem, hourStem)).append(u"/");
  return out;
}

Text GrowthStages(TextView dayStem, const std::array<TextView, 4>& branches) {
  Text out;
  for (TextView branch : branches) out.append(GrowthStage(dayStem, branch)).append(u"/");
  return out;
}

}  // namespace

void ChartEngine::WritePillarDetails(ChartRecord& record) {
  const TextView dayStem = StemOf(dayPillar);
  const std::array<TextView, 4> pillars = {yearPillar, monthPillar, dayPillar, hourPillar};
  const std::array<TextView, 4> keys = {u"year", u"month", u"day", u"hour"};
  const std::array<TextView, 4> hiddenKeys = {u"yearcg", u"monthcg", u"daycg", u"hourcg"};
  std::array<TextView, 4> branches;
  for (std::size_t i = 0; i < pillars.size(); ++i) {
    branches[i] = BranchOf(pillars[i]);
    record.Set(kSection, keys[i], pillars[i]);
    record.Set(kSection, hiddenKeys[i], HiddenStemsText(dayStem, branches[i]));
  }
  record.Set(kSection, u"shishen",
             VisibleTenGods(dayStem, StemOf(yearPillar), StemOf(monthPillar), StemOf(hourPillar)));
  record.Set(kSection, u"kongwan", VoidBranches(dayStem, BranchOf(dayPillar)));
  record.Set(kSection, u"wangshuai", GrowthStages(dayStem, branches));
  record.Set(kSection, u"hcxh", NatalBranchRelations());
  record.Set(kSection, u"anhe", NatalHiddenCombinations());
  record.Set(kSection, u"tiangankehe", NatalStemRelations());
  record.Set(kSection, u"tiankedichong", NatalStrikeAndClash());
  record.Set(kSection, u"yongshen", UsefulGodText());
}

Text ChartEngine::NatalBranchRelations() const {
  const std::vector<TaggedEntry> entries = {{u"年", Text(BranchOf(yearPillar))},
                                            {u"月", Text(BranchOf(monthPillar))},
                                            {u"日", Text(BranchOf(dayPillar))},
                                            {u"时", Text(BranchOf(hourPillar))}};
  const std::vector<GroupPattern> sanHe = FindSanHe(entries);
  Text out;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      const Text& a = entries[i].value;
      const Text& b = entries[j].value;
      // Relations inside a three-harmony group are not listed separately.
      if (PairInGroup(sanHe, a, b)) continue;
      const BranchRelationResult relation = BranchRelation(a, b);
      if (relation.name.empty()) continue;
      const Text& first = relation.reversed ? b : a;
      const Text& second = relation.reversed ? a : b;
      if (!out.empty()) out += u"、";
      out.append(first).append(second).append(u"(").append(relation.name).append(u")");
      AddTally(tallies, {first, 0, second, 0, Text(relation.name), {}});
    }
  }
  for (const GroupPattern& p : sanHe) {
    if (!out.empty()) out += u"、";
    out.append(p.group).append(u"(三合)");
  }
  for (const GroupPattern& p : FindSanHui(entries)) {
    if (!out.empty()) out += u"、";
    out.append(p.group).append(u"(三会)");
  }
  // The space separates the listing from its summary and stays even when no summary follows.
  if (!out.empty()) out += u' ';
  std::vector<Text> values;
  values.reserve(entries.size());
  for (const TaggedEntry& e : entries) values.push_back(e.value);
  out += MultiplicitySummary(tallies, values);
  return out;
}

}  // namespace xuanshu
