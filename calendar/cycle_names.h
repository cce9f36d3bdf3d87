// Names of a pillar's place in the sixty-cycle: its 纳音 (the sound element
// that each pair of neighbouring pillars shares) and its 旬 (the decade of
// the cycle it belongs to, named after the 甲 pillar that opens it).
//
// Unlike the rest of the cycle vocabulary, these take only real pillars: a
// text that is not a stem followed by a branch of the same polarity has no
// place in the cycle and gets the empty text.
#pragma once

#include <optional>

#include "record/text.h"

namespace xuanshu {

// 0 for 甲子 … 59 for 癸亥; nullopt unless the text is two characters, a
// stem and a branch of the same polarity (甲丑 is no pillar).
std::optional<int> CycleIndex(TextView pillar);

// 海中金 for 甲子 and 乙丑 … 大海水 for 壬戌 and 癸亥; empty for no pillar.
TextView NaYinOf(TextView pillar);

// 甲子旬 for 甲子 … 癸酉, 甲戌旬 for 甲戌 … 癸未, … 甲寅旬 for 甲寅 … 癸亥;
// empty for no pillar.
TextView XunOf(TextView pillar);

}  // namespace xuanshu
