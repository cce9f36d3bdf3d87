#include "record/history_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "engine/chart_engine.h"

#include "record/record_file.h"
#include "test_support.h"

namespace xuanshu {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr char16_t kOther[] = u"其他";
constexpr char16_t kNewGroup[] = u"新建分组";
constexpr char16_t kCannotDelete[] = u"该组不能删除！";
constexpr char16_t kCannotRename[] = u"该组不能重命名！";

std::string Utf8(TextView text) {
  return ToUtf8(text);
}

std::string RecordBytes(TextView name, TextView group, TextView sex = u"男") {
  return Utf8(Text(u"[main]\r\nname=") + Text(name) + u"\r\nclass=" + Text(group) + u"\r\nsex=" +
              Text(sex) +
              u"\r\n[gongli]\r\nyear=1990\r\nmonth=5\r\nday=7\r\nhour=8\r\nminute=3\r\n");
}

class HistoryStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path data() const { return dir_.path() / "data"; }

  std::filesystem::path Put(const std::string& relative, const std::string& bytes) {
    const auto path = data() / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path, bytes);
    return path;
  }
  std::filesystem::path PutRecord(const std::string& relative, TextView name, TextView group) {
    return Put(relative, RecordBytes(name, group));
  }

  // The store as the tree shows it: group lines, then "  name  relative path".
  std::string Listing(const HistoryStore& store) const {
    std::string out;
    for (const HistoryGroup& group : store.groups()) {
      out += "[" + Utf8(group.name) + "]\n";
      for (const HistoryChart& chart : group.charts) {
        const std::filesystem::path path = chart.path;
        out += "  " + Utf8(chart.name) + "  " + path.lexically_relative(data()).string() + "\n";
      }
    }
    return out;
  }

  // Every file under the data folder with its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data())) {
      if (entry.is_regular_file()) {
        files[entry.path().lexically_relative(data()).string()] = ReadFileBytes(entry.path());
      }
    }
    return files;
  }

  Text ClassOf(const std::string& relative) const {
    return LoadIniFile(data() / relative).ReadString(u"main", u"class");
  }

  // Three groups: 其他 (丙), 家人 (甲, 乙, 戊), 朋友 (丁, in a subfolder).
  HistoryStore LoadedStore() {
    PutRecord("a.bze", u"甲", u"家人");
    PutRecord("b.bze", u"乙", u"家人");
    PutRecord("c.bze", u"丙", kOther);
    PutRecord("e.bze", u"戊", u"家人");
    PutRecord("sub/d.bze", u"丁", u"朋友");
    HistoryStore store(data());
    store.LoadAll();
    return store;
  }

  static bool RunningAsRoot() { return ::geteuid() == 0; }

  TempDir dir_;
};

// Runs body in a child process that may hold at most `handles` open files;
// the child's exit status.
int InChildWithFewHandles(rlim_t handles, const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit limit{handles, handles};
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void MakeOlder(const std::filesystem::path& path, std::chrono::seconds age) {
  std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - age);
}

TEST_F(HistoryStoreTest, ListingAndRecordReaderAgreeOnARecordWithTwoMainSections) {
  const auto path = Put("two.bze", Utf8(u"[main]\r\nclass=甲组\r\n[gongli]\r\nyear=1990\r\n"
                                        u"[main]\r\nname=乙\r\nclass=丙组\r\n"));
  const std::optional<RecordMainKeys> keys = ReadRecordMainKeys(path);
  ASSERT_TRUE(keys);
  const IniDocument record = LoadIniFile(path);
  EXPECT_EQ(Utf8(keys->name), Utf8(record.ReadString(u"main", u"name")));
  EXPECT_EQ(Utf8(keys->group), Utf8(record.ReadString(u"main", u"class")));
  EXPECT_EQ(Utf8(keys->group), Utf8(u"甲组"));
}

