#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "calendar/pillar_search.h"
#include "engine/chart_engine.h"
#include "record/record_file.h"
#include "test_support.h"

namespace xuanshu {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

ChartRequest Request(const std::filesystem::path& dataDir, TextView name = u"张三") {
  ChartRequest request;
  request.name = name;
  request.group = u"客户";
  request.year = 1990;
  request.month = 5;
  request.day = 17;
  request.hour = 8;
  request.minute = 30;
  request.male = true;
  request.gregorian = true;
  request.recordPath = dataDir / PathFromText(Text(name) + u".bze");
  return request;
}

std::vector<Text> SectionNames(const ChartRecord& record) {
  std::vector<Text> names;
  for (const auto& section : record.sections()) names.emplace_back(section.name());
  return names;
}

TEST(ComputeChart, RefusedBirthMomentLeavesAnExistingRecordByteIdentical) {
  struct Case {
    const char* what;
    void (*spoil)(ChartRequest&);
  };
  const Case cases[] = {
      {"29 February of a common year", [](ChartRequest& r) { r.month = 2, r.day = 29; }},
      {"day 0", [](ChartRequest& r) { r.day = 0; }},
      {"negative day", [](ChartRequest& r) { r.day = -3; }},
      {"hour 24", [](ChartRequest& r) { r.hour = 24; }},
      {"hour -1", [](ChartRequest& r) { r.hour = -1; }},
      {"minute 60", [](ChartRequest& r) { r.minute = 60; }},
      {"minute -1", [](ChartRequest& r) { r.minute = -1; }},
      {"year 1900", [](ChartRequest& r) { r.year = 1900; }},
      {"year 2050", [](ChartRequest& r) { r.year = 2050; }},
      {"month 13", [](ChartRequest& r) { r.month = 13; }},
      {"leap month that the year lacks",
       [](ChartRequest& r) { r.gregorian = false, r.leapMonth = true, r.month = 8; }},
  };
  TempDir home;
  const auto dataDir = home.path() / "data";
  std::filesystem::create_directories(dataDir);
  const std::string earlier = "[main]\r\nname=张三\r\nclass=旧组\r\n[stale]\r\nkey=1\r\n";
  ChartEngine engine;
  for (const Case& c : cases) {
    ChartRequest request = Request(dataDir);
    c.spoil(request);
    WriteFileBytes(request.recordPath, earlier);
    ChartRecord record;
    record.Set(u"leftover", u"key", u"value");
    EXPECT_FALSE(ComputeChartRecord(engine, request, record)) << c.what;
    EXPECT_TRUE(record.empty()) << c.what;
    EXPECT_FALSE(ComputeChart(engine, request)) << c.what;
    EXPECT_EQ(ReadFileBytes(request.recordPath), earlier) << c.what;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dataDir), {}), 1)
      << "no temporary file is left behind";
}

TEST(ComputeChart, RefusedBirthMomentCreatesNothing) {
  TempDir home;
  ChartRequest request = Request(home.path() / "data");
  request.hour = 25;
  ChartEngine engine;
  EXPECT_FALSE(ComputeChart(engine, request));
  EXPECT_TRUE(std::filesystem::is_empty(home.path())) << "not even the data folder";
}

TEST(ComputeChart, CreatesTheDataFolderAndSavesTheRecordItComputed) {
  TempDir home;
  const ChartRequest request = Request(home.path() / "data");
  ChartEngine engine;
  ChartRecord inMemory;
  ASSERT_TRUE(ComputeChartRecord(engine, request, inMemory));
  ASSERT_TRUE(ComputeChart(engine, request));
  EXPECT_EQ(LoadIniFile(request.recordPath).Serialize(), inMemory.Serialize());
  EXPECT_EQ(ReadFileBytes(request.recordPath), ToUtf8(inMemory.Serialize()))
      << "UTF-8 without byte-order mark, CR LF";
}

