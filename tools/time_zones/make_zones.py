#!/usr/bin/env python3
"""Writes calendar/time_zone_data.inc: for each birthplace zone, the periods of
constant UTC offset and daylight saving from 1900 to 2050.

    python3 tools/time_zones/make_zones.py [EXTRA_ZONE ...]

Zones: the `zone` column of tools/places/places.tsv, and the zones of
tools/time_zones/zones_provisional.txt (cities abroad the tests name); always the zones of mainland
China, Hong Kong, Macau and Taiwan; plus the zones named on the command line;
plus every tzdata link name (Asia/Chongqing, PRC, Asia/Calcutta ...) whose
target is one of them.

Sources, both from the system's tzdata (Debian package tzdata):
- `zdump -v` gives every transition with its total UTC offset and isdst flag,
  read from the compiled zone files, including the years after the files'
  last explicit transition.
- The Zone lines of /usr/share/zoneinfo/tzdata.zi give the standard offset in
  force (STDOFF); the daylight-saving amount of a period is its total offset
  minus that standard offset. Python's zoneinfo dst() is no substitute: it
  guesses the amount from neighbouring transitions and gives -0:30 for Hong
  Kong's 1941 war time (+8:30 on standard +8).
- Where tzdata.zi uses negative daylight saving, the amount is put the way
  tzdata's own "rearguard" form has it: a period of negative saving is
  standard time (Irish winters since 1971, Czechoslovakia's winter of
  1946-47), and a period of zero saving between two of negative saving in the
  same Zone line is daylight saving of their amount (Irish summers since
  1972); Ireland's +1 of 1968-1971 stays standard time.

The same tzdata gives a byte-identical file.
"""

import calendar
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
PLACES = ROOT / "tools" / "places" / "places.tsv"
PROVISIONAL = ROOT / "tools" / "time_zones" / "zones_provisional.txt"
OUTPUT = ROOT / "calendar" / "time_zone_data.inc"
TZDATA_ZI = Path("/usr/share/zoneinfo/tzdata.zi")

ALWAYS = ["Asia/Shanghai", "Asia/Hong_Kong", "Asia/Macau", "Asia/Taipei"]

# Covered UTC span: every local reading of 1900-2050 at any offset up to a day.
COVERED_FROM = calendar.timegm((1899, 12, 31, 0, 0, 0))
COVERED_UNTIL = calendar.timegm((2051, 1, 2, 0, 0, 0))

MONTHS = ["january", "february", "march", "april", "may", "june", "july", "august",
          "september", "october", "november", "december"]
WEEKDAYS = ["monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"]


def fail(message):
    sys.exit(f"make_zones.py: {message}")


# ---------------------------------------------------------------- zone list

def zones_from_places(path):
    lines = path.read_text(encoding="utf-8").splitlines()
    header = lines[0].split("\t")
    if "zone" not in header:
        fail(f"{path}: no 'zone' column in the header")
    column = header.index("zone")
    return [line.split("\t")[column].strip() for line in lines[1:] if line.strip()]


def zones_from_provisional(path):
    zones = []
    for line in path.read_text(encoding="utf-8").splitlines():
        name = line.split("#", 1)[0].strip()
        if name:
            zones.append(name)
    return zones


def wanted_zones(extra):
    listed = zones_from_provisional(PROVISIONAL)
    if PLACES.exists():
        listed += zones_from_places(PLACES)
    return sorted(set(ALWAYS) | set(listed) | set(extra))


# ---------------------------------------------------------------- tzdata.zi

def parse_hms(text):
    """'8:5:43' -> seconds; '-' counts as 0."""
    if text == "-":
        return 0
    sign = -1 if text.startswith("-") else 1
    parts = [int(p) for p in text.lstrip("-").split(":")]
    parts += [0] * (3 - len(parts))
    return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2])


def match_name(text, names):
    hits = [i for i, name in enumerate(names) if name.startswith(text.lower())]
    if len(hits) != 1:
        fail(f"unclear name {text!r} in tzdata.zi")
    return hits[0]


def until_day(year, month, day_rule):
    """Day of month of an UNTIL day field: 15, lastSu, Su>=8, Sa<=25."""
    if day_rule.isdigit():
        return int(day_rule)
    if day_rule.startswith("last"):
        weekday = match_name(day_rule[4:], WEEKDAYS)
        last = calendar.monthrange(year, month)[1]
        return max(d for d in range(last - 6, last + 1) if calendar.weekday(year, month, d) == weekday)
    found = re.fullmatch(r"([A-Za-z]+)([<>]=)(\d+)", day_rule)
    if not found:
        fail(f"unknown day {day_rule!r} in tzdata.zi")
    weekday = match_name(found.group(1), WEEKDAYS)
    anchor = int(found.group(3))
    step = 1 if found.group(2) == ">=" else -1
    day = anchor
    while calendar.weekday(year, month, day) != weekday:
        day += step
    return day