TEST_F(HistoryStoreTest, ChartsNamedLikeTemporariesAreListedAndStaleTemporariesRemoved) {
  PutRecord(".x.tmp-1.bze", u".x.tmp-1", kOther);
  const auto stale = Put(".a.bze.tmp-42-0", RecordBytes(u"甲", u"家人"));
  const auto fresh = Put(".b.bze.tmp-42-1", RecordBytes(u"乙", u"家人"));
  const auto held = Put(".c.bze.tmp-42-2", RecordBytes(u"丙", u"家人"));
  const auto nested = Put("sub/.d.bze.tmp-7-3", RecordBytes(u"丁", u"家人"));
  for (const auto& path : {stale, held, nested}) MakeOlder(path, std::chrono::seconds(120));
  const int writer = ::open(held.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0) << "a writer still at work";

  HistoryStore store(data());
  store.LoadAll();
  ::close(writer);
  EXPECT_EQ(Listing(store), Utf8(u"[其他]\n  .x.tmp-1  .x.tmp-1.bze\n"));
  EXPECT_FALSE(std::filesystem::exists(stale)) << "older than a minute and not locked";
  EXPECT_FALSE(std::filesystem::exists(nested));
  EXPECT_TRUE(std::filesystem::exists(fresh)) << "may belong to a save in progress";
  EXPECT_TRUE(std::filesystem::exists(held));
}

TEST_F(HistoryStoreTest, DeepFoldersAreListedWhateverTheHandleLimit) {
  std::string folder;
  for (int i = 0; i < 40; ++i) {
    folder += "d" + std::to_string(i) + "/";
    PutRecord(folder + "c" + std::to_string(i) + ".bze", Num(i), u"深");
  }
  const int listed = InChildWithFewHandles(16, [this] {
    HistoryStore store(data());
    store.LoadAll();
    std::size_t charts = 0;
    for (const HistoryGroup& group : store.groups()) charts += group.charts.size();
    return static_cast<int>(charts);
  });
  EXPECT_EQ(listed, 40);
  const int renamed = InChildWithFewHandles(16, [this] {
    HistoryStore store(data());
    store.LoadAll();
    const std::optional<std::size_t> group = store.FindGroup(u"深");
    return group && store.RenameGroup(*group, u"浅") ? 0 : 1;
  });
  EXPECT_EQ(renamed, 0);
  folder.clear();
  for (int i = 0; i < 40; ++i) {
    folder += "d" + std::to_string(i) + "/";
    EXPECT_EQ(Utf8(ClassOf(folder + "c" + std::to_string(i) + ".bze")), Utf8(u"浅")) << i;
  }
}

TEST_F(HistoryStoreTest, GroupOperationsNameEveryFileTheyCouldNotUpdate) {
  PutRecord("a.bze", u"甲", u"家人");
  Put("bin1.bze", RecordBytes(u"子", u"家人") + std::string(1, '\0'));
  Put("bin2.bze", RecordBytes(u"丑", u"家人") + std::string(1, '\0'));
  HistoryStore store(data());
  store.LoadAll();
  const std::size_t group = store.FindGroup(u"家人").value();
  const auto before = Snapshot();
  const StoreResult renamed = store.RenameGroup(group, u"亲戚");
  EXPECT_FALSE(renamed);
  const StoreResult deleted = store.DeleteGroup(group);
  EXPECT_FALSE(deleted);
  for (const StoreResult* result : {&renamed, &deleted}) {
    for (const char* file : {"bin1.bze", "bin2.bze"}) {
      EXPECT_NE(Utf8(result->message).find(file), std::string::npos) << Utf8(result->message);
    }
  }
  EXPECT_EQ(ClassOf("a.bze"), kOther) << "the group's other chart moved";
  EXPECT_EQ(Snapshot().at("bin1.bze"), before.at("bin1.bze"));
}

TEST(RecordLockTest, EditsOfTheHistoryNeverRevertARecompute) {
  TempDir dir;
  const auto data = dir.path() / "data";
  ChartRequest request;
  request.name = u"张三";
  request.group = u"其他";
  request.year = 1990;
  request.month = 5;
  request.day = 17;
  request.recordPath = data / "张三.bze";
  ChartEngine engine;
  ASSERT_TRUE(ComputeChart(engine, request));
  HistoryStore store(data);
  store.LoadAll();

  std::atomic<bool> done{false};
  std::thread renamer([&] {
    for (int i = 0; !done; ++i) store.RenameChart({0, 0}, u"名" + Num(i % 10));
  });
  int reverted = 0;
  for (int i = 1; i < 200; ++i) {
    request.hour = i / 60;
    request.minute = i % 60;
    ASSERT_TRUE(ComputeChart(engine, request));
    std::this_thread::yield();
    const IniDocument record = LoadIniFile(request.recordPath);
    if (record.ReadInt(u"gongli", u"minute") != i % 60) ++reverted;
  }
  done = true;
  renamer.join();
  EXPECT_EQ(reverted, 0) << "recomputes undone by a rename's stale save";
}

