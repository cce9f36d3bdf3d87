#include "engine/relation_grids.h"

#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

// Every group of a finder, found by letting it search all twelve branches.
BranchGroups GroupsOf(std::vector<GroupPattern> (*find)(const std::vector<TaggedEntry>&)) {
  std::vector<TaggedEntry> twelve;
  for (int b = 0; b < 12; ++b) twelve.push_back({u"命", BranchName(b)});
  BranchGroups groups;
  for (const GroupPattern& pattern : find(twelve)) {
    BranchGroup group;
    for (std::size_t k = 0; k < group.members.size(); ++k) {
      group.members[k] = BranchSlot(pattern.group[k]);
      group.memberMask |= static_cast<std::uint16_t>(1u << group.members[k]);
      groups.holding[group.members[k]] = static_cast<int>(groups.list.size());
    }
    group.text = pattern.group;
    groups.list.push_back(std::move(group));
  }
  return groups;
}

RelationGrids BuildGrids() {
  RelationGrids grids;
  for (int x = 0; x < 12; ++x) {
    for (int y = 0; y < 12; ++y) {
      const BranchRelationResult relation = BranchRelation(BranchName(x), BranchName(y));
      grids.branch[x][y] = relation;
      if (!relation.name.empty()) {
        grids.branchPair[x][y] =
            relation.reversed ? BranchName(y) + BranchName(x) : BranchName(x) + BranchName(y);
        grids.branchPair[x][y].append(u"(").append(relation.name).append(u")");
      }
      grids.clash[x][y] = BranchesClash(BranchName(x), BranchName(y));
    }
  }
  for (int a = 0; a < 10; ++a) {
    for (int b = 0; b < 10; ++b) {
      StemRelationCell& cell = grids.stem[a][b];
      cell.code = StemRelation(StemName(a), StemName(b), cell.text);
    }
  }
  grids.sanHe = GroupsOf(FindSanHe);
  grids.sanHui = GroupsOf(FindSanHui);
  return grids;
}

}  // namespace

const RelationGrids& Grids() {
  static const RelationGrids grids = BuildGrids();
  return grids;
}

}  // namespace xuanshu
