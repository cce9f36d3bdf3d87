#include "report/report_renderer.h"

#include "record/record_file.h"
#include "report/layout_renderer.h"

namespace xuanshu {

bool RenderChart(const std::filesystem::path& recordPath, int layout, ReportSink& sink) {
  IniDocument record = LoadIniFile(recordPath);
  // A failed save is ignored, like every record write of the program.
  const auto save = [&recordPath](const IniDocument& changed) { SaveIniFile(changed, recordPath); };
  LayoutRenderer(record, LayoutKindOf(layout), sink, save).Render();
  return true;
}

bool RenderChart(IniDocument& record, int layout, ReportSink& sink) {
  return LayoutRenderer(record, LayoutKindOf(layout), sink).Render();
}

}  // namespace xuanshu
