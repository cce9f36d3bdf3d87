#include <gtest/gtest.h>

#include <string>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

ChartRecord HealthOf(const char16_t* y, const char16_t* m, const char16_t* d, const char16_t* h) {
  ChartEngine engine;
  engine.yearPillar = y, engine.monthPillar = m, engine.dayPillar = d, engine.hourPillar = h;
  ChartRecord record;
  engine.WriteHealthCheck(record);
  return record;
}

// The counts of 甲 … 癸, read back from keyfenshu1 … keyfenshu10.
std::string Counts(const ChartRecord& record) {
  std::string out;
  for (int i = 1; i <= 10; ++i) {
    out += ToUtf8(record.ReadString(u"tijian", u"keyfenshu" + Num(i)));
    if (i < 10) out += ' ';
  }
  return out;
}

TEST(HealthCheck, CountsPillarStemsAndHiddenStems) {
  struct Case {
    const char* name;
    const char16_t* pillars[4];
    const char* counts;  // 甲 乙 丙 丁 戊 己 庚 辛 壬 癸
  };
  const Case cases[] = {
      // Stems 甲 丙 戊 庚; hidden 癸 | 甲 丙 戊 | 戊 癸 乙 | 庚 壬 戊.
      {"worked example", {u"甲子", u"丙寅", u"戊辰", u"庚申"}, "2 1 2 0 4 0 2 0 1 2"},
      // Four 丑 give three hidden stems each: 16 occurrences, the most possible.
      {"three hidden stems per branch",
       {u"乙丑", u"己丑", u"辛丑", u"丁丑"},
       "0 1 0 1 0 5 0 5 0 4"},
      // One hidden stem per branch: 8 occurrences, the fewest possible.
      {"one hidden stem per branch", {u"甲子", u"丁卯", u"癸酉", u"甲子"}, "2 1 0 1 0 0 0 1 0 3"},
  };
  for (const Case& c : cases) {
    const ChartRecord record = HealthOf(c.pillars[0], c.pillars[1], c.pillars[2], c.pillars[3]);
    EXPECT_EQ(Counts(record), c.counts) << c.name;
  }
}

TEST(HealthCheck, WritesEveryStemWithItsOrganInOrder) {
  const ChartRecord record = HealthOf(u"甲子", u"丙寅", u"戊辰", u"庚申");
  const auto& entries = record.FindSection(u"tijian")->entries();
  ASSERT_EQ(entries.size(), 31u);
  EXPECT_EQ(entries[0].key, u"count");
  EXPECT_EQ(entries[0].value, u"10");
  const char* organs[10] = {"胆", "肝", "小肠", "心脏", "胃", "脾", "大肠", "肺", "膀胱", "肾"};
  const char* stems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
  for (int i = 0; i < 10; ++i) {
    const std::string n = std::to_string(i + 1);
    EXPECT_EQ(ToUtf8(entries[3 * i + 1].key), "keyname" + n);
    EXPECT_EQ(ToUtf8(entries[3 * i + 1].value), stems[i]);
    EXPECT_EQ(ToUtf8(entries[3 * i + 2].key), "keyis" + n);
    EXPECT_EQ(ToUtf8(entries[3 * i + 2].value), organs[i]);
    EXPECT_EQ(ToUtf8(entries[3 * i + 3].key), "keyfenshu" + n);
  }
  EXPECT_EQ(ToUtf8(entries[12].value), "0") << "丁 occurs nowhere and still has its count";
}

}  // namespace
}  // namespace xuanshu
