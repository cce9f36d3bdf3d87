// Where a birth lies in time. The user enters a clock reading; the place
// says which zone (with its daylight saving) that clock kept and where the
// sun stood. From these come the instant of birth (compared with the solar
// terms), Beijing time (in which the almanac states the terms) and the true
// solar time of the birthplace (which decides the day and hour pillars).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "calendar/civil_time.h"
#include "calendar/time_zones.h"
#include "record/text.h"

namespace xuanshu {

struct BirthPlace {
  Text label;  // "乌鲁木齐（新疆）"; empty when only a longitude is known
  std::optional<double> longitude;  // degrees, east positive; none: no true solar time
  std::string zone;                 // IANA zone; empty: the fixed offset below
  std::int64_t fixedOffsetSeconds = kBeijingOffsetSeconds;
  bool removeDaylightSaving = true;  // false: the clock is read as standard time

  // No place at all: the clock is Beijing time and decides every pillar.
  bool IsUnset() const {
    return label.empty() && !longitude && zone.empty() &&
           fixedOffsetSeconds == kBeijingOffsetSeconds;
  }
};

struct BirthMoment {
  CivilTime clock;     // as entered
  CivilTime standard;  // the clock with daylight saving taken off
  std::int64_t utcSeconds = 0;
  CivilTime beijing;  // the instant in Beijing time
  std::optional<CivilTime> trueSolar;
  std::int64_t daylightSavingSeconds = 0;  // taken off the clock
  ClockReading reading = ClockReading::kUnique;
  std::int64_t otherUtcSeconds = 0;  // the other instant of a skipped or repeated reading

  // The time that decides the day and hour pillars and the late 子 hour.
  const CivilTime& DayFrame() const { return trueSolar ? *trueSolar : standard; }
};

BirthMoment ResolveBirthMoment(const CivilTime& clock, const BirthPlace& place);

}  // namespace xuanshu
