#include <gtest/gtest.h>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

ChartEngine WithPillars(TextView year, TextView month, TextView day, TextView hour) {
  ChartEngine engine;
  engine.yearPillar = year;
  engine.monthPillar = month;
  engine.dayPillar = day;
  engine.hourPillar = hour;
  return engine;
}

// Pillars from four stems, every branch 子.
ChartEngine WithStems(TextView stems) {
  const auto pillar = [&](std::size_t i) { return Text(stems.substr(i, 1)) + u"子"; };
  return WithPillars(pillar(0), pillar(1), pillar(2), pillar(3));
}

// Pillars from four branches, every stem 甲.
ChartEngine WithBranches(TextView branches) {
  const auto pillar = [&](std::size_t i) { return Text(u"甲") + Text(branches.substr(i, 1)); };
  return WithPillars(pillar(0), pillar(1), pillar(2), pillar(3));
}

struct TextCase {
  const char* label;
  TextView input;
  TextView expected;
};

TEST(NatalStemRelations, TaggedPairsThenSpaceAndCountedSummary) {
  const TextCase cases[] = {
      {"worked example", u"庚甲甲己",
       u"[年月]庚克甲、[年日]庚克甲、[月时]甲己合、[日时]甲己合 一庚克两甲、一己合两甲"},
      {"乙庚 combine rather than control; both directions of 庚克甲 share a tally", u"乙甲庚甲",
       u"[年日]乙庚合、[月日]庚克甲、[日时]庚克甲 一庚克两甲"},
      {"combination counted from its second stem", u"己甲甲甲",
       u"[年月]甲己合、[年日]甲己合、[年时]甲己合 一己合三甲"},
      {"relations without repeated stems end with one space", u"甲己丙辛",
       u"[年月]甲己合、[年时]辛克甲、[日时]丙辛合 "},
      {"no relation gives an empty text", u"甲甲甲甲", u""},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(ToUtf8(WithStems(c.input).NatalStemRelations()), ToUtf8(c.expected)) << c.label;
  }
}

TEST(NatalHiddenCombinations, OnlyPairsWithTheDayBranchInTableOrder) {
  const TextCase cases[] = {
      {"寅 with day 子", u"寅卯子卯", u"[年日]子寅(戊癸)"},
      {"entry listing 申 first", u"申卯子卯", u"[年日]申子(戊癸)"},
      {"辰 with itself", u"卯辰辰卯", u"[月日]辰辰(戊癸)"},
      {"寅 and 午 are never compared with each other", u"寅卯卯午", u""},
      {"all three others, 全合 and ASCII spaces", u"丑午亥戌",
       u"[年日]丑亥(甲己)、[月日]午亥全合(甲己 丁壬)、[时日]戌亥(丁壬)"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(ToUtf8(WithBranches(c.input).NatalHiddenCombinations()), ToUtf8(c.expected))
        << c.label;
  }
}

struct PillarCase {
  const char* label;
  TextView year, month, day, hour;
  TextView expected;
};

TEST(NatalStrikeAndClash, StemControlTogetherWithBranchClash) {
  const PillarCase cases[] = {
      {"year and hour", u"甲子", u"乙丑", u"丙寅", u"庚午", u"[命命年时]甲子庚午"},
      {"control without clash, combination with clash", u"甲子", u"乙丑", u"丁卯", u"庚申", u""},
      {"direction of the control does not change the text", u"甲子", u"庚午", u"甲子", u"庚午",
       u"[命命年月]甲子庚午、[命命年时]甲子庚午、[命命月日]庚午甲子、[命命日时]甲子庚午"},
  };
  for (const PillarCase& c : cases) {
    EXPECT_EQ(ToUtf8(WithPillars(c.year, c.month, c.day, c.hour).NatalStrikeAndClash()),
              ToUtf8(c.expected))
        << c.label;
  }
}

}  // namespace
}  // namespace xuanshu
