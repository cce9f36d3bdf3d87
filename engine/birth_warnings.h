// The warnings (提示) of a birth moment: what a practitioner should know
// before trusting the pillars. Each is one line of text without its label.
#pragma once

#include <vector>

#include "calendar/birth_pillars.h"
#include "engine/birth_choices.h"

namespace xuanshu {

inline constexpr TextView kWarningLabel = u"提示：";

// In this order: daylight saving (taken off, a skipped or a repeated clock
// reading); a birth within 10 minutes of a sectional term (both month
// pillars, and both year pillars at 立春); within 5 minutes of an hour
// boundary (both hour pillars); in the late 子 hour (what the other school
// gives); with the formula, a year or month pillar the astronomical terms
// would give otherwise. `used` are the pillars the chart took.
std::vector<Text> BirthWarnings(const BirthMoment& birth, const BirthChoices& choices,
                                const FourPillars& used);

// "1984年02月04日23时18分"
Text ChineseMinuteText(const CivilTime& t);

}  // namespace xuanshu
