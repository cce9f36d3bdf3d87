#include "record/history_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "record/folder_lock.h"
#include "record/ini_document.h"
#include "record/record_file.h"
#include "record/script_text.h"

namespace xuanshu {
namespace {

constexpr TextView kMainSection = u"main";
constexpr TextView kClassKey = u"class";
constexpr TextView kNameKey = u"name";
constexpr TextView kSexKey = u"sex";
constexpr TextView kGregorianSection = u"gongli";
constexpr TextView kMale = u"男";

// The form refill reads "name" and "sex" into buffers of 50 characters.
constexpr std::size_t kFormCapacity = 50;

// Only the head of a file is read for the listing, so a stray binary or huge
// file in the data folder costs no more than a record.
constexpr std::size_t kFirstReadBytes = 2 * 1024;
constexpr std::size_t kListReadBytes = 64 * 1024;
// Records edited in place are read whole, up to this size.
constexpr std::size_t kEditReadBytes = 16u << 20;

constexpr TextView kCannotDeleteGroup = u"该组不能删除！";
constexpr TextView kCannotRenameGroup = u"该组不能重命名！";
constexpr TextView kEmptyGroupName = u"分组名称不能为空";
constexpr TextView kGroupExists = u"该分组已存在";
constexpr TextView kEmptyChartName = u"排盘名称不能为空";
constexpr TextView kChartExists = u"已有同名排盘";
constexpr TextView kLabelTooLong = u"名称不能超过49个字";
constexpr TextView kLabelHasControl = u"名称不能包含换行等控制字符";
constexpr TextView kNoSuchEntry = u"该项已不存在";
constexpr TextView kCannotWrite = u"无法写入排盘记录：";
constexpr TextView kCannotRemove = u"无法删除排盘记录：";
constexpr TextView kCannotReadFolders = u"分组已改名，但无法读取这些文件夹，其中的排盘记录未更新：";

// The message in the shown script.
StoreResult Failure(TextView message) {
  return {false, Shown(message), {}, {}};
}

StoreResult FileFailure(TextView message, const std::filesystem::path& path) {
  return {false, Shown(message) + TextFromPath(path), {}, {}};
}

// std::filesystem::path's order for the relative paths of one listing:
// element by element, which is the order of their strings with the separator
// taken as lower than every other character.
bool PathBefore(std::string_view x, std::string_view y) {
  const auto rank = [](char c) { return c == '/' ? 0 : static_cast<unsigned char>(c) + 1; };
  const auto [px, py] = std::mismatch(x.begin(), x.end(), y.begin(), y.end());
  if (py == y.end()) return false;
  if (px == x.end()) return true;
  return rank(*px) < rank(*py);
}

// The first eight bytes of a relative path as a number that orders as
// PathBefore does wherever two numbers differ: the separator counts as 0,
// which no byte of a name is, and a shorter path is filled with 0.
std::uint64_t OrderPrefix(std::string_view path) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const unsigned char c = i < path.size() ? static_cast<unsigned char>(path[i]) : 0;
    prefix = prefix << 8 | (c == '/' ? 0 : c);
  }
  return prefix;
}

