// Start-up of the history: listing a data folder of 10,000 records.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "record/history_store.h"
#include "record/text.h"

namespace xuanshu {
namespace {

// A data folder filled once per process and removed at exit.
class RecordFolder {
 public:
  RecordFolder(const char* tag, int count, std::size_t padding) {
    path_ = std::filesystem::temp_directory_path() /
            ("xuanshu-bench-" + std::string(tag) + "-" + std::to_string(::getpid())) / "data";
    for (int i = 0; i < count; ++i) {
      // Twenty groups, a quarter of the records in subfolders.
      const std::filesystem::path folder =
          i % 4 == 0 ? path_ / ("sub" + std::to_string(i % 7)) : path_;
      std::filesystem::create_directories(folder);
      const std::string name = ToUtf8(u"客户") + std::to_string(i);
      std::ofstream out(folder / (name + ".bze"), std::ios::binary);
      out << "[main]\r\nname=" << name << "\r\nclass=" << ToUtf8(u"分组") << i % 20
          << "\r\nsex=" << ToUtf8(u"男") << "\r\n[gongli]\r\nyear=1990\r\nmonth=5\r\nday=7\r\n"
          << "hour=8\r\nminute=3\r\n[shizhu]\r\n";
      for (std::size_t n = 0; n < padding / 40; ++n) {
        out << "key" << n << "=" << ToUtf8(u"甲子/乙丑/丙寅/丁卯/") << "\r\n";
      }
    }
  }
  ~RecordFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_.parent_path(), ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void LoadAll(benchmark::State& state, const RecordFolder& folder) {
  HistoryStore store(folder.path());
  for (auto _ : state) {
    store.LoadAll();
    benchmark::DoNotOptimize(store.groups().data());
  }
  std::size_t charts = 0;
  for (const HistoryGroup& group : store.groups()) charts += group.charts.size();
  state.counters["charts"] = static_cast<double>(charts);
}

void BM_HistoryLoadAll_SmallRecords(benchmark::State& state) {
  static const RecordFolder folder("small", 10000, 0);
  LoadAll(state, folder);
}
BENCHMARK(BM_HistoryLoadAll_SmallRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

// Complete records are a few kilobytes each; the listing reads them whole.
void BM_HistoryLoadAll_FullSizeRecords(benchmark::State& state) {
  static const RecordFolder folder("full", 10000, 8000);
  LoadAll(state, folder);
}
BENCHMARK(BM_HistoryLoadAll_FullSizeRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace xuanshu
