// The request step and the driver on any form: the input is the form's
// fields separated by tabs (name, sex, calendar, year, month, day, hour,
// minute, group). Properties: an accepted name is a usable file name in form
// C and its record path lies inside the data folder; names that differ only
// in their Unicode form give one path; a computed record survives
// save -> parse unchanged and renders the same twice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/chart_engine.h"
#include "engine/chart_request.h"
#include "fuzz/fuzz_check.h"
#include "record/record_file.h"
#include "record/unicode_nfc.h"
#include "report/report_renderer.h"

namespace xuanshu {
namespace {

std::vector<Text> Fields(std::string_view bytes) {
  std::vector<Text> fields;
  while (fields.size() < 9) {
    const std::size_t tab = bytes.find('\t');
    fields.push_back(FromUtf8(bytes.substr(0, tab)));
    if (tab == std::string_view::npos) break;
    bytes.remove_prefix(tab + 1);
  }
  fields.resize(9);
  return fields;
}

}  // namespace
}  // namespace xuanshu

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace xuanshu;
  if (size > 4096) return 0;
  const std::vector<Text> f = Fields(std::string_view(reinterpret_cast<const char*>(data), size));
  ChartForm form;
  form.name = f[0];
  form.maleChecked = f[1] == u"男";
  form.femaleChecked = f[1] == u"女";
  form.calendar = f[2];
  form.year = f[3];
  form.month = f[4];
  form.day = f[5];
  form.hour = f[6];
  form.minute = f[7];
  form.group = f[8];
  const std::filesystem::path dataDir = "/fuzz/home/data";
  RequestResult result = BuildChartRequest(form, dataDir);
  const ChartRequest* request = std::get_if<ChartRequest>(&result);
  if (request == nullptr) return 0;

  const Text& name = request->name;
  FUZZ_CHECK(CheckChartName(name).empty());
  FUZZ_CHECK(ToNfc(name) == name);
  FUZZ_CHECK(FromUtf8(ToUtf8(name)) == name);
  FUZZ_CHECK(request->recordPath.lexically_normal().parent_path() == dataDir);
  FUZZ_CHECK(request->recordPath.filename() == PathFromText(name + u".bze"));
  FUZZ_CHECK(!HasControlCharacter(request->group) && CharacterCount(request->group) <= 49);
  ChartForm composed = form;
  composed.name = ToNfc(form.name);
  const RequestResult again = BuildChartRequest(composed, dataDir);
  FUZZ_CHECK(std::get<ChartRequest>(again).recordPath == request->recordPath);

  static ChartEngine engine;
  ChartRecord record;
  if (!ComputeChartRecord(engine, *request, record)) return 0;
  const std::string saved = ToUtf8(record.Serialize());
  const IniDocument reread = IniDocument::Parse(DecodeFileBytes(saved));
  FUZZ_CHECK(reread.Serialize() == record.Serialize());
  FUZZ_CHECK(reread.ReadString(u"main", u"name") == name);
  CollectingSink once, twice;
  IniDocument copy = reread;
  FUZZ_CHECK(!RenderChart(copy, 1, once));  // a computed record needs no rewrite
  RenderChart(copy, 1, twice);
  FUZZ_CHECK(once.PlainText() == twice.PlainText());
  return 0;
}
