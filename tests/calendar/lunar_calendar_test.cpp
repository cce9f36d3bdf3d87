#include "calendar/lunar_calendar.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace xuanshu {
namespace {

std::string Show(const LunarDate& d) {
  return std::to_string(d.year) + "-" + (d.isLeap ? "leap " : "") + std::to_string(d.month) + "-" +
         std::to_string(d.day);
}

std::string Show(const CivilDate& d) {
  return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

// The classic table walk written out step by step, with no precomputation:
// the reference the fast conversion must agree with on every day.
LunarDate LiteralToLunar(int y, int m, int d) {
  LunarDate date;
  long long offset = DayNumber(y, m, d) - DayNumber(1900, 1, 31);
  date.dayCount = static_cast<int>(offset + 40);
  int i = 1900;
  int subtracted = 0;
  for (; i < 2050 && offset > 0; ++i) {
    subtracted = LunarYearDays(i);
    offset -= subtracted;
  }
  if (offset < 0) {
    offset += subtracted;
    --i;
  }
  date.year = i;
  date.yearCount = i - 1864;
  const int leap = LeapMonthOf(date.year);
  bool isLeap = false;
  int t = 0;
  for (i = 1; i < 13 && offset > 0; ++i) {
    if (leap > 0 && i == leap + 1 && !isLeap) {
      --i;
      isLeap = true;
      t = LeapMonthDays(date.year);
    } else {
      t = LunarMonthDays(date.year, i);
    }
    if (isLeap && i == leap + 1) isLeap = false;
    offset -= t;
  }
  if (offset == 0 && leap > 0 && i == leap + 1) {
    if (isLeap) {
      isLeap = false;
    } else {
      isLeap = true;
      --i;
    }
  } else if (offset < 0) {
    offset += t;
    --i;
  }
  date.month = i;
  date.day = static_cast<int>(offset + 1);
  date.isLeap = isLeap;
  return date;
}

bool SameLunar(const LunarDate& a, const LunarDate& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.isLeap == b.isLeap &&
         a.yearCount == b.yearCount && a.dayCount == b.dayCount;
}

// Every Gregorian day from 1901-01-01 to 2049-12-31.
template <typename Visit>
void ForEachSupportedDay(Visit visit) {
  for (int y = 1901; y <= 2049; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= GregorianMonthDays(y, m); ++d) visit(y, m, d);
    }
  }
}

TEST(LunarTable, ReadsMonthLengthsAndLeapMonths) {
  struct Case {
    int year;
    int leapMonth, leapDays, firstMonthDays, yearDays;
    const char* why;
  };
  const Case cases[] = {
      {1900, 8, 29, 29, 384, "0x04bd8: leap 8 of 29 days"},
      {1906, 4, 30, 29, 384, "0x16554: leap 4 of 30 days"},
      {1996, 0, 0, 29, 354, "0x055c0: no leap month, first month 29 days"},
      {2049, 0, 0, 30, 355, "0x0ada0: no leap month"},
      {2050, 3, 30, 29, 384, "0x14b63: leap 3 of 30 days"},
      {2017, 6, 30, 29, 384, "0x15176: leap 6 of 30 days"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LeapMonthOf(c.year), c.leapMonth) << c.why;
    EXPECT_EQ(LeapMonthDays(c.year), c.leapDays) << c.why;
    EXPECT_EQ(LunarMonthDays(c.year, 1), c.firstMonthDays) << c.why;
    EXPECT_EQ(LunarYearDays(c.year), c.yearDays) << c.why;
  }
  EXPECT_EQ(LunarMonthDays(1906, 4), 29) << "the ordinary month 4 of 1906 is short";
  EXPECT_EQ(LunarMonthDays(2049, 12), 29) << "month 12 is bit 0x10";
  EXPECT_EQ(LunarMonthDays(2049, 11), 30);
}

TEST(LunarTable, QueriesOutsideTheTableAreSafe) {
  EXPECT_EQ(LeapMonthOf(1899), 0);
  EXPECT_EQ(LeapMonthOf(2051), 0);
  EXPECT_EQ(LeapMonthDays(-5), 0);
  EXPECT_EQ(LunarMonthDays(2000, 0), 0);
  EXPECT_EQ(LunarMonthDays(2000, 13), 0);
  EXPECT_EQ(LunarMonthDays(3000, 1), 0);
  EXPECT_EQ(GregorianMonthDays(2000, 13), 0);
}

