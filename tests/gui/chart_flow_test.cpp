// One chart from the form to the tree and the report pane, and what a click
// on a saved chart or a layout button shows again.
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>

#include "birth_form.h"
#include "drop_down_list.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "qt_text.h"
#include "record/app_config.h"
#include "report/report_renderer.h"
#include "report_pane.h"

namespace xuanshu::gui {
namespace {

Text RenderedText(const std::filesystem::path& record, int layout) {
  CollectingSink sink;
  RenderChart(record, layout, sink);
  return sink.PlainText();
}

// The pane's document holds one paragraph break where the report has CR LF.
QString AsDocumentText(TextView report) {
  QString text = ToQString(report);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

void FillForm(MainWindow& window, const QString& name, const QString& year, const QString& month,
              const QString& day) {
  SetName(window, name);
  SelectEntry(window, "yearList", year);
  SelectEntry(window, "monthList", month);
  SelectEntry(window, "dayList", day);
  SelectEntry(window, "hourList", QStringLiteral("08"));
  SelectEntry(window, "minuteList", QStringLiteral("30"));
}

QRadioButton* LayoutButton(MainWindow& window, const char* name) {
  return window.birthForm()->findChild<QRadioButton*>(QLatin1String(name));
}

void ClickNode(MainWindow& window, QTreeWidgetItem* node) {
  HistoryTree* tree = window.historyTree();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

}  // namespace

class ChartFlowTest : public QObject {
  Q_OBJECT

 private slots:
  void computedChartIsListedAndShown();
  void pieceColoursReachThePane();
  void failedComputationChangesNothing();
  void recomputingKeepsTheChartInItsGroup();
  void newChartGoesToTheSelectedGroup();
  void clickOnChartRendersAndRefillsTheForm();
  void layoutButtonRendersThePressedChartAgain();
};

void ChartFlowTest::computedChartIsListedAndShown() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  FillForm(*window, u"林文轩"_qs, u"1984"_qs, u"03"_qs, u"15"_qs);
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList());

  const std::filesystem::path record = folder.dataDir() / PathFromText(u"林文轩.bze");
  QVERIFY(std::filesystem::exists(record));
  QCOMPARE(ReadMainKey(record, u"class"), Text(u"其他"));

  HistoryTree* tree = window->historyTree();
  QTreeWidgetItem* chart = tree->chartNode({0, 0});
  QVERIFY(chart != nullptr);
  QCOMPARE(chart->text(0), u"林文轩"_qs);
  QCOMPARE(tree->selectedNode(), chart);
  QVERIFY(tree->groupNode(0)->isExpanded());

  const Text expected = RenderedText(record, kSimpleLayout);
  QVERIFY(!expected.empty());
  QCOMPARE(Q(window->reportPane()->reportText()), Q(expected));
  QCOMPARE(window->reportPane()->toPlainText(), AsDocumentText(expected));
}

void ChartFlowTest::pieceColoursReachThePane() {
  ProgramFolder folder;
  AppConfig(folder.home().configPath).WriteLayout(kStandardLayout);
  auto window = folder.OpenWindow();
  FillForm(*window, u"陈思远"_qs, u"1992"_qs, u"07"_qs, u"09"_qs);
  ClickChartButton(*window);

  // Walk the document's fragments alongside the renderer's pieces: every
  // piece's characters carry its colour.
  const ReportPieces& pieces = window->reportPane()->reportPieces();
  QVERIFY(pieces.size() > 10);
  QString colouredText;
  QList<QColor> colours;
  for (QTextBlock block = window->reportPane()->document()->begin(); block.isValid();
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QString fragment = it.fragment().text();
      colouredText += fragment;
      for (int i = 0; i < fragment.size(); ++i) {
        colours << it.fragment().charFormat().foreground().color();
      }
    }
    colouredText += QLatin1Char('\n');
    colours << QColor();
  }
  int at = 0;
  for (const ReportPiece& piece : pieces) {
    const QString text = AsDocumentText(piece.text);
    const Rgb rgb = ColorRgb(piece.color);
    for (int i = 0; i < text.size(); ++i, ++at) {
      if (text[i] == QLatin1Char('\n')) continue;
      QVERIFY2(colouredText[at] == text[i], qPrintable(text));
      QVERIFY2(colours[at] == QColor(rgb.r, rgb.g, rgb.b), qPrintable(text));
    }
  }
}

void ChartFlowTest::failedComputationChangesNothing() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  FillForm(*window, u"林文轩"_qs, u"1984"_qs, u"03"_qs, u"15"_qs);
  ClickChartButton(*window);
  const Text shown = window->reportPane()->reportText();
  // A file where the data folder should be: no record can be written.
  std::filesystem::remove_all(folder.dataDir());
  QFile blocker(PathToQString(folder.dataDir()));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  FillForm(*window, u"陈思远"_qs, u"1992"_qs, u"07"_qs, u"09"_qs);
  ClickChartButton(*window);
  // The program's message, then what failed.
  const QString record = PathToQString(folder.dataDir() / "陈思远.bze");
  QCOMPARE(log.Take(), QStringList{u"生成排盘失败！无法保存排盘记录“"_qs + record +
                                   u"”：路径中有一段不是文件夹"_qs});
  QCOMPARE(window->historyTree()->groupNode(0)->childCount(), 1);
  QCOMPARE(Q(window->reportPane()->reportText()), Q(shown));
}

