// Behaviour of the report layouts on edited copies of a complete record.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "calendar/cycle_names.h"
#include "engine/chart_extras.h"
#include "report_test_support.h"
#include "test_support.h"

namespace xuanshu::testing {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}
// n ideographic spaces.
Text Sp(std::size_t n) {
  return Text(n, u'\u3000');
}

TEST(LayoutDispatchTest, ZeroSimpleTwoHongKongEverythingElseStandard) {
  const IniDocument record = LoadSample("zhangsan");
  const Text standard = Render(record, kStandardLayout).text;
  for (int layout : {7, -1, 3, 100}) {
    EXPECT_EQ(U8(Render(record, layout).text), U8(standard)) << "layout " << layout;
  }
  EXPECT_TRUE(Render(record, 2).Has(Sp(6) + u"时" + Sp(8) + u"日")) << "Hong Kong/Taiwan header";
  EXPECT_FALSE(Render(record, 0).Has(u"流年合冲刑害")) << "simple layout";
  EXPECT_TRUE(Render(record, 1).Has(u"流年合冲刑害"));
}

TEST(ReportStopsTest, EmptyRecordPrintsTheBirthLinesAndStopsAtTheSolarTerms) {
  const Text expected = Text(u"姓名：") + Sp(1) + u"性别：" + Sp(1) +
                        u"\r\n出生公历：0000年00月00日00时00分\t出生农历：零零零零年月子时\r\n\r\n";
  for (int layout : {0, 1, 2}) {
    IniDocument empty;
    const Rendered out = Render(empty, layout);
    EXPECT_EQ(U8(out.text), U8(expected)) << "layout " << layout;
    EXPECT_TRUE(empty.empty()) << "nothing written into an empty record";
  }
}

TEST(ReportStopsTest, TermValueWithoutASpaceEndsTheReport) {
  struct Case {
    const char* rule;
    TextView before, after;
    Text expectedEnd;
  };
  const Case cases[] = {
      {"bad before: stops after the lunar birth line", u"立夏", u"芒种 1990:06:06:07:45",
       u"出生农历：一九九零年四月二十三未时\r\n\r\n"},
      {"bad after: stops after the first term and its spacing", u"立夏 1990:05:06:03:02", u"",
       u"立夏：1990年05月06日03时02分" + Sp(3)},
  };
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"jieqi", u"before", c.before);
    record.Set(u"jieqi", u"after", c.after);
    const Text text = Render(record, kStandardLayout).text;
    EXPECT_TRUE(text.ends_with(c.expectedEnd)) << c.rule << "\n" << U8(text);
  }
}

TEST(ReportSexTest, OnlyFemaleGivesKunZaoAndTheWomansTable) {
  struct Case {
    TextView sex;
    bool female;
  };
  const Case cases[] = {{u"女", true}, {u"男", false}, {u"", false}, {u"女 ", false}};
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"main", u"sex", c.sex);
    for (int layout : {1, 2}) {
      const Rendered out = Render(record, layout);
      const std::string why = "sex \"" + U8(c.sex) + "\" layout " + std::to_string(layout);
      EXPECT_EQ(out.Has(u"\r\n坤造：" + Sp(3)), c.female) << why;
      EXPECT_EQ(out.Has(u"\r\n乾造：" + Sp(3)), !c.female) << why;
      EXPECT_EQ(out.Has(u"女命：" + Sp(2) + u"丈夫"), c.female) << why;
      EXPECT_EQ(out.Has(u"男命：" + Sp(2) + u"女儿"), !c.female) << why;
      EXPECT_TRUE(out.Has(u"社会关系：上司")) << why;
    }
    EXPECT_FALSE(Render(record, 0).Has(u"社会关系")) << "no kinship tables in the simple layout";
  }
}

TEST(ReportPaddingTest, DatesAndLuckStartArePaddedWithZeros) {
  IniDocument record = LoadSample("zhangsan");
  record.Set(u"gongli", u"month", u"5");
  record.Set(u"gongli", u"day", u"7");
  record.Set(u"gongli", u"hour", u"9");
  record.Set(u"gongli", u"minute", u"");
  record.Set(u"dayun", u"yearBegin", u"2010");
  record.Set(u"dayun", u"monthBegin", u"2");
  record.Set(u"dayun", u"dayBegin", u"4");
  record.Set(u"dayun", u"hourBegin", u"9");
  record.Set(u"jieqi", u"after", u"芒种 1990:6");
  const Rendered out = Render(record, kStandardLayout);
  EXPECT_TRUE(out.Has(u"出生公历：1990年05月07日09时00分\t")) << U8(out.text);
  EXPECT_TRUE(out.Has(u"命主于公历2010年02月04日09时交运"));
  EXPECT_TRUE(out.Has(u"芒种：1990年06月00日00时00分\r\n\r\n")) << "short moment";
}

