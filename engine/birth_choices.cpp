#include "engine/birth_choices.h"

#include "calendar/longitude.h"
#include "calendar/places.h"
#include "record/script_text.h"

namespace xuanshu {
namespace {

constexpr TextView kUnknownPlace = u"未知的出生地：";
constexpr TextView kUnknownPlaceHint = u"（请从出生地列表中选择，或填写经度，如116.4）";
constexpr TextView kLongitudeOutOfRange = u"经度应在-180至180之间";
constexpr TextView kMalformedLongitude = u"经度应写作116.4或116°24′这样的形式";
constexpr TextView kMalformedOffset = u"时区应写作±HH:MM，如+08:00";
constexpr TextView kBadTermMode = u"节气方式只能是formula（公式）或astronomical（天文）";
constexpr TextView kBadZiSchool = u"子时规则只能是next-day（子初换日）或same-day（子正换日）";
constexpr TextView kBadDst = u"夏令时只能是auto（自动）或off（不计）";
constexpr std::int64_t kMaxOffsetHours = 14;
constexpr std::string_view kBeijingZone = "Asia/Shanghai";

std::optional<int> TwoDigits(TextView text) {
  if (text.size() != 2 || text[0] < u'0' || text[0] > u'9' || text[1] < u'0' || text[1] > u'9') {
    return std::nullopt;
  }
  return (text[0] - u'0') * 10 + (text[1] - u'0');
}

// A longitude text that must be one and lie in range; else the message.
std::variant<double, Text> LongitudeOf(TextView text) {
  const std::optional<double> degrees = ParseLongitude(text);
  if (!degrees) return Shown(kMalformedLongitude);
  if (!IsValidLongitude(*degrees)) return Shown(kLongitudeOutOfRange);
  return *degrees;
}

// The place field: a place of the table, else a longitude.
std::optional<Text> ApplyPlace(TextView text, BirthPlace& place) {
  if (const Place* known = FindPlace(text)) {
    place.label = PlaceLabel(*known);
    place.longitude = known->longitude;
    place.zone = std::string(known->zone);
    return std::nullopt;
  }
  if (!ParseLongitude(text)) return Shown(kUnknownPlace) + Text(text) + Shown(kUnknownPlaceHint);
  auto longitude = LongitudeOf(text);
  if (const Text* message = std::get_if<Text>(&longitude)) return *message;
  place.longitude = std::get<double>(longitude);
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> ParseUtcOffset(TextView text) {
  if (text.size() != 6 || (text[0] != u'+' && text[0] != u'-') || text[3] != u':') {
    return std::nullopt;
  }
  const auto hours = TwoDigits(text.substr(1, 2));
  const auto minutes = TwoDigits(text.substr(4, 2));
  if (!hours || !minutes || *hours > kMaxOffsetHours || *minutes >= 60) return std::nullopt;
  const std::int64_t seconds = *hours * kSecondsPerHour + *minutes * kSecondsPerMinute;
  return text[0] == u'-' ? -seconds : seconds;
}

Text UtcOffsetText(std::int64_t seconds) {
  const std::int64_t minutes = (seconds < 0 ? -seconds : seconds) / kSecondsPerMinute;
  Text text(seconds < 0 ? u"-" : u"+");
  for (std::int64_t part : {minutes / 60, minutes % 60}) {
    if (part < 10) text += u'0';
    AppendNum(text, part);
    text += u':';
  }
  text.pop_back();
  return text;
}

std::variant<BirthChoices, Text> ResolveBirthChoices(const BirthChoiceTexts& texts) {
  BirthChoices choices;
  if (!texts.terms.empty()) {
    choices.terms = TermSourceByKey(ToUtf8(texts.terms));
    if (!choices.terms) return Shown(kBadTermMode);
  }
  if (!texts.zi.empty()) {
    choices.ziSchool = ZiSchoolByKey(ToUtf8(texts.zi));
    if (!choices.ziSchool) return Shown(kBadZiSchool);
  }
  BirthPlace& place = choices.place;
  if (!texts.place.empty()) {
    if (auto message = ApplyPlace(texts.place, place)) return *message;
  }
  if (!texts.longitude.empty()) {
    auto longitude = LongitudeOf(texts.longitude);
    if (const Text* message = std::get_if<Text>(&longitude)) return *message;
    place.longitude = std::get<double>(longitude);
  }
  if (!texts.utcOffset.empty()) {
    const auto offset = ParseUtcOffset(texts.utcOffset);
    if (!offset) return Shown(kMalformedOffset);
    place.zone.clear();
    place.fixedOffsetSeconds = *offset;
  } else if (place.longitude && place.zone.empty()) {
    // A bare longitude: the clock kept Beijing time, with its daylight saving.
    place.zone = kBeijingZone;
  }
  if (!texts.dst.empty()) {
    const std::string dst = ToUtf8(texts.dst);
    if (dst != "auto" && dst != "off") return Shown(kBadDst);
    place.removeDaylightSaving = dst == "auto";
  }
  return choices;
}

}  // namespace xuanshu
