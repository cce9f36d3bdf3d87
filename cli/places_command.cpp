// xuanshu-cli places: the birthplaces the program knows, all of them or
// those matching a query, as the form's birthplace field offers them.
#include <array>
#include <cstdio>
#include <limits>

#include "calendar/places.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "record/script_text.h"

namespace xuanshu::cli {
namespace {

constexpr std::array<OptionSpec, 0> kOptions = {};
constexpr TextView kNoMatch = u"没有匹配的出生地";

std::string PlaceLine(const Place& place) {
  char coordinates[64];
  std::snprintf(coordinates, sizeof coordinates, "\t%.4f\t%.4f\t", place.longitude, place.latitude);
  return ToUtf8(place.name) + "\t" + ToUtf8(place.region) + coordinates + std::string(place.zone) +
         "\n";
}

}  // namespace

int RunPlacesCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, kOptions, parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (parsed.positionals.size() > 1) return UsageError("places takes at most one QUERY");

  ShowInConfiguredScript(HomeFolder(parsed));
  std::string out;
  if (parsed.positionals.empty()) {
    for (const Place& place : AllPlaces()) out += PlaceLine(place);
  } else {
    const Text query = FromUtf8(parsed.positionals.front());
    for (const Place* place : SearchPlaces(query, std::numeric_limits<std::size_t>::max())) {
      out += PlaceLine(*place);
    }
  }
  if (out.empty()) {
    ErrLine(Shown(kNoMatch));
    return kExitFailed;
  }
  WriteOut(out);
  return kExitOk;
}

}  // namespace xuanshu::cli
