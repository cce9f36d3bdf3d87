#include "history_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QCollator>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <array>
#include <map>
#include <string_view>

#include "birth_form.h"
#include "label_edit_delegate.h"
#include "message_box.h"
#include "qt_text.h"
#include "record/record_file.h"
#include "report_pane.h"

namespace xuanshu {
namespace {

const QColor kBackground(251, 252, 253);
const QColor kDropTargetBackground(204, 228, 247);
constexpr int kIconSize = 16;
// A drag near the top or bottom edge scrolls the list.
constexpr int kAutoScrollMargin = 24;
constexpr int kAutoScrollInterval = 40;
// The label of the tree's root.
constexpr TextView kRootLabel = u"历史排盘";
// Changes on disk usually come in bursts (a save writes, then renames).
constexpr int kRefreshDelay = 200;

// The unchanged items at both ends of a list that changed in the middle.
struct Alignment {
  int prefix = 0;
  int suffix = 0;
  int removed = 0;   // shown items between them
  int inserted = 0;  // wanted items between them
  bool OneChangedInPlace() const { return removed == 1 && inserted == 1; }
};

template <typename Same>
Alignment Align(int shown, int wanted, Same same) {
  Alignment a;
  while (a.prefix < shown && a.prefix < wanted && same(a.prefix, a.prefix)) ++a.prefix;
  while (a.suffix < shown - a.prefix && a.suffix < wanted - a.prefix &&
         same(shown - 1 - a.suffix, wanted - 1 - a.suffix)) {
    ++a.suffix;
  }
  a.removed = shown - a.prefix - a.suffix;
  a.inserted = wanted - a.prefix - a.suffix;
  return a;
}

bool IsWithin(const QTreeWidgetItem* node, const QTreeWidgetItem* ancestor) {
  for (; node != nullptr; node = node->parent()) {
    if (node == ancestor) return true;
  }
  return false;
}

int Count(std::size_t size) {
  return static_cast<int>(size);
}

// Hiding or showing an item costs the view a lookup of its row; asking
// costs nothing while no item is hidden.
void SetHidden(QTreeWidgetItem* item, bool hidden) {
  if (item->isHidden() != hidden) item->setHidden(hidden);
}

// The folders under root at any depth as QDirIterator lists them with
// QDir::Dirs | QDir::NoDotAndDotDot: hidden ones left out, a link to a
// folder listed but not entered. Read with readdir, which tells most
// entries' types without a look at each file.
void AddFoldersUnder(const std::filesystem::path& folder, QStringList& folders) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::filesystem::path> subfolders;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;  // hidden, "." and ".."
    unsigned char type = entry->d_type;
    struct stat info {};
    if (type == DT_UNKNOWN &&
        ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      type = S_ISLNK(info.st_mode) ? DT_LNK : S_ISDIR(info.st_mode) ? DT_DIR : DT_REG;
    }
    if (type == DT_DIR) {
      subfolders.push_back(folder / entry->d_name);
    } else if (type == DT_LNK && ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 &&
               S_ISDIR(info.st_mode)) {
      folders << PathToQString(folder / entry->d_name);
    }
  }
  ::closedir(dir);
  for (const std::filesystem::path& subfolder : subfolders) {
    folders << PathToQString(subfolder);
    AddFoldersUnder(subfolder, folders);
  }
}

}  // namespace

