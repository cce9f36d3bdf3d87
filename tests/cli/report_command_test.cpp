#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_run.h"
#include "record/record_file.h"
#include "report/chart_json.h"
#include "report/report_renderer.h"

namespace xuanshu::testing {
namespace {

namespace fs = std::filesystem;

// A home with one complete chart of 张三.
class ReportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    const CliResult chart = RunCli({"chart", "--name", "张三", "--sex", "女", "--calendar", "公历",
                                    "--date", "1990-05-17", "--time", "08:30", "--home", Home()});
    ASSERT_EQ(chart.code, 0) << chart.err;
  }
  std::string Home() const { return home_.path().string(); }
  fs::path RecordPath() const { return home_.path() / "data" / "张三.bze"; }
  CollectingSink Rendered(int layout) const {
    CollectingSink sink;
    RenderChart(RecordPath(), layout, sink);
    return sink;
  }

 private:
  TempDir home_;
};

TEST_F(ReportCommand, LayoutComesFromTheOptionElseFromConfigIni) {
  struct Case {
    const char* what;
    const char* config;  // nullptr: no Config.ini
    std::vector<std::string> extra;
    int layout;
  };
  const Case cases[] = {
      {"no Config.ini: simple", nullptr, {}, 0},
      {"format=2", "[Option]\r\nformat=2\r\n", {}, 2},
      {"format=1", "[Option]\r\nformat=1\r\n", {}, 1},
      {"format=7 renders the standard layout", "[Option]\r\nformat=7\r\n", {}, 7},
      {"--layout wins", "[Option]\r\nformat=2\r\n", {"--layout", "1"}, 1},
      {"--layout 0", "[Option]\r\nformat=1\r\n", {"--layout", "0"}, 0},
  };
  for (const Case& c : cases) {
    const fs::path config = fs::path(Home()) / "Config.ini";
    fs::remove(config);
    if (c.config) WriteFileBytes(config, c.config);
    std::vector<std::string> args = {"report", "--name", "张三", "--home", Home()};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, 0) << c.what << ": " << result.err;
    EXPECT_EQ(result.out, ToUtf8(Rendered(c.layout).PlainText())) << c.what;
  }
  EXPECT_NE(ToUtf8(Rendered(0).PlainText()), ToUtf8(Rendered(1).PlainText()))
      << "the layouts must differ for this test to tell them apart";
}

TEST_F(ReportCommand, FormatsTheReportForTerminalWebPageAndExportFile) {
  const CollectingSink standard = Rendered(1);
  const CliResult ansi = RunCli(
      {"report", RecordPath().string(), "--layout", "1", "--format", "ansi", "--home", Home()});
  EXPECT_EQ(ansi.code, 0);
  EXPECT_EQ(ansi.out, AnsiText(standard.pieces()));
  EXPECT_TRUE(ansi.out.ends_with("\x1b[0m"));

  const CliResult html =
      RunCli({"report", "--name", "张三", "--layout", "1", "--format", "html", "--home", Home()});
  EXPECT_EQ(html.out, HtmlPage(standard.pieces(), u"张三"));

  const fs::path out = fs::path(Home()) / "报告.txt";
  const CliResult exported = RunCli({"report", "--name", "张三", "--layout", "1", "--format",
                                     "export", "--out", out.string(), "--home", Home()});
  EXPECT_EQ(exported.code, 0);
  EXPECT_EQ(exported.out, "");
  const std::string bytes = ReadFileBytes(out);
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << "UTF-16LE byte-order mark";
  EXPECT_EQ(bytes, ExportBytes(standard.PlainText()));
}

#ifdef XUANSHU_CLI_HAS_PDF
// The desktop program's PDF, without a display: A4 pages whose text is the
// report's (the GUI tests compare it character by character).
TEST_F(ReportCommand, WritesThePdfWithoutADisplay) {
  const fs::path out = fs::path(Home()) / "报告.pdf";
  const CliResult pdf = RunCli({"report", "--name", "张三", "--layout", "1", "--format", "pdf",
                                "--out", out.string(), "--home", Home()});
  EXPECT_EQ(pdf.code, 0) << pdf.err;
  EXPECT_EQ(pdf.err, "") << "no notes from the toolkit";
  const std::string bytes = ReadFileBytes(out);
  EXPECT_TRUE(bytes.starts_with("%PDF-"));
  const CliResult toStdout =
      RunCli({"report", "--name", "张三", "--layout", "1", "--format", "pdf", "--home", Home()});
  EXPECT_TRUE(toStdout.out.starts_with("%PDF-"));
  std::string text;
  if (RunCommand("command -v pdftotext >/dev/null", nullptr, nullptr) != 0) {
    GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
  }
  ASSERT_EQ(RunCommand("pdftotext " + Quoted(out.string()) + " -", &text, nullptr), 0);
  EXPECT_NE(text.find("张三"), std::string::npos);
  EXPECT_NE(text.find("1990"), std::string::npos);
}
#else
TEST_F(ReportCommand, SaysWhenItWasBuiltWithoutPdf) {
  const CliResult pdf = RunCli({"report", "--name", "张三", "--format", "pdf", "--home", Home()});
  EXPECT_EQ(pdf.code, 1);
  EXPECT_EQ(pdf.err, "本程序构建时没有 Qt，不能生成 PDF\n");
}
#endif

