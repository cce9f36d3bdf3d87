// 八字反查: four pillars in, the birth moments of 1901-2049 that have them
// out, under the term source and 子 school of the settings. The chosen
// moment goes into the form.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "calendar/civil_time.h"
#include "calendar/pillar_search.h"
#include "engine/birth_choices.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace xuanshu {

class PillarSearchDialog : public QDialog {
  Q_OBJECT

 public:
  // `choices` gives the term source and the 子 school; its place plays no
  // part, the moments being Beijing time.
  explicit PillarSearchDialog(const BirthChoices& choices, QWidget* parent = nullptr);

  // The first minute of the chosen moment; read after the dialog was accepted.
  std::optional<CivilTime> chosenMoment() const;

 public slots:
  // Checks the four pillars and lists their moments, or says what is wrong.
  void Search();
  // Takes the selected moment; refuses one outside the form's years.
  void accept() override;

 private:
  QComboBox* PillarList(const char* name);
  void UpdateFillButton();

  BirthChoices choices_;
  std::vector<QComboBox*> pillars_;
  QListWidget* results_ = nullptr;
  QLabel* outcome_ = nullptr;
  QPushButton* fillButton_ = nullptr;
  std::vector<BirthWindow> windows_;
};

}  // namespace xuanshu
