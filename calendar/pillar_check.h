// Four pillars as a user types them (年柱 月柱 日柱 时柱, such as 庚午 辛巳
// 壬午 甲辰), checked to be pillars that a birth can have together.
#pragma once

#include <array>
#include <variant>

#include "calendar/birth_pillars.h"
#include "calendar/zi_school.h"
#include "record/text.h"

namespace xuanshu {

// Sexagenary number (0 甲子 … 59 癸亥) of a pillar text; -1 when the text is
// not a stem and a branch of the same polarity.
int SexagenaryNumber(TextView pillar);

// The four texts (year, month, day, hour) as pillars, or the message for the
// first that fails: a text that is not a stem followed by a branch, a pair
// that is not one of the sixty, a month stem that does not follow the year
// stem (五虎遁), an hour stem that does not follow the day stem (五鼠遁).
// Under the same-day school a 子 hour may also be the late one, whose stem
// follows the next day's.
std::variant<FourPillars, Text> CheckFourPillars(const std::array<Text, 4>& texts,
                                                 const ZiSchool& school);

}  // namespace xuanshu
