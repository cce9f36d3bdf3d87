// xuanshu-cli chart: the form's chart button from the command line.
#include <array>
#include <vector>

#include "cli/chart_input.h"
#include "cli/cli_args.h"
#include "cli/commands.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 8> kFormOptions = {{
    {"name"},
    {"sex"},
    {"calendar"},
    {"date"},
    {"time"},
    {"leap", false},
    {"group"},
    {"home"},
}};

std::vector<OptionSpec> Options() {
  std::vector<OptionSpec> options(kFormOptions.begin(), kFormOptions.end());
  options.insert(options.end(), kBirthOptions.begin(), kBirthOptions.end());
  return options;
}

std::string ValueOf(const ParsedArgs& parsed, std::string_view name) {
  const std::string* value = parsed.Value(name);
  return value ? *value : std::string();
}

}  // namespace

int RunChartCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, Options(), parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (!parsed.positionals.empty()) {
    return UsageError("chart takes no argument " + parsed.positionals.front());
  }

  ChartInput input;
  input.name = ValueOf(parsed, "name");
  input.sex = ValueOf(parsed, "sex");
  input.calendar = ValueOf(parsed, "calendar");
  input.date = ValueOf(parsed, "date");
  input.time = ValueOf(parsed, "time");
  input.leap = parsed.Has("leap");
  input.group = ValueOf(parsed, "group");
  TakeBirthOptions(parsed, input);

  ChartEngine engine;
  const std::filesystem::path home = HomeFolder(parsed);
  ShowInConfiguredScript(home);
  const ChartOutcome outcome =
      ComputeFromInput(engine, input, DataFolder(home), BirthSettingsOf(home));
  switch (outcome.kind) {
    case ChartOutcome::Kind::kBadValue:
      return UsageError(ToUtf8(outcome.message));
    case ChartOutcome::Kind::kRefused:
      ErrLine(outcome.message);
      return kExitFailed;
    case ChartOutcome::Kind::kSaved:
      break;
  }
  WriteOut(PathUtf8(outcome.recordPath) + "\n");
  PrintWarnings(outcome.warnings);
  return kExitOk;
}

}  // namespace xuanshu::cli
