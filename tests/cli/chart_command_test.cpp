#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "cli_run.h"
#include "record/record_file.h"

namespace xuanshu::testing {
namespace {

namespace fs = std::filesystem;

// A complete, valid chart command; tests drop or replace options.
std::vector<std::string> ChartArgs(const fs::path& home, const std::string& name = "张三") {
  return {"chart",  "--name",     name,     "--sex", "男",     "--calendar", "公历",
          "--date", "1990-05-17", "--time", "08:30", "--home", home.string()};
}

std::vector<std::string> Without(std::vector<std::string> args, const std::string& option) {
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (*it == option) {
      args.erase(it, it + 2);
      break;
    }
  }
  return args;
}

std::vector<std::string> With(std::vector<std::string> args, const std::string& option,
                              const std::string& value) {
  args = Without(args, option);
  args.push_back(option);
  args.push_back(value);
  return args;
}

std::string RecordOf(const fs::path& home, const std::string& name) {
  return (home / "data" / (name + ".bze")).string();
}

Text GroupOf(const fs::path& home, const std::string& name) {
  return LoadIniFile(RecordOf(home, name)).ReadString(u"main", u"class");
}

TEST(ChartCommand, PrintsTheRecordPathAndCreatesTheDataFolder) {
  TempDir home;
  const CliResult result = RunCli(ChartArgs(home.path()));
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, RecordOf(home.path(), "张三") + "\n");
  EXPECT_EQ(result.err, "");
  const IniDocument record = LoadIniFile(RecordOf(home.path(), "张三"));
  EXPECT_EQ(record.ReadString(u"main", u"name"), u"张三");
  EXPECT_EQ(record.ReadString(u"gongli", u"hour"), u"8");
}

TEST(ChartCommand, MissingOptionGivesTheEmptyFieldMessage) {
  struct Case {
    const char* option;
    const char* message;
  };
  const Case cases[] = {
      {"--name", "请输入姓名\n"}, {"--sex", "请选择性别\n"},  {"--calendar", "请输入日历类别\n"},
      {"--date", "请输入年份\n"}, {"--time", "请输入日期\n"},
  };
  TempDir home;
  for (const Case& c : cases) {
    const CliResult result = RunCli(Without(ChartArgs(home.path()), c.option));
    EXPECT_EQ(result.code, 1) << c.option;
    EXPECT_EQ(result.err, c.message) << c.option;
    EXPECT_EQ(result.out, "") << c.option;
  }
  const CliResult empty = RunCli({"chart", "--home", home.path().string()});
  EXPECT_EQ(empty.err, "请输入姓名\n") << "only the first missing field is reported";
  const CliResult blank = RunCli(With(ChartArgs(home.path()), "--name", ""));
  EXPECT_EQ(blank.err, "请输入姓名\n") << "an empty value is an empty field";
  EXPECT_TRUE(fs::is_empty(home.path())) << "a refused request writes nothing";
}

