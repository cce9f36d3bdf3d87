#include "report/layout_renderer.h"

#include <algorithm>
#include <utility>

#include "record/app_config.h"
#include "report/kinship_tables.h"
#include "report/layout_texts.h"

namespace xuanshu {

using namespace layout_text;

namespace {

// A term value is its name, one space, then "YYYY:MM:DD:HH:MM", read by
// character position. Returns false when the value has no space.
bool FormatTerm(TextView value, TextView format, Text& out) {
  const SplitParts parts = SplitAtSpace(value);
  if (!parts.hasSpace) return false;
  const TextView moment = parts.second;
  AppendFormat(
      out, format,
      {parts.first, CharactersAt(moment, 0, 4), CharactersAt(moment, 5, 2),
       CharactersAt(moment, 8, 2), CharactersAt(moment, 11, 2), CharactersAt(moment, 14, 2)});
  return true;
}

}  // namespace

LayoutKind LayoutKindOf(int layoutSetting) {
  switch (layoutSetting) {
    case kSimpleLayout:
      return LayoutKind::kSimple;
    case kHongKongTaiwanLayout:
      return LayoutKind::kHongKong;
    default:
      return LayoutKind::kStandard;
  }
}

LayoutRenderer::LayoutRenderer(IniDocument& record, LayoutKind kind, bool showExtras,
                               ReportSink& sink, Script script, RewriteHandler onYunqianChanged)
    : record_(record),
      kind_(kind),
      showExtras_(showExtras),
      sink_(sink),
      script_(script),
      onYunqianChanged_(std::move(onYunqianChanged)) {}

bool LayoutRenderer::Render() {
  male_ = Read(u"main", u"sex") != kFemale;
  WriteNameAndSex();
  WriteBirthDates();
  if (!WriteSolarTerms()) return yunqianChanged_;

  pillars_ = {Read(u"shizhu", u"year"), Read(u"shizhu", u"month"), Read(u"shizhu", u"day"),
              Read(u"shizhu", u"hour")};
  spanFirst_ = ReadInt(u"liunianhcxh", u"yearBegin");
  spanLast_ = ReadInt(u"liunianhcxh", u"yearEnd");
  annual_ = AnnualValues(record_.FindSection(u"liunianhcxh"), spanFirst_, spanLast_);
  birthYear_ = spanFirst_ - ReadInt(u"liunian", u"age1") + 1;
  luckPillars_ = SplitSlashList(Read(u"minbiao", u"dayun"));
  if (luckPillars_.size() > kMaxLuckPillars) luckPillars_.resize(kMaxLuckPillars);

  WriteColumnHeader();
  WriteTenGods();
  WritePillars();
  WriteNatalClashes();
  WriteHiddenStems();
  WriteGrowthStages();
  if (showExtras_) WriteExtras();
  WriteNatalRelations();
  WriteConcurrenceLine();
  WriteScores();
  WriteUsefulElement();
  if (kind_ != LayoutKind::kSimple) WriteHealthCheck();
  WriteLuckStart();
  clashYears_ = ClashYearSet(annual_, spanFirst_, spanLast_);
  WriteLuckTable();
  WriteAnnualGrid();
  if (kind_ == LayoutKind::kSimple) {
    Put(kSimpleEnd);
    return yunqianChanged_;
  }
  WriteLuckRelations();
  WriteAnnualRelations();
  AppendKinshipTables(sink_, male_, script_);
  return yunqianChanged_;
}

// --- birth data ---

void LayoutRenderer::WriteNameAndSex() {
  Put(kNameLabel);
  PutFormat(ReportColor::kRed, kNameFormat, {UserText{Read(u"main", u"name")}});
  Put(kSexLabel);
  PutFormat(ReportColor::kRed, kSexFormat, {Read(u"main", u"sex")});
}

void LayoutRenderer::WriteBirthDates() {
  PutFormat(ReportColor::kBlack, kGregorianFormat,
            {Read(u"gongli", u"year"), Read(u"gongli", u"month"), Read(u"gongli", u"day"),
             Read(u"gongli", u"hour"), Read(u"gongli", u"minute")});
  Put(kLunarLabel);
  Put(LunarDateText(ReadInt(u"nongli", u"year"), ReadInt(u"nongli", u"month"),
                    ReadInt(u"nongli", u"day"), ReadInt(u"nongli", u"hour"),
                    ReadInt(u"nongli", u"leep"), Read(u"chusheng", u"zishi") != u"same-day"));
  if (!record_.HasSection(u"chusheng")) {
    Put(kBlankLine);
    return;
  }
  Put(kLineBreak);
  WriteBirthChoices();
  Put(kLineBreak);
}

bool LayoutRenderer::WriteSolarTerms() {
  Text line;
  if (!FormatTerm(Read(u"jieqi", u"before"), kTermBeforeFormat, line)) return false;
  Put(line);
  Put(kTermGap);
  line.clear();
  if (!FormatTerm(Read(u"jieqi", u"after"), kTermAfterFormat, line)) return false;
  Put(line);
  return true;
}

// --- pillar table ---

const std::array<LayoutRenderer::Pillar, 4>& LayoutRenderer::Columns() const {
  static constexpr std::array<Pillar, 4> kYearFirst = {kYear, kMonth, kDay, kHour};
  static constexpr std::array<Pillar, 4> kHourFirst = {kHour, kDay, kMonth, kYear};
  return kind_ == LayoutKind::kHongKong ? kHourFirst : kYearFirst;
}

void LayoutRenderer::WriteColumnHeader() {
  Put(kind_ == LayoutKind::kHongKong ? kHongKongColumnHeader : kColumnHeader, ReportColor::kGreen);
}

void LayoutRenderer::WriteTenGods() {
  // Four two-character names at offsets 0, 3, 6, 9; the day's is 日主.
  const TextView list = Read(u"shizhu", u"shishen");
  std::array<TextView, 4> god;
  for (std::size_t i = 0; i < god.size(); ++i) god[i] = CharactersAt(list, 3 * i, 2);
  if (kind_ == LayoutKind::kHongKong) {
    PutFormat(ReportColor::kBlack, kHongKongTenGodsHourFormat, {god[kHour]});
    PutFormat(ReportColor::kBlue, kHongKongTenGodsDayFormat, {god[kDay]});
    PutFormat(ReportColor::kBlack, kHongKongTenGodsMonthYearFormat, {god[kMonth], god[kYear]});
  } else {
    PutFormat(ReportColor::kBlack, kTenGodsYearMonthFormat, {god[kYear], god[kMonth]});
    PutFormat(ReportColor::kBlue, kTenGodsDayFormat, {god[kDay]});
    PutFormat(ReportColor::kBlack, kTenGodsHourFormat, {god[kHour]});
  }
}

void LayoutRenderer::WritePillars() {
  Put(male_ ? kMaleLabel : kFemaleLabel);
  const auto& p = pillars_;
  if (kind_ == LayoutKind::kHongKong) {
    // Stems above branches, each taken from its own pillar.
    const auto stem = [&](Pillar i) { return CharactersAt(p[i], 0, 1); };
    const auto branch = [&](Pillar i) { return CharactersAt(p[i], 1, 1); };
    PutFormat(ReportColor::kRed, kHongKongStemsFormat,
              {stem(kHour), stem(kDay), stem(kMonth), stem(kYear)});
    PutFormat(ReportColor::kRed, kHongKongBranchesFormat,
              {branch(kHour), branch(kDay), branch(kMonth), branch(kYear)});
  } else {
    PutFormat(ReportColor::kRed, kPillarsFormat, {p[kYear], p[kMonth], p[kDay], p[kHour]});
  }
  const TextView voidPair = Read(u"shizhu", u"kongwan");
  if (voidPair.empty()) {
    Put(kLineBreak);
  } else {
    PutFormat(ReportColor::kBlack, kVoidFormat, {voidPair});
  }
}

void LayoutRenderer::WriteNatalClashes() {
  Text firstLine, secondLine;
  for (Pillar column : Columns()) {
    NatalClashColumns(Read(u"ShiZhuTKDC", pillars_[column]), firstLine, secondLine);
  }
  firstLine.append(kLineBreak);
  secondLine.append(kLineBreak);
  Put(kNatalClashLabel, ReportColor::kBlue);
  Put(firstLine, ReportColor::kBlue);
  Put(kNatalClashIndent, ReportColor::kBlue);
  Put(secondLine, ReportColor::kBlue);
}

void LayoutRenderer::WriteHiddenStems() {
  static constexpr std::array<TextView, 4> kKeys = {u"yearcg", u"monthcg", u"daycg", u"hourcg"};
  std::array<std::vector<TextView>, 4> lists;
  for (Pillar i : {kYear, kMonth, kDay, kHour})
    lists[i] = SplitSlashList(Read(u"shizhu", kKeys[i]));
  Put(kHiddenLabel);
  for (std::size_t row = 0; row < 3; ++row) {
    std::array<TextView, 4> cells;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const auto& list = lists[Columns()[c]];
      cells[c] = row < list.size() ? list[row] : kHiddenEmptyCell;
    }
    PutFormat(ReportColor::kBlack, row == 0 ? kHiddenFirstRowFormat : kHiddenRowFormat,
              {cells[0], cells[1], cells[2], cells[3]});
  }
}

