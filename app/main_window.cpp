#include "main_window.h"

#include <QStatusBar>

#include "birth_form.h"
#include "history_tree.h"
#include "pane_splitter.h"
#include "report_pane.h"

namespace xuanshu {
namespace {

constexpr int kReportPaneWidth = 300;

}  // namespace

MainWindow::MainWindow(const AppHome& home, QWidget* parent)
    : QMainWindow(parent), home_(home), config_(home.configPath) {
  CreateStatusBar();
  CreatePanes();
  form_->AttachPanes(history_, report_);
  history_->AttachPanes(form_, report_);
  form_->InitialFill();
  history_->InitialUpdate();
  connect(form_, &BirthForm::quitRequested, this, &QWidget::close);
}

void MainWindow::CreateStatusBar() {
  statusBar()->showMessage(QStringLiteral(u"就绪"));
}

void MainWindow::CreatePanes() {
  const PaneWidth width = config_.ReadPaneWidth();
  const auto writeWidth = [this](int x) { config_.WritePaneWidth(x); };

  outer_ = new PaneSplitter(Qt::Vertical, writeWidth, this);
  form_ = new BirthForm(home_, outer_);
  inner_ = new PaneSplitter(Qt::Horizontal, writeWidth, outer_);
  history_ = new HistoryTree(home_, inner_);
  report_ = new ReportPane(home_, inner_);

  outer_->addWidget(form_);
  outer_->addWidget(inner_);
  outer_->setStretchFactor(0, 0);
  outer_->setStretchFactor(1, 1);
  inner_->addWidget(history_);
  inner_->addWidget(report_);
  inner_->setStretchFactor(0, 0);
  inner_->setStretchFactor(1, 1);
  inner_->setSizes({width.cx, kReportPaneWidth});
  history_->resize(width.cx, width.cy);

  outer_->SetHistoryPane(history_);
  inner_->SetHistoryPane(history_);
  setCentralWidget(outer_);
}

}  // namespace xuanshu
