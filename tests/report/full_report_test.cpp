// Whole reports of complete records.
//
// The expected reports in data/<name>.<layout>.txt were checked line by line
// against the layout formats: every line was derived again, step by step, from
// the record's keys with the quoted formats of the standard, simple and Hong
// Kong/Taiwan layouts and the kinship tables, independently of this renderer,
// and compared line for line; the grid, the luck table and the annual
// sections were also read through by eye. The records were computed by
// `xuanshu-cli chart` and are stored, so these tests do not move when the
// computation changes.
#include <gtest/gtest.h>

#include "report_test_support.h"
#include "test_support.h"

namespace xuanshu::testing {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

Text RenderFile(const std::filesystem::path& path, int layout) {
  CollectingSink sink;
  RenderChart(path, layout, sink);
  return sink.PlainText();
}

TEST(StoredReportTest, EachLayoutOfEachSampleMatchesItsCheckedReport) {
  TempDir dir;
  for (const char* name : {"zhangsan", "lisi", "wangli"}) {
    const auto record = dir.path() / (std::string(name) + ".bze");
    std::filesystem::copy_file(ReportDataDir() / (std::string(name) + ".bze"), record);
    for (int layout : {0, 1, 2}) {
      const auto expectedFile =
          ReportDataDir() / (std::string(name) + "." + std::to_string(layout) + ".txt");
      const std::string expected = ReadFileBytes(expectedFile);
      ASSERT_FALSE(expected.empty()) << expectedFile;
      const std::string actual = U8(RenderFile(record, layout));
      if (actual == expected) continue;
      // Report the first differing line.
      std::size_t line = 1, at = 0;
      while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        if (actual[at++] == '\n') ++line;
      }
      ADD_FAILURE() << name << " layout " << layout << ": first difference in line " << line
                    << "\n  actual:   " << actual.substr(actual.rfind('\n', at) + 1, 200)
                    << "\n  expected: " << expected.substr(expected.rfind('\n', at) + 1, 200);
    }
  }
}

// Charts computed now by the command-line program: every layout renders to
// the end, rendering leaves the computed record untouched, and the simple
// layout is the head of the standard one.
TEST(ComputedChartReportTest, FreshChartsRenderCompletelyWithoutRewritingTheRecord) {
  struct Chart {
    const char* name;
    const char* args;
    bool female;
  };
  const Chart charts[] = {
      {"甲", "--sex 男 --calendar 公历 --date 1975-02-04 --time 06:30", false},
      {"乙", "--sex 女 --calendar 农历 --date 2020-04-01 --leap --time 23:45", true},
      {"丙", "--sex 男 --calendar 公历 --date 2023-12-31 --time 00:05", false},
  };
  TempDir home;
  for (const Chart& c : charts) {
    std::string out, err;
    const std::string command = CliPath() + " chart --name " + c.name + " " + c.args + " --home '" +
                                home.path().string() + "'";
    ASSERT_EQ(RunCommand(command, &out, &err), 0) << command << "\n" << err;
    const auto record = home.path() / "data" / (std::string(c.name) + ".bze");
    const std::string before = ReadFileBytes(record);

    const Text standard = RenderFile(record, kStandardLayout);
    const Text hongKong = RenderFile(record, kHongKongLayout);
    const Text simple = RenderFile(record, kSimpleLayout);
    EXPECT_EQ(ReadFileBytes(record), before) << c.name << ": record rewritten by a rendering";

    for (const Text* report : {&standard, &hongKong}) {
      std::size_t heads = 0;
      for (std::size_t at = report->find(u"===========大运［"); at != Text::npos;
           at = report->find(u"===========大运［", at + 1)) {
        ++heads;
      }
      EXPECT_EQ(heads, 9u) << c.name;
      EXPECT_TRUE(report->ends_with(u"师长\t\r\n")) << c.name;
      EXPECT_NE(report->find(c.female ? u"女命：" : u"男命："), Text::npos) << c.name;
    }
    const std::size_t end = standard.find(u"\r\n\r\n大运天干克合");
    ASSERT_NE(end, Text::npos) << c.name;
    EXPECT_TRUE(simple.ends_with(standard.substr(end - 20, 20) + u"\r\n\r\n")) << c.name;
    EXPECT_EQ(hongKong.substr(hongKong.find(u"\r\n天干克合")),
              standard.substr(standard.find(u"\r\n天干克合")))
        << c.name;
  }
}

}  // namespace
}  // namespace xuanshu::testing
