// The report pane: a read-only rich-text view that the report renderer fills
// piece by piece in colour. It selects, copies, prints and exports the
// report and carries the report font.
#pragma once

#include <QFont>
#include <QTextEdit>
#include <filesystem>
#include <vector>

#include "app_home.h"
#include "report/report_sink.h"
#include "report_export.h"

class QMenu;

namespace xuanshu {

class ReportPane : public QTextEdit {
  Q_OBJECT

 public:
  explicit ReportPane(const AppHome& home, QWidget* parent = nullptr);

  // Renders the record in the layout (0 simple, 2 Hong Kong/Taiwan, else
  // standard) in the saved font, or the default font when none is saved.
  void RenderChart(const std::filesystem::path& recordPath, int layout);
  // The report exactly as rendered (CR LF, tabs, ideographic spaces).
  const Text& reportText() const { return reportText_; }
  const std::vector<ReportPiece>& reportPieces() const { return reportPieces_; }

  void SelectAllText();
  void CopySelection();

  // The font dialog, preset to the saved font. True when a font was chosen
  // and applied; the caller then renders the selected chart again.
  bool ChooseFont();
  // Saves the chosen font and sets it on the emptied pane. False, with the
  // message "请选择字体！", for a font without a face name.
  bool ApplyChosenFont(const QFont& font);

  // The print dialog, then the coloured report on the chosen printer.
  void PrintReport();
  // The save dialog, then ExportTo. Nothing happens when it is cancelled.
  void ExportReport();
  // Writes the report to the target; an existing file is replaced only after
  // the user agreed. False when nothing was written.
  bool ExportTo(const ExportTarget& target);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ApplySavedFont();
  bool WritePdf(const QString& path);
  void ClearReport();

  AppHome home_;
  Text reportText_;
  std::vector<ReportPiece> reportPieces_;
  QString reportTitle_;
  QMenu* contextMenu_ = nullptr;
};

}  // namespace xuanshu