void LayoutRenderer::WriteGrowthStages() {
  const std::vector<TextView> stages = SplitSlashList(Read(u"shizhu", u"wangshuai"));
  Put(kGrowthLabel);
  for (Pillar column : Columns()) {
    const TextView stage = column < stages.size() ? stages[column] : TextView{};
    PutFormat(ReportColor::kBlack, stage.size() == 1 ? kGrowthOneCharFormat : kGrowthFormat,
              {stage});
  }
}

// --- reading and appending ---

TextView LayoutRenderer::Read(TextView section, TextView key, std::size_t capacity) const {
  return record_.ReadView(section, key, capacity);
}

long long LayoutRenderer::ReadInt(TextView section, TextView key) const {
  return record_.ReadInt(section, key);
}

void LayoutRenderer::Put(TextView text, ReportColor color) {
  if (script_ == Script::kSimplified) {
    sink_.AppendText(text, color);
  } else {
    sink_.AppendText(InScript(text, script_), color);
  }
}

void LayoutRenderer::PutUserText(TextView text, ReportColor color) {
  sink_.AppendText(text, color);
}

void LayoutRenderer::PutFormat(ReportColor color, TextView format,
                               std::initializer_list<FormatArg> args) {
  formatted_.clear();
  if (script_ == Script::kSimplified) {
    AppendFormat(formatted_, format, args);
    sink_.AppendText(formatted_, color);
    return;
  }
  std::vector<Text> converted;
  converted.reserve(args.size());  // the views below stay valid
  std::vector<FormatArg> shown;
  for (const FormatArg& arg : args) {
    if (!arg.IsProgramText()) {
      shown.push_back(arg);
      continue;
    }
    converted.push_back(InScript(arg.text(), script_));
    shown.emplace_back(TextView(converted.back()));
  }
  AppendFormat(formatted_, InScript(format, script_), shown);
  sink_.AppendText(formatted_, color);
}

void LayoutRenderer::PutSplitText(TextView value, TextView gap) {
  const SplitParts parts = SplitAtSpace(value);
  if (!parts.hasSpace) {
    Put(value);
    return;
  }
  Put(parts.first);
  Put(gap);
  Put(parts.second, ReportColor::kRed);
}

long long LayoutRenderer::LuckCount() const {
  return std::min(BoundedCount(ReadInt(u"liunian", u"count"), record_.FindSection(u"liunian")),
                  kMaxLuckPillars);
}

}  // namespace xuanshu