// "class" and "name" of the file `name` in the open folder `folder` (or of
// the path `name` with AT_FDCWD), read from its head only into buffer;
// nullopt when the file cannot be read at all. A record's "main" section
// comes first, so the first few kilobytes nearly always hold it; otherwise
// the head is read on up to its full length.
std::optional<RecordMainKeys> ReadMainKeysAt(int folder, const char* name, std::string& buffer,
                                             FileHeadReader::Listed listed) {
  FileHeadReader file(folder, name, listed);
  if (!file.ok()) return std::nullopt;
  buffer.clear();
  for (const std::size_t limit : {kFirstReadBytes, kListReadBytes}) {
    if (!file.ReadUpTo(limit, buffer)) return std::nullopt;
    const bool whole = buffer.size() < limit;
    std::string_view head = buffer;
    if (!whole) {
      // Leave out the partial last line so a character split at the cut
      // cannot change how the head decodes.
      const std::size_t lastBreak = head.rfind('\n');
      head = head.substr(0, lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
    }
    HeadMainKeys keys = MainKeysOfHead(head);
    if (whole || keys.complete || limit == kListReadBytes) return std::move(keys.keys);
  }
  return std::nullopt;
}

// A folder open for reading its entries; closed when it goes.
class FolderReader {
 public:
  explicit FolderReader(const std::filesystem::path& path) : dir_(::opendir(path.c_str())) {
    error_ = dir_ == nullptr ? errno : 0;
  }
  ~FolderReader() {
    if (dir_ != nullptr) ::closedir(dir_);
  }
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  // The errno of opening or reading it; 0 while all went well.
  int error() const { return error_; }
  int fd() const { return ::dirfd(dir_); }
  // The next entry other than "." and "..", nullptr at the end or on an error.
  const dirent* Next() {
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir_);
      if (entry == nullptr) {
        error_ = errno;
        return nullptr;
      }
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") return entry;
    }
  }

 private:
  DIR* dir_;
  int error_ = 0;
};

enum class EntryKind { kFile, kLinkedFile, kFolder, kOther };

// What an entry of an open folder is, as std::filesystem's directory entries
// tell it: a link counts as the regular file it leads to (kLinkedFile), but a
// linked folder is not entered.
EntryKind KindOf(int folder, const dirent& entry) {
  unsigned char type = entry.d_type;
  struct stat info {};
  if (type == DT_UNKNOWN) {
    if (::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::kOther;
    type = S_ISLNK(info.st_mode)   ? DT_LNK
           : S_ISDIR(info.st_mode) ? DT_DIR
           : S_ISREG(info.st_mode) ? DT_REG
                                   : DT_UNKNOWN;
  }
  if (type == DT_DIR) return EntryKind::kFolder;
  if (type == DT_REG) return EntryKind::kFile;
  if (type == DT_LNK && ::fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode)) {
    return EntryKind::kLinkedFile;
  }
  return EntryKind::kOther;
}

// An entry of a folder: its name at `name` in a string of names, each
// ending in a zero.
struct FolderEntry {
  ino_t inode;
  std::size_t name, size;
  EntryKind kind;
};

// The entries of an open folder in the order of their inode numbers, their
// names kept in `names`. Files read in that order are read faster: on a disk
// it is roughly their order of place, and the kernel's records of them were
// made in it too. The order of reading does not show; listings are sorted.
std::vector<FolderEntry> EntriesByInode(FolderReader& reader, std::string& names) {
  std::vector<FolderEntry> entries;
  while (const dirent* entry = reader.Next()) {
    const std::string_view name = entry->d_name;
    entries.push_back({entry->d_ino, names.size(), name.size(), KindOf(reader.fd(), *entry)});
    names.append(name).push_back('\0');
  }
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.inode < b.inode; });
  return entries;
}

// A file of a listing with the keys of its head; no keys when it could not
// be read.
struct ListedFile {
  std::string path;  // as HistoryChart::path
  std::optional<RecordMainKeys> keys;
};

// The files under a folder at any depth, sorted by path, with what could not
// be read.
struct FolderListing {
  std::vector<ListedFile> files;
  std::vector<std::filesystem::path> temporaries;  // of interrupted saves
  std::vector<std::filesystem::path> unreadable;   // folders skipped
};

