// Temporary placeholders while the pillar details and relation machinery are being written.
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
Text HiddenStemsText(TextView, TextView) { return {}; }
TextView GrowthStage(TextView, TextView) { return {}; }
TextView GrowthStage(int, int) { return {}; }
Text VoidBranches(TextView, TextView) { return {}; }
void ChartEngine::WritePillarDetails(ChartRecord&) {}
Text ChartEngine::NatalBranchRelations() const { return {}; }
Text ChartEngine::NatalHiddenCombinations() const { return {}; }
Text ChartEngine::NatalStemRelations() const { return {}; }
Text ChartEngine::NatalStrikeAndClash() const { return {}; }
Text ChartEngine::UsefulGodText() const { return {}; }
}  // namespace xuanshu
