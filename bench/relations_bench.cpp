// The relation machinery runs about 270 times per chart (natal, luck and
// annual steps), so its cost per call matters.
#include <benchmark/benchmark.h>

#include "engine/branch_relations.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

// The annual step's six entries, forming a 岁运命 group.
const std::vector<TaggedEntry> kAnnualEntries = {{u"运", u"子"}, {u"命", u"申"}, {u"命", u"卯"},
                                                 {u"命", u"午"}, {u"命", u"酉"}, {u"岁", u"辰"}};

void BM_FindSanHeSixEntries(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FindSanHe(kAnnualEntries));
}
BENCHMARK(BM_FindSanHeSixEntries);

void BM_WritePillarDetails(benchmark::State& state) {
  ChartEngine engine;
  engine.yearPillar = u"甲子";
  engine.monthPillar = u"丙寅";
  engine.dayPillar = u"戊辰";
  engine.hourPillar = u"庚申";
  for (auto _ : state) {
    ChartRecord record;
    engine.WritePillarDetails(record);
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_WritePillarDetails);

}  // namespace
}  // namespace xuanshu
