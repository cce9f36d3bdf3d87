#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app_title.h"
#include "birth_form.h"
#include "engine/birth_record.h"
#include "history_tree.h"
#include "pane_splitter.h"
#include "qt_text.h"
#include "report_pane.h"
#include "warning_bar.h"
#include "xuanshu_application.h"

namespace xuanshu {
namespace {

constexpr int kReportPaneWidth = 300;
constexpr int kStatusTimeoutMs = 8000;

// The entries of the history order list, in ChartOrder's order.
const char16_t* const kOrderNames[] = {u"按列表", u"按姓名", u"按出生", u"按修改"};
constexpr TextView kReady = u"就绪";

}  // namespace

MainWindow::MainWindow(const AppHome& home, QWidget* parent)
    : QMainWindow(parent), home_(home), config_(home.configPath) {
  SetShownScript(config_.ReadScript());
  // The application installed Qt's Simplified translations already.
  if (ShownScript() != Script::kSimplified) {
    LoadChineseTranslations(*QCoreApplication::instance(), ShownScript());
  }
  setWindowTitle(AppTitle());
  CreateStatusBar();
  CreatePanes();
  form_->AttachPanes(history_, report_);
  history_->AttachPanes(form_, report_);
  form_->InitialFill();
  history_->InitialUpdate();
  RetextControls();
  CreateShortcuts();
  connect(form_, &BirthForm::quitRequested, this, &QWidget::close);
  connect(form_, &BirthForm::scriptChosen, this, &MainWindow::ShowInScript);
  connect(report_, &ReportPane::shownRecordChanged, this, &MainWindow::OnShownRecordChanged);
  for (auto* source : {static_cast<QObject*>(form_), static_cast<QObject*>(history_),
                       static_cast<QObject*>(report_)}) {
    connect(source, SIGNAL(statusMessage(QString)), this, SLOT(ShowStatus(QString)));
  }
}

void MainWindow::ShowStatus(const QString& text) {
  statusBar()->showMessage(text, kStatusTimeoutMs);
}

void MainWindow::ShowInScript(Script script) {
  SetShownScript(script);
  LoadChineseTranslations(*QCoreApplication::instance(), script);
  RetextControls();
  form_->RetextControls();
  history_->RetextControls();
  report_->RetextControls();
  // The title and the warnings follow the rendering.
  report_->RenderShownAgain();
  if (report_->shownRecord().empty()) setWindowTitle(AppTitle());
}

void MainWindow::RetextControls() {
  find_->setPlaceholderText(ShownQString(u"在排盘中查找"));
  undo_->setText(ShownQString(u"撤销"));
  undo_->setToolTip(ShownQString(u"撤销删除（Ctrl+Z）"));
  search_->setPlaceholderText(ShownQString(u"搜索姓名或分组"));
  for (int i = 0; i < order_->count(); ++i) order_->setItemText(i, ShownQString(kOrderNames[i]));
  order_->setToolTip(ShownQString(u"排盘的排列顺序"));
  if (statusBar()->currentMessage() == ToQString(InScript(kReady, Script::kSimplified)) ||
      statusBar()->currentMessage() == ToQString(InScript(kReady, Script::kTraditional))) {
    statusBar()->showMessage(ShownQString(kReady));
  }
}

void MainWindow::CreateStatusBar() {
  statusBar()->showMessage(ShownQString(kReady));
  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("reportFind"));
  find_->setClearButtonEnabled(true);
  find_->hide();
  connect(find_, &QLineEdit::returnPressed, this, &MainWindow::FindInReport);
  statusBar()->addPermanentWidget(find_);
  undo_ = new QToolButton(this);
  undo_->setObjectName(QStringLiteral("undoButton"));
  undo_->setEnabled(false);
  statusBar()->addPermanentWidget(undo_);
}

QWidget* MainWindow::CreateHistoryPane() {
  auto* pane = new QWidget(inner_);
  search_ = new QLineEdit(pane);
  search_->setObjectName(QStringLiteral("historySearch"));
  search_->setClearButtonEnabled(true);
  search_->setMinimumWidth(0);
  search_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  order_ = new QComboBox(pane);
  order_->setObjectName(QStringLiteral("historyOrder"));
  for (std::size_t i = 0; i < std::size(kOrderNames); ++i) order_->addItem(QString());
  order_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  order_->setMinimumContentsLength(3);

  auto* tools = new QHBoxLayout;
  tools->setContentsMargins(0, 0, 0, 0);
  tools->setSpacing(2);
  tools->addWidget(search_, 1);
  tools->addWidget(order_);
  history_ = new HistoryTree(home_, pane);
  auto* column = new QVBoxLayout(pane);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addLayout(tools);
  column->addWidget(history_, 1);

  connect(search_, &QLineEdit::textChanged, history_, &HistoryTree::SetFilter);
  connect(order_, &QComboBox::currentIndexChanged, history_,
          [this](int index) { history_->SetOrder(static_cast<ChartOrder>(index)); });
  return pane;
}

