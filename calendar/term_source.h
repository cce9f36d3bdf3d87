// Where the solar terms of a chart come from, chosen once per chart:
//  - the closed formula, whose moments are plain clock times (taken as
//    Beijing time) compared with the birth by clock hours only;
//  - the astronomical table, whose moments are real instants, shown in
//    Beijing time and compared with the birth to the minute.
// Both decide the year pillar at 立春 and the month pillar at the sectional
// term (节) opening each Gregorian month.
#pragma once

#include <cstdint>
#include <string_view>

#include "calendar/birth_moment.h"
#include "calendar/solar_terms.h"
#include "calendar/zi_school.h"

namespace xuanshu {

class TermSource {
 public:
  virtual ~TermSource() = default;

  virtual std::string_view key() const = 0;  // "formula" or "astronomical"
  virtual TextView label() const = 0;        // as the report names it

  // Moment of term `index` (0 小寒 … 23 冬至; others carry into the
  // neighbouring years) of Gregorian year `year`, as Beijing-time seconds.
  virtual std::int64_t TermSeconds(int year, int index) const = 0;

  // The sectional term before (-1) or after (+1) the birth, with the whole
  // minutes between them.
  virtual NearTerm Near(const BirthMoment& birth, int direction) const = 0;

  // The year and month pillars of a birth. The formula compares the date a
  // late 子 hour belongs to under `school`; the table compares the instant.
  virtual Text YearPillar(const BirthMoment& birth, const ZiSchool& school) const = 0;
  virtual Text MonthPillar(const BirthMoment& birth, const ZiSchool& school) const = 0;
};

const TermSource& FormulaTermSource();
const TermSource& AstronomicalTermSource();
// nullptr for an unknown key.
const TermSource* TermSourceByKey(std::string_view key);

}  // namespace xuanshu
