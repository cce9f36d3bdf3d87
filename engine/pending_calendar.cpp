// Temporary placeholders while the calendar steps are being written.
#include "calendar/four_pillars.h"
#include "calendar/lunar_calendar.h"
#include "calendar/solar_terms.h"
#include "engine/chart_engine.h"

namespace xuanshu {
const std::array<TextView, 24> kSolarTermNames{};
int LeapMonthOf(int) { return 0; }
int LeapMonthDays(int) { return 0; }
int LunarMonthDays(int, int) { return 0; }
int LunarYearDays(int) { return 0; }
bool IsGregorianLeapYear(int) { return false; }
int GregorianMonthDays(int, int) { return 0; }
long long DayNumber(int, int, int) { return 0; }
bool ValidateBirthDate(int, int, int, bool, bool) { return false; }
LunarDate ToLunar(int, int, int) { return {}; }
CivilDate ToGregorian(int, int, int, bool) { return {}; }
CivilDate NextDay(int, int, int, bool) { return {}; }
DateTime TermMoment(int, int) { return {}; }
NearTerm SectionalTermNear(int, int, int, int, int, int) { return {}; }
Text YearPillar(int, int, int, int) { return {}; }
Text MonthPillar(int, int, int, int) { return {}; }
Text DayPillar(int, int, int) { return {}; }
Text HourPillar(TextView, TextView) { return {}; }
void ChartEngine::SetBirthDate(int, int, int, bool, bool) {}
void ChartEngine::WriteInputSections(ChartRecord&, TextView) const {}
void ChartEngine::WriteSolarTerms(ChartRecord&) {}
void ChartEngine::ComputeFourPillars() {}
}  // namespace xuanshu
