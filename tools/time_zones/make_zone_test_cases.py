#!/usr/bin/env python3
"""Writes the expected values of tests/calendar/time_zones_test.cpp into
tests/calendar/data/: clock readings and UTC instants of a set of zones, with
the offset and daylight saving in force, computed by Python's zoneinfo on the
system's tzdata, independently of calendar/time_zone_data.inc and its maker.

    python3 tools/time_zones/make_zone_test_cases.py

time_zone_readings.tsv: zone, date, time, kind, utc, offset, dst, other
  A reading of each minute around every change of the edge zones, plus random
  readings of all test zones. fold=0 gives the instant taken (the offset before
  a change, for a skipped or a repeated reading) and fold=1 the other one.
time_zone_states.tsv: zone, utc, offset, dst
  The second before and the second of every change of the edge zones, plus
  random instants of all test zones.

zoneinfo's dst() guesses the amount from neighbouring transitions and is wrong
in a few periods; those rows take the amount from the tzdata source instead
(ZONEINFO_DST_FAULTS below, each checked by hand against the Zone and Rule
lines), and the script stops if a listed fault no longer occurs.
"""

import calendar
from datetime import datetime, timezone
from pathlib import Path
from zoneinfo import ZoneInfo

ROOT = Path(__file__).resolve().parents[2]
DATA = ROOT / "tests" / "calendar" / "data"

# Zones every birthplace list has: China's four and big cities worldwide.
TEST_ZONES = [
    "Asia/Shanghai", "Asia/Hong_Kong", "Asia/Macau", "Asia/Taipei", "Asia/Urumqi",
    "Asia/Singapore", "Asia/Kuala_Lumpur", "Asia/Jakarta", "Asia/Bangkok", "Asia/Manila",
    "Asia/Ho_Chi_Minh", "Asia/Tokyo", "Asia/Seoul", "Asia/Kolkata", "Asia/Dubai",
    "Europe/London", "Europe/Dublin", "Europe/Paris", "Europe/Berlin", "Europe/Moscow",
    "America/New_York", "America/Chicago", "America/Los_Angeles", "America/Toronto",
    "America/Vancouver", "America/Sao_Paulo", "America/Argentina/Buenos_Aires", "America/Lima",
    "America/Panama", "Africa/Johannesburg", "Indian/Mauritius", "Indian/Antananarivo",
    "Australia/Sydney", "Australia/Perth", "Pacific/Auckland",
]

# Zones whose changes are all tested minute by minute, with the years looked at.
EDGE_ZONES = {
    "Asia/Shanghai": (1900, 2050), "Asia/Hong_Kong": (1900, 2050),
    "Asia/Macau": (1900, 2050), "Asia/Taipei": (1900, 2050),
    "Asia/Singapore": (1900, 2050), "America/New_York": (1995, 2012),
    "Australia/Sydney": (1995, 2012), "Europe/Dublin": (1966, 1973),
    "Europe/London": (1940, 1948),
}

RANDOM_READINGS = 800
RANDOM_STATES = 400

# (zone, UTC span [from, until), {(offset, zoneinfo dst): tzdata's dst}, a day
# within it, why); the day's noon UTC joins the state rows.
ZONEINFO_DST_FAULTS = [
    ("Asia/Hong_Kong", ("1941-09-30", "1941-12-26"), {(30600, -1800): 1800}, "1941-11-01",
     "1941 war time: +8:30 is standard +8 with 0:30 saving (8 0:30 HKWT)"),
    ("Europe/Dublin", ("1971-10-31 02:00", "2052-01-01"), {(0, -3600): 0, (3600, 0): 3600}, "2001-07-01",
     "tzdata writes Irish winter time as -1:00 saving; summer counts as the saving"),
    ("Europe/London", ("1941-05-01", "1947-08-11"), {(7200, 3600): 7200}, "1944-06-06",
     "British double summer time: GMT with 2:00 saving (BDST)"),
    ("Europe/Paris", ("1944-08-24", "1945-09-17"), {(7200, 3600): 7200}, "1945-05-08",
     "after the liberation: WET with 2:00 saving (WEMT)"),
    ("Europe/Berlin", ("1945-05-24", "1947-06-30"), {(10800, 3600): 7200}, "1947-06-01",
     "midsummer time: CET with 2:00 saving (CEMT)"),
    ("Europe/Moscow", ("1921-03-20", "1921-09-01"), {(18000, 3600): 7200}, "1921-06-01",
     "1921: MSK +3 with 2:00 saving (MDST)"),
]

FIRST_READING = calendar.timegm((1900, 1, 1, 0, 0, 0))
LAST_READING = calendar.timegm((2050, 12, 31, 23, 59, 0))
COVERED_FROM = calendar.timegm((1899, 12, 31, 0, 0, 0))
COVERED_UNTIL = calendar.timegm((2051, 1, 2, 0, 0, 0))

used_faults = set()


def raw_state(zone, utc):
    moment = datetime.fromtimestamp(utc, timezone.utc).astimezone(ZoneInfo(zone))
    return int(moment.utcoffset().total_seconds()), int(moment.dst().total_seconds())


def day_utc(text):
    """'YYYY-MM-DD' or 'YYYY-MM-DD hh:mm', UTC, in seconds since 1970."""
    form = "%Y-%m-%d %H:%M" if " " in text else "%Y-%m-%d"
    return calendar.timegm(datetime.strptime(text, form).timetuple())


