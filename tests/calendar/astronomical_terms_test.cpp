#include "calendar/astronomical_terms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calendar/solar_terms.h"

namespace xuanshu {
namespace {

constexpr std::int64_t kBeijingOffset = 8 * 3600;
constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t DaysSince1970(int year, int month, int day) {
  using namespace std::chrono;
  const sys_days days{std::chrono::year(year) / month / day};
  return days.time_since_epoch().count();
}

std::int64_t SecondsSince1970(int year, int month, int day, int hour, int minute, int second) {
  return DaysSince1970(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

// "YYYY-MM-DD hh:mm[:ss]" to seconds since 1970 on the same clock; -1 when malformed.
std::int64_t ParseMoment(const std::string& text) {
  int year, month, day, hour, minute, second = 0;
  const int fields =
      std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
  if (fields < 5) return -1;
  return SecondsSince1970(year, month, day, hour, minute, second);
}

std::string ShowUtc(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds moment{std::chrono::seconds(seconds)};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{moment - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

std::int64_t TableUtc(int year, int index) {
  const auto utc = AstronomicalTermUtc(year, index);
  EXPECT_TRUE(utc.has_value()) << "term " << index << " of " << year;
  return utc.value_or(0);
}

TEST(AstronomicalTerms, MatchPublishedMoments) {
  struct Case {
    int year, index;
    const char* utc;
    int toleranceSeconds;
    const char* source;
  };
  // Minute values are rounded to the nearest minute by their sources, so they
  // allow 30 s plus the table's own couple of seconds.
  const Case cases[] = {
      {2024, 2, "2024-02-04 08:27", 32, "立春 2024, Hong Kong Observatory: 16:27 Beijing time"},
      {1984, 2, "1984-02-04 15:18:45", 3, "立春 1984: 23:18:45 Beijing time"},
      {2000, 5, "2000-03-20 07:35", 32, "March equinox 2000, USNO"},
      {2000, 11, "2000-06-21 01:48", 32, "June solstice 2000, USNO"},
      {2000, 23, "2000-12-21 13:37", 32, "December solstice 2000, USNO"},
      {2023, 5, "2023-03-20 21:24", 32, "March equinox 2023, USNO"},
      {2023, 17, "2023-09-23 06:50", 32, "September equinox 2023, USNO"},
      {2023, 23, "2023-12-22 03:27", 32, "December solstice 2023, USNO"},
      {2024, 5, "2024-03-20 03:06", 32, "March equinox 2024, USNO"},
      {2024, 11, "2024-06-20 20:51", 32, "June solstice 2024, USNO"},
      {2024, 17, "2024-09-22 12:44", 32, "September equinox 2024, USNO"},
      {2024, 23, "2024-12-21 09:21", 32, "December solstice 2024, USNO"},
      {2025, 5, "2025-03-20 09:01", 32, "March equinox 2025, USNO"},
      {2025, 11, "2025-06-21 02:42", 32, "June solstice 2025, USNO"},
      {2025, 17, "2025-09-22 18:19", 32, "September equinox 2025, USNO"},
      {2025, 23, "2025-12-21 15:03", 32, "December solstice 2025, USNO"},
  };
  for (const Case& c : cases) {
    const std::int64_t table = TableUtc(c.year, c.index);
    EXPECT_LE(std::llabs(table - ParseMoment(c.utc)), c.toleranceSeconds)
        << c.source << ": table says " << ShowUtc(table) << " UTC";
  }
}

struct SecondSourceRow {
  int year = 0, index = 0;
  std::string beijing;
};

std::vector<SecondSourceRow> LunarJavascriptRows() {
  const auto path =
      std::filesystem::path(__FILE__).parent_path() / "data" / "lunar_javascript_terms.tsv";
  std::ifstream in(path);
  std::vector<SecondSourceRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    SecondSourceRow row;
    char moment[32] = {};
    if (std::sscanf(line.c_str(), "%d\t%d\t%31[^\n]", &row.year, &row.index, moment) == 3) {
      row.beijing = moment;
      rows.push_back(row);
    }
  }
  return rows;
}

// lunar-javascript computes the terms independently (its own ephemeris and
// delta T); over 1901-2049 the two agree to 5 s at most, 1 s in the median.
TEST(AstronomicalTerms, AgreeWithLunarJavascriptToSeconds) {
  const std::vector<SecondSourceRow> rows = LunarJavascriptRows();
  ASSERT_EQ(rows.size(), 149u * 24) << "every term of 1901-2049";
  std::vector<std::int64_t> misses;
  for (const SecondSourceRow& row : rows) {
    const std::int64_t theirs = ParseMoment(row.beijing) - kBeijingOffset;
    const std::int64_t miss = std::llabs(TableUtc(row.year, row.index) - theirs);
    EXPECT_LE(miss, 15) << "term " << row.index << " of " << row.year << ": lunar-javascript "
                        << row.beijing << " Beijing time, table "
                        << ShowUtc(TableUtc(row.year, row.index)) << " UTC";
    misses.push_back(miss);
  }
  std::nth_element(misses.begin(), misses.begin() + misses.size() / 2, misses.end());
  EXPECT_LE(misses[misses.size() / 2], 1) << "median difference";
}

TEST(AstronomicalTerms, EveryYearHasTwentyFourOrderedTermsInTheirMonths) {
  std::int64_t previous = 0;
  for (int year = kFirstAstronomicalTermYear; year <= kLastAstronomicalTermYear; ++year) {
    for (int index = 0; index < 24; ++index) {
      const auto utc = AstronomicalTermUtc(year, index);
      ASSERT_TRUE(utc.has_value()) << "term " << index << " of " << year;
      const std::int64_t beijing = *utc + kBeijingOffset;
      const int month = index / 2 + 1;
      const bool sectional = index % 2 == 0;
      // Sectional terms fall on days 3-9, the others on days 18-24.
      const std::int64_t earliest = DaysSince1970(year, month, sectional ? 3 : 18) * kSecondsPerDay;
      const std::int64_t latest = DaysSince1970(year, month, sectional ? 10 : 25) * kSecondsPerDay;
      EXPECT_TRUE(beijing >= earliest && beijing < latest)
          << "term " << index << " of " << year << " at " << ShowUtc(*utc) << " UTC";
      if (previous != 0) {
        const double days = static_cast<double>(*utc - previous) / kSecondsPerDay;
        EXPECT_TRUE(days > 14.7 && days < 15.8)
            << "term " << index << " of " << year << " comes " << days << " days after the last";
      }
      previous = *utc;
    }
  }
}

TEST(AstronomicalTerms, IndicesCarryIntoNeighbouringYearsAndTheTableEnds) {
  EXPECT_EQ(AstronomicalTermUtc(1990, 24), AstronomicalTermUtc(1991, 0));
  EXPECT_EQ(AstronomicalTermUtc(1990, -2), AstronomicalTermUtc(1989, 22));
  EXPECT_EQ(AstronomicalTermUtc(2051, -1), AstronomicalTermUtc(2050, 23));
  EXPECT_EQ(AstronomicalTermUtc(1900, 151 * 24 - 1), AstronomicalTermUtc(2050, 23));
  EXPECT_TRUE(AstronomicalTermUtc(1900, 22).has_value()) << "大雪 1900";
  EXPECT_TRUE(AstronomicalTermUtc(2050, 0).has_value()) << "小寒 2050";
  struct Case {
    int year, index;
  };
  const Case outside[] = {{1899, 23},         {1900, -1},         {2050, 24},
                          {2051, 0},          {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN},
                          {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {0, 0}};
  for (const Case& c : outside) {
    EXPECT_FALSE(AstronomicalTermUtc(c.year, c.index).has_value()) << c.year << ", " << c.index;
  }
}

// The closed formula of TermMoment gives plain Beijing times; it stays within
// about two and a quarter hours of the astronomical moments.
TEST(AstronomicalTerms, ClosedFormulaStaysWithinHoursOfTheTable) {
  for (int year = 1901; year <= 2049; ++year) {
    for (int index = 0; index < 24; index += 2) {
      const DateTime formula = TermMoment(year, index);
      const std::int64_t formulaUtc =
          SecondsSince1970(formula.year, formula.month, formula.day, formula.hour, formula.minute,
                           formula.second) -
          kBeijingOffset;
      EXPECT_LE(std::llabs(formulaUtc - TableUtc(year, index)), 140 * 60)
          << "term " << index << " of " << year;
    }
  }
}

}  // namespace
}  // namespace xuanshu
