// xuanshu-cli list: the history as the desktop tree shows it.
#include <array>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "record/history_store.h"
#include "record/record_file.h"

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

  const std::filesystem::path home = HomeFolder(parsed);
  ShowInConfiguredScript(home);
  HistoryStore store(DataFolder(home));
  store.LoadExisting();  // a reading command creates nothing
  // Control characters shown escaped, so each chart stays one line and a
  // terminal obeys nothing in a name.
  const auto shown = [](TextView text) { return ToUtf8(EscapeControls(text)); };
  std::string out;
  for (const HistoryGroup& group : store.groups()) {
    out += shown(group.name) + "\n";
    for (const HistoryChart& chart : group.charts) {
      out += "  " + shown(chart.name) + "\t" + shown(TextFromPath(chart.path)) + "\n";
    }
  }
  WriteOut(out);
  return kExitOk;
}

}  // namespace xuanshu::cli
