#include "report_pane.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>

#include "message_box.h"
#include "pane_sink.h"
#include "qt_text.h"
#include "report/report_output.h"
#include "report/report_renderer.h"
#include "report_font.h"

namespace xuanshu {
namespace {

// The rich-edit control's default tab stop: half an inch at 96 dots per inch.
constexpr qreal kTabStopPixels = 48;

QString ReplaceQuestion(const QString& path) {
  return QStringLiteral(u"%1 已存在。\n要替换它吗？").arg(QDir::toNativeSeparators(path));
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
  contextMenu_->addAction(QStringLiteral(u"复制"), this, &ReportPane::CopySelection);
}

void ReportPane::ApplySavedFont() {
  const std::optional<FontRecord> saved = ReadFontFile(home_.fontFilePath);
  setFont(saved && !FaceName(*saved).empty() ? FontFromRecord(*saved) : DefaultReportFont());
}

void ReportPane::ClearReport() {
  clear();
  reportText_.clear();
  reportPieces_.clear();
  reportTitle_.clear();
}

void ReportPane::RenderChart(const std::filesystem::path& recordPath, int layout) {
  ApplySavedFont();
  ClearReport();
  {
    PaneSink sink(document());
    xuanshu::RenderChart(recordPath, layout, sink);
    reportText_ = sink.collected().PlainText();
    reportPieces_ = sink.collected().pieces();
  }
  reportTitle_ = QFileInfo(PathToQString(recordPath)).completeBaseName();
  moveCursor(QTextCursor::Start);
  ensureCursorVisible();
}

void ReportPane::SelectAllText() {
  selectAll();
}

void ReportPane::CopySelection() {
  copy();
}

bool ReportPane::ChooseFont() {
  const std::optional<FontRecord> saved = ReadFontFile(home_.fontFilePath);
  const QFont preset = saved ? FontFromRecord(*saved) : font();
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, preset, this, QStringLiteral(u"字体"));
  if (!chosen) return false;
  return ApplyChosenFont(font);
}

bool ReportPane::ApplyChosenFont(const QFont& chosen) {
  if (chosen.family().isEmpty()) {
    ShowMessage(this, QStringLiteral(u"请选择字体！"));
    return false;
  }
  // A font that cannot be saved still applies until the program ends.
  WriteFontFile(home_.fontFilePath, RecordFromFont(chosen));
  setFont(chosen);
  ClearReport();
  return true;
}

void ReportPane::PrintReport() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(reportTitle_.isEmpty() ? QStringLiteral("bztmp") : reportTitle_);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  document()->print(&printer);
}

void ReportPane::ExportReport() {
  SelectAllText();
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(ExportFilters());
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDirectory(LastExportFolder());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().constFirst();
  LastExportFolder() = QFileInfo(chosen).absolutePath();
  ExportTo(ResolveExportTarget(chosen, dialog.selectedNameFilter()));
}

bool ReportPane::ExportTo(const ExportTarget& target) {
  if (QFileInfo::exists(target.path) && !AskYesNo(this, ReplaceQuestion(target.path))) {
    return false;
  }
  switch (target.kind) {
    case ExportKind::kHtml:
      return WriteWholeFile(target.path, HtmlPage(reportPieces_, ToText(reportTitle_)));
    case ExportKind::kPdf:
      return WritePdf(target.path);
    case ExportKind::kText:
      break;
  }
  return WriteWholeFile(target.path, ExportBytes(reportText_));
}

bool ReportPane::WritePdf(const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setDocName(reportTitle_);
  document()->print(&printer);
  return QFileInfo(path).size() > 0;
}

void ReportPane::contextMenuEvent(QContextMenuEvent* event) {
  contextMenu_->exec(event->globalPos());
}

}  // namespace xuanshu
