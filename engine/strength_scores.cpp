// Strength scoring. Every stem and hidden stem of the chart adds its score
// for the birth month to the ledger of its ten god; the day stem's own score
// stands apart as 日干. The pillar position carries no weight.
#include "engine/strength_scores.h"

#include <cmath>

#include "calendar/ganzhi.h"
#include "engine/chart_engine.h"
#include "engine/pillar_tables.h"

namespace xuanshu {
namespace {

// Rows: month branch from 寅; columns: stem 甲 … 癸. A stem scores 60 in its
// own element's month or in the month of the element that generates it, 30
// in the month of the element it generates, 15 otherwise.
constexpr std::array<std::array<float, 10>, 12> kStemMonthScore = {{
    {60, 60, 60, 60, 15, 15, 15, 15, 30, 30},  // 寅
    {60, 60, 60, 60, 15, 15, 15, 15, 30, 30},  // 卯
    {15, 15, 30, 30, 60, 60, 60, 60, 15, 15},  // 辰
    {30, 30, 60, 60, 60, 60, 15, 15, 15, 15},  // 巳
    {30, 30, 60, 60, 60, 60, 15, 15, 15, 15},  // 午
    {15, 15, 30, 30, 60, 60, 60, 60, 15, 15},  // 未
    {15, 15, 15, 15, 30, 30, 60, 60, 60, 60},  // 申
    {15, 15, 15, 15, 30, 30, 60, 60, 60, 60},  // 酉
    {15, 15, 30, 30, 60, 60, 60, 60, 15, 15},  // 戌
    {60, 60, 15, 15, 15, 15, 30, 30, 60, 60},  // 亥
    {60, 60, 15, 15, 15, 15, 30, 30, 60, 60},  // 子
    {15, 15, 30, 30, 60, 60, 60, 60, 15, 15},  // 丑
}};

// The hidden stem of each branch as the pair branch + stem, in column order.
constexpr std::array<TextView, 28> kHiddenStemPairs = {
    u"午丁", u"午己", u"未乙", u"未己", u"未丁", u"申庚", u"申壬", u"申戊", u"酉辛", u"戌戊",
    u"戌丁", u"戌辛", u"亥甲", u"亥壬", u"子癸", u"丑癸", u"丑辛", u"丑己", u"寅戊", u"寅丙",
    u"寅甲", u"卯乙", u"辰乙", u"辰癸", u"辰戊", u"巳戊", u"巳庚", u"巳丙"};

// Rows: month branch from 寅; columns: the pairs above. Stored data, no formula.
constexpr std::array<std::array<float, 28>, 12> kHiddenStemMonthScore = {{
    // 寅
    {40, 5, 6,   9, 18,  8,  7,  3.5, 15, 9, 6, 4.5, 20,  20,
     60, 9, 1.5, 9, 3.5, 32, 32, 60,  18, 3, 9, 3.5, 3.5, 32},
    // 卯
    {40, 5, 6,   9, 18,  8,  7,  3.5, 15, 9, 6, 4.5, 20,  20,
     60, 9, 1.5, 9, 3.5, 32, 32, 60,  18, 3, 9, 3.5, 3.5, 32},
    // 辰
    {20, 20,  1.5, 36, 9,  32, 3.5, 14, 60,  36,  3,  18, 5,  10,
     15, 4.5, 6,   36, 14, 8,  8,   15, 4.5, 1.5, 36, 14, 14, 16},
    // 巳
    {40, 20,  3,   36, 18, 8,  3.5, 14, 15, 36,  6,  4.5, 10,  10,
     15, 4.5, 1.5, 36, 14, 32, 16,  30, 9,  1.5, 36, 14,  3.5, 32},
    // 午
    {40, 20,  3,   36, 18, 8,  3.5, 14, 15, 36,  6,  4.5, 10,  10,
     15, 4.5, 1.5, 36, 14, 32, 16,  30, 9,  1.5, 36, 14,  3.5, 32},
    // 未
    {20, 20,  1.5, 36, 9,  32, 3.5, 14, 60,  36,  3,  18, 5,  10,
     15, 4.5, 6,   36, 14, 16, 8,   15, 4.5, 1.5, 36, 14, 14, 16},
    // 申
    {10, 10, 1.5, 18, 4.5, 32, 14, 7,  60,  18, 1.5, 18, 5,  40,
     60, 18, 6,   18, 7,   8,  8,  15, 4.5, 6,  18,  7,  14, 8},
    // 酉
    {10, 10, 1.5, 18, 4.5, 32, 14, 7,  60,  18, 1.5, 18, 5,  40,
     60, 18, 6,   18, 7,   8,  8,  15, 4.5, 6,  18,  7,  14, 8},
    // 戌
    {20, 20,  1.5, 36, 9,  32, 3.5, 14, 60,  36,  3,  18, 5,  10,
     15, 4.5, 6,   36, 14, 16, 8,   15, 4.5, 1.5, 36, 14, 14, 36},
    // 亥
    {10, 5,  6, 9, 4.5, 16, 14, 3.5, 30, 9, 1.5, 9,   20, 40,
     60, 18, 3, 9, 3.5, 8,  32, 60,  18, 6, 9,   3.5, 7,  8},
    // 子
    {10, 5,  6, 9, 4.5, 16, 14, 3.5, 30, 9, 1.5, 9,   20, 40,
     60, 18, 3, 9, 3.5, 8,  32, 60,  18, 6, 9,   3.5, 7,  8},
    // 丑
    {20, 20,  1.5, 36, 9,  32, 3.5, 14, 60,  36,  3,  18, 5,  10,
     15, 4.5, 6,   36, 14, 16, 8,   15, 4.5, 1.5, 36, 14, 14, 16},
}};

constexpr TextView kDayStemKey = u"日干";

constexpr std::array<TextView, 10> kTenGodOrder = {u"正官", u"偏官", u"正印", u"偏印", u"劫财",
                                                   u"比肩", u"伤官", u"食神", u"正财", u"偏财"};

struct SixGodFamily {
  TextView name;
  TextView first;
  TextView second;
};
constexpr std::array<SixGodFamily, 5> kSixGodFamilies = {{
    {u"官杀", u"正官", u"偏官"},
    {u"印", u"正印", u"偏印"},
    {u"比劫", u"劫财", u"比肩"},
    {u"伤食", u"伤官", u"食神"},
    {u"财", u"正财", u"偏财"},
}};

// The day master's own party (同党); every other key is the other party (异党).
constexpr std::array<TextView, 5> kSameParty = {u"日干", u"比肩", u"劫财", u"正印", u"偏印"};

constexpr double kVerdictThreshold = 1.3;

bool IsSameParty(TextView key) {
  for (TextView member : kSameParty) {
    if (member == key) return true;
  }
  return false;
}

}  // namespace

float StemMonthScore(int monthRow, int stem) {
  return kStemMonthScore[monthRow][stem];
}

float HiddenStemMonthScore(int monthRow, TextView pair) {
  for (std::size_t column = 0; column < kHiddenStemPairs.size(); ++column) {
    if (kHiddenStemPairs[column] == pair) return kHiddenStemMonthScore[monthRow][column];
  }
  return kHiddenStemMonthScore[monthRow][0];
}

int MonthRowOf(int branch) {
  return (branch + 10) % 12;
}

void StrengthLedger::Add(TextView key, float score) {
  Entry* entry = Find(key);
  if (entry == nullptr) {
    if (size_ == kMaxKeys) return;  // cannot happen: 日干 and ten ten gods
    entry = &entries_[size_++];
    entry->key = key;
    entry->count = 0;
  }
  if (entry->count < kMaxContributions) entry->contributions[entry->count++] = score;
}

float StrengthLedger::Score(TextView key) const {
  const Entry* entry = Find(key);
  return entry == nullptr ? 0.0f : Sum(*entry);
}

float StrengthLedger::Sum(const Entry& entry) {
  float sum = 0.0f;
  for (std::size_t i = 0; i < entry.count; ++i) sum += entry.contributions[i];
  return sum;
}

StrengthLedger::Entry* StrengthLedger::Find(TextView key) {
  for (std::size_t i = 0; i < size_; ++i) {
    if (entries_[i].key == key) return &entries_[i];
  }
  return nullptr;
}

const StrengthLedger::Entry* StrengthLedger::Find(TextView key) const {
  return const_cast<StrengthLedger*>(this)->Find(key);
}

void CollectStrengthContributions(TextView yearPillar, TextView monthPillar, TextView dayPillar,
                                  TextView hourPillar, StrengthLedger& ledger) {
  ledger.Clear();
  const TextView dayStem = StemOf(dayPillar);
  const int row = MonthRowOf(BranchIndex(BranchOf(monthPillar)));
  ledger.Add(kDayStemKey, StemMonthScore(row, StemIndex(dayStem)));

  for (TextView pillar : {yearPillar, monthPillar, hourPillar}) {
    const TextView stem = StemOf(pillar);
    ledger.Add(TenGodOf(dayStem, stem), StemMonthScore(row, StemIndex(stem)));
  }
  for (TextView pillar : {yearPillar, monthPillar, dayPillar, hourPillar}) {
    const TextView branch = BranchOf(pillar);
    Text pair(branch);
    pair.push_back(u' ');
    for (char16_t hidden : kHiddenStemTable[BranchIndex(branch)]) {
      pair.back() = hidden;
      ledger.Add(TenGodOf(dayStem, TextView(&hidden, 1)), HiddenStemMonthScore(row, pair));
    }
  }
}

Text ScoreText(float score) {
  const float whole = std::trunc(score);
  if (whole < score) return FormatDouble("%.1f", score);
  return Num(static_cast<long long>(whole));
}

TextView StrengthVerdict(float sameParty, float otherParty) {
  if (otherParty == 0.0f) return sameParty > 0.0f ? u"身旺" : u"平";  // +∞ or not a number
  const double ratio = static_cast<double>(sameParty) / static_cast<double>(otherParty);
  if (ratio > kVerdictThreshold) return u"身旺";
  if (ratio < kVerdictThreshold) return u"身弱";
  return u"平";
}

void ChartEngine::WriteStrengthScores(ChartRecord& record) const {
  StrengthLedger ledger;
  CollectStrengthContributions(yearPillar, monthPillar, dayPillar, hourPillar, ledger);

  NumberedKey key;
  record.Set(u"shishenfenshu", u"count", u"10");
  record.Set(u"fenshu", kDayStemKey, FormatDouble("%1.f", ledger.Score(kDayStemKey)));
  for (std::size_t i = 0; i < kTenGodOrder.size(); ++i) {
    record.Set(u"shishenfenshu", key(u"key", static_cast<long long>(i + 1)), kTenGodOrder[i]);
    record.Set(u"shishenfenshu", kTenGodOrder[i], ScoreText(ledger.Score(kTenGodOrder[i])));
  }
  record.Set(u"liushenfenshu", u"count", u"5");
  for (std::size_t i = 0; i < kSixGodFamilies.size(); ++i) {
    const SixGodFamily& family = kSixGodFamilies[i];
    record.Set(u"liushenfenshu", key(u"key", static_cast<long long>(i + 1)), family.name);
    record.Set(u"liushenfenshu", family.name,
               ScoreText(ledger.Score(family.first) + ledger.Score(family.second)));
  }

  float sameParty = 0.0f;
  float otherParty = 0.0f;
  ledger.ForEachKey(
      [&](TextView key, float score) { (IsSameParty(key) ? sameParty : otherParty) += score; });
  record.Set(u"fenshu", u"tongdang", ScoreText(sameParty));
  record.Set(u"fenshu", u"yidang", ScoreText(otherParty));
  record.Set(u"fenshu", u"rizhufenshu", StrengthVerdict(sameParty, otherParty));
}

}  // namespace xuanshu
