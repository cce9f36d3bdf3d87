#include "warning_bar.h"

#include "engine/birth_warnings.h"
#include "qt_text.h"

namespace xuanshu {

WarningBar::WarningBar(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("warningBar"));
  setWordWrap(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse);
  setMargin(4);
  // The report's own red on a pale ground, framed like a message.
  setStyleSheet(
      QStringLiteral("QLabel { color: rgb(255, 0, 0); background: rgb(255, 248, 225); "
                     "border: 1px solid rgb(230, 200, 120); }"));
  hide();
}

void WarningBar::ShowWarnings(const std::vector<Text>& warnings) {
  lines_.clear();
  for (const Text& warning : warnings) lines_ << ToQString(Shown(Text(kWarningLabel) + warning));
  setText(lines_.join(QLatin1Char('\n')));
  setVisible(!lines_.isEmpty());
}

}  // namespace xuanshu