def parse_until(fields):
    """UNTIL fields -> (local seconds as if UTC, suffix 'w', 's' or 'u'), or None."""
    if not fields:
        return None
    year = int(fields[0])
    month = match_name(fields[1], MONTHS) + 1 if len(fields) > 1 else 1
    day = until_day(year, month, fields[2]) if len(fields) > 2 else 1
    time, suffix = (fields[3], "w") if len(fields) > 3 else ("0", "w")
    if time[-1].isalpha():
        time, suffix = time[:-1], {"w": "w", "s": "s", "u": "u", "g": "u", "z": "u"}[time[-1]]
    return calendar.timegm((year, month, day, 0, 0, 0)) + parse_hms(time), suffix


def read_tzdata_zi():
    """Zone name -> [(stdoff, until)], link name -> target, and the version."""
    zones, links, version, current = {}, {}, None, None
    for line in TZDATA_ZI.read_text(encoding="utf-8").splitlines():
        if line.startswith("# version "):
            version = line.split()[2]
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        if fields[0] == "Z":
            current = zones.setdefault(fields[1], [])
            fields = fields[2:]
        elif fields[0] == "L":
            links[fields[2]] = fields[1]
            current = None
            continue
        elif fields[0] == "R":
            current = None
            continue
        elif current is None:
            fail(f"unexpected line in tzdata.zi: {line!r}")
        current.append((parse_hms(fields[0]), parse_until(fields[3:])))
    if version is None:
        fail("no version line in tzdata.zi")
    return zones, links, version


# ---------------------------------------------------------------- zdump

ZDUMP_LINE = re.compile(
    r"^\S+\s+\w{3} (\w{3})\s+(\d+) (\d\d):(\d\d):(\d\d) (-?\d+) UT = .* isdst=(\d) gmtoff=(-?\d+)$")


def zdump_transitions(zone):
    """[(utc, offset, isdst)] from 1800 to 2052: the state before the first
    transition at utc None, then each transition."""
    out = subprocess.run(["zdump", "-v", "-c", "1800,2053", zone],
                         check=True, capture_output=True, text=True).stdout
    states = []
    for line in out.splitlines():
        if line.endswith("= NULL"):
            continue
        found = ZDUMP_LINE.match(line)
        if not found:
            fail(f"unreadable zdump line: {line!r}")
        mon, day, hh, mm, ss, year, isdst, offset = found.groups()
        month = match_name(mon, MONTHS) + 1
        utc = calendar.timegm((int(year), month, int(day), int(hh), int(mm), int(ss)))
        states.append((utc, int(offset), int(isdst)))
    if not states:
        fail(f"zdump knows no transition of {zone}")
    # Lines come in pairs: one second before a transition, then the transition.
    transitions = [(None, states[0][1], states[0][2])]
    for before, after in zip(states[0::2], states[1::2]):
        if after[0] != before[0] + 1:
            fail(f"zdump lines of {zone} are not in pairs")
        transitions.append(after)
    return transitions


def state_at(transitions, utc):
    state = transitions[0]
    for t in transitions[1:]:
        if t[0] > utc:
            break
        state = t
    return state


# ---------------------------------------------------------------- periods

def line_ends(zone, lines, transitions):
    """UTC instant at which each Zone line ends (None for the last)."""
    ends = []
    offsets = sorted({t[1] for t in transitions})
    for stdoff, until in lines:
        if until is None:
            ends.append(None)
            continue
        local, suffix = until
        if suffix == "u":
            ends.append(local)
        elif suffix == "s":
            ends.append(local - stdoff)
        else:  # wall clock: read with the offset in force just before the end
            fits = [local - o for o in offsets if state_at(transitions, local - o - 1)[1] == o]
            if not fits:
                fail(f"{zone}: no offset fits the wall-clock end {until}")
            ends.append(min(fits))  # zic ends the line the first time the clock reads it
    return ends


def line_index_at(ends, utc):
    for i, end in enumerate(ends):
        if end is None or utc < end:
            return i
    fail("instant after the last Zone line")


