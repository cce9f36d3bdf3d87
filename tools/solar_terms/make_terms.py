#!/usr/bin/env python3
"""Moments of the 24 solar terms, 1900-2050, from the Sun's apparent longitude.

Writes calendar/astronomical_terms_data.inc, the table behind AstronomicalTermUtc().

    python3 tools/solar_terms/make_terms.py

Needs Debian's python3-erfa (apt-get install -y python3-erfa); where pyenv or a
virtual environment hides it, the script runs itself again with /usr/bin/python3.
The same ERFA release regenerates the file byte for byte.

Term k (0 小寒 ... 23 冬至) of Gregorian year y is the instant at which the
geocentric apparent ecliptic longitude of the Sun reaches (285 + 15 k) mod 360
degrees:
  - Earth from ERFA's epv00 (barycentric and heliocentric; about 5 km against
    DE405, i.e. well under a second of time here), TDB taken equal to TT
    (under 2 ms);
  - the Sun's barycentric position at the retarded time t - tau, tau the
    light time, solved by iteration;
  - annual aberration from Earth's barycentric velocity (eraAb);
  - IAU 2006 precession with IAU 2000A nutation (eraPnm06a) to the true
    equator and equinox of date, then the true obliquity (eraObl06 plus the
    nutation in obliquity of eraNut06a) to the true ecliptic of date;
  - the instant found by Newton iteration in TT to a millisecond.

UTC = TT - delta T, with delta T (= TT - UTC) taken as follows:
  - before 1972: the Espenak-Meeus polynomials for delta T = TT - UT1 of NASA's
    eclipse web site ("Polynomial Expressions for Delta T", F. Espenak and
    J. Meeus, Five Millennium Canon of Solar Eclipses, NASA TP-2006-214141),
    pieces 1860-1900, 1900-1920, 1920-1941, 1941-1961 and 1961-1986, evaluated
    at the decimal year 2000 + (JD - 2451544.5) / 365.2425 (NASA evaluates them
    at mid-month; the difference is under 0.1 s). Their fit to the observed
    values is about a second; before 1972 UTC here means UT1.
  - from 1972: 32.184 s + TAI - UTC from ERFA's leap-second table (eraDat).
    The last leap second known to ERFA 2.0.0 is that of 2017-01-01
    (TAI - UTC = 37 s, TT - UTC = 69.184 s), and it is still the last one:
    none has been announced since, the Earth has lately been turning fast,
    and the CGPM (2022) decided to let UT1 - UTC grow beyond 0.9 s by 2035.
    So TAI - UTC is held at 37 s through 2050 (a step function, not a
    delta T extrapolation: UTC follows TAI, not the Earth's rotation). A
    future leap second would move the moments after it by a second.

Moments are rounded to the nearest second of UTC and counted in seconds since
1970-01-01 00:00:00 UTC without leap seconds (POSIX time); no term falls
within a leap second.

Stored compactly: for each term index k a mean line a_k + b_k (y - 1975) in
whole seconds, fitted by least squares, and for every year a residual from it
as a 16-bit integer (up to about 18 minutes: nutation, the Moon's and the
planets' pull, the change of delta T).

Checks while generating: the solved longitude is re-evaluated (to 1e-6
degree), every moment is compared with Meeus' low-accuracy solar longitude
(Astronomical Algorithms, 2nd ed., ch. 25, stated accuracy 0.01 degree, about
15 minutes of time), and every term must fall in its own Gregorian month.
check_with_swetest.py compares the TT moments with a JPL-based ephemeris
(DE431 through Swiss Ephemeris): within 0.41 s, 0.10 s on average.
"""

import math
import os
import pathlib
import sys

try:
    import erfa
    import erfa.version
except ImportError:
    # pyenv or a virtual environment hides Debian's python3-erfa.
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    sys.exit("needs ERFA for Python: apt-get install -y python3-erfa")
import numpy as np

FIRST_YEAR = 1900
LAST_YEAR = 2050
TERMS = 24
MEAN_YEAR = 1975
J2000 = 2451545.0
UNIX_EPOCH_JD = 2440587.5
NAMES = "小寒 大寒 立春 雨水 惊蛰 春分 清明 谷雨 立夏 小满 芒种 夏至 小暑 大暑 立秋 处暑 白露 秋分 寒露 霜降 立冬 小雪 大雪 冬至".split()
OUTPUT = pathlib.Path(__file__).resolve().parents[2] / "calendar" / "astronomical_terms_data.inc"


def term_longitude(index):
    return (285 + 15 * index) % 360


