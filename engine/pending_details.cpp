// Temporary placeholders while the pillar details and relation machinery are being written.
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
Text HiddenStemsText(TextView, TextView) { return {}; }
TextView GrowthStage(TextView, TextView) { return {}; }
TextView GrowthStage(int, int) { return {}; }
Text VoidBranches(TextView, TextView) { return {}; }
BranchRelationResult BranchRelation(TextView, TextView) { return {}; }
std::vector<GroupPattern> FindSanHe(const std::vector<TaggedEntry>&) { return {}; }
std::vector<GroupPattern> FindSanHui(const std::vector<TaggedEntry>&) { return {}; }
bool PairInGroup(const std::vector<GroupPattern>&, TextView, TextView) { return false; }
void AddTally(std::vector<RelationTally>&, RelationTally) {}
Text MultiplicitySummary(std::vector<RelationTally>&, const std::vector<Text>&) { return {}; }
void ChartEngine::WritePillarDetails(ChartRecord&) {}
Text ChartEngine::NatalBranchRelations() const { return {}; }
Text ChartEngine::NatalHiddenCombinations() const { return {}; }
Text ChartEngine::NatalStemRelations() const { return {}; }
Text ChartEngine::NatalStrikeAndClash() const { return {}; }
Text ChartEngine::UsefulGodText() const { return {}; }
}  // namespace xuanshu
