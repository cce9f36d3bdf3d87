// The birthplace field: a line edit that offers the places of the table as
// the user types (China first, then the world), and also takes a longitude
// such as 87.6 or 87°36′. Empty means no birthplace. Places and longitudes
// show in the shown script; the program stores them in Simplified.
#pragma once

#include <QLineEdit>

#include "record/text.h"

class QCompleter;
class QStringListModel;

namespace xuanshu {

class BirthplaceEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit BirthplaceEdit(QWidget* parent = nullptr);

  // True while the list of places is open, which takes Enter and Escape.
  bool offersPlaces() const;

  // The field as the program stores it: a place or a longitude written in
  // Traditional characters back in Simplified, anything else as typed.
  Text storedText() const;
  // Shows a stored text: a place or a longitude in the shown script,
  // anything else (what the user typed) as it is.
  void setStoredText(TextView stored);
  // Placeholder, tooltip and the field's own place in the shown script.
  void RetextControls();

 private:
  void OfferPlaces(const QString& typed);

  QStringListModel* places_ = nullptr;
  QCompleter* completer_ = nullptr;
};

}  // namespace xuanshu
