#include "report/report_operations.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "report/report_format.h"

namespace xuanshu {
namespace {

// clang-format off
constexpr std::array<TextView, 10> kDigitWords = {u"零", u"一", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九"};
constexpr std::array<TextView, 12> kMonthWords = {u"正", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九", u"十", u"十一", u"十二"};
constexpr std::array<TextView, 12> kHourBranchNames = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳", u"午", u"未", u"申", u"酉", u"戌", u"亥"};
constexpr TextView kYearWord = u"年";
constexpr TextView kLeapMonthFormat = u"（闰）%s";
constexpr TextView kMonthWord = u"月";
constexpr TextView kFirstDecadePrefix = u"初";
constexpr TextView kTenWord = u"十";
constexpr TextView kHourWord = u"时";
constexpr TextView kLateZiNote = u"［子时：一日之始，23时至1时］";
constexpr TextView kNatalClashGap = u"　　　";
constexpr TextView kLuckClashGap = u"　　";
constexpr TextView kYearsOpen = u"（";
// clang-format on

// A part of a natal clash value longer than this is not followed by a gap.
constexpr std::size_t kNatalClashCellWidth = 8;

TextView DigitWord(long long digit) {
  return kDigitWords[static_cast<std::size_t>(digit % 10)];
}

void AppendLunarYear(Text& out, long long year) {
  // Only four digits are written; years outside 1000-9999 keep their last four.
  const long long y = (year < 0 ? -year : year) % 10000;
  for (long long unit = 1000; unit > 0; unit /= 10) out.append(DigitWord(y / unit));
  out.append(kYearWord);
}

void AppendLunarMonth(Text& out, long long month, long long leap) {
  const TextView word =
      (month >= 1 && month <= 12) ? kMonthWords[static_cast<std::size_t>(month - 1)] : TextView{};
  if (leap != 0) {
    AppendFormat(out, kLeapMonthFormat, {word});
  } else {
    out.append(word);
  }
  out.append(kMonthWord);
}

void AppendLunarDay(Text& out, long long day) {
  if (day < 1) return;
  if (day <= 10) {
    out.append(kFirstDecadePrefix);
    out.append(day == 10 ? kTenWord : DigitWord(day));
    return;
  }
  const long long tens = (day / 10) % 10;
  const long long units = day % 10;
  if (tens > 1) out.append(DigitWord(tens));
  out.append(kTenWord);
  if (units > 0) out.append(DigitWord(units));
}

void AppendLunarHour(Text& out, long long hour, bool lateZiNote) {
  const long long branch = (((hour + 1) / 2) % 12 + 12) % 12;
  out.append(kHourBranchNames[static_cast<std::size_t>(branch)]);
  out.append(kHourWord);
  if (hour == 23 && lateZiNote) out.append(kLateZiNote);
}

}  // namespace

YearKey::YearKey(long long year, TextView suffix) {
  char16_t digits[24];
  std::size_t count = 0;
  unsigned long long magnitude = year < 0 ? 0ULL - static_cast<unsigned long long>(year)
                                          : static_cast<unsigned long long>(year);
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (year < 0) chars_[size_++] = u'-';
  while (count > 0) chars_[size_++] = digits[--count];
  const std::size_t take = std::min(suffix.size(), std::size(chars_) - size_);
  std::copy_n(suffix.begin(), take, chars_ + size_);
  size_ += take;
}

std::vector<TextView> SplitSlashList(TextView value) {
  std::vector<TextView> items;
  std::size_t start = 0;
  for (std::size_t slash = value.find(u'/'); slash != TextView::npos;
       slash = value.find(u'/', start)) {
    items.push_back(value.substr(start, slash - start));
    start = slash + 1;
  }
  return items;
}

SplitParts SplitAtSpace(TextView value) {
  const std::size_t space = value.find(u' ');
  if (space == TextView::npos) return {value, {}, false};
  return {value.substr(0, space), value.substr(space + 1), true};
}

TextView CharactersAt(TextView value, std::size_t offset, std::size_t count) {
  if (offset >= value.size()) return {};
  return value.substr(offset, count);
}

Text LunarDateText(long long year, long long month, long long day, long long hour, long long leap,
                   bool lateZiNote) {
  Text out;
  AppendLunarYear(out, year);
  AppendLunarMonth(out, month, leap);
  AppendLunarDay(out, day);
  AppendLunarHour(out, hour, lateZiNote);
  return out;
}

void NatalClashColumns(TextView value, Text& firstLine, Text& secondLine) {
  const SplitParts parts = SplitAtSpace(value);
  // Without a space the whole value counts as the second part.
  const TextView firstPart = parts.hasSpace ? parts.first : TextView{};
  const TextView secondPart = parts.hasSpace ? parts.second : value;
  secondLine.append(firstPart);
  if (firstPart.size() <= kNatalClashCellWidth) secondLine.append(kNatalClashGap);
  firstLine.append(secondPart);
  if (secondPart.size() <= kNatalClashCellWidth) firstLine.append(kNatalClashGap);
}

void LuckClashColumns(TextView value, Text& firstLine, Text& secondLine) {
  const SplitParts parts = SplitAtSpace(value);
  const TextView firstPart = parts.hasSpace ? parts.first : TextView{};
  const TextView secondPart = parts.hasSpace ? parts.second : value;
  // The cut position is counted in the whole value and applied to both parts.
  const std::size_t bracket = value.find(kYearsOpen);
  const std::size_t keep = bracket == TextView::npos ? 0 : bracket;
  firstLine.append(secondPart.substr(0, std::min(keep, secondPart.size())));
  firstLine.append(kLuckClashGap);
  secondLine.append(firstPart.substr(0, std::min(keep, firstPart.size())));
  secondLine.append(kLuckClashGap);
}

long long ClampedLast(long long first, long long last) {
  return std::min(last, first + kMaxLoopSpan - 1);
}

long long BoundedCount(long long count, const IniDocument::Section* section) {
  const auto keys = static_cast<long long>(section == nullptr ? 0 : section->entries().size());
  return std::clamp(count, 0LL, keys);
}

YearSet ClashYearSet(const AnnualValues& annual, long long first, long long last) {
  YearSet years;
  for (long long y = first, end = ClampedLast(first, last); y <= end; ++y) {
    if (!annual.Of(y).tkdc.empty()) years.insert(y);
  }
  return years;
}

YearSet ConcurrenceYearSet(const AnnualValues& annual, long long first, long long last,
                           long long birthYear) {
  YearSet years;
  if (birthYear <= 0) return years;
  for (long long y = first, end = ClampedLast(first, last); y <= end; ++y) {
    if (!annual.Of(y).sybl.empty()) years.insert(y);
  }
  return years;
}

YearSet ClashYearSet(const IniDocument& record, long long first, long long last) {
  return ClashYearSet(AnnualValues(record.FindSection(u"liunianhcxh"), first, last), first, last);
}

YearSet ConcurrenceYearSet(const IniDocument& record, long long first, long long last,
                           long long birthYear) {
  return ConcurrenceYearSet(AnnualValues(record.FindSection(u"liunianhcxh"), first, last), first,
                            last, birthYear);
}

ReportColor AnnualGridColor(long long year, const YearSet& concurrence, const YearSet& clash) {
  if (concurrence.contains(year)) return ReportColor::kRed;
  if (clash.contains(year)) return ReportColor::kBlue;
  return ReportColor::kBlack;
}

}  // namespace xuanshu
