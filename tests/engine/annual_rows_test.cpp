#include "engine/annual_rows.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr TextView kSection = u"liunianhcxh";

TEST(MonthStemString, StartsFromTheTigerMonthByTheYearStem) {
  const struct {
    const char16_t* pillars[2];
    const char16_t* stems;
  } rows[] = {
      {{u"甲子", u"己巳"}, u"丙丁戊己庚辛壬癸甲乙丙丁"},
      {{u"乙丑", u"庚午"}, u"戊己庚辛壬癸甲乙丙丁戊己"},
      {{u"丙寅", u"辛未"}, u"庚辛壬癸甲乙丙丁戊己庚辛"},
      {{u"丁卯", u"壬申"}, u"壬癸甲乙丙丁戊己庚辛壬癸"},
      {{u"戊辰", u"癸酉"}, u"甲乙丙丁戊己庚辛壬癸甲乙"},
  };
  for (const auto& row : rows) {
    for (const char16_t* pillar : row.pillars) {
      EXPECT_EQ(ToUtf8(MonthStemString(pillar)), ToUtf8(row.stems)) << ToUtf8(pillar);
    }
  }
  EXPECT_EQ(MonthStemString(u"甲"), u"") << "shorter than a pillar";
  EXPECT_EQ(MonthStemString(u""), u"");
}

TEST(LuckCoincidenceText, NeedsTheSameStemAndTheSameBranch) {
  EXPECT_EQ(LuckCoincidenceText(u"癸酉", u"癸酉"), u"岁运并临");
  EXPECT_EQ(LuckCoincidenceText(u"癸亥", u"癸酉"), u"") << "same stem only";
  EXPECT_EQ(LuckCoincidenceText(u"乙酉", u"癸酉"), u"") << "same branch only";
}

// Born 1980, luck from 1985 with 癸酉 first, natal 甲子 丙寅 戊辰 庚申.
ChartEngine SampleEngine() {
  ChartEngine engine;
  engine.year = 1980;
  engine.yearBegin = 1985;
  engine.yearPillar = u"甲子";
  engine.monthPillar = u"丙寅";
  engine.dayPillar = u"戊辰";
  engine.hourPillar = u"庚申";
  engine.luckPillars = {u"癸酉", u"甲戌", u"乙亥", u"丙子", u"丁丑",
                        u"戊寅", u"己卯", u"庚辰", u"辛巳"};
  return engine;
}

TEST(WriteAnnualRows, WritesSixKeysForEveryYearFromTheLuckStartInOrder) {
  ChartEngine engine = SampleEngine();
  ChartRecord record;
  engine.WriteAnnualRows(record);

  std::vector<Text> expected = {u"yearBegin", u"yearEnd"};
  for (int y = 1985; y <= 2074; ++y) {
    for (TextView suffix : {u"", u"sybl", u"tkdc", u"tgkh", u"hcxh", u"big"}) {
      expected.push_back(Num(y) + Text(suffix));
    }
  }
  const ChartRecord::Section* section = record.FindSection(kSection);
  ASSERT_NE(section, nullptr);
  std::vector<Text> keys;
  for (const auto& entry : section->entries()) keys.emplace_back(entry.key);
  EXPECT_EQ(keys, expected) << "every key of every year, even when empty";
  EXPECT_EQ(record.ReadString(kSection, u"yearBegin"), u"1985");
  EXPECT_EQ(record.ReadString(kSection, u"yearEnd"), u"2074") << "Y0 + 89";

  for (int y = 1985; y <= 2074; ++y) {
    const Text big = record.ReadString(kSection, Num(y) + u"big", kLongReadCapacity);
    EXPECT_FALSE(StartsWith(big, u"、")) << y;
    EXPECT_FALSE(!big.empty() && big.back() == u'、') << y;
    const bool clash = !record.ReadString(kSection, Num(y) + u"tkdc").empty();
    EXPECT_EQ(engine.annualClashSet.count(y) == 1, clash) << y;
  }
}