TEST(ReportBirthChoicesTest, ChoicesShowUnderTheLunarDateInEveryLayout) {
  IniDocument record = LoadSample("lisi");  // hour 23
  record.Set(u"chusheng", u"jieqi", u"astronomical");
  record.Set(u"chusheng", u"zishi", u"same-day");
  record.Set(u"chusheng", u"didian", u"喀什（新疆）");
  record.Set(u"chusheng", u"jingdu", u"75.9868");
  record.Set(u"chusheng", u"shiqu", u"Asia/Shanghai");
  record.Set(u"chusheng", u"zhentaiyang", u"1984:12:13:20:05");
  record.Set(u"chusheng", u"count", u"2");
  record.Set(u"chusheng", u"tishi1", u"第一条");
  record.Set(u"chusheng", u"tishi2", u"第二条");
  const Text block =
      u"\r\n出生地：喀什（新疆）　东经75°59′\r\n"
      u"真太阳时：1984年12月13日20时05分\r\n"
      u"节气：天文节气　　子时：子正换日（夜子时：23时至24时仍为当日）\r\n"
      u"提示：第一条\r\n提示：第二条\r\n\r\n";
  for (int layout : {0, 1, 2}) {
    const Rendered out = Render(record, layout);
    const std::size_t lunar = out.text.find(u"出生农历：");
    ASSERT_NE(lunar, Text::npos);
    EXPECT_EQ(U8(out.text.substr(out.text.find(u"时", lunar + 12) + 1, block.size())), U8(block))
        << "layout " << layout;
    EXPECT_FALSE(out.Has(u"［子时：一日之始"))
        << "the same-day school does not start the day at 23";
    EXPECT_EQ(out.ColorOf(u"第一条"), ReportColor::kRed);
  }
  record.Set(u"chusheng", u"didian", u"");
  record.Set(u"chusheng", u"jingdu", u"");
  record.Set(u"chusheng", u"shiqu", u"-05:00");
  record.Set(u"chusheng", u"zhentaiyang", u"");
  record.Set(u"chusheng", u"zishi", u"next-day");
  const Rendered offsetOnly = Render(record, kStandardLayout);
  EXPECT_TRUE(offsetOnly.Has(u"时区：UTC-05:00\r\n节气：天文节气")) << U8(offsetOnly.text);
  EXPECT_TRUE(offsetOnly.Has(u"［子时：一日之始，23时至1时］"));
  EXPECT_FALSE(offsetOnly.Has(u"真太阳时"));
}

TEST(ReportGrowthStageTest, OneCharacterStageGetsOneMoreSpace) {
  IniDocument record = LoadSample("zhangsan");
  record.Set(u"shizhu", u"wangshuai", u"衰/病/长生/");
  record.Set(u"minbiao", u"wangshuai", u"衰/长生/");
  const Rendered out = Render(record, kStandardLayout);
  EXPECT_EQ(U8(out.Between(u"旺衰：", u"\r\n")),
            U8(u"旺衰：" + Sp(3) + u"衰" + Sp(8) + u"病" + Sp(8) + u"长生" + Sp(7) + Sp(7)))
      << "the missing fourth stage is an empty two-character cell";
  EXPECT_EQ(U8(out.Between(u"\r\n旺衰：" + Sp(5), u"\r\n年龄")),
            U8(u"\r\n旺衰：" + Sp(5) + u"衰" + Sp(3) + u"长生" + Sp(2)));
}

TEST(ReportDecadeHeadTest, MonthBeginOneEndsInDecemberOtherwiseNextYear) {
  struct Case {
    TextView monthBegin;
    TextView first, second;
  };
  const Case cases[] = {
      {u"1", u"===========大运［壬午］1990.1 - 1999.12=",
       u"===========大运［癸未］2000.1 - 2009.12="},
      {u"5", u"===========大运［壬午］1990.5 - 2000.4=",
       u"===========大运［癸未］2000.5 - 2010.4="},
      {u"12", u"===========大运［壬午］1990.12 - 2000.11=", u"大运［癸未］2000.12 - 2010.11="},
  };
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"liunianhcxh", u"yearBegin", u"1990");
    record.Set(u"liunianhcxh", u"yearEnd", u"2009");
    record.Set(u"dayun", u"monthBegin", c.monthBegin);
    const Rendered out = Render(record, kStandardLayout);
    EXPECT_TRUE(out.Has(c.first)) << U8(c.first);
    EXPECT_TRUE(out.Has(c.second)) << U8(c.second);
    EXPECT_FALSE(out.Has(u"大运［甲申］")) << "two decades only";
    EXPECT_EQ(out.ColorOf(c.first), ReportColor::kBlue);
  }
}

