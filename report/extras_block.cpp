// The additional pillars under the pillar table (显示附加信息): the 纳音 and
// 旬 of each pillar in the table's columns, then 胎元, 胎息, 命宫 and 身宫,
// each under a pillar column. They are fixed functions of the pillars the
// record holds, so nothing is recomputed.
#include "calendar/cycle_names.h"
#include "engine/chart_extras.h"
#include "report/layout_renderer.h"
#include "report/layout_texts.h"

namespace xuanshu {

using namespace layout_text;

namespace {

// What a text that is no pillar shows: blanks of the same width.
TextView OrBlank(TextView value, TextView blank) {
  return value.empty() ? blank : value;
}

}  // namespace

void LayoutRenderer::WriteExtras() {
  Put(kNaYinLabel);
  for (Pillar column : Columns()) {
    PutFormat(ReportColor::kBlack, kCycleNameFormat,
              {OrBlank(NaYinOf(pillars_[column]), kCycleNameMissing)});
  }
  Put(kXunLabel);
  for (Pillar column : Columns()) {
    PutFormat(ReportColor::kBlack, kCycleNameFormat,
              {OrBlank(XunOf(pillars_[column]), kCycleNameMissing)});
  }
  const ChartExtras extras =
      ChartExtrasOf(pillars_[kYear], pillars_[kMonth], pillars_[kDay], pillars_[kHour]);
  PutFormat(
      ReportColor::kBlack, kChartExtrasFormat,
      {OrBlank(extras.taiYuan, kChartExtraMissing), OrBlank(extras.taiXi, kChartExtraMissing),
       OrBlank(extras.mingGong, kChartExtraMissing), OrBlank(extras.shenGong, kChartExtraMissing)});
}

}  // namespace xuanshu
