#include "engine/branch_relations.h"

#include <gtest/gtest.h>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

struct RelationCase {
  const char* label;
  TextView x, y;
  TextView name;
  bool reversed;
};

TEST(BranchRelation, FirstTableEntryEitherWayNamesThePairInTableOrder) {
  const RelationCase cases[] = {
      {"first entry, table order", u"子", u"丑", u"合", false},
      {"first entry, reversed", u"丑", u"子", u"合", true},
      {"entry listing the later branch first", u"子", u"申", u"生半合", true},
      {"four-character name", u"巳", u"申", u"合持势刑", false},
      {"self punishment", u"辰", u"辰", u"自刑", false},
      {"last entry", u"亥", u"亥", u"自刑", false},
      {"no relation", u"子", u"酉", u"", false},
      {"repeated branch without self punishment", u"子", u"子", u"", false},
      {"丑 辰 unrelated", u"辰", u"丑", u"", false},
      {"two characters match nothing", u"子丑", u"丑", u"", false},
      {"empty matches nothing", u"", u"丑", u"", false},
  };
  for (const RelationCase& c : cases) {
    const BranchRelationResult r = BranchRelation(c.x, c.y);
    EXPECT_EQ(ToUtf8(r.name), ToUtf8(c.name)) << c.label;
    EXPECT_EQ(r.reversed, c.reversed) << c.label;
  }
}

std::vector<TaggedEntry> Entries(std::initializer_list<std::pair<TextView, TextView>> list) {
  std::vector<TaggedEntry> entries;
  for (const auto& [tag, value] : list) entries.push_back({Text(tag), Text(value)});
  return entries;
}

Text Describe(const std::vector<GroupPattern>& patterns) {
  Text out;
  for (const GroupPattern& p : patterns) out += p.label + u":" + p.group + u";";
  return out;
}

struct GroupCase {
  const char* label;
  std::vector<TaggedEntry> entries;
  TextView sanHe;
  TextView sanHui;
};

TEST(FindGroups, ListEachGroupOncePerLabelInOrderOfDiscovery) {
  const GroupCase cases[] = {
      {"natal group in scrambled order",
       Entries({{u"年", u"辰"}, {u"月", u"子"}, {u"日", u"申"}, {u"时", u"午"}}), u"命命命:申子辰;",
       u""},
      {"group formed with and without the luck branch: luck entry comes first",
       Entries({{u"运", u"辰"}, {u"年", u"申"}, {u"月", u"子"}, {u"日", u"辰"}}),
       u"运命命:申子辰;命命命:申子辰;", u""},
      {"annual and luck together",
       Entries({{u"运", u"子"}, {u"命", u"申"}, {u"命", u"卯"}, {u"岁", u"辰"}}), u"岁运命:申子辰;",
       u""},
      {"annual with natal only",
       Entries({{u"运", u"午"}, {u"命", u"寅"}, {u"命", u"卯"}, {u"岁", u"辰"}}), u"",
       u"岁命命:寅卯辰;"},
      {"two groups at once",
       Entries({{u"年", u"亥"}, {u"月", u"卯"}, {u"日", u"未"}, {u"时", u"子"}, {u"运", u"丑"}}),
       u"命命命:亥卯未;", u"运命命:亥子丑;"},
      {"a repeated branch does not stand in for a missing one",
       Entries({{u"年", u"申"}, {u"月", u"申"}, {u"日", u"子"}, {u"时", u"子"}}), u"", u""},
      {"values that are not single branches are matched as joined text",
       Entries({{u"年", u"申子"}, {u"月", u"辰"}, {u"日", u""}, {u"时", u"午"}}), u"命命命:申子辰;",
       u""},
      {"no entries", {}, u"", u""},
  };
  for (const GroupCase& c : cases) {
    EXPECT_EQ(ToUtf8(Describe(FindSanHe(c.entries))), ToUtf8(c.sanHe)) << c.label;
    EXPECT_EQ(ToUtf8(Describe(FindSanHui(c.entries))), ToUtf8(c.sanHui)) << c.label;
  }
}

TEST(PairInGroup, NeedsBothBranchesInOneGroup) {
  const std::vector<GroupPattern> patterns = {{u"命命命", u"申子辰"}, {u"运命命", u"寅卯辰"}};
  EXPECT_TRUE(PairInGroup(patterns, u"申", u"辰"));
  EXPECT_TRUE(PairInGroup(patterns, u"卯", u"寅"));
  EXPECT_FALSE(PairInGroup(patterns, u"子", u"卯")) << "each branch in a different group";
  EXPECT_FALSE(PairInGroup(patterns, u"子", u"午"));
  EXPECT_FALSE(PairInGroup({}, u"子", u"辰"));
}

TEST(AddTally, KeepsTheFirstTallyOfTheSameTwoSides) {
  std::vector<RelationTally> tallies;
  AddTally(tallies, {u"子", 0, u"午", 0, u"冲", u""});
  AddTally(tallies, {u"子", 0, u"午", 0, u"other", u""});
  AddTally(tallies, {u"午", 0, u"子", 0, u"冲", u""});
  ASSERT_EQ(tallies.size(), 2u);
  EXPECT_EQ(tallies[0].word, u"冲");
  EXPECT_EQ(tallies[1].side1, u"午");
}

