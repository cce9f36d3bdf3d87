// Strength scoring of the ten gods, weighted by the birth month, and the
// day master's verdict (身旺 / 身弱 / 平).
#pragma once

#include <array>
#include <cstddef>

#include "record/text.h"

namespace xuanshu {

// Score of a stem (甲 = 0 … 癸 = 9) in a month row (寅 = 0 … 丑 = 11).
float StemMonthScore(int monthRow, int stem);
// Score of a hidden stem in its own branch, given as the pair branch + stem
// (e.g. 寅丙); an unknown pair reads as the first column.
float HiddenStemMonthScore(int monthRow, TextView pair);
// Month row of a branch index (子 = 0 … 亥 = 11): 寅 = 0 … 丑 = 11.
int MonthRowOf(int branch);

// The contributions of one chart, listed per key ("日干" or a ten-god name).
class StrengthLedger {
 public:
  // A key receives at most three stems and twelve hidden stems.
  static constexpr std::size_t kMaxContributions = 16;
  static constexpr std::size_t kMaxKeys = 11;

  void Clear() { size_ = 0; }
  void Add(TextView key, float score);
  // Sum of the key's contributions; 0 for a key that has none.
  float Score(TextView key) const;
  template <typename Visit>
  void ForEachKey(Visit visit) const {
    for (std::size_t i = 0; i < size_; ++i) visit(entries_[i].key, Sum(entries_[i]));
  }

 private:
  struct Entry {
    TextView key;
    std::array<float, kMaxContributions> contributions;
    std::size_t count;
  };
  static float Sum(const Entry& entry);
  Entry* Find(TextView key);
  const Entry* Find(TextView key) const;

  std::array<Entry, kMaxKeys> entries_;
  std::size_t size_ = 0;
};

// Fills the ledger from the four pillars (stem then branch each).
void CollectStrengthContributions(TextView yearPillar, TextView monthPillar, TextView dayPillar,
                                  TextView hourPillar, StrengthLedger& ledger);

// "%.1f" for a score with a fraction, else "%d".
Text ScoreText(float score);

// 身旺 when same ÷ other exceeds 1.3 (in double precision), 身弱 below it, 平
// at exactly 1.3 or when both totals are 0.
TextView StrengthVerdict(float sameParty, float otherParty);

}  // namespace xuanshu