def true_dst(zone, utc, offset, dst):
    for i, (name, (since, until), fixes, _, _) in enumerate(ZONEINFO_DST_FAULTS):
        if name == zone and day_utc(since) <= utc < day_utc(until) and (offset, dst) in fixes:
            used_faults.add(i)
            return fixes[(offset, dst)]
    if dst < 0:
        raise SystemExit(f"{zone} at {utc}: zoneinfo gives dst {dst}; add it to the faults")
    return dst


def state(zone, utc):
    offset, dst = raw_state(zone, utc)
    return offset, true_dst(zone, utc, offset, dst)


def changes(zone):
    """UTC instants at which zoneinfo's (offset, dst) changes in the covered span."""
    found, step = [], 6 * 3600
    previous = raw_state(zone, COVERED_FROM)
    t = COVERED_FROM
    while t < COVERED_UNTIL:
        current = raw_state(zone, t + step)
        if current != previous:
            low, high = t, t + step  # state(low) == previous, state(high) != previous
            while high - low > 1:
                middle = (low + high) // 2
                if raw_state(zone, middle) == previous:
                    low = middle
                else:
                    high = middle
            found.append(high)
            previous = raw_state(zone, high)
            t = high
        else:
            t += step
    return found


def resolve(zone, local):
    """(kind, utc, offset, dst, other) of a reading, counted as if UTC."""
    y, mo, d, h, mi, _ = datetime.fromtimestamp(local, timezone.utc).timetuple()[:6]
    tz = ZoneInfo(zone)
    first = int(datetime(y, mo, d, h, mi, tzinfo=tz, fold=0).timestamp())
    second = int(datetime(y, mo, d, h, mi, tzinfo=tz, fold=1).timestamp())
    if first == second:
        kind = "unique"
    else:
        shown = datetime.fromtimestamp(first, tz).replace(tzinfo=None)
        kind = "repeated" if shown == datetime(y, mo, d, h, mi) else "skipped"
    offset, dst = state(zone, first)
    return kind, first, offset, dst, second


def edge_readings(zone, years):
    readings = set()
    for t in changes(zone):
        before = raw_state(zone, t - 1)[0]
        after = raw_state(zone, t)[0]
        low, high = t + min(before, after), t + max(before, after)
        floor = lambda s: s - s % 60
        ceil = lambda s: floor(s + 59)
        for local in (floor(low) - 60, ceil(low), floor(high - 1), ceil(high)):
            year = datetime.fromtimestamp(local, timezone.utc).year
            if years[0] <= year <= years[1] and FIRST_READING <= local <= LAST_READING:
                readings.add(local)
    return sorted(readings)


class Lcg:
    """A fixed pseudo-random sequence, the same on every Python."""

    def __init__(self, seed):
        self.value = seed

    def below(self, bound):
        self.value = (self.value * 6364136223846793005 + 1442695040888963407) % 2**64
        return (self.value >> 17) % bound


def write(path, header, rows):
    path.write_text("\n".join([header] + ["\t".join(map(str, row)) for row in rows]) + "\n",
                    encoding="utf-8")


def main():
    version = Path("/usr/share/zoneinfo/tzdata.zi").read_text().splitlines()[0].split()[-1]
    note = ("# Generated by tools/time_zones/make_zone_test_cases.py with Python zoneinfo, "
            f"tzdata {version}")
    random = Lcg(1988)

    readings = []
    for zone, years in EDGE_ZONES.items():
        readings += [(zone, local) for local in edge_readings(zone, years)]
    minutes = (LAST_READING - FIRST_READING) // 60 + 1
    for _ in range(RANDOM_READINGS):
        zone = TEST_ZONES[random.below(len(TEST_ZONES))]
        readings.append((zone, FIRST_READING + 60 * random.below(minutes)))
    reading_rows = []
    for zone, local in readings:
        kind, utc, offset, dst, other = resolve(zone, local)
        when = datetime.fromtimestamp(local, timezone.utc)
        reading_rows.append((zone, when.strftime("%Y-%m-%d"), when.strftime("%H:%M"), kind, utc,
                             offset, dst, other))

    instants = []
    for zone, (first, last) in EDGE_ZONES.items():
        edges = [t for t in changes(zone)
                 if first <= datetime.fromtimestamp(t, timezone.utc).year <= last]
        instants += [(zone, u) for t in edges for u in (t - 1, t)]
    for zone, _, _, day, _ in ZONEINFO_DST_FAULTS:
        instants.append((zone, day_utc(day) + 12 * 3600))
    for _ in range(RANDOM_STATES):
        zone = TEST_ZONES[random.below(len(TEST_ZONES))]
        instants.append((zone, COVERED_FROM + random.below(COVERED_UNTIL - COVERED_FROM)))
    state_rows = [(zone, utc) + state(zone, utc) for zone, utc in instants]

    unused = set(range(len(ZONEINFO_DST_FAULTS))) - used_faults
    if unused:
        stale = [ZONEINFO_DST_FAULTS[i][:2] for i in sorted(unused)]
        raise SystemExit(f"faults that no longer occur: {stale}")
    DATA.mkdir(parents=True, exist_ok=True)
    write(DATA / "time_zone_readings.tsv",
          note + "\n# zone\tdate\ttime\tkind\tutc\toffset\tdst\tother", reading_rows)
    write(DATA / "time_zone_states.tsv", note + "\n# zone\tutc\toffset\tdst", state_rows)
    print(f"{len(reading_rows)} readings, {len(state_rows)} states")


if __name__ == "__main__":
    main()
