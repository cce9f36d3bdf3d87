// Four pillars that peers show beside a chart: 胎元, 胎息, 命宫 and 身宫.
// Each is a fixed function of the natal pillars, so a report or an export
// derives them from the pillars its record holds; nothing is recomputed.
//
//  - 胎元 (the month of conception): the month pillar with its stem one step
//    on and its branch three steps on (月干进一，月支进三).
//  - 胎息: the day stem's combining stem (五合) over the day branch's
//    combining branch (六合).
//  - 命宫 follows the classic counting rule (as 《三命通会》 gives it): put
//    the first month (寅) on 子 and count backwards to the birth month; on
//    that branch put the birth hour and count forwards through the hours to
//    卯; the branch where 卯 falls is 命宫. 身宫 follows its companion rule:
//    count forwards from 子 to the birth month, put the birth hour there and
//    count backwards through the branches, the hours going on, to 酉.
//    The birth month is the branch of the month pillar, so it changes at the
//    sectional terms (节) like the month pillar does; older texts that count
//    the month from the sun's entry into a sign (中气, 太阳过宫) give another
//    命宫 in the second half of a month. The stem of either palace is that
//    of the month with its branch in the birth year, counted from the first
//    month's stem (五虎遁: 甲己之年丙作首), with 子 and 丑 as the eleventh
//    and twelfth months.
// Every function returns the empty text when a pillar it needs is no real
// pillar (see CycleIndex).
#pragma once

#include "record/text.h"

namespace xuanshu {

Text TaiYuanOf(TextView monthPillar);
Text TaiXiOf(TextView dayPillar);
Text MingGongOf(TextView yearPillar, TextView monthPillar, TextView hourPillar);
Text ShenGongOf(TextView yearPillar, TextView monthPillar, TextView hourPillar);

struct ChartExtras {
  Text taiYuan, taiXi, mingGong, shenGong;
};

ChartExtras ChartExtrasOf(TextView yearPillar, TextView monthPillar, TextView dayPillar,
                          TextView hourPillar);

}  // namespace xuanshu
