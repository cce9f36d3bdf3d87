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

Text RenderFile(const std::filesystem::path& path, int layout,
                Script script = Script::kSimplified) {
  CollectingSink sink;
  RenderChart(path, ReportOptions{.layout = layout, .script = script}, sink);
  return sink.PlainText();
}

// Fails naming the first line where the rendering differs from the file.
void ExpectSameReport(const std::string& actual, const std::filesystem::path& expectedFile) {
  const std::string expected = ReadFileBytes(expectedFile);
  ASSERT_FALSE(expected.empty()) << expectedFile;
  if (actual == expected) return;
  std::size_t line = 1, at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
    if (actual[at++] == '\n') ++line;
  }
  ADD_FAILURE() << expectedFile.filename() << ": first difference in line " << line
                << "\n  actual:   " << actual.substr(actual.rfind('\n', at) + 1, 200)
                << "\n  expected: " << expected.substr(expected.rfind('\n', at) + 1, 200);
}

TEST(StoredReportTest, EachLayoutOfEachSampleMatchesItsCheckedReport) {
  TempDir dir;
  for (const char* name : {"zhangsan", "lisi", "wangli"}) {
    const auto record = dir.path() / (std::string(name) + ".bze");
    std::filesystem::copy_file(ReportDataDir() / (std::string(name) + ".bze"), record);
    for (int layout : {0, 1, 2}) {
      ExpectSameReport(
          U8(RenderFile(record, layout)),
          ReportDataDir() / (std::string(name) + "." + std::to_string(layout) + ".txt"));
    }
  }
}

// One sample in each layout in Traditional is its checked Simplified report
// converted line by line by the reviewed table (the name, which is the user's,
// excepted): every piece of the report went through the table, none was left
// in Simplified, and none was converted apart from its context.
TEST(TraditionalReportTest, OneSampleInEachLayoutIsItsCheckedReportConverted) {
  TempDir dir;
  const std::pair<const char*, int> samples[] = {
      {"zhangsan", kSimpleLayout}, {"lisi", kStandardLayout}, {"wangli", kHongKongLayout}};
  for (const auto& [name, layout] : samples) {
    const auto record = dir.path() / (std::string(name) + ".bze");
    std::filesystem::copy_file(ReportDataDir() / (std::string(name) + ".bze"), record);
    const Text checked = FromUtf8(ReadFileBytes(
        ReportDataDir() / (std::string(name) + "." + std::to_string(layout) + ".txt")));
    ASSERT_TRUE(checked.starts_with(u"姓名：")) << name;
    const std::size_t nameEnd = checked.find(u'　');
    const Text expected =
        checked.substr(0, nameEnd) + InScript(checked.substr(nameEnd), Script::kTraditional);
    const Text actual = RenderFile(record, layout, Script::kTraditional);
    EXPECT_NE(actual, checked) << name << ": not converted";
    std::size_t line = 1, at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
      if (actual[at++] == u'\n') ++line;
    }
    EXPECT_EQ(actual.size(), expected.size()) << name << " layout " << layout;
    EXPECT_EQ(at, actual.size()) << name << " layout " << layout << ": first difference in line "
                                 << line << "\n  actual:   "
                                 << U8(actual.substr(actual.rfind(u'\n', at) + 1, 60))
                                 << "\n  expected: "
                                 << U8(expected.substr(expected.rfind(u'\n', at) + 1, 60));
  }
}

