// The request step: checks the form's fields in their fixed order and turns
// them into a ChartRequest, or into the one message for the first failure.
#include "engine/chart_request.h"

#include <algorithm>
#include <array>
#include <climits>

#include "record/record_file.h"
#include "record/script_text.h"
#include "record/unicode_nfc.h"

namespace xuanshu {
namespace {

constexpr TextView kEnterName = u"请输入姓名";
constexpr TextView kChooseSex = u"请选择性别";
constexpr TextView kEnterCalendar = u"请输入日历类别";
constexpr TextView kEnterYear = u"请输入年份";
constexpr TextView kEnterMonth = u"请输入月份";
constexpr TextView kEnterDate = u"请输入日期";
constexpr TextView kNameTooLong = u"姓名不能超过49个字";
constexpr TextView kNameNotFileName = u"姓名不能用作文件名";
constexpr TextView kGregorian = u"公历";
constexpr TextView kLeapMark = u"闰月";
constexpr TextView kDefaultGroup = u"其他";

int FieldValue(TextView text) {
  return static_cast<int>(std::clamp<long long>(LeadingInt(text), INT_MIN, INT_MAX));
}

bool IsForbiddenInFileName(char16_t c) {
  constexpr TextView kReserved = u"/\\:*?\"<>|";
  return IsControlCharacter(c) || kReserved.find(c) != TextView::npos;
}

// A group is stored as one line of the record, so line breaks and other
// control characters cannot be part of it.
Text GroupOf(TextView group) {
  Text kept;
  for (char16_t c : group) {
    if (!IsControlCharacter(c)) kept += c;
  }
  return kept.empty() ? Text(kDefaultGroup) : CutToCharacters(kept, kMaxGroupLength);
}

char16_t AsciiUpper(char16_t c) {
  return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c;
}

bool EqualsIgnoringCase(TextView text, TextView upper) {
  return text.size() == upper.size() &&
         std::equal(text.begin(), text.end(), upper.begin(),
                    [](char16_t a, char16_t b) { return AsciiUpper(a) == b; });
}

// Windows also counts the superscript digits ¹ ² ³ as port numbers.
bool IsPortDigit(char16_t c) {
  return (c >= u'1' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows, whatever
// extension follows them.
bool IsWindowsDeviceName(TextView name) {
  TextView stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  static constexpr std::array<TextView, 4> kDevices = {u"CON", u"PRN", u"AUX", u"NUL"};
  for (TextView device : kDevices) {
    if (EqualsIgnoringCase(stem, device)) return true;
  }
  if (stem.size() != 4 || !IsPortDigit(stem[3])) return false;
  const TextView prefix = stem.substr(0, 3);
  return EqualsIgnoringCase(prefix, u"COM") || EqualsIgnoringCase(prefix, u"LPT");
}

bool IsUsableFileName(TextView name) {
  if (name == u"." || name == u"..") return false;
  if (name.front() == u' ' || name.back() == u' ' || name.back() == u'.') return false;
  if (std::any_of(name.begin(), name.end(), IsForbiddenInFileName)) return false;
  return !IsWindowsDeviceName(name);
}

// An unpaired surrogate would become U+FFFD in the file name, so two
// different names would share one record.
bool HasUnpairedSurrogate(TextView name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c >= 0xDC00 && c <= 0xDFFF) return true;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 == name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return true;
      ++i;
    }
  }
  return false;
}

}  // namespace

Text CheckChartName(TextView name) {
  if (name.empty()) return Shown(kEnterName);
  if (CharacterCount(name) > kMaxNameLength) return Shown(kNameTooLong);
  if (!IsUsableFileName(name) || HasUnpairedSurrogate(name)) return Shown(kNameNotFileName);
  return {};
}

std::filesystem::path RecordPathFor(const std::filesystem::path& dataDir, TextView name) {
  Text fileName(name);
  fileName += u".bze";
  return dataDir / PathFromText(fileName);
}

RequestResult BuildChartRequest(const ChartForm& form, const std::filesystem::path& dataDir) {
  ChartRequest request;
  // Names that differ only in their Unicode form are one chart.
  request.name = ToNfc(form.name);
  if (Text message = CheckChartName(request.name); !message.empty()) return message;

  if (!form.maleChecked && !form.femaleChecked) return Shown(kChooseSex);
  request.male = !form.femaleChecked;  // 女 is tested last and wins

  if (form.calendar.empty()) return Shown(kEnterCalendar);
  request.gregorian = form.calendar == kGregorian;

  if (form.year.empty()) return Shown(kEnterYear);
  request.year = FieldValue(form.year);

  if (form.month.empty()) return Shown(kEnterMonth);
  request.month = FieldValue(form.month);
  request.leapMonth = !request.gregorian && Contains(form.month, kLeapMark);

  if (form.day.empty() || form.hour.empty() || form.minute.empty()) return Shown(kEnterDate);
  request.day = FieldValue(form.day);
  request.hour = FieldValue(form.hour);
  request.minute = FieldValue(form.minute);

  request.group = GroupOf(form.group);
  request.recordPath = RecordPathFor(dataDir, request.name);
  return request;
}

}  // namespace xuanshu