TEST(WriteAnnualRows, MarksTheYearWhosePillarEqualsTheRunningLuckPillar) {
  ChartEngine engine = SampleEngine();
  ChartRecord record;
  engine.WriteAnnualRows(record);
  const struct {
    int year;
    const char16_t* sybl;
  } rows[] = {
      {1993, u"14岁,岁运并临"},  // 癸酉 under 癸酉
      {1985, u""},               // 乙丑 under 癸酉
      {1994, u""},               // 甲戌 under 癸酉: only the next pillar is 甲戌
      {1995, u""},               // 乙亥 under 甲戌
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ToUtf8(record.ReadString(kSection, Num(row.year) + u"sybl")), ToUtf8(row.sybl))
        << row.year;
  }

  ChartEngine bornInLuckStart = SampleEngine();
  bornInLuckStart.year = 1984;
  bornInLuckStart.yearBegin = 1984;
  bornInLuckStart.luckPillars = {u"甲子"};
  ChartRecord first;
  bornInLuckStart.WriteAnnualRows(first);
  EXPECT_EQ(ToUtf8(first.ReadString(kSection, u"1984sybl")), ToUtf8(u"1岁,岁运并临"))
      << "the birth year counts as age 1";
}

TEST(WriteAnnualRows, CombinesTheRelationTextsOfOneYear) {
  ChartEngine engine = SampleEngine();
  ChartRecord record;
  engine.WriteAnnualRows(record);
  // 1993 癸酉 under 癸酉: 酉酉 with the luck branch, 辰酉 with the day branch;
  // 癸 controls 丙 and combines with 戊, counted again with the luck 癸.
  EXPECT_EQ(ToUtf8(record.ReadString(kSection, u"1993")),
            ToUtf8(u"癸酉 甲乙丙丁戊己庚辛壬癸甲乙 [运岁]酉酉(自刑)、[命岁]辰酉(合)"));
  EXPECT_EQ(ToUtf8(record.ReadString(kSection, u"1993tgkh")),
            ToUtf8(u"[岁命]癸克丙、[岁命]戊癸合 [岁运命]两癸克一丙、[岁运命]一戊合两癸"));
  EXPECT_EQ(record.ReadString(kSection, u"1993tkdc"), u"");
  EXPECT_EQ(ToUtf8(record.ReadString(kSection, u"1993hcxh")), ToUtf8(u"[岁运命]一辰合两酉"))
      << "辰酉 counted again with the luck 酉";
  EXPECT_EQ(record.ReadString(kSection, u"1993big"), u"");
  EXPECT_EQ(engine.annualClashSet.count(1993), 0u);

  // 2034 甲寅 under 丁丑 strikes the 庚申 hour.
  EXPECT_EQ(ToUtf8(record.ReadString(kSection, u"2034tkdc")), ToUtf8(u"[时岁]甲寅庚申天克地冲"));
  EXPECT_EQ(engine.annualClashSet.count(2034), 1u);
}

TEST(WriteAnnualRows, BigHoldsTheBranchGroupsFirstThenTheLargeStemCounts) {
  ChartEngine engine;
  engine.year = 1980;
  engine.yearBegin = 1990;
  engine.yearPillar = u"甲寅";
  engine.monthPillar = u"甲戌";
  engine.dayPillar = u"甲子";
  engine.hourPillar = u"戊辰";
  engine.luckPillars = {u"己巳"};
  ChartRecord record;
  engine.WriteAnnualRows(record);
  // 1990 庚午: 寅午戌 with the annual 午, and 庚 against three 甲.
  EXPECT_EQ(ToUtf8(record.ReadString(kSection, u"1990big")),
            ToUtf8(u"[岁命命]寅午戌(三合)、[岁命]一庚克三甲"));
  EXPECT_EQ(ToUtf8(record.ReadString(kSection, u"1990tgkh")),
            ToUtf8(u"[岁命]庚克甲、[岁命]庚克甲、[岁命]庚克甲 "));
  EXPECT_EQ(
      ToUtf8(record.ReadString(kSection, u"1990")),
      ToUtf8(
          u"庚午 戊己庚辛壬癸甲乙丙丁戊己 [命岁]寅午(生半合)、[岁命]午戌(墓半合)、[命岁]子午(冲)"));
  EXPECT_EQ(record.ReadString(kSection, u"yearEnd"), u"1999");
}

TEST(WriteAnnualRows, WithoutLuckPillarsWritesOnlyTheRange) {
  ChartEngine engine = SampleEngine();
  engine.luckPillars.clear();
  ChartRecord record;
  engine.WriteAnnualRows(record);
  ASSERT_NE(record.FindSection(kSection), nullptr);
  EXPECT_EQ(record.FindSection(kSection)->entries().size(), 2u);
  EXPECT_EQ(record.ReadString(kSection, u"yearEnd"), u"1984");
  EXPECT_TRUE(engine.annualClashSet.empty());
}

}  // namespace
}  // namespace xuanshu
