#include "drop_down_list.h"

#include <QSignalBlocker>

namespace xuanshu {

DropDownList::DropDownList(int characters, QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setMaxVisibleItems(20);
  setMinimumContentsLength(characters);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  // Styles that pop the list up over the box show every entry, up to the
  // screen's height; a plain list honours the row limit.
  setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

void DropDownList::ResetEntries(const QStringList& entries, const QString& previous) {
  const QSignalBlocker blocker(this);
  if (entries != this->entries()) {
    clear();
    addItems(entries);
  }
  if (!SelectPrefix(previous)) setCurrentIndex(count() > 0 ? 0 : -1);
}

bool DropDownList::SelectPrefix(const QString& prefix) {
  if (prefix.isEmpty()) return false;
  for (int i = 0; i < count(); ++i) {
    if (itemText(i).startsWith(prefix)) {
      const QSignalBlocker blocker(this);
      setCurrentIndex(i);
      return true;
    }
  }
  return false;
}

QStringList DropDownList::entries() const {
  QStringList list;
  list.reserve(count());
  for (int i = 0; i < count(); ++i) list << itemText(i);
  return list;
}

void DropDownList::showPopup() {
  emit aboutToOpen();
  QComboBox::showPopup();
}

}  // namespace xuanshu
