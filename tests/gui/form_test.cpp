// The input form: initial fill, request messages, the lunar month and day
// lists, the keyboard rules and the layout buttons.
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

#include "birth_form.h"
#include "drop_down_list.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "main_window.h"
#include "qt_text.h"
#include "record/app_config.h"
#include "record/record_file.h"
#include "report_pane.h"
#include "warning_bar.h"

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
  void escapeClosesAnOpenListOnly();
  void formFitsSmallScreens_data();
  void formFitsSmallScreens();
  void listsPopUpAtMostTwentyRows();
  void messageFocusesTheFieldItNames();
  void buttonsWithNothingToActOnAreDisabled();
  void layoutButtonWithoutChartRunsTheChartAction();
  void birthplaceFieldOffersPlacesAsYouType();
  void birthplaceGoesIntoTheChartAndComesBackWithIt();
  void settingsDialogKeepsTheChoicesInConfig();
  void traditionalScriptChangesEveryTextButNoRecord();
  void extrasSettingRendersTheShownChartAgain();
  void pillarSearchRefusesPillarsNoBirthHas();
  void pillarSearchFillsTheFormWithAMomentOfThosePillars();

 private:
  static DropDownList* List(MainWindow& window, const char* name) {
    return window.birthForm()->findChild<DropDownList*>(QLatin1String(name));
  }
  static QRadioButton* Radio(MainWindow& window, const char* name) {
    return window.birthForm()->findChild<QRadioButton*>(QLatin1String(name));
  }
  static QLineEdit* Birthplace(MainWindow& window) {
    return window.birthForm()->findChild<QLineEdit*>(QStringLiteral("birthplaceEdit"));
  }
  // A chart of 15 July 1988 at 12:00 on the clock.
  static void FillSummer1988(MainWindow& window, const QString& name, const QString& place) {
    SetName(window, name);
    SelectEntry(window, "yearList", u"1988"_qs);
    SelectEntry(window, "monthList", u"07"_qs);
    SelectEntry(window, "dayList", u"15"_qs);
    SelectEntry(window, "hourList", u"12"_qs);
    SelectEntry(window, "minuteList", u"00"_qs);
    Birthplace(window)->setText(place);
  }
};

void FormTest::initialFillMatchesTheForm() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  QVERIFY(window);
  QVERIFY(Radio(*window, "maleButton")->isChecked());
  QVERIFY(!Radio(*window, "femaleButton")->isChecked());
  QCOMPARE(Entries(*window, "calendarList"), (QStringList{u"公历"_qs, u"农历"_qs}));
  QCOMPARE(List(*window, "calendarList")->currentText(), u"公历"_qs);

  const QStringList years = Entries(*window, "yearList");
  QCOMPARE(years.size(), 148);
  QCOMPARE(years.first(), u"1901"_qs);
  QCOMPARE(years.last(), u"2048"_qs);
  QCOMPARE(List(*window, "yearList")->currentIndex(), 79);
  QCOMPARE(List(*window, "yearList")->currentText(), u"1980"_qs);

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
    const QStringList entries = Entries(*window, row.list);
    QVERIFY2(entries.size() == row.count, row.list);
    QVERIFY2(entries.first() == QLatin1String(row.first), row.list);
    QVERIFY2(List(*window, row.list)->currentText() == QLatin1String(row.selected), row.list);
  }
  QVERIFY(Radio(*window, "simpleLayoutButton")->isChecked());
  QCOMPARE(window->birthForm()->layout(), 0);
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
  auto window = folder.OpenWindow();
  QVERIFY(Radio(*window, button.toLatin1().constData())->isChecked());
  QCOMPARE(window->birthForm()->layout(), stored);
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
  auto window = folder.OpenWindow();
  if (filled < 1) SetName(*window, QString());
  if (filled >= 1) SetName(*window, u"张三"_qs);
  if (filled < 2) {
    QButtonGroup* sex = Radio(*window, "maleButton")->group();
    sex->setExclusive(false);
    Radio(*window, "maleButton")->setChecked(false);
    Radio(*window, "femaleButton")->setChecked(false);
    sex->setExclusive(true);
  }
  const char* lists[] = {"calendarList", "yearList", "monthList",
                         "dayList",      "hourList", "minuteList"};
  for (int i = 0; i < 6; ++i) {
    if (filled >= i + 3) continue;
    DropDownList* list = List(*window, lists[i]);
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(-1);
  }
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList{message});
  QVERIFY(std::filesystem::is_empty(folder.dataDir()));
}

