#include "calendar/civil_time.h"

namespace xuanshu {

std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year += FloorDivide(month - 1, 12);
  month -= 12 * FloorDivide(month - 1, 12);  // [1, 12]
  year -= month <= 2;
  const std::int64_t era = FloorDivide(year, 400);
  const std::int64_t yoe = year - era * 400;  // [0, 399]
  const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
  return era * 146097 + doe - 719468;
}

std::int64_t SecondsOf(const CivilTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * kSecondsPerHour +
         t.minute * kSecondsPerMinute + t.second;
}

CivilTime CivilTimeOf(std::int64_t seconds) {
  const std::int64_t days = FloorDivide(seconds, kSecondsPerDay);
  std::int64_t rest = seconds - days * kSecondsPerDay;  // [0, 86399]
  const std::int64_t z = days + 719468;
  const std::int64_t era = FloorDivide(z, 146097);
  const std::int64_t doe = z - era * 146097;                                       // [0, 146096]
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const std::int64_t mp = (5 * doy + 2) / 153;                                     // [0, 11]
  CivilTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);  // [1, 31]
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);   // [1, 12]
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(rest / kSecondsPerHour);
  rest %= kSecondsPerHour;
  t.minute = static_cast<int>(rest / kSecondsPerMinute);
  t.second = static_cast<int>(rest % kSecondsPerMinute);
  return t;
}

}  // namespace xuanshu
