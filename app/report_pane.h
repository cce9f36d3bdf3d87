// The report pane: a read-only rich-text view that the report renderer fills
// piece by piece in colour. It selects, copies, prints and exports the
// report and carries the report font. It knows which record it shows, so
// the window title and a refresh from disk can follow it.
#pragma once

#include <QFont>
#include <QTextEdit>
#include <filesystem>

#include "app_home.h"
#include "report/report_sink.h"
#include "report_export.h"
#include "report_print.h"

class QAction;
class QMenu;

namespace xuanshu {

class ReportPane : public QTextEdit {
  Q_OBJECT

 public:
  explicit ReportPane(const AppHome& home, QWidget* parent = nullptr);

  // Renders the record in the layout (0 simple, 2 Hong Kong/Taiwan, else
  // standard), with the additional pillars when the settings ask for them,
  // in the saved font, or the default font when none is saved.
  void RenderChart(const std::filesystem::path& recordPath, int layout);
  // The report exactly as rendered (CR LF, tabs, ideographic spaces).
  const Text& reportText() const { return reportText_; }
  const ReportPieces& reportPieces() const { return reportPieces_; }
  // The record on show; empty when the pane is empty.
  const std::filesystem::path& shownRecord() const { return shownRecord_; }
  bool hasReport() const { return !reportText_.empty(); }
  // Empties the pane: no chart on show.
  void ClearChart();
  // Renders the record on show again, in the layout it was shown in.
  void RenderShownAgain();
  // After a change on disk: empties the pane when the record on show is
  // gone, renders it again when it changed since it was rendered.
  void FollowDisk();

  void SelectAllText();
  void CopySelection();
  // The context menu in the shown script.
  void RetextControls();

  // The font dialog, preset to the saved font. True when a font was chosen
  // and applied; the caller then renders the selected chart again.
  bool ChooseFont();
  // Saves the chosen font and sets it on the pane; the report on show takes
  // it. False, with the message "请选择字体！", for a font without a face name.
  bool ApplyChosenFont(const QFont& font);

  // The print dialog, then the coloured report on the chosen printer.
  void PrintReport();
  // The print preview (打印预览), from which the report can be printed.
  void PreviewReport();
  // The report as printed: its pieces, the pane's font and the chart's name.
  PrintedReport printedReport() const;
  // The save dialog, prefilled with the chart's name, then ExportTo.
  // Nothing happens when it is cancelled.
  void ExportReport();
  // Writes the report to the target; an existing file is replaced only after
  // the user agreed. False when nothing was written.
  bool ExportTo(const ExportTarget& target);
  // Selects the next match of the text after the cursor, wrapping round at
  // the end; false when the report does not contain it.
  bool FindText(const QString& text);

 signals:
  // A record went on show (its path), or the pane was emptied (empty path).
  void shownRecordChanged(const QString& recordPath);
  // What just happened, for the status bar.
  void statusMessage(const QString& text);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ApplySavedFont();
  bool WritePdf(const QString& path);
  void ClearReport();
  void SetShownRecord(const std::filesystem::path& recordPath, int layout);

  AppHome home_;
  Text reportText_;
  ReportPieces reportPieces_;
  QString reportTitle_;
  std::filesystem::path shownRecord_;
  int shownLayout_ = 0;
  // Last change and size of the record on show when it was rendered.
  std::pair<std::filesystem::file_time_type, std::uintmax_t> shownStamp_;
  QMenu* contextMenu_ = nullptr;
  QAction* copyAction_ = nullptr;
};

}  // namespace xuanshu
