// xuanshu-cli batch: many charts at once, one per tab-separated line, with
// the same meanings and checks as `chart`. A bad line never stops the rest.
#include <array>
#include <fstream>
#include <iostream>
#include <vector>

#include "cli/chart_input.h"
#include "cli/cli_args.h"
#include "cli/commands.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 1> kOptions = {{{"home"}}};
constexpr std::size_t kMaxFields = 7;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr TextView kBadLeap = u"闰月标记只能是0或1";
constexpr TextView kTooManyFields = u"字段过多：每行最多7个字段";

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.emplace_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// NAME SEX CALENDAR YYYY-MM-DD HH:MM [LEAP 0|1 [GROUP]]
ChartOutcome ComputeLine(ChartEngine& engine, std::string_view line,
                         const std::filesystem::path& dataDir) {
  std::vector<std::string> fields = SplitTabs(line);
  if (fields.size() > kMaxFields) {
    return {ChartOutcome::Kind::kBadValue, {}, Text(kTooManyFields)};
  }
  fields.resize(kMaxFields);
  const std::string& leap = fields[5];
  if (!leap.empty() && leap != "0" && leap != "1") {
    return {ChartOutcome::Kind::kBadValue, {}, Text(kBadLeap)};
  }
  ChartInput input{fields[0], fields[1], fields[2], fields[3], fields[4], leap == "1", fields[6]};
  return ComputeFromInput(engine, input, dataDir);
}

bool ComputeAll(std::istream& in, const std::filesystem::path& dataDir) {
  ChartEngine engine;
  bool allSaved = true;
  std::string line;
  for (bool first = true; std::getline(in, line); first = false) {
    if (first && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const ChartOutcome outcome = ComputeLine(engine, line, dataDir);
    if (outcome.kind == ChartOutcome::Kind::kSaved) {
      WriteOut(PathUtf8(outcome.recordPath) + "\n");
    } else {
      allSaved = false;
      WriteOut("ERROR\t" + ToUtf8(outcome.message) + "\n");
    }
  }
  return allSaved;
}

}  // namespace

int RunBatchCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, kOptions, parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (parsed.positionals.size() > 1) return UsageError("batch takes at most one FILE");

  const std::filesystem::path dataDir = DataFolder(HomeFolder(parsed));
  if (parsed.positionals.empty() || parsed.positionals.front() == "-") {
    return ComputeAll(std::cin, dataDir) ? kExitOk : kExitFailed;
  }
  const std::string& file = parsed.positionals.front();
  std::ifstream in(PathFromUtf8(file), std::ios::binary);
  if (!in) {
    WriteErr("xuanshu-cli: cannot read " + file + "\n");
    return kExitFailed;
  }
  return ComputeAll(in, dataDir) ? kExitOk : kExitFailed;
}

}  // namespace xuanshu::cli
