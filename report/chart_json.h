// The chart of one record as a JSON document for other programs, described
// by docs/chart.schema.json. Like a report it is built from the record
// alone: what the record holds is given as the program shows it, and what
// the record does not hold but is a fixed function of a pillar (stem and
// branch, 纳音, 旬, its own 空亡, and 胎元, 胎息, 命宫, 身宫 of the four
// pillars) is derived from the pillar texts. Nothing is recomputed.
#pragma once

#include <string>

#include "record/ini_document.h"
#include "record/script_text.h"

namespace xuanshu {

// The JSON document, UTF-8, indented by two spaces and ending in a line
// break. Keys are English snake_case and keep one fixed order; record texts
// stay as they are (Chinese), numbers the record holds as text become JSON
// numbers, and a number the record does not hold (missing or not a number)
// is null. Any record, however edited, gives a valid document of bounded
// size: loops and counts are bounded as in the report, and values are read
// with the report's capacities. In Traditional every text of the program is
// given in its reviewed form, as the report shows it; the user's own texts
// (name, group, a birthplace that is no place of the table) stay as they are.
std::string ChartJson(const IniDocument& record, Script script = Script::kSimplified);

}  // namespace xuanshu
