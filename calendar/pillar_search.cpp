// The search walks what the pillars fix instead of scanning minutes: the
// years of the year pillar, in each the month that the month branch opens
// at its 节, the days of the day pillar around that month, and on each the
// clock span of the hour branch. Within a span the pillars can change only
// at a whole clock hour or at the minute of a 节, so the pillars are
// computed once per such piece, and matching pieces join into runs.
#include "calendar/pillar_search.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "calendar/birth_moment.h"
#include "calendar/pillar_check.h"

namespace xuanshu {
namespace {

constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2049;
constexpr int kFirstPillarYear = kFirstYear - 1;  // January 1901 lies in the year of 1900
constexpr int kJiaziYear = 1864;                  // a 甲子 year
constexpr int kRatBranch = 0;                     // 子
constexpr int kTigerBranch = 2;                   // 寅

// Beijing clock seconds, [begin, end).
struct Span {
  std::int64_t begin = 0;
  std::int64_t end = 0;
};

constexpr int Mod(std::int64_t value, int modulus) {
  return static_cast<int>((value % modulus + modulus) % modulus);
}

// Sexagenary number of the day pillar of a day counted from 1970-01-01;
// 1900-01-31 was 甲辰 (40).
int DayNumberOf(std::int64_t day) {
  static const std::int64_t jiaChen = DaysFromCivil(1900, 1, 31);
  return Mod(day - jiaChen + 40, 60);
}

// Index of the 节 that opens the month of a branch: 寅 立春 (2) … 亥 立冬
// (20), 子 大雪 (22), 丑 the next year's 小寒 (24).
int OpeningTermIndex(int monthBranch) {
  return 2 + 2 * Mod(monthBranch - kTigerBranch, 12);
}

// The clock span(s) of an hour branch within the day whose day pillar is
// that of `day`: under the next-day school that day runs from 23:00 the day
// before; under the same-day school from midnight, and its own 23:00-23:59
// is a late 子 hour.
std::vector<Span> HourSpans(std::int64_t day, int branch, const ZiSchool& school) {
  const std::int64_t midnight = day * kSecondsPerDay;
  if (branch != kRatBranch) {
    return {{midnight + (2 * branch - 1) * kSecondsPerHour,
             midnight + (2 * branch + 1) * kSecondsPerHour}};
  }
  if (school.lateHourStartsNextDay) {
    return {{midnight - kSecondsPerHour, midnight + kSecondsPerHour}};
  }
  return {{midnight, midnight + kSecondsPerHour},
          {midnight + 23 * kSecondsPerHour, midnight + kSecondsPerDay}};
}

std::int64_t MinuteStart(std::int64_t seconds) {
  return FloorDivide(seconds, kSecondsPerMinute) * kSecondsPerMinute;
}

// Where the pillars may change inside a span: its start, each whole hour,
// and the minute of the 节 opening the Gregorian month of either end.
std::vector<std::int64_t> PieceStarts(const Span& span, const TermSource& terms) {
  std::vector<std::int64_t> starts;
  for (std::int64_t s = span.begin; s < span.end;
       s = (FloorDivide(s, kSecondsPerHour) + 1) * kSecondsPerHour) {
    starts.push_back(s);
  }
  for (const std::int64_t edge : {span.begin, span.end - 1}) {
    const CivilTime t = CivilTimeOf(edge);
    const std::int64_t term = MinuteStart(terms.TermSeconds(t.year, 2 * t.month - 2));
    if (term > span.begin && term < span.end) starts.push_back(term);
  }
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  return starts;
}

FourPillars PillarsAt(std::int64_t seconds, const TermSource& terms, const ZiSchool& school) {
  static const BirthPlace kNoPlace;
  return PillarsOfBirth(ResolveBirthMoment(CivilTimeOf(seconds), kNoPlace), terms, school);
}

BirthWindow WindowOf(std::int64_t begin, std::int64_t end) {
  return {CivilTimeOf(begin), CivilTimeOf(end - kSecondsPerMinute)};
}

void CollectRuns(const Span& span, const FourPillars& target, const TermSource& terms,
                 const ZiSchool& school, std::vector<BirthWindow>& out) {
  std::optional<std::int64_t> runStart;
  for (const std::int64_t start : PieceStarts(span, terms)) {
    const bool match = PillarsAt(start, terms, school) == target;
    if (match && !runStart) runStart = start;
    if (!match && runStart) {
      out.push_back(WindowOf(*runStart, start));
      runStart.reset();
    }
  }
  if (runStart) out.push_back(WindowOf(*runStart, span.end));
}

}  // namespace

std::vector<BirthWindow> FindBirthWindows(const FourPillars& pillars, const TermSource& terms,
                                          const ZiSchool& school) {
  const int year = SexagenaryNumber(pillars.year);
  const int month = SexagenaryNumber(pillars.month);
  const int day = SexagenaryNumber(pillars.day);
  const int hour = SexagenaryNumber(pillars.hour);
  if (year < 0 || month < 0 || day < 0 || hour < 0) return {};

  const std::int64_t first = SecondsOf({kFirstYear, 1, 1, 0, 0, 0});
  const std::int64_t end = SecondsOf({kLastYear + 1, 1, 1, 0, 0, 0});
  const int opening = OpeningTermIndex(month % 12);
  std::vector<BirthWindow> windows;
  for (int y = kFirstPillarYear + Mod(kJiaziYear + year - kFirstPillarYear, 60); y <= kLastYear;
       y += 60) {
    // A day more on either side: a late 子 hour can belong to the next day.
    const std::int64_t firstDay = FloorDivide(terms.TermSeconds(y, opening), kSecondsPerDay) - 1;
    const std::int64_t lastDay = FloorDivide(terms.TermSeconds(y, opening + 2), kSecondsPerDay) + 1;
    for (std::int64_t d = firstDay + Mod(day - DayNumberOf(firstDay), 60); d <= lastDay; d += 60) {
      for (Span span : HourSpans(d, hour % 12, school)) {
        span.begin = std::max(span.begin, first);
        span.end = std::min(span.end, end);
        if (span.begin < span.end) CollectRuns(span, pillars, terms, school, windows);
      }
    }
  }
  return windows;
}

Text BirthWindowText(const BirthWindow& window) {
  const CivilTime& a = window.first;
  const CivilTime& b = window.last;
  char first[32], last[16];
  std::snprintf(first, sizeof first, "%04d-%02d-%02d %02d:%02d", a.year, a.month, a.day, a.hour,
                a.minute);
  std::snprintf(last, sizeof last, "%02d:%02d", b.hour, b.minute);
  return Ascii(first) + u"–" + Ascii(last);
}

}  // namespace xuanshu
