// Section liunian (the ten annual pillars of each luck pillar) and section
// yunqian (the years from birth until luck starts). Ages are nominal (虚岁):
// the birth year is age 1.
#include "engine/annual_years.h"

#include <algorithm>

#include "calendar/ganzhi.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr int kLuckPillarCount = 9;
constexpr int kYearsPerLuckPillar = 10;
constexpr long long kCycleStartYear = 1864;  // 甲子
// Luck starts at most about eleven years after birth; a record edited by hand
// must not make a rendering build an endless list.
constexpr long long kMaxYearsBeforeLuck = 200;

// The year pillars of `count` consecutive years from `first`, each followed by "/".
Text YearPillarList(long long first, long long count) {
  Text list;
  list.reserve(static_cast<std::size_t>(count) * 3);
  for (long long y = first; y < first + count; ++y) {
    list += YearPillarView(y);
    list += u'/';
  }
  return list;
}

}  // namespace

TextView YearPillarView(long long year) {
  // Reduced before the offset is taken, so that no year overflows: a
  // hand-edited record can name any year.
  return GanZhiView(year % 60 - kCycleStartYear % 60);
}

Text YearGanZhi(long long year) {
  return Text(YearPillarView(year));
}

void ChartEngine::WriteAnnualYears(ChartRecord& record) const {
  record.Set(u"liunian", u"count", Num(kLuckPillarCount));
  NumberedKey key;
  long long first = yearBegin;
  for (int i = 1; i <= kLuckPillarCount; ++i, first += kYearsPerLuckPillar) {
    record.Set(u"liunian", key(u"age", i), Num(first - year + 1));
    record.Set(u"liunian", key(u"yearBegin", i), Num(first));
    record.Set(u"liunian", key(u"liunian", i), YearPillarList(first, kYearsPerLuckPillar));
    record.Set(u"liunian", key(u"yearEnd", i), Num(first + kYearsPerLuckPillar - 1));
  }
}

void WriteYearsBeforeLuck(ChartRecord& record) {
  const long long age1 = record.ReadInt(u"liunian", u"age1", -1);
  const long long yearBegin1 = record.ReadInt(u"liunian", u"yearBegin1", -1);
  if (age1 < 0 || yearBegin1 < 0) return;
  const long long birthYear = yearBegin1 - age1 + 1;
  record.Set(u"yunqian", u"birth", Num(birthYear));
  const long long count = age1 > 1 ? std::min(age1 - 1, kMaxYearsBeforeLuck) : 0;
  record.Set(u"yunqian", u"liunian", YearPillarList(birthYear, count));
}

}  // namespace xuanshu
