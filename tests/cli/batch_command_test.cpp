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
      {"癸\t男\t公历\t1990-05-17\t08:30\t0\t组\t喀什\textra", "字段过多：每行最多8个字段", false},
      {"丑\t男\t公历\t1990-05-17\t08:30\t0\t组\t无此地",
       "未知的出生地：无此地（请从出生地列表中选择，或填写经度，如116.4）", false},
      {"寅\t男\t公历\t1990-05-17\t08:30\t0\t组\t200", "经度应在-180至180之间", false},
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

TEST(BatchCommand, SavesTheSameBytesAsTheChartCommand) {
  TempDir home;
  const fs::path input = home.path() / "in.txt";
  WriteFileBytes(input, "甲\t女\t农历\t2020-04-01\t23:15\t1\t家人\n");
  ASSERT_EQ(RunCli({"batch", input.string(), "--home", home.path().string()}).code, 0);
  const std::string fromBatch = ReadFileBytes(Record(home.path(), "甲"));
  ASSERT_EQ(
      RunCli({"chart", "--name", "甲", "--sex", "女", "--calendar", "农历", "--date", "2020-04-01",
              "--leap", "--time", "23:15", "--group", "家人", "--home", home.path().string()})
          .code,
      0);
  EXPECT_EQ(fromBatch, ReadFileBytes(Record(home.path(), "甲")));
}

TEST(BatchCommand, ManyLinesKeepTheirOrderAndLeaveNoTemporaryFiles) {
  TempDir home;
  const fs::path input = home.path() / "in.txt";
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; i < 700; ++i) {
    const std::string name = "例" + std::to_string(i % 500);
    text += name + "\t" + (i % 2 ? "男" : "女") + "\t公历\t" + std::to_string(1901 + i % 148) +
            "-03-0" + std::to_string(1 + i % 9) + "\t12:00\t0\t" +
            (i < 500 ? "组" + std::to_string(i % 3) : "") + "\n";
    expected.push_back(Record(home.path(), name));
    if (i % 97 == 5) {  // a refused line in between
      text += "坏" + std::to_string(i) + "\t男\t公历\t1990-02-30\t08:30\n";
      expected.push_back("ERROR\t生成排盘失败！");
    }
  }
  WriteFileBytes(input, text);
  const CliResult result = RunCli({"batch", input.string(), "--home", home.path().string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(Lines(result.out), expected);
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(home.path() / "data")) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, 500u);
  // Lines 500 and later repeat names 0 and later without a group: each keeps
  // the group its earlier line gave it, whether or not that line was
  // already flushed to disk.
  for (int i : {0, 1, 2, 198, 199, 255, 256, 257}) {
    const std::string name = "例" + std::to_string(i);
    EXPECT_EQ(LoadIniFile(Record(home.path(), name)).ReadString(u"main", u"class"),
              FromUtf8("组" + std::to_string(i % 3)))
        << name;
  }
}

TEST(BatchCommand, UnusableDataFolderFailsEveryLine) {
  TempDir home;
  WriteFileBytes(home.path() / "data", "plain file");
  const fs::path input = home.path() / "in.txt";
  WriteFileBytes(input, "甲\t男\t公历\t1990-05-17\t08:30\n乙\t男\t公历\t1990-05-17\t08:30\n");
  const CliResult result = RunCli({"batch", input.string(), "--home", home.path().string()});
  EXPECT_EQ(result.code, 1);
  const std::string failed = "ERROR\t生成排盘失败！无法保存排盘记录“";
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 2u) << result.out;
  EXPECT_EQ(lines[0], failed + Record(home.path(), "甲") + "”：路径中有一段不是文件夹");
  EXPECT_EQ(lines[1], failed + Record(home.path(), "乙") + "”：路径中有一段不是文件夹");
  EXPECT_EQ(ReadFileBytes(home.path() / "data"), "plain file");
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

