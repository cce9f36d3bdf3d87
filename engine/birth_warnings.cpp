#include "engine/birth_warnings.h"

#include <array>
#include <cstdlib>

#include "calendar/four_pillars.h"
#include "calendar/solar_terms.h"

namespace xuanshu {
namespace {

constexpr std::int64_t kTermWindowMinutes = 10;
constexpr std::int64_t kHourBoundaryWindowMinutes = 5;
constexpr int kLateZiHour = 23;
constexpr int kSpringIndex = 2;

void AppendTwoDigits(Text& out, long long value) {
  if (value < 10 && value >= 0) out += u'0';
  AppendNum(out, value);
}

Text MinutesText(std::int64_t minutes) {
  Text text;
  if (minutes % 60 == 0) {
    AppendNum(text, minutes / 60);
    return text + u"小时";
  }
  AppendNum(text, minutes);
  return text + u"分钟";
}

void WarnDaylightSaving(const BirthMoment& birth, std::vector<Text>& out) {
  const Text clock = ChineseMinuteText(birth.clock);
  switch (birth.reading) {
    case ClockReading::kSkipped:
      out.push_back(clock +
                    u"正值夏令时开始、时钟拨快的时段，当地并无这一时刻；已按拨快前的标准时间计算");
      return;
    case ClockReading::kRepeated:
      out.push_back(
          clock +
          u"在夏令时结束、时钟拨回时出现两次；已按第一次（夏令时）计算，若为第二次，出生时刻晚" +
          MinutesText(std::llabs(birth.otherUtcSeconds - birth.utcSeconds) / 60));
      return;
    case ClockReading::kUnique:
      break;
  }
  if (birth.daylightSavingSeconds > 0) {
    out.push_back(u"出生时当地实行夏令时，已减去" +
                  MinutesText(birth.daylightSavingSeconds / kSecondsPerMinute) + u"，按标准时间" +
                  ChineseMinuteText(birth.standard) + u"计算");
  }
}

// "月柱乙丑、年柱癸亥": the pillars on one side of a sectional term.
Text TermSidePillars(const CivilTime& term, bool after) {
  Text text = u"月柱" + MonthPillarAround(term.year, term.month, after);
  if (term.month == 2) text += u"、年柱" + YearPillarAround(term.year, after);
  return text;
}

void WarnNearTerm(const BirthMoment& birth, const BirthChoices& choices, const FourPillars& used,
                  std::vector<Text>& out) {
  const std::int64_t birthSeconds = SecondsOf(birth.beijing);
  const int opening = 2 * birth.beijing.month - 2;
  for (int index : {opening - 2, opening, opening + 2}) {
    const std::int64_t term = choices.terms->TermSeconds(birth.beijing.year, index);
    const std::int64_t minutes = (birthSeconds - term) / kSecondsPerMinute;
    if (std::llabs(minutes) > kTermWindowMinutes) continue;
    const CivilTime moment = CivilTimeOf(term);
    Text line = u"出生在" + Text(kSolarTermNames[2 * moment.month - 2]) + u"（北京时间" +
                ChineseMinuteText(moment) + u"）";
    if (minutes == 0) {
      line += u"同一分钟";
    } else {
      line += birthSeconds < term ? u"前" : u"后";
      line += MinutesText(std::llabs(minutes));
    }
    const bool tookAfter = used.month == MonthPillarAround(moment.year, moment.month, true);
    line += u"：节前" + TermSidePillars(moment, false) + u"，节后" + TermSidePillars(moment, true) +
            u"；本盘取节" + (tookAfter ? u"后" : u"前");
    out.push_back(std::move(line));
    return;
  }
}

// "日柱甲子、时柱甲子" or "时柱壬申": the day pillar only where it changes.
Text BoundarySide(const CivilTime& local, const ZiSchool& school, bool withDay) {
  Text text;
  if (withDay) text = u"日柱" + DayPillarAt(local, school) + u"、";
  return text + u"时柱" + HourPillarAt(local);
}

void WarnNearHourBoundary(const BirthMoment& birth, const ZiSchool& school,
                          std::vector<Text>& out) {
  const CivilTime& local = birth.DayFrame();
  const std::int64_t minuteOfDay = local.hour * 60 + local.minute;
  const std::int64_t midnight = SecondsOf(local) - minuteOfDay * kSecondsPerMinute - local.second;
  for (int boundaryHour = -1; boundaryHour <= 25; boundaryHour += 2) {
    const std::int64_t distance = minuteOfDay - boundaryHour * 60;
    if (std::llabs(distance) > kHourBoundaryWindowMinutes) continue;
    const std::int64_t boundary = midnight + boundaryHour * kSecondsPerHour;
    const CivilTime before = CivilTimeOf(boundary - kSecondsPerMinute);
    const CivilTime after = CivilTimeOf(boundary);
    const bool dayChanges = DayPillarAt(before, school) != DayPillarAt(after, school);
    const Text beforeHour = HourPillarAt(before);
    const Text afterHour = HourPillarAt(after);
    Text line = u"出生";
    if (birth.trueSolar) line += u"（真太阳时）";
    line += distance == 0 ? u"正在" : u"在";
    line += beforeHour.substr(1) + u"时与" + afterHour.substr(1) + u"时交界（";
    AppendNum(line, (boundaryHour + 24) % 24);
    line += u"时）";
    if (distance != 0) line += (distance < 0 ? u"前" : u"后") + MinutesText(std::llabs(distance));
    line += u"：交界前" + BoundarySide(before, school, dayChanges) + u"，交界后" +
            BoundarySide(after, school, dayChanges) + u"；本盘取交界" +
            (distance < 0 ? u"前" : u"后");
    out.push_back(std::move(line));
    return;
  }
}

void WarnLateZiHour(const BirthMoment& birth, const ZiSchool& school, const FourPillars& used,
                    std::vector<Text>& out) {
  const CivilTime& local = birth.DayFrame();
  if (local.hour < kLateZiHour) return;
  const ZiSchool& other = school.lateHourStartsNextDay ? kSameDayZiSchool : kNextDayZiSchool;
  out.push_back(u"23时出生（晚子时）：本盘按" + Text(school.name) + u"，日柱" + used.day +
                u"；若按" + Text(other.name) + u"，日柱为" + DayPillarAt(local, other) +
                u"；时柱均为" + used.hour);
}

void WarnOtherTerms(const BirthMoment& birth, const BirthChoices& choices, const FourPillars& used,
                    std::vector<Text>& out) {
  if (choices.terms != &FormulaTermSource()) return;
  const TermSource& astronomical = AstronomicalTermSource();
  const Text month = astronomical.MonthPillar(birth, *choices.ziSchool);
  const Text year = astronomical.YearPillar(birth, *choices.ziSchool);
  if (month == used.month && year == used.year) return;
  Text theirs, ours;
  if (month != used.month) {
    theirs = u"月柱应为" + month;
    ours = used.month;
  }
  if (year != used.year) {
    if (!theirs.empty()) theirs += u"、";
    theirs += u"年柱应为" + year;
    if (!ours.empty()) ours += u"、";
    ours += used.year;
  }
  out.push_back(u"按天文节气，" + theirs + u"（本盘按公式节气为" + ours + u"）");
}

}  // namespace

Text ChineseMinuteText(const CivilTime& t) {
  Text text;
  AppendNum(text, t.year);
  text += u'年';
  const std::array<std::pair<int, char16_t>, 4> parts = {
      {{t.month, u'月'}, {t.day, u'日'}, {t.hour, u'时'}, {t.minute, u'分'}}};
  for (const auto& [value, unit] : parts) {
    AppendTwoDigits(text, value);
    text += unit;
  }
  return text;
}

std::vector<Text> BirthWarnings(const BirthMoment& birth, const BirthChoices& choices,
                                const FourPillars& used) {
  std::vector<Text> warnings;
  WarnDaylightSaving(birth, warnings);
  WarnNearTerm(birth, choices, used, warnings);
  WarnNearHourBoundary(birth, *choices.ziSchool, warnings);
  WarnLateZiHour(birth, *choices.ziSchool, used, warnings);
  WarnOtherTerms(birth, choices, used, warnings);
  return warnings;
}

}  // namespace xuanshu
