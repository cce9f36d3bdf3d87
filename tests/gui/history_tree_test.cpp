// The history tree: what it lists, its context menus, and the file effects
// of renaming, moving by drag, deleting and grouping charts.
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <thread>

#include "app_title.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "qt_text.h"
#include "record/record_file.h"
#include "report_pane.h"

namespace xuanshu::gui {
namespace {

QStringList Children(const QTreeWidgetItem* node) {
  QStringList texts;
  for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
  return texts;
}

std::unique_ptr<MainWindow> OpenExpanded(const ProgramFolder& folder) {
  auto window = folder.OpenWindow();
  if (window) window->historyTree()->expandAll();
  return window;
}

void Drag(MainWindow& window, QTreeWidgetItem* source, QTreeWidgetItem* target) {
  HistoryTree* tree = window.historyTree();
  const QPoint from = tree->visualItemRect(source).center();
  const QPoint to = tree->visualItemRect(target).center();
  QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(tree->viewport(), (from + to) / 2);
  QTest::mouseMove(tree->viewport(), to);
  QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, to);
  QApplication::processEvents();
}

}  // namespace

class HistoryTreeTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void listsEveryFileUnderItsGroup();
  void contextMenuDependsOnTheNode();
  void renamingAChartRewritesItsName();
  void renamingAGroupRewritesEveryMatchingFile();
  void refusedOrCancelledRenamesChangeNothing();
  void draggingAChartOntoAGroupMovesIt();
  void draggingElsewhereDoesNothing();
  void newGroupsTakeChartsAndVanishEmpty();
  void deletingAChartRemovesItsFile();
  void deletingAGroupMovesItsChartsToOther();
  void keyboardOpensRenamesAndDeletes();
  void renamingAChartToAnEmptyOrTakenNameIsRefused();
  void dragHighlightsItsTargetAndScrolls();
  void dropKeepsEveryGroupsExpansion();
  void deletionsAreUndoneWithTheirBytesAndGroup();
  void historyFollowsTheDisk();
  void nodesOfChartsThatStayAreKept();
  void chartsInDeeperFoldersAppearToo();
  void searchShowsMatchingChartsAndGroups();
  void chartsOrderByNameBirthOrChange();

 private:
  std::unique_ptr<ProgramFolder> folder_;
  std::filesystem::path a_, b_, c_, nested_;
};

// 其他: 丙. 同学: 甲, 乙 (乙 in a subfolder). 同事: 丁.
void HistoryTreeTest::init() {
  folder_ = std::make_unique<ProgramFolder>();
  const auto data = folder_->dataDir();
  a_ = data / "a.bze";
  b_ = data / "sub" / "b.bze";
  c_ = data / "c.bze";
  nested_ = data / "d.bze";
  WriteRecord(a_, {u"甲", u"同学"});
  WriteRecord(b_, {u"乙", u"同学"});
  WriteRecord(c_, {u"丙", u"其他"});
  WriteRecord(nested_, {u"丁", u"同事"});
}

void HistoryTreeTest::listsEveryFileUnderItsGroup() {
  QFile stray(PathToQString(folder_->dataDir() / "notes.txt"));
  QVERIFY(stray.open(QIODevice::WriteOnly));
  stray.write("\x00\x01 not a record", 15);
  stray.close();

  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QCOMPARE(tree->topLevelItemCount(), 1);
  QCOMPARE(tree->rootNode()->text(0), u"历史排盘"_qs);
  QVERIFY(tree->rootNode()->isExpanded());
  QCOMPARE(Children(tree->rootNode()), (QStringList{u"其他"_qs, u"同学"_qs, u"同事"_qs, {}}));
  QCOMPARE(Children(tree->groupNode(0)), QStringList{u"丙"_qs});
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"乙"_qs}));
  QCOMPARE(Children(tree->groupNode(3)), QStringList{QString()});
}

void HistoryTreeTest::contextMenuDependsOnTheNode() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  struct Row {
    const char* node;
    QTreeWidgetItem* item;
    QStringList entries;
  };
  const Row rows[] = {
      {"root", tree->rootNode(), {u"新建分组"_qs}},
      {"group", tree->groupNode(1), {u"删除该组"_qs, u"重命名"_qs}},
      {"chart",
       tree->chartNode({1, 0}),
       {u"打开排盘"_qs, u"删除排盘"_qs, u"导出排盘"_qs, u"重命名"_qs}},
  };
  for (const Row& row : rows) {
    QStringList entries;
    TriggerTreeMenu(*window, row.item, QString(), &entries);
    QVERIFY2(entries == row.entries, row.node);
  }
  QStringList entries;
  QVERIFY(!TriggerTreeMenu(*window, nullptr, QString(), &entries));
  QVERIFY2(entries.isEmpty(), "an empty area shows no menu");
  QCOMPARE(tree->selectedNode(), nullptr);
}

