// The input form: initial fill, request messages, the lunar month and day
// lists, the keyboard rules and the layout buttons.
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "buttom_letf_view.h"
#include "drop_down_list.h"
#include "gui_fixture.h"
#include "qt_text.h"
#include "record/app_config.h"
#include "record/record_file.h"
#include "top_view.h"

namespace xuanshu::gui {

class FormTest : public QObject {
  Q_OBJECT

 private slots:
  void initialFillMatchesTheForm();
  void storedLayoutChecksItsButton_data();
  void storedLayoutChecksItsButton();
  void requestShowsOnlyTheFirstMissingField_data();
  void requestShowsOnlyTheFirstMissingField();
  void lunarMonthListPlacesTheLeapMonthAfterItsMonth();
  void dayListFollowsTheChosenMonth_data();
  void dayListFollowsTheChosenMonth();
  void enterMovesFromNameToCalendarToYear();
  void escapeEndsTheProgram();
  void layoutButtonWithoutChartRunsTheChartAction();

 private:
  static DropDownList* List(CMainFrame& frame, const char* name) {
    return frame.topView()->findChild<DropDownList*>(QLatin1String(name));
  }
  static QRadioButton* Radio(CMainFrame& frame, const char* name) {
    return frame.topView()->findChild<QRadioButton*>(QLatin1String(name));
  }
};

void FormTest::initialFillMatchesTheForm() {
  ProgramFolder folder;
  auto frame = folder.OpenWindow();
  QVERIFY(frame);
  QVERIFY(Radio(*frame, "maleButton")->isChecked());
  QVERIFY(!Radio(*frame, "femaleButton")->isChecked());
  QCOMPARE(Entries(*frame, "calendarList"), (QStringList{u"公历"_qs, u"农历"_qs}));
  QCOMPARE(List(*frame, "calendarList")->currentText(), u"公历"_qs);

  const QStringList years = Entries(*frame, "yearList");
  QCOMPARE(years.size(), 148);
  QCOMPARE(years.first(), u"1901"_qs);
  QCOMPARE(years.last(), u"2048"_qs);
  QCOMPARE(List(*frame, "yearList")->currentIndex(), 79);
  QCOMPARE(List(*frame, "yearList")->currentText(), u"1980"_qs);

  struct Row {
    const char* list;
    int count;
    const char* first;
    const char* selected;
  };
  const Row rows[] = {{"monthList", 12, "01", "01"},
                      {"dayList", 31, "01", "01"},
                      {"hourList", 24, "00", "01"},
                      {"minuteList", 60, "00", "01"}};
  for (const Row& row : rows) {
    const QStringList entries = Entries(*frame, row.list);
    QVERIFY2(entries.size() == row.count, row.list);
    QVERIFY2(entries.first() == QLatin1String(row.first), row.list);
    QVERIFY2(List(*frame, row.list)->currentText() == QLatin1String(row.selected), row.list);
  }
  QVERIFY(Radio(*frame, "simpleLayoutButton")->isChecked());
  QCOMPARE(frame->topView()->layout(), 0);
}

void FormTest::storedLayoutChecksItsButton_data() {
  QTest::addColumn<int>("stored");
  QTest::addColumn<QString>("button");
  QTest::newRow("0 simple") << 0 << "simpleLayoutButton";
  QTest::newRow("1 standard") << 1 << "standardLayoutButton";
  QTest::newRow("2 Hong Kong/Taiwan") << 2 << "hongKongLayoutButton";
  QTest::newRow("7 checks 港台版") << 7 << "hongKongLayoutButton";
}

void FormTest::storedLayoutChecksItsButton() {
  QFETCH(int, stored);
  QFETCH(QString, button);
  ProgramFolder folder;
  AppConfig(folder.home().configPath).WriteLayout(stored);
  auto frame = folder.OpenWindow();
  QVERIFY(Radio(*frame, button.toLatin1().constData())->isChecked());
  QCOMPARE(frame->topView()->layout(), stored);
}

void FormTest::requestShowsOnlyTheFirstMissingField_data() {
  // How many fields, in the form's order, are filled before the check runs.
  QTest::addColumn<int>("filled");
  QTest::addColumn<QString>("message");
  QTest::newRow("every field empty") << 0 << u"请输入姓名"_qs;
  QTest::newRow("no sex") << 1 << u"请选择性别"_qs;
  QTest::newRow("no calendar") << 2 << u"请输入日历类别"_qs;
  QTest::newRow("no year") << 3 << u"请输入年份"_qs;
  QTest::newRow("no month") << 4 << u"请输入月份"_qs;
  QTest::newRow("no day") << 5 << u"请输入日期"_qs;
  QTest::newRow("no hour") << 6 << u"请输入日期"_qs;
  QTest::newRow("no minute") << 7 << u"请输入日期"_qs;
}

void FormTest::requestShowsOnlyTheFirstMissingField() {
  QFETCH(int, filled);
  QFETCH(QString, message);
  ProgramFolder folder;
  MessageLog log;
  auto frame = folder.OpenWindow();
  if (filled < 1) SetName(*frame, QString());
  if (filled >= 1) SetName(*frame, u"张三"_qs);
  if (filled < 2) {
    QButtonGroup* sex = Radio(*frame, "maleButton")->group();
    sex->setExclusive(false);
    Radio(*frame, "maleButton")->setChecked(false);
    Radio(*frame, "femaleButton")->setChecked(false);
    sex->setExclusive(true);
  }
  const char* lists[] = {"calendarList", "yearList", "monthList",
                         "dayList",      "hourList", "minuteList"};
  for (int i = 0; i < 6; ++i) {
    if (filled >= i + 3) continue;
    DropDownList* list = List(*frame, lists[i]);
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(-1);
  }
  ClickChartButton(*frame);
  QCOMPARE(log.Take(), QStringList{message});
  QVERIFY(std::filesystem::is_empty(folder.dataDir()));
}

void FormTest::lunarMonthListPlacesTheLeapMonthAfterItsMonth() {
  ProgramFolder folder;
  auto frame = folder.OpenWindow();
  SelectEntry(*frame, "calendarList", u"农历"_qs);
  SelectEntry(*frame, "yearList", u"2020"_qs);  // 闰四月
  DropDownList* months = List(*frame, "monthList");
  months->showPopup();
  months->hidePopup();
  QStringList expected;
  for (const char* m : {"01", "02", "03", "04"}) expected << QLatin1String(m);
  expected << u"04 闰月"_qs;
  for (const char* m : {"05", "06", "07", "08", "09", "10", "11", "12"})
    expected << QLatin1String(m);
  QCOMPARE(months->entries(), expected);

  SelectEntry(*frame, "yearList", u"2019"_qs);  // no leap month
  months->showPopup();
  months->hidePopup();
  QCOMPARE(months->entries().size(), 12);

  // Reopening keeps the choice: the leap entry stays selected.
  SelectEntry(*frame, "yearList", u"2020"_qs);
  SelectEntry(*frame, "monthList", u"04 闰月"_qs);
  months->showPopup();
  months->hidePopup();
  QCOMPARE(months->currentText(), u"04 闰月"_qs);
}

void FormTest::dayListFollowsTheChosenMonth_data() {
  QTest::addColumn<QString>("calendar");
  QTest::addColumn<QString>("year");
  QTest::addColumn<QString>("month");
  QTest::addColumn<int>("days");
  QTest::newRow("lunar 2020 四月 (long)") << u"农历"_qs << "2020"
                                          << "04" << 30;
  QTest::newRow("lunar 2020 闰四月 (short)") << u"农历"_qs << "2020" << u"04 闰月"_qs << 29;
  QTest::newRow("lunar 2017 闰六月 (long)") << u"农历"_qs << "2017" << u"06 闰月"_qs << 30;
  QTest::newRow("Gregorian February 2000") << u"公历"_qs << "2000"
                                           << "02" << 29;
  QTest::newRow("Gregorian February common year") << u"公历"_qs << "1981"
                                                  << "02" << 28;
  QTest::newRow("Gregorian April") << u"公历"_qs << "1981"
                                   << "04" << 30;
}

void FormTest::dayListFollowsTheChosenMonth() {
  QFETCH(QString, calendar);
  QFETCH(QString, year);
  QFETCH(QString, month);
  QFETCH(int, days);
  ProgramFolder folder;
  auto frame = folder.OpenWindow();
  SelectEntry(*frame, "calendarList", calendar);
  SelectEntry(*frame, "yearList", year);
  List(*frame, "monthList")->showPopup();
  List(*frame, "monthList")->hidePopup();
  SelectEntry(*frame, "monthList", month);
  QCOMPARE(List(*frame, "monthList")->currentText(), month);
  DropDownList* dayList = List(*frame, "dayList");
  dayList->showPopup();
  dayList->hidePopup();
  QCOMPARE(dayList->count(), days);
  QCOMPARE(dayList->currentText(), u"01"_qs);
}

void FormTest::enterMovesFromNameToCalendarToYear() {
  ProgramFolder folder;
  auto frame = folder.OpenWindow();
  frame->activateWindow();
  auto* name = frame->topView()->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
  name->setFocus();
  QTest::keyClick(name, Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), List(*frame, "calendarList"));
  QTest::keyClick(List(*frame, "calendarList"), Qt::Key_Enter);
  QCOMPARE(QApplication::focusWidget(), List(*frame, "yearList"));

