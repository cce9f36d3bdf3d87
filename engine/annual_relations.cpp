// Relations of one annual pillar (流年) with the luck pillar in force and the
// natal pillars. Natal values are tagged 命, the luck value 运 and the annual
// value 岁; only relations that touch the annual pillar are listed.
//
// Counting runs twice: once over the natal and annual values, and once more
// with the luck value added. A relation that then touches all three of 岁,
// 运 and 命 is summarised a second time, counted with the luck pillar.
//
// This runs for each of the 90 annual rows, so it works on character and
// index lookups (relation_grids.h) in fixed-size arrays. The group search
// is FindSanHe / FindSanHui done on indices; a test keeps every text equal
// to the one built with the string-based machinery.
#include "engine/annual_relations.h"

#include <array>
#include <bit>
#include <cstdint>

#include "calendar/ganzhi.h"
#include "engine/branch_relations.h"
#include "engine/chart_engine.h"
#include "engine/relation_grids.h"

namespace xuanshu {

// Every pair as a row lists it, label first (e.g. [命岁]子午(冲), [岁运]甲己合),
// by whether the other side is the luck value, its index and the annual index.
struct LabeledPairs {
  std::array<std::array<std::array<Text, 12>, 12>, 2> branch;
  std::array<std::array<std::array<Text, 10>, 10>, 2> stem;
};

namespace {

using Tags = std::uint8_t;
constexpr Tags kAnnualTag = 1;  // 岁
constexpr Tags kLuckTag = 2;    // 运
constexpr Tags kNatalTag = 4;   // 命
constexpr Tags kAllTags = kAnnualTag | kLuckTag | kNatalTag;

// A set of tags written in the order 岁 运 命, in brackets.
constexpr std::array<TextView, 8> kBracketedTags = {u"[]",   u"[岁]",   u"[运]",   u"[岁运]",
                                                    u"[命]", u"[岁命]", u"[运命]", u"[岁运命]"};

// Group labels as the finders write them, in brackets, with the tags each
// one names.
struct GroupLabel {
  TextView text;
  Tags names;
};
constexpr std::array<GroupLabel, 4> kGroupLabels = {{{u"[命命命]", kNatalTag},
                                                     {u"[运命命]", kLuckTag | kNatalTag},
                                                     {u"[岁命命]", kAnnualTag | kNatalTag},
                                                     {u"[岁运命]", kAllTags}}};

// Only 岁 and 运 are looked for; everything else counts as natal.
int LabelOf(Tags tags) {
  const bool annual = (tags & kAnnualTag) != 0;
  const bool luck = (tags & kLuckTag) != 0;
  if (annual && luck) return 3;
  if (annual) return 2;
  if (luck) return 1;
  return 0;
}

using Entry = RelationEntry;

// The tags of a listed pair, first side first; one side is the annual value.
TextView PairLabel(Tags first, Tags second) {
  const bool annualFirst = first == kAnnualTag;
  const Tags other = annualFirst ? second : first;
  if (other == kLuckTag) return annualFirst ? u"[岁运]" : u"[运岁]";
  return annualFirst ? u"[岁命]" : u"[命岁]";
}

// The labeled pairs, made once from the grids.
const LabeledPairs& Labeled() {
  static const LabeledPairs pairs = [] {
    const RelationGrids& grids = Grids();
    LabeledPairs made;
    for (int luck = 0; luck < 2; ++luck) {
      const Tags other = luck ? kLuckTag : kNatalTag;
      for (int x = 0; x < 12; ++x) {
        for (int y = 0; y < 12; ++y) {
          if (grids.branch[x][y].name.empty()) continue;
          const bool annualFirst = grids.branch[x][y].reversed;
          made.branch[luck][x][y] =
              Text(annualFirst ? PairLabel(kAnnualTag, other) : PairLabel(other, kAnnualTag)) +
              grids.branchPair[x][y];
        }
      }
      for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
          made.stem[luck][x][y] = Text(PairLabel(kAnnualTag, other)) + grids.stem[x][y].text;
        }
      }
    }
    return made;
  }();
  return pairs;
}

Entry BranchEntry(Tags tag, TextView pillar) {
  const char16_t c = pillar.empty() ? 0 : pillar.back();
  return {tag, c, BranchSlot(c)};
}

