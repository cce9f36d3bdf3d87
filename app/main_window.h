// The main window: the input form on top, and below it the history tree on
// the left and the report pane on the right, split by two splitters. It has
// a status bar and no menu bar.
#pragma once

#include <QMainWindow>

#include "app_home.h"
#include "record/app_config.h"

namespace xuanshu {

class HistoryTree;
class ReportPane;
class PaneSplitter;
class BirthForm;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(const AppHome& home, QWidget* parent = nullptr);

  BirthForm* birthForm() const { return form_; }
  HistoryTree* historyTree() const { return history_; }
  ReportPane* reportPane() const { return report_; }
  PaneSplitter* outerSplitter() const { return outer_; }
  PaneSplitter* innerSplitter() const { return inner_; }

 private:
  void CreateStatusBar();
  void CreatePanes();

  AppHome home_;
  AppConfig config_;
  PaneSplitter* outer_ = nullptr;
  PaneSplitter* inner_ = nullptr;
  BirthForm* form_ = nullptr;
  HistoryTree* history_ = nullptr;
  ReportPane* report_ = nullptr;
};

}  // namespace xuanshu
