#include <gtest/gtest.h>

#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

Text UsefulGodsOf(TextView dayPillar) {
  ChartEngine engine;
  engine.dayPillar = dayPillar;
  return engine.UsefulGodText();
}

TEST(UsefulGodText, StemsOfTheDayStemJoinedWithoutLeadingOrTrailingSeparator) {
  const std::pair<TextView, TextView> cases[] = {
      {u"甲子", u"庚、丁、癸、戊"}, {u"辛卯", u"壬、甲"},         {u"丙寅", u"壬、庚、甲"},
      {u"丁卯", u"壬、庚、甲"},     {u"戊辰", u"癸、庚、甲、丙"}, {u"己巳", u"癸、庚、甲、丙"},
      {u"癸亥", u"甲、丙、庚"},     {u"", u"庚、丁、癸、戊"},  // no day stem reads as 甲
  };
  for (const auto& [day, expected] : cases) {
    EXPECT_EQ(ToUtf8(UsefulGodsOf(day)), ToUtf8(expected)) << "day pillar " << ToUtf8(day);
  }
}

}  // namespace
}  // namespace xuanshu