QWidget* MainWindow::CreateReportColumn() {
  auto* column = new QWidget(inner_);
  warnings_ = new WarningBar(column);
  report_ = new ReportPane(home_, column);
  auto* rows = new QVBoxLayout(column);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(2);
  rows->addWidget(warnings_);
  rows->addWidget(report_, 1);
  return column;
}

void MainWindow::CreatePanes() {
  const PaneWidth width = config_.ReadPaneWidth();

  // Only a drag of the history column's own bar stores its width.
  outer_ = new PaneSplitter(Qt::Vertical, nullptr, this);
  form_ = new BirthForm(home_, outer_);
  inner_ = new PaneSplitter(
      Qt::Horizontal, [this](int x) { config_.WritePaneWidth(x); }, outer_);
  QWidget* historyPane = CreateHistoryPane();
  QWidget* reportColumn = CreateReportColumn();

  outer_->addWidget(form_);
  outer_->addWidget(inner_);
  outer_->setStretchFactor(0, 0);
  outer_->setStretchFactor(1, 1);
  inner_->addWidget(historyPane);
  inner_->addWidget(reportColumn);
  inner_->setStretchFactor(0, 0);
  inner_->setStretchFactor(1, 1);
  inner_->setSizes({width.cx, kReportPaneWidth});
  historyPane->resize(width.cx, width.cy);

  outer_->SetHistoryPane(historyPane);
  inner_->SetHistoryPane(historyPane);
  setCentralWidget(outer_);
}

void MainWindow::CreateShortcuts() {
  const auto add = [this](const QKeySequence& keys, auto action) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, action);
  };
  const auto click = [this](const char* button) {
    auto* target = form_->findChild<QPushButton*>(QLatin1String(button));
    if (target != nullptr && target->isEnabled()) target->click();
  };
  add(QKeySequence::Print, [click] { click("printButton"); });
  add(QKeySequence::Save, [click] { click("exportButton"); });
  add(QKeySequence::Find, [this] { ShowFindBar(); });
  add(QKeySequence::Undo, [this] { history_->Undo(); });
  // Where the focus is in no text field of its own, copy and select all
  // take the report.
  add(QKeySequence::Copy, [this] { report_->CopySelection(); });
  add(QKeySequence::SelectAll, [this] { report_->SelectAllText(); });
  connect(undo_, &QToolButton::clicked, history_, &HistoryTree::Undo);
  connect(history_, &HistoryTree::undoAvailable, undo_, &QToolButton::setEnabled);
}

void MainWindow::ShowFindBar() {
  find_->show();
  find_->setFocus(Qt::ShortcutFocusReason);
  find_->selectAll();
}

void MainWindow::FindInReport() {
  if (!report_->FindText(find_->text())) {
    ShowStatus(ShownQString(u"未找到“%1”").arg(find_->text()));
  }
}

void MainWindow::OnShownRecordChanged(const QString& recordPath) {
  setWindowTitle(recordPath.isEmpty() ? AppTitle() : AppTitleWithRecord(recordPath));
  warnings_->ShowWarnings(recordPath.isEmpty()
                              ? std::vector<Text>{}
                              : RecordedBirthWarnings(LoadIniFile(PathFromQString(recordPath))));
  if (!recordPath.isEmpty() && !SameText(recordPath, config_.ReadLastChart())) {
    config_.WriteLastChart(ToText(recordPath));
  }
}

void MainWindow::ReopenLastChart() {
  const Text last = config_.ReadLastChart();
  if (last.empty()) return;
  if (const std::optional<ChartLocation> at =
          history_->store().FindChartByPath(PathFromText(last))) {
    QTreeWidgetItem* node = history_->chartNode(*at);
    history_->setCurrentItem(node);
    history_->OpenChart(node);
  }
}

bool MainWindow::RestorePlacement() {
  const std::optional<WindowPlacement> placement = config_.ReadWindowPlacement();
  if (!placement) return false;
  QRect frame(placement->x, placement->y, placement->width, placement->height);
  // A screen that went away must not take the window with it.
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect available = screen->availableGeometry();
    frame.setSize(frame.size().boundedTo(available.size()));
    if (!available.contains(frame)) frame.moveCenter(available.center());
  }
  setGeometry(frame);
  if (placement->formHeight > 0) {
    const int total = outer_->height();
    outer_->setSizes({placement->formHeight, std::max(0, total - placement->formHeight)});
  }
  if (placement->maximized) {
    showMaximized();
  } else {
    show();
  }
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  const QRect normal = isMaximized() ? normalGeometry() : geometry();
  const QList<int> heights = outer_->sizes();
  config_.WriteWindowPlacement(
      {normal.x(), normal.y(), normal.width(), normal.height(), isMaximized(), heights.value(0)});
  QMainWindow::closeEvent(event);
}

}  // namespace xuanshu
