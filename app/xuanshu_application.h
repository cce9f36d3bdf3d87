// The application object: loads Qt's Chinese translations, creates the main
// window, shows it where it last was (maximized the first time) and opens
// the chart last shown.
#pragma once

#include <QApplication>
#include <memory>

#include "record/script_text.h"

namespace xuanshu {

class MainWindow;

// Installs Qt's own Chinese translations for the script (qtbase_zh_CN or
// qtbase_zh_TW), in place of those it installed before; false when they are
// not installed.
bool LoadChineseTranslations(QCoreApplication& app, Script script = Script::kSimplified);

class XuanshuApplication : public QApplication {
  Q_OBJECT

 public:
  XuanshuApplication(int& argc, char** argv);
  ~XuanshuApplication() override;

  // Creates and shows the main window; false when it cannot start.
  bool CreateMainWindow();
  MainWindow* mainWindow() const { return window_.get(); }

 private:
  std::unique_ptr<MainWindow> window_;
};

}  // namespace xuanshu
