// Time zones: clock readings and instants against tzdata as Python's zoneinfo
// reads it (data/time_zone_*.tsv, written by
// tools/time_zones/make_zone_test_cases.py), and hand-checked cases from the
// tzdata source: mainland China, Hong Kong, Taiwan and Macau through their
// wars and summer-time years, a rule change, the southern hemisphere, zones
// without daylight saving, and readings that are refused.
#include "calendar/time_zones.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace xuanshu {
namespace {

constexpr int kHour = 3600;
constexpr int kMinute = 60;

// Seconds since 1970 of a UTC time written "YYYY-MM-DD hh:mm:ss".
std::int64_t Utc(const char* text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  EXPECT_EQ(std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6) << text;
  const std::chrono::sys_days day{std::chrono::year{y} / mo / d};
  return day.time_since_epoch().count() * 86400LL + h * 3600LL + mi * 60LL + s;
}

const char* Name(ClockReading reading) {
  switch (reading) {
    case ClockReading::kUnique:
      return "unique";
    case ClockReading::kSkipped:
      return "skipped";
    case ClockReading::kRepeated:
      return "repeated";
  }
  return "?";
}

// Rows of a generated table, comment lines left out.
std::vector<std::vector<std::string>> ReadRows(const char* file) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "data" / file);
  EXPECT_TRUE(in) << file << " missing";
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

struct ReadingCase {
  const char* what;
  const char* zone;
  int year, month, day, hour, minute;
  ClockReading reading;
  const char* utc;
  int offset, dst;
  const char* other;
};

void ExpectReading(const ReadingCase& c) {
  const auto got = ResolveClockReading(c.zone, c.year, c.month, c.day, c.hour, c.minute);
  ASSERT_TRUE(got.has_value()) << c.what;
  EXPECT_STREQ(Name(got->reading), Name(c.reading)) << c.what;
  EXPECT_EQ(got->utcSeconds, Utc(c.utc)) << c.what;
  EXPECT_EQ(got->utcOffsetSeconds, c.offset) << c.what;
  EXPECT_EQ(got->dstSeconds, c.dst) << c.what;
  EXPECT_EQ(got->otherUtcSeconds, Utc(c.other)) << c.what;
}

TEST(ResolveClockReading, Beijing1988SummerTimeWithItsGapAndOverlap) {
  // CN rule: clocks forward 02:00 -> 03:00 on Sunday 17 April, back
  // 02:00 -> 01:00 on Sunday 11 September.
  const char* bj = "Asia/Shanghai";
  const ClockReading u = ClockReading::kUnique, s = ClockReading::kSkipped,
                     r = ClockReading::kRepeated;
  const ReadingCase cases[] = {
      {"last minute before the gap", bj, 1988, 4, 17, 1, 59, u, "1988-04-16 17:59:00", 8 * kHour, 0,
       "1988-04-16 17:59:00"},
      {"02:00 never shown", bj, 1988, 4, 17, 2, 0, s, "1988-04-16 18:00:00", 9 * kHour, kHour,
       "1988-04-16 17:00:00"},
      {"02:30 in the gap, read as standard time", bj, 1988, 4, 17, 2, 30, s, "1988-04-16 18:30:00",
       9 * kHour, kHour, "1988-04-16 17:30:00"},
      {"03:00 first summer-time minute", bj, 1988, 4, 17, 3, 0, u, "1988-04-16 18:00:00", 9 * kHour,
       kHour, "1988-04-16 18:00:00"},
      {"ordinary summer noon", bj, 1988, 7, 1, 12, 0, u, "1988-07-01 03:00:00", 9 * kHour, kHour,
       "1988-07-01 03:00:00"},
      {"00:59 before the overlap", bj, 1988, 9, 11, 0, 59, u, "1988-09-10 15:59:00", 9 * kHour,
       kHour, "1988-09-10 15:59:00"},
      {"01:00 first of the repeated hour", bj, 1988, 9, 11, 1, 0, r, "1988-09-10 16:00:00",
       9 * kHour, kHour, "1988-09-10 17:00:00"},
      {"01:30 repeated, first occurrence", bj, 1988, 9, 11, 1, 30, r, "1988-09-10 16:30:00",
       9 * kHour, kHour, "1988-09-10 17:30:00"},
      {"02:00 after the overlap", bj, 1988, 9, 11, 2, 0, u, "1988-09-10 18:00:00", 8 * kHour, 0,
       "1988-09-10 18:00:00"},
  };
  for (const ReadingCase& c : cases) ExpectReading(c);

  // The skipped reading is the standard-time clock: UTC + offset - DST.
  const auto gap = ResolveClockReading(bj, 1988, 4, 17, 2, 30);
  ASSERT_TRUE(gap.has_value());
  EXPECT_EQ(gap->utcSeconds + gap->utcOffsetSeconds - gap->dstSeconds, Utc("1988-04-17 02:30:00"));
}

