// Local apparent solar time (真太阳时): the time a sundial at the birthplace
// shows. It is mean time at the place's longitude (UTC plus four minutes per
// degree east) corrected by the equation of time.
#pragma once

#include <cstdint>

namespace xuanshu {

// Apparent minus mean solar time, in minutes, at a Julian Ephemeris Day
// (Smart's series as given by Meeus, Astronomical Algorithms, eq. 28.3;
// a few tenths of a second from the exact value).
double EquationOfTimeMinutes(double julianEphemerisDay);

// Julian Day of an instant given as seconds since 1970-01-01 00:00 UTC.
double JulianDayOf(std::int64_t utcSeconds);

// The true solar time at a longitude (degrees, east positive) of a UTC
// instant, as seconds on the same civil count, rounded to the second.
std::int64_t TrueSolarSeconds(std::int64_t utcSeconds, double longitude);

}  // namespace xuanshu
