// The main window's splitters. A bar follows the mouse only while the
// pointer's x coordinate lies from 30 to 800; releasing the history column's
// bar after a drag stores that x, clamped, as the history pane's width (a
// splitter without a width writer stores nothing); a double-click on either
// bar hides or shows the history column.
#pragma once

#include <QPointer>
#include <QSplitter>
#include <QSplitterHandle>
#include <functional>

namespace xuanshu {

class PaneSplitter : public QSplitter {
  Q_OBJECT

 public:
  static constexpr int kBarWidth = 4;
  static constexpr int kMinBarX = 30;
  static constexpr int kMaxBarX = 800;

  using WidthWriter = std::function<void(int x)>;

  PaneSplitter(Qt::Orientation orientation, WidthWriter writeWidth, QWidget* parent = nullptr);

  // The history pane that a double-click hides or shows.
  void SetHistoryPane(QWidget* pane) { historyPane_ = pane; }
  bool columnShown() const { return columnShown_; }

  // The bar's handlers, in the splitter's own coordinates.
  bool AcceptsBarMove(int x) const { return x >= kMinBarX && x <= kMaxBarX; }
  void OnBarReleased(int x);
  void OnBarDoubleClicked();
  // Collapses or restores this splitter's first column. A collapsed column
  // keeps its bar on screen, so it can be double-clicked again.
  void ShowFirstColumn(bool show);

 protected:
  QSplitterHandle* createHandle() override;

 private:
  WidthWriter writeWidth_;
  QPointer<QWidget> historyPane_;
  bool columnShown_ = true;
  int collapsedWidth_ = 0;  // the first column's width before collapsing
};

// The bar between two panes of a PaneSplitter.
class SplitterBar : public QSplitterHandle {
  Q_OBJECT

 public:
  SplitterBar(Qt::Orientation orientation, PaneSplitter* parent);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  PaneSplitter* owner() const { return static_cast<PaneSplitter*>(splitter()); }
  int PointerX(const QMouseEvent* event) const;

  QPoint pressedAt_;
  bool dragged_ = false;  // the pointer moved while the button was down
};

}  // namespace xuanshu