  // Enter on the chart button computes: with an empty name that is the
  // name message.
  MessageLog log;
  SetName(*frame, QString());
  auto* chart = frame->topView()->findChild<QPushButton*>(QStringLiteral("chartButton"));
  chart->setFocus();
  QTest::keyClick(chart, Qt::Key_Return);
  QCOMPARE(log.Take(), QStringList{u"请输入姓名"_qs});
}

void FormTest::escapeEndsTheProgram() {
  ProgramFolder folder;
  auto frame = folder.OpenWindow();
  QSignalSpy quit(frame->topView(), &CTopView::quitRequested);
  auto* name = frame->topView()->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
  QTest::keyClick(name, Qt::Key_Escape);
  QCOMPARE(quit.count(), 1);
  QVERIFY(!frame->isVisible());
}

void FormTest::layoutButtonWithoutChartRunsTheChartAction() {
  ProgramFolder folder;
  MessageLog log;
  auto frame = folder.OpenWindow();
  SetName(*frame, QString());
  QTest::mouseClick(Radio(*frame, "standardLayoutButton"), Qt::LeftButton);
  QCOMPARE(log.Take(), QStringList{u"请输入姓名"_qs});
  QCOMPARE(AppConfig(folder.home().configPath).ReadLayout(), 1);
  QCOMPARE(frame->topView()->layout(), 1);
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::FormTest)
#include "form_test.moc"
