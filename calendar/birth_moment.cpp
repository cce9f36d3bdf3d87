#include "calendar/birth_moment.h"

#include "calendar/solar_time.h"

namespace xuanshu {
namespace {

BirthMoment OnFixedOffset(const CivilTime& clock, std::int64_t offsetSeconds) {
  BirthMoment moment;
  moment.clock = clock;
  moment.standard = clock;
  moment.utcSeconds = SecondsOf(clock) - offsetSeconds;
  moment.otherUtcSeconds = moment.utcSeconds;
  return moment;
}

BirthMoment InZone(const CivilTime& clock, const BirthPlace& place) {
  const auto resolved =
      ResolveClockReading(place.zone, clock.year, clock.month, clock.day, clock.hour, clock.minute);
  if (!resolved) return OnFixedOffset(clock, place.fixedOffsetSeconds);
  if (!place.removeDaylightSaving) {
    // The clock counts as the zone's standard time of that moment.
    return OnFixedOffset(clock, resolved->utcOffsetSeconds - resolved->dstSeconds);
  }
  BirthMoment moment;
  moment.clock = clock;
  moment.utcSeconds = resolved->utcSeconds;
  moment.daylightSavingSeconds = resolved->dstSeconds;
  moment.standard = CivilTimeOf(SecondsOf(clock) - resolved->dstSeconds);
  moment.reading = resolved->reading;
  moment.otherUtcSeconds = resolved->otherUtcSeconds;
  return moment;
}

}  // namespace

BirthMoment ResolveBirthMoment(const CivilTime& clock, const BirthPlace& place) {
  BirthMoment moment =
      place.zone.empty() ? OnFixedOffset(clock, place.fixedOffsetSeconds) : InZone(clock, place);
  moment.beijing = CivilTimeOf(moment.utcSeconds + kBeijingOffsetSeconds);
  if (place.longitude) {
    moment.trueSolar = CivilTimeOf(TrueSolarSeconds(moment.utcSeconds, *place.longitude));
  }
  return moment;
}

}  // namespace xuanshu