TEST(ChartCommand, BadUsagePrintsTheUsageAndExitsWithTwo) {
  TempDir home;
  const std::vector<std::string> base = ChartArgs(home.path());
  const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
      {"unknown option", With(base, "--colour", "red")},
      {"sex not 男 or 女", With(base, "--sex", "M")},
      {"calendar not 公历 or 农历", With(base, "--calendar", "阴历")},
      {"date with slashes", With(base, "--date", "1990/05/17")},
      {"date without day", With(base, "--date", "1990-05")},
      {"time with seconds", With(base, "--time", "08:30:00")},
      {"time with letters", With(base, "--time", "8h30")},
      {"stray argument", With(base, "extra", "word")},
      {"option without value", {"chart", "--name"}},
      {"no command", {}},
      {"unknown command", {"draw"}},
  };
  for (const auto& [what, args] : cases) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, 2) << what;
    EXPECT_NE(result.err.find("Usage:"), std::string::npos) << what;
    EXPECT_EQ(result.out, "") << what;
  }
  EXPECT_TRUE(fs::is_empty(home.path()));
  const CliResult help = RunCli({"chart", "--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("xuanshu-cli chart --name NAME"), std::string::npos);
}

TEST(ChartCommand, InvalidBirthMomentLeavesTheExistingRecordByteIdentical) {
  TempDir home;
  ASSERT_EQ(RunCli(ChartArgs(home.path())).code, 0);
  const std::string before = ReadFileBytes(RecordOf(home.path(), "张三"));
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"--date", "1990-02-29"}, {"--date", "1990-05-00"}, {"--date", "1990-13-01"},
      {"--date", "1900-05-17"}, {"--time", "24:00"},      {"--time", "23:60"},
  };
  for (const auto& [option, value] : cases) {
    const CliResult result = RunCli(With(ChartArgs(home.path()), option, value));
    EXPECT_EQ(result.code, 1) << option << " " << value;
    EXPECT_EQ(result.err, "生成排盘失败！\n") << option << " " << value;
    EXPECT_EQ(ReadFileBytes(RecordOf(home.path(), "张三")), before) << option << " " << value;
  }
  EXPECT_EQ(TreeOf(home.path()), (std::vector<std::string>{"data", "data/张三.bze"}));
}

TEST(ChartCommand, NamesThatEscapeTheDataFolderAreRefused) {
  TempDir root;
  const fs::path home = root.path() / "home";
  fs::create_directories(home / "data");
  const std::vector<std::string> names = {
      "../x", "a/b", "CON", "con.txt", " a", "a.", std::string(50, 'n')};
  for (const std::string& name : names) {
    const CliResult result = RunCli(ChartArgs(home, name));
    EXPECT_EQ(result.code, 1) << name;
    const std::string expected =
        name.size() == 50 ? "姓名不能超过49个字\n" : "姓名不能用作文件名\n";
    EXPECT_EQ(result.err, expected) << name;
  }
  EXPECT_EQ(TreeOf(root.path()), (std::vector<std::string>{"home", "home/data"}));
}

TEST(ChartCommand, UnusableDataFolderFailsTheComputation) {
  TempDir home;
  WriteFileBytes(home.path() / "data", "plain file");
  const CliResult result = RunCli(ChartArgs(home.path()));
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "生成排盘失败！无法保存排盘记录“" + RecordOf(home.path(), "张三") +
                            "”：路径中有一段不是文件夹\n");
  EXPECT_EQ(ReadFileBytes(home.path() / "data"), "plain file");
}

TEST(ChartCommand, ReadOnlyDataFolderFailsTheComputation) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  TempDir home;
  fs::create_directories(home.path() / "data");
  fs::permissions(home.path() / "data", fs::perms::owner_read | fs::perms::owner_exec);
  const CliResult result = RunCli(ChartArgs(home.path()));
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "生成排盘失败！无法保存排盘记录“" + RecordOf(home.path(), "张三") +
                            "”：没有写入权限\n");
  EXPECT_TRUE(fs::is_empty(home.path() / "data"));
}

