// Rendering is what every click on a saved chart does: parse the record text
// and render the standard report.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "record/record_file.h"
#include "report/report_renderer.h"

namespace xuanshu {
namespace {

const std::filesystem::path kSampleRecord =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "report" / "data" /
    "zhangsan.bze";

void BM_ParseAndRenderStandard(benchmark::State& state) {
  const Text text = ReadTextFile(kSampleRecord).value_or(Text{});
  if (text.empty()) state.SkipWithError("sample record missing");
  for (auto _ : state) {
    IniDocument record = IniDocument::Parse(text);
    CollectingSink sink;
    RenderChart(record, kStandardLayout, sink);
    benchmark::DoNotOptimize(sink.pieces().data());
  }
}
BENCHMARK(BM_ParseAndRenderStandard)->Unit(benchmark::kMicrosecond);

// The whole click: read the file, parse, render (the record is unchanged, so
// nothing is written).
void BM_RenderChartFromFile(benchmark::State& state) {
  for (auto _ : state) {
    CollectingSink sink;
    RenderChart(kSampleRecord, kStandardLayout, sink);
    benchmark::DoNotOptimize(sink.pieces().data());
  }
}
BENCHMARK(BM_RenderChartFromFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace xuanshu
