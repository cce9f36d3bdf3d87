#include "birth_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "about_dialog.h"
#include "birthplace_edit.h"
#include "date_lists.h"
#include "drop_down_list.h"
#include "history_tree.h"
#include "message_box.h"
#include "pillar_search_dialog.h"
#include "qt_text.h"
#include "report_pane.h"
#include "settings_dialog.h"

namespace xuanshu {
namespace {

constexpr int kFirstYear = 1901;
constexpr int kYearCount = 148;        // 1901-2048
constexpr int kDefaultYearIndex = 79;  // 1980
constexpr int kNameFieldWidth = 120;

QString Digits(int value, int width) {
  return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QStringList YearEntries() {
  QStringList years;
  for (int year = kFirstYear; year < kFirstYear + kYearCount; ++year)
    years << QString::number(year);
  return years;
}

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

}  // namespace

BirthForm::BirthForm(const AppHome& home, QWidget* parent)
    : QWidget(parent), home_(home), config_(home.configPath) {
  CreateControls();
  ConnectControls();
  WatchKeys();
}

void BirthForm::AttachPanes(HistoryTree* history, ReportPane* report) {
  history_ = history;
  report_ = report;
  connect(report_, &ReportPane::shownRecordChanged, this, &BirthForm::UpdateCommandButtons);
  connect(history_, &QTreeWidget::itemSelectionChanged, this, &BirthForm::UpdateCommandButtons);
  UpdateCommandButtons();
}

void BirthForm::CreateControls() {
  nameEdit_ = Named(new QLineEdit(this), "nameEdit");
  nameEdit_->setMaxLength(static_cast<int>(kMaxNameLength));
  nameEdit_->setFixedWidth(kNameFieldWidth);
  maleButton_ = Named(new QRadioButton(this), "maleButton");
  femaleButton_ = Named(new QRadioButton(this), "femaleButton");
  auto* sexButtons = new QButtonGroup(this);
  sexButtons->addButton(maleButton_);
  sexButtons->addButton(femaleButton_);

  calendarList_ = Named(new DropDownList(4, this), "calendarList");
  yearList_ = Named(new DropDownList(4, this), "yearList");
  monthList_ = Named(new DropDownList(7, this), "monthList");  // "04 闰月"
  dayList_ = Named(new DropDownList(2, this), "dayList");
  hourList_ = Named(new DropDownList(2, this), "hourList");
  minuteList_ = Named(new DropDownList(2, this), "minuteList");
  chartButton_ = Named(new QPushButton(this), "chartButton");

  selectAllButton_ = Named(new QPushButton(this), "selectAllButton");
  copyButton_ = Named(new QPushButton(this), "copyButton");
  fontButton_ = Named(new QPushButton(this), "fontButton");
  printButton_ = Named(new QPushButton(this), "printButton");
  previewButton_ = Named(new QPushButton(this), "previewButton");
  exportButton_ = Named(new QPushButton(this), "exportButton");
  aboutButton_ = Named(new QPushButton(this), "aboutButton");
  settingsButton_ = Named(new QPushButton(this), "settingsButton");
  pillarSearchButton_ = Named(new QPushButton(this), "pillarSearchButton");
  birthplace_ = new BirthplaceEdit(this);

  layoutButtons_ = new QButtonGroup(this);
  layoutButtons_->addButton(Named(new QRadioButton(this), "simpleLayoutButton"), kSimpleLayout);
  layoutButtons_->addButton(Named(new QRadioButton(this), "standardLayoutButton"), kStandardLayout);
  layoutButtons_->addButton(Named(new QRadioButton(this), "hongKongLayoutButton"),
                            kHongKongTaiwanLayout);
  nameLabel_ = new QLabel(this);
  birthplaceLabel_ = new QLabel(this);
  birthTimeLabel_ = new QLabel(this);
  for (int i = 0; i < 5; ++i) unitLabels_.push_back(new QLabel(this));
  RetextControls();

  // Three rows keep the form inside 1024 pixels at scale 1 and inside 1920
  // at scale 2: the person, the birth moment with the chart button, the
  // report commands with the layout buttons.
  personRow_ = new QHBoxLayout;
  personRow_->addWidget(nameLabel_);
  personRow_->addWidget(nameEdit_);
  personRow_->addWidget(maleButton_);
  personRow_->addWidget(femaleButton_);
  personRow_->addSpacing(12);
  personRow_->addWidget(birthplaceLabel_);
  personRow_->addWidget(birthplace_);
  personRow_->addSpacing(12);
  personRow_->addWidget(pillarSearchButton_);
  personRow_->addStretch(1);

  auto* birthRow = new QHBoxLayout;
  birthRow->addWidget(birthTimeLabel_);
  birthRow->addWidget(calendarList_);
  DropDownList* const dateLists[] = {yearList_, monthList_, dayList_, hourList_, minuteList_};
  for (std::size_t i = 0; i < unitLabels_.size(); ++i) {
    birthRow->addWidget(dateLists[i]);
    birthRow->addWidget(unitLabels_[i]);
  }
  birthRow->addSpacing(12);
  birthRow->addWidget(chartButton_);
  birthRow->addStretch(1);

  auto* commandRow = new QHBoxLayout;
  for (QPushButton* button : {selectAllButton_, copyButton_, fontButton_, printButton_,
                              previewButton_, exportButton_, settingsButton_, aboutButton_}) {
    commandRow->addWidget(button);
  }
  commandRow->addSpacing(24);
  for (QAbstractButton* button : layoutButtons_->buttons()) commandRow->addWidget(button);
  commandRow->addStretch(1);

  // Every control keeps its natural width; the rows end in free space.
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    control->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }

  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(8, 6, 8, 6);
  rows->setSpacing(4);
  rows->addLayout(personRow_);
  rows->addLayout(birthRow);
  rows->addLayout(commandRow);
}

void BirthForm::RetextControls() {
  const std::pair<QAbstractButton*, const char16_t*> buttons[] = {
      {maleButton_, u"男"},
      {femaleButton_, u"女"},
      {chartButton_, u"八字排盘"},
      {selectAllButton_, u"全选"},
      {copyButton_, u"复制"},
      {fontButton_, u"字体"},
      {printButton_, u"打印"},
      {previewButton_, u"打印预览"},
      {exportButton_, u"导出"},
      {aboutButton_, u"关于"},
      {settingsButton_, u"设置"},
      {pillarSearchButton_, u"反查"},
      {layoutButtons_->button(kSimpleLayout), u"简易版"},
      {layoutButtons_->button(kStandardLayout), u"标准版"},
      {layoutButtons_->button(kHongKongTaiwanLayout), u"港台版"},
  };
  for (const auto& [button, text] : buttons) button->setText(ShownQString(text));
  pillarSearchButton_->setToolTip(ShownQString(u"八字反查：由四柱查出生时间"));
  nameLabel_->setText(ShownQString(u"姓    名："));
  birthplaceLabel_->setText(ShownQString(u"出生地："));
  birthTimeLabel_->setText(ShownQString(u"出生时间："));
  const char16_t* const units[] = {u"年", u"月", u"日", u"时", u"分"};
  for (std::size_t i = 0; i < unitLabels_.size(); ++i)
    unitLabels_[i]->setText(ShownQString(units[i]));
  // The lists keep their entry: the calendar by position, the month by its number.
  if (calendarList_->count() > 0) {
    const int calendar = calendarList_->currentIndex();
    calendarList_->ResetEntries(CalendarEntries(), QString());
    const QSignalBlocker blocker(calendarList_);
    calendarList_->setCurrentIndex(calendar);
    const Text month = SimplifiedOf(ToText(monthList_->currentText()));
    monthList_->ResetEntries(MonthEntries(gregorian(), selectedYear()), ShownQString(month));
  }
  birthplace_->RetextControls();
}

void BirthForm::ConnectControls() {
  connect(calendarList_, &QComboBox::currentIndexChanged, this,
          &BirthForm::OnCalendarOrYearChanged);
  connect(yearList_, &QComboBox::currentIndexChanged, this, &BirthForm::OnCalendarOrYearChanged);
  connect(monthList_, &QComboBox::currentIndexChanged, this, &BirthForm::OnMonthChanged);
  connect(monthList_, &DropDownList::aboutToOpen, this, &BirthForm::RebuildMonthList);
  connect(dayList_, &DropDownList::aboutToOpen, this, &BirthForm::RebuildDayList);

  connect(chartButton_, &QPushButton::clicked, this, &BirthForm::ComputeFromForm);
  connect(selectAllButton_, &QPushButton::clicked, this, [this] { report_->SelectAllText(); });
  connect(copyButton_, &QPushButton::clicked, this, [this] { report_->CopySelection(); });
  connect(fontButton_, &QPushButton::clicked, this, &BirthForm::OnFontButton);
  connect(printButton_, &QPushButton::clicked, this, [this] { report_->PrintReport(); });
  connect(previewButton_, &QPushButton::clicked, this, [this] { report_->PreviewReport(); });
  connect(exportButton_, &QPushButton::clicked, this, &BirthForm::OnExportButton);
  connect(aboutButton_, &QPushButton::clicked, this, &BirthForm::OnAboutButton);
  connect(settingsButton_, &QPushButton::clicked, this, &BirthForm::OnSettingsButton);
  connect(pillarSearchButton_, &QPushButton::clicked, this, &BirthForm::OnPillarSearchButton);
  connect(layoutButtons_, &QButtonGroup::idClicked, this, [this](int id) {
    if (layoutButtons_->button(id)->isChecked()) ChooseLayout(id);
  });
}

// Enter and Escape are looked at before the controls get them.
void BirthForm::WatchKeys() {
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void BirthForm::InitialFill() {
  maleButton_->setChecked(true);
  calendarList_->ResetEntries(CalendarEntries(), QString());
  yearList_->ResetEntries(YearEntries(), QString());
  {
    const QSignalBlocker blocker(yearList_);
    yearList_->setCurrentIndex(kDefaultYearIndex);
  }
  monthList_->ResetEntries(NumberEntries(1, 12), QString());
  dayList_->ResetEntries(NumberEntries(1, 31), QString());
  hourList_->ResetEntries(NumberEntries(0, 24), QStringLiteral("01"));
  minuteList_->ResetEntries(NumberEntries(0, 60), QStringLiteral("01"));

  birthplace_->setStoredText(config_.ReadBirthSettings().place);
  layout_ = config_.ReadLayout();
  const int checked =
      layout_ == kSimpleLayout || layout_ == kStandardLayout ? layout_ : int{kHongKongTaiwanLayout};
  layoutButtons_->button(checked)->setChecked(true);
  nameEdit_->setFocus();
}

// The calendar list holds 公历, then 农历.
bool BirthForm::gregorian() const {
  return calendarList_->currentIndex() == 0;
}

int BirthForm::selectedYear() const {
  return yearList_->currentText().toInt();
}

void BirthForm::RebuildMonthList() {
  monthList_->ResetEntries(MonthEntries(gregorian(), selectedYear()), monthList_->currentText());
}

void BirthForm::RebuildDayList() {
  const int days = MonthDayCount(gregorian(), selectedYear(), monthList_->currentText());
  dayList_->ResetEntries(NumberEntries(1, days > 0 ? days : 31), dayList_->currentText());
}

// The lists are rebuilt at once, not only when opened, so that a choice made
// with the keyboard or the wheel is always a real date.
void BirthForm::OnCalendarOrYearChanged() {
  monthList_->ResetEntries(MonthEntries(gregorian(), selectedYear()), QString());
  OnMonthChanged();
}

void BirthForm::OnMonthChanged() {
  const int days = MonthDayCount(gregorian(), selectedYear(), monthList_->currentText());
  dayList_->ResetEntries(NumberEntries(1, days > 0 ? days : 31), QString());
}

ChartForm BirthForm::ReadForm() const {
  ChartForm form;
  form.name = ToText(nameEdit_->text());
  form.maleChecked = maleButton_->isChecked();
  form.femaleChecked = femaleButton_->isChecked();
  // The request step reads the calendar and the leap month in Simplified.
  if (calendarList_->currentIndex() >= 0) form.calendar = gregorian() ? u"公历" : u"农历";
  form.year = ToText(yearList_->currentText());
  form.month = SimplifiedOf(ToText(monthList_->currentText()));
  form.day = ToText(dayList_->currentText());
  form.hour = ToText(hourList_->currentText());
  form.minute = ToText(minuteList_->currentText());
  return form;
}

void BirthForm::ComputeFromForm() {
  ChartForm form = ReadForm();
  form.group = history_->GroupForChart(form.name);
  RequestResult result = BuildChartRequest(form, home_.dataDir);
  if (const Text* message = std::get_if<Text>(&result)) {
    ShowMessage(this, ToQString(*message));
    if (QWidget* field = FieldNamedBy(ToQString(*message))) field->setFocus(Qt::OtherFocusReason);
    return;
  }
  ChartRequest& request = std::get<ChartRequest>(result);
  auto choices = ChosenBirthChoices();
  if (const Text* message = std::get_if<Text>(&choices)) {
    ShowMessage(this, ToQString(*message));
    birthplace_->setFocus(Qt::OtherFocusReason);
    return;
  }
  request.choices = std::get<BirthChoices>(std::move(choices));
  Text failure;  // 生成排盘失败！, and what failed when the record could not be saved
  if (!ComputeChart(engine_, request, &failure)) {
    ShowMessage(this, ToQString(failure));
    return;
  }
  if (history_->AddChart(request.recordPath)) {
    report_->RenderChart(request.recordPath, layout_);
    QString status = ShownQString(u"已保存 ") + PathToQString(request.recordPath);
    if (!engine_.warnings.empty()) {
      status += ShownQString(u"　提示：") + ShownQString(engine_.warnings.front());
      if (engine_.warnings.size() > 1) {
        status += ShownQString(u"（共%1条，见报告上方）").arg(engine_.warnings.size());
      }
    }
    emit statusMessage(status);
  }
}

std::variant<BirthChoices, Text> BirthForm::ChosenBirthChoices() const {
  const BirthSettings settings = config_.ReadBirthSettings();
  BirthChoiceTexts texts;
  texts.terms = settings.terms;
  texts.zi = settings.zi;
  texts.place = birthplace_->storedText();
  return ResolveBirthChoices(texts);
}

// The field that a request message names.
QWidget* BirthForm::FieldNamedBy(const QString& message) const {
  const std::pair<const char16_t*, QWidget*> fields[] = {
      {u"姓名", nameEdit_},     {u"性别", maleButton_}, {u"日历", calendarList_},
      {u"年份", yearList_},     {u"月份", monthList_},  {u"日期", dayList_},
      {u"出生地", birthplace_}, {u"经度", birthplace_},
  };
  for (const auto& [word, field] : fields) {
    if (message.contains(ShownQString(word))) return field;
  }
  return nullptr;
}

void BirthForm::UpdateCommandButtons() {
  const bool shown = report_ != nullptr && report_->hasReport();
  for (QPushButton* button : {selectAllButton_, copyButton_, printButton_, previewButton_}) {
    button->setEnabled(shown);
  }
  exportButton_->setEnabled(shown && history_ != nullptr && history_->selectedNode() != nullptr);
}

void BirthForm::FillFromChart(const ChartFormData& chart) {
  nameEdit_->setText(ToQString(chart.name));
  (chart.male ? maleButton_ : femaleButton_)->setChecked(true);
  calendarList_->SelectPrefix(CalendarEntries().front());
  yearList_->SelectPrefix(Digits(chart.year, 4));
  monthList_->ResetEntries(MonthEntries(true, selectedYear()), Digits(chart.month, 2));
  const int days = MonthDayCount(true, selectedYear(), monthList_->currentText());
  dayList_->ResetEntries(NumberEntries(1, days > 0 ? days : 31), Digits(chart.day, 2));
  hourList_->SelectPrefix(Digits(chart.hour, 2));
  minuteList_->SelectPrefix(Digits(chart.minute, 2));
  birthplace_->setStoredText(chart.birthplace);
}

void BirthForm::ChooseLayout(int layout) {
  layout_ = layout;
  config_.WriteLayout(layout);
  if (!history_->OpenPressedNode()) ComputeFromForm();
}

void BirthForm::OnFontButton() {
  if (report_->ChooseFont()) history_->OpenSelectedNode();
}

void BirthForm::OnExportButton() {
  if (history_->selectedNode() != nullptr) report_->ExportReport();
}

void BirthForm::OnSettingsButton() {
  const BirthSettings before = config_.ReadBirthSettings();
  const bool extrasBefore = config_.ReadShowExtras();
  const Script scriptBefore = ShownScript();
  SettingsDialog dialog(before, extrasBefore, scriptBefore, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const BirthSettings chosen = dialog.settings();
  const bool extrasChosen = dialog.showExtras();
  const Script script = dialog.script();
  if (chosen == before && extrasChosen == extrasBefore && script == scriptBefore) return;
  const bool saved = (chosen == before || config_.WriteBirthSettings(chosen)) &&
                     (extrasChosen == extrasBefore || config_.WriteShowExtras(extrasChosen)) &&
                     (script == scriptBefore || config_.WriteScript(script));
  if (!saved) {
    ShowMessage(this, ShownQString(u"无法保存设置：") + PathToQString(config_.path()));
    return;
  }
  // A field that still held the old default takes the new one.
  if (chosen.place != before.place && birthplace_->storedText() == before.place) {
    birthplace_->setStoredText(chosen.place);
  }
  if (script != scriptBefore) {
    emit scriptChosen(script);  // renders the report on show again
  } else if (extrasChosen != extrasBefore) {
    report_->RenderShownAgain();
  }
  emit statusMessage(ShownQString(u"设置已保存，用于此后排出的命盘"));
}

// The moment found goes into the form as Beijing time, so the birthplace,
// which would shift it to true solar time, is cleared.
void BirthForm::OnPillarSearchButton() {
  const BirthSettings settings = config_.ReadBirthSettings();
  BirthChoiceTexts texts;
  texts.terms = settings.terms;
  texts.zi = settings.zi;
  auto choices = ResolveBirthChoices(texts);
  if (const Text* message = std::get_if<Text>(&choices)) {
    ShowMessage(this, ToQString(*message));
    return;
  }
  PillarSearchDialog dialog(std::get<BirthChoices>(choices), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::optional<CivilTime> moment = dialog.chosenMoment();
  if (!moment) return;
  ChartFormData chart;
  chart.name = ToText(nameEdit_->text());
  chart.male = !femaleButton_->isChecked();
  chart.year = moment->year;
  chart.month = moment->month;
  chart.day = moment->day;
  chart.hour = moment->hour;
  chart.minute = moment->minute;
  const bool hadPlace = !birthplace_->text().trimmed().isEmpty();
  FillFromChart(chart);
  QString status =
      ShownQString(u"已填入反查结果：%1-%2-%3 %4:%5（北京时间）")
          .arg(Digits(moment->year, 4), Digits(moment->month, 2), Digits(moment->day, 2),
               Digits(moment->hour, 2), Digits(moment->minute, 2));
  if (hadPlace) status += ShownQString(u"，出生地已清空");
  emit statusMessage(status);
}

void BirthForm::OnAboutButton() {
  AboutDialog about(this);
  about.exec();
}

// Escape quits only from the form itself: an open drop-down list, editor,
// completion list or dialog takes it to close.
bool BirthForm::EscapeQuits(QObject* watched) const {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  return widget != nullptr && widget->window() == window() &&
         QApplication::activePopupWidget() == nullptr &&
         QApplication::activeModalWidget() == nullptr;
}

bool BirthForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Escape) {
    if (!EscapeQuits(watched)) return false;
    emit quitRequested();
    return true;
  }
  if (!IsEnter(key)) return false;
  if (watched == nameEdit_) {
    calendarList_->setFocus(Qt::TabFocusReason);
    return true;
  }
  if (watched == calendarList_) {
    yearList_->setFocus(Qt::TabFocusReason);
    return true;
  }
  if (watched == birthplace_ && !birthplace_->offersPlaces()) {
    calendarList_->setFocus(Qt::TabFocusReason);
    return true;
  }
  if (watched == chartButton_) {
    ComputeFromForm();
    return true;
  }
  return false;
}

void BirthForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && EscapeQuits(this)) {
    emit quitRequested();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace xuanshu
