// Takes the README screenshot with the program's own main window: a few
// sample charts in two groups, one of them open in the chosen layout.
//
//   xuanshu-screenshot OUT.png [--layout 0|1|2] [--size WIDTHxHEIGHT] [--home DIR]
//                      [--about ABOUT.png]
//
// Without --home the charts go to a temporary program folder. --about also
// saves the About box.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <optional>

#include "about_dialog.h"
#include "app_home.h"
#include "birth_form.h"
#include "drop_down_list.h"
#include "history_tree.h"
#include "main_window.h"
#include "message_box.h"
#include "qt_text.h"
#include "record/app_config.h"

namespace {

using namespace xuanshu;

struct Options {
  QString output;
  int layout = kStandardLayout;
  QSize size{1500, 900};
  QString home;
  QString about;
};

std::optional<Options> ParseOptions(const QStringList& args) {
  Options options;
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == QLatin1String("--layout") && hasValue) {
      options.layout = args[++i].toInt();
    } else if (arg == QLatin1String("--size") && hasValue) {
      const QStringList parts = args[++i].split(QLatin1Char('x'));
      if (parts.size() != 2) return std::nullopt;
      options.size = QSize(parts[0].toInt(), parts[1].toInt());
    } else if (arg == QLatin1String("--home") && hasValue) {
      options.home = args[++i];
    } else if (arg == QLatin1String("--about") && hasValue) {
      options.about = args[++i];
    } else if (!arg.startsWith(QLatin1String("--")) && options.output.isEmpty()) {
      options.output = arg;
    } else {
      return std::nullopt;
    }
  }
  if (options.output.isEmpty()) return std::nullopt;
  return options;
}

struct SampleChart {
  const char16_t* name;
  bool male;
  const char* year;
  const char* month;
  const char* day;
  const char* hour;
  const char* minute;
  const char16_t* birthplace = u"";
};

// The chart on show was born in Urumqi, three minutes before the 辰 hour
// by true solar time: the report shows the birthplace lines and the bar
// above it a warning.
constexpr SampleChart kFamily[] = {
    {u"林文轩", true, "1984", "03", "15", "09", "16", u"乌鲁木齐"},
    {u"林婉清", false, "1987", "11", "02", "21", "15"},
};
constexpr SampleChart kOthers[] = {
    {u"陈思远", true, "1992", "07", "09", "13", "45"},
    {u"周雨桐", false, "2001", "01", "23", "05", "10"},
};

void ComputeSample(MainWindow& window, const SampleChart& chart) {
  BirthForm* form = window.birthForm();
  form->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QString::fromUtf16(chart.name));
  form->findChild<QLineEdit*>(QStringLiteral("birthplaceEdit"))
      ->setText(QString::fromUtf16(chart.birthplace));
  form->findChild<QRadioButton*>(chart.male ? QStringLiteral("maleButton")
                                            : QStringLiteral("femaleButton"))
      ->setChecked(true);
  const std::pair<const char*, const char*> fields[] = {{"yearList", chart.year},
                                                        {"monthList", chart.month},
                                                        {"dayList", chart.day},
                                                        {"hourList", chart.hour},
                                                        {"minuteList", chart.minute}};
  for (const auto& [list, value] : fields) {
    auto* box = form->findChild<DropDownList*>(QLatin1String(list));
    box->setCurrentIndex(box->findText(QLatin1String(value)));
  }
  form->ComputeFromForm();
}

// A new group, named by typing into its label editor.
void AddGroup(HistoryTree* history, const QString& name) {
  history->NewGroup();
  for (QLineEdit* editor : history->viewport()->findChildren<QLineEdit*>()) {
    if (!editor->isVisible()) continue;
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the edit is committed from the event queue
    return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setWindowIcon(QIcon(QStringLiteral(":/xuanshu/xuanshu.png")));
  const std::optional<Options> options = ParseOptions(app.arguments());
  if (!options) {
    std::fprintf(stderr,
                 "usage: xuanshu-screenshot OUT.png [--layout 0|1|2] [--size WxH] [--home DIR] "
                 "[--about ABOUT.png]\n");
    return 2;
  }
  SetMessageHook([](const QString& text) {
    std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
  });

  QTemporaryDir scratch;
  const QString home = options->home.isEmpty() ? scratch.path() : options->home;
  AppConfig(AppHome::In(PathFromQString(home)).configPath).WriteLayout(options->layout);

  MainWindow window(AppHome::In(PathFromQString(home)));
  window.resize(options->size);
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return 1;

  HistoryTree* history = window.historyTree();
  AddGroup(history, QStringLiteral(u"家人"));
  for (const SampleChart& chart : kFamily) {
    history->setCurrentItem(history->groupNode(1));
    ComputeSample(window, chart);
  }
  history->setCurrentItem(history->groupNode(0));
  for (const SampleChart& chart : kOthers) ComputeSample(window, chart);

  QTreeWidgetItem* shown = history->chartNode({1, 0});
  history->setCurrentItem(shown);
  history->OpenChart(shown);
  // The sample charts' save messages say nothing to a reader.
  window.statusBar()->showMessage(QStringLiteral(u"就绪"));
  QApplication::processEvents();

  if (!window.grab().save(options->output)) {
    std::fprintf(stderr, "cannot write %s\n", options->output.toUtf8().constData());
    return 1;
  }
  if (!options->about.isEmpty()) {
    AboutDialog about(&window);
    about.show();
    QApplication::processEvents();
    if (!about.grab().save(options->about)) return 1;
  }
  return 0;
}