def sun_apparent_longitude(tt_days):
    """Apparent geocentric ecliptic longitude of the Sun of date, in degrees,
    at TT = J2000 + tt_days (an array)."""
    pvh, pvb = erfa.epv00(J2000, tt_days)
    earth_position, earth_velocity = pvb["p"], pvb["v"]
    tau = np.zeros_like(tt_days)
    for _ in range(3):
        pvh_r, pvb_r = erfa.epv00(J2000, tt_days - tau)
        sun_position = pvb_r["p"] - pvh_r["p"]
        to_sun = sun_position - earth_position
        distance = np.linalg.norm(to_sun, axis=-1)
        tau = distance / erfa.DC
    natural = to_sun / distance[:, None]
    v = earth_velocity / erfa.DC
    bm1 = np.sqrt(1.0 - np.sum(v * v, axis=-1))
    proper = erfa.ab(natural, v, distance, bm1)
    true_equatorial = np.einsum("nij,nj->ni", erfa.pnm06a(J2000, tt_days), proper)
    _, deps = erfa.nut06a(J2000, tt_days)
    eps = erfa.obl06(J2000, tt_days) + deps
    x = true_equatorial[:, 0]
    y = true_equatorial[:, 1] * np.cos(eps) + true_equatorial[:, 2] * np.sin(eps)
    return np.degrees(np.arctan2(y, x)) % 360.0


def wrapped(degrees):
    return (degrees + 180.0) % 360.0 - 180.0


def solve_terms(years, indices):
    """TT of each (year, index), in days from J2000."""
    targets = np.array([term_longitude(k) for k in indices], dtype=float)
    jan6 = np.array([erfa.cal2jd(y, 1, 6)[0] + erfa.cal2jd(y, 1, 6)[1] for y in years])
    tt = jan6 - J2000 + 15.2184 * np.array(indices, dtype=float)
    step = 1e-6  # days, for the numerical rate
    for _ in range(20):
        here = sun_apparent_longitude(tt)
        rate = wrapped(sun_apparent_longitude(tt + step) - here) / step
        correction = wrapped(targets - here) / rate
        tt = tt + correction
        if np.max(np.abs(correction)) < 1e-8:
            break
    else:
        sys.exit("Newton iteration did not converge")
    residual = np.abs(wrapped(sun_apparent_longitude(tt) - targets))
    if np.max(residual) > 1e-6:  # degrees, about 0.1 s
        sys.exit(f"term longitude missed by {np.max(residual)} degrees")
    return tt


def decimal_year(jd):
    return 2000.0 + (jd - 2451544.5) / 365.2425


def espenak_meeus_delta_t(y):
    """TT - UT1 in seconds, Espenak-Meeus, for 1860 <= y < 1986."""
    if y < 1860 or y >= 1986:
        raise ValueError(f"no Espenak-Meeus piece here: {y}")
    if y < 1900:
        t = y - 1860
        return (7.62 + 0.5737 * t - 0.251754 * t**2 + 0.01680668 * t**3
                - 0.0004473624 * t**4 + t**5 / 233174)
    if y < 1920:
        t = y - 1900
        return -2.79 + 1.494119 * t - 0.0598939 * t**2 + 0.0061966 * t**3 - 0.000197 * t**4
    if y < 1941:
        t = y - 1920
        return 21.20 + 0.84493 * t - 0.076100 * t**2 + 0.0020936 * t**3
    if y < 1961:
        t = y - 1950
        return 29.07 + 0.407 * t - t**2 / 233 + t**3 / 2547
    t = y - 1975
    return 45.45 + 1.067 * t - t**2 / 260 - t**3 / 718


def tai_minus_utc(year, month):
    """TAI - UTC from ERFA's leap-second table, held at its last value."""
    value = None
    for entry in erfa.leap_seconds.get():
        if (int(entry["year"]), int(entry["month"])) <= (year, month):
            value = float(entry["tai_utc"])
    return value


def delta_t(tt_jd):
    """TT - UTC in seconds at the TT Julian date tt_jd."""
    year, month, _, _ = erfa.jd2cal(tt_jd, 0.0)
    if year < 1972:
        return espenak_meeus_delta_t(decimal_year(tt_jd))
    return 32.184 + tai_minus_utc(int(year), int(month))


def meeus_apparent_longitude(tt_jd):
    """Meeus, Astronomical Algorithms ch. 25, low accuracy (0.01 degree)."""
    t = (tt_jd - J2000) / 36525.0
    l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t**2
    m = math.radians(357.52911 + 35999.05029 * t - 0.0001537 * t**2)
    c = ((1.914602 - 0.004817 * t - 0.000014 * t**2) * math.sin(m)
         + (0.019993 - 0.000101 * t) * math.sin(2 * m) + 0.000289 * math.sin(3 * m))
    omega = math.radians(125.04 - 1934.136 * t)
    return (l0 + c - 0.00569 - 0.00478 * math.sin(omega)) % 360.0


