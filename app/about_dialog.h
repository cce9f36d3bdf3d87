// The About box: the program icon, name and version, the maker's credit and
// contact, and a link to the maker's web page.
#pragma once

#include <QDialog>

namespace xuanshu {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace xuanshu
