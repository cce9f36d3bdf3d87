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
    const Text stems = Read(u"dayuntiangankehe", pillar);
    if (!stems.empty()) {
      PutSplitText(stems, kSplitGap);
      printed = true;
    }
    const Text branches = Read(u"dayunhcxh", pillar);
    if (!branches.empty()) {
      if (printed) Put(kLuckRelationsIndent);
      PutSplitText(branches, kSplitGap);
      printed = true;
    }
    const Text clashes = Read(u"dayuntkdc", pillar);
    if (clashes.empty()) continue;
    if (printed) Put(kLuckRelationsIndent);
    if (SplitAtSpace(clashes).hasSpace) {
      PutSplitText(clashes, {});
      continue;
    }
    // "[年运]..." : the tag black, the clash red.
    const std::size_t tagEnd = clashes.find(u']');
    const std::size_t split = tagEnd == Text::npos ? clashes.size() : tagEnd + 1;
    Put(TextView(clashes).substr(0, split));
    Put(TextView(clashes).substr(split), ReportColor::kRed);
  }
}

void LayoutRenderer::WriteAnnualRelations() {
  annualSection_ = record_.FindSection(u"liunianhcxh");
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
  const Text value = ReadAnnual(YearKey(year), kReadCapacity);
  if (value.empty()) return;
  const SplitParts head = SplitAtSpace(value);
  const SplitParts rest = SplitAtSpace(head.second);
  PutFormat(ReportColor::kGreen, kAnnualHeadFormat, {year, head.first});
  Put(rest.first, ReportColor::kGreen);
  Put(kSplitGap);
  AnnualDetailLines(year, rest.hasSpace ? &rest.second : nullptr);
}

// A profile-string read of section liunianhcxh, looked up once per report.
Text LayoutRenderer::ReadAnnual(TextView key, std::size_t capacity) const {
  const Text* value = annualSection_ == nullptr ? nullptr : annualSection_->Find(key);
  return value == nullptr ? Text{} : value->substr(0, capacity - 1);
}

void LayoutRenderer::AnnualDetailLines(long long year, const TextView* relationText) {
  // The detail values are read with the long capacity.
  const auto read = [&](TextView suffix) {
    return ReadAnnual(YearKey(year, suffix), kLongReadCapacity);
  };
  Text highlights;
  for (TextView suffix : {u"tkdc", u"sybl", u"big"}) {
    const Text part = read(suffix);
    if (part.empty()) continue;
    if (!highlights.empty()) highlights.append(kDetailJoin);
    highlights.append(part);
  }
  Put(highlights, ReportColor::kRed);
  Put(kLineBreak);
  const Text stems = read(u"tgkh");
  if (!stems.empty()) {
    Put(kDetailIndent);
    Put(stems);
  }
  if (relationText != nullptr) {
    Put(stems.empty() ? kDetailIndent : kDetailBreakIndent);
    Put(*relationText);
    const Text branches = read(u"hcxh");
    if (!branches.empty()) {
      Put(kSplitGap);
      Put(branches);
    }
  }
  Put(kLineBreak);
}

}  // namespace xuanshu
