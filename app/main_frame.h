// The main window: the input form on top, and below it the history tree on
// the left and the report pane on the right, split by two splitters. It has
// a status bar and no menu bar.
#pragma once

#include <QMainWindow>

#include "app_home.h"
#include "record/app_config.h"

namespace xuanshu {

class CButtomLetfView;
class CButtomRightView;
class CSplitterWndEx;
class CTopView;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(const AppHome& home, QWidget* parent = nullptr);

  CTopView* topView() const { return form_; }
  CButtomLetfView* historyView() const { return history_; }
  CButtomRightView* reportView() const { return report_; }
  CSplitterWndEx* outerSplitter() const { return outer_; }
  CSplitterWndEx* innerSplitter() const { return inner_; }

 private:
  void CreateStatusBar();
  void CreatePanes();

  AppHome home_;
  AppConfig config_;
  CSplitterWndEx* outer_ = nullptr;
  CSplitterWndEx* inner_ = nullptr;
  CTopView* form_ = nullptr;
  CButtomLetfView* history_ = nullptr;
  CButtomRightView* report_ = nullptr;
};

}  // namespace xuanshu
