// The Chinese lunisolar calendar for lunar years 1900-2050. Gregorian dates
// meet lunar dates through a serial day number; the lunar side is the classic
// table walk over month lengths, sped up by the start offsets of every lunar
// year computed once at compile time.
#include "calendar/lunar_calendar.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace xuanshu {
namespace {

constexpr int kFirstTableYear = 1900;
constexpr int kLastTableYear = 2050;
constexpr int kTableSize = kLastTableYear - kFirstTableYear + 1;

// One entry per lunar year, low 17 bits used:
//   bits 0-3   leap month number, 0 = none
//   bits 4-15  month m has 30 days when bit (0x10000 >> m) is set
//   bit 16     the leap month has 30 days
// clang-format off
constexpr std::array<std::uint32_t, kTableSize> kLunarYearInfo = {
    // 1900
    0x04bd8, 0x04ae0, 0x0a570, 0x054d5, 0x0d260, 0x0d950, 0x16554, 0x056a0, 0x09ad0, 0x055d2,
    // 1910
    0x04ae0, 0x0a5b6, 0x0a4d0, 0x0d250, 0x1d255, 0x0b540, 0x0d6a0, 0x0ada2, 0x095b0, 0x14977,
    // 1920
    0x04970, 0x0a4b0, 0x0b4b5, 0x06a50, 0x06d40, 0x1ab54, 0x02b60, 0x09570, 0x052f2, 0x04970,
    // 1930
    0x06566, 0x0d4a0, 0x0ea50, 0x06e95, 0x05ad0, 0x02b60, 0x186e3, 0x092e0, 0x1c8d7, 0x0c950,
    // 1940
    0x0d4a0, 0x1d8a6, 0x0b550, 0x056a0, 0x1a5b4, 0x025d0, 0x092d0, 0x0d2b2, 0x0a950, 0x0b557,
    // 1950
    0x06ca0, 0x0b550, 0x15355, 0x04da0, 0x0a5b0, 0x14573, 0x052b0, 0x0a9a8, 0x0e950, 0x06aa0,
    // 1960
    0x0aea6, 0x0ab50, 0x04b60, 0x0aae4, 0x0a570, 0x05260, 0x0f263, 0x0d950, 0x05b57, 0x056a0,
    // 1970
    0x096d0, 0x04dd5, 0x04ad0, 0x0a4d0, 0x0d4d4, 0x0d250, 0x0d558, 0x0b540, 0x0b6a0, 0x195a6,
    // 1980
    0x095b0, 0x049b0, 0x0a974, 0x0a4b0, 0x0b27a, 0x06a50, 0x06d40, 0x0af46, 0x0ab60, 0x09570,
    // 1990
    0x04af5, 0x04970, 0x064b0, 0x074a3, 0x0ea50, 0x06b58, 0x055c0, 0x0ab60, 0x096d5, 0x092e0,
    // 2000
    0x0c960, 0x0d954, 0x0d4a0, 0x0da50, 0x07552, 0x056a0, 0x0abb7, 0x025d0, 0x092d0, 0x0cab5,
    // 2010
    0x0a950, 0x0b4a0, 0x0baa4, 0x0ad50, 0x055d9, 0x04ba0, 0x0a5b0, 0x15176, 0x052b0, 0x0a930,
    // 2020
    0x07954, 0x06aa0, 0x0ad50, 0x05b52, 0x04b60, 0x0a6e6, 0x0a4e0, 0x0d260, 0x0ea65, 0x0d530,
    // 2030
    0x05aa0, 0x076a3, 0x096d0, 0x04bd7, 0x04ad0, 0x0a4d0, 0x1d0b6, 0x0d250, 0x0d520, 0x0dd45,
    // 2040
    0x0b5a0, 0x056d0, 0x055b2, 0x049b0, 0x0a577, 0x0a4b0, 0x0aa50, 0x1b255, 0x06d20, 0x0ada0,
    // 2050
    0x14b63,
};
// clang-format on
static_assert(kLunarYearInfo.size() == 151);

constexpr std::uint32_t kLeapMonthMask = 0xF;
constexpr std::uint32_t kLongLeapMonthBit = 0x10000;

// 1900-01-31 is lunar 1900-01-01, sexagenary day 40 (甲辰); 1864 is 甲子.
constexpr int kEpochDayCount = 40;
constexpr int kCycleYearBase = 1864;

constexpr std::array<int, 12> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151,
                                                  181, 212, 243, 273, 304, 334};

constexpr bool InTable(int lunarYear) {
  return lunarYear >= kFirstTableYear && lunarYear <= kLastTableYear;
}

constexpr std::uint32_t InfoOf(int lunarYear) {
  return InTable(lunarYear) ? kLunarYearInfo[lunarYear - kFirstTableYear] : 0;
}

constexpr int LeapDaysOf(int lunarYear) {
  const std::uint32_t info = InfoOf(lunarYear);
  if ((info & kLeapMonthMask) == 0) return 0;
  return (info & kLongLeapMonthBit) != 0 ? 30 : 29;
}

constexpr int YearDaysOf(int lunarYear) {
  const std::uint32_t info = InfoOf(lunarYear);
  int days = 348;
  for (std::uint32_t bit = 0x8000; bit > 0x8; bit >>= 1) {
    if ((info & bit) != 0) ++days;
  }
  return days + LeapDaysOf(lunarYear);
}

// Days from lunar 1900-01-01 to the first day of each table year, plus the
// end of the table: kYearStart[i] belongs to lunar year 1900 + i.
constexpr std::array<long long, kTableSize + 1> kYearStart = [] {
  std::array<long long, kTableSize + 1> start{};
  for (int i = 0; i < kTableSize; ++i) start[i + 1] = start[i] + YearDaysOf(kFirstTableYear + i);
  return start;
}();

