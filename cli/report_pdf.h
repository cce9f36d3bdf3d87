// The report as a PDF document for xuanshu-cli, made by the desktop
// program's print document on Qt's offscreen platform, so no display is
// needed. Built without Qt, there is no PDF.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "record/text.h"
#include "report/report_sink.h"

namespace xuanshu::cli {

// False when this build has no PDF output.
bool CanWritePdf();

// The PDF bytes, set in the desktop program's saved report font (in `home`)
// or its default font; nullopt when no PDF can be made.
std::optional<std::string> ReportPdfBytes(const ReportPieces& pieces, TextView title,
                                          const std::filesystem::path& home);

}  // namespace xuanshu::cli
