// Index lookups derived once from the shared relation primitives
// (BranchRelation, BranchesClash, StemRelation, FindSanHe, FindSanHui). The
// annual rows ask the same small questions thousands of times per chart;
// these grids answer them without string searches and cannot disagree with
// the primitives they are built from.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/branch_relations.h"
#include "record/text.h"

namespace xuanshu {

struct StemRelationCell {
  int code = 0;  // StemRelation's result
  Text text;     // e.g. 庚克甲, 甲己合
};

struct BranchGroup {
  std::array<int, 3> members{};  // branch indices in the group's own order
  std::uint16_t memberMask = 0;  // bit per branch index
  Text text;                     // e.g. 申子辰
};

// The groups of one finder, which share no branch.
struct BranchGroups {
  std::vector<BranchGroup> list;
  std::array<int, 12> holding{};  // the group of each branch index
};

struct RelationGrids {
  std::array<std::array<BranchRelationResult, 12>, 12> branch;
  // The related pair as listed, e.g. 子午(冲) for 子 and 午 either way round;
  // empty when the branches have no relation.
  std::array<std::array<Text, 12>, 12> branchPair;
  std::array<std::array<bool, 12>, 12> clash{};
  std::array<std::array<StemRelationCell, 10>, 10> stem;
  BranchGroups sanHe;
  BranchGroups sanHui;
};

// Built on first use.
const RelationGrids& Grids();

}  // namespace xuanshu