TEST_F(HistoryStoreTest, DefaultGroupTextsAreTheProgramsOwn) {
  EXPECT_EQ(Text(kDefaultGroupName), kOther);
  EXPECT_EQ(Text(kNewGroupName), kNewGroup);
  HistoryStore store(data());
  ASSERT_EQ(store.groups().size(), 1u);
  EXPECT_EQ(store.groups()[0].name, kOther);
}

TEST_F(HistoryStoreTest, LoadAllListsEveryFileAtAnyDepthReadingOnlyMain) {
  PutRecord("a.bze", u"甲", u"家人");
  PutRecord("b.bze", u"乙", kOther);
  Put("blob.bin", std::string("\x00\x01\xFF\xFE[main]\x00name=x", 17) + std::string(5000, '\0'));
  Put("huge.bze", RecordBytes(u"大", u"家人") + "[pad]\r\n" + std::string(200000, 'x'));
  Put("late.bze", "[pad]\r\n" + std::string(70000, 'y') + "\r\n" + RecordBytes(u"迟", u"家人"));
  Put("legacy.bze", "[main]\r\nname=\xD5\xC5\xC8\xFD\r\nclass=\xBC\xD2\xC8\xCB\r\n");
  Put("nokeys.bze", Utf8(u"[main]\r\nsex=女\r\n"));
  Put("notes.txt", "just some notes\n");
  Put("order.bze", Utf8(u"[other]\r\nclass=错\r\n[main]\r\nname=戊\r\n[x]\r\nclass=错\r\n"));
  PutRecord("sub/deep/c.bze", u"丁", u"朋友");
  Put(
      "utf16.bze", std::string("\xFF\xFE", 2) + [] {
        std::string bytes;
        for (char16_t c : Text(u"[main]\r\nname=丙\r\nclass=朋友\r\n")) {
          bytes.push_back(static_cast<char>(c & 0xFF));
          bytes.push_back(static_cast<char>(c >> 8));
        }
        return bytes;
      }());
  Put("wide.bze",
      "[main]\r\npad=" + std::string(3000, 'w') + "\r\n" + RecordBytes(u"宽", u"家人").substr(8));
  Put(".a.bze.tmp-42-0", RecordBytes(u"甲", u"家人"));  // left by an interrupted save

  HistoryStore store(data());
  store.LoadAll();
  EXPECT_EQ(Listing(store), Utf8(u"[其他]\n"
                                 u"  乙  b.bze\n"
                                 u"[家人]\n"
                                 u"  甲  a.bze\n"
                                 u"  大  huge.bze\n"
                                 u"  张三  legacy.bze\n"
                                 u"  宽  wide.bze\n"
                                 u"[]\n"
                                 u"    blob.bin\n"
                                 u"    late.bze\n"
                                 u"    nokeys.bze\n"
                                 u"    notes.txt\n"
                                 u"  戊  order.bze\n"
                                 u"[朋友]\n"
                                 u"  丁  sub/deep/c.bze\n"
                                 u"  丙  utf16.bze\n"));

  store.LoadAll();
  EXPECT_EQ(store.groups().size(), 4u) << "a second load rebuilds, never adds";
}

