#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

using Natal = std::array<const char16_t*, 4>;  // year, month, day, hour pillars

ChartEngine NatalEngine(const Natal& natal) {
  ChartEngine engine;
  engine.yearPillar = natal[0];
  engine.monthPillar = natal[1];
  engine.dayPillar = natal[2];
  engine.hourPillar = natal[3];
  return engine;
}

struct BranchCase {
  const char* name;
  Natal natal;
  const char16_t* annual;
  const char16_t* luck;
  const char16_t* pairs;
  const char16_t* summary;
  const char16_t* groups;
};

TEST(AnnualBranchRelations, SortsItemsIntoPairSummaryAndGroupTexts) {
  const BranchCase cases[] = {
      {"natal 子 子, luck 子, annual 午: summarised without and again with the luck branch",
       {u"甲子", u"乙酉", u"丙子", u"丁酉"},
       u"庚午",
       u"戊子",
       u"[运岁]子午(冲)、[命岁]子午(冲)、[命岁]子午(冲)",
       u"[岁命]两子冲一午",
       u"[岁运命]三子冲一午"},
      {"three 辰 with the annual one: self-punishment lands in the group text",
       {u"甲辰", u"乙丑", u"丙辰", u"丁丑"},
       u"戊辰",
       u"己丑",
       u"[命岁]辰辰(自刑)、[命岁]辰辰(自刑)",
       u"",
       u"[岁命]三辰自刑"},
      {"one natal 辰 with the annual one: self-punishment without a summary",
       {u"甲辰", u"乙丑", u"丙寅", u"丁丑"},
       u"戊辰",
       u"己丑",
       u"[命岁]辰辰(自刑)",
       u"",
       u""},
      {"only pairs with the annual branch: natal-natal and luck-natal pairs are left out",
       {u"甲子", u"庚午", u"丙子", u"丁丑"},
       u"丙寅",
       u"辛未",
       u"[岁命]寅午(生半合)",
       u"",
       u""},
      {"annual 子 before natal 午 in table order",
       {u"甲午", u"乙酉", u"丁酉", u"己酉"},
       u"庚子",
       u"辛酉",
       u"[岁命]子午(冲)",
       u"",
       u""},
      {"a 岁命命 group does not suppress its pairs",
       {u"甲申", u"丙子", u"丁丑", u"己巳"},
       u"戊辰",
       u"庚午",
       u"[命岁]申辰(假半合)、[命岁]子辰(墓半合)",
       u"",
       u"[岁命命]申子辰(三合)"},
      {"a 岁运命 group suppresses the pairs inside it",
       {u"甲申", u"丁丑", u"丁丑", u"己巳"},
       u"戊辰",
       u"庚子",
       u"",
       u"",
       u"[岁运命]申子辰(三合)"},
      {"a 岁运命 group suppresses also a pair that did not form it",
       {u"甲申", u"丙子", u"丁丑", u"己巳"},
       u"戊辰",
       u"庚子",
       u"",
       u"",
       u"[岁运命]申子辰(三合)、[岁命命]申子辰(三合)"},
      {"directional group with the annual branch; natal-only groups stay out",
       {u"乙亥", u"丁卯", u"乙未", u"戊寅"},
       u"戊辰",
       u"庚午",
       u"[命岁]卯辰(害)",
       u"",
       u"[岁命命]寅卯辰(三会)"},
      {"nothing related: three empty texts",
       {u"甲子", u"丙子", u"戊子", u"庚子"},
       u"辛酉",
       u"癸亥",
       u"",
       u"",
       u""},
  };
  for (const BranchCase& c : cases) {
    const AnnualBranchTexts texts = NatalEngine(c.natal).AnnualBranchRelations(c.annual, c.luck);
    EXPECT_EQ(ToUtf8(texts.pairs), ToUtf8(c.pairs)) << c.name;
    EXPECT_EQ(ToUtf8(texts.summary), ToUtf8(c.summary)) << c.name;
    EXPECT_EQ(ToUtf8(texts.groups), ToUtf8(c.groups)) << c.name;
  }
}

struct StemCase {
  const char* name;
  Natal natal;
  const char16_t* annual;
  const char16_t* luck;
  const char16_t* main;
  const char16_t* big;
};