// The grid column before luck and the luck rows for zhangsan: born 1990,
// luck from 1996 (age1 7), so the column before luck shows 1990 to 1995.
TEST(ReportGridTest, CountZeroKeepsOnlyLabelsAndTheColumnBeforeLuck) {
  IniDocument record = LoadSample("zhangsan");
  Text grid = u"\r\n始于：" + Sp(1) + u"1990" + Sp(2) + u"\r\n流年：" + Sp(5) + u"\r\n";
  for (int r = 1; r < 4; ++r) grid += Sp(8) + u"\r\n";
  for (TextView cell : {u"90庚午", u"91辛未", u"92壬申", u"93癸酉", u"94甲戌", u"95乙亥"}) {
    grid += Sp(4) + Text(cell) + Sp(1) + u"\r\n";
  }
  grid += u"止于：" + Sp(1) + u"1995" + Sp(2);
  for (TextView count : {u"0", u"-3", u"none"}) {
    record.Set(u"liunian", u"count", count);
    const Rendered out = Render(record, kStandardLayout);
    EXPECT_TRUE(out.Has(u"\r\n年龄：" + Sp(1) + u"1 " + Sp(3) + u"\t(虚岁)")) << U8(count);
    EXPECT_EQ(U8(out.Between(u"\r\n始于：", u"\r\n\r\n大运天干克合")), U8(grid)) << U8(count);
    EXPECT_TRUE(out.Has(u"\r\n大运：" + Sp(5) + u"壬午")) << "minbiao rows keep their items";
  }
}

TEST(ReportGridTest, MoreThanTenYearsBeforeLuckShowsTheLastTenWithTheirOwnPillars) {
  IniDocument record = LoadSample("zhangsan");
  record.Set(u"liunian", u"age1", u"13");  // born 1984, luck in 1996
  const Rendered out = Render(record, kStandardLayout);
  EXPECT_TRUE(out.Has(u"\r\n流年：" + Sp(4) + u"86丙寅" + Sp(1) + u"96丙子"));
  EXPECT_TRUE(out.Has(u"\r\n" + Sp(4) + u"95乙亥" + Sp(1) + u"05乙酉"));
  EXPECT_FALSE(out.Has(u"84甲子")) << "only ten rows";
  EXPECT_TRUE(out.Has(u"\r\n始于：" + Sp(1) + u"1984" + Sp(2) + u"1996"));
  EXPECT_TRUE(out.Has(u"止于：" + Sp(1) + u"1995" + Sp(2) + u"2005"));
}

TEST(ReportGridTest, ConcurrenceRedBeforeClashBlueBeforeBlack) {
  IniDocument record = LoadSample("zhangsan");
  record.Set(u"liunianhcxh", u"2002tkdc", u"[年岁]x");  // 2002 is also a 岁运并临 year
  const Rendered out = Render(record, kStandardLayout);
  const std::size_t grid = out.text.find(u"\r\n流年：");
  EXPECT_EQ(out.ColorOf(u"02壬午", grid), ReportColor::kRed);
  EXPECT_EQ(out.ColorOf(u"96丙子", grid), ReportColor::kBlue);
  EXPECT_EQ(out.ColorOf(u"98戊寅", grid), ReportColor::kBlack);
  EXPECT_EQ(out.ColorOf(u"90庚午", grid), ReportColor::kBlack) << "column before luck";
  EXPECT_TRUE(out.Has(u"岁运并临：" + Sp(1) + u"13岁, （2002年）岁运并临" + Sp(2) + u"80岁"));
  EXPECT_EQ(out.ColorOf(u"13岁, （2002年）岁运并临"), ReportColor::kRed);
}

TEST(ReportColourTest, EachPartInItsColour) {
  const Rendered out = Render(LoadSample("zhangsan"), kStandardLayout);
  struct Case {
    Text text;
    ReportColor color;
  };
  const Case cases[] = {
      {u"姓名：", ReportColor::kBlack},
      {u"张三" + Sp(1), ReportColor::kRed},
      {u"男" + Sp(1) + u"\r\n", ReportColor::kRed},
      {Sp(6) + u"年" + Sp(8) + u"月", ReportColor::kGreen},
      {u"日主" + Sp(7), ReportColor::kBlue},
      {u"庚午" + Sp(7) + u"辛巳", ReportColor::kRed},
      {u"（申酉空）", ReportColor::kBlack},
      {u"天克地冲：" + Sp(1) + u"丙子（1996，2056）", ReportColor::kBlue},
      {u"[年时]丁克庚", ReportColor::kBlack},
      {u"两午合一未", ReportColor::kRed},
      {u"身弱", ReportColor::kRed},
      {u"\r\n起运：" + Sp(1), ReportColor::kRed},
      {Sp(3) + u"交运：" + Sp(1), ReportColor::kRed},
      {u"命主于公历", ReportColor::kBlack},
      {u"\r\n\r\n大运天干克合、地支合冲刑害、天克地冲：", ReportColor::kBlue},
      {u"1996(丙子):庚辛壬癸甲乙丙丁戊己庚辛", ReportColor::kGreen},
      {u"[运岁]丙子壬午天克地冲、[年岁]丙子庚午天克地冲", ReportColor::kRed},
      {u"男命：", ReportColor::kBlue},
      {u"女儿", ReportColor::kBlack},
  };
  for (const Case& c : cases) EXPECT_EQ(out.ColorOf(c.text), c.color) << U8(c.text);
}