void FormTest::lunarMonthListPlacesTheLeapMonthAfterItsMonth() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  SelectEntry(*window, "calendarList", u"农历"_qs);
  SelectEntry(*window, "yearList", u"2020"_qs);  // 闰四月
  DropDownList* months = List(*window, "monthList");
  months->showPopup();
  months->hidePopup();
  QStringList expected;
  for (const char* m : {"01", "02", "03", "04"}) expected << QLatin1String(m);
  expected << u"04 闰月"_qs;
  for (const char* m : {"05", "06", "07", "08", "09", "10", "11", "12"})
    expected << QLatin1String(m);
  QCOMPARE(months->entries(), expected);

  SelectEntry(*window, "yearList", u"2019"_qs);  // no leap month
  months->showPopup();
  months->hidePopup();
  QCOMPARE(months->entries().size(), 12);

  // Reopening keeps the choice: the leap entry stays selected.
  SelectEntry(*window, "yearList", u"2020"_qs);
  SelectEntry(*window, "monthList", u"04 闰月"_qs);
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
  auto window = folder.OpenWindow();
  SelectEntry(*window, "calendarList", calendar);
  SelectEntry(*window, "yearList", year);
  List(*window, "monthList")->showPopup();
  List(*window, "monthList")->hidePopup();
  SelectEntry(*window, "monthList", month);
  QCOMPARE(List(*window, "monthList")->currentText(), month);
  DropDownList* dayList = List(*window, "dayList");
  dayList->showPopup();
  dayList->hidePopup();
  QCOMPARE(dayList->count(), days);
  QCOMPARE(dayList->currentText(), u"01"_qs);
}

void FormTest::enterMovesFromNameToCalendarToYear() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  window->activateWindow();
  auto* name = window->birthForm()->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
  name->setFocus();
  QTest::keyClick(name, Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), List(*window, "calendarList"));
  QTest::keyClick(List(*window, "calendarList"), Qt::Key_Enter);
  QCOMPARE(QApplication::focusWidget(), List(*window, "yearList"));

  // Enter on the chart button computes: with an empty name that is the
  // name message.
  MessageLog log;
  SetName(*window, QString());
  auto* chart = window->birthForm()->findChild<QPushButton*>(QStringLiteral("chartButton"));
  chart->setFocus();
  QTest::keyClick(chart, Qt::Key_Return);
  QCOMPARE(log.Take(), QStringList{u"请输入姓名"_qs});
}

void FormTest::escapeEndsTheProgram() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  QSignalSpy quit(window->birthForm(), &BirthForm::quitRequested);
  auto* name = window->birthForm()->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
  QTest::keyClick(name, Qt::Key_Escape);
  QCOMPARE(quit.count(), 1);
  QVERIFY(!window->isVisible());
}

void FormTest::escapeClosesAnOpenListOnly() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  QSignalSpy quit(window->birthForm(), &BirthForm::quitRequested);
  for (const char* name :
       {"calendarList", "yearList", "monthList", "dayList", "hourList", "minuteList"}) {
    DropDownList* list = List(*window, name);
    list->setFocus();
    list->showPopup();
    QVERIFY2(list->view()->isVisible(), name);
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY2(popup != nullptr, name);
    QTest::keyClick(list->view(), Qt::Key_Escape);
    QVERIFY2(!list->view()->isVisible(), name);
    QVERIFY2(quit.isEmpty(), name);
    QVERIFY2(window->isVisible(), name);
  }
  // With nothing open, Escape in the form ends the program.
  QTest::keyClick(List(*window, "yearList"), Qt::Key_Escape);
  QCOMPARE(quit.count(), 1);
}

void FormTest::formFitsSmallScreens_data() {
  QTest::addColumn<QSize>("screen");
  // 1024×768 at scale 1, and 1920×1080 at scale 2 (960×540 in the
  // window's own pixels).
  QTest::newRow("1024x768") << QSize(1024, 768);
  QTest::newRow("1920x1080 at scale 2") << QSize(960, 540);
}

