// Each moment is a per-term mean line plus a 16-bit residual for the year; see
// the generated data file for the layout and the model behind it.
#include "calendar/astronomical_terms.h"

#include <iterator>

namespace xuanshu {
namespace {

#include "calendar/astronomical_terms_data.inc"

static_assert(kTermTableFirstYear == kFirstAstronomicalTermYear);
static_assert(kTermTableLastYear == kLastAstronomicalTermYear);
static_assert(std::size(kTermResidualSeconds) ==
              kLastAstronomicalTermYear - kFirstAstronomicalTermYear + 1);

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

std::optional<std::int64_t> AstronomicalTermUtc(int year, int index) {
  // 64-bit, so that no int year and index overflow.
  const std::int64_t carry = FloorDiv(index, 24);
  const std::int64_t termYear = year + carry;
  const std::int64_t termIndex = index - 24 * carry;  // [0, 23]
  if (termYear < kFirstAstronomicalTermYear || termYear > kLastAstronomicalTermYear) {
    return std::nullopt;
  }
  return kTermMeanUtc[termIndex] + kTermMeanYearSeconds[termIndex] * (termYear - kTermMeanYear) +
         kTermResidualSeconds[termYear - kFirstAstronomicalTermYear][termIndex];
}

}  // namespace xuanshu
