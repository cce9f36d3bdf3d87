// Clash summaries: the two pillars in 天克地冲 with each natal and each luck
// pillar, with the years of a 90-year window from the start of luck whose
// year pillar they are, and the sorted year sets of all clash findings.
#include "calendar/ganzhi.h"
#include "engine/chart_engine.h"

namespace xuanshu {
namespace {

constexpr int kCycleStartYear = 1864;      // 甲子
constexpr int kCandidateFirstYear = 1980;  // 庚申: candidates run from here
constexpr int kWindowYears = 90;           // nine luck pillars of ten years

int CycleOfYear(long long year) {
  return static_cast<int>(((year - kCycleStartYear) % 60 + 60) % 60);  // [0, 59]
}

// "X（y1，y2） Z（y3）"
Text PartnerListText(const std::vector<ClashPartner>& partners) {
  Text text;
  for (const ClashPartner& partner : partners) {
    if (!text.empty()) text += u' ';
    text += partner.partner;
    text += u'（';
    for (std::size_t i = 0; i < partner.years.size(); ++i) {
      if (i > 0) text += u'，';
      AppendNum(text, partner.years[i]);
    }
    text += u'）';
  }
  return text;
}

Text YearSetText(const std::set<int>& years) {
  Text text;
  for (int year : years) {
    AppendNum(text, year);
    text += u'/';
  }
  return text;
}

}  // namespace

void ChartEngine::FindClashPartners(TextView pillar, std::vector<ClashPartner>& partners) const {
  partners.clear();
  // Only a pillar whose branch clashes the subject's can be a partner, so the
  // test runs on the five candidates that carry that branch.
  const int clashBranch = (BranchIndex(BranchOf(pillar)) + 6) % 12;
  // The candidates in the order of their years from kCandidateFirstYear.
  const int firstCycle = CycleOfYear(kCandidateFirstYear);
  for (int k = (clashBranch - firstCycle % 12 + 12) % 12; k < 60; k += 12) {
    const int cycle = (firstCycle + k) % 60;
    const TextView candidate = GanZhiView(cycle);
    const int kind = StrikeAndClash(pillar, candidate);
    if (kind == 1) partners.push_back({Text(pillar), Text(candidate), 1, {}, cycle});
    if (kind == 2) {
      partners.insert(partners.begin(), {Text(pillar), Text(candidate), 2, {}, cycle});
    }
  }
  // A pillar returns every sixty years.
  const int windowEnd = yearBegin + kWindowYears;
  for (ClashPartner& partner : partners) {
    const int first = yearBegin + (partner.cycle - CycleOfYear(yearBegin) + 60) % 60;
    for (int y = first; y < windowEnd; y += 60) partner.years.push_back(y);
  }
}

void ChartEngine::WriteClashSummaries(ChartRecord& record) {
  std::vector<ClashPartner> partners;
  auto writePartners = [&](TextView section, TextView pillar, std::set<int>& years) {
    FindClashPartners(pillar, partners);
    if (partners.empty()) return;
    for (const ClashPartner& partner : partners)
      years.insert(partner.years.begin(), partner.years.end());
    record.Set(section, pillar, PartnerListText(partners));
  };
  for (const Text* pillar : {&yearPillar, &monthPillar, &dayPillar, &hourPillar}) {
    writePartners(u"ShiZhuTKDC", *pillar, pillarClashSet);
  }
  for (const Text& pillar : luckPillars) writePartners(u"DYTKDC", pillar, luckClashSet);
}

void ChartEngine::WriteClashYearSets(ChartRecord& record) const {
  record.Set(u"ALLTKDC", u"sztkdc", YearSetText(pillarClashSet));
  record.Set(u"ALLTKDC", u"dytkdc", YearSetText(luckClashSet));
  record.Set(u"ALLTKDC", u"lntkdc", YearSetText(annualClashSet));
}

}  // namespace xuanshu