// The listing decodes only the main section of a UTF-8 head; it must read
// what decoding the whole file reads.
TEST_F(HistoryStoreTest, MainKeysOfAFileAreThoseOfItsWholeDecodedText) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::string main = Utf8(u"[main]\r\nname=张三\r\nclass=家人\r\n");
  const Case cases[] = {
      {"plain record", RecordBytes(u"甲", u"家人")},
      {"byte-order mark", "\xEF\xBB\xBF" + main},
      {"mark and a bad byte after main", "\xEF\xBB\xBF" + main + "[x]\r\nv=\xFF\r\n"},
      {"bad byte after main: the head is GBK", main + "[x]\r\nv=\xFF\r\n"},
      {"cut character inside main", Utf8(u"[main]\r\nname=张") + "\xE4\xB8\r\nclass=x\r\n"},
      {"CR line ends", Utf8(u"[MAIN]\rname=乙\rclass=丙\r[x]\rname=no\r")},
      {"blanks and comments", Utf8(u" [ main ] \n ; name=no\n name \t=  丁 \n")},
      {"main after another section", Utf8(u"[a]\nname=no\n[main]\nclass=戊\nname=己\n")},
      {"first of a repeated key", Utf8(u"[main]\nname=庚\nNAME=辛\n")},
      {"no main", Utf8(u"[gongli]\nname=no\n")},
      {"no line end", Utf8(u"[main]\nname=壬")},
      {"UTF-16", std::string("\xFF\xFE[\0m\0a\0i\0n\0]\0\n\0n\0a\0m\0e\0=\0a\0", 28)},
  };
  for (const Case& c : cases) {
    const std::filesystem::path path = Put("case.bze", c.bytes);
    const std::optional<RecordMainKeys> keys = ReadRecordMainKeys(path);
    ASSERT_TRUE(keys) << c.what;
    const RecordMainKeys expected = MainKeysOf(DecodeFileBytes(c.bytes));
    EXPECT_EQ(Utf8(keys->name), Utf8(expected.name)) << c.what;
    EXPECT_EQ(Utf8(keys->group), Utf8(expected.group)) << c.what;
  }
}

// Records are listed in the order of their paths, element by element.
TEST_F(HistoryStoreTest, LoadAllListsInPathOrder) {
  const std::vector<std::string> names = {
      "a-b.bze", "a.bze", "a/x.bze", "a/b/y.bze", "ab.bze", "a b.bze", "a!.bze", "A.bze",
      "a0/z.bze", "b.bze", "a.b/c.bze", Utf8(u"中.bze"), "a/.x.bze",
      // names that share their first eight bytes, a separator among them or after
      "abcdefgh.bze", "abcdefgh/x.bze", "abcdefgh-x.bze", "abcdefg/h.bze", "abcdefghi.bze",
      "abcdefgh/a/b.bze", "abcdefg.bze", "abcdefg-/z.bze", Utf8(u"客户12.bze"),
      Utf8(u"客户1/2.bze"), Utf8(u"客户1.bze")};
  std::vector<std::filesystem::path> expected;
  for (std::size_t i = 0; i < names.size(); ++i) {
    expected.push_back(PutRecord(names[i], u"命例" + Num(static_cast<long long>(i)), kOther));
  }
  std::sort(expected.begin(), expected.end());
  HistoryStore store(data());
  store.LoadAll();
  ASSERT_EQ(store.groups().size(), 1u);
  std::vector<std::filesystem::path> listed;
  for (const HistoryChart& chart : store.groups()[0].charts) listed.push_back(chart.path);
  EXPECT_EQ(listed, expected);
}

// A link to a record is listed under its own path; a linked folder is not
// entered, and what is neither a file nor a folder is left out.
TEST_F(HistoryStoreTest, LoadAllListsLinkedRecordsButEntersNoLinkedFolder) {
  const std::filesystem::path real = PutRecord("real.bze", u"甲", kOther);
  std::filesystem::create_symlink(real, data() / "link.bze");
  const std::filesystem::path outside = dir_.path() / "outside";
  std::filesystem::create_directories(outside);
  std::ofstream(outside / "x.bze", std::ios::binary) << RecordBytes(u"乙", kOther);
  std::filesystem::create_directory_symlink(outside, data() / "linked");
  std::filesystem::create_symlink(data() / "missing.bze", data() / "dangling.bze");
  ASSERT_EQ(::mkfifo((data() / "pipe.bze").c_str(), 0600), 0);
  HistoryStore store(data());
  store.LoadAll();
  ASSERT_EQ(store.groups().size(), 1u);
  std::vector<std::filesystem::path> listed;
  for (const HistoryChart& chart : store.groups()[0].charts) listed.push_back(chart.path);
  EXPECT_EQ(listed, (std::vector<std::filesystem::path>{data() / "link.bze", real}));
}

