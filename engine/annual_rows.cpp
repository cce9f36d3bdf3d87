// Section liunianhcxh: one group of keys per year covered by the luck
// pillars, with the year's pillar, its month stems, its relations with the
// natal chart and the running luck pillar, and the 岁运并临 marker.
#include "engine/annual_rows.h"

#include <algorithm>
#include <array>

#include "calendar/ganzhi.h"
#include "engine/annual_relations.h"
#include "engine/annual_years.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr TextView kSection = u"liunianhcxh";
constexpr int kYearsPerLuckPillar = 10;

// The keys of one year: its number, alone or followed by a suffix, made in
// one buffer.
class YearKeys {
 public:
  explicit YearKeys(int year) {
    const Text digits = Num(year);
    std::copy(digits.begin(), digits.end(), units_.begin());
    yearLength_ = digits.size();
  }
  TextView Year() const { return {units_.data(), yearLength_}; }
  TextView With(TextView suffix) {
    std::copy(suffix.begin(), suffix.end(), units_.begin() + yearLength_);
    return {units_.data(), yearLength_ + suffix.size()};
  }

 private:
  std::array<char16_t, 16> units_;  // eleven for an int, four for a suffix
  std::size_t yearLength_ = 0;
};

// The stems of the twelve months from the 寅 month on, for each year stem
// index modulo 5 (甲 and 己 years alike, and so on).
constexpr std::array<std::array<char16_t, 12>, 5> kMonthStemRuns = [] {
  std::array<std::array<char16_t, 12>, 5> runs{};
  for (int s = 0; s < 5; ++s) {
    const int first = (s + 1) * 2 % 10;  // stem of the 寅 month
    for (int k = 0; k < 12; ++k) runs[s][k] = kStems[(first + k) % 10];
  }
  return runs;
}();

void AppendMonthStems(Text& out, TextView yearPillar) {
  if (yearPillar.size() < 2) return;
  const std::array<char16_t, 12>& stems = kMonthStemRuns[StemIndex(yearPillar[0]) % 5];
  out.append(stems.data(), stems.size());
}

}  // namespace

Text MonthStemString(TextView yearPillar) {
  Text stems;
  AppendMonthStems(stems, yearPillar);
  return stems;
}

TextView LuckCoincidenceText(TextView annualPillar, TextView luckPillar) {
  return annualPillar == luckPillar ? TextView(u"岁运并临") : TextView();
}

void ChartEngine::WriteAnnualRows(ChartRecord& record) {
  const int pillarCount = static_cast<int>(luckPillars.size());
  ChartRecord::SectionWriter rows = record.WriterFor(kSection);
  rows.Set(u"yearBegin", Num(yearBegin));
  rows.Set(u"yearEnd", Num(yearBegin + kYearsPerLuckPillar * pillarCount - 1));

  const AnnualRelations relations(*this);
  Text value;
  AnnualBranchTexts branches;
  AnnualStemTexts stems;
  Text clash;
  for (int i = 0; i < pillarCount; ++i) {
    const Text& luck = luckPillars[i];
    for (int j = 0; j < kYearsPerLuckPillar; ++j) {
      const int y = yearBegin + kYearsPerLuckPillar * i + j;
      const TextView annual = YearPillarView(y);
      // Every year's keys are new to the section: added without a lookup.
      YearKeys keys(y);

      relations.Branches(annual, luck, branches);
      value.assign(annual).append(u" ");
      AppendMonthStems(value, annual);
      value.append(u" ").append(branches.pairs);
      rows.Add(keys.Year(), value);

      value.clear();
      const TextView coincidence = LuckCoincidenceText(annual, luck);
      if (!coincidence.empty()) {
        AppendNum(value, y - year + 1);
        value.append(u"岁,").append(coincidence);
      }
      rows.Add(keys.With(u"sybl"), value);

      relations.StrikeAndClash(annual, luck, clash);
      if (!clash.empty()) annualClashSet.insert(y);
      rows.Add(keys.With(u"tkdc"), clash);

      relations.Stems(annual, luck, stems);
      rows.Add(keys.With(u"tgkh"), stems.main);
      rows.Add(keys.With(u"hcxh"), branches.summary);

      value = branches.groups;
      if (!stems.big.empty()) {
        if (!value.empty()) value += u"、";
        value += stems.big;
      }
      rows.Add(keys.With(u"big"), value);
    }
  }
}

}  // namespace xuanshu