TEST(ResolveClockReading, MainlandChinaSummerTimeYears) {
  const char* sh = "Asia/Shanghai";
  const ClockReading u = ClockReading::kUnique, s = ClockReading::kSkipped,
                     r = ClockReading::kRepeated;
  const ReadingCase cases[] = {
      {"1900 local mean time +8:05:43", sh, 1900, 6, 1, 12, 0, u, "1900-06-01 03:54:17",
       8 * kHour + 5 * kMinute + 43, 0, "1900-06-01 03:54:17"},
      {"1919 summer time starts at midnight 13 April", sh, 1919, 4, 13, 0, 30, s,
       "1919-04-12 16:30:00", 9 * kHour, kHour, "1919-04-12 15:30:00"},
      {"1919 summer", sh, 1919, 7, 1, 12, 0, u, "1919-07-01 03:00:00", 9 * kHour, kHour,
       "1919-07-01 03:00:00"},
      {"1919 summer time ends at midnight 30 September", sh, 1919, 9, 30, 23, 30, r,
       "1919-09-30 14:30:00", 9 * kHour, kHour, "1919-09-30 15:30:00"},
      {"1920 no summer time", sh, 1920, 7, 1, 12, 0, u, "1920-07-01 04:00:00", 8 * kHour, 0,
       "1920-07-01 04:00:00"},
      {"1940 summer", sh, 1940, 8, 1, 12, 0, u, "1940-08-01 03:00:00", 9 * kHour, kHour,
       "1940-08-01 03:00:00"},
      {"1943 summer time all year, 1942-01-31 to 1945-09-01", sh, 1943, 1, 15, 12, 0, u,
       "1943-01-15 03:00:00", 9 * kHour, kHour, "1943-01-15 03:00:00"},
      {"1945 summer time ends 1 September", sh, 1945, 9, 1, 23, 30, r, "1945-09-01 14:30:00",
       9 * kHour, kHour, "1945-09-01 15:30:00"},
      {"1949 summer time ends 28 May", sh, 1949, 5, 27, 23, 30, r, "1949-05-27 14:30:00", 9 * kHour,
       kHour, "1949-05-27 15:30:00"},
      {"1949 summer after 28 May", sh, 1949, 7, 1, 12, 0, u, "1949-07-01 04:00:00", 8 * kHour, 0,
       "1949-07-01 04:00:00"},
      {"1985 no summer time", sh, 1985, 7, 1, 12, 0, u, "1985-07-01 04:00:00", 8 * kHour, 0,
       "1985-07-01 04:00:00"},
      {"1986 first summer time starts 4 May 02:00", sh, 1986, 5, 4, 2, 30, s, "1986-05-03 18:30:00",
       9 * kHour, kHour, "1986-05-03 17:30:00"},
      {"1986 summer time ends 14 September", sh, 1986, 9, 14, 1, 30, r, "1986-09-13 16:30:00",
       9 * kHour, kHour, "1986-09-13 17:30:00"},
      {"1991 last spring gap, 14 April", sh, 1991, 4, 14, 2, 30, s, "1991-04-13 18:30:00",
       9 * kHour, kHour, "1991-04-13 17:30:00"},
      {"1991 last overlap, 15 September", sh, 1991, 9, 15, 1, 30, r, "1991-09-14 16:30:00",
       9 * kHour, kHour, "1991-09-14 17:30:00"},
      {"1992 no summer time", sh, 1992, 7, 1, 12, 0, u, "1992-07-01 04:00:00", 8 * kHour, 0,
       "1992-07-01 04:00:00"},
      {"link name Asia/Chongqing", "Asia/Chongqing", 1988, 7, 1, 12, 0, u, "1988-07-01 03:00:00",
       9 * kHour, kHour, "1988-07-01 03:00:00"},
      {"link name PRC", "PRC", 1988, 4, 17, 2, 30, s, "1988-04-16 18:30:00", 9 * kHour, kHour,
       "1988-04-16 17:30:00"},
  };
  for (const ReadingCase& c : cases) ExpectReading(c);
}

