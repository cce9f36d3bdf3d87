#include "engine/chart_engine.h"
#include "calendar/lunar_calendar.h"
#include "record/record_file.h"

namespace xuanshu {

bool ComputeChartRecord(ChartEngine& engine, const ChartRequest& request, ChartRecord& record) {
  engine.pillarClashSet.clear();
  engine.luckClashSet.clear();
  engine.annualClashSet.clear();
  record.Clear();
  if (!ValidateBirthDate(request.year, request.month, request.day, request.gregorian,
                         request.leapMonth)) {
    return false;
  }
  engine.name = request.name;
  engine.hour = request.hour;
  engine.minute = request.minute;
  engine.male = request.male;
  engine.SetBirthDate(request.year, request.month, request.day, request.gregorian,
                      request.leapMonth);
  engine.WriteInputSections(record, request.group);
  engine.WriteSolarTerms(record);
  engine.ComputeFourPillars();
  engine.WritePillarDetails(record);
  engine.WriteLuckStart(record);
  engine.WriteLuckPillars(record);
  engine.WriteAnnualYears(record);
  WriteYearsBeforeLuck(record);
  engine.LuckBranchRelations(record);
  engine.LuckStrikeAndClash(record);
  engine.LuckStemRelations(record);
  engine.WriteAnnualRows(record);
  engine.WriteStrengthScores(record);
  engine.WriteHealthCheck(record);
  engine.WriteClashSummaries(record);
  engine.WriteClashYearSets(record);
  return true;
}

bool ComputeChart(ChartEngine& engine, const ChartRequest& request) {
  ChartRecord record;
  if (!ComputeChartRecord(engine, request, record)) return false;
  return SaveIniFile(record, request.recordPath);
}

}  // namespace xuanshu
