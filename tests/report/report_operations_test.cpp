#include "report/report_operations.h"

#include <gtest/gtest.h>

#include "report/report_format.h"

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

TEST(LunarDateTextTest, WritesYearMonthDayAndHourInWords) {
  struct Case {
    const char* rule;
    long long year, month, day, hour, leap;
    TextView expected;
  };
  const Case cases[] = {
      {"leap month, day 21, late 子 hour with its note", 1984, 4, 21, 23, 1,
       u"一九八四年（闰）四月二十一子时［子时：一日之始，23时至1时］"},
      {"day 10 is 初十", 2000, 1, 10, 12, 0, u"二零零零年正月初十午时"},
      {"day 1 is 初一, hour 0 is 子 without the note", 1990, 12, 1, 0, 0,
       u"一九九零年十二月初一子时"},
      {"day 11 is 十一 (no tens word)", 1990, 11, 11, 1, 0, u"一九九零年十一月十一丑时"},
      {"day 20 is 二十 (no units word)", 1990, 10, 20, 2, 0, u"一九九零年十月二十丑时"},
      {"day 30 is 三十", 1990, 2, 30, 22, 0, u"一九九零年二月三十亥时"},
      {"hour 21 is 亥", 1990, 3, 5, 21, 0, u"一九九零年三月初五亥时"},
      {"hour 11 is 午", 1990, 3, 5, 11, 0, u"一九九零年三月初五午时"},
      {"empty record: zeros", 0, 0, 0, 0, 0, u"零零零零年月子时"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(LunarDateText(c.year, c.month, c.day, c.hour, c.leap)), U8(c.expected)) << c.rule;
  }
}

TEST(SplitSlashListTest, EveryItemEndsWithASlash) {
  struct Case {
    const char* rule;
    TextView value;
    std::vector<TextView> items;
  };
  const Case cases[] = {
      {"empty value", u"", {}},
      {"no slash at all: dropped", u"甲子", {}},
      {"text after the last slash dropped", u"甲子/乙丑/丙", {u"甲子", u"乙丑"}},
      {"empty items kept", u"甲子//乙丑/", {u"甲子", u"", u"乙丑"}},
      {"single slash", u"/", {u""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSlashList(c.value), c.items) << c.rule;
}

TEST(SplitAtSpaceTest, FirstAsciiSpaceSeparatesTheParts) {
  const SplitParts plain = SplitAtSpace(u"子午(冲)");
  EXPECT_FALSE(plain.hasSpace);
  EXPECT_EQ(plain.first, u"子午(冲)");
  const SplitParts trailing = SplitAtSpace(u"丁壬合 ");
  EXPECT_TRUE(trailing.hasSpace);
  EXPECT_EQ(trailing.first, u"丁壬合");
  EXPECT_EQ(trailing.second, u"");
  // U+3000 is not a separator.
  EXPECT_FALSE(SplitAtSpace(u"丁　壬").hasSpace);
  EXPECT_EQ(SplitAtSpace(u"a b c").second, u"b c");
}

TEST(NatalClashColumnsTest, FirstItemGoesToTheSecondLine) {
  struct Case {
    const char* rule;
    TextView value;
    TextView firstLine, secondLine;
  };
  const Case cases[] = {
      {"single item: first line, second line only the gap", u"庚午（1990，2050）",
       u"庚午（1990，2050）", u"　　　"},
      {"empty value: both lines only the gap", u"", u"　　　", u"　　　"},
      {"two items of eight characters keep the gap", u"甲子（2044） 庚午（1990）",
       u"庚午（1990）　　　", u"甲子（2044）　　　"},
      {"parts longer than eight characters get no gap", u"庚午（1990，2050） 丙午（1966，2026）",
       u"丙午（1966，2026）", u"庚午（1990，2050）"},
      {"nine characters already lose the gap (eight keep it, above)",
       u"甲子（1984）x 乙丑（1985）y", u"乙丑（1985）y", u"甲子（1984）x"},
  };
  for (const Case& c : cases) {
    Text first, second;
    NatalClashColumns(c.value, first, second);
    EXPECT_EQ(U8(first), U8(c.firstLine)) << c.rule;
    EXPECT_EQ(U8(second), U8(c.secondLine)) << c.rule;
  }
}

TEST(LuckClashColumnsTest, EachPartKeepsOnlyItsPillarName) {
  struct Case {
    const char* rule;
    TextView value;
    TextView firstLine, secondLine;
  };
  const Case cases[] = {
      {"two items", u"戊子（2008，2068） 丙子（1996）", u"丙子　　", u"戊子　　"},
      {"single item", u"戊子（2008）", u"戊子　　", u"　　"},
      {"no （: both cells empty", u"戊子 丙子", u"　　", u"　　"},
      {"empty value", u"", u"　　", u"　　"},
  };
  for (const Case& c : cases) {
    Text first, second;
    LuckClashColumns(c.value, first, second);
    EXPECT_EQ(U8(first), U8(c.firstLine)) << c.rule;
    EXPECT_EQ(U8(second), U8(c.secondLine)) << c.rule;
  }
}

TEST(YearSetsTest, NonEmptyValuesOfTheSpanColourTheGrid) {
  IniDocument record;
  record.Set(u"liunianhcxh", u"1990tkdc", u"[年岁]庚午甲子天克地冲");
  record.Set(u"liunianhcxh", u"1991tkdc", u"");
  record.Set(u"liunianhcxh", u"1992tkdc", u"x");
  record.Set(u"liunianhcxh", u"1992sybl", u"3岁,岁运并临");
  record.Set(u"liunianhcxh", u"1993sybl", u"4岁,岁运并临");
  record.Set(u"liunianhcxh", u"2000tkdc", u"outside the span");

  const YearSet clash = ClashYearSet(record, 1990, 1999);
  EXPECT_EQ(clash, (YearSet{1990, 1992}));
  const YearSet concurrence = ConcurrenceYearSet(record, 1990, 1999, 1990);
  EXPECT_EQ(concurrence, (YearSet{1992, 1993}));
  EXPECT_TRUE(ConcurrenceYearSet(record, 1990, 1999, 0).empty()) << "birth year unknown";

  EXPECT_EQ(AnnualGridColor(1992, concurrence, clash), ReportColor::kRed) << "岁运并临 beats clash";
  EXPECT_EQ(AnnualGridColor(1990, concurrence, clash), ReportColor::kBlue);
  EXPECT_EQ(AnnualGridColor(1991, concurrence, clash), ReportColor::kBlack);
}

TEST(YearKeyTest, YearDigitsThenSuffix) {
  EXPECT_EQ(TextView(YearKey(1990)), u"1990");
  EXPECT_EQ(TextView(YearKey(2085, u"sybl")), u"2085sybl");
  EXPECT_EQ(TextView(YearKey(-12, u"big")), u"-12big");
  EXPECT_EQ(TextView(YearKey(0, u"tkdc")), u"0tkdc");
}

TEST(FormatTextTest, PadsStringsAndNumbersWithZeros) {
  struct Case {
    const char* rule;
    Text actual;
    TextView expected;
  };
  const Case cases[] = {
      {"%04s keeps four digits", FormatText(u"%04s年", {u"1984"}), u"1984年"},
      {"%02s pads one digit", FormatText(u"%02s月", {u"5"}), u"05月"},
      {"%04s pads an empty string", FormatText(u"%04s", {u""}), u"0000"},
      {"%02s leaves longer text", FormatText(u"%02s", {u"123"}), u"123"},
      {"%02d", FormatText(u"%02d%s", {7, u"甲子"}), u"07甲子"},
      {"%d", FormatText(u"%d岁, （%d年）", {13, 2002}), u"13岁, （2002年）"},
      {"missing argument prints nothing", FormatText(u"%s：%s", {u"a"}), u"a："},
  };
  for (const Case& c : cases) EXPECT_EQ(U8(c.actual), U8(c.expected)) << c.rule;
}

}  // namespace
}  // namespace xuanshu