void ChartFlowTest::recomputingKeepsTheChartInItsGroup() {
  ProgramFolder folder;
  const auto data = folder.dataDir();
  WriteRecord(data / "a.bze", {u"甲", u"同学"});
  WriteRecord(data / "b.bze", {u"乙", u"同事"});
  auto window = folder.OpenWindow();
  HistoryTree* tree = window->historyTree();
  // 同事 is selected, but 甲 already lies in 同学.
  tree->setCurrentItem(tree->groupNode(2));
  QCOMPARE(tree->groupNode(2)->text(0), u"同事"_qs);
  FillForm(*window, u"甲"_qs, u"1990"_qs, u"05"_qs, u"17"_qs);
  ClickChartButton(*window);
  const std::filesystem::path record = data / PathFromText(u"甲.bze");
  QCOMPARE(ReadMainKey(record, u"class"), Text(u"同学"));
  // The earlier entry of that name is replaced by the new record.
  QCOMPARE(tree->groupNode(1)->childCount(), 1);
  QCOMPARE(tree->groupNode(1)->child(0)->text(0), u"甲"_qs);
}

void ChartFlowTest::newChartGoesToTheSelectedGroup() {
  ProgramFolder folder;
  WriteRecord(folder.dataDir() / "b.bze", {u"乙", u"同事"});
  auto window = folder.OpenWindow();
  HistoryTree* tree = window->historyTree();

  struct Row {
    const char* what;
    QTreeWidgetItem* selected;
    const char16_t* name;
    const char16_t* group;
  };
  const Row rows[] = {
      {"group node selected", tree->groupNode(1), u"丙", u"同事"},
      {"chart node selected", tree->chartNode({1, 0}), u"丁", u"其他"},
      {"root selected", tree->rootNode(), u"戊", u"其他"},
  };
  for (const Row& row : rows) {
    tree->setCurrentItem(row.selected);
    FillForm(*window, QString::fromUtf16(row.name), u"1990"_qs, u"05"_qs, u"17"_qs);
    ClickChartButton(*window);
    const auto record = folder.dataDir() / PathFromText(Text(row.name) + u".bze");
    QVERIFY2(ReadMainKey(record, u"class") == Text(row.group), row.what);
  }
}

void ChartFlowTest::clickOnChartRendersAndRefillsTheForm() {
  ProgramFolder folder;
  const auto record = folder.dataDir() / "x.bze";
  WriteRecord(record, {u"王芳", u"其他", u"女", 1987, 11, 2, 21, 15});
  auto window = folder.OpenWindow();
  SelectEntry(*window, "calendarList", u"农历"_qs);
  HistoryTree* tree = window->historyTree();
  tree->expandAll();
  ClickNode(*window, tree->chartNode({0, 0}));

  BirthForm* form = window->birthForm();
  QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->text(), u"王芳"_qs);
  QVERIFY(form->findChild<QRadioButton*>(QStringLiteral("femaleButton"))->isChecked());
  const std::pair<const char*, const char*> expected[] = {
      {"calendarList", "公历"}, {"yearList", "1987"}, {"monthList", "11"},
      {"dayList", "02"},        {"hourList", "21"},   {"minuteList", "15"}};
  for (const auto& [list, text] : expected) {
    QVERIFY2(form->findChild<DropDownList*>(QLatin1String(list))->currentText() ==
                 QString::fromUtf8(text),
             list);
  }
  QCOMPARE(Q(window->reportPane()->reportText()), Q(RenderedText(record, kSimpleLayout)));
  QVERIFY(window->windowTitle().endsWith(u"）           "_qs + PathToQString(record)));
}

void ChartFlowTest::layoutButtonRendersThePressedChartAgain() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  FillForm(*window, u"周雨桐"_qs, u"2001"_qs, u"01"_qs, u"23"_qs);
  ClickChartButton(*window);
  const auto record = folder.dataDir() / PathFromText(u"周雨桐.bze");
  ClickNode(*window, window->historyTree()->chartNode({0, 0}));
  SetName(*window, QString());  // the form is not used while a chart was pressed

  struct Row {
    const char* button;
    int layout;
  };
  for (const Row& row :
       {Row{"standardLayoutButton", kStandardLayout}, Row{"hongKongLayoutButton", kHongKongLayout},
        Row{"simpleLayoutButton", kSimpleLayout}}) {
    QTest::mouseClick(LayoutButton(*window, row.button), Qt::LeftButton);
    QVERIFY2(window->reportPane()->reportText() == RenderedText(record, row.layout), row.button);
    QVERIFY2(AppConfig(folder.home().configPath).ReadLayout() == row.layout, row.button);
  }
  QCOMPARE(log.Take(), QStringList());
  QVERIFY(RenderedText(record, kStandardLayout) != RenderedText(record, kSimpleLayout));
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::ChartFlowTest)
#include "chart_flow_test.moc"
