// Whole charts computed through the driver. The expected values were worked
// out by hand from the calendar rules (day pillars counted from 2000-01-01 =
// 戊午, term moments from the closed term formula), not copied from output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

struct Birth {
  const char16_t* name;
  bool male;
  bool gregorian;
  int year, month, day, hour, minute;
  bool leap;
};

ChartRecord Compute(const Birth& b) {
  ChartRequest request;
  request.name = b.name;
  request.group = u"其他";
  request.male = b.male;
  request.gregorian = b.gregorian;
  request.year = b.year;
  request.month = b.month;
  request.day = b.day;
  request.hour = b.hour;
  request.minute = b.minute;
  request.leapMonth = b.leap;
  ChartEngine engine;
  ChartRecord record;
  EXPECT_TRUE(ComputeChartRecord(engine, request, record)) << ToUtf8(b.name);
  return record;
}

std::string Get(const ChartRecord& r, TextView section, TextView key) {
  const auto* v = r.Find(section, key);
  return v == nullptr ? "<missing>" : ToUtf8(*v);
}

std::vector<std::string> SectionNames(const ChartRecord& r) {
  std::vector<std::string> names;
  for (const auto& s : r.sections()) names.push_back(ToUtf8(s.name()));
  return names;
}

std::vector<std::string> KeyNames(const ChartRecord& r, TextView section) {
  std::vector<std::string> keys;
  if (const auto* s = r.FindSection(section)) {
    for (const auto& e : s->entries()) keys.push_back(ToUtf8(e.key));
  }
  return keys;
}

const std::vector<std::string> kFileOrderWithLuckClash = {
    "main",          "gongli",           "nongli",      "jieqi",         "shizhu",
    "dayun",         "minbiao",          "liunian",     "yunqian",       "dayunhcxh",
    "dayuntkdc",     "dayuntiangankehe", "liunianhcxh", "shishenfenshu", "fenshu",
    "liushenfenshu", "tijian",           "ShiZhuTKDC",  "DYTKDC",        "ALLTKDC"};

std::vector<std::string> ExpectedSections(const ChartRecord& r) {
  std::vector<std::string> expected = kFileOrderWithLuckClash;
  if (!r.HasSection(u"dayuntkdc")) std::erase(expected, "dayuntkdc");
  return expected;
}