TEST(ResolveClockReading, HongKongTaipeiAndMacauThroughOccupationAndSummerTime) {
  const ClockReading u = ClockReading::kUnique, s = ClockReading::kSkipped,
                     r = ClockReading::kRepeated;
  const ReadingCase cases[] = {
      {"HK 1941 summer time from 15 June 03:00", "Asia/Hong_Kong", 1941, 6, 15, 3, 30, s,
       "1941-06-14 19:30:00", 9 * kHour, kHour, "1941-06-14 18:30:00"},
      {"HK 1941 war time +8:30 from 1 October 04:00", "Asia/Hong_Kong", 1941, 10, 1, 3, 45, r,
       "1941-09-30 18:45:00", 9 * kHour, kHour, "1941-09-30 19:15:00"},
      {"HK 1941 war time is half an hour of saving", "Asia/Hong_Kong", 1941, 11, 1, 12, 0, u,
       "1941-11-01 03:30:00", 8 * kHour + 30 * kMinute, 30 * kMinute, "1941-11-01 03:30:00"},
      {"HK 1942 occupation: +9 as standard time", "Asia/Hong_Kong", 1942, 6, 1, 12, 0, u,
       "1942-06-01 03:00:00", 9 * kHour, 0, "1942-06-01 03:00:00"},
      {"HK 1945 back to +8 on 18 November 02:00", "Asia/Hong_Kong", 1945, 11, 18, 1, 30, r,
       "1945-11-17 16:30:00", 9 * kHour, 0, "1945-11-17 17:30:00"},
      {"HK 1946 summer time from 21 April", "Asia/Hong_Kong", 1946, 4, 21, 0, 30, s,
       "1946-04-20 16:30:00", 9 * kHour, kHour, "1946-04-20 15:30:00"},
      {"HK 1974 summer time through the winter", "Asia/Hong_Kong", 1974, 1, 15, 12, 0, u,
       "1974-01-15 03:00:00", 9 * kHour, kHour, "1974-01-15 03:00:00"},
      {"HK 1977 no summer time", "Asia/Hong_Kong", 1977, 7, 1, 12, 0, u, "1977-07-01 04:00:00",
       8 * kHour, 0, "1977-07-01 04:00:00"},
      {"HK 1979 last summer", "Asia/Hong_Kong", 1979, 8, 1, 12, 0, u, "1979-08-01 03:00:00",
       9 * kHour, kHour, "1979-08-01 03:00:00"},
      {"HK 1979 summer time ends 21 October 03:30", "Asia/Hong_Kong", 1979, 10, 21, 3, 0, r,
       "1979-10-20 18:00:00", 9 * kHour, kHour, "1979-10-20 19:00:00"},
      {"HK 1980 no summer time", "Asia/Hong_Kong", 1980, 8, 1, 12, 0, u, "1980-08-01 04:00:00",
       8 * kHour, 0, "1980-08-01 04:00:00"},
      {"Taipei 1940: Japan's +9 as standard time", "Asia/Taipei", 1940, 6, 1, 12, 0, u,
       "1940-06-01 03:00:00", 9 * kHour, 0, "1940-06-01 03:00:00"},
      {"Taipei back to +8 on 21 September 1945 01:00", "Asia/Taipei", 1945, 9, 21, 0, 30, r,
       "1945-09-20 15:30:00", 9 * kHour, 0, "1945-09-20 16:30:00"},
      {"Taipei 1946 summer time from 15 May", "Asia/Taipei", 1946, 5, 15, 0, 30, s,
       "1946-05-14 16:30:00", 9 * kHour, kHour, "1946-05-14 15:30:00"},
      {"Taipei 1961 summer", "Asia/Taipei", 1961, 8, 1, 12, 0, u, "1961-08-01 03:00:00", 9 * kHour,
       kHour, "1961-08-01 03:00:00"},
      {"Taipei 1962 no summer time", "Asia/Taipei", 1962, 8, 1, 12, 0, u, "1962-08-01 04:00:00",
       8 * kHour, 0, "1962-08-01 04:00:00"},
      {"Taipei 1979 summer time from 1 July", "Asia/Taipei", 1979, 7, 1, 0, 30, s,
       "1979-06-30 16:30:00", 9 * kHour, kHour, "1979-06-30 15:30:00"},
      {"Taipei 1979 summer time ends 30 September", "Asia/Taipei", 1979, 9, 30, 23, 30, r,
       "1979-09-30 14:30:00", 9 * kHour, kHour, "1979-09-30 15:30:00"},
      {"Macau 1942: +9 standard with summer +10", "Asia/Macau", 1942, 6, 1, 12, 0, u,
       "1942-06-01 02:00:00", 10 * kHour, kHour, "1942-06-01 02:00:00"},
      {"Macau 1944: +9 as standard time", "Asia/Macau", 1944, 1, 15, 12, 0, u,
       "1944-01-15 03:00:00", 9 * kHour, 0, "1944-01-15 03:00:00"},
      {"Macau 1979 summer time ends 21 October 03:30", "Asia/Macau", 1979, 10, 21, 3, 0, r,
       "1979-10-20 18:00:00", 9 * kHour, kHour, "1979-10-20 19:00:00"},
      {"Macau 2000 no summer time", "Asia/Macau", 2000, 7, 1, 12, 0, u, "2000-07-01 04:00:00",
       8 * kHour, 0, "2000-07-01 04:00:00"},
  };
  for (const ReadingCase& c : cases) ExpectReading(c);
}

