#include "engine/chart_request.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace xuanshu {
namespace {

const std::filesystem::path kDataDir = "/home/user/xuanshu/data";

ChartForm CompleteForm() {
  ChartForm form;
  form.name = u"张三";
  form.maleChecked = true;
  form.calendar = u"公历";
  form.year = u"1990";
  form.month = u"05";
  form.day = u"17";
  form.hour = u"08";
  form.minute = u"30";
  return form;
}

Text MessageOf(const RequestResult& result) {
  const Text* message = std::get_if<Text>(&result);
  return message ? *message : Text(u"(a request)");
}

ChartRequest RequestOf(const ChartForm& form) {
  RequestResult result = BuildChartRequest(form, kDataDir);
  EXPECT_TRUE(std::holds_alternative<ChartRequest>(result)) << ToUtf8(MessageOf(result));
  return std::holds_alternative<ChartRequest>(result) ? std::get<ChartRequest>(result)
                                                      : ChartRequest{};
}

TEST(BuildChartRequest, ReportsOnlyTheFirstEmptyFieldInFormOrder) {
  struct Case {
    const char* what;
    void (*clear)(ChartForm&);
    TextView message;
  };
  const Case cases[] = {
      {"every field empty", [](ChartForm& f) { f = ChartForm{}; }, u"请输入姓名"},
      {"name", [](ChartForm& f) { f.name.clear(); }, u"请输入姓名"},
      {"sex and everything after it",
       [](ChartForm& f) {
         f.maleChecked = false;
         f.calendar.clear();
         f.minute.clear();
       },
       u"请选择性别"},
      {"calendar and year", [](ChartForm& f) { f.calendar.clear(), f.year.clear(); },
       u"请输入日历类别"},
      {"year and month", [](ChartForm& f) { f.year.clear(), f.month.clear(); }, u"请输入年份"},
      {"month and day", [](ChartForm& f) { f.month.clear(), f.day.clear(); }, u"请输入月份"},
      {"day", [](ChartForm& f) { f.day.clear(); }, u"请输入日期"},
      {"hour", [](ChartForm& f) { f.hour.clear(); }, u"请输入日期"},
      {"minute", [](ChartForm& f) { f.minute.clear(); }, u"请输入日期"},
  };
  for (const Case& c : cases) {
    ChartForm form = CompleteForm();
    c.clear(form);
    EXPECT_EQ(MessageOf(BuildChartRequest(form, kDataDir)), c.message) << c.what;
  }
}

TEST(BuildChartRequest, ReadsTheFieldsIntoTheRequest) {
  const ChartRequest request = RequestOf(CompleteForm());
  EXPECT_EQ(request.name, u"张三");
  EXPECT_EQ(request.year, 1990);
  EXPECT_EQ(request.month, 5);
  EXPECT_EQ(request.day, 17);
  EXPECT_EQ(request.hour, 8);
  EXPECT_EQ(request.minute, 30);
  EXPECT_TRUE(request.male);
  EXPECT_TRUE(request.gregorian);
  EXPECT_FALSE(request.leapMonth);
  EXPECT_EQ(request.group, u"其他") << "no group selected and no earlier chart";
  EXPECT_EQ(request.recordPath, kDataDir / std::filesystem::path(u8"张三.bze"));
}

TEST(BuildChartRequest, LeapMarkCountsOnlyForTheLunarCalendar) {
  struct Case {
    TextView calendar;
    TextView month;
    bool gregorian;
    bool leap;
  };
  const Case cases[] = {
      {u"农历", u"04 闰月", false, true},
      {u"农历", u"04", false, false},
      {u"公历", u"04 闰月", true, false},
      {u"农历", u"12 闰月", false, true},
  };
  for (const Case& c : cases) {
    ChartForm form = CompleteForm();
    form.calendar = c.calendar;
    form.month = c.month;
    const ChartRequest request = RequestOf(form);
    const std::string what = ToUtf8(c.calendar) + " " + ToUtf8(c.month);
    EXPECT_EQ(request.month, LeadingInt(c.month)) << what;
    EXPECT_EQ(request.gregorian, c.gregorian) << what;
    EXPECT_EQ(request.leapMonth, c.leap) << what;
  }
}

TEST(BuildChartRequest, FemaleWinsWhenBothSexesAreChecked) {
  struct Case {
    bool maleChecked, femaleChecked, male;
  };
  for (const Case c :
       {Case{true, false, true}, Case{false, true, false}, Case{true, true, false}}) {
    ChartForm form = CompleteForm();
    form.maleChecked = c.maleChecked;
    form.femaleChecked = c.femaleChecked;
    EXPECT_EQ(RequestOf(form).male, c.male) << "男 " << c.maleChecked << " 女 " << c.femaleChecked;
  }
}

TEST(CheckChartName, RefusesNamesThatAreNoUsableFileName) {
  const Text fiftyChars(50, u'名');
  const TextView refused[] = {
      u"../x", u"a/b", u"a\\b", u"CON",  u"con.txt", u"Com1",  u"lpt9.tar.gz", u"NUL .txt", u"aux",
      u" a",   u"a ",  u"a.",   u".",    u"..",      u"a:b",   u"a*b",         u"a?b",      u"a\"b",
      u"a<b",  u"a>b", u"a|b",  u"a\tb", u"a\x01b",  u"a\x7f", u"COM\u00B9"};
  for (TextView name : refused) {
    EXPECT_EQ(CheckChartName(name), u"姓名不能用作文件名") << '"' << ToUtf8(name) << '"';
  }
  EXPECT_EQ(CheckChartName(fiftyChars), u"姓名不能超过49个字");
  EXPECT_EQ(CheckChartName(u""), u"请输入姓名");
}

TEST(CheckChartName, AcceptsOrdinaryNamesUpToFortyNineCharacters) {
  const Text fortyNine(49, u'名');
  Text fortyNineWithPairs;  // 𠀀 is one character written as a surrogate pair
  for (int i = 0; i < 49; ++i) fortyNineWithPairs += u"𠀀";
  const TextView accepted[] = {u"张三",    u"李 四",      u"a.b",    u"COM10",
                               u"CONSOLE", u"LPT",        u"COM0x",  u"x.con",
                               u"...a",    u"王五（二）", fortyNine, fortyNineWithPairs};
  for (TextView name : accepted) {
    EXPECT_EQ(CheckChartName(name), u"") << '"' << ToUtf8(name) << '"';
  }
}

TEST(BuildChartRequest, ChecksTheNameRightAfterItIsFound) {
  ChartForm form;  // every later field empty
  form.name = u"../x";
  EXPECT_EQ(MessageOf(BuildChartRequest(form, kDataDir)), u"姓名不能用作文件名");
  form.name = Text(50, u'名');
  EXPECT_EQ(MessageOf(BuildChartRequest(form, kDataDir)), u"姓名不能超过49个字");
}

TEST(BuildChartRequest, CutsLongGroupsToFortyNineCharacters) {
  struct Case {
    const char* what;
    Text group;
    Text expected;
  };
  Text pairs;
  for (int i = 0; i < 50; ++i) pairs += u"𠀀";
  const Case cases[] = {
      {"short", u"客户", u"客户"},
      {"exactly 49", Text(49, u'组'), Text(49, u'组')},
      {"50", Text(50, u'组'), Text(49, u'组')},
      {"surrogate pairs are never split", pairs, pairs.substr(0, 98)},
      {"empty means no group", u"", u"其他"},
  };
  for (const Case& c : cases) {
    ChartForm form = CompleteForm();
    form.group = c.group;
    EXPECT_EQ(RequestOf(form).group, c.expected) << c.what;
  }
}

TEST(BuildChartRequest, DropsControlCharactersSoTheGroupStaysOneRecordLine) {
  struct Case {
    const char* what;
    Text group;
    Text expected;
  };
  const Case cases[] = {
      {"line feed and a forged section", u"客户\n[gongli]\nyear=1800", u"客户[gongli]year=1800"},
      {"carriage return and tab", u"客\r\n户\t", u"客户"},
      {"only control characters", u"\r\n", u"其他"},
      {"cut after dropping", Text(49, u'组') + u"\n", Text(49, u'组')},
  };
  for (const Case& c : cases) {
    ChartForm form = CompleteForm();
    form.group = c.group;
    EXPECT_EQ(ToUtf8(RequestOf(form).group), ToUtf8(c.expected)) << c.what;
  }
}

TEST(BuildChartRequest, PassesOutOfRangeClockValuesOnToTheDriver) {
  ChartForm form = CompleteForm();
  form.day = u"0";
  form.hour = u"24";
  form.minute = u"99999999999999";
  const ChartRequest request = RequestOf(form);
  EXPECT_EQ(request.day, 0);
  EXPECT_EQ(request.hour, 24);
  EXPECT_EQ(request.minute, INT_MAX) << "huge values saturate instead of wrapping";
}

}  // namespace
}  // namespace xuanshu
