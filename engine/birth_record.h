// The birth-moment choices a chart was computed with, as its record keeps
// them: section chusheng, after every other section, written only when a
// choice differs from the defaults (readers that do not know it ignore it).
//
//   jieqi        formula | astronomical
//   zishi        next-day | same-day
//   didian       place label, 乌鲁木齐（新疆）; empty without a place of the table
//   jingdu       longitude in degrees east, "%.4f"; empty without one
//   shiqu        IANA zone, or the fixed offset ±HH:MM the clock kept
//   xialingshi   auto | off: daylight saving taken off the clock or not
//   zhentaiyang  true solar time YYYY:MM:DD:HH:MM; empty without a longitude
//   count, tishi%d  the warnings, without their label
#pragma once

#include <vector>

#include "engine/chart_engine.h"

namespace xuanshu {

inline constexpr TextView kBirthSection = u"chusheng";

// The warnings of a chart: those its record keeps, or for a chart computed
// with the defaults (whose record keeps none) those of its clock reading.
std::vector<Text> RecordedBirthWarnings(const ChartRecord& record);

}  // namespace xuanshu