void HistoryTreeTest::renamingAChartRewritesItsName() {
  MessageLog log;
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QVERIFY(TriggerTreeMenu(*window, tree->chartNode({1, 1}), u"重命名"_qs));
  TypeLabel(*window, u"乙二"_qs);
  QCOMPARE(ReadMainKey(b_, u"name"), Text(u"乙二"));
  QCOMPARE(tree->chartNode({1, 1})->text(0), u"乙二"_qs);
  QVERIFY2(std::filesystem::exists(b_), "the file keeps its name");
  QCOMPARE(log.Take(), QStringList());
}

void HistoryTreeTest::renamingAGroupRewritesEveryMatchingFile() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QVERIFY(TriggerTreeMenu(*window, tree->groupNode(1), u"重命名"_qs));
  TypeLabel(*window, u"校友"_qs);
  QCOMPARE(tree->groupNode(1)->text(0), u"校友"_qs);
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"乙"_qs}));
  QCOMPARE(ReadMainKey(a_, u"class"), Text(u"校友"));
  QCOMPARE(ReadMainKey(b_, u"class"), Text(u"校友"));
  QCOMPARE(ReadMainKey(nested_, u"class"), Text(u"同事"));
}

void HistoryTreeTest::refusedOrCancelledRenamesChangeNothing() {
  MessageLog log;
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  const std::string before = ReadBytes(a_);

  QVERIFY(TriggerTreeMenu(*window, tree->groupNode(0), u"重命名"_qs));
  QCOMPARE(log.Take(), QStringList{u"该组不能重命名！"_qs});

  struct Row {
    const char* what;
    QString typed;
    bool cancel;
  };
  const Row rows[] = {{"name of another group", u"同事"_qs, false},
                      {"empty name", QString(), false},
                      {"cancelled", u"校友"_qs, true}};
  for (const Row& row : rows) {
    QVERIFY(TriggerTreeMenu(*window, tree->groupNode(1), u"重命名"_qs));
    TypeLabel(*window, row.typed, row.cancel);
    QVERIFY2(tree->groupNode(1)->text(0) == u"同学"_qs, row.what);
    QVERIFY2(ReadBytes(a_) == before, row.what);
    QVERIFY2(log.Take().size() == (row.cancel ? 0 : 1), row.what);
  }
}

void HistoryTreeTest::draggingAChartOntoAGroupMovesIt() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  tree->groupNode(2)->setExpanded(true);
  Drag(*window, tree->chartNode({0, 0}), tree->groupNode(2));
  QCOMPARE(ReadMainKey(c_, u"class"), Text(u"同事"));
  QCOMPARE(Children(tree->groupNode(0)), QStringList());
  QCOMPARE(Children(tree->groupNode(2)), (QStringList{u"丁"_qs, u"丙"_qs}));
  QCOMPARE(tree->selectedNode(), tree->chartNode({2, 1}));
  QVERIFY(tree->groupNode(2)->isExpanded());
}

void HistoryTreeTest::draggingElsewhereDoesNothing() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  const std::string before = ReadBytes(a_);
  struct Row {
    const char* what;
    QTreeWidgetItem* source;
    QTreeWidgetItem* target;
  };
  const Row rows[] = {
      {"onto another chart", tree->chartNode({1, 0}), tree->chartNode({0, 0})},
      {"onto the root", tree->chartNode({1, 0}), tree->rootNode()},
      {"onto its own group", tree->chartNode({1, 0}), tree->groupNode(1)},
      {"a group onto a group", tree->groupNode(1), tree->groupNode(2)},
  };
  for (const Row& row : rows) {
    Drag(*window, row.source, row.target);
    QVERIFY2(ReadBytes(a_) == before, row.what);
    QVERIFY2(Children(tree->rootNode()).size() == 3, row.what);
    QVERIFY2(Children(tree->groupNode(1)) == (QStringList{u"甲"_qs, u"乙"_qs}), row.what);
  }
}

