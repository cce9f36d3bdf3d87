// 设置: the choices that hold for every chart computed from now on — the
// source of the solar terms, the 子 hour school and the default birthplace —
// whether reports show the additional pillars, and the script every text is
// shown in, kept in Config.ini.
#pragma once

#include <QDialog>

#include "record/app_config.h"

class QCheckBox;
class QRadioButton;

namespace xuanshu {

class BirthplaceEdit;

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  SettingsDialog(const BirthSettings& current, bool showExtras, Script currentScript,
                 QWidget* parent = nullptr);

  // The settings as chosen; read after the dialog was accepted.
  BirthSettings settings() const;
  bool showExtras() const;
  Script script() const;

 public slots:
  // Refuses a birthplace the program does not know, with a message.
  void accept() override;

 private:
  QRadioButton* formulaTerms_ = nullptr;
  QRadioButton* astronomicalTerms_ = nullptr;
  QRadioButton* nextDayZi_ = nullptr;
  QRadioButton* sameDayZi_ = nullptr;
  QRadioButton* simplifiedScript_ = nullptr;
  QRadioButton* traditionalScript_ = nullptr;
  BirthplaceEdit* birthplace_ = nullptr;
  QCheckBox* showExtras_ = nullptr;
};

}  // namespace xuanshu
