// Relations between each luck pillar (大运) and the natal pillars: branch
// relations, stem controls and combinations, and 天克地冲. Only relations
// that involve the luck pillar are listed; natal-only ones stay in shizhu.
#include <algorithm>
#include <array>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"
#include "engine/relation_grids.h"

namespace xuanshu {
namespace {

constexpr std::array<TextView, 4> kNatalTags = {u"年", u"月", u"日", u"时"};

// The stems or branches of one luck step: the luck value, then the natal
// values of 年 月 日 时, each with its index (-1 when the pillar is empty).
struct StepValues {
  std::array<char16_t, 5> values{};
  std::array<int, 5> slots{};
};

template <typename Slot>
StepValues ValuesOf(TextView luckPillar, const std::array<TextView, 4>& natal, bool stems,
                    Slot slot) {
  StepValues step;
  const auto pick = [&](TextView pillar) -> char16_t {
    if (pillar.empty()) return 0;
    return stems ? pillar.front() : pillar.back();
  };
  step.values[0] = pick(luckPillar);
  for (std::size_t i = 0; i < natal.size(); ++i) step.values[i + 1] = pick(natal[i]);
  for (std::size_t i = 0; i < step.values.size(); ++i) step.slots[i] = slot(step.values[i]);
  return step;
}

// Relations listed in a luck step, counted over the step's five values for
// the summary (e.g. 两子冲一午).
class StepTallies {
 public:
  // Listed once per pair of sides.
  void Add(char16_t side1, char16_t side2, TextView word) {
    for (int i = 0; i < size_; ++i) {
      if (items_[i].side1 == side1 && items_[i].side2 == side2) return;
    }
    items_[size_++] = {side1, side2, word};
  }

  void AppendSummary(Text& out, const StepValues& step) const {
    bool first = true;
    for (int i = 0; i < size_; ++i) {
      const Item& t = items_[i];
      const auto count = [&](char16_t side) {
        return static_cast<int>(std::count(step.values.begin(), step.values.end(), side));
      };
      const CountedPair pair{{&t.side1, 1}, count(t.side1), {&t.side2, 1}, count(t.side2), t.word};
      if (!HasCountedItem(pair)) continue;
      if (!first) out += u"、";
      first = false;
      AppendCountedItem(out, pair);
    }
  }

 private:
  struct Item {
    char16_t side1;
    char16_t side2;
    TextView word;
  };
  std::array<Item, 4> items_{};  // one per natal value at most
  int size_ = 0;
};

// The group holding the luck branch, when the natal branches complete it:
// only a group formed with the luck branch belongs to the luck text.
const BranchGroup* GroupFormedWithLuck(const BranchGroups& groups, const StepValues& step) {
  const int luck = step.slots[0];
  if (luck < 0) return nullptr;
  unsigned present = 1u << luck;
  for (std::size_t i = 1; i < step.slots.size(); ++i) {
    if (step.slots[i] >= 0) present |= 1u << step.slots[i];
  }
  const BranchGroup& group = groups.list[groups.holding[luck]];
  return (group.memberMask & present) == group.memberMask ? &group : nullptr;
}

Text LuckBranchText(TextView luckPillar, const std::array<TextView, 4>& natal) {
  const RelationGrids& grids = Grids();
  const StepValues step = ValuesOf(luckPillar, natal, false, BranchSlot);
  const BranchGroup* sanHe = GroupFormedWithLuck(grids.sanHe, step);
  const int luck = step.slots[0];

  Text out;
  StepTallies tallies;
  for (std::size_t i = 1; i < step.values.size(); ++i) {
    const int n = step.slots[i];
    if (luck < 0 || n < 0) continue;
    if (sanHe != nullptr && (sanHe->memberMask >> n & 1u) != 0) continue;
    const BranchRelationResult& relation = grids.branch[luck][n];
    if (relation.name.empty()) continue;
    const char16_t& first = relation.reversed ? step.values[i] : step.values[0];
    const char16_t& second = relation.reversed ? step.values[0] : step.values[i];
    AppendSeparated(
        out,
        {u"[运", kNatalTags[i - 1], u"]", {&first, 1}, {&second, 1}, u"(", relation.name, u")"});
    tallies.Add(first, second, relation.name);
  }
  if (sanHe != nullptr) AppendSeparated(out, {sanHe->text, u"(三合)"});
  if (const BranchGroup* sanHui = GroupFormedWithLuck(grids.sanHui, step)) {
    AppendSeparated(out, {sanHui->text, u"(三会)"});
  }
  if (!out.empty()) out += u' ';
  tallies.AppendSummary(out, step);
  return out;
}

Text LuckStemText(TextView luckPillar, const std::array<TextView, 4>& natal) {
  const RelationGrids& grids = Grids();
  const StepValues step = ValuesOf(luckPillar, natal, true, StemSlot);
  const int luck = step.slots[0];

  Text out;
  StepTallies tallies;
  for (std::size_t i = 1; i < step.values.size(); ++i) {
    const int n = step.slots[i];
    if (luck < 0 || n < 0) continue;
    const StemRelationCell& relation = grids.stem[n][luck];
    if (relation.code == 0) continue;
    AppendSeparated(out, {u"[运", kNatalTags[i - 1], u"]", relation.text});
    // Side 1 is the controller, or the first stem of the combination pair.
    const bool luckFirst = relation.code == 1 || relation.code == 4;
    tallies.Add(luckFirst ? step.values[0] : step.values[i],
                luckFirst ? step.values[i] : step.values[0], relation.code <= 2 ? u"克" : u"合");
  }
  if (!out.empty()) out += u' ';
  tallies.AppendSummary(out, step);
  return out;
}

Text LuckStrikeText(TextView luckPillar, const std::array<TextView, 4>& natal) {
  Text out;
  for (std::size_t i = 0; i < natal.size(); ++i) {
    if (StrikeAndClash(luckPillar, natal[i]) > 0) {
      AppendSeparated(out, {u"[", kNatalTags[i], u"运]", luckPillar, natal[i], u"天克地冲"});
    }
  }
  return out;
}

}  // namespace

void ChartEngine::LuckBranchRelations(ChartRecord& record) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  record.Set(u"dayunhcxh", u"count", Num(static_cast<long long>(luckPillars.size())));
  for (const Text& luck : luckPillars) record.Set(u"dayunhcxh", luck, LuckBranchText(luck, natal));
}

void ChartEngine::LuckStrikeAndClash(ChartRecord& record) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  for (const Text& luck : luckPillars) {
    const Text text = LuckStrikeText(luck, natal);
    if (!text.empty()) record.Set(u"dayuntkdc", luck, text);
  }
}

void ChartEngine::LuckStemRelations(ChartRecord& record) const {
  const std::array<TextView, 4> natal = {yearPillar, monthPillar, dayPillar, hourPillar};
  for (const Text& luck : luckPillars) {
    record.Set(u"dayuntiangankehe", luck, LuckStemText(luck, natal));
  }
}

}  // namespace xuanshu