TEST(BatchCommand, BirthOptionsApplyToEveryLineAndAPlaceColumnToItsOwn) {
  TempDir home;
  const fs::path input = home.path() / "in.txt";
  WriteFileBytes(input,
                 "甲\t男\t公历\t1988-07-15\t12:00\t0\t\t喀什\n"
                 "乙\t男\t公历\t1988-07-15\t12:00\n"
                 "丙\t男\t公历\t1988-07-15\t12:00\t0\t\t75.9868\n");
  const CliResult result = RunCli({"batch", input.string(), "--terms", "astronomical", "--place",
                                   "乌鲁木齐", "--home", home.path().string()});
  EXPECT_EQ(result.code, 0) << result.out;
  EXPECT_EQ(result.err,
            "提示：甲：出生时当地实行夏令时，已减去1小时，按标准时间1988年07月15日11时00分计算\n"
            "提示：乙：出生时当地实行夏令时，已减去1小时，按标准时间1988年07月15日11时00分计算\n"
            "提示：丙：出生时当地实行夏令时，已减去1小时，按标准时间1988年07月15日11时00分计算\n")
      << "a bare longitude counts as kept on Beijing time, daylight saving included";
  const auto place = [&](const std::string& name) {
    return LoadIniFile(Record(home.path(), name)).ReadString(u"chusheng", u"didian");
  };
  EXPECT_EQ(place("甲"), u"喀什（新疆）");
  EXPECT_EQ(place("乙"), u"乌鲁木齐（新疆）");
  EXPECT_EQ(place("丙"), u"");
  EXPECT_EQ(LoadIniFile(Record(home.path(), "丙")).ReadString(u"chusheng", u"jieqi"),
            u"astronomical");

  const CliResult bad = RunCli(
      {"batch", input.string(), "--zi", "early", "--home", (home.path() / "other").string()});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "子时规则只能是next-day（子初换日）或same-day（子正换日）\n");
  EXPECT_FALSE(fs::exists(home.path() / "other"));
}

constexpr char kLineTooLong[] = "ERROR\t行过长：每行最多65536字节";

TEST(BatchCommand, OverlongLinesAreRefusedAndReadingGoesOn) {
  TempDir home;
  const fs::path input = home.path() / "in.tsv";
  WriteFileBytes(input, "甲\t男\t公历\t1990-05-17\t08:30\n乙" + std::string(70000, 'x') +
                            "\t男\t公历\t1990-05-17\t08:30\n丙\t男\t公历\t1990-05-17\t08:30");
  const CliResult result = RunCli({"batch", input.string(), "--home", home.path().string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{Record(home.path(), "甲"), kLineTooLong,
                                                         Record(home.path(), "丙")}));
}

TEST(BatchCommand, FoldersAndReadErrorsFailWithAMessage) {
  TempDir home;
  const std::string h = home.path().string();
  const CliResult folder = RunCli({"batch", h, "--home", h});
  EXPECT_EQ(folder.code, 1);
  EXPECT_EQ(folder.out, "");
  EXPECT_NE(folder.err.find("文件夹"), std::string::npos) << folder.err;
  const CliResult fromFolder = RunCli({"batch", "--home", h}, h);
  EXPECT_EQ(fromFolder.code, 1) << "standard input that cannot be read";
  EXPECT_NE(fromFolder.err.find("读取"), std::string::npos) << fromFolder.err;
}

TEST(BatchCommand, EndlessInputWithoutLineBreaksKeepsMemoryBounded) {
  TempDir home;
  std::string command;
#if !defined(__SANITIZE_ADDRESS__)
  command = "ulimit -v 500000; ";  // a sanitizer build needs a vast address space
#endif
  command +=
      "timeout 2 " + Quoted(CliPath()) + " batch /dev/zero --home " + Quoted(home.path().string());
  std::string out;
  const int code = RunCommand(command, &out, nullptr);
  EXPECT_EQ(code, 124) << "still reading when stopped, not crashed";
  EXPECT_EQ(out, std::string(kLineTooLong) + "\n");
}

TEST(BatchCommand, NamesAreOneChartPerNameWhateverTheirBytes) {
  TempDir home;
  const fs::path input = home.path() / "in.tsv";
  const std::string rest = "\t男\t公历\t1990-05-17\t08:30\n";
  WriteFileBytes(input, "\xEF\xBB\xBF甲" + rest + "\xEF\xBB\xBF乙" + rest + "\xFF名" + rest +
                            "\xFE名" + rest + "e\xCC\x81" + rest + "\xC3\xA9" + rest);
  const CliResult result = RunCli({"batch", input.string(), "--home", home.path().string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(
      Lines(result.out),
      (std::vector<std::string>{Record(home.path(), "甲"), Record(home.path(), "乙"),
                                "ERROR\t姓名不能用作文件名", "ERROR\t姓名不能用作文件名",
                                Record(home.path(), "\xC3\xA9"), Record(home.path(), "\xC3\xA9")}));
  EXPECT_EQ(TreeOf(home.path() / "data"),
            (std::vector<std::string>{"\xC3\xA9.bze", "乙.bze", "甲.bze"}));
}

}  // namespace
}  // namespace xuanshu::testing