HistoryTree::HistoryTree(const AppHome& home, QWidget* parent)
    : QTreeWidget(parent), store_(home.dataDir) {
  setColumnCount(1);
  header()->hide();
  setRootIsDecorated(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(kIconSize, kIconSize));
  setUniformRowHeights(true);
  setDragEnabled(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, kBackground);
  setPalette(colours);
  groupIcon_ = style()->standardIcon(QStyle::SP_DirIcon);
  chartIcon_ = style()->standardIcon(QStyle::SP_FileIcon);
  setItemDelegate(new LabelEditDelegate(
      static_cast<int>(kMaxLabelLength),
      [this](const QModelIndex& index, const QString& text) {
        EndLabelEdit(itemFromIndex(index), text);
      },
      this));
  CreateMenus();
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* node) { OpenChart(node); });
  connect(this, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* node) { OpenChart(node); });

  autoScroll_.setInterval(kAutoScrollInterval);
  connect(&autoScroll_, &QTimer::timeout, this, &HistoryTree::AutoScrollStep);
  refreshSoon_.setSingleShot(true);
  refreshSoon_.setInterval(kRefreshDelay);
  connect(&refreshSoon_, &QTimer::timeout, this, &HistoryTree::RefreshFromDisk);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &refreshSoon_,
          qOverload<>(&QTimer::start));
  connect(&watcher_, &QFileSystemWatcher::fileChanged, &refreshSoon_, qOverload<>(&QTimer::start));
}

void HistoryTree::AttachPanes(BirthForm* form, ReportPane* report) {
  form_ = form;
  report_ = report;
  connect(report_, &ReportPane::shownRecordChanged, this, &HistoryTree::WatchShownRecord);
}

// A menu command runs once its menu has closed, so that a label editor it
// opens keeps the focus.
void HistoryTree::AddCommand(QMenu* menu, const char16_t* text,
                             void (HistoryTree::*command)(QTreeWidgetItem*)) {
  QAction* action = menu->addAction(ShownQString(text), this, [this, command] {
    QMetaObject::invokeMethod(
        this, [this, command] { (this->*command)(menuNode_); }, Qt::QueuedConnection);
  });
  commands_.emplace_back(action, text);
}

void HistoryTree::CreateMenus() {
  rootMenu_ = new QMenu(this);
  AddCommand(rootMenu_, u"新建分组", &HistoryTree::NewGroupAt);

  groupMenu_ = new QMenu(this);
  AddCommand(groupMenu_, u"删除该组", &HistoryTree::DeleteGroup);
  AddCommand(groupMenu_, u"重命名", &HistoryTree::StartRename);

  chartMenu_ = new QMenu(this);
  AddCommand(chartMenu_, u"打开排盘", &HistoryTree::OpenChartAt);
  AddCommand(chartMenu_, u"删除排盘", &HistoryTree::DeleteChart);
  AddCommand(chartMenu_, u"导出排盘", &HistoryTree::ExportChart);
  AddCommand(chartMenu_, u"重命名", &HistoryTree::StartRename);
}

void HistoryTree::RetextControls() {
  for (const auto& [action, text] : commands_) action->setText(ShownQString(text));
  if (QTreeWidgetItem* root = rootNode()) root->setText(0, ShownQString(kRootLabel));
}

void HistoryTree::InitialUpdate() {
  clear();
  shown_.clear();
  pressedNode_ = nullptr;
  menuNode_ = nullptr;
  auto* root = new QTreeWidgetItem(QStringList{ShownQString(kRootLabel)});
  root->setIcon(0, groupIcon_);
  addTopLevelItem(root);
  store_.LoadAll();
  Sync();
  root->setExpanded(true);
}

void HistoryTree::Sync() {
  ApplyOrder();
  Mirror();
  ApplyFilter();
  WatchFolders();
}

// The data folder and its subfolders. Walking a folder of 100,000 records
// takes some milliseconds, so this runs when the history changed, not on
// every click.
void HistoryTree::WatchFolders() {
  QStringList wanted{PathToQString(store_.dataDir())};
  AddFoldersUnder(store_.dataDir(), wanted);
  const QStringList watched = watcher_.directories();
  QStringList gone;
  for (const QString& path : watched) {
    if (!wanted.contains(path)) gone << path;
  }
  if (!gone.isEmpty()) watcher_.removePaths(gone);
  QStringList added;
  for (const QString& path : wanted) {
    if (!watched.contains(path)) added << path;
  }
  if (!added.isEmpty()) watcher_.addPaths(added);
  WatchShownRecord();
}