void HistoryTreeTest::newGroupsTakeChartsAndVanishEmpty() {
  {
    auto window = OpenExpanded(*folder_);
    HistoryTree* tree = window->historyTree();
    for (int i = 0; i < 2; ++i) {
      QVERIFY(TriggerTreeMenu(*window, tree->rootNode(), u"新建分组"_qs));
      TypeLabel(*window, QString(), /*cancel=*/true);
    }
    QCOMPARE(tree->groupNode(3)->text(0), u"新建分组"_qs);
    QCOMPARE(tree->groupNode(4)->text(0), u"新建分组"_qs);
    Drag(*window, tree->chartNode({0, 0}), tree->groupNode(3));
    QCOMPARE(ReadMainKey(c_, u"class"), Text(u"新建分组"));
    QCOMPARE(Children(tree->groupNode(3)), QStringList{u"丙"_qs});
  }
  auto restarted = folder_->OpenWindow();
  QCOMPARE(Children(restarted->historyTree()->rootNode()),
           (QStringList{u"其他"_qs, u"同学"_qs, u"新建分组"_qs, u"同事"_qs}));
}

void HistoryTreeTest::deletingAChartRemovesItsFile() {
  MessageLog log;
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QVERIFY(TriggerTreeMenu(*window, tree->chartNode({1, 0}), u"删除排盘"_qs));
  QVERIFY(!std::filesystem::exists(a_));
  QCOMPARE(Children(tree->groupNode(1)), QStringList{u"乙"_qs});
  QCOMPARE(log.Take(), QStringList());
  QVERIFY(log.questions.isEmpty());
}

void HistoryTreeTest::deletingAGroupMovesItsChartsToOther() {
  MessageLog log;
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QVERIFY(TriggerTreeMenu(*window, tree->groupNode(1), u"删除该组"_qs));
  QCOMPARE(Children(tree->rootNode()), (QStringList{u"其他"_qs, u"同事"_qs}));
  QCOMPARE(Children(tree->groupNode(0)), (QStringList{u"丙"_qs, u"甲"_qs, u"乙"_qs}));
  QCOMPARE(ReadMainKey(a_, u"class"), Text(u"其他"));
  QCOMPARE(ReadMainKey(b_, u"class"), Text(u"其他"));
  QVERIFY(std::filesystem::exists(a_) && std::filesystem::exists(b_));

  QVERIFY(TriggerTreeMenu(*window, tree->groupNode(0), u"删除该组"_qs));
  QCOMPARE(log.Take(), QStringList{u"该组不能删除！"_qs});
  QCOMPARE(Children(tree->rootNode()).size(), 2);
}

void HistoryTreeTest::keyboardOpensRenamesAndDeletes() {
  MessageLog log;
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  tree->setFocus();
  tree->setCurrentItem(tree->chartNode({1, 1}));
  QTest::keyClick(tree, Qt::Key_Down);  // arrows only select
  QCOMPARE(tree->currentItem(), tree->groupNode(2));
  QVERIFY(window->reportPane()->shownRecord().empty());
  QTest::keyClick(tree, Qt::Key_Up);
  QTest::keyClick(tree, Qt::Key_Return);
  QCOMPARE(window->reportPane()->shownRecord(), b_);

  QTest::keyClick(tree, Qt::Key_F2);
  TypeLabel(*window, u"乙二"_qs);
  QCOMPARE(ReadMainKey(b_, u"name"), Text(u"乙二"));

  tree->setFocus();
  tree->setCurrentItem(tree->chartNode({1, 0}));
  QTest::keyClick(tree, Qt::Key_Delete);
  QVERIFY(!std::filesystem::exists(a_));
  QCOMPARE(Children(tree->groupNode(1)), QStringList{u"乙二"_qs});
  QCOMPARE(log.Take(), QStringList());

  // A double-click opens too.
  emit tree->itemDoubleClicked(tree->chartNode({2, 0}), 0);
  QCOMPARE(window->reportPane()->shownRecord(), nested_);
}

void HistoryTreeTest::renamingAChartToAnEmptyOrTakenNameIsRefused() {
  MessageLog log;
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  const std::string before = ReadBytes(a_);
  for (const QString& typed : {QString(), u"丙"_qs, u"乙"_qs}) {
    QVERIFY(TriggerTreeMenu(*window, tree->chartNode({1, 0}), u"重命名"_qs));
    TypeLabel(*window, typed);
    QCOMPARE(log.Take().size(), 1);
    QCOMPARE(ReadBytes(a_), before);
    QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"乙"_qs}));
    QCOMPARE(Children(tree->groupNode(0)), QStringList{u"丙"_qs});
  }
}

