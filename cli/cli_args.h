// Command-line plumbing shared by the xuanshu-cli commands: option parsing,
// the usage text, UTF-8 output and the program folder.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "record/text.h"

namespace xuanshu::cli {

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct OptionSpec {
  std::string_view name;  // without the leading "--"
  bool takesValue = true;
};

struct ParsedArgs {
  std::map<std::string, std::string, std::less<>> values;  // last occurrence wins
  std::set<std::string, std::less<>> flags;
  std::vector<std::string> positionals;
  bool help = false;  // -h or --help

  const std::string* Value(std::string_view name) const;
  bool Has(std::string_view name) const { return flags.contains(name); }
};

// Accepts "--name VALUE", "--name=VALUE", flags, positionals and "--" ending
// the options. Returns the problem text on bad usage.
std::optional<std::string> ParseArgs(std::span<const std::string> args,
                                     std::span<const OptionSpec> specs, ParsedArgs& parsed);

// The usage text of every command.
std::string_view UsageText();

// Prints "xuanshu-cli: PROBLEM" and the usage text on standard error;
// returns kExitUsage.
int UsageError(std::string_view problem);
// Prints the usage text on standard output; returns kExitOk.
int PrintHelp();

void WriteOut(std::string_view utf8);
void WriteErr(std::string_view utf8);
// One line of UTF-16 text on standard error.
void ErrLine(TextView text);

std::string PathUtf8(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The program folder: --home when given, else the folder of the program file
// (or the per-user data folder when that one is not writable), as the
// desktop program uses it.
std::filesystem::path HomeFolder(const ParsedArgs& parsed);
std::filesystem::path DataFolder(const std::filesystem::path& home);

// Messages from now on in the script of the program folder's Config.ini.
void ShowInConfiguredScript(const std::filesystem::path& home);

}  // namespace xuanshu::cli