Entry StemEntry(Tags tag, TextView pillar) {
  const char16_t c = pillar.empty() ? 0 : pillar.front();
  return {tag, c, StemSlot(c)};
}

// --- group search ---

struct Pattern {
  int label = 0;
  int group = 0;
};

struct Patterns {
  std::array<Pattern, 16> items{};  // four labels for each of four groups at most
  int size = 0;

  void Add(int label, int group) {
    for (int i = 0; i < size; ++i) {
      if (items[i].label == label && items[i].group == group) return;
    }
    items[size++] = {label, group};
  }
  const Pattern* begin() const { return items.data(); }
  const Pattern* end() const { return items.data() + size; }
};

// The annual step's branch entries: luck, the four natal branches, annual.
using BranchEntries = std::array<Entry, 6>;

// For each branch index, the entries that carry it: bit e for entries[e].
using EntryMasks = std::array<std::uint8_t, 12>;

EntryMasks MasksOf(const BranchEntries& entries) {
  EntryMasks masks{};
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (entries[e].slot >= 0) masks[entries[e].slot] |= static_cast<std::uint8_t>(1u << e);
  }
  return masks;
}

// The patterns formed with the annual entry. The groups of a kind share no
// branch, so only the group holding the annual branch can carry 岁: every
// ordering of entries that fills its three places, in entry order at each
// place, gives a label, kept when it names 岁.
Patterns AnnualPatterns(const BranchEntries& entries, const EntryMasks& masks, const Entry& annual,
                        const BranchGroups& groups) {
  Patterns found;
  if (annual.slot < 0) return found;
  const int group = groups.holding[annual.slot];
  const std::array<int, 3>& members = groups.list[group].members;
  const auto tagOf = [&entries](unsigned bits) { return entries[std::countr_zero(bits)].tag; };
  for (unsigned i = masks[members[0]]; i != 0; i &= i - 1) {
    for (unsigned j = masks[members[1]]; j != 0; j &= j - 1) {
      for (unsigned k = masks[members[2]]; k != 0; k &= k - 1) {
        const int label = LabelOf(tagOf(i) | tagOf(j) | tagOf(k));
        if (kGroupLabels[label].names & kAnnualTag) found.Add(label, group);
      }
    }
  }
  return found;
}

void AppendGroups(Text& out, const Patterns& patterns, const std::vector<BranchGroup>& groups,
                  TextView kind) {
  for (const Pattern& p : patterns) {
    AppendSeparated(out, {kGroupLabels[p.label].text, groups[p.group].text, kind});
  }
}

// A pair is left out when a group formed with the luck pillar holds both
// branches and its label carries both entries' tags.
bool SuppressedByGroup(const Patterns& patterns, const std::vector<BranchGroup>& groups,
                       const Entry& a, const Entry& b) {
  if (a.slot < 0 || b.slot < 0) return false;
  const unsigned pair = (1u << a.slot) | (1u << b.slot);
  const Tags needed = a.tag | b.tag | kLuckTag;
  for (const Pattern& p : patterns) {
    if ((groups[p.group].memberMask & pair) == pair &&
        (kGroupLabels[p.label].names & needed) == needed) {
      return true;
    }
  }
  return false;
}

// --- tagged counting ---

// A listed relation: its two sides, side 1 first, with their indices, and
// its word.
struct Tally {
  char16_t side1 = 0;
  char16_t side2 = 0;
  int slot1 = 0;
  int slot2 = 0;
  TextView word;
};

// How often each side of a tally occurs among some values, and the tags of
// the values that are one of its sides.
struct SideCounts {
  int count1 = 0;
  int count2 = 0;
  Tags tags = 0;
};

// How often each stem or branch index occurs among the counted values, with
// the tags of the values that carry it.
class ValueCounts {
 public:
  void Add(const Entry& value) {
    if (value.slot < 0) return;
    ++counts_[value.slot];
    tags_[value.slot] |= value.tag;
  }
  SideCounts Of(const Tally& t) const {
    return {counts_[t.slot1], counts_[t.slot2], static_cast<Tags>(tags_[t.slot1] | tags_[t.slot2])};
  }

 private:
  std::array<int, 12> counts_{};
  std::array<Tags, 12> tags_{};
};

struct Tallies {
  std::array<Tally, 5> items{};  // one per listed pair at most
  int size = 0;

