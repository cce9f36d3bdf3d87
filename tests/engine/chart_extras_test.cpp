#include "engine/chart_extras.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "calendar/cycle_names.h"
#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

TEST(CycleNames, PlaceRealPillarsInTheSixtyCycle) {
  struct Case {
    TextView pillar;
    int index;
    TextView naYin;
    TextView xun;
  };
  const Case cases[] = {
      {u"甲子", 0, u"海中金", u"甲子旬"},  {u"乙丑", 1, u"海中金", u"甲子旬"},
      {u"癸酉", 9, u"剑锋金", u"甲子旬"},  {u"甲戌", 10, u"山头火", u"甲戌旬"},
      {u"庚午", 6, u"路旁土", u"甲子旬"},  {u"辛巳", 17, u"白蜡金", u"甲戌旬"},
      {u"壬寅", 38, u"金箔金", u"甲午旬"}, {u"甲辰", 40, u"覆灯火", u"甲辰旬"},
      {u"戊申", 44, u"大驿土", u"甲辰旬"}, {u"癸亥", 59, u"大海水", u"甲寅旬"},
      {u"丙午", 42, u"天河水", u"甲辰旬"}, {u"甲寅", 50, u"大溪水", u"甲寅旬"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CycleIndex(c.pillar), c.index) << U8(c.pillar);
    EXPECT_EQ(U8(NaYinOf(c.pillar)), U8(c.naYin)) << U8(c.pillar);
    EXPECT_EQ(U8(XunOf(c.pillar)), U8(c.xun)) << U8(c.pillar);
  }
}

TEST(CycleNames, EveryPillarOfTheCycleAndNothingElse) {
  std::set<Text> naYin;
  for (int n = 0; n < 60; ++n) {
    const Text pillar = GanZhiName(n);
    ASSERT_EQ(CycleIndex(pillar), n) << U8(pillar);
    naYin.insert(Text(NaYinOf(pillar)));
  }
  EXPECT_EQ(naYin.size(), 30u) << "thirty names, one per pair";
  for (TextView notAPillar : {u"甲丑", u"乙子", u"", u"甲", u"甲子子", u"子甲", u"AB", u"甲 "}) {
    EXPECT_EQ(CycleIndex(notAPillar), std::nullopt) << U8(notAPillar);
    EXPECT_EQ(NaYinOf(notAPillar), u"") << U8(notAPillar);
    EXPECT_EQ(XunOf(notAPillar), u"") << U8(notAPillar);
  }
}

TEST(ChartExtras, WorkedExamples) {
  struct Case {
    const char* what;
    TextView year, month, day, hour;
    TextView taiYuan, taiXi, mingGong, shenGong;
  };
  const Case cases[] = {
      // 命宫: the first month on 子, back ten months to 寅 for the 子 month,
      // 子 hour there, forward three hours to 卯 -> 巳; a 甲 year starts at
      // 丙寅 -> 己巳. 身宫: forward ten to 戌, back nine hours to 酉 -> 丑, the
      // twelfth month -> 丁丑.
      {"子 month, 子 hour", u"甲子", u"丙子", u"壬午", u"庚子", u"丁卯", u"丁未", u"己巳", u"丁丑"},
      // 寅 month, 卯 hour: 命宫 stays on 子, the eleventh month of a 庚 year
      // (戊寅 first) -> 戊子; 身宫 from 子 back six hours to 酉 -> 午, 壬午.
      {"寅 month, 卯 hour", u"庚午", u"戊寅", u"乙丑", u"己卯", u"己巳", u"庚子", u"戊子", u"壬午"},
      // 辰 month, 酉 hour in a 癸 year (甲寅 first): 命宫 back two to 戌,
      // forward six hours to 卯 -> 辰, 丙辰; 身宫 forward two to 寅, already 酉
      // -> 甲寅.
      {"辰 month, 酉 hour", u"癸卯", u"丙辰", u"甲戌", u"癸酉", u"丁未", u"己卯", u"丙辰", u"甲寅"},
  };
  for (const Case& c : cases) {
    const ChartExtras extras = ChartExtrasOf(c.year, c.month, c.day, c.hour);
    EXPECT_EQ(U8(extras.taiYuan), U8(c.taiYuan)) << c.what;
    EXPECT_EQ(U8(extras.taiXi), U8(c.taiXi)) << c.what;
    EXPECT_EQ(U8(extras.mingGong), U8(c.mingGong)) << c.what;
    EXPECT_EQ(U8(extras.shenGong), U8(c.shenGong)) << c.what;
  }
}

TEST(ChartExtras, NeedRealPillars) {
  const ChartExtras none = ChartExtrasOf(u"", u"", u"", u"");
  EXPECT_EQ(none.taiYuan + none.taiXi + none.mingGong + none.shenGong, u"");
  EXPECT_EQ(TaiYuanOf(u"丙丑"), u"") << "丙丑 is no pillar";
  EXPECT_EQ(TaiXiOf(u"壬"), u"");
  EXPECT_EQ(MingGongOf(u"甲子", u"丙子", u"庚"), u"") << "the hour is missing";
  EXPECT_EQ(ShenGongOf(u"甲丑", u"丙子", u"庚子"), u"") << "the year is no pillar";
  EXPECT_EQ(U8(TaiXiOf(u"壬午")), U8(u"丁未")) << "only what a palace needs is checked";
}

// lunar-javascript's EightChar on a sample of births in both 子 schools: its
// pillars go in, its 纳音, 旬, 胎元, 胎息, 命宫 and 身宫 must come out.
TEST(ChartExtras, AgreeWithLunarJavascript) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "data" /
                   "lunar_javascript_extras.tsv");
  std::string line;
  int rows = 0;
  std::set<std::pair<Text, Text>> monthAndHourBranches;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.starts_with("year")) continue;
    std::istringstream fields(line);
    std::string skip, pillar[4], naYin[4], xun[4], extra[4], extraNaYin[4];
    for (int i = 0; i < 6; ++i) fields >> skip;
    for (auto* group : {pillar, naYin, xun, extra, extraNaYin}) {
      for (int i = 0; i < 4; ++i) fields >> group[i];
    }
    ASSERT_TRUE(fields) << "a short line: " << line;
    Text p[4];
    for (int i = 0; i < 4; ++i) {
      p[i] = FromUtf8(pillar[i]);
      EXPECT_EQ(U8(NaYinOf(p[i])), naYin[i]) << line;
      EXPECT_EQ(U8(XunOf(p[i])), xun[i] + "旬") << line;
    }
    const ChartExtras ours = ChartExtrasOf(p[0], p[1], p[2], p[3]);
    const Text values[4] = {ours.taiYuan, ours.taiXi, ours.mingGong, ours.shenGong};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(U8(values[i]), extra[i]) << "extra " << i << ": " << line;
      EXPECT_EQ(U8(NaYinOf(values[i])), extraNaYin[i]) << "extra " << i << ": " << line;
    }
    monthAndHourBranches.insert({Text(BranchOf(p[1])), Text(BranchOf(p[3]))});
    ++rows;
  }
  EXPECT_GT(rows, 700);
  EXPECT_EQ(monthAndHourBranches.size(), 144u) << "命宫 and 身宫 over every month and hour";
}

}  // namespace
}  // namespace xuanshu