// Every control of the form and the report's scroll bar are on screen, with
// room left on the first row for the birthplace field.
void FormTest::formFitsSmallScreens() {
  QFETCH(QSize, screen);
  ProgramFolder folder;
  auto window = folder.OpenWindow(screen);
  QVERIFY(window->minimumSizeHint().width() <= screen.width());
  QCOMPARE(window->size(), screen);
  const QRect shown = window->rect();
  for (QWidget* control : window->birthForm()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!control->isVisible()) continue;
    const QRect at(control->mapTo(window.get(), QPoint(0, 0)), control->size());
    QVERIFY2(shown.contains(at),
             qPrintable(control->objectName() + QLatin1Char(' ') + QString::number(at.right())));
  }
  auto* female = window->birthForm()->findChild<QRadioButton*>(QStringLiteral("femaleButton"));
  constexpr int kBirthplaceField = 240;  // label and a ten-character edit
  QVERIFY(female->mapTo(window.get(), QPoint(female->width(), 0)).x() + kBirthplaceField <
          screen.width());
  QScrollBar* bar = window->reportPane()->verticalScrollBar();
  const QRect barAt(bar->mapTo(window.get(), QPoint(0, 0)), bar->size());
  QVERIFY(shown.contains(barAt));
}

void FormTest::listsPopUpAtMostTwentyRows() {
  ProgramFolder folder;
  auto window = folder.OpenWindow({1024, 768});
  DropDownList* years = List(*window, "yearList");
  years->showPopup();
  QAbstractItemView* view = years->view();
  const int rowHeight = view->sizeHintForRow(0);
  QVERIFY(view->isVisible());
  QVERIFY2(view->height() <= 21 * rowHeight, qPrintable(QString::number(view->height())));
  years->hidePopup();
}

void FormTest::messageFocusesTheFieldItNames() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  SetName(*window, QString());
  List(*window, "yearList")->setFocus();
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList{u"请输入姓名"_qs});
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("nameEdit"));

  SetName(*window, u"张三"_qs);
  {
    const QSignalBlocker blocker(List(*window, "dayList"));
    List(*window, "dayList")->setCurrentIndex(-1);
  }
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList{u"请输入日期"_qs});
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("dayList"));
}

void FormTest::buttonsWithNothingToActOnAreDisabled() {
  ProgramFolder folder;
  WriteRecord(folder.dataDir() / "a.bze", {u"甲", u"其他"});
  auto window = folder.OpenWindow();
  const auto enabled = [&](const char* name) {
    return window->birthForm()->findChild<QPushButton*>(QLatin1String(name))->isEnabled();
  };
  const char* reportButtons[] = {"selectAllButton", "copyButton", "printButton", "previewButton",
                                 "exportButton"};
  for (const char* name : reportButtons) QVERIFY2(!enabled(name), name);
  QVERIFY(enabled("fontButton") && enabled("aboutButton") && enabled("chartButton"));
  HistoryTree* tree = window->historyTree();
  tree->setCurrentItem(tree->chartNode({0, 0}));
  tree->OpenSelectedNode();
  for (const char* name : reportButtons) QVERIFY2(enabled(name), name);
  tree->clearSelection();
  QVERIFY(!enabled("exportButton"));
  QVERIFY(enabled("printButton"));
}

void FormTest::layoutButtonWithoutChartRunsTheChartAction() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  SetName(*window, QString());
  QTest::mouseClick(Radio(*window, "standardLayoutButton"), Qt::LeftButton);
  QCOMPARE(log.Take(), QStringList{u"请输入姓名"_qs});
  QCOMPARE(AppConfig(folder.home().configPath).ReadLayout(), 1);
  QCOMPARE(window->birthForm()->layout(), 1);
}

// Type-ahead over the place table, usable with the keyboard alone.
void FormTest::birthplaceFieldOffersPlacesAsYouType() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  QLineEdit* field = Birthplace(*window);
  field->setFocus();
  QInputMethodEvent typed;  // how an input method hands over Chinese text
  typed.setCommitString(u"乌鲁"_qs);
  QApplication::sendEvent(field, &typed);
  QAbstractItemView* offered = field->completer()->popup();
  QTRY_VERIFY(offered->isVisible());
  QCOMPARE(offered->model()->index(0, 0).data().toString(), u"乌鲁木齐（新疆）"_qs);
  QTest::keyClick(offered, Qt::Key_Down);
  QTest::keyClick(offered, Qt::Key_Return);
  QCOMPARE(field->text(), u"乌鲁木齐（新疆）"_qs);
  QTRY_VERIFY(!offered->isVisible());
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("calendarList"));
}

