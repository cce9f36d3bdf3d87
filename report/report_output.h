// The report taken out of the renderer: the export/print file bytes, a
// coloured terminal text and a standalone web page.
#pragma once

#include <string>

#include "record/script_text.h"
#include "record/text.h"
#include "report/report_sink.h"

namespace xuanshu {

// Export and print file: the UTF-16LE byte-order mark FF FE, then the text in
// UTF-16LE exactly as given (CR LF kept), without a terminating zero.
std::string ExportBytes(TextView text);

// UTF-8 for a terminal: every piece starts with ESC[39m (black) or
// ESC[38;2;R;G;Bm (its colour); the output ends with ESC[0m.
std::string AnsiText(const ReportPieces& pieces);

// A standalone printable UTF-8 page: each piece a coloured <span> with its
// text escaped, inside a pre-wrapped block set in a CJK monospace font stack.
// A Traditional report is marked zh-TW and prefers the Traditional fonts.
std::string HtmlPage(const ReportPieces& pieces, TextView title,
                     Script script = Script::kSimplified);

}  // namespace xuanshu