TEST(ChartCommand, SaveFailuresSayWhatFailedAfterTheProgramsMessage) {
  TempDir root;
  fs::permissions(root.path(), fs::perms::all);
  const fs::path readOnly = root.path() / "readonly";
  fs::create_directories(readOnly / "data");
  fs::permissions(readOnly, fs::perms::all);
  fs::permissions(readOnly / "data", fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
  std::string deep = root.path().string();
  while (deep.size() < 4200) deep += "/" + std::string(200, 'd');
  struct Case {
    const char* what;
    fs::path home;
    const char* reason;
  };
  const Case cases[] = {
      {"path too long", deep, "：路径过长\n"},
      {"read-only data folder", readOnly, "：没有写入权限\n"},
  };
  for (const Case& c : cases) {
    const CliResult result = RunCliWithoutPrivileges(ChartArgs(c.home));
    EXPECT_EQ(result.code, 1) << c.what;
    EXPECT_TRUE(result.err.starts_with("生成排盘失败！无法保存排盘记录“")) << result.err;
    EXPECT_TRUE(result.err.ends_with(c.reason)) << c.what << ": " << result.err;
  }
}

TEST(ChartCommand, ARecordThatCannotBeReadIsNeitherGuessedNorReplaced) {
  TempDir home;
  fs::permissions(home.path(), fs::perms::all);
  ASSERT_EQ(RunCli(With(ChartArgs(home.path()), "--group", "客户")).code, 0);
  fs::permissions(home.path() / "data", fs::perms::all);
  const fs::path record = RecordOf(home.path(), "张三");
  const std::string before = ReadFileBytes(record);
  fs::permissions(record, fs::perms::none);
  const CliResult result = RunCliWithoutPrivileges(ChartArgs(home.path()));
  fs::permissions(record, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "生成排盘失败！无法读取已有的排盘记录“" + record.string() + "”\n");
  EXPECT_EQ(ReadFileBytes(record), before);
}

TEST(ChartCommand, InvalidUtf8IsRefusedAndNormalisationFormsAreOneChart) {
  TempDir home;
  for (const char* name : {"\xFF", "a\xC3", "\xED\xA0\x80"}) {
    const CliResult result = RunCli(ChartArgs(home.path(), name));
    EXPECT_EQ(result.code, 1) << name;
    EXPECT_EQ(result.err, "姓名不能用作文件名\n") << name;
  }
  const CliResult composed = RunCli(ChartArgs(home.path(), "\xC3\xA9"));
  const CliResult decomposed = RunCli(ChartArgs(home.path(), "e\xCC\x81"));
  EXPECT_EQ(composed.out, RecordOf(home.path(), "\xC3\xA9") + "\n");
  EXPECT_EQ(decomposed.out, composed.out);
  EXPECT_EQ(LoadIniFile(RecordOf(home.path(), "\xC3\xA9")).ReadString(u"main", u"name"), u"é");
  EXPECT_EQ(TreeOf(home.path()), (std::vector<std::string>{"data", "data/\xC3\xA9.bze"}));
}

TEST(ChartCommand, GroupComesFromTheOptionThenTheExistingRecordThenDefaults) {
  TempDir home;
  const fs::path h = home.path();
  ASSERT_EQ(RunCli(ChartArgs(h, "新人")).code, 0);
  EXPECT_EQ(GroupOf(h, "新人"), u"其他") << "no option, no earlier record";

  ASSERT_EQ(RunCli(With(ChartArgs(h, "客户甲"), "--group", "客户")).code, 0);
  EXPECT_EQ(GroupOf(h, "客户甲"), u"客户") << "--group";

  ASSERT_EQ(RunCli(With(ChartArgs(h, "客户甲"), "--date", "1991-01-01")).code, 0);
  EXPECT_EQ(GroupOf(h, "客户甲"), u"客户") << "recomputed without --group keeps its group";

  ASSERT_EQ(RunCli(With(ChartArgs(h, "客户甲"), "--group", "家人")).code, 0);
  EXPECT_EQ(GroupOf(h, "客户甲"), u"家人") << "--group moves it";

  ASSERT_EQ(RunCli(With(ChartArgs(h, "长组"), "--group", std::string(50 * 3, 'g'))).code, 0);
  EXPECT_EQ(GroupOf(h, "长组"), Text(49, u'g')) << "a group is cut to 49 characters";
}

TEST(ChartCommand, GroupOfAnExistingRecordIsFoundInAnyRecordForm) {
  constexpr char kUtf16Record[] =
      "\xFF\xFE[\0m\0a\0i\0n\0]\0\n\0c\0l\0a\0s\0s\0=\0\xE7\x65\xC4\x7E";  // class=旧组
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"LF line ends", "[main]\nname=张三\nclass=旧组\n[gongli]\nyear=1990\n"},
      {"byte-order mark", "\xEF\xBB\xBF[main]\r\nclass=旧组\r\n"},
      {"main after a long section",
       "[other]\r\nlong=" + std::string(6000, 'x') + "\r\n[main]\r\nclass=旧组\r\n"},
      {"UTF-16LE with byte-order mark", std::string(kUtf16Record, sizeof kUtf16Record - 1)},
  };
  for (const Case& c : cases) {
    TempDir home;
    fs::create_directories(home.path() / "data");
    WriteFileBytes(RecordOf(home.path(), "张三"), c.bytes);
    ASSERT_EQ(RunCli(ChartArgs(home.path())).code, 0) << c.what;
    EXPECT_EQ(GroupOf(home.path(), "张三"), u"旧组") << c.what;
  }
}

