// Config.ini, the font file and where the program keeps its files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "record/app_config.h"
#include "record/font_file.h"
#include "record/program_home.h"
#include "test_support.h"

namespace xuanshu {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(AppConfig, MissingFileGivesTheDefaults) {
  TempDir dir;
  const AppConfig config(ConfigPath(dir.path()));
  EXPECT_EQ(config.ReadPaneWidth().cx, 170);
  EXPECT_EQ(config.ReadPaneWidth().cy, 170);
  EXPECT_EQ(config.ReadLayout(), 0);
  EXPECT_FALSE(std::filesystem::exists(config.path())) << "reading creates nothing";
}

TEST(AppConfig, PaneWidthIsClampedAndWrittenAsBothKeys) {
  struct Case {
    int released;
    const char* stored;
  };
  const Case cases[] = {{5, "30"},    {10, "30"},   {29, "30"},   {30, "30"},  {-40, "30"},
                        {170, "170"}, {800, "800"}, {801, "800"}, {900, "800"}};
  for (const Case& c : cases) {
    TempDir dir;
    const AppConfig config(ConfigPath(dir.path()));
    ASSERT_TRUE(config.WritePaneWidth(c.released));
    EXPECT_EQ(ReadFileBytes(config.path()),
              std::string("[Option]\r\ncx=") + c.stored + "\r\ncy=" + c.stored + "\r\n")
        << "released at x = " << c.released;
    EXPECT_EQ(config.ReadPaneWidth().cx, std::stoi(c.stored));
    EXPECT_EQ(config.ReadPaneWidth().cy, std::stoi(c.stored));
  }
}

TEST(AppConfig, StoredValuesReadLikeProfileIntegers) {
  struct Case {
    const char* file;
    int cx, cy, layout;
  };
  const Case cases[] = {
      {"[Option]\r\nformat=7\r\n", 170, 170, 7},  // 港台版 checked, standard layout rendered
      {"[Option]\r\nformat=2\r\n", 170, 170, 2},
      {"[Option]\r\nformat=abc\r\ncx=wide\r\n", 0, 170, 0},  // present but not numeric
      {"[Option]\r\ncx=250px\r\ncy=90\r\n", 250, 90, 0},
      {"[option]\nCX=300\n", 300, 170, 0},  // names match case-insensitively, LF accepted
      {"[Other]\r\nformat=1\r\n", 170, 170, 0},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const AppConfig config(ConfigPath(dir.path()));
    WriteFileBytes(config.path(), c.file);
    EXPECT_EQ(config.ReadPaneWidth().cx, c.cx) << c.file;
    EXPECT_EQ(config.ReadPaneWidth().cy, c.cy) << c.file;
    EXPECT_EQ(config.ReadLayout(), c.layout) << c.file;
  }
}

TEST(AppConfig, WritesKeepTheOtherKeysAndReportFailure) {
  TempDir dir;
  const AppConfig config(ConfigPath(dir.path()));
  ASSERT_TRUE(config.WriteLayout(1));
  ASSERT_TRUE(config.WritePaneWidth(240));
  ASSERT_TRUE(config.WriteLayout(2));
  EXPECT_EQ(ReadFileBytes(config.path()), "[Option]\r\nformat=2\r\ncx=240\r\ncy=240\r\n");

  WriteFileBytes(dir.path() / "plain", "not a folder");
  const AppConfig unusable(ConfigPath(dir.path() / "plain"));
  EXPECT_FALSE(unusable.WriteLayout(1));
  EXPECT_FALSE(unusable.WritePaneWidth(100));
}

TEST(AppConfig, ShowExtrasIsOffUnlessSetAndKeepsTheOtherKeys) {
  struct Case {
    const char* file;  // nullptr: no Config.ini
    bool shown;
  };
  const Case cases[] = {
      {nullptr, false},
      {"[Option]\r\nformat=1\r\n", false},
      {"[Option]\r\nextras=1\r\n", true},
      {"[Option]\r\nextras=0\r\n", false},
      {"[Option]\r\nextras=2\r\n", true},  // any non-zero number
      {"[Option]\r\nextras=yes\r\n", false},
      {"[Option]\r\nEXTRAS=1\r\n", true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const AppConfig config(ConfigPath(dir.path()));
    if (c.file) WriteFileBytes(config.path(), c.file);
    EXPECT_EQ(config.ReadShowExtras(), c.shown) << (c.file ? c.file : "no file");
  }
  TempDir dir;
  const AppConfig config(ConfigPath(dir.path()));
  ASSERT_TRUE(config.WriteLayout(2));
  ASSERT_TRUE(config.WriteShowExtras(true));
  EXPECT_TRUE(config.ReadShowExtras());
  ASSERT_TRUE(config.WriteShowExtras(false));
  EXPECT_FALSE(config.ReadShowExtras());
  EXPECT_EQ(ReadFileBytes(config.path()), "[Option]\r\nformat=2\r\nextras=0\r\n");
  EXPECT_EQ(config.ReadLayout(), 2);
}

TEST(AppConfig, ScriptIsSimplifiedUnlessSetAndKeepsTheOtherKeys) {
  struct Case {
    const char* file;  // nullptr: no Config.ini
    Script script;
  };
  const Case cases[] = {
      {nullptr, Script::kSimplified},
      {"[Option]\r\nformat=1\r\n", Script::kSimplified},
      {"[Option]\r\nscript=traditional\r\n", Script::kTraditional},
      {"[Option]\r\nscript=simplified\r\n", Script::kSimplified},
      {"[Option]\r\nscript=Traditional\r\n", Script::kSimplified},  // keys are exact
      {"[Option]\r\nscript=繁體\r\n", Script::kSimplified},
      {"[Option]\r\nSCRIPT=traditional\r\n", Script::kTraditional},
      {"[Window]\r\nscript=traditional\r\n", Script::kSimplified},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const AppConfig config(ConfigPath(dir.path()));
    if (c.file) WriteFileBytes(config.path(), c.file);
    EXPECT_EQ(config.ReadScript(), c.script) << (c.file ? c.file : "no file");
  }
  TempDir dir;
  const AppConfig config(ConfigPath(dir.path()));
  ASSERT_TRUE(config.WriteLayout(1));
  ASSERT_TRUE(config.WriteScript(Script::kTraditional));
  EXPECT_EQ(config.ReadScript(), Script::kTraditional);
  EXPECT_EQ(ReadFileBytes(config.path()), "[Option]\r\nformat=1\r\nscript=traditional\r\n");
  ASSERT_TRUE(config.WriteScript(Script::kSimplified));
  EXPECT_EQ(config.ReadScript(), Script::kSimplified);
  EXPECT_EQ(config.ReadLayout(), 1);
}

FontRecord SampleFont() {
  FontRecord font;
  font.height = -16;
  font.width = 0;
  font.escapement = 900;
  font.orientation = -900;
  font.weight = 700;
  font.italic = 1;
  font.underline = 0;
  font.strikeOut = 1;
  font.charSet = 134;  // GB2312
  font.outPrecision = 3;
  font.clipPrecision = 2;
  font.quality = 1;
  font.pitchAndFamily = 49;
  SetFaceName(font, u"宋体");
  return font;
}

TEST(AppConfig, WindowPlacementAndLastChartSurviveARestart) {
  TempDir dir;
  const AppConfig config(dir.path() / "Config.ini");
  EXPECT_FALSE(config.ReadWindowPlacement()) << "no section: the program's own size";
  EXPECT_EQ(config.ReadLastChart(), u"");
  ASSERT_TRUE(config.WritePaneWidth(250));
  const WindowPlacement placement{-8, 40, 1016, 700, true, 133};
  ASSERT_TRUE(config.WriteWindowPlacement(placement));
  const Text last = u"/home/用户/data/林文轩.bze";
  ASSERT_TRUE(config.WriteLastChart(last));
  EXPECT_EQ(config.ReadWindowPlacement(), placement);
  EXPECT_EQ(config.ReadLastChart(), last);
  EXPECT_EQ(config.ReadPaneWidth().cx, 250) << "Option is kept";
  ASSERT_TRUE(config.WriteWindowPlacement({0, 0, 0, 700, false, 0}));
  EXPECT_FALSE(config.ReadWindowPlacement()) << "a window without width is none";
}

TEST(FontFile, HoldsExactlyTheNinetyTwoByteLayout) {
  const std::string bytes = EncodeFontRecord(SampleFont());
  ASSERT_EQ(bytes.size(), 92u);
  const auto at = [&](std::size_t offset, std::size_t size) { return bytes.substr(offset, size); };
  EXPECT_EQ(at(0, 4), std::string("\xF0\xFF\xFF\xFF", 4)) << "height -16, little-endian";
  EXPECT_EQ(at(8, 4), std::string("\x84\x03\x00\x00", 4)) << "escapement 900";
  EXPECT_EQ(at(12, 4), std::string("\x7C\xFC\xFF\xFF", 4)) << "orientation -900";
  EXPECT_EQ(at(16, 4), std::string("\xBC\x02\x00\x00", 4)) << "weight 700";
  EXPECT_EQ(at(20, 8), std::string("\x01\x00\x01\x86\x03\x02\x01\x31", 8)) << "the eight flags";
  EXPECT_EQ(at(28, 6), std::string("\x8B\x5B\x53\x4F\x00\x00", 6)) << "face 宋体, then a zero";
  EXPECT_EQ(bytes.substr(34), std::string(58, '\0'));
}

TEST(FontFile, SurvivesARestartAndAcceptsShortFiles) {
  TempDir dir;
  const auto path = dir.path() / "xuanshu.config";
  EXPECT_FALSE(ReadFontFile(path).has_value()) << "no file: the default font";
  ASSERT_TRUE(WriteFontFile(path, SampleFont()));
  EXPECT_EQ(std::filesystem::file_size(path), 92u);
  const std::optional<FontRecord> back = ReadFontFile(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, SampleFont());
  EXPECT_EQ(FaceName(*back), u"宋体");

  WriteFileBytes(path, EncodeFontRecord(SampleFont()).substr(0, 30));
  const std::optional<FontRecord> shortFont = ReadFontFile(path);
  ASSERT_TRUE(shortFont.has_value());
  EXPECT_EQ(shortFont->height, -16);
  EXPECT_EQ(shortFont->weight, 700);
  EXPECT_EQ(shortFont->pitchAndFamily, 49);
  EXPECT_EQ(FaceName(*shortFont), u"宋") << "the missing half of the face reads as zero";

  WriteFileBytes(path, EncodeFontRecord(SampleFont()) + "trailing");
  EXPECT_EQ(ReadFontFile(path), SampleFont()) << "bytes after the record are ignored";
}

TEST(FontFile, FaceNameIsCutToThirtyOneUnits) {
  struct Case {
    const char* what;
    Text face;
    Text stored;
  };
  const Case cases[] = {
      {"short", u"Noto Sans Mono CJK SC", u"Noto Sans Mono CJK SC"},
      {"exactly 31", Text(31, u'a'), Text(31, u'a')},
      {"32 cut to 31", Text(32, u'b'), Text(31, u'b')},
      {"pair across the cut", Text(30, u'c') + u"\U00020000", Text(30, u'c')},
  };
  for (const Case& c : cases) {
    FontRecord font;
    font.faceName.fill(u'x');
    SetFaceName(font, c.face);
    EXPECT_EQ(FaceName(font), c.stored) << c.what;
    EXPECT_EQ(font.faceName.back(), 0) << c.what << ": the last unit stays the terminator";
  }
}

TEST(ProgramHome, FontFileIsNamedAfterTheProgramFileOnly) {
  struct Case {
    const char* executable;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/opt/xuanshu/bin/xuanshu", "/opt/xuanshu/bin", "/opt/xuanshu/bin/xuanshu.config"},
      {"/home/u/my.tools/xuanshu", "/home/u/my.tools", "/home/u/my.tools/xuanshu.config"},
      {"/home/u/v1.2/KUNDAR.exe", "/home/u/v1.2", "/home/u/v1.2/KUNDAR.config"},
      {"/usr/bin/xuanshu", "/home/u/.local/share/xuanshu",
       "/home/u/.local/share/xuanshu/xuanshu.config"},
      {"/a/xuanshu.v2.bin", "/a", "/a/xuanshu.v2.config"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontFilePath(c.home, c.executable).string(), c.expected) << c.executable;
  }
  EXPECT_EQ(DataDir("/h").string(), "/h/data");
  EXPECT_EQ(ConfigPath("/h").string(), "/h/Config.ini");
}

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ProgramHome, UserDataHomeFollowsTheBaseDirectoryRules) {
  {
    ScopedEnv xdg("XDG_DATA_HOME", "/srv/share");
    EXPECT_EQ(UserDataHome().string(), "/srv/share/xuanshu");
  }
  ScopedEnv home("HOME", "/home/u");
  {
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(UserDataHome().string(), "/home/u/.local/share/xuanshu");
  }
  {
    ScopedEnv xdg("XDG_DATA_HOME", "relative/share");
    EXPECT_EQ(UserDataHome().string(), "/home/u/.local/share/xuanshu") << "relative is ignored";
  }
}

TEST(ProgramHome, UsesTheProgramFolderOnlyWhenItIsWritable) {
  TempDir dir;
  const auto programFolder = dir.path() / "bin";
  const auto userHome = dir.path() / "share" / "xuanshu";
  std::filesystem::create_directory(programFolder);
  EXPECT_EQ(ChooseProgramHome(programFolder, userHome), programFolder);
  EXPECT_FALSE(std::filesystem::exists(userHome));

  EXPECT_EQ(ChooseProgramHome(dir.path() / "gone", userHome), userHome);
  EXPECT_TRUE(std::filesystem::is_directory(userHome)) << "created when missing";

  EXPECT_FALSE(ExecutablePath().empty());
  EXPECT_EQ(ExecutablePath().filename(), "record_tests");

  if (::geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
  ::chmod(programFolder.c_str(), 0555);
  EXPECT_EQ(ChooseProgramHome(programFolder, userHome), userHome) << "an installed program";
}

TEST(ProgramHome, NeverWritesUnderUsrEvenAsRoot) {
  TempDir dir;
  const auto userHome = dir.path() / "share" / "xuanshu";
  const auto nestedUsrBin = dir.path() / "usr" / "bin";
  std::filesystem::create_directories(nestedUsrBin);
  struct Case {
    std::filesystem::path programFolder;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {"/usr/bin", userHome},
      {"/usr/local/bin", userHome},
      {nestedUsrBin, nestedUsrBin},  // only the first component counts
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseProgramHome(c.programFolder, userHome), c.expected) << c.programFolder;
  }
}

}  // namespace
}  // namespace xuanshu
