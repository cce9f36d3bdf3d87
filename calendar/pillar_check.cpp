// Pillars that go together: the month stem follows the year stem by the
// five-tigers rule (五虎遁: 甲己 years open with 丙寅, 乙庚 with 戊寅, …) and
// the hour stem follows the day stem by the five-rats rule (五鼠遁: 甲己 days
// open with 甲子, 乙庚 with 丙子, …).
#include "calendar/pillar_check.h"

#include <optional>

#include "calendar/ganzhi.h"
#include "record/script_text.h"

namespace xuanshu {
namespace {

constexpr std::array<TextView, 4> kPillarNames = {u"年柱", u"月柱", u"日柱", u"时柱"};
constexpr int kRatBranch = 0;    // 子
constexpr int kTigerBranch = 2;  // 寅

std::optional<int> StemAt(TextView character) {
  for (int i = 0; i < 10; ++i) {
    if (character.size() == 1 && character[0] == kStems[i]) return i;
  }
  return std::nullopt;
}

std::optional<int> BranchAt(TextView character) {
  for (int i = 0; i < 12; ++i) {
    if (character.size() == 1 && character[0] == kBranches[i]) return i;
  }
  return std::nullopt;
}

Text Quoted(TextView text) {
  return u"“" + EscapeControls(text) + u"”";
}

std::optional<Text> ShapeProblem(TextView name, TextView text) {
  const Text pillar = Shown(name) + Quoted(text);
  if (CharacterCount(text) != 2) return pillar + Shown(u"应为两个字：天干在前，地支在后，如庚午");
  const Text first = CutToCharacters(text, 1);
  const TextView second = text.substr(first.size());
  if (!StemAt(first))
    return pillar + Shown(u"的") + Quoted(first) + Shown(u"不是天干（甲乙丙丁戊己庚辛壬癸）");
  if (!BranchAt(second)) {
    return pillar + Shown(u"的") + Quoted(second) + Shown(u"不是地支（子丑寅卯辰巳午未申酉戌亥）");
  }
  if (SexagenaryNumber(text) < 0)
    return pillar + Shown(u"不在六十甲子之中：阳干配阳支，阴干配阴支");
  return std::nullopt;
}

// The stem of the month of `branch` in a year of `yearStem` (五虎遁).
int MonthStemOf(int yearStem, int branch) {
  return (2 * yearStem + 2 + (branch - kTigerBranch + 12) % 12) % 10;
}

// The stem of the hour of `branch` on a day of `dayStem` (五鼠遁).
int HourStemOf(int dayStem, int branch) {
  return (2 * dayStem + branch) % 10;
}

std::optional<Text> MonthProblem(TextView year, TextView month) {
  const int yearStem = StemIndex(year[0]);
  const int branch = BranchIndex(month[1]);
  const Text expected = StemName(MonthStemOf(yearStem, branch)) + BranchName(branch);
  if (month == expected) return std::nullopt;
  return Shown(kPillarNames[1]) + Quoted(month) + Shown(u"与年干") + StemName(yearStem) +
         Shown(u"不合：") + StemName(yearStem) + Shown(u"年") + BranchName(branch) +
         Shown(u"月为") + expected + Shown(u"（五虎遁）");
}

std::optional<Text> HourProblem(TextView day, TextView hour, const ZiSchool& school) {
  const int dayStem = StemIndex(day[0]);
  const int branch = BranchIndex(hour[1]);
  const Text expected = StemName(HourStemOf(dayStem, branch)) + BranchName(branch);
  // The late 子 hour of a same-day school takes the next day's 子 hour.
  const Text late = StemName(HourStemOf(dayStem + 1, kRatBranch)) + BranchName(kRatBranch);
  const bool lateRat = branch == kRatBranch && hour == late;
  if (hour == expected || (lateRat && !school.lateHourStartsNextDay)) return std::nullopt;
  Text message = Shown(kPillarNames[3]) + Quoted(hour) + Shown(u"与日干") + StemName(dayStem) +
                 Shown(u"不合：") + StemName(dayStem) + Shown(u"日") + BranchName(branch) +
                 Shown(u"时为") + expected;
  if (branch != kRatBranch) return message + Shown(u"（五鼠遁）");
  if (!school.lateHourStartsNextDay)
    return message + Shown(u"，夜子时为") + late + Shown(u"（五鼠遁）");
  if (lateRat) return message + Shown(u"（五鼠遁；") + late + Shown(u"是子正换日的夜子时）");
  return message + Shown(u"（五鼠遁）");
}

}  // namespace

int SexagenaryNumber(TextView pillar) {
  if (pillar.size() != 2) return -1;
  const std::optional<int> stem = StemAt(pillar.substr(0, 1));
  const std::optional<int> branch = BranchAt(pillar.substr(1));
  if (!stem || !branch || *stem % 2 != *branch % 2) return -1;
  return ((6 * *stem - 5 * *branch) % 60 + 60) % 60;  // n ≡ stem (mod 10), n ≡ branch (mod 12)
}

std::variant<FourPillars, Text> CheckFourPillars(const std::array<Text, 4>& texts,
                                                 const ZiSchool& school) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (auto problem = ShapeProblem(kPillarNames[i], texts[i])) return *problem;
  }
  if (auto problem = MonthProblem(texts[0], texts[1])) return *problem;
  if (auto problem = HourProblem(texts[2], texts[3], school)) return *problem;
  return FourPillars{texts[0], texts[1], texts[2], texts[3]};
}

}  // namespace xuanshu