TEST(GregorianCalendar, MonthLengthsAndDayNumbers) {
  EXPECT_EQ(GregorianMonthDays(2000, 2), 29) << "divisible by 400";
  EXPECT_EQ(GregorianMonthDays(1900, 2), 28) << "divisible by 100";
  EXPECT_EQ(GregorianMonthDays(2024, 2), 29);
  EXPECT_EQ(GregorianMonthDays(2023, 2), 28);
  EXPECT_EQ(GregorianMonthDays(2023, 9), 30);
  EXPECT_EQ(DayNumber(1, 1, 1), 1);
  EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2) << "29 February 2000";
  EXPECT_EQ(DayNumber(1900, 3, 1) - DayNumber(1900, 2, 28), 1);
  EXPECT_EQ(DayNumber(2000, 1, 1) - DayNumber(1900, 1, 31), 36494);
  EXPECT_EQ(DayNumber(2001, 1, 1), DayNumber(2000, 13, 1)) << "month 13 carries into the year";
}

TEST(BirthDateValidation, AdmitsSupportedDatesOnly) {
  struct Case {
    int year, month, day;
    bool gregorian, leapMonth, valid;
    const char* why;
  };
  const Case cases[] = {
      {1901, 1, 1, true, false, true, "first supported year"},
      {2049, 12, 31, true, false, true, "last supported year"},
      {1900, 6, 1, true, false, false, "year 1900"},
      {2050, 6, 1, true, false, false, "year 2050"},
      {1900, 8, 1, false, true, false, "lunar year 1900"},
      {2001, 0, 1, true, false, false, "month 0"},
      {2001, 13, 1, false, false, false, "month 13"},
      {2001, 2, 29, true, false, false, "29 February in a common year"},
      {2000, 2, 29, true, false, true, "29 February in a leap year"},
      {2001, 4, 31, true, false, false, "31 April"},
      {2001, 1, 0, true, false, false, "day 0 (Gregorian)"},
      {2001, 1, -3, false, false, false, "negative day (lunar)"},
      {2017, 6, 0, false, true, false, "day 0 of a leap month"},
      {2001, 4, 1, false, true, true, "2001 leap month 4"},
      {2001, 8, 1, false, true, false, "leap flag on month 8 when the leap month is 4"},
      {1996, 1, 1, false, true, false, "leap flag in a year without leap month"},
      {1996, 1, 30, false, false, false, "day 30 of a 29-day month"},
      {1996, 2, 30, false, false, true, "day 30 of a 30-day month"},
      {1906, 4, 30, false, false, false, "ordinary month 4 of 1906 has 29 days"},
      {1906, 4, 30, false, true, true, "leap month 4 of 1906 has 30 days"},
      {1990, 5, 30, false, true, false, "leap month 5 of 1990 has 29 days"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidateBirthDate(c.year, c.month, c.day, c.gregorian, c.leapMonth), c.valid)
        << c.why;
  }
}

TEST(ToLunar, ConvertsKnownDates) {
  struct Case {
    CivilDate gregorian;
    LunarDate lunar;
    const char* why;
  };
  const Case cases[] = {
      {{1900, 1, 31}, {1900, 1, 1, false, 36, 40}, "epoch: 庚子 year, 甲辰 day"},
      {{2000, 2, 5}, {2000, 1, 1, false, 136, 36569}, "Chinese New Year 2000"},
      {{2024, 2, 10}, {2024, 1, 1, false, 160, 45340}, "Chinese New Year 2024"},
      {{1990, 1, 27}, {1990, 1, 1, false, 126, 32908}, "Chinese New Year 1990"},
      {{1990, 1, 26}, {1989, 12, 30, false, 125, 32907}, "New Year's Eve 1990"},
      {{2000, 1, 1}, {1999, 11, 25, false, 135, 36534}, "2000-01-01"},
      {{2023, 3, 22}, {2023, 2, 1, true, 159, 45015}, "2023 leap month 2 begins"},
      {{2023, 3, 21}, {2023, 2, 30, false, 159, 45014}, "day before the 2023 leap month"},
      {{2020, 5, 23}, {2020, 4, 1, true, 156, 43982}, "2020 leap month 4 begins"},
      {{1906, 6, 21}, {1906, 4, 30, true, 42, 2372}, "day 30 of the 1906 leap month"},
      {{2017, 8, 21}, {2017, 6, 30, true, 153, 42976}, "day 30 of the 2017 leap month"},
      {{2017, 8, 22}, {2017, 7, 1, false, 153, 42977}, "after the 2017 leap month"},
  };
  for (const Case& c : cases) {
    const LunarDate got = ToLunar(c.gregorian.year, c.gregorian.month, c.gregorian.day);
    EXPECT_TRUE(SameLunar(got, c.lunar))
        << c.why << ": got " << Show(got) << " years " << got.yearCount << " days " << got.dayCount
        << ", want " << Show(c.lunar);
  }
}

