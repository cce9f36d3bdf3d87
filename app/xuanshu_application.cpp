#include "xuanshu_application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTranslator>

#include "app_home.h"
#include "main_window.h"

namespace xuanshu {

XuanshuApplication::XuanshuApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("xuanshu"));
  setApplicationVersion(QStringLiteral("1.0"));
  setDesktopFileName(QStringLiteral("xuanshu"));
  setWindowIcon(QIcon(QStringLiteral(":/xuanshu/xuanshu.png")));
  LoadChineseTranslations(*this);
}

bool LoadChineseTranslations(QCoreApplication& app, Script script) {
  // Qt's own dialogs (OK, Yes/No, Save As, Print, Cancel …) in Chinese.
  static QPointer<QTranslator> installed;
  const QLocale locale =
      script == Script::kTraditional
          ? QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan)
          : QLocale(QLocale::Chinese, QLocale::China);
  auto* translator = new QTranslator(&app);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
  }
  installed = translator;
  return QCoreApplication::installTranslator(translator);
}

XuanshuApplication::~XuanshuApplication() = default;

bool XuanshuApplication::CreateMainWindow() {
  window_ = std::make_unique<MainWindow>(AppHome::OfThisRun());
  if (!window_->RestorePlacement()) {
    // The size it keeps where no window manager maximizes it.
    if (const QScreen* screen = primaryScreen()) window_->resize(screen->availableSize() * 4 / 5);
    window_->showMaximized();
  }
  window_->ReopenLastChart();
  return true;
}

}  // namespace xuanshu