TEST_F(ReportCommand, JsonIsTheChartOfTheRecordAndWritesNothingToIt) {
  const std::string before = ReadFileBytes(RecordPath());
  const std::string expected = ChartJson(LoadIniFile(RecordPath()));
  const CliResult json = RunCli({"report", "--name", "张三", "--format", "json", "--home", Home()});
  EXPECT_EQ(json.code, 0) << json.err;
  EXPECT_EQ(json.out, expected);
  EXPECT_TRUE(json.out.starts_with("{\n  \"format\": \"xuanshu-chart\","))
      << json.out.substr(0, 80);
  EXPECT_NE(json.out.find("\"nayin\": \"路旁土\""), std::string::npos) << "庚午 year";

  const fs::path out = fs::path(Home()) / "张三.json";
  const CliResult file = RunCli({"report", RecordPath().string(), "--format", "json", "--layout",
                                 "2", "--extras", "--out", out.string()});
  EXPECT_EQ(file.code, 0);
  EXPECT_EQ(ReadFileBytes(out), expected) << "layout and extras do not change the document";
  EXPECT_EQ(ReadFileBytes(RecordPath()), before);
}

TEST_F(ReportCommand, ExtrasComeFromTheOptionElseFromConfigIni) {
  CollectingSink withExtras;
  RenderChart(RecordPath(), ReportOptions{.layout = 1, .extras = true}, withExtras);
  const std::string shown = ToUtf8(withExtras.PlainText());
  const std::string plain = ToUtf8(Rendered(1).PlainText());
  ASSERT_NE(shown, plain);
  struct Case {
    const char* what;
    const char* config;
    bool option;
    const std::string& expected;
  };
  const Case cases[] = {
      {"neither", "[Option]\r\nformat=1\r\n", false, plain},
      {"--extras", "[Option]\r\nformat=1\r\n", true, shown},
      {"extras=1", "[Option]\r\nformat=1\r\nextras=1\r\n", false, shown},
      {"extras=0 and --extras", "[Option]\r\nformat=1\r\nextras=0\r\n", true, shown},
  };
  for (const Case& c : cases) {
    WriteFileBytes(fs::path(Home()) / "Config.ini", c.config);
    std::vector<std::string> args = {"report", "--name", "张三", "--home", Home()};
    if (c.option) args.push_back("--extras");
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, 0) << c.what;
    EXPECT_EQ(result.out, c.expected) << c.what;
  }
}

// The characters of the report: --script, else "script" in Config.ini, else
// Simplified. The record stays as it was, whatever the script.
TEST_F(ReportCommand, ScriptComesFromTheOptionElseFromConfigIni) {
  Rendered(0);  // any rewrite of the record by a first rendering is done
  const std::string record = ReadFileBytes(RecordPath());
  const auto rendered = [&](Script script) {
    CollectingSink sink;
    RenderChart(RecordPath(), ReportOptions{.layout = 0, .script = script}, sink);
    return ToUtf8(sink.PlainText());
  };
  const std::string simplified = rendered(Script::kSimplified);
  const std::string traditional = rendered(Script::kTraditional);
  ASSERT_NE(simplified, traditional);
  EXPECT_NE(traditional.find("出生公曆："), std::string::npos);
  struct Case {
    const char* what;
    const char* config;  // nullptr: no Config.ini
    std::vector<std::string> extra;
    const std::string& expected;
  };
  const Case cases[] = {
      {"no Config.ini", nullptr, {}, simplified},
      {"script=traditional", "[Option]\r\nscript=traditional\r\n", {}, traditional},
      {"script=simplified", "[Option]\r\nscript=simplified\r\n", {}, simplified},
      {"an unknown script reads as Simplified",
       "[Option]\r\nscript=Traditional\r\n",
       {},
       simplified},
      {"--script traditional", nullptr, {"--script", "traditional"}, traditional},
      {"--script wins",
       "[Option]\r\nscript=traditional\r\n",
       {"--script", "simplified"},
       simplified},
  };
  for (const Case& c : cases) {
    const fs::path config = fs::path(Home()) / "Config.ini";
    fs::remove(config);
    if (c.config) WriteFileBytes(config, c.config);
    std::vector<std::string> args = {"report", "--name", "张三", "--home", Home()};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, 0) << c.what << ": " << result.err;
    EXPECT_EQ(result.out, c.expected) << c.what;
    EXPECT_EQ(ReadFileBytes(RecordPath()), record) << c.what << ": the record changed";
  }

  const CliResult json = RunCli({"report", "--name", "张三", "--format", "json", "--script",
                                 "traditional", "--home", Home()});
  EXPECT_EQ(json.code, 0) << json.err;
  EXPECT_EQ(json.out, ChartJson(LoadIniFile(RecordPath()), Script::kTraditional));
  EXPECT_NE(json.out.find("\"name\": \"张三\""), std::string::npos) << "the name as typed";

  const CliResult bad = RunCli({"report", "--name", "张三", "--script", "zh_TW", "--home", Home()});
  EXPECT_EQ(bad.code, 2);
  EXPECT_NE(bad.err.find("--script must be simplified or traditional"), std::string::npos);
  const CliResult message = RunCli({"report", "--name", "../张三", "--script", "traditional"});
  EXPECT_EQ(message.code, 1);
  EXPECT_EQ(message.err, "姓名不能用作檔案名\n") << "messages in the chosen script";
}

