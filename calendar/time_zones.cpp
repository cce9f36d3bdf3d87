// Each zone is a run of periods of constant UTC offset and daylight saving,
// binary-searched by their UTC start. A clock reading L (the local date-time
// counted as if it were UTC) belongs to a period when L - offset lies inside
// that period; as every offset is less than a day, only the periods within a
// day of L can hold it.
#include "calendar/time_zones.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <span>

#include "calendar/lunar_calendar.h"

namespace xuanshu {
namespace {

struct ZoneState {
  std::int32_t utcOffset;
  std::int32_t dst;
};

struct ZoneEntry {
  std::string_view name;
  std::uint32_t firstPeriod;
  std::uint32_t periodCount;
};

#include "calendar/time_zone_data.inc"

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kOffsetBound = kSecondsPerDay;  // every |offset| is below this

// The readings served, 1900-01-01 00:00 to 2050-12-31 23:59, counted as if UTC.
constexpr std::int64_t kFirstReading = -2208988800;
constexpr std::int64_t kLastReading = 2556143940;
static_assert(kFirstReading - kOffsetBound >= kCoveredFromUtc);
static_assert(kLastReading + kOffsetBound < kCoveredUntilUtc);

constexpr bool ZonesSortedByName() {
  return std::is_sorted(std::begin(kZones), std::end(kZones),
                        [](const ZoneEntry& a, const ZoneEntry& b) { return a.name < b.name; });
}
static_assert(ZonesSortedByName());

constexpr bool StatesWithinBounds() {
  for (const ZoneState& state : kZoneStates) {
    if (state.utcOffset <= -kOffsetBound || state.utcOffset >= kOffsetBound) return false;
    if (state.dst < 0 || state.dst >= kOffsetBound) return false;
  }
  for (const std::uint16_t index : kPeriodStates) {
    if (index >= std::size(kZoneStates)) return false;
  }
  return std::size(kPeriodStates) == std::size(kPeriodStarts);
}
static_assert(StatesWithinBounds());

// Every zone starts at the covered span and its periods follow in time order.
constexpr bool PeriodsWellFormed() {
  for (const ZoneEntry& zone : kZones) {
    if (zone.periodCount == 0 || zone.firstPeriod + zone.periodCount > std::size(kPeriodStarts)) {
      return false;
    }
    if (kPeriodStarts[zone.firstPeriod] != kCoveredFromUtc) return false;
    for (std::uint32_t i = zone.firstPeriod + 1; i < zone.firstPeriod + zone.periodCount; ++i) {
      if (kPeriodStarts[i] <= kPeriodStarts[i - 1] || kPeriodStarts[i] >= kCoveredUntilUtc) {
        return false;
      }
    }
  }
  return true;
}
static_assert(PeriodsWellFormed());

class ZonePeriods {
 public:
  explicit ZonePeriods(const ZoneEntry& zone)
      : starts_(kPeriodStarts + zone.firstPeriod, zone.periodCount),
        states_(kPeriodStates + zone.firstPeriod, zone.periodCount) {}

  // The period in force at `utc`, which is not before the covered span.
  std::size_t IndexAt(std::int64_t utc) const {
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), utc) -
                                    starts_.begin()) -
           1;
  }
  std::int64_t Start(std::size_t i) const { return starts_[i]; }
  std::int64_t End(std::size_t i) const {
    return i + 1 < starts_.size() ? starts_[i + 1] : kCoveredUntilUtc;
  }
  const ZoneState& State(std::size_t i) const { return kZoneStates[states_[i]]; }

  ZoneInstant InstantAt(std::int64_t utc, ClockReading reading, std::int64_t other) const {
    const ZoneState& state = State(IndexAt(utc));
    return {utc, state.utcOffset, state.dst, reading, other};
  }

 private:
  std::span<const std::int64_t> starts_;
  std::span<const std::uint16_t> states_;
};

std::optional<ZonePeriods> FindZone(std::string_view name) {
  const auto found =
      std::lower_bound(std::begin(kZones), std::end(kZones), name,
                       [](const ZoneEntry& zone, std::string_view key) { return zone.name < key; });
  if (found == std::end(kZones) || found->name != name) return std::nullopt;
  return ZonePeriods(*found);
}

bool IsServedReading(int year, int month, int day, int hour, int minute) {
  return year >= 1900 && year <= 2050 && month >= 1 && month <= 12 && day >= 1 &&
         day <= GregorianMonthDays(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59;
}

// The reading counted as if it were UTC, in seconds since 1970.
std::int64_t ReadingSeconds(int year, int month, int day, int hour, int minute) {
  static const long long kUnixEpochDay = DayNumber(1970, 1, 1);
  return (DayNumber(year, month, day) - kUnixEpochDay) * kSecondsPerDay + hour * 3600LL +
         minute * 60LL;
}

}  // namespace

bool IsKnownZone(std::string_view zone) {
  return FindZone(zone).has_value();
}

std::optional<ZoneInstant> ResolveClockReading(std::string_view zone, int year, int month, int day,
                                               int hour, int minute) {
  const std::optional<ZonePeriods> periods = FindZone(zone);
  if (!periods || !IsServedReading(year, month, day, hour, minute)) return std::nullopt;
  const std::int64_t local = ReadingSeconds(year, month, day, hour, minute);
  const std::size_t first = periods->IndexAt(local - kOffsetBound);
  const std::size_t last = periods->IndexAt(local + kOffsetBound);

  std::optional<std::int64_t> taken;
  for (std::size_t i = first; i <= last; ++i) {
    const std::int64_t utc = local - periods->State(i).utcOffset;
    if (utc < periods->Start(i) || utc >= periods->End(i)) continue;
    if (taken) return periods->InstantAt(*taken, ClockReading::kRepeated, utc);
    taken = utc;
  }
  if (taken) return periods->InstantAt(*taken, ClockReading::kUnique, *taken);

  // No period holds the reading: the clock jumped over it at one change.
  for (std::size_t i = first + 1; i <= last; ++i) {
    const std::int64_t before = periods->State(i - 1).utcOffset;
    const std::int64_t after = periods->State(i).utcOffset;
    if (periods->Start(i) + before <= local && local < periods->Start(i) + after) {
      return periods->InstantAt(local - before, ClockReading::kSkipped, local - after);
    }
  }
  return std::nullopt;  // unreachable: the clock shows every reading it does not jump over
}

std::optional<ZoneInstant> ZoneStateAt(std::string_view zone, std::int64_t utcSeconds) {
  const std::optional<ZonePeriods> periods = FindZone(zone);
  if (!periods || utcSeconds < kCoveredFromUtc || utcSeconds >= kCoveredUntilUtc) {
    return std::nullopt;
  }
  return periods->InstantAt(utcSeconds, ClockReading::kUnique, utcSeconds);
}

}  // namespace xuanshu
