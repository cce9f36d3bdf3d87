// Relations of one annual pillar (流年) with the luck pillar in force and the
// natal pillars, for the rows of section liunianhcxh. Made once per chart,
// so the natal stems and branches are looked up once, not in each of the
// ninety rows.
#pragma once

#include <array>
#include <cstdint>

#include "engine/chart_engine.h"
#include "engine/relation_grids.h"
#include "record/text.h"

namespace xuanshu {

struct LabeledPairs;

// One tagged stem or branch: tag 1 for 岁, 2 for 运, 4 for 命; value is 0
// when the pillar text is empty, slot the stem or branch index, -1 when the
// value is none.
struct RelationEntry {
  std::uint8_t tag = 0;
  char16_t value = 0;
  int slot = -1;
};

class AnnualRelations {
 public:
  // Reads the engine's natal pillars, which must stay as they are while
  // this object is used.
  explicit AnnualRelations(const ChartEngine& engine);

  // Each writes into texts cleared first, so their buffers serve every year.
  void Branches(TextView annualPillar, TextView luckPillar, AnnualBranchTexts& texts) const;
  void Stems(TextView annualPillar, TextView luckPillar, AnnualStemTexts& texts) const;
  void StrikeAndClash(TextView annualPillar, TextView luckPillar, Text& out) const;

 private:
  const RelationGrids& grids_;
  const LabeledPairs& labeled_;
  std::array<TextView, 4> natalPillars_;  // year, month, day, hour
  std::array<RelationEntry, 4> natalStems_;
  std::array<RelationEntry, 4> natalBranches_;
};

}  // namespace xuanshu
