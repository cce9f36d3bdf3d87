#include "calendar/ganzhi.h"

#include <gtest/gtest.h>

#include <string>

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

TEST(GanZhi, NamesRawCountsWithoutReduction) {
  struct Case {
    long long count;
    TextView pillar;
    const char* why;
  };
  const Case cases[] = {
      {0, u"甲子", "first of the cycle"},
      {59, u"癸亥", "last of the cycle"},
      {60, u"甲子", "the cycle starts again"},
      {40, u"甲辰", "1900-01-31"},
      {120, u"甲子", "year count of 1984"},
      {14, u"戊寅", "month count after 立春 1900"},
      {13, u"丁丑", "month count before 立春 1900"},
      {-1, u"癸亥", "a negative count still names a pillar"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(GanZhiName(c.count)), U8(c.pillar)) << c.why << ": count " << c.count;
  }
}

TEST(GanZhi, IndexLookupsFallBackToZero) {
  EXPECT_EQ(StemIndex(u"癸"), 9);
  EXPECT_EQ(BranchIndex(u"亥"), 11);
  EXPECT_EQ(StemIndex(u"子"), 0) << "a branch is no stem and counts as 甲";
  EXPECT_EQ(BranchIndex(u"甲"), 0);
  EXPECT_EQ(StemIndex(u""), 0);
  EXPECT_EQ(StemIndex(u"甲乙"), 0) << "only one-character texts are stems";
}

TEST(GanZhi, YangStemsAreSubstringsOfTheYangLiteral) {
  EXPECT_TRUE(IsYangStem(u"")) << "the empty text is a substring";
  EXPECT_TRUE(IsYangStem(u"壬"));
  EXPECT_FALSE(IsYangStem(u"乙"));
  EXPECT_FALSE(IsYangStem(u"癸"));
}

TEST(GanZhi, TenGodsFollowTheElementRule) {
  struct Case {
    TextView reference, other, god;
  };
  const Case cases[] = {
      {u"丙", u"甲", u"偏印"}, {u"癸", u"戊", u"正官"}, {u"甲", u"甲", u"比肩"},
      {u"甲", u"乙", u"劫财"}, {u"庚", u"癸", u"伤官"}, {u"己", u"壬", u"正财"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(TenGodOf(c.reference, c.other)), U8(c.god)) << U8(c.reference) << U8(c.other);
  }
}

TEST(GanZhi, CountingWordForTwoIsLiang) {
  EXPECT_EQ(U8(NumeralWord(1)), U8(u"一"));
  EXPECT_EQ(U8(NumeralWord(2)), U8(u"两"));
  EXPECT_EQ(U8(NumeralWord(9)), U8(u"九"));
}

TEST(GanZhi, StemRelationTestsControlBeforeCombination) {
  struct Case {
    TextView a, b;
    int code;
    TextView text;
    const char* why;
  };
  const Case cases[] = {
      {u"甲", u"庚", 1, u"庚克甲", "庚 controls 甲"},
      {u"庚", u"甲", 2, u"庚克甲", "first stem controls the second"},
      {u"丁", u"壬", 3, u"丁壬合", "combination in table order"},
      {u"壬", u"丁", 4, u"丁壬合", "reversed combination keeps the table order"},
      {u"乙", u"庚", 3, u"乙庚合", "庚 is not listed as a controller of 乙"},
      {u"庚", u"乙", 4, u"乙庚合", "reversed"},
      {u"甲", u"甲", 0, u"unchanged", "a stem with itself"},
      {u"甲", u"丙", 0, u"unchanged", "generation is no relation"},
  };
  for (const Case& c : cases) {
    Text out = u"unchanged";
    EXPECT_EQ(StemRelation(c.a, c.b, out), c.code) << c.why;
    EXPECT_EQ(U8(out), U8(c.text)) << c.why;
  }
}

// Every pair, and characters that are no stem, against the rules said
// another way: elements in the order wood, fire, earth, metal, water, each
// controlled by the third after it; a yang stem does not control the yin
// stem it combines with, the stem five places on.
TEST(GanZhi, StemRelationOfEveryPairFollowsTheElementRules) {
  const auto element = [](int stem) { return stem / 2; };
  const auto yang = [](int stem) { return stem % 2 == 0; };
  const auto combine = [](int x, int y) { return (x < 5 && y == x + 5) || (y < 5 && x == y + 5); };
  const auto controls = [&](int x, int y) {
    return element(x) == (element(y) + 3) % 5 && !(combine(x, y) && yang(x) && !yang(y));
  };
  for (int a = 0; a < 10; ++a) {
    for (int b = 0; b < 10; ++b) {
      const int expected = controls(b, a)   ? 1
                           : controls(a, b) ? 2
                           : combine(a, b)  ? (a < b ? 3 : 4)
                                            : 0;
      EXPECT_EQ(StemRelation(kStems[a], kStems[b]), expected) << a << " " << b;
    }
    EXPECT_EQ(StemRelation(kStems[a], u'子'), 0) << a;
    EXPECT_EQ(StemRelation(static_cast<char16_t>(kStems[a] + 0x100), kStems[a]), 0) << a;
  }
}

TEST(GanZhi, BranchClashWorksInEitherOrder) {
  EXPECT_TRUE(BranchesClash(u"子", u"午"));
  EXPECT_TRUE(BranchesClash(u"亥", u"巳"));
  EXPECT_FALSE(BranchesClash(u"子", u"丑"));
  EXPECT_FALSE(BranchesClash(u"子", u"子"));
  for (int a = 0; a < 12; ++a) {
    for (int b = 0; b < 12; ++b) {
      EXPECT_EQ(BranchesClash(TextView(&kBranches[a], 1), TextView(&kBranches[b], 1)),
                (a + 6) % 12 == b)
          << a << " " << b;
    }
  }
  EXPECT_FALSE(BranchesClash(u"子午", u"午"));
  EXPECT_FALSE(BranchesClash(u"甲", u"午"));
}

TEST(GanZhi, StrikeAndClashNeedsStemControlAndBranchClash) {
  struct Case {
    TextView a, b;
    int code;
    const char* why;
  };
  const Case cases[] = {
      {u"甲子", u"庚午", 1, "B's stem controls A's"},
      {u"庚午", u"甲子", 2, "A's stem controls B's"},
      {u"甲子", u"庚申", 0, "branches do not clash"},
      {u"甲子", u"己午", 0, "combining stems do not count"},
      {u"甲子", u"丙午", 0, "unrelated stems do not count"},
      {u"", u"庚午", 0, "empty pillar"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrikeAndClash(c.a, c.b), c.code) << c.why;
  }
}

}  // namespace
}  // namespace xuanshu