// 男, 1990-05-15 10:30: 庚午 辛巳 庚辰 辛巳; yang year stem and a man run
// forward: 31515 minutes to 芒种 = 7 years 3 months 16 days 6 hours.
TEST(WholeChart, ManBornIn1990RunsForward) {
  const ChartRecord r = Compute({u"甲", true, true, 1990, 5, 15, 10, 30, false});
  EXPECT_EQ(SectionNames(r), ExpectedSections(r));
  EXPECT_EQ(KeyNames(r, u"main"), (std::vector<std::string>{"name", "class", "sex"}));
  EXPECT_EQ(Get(r, u"main", u"sex"), "男");
  EXPECT_EQ(Get(r, u"gongli", u"minute"), "30");
  EXPECT_EQ(Get(r, u"jieqi", u"before"), "立夏 1990:05:06:03:02");
  EXPECT_EQ(Get(r, u"jieqi", u"after"), "芒种 1990:06:06:07:45");
  EXPECT_EQ(KeyNames(r, u"shizhu"),
            (std::vector<std::string>{"year", "yearcg", "month", "monthcg", "day", "daycg", "hour",
                                      "hourcg", "shishen", "kongwan", "wangshuai", "hcxh", "anhe",
                                      "tiangankehe", "tiankedichong", "yongshen"}));
  EXPECT_EQ(Get(r, u"shizhu", u"year"), "庚午");
  EXPECT_EQ(Get(r, u"shizhu", u"month"), "辛巳");
  EXPECT_EQ(Get(r, u"shizhu", u"day"), "庚辰");
  EXPECT_EQ(Get(r, u"shizhu", u"hour"), "辛巳");
  EXPECT_EQ(Get(r, u"shizhu", u"yearcg"), "丁　正官/己　正印/");
  EXPECT_EQ(Get(r, u"shizhu", u"shishen"), "比肩/劫财/日主/劫财/");
  EXPECT_EQ(Get(r, u"shizhu", u"kongwan"), "申酉");
  EXPECT_EQ(Get(r, u"shizhu", u"wangshuai"), "沐浴/长生/养/长生/");
  EXPECT_EQ(Get(r, u"shizhu", u"hcxh"), "");
  EXPECT_EQ(Get(r, u"shizhu", u"anhe"), "[月日]辰巳(戊癸 乙庚)、[时日]辰巳(戊癸 乙庚)");
  EXPECT_EQ(Get(r, u"shizhu", u"tiangankehe"), "");
  EXPECT_EQ(Get(r, u"shizhu", u"tiankedichong"), "");
  EXPECT_EQ(Get(r, u"shizhu", u"yongshen"), "壬、甲、丁");

  EXPECT_EQ(Get(r, u"dayun", u"yearAfter"), "7");
  EXPECT_EQ(Get(r, u"dayun", u"monthAfter"), "3");
  EXPECT_EQ(Get(r, u"dayun", u"dayAfter"), "16");
  EXPECT_EQ(Get(r, u"dayun", u"hourAfter"), "6");
  EXPECT_EQ(Get(r, u"dayun", u"yearBegin"), "1997");
  EXPECT_EQ(Get(r, u"dayun", u"monthBegin"), "8");
  EXPECT_EQ(Get(r, u"dayun", u"dayBegin"), "31");
  EXPECT_EQ(Get(r, u"dayun", u"hourBegin"), "16");
  EXPECT_EQ(Get(r, u"minbiao", u"dayun"), "壬午/癸未/甲申/乙酉/丙戌/丁亥/戊子/己丑/庚寅/");
  EXPECT_EQ(Get(r, u"liunian", u"age1"), "8");
  EXPECT_EQ(Get(r, u"liunian", u"yearEnd9"), "2086");
  EXPECT_EQ(Get(r, u"yunqian", u"birth"), "1990");
  EXPECT_EQ(Get(r, u"yunqian", u"liunian"), "庚午/辛未/壬申/癸酉/甲戌/乙亥/丙子/");

  // Month 巳: 日干 15; 正官 午丁 40; 偏官 巳丙 32 ×2; 正印 午己 20; 偏印 巳戊 14 ×2 + 辰戊 36;
  // 劫财 辛 15 ×2; 比肩 庚 15 + 巳庚 3.5 ×2; 伤官 辰癸 1.5; 正财 辰乙 9.
  EXPECT_EQ(Get(r, u"fenshu", u"日干"), "15");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"正官"), "40");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"偏官"), "64");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"正印"), "20");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"偏印"), "64");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"劫财"), "30");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"比肩"), "22");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"伤官"), "1.5");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"食神"), "0");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"正财"), "9");
  EXPECT_EQ(Get(r, u"shishenfenshu", u"偏财"), "0");
  EXPECT_EQ(Get(r, u"liushenfenshu", u"伤食"), "1.5");
  EXPECT_EQ(Get(r, u"fenshu", u"tongdang"), "151");
  EXPECT_EQ(Get(r, u"fenshu", u"yidang"), "114.5");
  EXPECT_EQ(Get(r, u"fenshu", u"rizhufenshu"), "身旺");

  // 庚 4 (two stems, two in 巳), 戊 3, 丙 2, 辛 2, 乙 丁 己 癸 1.
  const std::vector<std::string> counts = {"0", "1", "2", "1", "3", "1", "4", "2", "0", "1"};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Get(r, u"tijian", u"keyfenshu" + Num(i + 1)), counts[i]) << "entry " << i + 1;
  }

  EXPECT_EQ(Get(r, u"ShiZhuTKDC", u"庚午"), "甲子（2044） 丙子（2056）");
  EXPECT_EQ(Get(r, u"ShiZhuTKDC", u"辛巳"), "乙亥（2055） 丁亥（2007，2067）");
  EXPECT_EQ(Get(r, u"ShiZhuTKDC", u"庚辰"), "甲戌（2054） 丙戌（2006，2066）");
  EXPECT_EQ(KeyNames(r, u"ShiZhuTKDC"), (std::vector<std::string>{"庚午", "辛巳", "庚辰"}))
      << "the month and hour pillars are equal and share one key";
  EXPECT_EQ(Get(r, u"ALLTKDC", u"sztkdc"), "2006/2007/2044/2054/2055/2056/2066/2067/");
  EXPECT_EQ(Get(r, u"liunianhcxh", u"yearBegin"), "1997");
  EXPECT_EQ(Get(r, u"liunianhcxh", u"yearEnd"), "2086");
  EXPECT_EQ(Get(r, u"liunianhcxh", u"2086sybl"), "");
}

