// The birthplace field: a line edit that offers the places of the table as
// the user types (China first, then the world), and also takes a longitude
// such as 87.6 or 87°36′. Empty means no birthplace.
#pragma once

#include <QLineEdit>

class QCompleter;
class QStringListModel;

namespace xuanshu {

class BirthplaceEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit BirthplaceEdit(QWidget* parent = nullptr);

  // True while the list of places is open, which takes Enter and Escape.
  bool offersPlaces() const;

 private:
  void OfferPlaces(const QString& typed);

  QStringListModel* places_ = nullptr;
  QCompleter* completer_ = nullptr;
};

}  // namespace xuanshu
