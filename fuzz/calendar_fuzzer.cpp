// The public calendar functions on any ints. Properties: nothing overflows
// (UBSan), every pillar is two characters, the next day is one day later,
// and Gregorian and lunar dates of the supported years convert both ways.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calendar/four_pillars.h"
#include "calendar/ganzhi.h"
#include "calendar/lunar_calendar.h"
#include "calendar/solar_terms.h"
#include "fuzz/fuzz_check.h"

namespace xuanshu {
namespace {

class IntReader {
 public:
  IntReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  int Next() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i, ++pos_) {
      if (pos_ < size_) value |= static_cast<std::uint32_t>(data_[pos_]) << (8 * i);
    }
    int result;
    std::memcpy(&result, &value, sizeof result);
    return result;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

bool IsRealGregorianDate(int y, int m, int d) {
  return m >= 1 && m <= 12 && d >= 1 && d <= GregorianMonthDays(y, m);
}

}  // namespace
}  // namespace xuanshu

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace xuanshu;
  IntReader in(data, size);
  const int y = in.Next(), m = in.Next(), d = in.Next(), h = in.Next(), minute = in.Next();
  const int flags = in.Next();
  const bool gregorian = flags & 1, leap = flags & 2;

  FUZZ_CHECK(YearPillar(y, m, d, h).size() == 2);
  FUZZ_CHECK(MonthPillar(y, m, d, h).size() == 2);
  FUZZ_CHECK(DayPillar(y, m, d).size() == 2);
  HourPillar(StemName(h), Num(minute));
  FUZZ_CHECK(GanZhiName(static_cast<long long>(y) * m).size() == 2);
  FUZZ_CHECK(StemName(y).size() == 1 && BranchName(m).size() == 1);
  FUZZ_CHECK(TenGodOf(d, h).size() == 2);
  NumeralWord(y);

  const DateTime term = TermMoment(y, m);
  FUZZ_CHECK(term.month >= 1 && term.month <= 12 && term.hour >= 0 && term.hour <= 23);
  OpeningTermMoment(y, m);
  const NearTerm near = SectionalTermNear(y, m, d, h, minute, flags % 3 - 1);
  FUZZ_CHECK(near.minutes >= 0);

  LeapMonthOf(y);
  LunarMonthDays(y, m);
  LunarYearDays(y);
  DayNumber(y, m, d);
  ToLunar(y, m, d);
  ToGregorian(y, m, d, leap);
  const CivilDate next = NextDay(y, m, d, true);
  NextDay(y, m, d, false);
  if (IsRealGregorianDate(y, m, d) && next.year != 0) {
    FUZZ_CHECK(IsRealGregorianDate(next.year, next.month, next.day));
    FUZZ_CHECK(DayNumber(next.year, next.month, next.day) == DayNumber(y, m, d) + 1);
  }

  if (ValidateBirthDate(y, m, d, gregorian, leap)) {
    if (gregorian) {
      const LunarDate lunar = ToLunar(y, m, d);
      FUZZ_CHECK(ToGregorian(lunar.year, lunar.month, lunar.day, lunar.isLeap) ==
                 (CivilDate{y, m, d}));
    } else {
      const CivilDate civil = ToGregorian(y, m, d, leap);
      const LunarDate back = ToLunar(civil.year, civil.month, civil.day);
      FUZZ_CHECK(back.year == y && back.month == m && back.day == d && back.isLeap == leap);
    }
  }
  return 0;
}