TEST(ResolveClockReading, RuleChangesSouthernHemisphereAndZonesWithoutSummerTime) {
  const ClockReading u = ClockReading::kUnique, s = ClockReading::kSkipped,
                     r = ClockReading::kRepeated;
  const ReadingCase cases[] = {
      {"New York 2006: first Sunday of April", "America/New_York", 2006, 4, 2, 2, 30, s,
       "2006-04-02 07:30:00", -4 * kHour, kHour, "2006-04-02 06:30:00"},
      {"New York 2006: last Sunday of October", "America/New_York", 2006, 10, 29, 1, 30, r,
       "2006-10-29 05:30:00", -4 * kHour, kHour, "2006-10-29 06:30:00"},
      {"New York 2007: second Sunday of March", "America/New_York", 2007, 3, 11, 2, 30, s,
       "2007-03-11 07:30:00", -4 * kHour, kHour, "2007-03-11 06:30:00"},
      {"New York 2007: 1 April already summer time", "America/New_York", 2007, 4, 1, 2, 30, u,
       "2007-04-01 06:30:00", -4 * kHour, kHour, "2007-04-01 06:30:00"},
      {"New York 2007: 28 October still summer time", "America/New_York", 2007, 10, 28, 1, 30, u,
       "2007-10-28 05:30:00", -4 * kHour, kHour, "2007-10-28 05:30:00"},
      {"New York 2007: first Sunday of November", "America/New_York", 2007, 11, 4, 1, 30, r,
       "2007-11-04 05:30:00", -4 * kHour, kHour, "2007-11-04 06:30:00"},
      {"Sydney: clocks forward on 5 October 2008", "Australia/Sydney", 2008, 10, 5, 2, 30, s,
       "2008-10-04 16:30:00", 11 * kHour, kHour, "2008-10-04 15:30:00"},
      {"Sydney: clocks back on 6 April 2008", "Australia/Sydney", 2008, 4, 6, 2, 30, r,
       "2008-04-05 15:30:00", 11 * kHour, kHour, "2008-04-05 16:30:00"},
      {"Sydney: January is summer time", "Australia/Sydney", 2008, 1, 15, 12, 0, u,
       "2008-01-15 01:00:00", 11 * kHour, kHour, "2008-01-15 01:00:00"},
      {"Sydney: July is standard time", "Australia/Sydney", 2008, 7, 1, 12, 0, u,
       "2008-07-01 02:00:00", 10 * kHour, 0, "2008-07-01 02:00:00"},
      {"Singapore 1935: +7:20 with 0:20 saving", "Asia/Singapore", 1935, 6, 1, 12, 0, u,
       "1935-06-01 04:40:00", 7 * kHour + 20 * kMinute, 20 * kMinute, "1935-06-01 04:40:00"},
      {"Singapore 1937: +7:20 as standard time", "Asia/Singapore", 1937, 6, 1, 12, 0, u,
       "1937-06-01 04:40:00", 7 * kHour + 20 * kMinute, 0, "1937-06-01 04:40:00"},
      {"Singapore 1970: +7:30", "Asia/Singapore", 1970, 1, 1, 12, 0, u, "1970-01-01 04:30:00",
       7 * kHour + 30 * kMinute, 0, "1970-01-01 04:30:00"},
      {"Singapore: last half hour of 1981 skipped", "Asia/Singapore", 1981, 12, 31, 23, 45, s,
       "1981-12-31 16:15:00", 8 * kHour, 0, "1981-12-31 15:45:00"},
      {"Singapore 1990: +8, no summer time", "Asia/Singapore", 1990, 7, 1, 12, 0, u,
       "1990-07-01 04:00:00", 8 * kHour, 0, "1990-07-01 04:00:00"},
      {"Dublin 2001: summer counts as daylight saving", "Europe/Dublin", 2001, 7, 1, 12, 0, u,
       "2001-07-01 11:00:00", kHour, kHour, "2001-07-01 11:00:00"},
      {"Dublin 2001: winter is standard time", "Europe/Dublin", 2001, 1, 15, 12, 0, u,
       "2001-01-15 12:00:00", 0, 0, "2001-01-15 12:00:00"},
      {"Dublin 1970: +1 all year as standard time", "Europe/Dublin", 1970, 1, 15, 12, 0, u,
       "1970-01-15 11:00:00", kHour, 0, "1970-01-15 11:00:00"},
      {"first reading served", "Asia/Shanghai", 1900, 1, 1, 0, 0, u, "1899-12-31 15:54:17",
       8 * kHour + 5 * kMinute + 43, 0, "1899-12-31 15:54:17"},
      {"last reading served", "Pacific/Auckland", 2050, 12, 31, 23, 59, u, "2050-12-31 10:59:00",
       13 * kHour, kHour, "2050-12-31 10:59:00"},
  };
  for (const ReadingCase& c : cases) ExpectReading(c);
}

