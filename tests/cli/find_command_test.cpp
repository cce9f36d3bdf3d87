#include <gtest/gtest.h>

#include <sstream>

#include "cli_run.h"
#include "record/record_file.h"

namespace xuanshu::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The pillars `chart` computes for a clock time, as "年 月 日 时".
std::string ChartPillars(const fs::path& home, const std::string& date, const std::string& time,
                         const std::vector<std::string>& options) {
  std::vector<std::string> args = {"chart",      "--name", "反查",       "--sex", "男",
                                   "--calendar", "公历",   "--date",     date,    "--time",
                                   time,         "--home", home.string()};
  args.insert(args.end(), options.begin(), options.end());
  const CliResult result = RunCli(args);
  if (result.code != 0) return "chart failed: " + result.err;
  const IniDocument record = LoadIniFile(home / "data" / "反查.bze");
  Text pillars;
  for (const char16_t* key : {u"year", u"month", u"day", u"hour"}) {
    pillars += record.ReadString(u"shizhu", key) + u" ";
  }
  return ToUtf8(pillars.substr(0, pillars.size() - 1));
}

// Each line's first and last minute, cast with `chart` under the same
// choices, has the pillars asked for; a line over midnight ends on the next
// date.
void ExpectChartsAgree(const fs::path& home, const std::vector<std::string>& pillars,
                       const std::vector<std::string>& options, const std::string& output) {
  std::string asked;
  for (const std::string& p : pillars) asked += (asked.empty() ? "" : " ") + p;
  for (const std::string& line : Lines(output)) {
    ASSERT_EQ(line.size(), std::string("1990-05-17 07:00–08:59").size()) << line;
    const std::string date = line.substr(0, 10), first = line.substr(11, 5);
    const std::string last = line.substr(line.size() - 5);
    std::string lastDate = date;
    if (last < first) {  // over midnight: the day after, by the calendar
      int y = 0, m = 0, d = 0;
      std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d);
      const int days[] = {31, (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? 29 : 28,
                          31, 30,
                          31, 30,
                          31, 31,
                          30, 31,
                          30, 31};
      if (++d > days[m - 1]) d = 1, m = m % 12 + 1, y += m == 1;
      char text[16];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
      lastDate = text;
    }
    EXPECT_EQ(ChartPillars(home, date, first, options), asked) << line << " first minute";
    EXPECT_EQ(ChartPillars(home, lastDate, last, options), asked) << line << " last minute";
  }
}

TEST(FindCommand, ListsTheWindowsThatChartComputesBack) {
  TempDir home;
  struct Case {
    std::vector<std::string> pillars;
    std::vector<std::string> options;
    const char* listed;  // a line the output must hold
  };
  const Case cases[] = {
      // 1990-05-17 08:30 is 庚午 辛巳 壬午 甲辰 (the README's chart).
      {{"庚午", "辛巳", "壬午", "甲辰"}, {}, "1990-05-17 07:00–08:59"},
      {{"庚午", "辛巳", "壬午", "庚子"}, {}, "1990-05-16 23:00–00:59"},
      {{"庚午", "辛巳", "壬午", "庚子"}, {"--zi", "same-day"}, "1990-05-17 00:00–00:59"},
      {{"庚午", "辛巳", "壬午", "壬子"}, {"--zi", "same-day"}, "1990-05-17 23:00–23:59"},
      // 立春 1984: 22:08 by the formula, 23:18:44 by the table.
      {{"甲子", "丙寅", "己巳", "甲子"}, {"--terms", "astronomical"}, "1984-02-04 23:18–00:59"},
      {{"癸亥", "乙丑", "己巳", "甲子"}, {"--terms", "astronomical"}, "1984-02-04 23:00–23:17"},
      {{"甲子", "丙寅", "己巳", "甲子"}, {"--terms=formula"}, "1984-02-04 23:00–00:59"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"find"};
    args.insert(args.end(), c.pillars.begin(), c.pillars.end());
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {"--home", home.path().string()});
    const CliResult result = RunCli(args);
    ASSERT_EQ(result.code, 0) << c.listed << ": " << result.err;
    EXPECT_EQ(result.err, "");
    const auto lines = Lines(result.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.listed), lines.end()) << result.out;
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end())) << result.out;
    ExpectChartsAgree(home.path(), c.pillars, c.options, result.out);
  }
}

