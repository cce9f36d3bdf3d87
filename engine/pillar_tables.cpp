#include "engine/pillar_tables.h"

#include "calendar/ganzhi.h"

namespace xuanshu {
namespace {

constexpr std::array<TextView, 12> kGrowthStageNames = {
    u"长生", u"沐浴", u"冠带", u"临官", u"帝旺", u"衰", u"病", u"死", u"墓", u"绝", u"胎", u"养"};

// Branch index of each stem's 长生; 戊 follows 丙 and 己 follows 丁.
constexpr std::array<int, 10> kGrowthStageStart = {
    11,  // 甲 亥
    6,   // 乙 午
    2,   // 丙 寅
    9,   // 丁 酉
    2,   // 戊 寅
    9,   // 己 酉
    5,   // 庚 巳
    0,   // 辛 子
    8,   // 壬 申
    3,   // 癸 卯
};

}  // namespace

Text HiddenStemsText(TextView dayStem, TextView branch) {
  const int reference = StemIndex(dayStem);
  Text out;
  for (char16_t hidden : kHiddenStemTable[BranchIndex(branch)]) {
    out += hidden;
    out += u'\u3000';
    out += TenGodOf(reference, StemIndex(hidden));
    out += u'/';
  }
  return out;
}

// Yang stems advance through the stages with the branches, yin stems go backwards.
TextView GrowthStage(int stem, int branch) {
  const int start = kGrowthStageStart[stem];
  const int steps = stem % 2 == 0 ? branch - start : start - branch;  // [-11, 11]
  return kGrowthStageNames[(steps + 12) % 12];
}

TextView GrowthStage(TextView stem, TextView branch) {
  return GrowthStage(StemIndex(stem), BranchIndex(branch));
}

Text VoidBranches(TextView stem, TextView branch) {
  const int s = StemIndex(stem);
  const int b = BranchIndex(branch);
  // The two branches left over by the pillar's decade of the sixty-cycle.
  return Text{kBranches[(b - s + 10) % 12], kBranches[(b - s + 11) % 12]};
}

}  // namespace xuanshu
