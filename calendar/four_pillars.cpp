// The four pillars of a birth moment.
//
// Conventions: the year changes at 立春 and the month at the sectional term
// that opens each Gregorian month; a date and hour count as on or after a
// term when (year, month, day, hour) is not below the term's, so minutes
// are never compared. The hour stem follows the day stem (五鼠遁). Moving a
// late 子 hour birth to the next day is the caller's job.
#include "calendar/four_pillars.h"

#include <climits>
#include <tuple>

#include "calendar/ganzhi.h"
#include "calendar/lunar_calendar.h"
#include "calendar/solar_terms.h"

namespace xuanshu {
namespace {

bool OnOrAfter(int year, int month, int day, int hour, const DateTime& term) {
  return std::tie(year, month, day, hour) >= std::tie(term.year, term.month, term.day, term.hour);
}

// 1-based position of a stem, 0 when the text is not a stem.
int StemPosition(TextView stem) {
  for (int i = 0; i < 10; ++i) {
    if (stem.size() == 1 && stem[0] == kStems[i]) return i + 1;
  }
  return 0;
}

// 1-based stem position of the 子 hour for a day stem position (五鼠遁):
// 甲己 → 甲, 乙庚 → 丙, 丙辛 → 戊, 丁壬 → 庚, 戊癸 → 壬; 0 for no stem.
int RatHourStemPosition(int dayStemPosition) {
  if (dayStemPosition == 0) return 0;
  const int s = dayStemPosition <= 5 ? dayStemPosition : dayStemPosition - 5;
  return 2 * s - 1;
}

// 1-based branch position of a clock hour: 23:00-0:59 子, 1:00-2:59 丑, …,
// 21:00-22:59 亥; 0 for hours that give no branch.
int HourBranchPosition(long long hour) {
  const long long b = (hour + 1) / 2 + 1;
  if (b == 12) return 12;
  const long long position = b % 12;
  return position >= 1 && position <= 12 ? static_cast<int>(position) : 0;
}

}  // namespace

Text YearPillar(int year, int month, int day, int hour) {
  const bool afterSpring = OnOrAfter(year, month, day, hour, TermMoment(year, 2));
  // The lunar year runs only within the table, so the year before INT_MIN
  // may as well be INT_MIN.
  const int lunarYear = afterSpring || year == INT_MIN ? year : year - 1;
  return GanZhiName(ToLunar(lunarYear, 6, 1).yearCount);
}

Text MonthPillar(int year, int month, int day, int hour) {
  const bool afterTerm = OnOrAfter(year, month, day, hour, OpeningTermMoment(year, month));
  return MonthPillarAround(year, month, afterTerm);
}

Text MonthPillarAround(int year, int month, bool afterTerm) {
  return GanZhiName(12LL * year + month - (afterTerm ? 22788 : 22789));
}

Text YearPillarAround(int year, bool afterSpring) {
  return GanZhiName(static_cast<long long>(year) - (afterSpring ? 1864 : 1865));
}

Text DayPillar(int year, int month, int day) {
  return GanZhiName(ToLunar(year, month, day).dayCount);
}

Text HourPillar(TextView dayStem, TextView hourText) {
  const int stem = RatHourStemPosition(StemPosition(dayStem));
  const int branch = HourBranchPosition(LeadingInt(hourText));
  if (stem == 0 || branch == 0) return {};
  return Text{kStems[(branch + stem - 2) % 10], kBranches[branch - 1]};
}

}  // namespace xuanshu