constexpr long long FloorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// A day offset from lunar 1900-01-01 split as the year walk leaves it: the
// lunar year and the days into it.
struct YearAndRest {
  int year;
  long long rest;
};

// The year walk subtracts whole lunar years while the offset stays positive
// and the table lasts. Before the table's first day it steps back one year
// without changing the offset, exactly as the walk does.
YearAndRest WalkYears(long long offset) {
  if (offset < 0) return {kFirstTableYear - 1, offset};
  const auto after = std::upper_bound(kYearStart.begin(), kYearStart.end() - 1, offset);
  const int index = static_cast<int>(after - kYearStart.begin()) - 1;  // [0, 150]
  return {kFirstTableYear + index, offset - kYearStart[index]};
}

// The month walk of the classic algorithm, the leap month counted right
// after the ordinary month with the same number.
void WalkMonths(LunarDate& date, long long offset) {
  const int leap = LeapMonthOf(date.year);
  bool isLeap = false;
  int days = 0;
  int i = 1;
  for (; i < 13 && offset > 0; ++i) {
    if (leap > 0 && i == leap + 1 && !isLeap) {
      --i;
      isLeap = true;
      days = LeapMonthDays(date.year);
    } else {
      days = LunarMonthDays(date.year, i);
    }
    if (isLeap && i == leap + 1) isLeap = false;
    offset -= days;
  }
  if (offset == 0 && leap > 0 && i == leap + 1) {
    if (isLeap) {
      isLeap = false;
    } else {
      isLeap = true;
      --i;
    }
  } else if (offset < 0) {
    offset += days;
    --i;
  }
  date.month = i;
  date.day = static_cast<int>(offset + 1);
  date.isLeap = isLeap;
}

bool SameLunarDay(const LunarDate& date, int year, int month, int day, bool isLeap) {
  return date.year == year && date.month == month && date.day == day && date.isLeap == isLeap;
}

// Months after the starting month that ToGregorian searches.
constexpr int kSearchMonths = 200;

}  // namespace

int LeapMonthOf(int lunarYear) {
  return static_cast<int>(InfoOf(lunarYear) & kLeapMonthMask);
}

int LeapMonthDays(int lunarYear) {
  return LeapDaysOf(lunarYear);
}

int LunarMonthDays(int lunarYear, int month) {
  if (!InTable(lunarYear) || month < 1 || month > 12) return 0;
  return (InfoOf(lunarYear) & (0x10000u >> month)) != 0 ? 30 : 29;
}

int LunarYearDays(int lunarYear) {
  return YearDaysOf(lunarYear);
}

bool IsGregorianLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int GregorianMonthDays(int year, int month) {
  switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return IsGregorianLeapYear(year) ? 29 : 28;
    default:
      return 0;
  }
}

long long DayNumber(int year, int month, int day) {
  // A month outside 1-12 carries into the year, so any input stays in range.
  long long y = year + FloorDiv(month - 1LL, 12);
  const int m = static_cast<int>(month - 1LL - 12 * FloorDiv(month - 1LL, 12)) + 1;  // [1, 12]
  const long long before = y - 1;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return 365 * before + FloorDiv(before, 4) - FloorDiv(before, 100) + FloorDiv(before, 400) +
         kDaysBeforeMonth[m - 1] + ((leap && m > 2) ? 1 : 0) + day;
}

bool ValidateBirthDate(int year, int month, int day, bool gregorian, bool leapMonth) {
  if (year <= 1900 || year > 2049 || month < 1 || month > 12 || day < 1) return false;
  if (gregorian) return GregorianMonthDays(year, month) >= day;
  if (leapMonth) return month == LeapMonthOf(year) && LeapMonthDays(year) >= day;
  return LunarMonthDays(year, month) >= day;
}

LunarDate ToLunar(int year, int month, int day) {
  const long long offset = DayNumber(year, month, day) - DayNumber(1900, 1, 31);
  LunarDate date;
  date.dayCount = static_cast<int>(offset + kEpochDayCount);
  const YearAndRest walked = WalkYears(offset);
  date.year = walked.year;
  date.yearCount = walked.year - kCycleYearBase;
  WalkMonths(date, walked.rest);
  return date;
}

CivilDate ToGregorian(int lunarYear, int lunarMonth, int lunarDay, bool isLeap) {
  // No converted day lies outside the table or these bounds.
  if (!InTable(lunarYear) || lunarMonth < 1 || lunarMonth > 12 || lunarDay < 1 || lunarDay > 30) {
    return {};
  }
  // A lunar date always falls later than the Gregorian date with the same
  // numbers, so the search starts there and walks forward day by day.
  int year = lunarYear;
  int month = lunarMonth;
  for (int walked = 0; walked < kSearchMonths; ++walked) {
    const int firstDay = walked == 0 ? lunarDay : 1;
    const int monthDays = GregorianMonthDays(year, month);
    for (int day = firstDay; day <= monthDays; ++day) {
      if (SameLunarDay(ToLunar(year, month, day), lunarYear, lunarMonth, lunarDay, isLeap)) {
        return {year, month, day};
      }
    }
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return {};
}

CivilDate NextDay(int year, int month, int day, bool wantGregorian) {
  CivilDate next{year, month, day};
  if (day >= GregorianMonthDays(year, month)) {
    next.day = 1;
    if (month < 12) {
      next.month = month + 1;
    } else if (year == INT_MAX) {
      return {};  // the next year is beyond int
    } else {
      next.month = 1;
      ++next.year;
    }
  } else {
    ++next.day;
  }
  if (wantGregorian) return next;
  const LunarDate lunar = ToLunar(next.year, next.month, next.day);
  return {lunar.year, lunar.month, lunar.day};
}

}  // namespace xuanshu