// 女, 1985-11-03 16:45: 乙丑 丙戌 丙午 丙申; a yin year stem and a woman run
// forward: 5880 minutes to 立冬 = 1 year 4 months 10 days.
TEST(WholeChart, WomanBornInYinYearRunsForward) {
  const ChartRecord r = Compute({u"乙", false, true, 1985, 11, 3, 16, 45, false});
  EXPECT_EQ(SectionNames(r), ExpectedSections(r));
  EXPECT_EQ(Get(r, u"main", u"sex"), "女");
  EXPECT_EQ(Get(r, u"jieqi", u"before"), "寒露 1985:10:08:16:17");
  EXPECT_EQ(Get(r, u"jieqi", u"after"), "立冬 1985:11:07:18:45");
  EXPECT_EQ(Get(r, u"shizhu", u"year") + Get(r, u"shizhu", u"month") + Get(r, u"shizhu", u"day") +
                Get(r, u"shizhu", u"hour"),
            "乙丑丙戌丙午丙申");
  EXPECT_EQ(Get(r, u"dayun", u"yearAfter") + "/" + Get(r, u"dayun", u"monthAfter") + "/" +
                Get(r, u"dayun", u"dayAfter") + "/" + Get(r, u"dayun", u"hourAfter"),
            "1/4/10/0");
  EXPECT_EQ(Get(r, u"dayun", u"yearBegin") + "-" + Get(r, u"dayun", u"monthBegin") + "-" +
                Get(r, u"dayun", u"dayBegin") + " " + Get(r, u"dayun", u"hourBegin"),
            "1987-3-13 16");
  EXPECT_EQ(Get(r, u"minbiao", u"dayun"), "丁亥/戊子/己丑/庚寅/辛卯/壬辰/癸巳/甲午/乙未/");
  EXPECT_EQ(Get(r, u"liunian", u"age1"), "3");
  EXPECT_EQ(Get(r, u"yunqian", u"liunian"), "乙丑/丙寅/");
  EXPECT_EQ(Get(r, u"shizhu", u"yongshen"), "壬、庚、甲");
}

// 男, lunar 1987 闰六月初十 08:00 = 1987-08-04: 丁卯 丁未 乙酉 庚辰; a yin year
// stem and a man run backward: 39309 minutes since 小暑 = 9 years 1 month 5 days 18 hours.
TEST(WholeChart, LunarLeapMonthBirthRunsBackward) {
  const ChartRecord r = Compute({u"闰", true, false, 1987, 6, 10, 8, 0, true});
  EXPECT_EQ(SectionNames(r), ExpectedSections(r));
  EXPECT_EQ(Get(r, u"gongli", u"year") + "-" + Get(r, u"gongli", u"month") + "-" +
                Get(r, u"gongli", u"day"),
            "1987-8-4");
  EXPECT_EQ(Get(r, u"nongli", u"month") + "/" + Get(r, u"nongli", u"day") + "/" +
                Get(r, u"nongli", u"leep"),
            "6/10/1");
  EXPECT_EQ(Get(r, u"jieqi", u"before"), "小暑 1987:07:08:00:50");
  EXPECT_EQ(Get(r, u"jieqi", u"after"), "立秋 1987:08:08:10:30");
  EXPECT_EQ(Get(r, u"shizhu", u"year") + Get(r, u"shizhu", u"month") + Get(r, u"shizhu", u"day") +
                Get(r, u"shizhu", u"hour"),
            "丁卯丁未乙酉庚辰");
  EXPECT_EQ(Get(r, u"dayun", u"yearBegin") + "-" + Get(r, u"dayun", u"monthBegin") + "-" +
                Get(r, u"dayun", u"dayBegin") + " " + Get(r, u"dayun", u"hourBegin"),
            "1996-9-10 2");
  EXPECT_EQ(Get(r, u"minbiao", u"dayun"), "丙午/乙巳/甲辰/癸卯/壬寅/辛丑/庚子/己亥/戊戌/");
  EXPECT_EQ(Get(r, u"yunqian", u"liunian"), "丁卯/戊辰/己巳/庚午/辛未/壬申/癸酉/甲戌/乙亥/");
}