TEST_F(HistoryStoreTest, LoadAllCreatesTheDataFolderAndCutsLongValues) {
  HistoryStore empty(data());
  empty.LoadAll();
  EXPECT_TRUE(std::filesystem::is_directory(data()));
  EXPECT_EQ(Listing(empty), Utf8(u"[其他]\n"));

  PutRecord("long.bze", Text(300, u'长'), Text(300, u'组'));
  HistoryStore store(data());
  store.LoadAll();
  ASSERT_EQ(store.groups().size(), 2u);
  EXPECT_EQ(store.groups()[1].name, Text(259, u'组')) << "read into 260 characters";
  EXPECT_EQ(store.groups()[1].charts[0].name, Text(259, u'长'));
}

TEST_F(HistoryStoreTest, AddChartReplacesAnEntryOfTheSameNameOrFile) {
  HistoryStore store = LoadedStore();
  EXPECT_FALSE(store.AddChart({}).has_value());
  EXPECT_FALSE(store.AddChart(data() / "missing.bze").has_value());

  const auto added = store.AddChart(PutRecord("f.bze", u"己", u"同事"));
  ASSERT_TRUE(added.has_value());
  EXPECT_EQ(added->location, (ChartLocation{3, 0})) << "a new group after the others";
  EXPECT_TRUE(added->removed.empty());

  const auto again = store.AddChart(PutRecord("a2.bze", u"甲", u"朋友"));
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->removed, std::vector<ChartLocation>{(ChartLocation{1, 0})});
  EXPECT_EQ(again->location, (ChartLocation{2, 1}));
  EXPECT_TRUE(std::filesystem::exists(data() / "a.bze")) << "the replaced entry's file stays";

  ASSERT_TRUE(store.RenameChart({2, 0}, u"庚"));
  const auto recomputed = store.AddChart(PutRecord("sub/d.bze", u"丁", u"朋友"));
  ASSERT_TRUE(recomputed.has_value());
  EXPECT_EQ(recomputed->removed, std::vector<ChartLocation>{(ChartLocation{2, 0})})
      << "the renamed entry of the same file";
  ASSERT_TRUE(store.RenameChart({0, 0}, u"癸"));
  const auto respelled = store.AddChart(data() / "sub" / ".." / "c.bze");
  ASSERT_TRUE(respelled.has_value());
  EXPECT_EQ(respelled->removed, std::vector<ChartLocation>{(ChartLocation{0, 0})})
      << "another spelling of the same file";
  EXPECT_EQ(Listing(store), Utf8(u"[其他]\n"
                                 u"  癸  c.bze\n"
                                 u"[家人]\n"
                                 u"  乙  b.bze\n"
                                 u"  戊  e.bze\n"
                                 u"[朋友]\n"
                                 u"  甲  a2.bze\n"
                                 u"  丁  sub/d.bze\n"
                                 u"[同事]\n"
                                 u"  己  f.bze\n"));
}

TEST_F(HistoryStoreTest, DeleteChartRemovesTheFileAtOnce) {
  HistoryStore store = LoadedStore();
  ASSERT_TRUE(store.DeleteChart({1, 1}));
  EXPECT_FALSE(std::filesystem::exists(data() / "b.bze"));
  EXPECT_EQ(store.groups()[1].charts.size(), 2u);
  EXPECT_EQ(store.groups()[1].charts[1].name, u"戊");

  std::filesystem::remove(data() / "a.bze");
  EXPECT_TRUE(store.DeleteChart({1, 0})) << "a file already gone is no failure";
  EXPECT_FALSE(store.DeleteChart({1, 5})) << "no such entry";
}

