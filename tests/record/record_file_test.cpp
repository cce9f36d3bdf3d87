#include "record/record_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace xuanshu {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

bool RunningAsRoot() {
  return ::geteuid() == 0;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DecodeFileBytes, RecognisesEachEncodingOfRecords) {
  struct Case {
    const char* what;
    std::string bytes;
    Text expected;
  };
  const Case cases[] = {
      {"plain ASCII", "[main]\r\nsex=1", u"[main]\r\nsex=1"},
      {"UTF-8 without BOM", "name=\xE5\xBC\xA0\xE4\xB8\x89", u"name=张三"},
      {"UTF-8 with BOM", "\xEF\xBB\xBFname=\xE5\xBC\xA0", u"name=张"},
      {"UTF-16LE with BOM", std::string("\xFF\xFE\x20\x5F\x09\x4E", 6), u"张三"},
      {"UTF-16LE with a stray last byte", std::string("\xFF\xFE\x20\x5F\x09", 5), u"张\uFFFD"},
      {"legacy GBK", "name=\xD5\xC5\xC8\xFD\r\n", u"name=张三\r\n"},
      {"GBK with an invalid byte", "\xD5\xC5\xFF\xC8\xFD", u"张\uFFFD三"},
      {"GBK cut inside a character", "\xD5\xC5\xC8", u"张\uFFFD"},
      {"empty file", "", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(DecodeFileBytes(c.bytes)), ToUtf8(c.expected)) << c.what;
  }
}

TEST(DecodeFileBytes, SurvivesArbitraryBinary) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919) % 256));
  const Text text = DecodeFileBytes(bytes);
  EXPECT_FALSE(text.empty());
}

TEST(LoadIniFile, ReadsLfAndLegacyRecordsAndSavesUtf8WithCrLf) {
  TempDir dir;
  const auto lf = dir.path() / "lf.bze";
  WriteFileBytes(lf, "[main]\nname=\xE5\xBC\xA0\xE4\xB8\x89\nclass=\n[gongli]\nyear=1990\n");
  IniDocument doc = LoadIniFile(lf);
  EXPECT_EQ(doc.ReadString(u"main", u"name"), u"张三");
  EXPECT_EQ(doc.ReadInt(u"gongli", u"year"), 1990);

  const auto gbk = dir.path() / "gbk.bze";
  WriteFileBytes(gbk, "[main]\r\nname=\xD5\xC5\xC8\xFD\r\n");
  EXPECT_EQ(LoadIniFile(gbk).ReadString(u"main", u"name"), u"张三");

  ASSERT_TRUE(SaveIniFile(doc, lf));
  EXPECT_EQ(ReadFileBytes(lf),
            "[main]\r\nname=\xE5\xBC\xA0\xE4\xB8\x89\r\nclass=\r\n[gongli]\r\nyear=1990\r\n");
  EXPECT_TRUE(LoadIniFile(dir.path() / "missing.bze").empty());
}

TEST(LoadIniFile, CutsValuesToTheReadCapacity) {
  struct Case {
    std::size_t length;
    std::size_t capacity;
    std::size_t expected;
  };
  const Case cases[] = {
      {519, kReadCapacity, 519},       {520, kReadCapacity, 519},       {600, kReadCapacity, 519},
      {2047, kLongReadCapacity, 2047}, {3000, kLongReadCapacity, 2047}, {0, kReadCapacity, 0},
  };
  TempDir dir;
  for (const Case& c : cases) {
    IniDocument doc;
    doc.Set(u"liunianhcxh", u"1990sybl", Text(c.length, u'运'));
    const auto path = dir.path() / "r.bze";
    ASSERT_TRUE(SaveIniFile(doc, path));
    EXPECT_EQ(LoadIniFile(path).ReadString(u"liunianhcxh", u"1990sybl", c.capacity).size(),
              c.expected)
        << c.length << " characters read with capacity " << c.capacity;
  }
}

TEST(ReadTextFile, RefusesFilesBeyondTheCapAndNonFiles) {
  TempDir dir;
  const auto file = dir.path() / "a.txt";
  WriteFileBytes(file, std::string(100, 'x'));
  EXPECT_TRUE(ReadTextFile(file, 100).has_value()) << "exactly at the cap";
  EXPECT_FALSE(ReadTextFile(file, 99).has_value()) << "one byte over the cap";
  EXPECT_FALSE(ReadTextFile(dir.path()).has_value()) << "a folder";
  EXPECT_FALSE(ReadTextFile(dir.path() / "missing").has_value()) << "a missing file";
  const auto fifo = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadTextFile(fifo).has_value()) << "a pipe is refused without waiting for a writer";
  EXPECT_FALSE(ReadFileHead(fifo, 10).has_value());
}

