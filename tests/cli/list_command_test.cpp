#include <gtest/gtest.h>

#include "cli_run.h"

namespace xuanshu::testing {
namespace {

namespace fs = std::filesystem;

void Chart(const fs::path& home, const std::string& name, const std::string& group) {
  std::vector<std::string> args = {"chart",      "--name", name,         "--sex",      "男",
                                   "--calendar", "公历",   "--date",     "1990-05-17", "--time",
                                   "08:30",      "--home", home.string()};
  if (!group.empty()) args.insert(args.end(), {"--group", group});
  ASSERT_EQ(RunCli(args).code, 0) << name;
}

TEST(ListCommand, PrintsEachGroupThenItsChartsIndented) {
  TempDir home;
  Chart(home.path(), "甲", "客户");
  Chart(home.path(), "乙", "");
  Chart(home.path(), "丙", "客户");
  const std::string data = (home.path() / "data").string();
  const CliResult result = RunCli({"list", "--home", home.path().string()});
  EXPECT_EQ(result.code, 0) << result.err;
  const std::string expected =
      "其他\n"
      "  乙\t" +
      data +
      "/乙.bze\n"
      "客户\n"
      "  丙\t" +
      data +
      "/丙.bze\n"
      "  甲\t" +
      data + "/甲.bze\n";
  EXPECT_EQ(result.out, expected);
}

TEST(ListCommand, EmptyHistoryShowsTheDefaultGroupOnly) {
  TempDir home;
  const CliResult result = RunCli({"list", "--home", home.path().string()});
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(result.out, "其他\n");
  EXPECT_EQ(RunCli({"list", "extra"}).code, 2);
}

TEST(ListCommand, ReadingCreatesNothing) {
  TempDir root;
  const CliResult result = RunCli({"list", "--home", (root.path() / "typo").string()});
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(result.out, "其他\n");
  EXPECT_TRUE(fs::is_empty(root.path()));
}

TEST(ListCommand, EachChartStaysOneLineWithControlCharactersEscaped) {
  TempDir home;
  fs::create_directories(home.path() / "data");
  WriteFileBytes(home.path() / "data" / "a\nb.bze",
                 "[main]\r\nname=x\x1b]0;title\x07y\tz\r\nclass=\x1b[2J\r\n");
  const std::string data = (home.path() / "data").string();
  const std::string expected =
      "其他\n\\x1b[2J\n  x\\x1b]0;title\\x07y\\tz\t" + data + "/a\\nb.bze\n";
  EXPECT_EQ(RunCli({"list", "--home", home.path().string()}).out, expected);
  const CliResult terminal = RunCliOnTerminal({"list", "--home", home.path().string()});
  EXPECT_EQ(terminal.out.find('\x1b'), std::string::npos) << terminal.out;
}

}  // namespace
}  // namespace xuanshu::testing
