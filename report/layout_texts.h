// The fixed texts and formats of the report layouts, character for
// character: U+3000 ideographic spaces align the columns, \r\n ends a line.
#pragma once

#include "record/text.h"

namespace xuanshu::layout_text {

// clang-format off
inline constexpr TextView kFemale = u"女";
inline constexpr TextView kNameLabel = u"姓名：";
inline constexpr TextView kNameFormat = u"%s　";
inline constexpr TextView kSexLabel = u"性别：";
inline constexpr TextView kSexFormat = u"%s　\r\n";
inline constexpr TextView kGregorianFormat = u"出生公历：%04s年%02s月%02s日%02s时%02s分\t";
inline constexpr TextView kLunarLabel = u"出生农历：";
inline constexpr TextView kBlankLine = u"\r\n\r\n";
inline constexpr TextView kBirthplaceLabel = u"出生地：";
inline constexpr TextView kZoneLabel = u"时区：UTC";
inline constexpr TextView kTrueSolarFormat = u"真太阳时：%04s年%02s月%02s日%02s时%02s分\r\n";
inline constexpr TextView kTermModeLabel = u"节气：";
inline constexpr TextView kZiSchoolLabel = u"　　子时：";
inline constexpr TextView kWarningLabel = u"提示：";
inline constexpr TextView kTermBeforeFormat = u"%s：%04s年%02s月%02s日%02s时%02s分";
inline constexpr TextView kTermGap = u"　　　";
inline constexpr TextView kTermAfterFormat = u"%s：%04s年%02s月%02s日%02s时%02s分\r\n\r\n";
inline constexpr TextView kColumnHeader = u"　　　　　　年　　　　　　　　月　　　　　　　　日　　　　　　　　时\r\n";
inline constexpr TextView kTenGodsYearMonthFormat = u"十神：　　　%s　　　　　　　%s　　　　　　　";
inline constexpr TextView kTenGodsDayFormat = u"%s　　　　　　　";
inline constexpr TextView kTenGodsHourFormat = u"%s\r\n";
inline constexpr TextView kMaleLabel = u"乾造：　　　";
inline constexpr TextView kFemaleLabel = u"坤造：　　　";
inline constexpr TextView kPillarsFormat = u"%s　　　　　　　%s　　　　　　　%s　　　　　　　%s";
inline constexpr TextView kVoidFormat = u"　　　　　　（%s空）\r\n";
inline constexpr TextView kLineBreak = u"\r\n";
inline constexpr TextView kNatalClashLabel = u"天克地冲：　";
inline constexpr TextView kNatalClashIndent = u"　　　　　　";
inline constexpr TextView kHiddenLabel = u"藏干：　　　";
inline constexpr TextView kHiddenEmptyCell = u"　　　　";
inline constexpr TextView kHiddenFirstRowFormat = u"%s　　　　　%s　　　　　%s　　　　　%s\r\n";
inline constexpr TextView kHiddenRowFormat = u"　　　　　　%s　　　　　%s　　　　　%s　　　　　%s\r\n";
inline constexpr TextView kGrowthLabel = u"旺衰：　　　";
inline constexpr TextView kGrowthOneCharFormat = u"%s　　　　　　　　";
inline constexpr TextView kGrowthFormat = u"%s　　　　　　　";
inline constexpr TextView kNaYinLabel = u"\r\n纳音：　　　";
inline constexpr TextView kXunLabel = u"\r\n旬：　　　　";
inline constexpr TextView kCycleNameFormat = u"%s　　　　　　";
inline constexpr TextView kCycleNameMissing = u"　　　";
inline constexpr TextView kChartExtrasFormat = u"\r\n胎元：　　　%s　　　　胎息：%s　　　　命宫：%s　　　　身宫：%s";
inline constexpr TextView kChartExtraMissing = u"　　";
inline constexpr TextView kStemRelationsLabel = u"\r\n天干克合：　";
inline constexpr TextView kSplitGap = u"　";
inline constexpr TextView kHiddenCombinationsLabel = u"\r\n暗合：　　　";
inline constexpr TextView kBranchRelationsLabel = u"\r\n合冲刑害：　";
inline constexpr TextView kStrikeAndClashLabel = u"\r\n天克地冲：　";
inline constexpr TextView kConcurrenceLabel = u"\r\n\r\n岁运并临：　";
inline constexpr TextView kConcurrenceFormat = u"%d岁, （%d年）岁运并临　　";
inline constexpr TextView kDayStemScoreLabel = u"\r\n日干分数：　";
inline constexpr TextView kDayStemKey = u"日干";
inline constexpr TextView kTenGodScoresLabel = u"\r\n十神分数：　";
inline constexpr TextView kScoreSeparator = u" ";
inline constexpr TextView kScoreComma = u"，";
inline constexpr TextView kScoreFullStop = u"。";
inline constexpr TextView kGroupScoresLabel = u"\r\n六神分数：　";
inline constexpr TextView kTotalLabel = u"\r\n总分数：　　";
inline constexpr TextView kSameSideLabel = u"同党 ";
inline constexpr TextView kAsciiComma = u",";
inline constexpr TextView kOtherSideLabel = u"异党 ";
inline constexpr TextView kVerdictLabel = u"日主旺衰分数参考值：";
inline constexpr TextView kVerdictFormat = u"%s";
inline constexpr TextView kTotalFullStop = u"。";
inline constexpr TextView kUsefulElementFormat = u"\r\n\r\n日主（%s）参考用神：　";
inline constexpr TextView kHealthLabel = u"\r\n\r\n先天体检：　";
inline constexpr TextView kHealthEntryFormat = u"%s%s ";
inline constexpr TextView kHealthEnd = u"。\r\n";
inline constexpr TextView kLuckStartLabel = u"\r\n起运：　";
inline constexpr TextView kLuckAfterBirth = u"命主于出生后";
inline constexpr TextView kMonths = u"个月";
inline constexpr TextView kDays = u"天";
inline constexpr TextView kHours = u"小时";
inline constexpr TextView kLuckBeginLabel = u"　　　交运：　";
inline constexpr TextView kLuckBeginPrefix = u"命主于公历";
inline constexpr TextView kYearUnit = u"年";
inline constexpr TextView kMonthUnit = u"月";
inline constexpr TextView kDayUnit = u"日";
inline constexpr TextView kLuckBeginEnd = u"时交运";
inline constexpr TextView kLuckTenGodsLabel = u"\r\n\r\n十神：　运前　　";
inline constexpr TextView kLuckGap = u"　　";
inline constexpr TextView kLuckPillarsLabel = u"\r\n大运：　　　　　";
inline constexpr TextView kLuckClashLabel = u"天克地冲：　　　";
inline constexpr TextView kLuckClashIndent = u"　　　　　　　　";
inline constexpr TextView kLuckGrowthLabel = u"\r\n旺衰：　　　　　";
inline constexpr TextView kLuckGrowthOneCharGap = u"　　　";
inline constexpr TextView kAgeLabel = u"\r\n年龄：　1 　　　";
inline constexpr TextView kAgeOneCharGap = u"　　　 ";
inline constexpr TextView kAgeGap = u"　　　";
inline constexpr TextView kAgeEnd = u"\t(虚岁)";
inline constexpr TextView kStartsLabel = u"\r\n始于：　";
inline constexpr TextView kBirthYearFormat = u"%d　　";
inline constexpr TextView kGridLabel = u"\r\n流年：";
inline constexpr TextView kBeforeLuckIndent = u"　　　　";
inline constexpr TextView kGridCellFormat = u"%02d%s";
inline constexpr TextView kGridGap = u"　";
inline constexpr TextView kFirstRowEmptyBeforeLuck = u"　　　　　";
inline constexpr TextView kRowEmptyBeforeLuck = u"　　　　　　　　";
inline constexpr TextView kEndsLabel = u"止于：　";
inline constexpr TextView kLuckRelationsHeader = u"\r\n\r\n大运天干克合、地支合冲刑害、天克地冲：";
inline constexpr TextView kLuckRelationsHead = u"\r\n%s：";
inline constexpr TextView kLuckSplitFormat = u"%s　";
inline constexpr TextView kLuckRelationsIndent = u"\r\n　　　";
inline constexpr TextView kAnnualRelationsHeader = u"\r\n\r\n流年合冲刑害：\t\r\n";
inline constexpr TextView kMonthNumbersHeader = u"流年流月： 正二三四五六七八九十冬腊\r\n";
inline constexpr TextView kMonthBranchesHeader = u"　　　　　 寅卯辰巳午未申酉戌亥子丑\r\n";
inline constexpr TextView kDecadeHeadFormat = u"===========大运［%s］%d.%d - %d.%d============================================================\r\n";
inline constexpr TextView kAnnualHeadFormat = u"%d(%s):";
inline constexpr TextView kDetailJoin = u"，";
inline constexpr TextView kDetailIndent = u"　　　　　 ";
inline constexpr TextView kDetailBreakIndent = u"\r\n　　　　　 ";
inline constexpr TextView kSimpleLuckStartLabel = u"\r\n\r\n起运：　";
inline constexpr TextView kSimpleEnd = u"\r\n\r\n";
inline constexpr TextView kHongKongColumnHeader = u"　　　　　　时　　　　　　　　日　　　　　　　　月　　　　　　　　年\r\n";
inline constexpr TextView kHongKongTenGodsHourFormat = u"十神：　　　%s　　　　　　　";
inline constexpr TextView kHongKongTenGodsDayFormat = u"%s　　　";
inline constexpr TextView kHongKongTenGodsMonthYearFormat = u"　　　　%s　　　　　　　%s\r\n";
inline constexpr TextView kHongKongStemsFormat = u"%s　　　　　　　　%s　　　　　　　　%s　　　　　　　　%s\r\n";
inline constexpr TextView kHongKongBranchesFormat = u"　　　　　　%s　　　　　　　　%s　　　　　　　　%s　　　　　　　　%s";
// clang-format on

}  // namespace xuanshu::layout_text
