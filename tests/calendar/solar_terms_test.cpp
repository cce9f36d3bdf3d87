#include "calendar/solar_terms.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace xuanshu {
namespace {

std::string Show(const DateTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return text;
}

TEST(TermMoment, FollowsTheClosedFormulaToTheMillisecond) {
  struct Case {
    int year, index;
    const char* moment;
    const char* why;
  };
  const Case cases[] = {
      {1900, 0, "1900-01-06 02:05:00.000", "小寒 1900 is the base moment"},
      {1900, 2, "1900-02-04 13:52:00.000", "立春 1900: whole minutes only"},
      {1990, 2, "1990-02-04 09:00:57.723", "立春 1990"},
      {1990, 4, "1990-03-06 03:30:57.723", "惊蛰 1990"},
      {1990, 0, "1990-01-05 21:13:57.723", "小寒 1990"},
      {1989, 22, "1989-12-07 10:17:11.748", "大雪 1989"},
      {1991, 0, "1991-01-06 03:02:43.697", "小寒 1991"},
      {1984, 2, "1984-02-04 22:08:21.874", "立春 1984"},
      {2000, 0, "2000-01-06 07:21:37.470", "小寒 2000"},
      // The formula puts 立春 2024 at 14:39; astronomy says about 16:27. The
      // formula is the rule, and the date agrees.
      {2024, 2, "2024-02-04 14:39:00.862", "立春 2024"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show(TermMoment(c.year, c.index)), c.moment) << c.why;
  }
}

TEST(TermMoment, FillsDayOfWeekAndWrapsIndicesIntoNeighbouringYears) {
  EXPECT_EQ(TermMoment(1900, 0).dayOfWeek, 6) << "1900-01-06 was a Saturday";
  EXPECT_EQ(TermMoment(1990, 2).dayOfWeek, 0) << "1990-02-04 was a Sunday";
  EXPECT_EQ(Show(TermMoment(1990, 24)), Show(TermMoment(1991, 0)));
  EXPECT_EQ(Show(TermMoment(1990, -2)), Show(TermMoment(1989, 22)));
}

TEST(TermMoment, EveryTermFallsInItsOwnGregorianMonth) {
  for (int year = 1901; year <= 2049; ++year) {
    for (int index = 0; index < 24; ++index) {
      const DateTime t = TermMoment(year, index);
      ASSERT_EQ(t.year, year) << "index " << index;
      ASSERT_EQ(t.month, index / 2 + 1) << year << " index " << index;
      if (index % 2 == 0) {
        ASSERT_TRUE(t.day >= 3 && t.day <= 9) << year << " sectional term " << index;
      }
    }
  }
}

TEST(SectionalTermNear, FindsTheTermsAroundABirth) {
  struct Case {
    int year, month, day, hour, minute;
    const char* before;
    long long minutesBefore;
    const char* after;
    long long minutesAfter;
    const char* why;
  };
  const Case cases[] = {
      {1990, 1, 10, 12, 0, "小寒 1990-01-05 21:13:57.723", 6646, "立春 1990-02-04 09:00:57.723",
       35820, "mid January"},
      {1990, 1, 2, 8, 0, "大雪 1989-12-07 10:17:11.748", 37302, "小寒 1990-01-05 21:13:57.723",
       5113, "early January: 大雪 of the previous year"},
      {1990, 12, 20, 6, 0, "大雪 1990-12-07 16:05:57.723", 18114, "小寒 1991-01-06 03:02:43.697",
       24302, "late December: 小寒 of the next year"},
      {1990, 2, 4, 8, 30, "立春 1990-02-04 09:00:57.723", 30, "惊蛰 1990-03-06 03:30:57.723", 42900,
       "30 minutes before 立春 counts as after it"},
      {1990, 2, 4, 8, 1, "立春 1990-02-04 09:00:57.723", 59, "惊蛰 1990-03-06 03:30:57.723", 42929,
       "last minute of the one-hour window"},
      {1990, 2, 4, 7, 59, "小寒 1990-01-05 21:13:57.723", 42405, "立春 1990-02-04 09:00:57.723", 61,
       "more than an hour before 立春"},
      {1990, 2, 4, 9, 0, "立春 1990-02-04 09:00:57.723", 0, "惊蛰 1990-03-06 03:30:57.723", 42870,
       "at the term's minute"},
      {1990, 2, 4, 9, 1, "立春 1990-02-04 09:00:57.723", 0, "惊蛰 1990-03-06 03:30:57.723", 42869,
       "two seconds after the term"},
      {2024, 2, 4, 15, 0, "立春 2024-02-04 14:39:00.862", 20, "惊蛰 2024-03-05 09:09:00.862", 42849,
       "the milliseconds decide: 20 minutes 59.138 seconds"},
  };
  for (const Case& c : cases) {
    const NearTerm before = SectionalTermNear(c.year, c.month, c.day, c.hour, c.minute, -1);
    const NearTerm after = SectionalTermNear(c.year, c.month, c.day, c.hour, c.minute, +1);
    EXPECT_EQ(ToUtf8(before.name) + " " + Show(before.moment), c.before) << c.why;
    EXPECT_EQ(before.minutes, c.minutesBefore) << c.why;
    EXPECT_EQ(ToUtf8(after.name) + " " + Show(after.moment), c.after) << c.why;
    EXPECT_EQ(after.minutes, c.minutesAfter) << c.why;
  }
}

TEST(SectionalTermNear, OtherDirectionsGiveNothing) {
  for (int direction : {0, 2, -2}) {
    const NearTerm none = SectionalTermNear(1990, 2, 4, 8, 30, direction);
    EXPECT_TRUE(none.name.empty()) << direction;
    EXPECT_EQ(none.minutes, 0) << direction;
  }
}

TEST(SectionalTermNear, BirthsThatAreNoRealMomentGiveNothing) {
  struct Case {
    int year, month, day, hour, minute;
    const char* why;
  };
  const Case cases[] = {
      {1990, 13, 1, 0, 0, "month 13"},
      {1990, 2, 29, 0, 0, "29 February 1990"},
      {1990, 2, 0, 0, 0, "day 0"},
      {1990, 2, 4, 24, 0, "hour 24"},
      {1990, 2, 4, 99, 0, "hour 99"},
      {1990, 2, 4, 8, 60, "minute 60"},
      {1990, 2, 4, -1, 0, "hour -1"},
      {2000000000, -2000000000, 1, 0, 0, "far out of range"},
      {1600, 12, 31, 0, 0, "before the tick epoch"},
  };
  for (const Case& c : cases) {
    for (int direction : {-1, 1}) {
      const NearTerm none = SectionalTermNear(c.year, c.month, c.day, c.hour, c.minute, direction);
      EXPECT_TRUE(none.name.empty()) << c.why;
      EXPECT_EQ(none.minutes, 0) << c.why;
    }
  }
  EXPECT_GE(TermMoment(2000000000, 2000000000).month, 1) << "the formula never overflows";
}

}  // namespace
}  // namespace xuanshu
