// The luck-pillar relations and the annual relations, year by year.
#include "report/layout_renderer.h"
#include "report/layout_texts.h"

namespace xuanshu {

using namespace layout_text;

void LayoutRenderer::WriteLuckRelations() {
  Put(kLuckRelationsHeader, ReportColor::kBlue);
  for (TextView pillar : luckPillars_) {
    PutFormat(ReportColor::kBlack, kLuckRelationsHead, {pillar});
    bool printed = false;
    const TextView stems = Read(u"dayuntiangankehe", pillar);
    if (!stems.empty()) {
      PutSplitText(stems, kSplitGap);
      printed = true;
    }
    const TextView branches = Read(u"dayunhcxh", pillar);
    if (!branches.empty()) {
      if (printed) Put(kLuckRelationsIndent);
      PutSplitText(branches, kSplitGap);
      printed = true;
    }
    const TextView clashes = Read(u"dayuntkdc", pillar);
    if (clashes.empty()) continue;
    if (printed) Put(kLuckRelationsIndent);
    if (SplitAtSpace(clashes).hasSpace) {
      PutSplitText(clashes, {});
      continue;
    }
    // "[年运]..." : the tag black, the clash red.
    const std::size_t tagEnd = clashes.find(u']');
    const std::size_t split = tagEnd == TextView::npos ? clashes.size() : tagEnd + 1;
    Put(clashes.substr(0, split));
    Put(clashes.substr(split), ReportColor::kRed);
  }
}

void LayoutRenderer::WriteAnnualRelations() {
  Put(kAnnualRelationsHeader, ReportColor::kBlue);
  Put(kMonthNumbersHeader);
  Put(kMonthBranchesHeader);
  for (long long y = spanFirst_, end = ClampedLast(spanFirst_, spanLast_); y <= end; ++y) {
    if ((y - spanFirst_) % 10 == 0) WriteDecadeHead(y);
    WriteAnnualYear(y);
  }
}

void LayoutRenderer::WriteDecadeHead(long long year) {
  const auto number = static_cast<std::size_t>((year - spanFirst_) / 10);
  const TextView pillar = number < luckPillars_.size() ? luckPillars_[number] : TextView{};
  const long long m = ReadInt(u"dayun", u"monthBegin");
  const bool january = m == 1;
  PutFormat(ReportColor::kBlue, kDecadeHeadFormat,
            {pillar, year, m, january ? year + 9 : year + 10, january ? 12 : m - 1});
}

// The year value holds the year pillar, the twelve month stems and the
// relation text, separated by single spaces.
void LayoutRenderer::WriteAnnualYear(long long year) {
  const AnnualYearValues& values = annual_.Of(year);
  if (values.row.empty()) return;
  const SplitParts head = SplitAtSpace(values.row);
  const SplitParts rest = SplitAtSpace(head.second);
  PutFormat(ReportColor::kGreen, kAnnualHeadFormat, {year, head.first});
  Put(rest.first, ReportColor::kGreen);
  Put(kSplitGap);
  AnnualDetailLines(values, rest.hasSpace ? &rest.second : nullptr);
}

void LayoutRenderer::AnnualDetailLines(const AnnualYearValues& values,
                                       const TextView* relationText) {
  Text highlights;
  for (TextView part : {values.tkdc, values.sybl, values.big}) {
    if (part.empty()) continue;
    if (!highlights.empty()) highlights.append(kDetailJoin);
    highlights.append(part);
  }
  Put(highlights, ReportColor::kRed);
  Put(kLineBreak);
  if (!values.tgkh.empty()) {
    Put(kDetailIndent);
    Put(values.tgkh);
  }
  if (relationText != nullptr) {
    Put(values.tgkh.empty() ? kDetailIndent : kDetailBreakIndent);
    Put(*relationText);
    if (!values.hcxh.empty()) {
      Put(kSplitGap);
      Put(values.hcxh);
    }
  }
  Put(kLineBreak);
}

}  // namespace xuanshu
