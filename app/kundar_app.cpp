#include "kundar_app.h"

#include <QIcon>
#include <QScreen>

#include "app_home.h"
#include "app_title.h"
#include "main_frame.h"

namespace xuanshu {

CKUNDARApp::CKUNDARApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("xuanshu"));
  setApplicationVersion(QStringLiteral("1.0"));
  setDesktopFileName(QStringLiteral("xuanshu"));
  setWindowIcon(QIcon(QStringLiteral(":/xuanshu/xuanshu.png")));
}

CKUNDARApp::~CKUNDARApp() = default;

bool CKUNDARApp::InitInstance() {
  frame_ = std::make_unique<CMainFrame>(AppHome::OfThisRun());
  // The size it keeps where no window manager maximizes it.
  if (const QScreen* screen = primaryScreen()) frame_->resize(screen->availableSize() * 4 / 5);
  frame_->showMaximized();
  frame_->setWindowTitle(AppTitle());
  return true;
}

}  // namespace xuanshu