void FormTest::birthplaceGoesIntoTheChartAndComesBackWithIt() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  FillSummer1988(*window, u"火星人"_qs, u"火星"_qs);
  ClickChartButton(*window);
  QCOMPARE(log.Take(),
           QStringList{u"未知的出生地：火星（请从出生地列表中选择，或填写经度，如116.4）"_qs});
  QCOMPARE(QApplication::focusWidget(), Birthplace(*window));
  QVERIFY(!std::filesystem::exists(folder.dataDir() / "火星人.bze"));

  FillSummer1988(*window, u"古丽"_qs, u"乌鲁木齐"_qs);
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList{});
  const IniDocument record = LoadIniFile(folder.dataDir() / "古丽.bze");
  QCOMPARE(Q(record.ReadString(u"chusheng", u"didian")), u"乌鲁木齐（新疆）"_qs);
  QCOMPARE(Q(record.ReadString(u"chusheng", u"zhentaiyang")), u"1988:07:15:08:44"_qs);
  const WarningBar* bar = window->warningBar();
  QVERIFY(bar->isVisible());
  QCOMPARE(
      bar->lines(),
      QStringList{
          u"提示：出生时当地实行夏令时，已减去1小时，按标准时间1988年07月15日11时00分计算"_qs});
  QVERIFY(window->statusBar()->currentMessage().contains(u"提示：出生时当地实行夏令时"_qs));

  // A chart without a birthplace empties the field and the bar; opening the
  // first chart again brings both back.
  FillSummer1988(*window, u"无地"_qs, QString());
  SelectEntry(*window, "hourList", u"10"_qs);
  ClickChartButton(*window);
  QVERIFY(!bar->isVisible());
  HistoryTree* tree = window->historyTree();
  const auto at = tree->store().FindChartByPath(folder.dataDir() / "古丽.bze");
  QVERIFY(at);
  Birthplace(*window)->clear();
  tree->OpenChart(tree->chartNode(*at));
  QCOMPARE(Birthplace(*window)->text(), u"乌鲁木齐（新疆）"_qs);
  QVERIFY(bar->isVisible());
}

void FormTest::settingsDialogKeepsTheChoicesInConfig() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  int shown = 0;
  const auto watch = WhenModal([&](QWidget* modal) {
    if (modal->objectName() != QStringLiteral("settingsDialog")) return false;
    ++shown;
    modal->findChild<QRadioButton*>(QStringLiteral("astronomicalTerms"))->setChecked(true);
    modal->findChild<QRadioButton*>(QStringLiteral("sameDayZi"))->setChecked(true);
    auto* place = modal->findChild<QLineEdit*>(QStringLiteral("defaultBirthplaceEdit"));
    place->setText(shown == 1 ? u"火星"_qs : u"喀什"_qs);
    QMetaObject::invokeMethod(modal, "accept");
    return shown == 2;  // the first answer is refused and the dialog stays
  });
  QTest::mouseClick(window->birthForm()->findChild<QPushButton*>(QStringLiteral("settingsButton")),
                    Qt::LeftButton);
  QCOMPARE(shown, 2);
  QCOMPARE(log.Take(),
           QStringList{u"未知的出生地：火星（请从出生地列表中选择，或填写经度，如116.4）"_qs});
  const BirthSettings stored = AppConfig(folder.home().configPath).ReadBirthSettings();
  QCOMPARE(Q(stored.terms), u"astronomical"_qs);
  QCOMPARE(Q(stored.zi), u"same-day"_qs);
  QCOMPARE(Q(stored.place), u"喀什"_qs);
  QCOMPARE(Birthplace(*window)->text(), u"喀什"_qs);  // the empty field takes the new default

  FillSummer1988(*window, u"甲"_qs, u"喀什"_qs);
  ClickChartButton(*window);
  const IniDocument record = LoadIniFile(folder.dataDir() / "甲.bze");
  QCOMPARE(Q(record.ReadString(u"chusheng", u"jieqi")), u"astronomical"_qs);
  QCOMPARE(Q(record.ReadString(u"chusheng", u"zishi")), u"same-day"_qs);
}

