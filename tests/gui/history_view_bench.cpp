// Speed of the history pane: filling the tree from 10,000 records at start,
// and the click on a chart that renders it (standard layout).
//
//   QT_QPA_PLATFORM=offscreen build/bin/xuanshu_gui_bench
#include <QTest>
#include <fstream>

#include "birth_form.h"
#include "engine/chart_engine.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "record/app_config.h"
#include "record/record_file.h"

namespace xuanshu::gui {

class HistoryViewBench : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void treeFillWith10000Records();
  void clickOnChartRendersIt();

 private:
  static constexpr int kRecords = 10000;
  static constexpr int kGroups = 20;
  ProgramFolder folder_;
  std::unique_ptr<MainWindow> window_;
};

// One complete record, saved under 10,000 names in 20 groups.
void HistoryViewBench::initTestCase() {
  ChartEngine engine;
  ChartRequest request;
  request.name = u"样本";
  request.group = u"其他";
  request.year = 1984;
  request.month = 3;
  request.day = 15;
  request.hour = 8;
  request.minute = 30;
  ChartRecord record;
  QVERIFY(ComputeChartRecord(engine, request, record));
  std::filesystem::create_directories(folder_.dataDir());
  for (int i = 0; i < kRecords; ++i) {
    const Text name = u"测试" + Num(i);
    record.Set(u"main", u"name", name);
    record.Set(u"main", u"class", u"分组" + Num(i % kGroups));
    std::ofstream out(folder_.dataDir() / PathFromText(name + u".bze"), std::ios::binary);
    out << ToUtf8(record.Serialize());
  }
  AppConfig(folder_.home().configPath).WriteLayout(kStandardLayout);
  window_ = folder_.OpenWindow();
  QVERIFY(window_);
}

void HistoryViewBench::treeFillWith10000Records() {
  HistoryTree* history = window_->historyTree();
  QBENCHMARK {
    history->InitialUpdate();
  }
  int charts = 0;
  for (int g = 0; g < history->rootNode()->childCount(); ++g) {
    charts += history->rootNode()->child(g)->childCount();
  }
  QCOMPARE(charts, kRecords);
}

void HistoryViewBench::clickOnChartRendersIt() {
  HistoryTree* history = window_->historyTree();
  QTreeWidgetItem* chart = history->chartNode({1, 0});
  QVERIFY(chart != nullptr);
  QBENCHMARK {
    QVERIFY(history->OpenChart(chart));
  }
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::HistoryViewBench)
#include "history_view_bench.moc"
