// The history of saved charts: every record file under the data folder,
// listed under the group named by its "class" key in section "main".
//
// There is no index file: groups exist only as those "class" values, and the
// list is rebuilt from the files at every start. The model is tree-agnostic;
// the desktop tree mirrors groups() after each operation. Group 0 is always
// the default group "其他", which can be neither deleted nor renamed.
//
// Operations that touch files keep the model matching the disk: when a write
// or delete fails, the model is left as the disk is and the result carries a
// message for the user.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "record/ini_document.h"
#include "record/main_keys.h"
#include "record/text.h"

namespace xuanshu {

// Chart and group labels are limited like the form's name field.
inline constexpr std::size_t kMaxLabelLength = 49;
// The group of charts that belong to no other group.
inline constexpr TextView kDefaultGroupName = u"其他";
// The label of a group made by NewGroup(), shown in the shown script.
inline constexpr TextView kNewGroupName = u"新建分组";

struct HistoryChart {
  Text name;  // "name" of section "main"
  // The record file, as std::filesystem::path spells it (native(), lexically
  // normal): a string, since a path object of every listed chart would cost
  // the listing a parse and several allocations each.
  std::string path;
  bool operator==(const HistoryChart&) const = default;
};

struct HistoryGroup {
  Text name;  // "class" shared by its charts; may be empty
  std::vector<HistoryChart> charts;
  bool operator==(const HistoryGroup&) const = default;
};

// Position of a chart in groups(): groups()[group].charts[index].
struct ChartLocation {
  std::size_t group = 0;
  std::size_t index = 0;
  bool operator==(const ChartLocation&) const = default;
};

// Outcome of an operation; message is the text to show when it failed, or
// when it succeeded but left some files as they were (notUpdated).
// location is where the chart is afterwards (RenameChart, MoveChart).
struct StoreResult {
  bool ok = true;
  Text message;
  ChartLocation location;
  // Files (or folders that could not be read) a group operation did not update.
  std::vector<std::filesystem::path> notUpdated;
  explicit operator bool() const { return ok; }
};

// What AddChart did: where the chart now is, and the earlier entries it
// replaced (same display name, or the same file). removed holds their
// locations before the call, in descending order, so they can be taken out
// of a mirrored tree one after another before the new chart is appended.
struct AddedChart {
  ChartLocation location;
  std::vector<ChartLocation> removed;
};

// "class" and "name" of a record file (record/main_keys.h). Reads only the
// head of the file, up to the end of its main section, so a
// stray binary or huge file cannot stall the caller; nullopt when the file
// cannot be read at all.
std::optional<RecordMainKeys> ReadRecordMainKeys(const std::filesystem::path& path);

// The Gregorian birth data that refills the input form when a chart opens.
struct ChartFormData {
  Text name;
  bool male = true;  // "sex" equals "男"
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  Text birthplace;  // as the form's birthplace field showed it; empty without one
};

// The birthplace a chart was computed with: its place label, or the
// longitude typed instead; empty for a chart without a birthplace.
Text RecordedBirthPlace(const IniDocument& record);

class HistoryStore {
 public:
  explicit HistoryStore(std::filesystem::path dataDir);

  const std::filesystem::path& dataDir() const { return dataDir_; }
  const std::vector<HistoryGroup>& groups() const { return groups_; }
  const HistoryChart& chart(ChartLocation at) const { return groups_[at.group].charts[at.index]; }
  bool Contains(ChartLocation at) const;

  // Rebuilds the model from every file under the data folder (created when
  // missing), in path order. Files that are no record are listed with an
  // empty name under an empty-named group; folders that cannot be read are
  // skipped (unreadableFolders()). Stale temporaries of interrupted saves
  // are removed.
  void LoadAll();
  // The same without creating the data folder, for a reading command.
  void LoadExisting();
  const std::vector<std::filesystem::path>& unreadableFolders() const { return unreadable_; }
  // Brings the model in line with the data folder after other programs
  // changed it, keeping the order of what is still there: charts that stay
  // in their group keep their place (with their current name), new or
  // regrouped ones are appended in path order, groups emptied on disk go,
  // groups that were empty (made by NewGroup) stay. True when it changed.
  bool Refresh();

  // Lists the record at path after a computation. Earlier listed charts of
  // the same display name or the same file are removed first (their files
  // are left alone). Empty path, missing or unreadable file: nullopt.
  std::optional<AddedChart> AddChart(const std::filesystem::path& path);

  // Deletes the record file, then the entry.
  StoreResult DeleteChart(ChartLocation at);
  // Writes newName as "name" of the record; the file keeps its name.
  // Refused for an empty name, a name another listed chart has, or too long
  // a name.
  StoreResult RenameChart(ChartLocation at, TextView newName);
  // Renames a group. When it has charts, every file under the data folder
  // whose "class" equals the old name gets the new one; when one of them
  // cannot be rewritten, none is (notUpdated names those that failed).
  // Folders that cannot be read are skipped and named in notUpdated of a
  // successful result. Refused for the default group, an empty name, a name
  // another group has, or too long a name.
  StoreResult RenameGroup(std::size_t group, TextView newName);
  // Moves the group's charts to the default group (appended in order,
  // rewriting their "class") and removes the group. No file is deleted.
  // Charts whose file cannot be rewritten stay (notUpdated), and so does the
  // group.
  StoreResult DeleteGroup(std::size_t group);
  // Moves a chart to another group, writing that group's name as "class".
  // On success the chart is appended to the target group (result.location).
  StoreResult MoveChart(ChartLocation at, std::size_t targetGroup);
  // Appends an empty group "新建分组" (in memory until a chart moves in).
  std::size_t NewGroup();
  // The first group of this name, appended empty when there is none.
  std::size_t EnsureGroup(TextView name);
  // Reorders the charts of every group (a stable sort); the files stay.
  void OrderCharts(const std::function<bool(const HistoryChart&, const HistoryChart&)>& before);

  // The last listed chart with exactly this display name.
  std::optional<ChartLocation> FindChartByName(TextView name) const;
  // The listed chart of this record file.
  std::optional<ChartLocation> FindChartByPath(const std::filesystem::path& path) const;
  // The first group with exactly this name.
  std::optional<std::size_t> FindGroup(TextView name) const;

  // Name, sex and Gregorian birth data of a record; nullopt when the file
  // cannot be read.
  static std::optional<ChartFormData> ReadChartForOpen(const std::filesystem::path& path);

 private:
  std::filesystem::path dataDir_;
  std::vector<HistoryGroup> groups_;
  std::vector<std::filesystem::path> unreadable_;
};

}  // namespace xuanshu