  // Added unless a tally with the same two sides is already there.
  void Add(const Entry& side1, const Entry& side2, TextView word) {
    for (int i = 0; i < size; ++i) {
      if (items[i].side1 == side1.value && items[i].side2 == side2.value) return;
    }
    items[size++] = {side1.value, side2.value, side1.slot, side2.slot, word};
  }
};

// Counted items go to `small` ("、" between items, starting after whatever
// `small` already holds) or, with a count of three or more, to `large`.
class CountedItems {
 public:
  CountedItems(Text& small, Text& large) : small_(small), large_(large) {}

  void Add(const Tally& t, const SideCounts& c) {
    if (c.count1 < 2 && c.count2 < 2) return;  // most tallies: no side repeats
    const CountedPair pair{{&t.side1, 1}, c.count1, {&t.side2, 1}, c.count2, t.word};
    if (!HasCountedItem(pair)) return;
    if (c.count1 >= 3 || c.count2 >= 3) {
      if (!large_.empty()) large_ += u"、";
      AppendTagged(large_, c.tags, pair);
      return;
    }
    if (!firstSmall_) small_ += u"、";
    firstSmall_ = false;
    AppendTagged(small_, c.tags, pair);
  }

 private:
  static void AppendTagged(Text& out, Tags tags, const CountedPair& pair) {
    out.append(kBracketedTags[tags]);
    AppendCountedItem(out, pair);
  }

  Text& small_;
  Text& large_;
  bool firstSmall_ = true;
};

// Both counting passes, then the items: first every tally counted over the
// natal and annual values, then those that, counted with the luck value
// too, touch 岁, 运 and 命.
void SummariseTagged(const Tallies& tallies, const std::array<Entry, 5>& natalAndAnnual,
                     const Entry& luck, CountedItems& items) {
  if (tallies.size == 0) return;
  ValueCounts counted;
  for (const Entry& v : natalAndAnnual) counted.Add(v);
  ValueCounts withLuck = counted;
  withLuck.Add(luck);
  for (int i = 0; i < tallies.size; ++i) items.Add(tallies.items[i], counted.Of(tallies.items[i]));
  for (int i = 0; i < tallies.size; ++i) {
    const SideCounts c = withLuck.Of(tallies.items[i]);
    if (c.tags == kAllTags) items.Add(tallies.items[i], c);
  }
}

// The natal values followed by the annual one.
std::array<Entry, 5> WithAnnual(const std::array<Entry, 4>& natal, const Entry& annual) {
  return {natal[0], natal[1], natal[2], natal[3], annual};
}

template <typename MakeEntry>
std::array<Entry, 4> NatalEntries(const std::array<TextView, 4>& pillars, MakeEntry make) {
  return {make(kNatalTag, pillars[0]), make(kNatalTag, pillars[1]), make(kNatalTag, pillars[2]),
          make(kNatalTag, pillars[3])};
}

}  // namespace

AnnualRelations::AnnualRelations(const ChartEngine& engine)
    : grids_(Grids()),
      labeled_(Labeled()),
      natalPillars_{engine.yearPillar, engine.monthPillar, engine.dayPillar, engine.hourPillar},
      natalStems_(NatalEntries(natalPillars_, StemEntry)),
      natalBranches_(NatalEntries(natalPillars_, BranchEntry)) {}

void AnnualRelations::Branches(TextView annualPillar, TextView luckPillar,
                               AnnualBranchTexts& texts) const {
  texts.pairs.clear();
  texts.summary.clear();
  texts.groups.clear();
  const Entry annual = BranchEntry(kAnnualTag, annualPillar);
  const Entry luck = BranchEntry(kLuckTag, luckPillar);
  const std::array<Entry, 5> counted = WithAnnual(natalBranches_, annual);
  const BranchEntries entries = {luck, counted[0], counted[1], counted[2], counted[3], annual};
  const EntryMasks masks = MasksOf(entries);
  const Patterns sanHe = AnnualPatterns(entries, masks, annual, grids_.sanHe);

  Tallies tallies;
  // Only pairs with the annual branch are listed; it is the last entry.
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
    const Entry& other = entries[i];
    if (SuppressedByGroup(sanHe, grids_.sanHe.list, other, annual)) continue;
    if (other.slot < 0 || annual.slot < 0) continue;
    const BranchRelationResult& relation = grids_.branch[other.slot][annual.slot];
    if (relation.name.empty()) continue;
    const Entry& first = relation.reversed ? annual : other;
    const Entry& second = relation.reversed ? other : annual;
    AppendSeparated(texts.pairs, {labeled_.branch[other.tag == kLuckTag][other.slot][annual.slot]});
    tallies.Add(first, second, relation.name);
  }

  AppendGroups(texts.groups, sanHe, grids_.sanHe.list, u"(三合)");
  AppendGroups(texts.groups, AnnualPatterns(entries, masks, annual, grids_.sanHui),
               grids_.sanHui.list, u"(三会)");
  CountedItems items(texts.summary, texts.groups);
  SummariseTagged(tallies, counted, luck, items);
}