// Chooses a script in 设置 and accepts the dialog.
static void ChooseScript(MainWindow& window, const char* choice) {
  const auto watch = WhenModal([&](QWidget* modal) {
    if (modal->objectName() != QStringLiteral("settingsDialog")) return false;
    modal->findChild<QRadioButton*>(QLatin1String(choice))->setChecked(true);
    QMetaObject::invokeMethod(modal, "accept");
    return true;
  });
  QTest::mouseClick(window.birthForm()->findChild<QPushButton*>(QStringLiteral("settingsButton")),
                    Qt::LeftButton);
}

void FormTest::traditionalScriptChangesEveryTextButNoRecord() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  const auto button = [&](const char* name) {
    return window->birthForm()->findChild<QAbstractButton*>(QLatin1String(name))->text();
  };
  FillSummer1988(*window, u"古丽"_qs, u"乌鲁木齐"_qs);
  ClickChartButton(*window);
  const std::filesystem::path record = folder.dataDir() / "古丽.bze";
  const std::string simplifiedRecord = ReadBytes(record);
  const Text simplifiedReport = window->reportPane()->reportText();

  ChooseScript(*window, "traditionalScript");
  QCOMPARE(log.Take(), QStringList{});
  QCOMPARE(AppConfig(folder.home().configPath).ReadScript(), Script::kTraditional);
  // The form, the lists, the tree and the report change at once.
  QCOMPARE(button("chartButton"), u"八字排盤"_qs);
  QCOMPARE(button("settingsButton"), u"設定"_qs);
  QCOMPARE(button("printButton"), u"列印"_qs);
  QCOMPARE(button("hongKongLayoutButton"), u"港臺版"_qs);
  QCOMPARE(button("femaleButton"), u"女"_qs);
  QCOMPARE(Entries(*window, "calendarList"), (QStringList{u"公曆"_qs, u"農曆"_qs}));
  QCOMPARE(window->historyTree()->rootNode()->text(0), u"歷史排盤"_qs);
  const Text report = window->reportPane()->reportText();
  QVERIFY(report.starts_with(u"姓名：古丽　性別：男　"));  // the name as typed
  QVERIFY(report.find(u"出生地：烏魯木齊（新疆）") != Text::npos);
  QCOMPARE(report.size(), simplifiedReport.size());
  QCOMPARE(
      window->warningBar()->lines(),
      QStringList{
          u"提示：出生時當地實行夏令時，已減去1小時，按標準時間1988年07月15日11時00分計算"_qs});
  QCOMPARE(Birthplace(*window)->text(), u"烏魯木齊"_qs);  // a place of the table converts
  QCOMPARE(ReadBytes(record), simplifiedRecord);

  // A chart cast in Traditional, with the place typed in Traditional, is the
  // same record as in Simplified; the lunar leap month entry reads 閏月.
  FillSummer1988(*window, u"古丽"_qs, u"烏魯木齊"_qs);
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList{});
  QCOMPARE(ReadBytes(record), simplifiedRecord);
  SelectEntry(*window, "calendarList", u"農曆"_qs);
  SelectEntry(*window, "yearList", u"1984"_qs);
  QVERIFY(Entries(*window, "monthList").contains(u"10 閏月"_qs));

  ChooseScript(*window, "simplifiedScript");
  QCOMPARE(AppConfig(folder.home().configPath).ReadScript(), Script::kSimplified);
  QCOMPARE(button("chartButton"), u"八字排盘"_qs);
  QCOMPARE(Entries(*window, "calendarList"), (QStringList{u"公历"_qs, u"农历"_qs}));
  QCOMPARE(window->historyTree()->rootNode()->text(0), u"历史排盘"_qs);
}

