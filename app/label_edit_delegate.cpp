#include "label_edit_delegate.h"

#include <QLineEdit>

namespace xuanshu {

LabelEditDelegate::LabelEditDelegate(int maxLength, EditFinished finished, QObject* parent)
    : QStyledItemDelegate(parent), maxLength_(maxLength), finished_(std::move(finished)) {}

QWidget* LabelEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(maxLength_);
  return editor;
}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                     const QModelIndex& index) const {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) finished_(index, line->text());
}

}  // namespace xuanshu
