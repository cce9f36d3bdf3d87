// xuanshu-cli list: the history as the desktop tree shows it.
#include <array>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "record/history_store.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 1> kOptions = {{{"home"}}};

}  // namespace

int RunListCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, kOptions, parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (!parsed.positionals.empty()) {
    return UsageError("list takes no argument " + parsed.positionals.front());
  }

  HistoryStore store(DataFolder(HomeFolder(parsed)));
  store.LoadAll();
  std::string out;
  for (const HistoryGroup& group : store.groups()) {
    out += ToUtf8(group.name) + "\n";
    for (const HistoryChart& chart : group.charts) {
      out += "  " + ToUtf8(chart.name) + "\t" + PathUtf8(chart.path) + "\n";
    }
  }
  WriteOut(out);
  return kExitOk;
}

}  // namespace xuanshu::cli
