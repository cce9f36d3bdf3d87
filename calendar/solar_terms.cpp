// The 24 solar terms by a closed formula: a fixed minute offset within the
// term year plus whole tropical years from the 小寒 of 1900. Moments are
// counted in 100-nanosecond ticks on the proleptic Gregorian calendar from
// 1601-01-01, and every moment is the plain local time of the birth place.
#include "calendar/solar_terms.h"

#include <cmath>
#include <cstdlib>

#include "calendar/lunar_calendar.h"

namespace xuanshu {

const std::array<TextView, 24> kSolarTermNames = {
    u"小寒", u"大寒", u"立春", u"雨水", u"惊蛰", u"春分", u"清明", u"谷雨",
    u"立夏", u"小满", u"芒种", u"夏至", u"小暑", u"大暑", u"立秋", u"处暑",
    u"白露", u"秋分", u"寒露", u"霜降", u"立冬", u"小雪", u"大雪", u"冬至"};

namespace {

// Minutes from the start of the term year to each term, 小寒 first.
constexpr std::array<long long, 24> kTermMinuteOffsets = {
    0,      21208,  42467,  63836,  85337,  107014, 128867, 150921, 173149, 195551, 218072, 240693,
    263343, 285989, 308563, 331033, 353350, 375494, 397447, 419210, 440795, 462224, 483532, 504758};

constexpr double kTropicalYearMs = 31556925974.7;
constexpr long long kTicksPerMs = 10000;
constexpr long long kTicksPerSecond = 1000 * kTicksPerMs;
constexpr long long kTicksPerMinute = 60 * kTicksPerSecond;
constexpr long long kTicksPerHour = 60 * kTicksPerMinute;
constexpr long long kTicksPerDay = 24 * kTicksPerHour;
constexpr double kMsPerDay = 86400000.0;
constexpr double kHalfSecondInDays = 1.0 / 172800.0;

constexpr long long FloorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long DaysSinceTickEpoch(int year, int month, int day) {
  return DayNumber(year, month, day) - DayNumber(1601, 1, 1);
}

long long TicksOf(int year, int month, int day, long long hour, long long minute, long long second,
                  long long millisecond) {
  return DaysSinceTickEpoch(year, month, day) * kTicksPerDay + hour * kTicksPerHour +
         minute * kTicksPerMinute + second * kTicksPerSecond + millisecond * kTicksPerMs;
}

long long TicksOf(const DateTime& t) {
  return TicksOf(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
}

// Civil date of a day count since 1970-01-01 (Hinnant's civil_from_days).
void CivilFromDays(long long z, DateTime& out) {
  z += 719468;
  const long long era = FloorDiv(z, 146097);
  const long long doe = z - era * 146097;                                       // [0, 146096]
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const long long mp = (5 * doy + 2) / 153;                                     // [0, 11]
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);                     // [1, 31]
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);                      // [1, 12]
  out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
}

DateTime FromTicks(long long ticks) {
  const long long days = FloorDiv(ticks, kTicksPerDay);
  long long rest = ticks - days * kTicksPerDay;  // [0, kTicksPerDay)
  DateTime t;
  CivilFromDays(days - DaysSinceTickEpoch(1970, 1, 1), t);
  t.dayOfWeek = static_cast<int>((days % 7 + 8) % 7);  // 1601-01-01 was a Monday
  t.hour = static_cast<int>(rest / kTicksPerHour);
  rest %= kTicksPerHour;
  t.minute = static_cast<int>(rest / kTicksPerMinute);
  rest %= kTicksPerMinute;
  t.second = static_cast<int>(rest / kTicksPerSecond);
  rest %= kTicksPerSecond;
  t.millisecond = static_cast<int>(rest / kTicksPerMs);
  return t;
}

// The 小寒 of 1900, from which every term is counted.
long long BaseTicks() {
  static const long long ticks = TicksOf(1900, 1, 6, 2, 5, 0, 0);
  return ticks;
}

// The birth fields the platform's tick conversion accepts: a real date and
// time within years 1601-30827.
bool IsTickableMoment(int year, int month, int day, int hour, int minute) {
  return year >= 1601 && year <= 30827 && month >= 1 && month <= 12 && day >= 1 &&
         day <= GregorianMonthDays(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59;
}

// Keeps a wildly out-of-range year from overflowing the tick count.
double ClampTicks(double ticks) {
  constexpr double kLimit = 9.0e18;
  if (std::isnan(ticks)) return 0;
  return ticks < -kLimit ? -kLimit : (ticks > kLimit ? kLimit : ticks);
}

// Whole units (hours or minutes) from `to` until `from`, counted the way a
// difference of day fractions is: half a second is added away from zero and
// the product is truncated toward zero.
long long WholeUnitsBetween(long long fromTicks, const DateTime& to, double unitsPerDay) {
  const long long ms = FloorDiv(fromTicks, kTicksPerMs) - FloorDiv(TicksOf(to), kTicksPerMs);
  double days = static_cast<double>(ms) / kMsPerDay;
  days += days >= 0 ? kHalfSecondInDays : -kHalfSecondInDays;
  return static_cast<long long>(std::trunc(days * unitsPerDay));
}

}  // namespace

DateTime TermMoment(int year, int index) {
  const long long termYear = year + FloorDiv(index, 24);
  const long long termIndex = index - 24 * FloorDiv(index, 24);  // [0, 23]
  const long long ms = kTermMinuteOffsets[termIndex] * 60000;
  const double span =
      (static_cast<double>(ms) + static_cast<double>(termYear - 1900) * kTropicalYearMs) * 10000;
  const double sum = static_cast<double>(BaseTicks()) + span;
  return FromTicks(static_cast<long long>(ClampTicks(sum)));
}

DateTime OpeningTermMoment(int year, int month) {
  const long long carry = FloorDiv(month - 1LL, 12);
  const int monthInYear = static_cast<int>(month - 1LL - 12 * carry) + 1;  // [1, 12]
  return TermMoment(static_cast<int>(year + carry), 2 * monthInYear - 2);
}

NearTerm SectionalTermNear(int year, int month, int day, int hour, int minute, int direction) {
  NearTerm near;
  if (direction != -1 && direction != 1) return near;
  if (!IsTickableMoment(year, month, day, hour, minute)) return near;
  const long long birth = TicksOf(year, month, day, hour, minute, 0, 0);
  const DateTime opening = OpeningTermMoment(year, month);
  // Truncation makes a birth in the last hour before the opening term count
  // as after it.
  const bool afterOpening = WholeUnitsBetween(birth, opening, 24) >= 0;
  if (direction < 0) {
    near.moment = afterOpening ? opening : OpeningTermMoment(opening.year, opening.month - 1);
  } else {
    near.moment = afterOpening ? OpeningTermMoment(opening.year, opening.month + 1) : opening;
  }
  near.name = Text(kSolarTermNames[2 * near.moment.month - 2]);
  near.minutes = std::llabs(WholeUnitsBetween(birth, near.moment, 1440));
  return near;
}

}  // namespace xuanshu
