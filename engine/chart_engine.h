// The state of one chart computation, carried from step to step, with one
// operation per analysis step. One engine is reused for every chart: the
// driver empties its collections at the start of each run and every other
// field is overwritten by its step.
#pragma once

#include <set>
#include <vector>

#include "calendar/birth_moment.h"
#include "calendar/date_time.h"
#include "engine/birth_choices.h"
#include "engine/chart_request.h"
#include "record/ini_document.h"
#include "record/text.h"

namespace xuanshu {

using ChartRecord = IniDocument;

// A sexagenary pillar that stands in 天克地冲 with a subject pillar, with the
// years of the 90-year window whose year pillar it is.
struct ClashPartner {
  Text subject;
  Text partner;
  int kind = 0;  // 1: partner's stem controls the subject's; 2: the reverse
  std::vector<int> years;
  int cycle = 0;  // the partner's place in the sixty, 0 for 甲子
};

// The three texts of the annual branch relations.
struct AnnualBranchTexts {
  Text pairs;    // row text
  Text summary;  // counted items with both counts below three
  Text groups;   // 三合 / 三会 groups, then counted items with a count of three or more
};

// The two texts of the annual stem relations.
struct AnnualStemTexts {
  Text main;  // pairs, one space, counted items below three
  Text big;   // counted items with a count of three or more
};

class ChartEngine {
 public:
  // --- birth data (date conversion) ---
  int year = 0, month = 0, day = 0;  // Gregorian birth date, never moved for late 子
  int hour = 0, minute = 0;          // clock time as entered
  Text name;
  bool male = true;
  bool leep = false;  // lunar birth date lies in a leap month
  int lunarYear = 0, lunarMonth = 0, lunarDay = 0;
  bool lateZiHour = false;  // hour 23: the day counts as the next day

  // --- birth moment: the user's choices and where the birth lies in time ---
  BirthChoices choices;
  BirthMoment birth;
  std::vector<Text> warnings;  // 提示 lines, without the label

  // --- solar terms ---
  DateTime termBefore;
  long long minutesBefore = 0;
  Text termBeforeName;
  DateTime termAfter;
  long long minutesAfter = 0;
  Text termAfterName;

  // --- four pillars ---
  Text yearPillar, monthPillar, dayPillar, hourPillar;

  // --- start of luck ---
  int yearAfter = 0, monthAfter = 0, dayAfter = 0, hourAfter = 0;
  int yearBegin = 0, monthBegin = 0, dayBegin = 0, hourBegin = 0;
  std::vector<Text> luckPillars;

  // --- clash findings ---
  std::set<int> pillarClashSet, luckClashSet, annualClashSet;

  // Stores the Gregorian and lunar birth dates and the late 子 flag, and
  // places the birth with the current choices. Reads `hour` and `minute`,
  // which must be stored first.
  void SetBirthDate(int y, int m, int d, bool gregorian, bool leapMonth);

  // Places the clock reading with the choices; where the day is decided
  // elsewhere than by the clock (true solar time, the same-day 子 school),
  // the lunar date and the late 子 flag follow that day. Reads the stored
  // Gregorian date, hour and minute.
  void PlaceBirth(const BirthChoices& chosen);
  // Sections main, gongli, nongli.
  void WriteInputSections(ChartRecord& record, TextView group) const;
  // Fills the term fields and writes section jieqi.
  void WriteSolarTerms(ChartRecord& record);
  // Fills the four pillar fields.
  void ComputeFourPillars();

  // Section shizhu, complete: pillars, hidden stems, ten gods, void, growth
  // stages, then hcxh, anhe, tiangankehe, tiankedichong and yongshen.
  void WritePillarDetails(ChartRecord& record);
  Text NatalBranchRelations() const;     // hcxh
  Text NatalHiddenCombinations() const;  // anhe
  Text NatalStemRelations() const;       // tiangankehe
  Text NatalStrikeAndClash() const;      // tiankedichong
  Text UsefulGodText() const;            // yongshen

  // Sections dayun and minbiao.
  void WriteLuckStart(ChartRecord& record);
  void WriteLuckPillars(ChartRecord& record);

  // Section liunian.
  void WriteAnnualYears(ChartRecord& record) const;

  // Sections dayunhcxh, dayuntkdc, dayuntiangankehe.
  void LuckBranchRelations(ChartRecord& record) const;
  void LuckStrikeAndClash(ChartRecord& record) const;
  void LuckStemRelations(ChartRecord& record) const;

  // Relations of one annual pillar with the luck pillar in force and the
  // natal pillars; they write nothing. The rows use AnnualRelations
  // (engine/annual_relations.h), made once for all of them.
  AnnualBranchTexts AnnualBranchRelations(TextView annualPillar, TextView luckPillar) const;
  AnnualStemTexts AnnualStemRelations(TextView annualPillar, TextView luckPillar) const;
  Text AnnualStrikeAndClash(TextView annualPillar, TextView luckPillar) const;

  // Section liunianhcxh; fills annualClashSet.
  void WriteAnnualRows(ChartRecord& record);

  // Sections shishenfenshu, fenshu, liushenfenshu.
  void WriteStrengthScores(ChartRecord& record) const;

  // Section tijian.
  void WriteHealthCheck(ChartRecord& record) const;

  // Sections ShiZhuTKDC and DYTKDC; fills pillarClashSet and luckClashSet.
  void FindClashPartners(TextView pillar, std::vector<ClashPartner>& partners) const;
  void WriteClashSummaries(ChartRecord& record);
  // Section ALLTKDC.
  void WriteClashYearSets(ChartRecord& record) const;

  // The warnings of the birth moment (near a term, an hour boundary, the
  // late 子 hour, daylight saving); then section chusheng, only when a
  // choice differs from the defaults.
  void CollectBirthWarnings();
  void WriteBirthChoices(ChartRecord& record) const;
};

// Section yunqian, rebuilt from the record's own liunian/age1 and
// liunian/yearBegin1; writes nothing when either is missing. Every report
// rendering runs it again on the stored record.
void WriteYearsBeforeLuck(ChartRecord& record);

// Runs every step into `record` (emptied first). False when the birth date
// is invalid; the record is then left empty.
bool ComputeChartRecord(ChartEngine& engine, const ChartRequest& request, ChartRecord& record);

// Computes the chart and saves it atomically at request.recordPath. False
// when the date is invalid or the record cannot be saved; the disk is then
// left exactly as it was, and *failure (when given) receives the message to
// show: 生成排盘失败！, followed for a failed save by what failed.
bool ComputeChart(ChartEngine& engine, const ChartRequest& request, Text* failure = nullptr);

// 生成排盘失败！ followed by what failed when saving the record at path.
Text SaveFailureMessage(const std::filesystem::path& path, int error);

}  // namespace xuanshu
