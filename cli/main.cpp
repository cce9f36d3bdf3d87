// xuanshu-cli: computes, reports and lists charts from the command line,
// sharing the desktop program's request step, driver, records and reports.
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace xuanshu::cli;
  if (argc < 2) return UsageError("missing command");
  const std::string_view command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "chart") return RunChartCommand(args);
  if (command == "batch") return RunBatchCommand(args);
  if (command == "report") return RunReportCommand(args);
  if (command == "list") return RunListCommand(args);
  if (command == "terms") return RunTermsCommand(args);
  if (command == "places") return RunPlacesCommand(args);
  if (command == "find") return RunFindCommand(args);
  if (command == "-h" || command == "--help" || command == "help") return PrintHelp();
  return UsageError("unknown command " + std::string(command));
}
