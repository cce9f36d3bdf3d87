#include "calendar/pillar_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/four_pillars.h"
#include "calendar/ganzhi.h"
#include "calendar/pillar_check.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

std::string Show(const FourPillars& p) {
  return U8(p.year + u" " + p.month + u" " + p.day + u" " + p.hour);
}

FourPillars Split(TextView four) {
  return {Text(four.substr(0, 2)), Text(four.substr(3, 2)), Text(four.substr(6, 2)),
          Text(four.substr(9, 2))};
}

std::vector<std::string> Texts(const std::vector<BirthWindow>& windows) {
  std::vector<std::string> texts;
  for (const BirthWindow& w : windows) texts.push_back(U8(BirthWindowText(w)));
  return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

const std::int64_t kFirstSecond = SecondsOf({1901, 1, 1, 0, 0, 0});
const std::int64_t kEndSecond = SecondsOf({2050, 1, 1, 0, 0, 0});

FourPillars PillarsAt(std::int64_t seconds, const TermSource& terms, const ZiSchool& school) {
  return PillarsOfBirth(ResolveBirthMoment(CivilTimeOf(seconds), BirthPlace{}), terms, school);
}

struct Mode {
  const TermSource& terms;
  const ZiSchool& school;
  const char* name;
};
const Mode kModes[] = {
    {FormulaTermSource(), kNextDayZiSchool, "formula, next-day"},
    {FormulaTermSource(), kSameDayZiSchool, "formula, same-day"},
    {AstronomicalTermSource(), kNextDayZiSchool, "astronomical, next-day"},
    {AstronomicalTermSource(), kSameDayZiSchool, "astronomical, same-day"},
};

TEST(SexagenaryNumber, NumbersTheSixtyAndRefusesTheRest) {
  EXPECT_EQ(SexagenaryNumber(u"甲子"), 0);
  EXPECT_EQ(SexagenaryNumber(u"甲戌"), 10);
  EXPECT_EQ(SexagenaryNumber(u"庚午"), 6);
  EXPECT_EQ(SexagenaryNumber(u"癸亥"), 59);
  for (long long n = 0; n < 60; ++n) EXPECT_EQ(SexagenaryNumber(GanZhiName(n)), n);
  for (TextView bad : {u"甲丑", u"乙子", u"甲", u"", u"甲子子", u"子甲", u"ab"}) {
    EXPECT_EQ(SexagenaryNumber(bad), -1) << U8(bad);
  }
}

TEST(CheckFourPillars, NamesTheFirstPillarThatFailsAndWhatItShouldBe) {
  struct Case {
    std::array<Text, 4> texts;
    const ZiSchool& school;
    std::vector<const char16_t*> parts;  // empty: accepted
  };
  const Case cases[] = {
      {{u"庚午", u"辛巳", u"壬午", u"甲辰"}, kNextDayZiSchool, {}},
      {{u"庚", u"辛巳", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"年柱“庚”", u"两个字"}},
      {{u"庚午", u"辛巳午", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"月柱“辛巳午”", u"两个字"}},
      {{u"庚午", u"辛巳", u"X午", u"甲辰"}, kNextDayZiSchool, {u"日柱", u"“X”不是天干"}},
      {{u"庚午", u"辛巳", u"壬午", u"甲甲"}, kNextDayZiSchool, {u"时柱", u"“甲”不是地支"}},
      {{u"子午", u"辛巳", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"年柱", u"“子”不是天干"}},
      {{u"😀午", u"辛巳", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"年柱", u"“😀”不是天干"}},
      {{u"甲丑", u"丙寅", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"年柱“甲丑”", u"六十甲子"}},
      {{u"甲子", u"戊寅", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"月柱“戊寅”", u"甲年寅月为丙寅"}},
      {{u"己巳", u"乙丑", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"己年丑月为丁丑", u"五虎遁"}},
      {{u"庚午", u"癸巳", u"壬午", u"甲辰"}, kNextDayZiSchool, {u"庚年巳月为辛巳"}},
      {{u"癸亥", u"乙丑", u"己巳", u"甲子"}, kNextDayZiSchool, {}},
      {{u"庚午", u"辛巳", u"壬午", u"丙辰"}, kNextDayZiSchool, {u"时柱“丙辰”", u"壬日辰时为甲辰"}},
      {{u"庚午", u"辛巳", u"乙丑", u"丙子"}, kNextDayZiSchool, {}},
      {{u"庚午", u"辛巳", u"乙丑", u"丁亥"}, kNextDayZiSchool, {}},
      // 甲 day: 子 hour 甲子; its late 子 hour (same-day school) is 乙's, 丙子.
      {{u"庚午", u"辛巳", u"甲子", u"丙子"}, kSameDayZiSchool, {}},
      {{u"庚午", u"辛巳", u"甲子", u"丙子"}, kNextDayZiSchool, {u"甲日子时为甲子", u"夜子时"}},
      {{u"庚午", u"辛巳", u"甲子", u"戊子"}, kSameDayZiSchool, {u"甲日子时为甲子，夜子时为丙子"}},
      {{u"庚午", u"辛巳", u"癸亥", u"甲子"}, kSameDayZiSchool, {}},
      {{u"庚午", u"辛巳", u"甲子", u"戊寅"}, kSameDayZiSchool, {u"甲日寅时为丙寅"}},
  };
  for (const Case& c : cases) {
    const auto result = CheckFourPillars(c.texts, c.school);
    const std::string label =
        U8(c.texts[0] + u" " + c.texts[1] + u" " + c.texts[2] + u" " + c.texts[3]) + " " +
        std::string(c.school.key);
    if (c.parts.empty()) {
      ASSERT_TRUE(std::holds_alternative<FourPillars>(result)) << label;
      EXPECT_EQ(std::get<FourPillars>(result).hour, c.texts[3]) << label;
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<Text>(result)) << label;
    for (const char16_t* part : c.parts) {
      EXPECT_NE(std::get<Text>(result).find(part), Text::npos)
          << label << ": " << U8(std::get<Text>(result)) << " lacks " << U8(part);
    }
  }
  const auto control = CheckFourPillars({u"\x1b[2J", u"辛巳", u"壬午", u"甲辰"}, kNextDayZiSchool);
  EXPECT_EQ(U8(std::get<Text>(control)).find('\x1b'), std::string::npos)
      << "control characters are shown escaped";
}

// Every sixty-cycle pair of month stem and hour stem that the rules allow
// is accepted, and no other: 12 month pillars per year stem, 12 hour pillars
// per day stem (13 with the late 子 hour of the same-day school).
TEST(CheckFourPillars, AcceptsExactlyThePairsTheRulesAllow) {
  for (const ZiSchool* school : {&kNextDayZiSchool, &kSameDayZiSchool}) {
    int months = 0, hours = 0;
    for (long long m = 0; m < 60; ++m) {
      const FourPillars p{u"甲子", GanZhiName(m), u"甲子", GanZhiName(m)};
      if (CheckFourPillars({p.year, p.month, u"丙寅", u"戊子"}, *school).index() == 0) ++months;
      if (CheckFourPillars({u"甲子", u"丙寅", p.day, p.hour}, *school).index() == 0) ++hours;
    }
    EXPECT_EQ(months, 12) << school->key;
    EXPECT_EQ(hours, school->lateHourStartsNextDay ? 12 : 13) << school->key;
  }
}

TEST(BirthWindowText, ShowsTheStartDateAndBothClockTimes) {
  EXPECT_EQ(U8(BirthWindowText({{1990, 5, 17, 23, 0, 0}, {1990, 5, 18, 0, 59, 0}})),
            "1990-05-17 23:00–00:59");
  EXPECT_EQ(U8(BirthWindowText({{1901, 1, 1, 7, 0, 0}, {1901, 1, 1, 8, 5, 0}})),
            "1901-01-01 07:00–08:05");
}

// Windows that known term moments decide: 立春 1984 at 22:08 by the formula
// and 23:18:44 by the table; 惊蛰 2024 at 09:09 by the formula and 10:22:46
// by the table (2024-03-05 is a 戊辰 day); 2000-01-01 is a 戊午 day.
TEST(FindBirthWindows, CutsAtTheTermAndTheDayAsEachModeSays) {
  struct Case {
    const char16_t* pillars;
    int mode;  // index into kModes
    const char* window;
    bool listed;
    const char* why;
  };
  const Case cases[] = {
      {u"甲子 丙寅 己巳 甲子", 0, "1984-02-04 23:00–00:59", true,
       "formula: the whole 子 hour after 立春's clock hour"},
      {u"甲子 丙寅 己巳 甲子", 2, "1984-02-04 23:18–00:59", true, "table: from 立春's minute"},
      {u"癸亥 乙丑 己巳 甲子", 2, "1984-02-04 23:00–23:17", true, "table: up to 立春's minute"},
      {u"癸亥 乙丑 己巳 甲子", 0, "1984-02-04 23:00–23:17", false, "formula: already 甲子"},
      {u"甲辰 丁卯 戊辰 壬子", 0, "2024-03-04 23:00–23:59", true,
       "formula, late 子 hour compared as 5 March at 23:00: after 惊蛰"},
      {u"甲辰 丙寅 戊辰 壬子", 0, "2024-03-05 00:00–00:59", true,
       "formula, 00:00 on 5 March is before 惊蛰's hour"},
      {u"甲辰 丙寅 戊辰 壬子", 2, "2024-03-04 23:00–00:59", true, "table: the whole 子 hour"},
      {u"甲辰 丙寅 戊辰 丁巳", 2, "2024-03-05 09:00–10:21", true, "table: before 惊蛰"},
      {u"甲辰 丁卯 戊辰 丁巳", 2, "2024-03-05 10:22–10:59", true, "table: 惊蛰's minute on"},
      {u"甲辰 丁卯 戊辰 丁巳", 0, "2024-03-05 09:00–10:59", true, "formula: 惊蛰's hour is 09"},
      {u"甲辰 丙寅 戊辰 丁巳", 0, "2024-03-05 09:00–10:59", false, "formula: no 寅 month left"},
      {u"己卯 丙子 戊午 甲子", 1, "2000-01-01 23:00–23:59", true,
       "same-day: the late 子 hour keeps 戊午 and takes 己未's 子 hour"},
      {u"己卯 丙子 戊午 壬子", 1, "2000-01-01 00:00–00:59", true, "same-day: the early 子 hour"},
      {u"己卯 丙子 己未 甲子", 0, "2000-01-01 23:00–00:59", true, "next-day: one 子 hour"},
      {u"己卯 丙子 己未 甲子", 1, "2000-01-02 00:00–00:59", true, "same-day: 己未 from midnight"},
  };
  for (const Case& c : cases) {
    const Mode& mode = kModes[c.mode];
    const auto texts = Texts(FindBirthWindows(Split(c.pillars), mode.terms, mode.school));
    EXPECT_EQ(Contains(texts, c.window), c.listed)
        << U8(c.pillars) << ", " << mode.name << ": " << c.why;
  }
}

TEST(FindBirthWindows, StopsAtTheEndsOfTheSupportedYears) {
  for (const Mode& mode : kModes) {
    const std::int64_t firstMinute = kFirstSecond;
    const std::int64_t lastHour = kEndSecond - 3600;
    const auto first =
        FindBirthWindows(PillarsAt(firstMinute, mode.terms, mode.school), mode.terms, mode.school);
    ASSERT_FALSE(first.empty()) << mode.name;
    EXPECT_EQ(U8(BirthWindowText(first.front())), "1901-01-01 00:00–00:59") << mode.name;
    const auto last =
        FindBirthWindows(PillarsAt(lastHour, mode.terms, mode.school), mode.terms, mode.school);
    ASSERT_FALSE(last.empty()) << mode.name;
    EXPECT_EQ(U8(BirthWindowText(last.back())), "2049-12-31 23:00–23:59") << mode.name;
  }
}

TEST(FindBirthWindows, FindsNothingForPillarsNoBirthHas) {
  for (const Mode& mode : kModes) {
    for (TextView bad : {u"甲丑 丙寅 壬午 甲辰", u"甲子 戊寅 壬午 甲辰", u"庚午 辛巳 壬午 丙辰",
                         u"甲子 丙寅 X午 甲辰"}) {
      EXPECT_TRUE(FindBirthWindows(Split(bad), mode.terms, mode.school).empty())
          << U8(bad) << ", " << mode.name;
    }
  }
}

// The runs of minutes with the given pillars, by computing every minute of
// every day that could hold one: a day of a Gregorian year that holds the
// year pillar, in the month the month branch opens or the month after it,
// whose own or next date has the day pillar.
std::vector<BirthWindow> BruteForce(const FourPillars& target, const Mode& mode) {
  const int branch = BranchIndex(target.month.back());
  const int opens = (branch + 10) % 12 + 2;  // 寅 2 … 亥 11, 子 12, 丑 13
  std::vector<BirthWindow> runs;
  std::optional<std::int64_t> runStart;
  std::int64_t previous = 0;
  const auto close = [&] {
    if (runStart) runs.push_back({CivilTimeOf(*runStart), CivilTimeOf(previous)});
    runStart.reset();
  };
  for (std::int64_t midnight = kFirstSecond; midnight < kEndSecond; midnight += kSecondsPerDay) {
    const CivilTime date = CivilTimeOf(midnight);
    const CivilTime next = CivilTimeOf(midnight + kSecondsPerDay);
    if (date.month != (opens - 1) % 12 + 1 && date.month != opens % 12 + 1) continue;
    if (YearPillarAround(date.year, true) != target.year &&
        YearPillarAround(date.year, false) != target.year) {
      continue;
    }
    if (DayPillar(date.year, date.month, date.day) != target.day &&
        DayPillar(next.year, next.month, next.day) != target.day) {
      continue;
    }
    for (std::int64_t s = midnight; s < midnight + kSecondsPerDay; s += kSecondsPerMinute) {
      if (PillarsAt(s, mode.terms, mode.school) != target) continue;
      if (runStart && s != previous + kSecondsPerMinute) close();
      if (!runStart) runStart = s;
      previous = s;
    }
  }
  close();
  return runs;
}

// Pillar sets whose windows are cut: the minutes either side of a 节 and of
// midnight, the ends of the range, and a few ordinary births.
TEST(FindBirthWindows, AgreesWithAMinuteByMinuteSearch) {
  const CivilTime moments[] = {
      {1984, 2, 4, 22, 30, 0}, {1984, 2, 4, 23, 30, 0}, {1984, 2, 5, 0, 30, 0},
      {2024, 3, 4, 23, 30, 0}, {2024, 3, 5, 0, 30, 0},  {2024, 3, 5, 10, 0, 0},
      {2024, 3, 5, 10, 40, 0}, {1901, 1, 1, 0, 10, 0},  {2049, 12, 31, 23, 10, 0},
      {1990, 5, 17, 8, 30, 0}, {1956, 12, 7, 7, 0, 0},  {2013, 1, 5, 0, 20, 0},
  };
  for (const CivilTime& t : moments) {
    for (const Mode& mode : kModes) {
      const FourPillars target = PillarsAt(SecondsOf(t), mode.terms, mode.school);
      const auto found = FindBirthWindows(target, mode.terms, mode.school);
      EXPECT_EQ(Texts(found), Texts(BruteForce(target, mode))) << Show(target) << ", " << mode.name;
    }
  }
}

// Every minute of every window listed for the pillars of random births has
// those pillars; the minutes just outside do not (or lie outside 1901-2049);
// the windows come in order, apart, and within the two hours of a branch;
// and one of them holds the birth.
TEST(FindBirthWindows, EveryMomentListedComputesBackToThePillars) {
  std::mt19937_64 random(20260113);
  std::uniform_int_distribution<std::int64_t> minute(0, (kEndSecond - kFirstSecond) / 60 - 1);
  int windows = 0;
  for (int i = 0; i < 160; ++i) {
    const Mode& mode = kModes[i % 4];
    const std::int64_t birth = kFirstSecond + minute(random) * 60;
    const FourPillars target = PillarsAt(birth, mode.terms, mode.school);
    const std::string label = Show(target) + ", " + mode.name;
    bool holdsBirth = false;
    std::int64_t previousLast = kFirstSecond - kSecondsPerDay;
    for (const BirthWindow& w : FindBirthWindows(target, mode.terms, mode.school)) {
      const std::int64_t first = SecondsOf(w.first), last = SecondsOf(w.last);
      const std::string window = label + " " + U8(BirthWindowText(w));
      ASSERT_LE(first, last) << window;
      EXPECT_LE(last - first, 119 * kSecondsPerMinute) << window;
      EXPECT_GT(first, previousLast + kSecondsPerMinute) << window << ": after the one before";
      previousLast = last;
      for (std::int64_t s = first; s <= last; s += kSecondsPerMinute) {
        ASSERT_EQ(Show(PillarsAt(s, mode.terms, mode.school)), Show(target))
            << window << " at " << U8(BirthWindowText({CivilTimeOf(s), CivilTimeOf(s)}));
      }
      if (first > kFirstSecond) {
        EXPECT_NE(PillarsAt(first - 60, mode.terms, mode.school), target) << window << " before";
      }
      if (last + 60 < kEndSecond) {
        EXPECT_NE(PillarsAt(last + 60, mode.terms, mode.school), target) << window << " after";
      }
      holdsBirth = holdsBirth || (first <= birth && birth <= last);
      ++windows;
    }
    EXPECT_TRUE(holdsBirth) << label << " misses "
                            << U8(BirthWindowText({CivilTimeOf(birth), CivilTimeOf(birth)}));
  }
  EXPECT_GT(windows, 250);
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  if (list == "-") return items;
  std::istringstream in(list);
  for (std::string item; std::getline(in, item, ',');) items.push_back(item);
  return items;
}

// lunar-javascript, with its own astronomy, in both 子 schools: the windows of
// its minute-by-minute pillars, and the moments Solar.fromBaZi returns (one per
// window at most, at the even hour or the term's moment; it misses windows cut
// before that hour, and one day in sixty by its own shortcut).
TEST(FindBirthWindows, AgreesWithLunarJavascriptOnTheTable) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "data" /
                   "lunar_javascript_birth_moments.tsv");
  std::string line;
  int sets = 0, refused = 0, cut = 0, fromBazi = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.starts_with("sect")) continue;
    std::istringstream fields(line);
    int sect = 0;
    std::string year, month, day, hour, moments, windows;
    std::getline(fields >> sect >> year >> month >> day >> hour >> std::ws, moments, '\t');
    std::getline(fields, windows);
    const ZiSchool& school = sect == 2 ? kSameDayZiSchool : kNextDayZiSchool;
    const auto checked =
        CheckFourPillars({FromUtf8(year), FromUtf8(month), FromUtf8(day), FromUtf8(hour)}, school);
    ++sets;
    if (!std::holds_alternative<FourPillars>(checked)) {
      EXPECT_EQ(windows, "-") << line << ": refused, but lunar-javascript finds some";
      ++refused;
      continue;
    }
    const auto ours =
        FindBirthWindows(std::get<FourPillars>(checked), AstronomicalTermSource(), school);
    EXPECT_EQ(Texts(ours), SplitList(windows)) << line;
    for (const BirthWindow& w : ours) cut += SecondsOf(w.last) - SecondsOf(w.first) < 7140;
    for (const std::string& moment : SplitList(moments)) {
      CivilTime t;
      std::sscanf(moment.c_str(), "%d-%d-%d %d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute);
      const std::int64_t s = SecondsOf(t);
      const bool inside = std::any_of(ours.begin(), ours.end(), [s](const BirthWindow& w) {
        return SecondsOf(w.first) <= s && s <= SecondsOf(w.last);
      });
      EXPECT_TRUE(inside) << line << ": fromBaZi's " << moment;
      ++fromBazi;
    }
  }
  EXPECT_GE(sets, 60);
  EXPECT_GE(refused, 3) << "late 子 hours of the same-day school, which next-day refuses";
  EXPECT_GE(cut, 10) << "windows cut at a term or at midnight";
  EXPECT_GE(fromBazi, 60);
}

}  // namespace
}  // namespace xuanshu
