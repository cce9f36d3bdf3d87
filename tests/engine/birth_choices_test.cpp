// Charts computed with birth-moment choices: the choices read from what the
// user typed, what they change in a whole chart, the warnings, and the
// record section that keeps them. Expected pillars were checked against
// lunar-javascript, term moments against `xuanshu-cli terms`, true solar
// times worked out by hand (four minutes a degree, the equation of time of
// the almanac).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/birth_record.h"
#include "engine/birth_warnings.h"
#include "engine/chart_engine.h"
#include "record/history_store.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

BirthChoices Choose(const BirthChoiceTexts& texts) {
  auto resolved = ResolveBirthChoices(texts);
  EXPECT_TRUE(std::holds_alternative<BirthChoices>(resolved))
      << U8(std::get<Text>(resolved)) << " for place " << U8(texts.place);
  return std::holds_alternative<BirthChoices>(resolved) ? std::get<BirthChoices>(resolved)
                                                        : BirthChoices{};
}

TEST(BirthChoices, ReadWhatTheUserTypedOrNameTheBadText) {
  struct Case {
    BirthChoiceTexts texts;
    const char16_t* message;  // empty: accepted
  };
  const Case cases[] = {
      {{}, u""},
      {{u"astronomical", u"same-day", u"乌鲁木齐", u"", u"", u"off"}, u""},
      {{u"", u"", u"87°37′"}, u""},
      {{u"", u"", u"", u"-74.006", u"-05:00"}, u""},
      {{u"lunar"}, u"节气方式只能是formula（公式）或astronomical（天文）"},
      {{u"", u"midnight"}, u"子时规则只能是next-day（子初换日）或same-day（子正换日）"},
      {{u"", u"", u"火星"}, u"未知的出生地：火星（请从出生地列表中选择，或填写经度，如116.4）"},
      {{u"", u"", u"-181"}, u"经度应在-180至180之间"},
      {{u"", u"", u"", u"东经"}, u"经度应写作116.4或116°24′这样的形式"},
      {{u"", u"", u"", u"", u"+8"}, u"时区应写作±HH:MM，如+08:00"},
      {{u"", u"", u"", u"", u"+15:00"}, u"时区应写作±HH:MM，如+08:00"},
      {{u"", u"", u"", u"", u"", u"yes"}, u"夏令时只能是auto（自动）或off（不计）"},
  };
  for (const Case& c : cases) {
    auto resolved = ResolveBirthChoices(c.texts);
    if (*c.message == u'\0') {
      EXPECT_TRUE(std::holds_alternative<BirthChoices>(resolved)) << U8(std::get<Text>(resolved));
    } else {
      ASSERT_TRUE(std::holds_alternative<Text>(resolved)) << U8(c.message);
      EXPECT_EQ(U8(std::get<Text>(resolved)), U8(c.message));
    }
  }
  const BirthChoices urumqi = Choose({u"astronomical", u"same-day", u"乌鲁木齐（新疆）"});
  EXPECT_EQ(urumqi.terms, &AstronomicalTermSource());
  EXPECT_EQ(urumqi.ziSchool, &kSameDayZiSchool);
  EXPECT_EQ(U8(urumqi.place.label), U8(u"乌鲁木齐（新疆）"));
  EXPECT_EQ(urumqi.place.zone, "Asia/Shanghai") << "Xinjiang keeps Beijing time";
  EXPECT_NEAR(*urumqi.place.longitude, 87.6, 0.05);
  const BirthChoices typed = Choose({u"", u"", u"北京", u"116°", u"+09:00"});
  EXPECT_EQ(*typed.place.longitude, 116.0) << "a typed longitude wins over the place's";
  EXPECT_EQ(typed.place.zone, "") << "a typed offset wins over the place's zone";
  EXPECT_EQ(typed.place.fixedOffsetSeconds, 9 * 3600);
  EXPECT_EQ(Choose({u"", u"", u"87.6"}).place.zone, "Asia/Shanghai")
      << "a bare longitude: the clock kept Beijing time";
  EXPECT_TRUE(Choose({u"formula", u"next-day", u"", u"", u"+08:00", u"auto"}).IsDefault())
      << "choosing what the defaults are changes nothing";
}

struct Computed {
  ChartEngine engine;
  ChartRecord record;
};

Computed Compute(int year, int month, int day, int hour, int minute, bool male,
                 const BirthChoiceTexts& texts) {
  ChartRequest request;
  request.name = u"命例";
  request.group = u"其他";
  request.male = male;
  request.year = year;
  request.month = month;
  request.day = day;
  request.hour = hour;
  request.minute = minute;
  request.choices = Choose(texts);
  Computed c;
  EXPECT_TRUE(ComputeChartRecord(c.engine, request, c.record));
  return c;
}

std::string Get(const ChartRecord& r, TextView section, TextView key) {
  const auto* v = r.Find(section, key);
  return v == nullptr ? "<missing>" : U8(*v);
}

