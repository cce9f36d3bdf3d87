#include "engine/chart_extras.h"

#include <optional>

#include "calendar/cycle_names.h"
#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

// A real pillar as stem and branch indices.
struct PillarIndices {
  int stem;    // [0, 9]
  int branch;  // [0, 11]
};

std::optional<PillarIndices> IndicesOf(TextView pillar) {
  const std::optional<int> n = CycleIndex(pillar);
  if (!n) return std::nullopt;
  return PillarIndices{*n % 10, *n % 12};
}

Text PillarText(int stem, int branch) {
  return Text{kStems[(stem % 10 + 10) % 10], kBranches[(branch % 12 + 12) % 12]};
}

// The palace on `branch` in a year of `yearStem`: the stem of that month,
// counted from the first month's (寅) stem given by 五虎遁.
Text PalaceText(int yearStem, int branch) {
  const int firstMonthStem = (yearStem % 5) * 2 + 2;   // 甲己 丙, 乙庚 戊, … 戊癸 甲
  const int monthsFromFirst = (branch - 2 + 12) % 12;  // 寅 0 … 丑 11
  return PillarText(firstMonthStem + monthsFromFirst, branch);
}

// 命宫: 寅 month on 子 counting backwards, the hour counting forwards to 卯:
// branch = 子 − (month − 寅) + (卯 − hour) = 5 − month − hour.
int MingGongBranch(int monthBranch, int hourBranch) {
  return ((5 - monthBranch - hourBranch) % 12 + 24) % 12;
}

// 身宫: 寅 month on 子 counting forwards, the hour counting backwards to 酉:
// branch = 子 + (month − 寅) − (酉 − hour) = month + hour − 11.
int ShenGongBranch(int monthBranch, int hourBranch) {
  return (monthBranch + hourBranch + 1) % 12;
}

template <typename BranchRule>
Text Palace(TextView yearPillar, TextView monthPillar, TextView hourPillar, BranchRule rule) {
  const auto year = IndicesOf(yearPillar);
  const auto month = IndicesOf(monthPillar);
  const auto hour = IndicesOf(hourPillar);
  if (!year || !month || !hour) return {};
  return PalaceText(year->stem, rule(month->branch, hour->branch));
}

}  // namespace

Text TaiYuanOf(TextView monthPillar) {
  const auto month = IndicesOf(monthPillar);
  return month ? PillarText(month->stem + 1, month->branch + 3) : Text{};
}

Text TaiXiOf(TextView dayPillar) {
  const auto day = IndicesOf(dayPillar);
  if (!day) return {};
  // 甲己 乙庚 丙辛 丁壬 戊癸 combine five apart; 子丑 寅亥 卯戌 辰酉 巳申 午未
  // add up to 1 (mod 12).
  return PillarText(day->stem + 5, 1 - day->branch);
}

Text MingGongOf(TextView yearPillar, TextView monthPillar, TextView hourPillar) {
  return Palace(yearPillar, monthPillar, hourPillar, MingGongBranch);
}

Text ShenGongOf(TextView yearPillar, TextView monthPillar, TextView hourPillar) {
  return Palace(yearPillar, monthPillar, hourPillar, ShenGongBranch);
}

ChartExtras ChartExtrasOf(TextView yearPillar, TextView monthPillar, TextView dayPillar,
                          TextView hourPillar) {
  return {TaiYuanOf(monthPillar), TaiXiOf(dayPillar),
          MingGongOf(yearPillar, monthPillar, hourPillar),
          ShenGongOf(yearPillar, monthPillar, hourPillar)};
}

}  // namespace xuanshu
