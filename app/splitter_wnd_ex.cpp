#include "splitter_wnd_ex.h"

#include <QMouseEvent>
#include <algorithm>

namespace xuanshu {

CSplitterWndEx::CSplitterWndEx(Qt::Orientation orientation, WidthWriter writeWidth, QWidget* parent)
    : QSplitter(orientation, parent), writeWidth_(std::move(writeWidth)) {
  setHandleWidth(kBarWidth);
  setChildrenCollapsible(false);
  setOpaqueResize(true);
}

QSplitterHandle* CSplitterWndEx::createHandle() {
  return new SplitterBar(orientation(), this);
}

void CSplitterWndEx::OnBarReleased(int x) {
  if (writeWidth_) writeWidth_(std::clamp(x, kMinBarX, kMaxBarX));
}

void CSplitterWndEx::OnBarDoubleClicked() {
  if (historyPane_) historyPane_->setVisible(!columnShown_);
  columnShown_ = !columnShown_;
}

SplitterBar::SplitterBar(Qt::Orientation orientation, CSplitterWndEx* parent)
    : QSplitterHandle(orientation, parent) {}

int SplitterBar::PointerX(const QMouseEvent* event) const {
  return splitter()->mapFromGlobal(event->globalPosition().toPoint()).x();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if (owner()->AcceptsBarMove(PointerX(event))) QSplitterHandle::mouseMoveEvent(event);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) owner()->OnBarReleased(PointerX(event));
  QSplitterHandle::mouseReleaseEvent(event);
}

void SplitterBar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) owner()->OnBarDoubleClicked();
  QSplitterHandle::mouseDoubleClickEvent(event);
}

}  // namespace xuanshu
