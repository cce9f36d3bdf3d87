// The annual rows are the hot path of a chart: 90 years, each with the group
// searches of the annual branch relations.
#include <benchmark/benchmark.h>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

ChartEngine SampleEngine() {
  ChartEngine engine;
  engine.year = 1980;
  engine.yearBegin = 1985;
  engine.yearPillar = u"甲子";
  engine.monthPillar = u"丙寅";
  engine.dayPillar = u"戊辰";
  engine.hourPillar = u"庚申";
  engine.luckPillars = {u"癸酉", u"甲戌", u"乙亥", u"丙子", u"丁丑",
                        u"戊寅", u"己卯", u"庚辰", u"辛巳"};
  return engine;
}

void BM_WriteAnnualRows(benchmark::State& state) {
  ChartEngine engine = SampleEngine();
  for (auto _ : state) {
    ChartRecord record;
    engine.annualClashSet.clear();
    engine.WriteAnnualRows(record);
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_WriteAnnualRows);

void BM_AnnualFindersOneYear(benchmark::State& state) {
  const ChartEngine engine = SampleEngine();
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.AnnualBranchRelations(u"戊辰", u"丙子"));
    benchmark::DoNotOptimize(engine.AnnualStemRelations(u"戊辰", u"丙子"));
    benchmark::DoNotOptimize(engine.AnnualStrikeAndClash(u"戊辰", u"丙子"));
  }
}
BENCHMARK(BM_AnnualFindersOneYear);

void BM_LuckRelations(benchmark::State& state) {
  const ChartEngine engine = SampleEngine();
  for (auto _ : state) {
    ChartRecord record;
    engine.LuckBranchRelations(record);
    engine.LuckStrikeAndClash(record);
    engine.LuckStemRelations(record);
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_LuckRelations);

}  // namespace
}  // namespace xuanshu