// 200 charts: the target group is out of sight until the drag scrolls.
void HistoryTreeTest::dragHighlightsItsTargetAndScrolls() {
  for (int i = 0; i < 200; ++i) {
    WriteRecord(folder_->dataDir() /
                    QStringLiteral("x%1.bze").arg(i, 3, 10, QLatin1Char('0')).toStdString(),
                {Text(u"人") + Num(i), u"其他"});
  }
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QTreeWidgetItem* source = tree->chartNode({0, 0});
  QTreeWidgetItem* target = tree->groupNode(2);
  const QPoint from = tree->visualItemRect(source).center();
  QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
  const QPoint overGroup = tree->visualItemRect(tree->groupNode(0)).center();
  QTest::mouseMove(tree->viewport(), overGroup);
  QCOMPARE(tree->dropTarget(), nullptr);  // its own group
  const QPoint bottom(from.x(), tree->viewport()->height() - 4);
  QTest::mouseMove(tree->viewport(), bottom);
  QTRY_VERIFY_WITH_TIMEOUT(!tree->visualItemRect(target).isEmpty() &&
                               tree->viewport()->rect().contains(tree->visualItemRect(target)),
                           10000);
  QVERIFY(tree->verticalScrollBar()->value() > 0);
  const QPoint onTarget = tree->visualItemRect(target).center();
  QTest::mouseMove(tree->viewport(), onTarget);
  QCOMPARE(tree->dropTarget(), target);
  QCOMPARE(target->background(0).style(), Qt::SolidPattern);
  QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, onTarget);
  QCOMPARE(tree->dropTarget(), nullptr);
  QCOMPARE(target->background(0).style(), Qt::NoBrush);
  QCOMPARE(ReadMainKey(c_, u"class"), Text(u"同事"));
}

void HistoryTreeTest::dropKeepsEveryGroupsExpansion() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  Drag(*window, tree->chartNode({1, 0}), tree->groupNode(2));
  QCOMPARE(ReadMainKey(a_, u"class"), Text(u"同事"));
  QVERIFY2(tree->groupNode(1)->isExpanded(), "the source group stays open");
  QVERIFY(tree->groupNode(2)->isExpanded());
  tree->groupNode(0)->setExpanded(false);
  Drag(*window, tree->chartNode({1, 0}), tree->groupNode(2));
  QVERIFY2(!tree->groupNode(0)->isExpanded(), "an unrelated group stays closed");
}

void HistoryTreeTest::deletionsAreUndoneWithTheirBytesAndGroup() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  const std::string bytes = ReadBytes(b_);
  QVERIFY(!tree->canUndo());
  QVERIFY(TriggerTreeMenu(*window, tree->chartNode({1, 1}), u"删除排盘"_qs));
  QVERIFY(!std::filesystem::exists(b_));
  QVERIFY(TriggerTreeMenu(*window, tree->groupNode(2), u"删除该组"_qs));
  QCOMPARE(ReadMainKey(nested_, u"class"), Text(u"其他"));
  QVERIFY(window->undoButton()->isEnabled());

  window->activateWindow();  // the context menu took it on the offscreen platform
  QVERIFY(QTest::qWaitForWindowActive(window.get()));
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);  // the group comes back
  QCOMPARE(ReadMainKey(nested_, u"class"), Text(u"同事"));
  QCOMPARE(Children(tree->rootNode()), (QStringList{u"其他"_qs, u"同学"_qs, u"同事"_qs}));
  QCOMPARE(Children(tree->groupNode(2)), QStringList{u"丁"_qs});

  QTest::mouseClick(window->undoButton(), Qt::LeftButton);  // then the chart
  QCOMPARE(ReadBytes(b_), bytes);
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"乙"_qs}));
  QVERIFY(!window->undoButton()->isEnabled());
  QVERIFY(!tree->Undo());
}

