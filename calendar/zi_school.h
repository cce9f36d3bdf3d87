// The two schools of the late 子 hour (23:00-23:59). Both give that hour the
// 子 hour pillar of the next day; they differ on the day itself.
//  - next-day (子初换日): the day changes at 23:00, so the day pillar and the
//    lunar date are the next day's.
//  - same-day (子正换日, 夜子时): the day changes at midnight, so the day
//    pillar and the lunar date stay those of the date.
#pragma once

#include <string_view>

#include "calendar/lunar_calendar.h"
#include "record/text.h"

namespace xuanshu {

struct ZiSchool {
  std::string_view key;  // as written in settings, records and on the command line
  TextView name;         // 子初换日 / 子正换日
  TextView explanation;  // what the name means, as the report adds it
  bool lateHourStartsNextDay;

  // The date whose day pillar and lunar date a birth at (date, hour) takes.
  CivilDate DayOf(const CivilDate& date, int hour) const {
    return lateHourStartsNextDay && hour >= 23 ? NextDay(date.year, date.month, date.day, true)
                                               : date;
  }
};

inline constexpr ZiSchool kNextDayZiSchool{"next-day", u"子初换日", u"（23时起为次日）", true};
inline constexpr ZiSchool kSameDayZiSchool{"same-day", u"子正换日",
                                           u"（夜子时：23时至24时仍为当日）", false};

// nullptr for an unknown key.
const ZiSchool* ZiSchoolByKey(std::string_view key);

}  // namespace xuanshu
