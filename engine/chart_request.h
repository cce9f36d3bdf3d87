// The validated input of one chart, and the request step that builds it from
// the input form's texts (shared by the desktop form and the CLI).
#pragma once

#include <filesystem>
#include <variant>

#include "engine/birth_choices.h"
#include "record/text.h"

namespace xuanshu {

inline constexpr std::size_t kMaxNameLength = 49;
inline constexpr std::size_t kMaxGroupLength = 49;

// Shown when ComputeChart returns false.
inline constexpr TextView kChartFailedMessage = u"生成排盘失败！";

struct ChartRequest {
  Text name;
  Text group;
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  std::filesystem::path recordPath;
  bool male = true;
  bool gregorian = true;
  bool leapMonth = false;
  BirthChoices choices;  // the defaults unless the user chose otherwise
};

// The form's fields as texts, exactly as the controls hold them.
struct ChartForm {
  Text name;
  bool maleChecked = false;
  bool femaleChecked = false;
  Text calendar;  // "公历" or "农历"
  Text year;
  Text month;  // "04" or "04 闰月"
  Text day;
  Text hour;
  Text minute;
  Text group;  // already resolved by the caller (tree selection / existing chart)
};

// Either a request, or the message to show for the first field that fails.
using RequestResult = std::variant<ChartRequest, Text>;

// Checks the fields in the form's fixed order and builds the record path
// dataDir / "<name>.bze". The name is taken in Unicode normalisation form C,
// so names that differ only in their form are one chart.
RequestResult BuildChartRequest(const ChartForm& form, const std::filesystem::path& dataDir);

// Empty when the name can be used as a record file name, else the message
// (an unpaired surrogate, which no file name can hold, is refused too).
Text CheckChartName(TextView name);

// The record path of a chart name inside a data folder.
std::filesystem::path RecordPathFor(const std::filesystem::path& dataDir, TextView name);

}  // namespace xuanshu
