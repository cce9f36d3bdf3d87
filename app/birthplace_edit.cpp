#include "birthplace_edit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QStringListModel>

#include "calendar/longitude.h"
#include "calendar/places.h"
#include "qt_text.h"

namespace xuanshu {
namespace {

constexpr std::size_t kOfferedPlaces = 20;
constexpr int kVisiblePlaces = 12;
constexpr int kFieldCharacters = 10;

// A place of the table or a longitude: program text, shown in either script.
bool IsPlaceOrLongitude(TextView text) {
  return FindPlace(text) != nullptr || ParseLongitude(text).has_value();
}

}  // namespace

BirthplaceEdit::BirthplaceEdit(QWidget* parent)
    : QLineEdit(parent),
      places_(new QStringListModel(this)),
      completer_(new QCompleter(places_, this)) {
  setObjectName(QStringLiteral("birthplaceEdit"));
  RetextControls();
  setMinimumWidth(fontMetrics().horizontalAdvance(QChar(u'国')) * kFieldCharacters);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  // The places come ranked by the table's search; the completer only shows them.
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setMaxVisibleItems(kVisiblePlaces);
  setCompleter(completer_);
  connect(this, &QLineEdit::textEdited, this, &BirthplaceEdit::OfferPlaces);
}

void BirthplaceEdit::RetextControls() {
  setPlaceholderText(ShownQString(u"地名或经度"));
  setToolTip(
      ShownQString(u"出生地：地名，如乌鲁木齐、纽约；或经度，如87.6、87°36′、西经74°。"
                   u"留空则按所填时间排盘，不作真太阳时校正"));
  setStoredText(storedText());
}

Text BirthplaceEdit::storedText() const {
  const Text typed = ToText(text().trimmed());
  const Text simplified = SimplifiedOf(typed);
  return simplified != typed && IsPlaceOrLongitude(simplified) ? simplified : typed;
}

void BirthplaceEdit::setStoredText(TextView stored) {
  setText(ToQString(IsPlaceOrLongitude(stored) ? Shown(stored) : Text(stored)));
}

bool BirthplaceEdit::offersPlaces() const {
  return completer_->popup() != nullptr && completer_->popup()->isVisible();
}

void BirthplaceEdit::OfferPlaces(const QString& typed) {
  QStringList labels;
  for (const Place* place : SearchPlaces(ToText(typed.trimmed()), kOfferedPlaces)) {
    labels << ShownQString(PlaceLabel(*place));
  }
  places_->setStringList(labels);
  if (labels.isEmpty()) {
    completer_->popup()->hide();
  } else {
    completer_->complete();
  }
}

}  // namespace xuanshu
