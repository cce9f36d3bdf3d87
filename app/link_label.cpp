#include "link_label.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace xuanshu {

LinkLabel::LinkLabel(const QUrl& url, QWidget* parent)
    : QLabel(url.toDisplayString(), parent), url_(url) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, Qt::blue);
  setPalette(colours);
  setCursor(Qt::PointingHandCursor);
  setToolTip(url.toDisplayString());
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    QDesktopServices::openUrl(url_);
    emit opened(url_);
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace xuanshu
