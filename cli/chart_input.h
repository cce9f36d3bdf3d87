// One chart from command-line texts: the option values of `chart` or the
// fields of one `batch` line go through the form's request step and the
// driver, exactly as the desktop form's chart button does.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/cli_args.h"
#include "engine/chart_engine.h"
#include "engine/chart_request.h"
#include "record/app_config.h"
#include "record/text.h"

namespace xuanshu::cli {

// UTF-8 texts; an empty text is a missing option or field.
struct ChartInput {
  std::string name;
  std::string sex;       // 男 or 女
  std::string calendar;  // 公历 or 农历
  std::string date;      // YYYY-MM-DD
  std::string time;      // HH:MM
  bool leap = false;     // the month is the year's leap month (农历 only)
  std::string group;     // empty: the existing record's group, else 其他
  // Birth-moment choices; empty: the settings of Config.ini, else the defaults.
  std::string terms;      // formula | astronomical
  std::string zi;         // next-day | same-day
  std::string place;      // a place of the table, or a longitude
  std::string longitude;  // overrides the place's
  std::string utcOffset;  // ±HH:MM
  std::string dst;        // auto | off
};

struct ChartOutcome {
  enum class Kind {
    kSaved,     // recordPath holds the new record
    kRefused,   // the program's message: a field check or 生成排盘失败！
    kBadValue,  // a value of the wrong shape (bad usage)
  };
  Kind kind = Kind::kSaved;
  std::filesystem::path recordPath;
  Text message;
  std::vector<Text> warnings;  // of a saved chart, without their label
};

// The request step over the texts: the request to compute, or the outcome
// that ends this chart early (kRefused or kBadValue). `settings` are the
// birth-moment settings of Config.ini, used where the input makes no choice.
std::variant<ChartRequest, ChartOutcome> PrepareChart(const ChartInput& input,
                                                      const std::filesystem::path& dataDir,
                                                      const BirthSettings& settings = {});

// PrepareChart, then the driver with its save.
ChartOutcome ComputeFromInput(ChartEngine& engine, const ChartInput& input,
                              const std::filesystem::path& dataDir,
                              const BirthSettings& settings = {});

// The options that carry birth-moment choices, shared by chart and batch.
inline constexpr std::array<OptionSpec, 6> kBirthOptions = {{
    {"terms"},
    {"zi"},
    {"place"},
    {"longitude"},
    {"utc-offset"},
    {"dst"},
}};
// Copies those options' values into input.
void TakeBirthOptions(const ParsedArgs& parsed, ChartInput& input);
// The message for a bad birth-moment option or setting; nullopt when all are good.
std::optional<Text> CheckBirthOptions(const ChartInput& input, const BirthSettings& settings);
// The birth-moment settings of the program folder's Config.ini.
BirthSettings BirthSettingsOf(const std::filesystem::path& home);

// The warnings on standard error, one "提示：" line each; `who` (a batch
// line's name) comes first when given.
void PrintWarnings(const std::vector<Text>& warnings, TextView who = {});

}  // namespace xuanshu::cli
