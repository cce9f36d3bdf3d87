#include "report_font_dialog.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>

#include "qt_text.h"

namespace xuanshu {
namespace {

// The dialog finds a face's style by name and takes the first one it lists
// when the name is not there ("Normal" where the face says "Regular"), which
// may be Bold; the installed style of the same weight and slant is named.
QFont WithStyleName(QFont font) {
  if (!font.styleName().isEmpty()) return font;
  for (const QString& style : QFontDatabase::styles(font.family())) {
    if (QFontDatabase::weight(font.family(), style) == font.weight() &&
        QFontDatabase::italic(font.family(), style) == font.italic()) {
      font.setStyleName(style);
      break;
    }
  }
  return font;
}

}  // namespace

ReportFontDialog::ReportFontDialog(const QFont& preset, QWidget* parent) : QFontDialog(parent) {
  setOption(QFontDialog::DontUseNativeDialog);
  setWindowTitle(ShownQString(u"字体"));
  setCurrentFont(WithStyleName(preset));
  // The sample field is the line edit inside the dialog's sample box.
  for (QGroupBox* box : findChildren<QGroupBox*>()) {
    for (QLineEdit* sample : box->findChildren<QLineEdit*>()) sample->setText(SampleText());
  }
}

QString ReportFontDialog::SampleText() {
  return ShownQString(u"甲子　乙丑　丙寅 AaBb 123");
}

}  // namespace xuanshu