TEST_F(HistoryStoreTest, RenameChartRewritesOnlyTheName) {
  HistoryStore store = LoadedStore();
  const StoreResult renamed = store.RenameChart({1, 0}, u"甲乙丙");
  ASSERT_TRUE(renamed) << Utf8(renamed.message);
  EXPECT_EQ(ReadFileBytes(data() / "a.bze"), RecordBytes(u"甲乙丙", u"家人"));
  EXPECT_EQ(store.groups()[1].charts[0].name, u"甲乙丙");
  EXPECT_EQ(store.groups()[1].charts[0].path, data() / "a.bze") << "the file keeps its name";

  EXPECT_TRUE(store.RenameChart({1, 0}, Text(49, u'名')));
  const auto before = Snapshot();
  const StoreResult tooLong = store.RenameChart({1, 0}, Text(50, u'名'));
  EXPECT_FALSE(tooLong);
  EXPECT_FALSE(tooLong.message.empty());
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(store.groups()[1].charts[0].name, Text(49, u'名'));
  EXPECT_FALSE(store.RenameChart({1, 0}, u"名\r\nsex=女")) << "a label is one record line";
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(HistoryStoreTest, RenameChartRefusesAnEmptyOrTakenName) {
  HistoryStore store = LoadedStore();
  const auto before = Snapshot();
  struct Row {
    const char* what;
    Text name;
  };
  const Row rows[] = {{"empty", u""}, {"another chart's", u"丙"}, {"one in another group", u"丁"}};
  for (const Row& row : rows) {
    const StoreResult refused = store.RenameChart({1, 0}, row.name);
    EXPECT_FALSE(refused) << row.what;
    EXPECT_FALSE(refused.message.empty()) << row.what;
    EXPECT_EQ(Snapshot(), before) << row.what;
    EXPECT_EQ(store.groups()[1].charts[0].name, u"甲") << row.what;
  }
  EXPECT_TRUE(store.RenameChart({1, 0}, u"甲")) << "its own name is no change";
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(HistoryStoreTest, RefreshFollowsTheFolderKeepingTheOrderShown) {
  HistoryStore store = LoadedStore();
  store.NewGroup();
  ASSERT_TRUE(store.MoveChart({1, 2}, 0));  // 戊 appended to 其他, after 丙
  EXPECT_FALSE(store.Refresh()) << "nothing changed on disk";

  // Another program adds a chart, renames one, regroups one, removes the
  // only chart of 朋友.
  PutRecord("f.bze", u"己", u"家人");
  PutRecord("a.bze", u"甲二", u"家人");
  PutRecord("b.bze", u"乙", u"同事");
  std::filesystem::remove(data() / "sub/d.bze");
  EXPECT_TRUE(store.Refresh());
  EXPECT_EQ(Listing(store),
            "[其他]\n  丙  c.bze\n  戊  e.bze\n"
            "[家人]\n  甲二  a.bze\n  己  f.bze\n"
            "[新建分组]\n"
            "[同事]\n  乙  b.bze\n");
  EXPECT_EQ(store.groups()[2].name, Text(kNewGroup)) << "an empty group made here stays";
}

TEST_F(HistoryStoreTest, FindsChartsByPathAndMakesGroupsOnce) {
  HistoryStore store = LoadedStore();
  EXPECT_EQ(store.FindChartByPath(data() / "sub" / ".." / "sub" / "d.bze"), (ChartLocation{2, 0}));
  EXPECT_EQ(store.FindChartByPath(data().native() + "//./sub///d.bze"), (ChartLocation{2, 0}))
      << "the listed path is kept in normal form, and so is the one asked for";
  EXPECT_FALSE(store.FindChartByPath(data() / "none.bze"));
  EXPECT_EQ(store.EnsureGroup(u"家人"), 1u);
  EXPECT_EQ(store.EnsureGroup(u"同事"), 3u);
  EXPECT_EQ(store.EnsureGroup(u"同事"), 3u);
  store.OrderCharts([](const HistoryChart& a, const HistoryChart& b) {
    return std::filesystem::path(a.path) > std::filesystem::path(b.path);
  });
  EXPECT_EQ(store.groups()[1].charts.front().name, u"戊");
}

TEST_F(HistoryStoreTest, RenameGroupRewritesEveryFileOfThatClass) {
  HistoryStore store = LoadedStore();
  PutRecord("sub/unlisted.bze", u"辛", u"家人");
  const auto before = Snapshot();
  const StoreResult renamed = store.RenameGroup(1, u"亲戚");
  ASSERT_TRUE(renamed) << Utf8(renamed.message);
  EXPECT_EQ(store.groups()[1].name, u"亲戚");
  for (const char* file : {"a.bze", "b.bze", "e.bze", "sub/unlisted.bze"}) {
    EXPECT_EQ(ClassOf(file), u"亲戚") << file;
  }
  EXPECT_EQ(ReadFileBytes(data() / "a.bze"), RecordBytes(u"甲", u"亲戚"));
  const auto after = Snapshot();
  EXPECT_EQ(after.at("c.bze"), before.at("c.bze"));
  EXPECT_EQ(after.at("sub/d.bze"), before.at("sub/d.bze"));
}

TEST_F(HistoryStoreTest, RenameGroupRefusesWhatWouldMergeOrOrphanCharts) {
  HistoryStore store = LoadedStore();
  const std::size_t fresh = store.NewGroup();
  struct Case {
    const char* what;
    std::size_t group;
    Text newName;
    Text message;  // empty: any message
  };
  const Case cases[] = {
      {"the default group", 0, u"亲戚", kCannotRename},
      {"an empty name", 1, u"", u"分组名称不能为空"},
      {"another group's name", 1, u"朋友", u"该分组已存在"},
      {"the default group's name", 2, kOther, u"该分组已存在"},
      {"too long a name", 1, Text(50, u'组'), {}},
      {"a line break", 1, u"亲\n[gongli]", u"名称不能包含换行等控制字符"},
      {"no such group", 9, u"亲戚", {}},
  };
  const auto before = Snapshot();
  for (const Case& c : cases) {
    const Text oldName = c.group < store.groups().size() ? store.groups()[c.group].name : Text();
    const StoreResult result = store.RenameGroup(c.group, c.newName);
    EXPECT_FALSE(result) << c.what;
    EXPECT_FALSE(result.message.empty()) << c.what;
    if (!c.message.empty()) {
      EXPECT_EQ(Utf8(result.message), Utf8(c.message)) << c.what;
    }
    if (c.group < store.groups().size()) {
      EXPECT_EQ(store.groups()[c.group].name, oldName) << c.what;
    }
  }
  EXPECT_EQ(Snapshot(), before);

  ASSERT_TRUE(store.RenameGroup(fresh, u"同学"));
  EXPECT_EQ(store.groups()[fresh].name, u"同学");
  EXPECT_EQ(Snapshot(), before) << "renaming an empty group changes no file";
}

TEST_F(HistoryStoreTest, RenameGroupPutsBackWhatItRewroteWhenAFileFails) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may write into read-only folders";
  HistoryStore store = LoadedStore();
  PutRecord("z/locked.bze", u"壬", u"家人");
  ::chmod((data() / "z").c_str(), 0555);
  const auto before = Snapshot();
  const StoreResult result = store.RenameGroup(1, u"亲戚");
  ::chmod((data() / "z").c_str(), 0755);
  EXPECT_FALSE(result);
  EXPECT_NE(Utf8(result.message).find("z/locked.bze"), std::string::npos) << Utf8(result.message);
  EXPECT_EQ(store.groups()[1].name, u"家人");
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(HistoryStoreTest, DeleteGroupMovesItsChartsToTheDefaultGroup) {
  HistoryStore store = LoadedStore();
  const StoreResult refused = store.DeleteGroup(0);
  EXPECT_FALSE(refused);
  EXPECT_EQ(Utf8(refused.message), Utf8(kCannotDelete));

  ASSERT_TRUE(store.DeleteGroup(1));
  EXPECT_EQ(Listing(store), Utf8(u"[其他]\n"
                                 u"  丙  c.bze\n"
                                 u"  甲  a.bze\n"
                                 u"  乙  b.bze\n"
                                 u"  戊  e.bze\n"
                                 u"[朋友]\n"
                                 u"  丁  sub/d.bze\n"));
  for (const char* file : {"a.bze", "b.bze", "e.bze"}) EXPECT_EQ(ClassOf(file), kOther) << file;
  EXPECT_EQ(ReadFileBytes(data() / "b.bze"), RecordBytes(u"乙", kOther));
}

TEST_F(HistoryStoreTest, DeleteGroupKeepsTheChartsItCannotRewrite) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may write into read-only folders";
  HistoryStore store = LoadedStore();
  ::chmod((data() / "sub").c_str(), 0555);
  const StoreResult result = store.DeleteGroup(2);
  ::chmod((data() / "sub").c_str(), 0755);
  EXPECT_FALSE(result);
  ASSERT_EQ(store.groups().size(), 3u);
  EXPECT_EQ(store.groups()[2].charts.size(), 1u);
  EXPECT_EQ(ClassOf("sub/d.bze"), u"朋友");
}

TEST_F(HistoryStoreTest, MoveChartWritesTheTargetGroupAsClass) {
  HistoryStore store = LoadedStore();
  const std::size_t first = store.NewGroup();
  const std::size_t second = store.NewGroup();
  EXPECT_EQ(store.groups()[first].name, kNewGroup);
  EXPECT_EQ(store.groups()[second].name, kNewGroup) << "two new groups share the label";

  const StoreResult moved = store.MoveChart({0, 0}, second);
  ASSERT_TRUE(moved) << Utf8(moved.message);
  EXPECT_EQ(moved.location, (ChartLocation{second, 0}));
  EXPECT_EQ(ClassOf("c.bze"), kNewGroup);
  EXPECT_TRUE(store.groups()[0].charts.empty());

  const auto before = Snapshot();
  EXPECT_TRUE(store.MoveChart({1, 0}, 1)) << "onto its own group: nothing to do";
  EXPECT_EQ(Snapshot(), before);

  store.LoadAll();
  EXPECT_EQ(Listing(store), Utf8(u"[其他]\n"
                                 u"[家人]\n"
                                 u"  甲  a.bze\n"
                                 u"  乙  b.bze\n"
                                 u"  戊  e.bze\n"
                                 u"[新建分组]\n"
                                 u"  丙  c.bze\n"
                                 u"[朋友]\n"
                                 u"  丁  sub/d.bze\n"))
      << "after a restart the empty new group is gone";
}

TEST_F(HistoryStoreTest, FilesThatAreNoRecordAreNeverRewritten) {
  const auto blob = Put("blob.bin", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  HistoryStore store(data());
  store.LoadAll();
  ASSERT_EQ(store.groups().size(), 2u);
  EXPECT_FALSE(store.RenameChart({1, 0}, u"图片"));
  EXPECT_FALSE(store.MoveChart({1, 0}, 0));
  EXPECT_FALSE(store.RenameGroup(1, u"杂项"));
  EXPECT_EQ(ReadFileBytes(blob), std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  EXPECT_EQ(store.groups()[1].name, u"");
}

TEST_F(HistoryStoreTest, FindChartByNameLastFoundWins) {
  PutRecord("a.bze", u"甲", u"家人");
  PutRecord("b.bze", u"甲", u"朋友");
  PutRecord("c.bze", u"乙", u"家人");
  HistoryStore store(data());
  store.LoadAll();
  EXPECT_EQ(store.FindChartByName(u"甲"), (ChartLocation{2, 0}));
  EXPECT_EQ(store.FindChartByName(u"乙"), (ChartLocation{1, 1}));
  EXPECT_FALSE(store.FindChartByName(u"丙").has_value());
  EXPECT_EQ(store.FindGroup(u"朋友"), 2u);
  EXPECT_FALSE(store.FindGroup(u"同事").has_value());
}

TEST_F(HistoryStoreTest, ReadChartForOpenGivesTheFormItsGregorianData) {
  const auto woman = Put("w.bze", RecordBytes(u"李四", u"家人", u"女"));
  const auto man = PutRecord("m.bze", Text(60, u'名'), kOther);
  const std::optional<ChartFormData> w = HistoryStore::ReadChartForOpen(woman);
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->name, u"李四");
  EXPECT_FALSE(w->male);
  EXPECT_EQ((std::array{w->year, w->month, w->day, w->hour, w->minute}),
            (std::array{1990, 5, 7, 8, 3}));
  const std::optional<ChartFormData> m = HistoryStore::ReadChartForOpen(man);
  ASSERT_TRUE(m.has_value());
  EXPECT_TRUE(m->male);
  EXPECT_EQ(m->name, Text(49, u'名')) << "read into 50 characters";
  EXPECT_FALSE(HistoryStore::ReadChartForOpen(data() / "missing.bze").has_value());
}

}  // namespace
}  // namespace xuanshu
