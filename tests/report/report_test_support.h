// Helpers of the report tests: sample records and rendered text with colours.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "record/record_file.h"
#include "report/report_renderer.h"

namespace xuanshu::testing {

// Complete records computed by `xuanshu-cli chart` and stored with the tests:
// zhangsan (男, 1990-05-17 14:30 公历), lisi (女, 农历 1984 闰十月 21, 23:10),
// wangli (女, 2000-01-05 08:00 公历, luck starts in the birth year).
inline std::filesystem::path ReportDataDir() {
  return std::filesystem::path(__FILE__).parent_path() / "data";
}
inline IniDocument LoadSample(const char* name) {
  IniDocument record = LoadIniFile(ReportDataDir() / (std::string(name) + ".bze"));
  EXPECT_FALSE(record.empty()) << "sample record " << name << " missing";
  return record;
}

// A rendering of a copy of the record: its text and the colour of each unit.
struct Rendered {
  Text text;
  std::vector<ReportColor> colors;
  ReportPieces pieces;

  // The colour of `needle` at its first occurrence at or after `from`;
  // nullopt when it is missing or not of one colour.
  std::optional<ReportColor> ColorOf(TextView needle, std::size_t from = 0) const {
    const std::size_t at = text.find(needle, from);
    if (at == Text::npos || needle.empty()) return std::nullopt;
    for (std::size_t i = at; i < at + needle.size(); ++i) {
      if (colors[i] != colors[at]) return std::nullopt;
    }
    return colors[at];
  }
  // The text from the first `begin` up to (not including) the next `end`
  // after it; empty when either is missing.
  Text Between(TextView begin, TextView end) const {
    const std::size_t a = text.find(begin);
    if (a == Text::npos) return {};
    const std::size_t b = text.find(end, a + begin.size());
    return b == Text::npos ? Text{} : text.substr(a, b - a);
  }
  bool Has(TextView part) const { return text.find(part) != Text::npos; }
};

inline Rendered Render(IniDocument record, int layout, Script script = Script::kSimplified,
                       bool extras = false) {
  CollectingSink sink;
  RenderChart(record, ReportOptions{.layout = layout, .extras = extras, .script = script}, sink);
  Rendered out;
  out.pieces = sink.pieces();
  for (const ReportPiece& piece : out.pieces) {
    out.text += piece.text;
    out.colors.insert(out.colors.end(), piece.text.size(), piece.color);
  }
  return out;
}

}  // namespace xuanshu::testing