def rearguard_save(raw, i):
    """Daylight saving of raw period i, never negative (see the module notes)."""
    _, _, save, line = raw[i]
    if save < 0:
        return 0
    if save == 0 and 0 < i < len(raw) - 1:
        before, after = raw[i - 1], raw[i + 1]
        if before[3] == line == after[3] and before[2] < 0 and after[2] < 0:
            return -max(before[2], after[2])
    return save


def zone_periods(zone, lines, transitions):
    """[(start, offset, dst)] covering COVERED_FROM..COVERED_UNTIL."""
    ends = line_ends(zone, lines, transitions)
    # Periods are read up to the end of zdump's data, so that the last covered
    # one still sees its successor.
    starts = {COVERED_FROM}
    starts |= {t[0] for t in transitions[1:] if t[0] > COVERED_FROM}
    starts |= {e for e in ends if e is not None and COVERED_FROM < e < transitions[-1][0]}
    raw = []  # (start, offset, save, line)
    for start in sorted(starts):
        _, offset, isdst = state_at(transitions, start)
        line = line_index_at(ends, start)
        save = offset - lines[line][0]
        if (save != 0) != bool(isdst):
            fail(f"{zone} at {start}: save {save} but zdump isdst={isdst}")
        raw.append((start, offset, save, line))
    periods = []
    for i, (start, offset, _, _) in enumerate(raw):
        if start >= COVERED_UNTIL:
            break
        dst = rearguard_save(raw, i)
        if not periods or periods[-1][1:] != (offset, dst):
            periods.append((start, offset, dst))
    return periods


# ---------------------------------------------------------------- output

def rows(items, per_line):
    return ["    " + ", ".join(items[i:i + per_line]) + "," for i in range(0, len(items), per_line)]


def render(version, names, slices, tables):
    states = sorted({(offset, dst) for _, periods in tables for _, offset, dst in periods})
    state_index = {state: i for i, state in enumerate(states)}
    out = [f"// Generated by tools/time_zones/make_zones.py from tzdata {version}; do not edit.",
           "// Periods of constant UTC offset and daylight saving of the birthplace zones,",
           "// read from zdump -v and the Zone lines of tzdata.zi.",
           "// clang-format off",
           f"constexpr std::int64_t kCoveredFromUtc = {COVERED_FROM};  // 1899-12-31 00:00 UTC",
           f"constexpr std::int64_t kCoveredUntilUtc = {COVERED_UNTIL};  // 2051-01-02 00:00 UTC",
           "",
           "// {UTC offset, daylight saving}, in seconds",
           "constexpr ZoneState kZoneStates[] = {"]
    out += rows([f"{{{offset}, {dst}}}" for offset, dst in states], 6)
    out += ["};", "",
            "// Start of each period, UTC seconds since 1970; a zone's first period",
            "// starts at kCoveredFromUtc.",
            "constexpr std::int64_t kPeriodStarts[] = {"]
    for label, periods in tables:
        out.append(f"    // {label}")
        out += rows([str(start) for start, _, _ in periods], 8)
    out += ["};", "", "// State of each period, an index into kZoneStates.",
            "constexpr std::uint16_t kPeriodStates[] = {"]
    for label, periods in tables:
        out.append(f"    // {label}")
        out += rows([str(state_index[(offset, dst)]) for _, offset, dst in periods], 20)
    out += ["};", "", "// Sorted by name: {name, first period, period count}",
            "constexpr ZoneEntry kZones[] = {"]
    out += [f"    {{\"{name}\", {slices[name][0]}, {slices[name][1]}}}," for name in names]
    out += ["};", "// clang-format on"]
    return "\n".join(out) + "\n"


def main(argv):
    zones, links, version = read_tzdata_zi()
    wanted = wanted_zones(argv[1:])
    for name in wanted:
        if name not in zones and name not in links:
            fail(f"unknown zone {name!r}")
    targets = {links.get(name, name) for name in wanted}
    names = sorted(set(wanted) | {link for link, target in links.items() if target in targets})

    slices, tables, seen, first = {}, [], {}, 0
    for name in names:
        periods = zone_periods(name, zones[links.get(name, name)], zdump_transitions(name))
        key = tuple(periods)
        if key not in seen:
            seen[key] = (first, len(periods))
            tables.append((name, periods))
            first += len(periods)
        slices[name] = seen[key]

    OUTPUT.write_text(render(version, names, slices, tables), encoding="utf-8")
    print(f"{OUTPUT.relative_to(ROOT)}: tzdata {version}, {len(names)} names, "
          f"{len(tables)} distinct zones, {first} periods")


if __name__ == "__main__":
    main(sys.argv)