namespace xuanshu {
namespace {

// The annual values are read in one pass over the section; each must be what
// a lookup of its key by name reads.
TEST(AnnualValuesTest, EachValueIsTheReadOfItsKeyByName) {
  const Text text =
      u"[liunianhcxh]\r\n"
      u"1990=庚午 戊己庚辛壬癸甲乙丙丁戊己 [岁命]午午(自刑)\r\n"
      u"1990SYBL=1岁,岁运并临\r\n"  // another case
      u"1990tkdc=" +
      Text(3000, u'冲') +  // beyond the long capacity
      u"\r\n"
      u"01991tgkh=leading zero: no key of 1991\r\n"
      u"1991tgkh=\r\n"
      u"1991hcxh=午未(合)\r\n"
      u"1991tgkh=second of a key: ignored\r\n"
      u"-5big=before year 0\r\n"
      u"1992other=no suffix of a year\r\n"
      u"1992=" +
      Text(600, u'午') +  // beyond the short capacity
      u"\r\n"
      u"1993big=after the span\r\n"
      u"1989big=before the span\r\n"
      u"+1990hcxh=a sign is no year\r\n";
  const IniDocument record = IniDocument::Parse(text);
  const IniDocument::Section* section = record.FindSection(u"liunianhcxh");
  struct Field {
    TextView suffix;
    TextView AnnualYearValues::*value;
    std::size_t capacity;
  };
  const Field fields[] = {{u"", &AnnualYearValues::row, kReadCapacity},
                          {u"sybl", &AnnualYearValues::sybl, kLongReadCapacity},
                          {u"tkdc", &AnnualYearValues::tkdc, kLongReadCapacity},
                          {u"tgkh", &AnnualYearValues::tgkh, kLongReadCapacity},
                          {u"hcxh", &AnnualYearValues::hcxh, kLongReadCapacity},
                          {u"big", &AnnualYearValues::big, kLongReadCapacity}};
  // The second span is cut to its first 90 years, so 1990 and 1991 lie beyond.
  for (const auto& [first, last] :
       {std::pair{1990LL, 1992LL}, std::pair{-10LL, 1991LL}, std::pair{1902LL, 2100LL}}) {
    const AnnualValues values(section, first, last);
    for (long long year : {first - 1, first, first + 1, 1989LL, 1990LL, 1991LL, 1992LL, 1993LL,
                           -5LL, last, last + 1}) {
      for (const Field& f : fields) {
        const bool inSpan = year >= first && year <= first + kMaxLoopSpan - 1 && year <= last;
        const Text expected =
            inSpan ? record.ReadString(u"liunianhcxh", Num(year) + Text(f.suffix), f.capacity)
                   : Text();
        EXPECT_EQ(U8(values.Of(year).*f.value), U8(expected))
            << "year " << year << " key " << U8(f.suffix) << " span " << first << "-" << last;
      }
    }
  }
  EXPECT_TRUE(AnnualValues(nullptr, 1990, 1992).Of(1990).row.empty()) << "no section";
}

}  // namespace
}  // namespace xuanshu
