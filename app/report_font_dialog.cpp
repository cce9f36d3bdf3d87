#include "report_font_dialog.h"

#include <QGroupBox>
#include <QLineEdit>

namespace xuanshu {

ReportFontDialog::ReportFontDialog(const QFont& preset, QWidget* parent) : QFontDialog(parent) {
  setOption(QFontDialog::DontUseNativeDialog);
  setWindowTitle(QStringLiteral(u"字体"));
  setCurrentFont(preset);
  // The sample field is the line edit inside the dialog's sample box.
  for (QGroupBox* box : findChildren<QGroupBox*>()) {
    for (QLineEdit* sample : box->findChildren<QLineEdit*>()) sample->setText(SampleText());
  }
}

QString ReportFontDialog::SampleText() {
  return QStringLiteral(u"甲子　乙丑　丙寅 AaBb 123");
}

}  // namespace xuanshu
