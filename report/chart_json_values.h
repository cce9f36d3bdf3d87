// The value shapes of a chart record as JSON values, for the JSON export:
// numbers, year lists, split texts, clash lists and hidden-stem lists. Each
// takes any text; what does not have the shape gives null, or leaves the
// malformed item out of a list of numbers.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "record/text.h"

namespace xuanshu::chart_json {

// Keys keep the order in which they are added.
using Json = nlohmann::ordered_json;

// The text in UTF-8 (an unpaired surrogate becomes U+FFFD).
Json String(TextView text);

// ASCII characters kept, every other one as '?'.
std::string AsciiOf(TextView text);

// A number as the record writes one ("%d", "%.1f"): an optional minus, up to
// 18 digits, optionally a point and up to 18 more digits; an integer
// without a point. Anything else is null.
Json NumberOrNull(TextView text);
// An integer as above, or null.
Json IntegerOrNull(TextView text);

// The integers of a slash list of years ("1990/1996/").
Json YearList(TextView list);

// A split text: {"text": the relation items, "summary": the counted summary
// after the first space, empty without one}.
Json SplitText(TextView value);

// A clash list ("庚午（1990，2050） 丙午（1966）") as [{"pillar", "years"}]:
// items separated by single spaces, the years between "（" and "）" (or the
// end) separated by "，".
Json ClashList(TextView value);

// A hidden-stem list ("丁　正财/己　正官/") as [{"stem", "ten_god"}]: each
// item split at its U+3000; without one the whole item is the stem.
Json HiddenStems(TextView list);

}  // namespace xuanshu::chart_json
