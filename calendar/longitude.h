// Longitudes as users type them and as the report shows them.
#pragma once

#include <optional>

#include "record/text.h"

namespace xuanshu {

// Degrees east (negative west) of a typed longitude: "116.4", "-74",
// "116°24′", "116°24'30\"", "116度24分", with an optional E/W or 东经/西经
// before or after. nullopt when the text is no longitude; the range is not
// checked here.
std::optional<double> ParseLongitude(TextView text);

bool IsValidLongitude(double degrees);

// "东经116°24′" / "西经74°00′", to the nearest minute of arc.
Text LongitudeText(double degrees);

}  // namespace xuanshu