void AnnualRelations::Stems(TextView annualPillar, TextView luckPillar,
                            AnnualStemTexts& texts) const {
  texts.main.clear();
  texts.big.clear();
  const Entry annual = StemEntry(kAnnualTag, annualPillar);
  const Entry luck = StemEntry(kLuckTag, luckPillar);
  const std::array<Entry, 5> counted = WithAnnual(natalStems_, annual);
  const std::array<const Entry*, 5> entries = {&luck, &counted[0], &counted[1], &counted[2],
                                               &counted[3]};

  Tallies tallies;
  for (const Entry* e : entries) {
    if (e->slot < 0 || annual.slot < 0) continue;
    const StemRelationCell& relation = grids_.stem[e->slot][annual.slot];
    if (relation.code == 0) continue;
    AppendSeparated(texts.main, {labeled_.stem[e->tag == kLuckTag][e->slot][annual.slot]});
    // Side 1 is the controller, or the first stem of the combination pair.
    const bool annualFirst = relation.code == 1 || relation.code == 4;
    tallies.Add(annualFirst ? annual : *e, annualFirst ? *e : annual,
                relation.code <= 2 ? u"克" : u"合");
  }
  if (!texts.main.empty()) texts.main += u' ';
  CountedItems items(texts.main, texts.big);
  SummariseTagged(tallies, counted, luck, items);
}

void AnnualRelations::StrikeAndClash(TextView annualPillar, TextView luckPillar, Text& out) const {
  out.clear();
  struct Subject {
    TextView tag;
    TextView pillar;
    int stem;
    int branch;
  };
  const Entry annualStem = StemEntry(0, annualPillar);
  const Entry annualBranch = BranchEntry(0, annualPillar);
  if (annualStem.slot < 0 || annualBranch.slot < 0) return;
  const std::array<Subject, 5> subjects = {{
      {u"运", luckPillar, StemEntry(0, luckPillar).slot, BranchEntry(0, luckPillar).slot},
      {u"年", natalPillars_[0], natalStems_[0].slot, natalBranches_[0].slot},
      {u"月", natalPillars_[1], natalStems_[1].slot, natalBranches_[1].slot},
      {u"日", natalPillars_[2], natalStems_[2].slot, natalBranches_[2].slot},
      {u"时", natalPillars_[3], natalStems_[3].slot, natalBranches_[3].slot},
  }};
  for (const Subject& subject : subjects) {
    if (subject.stem < 0 || subject.branch < 0) continue;
    // 天克地冲: one stem controls the other and the branches clash.
    const int control = grids_.stem[annualStem.slot][subject.stem].code;
    if ((control == 1 || control == 2) && grids_.clash[annualBranch.slot][subject.branch]) {
      AppendSeparated(out, {u"[", subject.tag, u"岁]", annualPillar, subject.pillar, u"天克地冲"});
    }
  }
}

AnnualBranchTexts ChartEngine::AnnualBranchRelations(TextView annualPillar,
                                                     TextView luckPillar) const {
  AnnualBranchTexts texts;
  AnnualRelations(*this).Branches(annualPillar, luckPillar, texts);
  return texts;
}

AnnualStemTexts ChartEngine::AnnualStemRelations(TextView annualPillar, TextView luckPillar) const {
  AnnualStemTexts texts;
  AnnualRelations(*this).Stems(annualPillar, luckPillar, texts);
  return texts;
}

Text ChartEngine::AnnualStrikeAndClash(TextView annualPillar, TextView luckPillar) const {
  Text out;
  AnnualRelations(*this).StrikeAndClash(annualPillar, luckPillar, out);
  return out;
}

}  // namespace xuanshu