TEST(AnnualStemRelations, JoinsPairsAndSmallCountsAndMovesLargeCountsToBig) {
  const StemCase cases[] = {
      {"two counted items after the space, joined by 、 only between them",
       {u"庚子", u"庚子", u"壬子", u"壬子"},
       u"丁酉",
       u"甲子",
       u"[岁命]丁克庚、[岁命]丁克庚、[岁命]丁壬合、[岁命]丁壬合 [岁命]一丁克两庚、[岁命]一丁合两壬",
       u""},
      {"combination counted with the pair's first stem first",
       {u"甲子", u"甲子", u"丙子", u"丙子"},
       u"己酉",
       u"丙子",
       u"[岁命]甲己合、[岁命]甲己合 [岁命]两甲合一己",
       u""},
      {"same 庚 in luck and year: counted again with the luck stem",
       {u"甲子", u"甲子", u"戊子", u"戊子"},
       u"庚午",
       u"庚子",
       u"[岁命]庚克甲、[岁命]庚克甲 [岁命]一庚克两甲、[岁运命]两庚克两甲",
       u""},
      {"three 甲 move the counted item to big; main keeps its space",
       {u"甲子", u"甲子", u"甲子", u"戊子"},
       u"庚午",
       u"己巳",
       u"[岁命]庚克甲、[岁命]庚克甲、[岁命]庚克甲 ",
       u"[岁命]一庚克三甲"},
      {"luck stem related to the annual stem is listed first",
       {u"戊子", u"戊子", u"戊子", u"戊子"},
       u"庚午",
       u"丙子",
       u"[岁运]丙克庚 ",
       u""},
      {"nothing related: both empty",
       {u"甲子", u"甲子", u"甲子", u"甲子"},
       u"甲午",
       u"丙子",
       u"",
       u""},
  };
  for (const StemCase& c : cases) {
    const AnnualStemTexts texts = NatalEngine(c.natal).AnnualStemRelations(c.annual, c.luck);
    EXPECT_EQ(ToUtf8(texts.main), ToUtf8(c.main)) << c.name;
    EXPECT_EQ(ToUtf8(texts.big), ToUtf8(c.big)) << c.name;
  }
}

TEST(AnnualStrikeAndClash, TagsTheLuckOrNatalPillarBeforeTheAnnual) {
  const ChartEngine engine = NatalEngine({u"甲子", u"乙丑", u"壬子", u"丁酉"});
  EXPECT_EQ(ToUtf8(engine.AnnualStrikeAndClash(u"丙午", u"壬子")),
            ToUtf8(u"[运岁]丙午壬子天克地冲、[日岁]丙午壬子天克地冲"));
  EXPECT_EQ(ToUtf8(engine.AnnualStrikeAndClash(u"辛卯", u"戊辰")),
            ToUtf8(u"[时岁]辛卯丁酉天克地冲"))
      << "natal stem controlling the annual stem";
  EXPECT_EQ(engine.AnnualStrikeAndClash(u"甲午", u"甲子"), u"")
      << "clashing branches without a stem control";
}