// Lists the files under root with the keys of each. A folder's files are
// read through it while it is open (one short name each, not a whole path),
// and it is closed before its subfolders, so a deep tree needs no more than
// one open folder at a time. The files are found under their paths relative
// to root, kept one after another in one string, and put in order at the end.
FolderListing ListRecords(const std::filesystem::path& root) {
  struct Folder {
    std::filesystem::path path;
    std::string relative;  // "" for root, else its path under root and "/"
  };
  // Small, so that sorting them moves little.
  struct Found {
    std::uint64_t prefix;  // OrderPrefix of the relative path
    std::size_t start;     // of the relative path in `relatives`
    std::uint32_t size;    // of the relative path
    std::uint32_t keys;    // in `keysFound`
  };
  FolderListing listing;
  std::string relatives;
  std::vector<Found> found;
  std::vector<std::optional<RecordMainKeys>> keysFound;
  std::string buffer;
  std::vector<Folder> pending{{root, {}}};
  while (!pending.empty()) {
    const Folder folder = std::move(pending.back());
    pending.pop_back();
    std::vector<Folder> subfolders;
    FolderReader reader(folder.path);
    std::string names;
    if (reader.error() == 0) {
      for (const FolderEntry& entry : EntriesByInode(reader, names)) {
        const char* const cName = names.c_str() + entry.name;
        const std::string_view name(cName, entry.size);
        const EntryKind kind = entry.kind;
        if (kind == EntryKind::kFolder) {
          subfolders.push_back({folder.path / name, folder.relative + std::string(name) + '/'});
        } else if (kind == EntryKind::kOther) {
          continue;
        } else if (IsTemporaryFileName(name)) {
          listing.temporaries.push_back(folder.path / name);
        } else {
          const auto listed = kind == EntryKind::kFile ? FileHeadReader::Listed::kRegularEntry
                                                       : FileHeadReader::Listed::kAnyEntry;
          const std::size_t start = relatives.size();
          relatives.append(folder.relative).append(name);
          const std::string_view path = std::string_view(relatives).substr(start);
          found.push_back({OrderPrefix(path), start, static_cast<std::uint32_t>(path.size()),
                           static_cast<std::uint32_t>(keysFound.size())});
          keysFound.push_back(ReadMainKeysAt(reader.fd(), cName, buffer, listed));
        }
      }
    }
    if (reader.error() != 0 && (folder.path != root || reader.error() != ENOENT)) {
      listing.unreadable.push_back(folder.path);
    }
    pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                   std::make_move_iterator(subfolders.rend()));
  }
  const auto relative = [&](const Found& f) {
    return std::string_view(relatives).substr(f.start, f.size);
  };
  std::sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    // Equal prefixes: the same bytes up to the eighth or the shorter path's end.
    const std::size_t same = std::min<std::size_t>({a.size, b.size, 8});
    return PathBefore(relative(a).substr(same), relative(b).substr(same));
  });
  listing.files.reserve(found.size());
  std::string joined = root.native();
  if (!joined.empty() && joined.back() != '/') joined += '/';
  const std::size_t rootSize = joined.size();
  for (Found& f : found) {
    // root / relative, made from one string: operator/ would copy root's
    // parsed elements for every file.
    joined.resize(rootSize);
    joined.append(relative(f));
    listing.files.push_back({joined, std::move(keysFound[f.keys])});
  }
  return listing;
}

// Rewrites one key of section "main" in an existing record, holding the
// folder's lock from the read to the save. Refused for a missing file and
// for one that is no text (it would be damaged).
bool WriteMainKey(const std::filesystem::path& path, TextView key, TextView value) {
  const FolderLock lock = FolderLock::Lock(path.parent_path());
  if (lock.busy()) return false;
  const std::optional<Text> text = ReadTextFile(path, kEditReadBytes);
  if (!text || text->find_first_of(TextView(u"\0\uFFFD", 2)) != Text::npos) return false;
  IniDocument record = IniDocument::Parse(*text);
  record.Set(kMainSection, key, value);
  return SaveIniFile(record, path);
}

// "无法写入排盘记录：a、b" for every file that could not be updated.
StoreResult NotUpdated(std::vector<std::filesystem::path> paths, TextView message) {
  StoreResult result{false, Shown(message), {}, {}};
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) result.message += u"、";
    result.message += TextFromPath(paths[i]);
  }
  result.notUpdated = std::move(paths);
  return result;
}

}  // namespace

std::optional<RecordMainKeys> ReadRecordMainKeys(const std::filesystem::path& path) {
  std::string buffer;
  return ReadMainKeysAt(AT_FDCWD, path.c_str(), buffer, FileHeadReader::Listed::kAnyEntry);
}