void FormTest::extrasSettingRendersTheShownChartAgain() {
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  FillSummer1988(*window, u"乙"_qs, QString());
  ClickChartButton(*window);
  const QString plain = Q(window->reportPane()->reportText());
  QVERIFY(!plain.contains(u"纳音"_qs));
  for (const bool on : {true, false}) {
    const auto watch = WhenModal([&](QWidget* modal) {
      if (modal->objectName() != QStringLiteral("settingsDialog")) return false;
      modal->findChild<QCheckBox*>(QStringLiteral("showExtras"))->setChecked(on);
      QMetaObject::invokeMethod(modal, "accept");
      return true;
    });
    QTest::mouseClick(
        window->birthForm()->findChild<QPushButton*>(QStringLiteral("settingsButton")),
        Qt::LeftButton);
    QCOMPARE(AppConfig(folder.home().configPath).ReadShowExtras(), on);
    const QString shown = Q(window->reportPane()->reportText());
    QCOMPARE(shown.contains(u"纳音"_qs), on);
    QCOMPARE(shown.contains(u"胎元"_qs), on);
    if (!on) QCOMPARE(shown, plain);
  }
}

// Opens 反查, types the pillars, searches and hands the dialog to `finish`.
static void RunPillarSearch(MainWindow& window, const QStringList& pillars,
                            const std::function<void(QDialog*)>& finish) {
  const auto watch = WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (dialog == nullptr || modal->objectName() != QStringLiteral("pillarSearchDialog"))
      return false;
    const char* names[] = {"yearPillar", "monthPillar", "dayPillar", "hourPillar"};
    for (int i = 0; i < 4; ++i) {
      modal->findChild<QComboBox*>(QLatin1String(names[i]))->setEditText(pillars[i]);
    }
    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("searchButton")),
                      Qt::LeftButton);
    finish(dialog);
    return true;
  });
  QTest::mouseClick(
      window.birthForm()->findChild<QPushButton*>(QStringLiteral("pillarSearchButton")),
      Qt::LeftButton);
}

void FormTest::pillarSearchRefusesPillarsNoBirthHas() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  int listed = -1;
  RunPillarSearch(*window, {u"甲子"_qs, u"甲子"_qs, u"甲子"_qs, u"甲子"_qs}, [&](QDialog* dialog) {
    listed = dialog->findChild<QListWidget*>(QStringLiteral("moments"))->count();
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("fillButton"))->isEnabled());
    dialog->reject();
  });
  QCOMPARE(listed, 0);
  const QStringList messages = log.Take();
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages.front().contains(u"月柱“甲子”"_qs), qPrintable(messages.front()));
}

// The moment filled in computes back to the pillars searched for, as Beijing
// time: the birthplace that would move it is cleared.
void FormTest::pillarSearchFillsTheFormWithAMomentOfThosePillars() {
  ProgramFolder folder;
  MessageLog log;
  auto window = folder.OpenWindow();
  FillSummer1988(*window, u"反查"_qs, u"乌鲁木齐"_qs);
  QStringList listed;
  RunPillarSearch(*window, {u"庚午"_qs, u"辛巳"_qs, u"壬午"_qs, u"甲辰"_qs}, [&](QDialog* dialog) {
    auto* moments = dialog->findChild<QListWidget*>(QStringLiteral("moments"));
    for (int row = 0; row < moments->count(); ++row) listed << moments->item(row)->text();
    moments->setCurrentRow(moments->count() - 1);
    QMetaObject::invokeMethod(dialog, "accept");
  });
  QCOMPARE(listed, (QStringList{u"1930-06-01 07:00–08:59"_qs, u"1990-05-17 07:00–08:59"_qs}));
  QCOMPARE(Birthplace(*window)->text(), QString());
  QCOMPARE(List(*window, "yearList")->currentText(), u"1990"_qs);
  QCOMPARE(List(*window, "hourList")->currentText(), u"07"_qs);
  QVERIFY(window->statusBar()->currentMessage().contains(u"出生地已清空"_qs));
  ClickChartButton(*window);
  QCOMPARE(log.Take(), QStringList());
  const IniDocument record = LoadIniFile(folder.dataDir() / "反查.bze");
  QStringList pillars;
  for (const char16_t* key : {u"year", u"month", u"day", u"hour"})
    pillars << Q(record.ReadString(u"shizhu", key));
  QCOMPARE(pillars, (QStringList{u"庚午"_qs, u"辛巳"_qs, u"壬午"_qs, u"甲辰"_qs}));
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::FormTest)
#include "form_test.moc"
