#include <array>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

struct HiddenCombinationEntry {
  char16_t first;
  char16_t second;
  TextView text;  // the stem combinations formed by the two branches' hidden stems
};

// Searched in this order; some entries list the later branch first (申子),
// and the output always follows the entry.
constexpr std::array<HiddenCombinationEntry, 31> kHiddenCombinationTable = {{
    {u'子', u'寅', u"(戊癸)"},                // 1
    {u'子', u'戌', u"(戊癸)"},                // 2
    {u'子', u'巳', u"(戊癸)"},                // 3
    {u'子', u'辰', u"(戊癸)"},                // 4
    {u'丑', u'寅', u"全合(甲己 丙辛 戊癸)"},  // 5
    {u'丑', u'亥', u"(甲己)"},                // 6
    {u'丑', u'戌', u"(戊癸)"},                // 7
    {u'丑', u'巳', u"(戊癸 丙辛)"},           // 8
    {u'丑', u'辰', u"(戊癸)"},                // 9
    {u'丑', u'申', u"(戊癸)"},                // 10
    {u'寅', u'戌', u"(丙辛)"},                // 11
    {u'寅', u'酉', u"(丙辛)"},                // 12
    {u'寅', u'未', u"(甲己)"},                // 13
    {u'寅', u'午', u"(甲己)"},                // 14
    {u'寅', u'辰', u"(戊癸)"},                // 15
    {u'卯', u'巳', u"(乙庚)"},                // 16
    {u'辰', u'辰', u"(戊癸)"},                // 17
    {u'辰', u'戌', u"(戊癸)"},                // 18
    {u'辰', u'巳', u"(戊癸 乙庚)"},           // 19
    {u'巳', u'戌', u"(丙辛)"},                // 20
    {u'巳', u'酉', u"(丙辛)"},                // 21
    {u'午', u'亥', u"全合(甲己 丁壬)"},       // 22
    {u'午', u'申', u"(丁壬)"},                // 23
    {u'未', u'巳', u"(乙庚)"},                // 24
    {u'未', u'申', u"(丁壬 乙庚)"},           // 25
    {u'未', u'亥', u"(甲己 丁壬)"},           // 26
    {u'申', u'子', u"(戊癸)"},                // 27
    {u'申', u'辰', u"(戊癸 乙庚)"},           // 28
    {u'申', u'卯', u"(乙庚)"},                // 29
    {u'申', u'戌', u"(丁壬)"},                // 30
    {u'戌', u'亥', u"(丁壬)"},                // 31
}};

// The first entry pairing the two branches either way, named in table order
// (e.g. 子寅(戊癸)); empty when they form no hidden combination.
Text HiddenCombination(TextView a, TextView b) {
  Text out;
  if (a.size() != 1 || b.size() != 1) return out;
  for (const HiddenCombinationEntry& entry : kHiddenCombinationTable) {
    const bool forward = entry.first == a[0] && entry.second == b[0];
    const bool backward = entry.first == b[0] && entry.second == a[0];
    if (forward || backward) {
      out += entry.first;
      out += entry.second;
      out += entry.text;
      return out;
    }
  }
  return out;
}

struct NatalEntry {
  TextView tag;
  TextView value;
};

using NatalEntries = std::array<NatalEntry, 4>;

template <typename Part>
NatalEntries NatalParts(const ChartEngine& engine, Part part) {
  return {{{u"年", part(engine.yearPillar)},
           {u"月", part(engine.monthPillar)},
           {u"日", part(engine.dayPillar)},
           {u"时", part(engine.hourPillar)}}};
}

// For a control side 1 is the controller; for a combination it is the second
// stem of the pair (己 庚 辛 壬 癸).
RelationTally StemTally(int relation, TextView first, TextView second) {
  const TextView word = relation <= 2 ? TextView(u"克") : TextView(u"合");
  const bool secondLeads = relation == 1 || relation == 3;
  const TextView side1 = secondLeads ? second : first;
  const TextView side2 = secondLeads ? first : second;
  return {Text(side1), 0, Text(side2), 0, Text(word), {}};
}

}  // namespace

Text ChartEngine::NatalHiddenCombinations() const {
  const TextView dayBranch = BranchOf(dayPillar);
  const std::array<NatalEntry, 3> others = {{{u"年日", BranchOf(yearPillar)},
                                             {u"月日", BranchOf(monthPillar)},
                                             {u"时日", BranchOf(hourPillar)}}};
  Text out;
  for (const NatalEntry& other : others) {
    const Text text = HiddenCombination(other.value, dayBranch);
    if (text.empty()) continue;
    if (!out.empty()) out += u"、";
    out.append(u"[").append(other.tag).append(u"]").append(text);
  }
  return out;
}

Text ChartEngine::NatalStemRelations() const {
  const NatalEntries stems = NatalParts(*this, StemOf);
  Text out;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 0; i < stems.size(); ++i) {
    for (std::size_t j = i + 1; j < stems.size(); ++j) {
      Text text;
      const int relation = StemRelation(stems[i].value, stems[j].value, text);
      if (relation == 0) continue;
      if (!out.empty()) out += u"、";
      out.append(u"[").append(stems[i].tag).append(stems[j].tag).append(u"]").append(text);
      AddTally(tallies, StemTally(relation, stems[i].value, stems[j].value));
    }
  }
  if (!out.empty()) out += u' ';
  std::vector<Text> values;
  values.reserve(stems.size());
  for (const NatalEntry& e : stems) values.emplace_back(e.value);
  out += MultiplicitySummary(tallies, values);
  return out;
}

Text ChartEngine::NatalStrikeAndClash() const {
  const NatalEntries pillars = NatalParts(*this, [](const Text& p) { return TextView(p); });
  Text out;
  for (std::size_t i = 0; i < pillars.size(); ++i) {
    for (std::size_t j = i + 1; j < pillars.size(); ++j) {
      if (StrikeAndClash(pillars[i].value, pillars[j].value) == 0) continue;
      if (!out.empty()) out += u"、";
      out.append(u"[命命").append(pillars[i].tag).append(pillars[j].tag).append(u"]");
      out.append(pillars[i].value).append(pillars[j].value);
    }
  }
  return out;
}

}  // namespace xuanshu
