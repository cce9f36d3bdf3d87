#include "xuanshu_application.h"

#include <QIcon>
#include <QScreen>

#include "app_home.h"
#include "app_title.h"
#include "main_window.h"

namespace xuanshu {

XuanshuApplication::XuanshuApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("xuanshu"));
  setApplicationVersion(QStringLiteral("1.0"));
  setDesktopFileName(QStringLiteral("xuanshu"));
  setWindowIcon(QIcon(QStringLiteral(":/xuanshu/xuanshu.png")));
}

XuanshuApplication::~XuanshuApplication() = default;

bool XuanshuApplication::CreateMainWindow() {
  window_ = std::make_unique<MainWindow>(AppHome::OfThisRun());
  // The size it keeps where no window manager maximizes it.
  if (const QScreen* screen = primaryScreen()) window_->resize(screen->availableSize() * 4 / 5);
  window_->showMaximized();
  window_->setWindowTitle(AppTitle());
  return true;
}

}  // namespace xuanshu
