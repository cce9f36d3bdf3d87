// The natal analyses of a report: relations, 岁运并临 years, scores, useful
// element, congenital health check and the start of luck.
#include "report/layout_renderer.h"
#include "report/layout_texts.h"

namespace xuanshu {

using namespace layout_text;

void LayoutRenderer::WriteNatalRelations() {
  Put(kStemRelationsLabel);
  PutSplitText(Read(u"shizhu", u"tiangankehe"), kSplitGap);
  Put(kHiddenCombinationsLabel);
  Put(Read(u"shizhu", u"anhe"));
  Put(kBranchRelationsLabel);
  PutSplitText(Read(u"shizhu", u"hcxh"), kSplitGap);
  Put(kStrikeAndClashLabel);
  Put(Read(u"shizhu", u"tiankedichong"));
}

void LayoutRenderer::WriteConcurrenceLine() {
  // Only the years are listed; the stored 岁运并临 texts appear with the
  // annual relations.
  Put(kConcurrenceLabel);
  concurrenceYears_ = ConcurrenceYearSet(annual_, spanFirst_, spanLast_, birthYear_);
  for (long long year : concurrenceYears_) {
    PutFormat(ReportColor::kRed, kConcurrenceFormat, {year - birthYear_ + 1, year});
  }
  Put(kLineBreak);
}

void LayoutRenderer::WriteScores() {
  Put(kDayStemScoreLabel);
  Put(Read(u"fenshu", kDayStemKey));
  WriteScoreList(kTenGodScoresLabel, u"shishenfenshu");
  WriteScoreList(kGroupScoresLabel, u"liushenfenshu");
  Put(kTotalLabel);
  Put(kSameSideLabel);
  Put(Read(u"fenshu", u"tongdang"));
  Put(kAsciiComma);
  Put(kOtherSideLabel);
  Put(Read(u"fenshu", u"yidang"));
  Put(kAsciiComma);
  Put(kVerdictLabel);
  PutFormat(ReportColor::kRed, kVerdictFormat, {Read(u"fenshu", u"rizhufenshu")});
  Put(kTotalFullStop);
}

// "name score" for each key%d of the section, "，" between, "。" after the last.
void LayoutRenderer::WriteScoreList(TextView label, TextView section) {
  Put(label);
  const long long count = BoundedCount(ReadInt(section, u"count"), record_.FindSection(section));
  for (long long n = 1; n <= count; ++n) {
    const TextView name = Read(section, u"key" + Num(n));
    Put(name);
    Put(kScoreSeparator);
    Put(Read(section, name));
    Put(n < count ? kScoreComma : kScoreFullStop);
  }
}

void LayoutRenderer::WriteUsefulElement() {
  PutFormat(ReportColor::kBlack, kUsefulElementFormat, {CharactersAt(pillars_[kDay], 0, 1)});
  Put(Read(u"shizhu", u"yongshen"));
}

void LayoutRenderer::WriteHealthCheck() {
  Put(kHealthLabel);
  const long long count =
      BoundedCount(ReadInt(u"tijian", u"count"), record_.FindSection(u"tijian"));
  for (long long n = 1; n <= count; ++n) {
    const Text number = Num(n);
    PutFormat(ReportColor::kBlack, kHealthEntryFormat,
              {Read(u"tijian", u"keyname" + number), Read(u"tijian", u"keyis" + number)});
    Put(Read(u"tijian", u"keyfenshu" + number));
    Put(n < count ? kAsciiComma : kHealthEnd);
  }
}

void LayoutRenderer::WriteLuckStart() {
  Put(kind_ == LayoutKind::kSimple ? kSimpleLuckStartLabel : kLuckStartLabel, ReportColor::kRed);
  Put(kLuckAfterBirth);
  Put(Read(u"dayun", u"yearAfter"));
  Put(kYearUnit);
  Put(Read(u"dayun", u"monthAfter"));
  Put(kMonths);
  Put(Read(u"dayun", u"dayAfter"));
  Put(kDays);
  Put(Read(u"dayun", u"hourAfter"));
  Put(kHours);
  Put(kLuckBeginLabel, ReportColor::kRed);
  Put(kLuckBeginPrefix);
  Put(PadZero(Read(u"dayun", u"yearBegin"), 4));
  Put(kYearUnit);
  Put(PadZero(Read(u"dayun", u"monthBegin"), 2));
  Put(kMonthUnit);
  Put(PadZero(Read(u"dayun", u"dayBegin"), 2));
  Put(kDayUnit);
  Put(PadZero(Read(u"dayun", u"hourBegin"), 2));
  Put(kLuckBeginEnd);
}

}  // namespace xuanshu
