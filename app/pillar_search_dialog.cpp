#include "pillar_search_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "calendar/ganzhi.h"
#include "calendar/pillar_check.h"
#include "message_box.h"
#include "qt_text.h"

namespace xuanshu {
namespace {

// The form's year list ends a year before the search does.
constexpr int kLastFormYear = 2048;
constexpr int kPillarCount = 60;

QStringList SixtyPillars() {
  QStringList pillars;
  for (int n = 0; n < kPillarCount; ++n) pillars << ToQString(GanZhiName(n));
  return pillars;
}

QString SearchBasis(const BirthChoices& choices) {
  return ShownQString(u"按%1、%2查找，时间为北京时间（可在“设置”中更改）")
      .arg(ShownQString(choices.terms->label()), ShownQString(choices.ziSchool->name));
}

}  // namespace

PillarSearchDialog::PillarSearchDialog(const BirthChoices& choices, QWidget* parent)
    : QDialog(parent), choices_(choices) {
  setObjectName(QStringLiteral("pillarSearchDialog"));
  setWindowTitle(ShownQString(u"八字反查"));

  auto* pillarRow = new QHBoxLayout;
  const std::pair<const char16_t*, const char*> names[] = {{u"年柱", "yearPillar"},
                                                           {u"月柱", "monthPillar"},
                                                           {u"日柱", "dayPillar"},
                                                           {u"时柱", "hourPillar"}};
  for (const auto& [label, name] : names) {
    pillarRow->addWidget(new QLabel(ShownQString(label), this));
    pillarRow->addWidget(PillarList(name));
  }
  auto* searchButton = new QPushButton(ShownQString(u"查找"), this);
  searchButton->setObjectName(QStringLiteral("searchButton"));
  searchButton->setDefault(true);
  pillarRow->addWidget(searchButton);

  results_ = new QListWidget(this);
  results_->setObjectName(QStringLiteral("moments"));
  outcome_ = new QLabel(this);
  outcome_->setObjectName(QStringLiteral("outcome"));
  outcome_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(this);
  fillButton_ = buttons->addButton(ShownQString(u"填入表单"), QDialogButtonBox::AcceptRole);
  fillButton_->setObjectName(QStringLiteral("fillButton"));
  buttons->addButton(ShownQString(u"关闭"), QDialogButtonBox::RejectRole);

  auto* rows = new QVBoxLayout(this);
  rows->addLayout(pillarRow);
  rows->addWidget(new QLabel(SearchBasis(choices_), this));
  rows->addWidget(results_, 1);
  rows->addWidget(outcome_);
  rows->addWidget(buttons);

  connect(searchButton, &QPushButton::clicked, this, &PillarSearchDialog::Search);
  connect(buttons, &QDialogButtonBox::accepted, this, &PillarSearchDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PillarSearchDialog::reject);
  connect(results_, &QListWidget::currentRowChanged, this, &PillarSearchDialog::UpdateFillButton);
  connect(results_, &QListWidget::itemActivated, this, &PillarSearchDialog::accept);
  UpdateFillButton();
}

// An editable list of the sixty pillars: pick one or type it.
QComboBox* PillarSearchDialog::PillarList(const char* name) {
  auto* list = new QComboBox(this);
  list->setObjectName(QLatin1String(name));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setMaxVisibleItems(20);
  list->addItems(SixtyPillars());
  list->setCurrentIndex(-1);
  list->setMinimumContentsLength(3);
  pillars_.push_back(list);
  return list;
}

void PillarSearchDialog::Search() {
  results_->clear();
  windows_.clear();
  std::array<Text, 4> texts;
  for (std::size_t i = 0; i < texts.size(); ++i)
    texts[i] = ToText(pillars_[i]->currentText().trimmed());
  const auto pillars = CheckFourPillars(texts, *choices_.ziSchool);
  if (const Text* message = std::get_if<Text>(&pillars)) {
    outcome_->clear();
    ShowMessage(this, ToQString(*message));
    UpdateFillButton();
    return;
  }
  windows_ = FindBirthWindows(std::get<FourPillars>(pillars), *choices_.terms, *choices_.ziSchool);
  for (const BirthWindow& window : windows_) results_->addItem(ToQString(BirthWindowText(window)));
  if (windows_.empty()) {
    outcome_->setText(ShownQString(u"1901年至2049年间没有这组八字的出生时间"));
  } else {
    outcome_->setText(ShownQString(u"共%1个时段，选中一个后按“填入表单”").arg(windows_.size()));
    results_->setCurrentRow(0);
    results_->setFocus(Qt::OtherFocusReason);
  }
  UpdateFillButton();
}

std::optional<CivilTime> PillarSearchDialog::chosenMoment() const {
  const int row = results_->currentRow();
  if (row < 0 || row >= static_cast<int>(windows_.size())) return std::nullopt;
  return windows_[static_cast<std::size_t>(row)].first;
}

void PillarSearchDialog::accept() {
  const std::optional<CivilTime> moment = chosenMoment();
  if (!moment) return;
  if (moment->year > kLastFormYear) {
    ShowMessage(this, ShownQString(u"表单的年份只到%1年，不能填入%2年的时间")
                          .arg(kLastFormYear)
                          .arg(moment->year));
    return;
  }
  QDialog::accept();
}

void PillarSearchDialog::UpdateFillButton() {
  fillButton_->setEnabled(chosenMoment().has_value());
}

}  // namespace xuanshu
