// The report of one chart record in one of three layouts, appended piece by
// piece into a sink. Nothing is recomputed: every line comes from the record.
#pragma once

#include <filesystem>

#include "record/app_config.h"
#include "record/ini_document.h"
#include "record/script_text.h"
#include "report/report_output.h"
#include "report/report_sink.h"

namespace xuanshu {

// Layout settings as stored in Config.ini (kSimpleLayout, kStandardLayout and
// kHongKongTaiwanLayout of record/app_config.h); every other value renders the
// standard layout.
inline constexpr int kHongKongLayout = kHongKongTaiwanLayout;

// How a record is rendered: the layout setting, and whether the pillar table
// ends with the additional pillars (纳音, 旬, 胎元, 胎息, 命宫, 身宫; the
// setting 显示附加信息, off by default).
struct ReportOptions {
  int layout = kSimpleLayout;
  bool extras = false;
  // The characters of every text but the user's own.
  Script script = ShownScript();
};

// Reads the record afresh from disk and renders it. Before the annual grid
// section yunqian is rebuilt from the record's own liunian keys; when that
// changes the record, the record is saved (atomically, keeping its mode)
// first, except a record reached through a link or made read-only, which is
// rendered from memory. Always true.
bool RenderChart(const std::filesystem::path& recordPath, const ReportOptions& options,
                 ReportSink& sink);
// The same without the additional pillars.
bool RenderChart(const std::filesystem::path& recordPath, int layout, ReportSink& sink);

// Why a file cannot be shown as a record, in words for the user; empty when
// it can. Refused: a file that cannot be read, one over 64 MB, and one with
// text but no section at all.
Text RecordProblem(const std::filesystem::path& recordPath);

// Renders a record held in memory; section yunqian of `record` is rebuilt
// before the annual grid exactly as on disk. Returns true when that rebuild
// changed the record.
bool RenderChart(IniDocument& record, const ReportOptions& options, ReportSink& sink);
bool RenderChart(IniDocument& record, int layout, ReportSink& sink);

}  // namespace xuanshu