TEST(ReportSplitTextTest, SpaceSplitsBlackFromRed) {
  struct Case {
    const char* rule;
    TextView value;
    Text shown;
    std::optional<TextView> redPart;
  };
  const Case cases[] = {
      {"ends with its space: empty red part", u"丁壬合 ", u"丁壬合" + Sp(1), std::nullopt},
      {"no space: all black, no gap", u"丁壬合", u"丁壬合", std::nullopt},
      {"two parts", u"丁壬合 一丁合两壬", u"丁壬合" + Sp(1) + u"一丁合两壬", u"一丁合两壬"},
  };
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"shizhu", u"tiangankehe", c.value);
    const Rendered out = Render(record, kStandardLayout);
    EXPECT_EQ(U8(out.Between(u"天干克合：", u"\r\n")), U8(u"天干克合：" + Sp(1) + c.shown))
        << c.rule;
    EXPECT_EQ(out.ColorOf(u"丁壬合", out.text.find(u"天干克合")), ReportColor::kBlack) << c.rule;
    if (c.redPart) {
      EXPECT_EQ(out.ColorOf(*c.redPart), ReportColor::kRed) << c.rule;
    }
  }
}

TEST(ReportLuckRelationsTest, ClashTextSplitsAtSpaceOrAfterItsTag) {
  struct Case {
    const char* rule;
    TextView stems, branches, clashes;
    Text shown;
    TextView black, red;
  };
  const Case cases[] = {
      {"tag black, clash red", u"", u"", u"[年运]壬午庚午天克地冲", u"[年运]壬午庚午天克地冲",
       u"[年运]", u"壬午庚午天克地冲"},
      {"space: no gap added", u"", u"", u"前 后", u"前后", u"前", u"后"},
      {"neither space nor ]: all black", u"", u"", u"天克地冲", u"天克地冲", u"天克地冲", u""},
      {"after other lines: indented", u"a", u"", u"[年运]x", u"a\r\n" + Sp(3) + u"[年运]x",
       u"[年运]", u"x"},
      {"branches after stems", u"丁壬合 合", u"午午(自刑)", u"",
       u"丁壬合" + Sp(1) + u"合\r\n" + Sp(3) + u"午午(自刑)", u"午午(自刑)", u""},
  };
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"dayuntiangankehe", u"壬午", c.stems);
    record.Set(u"dayunhcxh", u"壬午", c.branches);
    record.Set(u"dayuntkdc", u"壬午", c.clashes);
    const Rendered out = Render(record, kStandardLayout);
    EXPECT_EQ(U8(out.Between(u"\r\n壬午：", u"\r\n癸未：")), U8(u"\r\n壬午：" + c.shown)) << c.rule;
    const std::size_t at = out.text.find(u"\r\n壬午：");
    EXPECT_EQ(out.ColorOf(c.black, at), ReportColor::kBlack) << c.rule;
    if (!c.red.empty()) {
      EXPECT_EQ(out.ColorOf(c.red, at), ReportColor::kRed) << c.rule;
    }
  }
}

TEST(ReportAnnualYearTest, YearValueGivesHeadMonthStemsAndRelationText) {
  const Text indent = Sp(5) + u" ";
  struct Case {
    const char* rule;
    TextView value, tkdc, sybl, big, tgkh, hcxh;
    Text shown;  // from "1996(" up to the decade's next year
  };
  const Case cases[] = {
      {"no space: whole value is the pillar, relation none", u"丙子", u"", u"", u"", u"", u"",
       u"1996(丙子):" + Sp(1) + u"\r\n\r\n"},
      {"one space: month stems, relation none", u"丙子 庚辛", u"", u"", u"", u"", u"h",
       u"1996(丙子):庚辛" + Sp(1) + u"\r\n\r\n"},
      {"two spaces, empty relation still printed", u"丙子 庚辛 ", u"", u"", u"", u"", u"",
       u"1996(丙子):庚辛" + Sp(1) + u"\r\n" + indent + u"\r\n"},
      {"relation keeps its own spaces, then the further relations", u"丙子 庚辛 a b", u"", u"", u"",
       u"", u"h", u"1996(丙子):庚辛" + Sp(1) + u"\r\n" + indent + u"a b" + Sp(1) + u"h\r\n"},
      {"highlights joined, stem line before the relation line", u"丙子 庚辛 r", u"T", u"", u"B",
       u"g", u"", u"1996(丙子):庚辛" + Sp(1) + u"T，B\r\n" + indent + u"g\r\n" + indent + u"r\r\n"},
      {"stem line without relation", u"丙子 庚辛", u"", u"S", u"", u"g", u"",
       u"1996(丙子):庚辛" + Sp(1) + u"S\r\n" + indent + u"g\r\n"},
      {"empty value prints nothing for the year", u"", u"T", u"", u"", u"g", u"", u""},
  };
  for (const Case& c : cases) {
    IniDocument record = LoadSample("zhangsan");
    record.Set(u"liunianhcxh", u"1996", c.value);
    record.Set(u"liunianhcxh", u"1996tkdc", c.tkdc);
    record.Set(u"liunianhcxh", u"1996sybl", c.sybl);
    record.Set(u"liunianhcxh", u"1996big", c.big);
    record.Set(u"liunianhcxh", u"1996tgkh", c.tgkh);
    record.Set(u"liunianhcxh", u"1996hcxh", c.hcxh);
    const Rendered out = Render(record, kStandardLayout);
    const Text head = u"===========大运［壬午］1996.12 - 2006.11";
    const std::size_t from = out.text.find(head);
    ASSERT_NE(from, Text::npos);
    const std::size_t begin = out.text.find(u"\r\n", from) + 2;
    const std::size_t end = out.text.find(u"1997(丁丑)", begin);
    EXPECT_EQ(U8(out.text.substr(begin, end - begin)), U8(c.shown)) << c.rule;
  }
}

