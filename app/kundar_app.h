// The application object: creates the main window, shows it maximized and
// gives it the program's title.
#pragma once

#include <QApplication>
#include <memory>

namespace xuanshu {

class CMainFrame;

class CKUNDARApp : public QApplication {
  Q_OBJECT

 public:
  CKUNDARApp(int& argc, char** argv);
  ~CKUNDARApp() override;

  // Creates and shows the main window; false when it cannot start.
  bool InitInstance();
  CMainFrame* mainFrame() const { return frame_.get(); }

 private:
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace xuanshu
