// One whole chart: every step of the driver into a record held in memory,
// and the same with the atomic save that the chart button and the batch
// command pay for.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>

#include "engine/chart_engine.h"
#include "engine/chart_request.h"

namespace xuanshu {
namespace {

struct Birth {
  int year, month, day, hour, minute;
  bool male, gregorian, leapMonth;
};

// Both sexes and directions, a lunar leap-month birth, a late 子 hour and a
// birth in the hour before 立春.
constexpr std::array<Birth, 8> kBirths = {{
    {1990, 5, 17, 8, 30, true, true, false},
    {1984, 2, 4, 23, 40, false, true, false},
    {2024, 2, 4, 15, 30, true, true, false},
    {2020, 4, 1, 6, 5, false, false, true},
    {1949, 10, 1, 15, 0, false, true, false},
    {2001, 12, 31, 23, 59, true, true, false},
    {1966, 7, 29, 0, 10, true, false, false},
    {1931, 9, 18, 22, 20, false, true, false},
}};

ChartRequest RequestFor(const Birth& birth, const std::filesystem::path& dataDir, int index) {
  ChartRequest request;
  request.name = u"命例" + Num(index);
  request.group = u"其他";
  request.year = birth.year;
  request.month = birth.month;
  request.day = birth.day;
  request.hour = birth.hour;
  request.minute = birth.minute;
  request.male = birth.male;
  request.gregorian = birth.gregorian;
  request.leapMonth = birth.leapMonth;
  request.recordPath = RecordPathFor(dataDir, request.name);
  return request;
}

class BenchFolder {
 public:
  BenchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("xuanshu-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Every chart of kBirths in turn, computed into a record held in memory.
void ComputeInMemory(benchmark::State& state, const BirthChoices& choices) {
  std::array<ChartRequest, kBirths.size()> requests;
  for (std::size_t i = 0; i < kBirths.size(); ++i) {
    requests[i] = RequestFor(kBirths[i], "data", i);
    requests[i].choices = choices;
  }
  ChartEngine engine;
  ChartRecord record;
  std::size_t next = 0;
  for (auto _ : state) {
    const bool done = ComputeChartRecord(engine, requests[next], record);
    benchmark::DoNotOptimize(done);
    benchmark::DoNotOptimize(record);
    next = (next + 1) % requests.size();
  }
}

void BM_ComputeChartRecord(benchmark::State& state) {
  ComputeInMemory(state, BirthChoices{});
}
BENCHMARK(BM_ComputeChartRecord)->Unit(benchmark::kMicrosecond);

// The chart and the bytes of its record file, as the chart button and the
// batch command write them.
void BM_ComputeChartRecordBytes(benchmark::State& state) {
  std::array<ChartRequest, kBirths.size()> requests;
  for (std::size_t i = 0; i < kBirths.size(); ++i) requests[i] = RequestFor(kBirths[i], "data", i);
  ChartEngine engine;
  ChartRecord record;
  std::size_t next = 0;
  for (auto _ : state) {
    ComputeChartRecord(engine, requests[next], record);
    const std::string bytes = record.SerializeUtf8();
    benchmark::DoNotOptimize(bytes.data());
    next = (next + 1) % requests.size();
  }
}
BENCHMARK(BM_ComputeChartRecordBytes)->Unit(benchmark::kMicrosecond);

// The bytes of one computed record alone: the difference between the two
// benchmarks above.
void BM_SerializeRecordUtf8(benchmark::State& state) {
  ChartEngine engine;
  ChartRecord record;
  ComputeChartRecord(engine, RequestFor(kBirths[0], "data", 0), record);
  for (auto _ : state) {
    const std::string bytes = record.SerializeUtf8();
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_SerializeRecordUtf8)->Unit(benchmark::kMicrosecond);

// The same charts with every birth-moment choice made: astronomical terms,
// the same-day 子 school, and a birthplace with true solar time and its
// zone's daylight saving. The difference to BM_ComputeChartRecord is what
// the choices add to a chart.
void BM_ComputeChartRecordWithChoices(benchmark::State& state) {
  const auto choices = ResolveBirthChoices({u"astronomical", u"same-day", u"乌鲁木齐"});
  ComputeInMemory(state, std::get<BirthChoices>(choices));
}
BENCHMARK(BM_ComputeChartRecordWithChoices)->Unit(benchmark::kMicrosecond);

// The birth steps alone: placing the clock reading (zone, daylight saving,
// true solar time), the terms around it and the four pillars.
void PlaceAndCast(benchmark::State& state, const BirthChoices& choices) {
  ChartEngine engine;
  ChartRecord record;
  std::size_t next = 0;
  for (auto _ : state) {
    const Birth& b = kBirths[next];
    engine.hour = b.hour;
    engine.minute = b.minute;
    engine.SetBirthDate(b.year, b.month, b.day, b.gregorian, b.leapMonth);
    engine.PlaceBirth(choices);
    engine.WriteSolarTerms(record);
    engine.ComputeFourPillars();
    benchmark::DoNotOptimize(engine.hourPillar);
    next = (next + 1) % kBirths.size();
  }
}

void BM_BirthStepsDefault(benchmark::State& state) {
  PlaceAndCast(state, BirthChoices{});
}
BENCHMARK(BM_BirthStepsDefault);

void BM_BirthStepsAstronomicalAtABirthplace(benchmark::State& state) {
  PlaceAndCast(state,
               std::get<BirthChoices>(ResolveBirthChoices({u"astronomical", u"", u"乌鲁木齐"})));
}
BENCHMARK(BM_BirthStepsAstronomicalAtABirthplace);

void BM_ComputeChartWithSave(benchmark::State& state) {
  BenchFolder folder;
  std::array<ChartRequest, kBirths.size()> requests;
  for (std::size_t i = 0; i < kBirths.size(); ++i) {
    requests[i] = RequestFor(kBirths[i], folder.path() / "data", i);
  }
  ChartEngine engine;
  std::size_t next = 0;
  for (auto _ : state) {
    if (!ComputeChart(engine, requests[next])) state.SkipWithError("the chart was not saved");
    next = (next + 1) % requests.size();
  }
}
BENCHMARK(BM_ComputeChartWithSave)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace xuanshu