// Lines of the Traditional standard report as a reader in Taiwan writes them,
// with the field's words a generic converter gets wrong (丑, 藏干, 天剋地沖).
TEST(TraditionalReportTest, StandardReportReadsAsTraditionalChinese) {
  const Rendered out = Render(LoadSample("lisi"), kStandardLayout, Script::kTraditional);
  const TextView lines[] = {
      u"性別：",     u"出生公曆：", u"出生農曆：",   u"藏干：　　　", u"天剋地沖：　",
      u"合沖刑害：", u"歲運並臨：", u"日干分數：　", u"十神分數：　", u"總分數：　　",
      u"先天體檢：", u"起運：",     u"命主於出生後", u"交運：",       u"大運：",
      u"年齡：",     u"流年：",     u"社會關係：",   u"劫財",         u"傷官",
      u"正財",       u"偏財",       u"參考用神：",   u"(虛歲)",
  };
  for (TextView line : lines) EXPECT_TRUE(out.Has(line)) << U8(line);
  const TextView simplifiedOnly[] = {u"性别", u"公历", u"农历", u"天克地冲", u"岁运并临",
                                     u"分数", u"体检", u"大运", u"劫财",     u"伤官"};
  for (TextView word : simplifiedOnly) EXPECT_FALSE(out.Has(word)) << U8(word);
  EXPECT_FALSE(out.Has(u"藏幹")) << "干 of 藏干 is no 幹";
  EXPECT_FALSE(out.Has(u"醜")) << "the branch 丑 is no 醜";
}

bool IsHanUnit(char16_t c) {
  return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

// Every layout of every sample in Traditional is its Simplified report with
// Han characters replaced one for one: the U+3000 columns, the line breaks
// and the colour of every character stay where they were.
TEST(TraditionalReportTest, EveryLayoutKeepsTheColumnsAndColoursOfItsSimplifiedReport) {
  for (const char* name : {"zhangsan", "lisi", "wangli"}) {
    for (int layout : {0, 1, 2}) {
      const Rendered simplified = Render(LoadSample(name), layout);
      const Rendered traditional = Render(LoadSample(name), layout, Script::kTraditional);
      ASSERT_EQ(traditional.text.size(), simplified.text.size()) << name << " " << layout;
      EXPECT_EQ(traditional.colors, simplified.colors) << name << " " << layout;
      std::size_t changed = 0;
      for (std::size_t i = 0; i < simplified.text.size(); ++i) {
        if (simplified.text[i] == traditional.text[i]) continue;
        ++changed;
        EXPECT_TRUE(IsHanUnit(simplified.text[i]) && IsHanUnit(traditional.text[i]))
            << name << " " << layout << " at " << i;
      }
      EXPECT_GT(changed, 50u) << name << " " << layout << ": the report was not converted";
    }
  }
}

// What the user typed is shown as typed: the name (even one made of the
// program's own words), and a birthplace that is not a place of the table.
// A place of the table is program text and converts.
TEST(TraditionalReportTest, UserDataStaysAsTyped) {
  struct Case {
    TextView name, place;
    TextView shownName, shownPlace;
  };
  const Case cases[] = {
      {u"丑丑", u"", u"丑丑", u""},
      {u"陈发财", u"", u"陈发财", u""},  // 发 and 财 would become 發 and 財
      {u"公历", u"", u"公历", u""},      // a program word as a name
      {u"林", u"火星基地后山", u"林", u"火星基地后山"},
      {u"林", u"乌鲁木齐（新疆）", u"林", u"烏魯木齊（新疆）"},
      {u"林", u"台北（台湾）", u"林", u"臺北（臺灣）"},
  };
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"main", u"name", c.name);
    if (!c.place.empty()) {
      record.Set(u"chusheng", u"didian", c.place);
      record.Set(u"chusheng", u"jingdu", u"87.6");
    }
    for (int layout : {0, 1, 2}) {
      const Rendered out = Render(record, layout, Script::kTraditional);
      EXPECT_TRUE(out.text.starts_with(u"姓名：" + Text(c.shownName) + u"　性別：男　\r\n"))
          << U8(c.name) << ": " << U8(out.text.substr(0, 20));
      EXPECT_EQ(out.ColorOf(c.shownName), ReportColor::kRed);
      EXPECT_TRUE(out.Has(u"出生公曆：1990年05月17日14時30分")) << U8(c.name);
      if (!c.place.empty()) {
        EXPECT_TRUE(out.Has(u"\r\n出生地：" + Text(c.shownPlace) + u"　東經87°36′\r\n"))
            << U8(c.place);
      }
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