TEST(ReadFileHead, ReadsOnlyTheRequestedBytes) {
  TempDir dir;
  const auto file = dir.path() / "a.bin";
  WriteFileBytes(file, "0123456789");
  EXPECT_EQ(ReadFileHead(file, 4), "0123");
  EXPECT_EQ(ReadFileHead(file, 100), "0123456789");
}

TEST(WriteFileAtomic, ReplacesTheFileAndLeavesNoTemporary) {
  TempDir dir;
  const auto file = dir.path() / "张三.bze";
  WriteFileBytes(file, "old");
  ::chmod(file.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(file, "new contents"));
  EXPECT_EQ(ReadFileBytes(file), "new contents");
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"张三.bze"});
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replacement keeps the old permissions";
}

TEST(WriteFileAtomic, ARecordReplacingASymlinkGetsTheDefaultMode) {
  TempDir dir;
  const auto target = dir.path() / "elsewhere.bze";
  WriteFileBytes(target, "old");
  ::chmod(target.c_str(), 04755);
  const auto link = dir.path() / "张三.bze";
  std::filesystem::create_symlink(target, link);
  const mode_t mask = ::umask(022);
  ::umask(mask);
  ASSERT_TRUE(WriteFileAtomic(link, "new"));
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask) << "not the link target's 4755";
  EXPECT_EQ(ReadFileBytes(target), "old");
}

TEST(WriteFileAtomic, FailsCleanlyWhereTheFolderIsUnusable) {
  TempDir dir;
  const auto plain = dir.path() / "data";
  WriteFileBytes(plain, "a plain file where the folder should be");
  EXPECT_FALSE(WriteFileAtomic(plain / "x.bze", "record"));
  EXPECT_EQ(ReadFileBytes(plain), "a plain file where the folder should be");

  EXPECT_FALSE(WriteFileAtomic(dir.path() / "missing" / "x.bze", "record"));

  const auto folderTarget = dir.path() / "target";
  std::filesystem::create_directory(folderTarget);
  EXPECT_FALSE(WriteFileAtomic(folderTarget, "record")) << "a folder is never replaced";
  EXPECT_TRUE(std::filesystem::is_directory(folderTarget));
  EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"data", "target"}));
}

TEST(WriteFileAtomic, LeavesTheOldFileIntactInAReadOnlyFolder) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may write into read-only folders";
  TempDir dir;
  const auto folder = dir.path() / "data";
  std::filesystem::create_directory(folder);
  const auto file = folder / "a.bze";
  WriteFileBytes(file, "[main]\r\nname=a\r\n");
  ::chmod(folder.c_str(), 0555);
  EXPECT_FALSE(WriteFileAtomic(file, "replacement"));
  EXPECT_FALSE(WriteProfileString(file, u"main", u"name", u"b"));
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(ReadFileBytes(file), "[main]\r\nname=a\r\n");
  EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"a.bze"});
}

TEST(WriteProfileString, CreatesOrUpdatesAndNeverLosesAnUnreadableFile) {
  TempDir dir;
  const auto file = dir.path() / "Config.ini";
  ASSERT_TRUE(WriteProfileString(file, u"Option", u"cx", u"200"));
  ASSERT_TRUE(WriteProfileString(file, u"Option", u"format", u"1"));
  ASSERT_TRUE(WriteProfileString(file, u"Option", u"cx", u"300"));
  EXPECT_EQ(ReadFileBytes(file), "[Option]\r\ncx=300\r\nformat=1\r\n");

  if (RunningAsRoot()) GTEST_SKIP() << "root reads files without read permission";
  ::chmod(file.c_str(), 0200);
  EXPECT_FALSE(WriteProfileString(file, u"Option", u"cx", u"400"));
  ::chmod(file.c_str(), 0600);
  EXPECT_EQ(ReadFileBytes(file), "[Option]\r\ncx=300\r\nformat=1\r\n");
}

TEST(PathFromText, RoundTripsChineseNames) {
  const Text name = u"/tmp/数据/张三.bze";
  EXPECT_EQ(PathFromText(name).string(),
            "/tmp/\xE6\x95\xB0\xE6\x8D\xAE/\xE5\xBC\xA0\xE4\xB8\x89.bze");
  EXPECT_EQ(TextFromPath(PathFromText(name)), name);
}

}  // namespace
}  // namespace xuanshu