TEST(ResolveClockReading, RefusesUnknownZonesReadingsOutOfRangeAndImpossibleFields) {
  struct Case {
    const char* what;
    std::string_view zone;
    int year, month, day, hour, minute;
  };
  const Case cases[] = {
      {"unknown zone", "Mars/Olympus_Mons", 1988, 7, 1, 12, 0},
      {"empty zone", "", 1988, 7, 1, 12, 0},
      {"zone names are case-sensitive", "asia/shanghai", 1988, 7, 1, 12, 0},
      {"trailing space", "Asia/Shanghai ", 1988, 7, 1, 12, 0},
      {"a prefix is no zone", "Asia/Shang", 1988, 7, 1, 12, 0},
      {"embedded NUL", std::string_view("Asia/Shanghai\0", 14), 1988, 7, 1, 12, 0},
      {"last minute of 1899", "Asia/Shanghai", 1899, 12, 31, 23, 59},
      {"first minute of 2051", "Asia/Shanghai", 2051, 1, 1, 0, 0},
      {"smallest year", "Asia/Shanghai", INT_MIN, 1, 1, 0, 0},
      {"largest year", "Asia/Shanghai", INT_MAX, 12, 31, 23, 59},
      {"month 0", "Asia/Shanghai", 1988, 0, 1, 12, 0},
      {"month 13", "Asia/Shanghai", 1988, 13, 1, 12, 0},
      {"day 0", "Asia/Shanghai", 1988, 7, 0, 12, 0},
      {"31 April", "Asia/Shanghai", 1988, 4, 31, 12, 0},
      {"29 February 1900", "Asia/Shanghai", 1900, 2, 29, 12, 0},
      {"hour -1", "Asia/Shanghai", 1988, 7, 1, -1, 0},
      {"hour 24", "Asia/Shanghai", 1988, 7, 1, 24, 0},
      {"minute 60", "Asia/Shanghai", 1988, 7, 1, 12, 60},
      {"largest fields", "Asia/Shanghai", INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {"smallest fields", "Asia/Shanghai", INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ResolveClockReading(c.zone, c.year, c.month, c.day, c.hour, c.minute)) << c.what;
  }
  EXPECT_TRUE(ResolveClockReading("Asia/Shanghai", 2000, 2, 29, 12, 0)) << "29 February 2000";
}

TEST(ZoneStateAt, ChangesTakeEffectAtTheirInstantWithinTheCoveredSpan) {
  struct Case {
    const char* what;
    const char* zone;
    std::int64_t utc;
    int offset, dst;
  };
  const Case cases[] = {
      {"second before Beijing 1988 summer time", "Asia/Shanghai", Utc("1988-04-16 17:59:59"),
       8 * kHour, 0},
      {"first second of Beijing 1988 summer time", "Asia/Shanghai", Utc("1988-04-16 18:00:00"),
       9 * kHour, kHour},
      {"last second of Beijing 1988 summer time", "Asia/Shanghai", Utc("1988-09-10 16:59:59"),
       9 * kHour, kHour},
      {"Beijing standard time again", "Asia/Shanghai", Utc("1988-09-10 17:00:00"), 8 * kHour, 0},
      {"start of the covered span", "Asia/Shanghai", Utc("1899-12-31 00:00:00"),
       8 * kHour + 5 * kMinute + 43, 0},
      {"end of the covered span", "Australia/Sydney", Utc("2051-01-01 23:59:59"), 11 * kHour,
       kHour},
      {"Hong Kong war time", "Hongkong", Utc("1941-11-01 00:00:00"), 8 * kHour + 30 * kMinute,
       30 * kMinute},
  };
  for (const Case& c : cases) {
    const auto got = ZoneStateAt(c.zone, c.utc);
    ASSERT_TRUE(got.has_value()) << c.what;
    EXPECT_EQ(got->utcOffsetSeconds, c.offset) << c.what;
    EXPECT_EQ(got->dstSeconds, c.dst) << c.what;
    EXPECT_EQ(got->utcSeconds, c.utc) << c.what;
    EXPECT_EQ(got->otherUtcSeconds, c.utc) << c.what;
    EXPECT_EQ(got->reading, ClockReading::kUnique) << c.what;
  }
  EXPECT_FALSE(ZoneStateAt("Asia/Shanghai", Utc("1899-12-30 23:59:59")));
  EXPECT_FALSE(ZoneStateAt("Asia/Shanghai", Utc("2051-01-02 00:00:00")));
  EXPECT_FALSE(ZoneStateAt("Asia/Shanghai", std::numeric_limits<std::int64_t>::min()));
  EXPECT_FALSE(ZoneStateAt("Asia/Shanghai", std::numeric_limits<std::int64_t>::max()));
  EXPECT_FALSE(ZoneStateAt("Mars/Olympus_Mons", Utc("1988-07-01 00:00:00")));
}

TEST(IsKnownZone, KnowsTheListedZonesAndTheirLinkNamesOnly) {
  for (const char* zone : {"Asia/Shanghai", "Asia/Hong_Kong", "Asia/Macau", "Asia/Taipei",
                           "Asia/Chongqing", "Asia/Harbin", "PRC", "ROC", "Hongkong", "Asia/Macao",
                           "Asia/Calcutta", "America/New_York"}) {
    EXPECT_TRUE(IsKnownZone(zone)) << zone;
  }
  for (const char* zone : {"", "Asia", "Asia/", "asia/shanghai", "Asia/Shanghai/", "Beijing",
                           "UTC+8", "Mars/Olympus_Mons"}) {
    EXPECT_FALSE(IsKnownZone(zone)) << zone;
  }
}

ClockReading KindOf(const std::string& text) {
  if (text == "skipped") return ClockReading::kSkipped;
  if (text == "repeated") return ClockReading::kRepeated;
  EXPECT_EQ(text, "unique");
  return ClockReading::kUnique;
}

TEST(ResolveClockReading, AgreesWithZoneinfoAroundEveryChangeAndAtRandomReadings) {
  const auto rows = ReadRows("time_zone_readings.tsv");
  ASSERT_GT(rows.size(), 1000u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 8u);
    const std::string what = row[0] + " " + row[1] + " " + row[2];
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    ASSERT_EQ(std::sscanf(row[1].c_str(), "%d-%d-%d", &y, &mo, &d), 3) << what;
    ASSERT_EQ(std::sscanf(row[2].c_str(), "%d:%d", &h, &mi), 2) << what;
    const auto got = ResolveClockReading(row[0], y, mo, d, h, mi);
    ASSERT_TRUE(got.has_value()) << what;
    EXPECT_STREQ(Name(got->reading), Name(KindOf(row[3]))) << what;
    EXPECT_EQ(got->utcSeconds, std::stoll(row[4])) << what;
    EXPECT_EQ(got->utcOffsetSeconds, std::stoi(row[5])) << what;
    EXPECT_EQ(got->dstSeconds, std::stoi(row[6])) << what;
    EXPECT_EQ(got->otherUtcSeconds, std::stoll(row[7])) << what;
  }
}

TEST(ZoneStateAt, AgreesWithZoneinfoAtEveryChangeAndAtRandomInstants) {
  const auto rows = ReadRows("time_zone_states.tsv");
  ASSERT_GT(rows.size(), 500u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 4u);
    const std::string what = row[0] + " at " + row[1];
    const auto got = ZoneStateAt(row[0], std::stoll(row[1]));
    ASSERT_TRUE(got.has_value()) << what;
    EXPECT_EQ(got->utcOffsetSeconds, std::stoi(row[2])) << what;
    EXPECT_EQ(got->dstSeconds, std::stoi(row[3])) << what;
  }
}

}  // namespace
}  // namespace xuanshu
