// The history pane: a tree of the saved charts, root "历史排盘", one node
// per group and one per chart. It mirrors the history store after every
// operation, so the tree always shows what is on disk.
#pragma once

#include <QTreeWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "app_home.h"
#include "record/history_store.h"

class QMenu;

namespace xuanshu {

class BirthForm;
class ReportPane;

class HistoryTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit HistoryTree(const AppHome& home, QWidget* parent = nullptr);

  void AttachPanes(BirthForm* form, ReportPane* report);
  // Creates the data folder, the root and "其他", and lists every record.
  void InitialUpdate();

  const HistoryStore& store() const { return store_; }
  QTreeWidgetItem* rootNode() const { return topLevelItem(0); }
  QTreeWidgetItem* groupNode(std::size_t group) const;
  QTreeWidgetItem* chartNode(ChartLocation at) const;
  std::optional<ChartLocation> LocationOf(const QTreeWidgetItem* node) const;
  bool IsGroup(const QTreeWidgetItem* node) const;
  bool IsChart(const QTreeWidgetItem* node) const;

  // Services for the form.
  bool AddChart(const std::filesystem::path& recordPath);
  bool OpenChart(QTreeWidgetItem* node);
  bool OpenPressedNode() { return OpenChart(pressedNode_); }
  bool OpenSelectedNode() { return OpenChart(selectedNode()); }
  QTreeWidgetItem* selectedNode() const;
  // The group of a chart computed under this name: the selected group, or
  // the group of a listed chart of that name, else "其他".
  Text GroupForChart(TextView name) const;

  // The context-menu commands.
  void DeleteChart(QTreeWidgetItem* node);
  void ExportChart(QTreeWidgetItem* node);
  void NewGroup();
  void DeleteGroup(QTreeWidgetItem* node);
  void StartRename(QTreeWidgetItem* node);
  // End of label editing (not called when the edit was cancelled).
  void EndLabelEdit(QTreeWidgetItem* node, const QString& newText);
  // The drop: moves the chart when the target is another group.
  bool DropChart(QTreeWidgetItem* source, QTreeWidgetItem* target);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateMenus();
  void AddCommand(QMenu* menu, const QString& text, void (HistoryTree::*command)(QTreeWidgetItem*));
  void NewGroupAt(QTreeWidgetItem*) { NewGroup(); }
  void OpenChartAt(QTreeWidgetItem* node) { OpenChart(node); }
  QTreeWidgetItem* MakeGroupItem(const HistoryGroup& group) const;
  QTreeWidgetItem* MakeChartItem(const HistoryChart& chart) const;
  void Mirror();
  void MirrorCharts(QTreeWidgetItem* groupItem, const std::vector<HistoryChart>& shown,
                    const std::vector<HistoryChart>& wanted);
  void Forget(QTreeWidgetItem* removed);
  void ReportFailure(const StoreResult& result);
  void SelectNode(QTreeWidgetItem* node);

  HistoryStore store_;
  std::vector<HistoryGroup> shown_;  // what the tree shows, group by group
  BirthForm* form_ = nullptr;
  ReportPane* report_ = nullptr;
  QTreeWidgetItem* pressedNode_ = nullptr;
  QTreeWidgetItem* menuNode_ = nullptr;
  QString oldLabel_;
  QMenu* rootMenu_ = nullptr;
  QMenu* groupMenu_ = nullptr;
  QMenu* chartMenu_ = nullptr;
  QIcon groupIcon_;
  QIcon chartIcon_;
};

}  // namespace xuanshu
