#include <gtest/gtest.h>

#include <array>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

using Natal = std::array<const char16_t*, 4>;  // year, month, day, hour pillars

ChartEngine NatalEngine(const Natal& natal) {
  ChartEngine engine;
  engine.yearPillar = natal[0];
  engine.monthPillar = natal[1];
  engine.dayPillar = natal[2];
  engine.hourPillar = natal[3];
  return engine;
}

struct BranchCase {
  const char* name;
  Natal natal;
  const char16_t* annual;
  const char16_t* luck;
  const char16_t* pairs;
  const char16_t* summary;
  const char16_t* groups;
};

TEST(AnnualBranchRelations, SortsItemsIntoPairSummaryAndGroupTexts) {
  const BranchCase cases[] = {
      {"natal 子 子, luck 子, annual 午: summarised without and again with the luck branch",
       {u"甲子", u"乙酉", u"丙子", u"丁酉"},
       u"庚午",
       u"戊子",
       u"[运岁]子午(冲)、[命岁]子午(冲)、[命岁]子午(冲)",
       u"[岁命]两子冲一午",
       u"[岁运命]三子冲一午"},
      {"three 辰 with the annual one: self-punishment lands in the group text",
       {u"甲辰", u"乙丑", u"丙辰", u"丁丑"},
       u"戊辰",
       u"己丑",
       u"[命岁]辰辰(自刑)、[命岁]辰辰(自刑)",
       u"",
       u"[岁命]三辰自刑"},
      {"one natal 辰 with the annual one: self-punishment without a summary",
       {u"甲辰", u"乙丑", u"丙寅", u"丁丑"},
       u"戊辰",
       u"己丑",
       u"[命岁]辰辰(自刑)",
       u"",
       u""},
      {"only pairs with the annual branch: natal-natal and luck-natal pairs are left out",
       {u"甲子", u"庚午", u"丙子", u"丁丑"},
       u"丙寅",
       u"辛未",
       u"[岁命]寅午(生半合)",
       u"",
       u""},
      {"annual 子 before natal 午 in table order",
       {u"甲午", u"乙酉", u"丁酉", u"己酉"},
       u"庚子",
       u"辛酉",
       u"[岁命]子午(冲)",
       u"",
       u""},
      {"a 岁命命 group does not suppress its pairs",
       {u"甲申", u"丙子", u"丁丑", u"己巳"},
       u"戊辰",
       u"庚午",
       u"[命岁]申辰(假半合)、[命岁]子辰(墓半合)",
       u"",
       u"[岁命命]申子辰(三合)"},
      {"a 岁运命 group suppresses the pairs inside it",
       {u"甲申", u"丁丑", u"丁丑", u"己巳"},
       u"戊辰",
       u"庚子",
       u"",
       u"",
       u"[岁运命]申子辰(三合)"},
      {"a 岁运命 group suppresses also a pair that did not form it",
       {u"甲申", u"丙子", u"丁丑", u"己巳"},
       u"戊辰",
       u"庚子",
       u"",
       u"",
       u"[岁运命]申子辰(三合)、[岁命命]申子辰(三合)"},
      {"directional group with the annual branch; natal-only groups stay out",
       {u"乙亥", u"丁卯", u"乙未", u"戊寅"},
       u"戊辰",
       u"庚午",
       u"[命岁]卯辰(害)",
       u"",
       u"[岁命命]寅卯辰(三会)"},
      {"nothing related: three empty texts",
       {u"甲子", u"丙子", u"戊子", u"庚子"},
       u"辛酉",
       u"癸亥",
       u"",
       u"",
       u""},
  };
  for (const BranchCase& c : cases) {
    const AnnualBranchTexts texts = NatalEngine(c.natal).AnnualBranchRelations(c.annual, c.luck);
    EXPECT_EQ(ToUtf8(texts.pairs), ToUtf8(c.pairs)) << c.name;
    EXPECT_EQ(ToUtf8(texts.summary), ToUtf8(c.summary)) << c.name;
    EXPECT_EQ(ToUtf8(texts.groups), ToUtf8(c.groups)) << c.name;
  }
}

struct StemCase {
  const char* name;
  Natal natal;
  const char16_t* annual;
  const char16_t* luck;
  const char16_t* main;
  const char16_t* big;
};

TEST(AnnualStemRelations, JoinsPairsAndSmallCountsAndMovesLargeCountsToBig) {
  const StemCase cases[] = {
      {"two counted items after the space, joined by 、 only between them",
       {u"庚子", u"庚子", u"壬子", u"壬子"},
       u"丁酉",
       u"甲子",
       u"[岁命]丁克庚、[岁命]丁克庚、[岁命]丁壬合、[岁命]丁壬合 [岁命]一丁克两庚、[岁命]一丁合两壬",
       u""},
      {"combination counted with the pair's first stem first",
       {u"甲子", u"甲子", u"丙子", u"丙子"},
       u"己酉",
       u"丙子",
       u"[岁命]甲己合、[岁命]甲己合 [岁命]两甲合一己",
       u""},
      {"same 庚 in luck and year: counted again with the luck stem",
       {u"甲子", u"甲子", u"戊子", u"戊子"},
       u"庚午",
       u"庚子",
       u"[岁命]庚克甲、[岁命]庚克甲 [岁命]一庚克两甲、[岁运命]两庚克两甲",
       u""},
      {"three 甲 move the counted item to big; main keeps its space",
       {u"甲子", u"甲子", u"甲子", u"戊子"},
       u"庚午",
       u"己巳",
       u"[岁命]庚克甲、[岁命]庚克甲、[岁命]庚克甲 ",
       u"[岁命]一庚克三甲"},
      {"luck stem related to the annual stem is listed first",
       {u"戊子", u"戊子", u"戊子", u"戊子"},
       u"庚午",
       u"丙子",
       u"[岁运]丙克庚 ",
       u""},
      {"nothing related: both empty",
       {u"甲子", u"甲子", u"甲子", u"甲子"},
       u"甲午",
       u"丙子",
       u"",
       u""},
  };
  for (const StemCase& c : cases) {
    const AnnualStemTexts texts = NatalEngine(c.natal).AnnualStemRelations(c.annual, c.luck);
    EXPECT_EQ(ToUtf8(texts.main), ToUtf8(c.main)) << c.name;
    EXPECT_EQ(ToUtf8(texts.big), ToUtf8(c.big)) << c.name;
  }
}

TEST(AnnualStrikeAndClash, TagsTheLuckOrNatalPillarBeforeTheAnnual) {
  const ChartEngine engine = NatalEngine({u"甲子", u"乙丑", u"壬子", u"丁酉"});
  EXPECT_EQ(ToUtf8(engine.AnnualStrikeAndClash(u"丙午", u"壬子")),
            ToUtf8(u"[运岁]丙午壬子天克地冲、[日岁]丙午壬子天克地冲"));
  EXPECT_EQ(ToUtf8(engine.AnnualStrikeAndClash(u"辛卯", u"戊辰")),
            ToUtf8(u"[时岁]辛卯丁酉天克地冲"))
      << "natal stem controlling the annual stem";
  EXPECT_EQ(engine.AnnualStrikeAndClash(u"甲午", u"甲子"), u"")
      << "clashing branches without a stem control";
}

}  // namespace
}  // namespace xuanshu
