// The fixed vocabulary of the sexagenary cycle: stems, branches, ten gods,
// counting words and the stem/branch relation primitives.
//
// Stems and branches travel as one-character strings and pillars (GanZhi) as
// two-character strings; they become indices only for arithmetic. A
// character that is not in its table counts as index 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "record/text.h"

namespace xuanshu {

inline constexpr std::array<char16_t, 10> kStems = {u'甲', u'乙', u'丙', u'丁', u'戊',
                                                    u'己', u'庚', u'辛', u'壬', u'癸'};
inline constexpr std::array<char16_t, 12> kBranches = {u'子', u'丑', u'寅', u'卯', u'辰', u'巳',
                                                       u'午', u'未', u'申', u'酉', u'戌', u'亥'};

// Position + 1 of each character of a table, found by the character's low
// byte (0: none). The low bytes of the ten stems differ, and so do those of
// the twelve branches, so one look-up and one comparison place a character.
template <std::size_t N>
struct LowByteTable {
  std::array<std::uint8_t, 256> positions{};
  const std::array<char16_t, N>* characters;

  explicit consteval LowByteTable(const std::array<char16_t, N>& table) : characters(&table) {
    for (std::size_t i = 0; i < N; ++i) {
      std::uint8_t& slot = positions[table[i] & 0xFF];
      if (slot != 0) throw "two characters share a low byte";
      slot = static_cast<std::uint8_t>(i + 1);
    }
  }
  int Find(char16_t c) const {
    const int position = positions[c & 0xFF];
    return position != 0 && (*characters)[position - 1] == c ? position - 1 : -1;
  }
};

inline constexpr LowByteTable kStemPositions(kStems);
inline constexpr LowByteTable kBranchPositions(kBranches);

// Index of a stem or branch character, or -1 when the character is none.
inline int StemSlot(char16_t c) {
  return kStemPositions.Find(c);
}
inline int BranchSlot(char16_t c) {
  return kBranchPositions.Find(c);
}

// Index of a one-character stem text, 0 when it is not a stem (or not one character).
int StemIndex(TextView text);
int StemIndex(char16_t c);
// Index of a one-character branch text, 0 when it is not a branch.
int BranchIndex(TextView text);
int BranchIndex(char16_t c);

// Indices outside the table run round the cycle: -1 is 癸 (or 亥).
inline Text StemName(int index) {
  return Text(1, kStems[(index % 10 + 10) % 10]);
}
inline Text BranchName(int index) {
  return Text(1, kBranches[(index % 12 + 12) % 12]);
}

// The pillar of a raw (unreduced, non-negative) sexagenary count: 0 is 甲子.
Text GanZhiName(long long n);
// The same as a view of a fixed table.
TextView GanZhiView(long long n);

// True when text is a substring of "甲丙戊庚壬" (so the empty text counts as yang).
bool IsYangStem(TextView text);

// Ten god of otherStem seen from referenceStem (the day stem), two characters.
TextView TenGodOf(TextView referenceStem, TextView otherStem);
// An index outside 0-9 counts as 0, like a character that is no stem.
TextView TenGodOf(int referenceStem, int otherStem);

// 一 两 三 … 九 for n = 1 … 9.
TextView NumeralWord(int n);

// Control / combination of two stems. Returns 1 when b controls a ("b克a"),
// 2 when a controls b ("a克b"), 3 / 4 for a combination (text in table order),
// 0 with out untouched otherwise.
int StemRelation(TextView a, TextView b, Text& out);
// The same code for two stem characters, without the text.
int StemRelation(char16_t a, char16_t b);

// True when the two branch characters form one of the six clash pairs.
bool BranchesClash(TextView a, TextView b);

// 天克地冲 of two pillars: 1 when B's stem controls A's and the branches clash,
// 2 when A's stem controls B's and the branches clash, else 0.
int StrikeAndClash(TextView pillarA, TextView pillarB);

// First and last character of a pillar text (empty when the text is empty).
inline TextView StemOf(TextView pillar) {
  return pillar.substr(0, pillar.empty() ? 0 : 1);
}
inline TextView BranchOf(TextView pillar) {
  return pillar.empty() ? TextView{} : pillar.substr(pillar.size() - 1);
}

}  // namespace xuanshu
