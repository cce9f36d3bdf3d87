// Per-branch and per-stem tables of the pillar details: hidden stems, growth
// stages and the void pair.
#pragma once

#include <array>

#include "record/text.h"

namespace xuanshu {

// Hidden stems of each branch (子 … 亥), in output and scoring order.
inline constexpr std::array<TextView, 12> kHiddenStemTable = {
    u"癸",   u"己癸辛", u"甲丙戊", u"乙", u"戊癸乙", u"丙戊庚",
    u"丁己", u"己丁乙", u"庚壬戊", u"辛", u"戊辛丁", u"壬甲"};

// "h　<ten god>/" for each hidden stem of the branch, seen from the day stem.
Text HiddenStemsText(TextView dayStem, TextView branch);

// Growth stage (十二长生) of a stem at a branch: 长生 … 养.
TextView GrowthStage(TextView stem, TextView branch);
TextView GrowthStage(int stem, int branch);

// The void pair (空亡) of a pillar given as stem and branch, two branch characters.
Text VoidBranches(TextView stem, TextView branch);

}  // namespace xuanshu
