// A web link in the About box: blue text, the hand cursor over it, and a
// left click opens the page in the default browser.
#pragma once

#include <QLabel>
#include <QUrl>

namespace xuanshu {

class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  LinkLabel(const QUrl& url, QWidget* parent = nullptr);
  const QUrl& url() const { return url_; }

 signals:
  void opened(const QUrl& url);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QUrl url_;
};

}  // namespace xuanshu
