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

std::string Record(const fs::path& home, const std::string& name) {
  return (home / "data" / (name + ".bze")).string();
}

TEST(BatchCommand, PrintsOneLinePerInputLineAndGoesOnAfterBadOnes) {
  TempDir home;
  const fs::path input = home.path() / "births.tsv";
  struct Case {
    const char* line;
    std::string expected;  // the record name, or the message after ERROR<TAB>
    bool saved;
  };
  const std::vector<Case> cases = {
      {"甲\t男\t公历\t1990-05-17\t08:30", "甲", true},
      {"", "请输入姓名", false},
      {"乙\t女\t公历\t1990-02-29\t08:30", "生成排盘失败！", false},
      {"丙\t女\t农历\t2020-04-01\t23:15\t1\t家人", "丙", true},
      {"../丁\t男\t公历\t1990-05-17\t08:30", "姓名不能用作文件名", false},
      {"戊\t男", "请输入日历类别", false},
      {"己\t男\t公历\t1990-05-17", "请输入日期", false},
      {"庚\tM\t公历\t1990-05-17\t08:30", "性别只能是男或女", false},
      {"辛\t男\t公历\t1990-05-17\t08:30\t2", "闰月标记只能是0或1", false},
      {"壬\t男\t公历\t1990.05.17\t08:30", "日期应写作YYYY-MM-DD", false},
      {"癸\t男\t公历\t1990-05-17\t08:30\t0\t组\textra", "字段过多：每行最多7个字段", false},
      {"子\t男\t公历\t1990-05-17\t08:30\r", "子", true},
  };
  std::string text;
  for (const Case& c : cases) text += std::string(c.line) + "\n";
  WriteFileBytes(input, text);

  const CliResult result = RunCli({"batch", input.string(), "--home", home.path().string()});
  EXPECT_EQ(result.code, 1) << "some lines failed";
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), cases.size()) << result.out;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string expected =
        cases[i].saved ? Record(home.path(), cases[i].expected) : "ERROR\t" + cases[i].expected;
    EXPECT_EQ(lines[i], expected) << "line " << i + 1 << ": " << cases[i].line;
  }
  const IniDocument leap = LoadIniFile(Record(home.path(), "丙"));
  EXPECT_EQ(leap.ReadString(u"main", u"class"), u"家人");
  EXPECT_EQ(leap.ReadString(u"main", u"sex"), u"女");
  EXPECT_EQ(leap.ReadString(u"nongli", u"leep"), u"1");
  EXPECT_FALSE(fs::exists(home.path() / "丁.bze"));
}

TEST(BatchCommand, ReadsStandardInputAndExitsZeroWhenEveryLineIsSaved) {
  TempDir home;
  const fs::path input = home.path() / "in.txt";
  WriteFileBytes(input,
                 "\xEF\xBB\xBF"
                 "甲\t男\t公历\t1990-05-17\t08:30\r\n"
                 "甲\t男\t公历\t1991-05-17\t08:30\t0\t\r\n"
                 "乙\t女\t农历\t1985-01-01\t00:00");
  const CliResult result = RunCli({"batch", "--home", home.path().string()}, input.string());
  EXPECT_EQ(result.code, 0) << result.out;
  EXPECT_EQ(result.out, Record(home.path(), "甲") + "\n" + Record(home.path(), "甲") + "\n" +
                            Record(home.path(), "乙") + "\n");
  EXPECT_EQ(LoadIniFile(Record(home.path(), "甲")).ReadString(u"gongli", u"year"), u"1991")
      << "the later line recomputes the chart";
}

TEST(BatchCommand, KeepsTheGroupOfAnEarlierRecordWhenTheLineHasNone) {
  TempDir home;
  const fs::path input = home.path() / "in.txt";
  WriteFileBytes(input,
                 "甲\t男\t公历\t1990-05-17\t08:30\t0\t客户\n"
                 "甲\t男\t公历\t1990-05-17\t09:30\n");
  ASSERT_EQ(RunCli({"batch", input.string(), "--home", home.path().string()}).code, 0);
  EXPECT_EQ(LoadIniFile(Record(home.path(), "甲")).ReadString(u"main", u"class"), u"客户");
}

TEST(BatchCommand, UnreadableFileAndBadUsage) {
  TempDir home;
  const CliResult missing =
      RunCli({"batch", (home.path() / "nope.tsv").string(), "--home", home.path().string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("nope.tsv"), std::string::npos);
  EXPECT_EQ(RunCli({"batch", "a", "b"}).code, 2);
  EXPECT_EQ(RunCli({"batch", "--name", "x"}).code, 2);
}

}  // namespace
}  // namespace xuanshu::testing