// The record on show, for changes written in place.
void HistoryTree::WatchShownRecord() {
  const QString shown = report_ != nullptr && !report_->shownRecord().empty()
                            ? PathToQString(report_->shownRecord())
                            : QString();
  const QStringList watched = watcher_.files();
  QStringList gone;
  for (const QString& path : watched) {
    if (path != shown) gone << path;
  }
  if (!gone.isEmpty()) watcher_.removePaths(gone);
  if (!shown.isEmpty() && !watched.contains(shown)) watcher_.addPath(shown);
}

void HistoryTree::RefreshFromDisk() {
  if (store_.Refresh()) Sync();
  WatchFolders();
  if (report_ != nullptr) report_->FollowDisk();
}

void HistoryTree::SetFilter(const QString& text) {
  filter_ = text.trimmed();
  ApplyFilter();
}

// Charts match by name, groups by name; a matching group shows all its
// charts, another group only its matching ones and is hidden without any.
void HistoryTree::ApplyFilter() {
  QTreeWidgetItem* root = rootNode();
  if (root == nullptr) return;
  const auto matches = [this](const QTreeWidgetItem* item) {
    return filter_.isEmpty() || item->text(0).contains(filter_, Qt::CaseInsensitive);
  };
  for (int g = 0; g < root->childCount(); ++g) {
    QTreeWidgetItem* group = root->child(g);
    const bool groupMatches = matches(group);
    int shown = 0;
    for (int c = 0; c < group->childCount(); ++c) {
      QTreeWidgetItem* chart = group->child(c);
      const bool show = groupMatches || matches(chart);
      SetHidden(chart, !show);
      shown += show ? 1 : 0;
    }
    SetHidden(group, !groupMatches && shown == 0);
    if (!filter_.isEmpty() && shown > 0) group->setExpanded(true);
  }
}

void HistoryTree::SetOrder(ChartOrder order) {
  order_ = order;
  Sync();
}

void HistoryTree::ApplyOrder() {
  switch (order_) {
    case ChartOrder::kListing:  // as listed and added
      break;
    case ChartOrder::kName: {
      QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
      store_.OrderCharts([&](const HistoryChart& a, const HistoryChart& b) {
        return collator.compare(ToQString(a.name), ToQString(b.name)) < 0;
      });
      break;
    }
    case ChartOrder::kBirth: {
      std::map<std::string, std::array<int, 5>> births;
      for (const HistoryGroup& group : store_.groups()) {
        for (const HistoryChart& chart : group.charts) {
          const std::optional<ChartFormData> d = HistoryStore::ReadChartForOpen(chart.path);
          births[chart.path] = d ? std::array<int, 5>{d->year, d->month, d->day, d->hour, d->minute}
                                 : std::array<int, 5>{};
        }
      }
      store_.OrderCharts([&](const HistoryChart& a, const HistoryChart& b) {
        return births[a.path] < births[b.path];
      });
      break;
    }
    case ChartOrder::kLastChange: {
      std::map<std::string, std::filesystem::file_time_type> changed;
      for (const HistoryGroup& group : store_.groups()) {
        for (const HistoryChart& chart : group.charts) {
          std::error_code ec;
          changed[chart.path] = std::filesystem::last_write_time(chart.path, ec);
        }
      }
      // The newest first.
      store_.OrderCharts([&](const HistoryChart& a, const HistoryChart& b) {
        return changed[a.path] > changed[b.path];
      });
      break;
    }
  }
}

QTreeWidgetItem* HistoryTree::groupNode(std::size_t group) const {
  QTreeWidgetItem* root = rootNode();
  return root != nullptr ? root->child(static_cast<int>(group)) : nullptr;
}

QTreeWidgetItem* HistoryTree::chartNode(ChartLocation at) const {
  QTreeWidgetItem* group = groupNode(at.group);
  return group != nullptr ? group->child(static_cast<int>(at.index)) : nullptr;
}

bool HistoryTree::IsGroup(const QTreeWidgetItem* node) const {
  return node != nullptr && node->parent() != nullptr && node->parent() == rootNode();
}

