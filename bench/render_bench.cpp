// Rendering is what every click on a saved chart does: parse the record text
// and render the standard report. Also what the additional pillars add, and
// the JSON export.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "record/record_file.h"
#include "report/chart_json.h"
#include "report/report_renderer.h"

namespace xuanshu {
namespace {

const std::filesystem::path kSampleRecord =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "report" / "data" /
    "zhangsan.bze";

// The parse alone: the record text into a document.
void BM_ParseRecord(benchmark::State& state) {
  const Text text = ReadTextFile(kSampleRecord).value_or(Text{});
  if (text.empty()) state.SkipWithError("sample record missing");
  for (auto _ : state) {
    IniDocument record = IniDocument::Parse(text);
    benchmark::DoNotOptimize(record.sections().data());
  }
}
BENCHMARK(BM_ParseRecord)->Unit(benchmark::kMicrosecond);

void BM_ParseAndRenderStandard(benchmark::State& state) {
  const Text text = ReadTextFile(kSampleRecord).value_or(Text{});
  if (text.empty()) state.SkipWithError("sample record missing");
  for (auto _ : state) {
    IniDocument record = IniDocument::Parse(text);
    CollectingSink sink;
    RenderChart(record, kStandardLayout, sink);
    benchmark::DoNotOptimize(sink.PlainText().data());
  }
}
BENCHMARK(BM_ParseAndRenderStandard)->Unit(benchmark::kMicrosecond);

void BM_ParseAndRenderStandardWithExtras(benchmark::State& state) {
  const Text text = ReadTextFile(kSampleRecord).value_or(Text{});
  if (text.empty()) state.SkipWithError("sample record missing");
  for (auto _ : state) {
    IniDocument record = IniDocument::Parse(text);
    CollectingSink sink;
    RenderChart(record, ReportOptions{.layout = kStandardLayout, .extras = true}, sink);
    benchmark::DoNotOptimize(sink.PlainText().data());
  }
}
BENCHMARK(BM_ParseAndRenderStandardWithExtras)->Unit(benchmark::kMicrosecond);

void BM_ParseAndExportJson(benchmark::State& state) {
  const Text text = ReadTextFile(kSampleRecord).value_or(Text{});
  if (text.empty()) state.SkipWithError("sample record missing");
  for (auto _ : state) {
    const std::string json = ChartJson(IniDocument::Parse(text));
    benchmark::DoNotOptimize(json.data());
  }
}
BENCHMARK(BM_ParseAndExportJson)->Unit(benchmark::kMicrosecond);

// The whole click: read the file, parse, render (the record is unchanged, so
// nothing is written).
void BM_RenderChartFromFile(benchmark::State& state) {
  for (auto _ : state) {
    CollectingSink sink;
    RenderChart(kSampleRecord, kStandardLayout, sink);
    benchmark::DoNotOptimize(sink.PlainText().data());
  }
}
BENCHMARK(BM_RenderChartFromFile)->Unit(benchmark::kMicrosecond);

// The hand-edited record of 843 bytes that once rendered 26 MB: count 10000
// and a liunian1 of 600 slashes, plus absurd counts and spans elsewhere. The
// report must stay well under 50 ms, like any record's.
void BM_RenderHostileRecord(benchmark::State& state) {
  const std::string bytes =
      "[main]\r\nname=x\r\nsex=男\r\n[jieqi]\r\nbefore=立春 1990:02:04:10:14\r\n"
      "after=立夏 1990:05:06:02:35\r\n[liunian]\r\ncount=10000\r\nliunian1=" +
      std::string(600, '/') +
      "\r\n[tijian]\r\ncount=10000\r\n[liunianhcxh]\r\nyearBegin=1\r\nyearEnd=1000000\r\n";
  const Text text = FromUtf8(bytes);
  for (auto _ : state) {
    IniDocument record = IniDocument::Parse(text);
    CollectingSink sink;
    RenderChart(record, kStandardLayout, sink);
    benchmark::DoNotOptimize(sink.PlainText().data());
  }
}
BENCHMARK(BM_RenderHostileRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace xuanshu
