#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr long long kYear = 4320, kMonth = 360, kDay = 12;  // minutes of distance

std::string Utf8(const TextView* value) {
  return value == nullptr ? "<missing>" : ToUtf8(*value);
}

std::string DayunValue(const ChartRecord& record, TextView key) {
  return Utf8(record.Find(u"dayun", key));
}

// A man born in a yang year: luck runs forward on minutesAfter.
ChartEngine ForwardBirth(int y, int m, int d, int h, long long minutes) {
  ChartEngine engine;
  engine.year = y, engine.month = m, engine.day = d, engine.hour = h;
  engine.male = true;
  engine.yearPillar = u"甲子";
  engine.minutesAfter = minutes;
  engine.minutesBefore = 999999;  // must not be used
  return engine;
}

TEST(LuckStart, DirectionFollowsSexAndYearStemPolarity) {
  struct Case {
    const char* name;
    const char16_t* yearPillar;
    bool male;
    const char16_t* firstLuck;
    int yearAfter;
  };
  const Case cases[] = {
      {"man, 甲 year: forward on the next term", u"甲子", true, u"丁卯/", 2},
      {"woman, 甲 year: backward on the previous term", u"甲子", false, u"乙丑/", 5},
      {"woman, 乙 year: forward", u"乙丑", false, u"丁卯/", 2},
      {"man, 乙 year: backward", u"乙丑", true, u"乙丑/", 5},
  };
  for (const Case& c : cases) {
    ChartEngine engine;
    engine.year = 1990, engine.month = 3, engine.day = 1, engine.hour = 12;
    engine.yearPillar = c.yearPillar;
    engine.monthPillar = u"丙寅";
    engine.dayPillar = u"甲子";
    engine.male = c.male;
    engine.minutesAfter = 2 * kYear;
    engine.minutesBefore = 5 * kYear;
    ChartRecord record;
    engine.WriteLuckStart(record);
    engine.WriteLuckPillars(record);
    EXPECT_EQ(engine.yearAfter, c.yearAfter) << c.name;
    EXPECT_TRUE(StartsWith(record.ReadString(u"minbiao", u"dayun"), c.firstLuck)) << c.name;
  }
}

TEST(LuckStart, SplitsTheDistanceAtThreeDaysPerYear) {
  struct Case {
    const char* name;
    long long minutes;
    int years, months, days, hours;
  };
  const Case cases[] = {
      {"zero distance", 0, 0, 0, 0, 0},
      {"one minute short of a year", 4319, 0, 11, 29, 22},
      {"exactly one year", 4320, 1, 0, 0, 0},
      {"mixed", 3 * kYear + 5 * kMonth + 7 * kDay + 4, 3, 5, 7, 8},
      {"one minute is two hours", 1, 0, 0, 0, 2},
  };
  for (const Case& c : cases) {
    ChartEngine engine = ForwardBirth(2001, 5, 10, 8, c.minutes);
    ChartRecord record;
    engine.WriteLuckStart(record);
    EXPECT_EQ(DayunValue(record, u"yearAfter"), std::to_string(c.years)) << c.name;
    EXPECT_EQ(DayunValue(record, u"monthAfter"), std::to_string(c.months)) << c.name;
    EXPECT_EQ(DayunValue(record, u"dayAfter"), std::to_string(c.days)) << c.name;
    EXPECT_EQ(DayunValue(record, u"hourAfter"), std::to_string(c.hours)) << c.name;
  }
}

