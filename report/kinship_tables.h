// The closing reference table of the full reports: the kin that each ten god
// stands for (a man's or a woman's table), then the social roles.
#pragma once

#include "record/script_text.h"
#include "report/report_sink.h"

namespace xuanshu {

void AppendKinshipTables(ReportSink& sink, bool male, Script script = Script::kSimplified);

}  // namespace xuanshu
