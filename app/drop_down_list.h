// A drop-down list of the input form: its text is always one of its
// entries, and it announces when its list is about to open so that the form
// can rebuild the entries first.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace xuanshu {

class DropDownList : public QComboBox {
  Q_OBJECT

 public:
  // Wide enough for entries of `characters` Latin characters.
  DropDownList(int characters, QWidget* parent);

  // Replaces the entries, then selects the first entry that begins with
  // `previous`, or the first entry when none does. Emits no change signal.
  void ResetEntries(const QStringList& entries, const QString& previous);
  // Selects the first entry that begins with `prefix`; false (selection
  // unchanged) when there is none. Emits no change signal.
  bool SelectPrefix(const QString& prefix);
  QStringList entries() const;

  void showPopup() override;

 signals:
  void aboutToOpen();
};

}  // namespace xuanshu
