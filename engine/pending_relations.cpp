// Temporary placeholders while the luck and annual relation steps are being written.
#include "engine/chart_engine.h"

namespace xuanshu {
void ChartEngine::LuckBranchRelations(ChartRecord&) const {}
void ChartEngine::LuckStrikeAndClash(ChartRecord&) const {}
void ChartEngine::LuckStemRelations(ChartRecord&) const {}
AnnualBranchTexts ChartEngine::AnnualBranchRelations(TextView, TextView) const { return {}; }
AnnualStemTexts ChartEngine::AnnualStemRelations(TextView, TextView) const { return {}; }
Text ChartEngine::AnnualStrikeAndClash(TextView, TextView) const { return {}; }
void ChartEngine::WriteAnnualRows(ChartRecord&) {}
}  // namespace xuanshu
