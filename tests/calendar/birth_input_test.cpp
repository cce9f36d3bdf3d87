#include <gtest/gtest.h>

#include <string>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

struct Birth {
  int year, month, day, hour, minute;
  bool gregorian, leapMonth;
};

ChartEngine EngineFor(const Birth& b) {
  ChartEngine engine;
  engine.name = u"张三";
  engine.male = true;
  engine.hour = b.hour;
  engine.minute = b.minute;
  engine.SetBirthDate(b.year, b.month, b.day, b.gregorian, b.leapMonth);
  engine.ComputeFourPillars();
  return engine;
}

std::string Pillars(const ChartEngine& e) {
  return U8(e.yearPillar + u" " + e.monthPillar + u" " + e.dayPillar + u" " + e.hourPillar);
}

std::string LunarFields(const ChartEngine& e) {
  return std::to_string(e.lunarYear) + "-" + std::to_string(e.lunarMonth) + "-" +
         std::to_string(e.lunarDay) + (e.leep ? " leap" : "");
}

std::string GregorianFields(const ChartEngine& e) {
  return std::to_string(e.year) + "-" + std::to_string(e.month) + "-" + std::to_string(e.day);
}

TEST(BirthInput, ConvertsDatesAndCastsPillars) {
  struct Case {
    Birth birth;
    const char* gregorian;
    const char* lunar;
    bool lateZi;
    TextView pillars;
    const char* why;
  };
  const Case cases[] = {
      {{1990, 2, 4, 8, 30, true, false},
       "1990-2-4",
       "1990-1-9",
       false,
       u"己巳 丁丑 庚子 庚辰",
       "the morning before 立春 1990"},
      {{1990, 1, 9, 8, 30, false, false},
       "1990-2-4",
       "1990-1-9",
       false,
       u"己巳 丁丑 庚子 庚辰",
       "the same birth entered as a lunar date"},
      {{1999, 12, 31, 23, 30, true, false},
       "1999-12-31",
       "1999-11-25",
       true,
       u"己卯 丙子 戊午 壬子",
       "late 子 hour on 31 December takes 1 January's pillars"},
      {{1990, 2, 3, 23, 30, true, false},
       "1990-2-3",
       "1990-1-9",
       true,
       u"庚午 戊寅 庚子 丙子",
       "late 子 hour before a 09:00 立春 takes the new year"},
      {{2017, 6, 30, 23, 0, false, true},
       "2017-8-21",
       "2017-7-1 leap",
       true,
       u"丁酉 戊申 辛巳 戊子",
       "last day of a leap month at 23:00: next lunar month, leep kept"},
      {{2017, 8, 21, 23, 0, true, false},
       "2017-8-21",
       "2017-7-1 leap",
       true,
       u"丁酉 戊申 辛巳 戊子",
       "the same birth entered as a Gregorian date"},
      {{2017, 6, 30, 22, 59, false, true},
       "2017-8-21",
       "2017-6-30 leap",
       false,
       u"丁酉 戊申 庚辰 丁亥",
       "an hour earlier stays on the leap month's last day"},
      {{1906, 4, 30, 12, 0, false, true},
       "1906-6-21",
       "1906-4-30 leap",
       false,
       u"丙午 甲午 丙申 甲午",
       "day 30 of a long leap month after a short ordinary month"},
  };
  for (const Case& c : cases) {
    const ChartEngine e = EngineFor(c.birth);
    EXPECT_EQ(GregorianFields(e), c.gregorian) << c.why;
    EXPECT_EQ(LunarFields(e), c.lunar) << c.why;
    EXPECT_EQ(e.lateZiHour, c.lateZi) << c.why;
    EXPECT_EQ(Pillars(e), U8(c.pillars)) << c.why;
  }
}

TEST(BirthInput, WritesInputAndTermSectionsInOrder) {
  ChartEngine engine = EngineFor({1990, 2, 4, 8, 30, true, false});
  engine.male = false;
  ChartRecord record;
  engine.WriteInputSections(record, u"同学");
  engine.WriteSolarTerms(record);
  EXPECT_EQ(U8(record.Serialize()),
            U8(u"[main]\r\nname=张三\r\nclass=同学\r\nsex=女\r\n"
               u"[gongli]\r\nyear=1990\r\nmonth=2\r\nday=4\r\nhour=8\r\nminute=30\r\n"
               u"[nongli]\r\nyear=1990\r\nmonth=1\r\nday=9\r\nhour=8\r\nminute=30\r\nleep=0\r\n"
               u"[jieqi]\r\nbefore=立春 1990:02:04:09:00\r\nafter=惊蛰 1990:03:06:03:30\r\n"));
  EXPECT_EQ(U8(engine.termBeforeName), U8(u"立春"));
  EXPECT_EQ(engine.minutesBefore, 30) << "30 minutes before 立春 counts as after it";
  EXPECT_EQ(engine.termBefore.second, 57);
  EXPECT_EQ(U8(engine.termAfterName), U8(u"惊蛰"));
  EXPECT_EQ(engine.minutesAfter, 42900);
}

TEST(BirthInput, LateZiHourMovesOnlyTheLunarDateInTheRecord) {
  ChartEngine engine = EngineFor({1999, 12, 31, 23, 30, true, false});
  ChartRecord record;
  engine.WriteInputSections(record, u"其他");
  engine.WriteSolarTerms(record);
  EXPECT_EQ(U8(record.ReadString(u"gongli", u"day")), "31");
  EXPECT_EQ(U8(record.ReadString(u"gongli", u"hour")), "23");
  EXPECT_EQ(U8(record.ReadString(u"nongli", u"month")), "11");
  EXPECT_EQ(U8(record.ReadString(u"nongli", u"day")), "25");
  EXPECT_EQ(U8(record.ReadString(u"nongli", u"hour")), "23");
  EXPECT_EQ(U8(record.ReadString(u"main", u"sex")), U8(u"男"));
  // The terms are measured from the real moment, 31 December.
  EXPECT_EQ(U8(record.ReadString(u"jieqi", u"before")), U8(u"大雪 1999:12:07:20:24"));
  EXPECT_EQ(U8(record.ReadString(u"jieqi", u"after")), U8(u"小寒 2000:01:06:07:21"));
}

TEST(BirthInput, LeapFlagOfAGregorianBirthComesFromTheConversion) {
  ChartEngine engine = EngineFor({2023, 3, 22, 10, 0, true, false});
  ChartRecord record;
  engine.WriteInputSections(record, u"其他");
  EXPECT_EQ(U8(record.ReadString(u"nongli", u"month")), "2");
  EXPECT_EQ(U8(record.ReadString(u"nongli", u"day")), "1");
  EXPECT_EQ(U8(record.ReadString(u"nongli", u"leep")), "1");
}

}  // namespace
}  // namespace xuanshu
