// Pieces of the annual rows (流年) of section liunianhcxh.
#pragma once

#include "record/text.h"

namespace xuanshu {

// The stems of the twelve months of a year, from the 寅 month on (五虎遁),
// given the year's pillar; empty for a text shorter than two characters.
Text MonthStemString(TextView yearPillar);

// "岁运并临" when the annual pillar equals the luck pillar in force, else empty.
TextView LuckCoincidenceText(TextView annualPillar, TextView luckPillar);

}  // namespace xuanshu