TEST(HongKongLayoutTest, PillarTableRunsHourDayMonthYearStemsAboveBranches) {
  IniDocument record = LoadSample("zhangsan");
  const TextView pillars[] = {u"甲子", u"丙寅", u"戊辰", u"庚申"};
  const TextView keys[] = {u"year", u"month", u"day", u"hour"};
  const TextView cg[] = {u"yearcg", u"monthcg", u"daycg", u"hourcg"};
  const TextView marks[] = {u"Y", u"M", u"D", u"H"};
  for (int i = 0; i < 4; ++i) {
    record.Set(u"shizhu", keys[i], pillars[i]);
    record.Set(u"ShiZhuTKDC", pillars[i], marks[i]);
    record.Set(u"shizhu", cg[i], Text(marks[i]) + u"1/");
  }
  record.Set(u"shizhu", u"shishen", u"YY/MM/日主/HH/");
  record.Set(u"shizhu", u"wangshuai", u"衰/病/长生/胎/");
  const Rendered hk = Render(record, kHongKongLayout);
  EXPECT_TRUE(hk.Has(u"十神：" + Sp(3) + u"HH" + Sp(7) + u"日主" + Sp(3) + Sp(4) + u"MM" + Sp(7) +
                     u"YY\r\n"));
  EXPECT_EQ(hk.ColorOf(u"日主" + Sp(3)), ReportColor::kBlue);
  EXPECT_TRUE(hk.Has(u"乾造：" + Sp(3) + u"庚" + Sp(8) + u"戊" + Sp(8) + u"丙" + Sp(8) + u"甲\r\n" +
                     Sp(6) + u"申" + Sp(8) + u"辰" + Sp(8) + u"寅" + Sp(8) + u"子" + Sp(6) +
                     u"（申酉空）\r\n"));
  const Text gap = Sp(3);
  EXPECT_TRUE(hk.Has(u"天克地冲：" + Sp(1) + u"H" + gap + u"D" + gap + u"M" + gap + u"Y" + gap +
                     u"\r\n" + Sp(6) + gap + gap + gap + gap + u"\r\n"));
  EXPECT_TRUE(
      hk.Has(u"藏干：" + Sp(3) + u"H1" + Sp(5) + u"D1" + Sp(5) + u"M1" + Sp(5) + u"Y1\r\n"));
  EXPECT_TRUE(hk.Has(u"旺衰：" + Sp(3) + u"胎" + Sp(8) + u"长生" + Sp(7) + u"病" + Sp(8) + u"衰" +
                     Sp(8) + u"\r\n"));

  const Rendered standard = Render(record, kStandardLayout);
  EXPECT_TRUE(standard.Has(u"乾造：" + Sp(3) + u"甲子" + Sp(7) + u"丙寅" + Sp(7) + u"戊辰" + Sp(7) +
                           u"庚申" + Sp(6) + u"（申酉空）\r\n"));
  EXPECT_TRUE(standard.Has(u"天克地冲：" + Sp(1) + u"Y" + gap + u"M" + gap + u"D" + gap + u"H" +
                           gap + u"\r\n"));
  // Everything after the pillar table is the same in both layouts.
  const std::size_t hkRest = hk.text.find(u"\r\n天干克合");
  const std::size_t stRest = standard.text.find(u"\r\n天干克合");
  EXPECT_EQ(U8(hk.text.substr(hkRest)), U8(standard.text.substr(stRest)));
}

// The lines of a text (split at CR LF).
std::vector<Text> Lines(const Text& text) {
  std::vector<Text> lines;
  for (std::size_t at = 0;;) {
    const std::size_t end = text.find(u"\r\n", at);
    lines.push_back(text.substr(at, end == Text::npos ? Text::npos : end - at));
    if (end == Text::npos) return lines;
    at = end + 2;
  }
}