TEST(ChartCommand, LeapOptionChoosesTheLeapMonthOfALunarYear) {
  // 2020 had a leap fourth month, which began on 23 May.
  TempDir home;
  std::vector<std::string> args = With(ChartArgs(home.path()), "--calendar", "农历");
  args = With(args, "--date", "2020-04-01");
  args.push_back("--leap");
  ASSERT_EQ(RunCli(args).code, 0);
  const IniDocument record = LoadIniFile(RecordOf(home.path(), "张三"));
  EXPECT_EQ(record.ReadString(u"gongli", u"month"), u"5");
  EXPECT_EQ(record.ReadString(u"gongli", u"day"), u"23");
  EXPECT_EQ(record.ReadString(u"nongli", u"leep"), u"1");

  const CliResult noLeap = RunCli(With(args, "--date", "2021-04-01"));
  EXPECT_EQ(noLeap.code, 1) << "2021 has no leap fourth month";
  EXPECT_EQ(noLeap.err, "生成排盘失败！\n");
}

TEST(ChartCommand, BirthOptionsAreRecordedAndWarnedAbout) {
  TempDir home;
  std::vector<std::string> args = With(ChartArgs(home.path()), "--date", "1988-07-15");
  args =
      With(With(With(args, "--time", "12:00"), "--place", "乌鲁木齐"), "--terms", "astronomical");
  const CliResult result = RunCli(args);
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, RecordOf(home.path(), "张三") + "\n");
  EXPECT_EQ(result.err,
            "提示：出生时当地实行夏令时，已减去1小时，按标准时间1988年07月15日11时00分计算\n");
  const IniDocument record = LoadIniFile(RecordOf(home.path(), "张三"));
  EXPECT_EQ(record.ReadString(u"chusheng", u"zhentaiyang"), u"1988:07:15:08:44");
  EXPECT_EQ(record.ReadString(u"shizhu", u"hour"), u"壬辰");
}

TEST(ChartCommand, BadBirthOptionsAreRefusedAndWriteNothing) {
  struct Case {
    const char* option;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"--place", "火星", "未知的出生地：火星（请从出生地列表中选择，或填写经度，如116.4）"},
      {"--longitude", "190", "经度应在-180至180之间"},
      {"--place", "-181", "经度应在-180至180之间"},
      {"--utc-offset", "8", "时区应写作±HH:MM，如+08:00"},
      {"--terms", "lunar", "节气方式只能是formula（公式）或astronomical（天文）"},
      {"--zi", "early", "子时规则只能是next-day（子初换日）或same-day（子正换日）"},
      {"--dst", "on", "夏令时只能是auto（自动）或off（不计）"},
  };
  for (const Case& c : cases) {
    TempDir home;
    const CliResult result = RunCli(With(ChartArgs(home.path()), c.option, c.value));
    EXPECT_EQ(result.code, 1) << c.option << " " << c.value;
    EXPECT_EQ(result.err, std::string(c.message) + "\n");
    EXPECT_FALSE(fs::exists(home.path() / "data")) << c.option << " " << c.value;
  }
}

