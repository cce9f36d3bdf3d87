#include "report/annual_values.h"

#include <array>
#include <limits>

#include "report/report_operations.h"

namespace xuanshu {
namespace {

// The keys of a year are the year in decimal, as YearKey writes it (a minus
// sign for years before 0, no leading zeros), followed by one of these
// suffixes; the suffix matches without case, as every key does.
struct Suffix {
  TextView text;
  TextView AnnualYearValues::*value;
  std::size_t capacity;
};
constexpr std::array<Suffix, 6> kSuffixes = {{
    {u"", &AnnualYearValues::row, kReadCapacity},
    {u"sybl", &AnnualYearValues::sybl, kLongReadCapacity},
    {u"tkdc", &AnnualYearValues::tkdc, kLongReadCapacity},
    {u"tgkh", &AnnualYearValues::tgkh, kLongReadCapacity},
    {u"hcxh", &AnnualYearValues::hcxh, kLongReadCapacity},
    {u"big", &AnnualYearValues::big, kLongReadCapacity},
}};

constexpr std::size_t kMaxYearDigits = 19;

struct YearKeyParts {
  long long year = 0;
  TextView suffix;
};

// The year and suffix of a key that YearKey could have written; false for
// any other key.
bool SplitYearKey(TextView key, YearKeyParts& parts) {
  const bool negative = !key.empty() && key.front() == u'-';
  std::size_t digits = negative ? 1 : 0;
  unsigned long long magnitude = 0;
  for (; digits < key.size() && key[digits] >= u'0' && key[digits] <= u'9'; ++digits) {
    magnitude = magnitude * 10 + (key[digits] - u'0');
  }
  const std::size_t count = digits - (negative ? 1 : 0);
  const bool leadingZero = count > 1 && key[negative ? 1 : 0] == u'0';
  if (count == 0 || count > kMaxYearDigits || leadingZero || (negative && magnitude == 0)) {
    return false;
  }
  if (magnitude > static_cast<unsigned long long>(std::numeric_limits<long long>::max())) {
    return false;  // beyond any span a record can give
  }
  const auto value = static_cast<long long>(magnitude);
  parts = {negative ? -value : value, key.substr(digits)};
  return true;
}

}  // namespace

AnnualValues::AnnualValues(const IniDocument::Section* section, long long first, long long last)
    : first_(first) {
  const long long end = ClampedLast(first, last);
  if (section == nullptr || end < first) return;
  years_.resize(static_cast<std::size_t>(end - first + 1));
  for (const IniDocument::Entry& entry : section->entries()) {
    YearKeyParts parts;
    if (!SplitYearKey(entry.key, parts) || parts.year < first || parts.year > end) continue;
    AnnualYearValues& year = years_[static_cast<std::size_t>(parts.year - first)];
    for (const Suffix& suffix : kSuffixes) {
      if (SameName(parts.suffix, suffix.text)) {
        year.*suffix.value = CutToCapacity(entry.value, suffix.capacity);
        break;
      }
    }
  }
}

const AnnualYearValues& AnnualValues::Of(long long year) const {
  static const AnnualYearValues kNone;
  if (year < first_ || year - first_ >= static_cast<long long>(years_.size())) return kNone;
  return years_[static_cast<std::size_t>(year - first_)];
}

}  // namespace xuanshu
