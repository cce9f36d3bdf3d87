#include "calendar/birth_pillars.h"

#include "calendar/four_pillars.h"
#include "calendar/ganzhi.h"

namespace xuanshu {

Text DayPillarAt(const CivilTime& local, const ZiSchool& school) {
  const CivilDate date = school.DayOf({local.year, local.month, local.day}, local.hour);
  return DayPillar(date.year, date.month, date.day);
}

Text HourPillarAt(const CivilTime& local) {
  return HourPillar(StemOf(DayPillarAt(local, kNextDayZiSchool)), Num(local.hour));
}

FourPillars PillarsOfBirth(const BirthMoment& birth, const TermSource& terms,
                           const ZiSchool& school) {
  const CivilTime& local = birth.DayFrame();
  return {terms.YearPillar(birth, school), terms.MonthPillar(birth, school),
          DayPillarAt(local, school), HourPillarAt(local)};
}

}  // namespace xuanshu
