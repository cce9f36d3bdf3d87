// The Chinese lunisolar calendar for lunar years 1900-2050 (births 1901-2049):
// month lengths, validation and conversions to and from the Gregorian calendar.
#pragma once

namespace xuanshu {

struct LunarDate {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-30
  bool isLeap = false;
  int yearCount = 0;  // lunar year - 1864 (1864 is 甲子)
  int dayCount = 0;   // days since 1900-01-31, plus 40 (1900-01-31 is 甲辰)
};

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

int LeapMonthOf(int lunarYear);
int LeapMonthDays(int lunarYear);
int LunarMonthDays(int lunarYear, int month);
int LunarYearDays(int lunarYear);

bool IsGregorianLeapYear(int year);
int GregorianMonthDays(int year, int month);
// Serial day number of a Gregorian date; differences count days.
long long DayNumber(int year, int month, int day);

// Year 1901-2049, month 1-12, day 1 up to the month's length (leap month:
// only the year's own leap month). Hours and minutes are checked elsewhere.
bool ValidateBirthDate(int year, int month, int day, bool gregorian, bool leapMonth);

LunarDate ToLunar(int year, int month, int day);
// (0, 0, 0) when no date matches.
CivilDate ToGregorian(int lunarYear, int lunarMonth, int lunarDay, bool isLeap);
// The Gregorian day after (y, m, d), or that day's lunar year, month and day;
// (0, 0, 0) when that day's year is beyond int.
CivilDate NextDay(int year, int month, int day, bool wantGregorian);

}  // namespace xuanshu
