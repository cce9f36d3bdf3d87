// The 24 solar terms by the closed formula, and the sectional terms (节)
// around a birth moment.
#pragma once

#include <array>

#include "calendar/date_time.h"
#include "record/text.h"

namespace xuanshu {

// 小寒 … 冬至; even indices are the sectional terms.
extern const std::array<TextView, 24> kSolarTermNames;

// Moment of term `index` (0-23) in Gregorian year `year`, with seconds and milliseconds.
DateTime TermMoment(int year, int index);

// The sectional term (节) that opens Gregorian month `month`, index 2 * month - 2;
// a month outside 1-12 carries into the year.
DateTime OpeningTermMoment(int year, int month);

struct NearTerm {
  Text name;
  DateTime moment;
  long long minutes = 0;  // whole minutes between birth and the term, never negative
};

// direction -1: the sectional term before birth; +1: the one after.
// Any other direction, or a birth that is no real date and time, gives an
// empty name and 0 minutes.
NearTerm SectionalTermNear(int year, int month, int day, int hour, int minute, int direction);

}  // namespace xuanshu
