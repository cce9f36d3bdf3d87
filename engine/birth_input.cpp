// The birth input steps of a chart: the date in both calendars with the late
// 子 hour, the input sections of the record, the sectional terms around the
// birth and the four pillars.
//
// A birth at 23:00 or later belongs to the next day: the lunar date stored
// and every pillar take the next day, while the Gregorian date stays the
// calendar date of birth and the terms are measured from the real moment.
#include <cstdio>

#include "calendar/four_pillars.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar_calendar.h"
#include "calendar/solar_terms.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr int kLateZiHour = 23;

// "%s %.4d:%.2d:%.2d:%.2d:%.2d": the term's name, then its moment to the minute.
Text TermText(TextView name, const DateTime& moment) {
  char digits[96];
  std::snprintf(digits, sizeof digits, " %.4d:%.2d:%.2d:%.2d:%.2d", moment.year, moment.month,
                moment.day, moment.hour, moment.minute);
  return Text(name) + Ascii(digits);
}

}  // namespace

void ChartEngine::SetBirthDate(int y, int m, int d, bool gregorian, bool leapMonth) {
  lateZiHour = hour >= kLateZiHour;
  if (gregorian) {
    year = y;
    month = m;
    day = d;
    leep = ToLunar(y, m, d).isLeap;
  } else {
    const CivilDate civil = ToGregorian(y, m, d, leapMonth);
    year = civil.year;
    month = civil.month;
    day = civil.day;
    leep = leapMonth;
  }
  if (lateZiHour) {
    const CivilDate next = NextDay(year, month, day, false);
    lunarYear = next.year;
    lunarMonth = next.month;
    lunarDay = next.day;
  } else if (gregorian) {
    const LunarDate lunar = ToLunar(y, m, d);
    lunarYear = lunar.year;
    lunarMonth = lunar.month;
    lunarDay = lunar.day;
  } else {
    lunarYear = y;
    lunarMonth = m;
    lunarDay = d;
  }
}

void ChartEngine::WriteInputSections(ChartRecord& record, TextView group) const {
  record.Set(u"main", u"name", name);
  record.Set(u"main", u"class", group);
  record.Set(u"main", u"sex", male ? u"男" : u"女");
  record.Set(u"gongli", u"year", Num(year));
  record.Set(u"gongli", u"month", Num(month));
  record.Set(u"gongli", u"day", Num(day));
  record.Set(u"gongli", u"hour", Num(hour));
  record.Set(u"gongli", u"minute", Num(minute));
  record.Set(u"nongli", u"year", Num(lunarYear));
  record.Set(u"nongli", u"month", Num(lunarMonth));
  record.Set(u"nongli", u"day", Num(lunarDay));
  record.Set(u"nongli", u"hour", Num(hour));
  record.Set(u"nongli", u"minute", Num(minute));
  record.Set(u"nongli", u"leep", leep ? u"1" : u"0");
}

void ChartEngine::WriteSolarTerms(ChartRecord& record) {
  const NearTerm before = SectionalTermNear(year, month, day, hour, minute, -1);
  termBeforeName = before.name;
  termBefore = before.moment;
  minutesBefore = before.minutes;
  const NearTerm after = SectionalTermNear(year, month, day, hour, minute, +1);
  termAfterName = after.name;
  termAfter = after.moment;
  minutesAfter = after.minutes;
  record.Set(u"jieqi", u"before", TermText(termBeforeName, termBefore));
  record.Set(u"jieqi", u"after", TermText(termAfterName, termAfter));
}

void ChartEngine::ComputeFourPillars() {
  const CivilDate pillarDate =
      lateZiHour ? NextDay(year, month, day, true) : CivilDate{year, month, day};
  yearPillar = YearPillar(pillarDate.year, pillarDate.month, pillarDate.day, hour);
  monthPillar = MonthPillar(pillarDate.year, pillarDate.month, pillarDate.day, hour);
  dayPillar = DayPillar(pillarDate.year, pillarDate.month, pillarDate.day);
  hourPillar = HourPillar(StemOf(dayPillar), Num(hour));
}

}  // namespace xuanshu