HistoryStore::HistoryStore(std::filesystem::path dataDir) : dataDir_(dataDir.lexically_normal()) {
  groups_.push_back({Text(kDefaultGroupName), {}});
}

bool HistoryStore::Contains(ChartLocation at) const {
  return at.group < groups_.size() && at.index < groups_[at.group].charts.size();
}

void HistoryStore::LoadAll() {
  std::error_code ec;
  std::filesystem::create_directories(dataDir_, ec);
  LoadExisting();
}

void HistoryStore::LoadExisting() {
  groups_.assign(1, {Text(kDefaultGroupName), {}});
  std::unordered_map<Text, std::size_t> groupIndex{{Text(kDefaultGroupName), 0}};
  FolderListing listing = ListRecords(dataDir_);
  RemoveStaleTemporaries(listing.temporaries);
  unreadable_ = std::move(listing.unreadable);
  for (auto& [path, keys] : listing.files) {
    if (!keys) continue;  // unreadable: nothing to list
    auto [it, added] = groupIndex.try_emplace(keys->group, groups_.size());
    if (added) groups_.push_back({std::move(keys->group), {}});
    groups_[it->second].charts.push_back({std::move(keys->name), std::move(path)});
  }
}

bool HistoryStore::Refresh() {
  std::error_code ec;
  std::filesystem::create_directories(dataDir_, ec);
  std::map<std::string, RecordMainKeys> onDisk;
  FolderListing listing = ListRecords(dataDir_);
  unreadable_ = std::move(listing.unreadable);
  for (auto& [path, keys] : listing.files) {
    if (keys) onDisk.emplace(std::move(path), std::move(*keys));
  }
  std::vector<HistoryGroup> refreshed;
  std::set<std::string> placed;
  for (const HistoryGroup& group : groups_) {
    HistoryGroup& kept = refreshed.emplace_back(HistoryGroup{group.name, {}});
    for (const HistoryChart& chart : group.charts) {
      const auto found = onDisk.find(chart.path);
      if (found == onDisk.end() || found->second.group != group.name) continue;
      if (!placed.insert(chart.path).second) continue;
      kept.charts.push_back({found->second.name, chart.path});
    }
  }
  for (const auto& [path, keys] : onDisk) {
    if (placed.contains(path)) continue;
    const Text& name = keys.group;
    auto group = std::find_if(refreshed.begin(), refreshed.end(),
                              [&name](const HistoryGroup& g) { return g.name == name; });
    if (group == refreshed.end()) group = refreshed.insert(refreshed.end(), {name, {}});
    group->charts.push_back({keys.name, path});
  }
  // A group that lost all its charts on disk goes, as at a restart.
  for (std::size_t g = refreshed.size(); g-- > 1;) {
    const bool wasEmpty = g < groups_.size() && groups_[g].charts.empty();
    if (refreshed[g].charts.empty() && !wasEmpty) {
      refreshed.erase(refreshed.begin() + static_cast<std::ptrdiff_t>(g));
    }
  }
  if (refreshed == groups_) return false;
  groups_ = std::move(refreshed);
  return true;
}

