#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/chart_engine.h"
#include "engine/strength_scores.h"

namespace xuanshu {
namespace {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

ChartRecord ScoresOf(const char16_t* y, const char16_t* m, const char16_t* d, const char16_t* h) {
  ChartEngine engine;
  engine.yearPillar = y, engine.monthPillar = m, engine.dayPillar = d, engine.hourPillar = h;
  ChartRecord record;
  engine.WriteStrengthScores(record);
  return record;
}

KeyValues EntriesOf(const ChartRecord& record, TextView section) {
  KeyValues out;
  for (const auto& entry : record.FindSection(section)->entries()) {
    out.emplace_back(ToUtf8(entry.key), ToUtf8(entry.value));
  }
  return out;
}

TEST(StrengthScores, WorkedExampleWritesEveryValueInOrder) {
  // Day stem 戊, month 寅. 日干 15; stems 甲 偏官 60, 丙 偏印 60, 庚 食神 15;
  // hidden 子癸 正财 60, 寅甲 偏官 32, 寅丙 偏印 32, 寅戊 比肩 3.5, 辰戊 比肩 9,
  // 辰癸 正财 3, 辰乙 正官 18, 申庚 食神 8, 申壬 偏财 7, 申戊 比肩 3.5.
  const ChartRecord record = ScoresOf(u"甲子", u"丙寅", u"戊辰", u"庚申");
  const KeyValues tenGods = {{"count", "10"}, {"key1", "正官"}, {"正官", "18"}, {"key2", "偏官"},
                             {"偏官", "92"},  {"key3", "正印"}, {"正印", "0"},  {"key4", "偏印"},
                             {"偏印", "92"},  {"key5", "劫财"}, {"劫财", "0"},  {"key6", "比肩"},
                             {"比肩", "16"},  {"key7", "伤官"}, {"伤官", "0"},  {"key8", "食神"},
                             {"食神", "23"},  {"key9", "正财"}, {"正财", "63"}, {"key10", "偏财"},
                             {"偏财", "7"}};
  EXPECT_EQ(EntriesOf(record, u"shishenfenshu"), tenGods);
  const KeyValues families = {{"count", "5"}, {"key1", "官杀"}, {"官杀", "110"}, {"key2", "印"},
                              {"印", "92"},   {"key3", "比劫"}, {"比劫", "16"},  {"key4", "伤食"},
                              {"伤食", "23"}, {"key5", "财"},   {"财", "70"}};
  EXPECT_EQ(EntriesOf(record, u"liushenfenshu"), families);
  const KeyValues totals = {
      {"日干", "15"}, {"tongdang", "123"}, {"yidang", "203"}, {"rizhufenshu", "身弱"}};
  EXPECT_EQ(EntriesOf(record, u"fenshu"), totals);

  const auto& sections = record.sections();
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0].name(), u"shishenfenshu");
  EXPECT_EQ(sections[1].name(), u"fenshu");
  EXPECT_EQ(sections[2].name(), u"liushenfenshu");
}

TEST(StrengthScores, HalfScoresKeepOneDecimal) {
  // Day stem 甲, month 辰. 日干 15; stems 甲 比肩 15, 戊 偏财 60, 辛 正官 60;
  // hidden 子癸 正印 15 (twice), 辰戊 偏财 36, 辰癸 正印 1.5, 辰乙 劫财 4.5,
  // 未己 正财 36, 未丁 伤官 9, 未乙 劫财 1.5.
  const ChartRecord record = ScoresOf(u"甲子", u"戊辰", u"甲子", u"辛未");
  struct Case {
    const char16_t* section;
    const char16_t* key;
    const char* value;
  };
  const Case cases[] = {
      {u"fenshu", u"日干", "15"},
      {u"shishenfenshu", u"比肩", "15"},  // a second 甲 counts, the day stem does not
      {u"shishenfenshu", u"正印", "31.5"},
      {u"shishenfenshu", u"劫财", "6"},  // 4.5 + 1.5 is whole again
      {u"shishenfenshu", u"正财", "36"},
      {u"shishenfenshu", u"偏财", "96"},
      {u"shishenfenshu", u"正官", "60"},
      {u"shishenfenshu", u"伤官", "9"},
      {u"liushenfenshu", u"印", "31.5"},
      {u"liushenfenshu", u"比劫", "21"},
      {u"liushenfenshu", u"财", "132"},
      {u"fenshu", u"tongdang", "67.5"},
      {u"fenshu", u"yidang", "201"},
      {u"fenshu", u"rizhufenshu", "身弱"},
  };
  for (const Case& c : cases) {
    const auto* value = record.Find(c.section, c.key);
    ASSERT_NE(value, nullptr) << ToUtf8(c.key);
    EXPECT_EQ(ToUtf8(*value), c.value) << ToUtf8(c.key);
  }
}

