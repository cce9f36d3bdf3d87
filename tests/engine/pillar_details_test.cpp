#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
namespace {

struct HiddenStemsCase {
  TextView dayStem, branch, expected;
};

TEST(HiddenStemsText, EveryHiddenStemWithItsTenGodEndsWithSlash) {
  const HiddenStemsCase cases[] = {
      {u"甲", u"丑", u"己　正财/癸　正印/辛　正官/"},
      {u"甲", u"卯", u"乙　劫财/"},
      {u"戊", u"寅", u"甲　偏官/丙　偏印/戊　比肩/"},
      {u"癸", u"亥", u"壬　劫财/甲　伤官/"},
      {u"甲", u"x", u"癸　正印/"},  // not a branch: read as 子
  };
  for (const HiddenStemsCase& c : cases) {
    EXPECT_EQ(ToUtf8(HiddenStemsText(c.dayStem, c.branch)), ToUtf8(c.expected))
        << ToUtf8(c.dayStem) << ToUtf8(c.branch);
  }
  EXPECT_EQ(HiddenStemsText(u"甲", u"丑").find(u' '), Text::npos)
      << "the blank is the ideographic space";
}

struct StageCase {
  TextView stem, branch, stage;
};

TEST(GrowthStage, YangStemsRunForwardYinStemsBackward) {
  const StageCase cases[] = {
      {u"甲", u"亥", u"长生"}, {u"甲", u"卯", u"帝旺"}, {u"甲", u"午", u"死"},
      {u"甲", u"酉", u"胎"},   {u"乙", u"午", u"长生"}, {u"乙", u"巳", u"沐浴"},
      {u"辛", u"子", u"长生"}, {u"辛", u"亥", u"沐浴"}, {u"丁", u"酉", u"长生"},
      {u"丁", u"申", u"沐浴"}, {u"丁", u"未", u"冠带"}, {u"庚", u"辰", u"养"},
      {u"癸", u"寅", u"沐浴"}, {u"壬", u"未", u"养"},
  };
  for (const StageCase& c : cases) {
    EXPECT_EQ(ToUtf8(GrowthStage(c.stem, c.branch)), ToUtf8(c.stage))
        << ToUtf8(c.stem) << " at " << ToUtf8(c.branch);
  }
}

TEST(GrowthStage, EarthStemsShareTheFireStemsCycle) {
  for (int branch = 0; branch < 12; ++branch) {
    EXPECT_EQ(GrowthStage(4, branch), GrowthStage(2, branch)) << "戊/丙 at branch " << branch;
    EXPECT_EQ(GrowthStage(5, branch), GrowthStage(3, branch)) << "己/丁 at branch " << branch;
  }
}

TEST(VoidBranches, TheTwoBranchesLeftOverByThePillarsDecade) {
  const std::pair<TextView, TextView> cases[] = {
      {u"甲子", u"戌亥"}, {u"甲戌", u"申酉"}, {u"甲寅", u"子丑"},
      {u"癸亥", u"子丑"}, {u"戊辰", u"戌亥"}, {u"甲午", u"辰巳"},
  };
  for (const auto& [pillar, expected] : cases) {
    EXPECT_EQ(ToUtf8(VoidBranches(pillar.substr(0, 1), pillar.substr(1))), ToUtf8(expected))
        << ToUtf8(pillar);
  }
}

using Keys = std::vector<std::pair<TextView, TextView>>;

// The section's keys in order, each with its value.
void ExpectKeys(const ChartRecord::Section& section, const Keys& expected, const char* label) {
  ASSERT_EQ(section.entries().size(), expected.size()) << label;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(ToUtf8(section.entries()[i].key), ToUtf8(expected[i].first))
        << label << ", position " << i;
    EXPECT_EQ(ToUtf8(section.entries()[i].value), ToUtf8(expected[i].second))
        << label << ", key " << ToUtf8(expected[i].first);
  }
}

struct ChartCase {
  const char* label;
  TextView year, month, day, hour;
  Keys expected;
};

