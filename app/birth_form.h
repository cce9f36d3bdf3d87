// The input form across the top of the main window: one chart request, the
// date lists kept consistent with the calendar and year, the report command
// buttons and the three layout buttons. It owns the program's one chart
// engine.
#pragma once

#include <QWidget>
#include <vector>

#include "app_home.h"
#include "engine/chart_engine.h"
#include "record/app_config.h"
#include "record/history_store.h"

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace xuanshu {

class BirthplaceEdit;
class HistoryTree;
class ReportPane;
class DropDownList;

class BirthForm : public QWidget {
  Q_OBJECT

 public:
  explicit BirthForm(const AppHome& home, QWidget* parent = nullptr);

  void AttachPanes(HistoryTree* history, ReportPane* report);
  // Fills the lists with their first selections and reads the layout.
  void InitialFill();

  // 0 simple, 1 standard, 2 Hong Kong/Taiwan, or another stored value.
  int layout() const { return layout_; }

  // The chart button: request, computation, history and report.
  void ComputeFromForm();
  // Puts an opened chart's name, sex, Gregorian birth data and birthplace back.
  void FillFromChart(const ChartFormData& chart);
  // A layout button that ended up checked.
  void ChooseLayout(int layout);
  // Every label, button and list entry in the shown script; the lists keep
  // their selections and the birthplace field its place.
  void RetextControls();

 signals:
  // The user chose another script in 设置; it is stored in Config.ini.
  void scriptChosen(Script script);
  // Escape: the program ends at once.
  void quitRequested();
  // What just happened, for the status bar.
  void statusMessage(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void ConnectControls();
  void WatchKeys();
  void OnCalendarOrYearChanged();
  void OnMonthChanged();
  void RebuildMonthList();
  void RebuildDayList();
  bool gregorian() const;
  int selectedYear() const;
  ChartForm ReadForm() const;
  void OnFontButton();
  void OnExportButton();
  void OnAboutButton();
  void OnSettingsButton();
  void OnPillarSearchButton();
  // The birth-moment choices: the settings with the form's birthplace; the
  // message naming a bad birthplace instead.
  std::variant<BirthChoices, Text> ChosenBirthChoices() const;
  bool EscapeQuits(QObject* watched) const;
  QWidget* FieldNamedBy(const QString& message) const;
  // Buttons with nothing to act on are disabled.
  void UpdateCommandButtons();

  AppHome home_;
  AppConfig config_;
  ChartEngine engine_;
  int layout_ = 0;
  HistoryTree* history_ = nullptr;
  ReportPane* report_ = nullptr;

  QLineEdit* nameEdit_ = nullptr;
  QRadioButton* maleButton_ = nullptr;
  QRadioButton* femaleButton_ = nullptr;
  DropDownList* calendarList_ = nullptr;
  DropDownList* yearList_ = nullptr;
  DropDownList* monthList_ = nullptr;
  DropDownList* dayList_ = nullptr;
  DropDownList* hourList_ = nullptr;
  DropDownList* minuteList_ = nullptr;
  QPushButton* chartButton_ = nullptr;
  QPushButton* selectAllButton_ = nullptr;
  QPushButton* copyButton_ = nullptr;
  QPushButton* fontButton_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  QPushButton* settingsButton_ = nullptr;
  QPushButton* pillarSearchButton_ = nullptr;
  BirthplaceEdit* birthplace_ = nullptr;
  QButtonGroup* layoutButtons_ = nullptr;
  QHBoxLayout* personRow_ = nullptr;  // name and sex, then the birthplace
  QLabel* nameLabel_ = nullptr;
  QLabel* birthplaceLabel_ = nullptr;
  QLabel* birthTimeLabel_ = nullptr;
  std::vector<QLabel*> unitLabels_;  // 年 月 日 时 分 after the lists
};

}  // namespace xuanshu
