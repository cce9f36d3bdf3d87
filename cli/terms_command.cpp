// xuanshu-cli terms: the 24 solar terms of a year in Beijing time, 小寒
// first, from the closed formula or the astronomical table.
#include <array>
#include <cstdio>

#include "calendar/civil_time.h"
#include "calendar/solar_terms.h"
#include "calendar/term_source.h"
#include "cli/chart_input.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "record/program_home.h"
#include "record/script_text.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 2> kOptions = {{{"terms"}, {"home"}}};
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2050;
constexpr TextView kBadYear = u"年份应在1900至2050之间";

std::optional<int> YearOf(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int year = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    year = year * 10 + (c - '0');
  }
  if (year < kFirstYear || year > kLastYear) return std::nullopt;
  return year;
}

std::string TermLine(int index, std::int64_t seconds) {
  const CivilTime t = CivilTimeOf(seconds);
  char moment[64];
  std::snprintf(moment, sizeof moment, "\t%04d-%02d-%02d %02d:%02d:%02d\n", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return ToUtf8(kSolarTermNames[index]) + moment;
}

}  // namespace

int RunTermsCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, kOptions, parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (parsed.positionals.size() != 1) return UsageError("terms takes one YEAR");

  ShowInConfiguredScript(HomeFolder(parsed));
  const std::optional<int> year = YearOf(parsed.positionals.front());
  if (!year) {
    ErrLine(Shown(kBadYear));
    return kExitFailed;
  }
  const std::string* option = parsed.Value("terms");
  const Text key = option != nullptr && !option->empty()
                       ? FromUtf8(*option)
                       : BirthSettingsOf(HomeFolder(parsed)).terms;
  const TermSource* source = key.empty() ? &FormulaTermSource() : TermSourceByKey(ToUtf8(key));
  if (!source) {
    ErrLine(Shown(u"节气方式只能是formula（公式）或astronomical（天文）"));
    return kExitFailed;
  }
  std::string out;
  for (int index = 0; index < 24; ++index)
    out += TermLine(index, source->TermSeconds(*year, index));
  WriteOut(out);
  return kExitOk;
}

}  // namespace xuanshu::cli
