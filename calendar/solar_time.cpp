#include "calendar/solar_time.h"

#include <cmath>
#include <numbers>

namespace xuanshu {
namespace {

constexpr double kJulianDayOfUnixEpoch = 2440587.5;
constexpr double kJ2000 = 2451545.0;
constexpr double kDaysPerCentury = 36525.0;
constexpr double kMinutesPerRadian = 4.0 * 180.0 / std::numbers::pi;  // 4 min per degree
constexpr double kSecondsPerDegreeOfLongitude = 240.0;

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

}  // namespace

double JulianDayOf(std::int64_t utcSeconds) {
  return kJulianDayOfUnixEpoch + static_cast<double>(utcSeconds) / 86400.0;
}

double EquationOfTimeMinutes(double julianEphemerisDay) {
  const double t = (julianEphemerisDay - kJ2000) / kDaysPerCentury;
  const double meanLongitude = Radians(280.46646 + t * (36000.76983 + t * 0.0003032));
  const double meanAnomaly = Radians(357.52911 + t * (35999.05029 - t * 0.0001537));
  const double e = 0.016708634 - t * (0.000042037 + t * 0.0000001267);
  const double obliquitySeconds = 84381.448 - t * (46.8150 + t * (0.00059 - t * 0.001813));
  const double y = std::pow(std::tan(Radians(obliquitySeconds / 3600.0) / 2), 2);
  const double l2 = 2 * meanLongitude;
  const double radians = y * std::sin(l2) - 2 * e * std::sin(meanAnomaly) +
                         4 * e * y * std::sin(meanAnomaly) * std::cos(l2) -
                         0.5 * y * y * std::sin(2 * l2) - 1.25 * e * e * std::sin(2 * meanAnomaly);
  return radians * kMinutesPerRadian;
}

std::int64_t TrueSolarSeconds(std::int64_t utcSeconds, double longitude) {
  // UT stands in for TT here: a minute of ΔT moves the equation of time by
  // well under a millisecond.
  const double correction = longitude * kSecondsPerDegreeOfLongitude +
                            EquationOfTimeMinutes(JulianDayOf(utcSeconds)) * 60.0;
  return utcSeconds + static_cast<std::int64_t>(std::llround(correction));
}

}  // namespace xuanshu
