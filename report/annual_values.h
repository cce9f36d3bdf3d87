// The values of section liunianhcxh that a report shows for the years of its
// annual span, found in one pass over the section: each key is read once
// instead of looked up by name year after year.
#pragma once

#include <vector>

#include "record/ini_document.h"
#include "record/text.h"

namespace xuanshu {

// The keys of one year, each cut to the capacity the reports read it with.
struct AnnualYearValues {
  TextView row;   // "%d": pillar, month stems and relation text
  TextView sybl;  // "%dsybl" and the other details: long reads
  TextView tkdc;
  TextView tgkh;
  TextView hcxh;
  TextView big;
};

class AnnualValues {
 public:
  AnnualValues() = default;
  // The years from `first` to ClampedLast(first, last) of the section, which
  // may be missing. The views are into the section's document.
  AnnualValues(const IniDocument::Section* section, long long first, long long last);

  // All empty for a year outside the span or without keys.
  const AnnualYearValues& Of(long long year) const;

 private:
  long long first_ = 0;
  std::vector<AnnualYearValues> years_;
};

}  // namespace xuanshu