TEST(WritePillarDetails, WritesSectionShizhuCompleteInKeyOrder) {
  const ChartCase cases[] = {
      {"甲子 丙寅 戊辰 庚申: 三合 suppresses its pairs, 天克地冲 between month and hour",
       u"甲子",
       u"丙寅",
       u"戊辰",
       u"庚申",
       {{u"year", u"甲子"},
        {u"yearcg", u"癸　正财/"},
        {u"month", u"丙寅"},
        {u"monthcg", u"甲　偏官/丙　偏印/戊　比肩/"},
        {u"day", u"戊辰"},
        {u"daycg", u"戊　比肩/癸　正财/乙　正官/"},
        {u"hour", u"庚申"},
        {u"hourcg", u"庚　食神/壬　偏财/戊　比肩/"},
        {u"shishen", u"偏官/偏印/日主/食神/"},
        {u"kongwan", u"戌亥"},
        {u"wangshuai", u"胎/长生/冠带/病/"},
        {u"hcxh", u"寅申(持势刑冲)、申子辰(三合) "},
        {u"anhe", u"[年日]子辰(戊癸)、[月日]寅辰(戊癸)、[时日]申辰(戊癸 乙庚)"},
        {u"tiangankehe", u"[年日]甲克戊、[年时]庚克甲、[月时]丙克庚 "},
        {u"tiankedichong", u"[命命月时]丙寅庚申"},
        {u"yongshen", u"癸、庚、甲、丙"}}},
      {"辛亥 己卯 甲午 癸酉: yin stems, single hidden stems, 全合",
       u"辛亥",
       u"己卯",
       u"甲午",
       u"癸酉",
       {{u"year", u"辛亥"},
        {u"yearcg", u"壬　偏印/甲　比肩/"},
        {u"month", u"己卯"},
        {u"monthcg", u"乙　劫财/"},
        {u"day", u"甲午"},
        {u"daycg", u"丁　伤官/己　正财/"},
        {u"hour", u"癸酉"},
        {u"hourcg", u"辛　正官/"},
        {u"shishen", u"正官/正财/日主/正印/"},
        {u"kongwan", u"辰巳"},
        {u"wangshuai", u"长生/帝旺/死/胎/"},
        {u"hcxh", u"亥卯(生半合)、卯酉(冲) "},
        {u"anhe", u"[年日]午亥全合(甲己 丁壬)"},
        {u"tiangankehe", u"[年日]辛克甲、[月日]甲己合、[月时]己克癸 "},
        {u"tiankedichong", u"[命命月时]己卯癸酉"},
        {u"yongshen", u"庚、丁、癸、戊"}}},
      {"甲子 甲子 甲子 甲子: empty relation texts are still written",
       u"甲子",
       u"甲子",
       u"甲子",
       u"甲子",
       {{u"year", u"甲子"},
        {u"yearcg", u"癸　正印/"},
        {u"month", u"甲子"},
        {u"monthcg", u"癸　正印/"},
        {u"day", u"甲子"},
        {u"daycg", u"癸　正印/"},
        {u"hour", u"甲子"},
        {u"hourcg", u"癸　正印/"},
        {u"shishen", u"比肩/比肩/日主/比肩/"},
        {u"kongwan", u"戌亥"},
        {u"wangshuai", u"沐浴/沐浴/沐浴/沐浴/"},
        {u"hcxh", u""},
        {u"anhe", u""},
        {u"tiangankehe", u""},
        {u"tiankedichong", u""},
        {u"yongshen", u"庚、丁、癸、戊"}}},
  };
  for (const ChartCase& c : cases) {
    ChartEngine engine;
    engine.yearPillar = c.year;
    engine.monthPillar = c.month;
    engine.dayPillar = c.day;
    engine.hourPillar = c.hour;
    ChartRecord record;
    engine.WritePillarDetails(record);
    ASSERT_EQ(record.sections().size(), 1u) << c.label;
    const ChartRecord::Section& section = record.sections().front();
    EXPECT_EQ(section.name(), u"shizhu") << c.label;
    ExpectKeys(section, c.expected, c.label);
  }
}

struct BirthCase {
  const char* label;
  int year, month, day, hour, minute;
  Keys expected;
};

// Day pillars counted from 1900-01-01, a 甲戌 day; 2000-01-01 lies 36524 days later.
TEST(WritePillarDetails, WholeChartFromTheBirthMoment) {
  const BirthCase cases[] = {
      {"2000-01-01 12:00, before 小寒 and 立春: 己卯 year, 丙子 month",
       2000,
       1,
       1,
       12,
       0,
       {{u"year", u"己卯"},
        {u"yearcg", u"乙　正官/"},
        {u"month", u"丙子"},
        {u"monthcg", u"癸　正财/"},
        {u"day", u"戊午"},
        {u"daycg", u"丁　正印/己　劫财/"},
        {u"hour", u"戊午"},
        {u"hourcg", u"丁　正印/己　劫财/"},
        {u"shishen", u"劫财/偏印/日主/比肩/"},
        {u"kongwan", u"子丑"},
        {u"wangshuai", u"沐浴/胎/帝旺/帝旺/"},
        {u"hcxh", u"子卯(无礼刑)、子午(冲)、子午(冲)、午午(自刑) 一子冲两午"},
        {u"anhe", u""},
        {u"tiangankehe", u""},
        {u"tiankedichong", u""},
        {u"yongshen", u"癸、庚、甲、丙"}}},
      {"2000-01-01 23:30, late 子 hour: the next day's 己未 with its 甲子 hour",
       2000,
       1,
       1,
       23,
       30,
       {{u"year", u"己卯"},
        {u"yearcg", u"乙　偏官/"},
        {u"month", u"丙子"},
        {u"monthcg", u"癸　偏财/"},
        {u"day", u"己未"},
        {u"daycg", u"己　比肩/丁　偏印/乙　偏官/"},
        {u"hour", u"甲子"},
        {u"hourcg", u"癸　偏财/"},
        {u"shishen", u"比肩/正印/日主/正官/"},
        {u"kongwan", u"子丑"},
        {u"wangshuai", u"病/绝/冠带/绝/"},
        {u"hcxh",
         u"子卯(无礼刑)、卯未(墓半合)、子卯(无礼刑)、子未(害)、子未(害) "
         u"两子无礼刑一卯、两子害一未"},
        {u"anhe", u""},
        {u"tiangankehe", u"[年时]甲己合、[日时]甲己合 两己合一甲"},
        {u"tiankedichong", u""},
        {u"yongshen", u"癸、庚、甲、丙"}}},
  };
  for (const BirthCase& c : cases) {
    ChartRequest request;
    request.name = u"test";
    request.year = c.year;
    request.month = c.month;
    request.day = c.day;
    request.hour = c.hour;
    request.minute = c.minute;
    ChartEngine engine;
    ChartRecord record;
    ASSERT_TRUE(ComputeChartRecord(engine, request, record)) << c.label;
    const ChartRecord::Section* section = record.FindSection(u"shizhu");
    ASSERT_NE(section, nullptr) << c.label;
    ExpectKeys(*section, c.expected, c.label);
  }
}

}  // namespace
}  // namespace xuanshu