TEST_F(ReportCommand, RefusesBadUsageAndMissingRecords) {
  const std::vector<std::pair<const char*, std::vector<std::string>>> usage = {
      {"neither file nor name", {"report", "--home", Home()}},
      {"both file and name", {"report", RecordPath().string(), "--name", "张三"}},
      {"layout 3", {"report", RecordPath().string(), "--layout", "3"}},
      {"format docx", {"report", RecordPath().string(), "--format", "docx"}},
      {"extras with a value", {"report", RecordPath().string(), "--extras=1"}},
  };
  for (const auto& [what, args] : usage) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.code, 2) << what;
    EXPECT_NE(result.err.find("Usage:"), std::string::npos) << what;
  }
  const CliResult missing = RunCli({"report", "--name", "李四", "--home", Home()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("李四.bze"), std::string::npos);
  const CliResult escaping = RunCli({"report", "--name", "../张三", "--home", Home()});
  EXPECT_EQ(escaping.code, 1);
  EXPECT_EQ(escaping.err, "姓名不能用作文件名\n");
}

TEST_F(ReportCommand, OutWritesThroughWhatIsNotARegularFileAndDashIsStandardOutput) {
  const std::string text = ToUtf8(Rendered(0).PlainText());
  const std::vector<std::string> report = {"report", RecordPath().string(), "--layout", "0",
                                           "--out"};
  const auto run = [&](const std::string& out) {
    std::vector<std::string> args = report;
    args.push_back(out);
    return RunCli(args);
  };

  const fs::path target = fs::path(Home()) / "target.txt";
  WriteFileBytes(target, "old");
  const fs::path link = fs::path(Home()) / "link.txt";
  fs::create_symlink(target, link);
  EXPECT_EQ(run(link.string()).code, 0);
  EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
  EXPECT_EQ(ReadFileBytes(target), text);

  const fs::path fifo = fs::path(Home()) / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(run(fifo.string()).code, 0);
  std::string piped(text.size() + 16, '\0');
  const ssize_t n = ::read(reader, piped.data(), piped.size());
  ::close(reader);
  piped.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  EXPECT_EQ(piped, text);
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

  const CliResult dash = run("-");
  EXPECT_EQ(dash.out, text);
  EXPECT_FALSE(fs::exists(fs::current_path() / "-"));
  EXPECT_EQ(run("/dev/stdout").out, text) << "a shell's redirection is kept";
  EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
  EXPECT_EQ(run(Home()).code, 1) << "a folder";
}

TEST_F(ReportCommand, RefusesFilesThatAreNoRecordsOrTooLarge) {
  const fs::path huge = fs::path(Home()) / "huge.bze";
  WriteFileBytes(huge, "[main]\r\nname=x\r\n");
  fs::resize_file(huge, 65u << 20);
  for (const std::string& file : {std::string("/proc/self/status"), huge.string()}) {
    const CliResult result = RunCli({"report", file, "--home", Home()});
    EXPECT_EQ(result.code, 1) << file;
    EXPECT_EQ(result.out, "") << file;
    EXPECT_NE(result.err, "") << file;
  }
  WriteFileBytes(huge, "");
  EXPECT_EQ(RunCli({"report", huge.string(), "--home", Home()}).code, 0)
      << "an empty record, as a failed computation leaves it, still renders";
}

TEST_F(ReportCommand, ControlCharactersOfTheRecordAreEscapedOnATerminal) {
  std::string bytes = ReadFileBytes(RecordPath());
  const std::string hostile =
      "name=\x1b]0;title\x07\x1b[2J\xC2\x9B"
      "31m";
  bytes.replace(bytes.find("name="), std::string("name=张三").size(), hostile);
  WriteFileBytes(RecordPath(), bytes);
  for (const char* format : {"text", "ansi"}) {
    const CliResult result =
        RunCliOnTerminal({"report", RecordPath().string(), "--format", format, "--layout", "0"});
    EXPECT_EQ(result.code, 0) << format;
    EXPECT_NE(result.out.find("\\x1b]0;title\\x07\\x1b[2J\\x9b31m"), std::string::npos) << format;
    EXPECT_EQ(result.out.find("\x1b]"), std::string::npos) << format;
    EXPECT_EQ(result.out.find("\x1b[2J"), std::string::npos) << format;
    EXPECT_EQ(result.out.find("\xC2\x9B"), std::string::npos) << format;
  }
  const CliResult piped = RunCli({"report", RecordPath().string(), "--layout", "0"});
  EXPECT_NE(piped.out.find("\x1b]0;title"), std::string::npos) << "a pipe gets the pane's text";
}

}  // namespace
}  // namespace xuanshu::testing
