// Civil date-times as a count of seconds: every instant of the program that
// carries a time zone (a birth in UTC, a solar term, a true solar time) is
// held as seconds since 1970-01-01 00:00:00 on the proleptic Gregorian
// calendar, and split into fields only for showing or for the pillars.
#pragma once

#include <cstdint>

namespace xuanshu {

struct CivilTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

inline constexpr std::int64_t kSecondsPerMinute = 60;
inline constexpr std::int64_t kSecondsPerHour = 3600;
inline constexpr std::int64_t kSecondsPerDay = 86400;
// Beijing time, in which the almanac gives the solar terms.
inline constexpr std::int64_t kBeijingOffsetSeconds = 8 * kSecondsPerHour;

// Days since 1970-01-01 of a Gregorian date (Hinnant's days_from_civil); a
// month outside 1-12 carries into the year.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day);

std::int64_t SecondsOf(const CivilTime& t);
// Inverse of SecondsOf for |seconds| below about 10^17.
CivilTime CivilTimeOf(std::int64_t seconds);

// Floor division, for counts that may be negative.
constexpr std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace xuanshu