TEST(BirthChoices, UrumqiInTheSummerOf1988) {
  // 12:00 on the clock was 11:00 Beijing standard time (daylight saving),
  // 03:00 UTC; Urumqi lies 32.4° west of the zone's meridian (−2 h 10 min)
  // and the equation of time was −5 min 54 s: true solar time 08:44.
  const Computed c = Compute(1988, 7, 15, 12, 0, true, {u"astronomical", u"", u"乌鲁木齐"});
  const ChartRecord& r = c.record;
  EXPECT_EQ(Get(r, u"gongli", u"hour"), "12") << "the clock as entered";
  EXPECT_EQ(Get(r, u"nongli", u"hour"), "8") << "the lunar time is the true solar time";
  EXPECT_EQ(Get(r, u"nongli", u"minute"), "44");
  EXPECT_EQ(Get(r, u"shizhu", u"year") + Get(r, u"shizhu", u"month") + Get(r, u"shizhu", u"day") +
                Get(r, u"shizhu", u"hour"),
            U8(u"戊辰己未辛未壬辰"))
      << "辰 hour by true solar time; the clock would give 午";
  EXPECT_EQ(Get(r, u"jieqi", u"before"), U8(u"小暑 1988:07:07:05:32"));
  EXPECT_EQ(Get(r, u"jieqi", u"after"), U8(u"立秋 1988:08:07:15:20"));
  // Forward luck: 11:00 to 立秋 15:20:15 Beijing time is 33,380 minutes.
  EXPECT_EQ(c.engine.minutesAfter, 33380);
  const std::vector<std::string> luck = {
      Get(r, u"dayun", u"yearAfter"), Get(r, u"dayun", u"monthAfter"),
      Get(r, u"dayun", u"dayAfter"),  Get(r, u"dayun", u"hourAfter"),
      Get(r, u"dayun", u"yearBegin"), Get(r, u"dayun", u"monthBegin"),
      Get(r, u"dayun", u"dayBegin"),  Get(r, u"dayun", u"hourBegin")};
  EXPECT_EQ(luck, (std::vector<std::string>{"7", "8", "21", "16", "1996", "4", "6", "4"}));
  EXPECT_EQ(Get(r, u"chusheng", u"jieqi"), "astronomical");
  EXPECT_EQ(Get(r, u"chusheng", u"zishi"), "next-day");
  EXPECT_EQ(Get(r, u"chusheng", u"didian"), U8(u"乌鲁木齐（新疆）"));
  EXPECT_EQ(Get(r, u"chusheng", u"shiqu"), "Asia/Shanghai");
  EXPECT_EQ(Get(r, u"chusheng", u"xialingshi"), "auto");
  EXPECT_EQ(Get(r, u"chusheng", u"zhentaiyang"), "1988:07:15:08:44");
  EXPECT_EQ(Get(r, u"chusheng", u"count"), "1");
  EXPECT_EQ(Get(r, u"chusheng", u"tishi1"),
            U8(u"出生时当地实行夏令时，已减去1小时，按标准时间1988年07月15日11时00分计算"));
  EXPECT_EQ(r.sections().back().name(), u"chusheng") << "after every other section";
  EXPECT_EQ(U8(RecordedBirthPlace(r)), U8(u"乌鲁木齐（新疆）"));
  EXPECT_EQ(RecordedBirthWarnings(r), c.engine.warnings);
}

TEST(BirthChoices, KashgarWithDaylightSavingLeftOnTheClock) {
  // --dst off: the clock counts as standard time, 12:00 Beijing time; Kashgar
  // lies 44.0° west of the meridian (−2 h 56 min), the equation of time
  // −5 min 54 s: 08:58, two minutes before the 巳 hour.
  const Computed c = Compute(1988, 7, 15, 12, 0, false, {u"", u"", u"喀什", u"", u"", u"off"});
  const Computed plain = Compute(1988, 7, 15, 12, 0, false, {});
  EXPECT_EQ(Get(c.record, u"chusheng", u"zhentaiyang"), "1988:07:15:08:58");
  EXPECT_EQ(Get(c.record, u"chusheng", u"xialingshi"), "off");
  EXPECT_EQ(Get(c.record, u"shizhu", u"hour"), U8(u"壬辰"));
  EXPECT_EQ(Get(c.record, u"jieqi", u"before"), Get(plain.record, u"jieqi", u"before"))
      << "the formula's moments, as without a place";
  EXPECT_EQ(
      Get(c.record, u"chusheng", u"tishi1"),
      U8(u"出生（真太阳时）在辰时与巳时交界（9时）前2分钟：交界前时柱壬辰，交界后时柱癸巳；本盘取交界前"));
}

TEST(BirthChoices, DefaultsWriteNoSectionAndKeepTheRecord) {
  const Computed plain = Compute(1990, 5, 17, 8, 30, true, {});
  const Computed same = Compute(1990, 5, 17, 8, 30, true, {u"formula", u"next-day"});
  EXPECT_FALSE(plain.record.HasSection(u"chusheng"));
  EXPECT_EQ(U8(plain.record.Serialize()), U8(same.record.Serialize()));
  EXPECT_EQ(U8(RecordedBirthPlace(plain.record)), "");
}

std::vector<std::string> WarningsOf(const Computed& c) {
  std::vector<std::string> lines;
  for (const Text& w : c.engine.warnings) lines.push_back(U8(w));
  return lines;
}