// The annual finders written straight from their rules with the string-based
// relation machinery; the engine's index-based finders must agree with them
// on every input.
namespace reference {

void AppendItem(Text& out, TextView item) {
  if (!out.empty()) out += u"、";
  out += item;
}

bool HasTag(TextView text, TextView tag) {
  return text.find(tag) != TextView::npos;
}

void CountValues(std::vector<RelationTally>& tallies, const std::vector<TaggedEntry>& values) {
  for (const TaggedEntry& v : values) {
    for (RelationTally& t : tallies) {
      if (t.side1 == v.value) {
        ++t.count1;
        if (!HasTag(t.tags, v.tag)) t.tags += v.tag;
      }
      if (t.side2 == v.value) {
        ++t.count2;
        if (!HasTag(t.tags, v.tag)) t.tags += v.tag;
      }
    }
  }
}

// values: natal values tagged 命, then the annual value tagged 岁.
std::vector<RelationTally> CountTagged(const std::vector<RelationTally>& tallies,
                                       std::vector<TaggedEntry> values, const TaggedEntry& luck) {
  std::vector<RelationTally> p = tallies;
  std::vector<RelationTally> q = tallies;
  CountValues(p, values);
  values.push_back(luck);
  CountValues(q, values);
  for (const RelationTally& t : q) {
    if (HasTag(t.tags, u"岁") && HasTag(t.tags, u"运") && HasTag(t.tags, u"命")) p.push_back(t);
  }
  return p;
}

void Summarise(const std::vector<RelationTally>& counted, Text& small, Text& large) {
  for (const RelationTally& t : counted) {
    if (!IsSummaryCandidate(t.Counted())) continue;
    const Text item = CountedItem(t);
    if (item.empty()) continue;
    Text tags;
    for (TextView tag : {u"岁", u"运", u"命"}) {
      if (HasTag(t.tags, tag)) tags += tag;
    }
    AppendItem(t.count1 >= 3 || t.count2 >= 3 ? large : small, u"[" + tags + u"]" + item);
  }
}

std::vector<TaggedEntry> Counted(const Natal& natal, TextView annual, TextView (*part)(TextView)) {
  std::vector<TaggedEntry> values;
  for (const char16_t* pillar : natal) values.push_back({u"命", Text(part(pillar))});
  values.push_back({u"岁", Text(part(annual))});
  return values;
}

AnnualBranchTexts Branches(const Natal& natal, TextView annual, TextView luck) {
  std::vector<TaggedEntry> entries = {{u"运", Text(BranchOf(luck))}};
  for (const char16_t* pillar : natal) entries.push_back({u"命", Text(BranchOf(pillar))});
  entries.push_back({u"岁", Text(BranchOf(annual))});
  const auto withAnnual = [](std::vector<GroupPattern> patterns) {
    std::erase_if(patterns, [](const GroupPattern& p) { return !HasTag(p.label, u"岁"); });
    return patterns;
  };
  const std::vector<GroupPattern> patterns = withAnnual(FindSanHe(entries));

  AnnualBranchTexts texts;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      const TaggedEntry& a = entries[i];
      const TaggedEntry& b = entries[j];
      bool suppressed = false;
      for (const GroupPattern& p : patterns) {
        suppressed = suppressed ||
                     (Contains(p.group, a.value) && Contains(p.group, b.value) &&
                      HasTag(p.label, a.tag) && HasTag(p.label, b.tag) && HasTag(p.label, u"运"));
      }
      if (suppressed) continue;
      const BranchRelationResult relation = BranchRelation(a.value, b.value);
      if (relation.name.empty()) continue;
      if (a.tag != u"岁" && b.tag != u"岁") continue;
      const TaggedEntry& first = relation.reversed ? b : a;
      const TaggedEntry& second = relation.reversed ? a : b;
      AppendItem(texts.pairs, u"[" + first.tag + second.tag + u"]" + first.value + second.value +
                                  u"(" + Text(relation.name) + u")");
      AddTally(tallies, {first.value, 0, second.value, 0, Text(relation.name), {}});
    }
  }
  for (const GroupPattern& p : patterns) {
    AppendItem(texts.groups, u"[" + p.label + u"]" + p.group + u"(三合)");
  }
  for (const GroupPattern& p : withAnnual(FindSanHui(entries))) {
    AppendItem(texts.groups, u"[" + p.label + u"]" + p.group + u"(三会)");
  }
  Summarise(CountTagged(tallies, Counted(natal, annual, BranchOf), {u"运", Text(BranchOf(luck))}),
            texts.summary, texts.groups);
  return texts;
}

AnnualStemTexts Stems(const Natal& natal, TextView annual, TextView luck) {
  const Text a(StemOf(annual));
  std::vector<TaggedEntry> entries = {{u"运", Text(StemOf(luck))}};
  for (const char16_t* pillar : natal) entries.push_back({u"命", Text(StemOf(pillar))});
  AnnualStemTexts texts;
  std::vector<RelationTally> tallies;
  for (const TaggedEntry& e : entries) {
    Text text;
    const int r = StemRelation(e.value, a, text);
    if (r == 0) continue;
    AppendItem(texts.main, u"[岁" + e.tag + u"]" + text);
    const TextView word = r <= 2 ? u"克" : u"合";
    if (r == 1 || r == 4) {
      AddTally(tallies, {a, 0, e.value, 0, Text(word), {}});
    } else {
      AddTally(tallies, {e.value, 0, a, 0, Text(word), {}});
    }
  }
  if (!texts.main.empty()) texts.main += u" ";
  Text small;
  Summarise(CountTagged(tallies, Counted(natal, annual, StemOf), {u"运", Text(StemOf(luck))}),
            small, texts.big);
  texts.main += small;
  return texts;
}

