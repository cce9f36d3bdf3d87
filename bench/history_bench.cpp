// Start-up of the history: listing a data folder of records, as the desktop
// program does when it opens and the CLI's list command does.
//
// The folders are filled once per process under the system temp folder and
// removed at exit; the files are then in the page cache, so this measures
// the program, not the disk. With XUANSHU_BENCH_KEEP set to a folder, they
// are made there once and kept for later runs (remove it by hand).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/chart_engine.h"
#include "record/history_store.h"
#include "record/text.h"

namespace xuanshu {
namespace {

// The folder kept between runs, or none.
const char* KeptFolder() {
  return std::getenv("XUANSHU_BENCH_KEEP");
}

std::filesystem::path BenchFolder(const char* tag) {
  if (const char* kept = KeptFolder()) {
    return std::filesystem::path(kept) / ("xuanshu-bench-" + std::string(tag)) / "data";
  }
  return std::filesystem::temp_directory_path() /
         ("xuanshu-bench-" + std::string(tag) + "-" + std::to_string(::getpid())) / "data";
}

// Twenty groups, a quarter of the records in seven subfolders.
std::filesystem::path FolderOfRecord(const std::filesystem::path& data, int i) {
  return i % 4 == 0 ? data / ("sub" + std::to_string(i % 7)) : data;
}

using FillFolder = void (*)(const std::filesystem::path& data, int count);

// A data folder filled with `count` records, removed at exit unless kept.
// A kept folder is filled once: a complete one carries a marker beside it.
class RecordFolder {
 public:
  RecordFolder(const char* tag, int count, FillFolder fill) : path_(BenchFolder(tag)) {
    const std::filesystem::path filled = path_.parent_path() / ("filled-" + std::to_string(count));
    if (KeptFolder() != nullptr && std::filesystem::exists(filled)) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    fill(path_, count);
    std::ofstream marker(filled);
  }
  RecordFolder(const RecordFolder&) = delete;
  RecordFolder& operator=(const RecordFolder&) = delete;
  ~RecordFolder() {
    if (KeptFolder() != nullptr) return;
    std::error_code ec;
    std::filesystem::remove_all(path_.parent_path(), ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Records of the main and gongli sections only.
void WriteSmallRecords(const std::filesystem::path& data, int count) {
  for (int i = 0; i < count; ++i) {
    const std::filesystem::path dir = FolderOfRecord(data, i);
    std::filesystem::create_directories(dir);
    const std::string name = ToUtf8(u"客户") + std::to_string(i);
    std::ofstream out(dir / (name + ".bze"), std::ios::binary);
    out << "[main]\r\nname=" << name << "\r\nclass=" << ToUtf8(u"分组") << i % 20
        << "\r\nsex=" << ToUtf8(u"男") << "\r\n[gongli]\r\nyear=1990\r\nmonth=5\r\nday=7\r\n"
        << "hour=8\r\nminute=3\r\n";
  }
}

// Complete records as the engine writes them (about 27 KB each), each under
// its own name and group.
void WriteFullSizeRecords(const std::filesystem::path& data, int count) {
  ChartRequest request;
  request.group = u"其他";
  request.year = 1984;
  request.month = 3;
  request.day = 15;
  request.hour = 8;
  request.minute = 30;
  ChartEngine engine;
  ChartRecord record;
  ComputeChartRecord(engine, request, record);
  for (int i = 0; i < count; ++i) {
    const Text name = u"客户" + Num(i);
    record.Set(u"main", u"name", name);
    record.Set(u"main", u"class", u"分组" + Num(i % 20));
    const std::filesystem::path dir = FolderOfRecord(data, i);
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / (ToUtf8(name) + ".bze"), std::ios::binary);
    out << record.SerializeUtf8();
  }
}

std::size_t ChartCount(const HistoryStore& store) {
  std::size_t charts = 0;
  for (const HistoryGroup& group : store.groups()) charts += group.charts.size();
  return charts;
}

// The start of the desktop program or of the CLI's list: a new store lists
// the folder. Freeing the store afterwards is not timed.
void LoadAll(benchmark::State& state, const RecordFolder& folder) {
  std::size_t charts = 0;
  for (auto _ : state) {
    auto store = std::make_unique<HistoryStore>(folder.path());
    store->LoadAll();
    state.PauseTiming();
    charts = ChartCount(*store);
    store.reset();
    state.ResumeTiming();
  }
  state.counters["charts"] = static_cast<double>(charts);
}

// Listing again into a store that holds the same listing, as after a change
// in the folder: the old model is freed while the new one is made.
void ReloadAll(benchmark::State& state, const RecordFolder& folder) {
  HistoryStore store(folder.path());
  store.LoadAll();
  for (auto _ : state) {
    store.LoadAll();
    benchmark::DoNotOptimize(store.groups().data());
  }
  state.counters["charts"] = static_cast<double>(ChartCount(store));
}

void BM_HistoryLoadAll_SmallRecords(benchmark::State& state) {
  static const RecordFolder folder("small", 10000, WriteSmallRecords);
  LoadAll(state, folder);
}
BENCHMARK(BM_HistoryLoadAll_SmallRecords)->Unit(benchmark::kMillisecond);

const RecordFolder& FullSizeFolder(std::int64_t count) {
  static const RecordFolder tenThousand("full10k", 10000, WriteFullSizeRecords);
  if (count == 10000) return tenThousand;
  static const RecordFolder hundredThousand("full100k", 100000, WriteFullSizeRecords);
  return hundredThousand;
}

// 10,000 and 100,000 complete records: the time grows with the number of
// records, not faster.
void BM_HistoryLoadAll_FullSizeRecords(benchmark::State& state) {
  LoadAll(state, FullSizeFolder(state.range(0)));
}
BENCHMARK(BM_HistoryLoadAll_FullSizeRecords)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_HistoryReloadAll_FullSizeRecords(benchmark::State& state) {
  ReloadAll(state, FullSizeFolder(state.range(0)));
}
BENCHMARK(BM_HistoryReloadAll_FullSizeRecords)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace xuanshu