TEST(BirthWarnings, NameBothSidesOfEveryBoundaryTheBirthIsNear) {
  struct Case {
    CivilTime clock;
    BirthChoiceTexts texts;
    std::vector<const char16_t*> warnings;
    const char* why;
  };
  const Case cases[] = {
      {{1990, 5, 17, 8, 30}, {}, {}, "an ordinary birth"},
      {{2024, 3, 5, 10, 19},
       {},
       {u"按天文节气，月柱应为丙寅（本盘按公式节气为丁卯）"},
       "the formula put 惊蛰 at 09:09, the sun reached it at 10:22"},
      {{2024, 3, 5, 10, 19},
       {u"astronomical"},
       {u"出生在惊蛰（北京时间2024年03月05日10时22分）前3分钟：节前月柱丙寅，节后月柱丁卯；本盘取节"
        u"前"},
       "3 minutes before a 节 by the table"},
      {{1984, 2, 4, 23, 25},
       {u"astronomical"},
       {u"出生在立春（北京时间1984年02月04日23时18分）后6分钟：节前月柱乙丑、年柱癸亥，节后月柱丙寅"
        u"、"
        u"年柱甲子；本盘取节后",
        u"23时出生（晚子时）：本盘按子初换日，日柱己巳；若按子正换日，日柱为戊辰；时柱均为甲子"},
       "立春 names both year pillars"},
      {{1990, 5, 17, 8, 58},
       {},
       {u"出生在辰时与巳时交界（9时）前2分钟：交界前时柱甲辰，交界后时柱乙巳；本盘取交界前"},
       "2 minutes before the 巳 hour"},
      {{2000, 1, 1, 22, 57},
       {},
       {u"出生在亥时与子时交界（23时）前3分钟：交界前日柱戊午、时柱癸亥，交界后日柱己未、时柱甲子；本盘取交界"
        u"前"},
       "the 23:00 boundary also changes the day in the next-day school"},
      {{2000, 1, 1, 23, 30},
       {u"", u"same-day"},
       {u"23时出生（晚子时）：本盘按子正换日，日柱戊午；若按子初换日，日柱为己未；时柱均为甲子"},
       "the same-day school keeps the date's day pillar"},
      {{1988, 4, 17, 2, 30},
       {u"", u"", u"北京"},
       {u"1988年04月17日02时30分正值夏令时开始、时钟拨快的时段，当地并无这一时刻；已按拨快前的标准"
        u"时间计算"},
       "Beijing's spring gap: clocks went from 02:00 to 03:00"},
      {{1988, 9, 11, 1, 30},
       {u"", u"", u"北京"},
       {u"1988年09月11日01时30分在夏令时结束、时钟拨回时出现两次；已按第一次（夏令时）计算，若为第"
        u"二次，"
        u"出生时刻晚1小时"},
       "Beijing's autumn overlap: 01:00-01:59 came twice"},
  };
  for (const Case& c : cases) {
    const Computed computed = Compute(c.clock.year, c.clock.month, c.clock.day, c.clock.hour,
                                      c.clock.minute, true, c.texts);
    std::vector<std::string> expected;
    for (const char16_t* w : c.warnings) expected.push_back(U8(w));
    EXPECT_EQ(WarningsOf(computed), expected) << c.why;
  }
}

TEST(BirthWarnings, SpringGapAndAutumnOverlapPlaceTheBirthInTime) {
  // The skipped 02:30 is read as standard time, 18:30 UTC the day before.
  const Computed gap = Compute(1988, 4, 17, 2, 30, true, {u"", u"", u"北京"});
  EXPECT_EQ(gap.engine.birth.utcSeconds, SecondsOf({1988, 4, 16, 18, 30, 0}));
  EXPECT_EQ(Get(gap.record, u"chusheng", u"zhentaiyang"), "1988:04:17:02:15");
  // The repeated 01:30 is read as its first, daylight-saving occurrence.
  const Computed overlap = Compute(1988, 9, 11, 1, 30, true, {u"", u"", u"北京"});
  EXPECT_EQ(overlap.engine.birth.utcSeconds, SecondsOf({1988, 9, 10, 16, 30, 0}));
  EXPECT_EQ(overlap.engine.birth.otherUtcSeconds, SecondsOf({1988, 9, 10, 17, 30, 0}));
  EXPECT_EQ(Get(overlap.record, u"nongli", u"hour"), "0") << "00:18 true solar time";
}

TEST(BirthWarnings, DefaultChartsGetTheirWarningsFromTheClock) {
  const Computed c = Compute(2000, 1, 1, 23, 30, true, {});
  EXPECT_FALSE(c.record.HasSection(u"chusheng"));
  ASSERT_EQ(c.engine.warnings.size(), 1u);
  EXPECT_EQ(RecordedBirthWarnings(c.record), c.engine.warnings);
  ChartRecord edited = c.record;
  edited.Set(u"gongli", u"month", u"13");
  EXPECT_TRUE(RecordedBirthWarnings(edited).empty()) << "a record edited by hand";
}

}  // namespace
}  // namespace xuanshu