bool HistoryTree::IsChart(const QTreeWidgetItem* node) const {
  return node != nullptr && IsGroup(node->parent());
}

std::optional<ChartLocation> HistoryTree::LocationOf(const QTreeWidgetItem* node) const {
  if (!IsChart(node)) return std::nullopt;
  QTreeWidgetItem* group = node->parent();
  return ChartLocation{
      static_cast<std::size_t>(rootNode()->indexOfChild(group)),
      static_cast<std::size_t>(group->indexOfChild(const_cast<QTreeWidgetItem*>(node)))};
}

QTreeWidgetItem* HistoryTree::selectedNode() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.constFirst();
}

QTreeWidgetItem* HistoryTree::MakeGroupItem(const HistoryGroup& group) const {
  auto* item = new QTreeWidgetItem(QStringList{ToQString(group.name)});
  item->setIcon(0, groupIcon_);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  QList<QTreeWidgetItem*> charts;
  charts.reserve(Count(group.charts.size()));
  for (const HistoryChart& chart : group.charts) charts << MakeChartItem(chart);
  item->addChildren(charts);
  return item;
}

QTreeWidgetItem* HistoryTree::MakeChartItem(const HistoryChart& chart) const {
  auto* item = new QTreeWidgetItem(QStringList{ToQString(chart.name)});
  item->setIcon(0, chartIcon_);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  return item;
}

// Brings the tree in line with the store, keeping every node whose group or
// chart is unchanged, so selection, expansion and the pressed node survive.
void HistoryTree::Mirror() {
  QTreeWidgetItem* root = rootNode();
  const std::vector<HistoryGroup>& wanted = store_.groups();
  const int shownCount = Count(shown_.size());
  const int wantedCount = Count(wanted.size());
  const Alignment a = Align(shownCount, wantedCount, [&](int i, int j) {
    return shown_[static_cast<std::size_t>(i)].name == wanted[static_cast<std::size_t>(j)].name;
  });
  if (!a.OneChangedInPlace()) {
    for (int k = 0; k < a.removed; ++k) {
      QTreeWidgetItem* removed = root->takeChild(a.prefix);
      Forget(removed);
      delete removed;
    }
    QList<QTreeWidgetItem*> added;
    for (int j = a.prefix; j < a.prefix + a.inserted; ++j) {
      added << MakeGroupItem(wanted[static_cast<std::size_t>(j)]);
    }
    root->insertChildren(a.prefix, added);
  }
  for (int j = 0; j < wantedCount; ++j) {
    int old = -1;
    if (j < a.prefix) {
      old = j;
    } else if (j >= wantedCount - a.suffix) {
      old = j - wantedCount + shownCount;
    } else if (a.OneChangedInPlace()) {
      old = j;
    } else {
      continue;  // made above with its charts
    }
    QTreeWidgetItem* item = root->child(j);
    const HistoryGroup& group = wanted[static_cast<std::size_t>(j)];
    if (!SameText(item->text(0), group.name)) item->setText(0, ToQString(group.name));
    MirrorCharts(item, shown_[static_cast<std::size_t>(old)], group.charts);
  }
  RememberShown();
}

void HistoryTree::RememberShown() {
  const std::vector<HistoryGroup>& groups = store_.groups();
  shown_.resize(groups.size());
  shownPaths_.clear();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    shown_[g].name = groups[g].name;
    std::vector<ShownChart>& charts = shown_[g].charts;
    charts.clear();
    charts.reserve(groups[g].charts.size());
    for (const HistoryChart& chart : groups[g].charts) {
      charts.push_back({chart.name, shownPaths_.size(), chart.path.size()});
      shownPaths_ += chart.path;
    }
  }
}

