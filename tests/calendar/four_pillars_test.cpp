#include "calendar/four_pillars.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

TEST(DayPillar, CountsFromTheReferenceDay) {
  EXPECT_EQ(U8(DayPillar(1900, 1, 31)), U8(u"甲辰")) << "reference day";
  EXPECT_EQ(U8(DayPillar(1900, 2, 1)), U8(u"乙巳"));
  EXPECT_EQ(U8(DayPillar(2000, 1, 1)), U8(u"戊午")) << "well-known 戊午 day";
  EXPECT_EQ(U8(DayPillar(1949, 10, 1)), U8(u"甲子")) << "well-known 甲子 day";
}

TEST(YearPillar, ChangesAtTheClockHourOfSpringBeginning) {
  struct Case {
    int year, month, day, hour;
    TextView pillar;
    const char* why;
  };
  // 立春 1984 falls at 22:08, 立春 1990 at 09:00.
  const Case cases[] = {
      {1984, 2, 4, 23, u"甲子", "after 立春 1984"},
      {1984, 2, 4, 21, u"癸亥", "the hour before 立春 1984"},
      {1984, 2, 4, 22, u"甲子", "same clock hour as 立春 counts as after it"},
      {1984, 2, 3, 23, u"癸亥", "the evening before"},
      {1984, 6, 1, 0, u"甲子", "mid-year"},
      {1990, 2, 4, 8, u"己巳", "before 立春 1990"},
      {1990, 2, 4, 9, u"庚午", "立春 1990 hour"},
      {2000, 1, 1, 0, u"己卯", "January belongs to the previous year"},
      {1901, 1, 1, 0, u"庚子", "first supported day"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(YearPillar(c.year, c.month, c.day, c.hour)), U8(c.pillar)) << c.why;
  }
}

TEST(MonthPillar, ChangesAtTheSectionalTermOfEachMonth) {
  struct Case {
    int year, month, day, hour;
    TextView pillar;
    const char* why;
  };
  // 立春 1900 falls at 13:52, 立春 1990 at 09:00, 小寒 2000 on 6 January.
  const Case cases[] = {
      {1900, 2, 20, 0, u"戊寅", "after 立春 1900: count 14"},
      {1900, 2, 1, 0, u"丁丑", "before 立春 1900: count 13"},
      {1900, 2, 4, 13, u"戊寅", "立春 1900 hour"},
      {1900, 2, 4, 12, u"丁丑", "hour before 立春 1900"},
      {1990, 2, 4, 9, u"戊寅", "寅 month of a 庚 year starts with 戊"},
      {1990, 2, 4, 8, u"丁丑", "丑 month of a 己 year"},
      {2000, 1, 1, 0, u"丙子", "子 month of a 己 year"},
      {2017, 8, 22, 23, u"戊申", "申 month of a 丁 year"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(MonthPillar(c.year, c.month, c.day, c.hour)), U8(c.pillar)) << c.why;
  }
}

TEST(HourPillar, FollowsTheFiveRatsRule) {
  const TextView ratHours[] = {u"甲子", u"丙子", u"戊子", u"庚子", u"壬子",
                               u"甲子", u"丙子", u"戊子", u"庚子", u"壬子"};
  for (int stem = 0; stem < 10; ++stem) {
    EXPECT_EQ(U8(HourPillar(StemName(stem), u"0")), U8(ratHours[stem])) << U8(StemName(stem));
  }
  struct Case {
    TextView dayStem, hour, pillar;
    const char* why;
  };
  const Case cases[] = {
      {u"甲", u"23", u"甲子", "late 子 hour is 子 again"},
      {u"甲", u"1", u"乙丑", "丑 starts at 1:00"},
      {u"甲", u"2", u"乙丑", "丑 ends at 2:59"},
      {u"甲", u"3", u"丙寅", "寅 starts at 3:00"},
      {u"甲", u"20", u"甲戌", "戌"},
      {u"甲", u"21", u"乙亥", "亥 starts at 21:00"},
      {u"甲", u"22", u"乙亥", "亥 ends at 22:59"},
      {u"乙", u"11", u"壬午", "乙 day at 11"},
      {u"乙", u"12", u"壬午", "乙 day at 12"},
      {u"乙", u"13", u"癸未", "乙 day at 13"},
      {u"癸", u"12", u"戊午", "癸 day at noon"},
      {u"子", u"12", u"", "a branch is not a day stem"},
      {u"", u"12", u"", "no day stem"},
      {u"甲", u"-5", u"", "an hour without a branch"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(HourPillar(c.dayStem, c.hour)), U8(c.pillar)) << c.why;
  }
  for (TextView wild : {u"99", u"-1", u"24", u"x", u"99999999999999999999"}) {
    EXPECT_LE(HourPillar(u"甲", wild).size(), 2u) << U8(wild);
  }
}

TEST(FourPillars, EveryIntGivesAPillarWithoutOverflow) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  for (int y : {kMin, kMin + 1, -1, 0, 1900, kMax - 1, kMax}) {
    for (int v : {kMin, -1, 0, 1, 12, 31, kMax}) {
      EXPECT_EQ(YearPillar(y, v, v, v).size(), 2u) << y << " " << v;
      EXPECT_EQ(MonthPillar(y, v, v, v).size(), 2u) << y << " " << v;
      EXPECT_EQ(DayPillar(y, v, v).size(), 2u) << y << " " << v;
    }
  }
  EXPECT_EQ(U8(StemName(-1)), U8(u"癸")) << "stem indices run round the cycle";
  EXPECT_EQ(U8(BranchName(kMax)), U8(BranchName(kMax % 12)));
  EXPECT_EQ(U8(TenGodOf(kMax, kMin)), U8(TenGodOf(0, 0))) << "no such stem counts as 甲";
  EXPECT_EQ(U8(TenGodOf(10, 3)), U8(TenGodOf(0, 3)));
}

}  // namespace
}  // namespace xuanshu
