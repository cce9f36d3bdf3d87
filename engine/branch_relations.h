// The relation machinery shared by the natal, luck and annual steps:
// the branch relation table, the 三合 / 三会 group finders, the pair filter
// and the counted (multiplicity) summary.
#pragma once

#include <initializer_list>
#include <vector>

#include "record/text.h"

namespace xuanshu {

// Where a value comes from: 年 月 日 时 (natal), 运 (luck), 岁 (annual),
// 命 (natal, in the annual steps). The value is a branch, a stem or a pillar.
struct TaggedEntry {
  Text tag;
  Text value;
};

struct GroupPattern {
  Text label;  // 命命命, 运命命, 岁命命 or 岁运命
  Text group;  // e.g. 申子辰
};

// The two sides of a relation with how often each was counted, e.g. 子 (2)
// 冲 午 (1).
struct CountedPair {
  TextView side1;
  int count1 = 0;
  TextView side2;
  int count2 = 0;
  TextView word;
};

struct RelationTally {
  Text side1;
  int count1 = 0;
  Text side2;
  int count2 = 0;
  Text word;
  Text tags;  // annual steps only

  CountedPair Counted() const;
};

struct BranchRelationResult {
  TextView name;  // empty when the pair has no relation
  bool reversed = false;
};

// First entry of the relation table matching (x, y) or, reversed, (y, x).
BranchRelationResult BranchRelation(TextView x, TextView y);

std::vector<GroupPattern> FindSanHe(const std::vector<TaggedEntry>& entries);
std::vector<GroupPattern> FindSanHui(const std::vector<TaggedEntry>& entries);

// True when some pattern's group holds both branch characters.
bool PairInGroup(const std::vector<GroupPattern>& patterns, TextView a, TextView b);

// Appends one item made of the parts, after "、" when `out` holds some already.
void AppendSeparated(Text& out, std::initializer_list<TextView> parts);

// Adds the tally unless one with the same two sides is already listed.
void AddTally(std::vector<RelationTally>& tallies, RelationTally tally);

// True when a counted pair is worth a summary item: both sides present, one
// of them at least twice, and not a half or directional combination.
bool IsSummaryCandidate(const CountedPair& pair);
// A candidate that makes an item: a self-punishment needs three alike branches.
bool HasCountedItem(const CountedPair& pair);
// Appends the counted item of a pair that has one, e.g. 两子冲一午 or 三辰自刑.
void AppendCountedItem(Text& out, const CountedPair& pair);

// The counted item of a tally; empty when it has none.
Text CountedItem(const RelationTally& tally);

// Counts each tally's sides over the values and returns the summary items
// joined by "、" (e.g. 两子冲一午, 三辰自刑).
Text MultiplicitySummary(std::vector<RelationTally>& tallies, const std::vector<Text>& values);

}  // namespace xuanshu
