// From four pillars back to the moments of birth (八字反查): every run of
// clock minutes in 1901-2049 whose pillars are exactly the four, as a chart
// without a birthplace computes them, so the clock is Beijing time, under a
// term source and a 子 hour school.
//
// A run is at most the two hours of the hour branch. It is cut where a 节
// (立春 for the year) or the day changes inside it: at the term's minute
// with the astronomical table, at a whole clock hour with the formula (which
// compares clock hours only, so a late 子 hour before a term on the next day
// may take the new month while the 子 hour after midnight keeps the old).
// The 子 hour 23:00-00:59 is one run under the next-day school; under the
// same-day school 23:00-23:59 keeps its date's day pillar, so it is a run of
// its own with the next day's 子 hour stem.
#pragma once

#include <vector>

#include "calendar/birth_pillars.h"
#include "calendar/civil_time.h"
#include "calendar/term_source.h"
#include "calendar/zi_school.h"
#include "record/text.h"

namespace xuanshu {

// The first and last minute of a run, seconds 0; `last` falls on the next
// date when the run spans midnight.
struct BirthWindow {
  CivilTime first;
  CivilTime last;
  friend bool operator==(const BirthWindow&, const BirthWindow&) = default;
};

// The runs in time order. Each is maximal: the minutes just before and after
// it have other pillars or lie outside 1901-2049. Pillars that no birth can
// have (see CheckFourPillars) give none.
std::vector<BirthWindow> FindBirthWindows(const FourPillars& pillars, const TermSource& terms,
                                          const ZiSchool& school);

// "1990-05-17 23:00–00:59" (an en dash): the first minute's date, the first
// and last minute's clock times.
Text BirthWindowText(const BirthWindow& window);

}  // namespace xuanshu