std::optional<AddedChart> HistoryStore::AddChart(const std::filesystem::path& path) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::optional<RecordMainKeys> keys = ReadRecordMainKeys(path);
  if (!keys) return std::nullopt;

  // Listed paths are kept in normal form, so one file has one spelling.
  const std::filesystem::path file = path.lexically_normal();
  AddedChart added;
  for (std::size_t g = groups_.size(); g-- > 0;) {
    std::vector<HistoryChart>& charts = groups_[g].charts;
    for (std::size_t i = charts.size(); i-- > 0;) {
      if (charts[i].name == keys->name || charts[i].path == file.native()) {
        added.removed.push_back({g, i});
        charts.erase(charts.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
  }
  std::size_t group = FindGroup(keys->group).value_or(groups_.size());
  if (group == groups_.size()) groups_.push_back({std::move(keys->group), {}});
  groups_[group].charts.push_back({std::move(keys->name), file.native()});
  added.location = {group, groups_[group].charts.size() - 1};
  return added;
}

StoreResult HistoryStore::DeleteChart(ChartLocation at) {
  if (!Contains(at)) return Failure(kNoSuchEntry);
  std::vector<HistoryChart>& charts = groups_[at.group].charts;
  std::error_code ec;
  {
    const FolderLock lock =
        FolderLock::Lock(std::filesystem::path(charts[at.index].path).parent_path());
    std::filesystem::remove(charts[at.index].path, ec);
  }
  if (ec) return FileFailure(kCannotRemove, charts[at.index].path);
  charts.erase(charts.begin() + static_cast<std::ptrdiff_t>(at.index));
  return {true, {}, at, {}};
}

StoreResult HistoryStore::RenameChart(ChartLocation at, TextView newName) {
  if (!Contains(at)) return Failure(kNoSuchEntry);
  if (CharacterCount(newName) > kMaxLabelLength) return Failure(kLabelTooLong);
  // A label is one line of its record.
  if (HasControlCharacter(newName)) return Failure(kLabelHasControl);
  HistoryChart& entry = groups_[at.group].charts[at.index];
  if (newName == entry.name) return {true, {}, at};
  if (newName.empty()) return Failure(kEmptyChartName);
  // Two charts of one name would stand for each other when one is computed
  // again.
  if (FindChartByName(newName)) return Failure(kChartExists);
  if (!WriteMainKey(entry.path, kNameKey, newName)) return FileFailure(kCannotWrite, entry.path);
  entry.name = Text(newName);
  return {true, {}, at, {}};
}

StoreResult HistoryStore::RenameGroup(std::size_t group, TextView newName) {
  if (group >= groups_.size()) return Failure(kNoSuchEntry);
  if (group == 0) return Failure(kCannotRenameGroup);
  HistoryGroup& target = groups_[group];
  if (newName == target.name) return {};
  if (newName.empty()) return Failure(kEmptyGroupName);
  if (CharacterCount(newName) > kMaxLabelLength) return Failure(kLabelTooLong);
  if (HasControlCharacter(newName)) return Failure(kLabelHasControl);
  if (FindGroup(newName)) return Failure(kGroupExists);

  std::vector<std::filesystem::path> unreadable;
  if (!target.charts.empty()) {
    // Files listed under another group of the same name stay with it.
    std::set<std::string> elsewhere;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      if (g == group || groups_[g].name != target.name) continue;
      for (const HistoryChart& c : groups_[g].charts) elsewhere.insert(c.path);
    }
    FolderListing listing = ListRecords(dataDir_);
    unreadable = std::move(listing.unreadable);
    std::vector<std::filesystem::path> rewritten, failed;
    for (const auto& [path, keys] : listing.files) {
      if (!keys || keys->group != target.name || elsewhere.contains(path)) continue;
      (WriteMainKey(path, kClassKey, newName) ? rewritten : failed).push_back(path);
    }
    if (!failed.empty()) {
      // Put back what was already renamed, so the group stays whole.
      for (const std::filesystem::path& done : rewritten) {
        WriteMainKey(done, kClassKey, target.name);
      }
      return NotUpdated(std::move(failed), kCannotWrite);
    }
  }
  target.name = Text(newName);
  if (unreadable.empty()) return {};
  StoreResult partial = NotUpdated(std::move(unreadable), kCannotReadFolders);
  partial.ok = true;
  return partial;
}

StoreResult HistoryStore::DeleteGroup(std::size_t group) {
  if (group >= groups_.size()) return Failure(kNoSuchEntry);
  if (group == 0) return Failure(kCannotDeleteGroup);
  std::vector<HistoryChart> kept;
  std::vector<std::filesystem::path> failed;
  for (HistoryChart& entry : groups_[group].charts) {
    if (WriteMainKey(entry.path, kClassKey, kDefaultGroupName)) {
      groups_[0].charts.push_back(std::move(entry));
    } else {
      failed.push_back(entry.path);
      kept.push_back(std::move(entry));
    }
  }
  StoreResult result = failed.empty() ? StoreResult{} : NotUpdated(std::move(failed), kCannotWrite);
  if (kept.empty()) {
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(group));
  } else {
    groups_[group].charts = std::move(kept);
  }
  return result;
}

