#include "report_pane.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTextCursor>

#include "message_box.h"
#include "pane_sink.h"
#include "qt_text.h"
#include "record/app_config.h"
#include "record/record_file.h"
#include "report/chart_json.h"
#include "report/report_output.h"
#include "report/report_renderer.h"
#include "report_font.h"
#include "report_font_dialog.h"

namespace xuanshu {
namespace {

// The rich-edit control's default tab stop: half an inch at 96 dots per inch.
constexpr qreal kTabStopPixels = 48;

QString ReplaceQuestion(const QString& path) {
  return ShownQString(u"%1 已存在。\n要替换它吗？").arg(QDir::toNativeSeparators(path));
}

std::pair<std::filesystem::file_time_type, std::uintmax_t> StampOf(
    const std::filesystem::path& path) {
  std::error_code ec;
  const auto changed = std::filesystem::last_write_time(path, ec);
  const auto size = std::filesystem::file_size(path, ec);
  return {changed, ec ? 0 : size};
}

QString& LastExportFolder() {
  static QString folder = QDir::homePath();
  return folder;
}

}  // namespace

ReportPane::ReportPane(const AppHome& home, QWidget* parent) : QTextEdit(parent), home_(home) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setUndoRedoEnabled(false);
  setLineWrapMode(QTextEdit::NoWrap);
  setAcceptRichText(false);
  setTabStopDistance(kTabStopPixels);
  setFont(DefaultReportFont());

  contextMenu_ = new QMenu(this);
  copyAction_ = contextMenu_->addAction(QString(), this, &ReportPane::CopySelection);
  RetextControls();
}

void ReportPane::RetextControls() {
  copyAction_->setText(ShownQString(u"复制"));
}

void ReportPane::ApplySavedFont() {
  const std::optional<FontRecord> saved = ReadFontFile(home_.fontFilePath);
  setFont(saved && !FaceName(*saved).empty() ? FontFromRecord(*saved) : DefaultReportFont());
}

void ReportPane::ClearReport() {
  clear();
  reportText_.clear();
  reportPieces_ = {};
  reportTitle_.clear();
}

void ReportPane::FollowDisk() {
  if (shownRecord_.empty()) return;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(shownRecord_, ec)) {
    ClearChart();
  } else if (StampOf(shownRecord_) != shownStamp_) {
    RenderShownAgain();
  }
}

void ReportPane::SetShownRecord(const std::filesystem::path& recordPath, int layout) {
  shownRecord_ = recordPath;
  shownStamp_ = StampOf(recordPath);
  shownLayout_ = layout;
  emit shownRecordChanged(PathToQString(recordPath));
}

void ReportPane::ClearChart() {
  ClearReport();
  SetShownRecord({}, shownLayout_);
}

void ReportPane::RenderShownAgain() {
  if (shownRecord_.empty()) return;
  const int scrolled = verticalScrollBar()->value();
  RenderChart(std::filesystem::path(shownRecord_), shownLayout_);
  verticalScrollBar()->setValue(scrolled);
}

void ReportPane::RenderChart(const std::filesystem::path& recordPath, int layout) {
  ApplySavedFont();
  ClearReport();
  {
    PaneSink sink(document());
    const ReportOptions options{.layout = layout,
                                .extras = AppConfig(home_.configPath).ReadShowExtras()};
    xuanshu::RenderChart(recordPath, options, sink);
    reportText_ = sink.collected().PlainText();
    reportPieces_ = sink.collected().pieces();
  }
  reportTitle_ = QFileInfo(PathToQString(recordPath)).completeBaseName();
  moveCursor(QTextCursor::Start);
  ensureCursorVisible();
  SetShownRecord(recordPath, layout);
}

void ReportPane::SelectAllText() {
  selectAll();
}

void ReportPane::CopySelection() {
  if (!textCursor().hasSelection()) return;
  copy();
  emit statusMessage(ShownQString(u"已复制"));
}

bool ReportPane::ChooseFont() {
  const std::optional<FontRecord> saved = ReadFontFile(home_.fontFilePath);
  const QFont preset = saved ? FontFromRecord(*saved) : font();
  ReportFontDialog dialog(preset, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  return ApplyChosenFont(dialog.selectedFont());
}

bool ReportPane::ApplyChosenFont(const QFont& chosen) {
  if (chosen.family().isEmpty()) {
    ShowMessage(this, ShownQString(u"请选择字体！"));
    return false;
  }
  // A font that cannot be saved still applies until the program ends.
  WriteFontFile(home_.fontFilePath, RecordFromFont(chosen));
  setFont(chosen);
  return true;
}

PrintedReport ReportPane::printedReport() const {
  return {reportPieces_, font(), reportTitle_};
}

void ReportPane::PrintReport() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(reportTitle_.isEmpty() ? QStringLiteral("bztmp") : reportTitle_);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (PaintReport(printedReport(), &printer) > 0) emit statusMessage(ShownQString(u"已打印"));
}

void ReportPane::PreviewReport() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(reportTitle_);
  QPrintPreviewDialog preview(&printer, this);
  preview.setWindowTitle(ShownQString(u"打印预览"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* target) { PaintReport(printedReport(), target); });
  preview.exec();
}

void ReportPane::ExportReport() {
  SelectAllText();
  QFileDialog dialog(this);
  dialog.setWindowTitle(ShownQString(u"导出排盘"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(ExportFilters());
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDirectory(LastExportFolder());
  dialog.selectFile(reportTitle_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().constFirst();
  LastExportFolder() = QFileInfo(chosen).absolutePath();
  ExportTo(ResolveExportTarget(chosen, dialog.selectedNameFilter()));
}

bool ReportPane::ExportTo(const ExportTarget& target) {
  if (QFileInfo::exists(target.path) && !AskYesNo(this, ReplaceQuestion(target.path))) {
    return false;
  }
  bool written = false;
  switch (target.kind) {
    case ExportKind::kHtml:
      written =
          WriteWholeFile(target.path, HtmlPage(reportPieces_, ToText(reportTitle_), ShownScript()));
      break;
    case ExportKind::kPdf:
      written = WritePdf(target.path);
      break;
    case ExportKind::kJson:
      // The whole chart, from the record on show; layout and extras play no part.
      written = WriteWholeFile(target.path, ChartJson(LoadIniFile(shownRecord_), ShownScript()));
      break;
    case ExportKind::kText:
      written = WriteWholeFile(target.path, ExportBytes(reportText_));
      break;
  }
  if (written) emit statusMessage(ShownQString(u"已导出 ") + QDir::toNativeSeparators(target.path));
  return written;
}

bool ReportPane::WritePdf(const QString& path) {
  const QByteArray pdf = ReportPdf(printedReport());
  return !pdf.isEmpty() && WriteWholeFile(path, std::string_view(pdf.constData(), pdf.size()));
}

bool ReportPane::FindText(const QString& text) {
  if (text.isEmpty()) return false;
  if (find(text)) return true;
  QTextCursor cursor = textCursor();
  cursor.movePosition(QTextCursor::Start);
  setTextCursor(cursor);
  return find(text);
}

void ReportPane::contextMenuEvent(QContextMenuEvent* event) {
  contextMenu_->exec(event->globalPos());
}

}  // namespace xuanshu
