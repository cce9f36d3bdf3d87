#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

ChartEngine ExampleChart(int luckStartYear) {
  ChartEngine engine;
  engine.yearPillar = u"甲子";
  engine.monthPillar = u"丙寅";
  engine.dayPillar = u"戊辰";
  engine.hourPillar = u"庚申";
  engine.yearBegin = luckStartYear;
  return engine;
}

std::string Value(const ChartRecord& record, TextView section, TextView key) {
  const auto* value = record.Find(section, key);
  return value == nullptr ? "<missing>" : ToUtf8(*value);
}

TEST(ClashSummaries, NatalPillarsWithTheirPartnersAndYears) {
  ChartEngine engine = ExampleChart(1985);
  ChartRecord record;
  engine.WriteClashSummaries(record);
  engine.WriteClashYearSets(record);
  struct Case {
    const char16_t* pillar;
    const char* partners;
  };
  const Case cases[] = {
      {u"甲子", "戊午（2038） 庚午（1990，2050）"},
      {u"丙寅", "庚申（2040） 壬申（1992，2052）"},
      {u"戊辰", "壬戌（2042） 甲戌（1994，2054）"},
      {u"庚申", "甲寅（2034） 丙寅（1986，2046）"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Value(record, u"ShiZhuTKDC", c.pillar), c.partners) << ToUtf8(c.pillar);
  }
  EXPECT_EQ(Value(record, u"ALLTKDC", u"sztkdc"),
            "1986/1990/1992/1994/2034/2038/2040/2042/2046/2050/2052/2054/");
  EXPECT_EQ(Value(record, u"ALLTKDC", u"dytkdc"), "") << "no luck pillars: empty, but present";
  EXPECT_EQ(Value(record, u"ALLTKDC", u"lntkdc"), "");
}

TEST(ClashSummaries, PartnerWhoseStemIsControlledComesFirst) {
  ChartEngine engine = ExampleChart(1985);
  std::vector<ClashPartner> partners = {{u"x", u"y", 1, {1}}};
  engine.FindClashPartners(u"甲子", partners);
  ASSERT_EQ(partners.size(), 2u) << "the list is emptied first";
  EXPECT_EQ(partners[0].subject, u"甲子");
  EXPECT_EQ(partners[0].partner, u"戊午");  // 甲 controls 戊
  EXPECT_EQ(partners[0].kind, 2);
  EXPECT_EQ(partners[0].years, std::vector<int>{2038});
  EXPECT_EQ(partners[1].partner, u"庚午");  // 庚 controls 甲
  EXPECT_EQ(partners[1].kind, 1);
  EXPECT_EQ(partners[1].years, (std::vector<int>{1990, 2050}));
  // A yin stem has one controller; the yang one combines with it (丁壬合).
  engine.FindClashPartners(u"丁卯", partners);
  ASSERT_EQ(partners.size(), 2u);
  EXPECT_EQ(partners[0].partner, u"辛酉");
  EXPECT_EQ(partners[1].partner, u"癸酉");
}

TEST(ClashSummaries, TheWindowStartsAtTheStartOfLuck) {
  struct Case {
    const char* name;
    int luckStartYear;
    const char* partners;  // of 甲子
  };
  const Case cases[] = {
      {"1990 falls before a 1991 start", 1991, "戊午（2038） 庚午（2050）"},
      {"1978 start: both partners twice", 1978, "戊午（1978，2038） 庚午（1990，2050）"},
      {"last window year is start + 89", 1949, "戊午（1978，2038） 庚午（1990）"},
  };
  for (const Case& c : cases) {
    ChartEngine engine = ExampleChart(c.luckStartYear);
    ChartRecord record;
    engine.WriteClashSummaries(record);
    EXPECT_EQ(Value(record, u"ShiZhuTKDC", u"甲子"), c.partners) << c.name;
  }
}

TEST(ClashSummaries, LuckPillarsAndSharedKeys) {
  ChartEngine engine = ExampleChart(1985);
  engine.monthPillar = u"甲子";  // equal to the year pillar: one key for both
  engine.luckPillars = {u"丁卯", u"戊辰"};
  ChartRecord record;
  engine.WriteClashSummaries(record);
  engine.WriteClashYearSets(record);
  EXPECT_EQ(record.FindSection(u"ShiZhuTKDC")->entries().size(), 3u);
  EXPECT_EQ(Value(record, u"DYTKDC", u"丁卯"), "辛酉（2041） 癸酉（1993，2053）");
  EXPECT_EQ(Value(record, u"DYTKDC", u"戊辰"), Value(record, u"ShiZhuTKDC", u"戊辰"))
      << "a luck pillar equal to a natal pillar lists the same partners";
  EXPECT_EQ(Value(record, u"ALLTKDC", u"dytkdc"), "1993/1994/2041/2042/2053/2054/");
  EXPECT_EQ(Value(record, u"ALLTKDC", u"sztkdc"), "1986/1990/1994/2034/2038/2042/2046/2050/2054/")
      << "years of 甲子 listed once though it stands twice";
}

TEST(ClashSummaries, YearSetsEndEveryYearWithASlash) {
  ChartEngine engine;
  engine.annualClashSet = {1990};
  engine.luckClashSet = {2001, 1999};
  ChartRecord record;
  engine.WriteClashYearSets(record);
  EXPECT_EQ(record.Serialize(), u"[ALLTKDC]\r\nsztkdc=\r\ndytkdc=1999/2001/\r\nlntkdc=1990/\r\n");
}

}  // namespace
}  // namespace xuanshu