void HistoryTree::MirrorCharts(QTreeWidgetItem* groupItem, const ShownGroup& shown,
                               const std::vector<HistoryChart>& wanted) {
  const Alignment a = Align(Count(shown.charts.size()), Count(wanted.size()), [&](int i, int j) {
    const ShownChart& before = shown.charts[static_cast<std::size_t>(i)];
    const HistoryChart& after = wanted[static_cast<std::size_t>(j)];
    return before.name == after.name &&
           std::string_view(shownPaths_).substr(before.pathStart, before.pathSize) == after.path;
  });
  if (a.OneChangedInPlace()) {
    groupItem->child(a.prefix)->setText(0,
                                        ToQString(wanted[static_cast<std::size_t>(a.prefix)].name));
    return;
  }
  for (int k = 0; k < a.removed; ++k) {
    QTreeWidgetItem* removed = groupItem->takeChild(a.prefix);
    Forget(removed);
    delete removed;
  }
  QList<QTreeWidgetItem*> added;
  for (int j = a.prefix; j < a.prefix + a.inserted; ++j) {
    added << MakeChartItem(wanted[static_cast<std::size_t>(j)]);
  }
  groupItem->insertChildren(a.prefix, added);
}

void HistoryTree::Forget(QTreeWidgetItem* removed) {
  if (IsWithin(dropTarget_, removed)) dropTarget_ = nullptr;
  if (IsWithin(pressedNode_, removed)) pressedNode_ = nullptr;
  if (IsWithin(menuNode_, removed)) menuNode_ = nullptr;
}

// Also a success that left files as they were (a group rename that could
// not read some folders) says which.
void HistoryTree::ReportFailure(const StoreResult& result) {
  if (!result.message.empty()) ShowMessage(this, ToQString(result.message));
}

void HistoryTree::SelectNode(QTreeWidgetItem* node) {
  if (node == nullptr) return;
  setCurrentItem(node);
  scrollToItem(node);
}

bool HistoryTree::AddChart(const std::filesystem::path& recordPath) {
  const std::optional<AddedChart> added = store_.AddChart(recordPath);
  if (!added) return false;
  Sync();
  if (const std::optional<ChartLocation> at = store_.FindChartByPath(recordPath)) {
    if (QTreeWidgetItem* group = groupNode(at->group)) group->setExpanded(true);
    SelectNode(chartNode(*at));
  }
  return true;
}

bool HistoryTree::OpenChart(QTreeWidgetItem* node) {
  const std::optional<ChartLocation> at = LocationOf(node);
  if (!at) return false;
  const std::filesystem::path path = store_.chart(*at).path;
  if (report_ != nullptr && form_ != nullptr) report_->RenderChart(path, form_->layout());
  if (form_ != nullptr) {
    if (const std::optional<ChartFormData> data = HistoryStore::ReadChartForOpen(path)) {
      form_->FillFromChart(*data);
    }
  }
  return true;
}

Text HistoryTree::GroupForChart(TextView name) const {
  Text group(kDefaultGroupName);
  if (const QTreeWidgetItem* selected = selectedNode(); IsGroup(selected)) {
    group = ToText(selected->text(0));
  }
  if (const std::optional<ChartLocation> at = store_.FindChartByName(name)) {
    group = store_.groups()[at->group].name;
  }
  return group;
}

void HistoryTree::DeleteChart(QTreeWidgetItem* node) {
  const std::optional<ChartLocation> at = LocationOf(node);
  if (!at) return;
  const HistoryChart chart = store_.chart(*at);
  UndoStep step{store_.groups()[at->group].name,
                chart.path,
                ReadFileHead(chart.path, std::string::npos).value_or(std::string()),
                {}};
  const StoreResult result = store_.DeleteChart(*at);
  ReportFailure(result);
  Sync();
  if (!result) return;
  if (report_ != nullptr && report_->shownRecord() == chart.path) report_->ClearChart();
  undoSteps_.push_back(std::move(step));
  emit undoAvailable(true);
  emit statusMessage(ShownQString(u"已删除排盘 %1（Ctrl+Z 撤销）").arg(ToQString(chart.name)));
}