// Where each of the values starts in its line; npos for a missing one.
std::vector<std::size_t> Offsets(const Text& line, std::initializer_list<TextView> values) {
  std::vector<std::size_t> offsets;
  std::size_t from = 0;
  for (TextView v : values) {
    offsets.push_back(line.find(v, from));
    if (offsets.back() != Text::npos) from = offsets.back() + v.size();
  }
  return offsets;
}

Rendered RenderWithExtras(const IniDocument& record, int layout) {
  return Render(record, layout, Script::kSimplified, /*extras=*/true);
}

// lisi: 甲子 丙子 壬午 庚子, worked by hand: 纳音 海中金 涧下水 杨柳木 壁上土;
// 旬 甲子 甲戌 甲戌 甲午; 胎元 丁卯 (丙+1, 子+3); 胎息 丁未 (壬丁合, 午未合);
// 命宫 巳 (first month on 子, back to 寅 for the 子 month, 子 hour forward
// to 卯) in a 甲 year 己巳; 身宫 丑, 丁丑.
TEST(ReportExtrasTest, BlockUnderTheGrowthStagesWorkedByHand) {
  const IniDocument record = LoadSample("lisi");
  const Text block = u"\r\n纳音：" + Sp(3) + u"海中金" + Sp(6) + u"涧下水" + Sp(6) + u"杨柳木" +
                     Sp(6) + u"壁上土" + Sp(6) + u"\r\n旬：" + Sp(4) + u"甲子旬" + Sp(6) +
                     u"甲戌旬" + Sp(6) + u"甲戌旬" + Sp(6) + u"甲午旬" + Sp(6) + u"\r\n胎元：" +
                     Sp(3) + u"丁卯" + Sp(4) + u"胎息：丁未" + Sp(4) + u"命宫：己巳" + Sp(4) +
                     u"身宫：丁丑";
  const Rendered shown = RenderWithExtras(record, kStandardLayout);
  EXPECT_TRUE(shown.Has(u"帝旺" + Sp(7) + block + u"\r\n天干克合：")) << U8(shown.text);
  EXPECT_EQ(shown.ColorOf(block), ReportColor::kBlack);

  const Rendered hk = RenderWithExtras(record, kHongKongLayout);
  EXPECT_TRUE(hk.Has(u"\r\n纳音：" + Sp(3) + u"壁上土" + Sp(6) + u"杨柳木" + Sp(6) + u"涧下水" +
                     Sp(6) + u"海中金" + Sp(6) + u"\r\n旬：" + Sp(4) + u"甲午旬"))
      << "the Hong Kong/Taiwan table runs hour to year";
  EXPECT_TRUE(hk.Has(u"胎元：" + Sp(3) + u"丁卯" + Sp(4) + u"胎息：丁未"))
      << "the chart's pillars keep their order";
}

// Each value of the block starts in the column of a pillar above it.
TEST(ReportExtrasTest, ValuesLineUpUnderThePillarColumns) {
  IniDocument record = LoadSample("zhangsan");
  const Rendered shown = RenderWithExtras(record, kStandardLayout);
  const std::vector<Text> lines = Lines(shown.text);
  const auto line = [&](TextView start) {
    for (const Text& l : lines) {
      if (StartsWith(l, start)) return l;
    }
    return Text{};
  };
  const std::vector<std::size_t> columns = {6, 15, 24, 33};
  const Text p[4] = {record.ReadString(u"shizhu", u"year"), record.ReadString(u"shizhu", u"month"),
                     record.ReadString(u"shizhu", u"day"), record.ReadString(u"shizhu", u"hour")};
  EXPECT_EQ(Offsets(line(u"乾造"), {p[0], p[1], p[2], p[3]}), columns);
  const Text naYin = line(u"纳音");
  EXPECT_EQ(Offsets(naYin, {NaYinOf(p[0]), NaYinOf(p[1]), NaYinOf(p[2]), NaYinOf(p[3])}), columns);
  EXPECT_EQ(Offsets(line(u"旬"), {XunOf(p[0]), XunOf(p[1]), XunOf(p[2]), XunOf(p[3])}), columns);
  const Text pillarsLine = line(u"胎元");
  std::vector<std::size_t> derived;
  for (std::size_t at = pillarsLine.find(u'：'); at != Text::npos;
       at = pillarsLine.find(u'：', at + 1)) {
    std::size_t value = at + 1;
    while (value < pillarsLine.size() && pillarsLine[value] == u'\u3000') ++value;
    derived.push_back(value);
  }
  EXPECT_EQ(derived, columns);

  // A text that is no pillar leaves blanks of its width.
  record.Set(u"shizhu", u"year", u"甲丑");
  const std::vector<Text> odd = Lines(RenderWithExtras(record, kStandardLayout).text);
  for (const Text& l : odd) {
    if (StartsWith(l, u"纳音")) EXPECT_EQ(l.find(NaYinOf(p[1])), columns[1]);
    if (StartsWith(l, u"胎元"))
      EXPECT_EQ(l, u"胎元：" + Sp(3) + TaiYuanOf(p[1]) + Sp(4) + u"胎息：" + TaiXiOf(p[2]) + Sp(4) +
                       u"命宫：" + Sp(2) + Sp(4) + u"身宫：" + Sp(2));
  }
}

