// Operations shared by the three report layouts.
#pragma once

#include <set>
#include <vector>

#include "record/ini_document.h"
#include "record/text.h"
#include "report/annual_values.h"
#include "report/report_sink.h"

namespace xuanshu {

// Items of a slash list: every "/" ends an item, text after the last "/" is
// dropped, an empty value has no items.
std::vector<TextView> SplitSlashList(TextView value);

// A value cut at its first ASCII space. Without a space the whole value is
// the first part and hasSpace is false.
struct SplitParts {
  TextView first;
  TextView second;
  bool hasSpace = false;
};
SplitParts SplitAtSpace(TextView value);

// The characters [offset, offset + count) of a value, shorter or empty when
// the value ends earlier.
TextView CharactersAt(TextView value, std::size_t offset, std::size_t count);

// The lunar birth date in words, e.g. 一九八四年（闰）四月二十一子时 with the
// note on the late 子 hour appended for hour 23 (left out for a chart whose
// day does not start at 23:00).
Text LunarDateText(long long year, long long month, long long day, long long hour, long long leap,
                   bool lateZiNote = true);

// One ShiZhuTKDC value into the two natal clash lines: the items after the
// first space go to the first line, the first item to the second.
void NatalClashColumns(TextView value, Text& firstLine, Text& secondLine);

// One DYTKDC value into the two luck clash lines, each part cut down to its
// leading pillar name (at the first "（" of the whole value).
void LuckClashColumns(TextView value, Text& firstLine, Text& secondLine);

// A key of section liunianhcxh made from a year and a suffix ("1990sybl"),
// built without allocating: the annual sections look up hundreds of them.
class YearKey {
 public:
  explicit YearKey(long long year, TextView suffix = {});
  operator TextView() const { return TextView(chars_, size_); }

 private:
  char16_t chars_[40];
  std::size_t size_ = 0;
};

using YearSet = std::set<long long>;

// Years of [first, last] whose liunianhcxh/%dtkdc value is non-empty.
YearSet ClashYearSet(const IniDocument& record, long long first, long long last);
YearSet ClashYearSet(const AnnualValues& annual, long long first, long long last);

// Years of [first, last] whose liunianhcxh/%dsybl value is non-empty, when the
// birth year is known (above 0); these are the years of the 岁运并临 line.
YearSet ConcurrenceYearSet(const IniDocument& record, long long first, long long last,
                           long long birthYear);
YearSet ConcurrenceYearSet(const AnnualValues& annual, long long first, long long last,
                           long long birthYear);

// Colour of a year cell in the annual grid: 岁运并临 red before clash blue.
ReportColor AnnualGridColor(long long year, const YearSet& concurrence, const YearSet& clash);

// A report never shows more than a computed record can hold, so a small
// hand-edited record with an absurd yearEnd or count cannot make a huge
// report: the annual rows span 90 years (nine luck pillars of ten years).
inline constexpr long long kMaxLoopSpan = 90;
inline constexpr long long kMaxLuckPillars = 9;
// The last year a loop from `first` visits for a record's `last`.
long long ClampedLast(long long first, long long last);
// A count read from the record, within 0 and the number of keys its section
// holds (each counted item has at least one key of its own).
long long BoundedCount(long long count, const IniDocument::Section* section);

}  // namespace xuanshu
