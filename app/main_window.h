// The main window: the input form on top, and below it the history pane
// (search, order and tree) on the left and the report pane on the right,
// split by two splitters. It has a status bar and no menu bar. The title
// names the record on show; the window's place is kept in Config.ini. Its
// texts are in the script of Config.ini, and a script chosen in 设置 takes
// effect at once.
#pragma once

#include <QMainWindow>

#include "app_home.h"
#include "record/app_config.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace xuanshu {

class HistoryTree;
class ReportPane;
class PaneSplitter;
class BirthForm;
class WarningBar;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(const AppHome& home, QWidget* parent = nullptr);

  BirthForm* birthForm() const { return form_; }
  HistoryTree* historyTree() const { return history_; }
  ReportPane* reportPane() const { return report_; }
  WarningBar* warningBar() const { return warnings_; }
  PaneSplitter* outerSplitter() const { return outer_; }
  PaneSplitter* innerSplitter() const { return inner_; }
  QLineEdit* historySearch() const { return search_; }
  QComboBox* historyOrder() const { return order_; }
  QLineEdit* reportFind() const { return find_; }
  QToolButton* undoButton() const { return undo_; }

  // Puts the window where it was when it last closed, and shows it; false
  // (nothing done) when no place was saved.
  bool RestorePlacement();
  // Opens the chart that was on show when the program last ran.
  void ReopenLastChart();
  // Every text in the script from now on: the shown script, Qt's own
  // dialogs, every control of the window, and the report on show rendered
  // again. Records and names stay as they are.
  void ShowInScript(Script script);

 public slots:
  void ShowStatus(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateStatusBar();
  void CreatePanes();
  QWidget* CreateHistoryPane();
  // The warnings above the report pane.
  QWidget* CreateReportColumn();
  void CreateShortcuts();
  void RetextControls();
  void OnShownRecordChanged(const QString& recordPath);
  void ShowFindBar();
  void FindInReport();

  AppHome home_;
  AppConfig config_;
  PaneSplitter* outer_ = nullptr;
  PaneSplitter* inner_ = nullptr;
  BirthForm* form_ = nullptr;
  HistoryTree* history_ = nullptr;
  ReportPane* report_ = nullptr;
  WarningBar* warnings_ = nullptr;
  QLineEdit* search_ = nullptr;
  QComboBox* order_ = nullptr;
  QLineEdit* find_ = nullptr;
  QToolButton* undo_ = nullptr;
};

}  // namespace xuanshu