def check_against_meeus(years, indices, tt):
    worst = 0.0
    for year, index, days in zip(years, indices, tt):
        miss = abs(wrapped(meeus_apparent_longitude(J2000 + days) - term_longitude(index)))
        worst = max(worst, miss)
    print(f"Meeus low-accuracy longitude at the moments: worst {worst:.4f} degrees", file=sys.stderr)
    if worst > 0.015:
        sys.exit("the moments disagree with Meeus' formula beyond its accuracy")


def utc_seconds(tt_days):
    tt_jd = J2000 + tt_days
    return round((tt_jd - UNIX_EPOCH_JD) * 86400.0 - delta_t(tt_jd))


def check_calendar(moments):
    """Every term in its own UTC year and in increasing order."""
    for year, row in moments.items():
        for index, seconds in enumerate(row):
            y, m, _, _ = erfa.jd2cal(UNIX_EPOCH_JD, seconds / 86400.0)
            if y != year or m != index // 2 + 1:
                sys.exit(f"term {index} of {year} falls in {y}-{m}")
        if any(b <= a for a, b in zip(row, row[1:])):
            sys.exit(f"terms of {year} out of order")


def fit_mean_lines(moments):
    """Per index, a least-squares line in whole seconds."""
    years = np.array(sorted(moments), dtype=float) - MEAN_YEAR
    means = []
    for index in range(TERMS):
        values = np.array([moments[y][index] for y in sorted(moments)], dtype=float)
        slope, intercept = np.polyfit(years, values, 1)
        means.append((int(round(intercept)), int(round(slope))))
    return means


def residuals(moments, means):
    table = {}
    for year, row in moments.items():
        table[year] = [s - (a + b * (year - MEAN_YEAR)) for s, (a, b) in zip(row, means)]
        if any(abs(r) > 32767 for r in table[year]):
            sys.exit(f"residual of {year} does not fit 16 bits")
    return table


def render(means, table):
    worst = max(abs(r) for row in table.values() for r in row)
    lines = [
        f"// Generated by tools/solar_terms/make_terms.py from ERFA {erfa.version.erfa_version} "
        f"(pyerfa {erfa.version.version}): apparent solar longitude of date (epv00, light time, "
        "aberration, IAU 2006/2000A); UTC = TT - delta T, delta T by Espenak-Meeus before 1972, "
        "then 32.184 s + TAI - UTC (37 s from 2017 on). Do not edit.",
        "//",
        "// Term k (0 小寒 ... 23 冬至) of Gregorian year y, in UTC seconds since 1970-01-01 00:00:00:",
        "//   kTermMeanUtc[k] + kTermMeanYearSeconds[k] * (y - kTermMeanYear)"
        f" + kTermResidualSeconds[y - {FIRST_YEAR}][k]",
        f"// Largest residual: {worst} s.",
        "",
        f"inline constexpr int kTermTableFirstYear = {FIRST_YEAR};",
        f"inline constexpr int kTermTableLastYear = {LAST_YEAR};",
        f"inline constexpr int kTermMeanYear = {MEAN_YEAR};",
        "",
        "// The mean line of each term: its moment in kTermMeanYear, and its year.",
        "inline constexpr std::int64_t kTermMeanUtc[24] = {",
    ]
    lines += [f"    {a},  // {NAMES[k]}" for k, (a, _) in enumerate(means)]
    lines += ["};", "", "inline constexpr std::int32_t kTermMeanYearSeconds[24] = {"]
    lines += [f"    {b},  // {NAMES[k]}" for k, (_, b) in enumerate(means)]
    lines += ["};", "", f"inline constexpr std::int16_t kTermResidualSeconds[{len(table)}][24] = {{"]
    for year in sorted(table):
        lines.append("    {" + ",".join(str(r) for r in table[year]) + f"}},  // {year}")
    lines.append("};")
    return "\n".join(lines) + "\n"


def main():
    years = [y for y in range(FIRST_YEAR, LAST_YEAR + 1) for _ in range(TERMS)]
    indices = [k for _ in range(FIRST_YEAR, LAST_YEAR + 1) for k in range(TERMS)]
    tt = solve_terms(years, indices)
    check_against_meeus(years, indices, tt)
    moments = {}
    for year, days in zip(years, tt):
        moments.setdefault(year, []).append(utc_seconds(days))
    check_calendar(moments)
    means = fit_mean_lines(moments)
    OUTPUT.write_text(render(means, residuals(moments, means)), encoding="utf-8")
    print(f"wrote {OUTPUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
