// The birth input steps of a chart: the date in both calendars with the late
// 子 hour, the placing of the birth in time, the input sections of the
// record, the sectional terms around the birth and the four pillars.
//
// Under the usual school a birth at 23:00 or later belongs to the next day:
// the lunar date stored and the day pillar take the next day, while the
// Gregorian date stays the calendar date of birth and the terms are measured
// from the real moment. The term source and the 子 school decide the year
// and month pillars; the time that decides the day (the clock, or the true
// solar time of the birthplace) decides the day and hour pillars.
#include <cstdio>

#include "calendar/birth_pillars.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar_calendar.h"
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
  birth = ResolveBirthMoment({year, month, day, hour, minute, 0}, choices.place);
}

void ChartEngine::PlaceBirth(const BirthChoices& chosen) {
  choices = chosen;
  birth = ResolveBirthMoment({year, month, day, hour, minute, 0}, choices.place);
  const CivilTime& local = birth.DayFrame();
  const bool dayByClock = local.year == year && local.month == month && local.day == day &&
                          local.hour == hour && choices.ziSchool->lateHourStartsNextDay;
  if (dayByClock) return;  // SetBirthDate already followed the clock
  lateZiHour = choices.ziSchool->lateHourStartsNextDay && local.hour >= kLateZiHour;
  const CivilDate date = choices.ziSchool->DayOf({local.year, local.month, local.day}, local.hour);
  const LunarDate lunar = ToLunar(date.year, date.month, date.day);
  lunarYear = lunar.year;
  lunarMonth = lunar.month;
  lunarDay = lunar.day;
  leep = lunar.isLeap;
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
  // The lunar birth time is the one that decides the day.
  record.Set(u"nongli", u"hour", Num(birth.DayFrame().hour));
  record.Set(u"nongli", u"minute", Num(birth.DayFrame().minute));
  record.Set(u"nongli", u"leep", leep ? u"1" : u"0");
}

void ChartEngine::WriteSolarTerms(ChartRecord& record) {
  const NearTerm before = choices.terms->Near(birth, -1);
  termBeforeName = before.name;
  termBefore = before.moment;
  minutesBefore = before.minutes;
  const NearTerm after = choices.terms->Near(birth, +1);
  termAfterName = after.name;
  termAfter = after.moment;
  minutesAfter = after.minutes;
  record.Set(u"jieqi", u"before", TermText(termBeforeName, termBefore));
  record.Set(u"jieqi", u"after", TermText(termAfterName, termAfter));
}

void ChartEngine::ComputeFourPillars() {
  FourPillars pillars = PillarsOfBirth(birth, *choices.terms, *choices.ziSchool);
  yearPillar = std::move(pillars.year);
  monthPillar = std::move(pillars.month);
  dayPillar = std::move(pillars.day);
  hourPillar = std::move(pillars.hour);
}

}  // namespace xuanshu
