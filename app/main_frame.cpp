#include "main_frame.h"

#include <QStatusBar>

#include "buttom_letf_view.h"
#include "buttom_right_view.h"
#include "splitter_wnd_ex.h"
#include "top_view.h"

namespace xuanshu {
namespace {

constexpr int kReportPaneWidth = 300;

}  // namespace

CMainFrame::CMainFrame(const AppHome& home, QWidget* parent)
    : QMainWindow(parent), home_(home), config_(home.configPath) {
  CreateStatusBar();
  CreatePanes();
  form_->AttachPanes(history_, report_);
  history_->AttachPanes(form_, report_);
  form_->InitialFill();
  history_->InitialUpdate();
  connect(form_, &CTopView::quitRequested, this, &QWidget::close);
}

void CMainFrame::CreateStatusBar() {
  statusBar()->showMessage(QStringLiteral(u"就绪"));
}

void CMainFrame::CreatePanes() {
  const PaneWidth width = config_.ReadPaneWidth();
  const auto writeWidth = [this](int x) { config_.WritePaneWidth(x); };

  outer_ = new CSplitterWndEx(Qt::Vertical, writeWidth, this);
  form_ = new CTopView(home_, outer_);
  inner_ = new CSplitterWndEx(Qt::Horizontal, writeWidth, outer_);
  history_ = new CButtomLetfView(home_, inner_);
  report_ = new CButtomRightView(home_, inner_);

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
