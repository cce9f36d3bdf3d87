// xuanshu-cli find: the birth moments of four pillars (八字反查) in
// 1901-2049, Beijing time, under the term source and 子 school in force.
#include <array>

#include "calendar/pillar_check.h"
#include "calendar/pillar_search.h"
#include "cli/chart_input.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "engine/birth_choices.h"
#include "record/script_text.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 3> kOptions = {{{"terms"}, {"zi"}, {"home"}}};
constexpr TextView kNoMoment = u"1901年至2049年间没有这组八字的出生时间";

// The options, else the settings of Config.ini, else the defaults; a
// birthplace plays no part, the moments being Beijing time.
std::variant<BirthChoices, Text> ChoicesOf(const ParsedArgs& parsed) {
  const BirthSettings settings = BirthSettingsOf(HomeFolder(parsed));
  BirthChoiceTexts texts;
  const std::string* terms = parsed.Value("terms");
  const std::string* zi = parsed.Value("zi");
  texts.terms = terms && !terms->empty() ? FromUtf8(*terms) : settings.terms;
  texts.zi = zi && !zi->empty() ? FromUtf8(*zi) : settings.zi;
  return ResolveBirthChoices(texts);
}

}  // namespace

int RunFindCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, kOptions, parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (parsed.positionals.size() != 4)
    return UsageError("find takes four pillars: YEAR MONTH DAY HOUR");

  ShowInConfiguredScript(HomeFolder(parsed));
  const auto choices = ChoicesOf(parsed);
  if (const Text* message = std::get_if<Text>(&choices)) {
    ErrLine(*message);
    return kExitFailed;
  }
  const BirthChoices& chosen = std::get<BirthChoices>(choices);
  std::array<Text, 4> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = FromUtf8(parsed.positionals[i]);
  const auto pillars = CheckFourPillars(texts, *chosen.ziSchool);
  if (const Text* message = std::get_if<Text>(&pillars)) {
    ErrLine(*message);
    return kExitFailed;
  }
  const std::vector<BirthWindow> windows =
      FindBirthWindows(std::get<FourPillars>(pillars), *chosen.terms, *chosen.ziSchool);
  if (windows.empty()) {
    ErrLine(Shown(kNoMoment));
    return kExitFailed;
  }
  std::string out;
  for (const BirthWindow& window : windows) out += ToUtf8(BirthWindowText(window)) + "\n";
  WriteOut(out);
  return kExitOk;
}

}  // namespace xuanshu::cli
