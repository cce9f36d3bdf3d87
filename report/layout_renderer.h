// One report layout with its variations. The standard layout is the full
// report; the simple layout leaves out the health check and every section
// after the annual grid; the Hong Kong/Taiwan layout reverses the pillar
// table (hour on the left) and writes the pillars stems above branches.
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

#include "record/ini_document.h"
#include "record/script_text.h"
#include "report/annual_values.h"
#include "report/report_format.h"
#include "report/report_operations.h"
#include "report/report_sink.h"

namespace xuanshu {

enum class LayoutKind { kSimple, kStandard, kHongKong };

// 0 simple, 2 Hong Kong/Taiwan, anything else standard.
LayoutKind LayoutKindOf(int layoutSetting);

class LayoutRenderer {
 public:
  // Called right after section yunqian was rebuilt with a changed result.
  using RewriteHandler = std::function<void(const IniDocument&)>;

  // With showExtras the pillar table ends with the additional pillars. In
  // Traditional every text is shown in its reviewed form except the user's
  // own: the name, and a birthplace that is not a place of the table.
  LayoutRenderer(IniDocument& record, LayoutKind kind, bool showExtras, ReportSink& sink,
                 Script script, RewriteHandler onYunqianChanged = {});

  // Appends the whole report. Returns true when section yunqian changed.
  bool Render();

 private:
  // Natal pillar indices 0..3 are year, month, day, hour.
  enum Pillar { kYear, kMonth, kDay, kHour };

  // Birth data and the pillar table (layout_renderer.cpp).
  void WriteNameAndSex();
  void WriteBirthDates();
  // Birthplace, true solar time, term source, 子 school and warnings of a
  // chart computed with choices of its own (birth_choice_lines.cpp).
  void WriteBirthChoices();
  bool WriteSolarTerms();
  void WriteColumnHeader();
  void WriteTenGods();
  void WritePillars();
  void WriteNatalClashes();
  void WriteHiddenStems();
  void WriteGrowthStages();
  // 纳音 and 旬 of each pillar, then 胎元, 胎息, 命宫 and 身宫, all derived
  // from the pillars of the record (extras_block.cpp).
  void WriteExtras();

  // Natal analyses (analysis_sections.cpp).
  void WriteNatalRelations();
  void WriteConcurrenceLine();
  void WriteScores();
  void WriteScoreList(TextView label, TextView section);
  void WriteUsefulElement();
  void WriteHealthCheck();
  void WriteLuckStart();

  // Luck-pillar table and annual grid (luck_tables.cpp).
  void WriteLuckTable();
  void WriteLuckClashRows();
  void WriteAges();
  void RebuildYearsBeforeLuck();
  struct LuckColumn {
    TextView firstYearText;   // liunian/yearBegin%d, read as a string
    long long firstYear = 0;  // and as an integer
    std::vector<TextView> pillars;
  };
  void WriteAnnualGrid();
  void WriteGridRow(std::size_t row, const std::vector<TextView>& yearsBeforeLuck,
                    const std::vector<LuckColumn>& columns, long long age1, long long yearBegin1);

  // Luck and annual relations (relation_sections.cpp).
  void WriteLuckRelations();
  void WriteAnnualRelations();
  void WriteDecadeHead(long long year);
  void WriteAnnualYear(long long year);
  void AnnualDetailLines(const AnnualYearValues& values, const TextView* relationText);

  // Reading and appending. A value read is a view into the record, valid for
  // the whole rendering.
  TextView Read(TextView section, TextView key, std::size_t capacity = kReadCapacity) const;
  long long ReadInt(TextView section, TextView key) const;
  // A program text: a literal or a value the computation wrote.
  void Put(TextView text, ReportColor color = ReportColor::kBlack);
  // Text the user typed, the same in either script.
  void PutUserText(TextView text, ReportColor color = ReportColor::kBlack);
  // The format in its reviewed form, filled with the arguments (program
  // texts converted, UserText as it is).
  void PutFormat(ReportColor color, TextView format, std::initializer_list<FormatArg> args);
  // A split text: with a space, the first part and `gap` black and the second
  // part red; without one, the whole value black.
  void PutSplitText(TextView value, TextView gap);
  // The natal pillar indices in column order.
  const std::array<Pillar, 4>& Columns() const;
  // liunian/count, bounded.
  long long LuckCount() const;

  IniDocument& record_;
  const LayoutKind kind_;
  const bool showExtras_;
  ReportSink& sink_;
  const Script script_;
  RewriteHandler onYunqianChanged_;
  bool yunqianChanged_ = false;

  // Held for one rendering.
  bool male_ = true;
  std::array<TextView, 4> pillars_;
  long long birthYear_ = 0;
  long long spanFirst_ = 0, spanLast_ = 0;  // liunianhcxh yearBegin .. yearEnd
  YearSet concurrenceYears_;
  YearSet clashYears_;
  std::vector<TextView> luckPillars_;
  // The text of the last PutFormat, its buffer kept for the next one.
  Text formatted_;
  // Section liunianhcxh over the annual span.
  AnnualValues annual_;
};

}  // namespace xuanshu