TEST(FindCommand, ConfigSettingsApplyUnlessAnOptionSaysOtherwise) {
  TempDir home;
  WriteFileBytes(home.path() / "Config.ini",
                 "[Option]\r\nterms=astronomical\r\nzi=same-day\r\nbirthplace=喀什\r\n");
  const std::string base = home.path().string();
  // 戊辰 with a 甲子 hour is the late 子 hour of the same-day school, which
  // next-day refuses; the table puts 立春 1984 at 23:18:44 Beijing time.
  const CliResult settings = RunCli({"find", "癸亥", "乙丑", "戊辰", "甲子", "--home", base});
  ASSERT_EQ(settings.code, 0) << settings.err;
  EXPECT_TRUE(settings.out.starts_with("1984-02-04 23:00–23:17\n"))
      << "the table and the same-day school, in Beijing time whatever the birthplace: "
      << settings.out;
  const CliResult options = RunCli({"find", "甲子", "丙寅", "己巳", "甲子", "--terms", "formula",
                                    "--zi", "next-day", "--home", base});
  EXPECT_NE(options.out.find("1984-02-04 23:00–00:59\n"), std::string::npos) << options.out;
}

TEST(FindCommand, RefusesWhatNoBirthHasWithAMessage) {
  TempDir home;
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;  // part of standard error
  };
  const Case cases[] = {
      {{"庚午", "辛巳", "壬午", "甲X"}, 1, "时柱“甲X”的“X”不是地支"},
      {{"庚", "辛巳", "壬午", "甲辰"}, 1, "年柱“庚”应为两个字"},
      {{"甲丑", "丙寅", "壬午", "甲辰"}, 1, "年柱“甲丑”不在六十甲子之中"},
      {{"庚午", "癸巳", "壬午", "甲辰"}, 1, "庚年巳月为辛巳（五虎遁）"},
      {{"庚午", "辛巳", "壬午", "丙辰"}, 1, "壬日辰时为甲辰（五鼠遁）"},
      {{"庚午", "辛巳", "壬午", "壬子"}, 1, "壬子是子正换日的夜子时"},
      {{"庚午", "辛巳", "丁未", "甲辰"}, 1, "1901年至2049年间没有这组八字的出生时间"},
      {{"庚午", "辛巳", "壬午", "甲辰", "--terms", "lunar"}, 1, "节气方式只能是"},
      {{"庚午", "辛巳", "壬午", "甲辰", "--zi", "noon"}, 1, "子时规则只能是"},
      {{"庚午", "辛巳", "壬午"}, 2, "find takes four pillars"},
      {{"庚午辛巳壬午甲辰"}, 2, "Usage:"},
      {{"庚午", "辛巳", "壬午", "甲辰", "--place", "北京"}, 2, "unknown option --place"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"find"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--home", home.path().string()});
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, c.code) << c.message;
    EXPECT_EQ(result.out, "") << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_FALSE(fs::exists(home.path() / "data")) << "find writes nothing";
}

// With script=traditional in Config.ini the messages are in Traditional
// characters; what the user typed is quoted as typed.
TEST(FindCommand, MessagesFollowTheScriptOfConfigIni) {
  TempDir home;
  WriteFileBytes(home.path() / "Config.ini", "[Option]\r\nscript=traditional\r\n");
  struct Case {
    std::vector<std::string> args;
    const char* message;  // part of standard error
  };
  const Case cases[] = {
      {{"庚午", "辛巳", "壬午", "甲X"}, "時柱“甲X”的“X”不是地支"},
      {{"庚午", "辛巳", "壬午", "发X"}, "時柱“发X”的“发”不是天干"},
      {{"庚", "辛巳", "壬午", "甲辰"}, "年柱“庚”應為兩個字：天干在前，地支在後"},
      {{"甲丑", "丙寅", "壬午", "甲辰"}, "不在六十甲子之中：陽干配陽支，陰干配陰支"},
      {{"庚午", "癸巳", "壬午", "甲辰"}, "月柱“癸巳”與年干庚不合：庚年巳月為辛巳（五虎遁）"},
      {{"庚午", "辛巳", "丁未", "甲辰"}, "1901年至2049年間沒有這組八字的出生時間"},
      {{"庚午", "辛巳", "壬午", "甲辰", "--terms", "lunar"}, "節氣方式只能是"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"find"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--home", home.path().string()});
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, 1) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace xuanshu::testing