struct SummaryCase {
  const char* label;
  std::vector<RelationTally> tallies;
  std::vector<Text> values;
  TextView summary;
};

RelationTally Tally(TextView side1, TextView word, TextView side2) {
  return {Text(side1), 0, Text(side2), 0, Text(word), u""};
}

TEST(MultiplicitySummary, CountsRepeatedSidesAndJoinsItems) {
  const SummaryCase cases[] = {
      {"worked example: only repeated sides are summarised",
       {Tally(u"子", u"冲", u"午"), Tally(u"子", u"合", u"丑"), Tally(u"丑", u"害", u"午")},
       {u"子", u"午", u"子", u"丑"},
       u"两子冲一午、两子合一丑"},
      {"one of each gives nothing", {Tally(u"子", u"冲", u"午")}, {u"子", u"午"}, u""},
      {"a missing side gives nothing", {Tally(u"子", u"冲", u"午")}, {u"子", u"子", u"子"}, u""},
      {"half combination words are left out",
       {Tally(u"子", u"墓半合", u"辰")},
       {u"子", u"子", u"辰"},
       u""},
      {"three alike punish themselves",
       {Tally(u"辰", u"自刑", u"辰")},
       {u"辰", u"辰", u"辰"},
       u"三辰自刑"},
      {"two alike do not", {Tally(u"辰", u"自刑", u"辰")}, {u"辰", u"午", u"辰"}, u""},
      {"stems use the same form",
       {Tally(u"庚", u"克", u"甲"), Tally(u"己", u"合", u"甲")},
       {u"庚", u"甲", u"甲", u"己"},
       u"一庚克两甲、一己合两甲"},
      {"three against one",
       {Tally(u"子", u"冲", u"午")},
       {u"子", u"子", u"午", u"子"},
       u"三子冲一午"},
  };
  for (SummaryCase c : cases) {
    EXPECT_EQ(ToUtf8(MultiplicitySummary(c.tallies, c.values)), ToUtf8(c.summary)) << c.label;
  }
}

TEST(MultiplicitySummary, FillsTheCountsOfEveryTally) {
  std::vector<RelationTally> tallies = {Tally(u"子", u"冲", u"午"), Tally(u"辰", u"自刑", u"辰")};
  MultiplicitySummary(tallies, {u"子", u"辰", u"子", u"辰"});
  EXPECT_EQ(tallies[0].count1, 2);
  EXPECT_EQ(tallies[0].count2, 0);
  EXPECT_EQ(tallies[1].count1, 2) << "a tally with equal sides counts both";
  EXPECT_EQ(tallies[1].count2, 2);
}

struct NatalCase {
  const char* label;
  TextView branches;  // year, month, day, hour
  TextView hcxh;
};

TEST(NatalBranchRelations, PairsThenGroupsThenSpaceAndCountedSummary) {
  const NatalCase cases[] = {
      {"worked example: repeats listed twice, reversed pair named in table order", u"子午子丑",
       u"子午(冲)、子丑(合)、子午(冲)、丑午(害)、子丑(合) 两子冲一午、两子合一丑"},
      {"三合 suppresses its pairs; space without summary", u"申子辰午", u"子午(冲)、申子辰(三合) "},
      {"三会 does not suppress its pairs", u"寅卯辰子",
       u"卯辰(害)、子卯(无礼刑)、子辰(墓半合)、寅卯辰(三会) "},
      {"half combination counted but not summarised", u"子辰子午",
       u"子辰(墓半合)、子午(冲)、子辰(墓半合)、子午(冲) 两子冲一午"},
      {"three alike punish themselves", u"辰辰辰午",
       u"辰辰(自刑)、辰辰(自刑)、辰辰(自刑) 三辰自刑"},
      {"four alike", u"午午午午",
       u"午午(自刑)、午午(自刑)、午午(自刑)、午午(自刑)、午午(自刑)、午午(自刑) 四午自刑"},
      {"two alike give no summary", u"辰午辰丑", u"辰辰(自刑)、丑午(害) "},
      {"a pair outside the group is still listed", u"亥卯未午", u"午未(合)、亥卯未(三合) "},
      {"directional group after the pairs", u"巳午未酉", u"巳酉(生半合)、午未(合)、巳午未(三会) "},
      {"no relation writes nothing, not even the space", u"子子酉寅", u""},
  };
  for (const NatalCase& c : cases) {
    ChartEngine engine;
    engine.yearPillar = Text(u"甲") + c.branches[0];
    engine.monthPillar = Text(u"甲") + c.branches[1];
    engine.dayPillar = Text(u"甲") + c.branches[2];
    engine.hourPillar = Text(u"甲") + c.branches[3];
    EXPECT_EQ(ToUtf8(engine.NatalBranchRelations()), ToUtf8(c.hcxh)) << c.label;
  }
}

}  // namespace
}  // namespace xuanshu
