#include "calendar/term_source.h"

#include <cstdlib>

#include "calendar/astronomical_terms.h"
#include "calendar/four_pillars.h"

namespace xuanshu {
namespace {

constexpr int kSpringIndex = 2;  // 立春

int OpeningIndex(int month) {
  return 2 * month - 2;
}

DateTime DateTimeOf(std::int64_t seconds) {
  const CivilTime t = CivilTimeOf(seconds);
  DateTime moment;
  moment.year = t.year;
  moment.month = t.month;
  moment.day = t.day;
  moment.hour = t.hour;
  moment.minute = t.minute;
  moment.second = t.second;
  return moment;
}

class Formula final : public TermSource {
 public:
  std::string_view key() const override { return "formula"; }
  TextView label() const override { return u"公式节气"; }

  std::int64_t TermSeconds(int year, int index) const override {
    const DateTime t = TermMoment(year, index);
    return SecondsOf({t.year, t.month, t.day, t.hour, t.minute, t.second});
  }

  NearTerm Near(const BirthMoment& birth, int direction) const override {
    const CivilTime& b = birth.beijing;
    return SectionalTermNear(b.year, b.month, b.day, b.hour, b.minute, direction);
  }

  Text YearPillar(const BirthMoment& birth, const ZiSchool& school) const override {
    const CivilDate date = ComparedDate(birth, school);
    return xuanshu::YearPillar(date.year, date.month, date.day, birth.beijing.hour);
  }

  Text MonthPillar(const BirthMoment& birth, const ZiSchool& school) const override {
    const CivilDate date = ComparedDate(birth, school);
    return xuanshu::MonthPillar(date.year, date.month, date.day, birth.beijing.hour);
  }

 private:
  // A late 子 hour birth is compared as the day it belongs to, at hour 23.
  static CivilDate ComparedDate(const BirthMoment& birth, const ZiSchool& school) {
    const CivilTime& b = birth.beijing;
    return school.DayOf({b.year, b.month, b.day}, b.hour);
  }
};

class Astronomical final : public TermSource {
 public:
  std::string_view key() const override { return "astronomical"; }
  TextView label() const override { return u"天文节气"; }

  std::int64_t TermSeconds(int year, int index) const override {
    if (const auto utc = AstronomicalTermUtc(year, index)) return *utc + kBeijingOffsetSeconds;
    return FormulaTermSource().TermSeconds(year, index);  // outside the table's years
  }

  NearTerm Near(const BirthMoment& birth, int direction) const override {
    NearTerm near;
    if (direction != -1 && direction != 1) return near;
    const CivilTime& b = birth.beijing;
    const std::int64_t birthSeconds = SecondsOf(b);
    const int opening = OpeningIndex(b.month);
    const bool afterOpening = OnOrAfter(birthSeconds, TermSeconds(b.year, opening));
    int index = opening;
    if (direction < 0 && !afterOpening) index -= 2;
    if (direction > 0 && afterOpening) index += 2;
    const std::int64_t term = TermSeconds(b.year, index);
    near.moment = DateTimeOf(term);
    near.name = Text(kSolarTermNames[OpeningIndex(near.moment.month)]);
    near.minutes = std::llabs((birthSeconds - term) / kSecondsPerMinute);
    return near;
  }

  Text YearPillar(const BirthMoment& birth, const ZiSchool&) const override {
    const CivilTime& b = birth.beijing;
    return YearPillarAround(b.year, OnOrAfter(SecondsOf(b), TermSeconds(b.year, kSpringIndex)));
  }

  Text MonthPillar(const BirthMoment& birth, const ZiSchool&) const override {
    const CivilTime& b = birth.beijing;
    const bool after = OnOrAfter(SecondsOf(b), TermSeconds(b.year, OpeningIndex(b.month)));
    return MonthPillarAround(b.year, b.month, after);
  }

 private:
  // Compared to the minute: a birth in the minute of the term counts as after it.
  static bool OnOrAfter(std::int64_t birthSeconds, std::int64_t termSeconds) {
    return FloorDivide(birthSeconds, kSecondsPerMinute) >=
           FloorDivide(termSeconds, kSecondsPerMinute);
  }
};

}  // namespace

const TermSource& FormulaTermSource() {
  static const Formula source;
  return source;
}

const TermSource& AstronomicalTermSource() {
  static const Astronomical source;
  return source;
}

const TermSource* TermSourceByKey(std::string_view key) {
  if (key == FormulaTermSource().key()) return &FormulaTermSource();
  if (key == AstronomicalTermSource().key()) return &AstronomicalTermSource();
  return nullptr;
}

}  // namespace xuanshu