// 女, 2000-12-31 23:30, late 子 hour: the pillars are those of 2001-01-01
// (庚辰 戊子 甲子 甲子) while gongli keeps the 31st; the terms are found
// from the clock date itself.
TEST(WholeChart, LateZiHourTakesTheNextDay) {
  const ChartRecord r = Compute({u"子", false, true, 2000, 12, 31, 23, 30, false});
  EXPECT_EQ(SectionNames(r), ExpectedSections(r));
  EXPECT_EQ(Get(r, u"gongli", u"day"), "31");
  EXPECT_EQ(Get(r, u"gongli", u"hour"), "23");
  EXPECT_EQ(Get(r, u"nongli", u"year") + "/" + Get(r, u"nongli", u"month") + "/" +
                Get(r, u"nongli", u"day") + "/" + Get(r, u"nongli", u"leep"),
            "2000/12/7/0");
  EXPECT_EQ(Get(r, u"jieqi", u"before"), "大雪 2000:12:07:02:13");
  EXPECT_EQ(Get(r, u"jieqi", u"after"), "小寒 2001:01:05:13:10");
  EXPECT_EQ(Get(r, u"shizhu", u"year") + Get(r, u"shizhu", u"month") + Get(r, u"shizhu", u"day") +
                Get(r, u"shizhu", u"hour"),
            "庚辰戊子甲子甲子");
  EXPECT_EQ(Get(r, u"shizhu", u"hcxh"), "子辰(墓半合)、子辰(墓半合)、子辰(墓半合) ");
  EXPECT_EQ(Get(r, u"shizhu", u"anhe"), "[年日]子辰(戊癸)");
  EXPECT_EQ(Get(r, u"shizhu", u"tiangankehe"),
            "[年日]庚克甲、[年时]庚克甲、[月日]甲克戊、[月时]甲克戊 一庚克两甲、两甲克一戊");
  EXPECT_EQ(Get(r, u"shizhu", u"kongwan"), "戌亥");
  // 35836 minutes since 大雪 = 8 years 3 months 16 days 8 hours, added to 2000-12-31 23h.
  EXPECT_EQ(Get(r, u"dayun", u"yearBegin") + "-" + Get(r, u"dayun", u"monthBegin") + "-" +
                Get(r, u"dayun", u"dayBegin") + " " + Get(r, u"dayun", u"hourBegin"),
            "2009-4-17 7");
  EXPECT_EQ(Get(r, u"minbiao", u"dayun"), "丁亥/丙戌/乙酉/甲申/癸未/壬午/辛巳/庚辰/己卯/");
  EXPECT_EQ(Get(r, u"liunian", u"age1"), "10");
}

// 男, 1984-02-04 21:30, 38 minutes before 立春 (22:08): still 癸亥 year and 乙丑
// month, but the birth counts as after the term: "before" names 立春 itself.
TEST(WholeChart, BirthInTheHourBefore立春) {
  const ChartRecord r = Compute({u"春", true, true, 1984, 2, 4, 21, 30, false});
  EXPECT_EQ(SectionNames(r), ExpectedSections(r));
  EXPECT_EQ(Get(r, u"jieqi", u"before"), "立春 1984:02:04:22:08");
  EXPECT_EQ(Get(r, u"jieqi", u"after"), "惊蛰 1984:03:05:16:38");
  EXPECT_EQ(Get(r, u"shizhu", u"year") + Get(r, u"shizhu", u"month") + Get(r, u"shizhu", u"day") +
                Get(r, u"shizhu", u"hour"),
            "癸亥乙丑戊辰癸亥");
  // Backward from 38 minutes: 3 days 4 hours; 21h + 4h overflows into the 8th.
  EXPECT_EQ(Get(r, u"dayun", u"yearAfter") + "/" + Get(r, u"dayun", u"monthAfter") + "/" +
                Get(r, u"dayun", u"dayAfter") + "/" + Get(r, u"dayun", u"hourAfter"),
            "0/0/3/4");
  EXPECT_EQ(Get(r, u"dayun", u"yearBegin") + "-" + Get(r, u"dayun", u"monthBegin") + "-" +
                Get(r, u"dayun", u"dayBegin") + " " + Get(r, u"dayun", u"hourBegin"),
            "1984-2-8 1");
  EXPECT_EQ(Get(r, u"minbiao", u"dayun"), "甲子/癸亥/壬戌/辛酉/庚申/己未/戊午/丁巳/丙辰/");
  EXPECT_EQ(Get(r, u"liunian", u"age1"), "1");
  EXPECT_EQ(Get(r, u"yunqian", u"liunian"), "") << "luck starts in the first nominal year";
  EXPECT_EQ(Get(r, u"yunqian", u"birth"), "1984");
}

TEST(WholeChart, RecomputingReplacesTheWholeRecord) {
  ChartEngine engine;
  ChartRequest a;
  a.name = u"x";
  a.group = u"其他";
  a.year = 1990, a.month = 5, a.day = 15, a.hour = 10, a.minute = 30;
  ChartRecord first, second;
  ASSERT_TRUE(ComputeChartRecord(engine, a, first));
  ChartRequest b = a;
  b.year = 1984, b.month = 2, b.day = 4, b.hour = 21;
  ASSERT_TRUE(ComputeChartRecord(engine, b, second));
  ChartEngine fresh;
  ChartRecord direct;
  ASSERT_TRUE(ComputeChartRecord(fresh, b, direct));
  EXPECT_EQ(ToUtf8(second.Serialize()), ToUtf8(direct.Serialize()))
      << "a reused engine carries nothing over from the previous chart";
}

}  // namespace
}  // namespace xuanshu
