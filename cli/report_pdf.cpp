#include "cli/report_pdf.h"

#ifdef XUANSHU_HAVE_QT_PRINT
#include <QGuiApplication>
#include <memory>

#include "record/font_file.h"
#include "record/program_home.h"
#include "report_font.h"
#include "report_print.h"
#endif

namespace xuanshu::cli {

#ifdef XUANSHU_HAVE_QT_PRINT

namespace {

// Qt's notes about the session (no runtime folder, offscreen platform) mean
// nothing to a script; real failures still show as the command's message.
void DropQtNotes(QtMsgType, const QMessageLogContext&, const QString&) {}

// The desktop program beside this one keeps its font in home/xuanshu.config.
constexpr const char* kDesktopProgramName = "xuanshu";

QFont SavedReportFont(const std::filesystem::path& home) {
  const std::filesystem::path desktop = ExecutablePath().parent_path() / kDesktopProgramName;
  const std::optional<FontRecord> saved = ReadFontFile(FontFilePath(home, desktop));
  if (saved && !FaceName(*saved).empty()) return FontFromRecord(*saved);
  return DefaultReportFont();
}

}  // namespace

bool CanWritePdf() {
  return true;
}

std::optional<std::string> ReportPdfBytes(const ReportPieces& pieces, TextView title,
                                          const std::filesystem::path& home) {
  std::unique_ptr<QGuiApplication> app;
  if (QCoreApplication::instance() == nullptr) {
    qInstallMessageHandler(DropQtNotes);
    // A terminal or a script may have no display at all.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "xuanshu-cli";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  PrintedReport report{pieces, SavedReportFont(home),
                       QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size()))};
  const QByteArray pdf = ReportPdf(report);
  if (pdf.isEmpty()) return std::nullopt;
  return std::string(pdf.constData(), static_cast<std::size_t>(pdf.size()));
}

#else

bool CanWritePdf() {
  return false;
}

std::optional<std::string> ReportPdfBytes(const ReportPieces&, TextView,
                                          const std::filesystem::path&) {
  return std::nullopt;
}

#endif

}  // namespace xuanshu::cli
