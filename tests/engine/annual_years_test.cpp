#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/annual_years.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

std::string Value(const ChartRecord& record, TextView section, TextView key) {
  const auto* value = record.Find(section, key);
  return value == nullptr ? "<missing>" : ToUtf8(*value);
}

ChartRecord AnnualYearsOf(int birthYear, int luckStartYear) {
  ChartEngine engine;
  engine.year = birthYear;
  engine.yearBegin = luckStartYear;
  ChartRecord record;
  engine.WriteAnnualYears(record);
  return record;
}

TEST(YearGanZhi, NamesACalendarYearByItsNumber) {
  struct Case {
    long long year;
    const char* pillar;
  };
  // The extremes, which a hand-edited record can reach, were named with
  // exact integer arithmetic.
  const Case cases[] = {{1864, "甲子"},      {1923, "癸亥"},          {1924, "甲子"},
                        {1980, "庚申"},      {1990, "庚午"},          {2024, "甲辰"},
                        {1863, "癸亥"},      {1804, "甲子"},          {0, "庚申"},
                        {LLONG_MIN, "壬子"}, {LLONG_MIN + 2, "甲寅"}, {LLONG_MAX, "丁卯"}};
  for (const Case& c : cases) EXPECT_EQ(ToUtf8(YearGanZhi(c.year)), c.pillar) << c.year;
}

TEST(AnnualYears, TenYearsPerLuckPillarWithNominalAges) {
  const ChartRecord record = AnnualYearsOf(1990, 1997);
  struct Case {
    const char16_t* key;
    const char* value;
  };
  const Case cases[] = {
      {u"count", "9"},         {u"age1", "8"},
      {u"yearBegin1", "1997"}, {u"liunian1", "丁丑/戊寅/己卯/庚辰/辛巳/壬午/癸未/甲申/乙酉/丙戌/"},
      {u"yearEnd1", "2006"},   {u"age2", "18"},
      {u"yearBegin2", "2007"}, {u"liunian2", "丁亥/戊子/己丑/庚寅/辛卯/壬辰/癸巳/甲午/乙未/丙申/"},
      {u"yearEnd2", "2016"},   {u"age9", "88"},
      {u"yearBegin9", "2077"}, {u"yearEnd9", "2086"},  // 89 years after yearBegin1
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Value(record, u"liunian", c.key), c.value) << ToUtf8(c.key);
  }
}

TEST(AnnualYears, KeysOfEachLuckPillarAreWrittenTogether) {
  const ChartRecord record = AnnualYearsOf(1990, 1997);
  const auto& entries = record.FindSection(u"liunian")->entries();
  ASSERT_EQ(entries.size(), 1u + 9 * 4);
  EXPECT_EQ(entries[0].key, u"count");
  for (int i = 1; i <= 9; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_EQ(ToUtf8(entries[4 * i - 3].key), "age" + n);
    EXPECT_EQ(ToUtf8(entries[4 * i - 2].key), "yearBegin" + n);
    EXPECT_EQ(ToUtf8(entries[4 * i - 1].key), "liunian" + n);
    EXPECT_EQ(ToUtf8(entries[4 * i].key), "yearEnd" + n);
  }
}

TEST(YearsBeforeLuck, ListsTheYearsFromBirthUntilLuckStarts) {
  struct Case {
    const char* name;
    int birthYear;
    int luckStartYear;
    const char* birth;
    const char* list;
  };
  const Case cases[] = {
      {"seven years before luck", 1990, 1997, "1990", "庚午/辛未/壬申/癸酉/甲戌/乙亥/丙子/"},
      {"luck in the birth year leaves the list empty", 1990, 1990, "1990", ""},
      {"one year before luck", 1990, 1991, "1990", "庚午/"},
  };
  for (const Case& c : cases) {
    ChartRecord record = AnnualYearsOf(c.birthYear, c.luckStartYear);
    WriteYearsBeforeLuck(record);
    EXPECT_EQ(Value(record, u"yunqian", u"birth"), c.birth) << c.name;
    EXPECT_EQ(Value(record, u"yunqian", u"liunian"), c.list) << c.name;
    const auto& entries = record.FindSection(u"yunqian")->entries();
    ASSERT_EQ(entries.size(), 2u) << c.name;
    EXPECT_EQ(entries[0].key, u"birth") << c.name;
  }
}

TEST(YearsBeforeLuck, ReadsTheRecordNotTheChart) {
  ChartRecord record;
  record.Set(u"liunian", u"age1", u"3");
  record.Set(u"liunian", u"yearBegin1", u"2001");
  record.Set(u"yunqian", u"liunian", u"stale/");
  WriteYearsBeforeLuck(record);
  EXPECT_EQ(Value(record, u"yunqian", u"birth"), "1999");
  EXPECT_EQ(Value(record, u"yunqian", u"liunian"), "己卯/庚辰/");
}

TEST(YearsBeforeLuck, WritesNothingWhenAKeyIsMissing) {
  struct Case {
    const char* name;
    const char16_t* age1;
    const char16_t* yearBegin1;
  };
  const Case cases[] = {
      {"no liunian keys", nullptr, nullptr},
      {"age1 only", u"8", nullptr},
      {"yearBegin1 only", nullptr, u"1997"},
      {"negative age1", u"-2", u"1997"},
  };
  for (const Case& c : cases) {
    ChartRecord record;
    if (c.age1 != nullptr) record.Set(u"liunian", u"age1", c.age1);
    if (c.yearBegin1 != nullptr) record.Set(u"liunian", u"yearBegin1", c.yearBegin1);
    WriteYearsBeforeLuck(record);
    EXPECT_FALSE(record.HasSection(u"yunqian")) << c.name;
  }
}

}  // namespace
}  // namespace xuanshu
