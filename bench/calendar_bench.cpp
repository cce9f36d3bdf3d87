// Speed of the calendar conversions that every chart runs.
#include <benchmark/benchmark.h>

#include "calendar/astronomical_terms.h"
#include "calendar/lunar_calendar.h"
#include "calendar/pillar_search.h"
#include "calendar/solar_terms.h"
#include "calendar/time_zones.h"

namespace xuanshu {
namespace {

void BM_ToLunar(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ToLunar(2024, 8, 15));
}
BENCHMARK(BM_ToLunar);

void BM_ToLunarLastTableYear(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ToLunar(2049, 12, 31));
}
BENCHMARK(BM_ToLunarLastTableYear);

void BM_ToGregorianOrdinaryMonth(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ToGregorian(2024, 7, 12, false));
}
BENCHMARK(BM_ToGregorianOrdinaryMonth);

void BM_ToGregorianLeapMonth(benchmark::State& state) {
  // Day 30 of the 2017 leap month lies two months after the starting date.
  for (auto _ : state) benchmark::DoNotOptimize(ToGregorian(2017, 6, 30, true));
}
BENCHMARK(BM_ToGregorianLeapMonth);

void BM_TermMoment(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TermMoment(1990, 2));
}
BENCHMARK(BM_TermMoment);

void BM_AstronomicalTermUtc(benchmark::State& state) {
  int year = 1990;
  for (auto _ : state) {
    benchmark::DoNotOptimize(year);
    benchmark::DoNotOptimize(AstronomicalTermUtc(year, 2));
  }
}
BENCHMARK(BM_AstronomicalTermUtc);

void BM_SectionalTermNear(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(SectionalTermNear(1990, 2, 4, 8, 30, -1));
    benchmark::DoNotOptimize(SectionalTermNear(1990, 2, 4, 8, 30, +1));
  }
}
BENCHMARK(BM_SectionalTermNear);

void BM_ResolveClockReadingBeijing(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResolveClockReading("Asia/Shanghai", 1988, 7, 1, 12, 0));
  }
}
BENCHMARK(BM_ResolveClockReadingBeijing);

void BM_ResolveClockReadingInAnOverlap(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResolveClockReading("Asia/Shanghai", 1988, 9, 11, 1, 30));
  }
}
BENCHMARK(BM_ResolveClockReadingInAnOverlap);

void BM_ResolveClockReadingLongZone(benchmark::State& state) {
  // New York has one of the longest period lists (two changes a year).
  for (auto _ : state) {
    benchmark::DoNotOptimize(ResolveClockReading("America/New_York", 2040, 3, 11, 2, 30));
  }
}
BENCHMARK(BM_ResolveClockReadingLongZone);

void BM_ZoneStateAt(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ZoneStateAt("Europe/London", 1'000'000'000));
}
BENCHMARK(BM_ZoneStateAt);

// One 八字反查 query (the target is 50 ms): three years with the year
// pillar, a 子 hour over midnight, and the table's terms cut to the minute.
void BM_FindBirthWindows(benchmark::State& state) {
  const FourPillars pillars{u"甲子", u"丙寅", u"己巳", u"甲子"};
  const TermSource& terms = state.range(0) ? AstronomicalTermSource() : FormulaTermSource();
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindBirthWindows(pillars, terms, kNextDayZiSchool));
  }
}
BENCHMARK(BM_FindBirthWindows)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A set with no birth: every candidate is computed and refused.
void BM_FindBirthWindowsNone(benchmark::State& state) {
  const FourPillars pillars{u"庚午", u"辛巳", u"丁未", u"甲辰"};
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindBirthWindows(pillars, FormulaTermSource(), kSameDayZiSchool));
  }
}
BENCHMARK(BM_FindBirthWindowsNone)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace xuanshu
