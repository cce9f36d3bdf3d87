// The four pillars of a birth moment. The year changes at 立春, the month at
// the sectional term opening each Gregorian month; only clock hours are
// compared with a term moment.
#pragma once

#include "record/text.h"

namespace xuanshu {

Text YearPillar(int year, int month, int day, int hour);
Text MonthPillar(int year, int month, int day, int hour);
Text DayPillar(int year, int month, int day);
// The pillar of a birth in Gregorian month (year, month) on or after the
// sectional term opening it, or before it; likewise the year pillar of a
// birth in `year` on or after 立春, or before it.
Text MonthPillarAround(int year, int month, bool afterTerm);
Text YearPillarAround(int year, bool afterSpring);
// Empty when the day stem is not a stem or the hour text gives no branch.
Text HourPillar(TextView dayStem, TextView hourText);

}  // namespace xuanshu