StoreResult HistoryStore::MoveChart(ChartLocation at, std::size_t targetGroup) {
  if (!Contains(at) || targetGroup >= groups_.size()) return Failure(kNoSuchEntry);
  if (targetGroup == at.group) return {true, {}, at, {}};
  std::vector<HistoryChart>& from = groups_[at.group].charts;
  if (!WriteMainKey(from[at.index].path, kClassKey, groups_[targetGroup].name)) {
    return FileFailure(kCannotWrite, from[at.index].path);
  }
  std::vector<HistoryChart>& to = groups_[targetGroup].charts;
  to.push_back(std::move(from[at.index]));
  from.erase(from.begin() + static_cast<std::ptrdiff_t>(at.index));
  return {true, {}, {targetGroup, to.size() - 1}, {}};
}

std::size_t HistoryStore::NewGroup() {
  groups_.push_back({Shown(kNewGroupName), {}});
  return groups_.size() - 1;
}

std::size_t HistoryStore::EnsureGroup(TextView name) {
  if (const std::optional<std::size_t> found = FindGroup(name)) return *found;
  groups_.push_back({Text(name), {}});
  return groups_.size() - 1;
}

void HistoryStore::OrderCharts(
    const std::function<bool(const HistoryChart&, const HistoryChart&)>& before) {
  for (HistoryGroup& group : groups_) {
    std::stable_sort(group.charts.begin(), group.charts.end(), before);
  }
}

std::optional<ChartLocation> HistoryStore::FindChartByPath(
    const std::filesystem::path& path) const {
  const std::filesystem::path wanted = path.lexically_normal();
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const std::vector<HistoryChart>& charts = groups_[g].charts;
    for (std::size_t i = 0; i < charts.size(); ++i) {
      if (charts[i].path == wanted.native()) return ChartLocation{g, i};
    }
  }
  return std::nullopt;
}

std::optional<ChartLocation> HistoryStore::FindChartByName(TextView name) const {
  std::optional<ChartLocation> found;
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const std::vector<HistoryChart>& charts = groups_[g].charts;
    for (std::size_t i = 0; i < charts.size(); ++i) {
      if (charts[i].name == name) found = ChartLocation{g, i};
    }
  }
  return found;
}

std::optional<std::size_t> HistoryStore::FindGroup(TextView name) const {
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    if (groups_[g].name == name) return g;
  }
  return std::nullopt;
}

std::optional<ChartFormData> HistoryStore::ReadChartForOpen(const std::filesystem::path& path) {
  const std::optional<Text> text = ReadTextFile(path, kEditReadBytes);
  if (!text) return std::nullopt;
  const IniDocument record = IniDocument::Parse(*text);
  const auto field = [&](TextView key) {
    return static_cast<int>(
        std::clamp<long long>(record.ReadInt(kGregorianSection, key), -99999, 99999));
  };
  ChartFormData data;
  data.name = record.ReadString(kMainSection, kNameKey, kFormCapacity);
  data.male = record.ReadString(kMainSection, kSexKey, kFormCapacity) == kMale;
  data.year = field(u"year");
  data.month = field(u"month");
  data.day = field(u"day");
  data.hour = field(u"hour");
  data.minute = field(u"minute");
  data.birthplace = RecordedBirthPlace(record);
  return data;
}

Text RecordedBirthPlace(const IniDocument& record) {
  Text place = record.ReadString(u"chusheng", u"didian");
  return place.empty() ? record.ReadString(u"chusheng", u"jingdu") : place;
}

}  // namespace xuanshu
