// The application object: creates the main window, shows it maximized and
// gives it the program's title.
#pragma once

#include <QApplication>
#include <memory>

namespace xuanshu {

class MainWindow;

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