TEST(ComputeChart, RecomputingReplacesTheWholeRecord) {
  TempDir home;
  const ChartRequest request = Request(home.path() / "data");
  std::filesystem::create_directories(request.recordPath.parent_path());
  WriteFileBytes(request.recordPath, "[stale]\r\nkey=1\r\n[main]\r\nold=1\r\n");
  ChartEngine engine;
  ASSERT_TRUE(ComputeChart(engine, request));
  const ChartRecord saved = LoadIniFile(request.recordPath);
  EXPECT_FALSE(saved.HasSection(u"stale"));
  EXPECT_EQ(saved.Find(u"main", u"old"), nullptr);
  EXPECT_EQ(saved.ReadString(u"main", u"name"), u"张三");
}

TEST(ComputeChart, UnusableDataFolderFailsAndChangesNothing) {
  TempDir home;
  WriteFileBytes(home.path() / "data", "not a folder");
  ChartEngine engine;
  EXPECT_FALSE(ComputeChart(engine, Request(home.path() / "data")));
  EXPECT_EQ(ReadFileBytes(home.path() / "data"), "not a folder");
}

TEST(ComputeChart, ReadOnlyDataFolderFails) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  TempDir home;
  const auto dataDir = home.path() / "data";
  std::filesystem::create_directories(dataDir);
  std::filesystem::permissions(
      dataDir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  ChartEngine engine;
  EXPECT_FALSE(ComputeChart(engine, Request(dataDir)));
  EXPECT_TRUE(std::filesystem::is_empty(dataDir));
}

TEST(ComputeChartRecord, WritesTheInputSectionsFirst) {
  TempDir home;
  ChartEngine engine;
  ChartRecord record;
  ASSERT_TRUE(ComputeChartRecord(engine, Request(home.path()), record));
  const std::vector<Text> names = SectionNames(record);
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], u"main");
  EXPECT_EQ(names[1], u"gongli");
  EXPECT_EQ(names[2], u"nongli");
  EXPECT_EQ(names[3], u"jieqi");
  EXPECT_EQ(record.ReadString(u"main", u"name"), u"张三");
  EXPECT_EQ(record.ReadString(u"main", u"class"), u"客户");
  EXPECT_EQ(record.ReadString(u"main", u"sex"), u"男");
  const std::pair<TextView, TextView> gongli[] = {
      {u"year", u"1990"}, {u"month", u"5"}, {u"day", u"17"}, {u"hour", u"8"}, {u"minute", u"30"}};
  for (const auto& [key, value] : gongli) {
    EXPECT_EQ(record.ReadString(u"gongli", key), value) << ToUtf8(key);
  }
  // 1990: the new year fell on 27 January; months of 29, 30 and 29 days
  // bring the fourth month to 25 April, so 17 May is its 23rd day.
  EXPECT_EQ(record.ReadString(u"nongli", u"year"), u"1990");
  EXPECT_EQ(record.ReadString(u"nongli", u"month"), u"4");
  EXPECT_EQ(record.ReadString(u"nongli", u"day"), u"23");
  EXPECT_EQ(record.ReadString(u"nongli", u"leep"), u"0");
}

TEST(ComputeChartRecord, ReusedEngineGivesTheSameRecordAsAFreshOne) {
  TempDir home;
  ChartRequest first = Request(home.path(), u"甲");
  ChartRequest second = Request(home.path(), u"乙");
  second.year = 2024, second.month = 2, second.day = 4, second.hour = 23, second.minute = 59;
  second.male = false;
  ChartEngine reused;
  ChartRecord ignored, fromReused, fromFresh;
  ASSERT_TRUE(ComputeChartRecord(reused, first, ignored));
  ASSERT_TRUE(ComputeChartRecord(reused, second, fromReused));
  ChartEngine fresh;
  ASSERT_TRUE(ComputeChartRecord(fresh, second, fromFresh));
  EXPECT_EQ(ToUtf8(fromReused.Serialize()), ToUtf8(fromFresh.Serialize()));
}