TEST(ChartCommand, ConfigSettingsApplyUnlessAnOptionSaysOtherwise) {
  TempDir home;
  WriteFileBytes(home.path() / "Config.ini",
                 "[Option]\r\nterms=astronomical\r\nzi=same-day\r\nbirthplace=喀什\r\n");
  ASSERT_EQ(RunCli(ChartArgs(home.path(), "甲")).code, 0);
  const IniDocument fromSettings = LoadIniFile(RecordOf(home.path(), "甲"));
  EXPECT_EQ(fromSettings.ReadString(u"chusheng", u"jieqi"), u"astronomical");
  EXPECT_EQ(fromSettings.ReadString(u"chusheng", u"zishi"), u"same-day");
  EXPECT_EQ(fromSettings.ReadString(u"chusheng", u"didian"), u"喀什（新疆）");

  std::vector<std::string> args = With(ChartArgs(home.path(), "乙"), "--terms", "formula");
  args = With(With(args, "--zi", "next-day"), "--longitude", "116.4");
  ASSERT_EQ(RunCli(args).code, 0);
  const IniDocument fromOptions = LoadIniFile(RecordOf(home.path(), "乙"));
  EXPECT_EQ(fromOptions.ReadString(u"chusheng", u"jieqi"), u"formula");
  EXPECT_EQ(fromOptions.ReadString(u"chusheng", u"didian"), u"") << "a longitude, not 喀什";
  EXPECT_EQ(fromOptions.ReadString(u"chusheng", u"jingdu"), u"116.4000");
}

TEST(TermsCommand, PrintsTheYearsTermsInBeijingTimeFromEitherSource) {
  TempDir home;
  const CliResult table =
      RunCli({"terms", "2024", "--terms", "astronomical", "--home", home.path().string()});
  ASSERT_EQ(table.code, 0) << table.err;
  const std::string lines = table.out;
  EXPECT_TRUE(lines.starts_with("小寒\t2024-01-06 04:49:")) << lines;
  EXPECT_NE(lines.find("\n立春\t2024-02-04 16:27:"), std::string::npos)
      << "Hong Kong Observatory: 16:27";
  EXPECT_NE(lines.find("\n冬至\t2024-12-21 17:20:"), std::string::npos) << "USNO: 09:20 UTC";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 24);
  const CliResult formula = RunCli({"terms", "2024", "--home", home.path().string()});
  EXPECT_NE(formula.out.find("\n立春\t2024-02-04 14:39:00\n"), std::string::npos)
      << "the formula's 14:39:00.862, milliseconds cut";
  for (const char* year : {"1899", "2051", "abc"}) {
    const CliResult bad = RunCli({"terms", year, "--home", home.path().string()});
    EXPECT_EQ(bad.code, 1) << year;
    EXPECT_EQ(bad.err, "年份应在1900至2050之间\n");
  }
}

TEST(PlacesCommand, ListsMatchingPlacesWithCoordinatesAndZone) {
  const CliResult kashgar = RunCli({"places", "喀什"});
  EXPECT_EQ(kashgar.code, 0);
  EXPECT_EQ(kashgar.out, "喀什\t新疆\t75.9868\t39.4672\tAsia/Shanghai\n");
  const CliResult auckland = RunCli({"places", "奥克兰"});
  EXPECT_NE(auckland.out.find("\t新西兰\t174."), std::string::npos) << "both namesakes";
  EXPECT_NE(auckland.out.find("\t美国\t-122."), std::string::npos);
  const std::string all = RunCli({"places"}).out;
  EXPECT_GT(std::count(all.begin(), all.end(), '\n'), 560);
  const CliResult none = RunCli({"places", "火星"});
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(none.err, "没有匹配的出生地\n");
}

}  // namespace
}  // namespace xuanshu::testing
