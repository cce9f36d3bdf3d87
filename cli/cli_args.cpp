#include "cli/cli_args.h"

#include <cstdio>

#include "record/app_config.h"
#include "record/program_home.h"

namespace xuanshu::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "  xuanshu-cli chart --name NAME --sex 男|女 --calendar 公历|农历 --date YYYY-MM-DD [--leap]\n"
    "                    --time HH:MM [--group GROUP] [BIRTH OPTIONS] [--home DIR]\n"
    "  xuanshu-cli batch [FILE] [BIRTH OPTIONS] [--home DIR]\n"
    "  xuanshu-cli report (RECORD_FILE | --name NAME) [--layout 0|1|2] [--extras]\n"
    "                     [--format text|ansi|html|export|pdf|json]\n"
    "                     [--script simplified|traditional] [--out FILE] [--home DIR]\n"
    "  xuanshu-cli list [--home DIR]\n"
    "  xuanshu-cli terms YEAR [--terms formula|astronomical] [--home DIR]\n"
    "  xuanshu-cli places [QUERY]\n"
    "  xuanshu-cli find YEAR MONTH DAY HOUR [--terms formula|astronomical]\n"
    "                   [--zi next-day|same-day] [--home DIR]\n"
    "\n"
    "  chart   compute one chart and save it as DIR/data/NAME.bze; prints the record path\n"
    "          (--leap: the date's month is the leap month of a 农历 year)\n"
    "  batch   compute one chart per line of FILE (standard input when absent or \"-\"),\n"
    "          fields separated by tabs:\n"
    "          NAME SEX CALENDAR YYYY-MM-DD HH:MM [LEAP 0|1 [GROUP [PLACE]]];\n"
    "          prints one line per input line: the record path, or ERROR<TAB>message\n"
    "  report  print the report of a saved chart; layout 0 简易版, 1 标准版, 2 港台版\n"
    "          (default: \"format\" in DIR/Config.ini); --extras adds 纳音, 旬, 胎元, 胎息,\n"
    "          命宫 and 身宫 under the pillar table (default: \"extras\" in Config.ini);\n"
    "          --format json writes the whole chart as JSON (docs/chart.schema.json),\n"
    "          extras included; --out writes it to a file\n"
    "          (\"-\": standard output; a link, pipe or terminal is written through)\n"
    "          (pdf: A4 pages in the desktop program's report font)\n"
    "          --script: Simplified or Traditional characters (default: \"script\" in\n"
    "          DIR/Config.ini, else simplified); a name stays as it was typed\n"
    "  list    print the history: each group, then its charts as \"  NAME<TAB>PATH\"\n"
    "  terms   print the 24 solar terms of YEAR (1900-2050) in Beijing time, 小寒 first\n"
    "  places  print the birthplaces matching QUERY (all without one):\n"
    "          NAME<TAB>PROVINCE/COUNTRY<TAB>LONGITUDE<TAB>LATITUDE<TAB>TIME ZONE\n"
    "  find    list the birth moments in 1901-2049 whose four pillars are YEAR MONTH DAY\n"
    "          HOUR (干支, e.g. find 庚午 辛巳 壬午 甲辰), in time order, one run of minutes\n"
    "          with exactly these pillars a line: YYYY-MM-DD HH:MM–HH:MM, its first and\n"
    "          last minute in Beijing time (no birthplace), with the date it starts on\n"
    "          when it runs over midnight (the 子 hour 23:00–00:59 under --zi next-day);\n"
    "          --terms and --zi as for chart; no moment at all: exit status 1\n"
    "\n"
    "Birth options (without them the settings in Config.ini apply, else the defaults):\n"
    "  --terms formula|astronomical  solar terms from the closed formula (default) or\n"
    "                                the astronomical table\n"
    "  --zi next-day|same-day        23:00-23:59 belongs to the next day (default) or\n"
    "                                keeps its date (夜子时)\n"
    "  --place NAME                  birthplace: true solar time and its zone's history\n"
    "  --longitude DEG               birthplace longitude, e.g. 87.6 or 87°37′ (west negative)\n"
    "  --utc-offset ±HH:MM           the zone the clock kept, for a place outside the table\n"
    "  --dst auto|off                take daylight saving off the clock (auto, the default\n"
    "                                with a place) or not\n"
    "  Warnings about the birth moment go to standard error as lines starting with 提示：\n"
    "\n"
    "  --home DIR  the program folder holding data/ and Config.ini\n"
    "              (default: the folder of the program file)\n"
    "  Messages follow \"script\" in Config.ini (simplified or traditional); records, and\n"
    "  what terms, places and list print, stay as the program stores them (simplified).\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed (message on standard error), 2 bad usage.\n";

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
  for (const OptionSpec& option : specs) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

}  // namespace

const std::string* ParsedArgs::Value(std::string_view name) const {
  const auto it = values.find(name);
  return it == values.end() ? nullptr : &it->second;
}

std::optional<std::string> ParseArgs(std::span<const std::string> args,
                                     std::span<const OptionSpec> specs, ParsedArgs& parsed) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      parsed.help = true;
      continue;
    }
    if (arg[1] != '-') return "unknown option " + arg;
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
    const OptionSpec* option = FindSpec(specs, name);
    if (!option) return "unknown option --" + name;
    if (!option->takesValue) {
      if (equals != std::string::npos) return "--" + name + " takes no value";
      parsed.flags.insert(name);
    } else if (equals != std::string::npos) {
      parsed.values[name] = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      parsed.values[name] = args[++i];
    } else {
      return "--" + name + " needs a value";
    }
  }
  return std::nullopt;
}

std::string_view UsageText() {
  return kUsage;
}

int UsageError(std::string_view problem) {
  WriteErr("xuanshu-cli: ");
  WriteErr(problem);
  WriteErr("\n\n");
  WriteErr(kUsage);
  return kExitUsage;
}

int PrintHelp() {
  WriteOut(kUsage);
  return kExitOk;
}

void WriteOut(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void WriteErr(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

void ErrLine(TextView text) {
  WriteErr(ToUtf8(text));
  WriteErr("\n");
}

std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path HomeFolder(const ParsedArgs& parsed) {
  if (const std::string* home = parsed.Value("home"); home && !home->empty()) {
    return PathFromUtf8(*home);
  }
  return ProgramHome();
}

std::filesystem::path DataFolder(const std::filesystem::path& home) {
  return DataDir(home);
}

void ShowInConfiguredScript(const std::filesystem::path& home) {
  SetShownScript(AppConfig(ConfigPath(home)).ReadScript());
}

}  // namespace xuanshu::cli
