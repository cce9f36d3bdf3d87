// The main window: pane layout, the splitter limits stored in Config.ini,
// hiding the history column, and the About box.
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include "app_title.h"
#include "birth_form.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "link_label.h"
#include "pane_splitter.h"
#include "qt_text.h"
#include "record/app_config.h"
#include "record/ini_document.h"
#include "record/record_file.h"
#include "report_pane.h"
#include "xuanshu_application.h"

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
  void onlyADragOfTheHistoryBarStoresItsWidth();
  void placeAndLastChartComeBackAtStart();
  void titleFollowsTheChartOnShow();
  void dialogsSpeakChinese();
  void shortcutsActOnTheReport();
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

void MainWindowTest::onlyADragOfTheHistoryBarStoresItsWidth() {
  ProgramFolder folder;
  auto window = folder.OpenWindow({1400, 800});
  const int width = window->historyTree()->width();
  for (PaneSplitter* splitter : {window->innerSplitter(), window->outerSplitter()}) {
    QSplitterHandle* bar = splitter->handle(1);
    // A double-click as the mouse makes it: press, release, double-click,
    // release; twice, to hide and show the column.
    for (int i = 0; i < 2; ++i) {
      const QPoint at = bar->rect().center();
      QTest::mouseClick(bar, Qt::LeftButton, {}, at);
      QTest::mouseDClick(bar, Qt::LeftButton, {}, at);
      QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    }
  }
  QApplication::processEvents();
  QCOMPARE(window->historyTree()->width(), width);
  QCOMPARE(Q(OptionValue(folder, u"cx")), QString());
  DragBar(window->innerSplitter(), 300);
  QCOMPARE(Q(OptionValue(folder, u"cx")), u"300"_qs);
}

void MainWindowTest::placeAndLastChartComeBackAtStart() {
  ProgramFolder folder;
  const auto record = folder.dataDir() / "a.bze";
  WriteRecord(record, {u"甲", u"其他"});
  QRect closedAt;
  {
    // Within the offscreen screen, which a restored window is kept inside.
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    auto window = folder.OpenWindow(screen - QSize(90, 70));
    window->move(40, 30);
    HistoryTree* tree = window->historyTree();
    tree->setCurrentItem(tree->chartNode({0, 0}));
    tree->OpenSelectedNode();
    closedAt = window->geometry();
    QVERIFY(window->close());
  }
  MainWindow restarted(folder.home());
  QVERIFY(restarted.RestorePlacement());
  QVERIFY(QTest::qWaitForWindowExposed(&restarted));
  QCOMPARE(restarted.size(), closedAt.size());
  QVERIFY(!restarted.isMaximized());
  restarted.ReopenLastChart();
  QCOMPARE(restarted.reportPane()->shownRecord(), record);
  QCOMPARE(restarted.historyTree()->currentItem(), restarted.historyTree()->chartNode({0, 0}));
  restarted.close();
}

// The title names the record on show, or none.
void MainWindowTest::titleFollowsTheChartOnShow() {
  ProgramFolder folder;
  MessageLog log;
  const auto opened = folder.dataDir() / "a.bze";
  WriteRecord(opened, {u"甲", u"其他"});
  auto window = folder.OpenWindow();
  QCOMPARE(window->windowTitle(), AppTitle());
  HistoryTree* tree = window->historyTree();
  tree->setCurrentItem(tree->chartNode({0, 0}));
  tree->OpenSelectedNode();
  QCOMPARE(window->windowTitle(), AppTitleWithRecord(PathToQString(opened)));

  SetName(*window, u"乙"_qs);
  ClickChartButton(*window);
  const auto computed = folder.dataDir() / "乙.bze";
  QCOMPARE(window->windowTitle(), AppTitleWithRecord(PathToQString(computed)));

  QVERIFY(TriggerTreeMenu(*window, tree->selectedNode(), u"删除排盘"_qs));
  QCOMPARE(window->windowTitle(), AppTitle());
  QVERIFY(window->reportPane()->toPlainText().isEmpty());
  QVERIFY(window->reportPane()->shownRecord().empty());
  QCOMPARE(log.Take(), QStringList());
}

void MainWindowTest::dialogsSpeakChinese() {
  QVERIFY2(LoadChineseTranslations(*QCoreApplication::instance()),
           "qtbase_zh_CN (qt6-translations-l10n) installed");
  QMessageBox box(QMessageBox::NoIcon, AppName(), u"问"_qs, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(box.button(QMessageBox::Yes)->text().left(1), u"是"_qs);
  QCOMPARE(box.button(QMessageBox::No)->text().left(1), u"否"_qs);
  QMessageBox ok(QMessageBox::NoIcon, AppName(), u"好"_qs, QMessageBox::Ok);
  QVERIFY(ok.button(QMessageBox::Ok)->text().contains(u"确定"_qs));
}

void MainWindowTest::shortcutsActOnTheReport() {
  ProgramFolder folder;
  WriteRecord(folder.dataDir() / "a.bze", {u"林文轩", u"其他"});
  auto window = folder.OpenWindow();
  HistoryTree* tree = window->historyTree();
  tree->setCurrentItem(tree->chartNode({0, 0}));
  tree->OpenSelectedNode();
  tree->setFocus();
  ReportPane* report = window->reportPane();

  QTest::keyClick(tree, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(report->textCursor().selectedText().size(), report->document()->characterCount() - 1);
  QApplication::clipboard()->clear();
  QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), report->toPlainText());
  QCOMPARE(window->statusBar()->currentMessage(), u"已复制"_qs);

  QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
  QVERIFY(window->reportFind()->isVisible());
  QCOMPARE(QApplication::focusWidget(), window->reportFind());
  window->reportFind()->setText(u"林文轩"_qs);
  QTest::keyClick(window->reportFind(), Qt::Key_Return);
  QCOMPARE(report->textCursor().selectedText(), u"林文轩"_qs);
  window->reportFind()->setText(u"无此字样"_qs);
  QTest::keyClick(window->reportFind(), Qt::Key_Return);
  QVERIFY(window->statusBar()->currentMessage().startsWith(u"未找到"_qs));

  // Ctrl+S exports and Ctrl+P prints: each opens its dialog.
  QStringList opened;
  const auto watch = WhenModal([&](QWidget* modal) {
    opened << QString::fromLatin1(modal->metaObject()->className());
    modal->close();
    return false;
  });
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_S, Qt::ControlModifier);
  window->activateWindow();  // the closed dialog does not give it back offscreen
  QVERIFY(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(tree, Qt::Key_P, Qt::ControlModifier);
  opened.removeDuplicates();
  QCOMPARE(opened, (QStringList{u"QFileDialog"_qs, u"QPrintDialog"_qs}));
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::MainWindowTest)
#include "main_window_test.moc"
