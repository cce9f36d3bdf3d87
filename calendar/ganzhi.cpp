#include "calendar/ganzhi.h"

#include <algorithm>
#include <cstdint>

namespace xuanshu {
namespace {

constexpr TextView kYangStems = u"甲丙戊庚壬";

// Rows: reference stem; columns: other stem.
constexpr std::array<std::array<TextView, 10>, 10> kTenGodTable = {{
    {u"比肩", u"劫财", u"食神", u"伤官", u"偏财", u"正财", u"偏官", u"正官", u"偏印",
     u"正印"},  // 甲
    {u"劫财", u"比肩", u"伤官", u"食神", u"正财", u"偏财", u"正官", u"偏官", u"正印",
     u"偏印"},  // 乙
    {u"偏印", u"正印", u"比肩", u"劫财", u"食神", u"伤官", u"偏财", u"正财", u"偏官",
     u"正官"},  // 丙
    {u"正印", u"偏印", u"劫财", u"比肩", u"伤官", u"食神", u"正财", u"偏财", u"正官",
     u"偏官"},  // 丁
    {u"偏官", u"正官", u"偏印", u"正印", u"比肩", u"劫财", u"食神", u"伤官", u"偏财",
     u"正财"},  // 戊
    {u"正官", u"偏官", u"正印", u"偏印", u"劫财", u"比肩", u"伤官", u"食神", u"正财",
     u"偏财"},  // 己
    {u"偏财", u"正财", u"偏官", u"正官", u"偏印", u"正印", u"比肩", u"劫财", u"食神",
     u"伤官"},  // 庚
    {u"正财", u"偏财", u"正官", u"偏官", u"正印", u"偏印", u"劫财", u"比肩", u"伤官",
     u"食神"},  // 辛
    {u"食神", u"伤官", u"偏财", u"正财", u"偏官", u"正官", u"偏印", u"正印", u"比肩",
     u"劫财"},  // 壬
    {u"伤官", u"食神", u"正财", u"偏财", u"正官", u"偏官", u"正印", u"偏印", u"劫财",
     u"比肩"},  // 癸
}};

// Each stem with the stems that control it; a yin stem lists only its yin
// controller, because its yang controller combines with it instead.
struct StemControl {
  char16_t stem;
  TextView controllers;
};
constexpr std::array<StemControl, 10> kStemControlTable = {{
    {u'甲', u"庚辛"},
    {u'乙', u"辛"},
    {u'丙', u"壬癸"},
    {u'丁', u"癸"},
    {u'戊', u"甲乙"},
    {u'己', u"乙"},
    {u'庚', u"丙丁"},
    {u'辛', u"丁"},
    {u'壬', u"戊己"},
    {u'癸', u"己"},
}};

constexpr std::array<std::array<char16_t, 2>, 5> kStemCombinePairs = {
    {{u'甲', u'己'}, {u'乙', u'庚'}, {u'丙', u'辛'}, {u'丁', u'壬'}, {u'戊', u'癸'}}};

constexpr std::array<std::array<char16_t, 2>, 6> kBranchClashPairs = {{{u'子', u'午'},
                                                                       {u'丑', u'未'},
                                                                       {u'寅', u'申'},
                                                                       {u'卯', u'酉'},
                                                                       {u'辰', u'戌'},
                                                                       {u'巳', u'亥'}}};

constexpr std::array<TextView, 9> kNumeralWords = {u"一", u"两", u"三", u"四", u"五",
                                                   u"六", u"七", u"八", u"九"};

}  // namespace

int StemIndex(char16_t c) {
  return std::max(StemSlot(c), 0);
}

int BranchIndex(char16_t c) {
  return std::max(BranchSlot(c), 0);
}

int StemIndex(TextView text) {
  return text.size() == 1 ? StemIndex(text[0]) : 0;
}
int BranchIndex(TextView text) {
  return text.size() == 1 ? BranchIndex(text[0]) : 0;
}

TextView GanZhiView(long long n) {
  static constexpr auto kSixty = [] {
    std::array<std::array<char16_t, 2>, 60> pillars{};
    for (std::size_t i = 0; i < pillars.size(); ++i)
      pillars[i] = {kStems[i % 10], kBranches[i % 12]};
    return pillars;
  }();
  const auto& pillar = kSixty[static_cast<std::size_t>((n % 60 + 60) % 60)];
  return {pillar.data(), pillar.size()};
}

Text GanZhiName(long long n) {
  // A negative count (never passed for supported years) still names a pillar.
  return Text(GanZhiView(n));
}

bool IsYangStem(TextView text) {
  return kYangStems.find(text) != TextView::npos;
}

TextView TenGodOf(int referenceStem, int otherStem) {
  const auto index = [](int stem) { return stem >= 0 && stem < 10 ? stem : 0; };
  return kTenGodTable[index(referenceStem)][index(otherStem)];
}

TextView TenGodOf(TextView referenceStem, TextView otherStem) {
  return TenGodOf(StemIndex(referenceStem), StemIndex(otherStem));
}

TextView NumeralWord(int n) {
  return (n >= 1 && n <= 9) ? kNumeralWords[n - 1] : TextView{};
}

namespace {

// The relation of two stems by the tables above: 1 when b controls a, 2
// when a controls b, 3 or 4 when they combine (a first or second in the table).
constexpr int StemRelationByTables(char16_t a, char16_t b) {
  for (const StemControl& entry : kStemControlTable) {
    if (a == entry.stem && entry.controllers.find(b) != TextView::npos) return 1;
    if (b == entry.stem && entry.controllers.find(a) != TextView::npos) return 2;
  }
  for (const auto& [p, q] : kStemCombinePairs) {
    if (a == p && b == q) return 3;
    if (a == q && b == p) return 4;
  }
  return 0;
}

// Every pair of stems and of branches looked up once, at compile time, by
// their places in kStems and kBranches.
constexpr auto kStemRelationGrid = [] {
  std::array<std::array<std::int8_t, 10>, 10> grid{};
  for (std::size_t i = 0; i < 10; ++i) {
    for (std::size_t j = 0; j < 10; ++j) {
      grid[i][j] = static_cast<std::int8_t>(StemRelationByTables(kStems[i], kStems[j]));
    }
  }
  return grid;
}();

constexpr auto kBranchClashGrid = [] {
  std::array<std::array<bool, 12>, 12> grid{};
  const auto place = [](char16_t branch) {
    std::size_t i = 0;
    while (kBranches[i] != branch) ++i;
    return i;
  };
  for (const auto& [p, q] : kBranchClashPairs) {
    grid[place(p)][place(q)] = true;
    grid[place(q)][place(p)] = true;
  }
  return grid;
}();

}  // namespace

int StemRelation(char16_t a, char16_t b) {
  const int i = StemSlot(a);
  const int j = StemSlot(b);
  return i < 0 || j < 0 ? 0 : kStemRelationGrid[i][j];
}

int StemRelation(TextView a, TextView b, Text& out) {
  if (a.size() != 1 || b.size() != 1) return 0;
  const int code = StemRelation(a[0], b[0]);
  switch (code) {
    case 1:
      out = Text(b) + u"克" + Text(a);
      break;
    case 2:
      out = Text(a) + u"克" + Text(b);
      break;
    case 3:
      out = Text(a) + Text(b) + u"合";
      break;
    case 4:
      out = Text(b) + Text(a) + u"合";
      break;
    default:
      break;
  }
  return code;
}

bool BranchesClash(TextView a, TextView b) {
  if (a.size() != 1 || b.size() != 1) return false;
  const int i = BranchSlot(a[0]);
  const int j = BranchSlot(b[0]);
  return i >= 0 && j >= 0 && kBranchClashGrid[i][j];
}

int StrikeAndClash(TextView pillarA, TextView pillarB) {
  if (pillarA.empty() || pillarB.empty()) return 0;
  const int r = StemRelation(pillarA.front(), pillarB.front());
  if ((r == 1 || r == 2) && BranchesClash(BranchOf(pillarA), BranchOf(pillarB))) return r;
  return 0;
}

}  // namespace xuanshu