TEST(ToLunar, FastWalkMatchesTheLiteralTableWalkOnEveryDay) {
  int checked = 0;
  ForEachSupportedDay([&](int y, int m, int d) {
    const LunarDate fast = ToLunar(y, m, d);
    const LunarDate literal = LiteralToLunar(y, m, d);
    if (!SameLunar(fast, literal)) {
      ADD_FAILURE() << Show(CivilDate{y, m, d}) << ": fast " << Show(fast) << ", literal "
                    << Show(literal);
    }
    ++checked;
  });
  EXPECT_EQ(checked, 54422);
  // Outside the supported years both still agree, and nothing reads past the table.
  for (const CivilDate& c : {CivilDate{1900, 1, 30}, CivilDate{1899, 12, 31}, CivilDate{1900, 1, 1},
                             CivilDate{2051, 3, 1}, CivilDate{2200, 1, 1}}) {
    EXPECT_TRUE(SameLunar(ToLunar(c.year, c.month, c.day), LiteralToLunar(c.year, c.month, c.day)))
        << Show(c);
  }
}

TEST(ToLunar, ConsecutiveDaysFollowTheTableMonthLengths) {
  LunarDate previous = ToLunar(1900, 12, 31);
  ForEachSupportedDay([&](int y, int m, int d) {
    const LunarDate today = ToLunar(y, m, d);
    ASSERT_EQ(today.dayCount, previous.dayCount + 1) << Show(CivilDate{y, m, d});
    if (today.day != 1) {
      ASSERT_TRUE(today.year == previous.year && today.month == previous.month &&
                  today.isLeap == previous.isLeap && today.day == previous.day + 1)
          << Show(CivilDate{y, m, d}) << " " << Show(today) << " after " << Show(previous);
      previous = today;
      return;
    }
    const int length = previous.isLeap ? LeapMonthDays(previous.year)
                                       : LunarMonthDays(previous.year, previous.month);
    ASSERT_EQ(previous.day, length) << "month ended early before " << Show(today);
    if (today.isLeap) {
      ASSERT_TRUE(today.year == previous.year && today.month == previous.month &&
                  !previous.isLeap && LeapMonthOf(today.year) == today.month)
          << "leap month follows its ordinary month: " << Show(today);
    } else if (today.month == 1) {
      ASSERT_TRUE(today.year == previous.year + 1 && previous.month == 12) << Show(today);
    } else {
      ASSERT_TRUE(today.year == previous.year && today.month == previous.month + 1) << Show(today);
    }
    previous = today;
  });
}

TEST(ToGregorian, LeapMonthComesAfterItsOrdinaryTwin) {
  const CivilDate ordinary = ToGregorian(1900, 8, 1, false);
  const CivilDate leap = ToGregorian(1900, 8, 1, true);
  EXPECT_EQ(Show(ordinary), "1900-8-25");
  EXPECT_EQ(Show(leap), "1900-9-24");
  EXPECT_EQ(DayNumber(leap.year, leap.month, leap.day) -
                DayNumber(ordinary.year, ordinary.month, ordinary.day),
            LunarMonthDays(1900, 8));
}

TEST(ToGregorian, FindsDayThirtyOfEveryLongLeapMonthAfterAShortOrdinaryMonth) {
  std::vector<int> years;
  for (int y = 1901; y <= 2049; ++y) {
    const int leap = LeapMonthOf(y);
    if (leap > 0 && LeapMonthDays(y) == 30 && LunarMonthDays(y, leap) == 29) years.push_back(y);
  }
  ASSERT_EQ(years.size(), 13u);
  for (int y : years) {
    const int leap = LeapMonthOf(y);
    ASSERT_TRUE(ValidateBirthDate(y, leap, 30, false, true)) << y;
    const CivilDate civil = ToGregorian(y, leap, 30, true);
    ASSERT_NE(civil.year, 0) << y << " leap month " << leap << " day 30 not found";
    const LunarDate back = ToLunar(civil.year, civil.month, civil.day);
    EXPECT_TRUE(back.year == y && back.month == leap && back.day == 30 && back.isLeap)
        << y << ": " << Show(civil) << " converts back to " << Show(back);
  }
  EXPECT_EQ(Show(ToGregorian(1906, 4, 30, true)), "1906-6-21");
  EXPECT_EQ(Show(ToGregorian(2017, 6, 30, true)), "2017-8-21");
}

