#include "birthplace_edit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QStringListModel>

#include "calendar/places.h"
#include "qt_text.h"

namespace xuanshu {
namespace {

constexpr std::size_t kOfferedPlaces = 20;
constexpr int kVisiblePlaces = 12;
constexpr int kFieldCharacters = 10;

}  // namespace

BirthplaceEdit::BirthplaceEdit(QWidget* parent)
    : QLineEdit(parent),
      places_(new QStringListModel(this)),
      completer_(new QCompleter(places_, this)) {
  setObjectName(QStringLiteral("birthplaceEdit"));
  setPlaceholderText(QStringLiteral(u"地名或经度"));
  setToolTip(
      QStringLiteral(u"出生地：地名，如乌鲁木齐、纽约；或经度，如87.6、87°36′、西经74°。"
                     u"留空则按所填时间排盘，不作真太阳时校正"));
  setMinimumWidth(fontMetrics().horizontalAdvance(QChar(u'国')) * kFieldCharacters);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  // The places come ranked by the table's search; the completer only shows them.
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setMaxVisibleItems(kVisiblePlaces);
  setCompleter(completer_);
  connect(this, &QLineEdit::textEdited, this, &BirthplaceEdit::OfferPlaces);
}

bool BirthplaceEdit::offersPlaces() const {
  return completer_->popup() != nullptr && completer_->popup()->isVisible();
}

void BirthplaceEdit::OfferPlaces(const QString& typed) {
  QStringList labels;
  for (const Place* place : SearchPlaces(ToText(typed.trimmed()), kOfferedPlaces)) {
    labels << ToQString(PlaceLabel(*place));
  }
  places_->setStringList(labels);
  if (labels.isEmpty()) {
    completer_->popup()->hide();
  } else {
    completer_->complete();
  }
}

}  // namespace xuanshu
