// The history pane: a tree of the saved charts, root "历史排盘", one node
// per group and one per chart. It mirrors the history store after every
// operation and whenever the data folder changes on disk, so the tree always
// shows what is there. Deletions can be undone until the program ends.
#pragma once

#include <QFileSystemWatcher>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app_home.h"
#include "record/history_store.h"

class QMenu;

namespace xuanshu {

class BirthForm;
class ReportPane;

// How the charts of each group are ordered.
enum class ChartOrder { kListing, kName, kBirth, kLastChange };

class HistoryTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit HistoryTree(const AppHome& home, QWidget* parent = nullptr);

  void AttachPanes(BirthForm* form, ReportPane* report);
  // Creates the data folder, the root and "其他", and lists every record.
  void InitialUpdate();
  // The root's label and the menus in the shown script; the names of groups
  // and charts are the user's and stay as they are.
  void RetextControls();

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
  // The group a drag would drop into now, or none.
  QTreeWidgetItem* dropTarget() const { return dropTarget_; }

  // Reads the data folder again and re-renders the record on show when it
  // changed on disk. Runs by itself shortly after the folder changes.
  void RefreshFromDisk();

  // Shows only charts whose name or group contains the text (all for none).
  void SetFilter(const QString& text);
  void SetOrder(ChartOrder order);

  // Undoes the last deletion of a chart (its file comes back byte for byte
  // in its group) or of a group (its charts go back into it).
  bool canUndo() const { return !undoSteps_.empty(); }
  bool Undo();

 signals:
  // What just happened, for the status bar.
  void statusMessage(const QString& text);
  void undoAvailable(bool available);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateMenus();
  void AddCommand(QMenu* menu, const char16_t* text,
                  void (HistoryTree::*command)(QTreeWidgetItem*));
  void NewGroupAt(QTreeWidgetItem*) { NewGroup(); }
  void OpenChartAt(QTreeWidgetItem* node) { OpenChart(node); }
  QTreeWidgetItem* MakeGroupItem(const HistoryGroup& group) const;
  QTreeWidgetItem* MakeChartItem(const HistoryChart& chart) const;
  void Mirror();
  struct ShownGroup;
  void MirrorCharts(QTreeWidgetItem* groupItem, const ShownGroup& shown,
                    const std::vector<HistoryChart>& wanted);
  // Keeps the store's groups as what the tree shows.
  void RememberShown();
  void Forget(QTreeWidgetItem* removed);
  void ReportFailure(const StoreResult& result);
  void SelectNode(QTreeWidgetItem* node);
  // Mirror() after ordering, filtering and watching again.
  void Sync();
  void ApplyFilter();
  void ApplyOrder();
  void WatchFolders();
  void WatchShownRecord();
  void SetDropTarget(QTreeWidgetItem* target);
  void AutoScrollStep();
  struct UndoStep {
    Text group;                                      // the chart's or the deleted group's name
    std::filesystem::path chartPath;                 // a deleted chart's record
    std::string chartBytes;                          //   and its bytes
    std::vector<std::filesystem::path> groupCharts;  // a deleted group's charts
  };

  // What the tree shows, group by group, to tell what changed: the names,
  // and the charts' paths one after another in one string (copies of the
  // store's paths would allocate their parts for every chart).
  struct ShownChart {
    Text name;
    std::size_t pathStart = 0, pathSize = 0;  // in shownPaths_
  };
  struct ShownGroup {
    Text name;
    std::vector<ShownChart> charts;
  };

  HistoryStore store_;
  std::vector<ShownGroup> shown_;
  std::string shownPaths_;
  BirthForm* form_ = nullptr;
  ReportPane* report_ = nullptr;
  QTreeWidgetItem* pressedNode_ = nullptr;
  QTreeWidgetItem* menuNode_ = nullptr;
  QString oldLabel_;
  QMenu* rootMenu_ = nullptr;
  QMenu* groupMenu_ = nullptr;
  QMenu* chartMenu_ = nullptr;
  std::vector<std::pair<QAction*, const char16_t*>> commands_;  // with their Simplified text
  QIcon groupIcon_;
  QIcon chartIcon_;
  QTreeWidgetItem* dropTarget_ = nullptr;
  QPoint dragPointer_;
  QTimer autoScroll_;
  QFileSystemWatcher watcher_;
  QTimer refreshSoon_;
  QString filter_;
  ChartOrder order_ = ChartOrder::kListing;
  std::vector<UndoStep> undoSteps_;
};

}  // namespace xuanshu