TEST(StrengthScores, AChartOfOnlyTheSamePartyIsStrong) {
  // Day stem 甲, month 卯: 日干 60; 甲 比肩 60, 乙 劫财 60, 壬 偏印 30;
  // 子癸 正印 60 three times, 卯乙 劫财 60.
  const ChartRecord record = ScoresOf(u"甲子", u"乙卯", u"甲子", u"壬子");
  EXPECT_EQ(ToUtf8(record.ReadString(u"fenshu", u"tongdang")), "450");
  EXPECT_EQ(ToUtf8(record.ReadString(u"fenshu", u"yidang")), "0");
  EXPECT_EQ(ToUtf8(record.ReadString(u"fenshu", u"rizhufenshu")), "身旺");
  EXPECT_EQ(ToUtf8(record.ReadString(u"liushenfenshu", u"官杀")), "0");
}

TEST(StrengthScores, ScoreTextShowsADecimalOnlyForFractions) {
  const std::pair<float, const char*> cases[] = {{0.0f, "0"},     {16.0f, "16"}, {16.5f, "16.5"},
                                                 {37.5f, "37.5"}, {60.0f, "60"}, {1.5f, "1.5"}};
  for (const auto& [score, text] : cases) EXPECT_EQ(ToUtf8(ScoreText(score)), text) << score;
}

TEST(StrengthScores, VerdictComparesTheRatioWithOnePointThreeInDouble) {
  struct Case {
    const char* name;
    float same, other;
    const char* verdict;
  };
  const Case cases[] = {
      {"exactly 1.3 (78 / 60)", 78.0f, 60.0f, "平"},
      {"exactly 1.3 (39 / 30)", 39.0f, 30.0f, "平"},
      {"just above", 78.5f, 60.0f, "身旺"},
      {"just below", 77.5f, 60.0f, "身弱"},
      {"worked example 123 / 203", 123.0f, 203.0f, "身弱"},
      {"both totals zero", 0.0f, 0.0f, "平"},
      {"no other party", 45.0f, 0.0f, "身旺"},
      {"no same party", 0.0f, 45.0f, "身弱"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(StrengthVerdict(c.same, c.other)), c.verdict) << c.name;
  }
}

// Month elements and stem elements: wood 0, fire 1, earth 2, metal 3, water 4;
// an element generates the next one.
TEST(StrengthScores, StemMonthScoreFollowsTheElementRule) {
  const int monthElement[12] = {0, 0, 2, 1, 1, 2, 3, 3, 2, 4, 4, 2};  // 寅 … 丑
  for (int row = 0; row < 12; ++row) {
    for (int stem = 0; stem < 10; ++stem) {
      const int e = stem / 2, m = monthElement[row];
      const float expected = (e == m || e == (m + 1) % 5) ? 60 : (m == (e + 1) % 5) ? 30 : 15;
      EXPECT_EQ(StemMonthScore(row, stem), expected) << "row " << row << " stem " << stem;
    }
  }
}

TEST(StrengthScores, HiddenStemMonthScoreKeepsItsIrregularValues) {
  struct Case {
    const char16_t* pair;
    const char16_t* month;
    float score;
  };
  // Month rows start at 寅.
  const std::u16string months = u"寅卯辰巳午未申酉戌亥子丑";
  const Case cases[] = {
      {u"子癸", u"寅", 60}, {u"子癸", u"卯", 60}, {u"寅丙", u"辰", 8},   {u"寅丙", u"未", 16},
      {u"寅丙", u"戌", 16}, {u"寅丙", u"丑", 16}, {u"巳丙", u"戌", 36},  {u"巳丙", u"辰", 16},
      {u"巳丙", u"未", 16}, {u"巳丙", u"丑", 16}, {u"未乙", u"辰", 1.5}, {u"午丁", u"寅", 40},
      {u"巳庚", u"亥", 7},  {u"卯乙", u"巳", 30}, {u"亥壬", u"申", 40},  {u"辰癸", u"子", 6},
      {u"子丑", u"寅", 40},  // not a pair: first column (午丁)
  };
  for (const Case& c : cases) {
    const int row = static_cast<int>(months.find(c.month));
    EXPECT_EQ(HiddenStemMonthScore(row, c.pair), c.score) << ToUtf8(c.pair) << ToUtf8(c.month);
  }
}

}  // namespace
}  // namespace xuanshu