Text StrikeAndClashes(const Natal& natal, TextView annual, TextView luck) {
  const std::array<TextView, 5> tags = {u"运", u"年", u"月", u"日", u"时"};
  const std::array<TextView, 5> pillars = {luck, natal[0], natal[1], natal[2], natal[3]};
  Text out;
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (StrikeAndClash(annual, pillars[i]) > 0) {
      AppendItem(
          out, Text(u"[") + Text(tags[i]) + u"岁]" + Text(annual) + Text(pillars[i]) + u"天克地冲");
    }
  }
  return out;
}

// The luck step's texts as first written, on tagged strings.
constexpr std::array<TextView, 4> kNatalTags = {u"年", u"月", u"日", u"时"};

std::vector<TaggedEntry> LuckEntries(const Natal& natal, TextView luck,
                                     TextView (*part)(TextView)) {
  std::vector<TaggedEntry> entries = {{u"运", Text(part(luck))}};
  for (std::size_t i = 0; i < natal.size(); ++i) {
    entries.push_back({Text(kNatalTags[i]), Text(part(natal[i]))});
  }
  return entries;
}

std::vector<Text> ValuesOf(const std::vector<TaggedEntry>& entries) {
  std::vector<Text> values;
  for (const TaggedEntry& e : entries) values.push_back(e.value);
  return values;
}

Text LuckBranches(const Natal& natal, TextView luckPillar) {
  const std::vector<TaggedEntry> entries = LuckEntries(natal, luckPillar, BranchOf);
  const Text& luck = entries.front().value;
  std::vector<GroupPattern> groups = FindSanHe(entries);
  std::erase_if(groups, [](const GroupPattern& p) { return !HasTag(p.label, u"运"); });
  Text out;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const TaggedEntry& n = entries[i];
    if (PairInGroup(groups, n.value, luck)) continue;
    const BranchRelationResult relation = BranchRelation(luck, n.value);
    if (relation.name.empty()) continue;
    const Text first = relation.reversed ? n.value : luck;
    const Text second = relation.reversed ? luck : n.value;
    AppendItem(out, u"[运" + n.tag + u"]" + first + second + u"(" + Text(relation.name) + u")");
    AddTally(tallies, {first, 0, second, 0, Text(relation.name), {}});
  }
  for (const GroupPattern& p : groups) AppendItem(out, p.group + u"(三合)");
  for (const GroupPattern& p : FindSanHui(entries)) {
    if (HasTag(p.label, u"运")) AppendItem(out, p.group + u"(三会)");
  }
  if (!out.empty()) out += u' ';
  return out + MultiplicitySummary(tallies, ValuesOf(entries));
}

Text LuckStems(const Natal& natal, TextView luckPillar) {
  const std::vector<TaggedEntry> entries = LuckEntries(natal, luckPillar, StemOf);
  const Text& luck = entries.front().value;
  Text out;
  std::vector<RelationTally> tallies;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const TaggedEntry& n = entries[i];
    Text text;
    const int r = StemRelation(n.value, luck, text);
    if (r == 0) continue;
    AppendItem(out, u"[运" + n.tag + u"]" + text);
    const bool luckFirst = r == 1 || r == 4;
    AddTally(tallies, {luckFirst ? luck : n.value,
                       0,
                       luckFirst ? n.value : luck,
                       0,
                       Text(r <= 2 ? u"克" : u"合"),
                       {}});
  }
  if (!out.empty()) out += u' ';
  return out + MultiplicitySummary(tallies, ValuesOf(entries));
}

}  // namespace reference

// Pillars from a narrow pool of stems and branches, so that groups, repeats
// and counts of three or more come up often; now and then a stem and branch
// of unlike polarity, or an empty text.
class PillarSource {
 public:
  explicit PillarSource(unsigned seed) : random_(seed) {}

