#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

struct LuckCase {
  const char* name;
  std::array<const char16_t*, 4> natal;  // year, month, day, hour pillars
  const char16_t* luck;
  const char16_t* expected;
};

ChartEngine EngineWith(const std::array<const char16_t*, 4>& natal, std::vector<Text> luck) {
  ChartEngine engine;
  engine.yearPillar = natal[0];
  engine.monthPillar = natal[1];
  engine.dayPillar = natal[2];
  engine.hourPillar = natal[3];
  engine.luckPillars = std::move(luck);
  return engine;
}

std::vector<Text> KeysOf(const ChartRecord& record, TextView section) {
  std::vector<Text> keys;
  if (const ChartRecord::Section* s = record.FindSection(section)) {
    for (const auto& entry : s->entries()) keys.emplace_back(entry.key);
  }
  return keys;
}

TEST(LuckBranchRelations, ListsOnlyRelationsFormedWithTheLuckBranch) {
  const LuckCase cases[] = {
      {"辰 luck completes 申子辰 with year 申 and month 子: both pairs suppressed",
       {u"甲申", u"丙子", u"丁丑", u"己巳"},
       u"戊辰",
       u"申子辰(三合) "},
      {"natal-only 申子辰 stays out; only the luck pair is listed",
       {u"甲申", u"丙子", u"戊辰", u"己酉"},
       u"庚午",
       u"[运月]子午(冲) "},
      {"natal-only 寅卯辰 stays out; luck pairs are listed",
       {u"甲寅", u"丁卯", u"戊辰", u"己酉"},
       u"丙子",
       u"[运月]子卯(无礼刑)、[运日]子辰(墓半合) "},
      {"directional group formed with the luck branch does not suppress its pairs",
       {u"甲寅", u"丁卯", u"丁丑", u"己丑"},
       u"戊辰",
       u"[运月]卯辰(害)、寅卯辰(三会) "},
      {"luck branch counted with the natal ones: two 子 against one 午",
       {u"甲子", u"乙酉", u"丙子", u"丁酉"},
       u"庚午",
       u"[运年]子午(冲)、[运日]子午(冲) 两子冲一午"},
      {"three 辰 with the luck branch give the self-punishment summary",
       {u"甲辰", u"丙辰", u"丁丑", u"己丑"},
       u"戊辰",
       u"[运年]辰辰(自刑)、[运月]辰辰(自刑) 三辰自刑"},
      {"reversed table order: 午 luck, 寅 natal prints 寅午",
       {u"甲寅", u"乙酉", u"丁酉", u"己酉"},
       u"庚午",
       u"[运年]寅午(生半合) "},
      {"no relation at all: empty, no trailing space",
       {u"甲子", u"丙子", u"戊子", u"庚子"},
       u"辛酉",
       u""},
  };
  for (const LuckCase& c : cases) {
    const ChartEngine engine = EngineWith(c.natal, {c.luck});
    ChartRecord record;
    engine.LuckBranchRelations(record);
    EXPECT_EQ(ToUtf8(record.ReadString(u"dayunhcxh", c.luck)), ToUtf8(c.expected)) << c.name;
  }
}

TEST(LuckBranchRelations, WritesCountFirstThenEveryLuckPillarEvenWhenEmpty) {
  const std::vector<Text> luck = {u"丙寅", u"丁卯", u"戊辰", u"己巳", u"庚午",
                                  u"辛未", u"壬申", u"癸酉", u"甲戌"};
  const ChartEngine engine = EngineWith({u"甲子", u"甲子", u"甲子", u"甲子"}, luck);
  ChartRecord record;
  engine.LuckBranchRelations(record);
  std::vector<Text> expectedKeys = {u"count"};
  expectedKeys.insert(expectedKeys.end(), luck.begin(), luck.end());
  EXPECT_EQ(KeysOf(record, u"dayunhcxh"), expectedKeys);
  EXPECT_EQ(record.ReadString(u"dayunhcxh", u"count"), u"9");
  ASSERT_NE(record.Find(u"dayunhcxh", u"丙寅"), nullptr);
  EXPECT_EQ(*record.Find(u"dayunhcxh", u"丙寅"), u"") << "寅 has no relation with 子";

  const ChartEngine noLuck = EngineWith({u"甲子", u"甲子", u"甲子", u"甲子"}, {});
  ChartRecord empty;
  noLuck.LuckBranchRelations(empty);
  EXPECT_EQ(KeysOf(empty, u"dayunhcxh"), std::vector<Text>{u"count"});
  EXPECT_EQ(empty.ReadString(u"dayunhcxh", u"count"), u"0");
}

TEST(LuckStemRelations, PutsTheControllerOrTheFirstStemOfTheCombinationFirst) {
  const LuckCase cases[] = {
      {"甲 luck combines 己 hour: the pair's first stem 甲 leads the summary",
       {u"己丑", u"丙子", u"丙子", u"己丑"},
       u"甲午",
       u"[运年]甲己合、[运时]甲己合 一甲合两己"},
      {"己 luck with 甲 natal: still 甲 first",
       {u"甲子", u"甲子", u"丙子", u"丙子"},
       u"己巳",
       u"[运年]甲己合、[运月]甲己合 两甲合一己"},
      {"庚 luck controls two 甲",
       {u"甲子", u"戊子", u"甲子", u"戊子"},
       u"庚午",
       u"[运年]庚克甲、[运日]庚克甲 一庚克两甲"},
      {"natal 丙 controls the 庚 luck; one relation, no summary",
       {u"丙子", u"戊子", u"戊子", u"戊子"},
       u"庚午",
       u"[运年]丙克庚 "},
      {"乙 with 庚 combines rather than controls",
       {u"乙丑", u"戊子", u"戊子", u"戊子"},
       u"庚午",
       u"[运年]乙庚合 "},
      {"no relation: empty", {u"甲子", u"甲子", u"甲子", u"甲子"}, u"甲午", u""},
  };
  for (const LuckCase& c : cases) {
    const ChartEngine engine = EngineWith(c.natal, {c.luck});
    ChartRecord record;
    engine.LuckStemRelations(record);
    ASSERT_NE(record.Find(u"dayuntiangankehe", c.luck), nullptr) << c.name << ": always written";
    EXPECT_EQ(ToUtf8(*record.Find(u"dayuntiangankehe", c.luck)), ToUtf8(c.expected)) << c.name;
  }
}

TEST(LuckStrikeAndClash, WritesOnlyLuckPillarsWithAStrikeAndClash) {
  const ChartEngine engine =
      EngineWith({u"壬午", u"乙丑", u"壬午", u"丁酉"}, {u"丙子", u"丁丑", u"辛卯"});
  ChartRecord record;
  engine.LuckStrikeAndClash(record);
  EXPECT_EQ(ToUtf8(record.ReadString(u"dayuntkdc", u"丙子")),
            ToUtf8(u"[年运]丙子壬午天克地冲、[日运]丙子壬午天克地冲"));
  EXPECT_EQ(ToUtf8(record.ReadString(u"dayuntkdc", u"辛卯")), ToUtf8(u"[时运]辛卯丁酉天克地冲"))
      << "the natal stem controlling the luck stem counts too";
  EXPECT_EQ(record.Find(u"dayuntkdc", u"丁丑"), nullptr) << "no 天克地冲, no key";
  EXPECT_EQ(KeysOf(record, u"dayuntkdc"), (std::vector<Text>{u"丙子", u"辛卯"}));
}

}  // namespace
}  // namespace xuanshu
