// The luck-pillar table and the annual grid below it.
#include <algorithm>
#include <optional>

#include "engine/chart_engine.h"
#include "report/layout_renderer.h"
#include "report/layout_texts.h"

namespace xuanshu {

using namespace layout_text;

namespace {

// Rows of the annual grid before the first luck pillar.
constexpr long long kGridRows = 10;

Text LiunianKey(TextView family, long long n) {
  Text key(family);
  AppendNum(key, n);
  return key;
}

}  // namespace

void LayoutRenderer::WriteLuckTable() {
  Put(kLuckTenGodsLabel);
  for (TextView god : SplitSlashList(Read(u"minbiao", u"shishen"))) {
    Put(god);
    Put(kLuckGap);
  }
  Put(kLuckPillarsLabel);
  for (TextView pillar : luckPillars_) {
    Put(pillar, ReportColor::kRed);
    Put(kLuckGap);
  }
  Put(kLineBreak);
  WriteLuckClashRows();
  Put(kLuckGrowthLabel);
  for (TextView stage : SplitSlashList(Read(u"minbiao", u"wangshuai"))) {
    Put(stage);
    Put(stage.size() == 1 ? kLuckGrowthOneCharGap : kLuckGap);
  }
  WriteAges();
}

void LayoutRenderer::WriteLuckClashRows() {
  Text firstLine(kLuckClashLabel);
  Text secondLine(kLuckClashIndent);
  for (TextView pillar : luckPillars_) {
    LuckClashColumns(Read(u"DYTKDC", pillar), firstLine, secondLine);
  }
  firstLine.append(kLineBreak);
  Put(firstLine, ReportColor::kBlue);
  Put(secondLine, ReportColor::kBlue);
}

void LayoutRenderer::WriteAges() {
  Put(kAgeLabel);
  for (long long n = 1, count = LuckCount(); n <= count; ++n) {
    const TextView age = Read(u"liunian", LiunianKey(u"age", n));
    Put(age);
    Put(age.size() == 1 ? kAgeOneCharGap : kAgeGap);
  }
  Put(kAgeEnd);
}

// The one write a rendering makes: section yunqian rebuilt from the record's
// own liunian keys.
void LayoutRenderer::RebuildYearsBeforeLuck() {
  const auto snapshot = [this] {
    const auto value = [this](TextView key) -> std::optional<TextView> {
      const TextView* v = record_.Find(u"yunqian", key);
      return v ? std::optional<TextView>(*v) : std::nullopt;
    };
    return std::pair(value(u"birth"), value(u"liunian"));
  };
  const auto before = snapshot();
  WriteYearsBeforeLuck(record_);
  if (snapshot() == before) return;
  yunqianChanged_ = true;
  if (onYunqianChanged_) onYunqianChanged_(record_);
}

void LayoutRenderer::WriteAnnualGrid() {
  RebuildYearsBeforeLuck();
  const std::vector<TextView> beforeLuck = SplitSlashList(Read(u"yunqian", u"liunian"));
  const long long count = LuckCount();
  std::vector<LuckColumn> columns(static_cast<std::size_t>(count));
  for (long long n = 1; n <= count; ++n) {
    LuckColumn& column = columns[static_cast<std::size_t>(n - 1)];
    const TextView* firstYear = record_.Find(u"liunian", LiunianKey(u"yearBegin", n));
    column.firstYearText = firstYear ? CutToCapacity(*firstYear, kReadCapacity) : TextView{};
    column.firstYear = firstYear ? LeadingInt(*firstYear) : 0;
    column.pillars = SplitSlashList(Read(u"liunian", LiunianKey(u"liunian", n)));
  }

  Put(kStartsLabel);
  PutFormat(ReportColor::kBlack, kBirthYearFormat, {birthYear_});
  for (const LuckColumn& column : columns) {
    Put(column.firstYearText);
    Put(kLuckGap);
  }

  Put(kGridLabel);
  const long long age1 = ReadInt(u"liunian", u"age1");
  const long long yearBegin1 = ReadInt(u"liunian", u"yearBegin1");
  // One row per year of the first luck pillar, also when count is 0.
  const std::size_t rows =
      std::min<std::size_t>(SplitSlashList(Read(u"liunian", u"liunian1")).size(), kGridRows);
  for (std::size_t row = 0; row < rows; ++row) {
    WriteGridRow(row, beforeLuck, columns, age1, yearBegin1);
  }

  Put(kEndsLabel);
  PutFormat(ReportColor::kBlack, kBirthYearFormat, {birthYear_ + age1 - 2});
  for (long long n = 1; n <= count; ++n) {
    Put(Read(u"liunian", LiunianKey(u"yearEnd", n)));
    Put(kLuckGap);
  }
}

// Row r: the column before luck shows year yearBegin1 + r - 10 when it lies
// between the birth and the start of luck, then each luck column its year r.
void LayoutRenderer::WriteGridRow(std::size_t row, const std::vector<TextView>& yearsBeforeLuck,
                                  const std::vector<LuckColumn>& columns, long long age1,
                                  long long yearBegin1) {
  const long long r = static_cast<long long>(row);
  const long long y = yearBegin1 + r - kGridRows;
  if (birthYear_ <= y && y < birthYear_ + age1 - 1) {
    // Paired by position, so that with more than ten years before luck the
    // last ten are shown, each with its own year pillar.
    const auto index = static_cast<std::size_t>(y - birthYear_);
    const TextView pillar = index < yearsBeforeLuck.size() ? yearsBeforeLuck[index] : TextView{};
    Put(kBeforeLuckIndent);
    PutFormat(ReportColor::kBlack, kGridCellFormat, {y % 100, pillar});
    Put(kGridGap);
  } else {
    Put(row == 0 ? kFirstRowEmptyBeforeLuck : kRowEmptyBeforeLuck);
  }
  for (const LuckColumn& column : columns) {
    const long long year = column.firstYear + r;
    const TextView pillar = row < column.pillars.size() ? column.pillars[row] : TextView{};
    PutFormat(AnnualGridColor(year, concurrenceYears_, clashYears_), kGridCellFormat,
              {year % 100, pillar});
    Put(kGridGap);
  }
  Put(kLineBreak);
}

}  // namespace xuanshu