  Text Next(int stemPool, int branchPool) {
    if (Pick(50) == 0) return Text();
    return {kStems[Pick(stemPool)], kBranches[Pick(branchPool)]};
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // The pools of the n-th chart: alternately wide and narrow; the narrow ones
  // repeat values often.
  void ChoosePools(int n) {
    stemPool_ = n % 2 == 0 ? 10 : 3 + Pick(3);
    branchPool_ = n % 2 == 0 ? 12 : 4 + Pick(5);
  }
  Text Next() { return Next(stemPool_, branchPool_); }

 private:
  std::mt19937 random_;
  int stemPool_ = 10;
  int branchPool_ = 12;
};

TEST(AnnualFinders, AgreeWithTheStringBasedRulesOnRandomCharts) {
  PillarSource source(20240611);
  int withGroups = 0, withSummary = 0, withBig = 0, withSuppression = 0;
  for (int n = 0; n < 20000; ++n) {
    source.ChoosePools(n);
    std::array<Text, 4> pillars;
    for (Text& p : pillars) p = source.Next();
    const Text annual = source.Next();
    const Text luck = source.Next();
    const Natal natal = {pillars[0].c_str(), pillars[1].c_str(), pillars[2].c_str(),
                         pillars[3].c_str()};
    const ChartEngine engine = NatalEngine(natal);
    const std::string label = ToUtf8(pillars[0] + u" " + pillars[1] + u" " + pillars[2] + u" " +
                                     pillars[3] + u" 岁" + annual + u" 运" + luck);

    const AnnualBranchTexts expected = reference::Branches(natal, annual, luck);
    const AnnualBranchTexts actual = engine.AnnualBranchRelations(annual, luck);
    ASSERT_EQ(ToUtf8(actual.pairs), ToUtf8(expected.pairs)) << label;
    ASSERT_EQ(ToUtf8(actual.summary), ToUtf8(expected.summary)) << label;
    ASSERT_EQ(ToUtf8(actual.groups), ToUtf8(expected.groups)) << label;
    const AnnualStemTexts expectedStems = reference::Stems(natal, annual, luck);
    const AnnualStemTexts actualStems = engine.AnnualStemRelations(annual, luck);
    ASSERT_EQ(ToUtf8(actualStems.main), ToUtf8(expectedStems.main)) << label;
    ASSERT_EQ(ToUtf8(actualStems.big), ToUtf8(expectedStems.big)) << label;
    ASSERT_EQ(ToUtf8(engine.AnnualStrikeAndClash(annual, luck)),
              ToUtf8(reference::StrikeAndClashes(natal, annual, luck)))
        << label;

    withGroups += expected.groups.find(u"岁运命]") != Text::npos;
    withSummary += !expected.summary.empty();
    withBig += !expectedStems.big.empty();
    withSuppression += Contains(expected.groups, u"(三合)") && expected.pairs.empty();
  }
  // The comparison must have met the interesting cases, not only empty texts.
  EXPECT_GT(withGroups, 200);
  EXPECT_GT(withSummary, 200);
  EXPECT_GT(withBig, 200);
  EXPECT_GT(withSuppression, 20);
}

TEST(LuckFinders, AgreeWithTheStringBasedRulesOnRandomCharts) {
  PillarSource source(20261208);
  int withGroups = 0, withSummary = 0;
  for (int n = 0; n < 20000; ++n) {
    source.ChoosePools(n);
    std::array<Text, 4> pillars;
    for (Text& p : pillars) p = source.Next();
    const Text luck = source.Next();
    const Natal natal = {pillars[0].c_str(), pillars[1].c_str(), pillars[2].c_str(),
                         pillars[3].c_str()};
    ChartEngine engine = NatalEngine(natal);
    engine.luckPillars = {luck};
    ChartRecord record;
    engine.LuckBranchRelations(record);
    engine.LuckStemRelations(record);
    const std::string label = ToUtf8(pillars[0] + u" " + pillars[1] + u" " + pillars[2] + u" " +
                                     pillars[3] + u" 运" + luck);

    const Text expected = reference::LuckBranches(natal, luck);
    ASSERT_EQ(ToUtf8(record.ReadString(u"dayunhcxh", luck)), ToUtf8(expected)) << label;
    ASSERT_EQ(ToUtf8(record.ReadString(u"dayuntiangankehe", luck)),
              ToUtf8(reference::LuckStems(natal, luck)))
        << label;
    withGroups += Contains(expected, u"(三合)") || Contains(expected, u"(三会)");
    withSummary += Contains(expected, u"两");
  }
  EXPECT_GT(withGroups, 200);
  EXPECT_GT(withSummary, 200);
}

}  // namespace
}  // namespace xuanshu