// Off, each layout is exactly what it was; on, the block is the only change.
TEST(ReportExtrasTest, OnlyTheBlockIsAddedAndOnlyWhenAsked) {
  for (const char* name : {"zhangsan", "lisi", "wangli", "zhaoliu"}) {
    const IniDocument record = LoadSample(name);
    for (int layout : {0, 1, 2}) {
      const Rendered off = Render(record, layout);
      IniDocument copy = record;
      CollectingSink sink;
      RenderChart(copy, ReportOptions{.layout = layout}, sink);
      EXPECT_EQ(U8(sink.PlainText()), U8(off.text)) << name << " " << layout;

      const Rendered on = RenderWithExtras(record, layout);
      const std::size_t at = off.text.find(u"\r\n天干克合");
      const std::size_t blockEnd = on.text.find(u"\r\n天干克合");
      ASSERT_NE(at, Text::npos);
      ASSERT_NE(blockEnd, Text::npos);
      const Text block = on.text.substr(at, blockEnd - at);
      EXPECT_EQ(U8(on.text), U8(off.text.substr(0, at) + block + off.text.substr(at)))
          << name << " " << layout;
      EXPECT_TRUE(StartsWith(block, u"\r\n纳音：")) << name;
      EXPECT_EQ(Lines(block).size(), 4u) << name << ": three lines";
    }
  }
}

TEST(SimpleLayoutTest, IsTheStandardReportUpToItsEndRowWithoutHealthCheck) {
  for (const char* name : {"zhangsan", "lisi", "wangli"}) {
    const IniDocument record = LoadSample(name);
    const Rendered standard = Render(record, kStandardLayout);
    const Rendered simple = Render(record, kSimpleLayout);

    // Standard report without 先天体检, with the extra blank line before 起运,
    // cut after the 止于 row.
    const std::size_t health = standard.text.find(u"\r\n\r\n先天体检");
    const std::size_t luck = standard.text.find(u"\r\n起运：");
    const std::size_t end = standard.text.find(u"\r\n\r\n大运天干克合");
    ASSERT_TRUE(health != Text::npos && luck != Text::npos && end != Text::npos) << name;
    Text expected = standard.text.substr(0, health) + u"\r\n" +
                    standard.text.substr(luck, end - luck) + u"\r\n\r\n";
    std::vector<ReportColor> colors(standard.colors.begin(), standard.colors.begin() + health);
    colors.insert(colors.end(), 2, ReportColor::kRed);
    colors.insert(colors.end(), standard.colors.begin() + luck, standard.colors.begin() + end);
    colors.insert(colors.end(), 4, ReportColor::kBlack);

    EXPECT_EQ(U8(simple.text), U8(expected)) << name;
    const auto diff =
        std::mismatch(simple.colors.begin(), simple.colors.end(), colors.begin(), colors.end());
    EXPECT_TRUE(diff.first == simple.colors.end() && diff.second == colors.end())
        << name << ": colours differ from " << (diff.first - simple.colors.begin()) << " of "
        << simple.colors.size() << " / " << colors.size() << ": "
        << U8(simple.text.substr(diff.first - simple.colors.begin(), 20));
  }
}

TEST(YearsBeforeLuckRewriteTest, RebuiltBeforeTheGridAndReportedOnlyWhenChanged) {
  IniDocument record = LoadSample("zhangsan");
  CollectingSink sink;
  EXPECT_FALSE(RenderChart(record, kStandardLayout, sink)) << "a computed record is unchanged";

  record.Set(u"yunqian", u"liunian", u"甲子/");
  CollectingSink again;
  EXPECT_TRUE(RenderChart(record, kSimpleLayout, again));
  EXPECT_EQ(U8(*record.Find(u"yunqian", u"liunian")), U8(u"庚午/辛未/壬申/癸酉/甲戌/乙亥/"));
  EXPECT_NE(again.PlainText().find(Sp(4) + u"90庚午"), Text::npos) << "the grid uses the rebuild";
}

