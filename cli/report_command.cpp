// xuanshu-cli report: a saved chart's report, as plain text, for a terminal,
// as a web page, as the desktop program's export file or as its PDF.
#include <array>
#include <optional>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/report_pdf.h"
#include "engine/chart_request.h"
#include "record/app_config.h"
#include "record/program_home.h"
#include "record/record_file.h"
#include "report/report_renderer.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 5> kOptions = {{
    {"name"},
    {"layout"},
    {"format"},
    {"out"},
    {"home"},
}};

enum class Format { kText, kAnsi, kHtml, kExport, kPdf };

std::optional<Format> FormatNamed(std::string_view name) {
  if (name == "text") return Format::kText;
  if (name == "ansi") return Format::kAnsi;
  if (name == "html") return Format::kHtml;
  if (name == "export") return Format::kExport;
  if (name == "pdf") return Format::kPdf;
  return std::nullopt;
}

std::optional<int> LayoutNamed(std::string_view name) {
  if (name == "0") return kSimpleLayout;
  if (name == "1") return kStandardLayout;
  if (name == "2") return kHongKongLayout;
  return std::nullopt;
}

std::string Formatted(const CollectingSink& report, Format format, TextView title) {
  switch (format) {
    case Format::kAnsi:
      return AnsiText(report.pieces());
    case Format::kHtml:
      return HtmlPage(report.pieces(), title);
    case Format::kExport:
      return ExportBytes(report.PlainText());
    case Format::kPdf:  // made by ReportPdfBytes
    case Format::kText:
      break;
  }
  return ToUtf8(report.PlainText());
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
  if (!format) return UsageError("--format must be text, ansi, html, export or pdf");

  if (*format == Format::kPdf && !CanWritePdf()) {
    ErrLine(u"本程序构建时没有 Qt，不能生成 PDF");
    return kExitFailed;
  }

  const std::filesystem::path home = HomeFolder(parsed);
  std::filesystem::path recordPath;
  if (name) {
    const Text chartName = FromUtf8(*name);
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

  CollectingSink report;
  const int layout = chosenLayout ? *chosenLayout : AppConfig(ConfigPath(home)).ReadLayout();
  RenderChart(recordPath, layout, report);
  const Text title = TextFromPath(recordPath.stem());
  std::string bytes;
  if (*format == Format::kPdf) {
    std::optional<std::string> pdf = ReportPdfBytes(report.pieces(), title, home);
    if (!pdf) {
      ErrLine(u"无法生成 PDF");
      return kExitFailed;
    }
    bytes = std::move(*pdf);
  } else {
    bytes = Formatted(report, *format, title);
  }
  if (const std::string* out = parsed.Value("out")) {
    if (!WriteFileAtomic(PathFromUtf8(*out), bytes)) {
      WriteErr("xuanshu-cli: cannot write " + *out + "\n");
      return kExitFailed;
    }
    return kExitOk;
  }
  WriteOut(bytes);
  return kExitOk;
}

}  // namespace xuanshu::cli
