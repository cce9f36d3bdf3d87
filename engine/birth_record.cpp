#include "engine/birth_record.h"

#include "calendar/lunar_calendar.h"
#include "engine/birth_warnings.h"

namespace xuanshu {
namespace {

Text TrueSolarText(const BirthMoment& birth) {
  if (!birth.trueSolar) return {};
  const CivilTime& t = *birth.trueSolar;
  Text text;
  AppendNum(text, t.year);
  for (int part : {t.month, t.day, t.hour, t.minute}) {
    text += part < 10 ? u":0" : u":";
    AppendNum(text, part);
  }
  return text;
}

Text ZoneText(const BirthPlace& place) {
  return place.zone.empty() ? UtcOffsetText(place.fixedOffsetSeconds) : Ascii(place.zone);
}

}  // namespace

void ChartEngine::CollectBirthWarnings() {
  warnings = BirthWarnings(birth, choices, {yearPillar, monthPillar, dayPillar, hourPillar});
}

void ChartEngine::WriteBirthChoices(ChartRecord& record) const {
  if (choices.IsDefault()) return;
  const BirthPlace& place = choices.place;
  record.Set(kBirthSection, u"jieqi", Ascii(choices.terms->key()));
  record.Set(kBirthSection, u"zishi", Ascii(choices.ziSchool->key));
  record.Set(kBirthSection, u"didian", place.label);
  record.Set(kBirthSection, u"jingdu",
             place.longitude ? FormatDouble("%.4f", *place.longitude) : Text());
  record.Set(kBirthSection, u"shiqu", ZoneText(place));
  record.Set(kBirthSection, u"xialingshi", place.removeDaylightSaving ? u"auto" : u"off");
  record.Set(kBirthSection, u"zhentaiyang", TrueSolarText(birth));
  record.Set(kBirthSection, u"count", Num(static_cast<long long>(warnings.size())));
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    record.Set(kBirthSection, u"tishi" + Num(static_cast<long long>(i + 1)), warnings[i]);
  }
}

std::vector<Text> RecordedBirthWarnings(const ChartRecord& record) {
  std::vector<Text> warnings;
  if (record.HasSection(kBirthSection)) {
    const long long count = record.ReadInt(kBirthSection, u"count");
    for (long long i = 1; i <= count && i <= 64; ++i) {
      warnings.push_back(record.ReadString(kBirthSection, u"tishi" + Num(i)));
    }
    return warnings;
  }
  const auto field = [&record](TextView key) {
    return static_cast<int>(record.ReadInt(u"gongli", key));
  };
  const CivilTime clock{field(u"year"), field(u"month"),  field(u"day"),
                        field(u"hour"), field(u"minute"), 0};
  const bool real = clock.month >= 1 && clock.month <= 12 && clock.day >= 1 && clock.year >= 1901 &&
                    clock.year <= 2049 &&
                    clock.day <= GregorianMonthDays(clock.year, clock.month) && clock.hour >= 0 &&
                    clock.hour <= 23 && clock.minute >= 0 && clock.minute <= 59;
  if (!real) return warnings;  // a record edited by hand
  const BirthChoices defaults;
  const FourPillars used{
      record.ReadString(u"shizhu", u"year"), record.ReadString(u"shizhu", u"month"),
      record.ReadString(u"shizhu", u"day"), record.ReadString(u"shizhu", u"hour")};
  return BirthWarnings(ResolveBirthMoment(clock, defaults.place), defaults, used);
}

}  // namespace xuanshu
