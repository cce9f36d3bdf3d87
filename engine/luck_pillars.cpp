// Start of luck (起运) and the nine luck pillars (大运).
//
// Conventions: the pillars run forward through the cycle when the year stem's
// polarity matches the sex (yang year and man, yin year and woman), backward
// otherwise. Forward luck measures the distance to the next sectional term,
// backward luck the distance to the previous one, and three days of distance
// count as one year of life, so one minute is two hours.
#include "calendar/ganzhi.h"
#include "calendar/lunar_calendar.h"
#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
namespace {

constexpr int kLuckPillarCount = 9;

constexpr long long kMinutesPerYear = 4320;  // three days
constexpr long long kMinutesPerMonth = 360;  // six hours
constexpr long long kMinutesPerDay = 12;
constexpr int kHoursPerMinute = 2;

bool LuckRunsForward(TextView yearPillar, bool male) {
  return IsYangStem(StemOf(yearPillar)) == male;
}

// A calendar position that carries day and month overflow into the
// following months and years.
struct CalendarDay {
  int year;
  int month;
  int day;

  void NextMonth() {
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  // While the day lies beyond the month it is in, moves into the next month.
  void Carry() {
    for (int length = GregorianMonthDays(year, month); length > 0 && day > length;
         length = GregorianMonthDays(year, month)) {
      day -= length;
      NextMonth();
    }
  }
};

}  // namespace

void ChartEngine::WriteLuckStart(ChartRecord& record) {
  const long long a = LuckRunsForward(yearPillar, male) ? minutesAfter : minutesBefore;
  const long long rest = a % kMinutesPerYear;
  yearAfter = static_cast<int>(a / kMinutesPerYear);
  monthAfter = static_cast<int>(rest / kMinutesPerMonth);
  dayAfter = static_cast<int>(rest % kMinutesPerMonth / kMinutesPerDay);
  hourAfter = static_cast<int>(rest % kMinutesPerMonth % kMinutesPerDay * kHoursPerMinute);

  CalendarDay start{year + yearAfter, month + monthAfter, day + dayAfter};
  while (start.month > 12) {
    start.month -= 12;
    ++start.year;
  }
  start.Carry();
  int startHour = hour + hourAfter;
  if (startHour >= 24) {
    startHour -= 24;
    ++start.day;
    start.Carry();
  }
  yearBegin = start.year;
  monthBegin = start.month;
  dayBegin = start.day;
  hourBegin = startHour;

  record.Set(u"dayun", u"yearAfter", Num(yearAfter));
  record.Set(u"dayun", u"monthAfter", Num(monthAfter));
  record.Set(u"dayun", u"dayAfter", Num(dayAfter));
  record.Set(u"dayun", u"hourAfter", Num(hourAfter));
  record.Set(u"dayun", u"yearBegin", Num(yearBegin));
  record.Set(u"dayun", u"monthBegin", Num(monthBegin));
  record.Set(u"dayun", u"dayBegin", Num(dayBegin));
  record.Set(u"dayun", u"hourBegin", Num(hourBegin));
}

void ChartEngine::WriteLuckPillars(ChartRecord& record) {
  const bool forward = LuckRunsForward(yearPillar, male);
  const int dayStem = StemIndex(StemOf(dayPillar));
  int stem = StemIndex(StemOf(monthPillar));
  int branch = BranchIndex(BranchOf(monthPillar));

  Text pillars, tenGods, stages;
  luckPillars.clear();
  for (int i = 0; i < kLuckPillarCount; ++i) {
    stem = forward ? (stem + 1) % 10 : (stem + 9) % 10;
    branch = forward ? (branch + 1) % 12 : (branch + 11) % 12;
    luckPillars.push_back(Text{kStems[stem], kBranches[branch]});
    (pillars += luckPillars.back()) += u'/';
    (tenGods += TenGodOf(dayStem, stem)) += u'/';
    (stages += GrowthStage(dayStem, branch)) += u'/';
  }
  record.Set(u"minbiao", u"dayun", pillars);
  record.Set(u"minbiao", u"shishen", tenGods);
  record.Set(u"minbiao", u"wangshuai", stages);
}

}  // namespace xuanshu
