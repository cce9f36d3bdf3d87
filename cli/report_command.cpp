// xuanshu-cli report: a saved chart's report, as plain text, for a terminal,
// as a web page, as the desktop program's export file or as its PDF; or the
// chart as a JSON document for other programs.
#include <unistd.h>

#include <array>
#include <optional>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/report_pdf.h"
#include "engine/chart_request.h"
#include "record/app_config.h"
#include "record/program_home.h"
#include "record/record_file.h"
#include "record/script_text.h"
#include "record/unicode_nfc.h"
#include "report/chart_json.h"
#include "report/report_renderer.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 7> kOptions = {{
    {"name"},
    {"layout"},
    {"format"},
    {"script"},
    {"out"},
    {"home"},
    {"extras", false},
}};

enum class Format { kText, kAnsi, kHtml, kExport, kPdf, kJson };

std::optional<Format> FormatNamed(std::string_view name) {
  if (name == "text") return Format::kText;
  if (name == "ansi") return Format::kAnsi;
  if (name == "html") return Format::kHtml;
  if (name == "export") return Format::kExport;
  if (name == "pdf") return Format::kPdf;
  if (name == "json") return Format::kJson;
  return std::nullopt;
}

std::optional<int> LayoutNamed(std::string_view name) {
  if (name == "0") return kSimpleLayout;
  if (name == "1") return kStandardLayout;
  if (name == "2") return kHongKongLayout;
  return std::nullopt;
}

// Control characters of the record (an escape sequence in a name) shown,
// not obeyed, by a terminal; the report's own line breaks and tabs stay.
ReportPieces ForTerminal(const ReportPieces& pieces) {
  ReportPieces shown;
  for (const ReportPiece& piece : pieces) {
    shown.Append(EscapeControls(piece.text, u"\t\r\n"), piece.color);
  }
  return shown;
}

std::string Formatted(const CollectingSink& report, Format format, TextView title, bool terminal) {
  switch (format) {
    case Format::kAnsi:
      return AnsiText(terminal ? ForTerminal(report.pieces()) : report.pieces());
    case Format::kHtml:
      return HtmlPage(report.pieces(), title, ShownScript());
    case Format::kExport:
      return ExportBytes(report.PlainText());
    case Format::kPdf:   // made by ReportPdfBytes
    case Format::kJson:  // written by the caller, from the record itself
    case Format::kText:
      break;
  }
  const Text text = report.PlainText();
  return ToUtf8(terminal ? EscapeControls(text, u"\t\r\n") : text);
}

}  // namespace

int RunReportCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, kOptions, parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  const std::string* name = parsed.Value("name");
  if (parsed.positionals.size() + (name ? 1 : 0) != 1) {
    return UsageError("report needs either RECORD_FILE or --name NAME");
  }
  const std::string* layoutText = parsed.Value("layout");
  const std::optional<int> chosenLayout =
      layoutText ? LayoutNamed(*layoutText) : std::optional<int>();
  if (layoutText && !chosenLayout) return UsageError("--layout must be 0, 1 or 2");
  const std::string* formatText = parsed.Value("format");
  const std::optional<Format> format = formatText ? FormatNamed(*formatText) : Format::kText;
  if (!format) return UsageError("--format must be text, ansi, html, export, pdf or json");
  const std::string* scriptText = parsed.Value("script");
  const std::optional<Script> chosenScript =
      scriptText ? ScriptNamed(*scriptText) : std::optional<Script>();
  if (scriptText && !chosenScript) return UsageError("--script must be simplified or traditional");

  // The report and every message in the chosen script, else Config.ini's.
  const std::filesystem::path home = HomeFolder(parsed);
  ShowInConfiguredScript(home);
  if (chosenScript) SetShownScript(*chosenScript);
  if (*format == Format::kPdf && !CanWritePdf()) {
    ErrLine(Shown(u"本程序构建时没有 Qt，不能生成 PDF"));
    return kExitFailed;
  }

  std::filesystem::path recordPath;
  if (name) {
    const Text chartName = ToNfc(FromUtf8(*name));
    if (!IsValidUtf8(*name)) {
      ErrLine(Shown(u"姓名不能用作文件名"));
      return kExitFailed;
    }
    if (Text message = CheckChartName(chartName); !message.empty()) {
      ErrLine(message);
      return kExitFailed;
    }
    recordPath = RecordPathFor(DataFolder(home), chartName);
  } else {
    recordPath = PathFromUtf8(parsed.positionals.front());
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(recordPath, ec)) {
    WriteErr("xuanshu-cli: no record file " + PathUtf8(recordPath) + "\n");
    return kExitFailed;
  }

  if (const Text problem = RecordProblem(recordPath); !problem.empty()) {
    ErrLine(problem);
    return kExitFailed;
  }

  const std::string* out = parsed.Value("out");
  const bool toStandardOutput = out == nullptr || *out == "-";
  const bool terminal = toStandardOutput && ::isatty(STDOUT_FILENO);
  const Text title = TextFromPath(recordPath.stem());
  std::string bytes;
  if (*format == Format::kJson) {
    // Control characters are escaped by JSON itself.
    bytes = ChartJson(LoadIniFile(recordPath), ShownScript());
  } else {
    const AppConfig config(ConfigPath(home));
    ReportOptions options;
    options.layout = chosenLayout ? *chosenLayout : config.ReadLayout();
    options.extras = parsed.Has("extras") || config.ReadShowExtras();
    CollectingSink report;
    RenderChart(recordPath, options, report);
    if (*format == Format::kPdf) {
      std::optional<std::string> pdf = ReportPdfBytes(report.pieces(), title, home);
      if (!pdf) {
        ErrLine(Shown(u"无法生成 PDF"));
        return kExitFailed;
      }
      bytes = std::move(*pdf);
    } else {
      bytes = Formatted(report, *format, title, terminal);
    }
  }
  if (!toStandardOutput) {
    if (const int error = WriteOutputFile(PathFromUtf8(*out), bytes); error != 0) {
      ErrLine(Shown(u"无法写入“") + FromUtf8(*out) + u"”：" + FileErrorText(error));
      return kExitFailed;
    }
    return kExitOk;
  }
  WriteOut(bytes);
  return kExitOk;
}

}  // namespace xuanshu::cli
