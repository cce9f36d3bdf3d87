#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "calendar/birth_pillars.h"
#include "calendar/civil_time.h"
#include "calendar/longitude.h"
#include "calendar/solar_time.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

std::string Show(const CivilTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

TEST(CivilTime, CountsSecondsFromTheUnixEpochBothWays) {
  EXPECT_EQ(SecondsOf({1970, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(SecondsOf({2000, 3, 1, 0, 0, 0}), 951868800) << "the day after a 400-year leap day";
  EXPECT_EQ(SecondsOf({1900, 1, 1, 0, 0, 0}), -2208988800) << "before the epoch";
  EXPECT_EQ(SecondsOf({1999, 12, 32, 0, 0, 0}), SecondsOf({2000, 1, 1, 0, 0, 0}));
  for (std::int64_t s = SecondsOf({1899, 12, 31, 23, 59, 59}); s < 2600000000; s += 86399 * 37) {
    ASSERT_EQ(SecondsOf(CivilTimeOf(s)), s) << Show(CivilTimeOf(s));
  }
}

TEST(EquationOfTime, MatchesMeeusAndTheSeasons) {
  // Meeus, Astronomical Algorithms, example 28.b: 1992 October 13.0 TD.
  EXPECT_NEAR(EquationOfTimeMinutes(2448908.5) * 60, 13 * 60 + 42.7, 0.1);
  struct Case {
    CivilTime day;
    double minutes;
    const char* why;
  };
  const Case cases[] = {
      {{2024, 2, 11, 12, 0, 0}, -14.2, "the February minimum, about −14 min 14 s"},
      {{2024, 11, 3, 12, 0, 0}, 16.4, "the November maximum, about +16 min 26 s"},
      {{2024, 4, 15, 12, 0, 0}, 0.0, "crossing zero in mid April"},
      {{2024, 7, 26, 12, 0, 0}, -6.5, "the July minimum"},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(EquationOfTimeMinutes(JulianDayOf(SecondsOf(c.day))), c.minutes, 0.2) << c.why;
  }
}

TEST(TrueSolarTime, AddsFourMinutesADegreeAndTheEquationOfTime) {
  // 2024-04-15 04:00 UTC is noon in Beijing time; the equation of time is ~0.
  const std::int64_t utc = SecondsOf({2024, 4, 15, 4, 0, 0});
  EXPECT_NEAR(TrueSolarSeconds(utc, 120.0) - utc, 8 * 3600, 15) << "on the zone's meridian";
  EXPECT_NEAR(TrueSolarSeconds(utc, 87.6168) - utc, 8 * 3600 - 129.53 * 60, 15)
      << "Urumqi lies 2 h 10 min behind Beijing time";
  EXPECT_NEAR(TrueSolarSeconds(utc, -74.006) - utc, -74.006 * 240, 15) << "west is negative";
}

TEST(Longitude, ReadsWhatUsersTypeAndShowsDegreesAndMinutes) {
  struct Case {
    const char16_t* typed;
    double degrees;  // NAN: not a longitude
  };
  const Case cases[] = {
      {u"116.4", 116.4},     {u" 116.4 ", 116.4},     {u"+116.4", 116.4}, {u"-74.006", -74.006},
      {u"116°24′", 116.4},   {u"116°24'", 116.4},     {u"116°24", 116.4}, {u"116°24′36″", 116.41},
      {u"116度24分", 116.4}, {u"东经116°24′", 116.4}, {u"西经74°", -74},  {u"74W", -74},
      {u"E116.4", 116.4},    {u"200", 200},           {u"北京", NAN},     {u"", NAN},
      {u"116.4.5", NAN},     {u"°24′", NAN},          {u"116°24′x", NAN}, {u"--116", NAN},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseLongitude(c.typed);
    if (std::isnan(c.degrees)) {
      EXPECT_FALSE(parsed) << U8(c.typed);
    } else {
      ASSERT_TRUE(parsed) << U8(c.typed);
      EXPECT_NEAR(*parsed, c.degrees, 1e-9) << U8(c.typed);
    }
  }
  EXPECT_FALSE(IsValidLongitude(180.5));
  EXPECT_TRUE(IsValidLongitude(-180));
  EXPECT_EQ(U8(LongitudeText(116.4)), U8(u"东经116°24′"));
  EXPECT_EQ(U8(LongitudeText(87.6168)), U8(u"东经87°37′"));
  EXPECT_EQ(U8(LongitudeText(-74.0060)), U8(u"西经74°00′"));
  EXPECT_EQ(U8(LongitudeText(75.9999)), U8(u"东经76°00′")) << "minutes round into degrees";
}

std::string Pillars(const FourPillars& p) {
  return U8(p.year + u" " + p.month + u" " + p.day + u" " + p.hour);
}

BirthMoment InBeijing(const CivilTime& clock) {
  return ResolveBirthMoment(clock, BirthPlace{});
}

TEST(BirthPillars, TermSourceAndZiSchoolDecideTheirOwnPillarsOnly) {
  struct Case {
    CivilTime clock;
    const TermSource& terms;
    const ZiSchool& school;
    const char16_t* pillars;
    const char* why;
  };
  const Case cases[] = {
      {{2000, 1, 1, 23, 30, 0},
       FormulaTermSource(),
       kNextDayZiSchool,
       u"己卯 丙子 己未 甲子",
       "next-day school: 23:30 takes 2 January's day pillar"},
      {{2000, 1, 1, 23, 30, 0},
       FormulaTermSource(),
       kSameDayZiSchool,
       u"己卯 丙子 戊午 甲子",
       "same-day school: the date's day pillar, the next day's 子 hour"},
      {{2000, 1, 1, 23, 30, 0},
       AstronomicalTermSource(),
       kSameDayZiSchool,
       u"己卯 丙子 戊午 甲子",
       "the term source leaves day and hour alone"},
      {{2024, 3, 5, 10, 19, 0},
       FormulaTermSource(),
       kNextDayZiSchool,
       u"甲辰 丁卯 戊辰 丁巳",
       "3 minutes before 惊蛰 (10:22:46): the formula put it at 09:09"},
      {{2024, 3, 5, 10, 19, 0},
       AstronomicalTermSource(),
       kNextDayZiSchool,
       u"甲辰 丙寅 戊辰 丁巳",
       "3 minutes before 惊蛰 by the table: still the 寅 month"},
      {{2024, 3, 5, 10, 22, 0},
       AstronomicalTermSource(),
       kNextDayZiSchool,
       u"甲辰 丁卯 戊辰 丁巳",
       "the term's own minute counts as after it"},
      {{1984, 2, 4, 23, 15, 0},
       FormulaTermSource(),
       kNextDayZiSchool,
       u"甲子 丙寅 己巳 甲子",
       "formula: the late 子 hour is compared as the next day"},
      {{1984, 2, 4, 23, 15, 0},
       AstronomicalTermSource(),
       kNextDayZiSchool,
       u"癸亥 乙丑 己巳 甲子",
       "table: 立春 1984 came at 23:18:44, after the birth, whatever the school"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Pillars(PillarsOfBirth(InBeijing(c.clock), c.terms, c.school)), U8(c.pillars))
        << c.why;
  }
}

TEST(TermSources, NearTermsOfTheTableAreInstantsInBeijingTime) {
  const BirthMoment birth = InBeijing({2024, 3, 5, 10, 19, 0});
  const TermSource& table = AstronomicalTermSource();
  const NearTerm before = table.Near(birth, -1);
  const NearTerm after = table.Near(birth, +1);
  EXPECT_EQ(U8(before.name), U8(u"立春"));
  EXPECT_EQ(Show({before.moment.year, before.moment.month, before.moment.day, before.moment.hour,
                  before.moment.minute, before.moment.second}),
            "2024-02-04 16:27:08")
      << "Hong Kong Observatory: 16:27";
  EXPECT_EQ(U8(after.name), U8(u"惊蛰"));
  EXPECT_EQ(after.minutes, 3) << "3 min 46 s, whole minutes";
  EXPECT_EQ(table.Near(InBeijing({2024, 3, 5, 10, 23, 0}), -1).minutes, 0)
      << "no one-hour window: 14 s after the term";
  const NearTerm formula = FormulaTermSource().Near(birth, -1);
  EXPECT_EQ(U8(formula.name), U8(u"惊蛰")) << "the formula's 惊蛰 is at 09:09";
  EXPECT_EQ(formula.minutes, 69) << "09:09:00.862 to 10:19";
  // A birth on New Year's Day reaches back to 大雪 of the year before the table's first birth year.
  EXPECT_EQ(U8(table.Near(InBeijing({1901, 1, 1, 0, 0, 0}), -1).name), U8(u"大雪"));
  EXPECT_EQ(table.Near(InBeijing({1901, 1, 1, 0, 0, 0}), -1).moment.year, 1900);
  EXPECT_EQ(table.Near(InBeijing({2049, 12, 31, 23, 59, 0}), +1).moment.year, 2050);
}

// lunar-javascript (its own astronomy, both 子 schools) on a sample of
// ordinary births, late 子 hours and births minutes from a sectional term.
TEST(BirthPillars, AgreeWithLunarJavascriptInBothZiSchools) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "data" /
                   "lunar_javascript_pillars.tsv");
  std::string line;
  int rows = 0, sameDayLateZi = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.starts_with("year")) continue;
    std::istringstream fields(line);
    CivilTime clock;
    int sect = 0;
    std::string year, month, day, hour;
    fields >> clock.year >> clock.month >> clock.day >> clock.hour >> clock.minute >> sect >>
        year >> month >> day >> hour;
    const ZiSchool& school = sect == 2 ? kSameDayZiSchool : kNextDayZiSchool;
    const FourPillars ours = PillarsOfBirth(InBeijing(clock), AstronomicalTermSource(), school);
    EXPECT_EQ(Pillars(ours), year + " " + month + " " + day + " " + hour) << line;
    ++rows;
    if (sect == 2 && clock.hour == 23) ++sameDayLateZi;
  }
  EXPECT_GT(rows, 600);
  EXPECT_GT(sameDayLateZi, 20) << "the same-day school is tested where it differs";
}

}  // namespace
}  // namespace xuanshu