TEST(LuckStart, AddsTheDurationToTheBirthWithCalendarCarry) {
  struct Case {
    const char* name;
    int y, m, d, h;
    long long minutes;
    int startY, startM, startD, startH;
  };
  const Case cases[] = {
      {"zero distance starts at the birth itself", 2001, 5, 10, 8, 0, 2001, 5, 10, 8},
      // 31 Jan + 1 month 5 days: M = 2, D = 36; 36 - 28 = 8 March.
      {"31 Jan + 1m5d, common year", 2001, 1, 31, 8, kMonth + 5 * kDay, 2001, 3, 8, 8},
      // Same in a leap year: 36 - 29 = 7 March.
      {"31 Jan + 1m5d, leap year", 2000, 1, 31, 8, kMonth + 5 * kDay, 2000, 3, 7, 8},
      // Hour 23 + 2 = 25 -> hour 1 of the next day.
      {"hour 23 + 2 hours", 2001, 5, 10, 23, 1, 2001, 5, 11, 1},
      // Hour 22 + 2 = 24 -> hour 0 of the next day.
      {"hour 22 + 2 hours", 2001, 5, 10, 22, 1, 2001, 5, 11, 0},
      // 31 Jan + 1 month 29 days: M = 2, D = 60; 60 - 28 (Feb) = 32 in March;
      // 32 - 31 (Mar) = 1 April, not "32 March".
      {"31 Jan + 1m29d carries through two months", 2001, 1, 31, 8, kMonth + 29 * kDay, 2001, 4, 1,
       8},
      // 31 Jan + 1 month 25 days, hour 22 + 2: M = 2, D = 56; 56 - 28 = 28 March;
      // the hour overflow gives 29 March, which March holds (not 1 April).
      {"31 Jan + 1m25d with hour overflow", 2001, 1, 31, 22, kMonth + 25 * kDay + 1, 2001, 3, 29,
       0},
      // 31 Oct 2001 + 1 month 29 days, hour 23 + 2: M = 11, D = 60; 60 - 30 (Nov)
      // = 30 December; the hour overflow gives 31 December 2001, not 2002-01-01.
      {"31 Oct + 1m29d with hour overflow stays in December", 2001, 10, 31, 23,
       kMonth + 29 * kDay + 1, 2001, 12, 31, 1},
      // 31 Dec 23:00 + 2 hours: the day overflow wraps the year.
      {"hour overflow on New Year's Eve", 2001, 12, 31, 23, 1, 2002, 1, 1, 1},
      // Nov + 3 months: M = 14 -> February of the next year; 30 + 0 days in a
      // common February is 2 March.
      {"month overflow wraps the year, then the day carries", 2001, 11, 30, 8, 3 * kMonth, 2002, 3,
       2, 8},
      // 28 Feb 2004 + 1 year: 28 Feb 2005; + 1 day = 1 March in a common year.
      {"years added before the month length is taken", 2004, 2, 28, 8, kYear + kDay, 2005, 3, 1, 8},
  };
  for (const Case& c : cases) {
    ChartEngine engine = ForwardBirth(c.y, c.m, c.d, c.h, c.minutes);
    ChartRecord record;
    engine.WriteLuckStart(record);
    EXPECT_EQ(engine.yearBegin, c.startY) << c.name;
    EXPECT_EQ(engine.monthBegin, c.startM) << c.name;
    EXPECT_EQ(engine.dayBegin, c.startD) << c.name;
    EXPECT_EQ(engine.hourBegin, c.startH) << c.name;
    EXPECT_EQ(DayunValue(record, u"yearBegin"), std::to_string(c.startY)) << c.name;
    EXPECT_EQ(DayunValue(record, u"monthBegin"), std::to_string(c.startM)) << c.name;
    EXPECT_EQ(DayunValue(record, u"dayBegin"), std::to_string(c.startD)) << c.name;
    EXPECT_EQ(DayunValue(record, u"hourBegin"), std::to_string(c.startH)) << c.name;
  }
}

TEST(LuckStart, WritesTheEightKeysInOrder) {
  ChartEngine engine = ForwardBirth(1990, 3, 1, 12, 2 * kYear + 3 * kMonth + 4 * kDay + 5);
  ChartRecord record;
  engine.WriteLuckStart(record);
  EXPECT_EQ(record.Serialize(),
            u"[dayun]\r\nyearAfter=2\r\nmonthAfter=3\r\ndayAfter=4\r\nhourAfter=10\r\n"
            u"yearBegin=1992\r\nmonthBegin=6\r\ndayBegin=5\r\nhourBegin=22\r\n");
}

TEST(LuckPillars, RunThroughTheCycleFromTheMonthPillar) {
  struct Case {
    const char* name;
    bool male;
    const char16_t* dayun;
  };
  const Case cases[] = {
      {"forward from 丙寅", true, u"丁卯/戊辰/己巳/庚午/辛未/壬申/癸酉/甲戌/乙亥/"},
      {"backward from 丙寅", false, u"乙丑/甲子/癸亥/壬戌/辛酉/庚申/己未/戊午/丁巳/"},
  };
  for (const Case& c : cases) {
    ChartEngine engine;
    engine.yearPillar = u"甲子";
    engine.monthPillar = u"丙寅";
    engine.dayPillar = u"甲子";
    engine.male = c.male;
    engine.luckPillars = {u"stale"};
    ChartRecord record;
    engine.WriteLuckPillars(record);
    EXPECT_EQ(ToUtf8(record.ReadString(u"minbiao", u"dayun")), ToUtf8(c.dayun)) << c.name;
    ASSERT_EQ(engine.luckPillars.size(), 9u) << c.name << ": the list is refilled, not appended";
    Text joined;
    for (const Text& pillar : engine.luckPillars) joined += pillar + u"/";
    EXPECT_EQ(ToUtf8(joined), ToUtf8(c.dayun)) << c.name;
  }
}

TEST(LuckPillars, TenGodsAndGrowthStagesOfTheDayStem) {
  ChartEngine engine;
  engine.yearPillar = u"甲子";
  engine.monthPillar = u"丙寅";
  engine.dayPillar = u"甲子";
  engine.male = true;
  ChartRecord record;
  engine.WriteLuckPillars(record);
  // 甲 sees 丁 戊 己 庚 辛 壬 癸 甲 乙.
  EXPECT_EQ(ToUtf8(record.ReadString(u"minbiao", u"shishen")),
            "伤官/偏财/正财/偏官/正官/偏印/正印/比肩/劫财/");
  // 甲 is born (长生) at 亥 and moves forward: 卯 帝旺 … 戌 养, 亥 长生.
  EXPECT_EQ(ToUtf8(record.ReadString(u"minbiao", u"wangshuai")), "帝旺/衰/病/死/墓/绝/胎/养/长生/");
  const auto& entries = record.FindSection(u"minbiao")->entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].key, u"dayun");
  EXPECT_EQ(entries[1].key, u"shishen");
  EXPECT_EQ(entries[2].key, u"wangshuai");
}

}  // namespace
}  // namespace xuanshu