TEST(ComputeChartRecord, LunarLeapMonthInputKeepsItsLeapFlag) {
  // 2020 had a leap fourth month of 29 days; its first day was 23 May.
  struct Case {
    bool leap;
    TextView gregorianMonth, gregorianDay, leep;
  };
  for (const Case& c : {Case{true, u"5", u"23", u"1"}, Case{false, u"4", u"23", u"0"}}) {
    TempDir home;
    ChartRequest request = Request(home.path());
    request.gregorian = false;
    request.leapMonth = c.leap;
    request.year = 2020, request.month = 4, request.day = 1;
    ChartEngine engine;
    ChartRecord record;
    ASSERT_TRUE(ComputeChartRecord(engine, request, record)) << "leap " << c.leap;
    EXPECT_EQ(record.ReadString(u"gongli", u"month"), c.gregorianMonth) << "leap " << c.leap;
    EXPECT_EQ(record.ReadString(u"gongli", u"day"), c.gregorianDay) << "leap " << c.leap;
    EXPECT_EQ(record.ReadString(u"nongli", u"month"), u"4") << "leap " << c.leap;
    EXPECT_EQ(record.ReadString(u"nongli", u"leep"), c.leep) << "leap " << c.leap;
  }
}

// The search's windows, filled into a request as the form would take a
// found moment, compute back to the pillars they were found for, at their
// first and last minute; the minutes just outside give other pillars.
TEST(ComputeChartRecord, FoundBirthWindowsComputeBackToTheirPillars) {
  TempDir home;
  ChartEngine engine;
  const auto pillarsAt = [&](ChartRequest request, std::int64_t seconds) {
    const CivilTime t = CivilTimeOf(seconds);
    request.year = t.year, request.month = t.month, request.day = t.day;
    request.hour = t.hour, request.minute = t.minute;
    ChartRecord record;
    EXPECT_TRUE(ComputeChartRecord(engine, request, record));
    return FourPillars{record.ReadString(u"shizhu", u"year"),
                       record.ReadString(u"shizhu", u"month"), record.ReadString(u"shizhu", u"day"),
                       record.ReadString(u"shizhu", u"hour")};
  };
  const std::int64_t first = SecondsOf({1901, 1, 1, 0, 0, 0});
  const std::int64_t end = SecondsOf({2050, 1, 1, 0, 0, 0});
  std::mt19937_64 random(13);
  std::uniform_int_distribution<std::int64_t> minute(0, (end - first) / 60 - 1);
  int windows = 0;
  for (int i = 0; i < 48; ++i) {
    ChartRequest request = Request(home.path());
    request.choices.terms = i % 2 ? &AstronomicalTermSource() : &FormulaTermSource();
    request.choices.ziSchool = i % 4 >= 2 ? &kSameDayZiSchool : &kNextDayZiSchool;
    std::int64_t birth = first + minute(random) * 60;
    if (i % 3 == 0) {  // a late 子 hour, where the schools differ
      const std::int64_t midnight = FloorDivide(birth, kSecondsPerDay) * kSecondsPerDay;
      birth = midnight + 23 * kSecondsPerHour + (birth - midnight) % kSecondsPerHour;
    }
    const FourPillars asked = pillarsAt(request, birth);
    const std::string label = ToUtf8(asked.year + asked.month + asked.day + asked.hour + u" ");
    for (const BirthWindow& w :
         FindBirthWindows(asked, *request.choices.terms, *request.choices.ziSchool)) {
      const std::int64_t a = SecondsOf(w.first), b = SecondsOf(w.last);
      const std::string window = label + ToUtf8(BirthWindowText(w));
      EXPECT_TRUE(pillarsAt(request, a) == asked) << window << " first minute";
      EXPECT_TRUE(pillarsAt(request, b) == asked) << window << " last minute";
      if (a > first) EXPECT_FALSE(pillarsAt(request, a - 60) == asked) << window << " before";
      if (b + 60 < end) EXPECT_FALSE(pillarsAt(request, b + 60) == asked) << window << " after";
      ++windows;
    }
  }
  EXPECT_GT(windows, 60);
}

}  // namespace
}  // namespace xuanshu