bool HistoryTree::Undo() {
  if (undoSteps_.empty()) return false;
  UndoStep step = std::move(undoSteps_.back());
  undoSteps_.pop_back();
  emit undoAvailable(!undoSteps_.empty());
  if (!step.chartPath.empty()) {
    std::error_code ec;
    if (std::filesystem::exists(step.chartPath, ec) ||
        !WriteFileAtomic(step.chartPath, step.chartBytes)) {
      ShowMessage(this, ShownQString(u"无法恢复排盘记录：") + PathToQString(step.chartPath));
      return false;
    }
    store_.AddChart(step.chartPath);
  } else {
    const std::size_t group = store_.EnsureGroup(step.group);
    for (const std::filesystem::path& path : step.groupCharts) {
      if (const std::optional<ChartLocation> at = store_.FindChartByPath(path)) {
        ReportFailure(store_.MoveChart(*at, group));
      }
    }
  }
  Sync();
  if (const std::optional<std::size_t> group = store_.FindGroup(step.group)) {
    groupNode(*group)->setExpanded(true);
  }
  if (const std::optional<ChartLocation> at = store_.FindChartByPath(step.chartPath)) {
    SelectNode(chartNode(*at));
  }
  emit statusMessage(ShownQString(u"已撤销删除"));
  return true;
}

void HistoryTree::ExportChart(QTreeWidgetItem* node) {
  if (OpenChart(node) && report_ != nullptr) report_->ExportReport();
}

void HistoryTree::NewGroup() {
  const std::size_t group = store_.NewGroup();
  Sync();
  rootNode()->setExpanded(true);
  QTreeWidgetItem* node = groupNode(group);
  SelectNode(node);
  oldLabel_ = node->text(0);
  editItem(node, 0);
}

void HistoryTree::DeleteGroup(QTreeWidgetItem* node) {
  if (!IsGroup(node)) return;
  const auto group = static_cast<std::size_t>(rootNode()->indexOfChild(node));
  if (group == 0) {
    ShowMessage(this, ShownQString(u"该组不能删除！"));
    return;
  }
  UndoStep step{store_.groups()[group].name, {}, {}, {}};
  for (const HistoryChart& chart : store_.groups()[group].charts) {
    step.groupCharts.push_back(chart.path);
  }
  const StoreResult result = store_.DeleteGroup(group);
  ReportFailure(result);
  Sync();
  if (!result) return;
  emit statusMessage(ShownQString(u"已删除分组 %1（Ctrl+Z 撤销）").arg(ToQString(step.group)));
  undoSteps_.push_back(std::move(step));
  emit undoAvailable(true);
}

void HistoryTree::StartRename(QTreeWidgetItem* node) {
  if (IsGroup(node) && rootNode()->indexOfChild(node) == 0) {
    ShowMessage(this, ShownQString(u"该组不能重命名！"));
    return;
  }
  if (!IsGroup(node) && !IsChart(node)) return;
  oldLabel_ = node->text(0);
  editItem(node, 0);
}

void HistoryTree::EndLabelEdit(QTreeWidgetItem* node, const QString& newText) {
  if (node == nullptr || newText == oldLabel_) return;
  if (IsGroup(node)) {
    const auto group = static_cast<std::size_t>(rootNode()->indexOfChild(node));
    ReportFailure(store_.RenameGroup(group, ToText(newText)));
  } else if (const std::optional<ChartLocation> at = LocationOf(node)) {
    ReportFailure(store_.RenameChart(*at, ToText(newText)));
  }
  Sync();
}

bool HistoryTree::DropChart(QTreeWidgetItem* source, QTreeWidgetItem* target) {
  if (source == nullptr || target == nullptr) return false;
  if (source == rootNode() || target == rootNode() || target == source->parent()) return false;
  const std::optional<ChartLocation> at = LocationOf(source);
  if (!at || !IsGroup(target)) return false;
  const auto targetGroup = static_cast<std::size_t>(rootNode()->indexOfChild(target));
  const std::filesystem::path moved = store_.chart(*at).path;
  const StoreResult result = store_.MoveChart(*at, targetGroup);
  ReportFailure(result);
  Sync();
  if (!result) return false;
  // Every group keeps its expanded state; the target opens to show the chart.
  groupNode(targetGroup)->setExpanded(true);
  if (const std::optional<ChartLocation> now = store_.FindChartByPath(moved)) {
    SelectNode(chartNode(*now));
  }
  return true;
}

