// The font dialog of the 字体 command: Qt's own dialog (translated with the
// program), whose sample shows Chinese report text instead of "AaBbYyZz".
#pragma once

#include <QFontDialog>

namespace xuanshu {

class ReportFontDialog : public QFontDialog {
  Q_OBJECT

 public:
  ReportFontDialog(const QFont& preset, QWidget* parent = nullptr);

  // The text the sample field shows.
  static QString SampleText();
};

}  // namespace xuanshu