TEST(YearsBeforeLuckRewriteTest, RecordOnDiskIsSavedOnlyWhenTheRebuildChangesIt) {
  TempDir dir;
  const auto path = dir.path() / "张三.bze";
  std::string bytes = ReadFileBytes(ReportDataDir() / "zhangsan.bze");
  // LF line ends: any save would turn them into CR LF.
  std::erase(bytes, '\r');
  WriteFileBytes(path, bytes);
  CollectingSink sink;
  EXPECT_TRUE(RenderChart(path, kStandardLayout, sink));
  EXPECT_EQ(ReadFileBytes(path), bytes) << "unchanged record left alone";

  const std::string edited = bytes.replace(bytes.find("birth=1990"), 10, "birth=1980");
  WriteFileBytes(path, edited);
  CollectingSink second;
  RenderChart(path, kStandardLayout, second);
  EXPECT_EQ(U8(*LoadIniFile(path).Find(u"yunqian", u"birth")), "1990");
  EXPECT_EQ(second.PlainText(), sink.PlainText());

  const auto empty = dir.path() / "empty.bze";
  WriteFileBytes(empty, "");
  CollectingSink third;
  EXPECT_TRUE(RenderChart(empty, kStandardLayout, third));
  EXPECT_EQ(ReadFileBytes(empty), "") << "an empty record stays empty";
  EXPECT_TRUE(RenderChart(dir.path() / "missing.bze", kStandardLayout, third));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing.bze"));
}

// Hand-edited records that ask for far more than a computed record holds.
TEST(HostileRecordTest, ReportsStayAsSmallAsAComputedRecordAllows) {
  const std::string head =
      "[main]\r\nname=x\r\nsex=男\r\n[jieqi]\r\nbefore=立春 1990:02:04:10:14\r\n"
      "after=立夏 1990:05:06:02:35\r\n";
  struct Case {
    const char* what;
    std::string record;
  };
  const Case cases[] = {
      {"count 10000, liunian1 of 600 slashes",
       head + "[liunian]\r\ncount=10000\r\nliunian1=" + std::string(600, '/') + "\r\n"},
      {"score counts", head + "[shishenfenshu]\r\ncount=10000\r\n[liushenfenshu]\r\ncount=10000\r\n"
                              "[tijian]\r\ncount=10000\r\n"},
      {"annual span of a million years",
       head + "[liunianhcxh]\r\nyearBegin=1\r\nyearEnd=1000000\r\n"},
      {"hundreds of luck pillars", head + "[minbiao]\r\ndayun=" +
                                       [] {
                                         std::string list;
                                         for (int i = 0; i < 170; ++i) list += "甲子/";
                                         return list;
                                       }() +
                                       "\r\n[dayuntiangankehe]\r\n甲子=" + std::string(500, 'x') +
                                       " y\r\n"},
  };
  // A computed record's standard report is about 12000 characters.
  const std::size_t ordinary = [] {
    CollectingSink sink;
    IniDocument record = LoadSample("zhangsan");
    RenderChart(record, kStandardLayout, sink);
    return sink.PlainText().size();
  }();
  for (const Case& c : cases) {
    for (int layout : {0, 1, 2}) {
      IniDocument record = IniDocument::Parse(FromUtf8(c.record));
      CollectingSink sink;
      RenderChart(record, layout, sink);
      EXPECT_LT(sink.PlainText().size(), 2 * ordinary) << c.what << ", layout " << layout;
    }
  }
}

TEST(YearsBeforeLuckRewriteTest, ReadOnlyAndSymlinkedRecordsAreRenderedFromMemory) {
  TempDir dir;
  std::string bytes = ReadFileBytes(ReportDataDir() / "zhangsan.bze");
  const std::string edited = bytes.replace(bytes.find("birth=1990"), 10, "birth=1980");
  CollectingSink reference;
  RenderChart(ReportDataDir() / "zhangsan.bze", kStandardLayout, reference);

  const auto readOnly = dir.path() / "只读.bze";
  WriteFileBytes(readOnly, edited);
  ::chmod(readOnly.c_str(), 0444);
  const auto outside = dir.path() / "outside.bze";
  WriteFileBytes(outside, edited);
  std::filesystem::create_directory(dir.path() / "data");
  const auto link = dir.path() / "data" / "链接.bze";
  std::filesystem::create_symlink(outside, link);
  const auto ordinary = dir.path() / "普通.bze";
  WriteFileBytes(ordinary, edited);
  ::chmod(ordinary.c_str(), 0640);

  for (const auto& path : {readOnly, link, ordinary}) {
    CollectingSink sink;
    RenderChart(path, kStandardLayout, sink);
    EXPECT_EQ(sink.PlainText(), reference.PlainText()) << path;
  }
  EXPECT_EQ(ReadFileBytes(readOnly), edited) << "the user made it read-only";
  EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link stays a link";
  EXPECT_EQ(ReadFileBytes(outside), edited);
  EXPECT_EQ(U8(*LoadIniFile(ordinary).Find(u"yunqian", u"birth")), "1990") << "rewritten";
  struct stat info {};
  ASSERT_EQ(::stat(ordinary.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the rewrite keeps the file's mode";
  ASSERT_EQ(::stat(readOnly.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0444u);
}

}  // namespace
}  // namespace xuanshu::testing
