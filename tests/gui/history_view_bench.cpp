// Speed of the desktop program with a large history: opening the main window
// on a data folder of 100,000 complete records (the tree listed and shown),
// filling the tree again, and the click on a chart that renders it (standard
// layout). Not a test: run it by hand, best with CPU time as the measure:
//
//   QT_QPA_PLATFORM=offscreen build/bin/xuanshu_gui_bench -perf -perfcounter task-clock
//
// XUANSHU_BENCH_RECORDS sets another number of records.
#include <QTest>
#include <cstdlib>
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
  void openWindowOnTheRecords();
  void treeFillAgain();
  void clickOnChartRendersIt();

 private:
  static constexpr int kGroups = 20;
  int records_ = 100000;
  ProgramFolder folder_;
  std::unique_ptr<MainWindow> window_;
};

// One complete record, saved under 100,000 names in 20 groups.
void HistoryViewBench::initTestCase() {
  if (const char* count = std::getenv("XUANSHU_BENCH_RECORDS")) records_ = std::atoi(count);
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
  for (int i = 0; i < records_; ++i) {
    const Text name = u"测试" + Num(i);
    record.Set(u"main", u"name", name);
    record.Set(u"main", u"class", u"分组" + Num(i % kGroups));
    std::ofstream out(folder_.dataDir() / PathFromText(name + u".bze"), std::ios::binary);
    out << record.SerializeUtf8();
  }
  AppConfig(folder_.home().configPath).WriteLayout(kStandardLayout);
}

// The start of the program after its application object: the window built,
// the history listed into the tree, shown and laid out.
void HistoryViewBench::openWindowOnTheRecords() {
  QBENCHMARK_ONCE {
    window_ = folder_.OpenWindow();
  }
  QVERIFY(window_);
}

void HistoryViewBench::treeFillAgain() {
  HistoryTree* history = window_->historyTree();
  QBENCHMARK {
    history->InitialUpdate();
  }
  int charts = 0;
  for (int g = 0; g < history->rootNode()->childCount(); ++g) {
    charts += history->rootNode()->child(g)->childCount();
  }
  QCOMPARE(charts, records_);
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
