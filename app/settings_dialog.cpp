#include "settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "birthplace_edit.h"
#include "calendar/term_source.h"
#include "calendar/zi_school.h"
#include "engine/birth_choices.h"
#include "message_box.h"
#include "qt_text.h"

namespace xuanshu {
namespace {

QRadioButton* Choice(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QRadioButton(text, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

QWidget* Pair(QRadioButton* first, QRadioButton* second, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(first);
  column->addWidget(second);
  auto* group = new QButtonGroup(box);
  group->addButton(first);
  group->addButton(second);
  return box;
}

// A choice's key as the settings store it.
Text KeyText(std::string_view key) {
  return Text(key.begin(), key.end());
}

}  // namespace

SettingsDialog::SettingsDialog(const BirthSettings& current, bool showExtras, Script currentScript,
                               QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("settingsDialog"));
  setWindowTitle(ShownQString(u"设置"));
  formulaTerms_ =
      Choice(ShownQString(u"公式节气（传统算法，与以往排盘一致）"), "formulaTerms", this);
  astronomicalTerms_ =
      Choice(ShownQString(u"天文节气（实际交节时刻，北京时间）"), "astronomicalTerms", this);
  nextDayZi_ = Choice(ShownQString(u"子初换日（23时起为次日）"), "nextDayZi", this);
  sameDayZi_ = Choice(ShownQString(u"子正换日（夜子时：23时至24时仍为当日）"), "sameDayZi", this);
  // Each choice names itself in its own characters, whichever is shown.
  simplifiedScript_ = Choice(QStringLiteral(u"简体"), "simplifiedScript", this);
  traditionalScript_ = Choice(QStringLiteral(u"繁體"), "traditionalScript", this);
  birthplace_ = new BirthplaceEdit(this);
  birthplace_->setObjectName(QStringLiteral("defaultBirthplaceEdit"));

  const bool astronomical = current.terms == KeyText(AstronomicalTermSource().key());
  (astronomical ? astronomicalTerms_ : formulaTerms_)->setChecked(true);
  const bool sameDay = current.zi == KeyText(kSameDayZiSchool.key);
  (sameDay ? sameDayZi_ : nextDayZi_)->setChecked(true);
  (currentScript == Script::kTraditional ? traditionalScript_ : simplifiedScript_)
      ->setChecked(true);
  birthplace_->setStoredText(current.place);
  showExtras_ =
      new QCheckBox(ShownQString(u"显示附加信息（纳音、旬、胎元、胎息、命宫、身宫）"), this);
  showExtras_->setObjectName(QStringLiteral("showExtras"));
  showExtras_->setChecked(showExtras);

  auto* form = new QFormLayout;
  form->addRow(ShownQString(u"节气："), Pair(formulaTerms_, astronomicalTerms_, this));
  form->addRow(ShownQString(u"子时："), Pair(nextDayZi_, sameDayZi_, this));
  form->addRow(ShownQString(u"默认出生地："), birthplace_);
  form->addRow(ShownQString(u"报告："), showExtras_);
  form->addRow(ShownQString(u"文字："), Pair(simplifiedScript_, traditionalScript_, this));
  auto* note = new QLabel(ShownQString(u"出生地留空则按所填时间排盘。新的设置用于此后排出的命盘；"
                                       u"已保存的命盘仍按其排盘时的设置显示。"),
                          this);
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);

  auto* rows = new QVBoxLayout(this);
  rows->addLayout(form);
  rows->addWidget(note);
  rows->addWidget(buttons);
}

BirthSettings SettingsDialog::settings() const {
  BirthSettings chosen;
  chosen.terms = KeyText(astronomicalTerms_->isChecked() ? AstronomicalTermSource().key()
                                                         : FormulaTermSource().key());
  chosen.zi = KeyText(sameDayZi_->isChecked() ? kSameDayZiSchool.key : kNextDayZiSchool.key);
  chosen.place = birthplace_->storedText();
  return chosen;
}

bool SettingsDialog::showExtras() const {
  return showExtras_->isChecked();
}

Script SettingsDialog::script() const {
  return traditionalScript_->isChecked() ? Script::kTraditional : Script::kSimplified;
}

void SettingsDialog::accept() {
  BirthChoiceTexts texts;
  texts.place = birthplace_->storedText();
  auto resolved = ResolveBirthChoices(texts);
  if (const Text* message = std::get_if<Text>(&resolved)) {
    ShowMessage(this, ToQString(*message));
    birthplace_->setFocus(Qt::OtherFocusReason);
    return;
  }
  QDialog::accept();
}

}  // namespace xuanshu
