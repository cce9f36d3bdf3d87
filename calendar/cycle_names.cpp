#include "calendar/cycle_names.h"

#include <array>

#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

// One name per pair of pillars, 甲子乙丑 first.
constexpr std::array<TextView, 30> kNaYinNames = {
    u"海中金", u"炉中火", u"大林木", u"路旁土", u"剑锋金",  // 甲子 … 癸酉
    u"山头火", u"涧下水", u"城头土", u"白蜡金", u"杨柳木",  // 甲戌 … 癸未
    u"泉中水", u"屋上土", u"霹雳火", u"松柏木", u"长流水",  // 甲申 … 癸巳
    u"沙中金", u"山下火", u"平地木", u"壁上土", u"金箔金",  // 甲午 … 癸卯
    u"覆灯火", u"天河水", u"大驿土", u"钗钏金", u"桑柘木",  // 甲辰 … 癸丑
    u"大溪水", u"沙中土", u"天上火", u"石榴木", u"大海水",  // 甲寅 … 癸亥
};

constexpr std::array<TextView, 6> kXunNames = {u"甲子旬", u"甲戌旬", u"甲申旬",
                                               u"甲午旬", u"甲辰旬", u"甲寅旬"};

// Index in its table, or -1 for a character that is not in it.
template <std::size_t N>
int IndexIn(const std::array<char16_t, N>& table, char16_t c) {
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i] == c) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::optional<int> CycleIndex(TextView pillar) {
  if (pillar.size() != 2) return std::nullopt;
  const int stem = IndexIn(kStems, pillar[0]);
  const int branch = IndexIn(kBranches, pillar[1]);
  if (stem < 0 || branch < 0) return std::nullopt;
  for (int n = stem; n < 60; n += 10) {
    if (n % 12 == branch) return n;
  }
  return std::nullopt;  // stem and branch of different polarity
}

TextView NaYinOf(TextView pillar) {
  const std::optional<int> n = CycleIndex(pillar);
  return n ? kNaYinNames[*n / 2] : TextView{};
}

TextView XunOf(TextView pillar) {
  const std::optional<int> n = CycleIndex(pillar);
  return n ? kXunNames[*n / 10] : TextView{};
}

}  // namespace xuanshu
