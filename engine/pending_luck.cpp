// Temporary placeholders while the luck, score and clash steps are being written.
#include "engine/chart_engine.h"

namespace xuanshu {
void ChartEngine::WriteLuckStart(ChartRecord&) {}
void ChartEngine::WriteLuckPillars(ChartRecord&) {}
void ChartEngine::WriteAnnualYears(ChartRecord&) const {}
void WriteYearsBeforeLuck(ChartRecord&) {}
void ChartEngine::WriteStrengthScores(ChartRecord&) const {}
void ChartEngine::WriteHealthCheck(ChartRecord&) const {}
void ChartEngine::FindClashPartners(TextView, std::vector<ClashPartner>&) const {}
void ChartEngine::WriteClashSummaries(ChartRecord&) {}
void ChartEngine::WriteClashYearSets(ChartRecord&) const {}
}  // namespace xuanshu
