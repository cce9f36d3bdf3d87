#include "pane_splitter.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>

namespace xuanshu {

PaneSplitter::PaneSplitter(Qt::Orientation orientation, WidthWriter writeWidth, QWidget* parent)
    : QSplitter(orientation, parent), writeWidth_(std::move(writeWidth)) {
  setHandleWidth(kBarWidth);
  setChildrenCollapsible(false);
  setOpaqueResize(true);
}

QSplitterHandle* PaneSplitter::createHandle() {
  return new SplitterBar(orientation(), this);
}

void PaneSplitter::OnBarReleased(int x) {
  if (writeWidth_) writeWidth_(std::clamp(x, kMinBarX, kMaxBarX));
}

// Hiding the pane would also hide the bar beside it, leaving nothing to
// double-click; the column is collapsed instead.
void PaneSplitter::OnBarDoubleClicked() {
  if (historyPane_) {
    if (auto* inner = qobject_cast<PaneSplitter*>(historyPane_->parentWidget())) {
      inner->ShowFirstColumn(!columnShown_);
    }
  }
  columnShown_ = !columnShown_;
}

void PaneSplitter::ShowFirstColumn(bool show) {
  QList<int> widths = sizes();
  if (widths.size() < 2 || (widths[0] > 0) == show) return;
  const int total = widths[0] + widths[1];
  if (show) {
    widths[0] = std::min(std::max(collapsedWidth_, kMinBarX), total);
  } else {
    collapsedWidth_ = widths[0];
    widths[0] = 0;
  }
  widths[1] = total - widths[0];
  setCollapsible(0, !show);
  setSizes(widths);
}

SplitterBar::SplitterBar(Qt::Orientation orientation, PaneSplitter* parent)
    : QSplitterHandle(orientation, parent) {}

int SplitterBar::PointerX(const QMouseEvent* event) const {
  return splitter()->mapFromGlobal(event->globalPosition().toPoint()).x();
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressedAt_ = event->globalPosition().toPoint();
    dragged_ = false;
  }
  QSplitterHandle::mousePressEvent(event);
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) &&
      (event->globalPosition().toPoint() - pressedAt_).manhattanLength() >=
          QApplication::startDragDistance()) {
    dragged_ = true;
  }
  if (owner()->AcceptsBarMove(PointerX(event))) QSplitterHandle::mouseMoveEvent(event);
}

// A click or double-click without a drag leaves the stored width alone.
void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && dragged_) owner()->OnBarReleased(PointerX(event));
  dragged_ = false;
  QSplitterHandle::mouseReleaseEvent(event);
}

void SplitterBar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) owner()->OnBarDoubleClicked();
  QSplitterHandle::mouseDoubleClickEvent(event);
}

}  // namespace xuanshu