void HistoryTree::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) {
    Undo();
    return;
  }
  QTreeWidgetItem* node = currentItem();
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (IsChart(node)) {
        OpenChart(node);
        return;
      }
      break;
    case Qt::Key_F2:
      if (node != nullptr && node != rootNode()) {
        StartRename(node);
        return;
      }
      break;
    case Qt::Key_Delete:
      if (IsChart(node)) {
        DeleteChart(node);
        return;
      }
      if (IsGroup(node)) {
        DeleteGroup(node);
        return;
      }
      break;
    default:
      break;
  }
  QTreeWidget::keyPressEvent(event);
}

void HistoryTree::SetDropTarget(QTreeWidgetItem* target) {
  if (target == dropTarget_) return;
  if (dropTarget_ != nullptr) dropTarget_->setBackground(0, QBrush());
  dropTarget_ = target;
  if (dropTarget_ != nullptr) dropTarget_->setBackground(0, kDropTargetBackground);
}

void HistoryTree::AutoScrollStep() {
  QScrollBar* bar = verticalScrollBar();
  const int y = dragPointer_.y();
  const int height = viewport()->height();
  int step = 0;
  if (y < kAutoScrollMargin) step = -1;
  if (y > height - kAutoScrollMargin) step = 1;
  if (step == 0 || !IsChart(pressedNode_)) {
    autoScroll_.stop();
    return;
  }
  bar->setValue(bar->value() + step * std::max(1, bar->singleStep()));
  QTreeWidgetItem* target = itemAt(dragPointer_);
  SetDropTarget(IsGroup(target) && target != pressedNode_->parent() ? target : nullptr);
}

void HistoryTree::mousePressEvent(QMouseEvent* event) {
  // A right click only opens the menu; the selection stays. The press is
  // left unaccepted: newer Qt sends the context-menu event only then.
  if (event->button() == Qt::RightButton) {
    event->ignore();
    return;
  }
  if (event->button() == Qt::LeftButton) pressedNode_ = itemAt(event->position().toPoint());
  QTreeWidget::mousePressEvent(event);
}

void HistoryTree::mouseMoveEvent(QMouseEvent* event) {
  // Dragging a chart: the selection stays, the pointer tells whether
  // releasing here moves the chart.
  if ((event->buttons() & Qt::LeftButton) && IsChart(pressedNode_)) {
    dragPointer_ = event->position().toPoint();
    QTreeWidgetItem* target = itemAt(dragPointer_);
    const bool movable = IsGroup(target) && target != pressedNode_->parent();
    SetDropTarget(movable ? target : nullptr);
    viewport()->setCursor(movable ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    if (target == pressedNode_) viewport()->unsetCursor();
    const bool nearEdge = dragPointer_.y() < kAutoScrollMargin ||
                          dragPointer_.y() > viewport()->height() - kAutoScrollMargin;
    if (nearEdge && !autoScroll_.isActive()) autoScroll_.start();
    return;
  }
  QTreeWidget::mouseMoveEvent(event);
}

void HistoryTree::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QTreeWidget::mouseReleaseEvent(event);
    return;
  }
  viewport()->unsetCursor();
  autoScroll_.stop();
  SetDropTarget(nullptr);
  QTreeWidgetItem* source = pressedNode_;
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  QTreeWidget::mouseReleaseEvent(event);
  DropChart(source, target);
}

void HistoryTree::contextMenuEvent(QContextMenuEvent* event) {
  QTreeWidgetItem* node = itemAt(event->pos());
  if (node == nullptr) return;
  menuNode_ = node;
  QMenu* menu = node == rootNode() ? rootMenu_ : IsGroup(node) ? groupMenu_ : chartMenu_;
  menu->exec(event->globalPos());
}

}  // namespace xuanshu