// Charts written by another program appear, a changed record on show is
// rendered again, a deleted one leaves the pane and the title.
void HistoryTreeTest::historyFollowsTheDisk() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  tree->setCurrentItem(tree->chartNode({1, 0}));
  tree->OpenSelectedNode();
  ReportPane* pane = window->reportPane();
  QVERIFY(pane->toPlainText().contains(u"甲"_qs));

  const auto written = folder_->dataDir() / "sub" / "new.bze";
  WriteRecord(written, {u"戊", u"同学"});
  QTRY_COMPARE_WITH_TIMEOUT(Children(tree->groupNode(1)),
                            (QStringList{u"甲"_qs, u"乙"_qs, u"戊"_qs}), 5000);

  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a later change time
  WriteRecord(a_, {u"甲改", u"同学", u"女"});
  QTRY_VERIFY_WITH_TIMEOUT(pane->toPlainText().contains(u"甲改"_qs), 5000);
  QCOMPARE(tree->groupNode(1)->child(0)->text(0), u"甲改"_qs);

  std::filesystem::remove(a_);
  QTRY_VERIFY_WITH_TIMEOUT(pane->toPlainText().isEmpty(), 5000);
  QCOMPARE(window->windowTitle(), AppTitle());
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"乙"_qs, u"戊"_qs}));
}

// Two charts of one name are told apart by their files: when one goes, the
// other keeps its node (and with it selection and focus).
void HistoryTreeTest::nodesOfChartsThatStayAreKept() {
  const auto twin = folder_->dataDir() / "a2.bze";
  WriteRecord(twin, {u"乙", u"同学"});
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"乙"_qs, u"乙"_qs}));
  QTreeWidgetItem* kept = tree->chartNode({1, 2});  // sub/b.bze
  std::filesystem::remove(twin);
  tree->RefreshFromDisk();
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"乙"_qs}));
  QCOMPARE(tree->chartNode({1, 1}), kept);
}

// Every folder under the data folder is watched, at any depth.
void HistoryTreeTest::chartsInDeeperFoldersAppearToo() {
  const auto deeper = folder_->dataDir() / "sub" / "deeper" / "deepest";
  WriteRecord(deeper / "x.bze", {u"己", u"同事"});
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QCOMPARE(Children(tree->groupNode(2)), (QStringList{u"丁"_qs, u"己"_qs}));

  WriteRecord(deeper / "y.bze", {u"庚", u"同事"});
  QTRY_COMPARE_WITH_TIMEOUT(Children(tree->groupNode(2)),
                            (QStringList{u"丁"_qs, u"己"_qs, u"庚"_qs}), 5000);
}

void HistoryTreeTest::searchShowsMatchingChartsAndGroups() {
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  const auto visible = [tree] {
    QStringList shown;
    for (int g = 0; g < tree->rootNode()->childCount(); ++g) {
      const QTreeWidgetItem* group = tree->rootNode()->child(g);
      if (group->isHidden()) continue;
      for (int c = 0; c < group->childCount(); ++c) {
        if (!group->child(c)->isHidden()) shown << group->text(0) + u'/' + group->child(c)->text(0);
      }
    }
    return shown;
  };
  window->historySearch()->setText(u"乙"_qs);
  QCOMPARE(visible(), QStringList{u"同学/乙"_qs});
  window->historySearch()->setText(u"同事"_qs);
  QCOMPARE(visible(), QStringList{u"同事/丁"_qs});
  window->historySearch()->clear();
  QCOMPARE(visible().size(), 4);
}

void HistoryTreeTest::chartsOrderByNameBirthOrChange() {
  const auto extra = folder_->dataDir() / "e.bze";
  WriteRecord(extra, {u"阿", u"同学", u"男", 1950});
  WriteRecord(a_, {u"甲", u"同学", u"男", 1990});
  auto window = OpenExpanded(*folder_);
  HistoryTree* tree = window->historyTree();
  QCOMPARE(Children(tree->groupNode(1)), (QStringList{u"甲"_qs, u"阿"_qs, u"乙"_qs}));
  struct Row {
    int order;
    QStringList charts;
  };
  const Row rows[] = {{1, {u"阿"_qs, u"甲"_qs, u"乙"_qs}},   // 阿 a, 甲 jia, 乙 yi
                      {2, {u"阿"_qs, u"乙"_qs, u"甲"_qs}},   // 1950, 1980, 1990
                      {3, {u"甲"_qs, u"阿"_qs, u"乙"_qs}}};  // newest first
  for (const Row& row : rows) {
    window->historyOrder()->setCurrentIndex(row.order);
    QCOMPARE(Children(tree->groupNode(1)), row.charts);
  }
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::HistoryTreeTest)
#include "history_tree_test.moc"
