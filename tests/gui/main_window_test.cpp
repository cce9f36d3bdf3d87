// The main window: pane layout, the splitter limits stored in Config.ini,
// hiding the history column, and the About box.
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "birth_form.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "link_label.h"
#include "pane_splitter.h"
#include "record/app_config.h"
#include "record/ini_document.h"
#include "record/record_file.h"

namespace xuanshu::gui {
namespace {

// A press on the bar, then the pointer to x (in the splitter's own
// coordinates), then the release there.
void DragBar(PaneSplitter* splitter, int x) {
  QSplitterHandle* bar = splitter->handle(1);
  const QPoint start = bar->rect().center();
  const QPoint pointer = splitter->mapToGlobal(QPoint(x, bar->y() + start.y()));
  QTest::mousePress(bar, Qt::LeftButton, {}, start);
  QTest::mouseMove(bar, bar->mapFromGlobal(pointer));
  // The bar may have followed the pointer; the pointer stays where it is.
  QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFromGlobal(pointer));
  QApplication::processEvents();
}

Text OptionValue(const ProgramFolder& folder, TextView key) {
  return LoadIniFile(folder.home().configPath).ReadString(u"Option", key);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void windowHasStatusBarAndNoMenu();
  void historyPaneWidthComesFromConfig_data();
  void historyPaneWidthComesFromConfig();
  void barReleaseStoresTheClampedPointerX_data();
  void barReleaseStoresTheClampedPointerX();
  void barFollowsThePointerOnlyInsideTheLimits();
  void doubleClickHidesAndShowsTheHistoryColumn();
  void aboutBoxShowsNameLinkAndCloses();
};

void MainWindowTest::windowHasStatusBarAndNoMenu() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  QVERIFY(window->findChild<QStatusBar*>() != nullptr);
  QVERIFY(window->menuWidget() == nullptr);
  QVERIFY(std::filesystem::is_directory(folder.dataDir()));
  QVERIFY2(!std::filesystem::exists(folder.home().configPath), "nothing is saved at start");
}

void MainWindowTest::historyPaneWidthComesFromConfig_data() {
  QTest::addColumn<int>("stored");  // -1: no Config.ini
  QTest::addColumn<int>("width");
  QTest::newRow("no Config.ini") << -1 << 170;
  QTest::newRow("stored 260") << 260 << 260;
}

void MainWindowTest::historyPaneWidthComesFromConfig() {
  QFETCH(int, stored);
  QFETCH(int, width);
  ProgramFolder folder;
  if (stored >= 0) AppConfig(folder.home().configPath).WritePaneWidth(stored);
  auto window = folder.OpenWindow({1400, 800});
  QCOMPARE(window->historyTree()->width(), width);
}

void MainWindowTest::barReleaseStoresTheClampedPointerX_data() {
  QTest::addColumn<bool>("outer");
  QTest::addColumn<int>("x");
  QTest::addColumn<QString>("stored");
  QTest::newRow("inner bar at 900 saves 800") << false << 900 << "800";
  QTest::newRow("inner bar at 10 saves 30") << false << 10 << "30";
  QTest::newRow("inner bar at 5 saves 30") << false << 5 << "30";
  QTest::newRow("inner bar at 420") << false << 420 << "420";
  // Only the history column's own bar stores its width.
  QTest::newRow("outer bar at 640 saves nothing") << true << 640 << "";
}

void MainWindowTest::barReleaseStoresTheClampedPointerX() {
  QFETCH(bool, outer);
  QFETCH(int, x);
  QFETCH(QString, stored);
  ProgramFolder folder;
  auto window = folder.OpenWindow({1400, 800});
  DragBar(outer ? window->outerSplitter() : window->innerSplitter(), x);
  QCOMPARE(Q(OptionValue(folder, u"cx")), stored);
  QCOMPARE(Q(OptionValue(folder, u"cy")), stored);
}

void MainWindowTest::barFollowsThePointerOnlyInsideTheLimits() {
  ProgramFolder folder;
  auto window = folder.OpenWindow({1400, 800});
  DragBar(window->innerSplitter(), 400);
  const int inside = window->historyTree()->width();
  QVERIFY2(std::abs(inside - 400) <= PaneSplitter::kBarWidth, "moved to the pointer");
  DragBar(window->innerSplitter(), 1000);
  QCOMPARE(window->historyTree()->width(), inside);
  DragBar(window->innerSplitter(), 12);
  QCOMPARE(window->historyTree()->width(), inside);
}

void MainWindowTest::doubleClickHidesAndShowsTheHistoryColumn() {
  ProgramFolder folder;
  auto window = folder.OpenWindow({1400, 800});
  HistoryTree* history = window->historyTree();
  const int width = history->width();
  const auto shown = [history] {
    QApplication::processEvents();
    return history->isVisible() && history->width() > 0;
  };
  for (PaneSplitter* splitter : {window->innerSplitter(), window->outerSplitter()}) {
    QSplitterHandle* bar = splitter->handle(1);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, bar->rect().center());
    QVERIFY(!shown());
    // The bar stays on screen, so the same bar can be double-clicked again.
    QVERIFY(bar->isVisible());
    QTest::mouseDClick(bar, Qt::LeftButton, {}, bar->rect().center());
    QVERIFY(shown());
    QCOMPARE(history->width(), width);
  }
}

void MainWindowTest::aboutBoxShowsNameLinkAndCloses() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  QStringList texts;
  bool linkLooksRight = false;
  bool closed = false;
  const auto watch = WhenModal([&](QWidget* modal) {
    auto* about = qobject_cast<QDialog*>(modal);
    if (about == nullptr) return false;
    for (QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
    if (auto* link = about->findChild<LinkLabel*>()) {
      linkLooksRight = link->palette().color(QPalette::WindowText) == QColor(Qt::blue) &&
                       link->cursor().shape() == Qt::PointingHandCursor && link->url().isValid();
    }
    for (QPushButton* button : about->findChildren<QPushButton*>()) {
      if (button->text() == u"确定"_qs) {
        QTest::mouseClick(button, Qt::LeftButton);
        closed = true;
      }
    }
    return true;
  });
  QTest::mouseClick(window->birthForm()->findChild<QPushButton*>(QStringLiteral("aboutButton")),
                    Qt::LeftButton);
  QVERIFY(closed);
  QVERIFY(texts.contains(u"玄枢八字排盘 1.0"_qs));
  QVERIFY(texts.contains(u"官方网站："_qs));
  QVERIFY(linkLooksRight);
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::MainWindowTest)
#include "main_window_test.moc"
