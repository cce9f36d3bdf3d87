// The xuanshu-cli commands; each takes the arguments after its name and
// returns the exit code.
#pragma once

#include <span>
#include <string>

namespace xuanshu::cli {

int RunChartCommand(std::span<const std::string> args);
int RunBatchCommand(std::span<const std::string> args);
int RunReportCommand(std::span<const std::string> args);
int RunListCommand(std::span<const std::string> args);
int RunTermsCommand(std::span<const std::string> args);
int RunPlacesCommand(std::span<const std::string> args);
int RunFindCommand(std::span<const std::string> args);

}  // namespace xuanshu::cli
