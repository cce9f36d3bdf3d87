// The four pillars of a placed birth: the year and month pillars from the
// term source, the day and hour pillars from the time that decides the day
// (true solar time when the birthplace is known) under a 子 hour school.
#pragma once

#include "calendar/birth_moment.h"
#include "calendar/term_source.h"
#include "calendar/zi_school.h"
#include "record/text.h"

namespace xuanshu {

struct FourPillars {
  Text year, month, day, hour;
  friend bool operator==(const FourPillars&, const FourPillars&) = default;
};

// The day pillar of a local time under a 子 school.
Text DayPillarAt(const CivilTime& local, const ZiSchool& school);
// The hour pillar of a local time: 23:00-23:59 is the next day's 子 hour in
// every school.
Text HourPillarAt(const CivilTime& local);

FourPillars PillarsOfBirth(const BirthMoment& birth, const TermSource& terms,
                           const ZiSchool& school);

}  // namespace xuanshu