TEST(ToGregorian, ConvertsKnownDatesAndRefusesImpossibleOnes) {
  EXPECT_EQ(Show(ToGregorian(2000, 1, 1, false)), "2000-2-5");
  EXPECT_EQ(Show(ToGregorian(2024, 1, 1, false)), "2024-2-10");
  EXPECT_EQ(Show(ToGregorian(1990, 1, 1, false)), "1990-1-27");
  EXPECT_EQ(Show(ToGregorian(1999, 12, 29, false)), "2000-2-4") << "lunar year end in February";
  EXPECT_EQ(Show(ToGregorian(2023, 2, 1, true)), "2023-3-22");
  EXPECT_EQ(Show(ToGregorian(1996, 1, 30, false)), "0-0-0") << "month 1 of 1996 has 29 days";
  EXPECT_EQ(Show(ToGregorian(2000, 13, 1, false)), "0-0-0");
  EXPECT_EQ(Show(ToGregorian(2000, 1, 0, false)), "0-0-0");
  EXPECT_EQ(Show(ToGregorian(1800, 1, 1, false)), "0-0-0");
}

TEST(ToGregorian, RoundTripsEveryValidLunarDate) {
  int dates = 0;
  for (int y = 1901; y <= 2049; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (bool leap : {false, true}) {
        for (int d = 1; d <= 30; ++d) {
          if (!ValidateBirthDate(y, m, d, false, leap)) continue;
          const CivilDate civil = ToGregorian(y, m, d, leap);
          const LunarDate back = ToLunar(civil.year, civil.month, civil.day);
          ASSERT_TRUE(back.year == y && back.month == m && back.day == d && back.isLeap == leap)
              << y << "-" << (leap ? "leap " : "") << m << "-" << d << " -> " << Show(civil)
              << " -> " << Show(back);
          ++dates;
        }
      }
    }
  }
  EXPECT_EQ(dates, DayNumber(2050, 1, 23) - DayNumber(1901, 2, 19))
      << "one lunar date for every day from lunar 1901-01-01 to the end of lunar 2049";
}

TEST(ToGregorian, RoundTripsEveryGregorianDay) {
  ForEachSupportedDay([](int y, int m, int d) {
    const LunarDate lunar = ToLunar(y, m, d);
    const CivilDate back = ToGregorian(lunar.year, lunar.month, lunar.day, lunar.isLeap);
    ASSERT_EQ(Show(back), Show(CivilDate{y, m, d})) << "via " << Show(lunar);
  });
}

TEST(NextDay, CrossesMonthAndYearEnds) {
  EXPECT_EQ(Show(NextDay(1999, 12, 31, true)), "2000-1-1");
  EXPECT_EQ(Show(NextDay(2000, 2, 28, true)), "2000-2-29");
  EXPECT_EQ(Show(NextDay(2001, 2, 28, true)), "2001-3-1");
  EXPECT_EQ(Show(NextDay(2001, 4, 30, true)), "2001-5-1");
  EXPECT_EQ(Show(NextDay(1999, 12, 31, false)), "1999-11-25") << "lunar date of 2000-01-01";
  EXPECT_EQ(Show(NextDay(2017, 8, 21, false)), "2017-7-1") << "leap flag dropped";
}

TEST(NextDay, EveryIntIsSafeAndAnUnrepresentableDayIsNoDate) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  struct Case {
    int year, month, day;
    const char* expected;
  };
  const Case cases[] = {
      {kMax, 12, 31, "0-0-0"},     {kMax, 11, 30, "2147483647-12-1"},
      {2000, kMax, 1, "2001-1-1"}, {kMin, 1, 1, "-2147483648-1-2"},
      {2000, 1, kMax, "2000-2-1"}, {kMax, kMax, 1, "0-0-0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show(NextDay(c.year, c.month, c.day, true)), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
    NextDay(c.year, c.month, c.day, false);  // any lunar answer, without overflow
  }
  for (int v : {kMin, -1, 0, kMax}) {
    EXPECT_EQ(LunarMonthDays(v, v), 0);
    EXPECT_EQ(Show(ToGregorian(v, v, v, true)), "0-0-0");
    ToLunar(v, v, v);
    DayNumber(v, v, v);
    ValidateBirthDate(v, v, v, v % 2 == 0, true);
  }
}

}  // namespace
}  // namespace xuanshu
