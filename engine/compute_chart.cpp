#include <cerrno>
#include <system_error>

#include "calendar/lunar_calendar.h"
#include "engine/chart_engine.h"
#include "record/record_file.h"
#include "record/script_text.h"

namespace xuanshu {
namespace {

// The form offers only real clock times and days from 1 upward; other
// callers may pass anything, and the steps index tables with these values.
bool IsValidBirthMoment(const ChartRequest& request) {
  return request.day >= 1 && request.hour >= 0 && request.hour <= 23 && request.minute >= 0 &&
         request.minute <= 59 &&
         ValidateBirthDate(request.year, request.month, request.day, request.gregorian,
                           request.leapMonth);
}

}  // namespace

bool ComputeChartRecord(ChartEngine& engine, const ChartRequest& request, ChartRecord& record) {
  engine.pillarClashSet.clear();
  engine.luckClashSet.clear();
  engine.annualClashSet.clear();
  record.Clear();
  if (!IsValidBirthMoment(request)) return false;
  engine.name = request.name;
  engine.hour = request.hour;
  engine.minute = request.minute;
  engine.male = request.male;
  engine.SetBirthDate(request.year, request.month, request.day, request.gregorian,
                      request.leapMonth);
  engine.PlaceBirth(request.choices);
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
  engine.CollectBirthWarnings();
  engine.WriteBirthChoices(record);
  return true;
}

Text SaveFailureMessage(const std::filesystem::path& path, int error) {
  return Shown(kChartFailedMessage) + Shown(u"无法保存排盘记录“") + TextFromPath(path) + u"”：" +
         FileErrorText(error);
}

bool ComputeChart(ChartEngine& engine, const ChartRequest& request, Text* failure) {
  ChartRecord record;
  if (!ComputeChartRecord(engine, request, record)) {
    if (failure != nullptr) *failure = Shown(kChartFailedMessage);
    return false;
  }
  // The data folder is made on the first chart; a plain file in its place
  // or a folder that cannot be made fails the save below.
  std::error_code madeFolder;
  std::filesystem::create_directories(request.recordPath.parent_path(), madeFolder);
  if (SaveIniFile(record, request.recordPath)) return true;
  const int error = madeFolder ? madeFolder.value() : errno;
  if (failure != nullptr) *failure = SaveFailureMessage(request.recordPath, error);
  return false;
}

}  // namespace xuanshu
