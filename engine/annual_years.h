// The year pillar of a calendar year, shared by the annual list, the annual
// rows and the clash summaries.
#pragma once

#include "record/text.h"

namespace xuanshu {

// A calendar year is named by its number alone, without regard to 立春:
// 1864 is 甲子. Years before 1864 continue the cycle backwards.
Text YearGanZhi(long long year);
// The same as a view of a fixed table.
TextView YearPillarView(long long year);

}  // namespace xuanshu
