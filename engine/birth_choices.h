// The user's choices for the moment of a chart's birth, made once per chart:
// the source of the solar terms, the 子 hour school and the birthplace
// (which brings the zone with its daylight saving and the true solar time).
// With none made, a chart is computed and recorded exactly as always.
#pragma once

#include <variant>

#include "calendar/birth_moment.h"
#include "calendar/term_source.h"
#include "calendar/zi_school.h"
#include "record/text.h"

namespace xuanshu {

struct BirthChoices {
  const TermSource* terms = &FormulaTermSource();
  const ZiSchool* ziSchool = &kNextDayZiSchool;
  BirthPlace place;

  bool IsDefault() const {
    return terms == &FormulaTermSource() && ziSchool == &kNextDayZiSchool && place.IsUnset();
  }
};

// The choices as the user typed them (settings, form field, command line);
// an empty text is a choice not made.
struct BirthChoiceTexts {
  Text terms{};      // formula | astronomical
  Text zi{};         // next-day | same-day
  Text place{};      // a place of the table, or a longitude such as 116.4 or 116°24′
  Text longitude{};  // a longitude that overrides the place's
  // ±HH:MM, the clock's zone when the place is not in the table; without it a
  // bare longitude counts as kept on Beijing time (with its daylight saving).
  Text utcOffset{};
  Text dst{};  // auto | off
};

// The choices, or the message that names the first bad text.
std::variant<BirthChoices, Text> ResolveBirthChoices(const BirthChoiceTexts& texts);

// "+08:00" → 28800; nullopt unless the text is ±HH:MM with HH ≤ 14, MM < 60.
std::optional<std::int64_t> ParseUtcOffset(TextView text);
// 28800 → "+08:00".
Text UtcOffsetText(std::int64_t seconds);

}  // namespace xuanshu
