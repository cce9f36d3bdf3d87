#!/usr/bin/env python3
"""Checks the term moments of make_terms.py against a JPL-based ephemeris.

Debian's swetest (Swiss Ephemeris 2.10, whose sepl_18.se1 file is a
compression of JPL's DE431) gives the Sun's apparent longitude of date at each
TT moment that make_terms.py solves for; the miss in longitude, divided by the
Sun's speed, is the error of the moment in seconds of TT. Delta T is not part
of this check.

    apt-get install -y python3-erfa swetest swe-basic-data
    python3 tools/solar_terms/check_with_swetest.py [every-nth-moment]

Development aid only: nothing in the build or the tests runs it.
"""

import statistics
import subprocess
import sys

import make_terms

EPHEMERIS_DIR = "/usr/share/libswe/ephe"


def swetest_longitude_and_speed(tt_jd):
    out = subprocess.run(
        ["swetest", f"-bj{tt_jd:.9f}", "-p0", "-fls", "-head", "-eswe", f"-edir{EPHEMERIS_DIR}"],
        check=True, capture_output=True, text=True).stdout.split()
    return float(out[0]), float(out[1])


def main():
    stride = int(sys.argv[1]) if len(sys.argv) > 1 else 1
    span = range(make_terms.FIRST_YEAR, make_terms.LAST_YEAR + 1)
    pairs = [(y, k) for y in span for k in range(make_terms.TERMS)][::stride]
    tt = make_terms.solve_terms([y for y, _ in pairs], [k for _, k in pairs])
    errors = []
    for (year, index), days in zip(pairs, tt):
        longitude, speed = swetest_longitude_and_speed(make_terms.J2000 + days)
        miss = make_terms.wrapped(make_terms.term_longitude(index) - longitude)
        errors.append((miss / speed * 86400.0, year, index))
    worst = max(errors, key=lambda e: abs(e[0]))
    print(f"{len(errors)} moments; TT error against swetest: "
          f"max {abs(worst[0]):.2f} s (term {worst[2]} of {worst[1]}), "
          f"mean {statistics.fmean(abs(e[0]) for e in errors):.2f} s, "
          f"mean signed {statistics.fmean(e[0] for e in errors):+.2f} s")


if __name__ == "__main__":
    main()
