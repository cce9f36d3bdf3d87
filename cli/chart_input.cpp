#include "cli/chart_input.h"

#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "engine/chart_request.h"
#include "record/folder_lock.h"
#include "record/history_store.h"
#include "record/program_home.h"
#include "record/record_file.h"
#include "record/script_text.h"
#include "record/unicode_nfc.h"

namespace xuanshu::cli {
namespace {

constexpr TextView kBadSex = u"性别只能是男或女";
constexpr TextView kBadCalendar = u"日历类别只能是公历或农历";
constexpr TextView kBadDate = u"日期应写作YYYY-MM-DD";
constexpr TextView kBadTime = u"时间应写作HH:MM";
constexpr TextView kLeapMark = u" 闰月";
constexpr TextView kNameNotFileName = u"姓名不能用作文件名";

// Splits "2024-02-29" or "08:05" into parts of 1 to maxDigits ASCII digits;
// nullopt when the text has another shape.
std::optional<std::vector<std::string_view>> SplitNumbers(std::string_view text, char separator,
                                                          std::size_t count,
                                                          std::size_t maxDigits) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t end = text.find(separator);
    parts.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  if (parts.size() != count) return std::nullopt;
  for (std::string_view part : parts) {
    if (part.empty() || part.size() > maxDigits) return std::nullopt;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
    }
  }
  return parts;
}

Text Utf16(std::string_view utf8) {
  return FromUtf8(utf8);
}

// The group of an existing record of this name, so a recomputed chart stays
// where the user filed it; nullopt when something is there that cannot be
// read, so the group would only be a guess.
std::optional<Text> ExistingGroup(const Text& name, const std::filesystem::path& dataDir) {
  if (!CheckChartName(name).empty()) return Text();
  const std::filesystem::path path = RecordPathFor(dataDir, name);
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return Text();
  const std::optional<RecordMainKeys> keys = ReadRecordMainKeys(path);
  if (!keys) return std::nullopt;
  return keys->group;
}

ChartOutcome BadValue(TextView message) {
  return {ChartOutcome::Kind::kBadValue, {}, Shown(message), {}};
}

ChartOutcome Refused(TextView message) {
  return {ChartOutcome::Kind::kRefused, {}, Text(message), {}};
}

// The input's choices, with the settings where the input makes none; the
// settings' birthplace counts only when no place or longitude was given.
BirthChoiceTexts ChoiceTexts(const ChartInput& input, const BirthSettings& settings) {
  BirthChoiceTexts texts;
  texts.terms = input.terms.empty() ? settings.terms : Utf16(input.terms);
  texts.zi = input.zi.empty() ? settings.zi : Utf16(input.zi);
  const bool placeGiven = !input.place.empty() || !input.longitude.empty();
  texts.place = placeGiven ? Utf16(input.place) : settings.place;
  texts.longitude = Utf16(input.longitude);
  texts.utcOffset = Utf16(input.utcOffset);
  texts.dst = Utf16(input.dst);
  return texts;
}

}  // namespace

std::variant<ChartRequest, ChartOutcome> PrepareChart(const ChartInput& input,
                                                      const std::filesystem::path& dataDir,
                                                      const BirthSettings& settings) {
  if (!input.sex.empty() && input.sex != "男" && input.sex != "女") return BadValue(kBadSex);
  // 公曆 and 農曆, as a Traditional program writes them, are the same calendars.
  const std::string calendar = ToUtf8(SimplifiedOf(Utf16(input.calendar)));
  if (!calendar.empty() && calendar != "公历" && calendar != "农历") {
    return BadValue(kBadCalendar);
  }
  const auto date = SplitNumbers(input.date, '-', 3, 4);
  if (!input.date.empty() && !date) return BadValue(kBadDate);
  const auto time = SplitNumbers(input.time, ':', 2, 2);
  if (!input.time.empty() && !time) return BadValue(kBadTime);

  // Bytes that are no UTF-8 would turn into U+FFFD, and different names
  // into one file.
  if (!IsValidUtf8(input.name))
    return ChartOutcome{ChartOutcome::Kind::kRefused, {}, Shown(kNameNotFileName)};

  ChartForm form;
  form.name = ToNfc(Utf16(input.name));
  form.maleChecked = input.sex == "男";
  form.femaleChecked = input.sex == "女";
  form.calendar = Utf16(calendar);
  if (date) {
    form.year = Utf16((*date)[0]);
    form.month = Utf16((*date)[1]);
    if (input.leap) form.month += kLeapMark;
    form.day = Utf16((*date)[2]);
  }
  if (time) {
    form.hour = Utf16((*time)[0]);
    form.minute = Utf16((*time)[1]);
  }
  if (input.group.empty()) {
    std::optional<Text> group = ExistingGroup(form.name, dataDir);
    if (!group) {
      return Refused(Shown(kChartFailedMessage) + Shown(u"无法读取已有的排盘记录“") +
                     TextFromPath(RecordPathFor(dataDir, form.name)) + u"”");
    }
    form.group = std::move(*group);
  } else {
    form.group = Utf16(input.group);
  }

  RequestResult result = BuildChartRequest(form, dataDir);
  if (const Text* message = std::get_if<Text>(&result)) return Refused(*message);
  auto choices = ResolveBirthChoices(ChoiceTexts(input, settings));
  if (const Text* message = std::get_if<Text>(&choices)) return Refused(*message);
  ChartRequest request = std::get<ChartRequest>(std::move(result));
  request.choices = std::get<BirthChoices>(std::move(choices));
  return request;
}

ChartOutcome ComputeFromInput(ChartEngine& engine, const ChartInput& input,
                              const std::filesystem::path& dataDir, const BirthSettings& settings) {
  RemoveStaleTemporariesIn(dataDir);
  // Held from reading the existing record's group to the save, so an edit
  // of that record in between is neither lost nor undone.
  const FolderLock lock = FolderLock::Lock(dataDir);
  auto prepared = PrepareChart(input, dataDir, settings);
  if (const ChartOutcome* early = std::get_if<ChartOutcome>(&prepared)) return *early;
  const ChartRequest& request = std::get<ChartRequest>(prepared);
  Text failure;
  if (!ComputeChart(engine, request, &failure)) return Refused(failure);
  return {ChartOutcome::Kind::kSaved, request.recordPath, {}, engine.warnings};
}

void TakeBirthOptions(const ParsedArgs& parsed, ChartInput& input) {
  const auto value = [&parsed](std::string_view name) {
    const std::string* text = parsed.Value(name);
    return text ? *text : std::string();
  };
  input.terms = value("terms");
  input.zi = value("zi");
  input.place = value("place");
  input.longitude = value("longitude");
  input.utcOffset = value("utc-offset");
  input.dst = value("dst");
}

std::optional<Text> CheckBirthOptions(const ChartInput& input, const BirthSettings& settings) {
  auto choices = ResolveBirthChoices(ChoiceTexts(input, settings));
  if (const Text* message = std::get_if<Text>(&choices)) return *message;
  return std::nullopt;
}

BirthSettings BirthSettingsOf(const std::filesystem::path& home) {
  return AppConfig(ConfigPath(home)).ReadBirthSettings();
}

void PrintWarnings(const std::vector<Text>& warnings, TextView who) {
  for (const Text& warning : warnings) {
    Text line = Shown(u"提示：");
    if (!who.empty()) (line += who) += u'：';
    ErrLine(line + Shown(warning));
  }
}

}  // namespace xuanshu::cli
