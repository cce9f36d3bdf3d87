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

// The groups of one finder, with where each branch stands in them.
struct BranchGroups {
  std::vector<BranchGroup> list;
  // atPlace[p][b]: a bit per group whose p-th branch is branch index b.
  std::array<std::array<unsigned, 12>, 3> atPlace{};
};

struct RelationGrids {
  std::array<std::array<BranchRelationResult, 12>, 12> branch;
  std::array<std::array<bool, 12>, 12> clash{};
  std::array<std::array<StemRelationCell, 10>, 10> stem;
  BranchGroups sanHe;
  BranchGroups sanHui;
};

// Built on first use.
const RelationGrids& Grids();

}  // namespace xuanshu
