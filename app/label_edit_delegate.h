// In-place label editing of the history tree: the editor is limited to the
// label length, and a finished edit is handed to the tree instead of being
// written into the item, so that the label changes only when the files do.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace xuanshu {

class LabelEditDelegate : public QStyledItemDelegate {
 public:
  using EditFinished = std::function<void(const QModelIndex& index, const QString& text)>;

  LabelEditDelegate(int maxLength, EditFinished finished, QObject* parent = nullptr);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 private:
  int maxLength_;
  EditFinished finished_;
};

}  // namespace xuanshu
