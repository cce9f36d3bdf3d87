#include "report/report_renderer.h"

#include <sys/stat.h>
#include <unistd.h>

#include "engine/chart_engine.h"
#include "record/folder_lock.h"
#include "record/record_file.h"
#include "report/layout_renderer.h"

namespace xuanshu {
namespace {

// Records are read whole up to this size; a larger file is no record.
constexpr std::size_t kMaxRecordBytes = 64u << 20;

// A plain file the user lets the program change: not a link (its target may
// lie anywhere, and replacing the link would cut it off), not made read-only.
bool MayRewrite(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) != 0 &&
         ::access(path.c_str(), W_OK) == 0;
}

// The rendering's one write: section yunqian rebuilt on the record as it is
// on disk now, under the folder's lock, so an edit saved meanwhile by
// another program is kept. Any other record is rendered from memory only.
void RewriteYearsBeforeLuck(const std::filesystem::path& path) {
  const FolderLock lock = FolderLock::Lock(path.parent_path());
  if (lock.busy() || !MayRewrite(path)) return;
  const std::optional<Text> text = ReadTextFile(path, kMaxRecordBytes);
  if (!text) return;
  IniDocument record = IniDocument::Parse(*text);
  const IniDocument before = record;
  WriteYearsBeforeLuck(record);
  if (record.Serialize() == before.Serialize()) return;
  SaveIniFile(record, path);  // a failed save is ignored, like every record write
}

}  // namespace

bool RenderChart(const std::filesystem::path& recordPath, const ReportOptions& options,
                 ReportSink& sink) {
  IniDocument record = LoadIniFile(recordPath);
  const auto save = [&recordPath](const IniDocument&) { RewriteYearsBeforeLuck(recordPath); };
  LayoutRenderer(record, LayoutKindOf(options.layout), options.extras, sink, options.script, save)
      .Render();
  return true;
}

bool RenderChart(const std::filesystem::path& recordPath, int layout, ReportSink& sink) {
  return RenderChart(recordPath, ReportOptions{.layout = layout}, sink);
}

bool RenderChart(IniDocument& record, const ReportOptions& options, ReportSink& sink) {
  return LayoutRenderer(record, LayoutKindOf(options.layout), options.extras, sink, options.script)
      .Render();
}

bool RenderChart(IniDocument& record, int layout, ReportSink& sink) {
  return RenderChart(record, ReportOptions{.layout = layout}, sink);
}

Text RecordProblem(const std::filesystem::path& recordPath) {
  const Text quoted = u"“" + TextFromPath(recordPath) + u"”";
  struct stat info {};
  if (::stat(recordPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::size_t>(info.st_size) > kMaxRecordBytes) {
    return quoted + Shown(u"过大，不是排盘记录");
  }
  const std::optional<Text> text = ReadTextFile(recordPath, kMaxRecordBytes);
  if (!text) return Shown(u"无法读取排盘记录") + quoted;
  // An empty file is what a failed computation leaves; it still renders.
  if (!text->empty() && IniDocument::Parse(*text).empty()) return quoted + Shown(u"不是排盘记录");
  return {};
}

}  // namespace xuanshu
