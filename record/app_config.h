// The user settings kept in Config.ini. Section "Option": the width of the
// history pane, the chosen report layout, the birth-moment choices, whether
// the report shows the additional pillars and the script texts are shown in,
// each written at the moment the user changes it. Section "Window": where the
// main window was when it closed, and the chart last opened. A missing file
// gives the defaults.
#pragma once

#include <filesystem>
#include <optional>

#include "record/script_text.h"
#include "record/text.h"

namespace xuanshu {

inline constexpr int kDefaultPaneWidth = 170;
inline constexpr int kMinPaneWidth = 30;
inline constexpr int kMaxPaneWidth = 800;

// Report layouts of "format". Other stored values are kept as they are: the
// form then checks 港台版 while the report uses the standard layout.
enum ReportLayout : int { kSimpleLayout = 0, kStandardLayout = 1, kHongKongTaiwanLayout = 2 };

struct PaneWidth {
  int cx = kDefaultPaneWidth;  // width of the history pane
  int cy = kDefaultPaneWidth;  // initial height handed to it; always equal to cx when written
};

// The birth-moment settings, as stored: an empty text is a choice not made
// (the closed-formula terms, the next-day 子 school, no birthplace).
struct BirthSettings {
  Text terms;  // "formula" | "astronomical"
  Text zi;     // "next-day" | "same-day"
  Text place;  // the default birthplace: a place name or a longitude
  friend bool operator==(const BirthSettings&, const BirthSettings&) = default;
};

// The main window's place and size (its normal geometry when maximized),
// and the height of the form pane above the splitter bar.
struct WindowPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  bool maximized = false;
  int formHeight = 0;  // 0: the form's own height
  bool operator==(const WindowPlacement&) const = default;
};

class AppConfig {
 public:
  explicit AppConfig(std::filesystem::path configPath) : path_(std::move(configPath)) {}

  const std::filesystem::path& path() const { return path_; }

  // "cx" and "cy", each 170 when missing, 0 when not numeric.
  PaneWidth ReadPaneWidth() const;
  // Clamps x to 30..800 and writes it as both "cx" and "cy".
  bool WritePaneWidth(int x) const;

  // "format", 0 when missing or not numeric.
  int ReadLayout() const;
  // Writes "format" with "%d".
  bool WriteLayout(int layout) const;

  // "terms", "zi" and "birthplace"; missing keys read as empty.
  BirthSettings ReadBirthSettings() const;
  bool WriteBirthSettings(const BirthSettings& settings) const;
  // "script": the characters texts are shown in; Simplified when missing or
  // not one of the two keys.
  Script ReadScript() const;
  // Writes "script" as "simplified" or "traditional".
  bool WriteScript(Script script) const;
  // Section "Window"; nullopt when it has no usable size.
  std::optional<WindowPlacement> ReadWindowPlacement() const;
  bool WriteWindowPlacement(const WindowPlacement& placement) const;
  // The record path of the chart last opened; empty when none.
  Text ReadLastChart() const;
  bool WriteLastChart(TextView recordPath) const;

  // "extras" (显示附加信息: 纳音, 旬, 胎元, 胎息, 命宫 and 身宫 under the pillar
  // table): on when its value is a non-zero number; off when missing.
  bool ReadShowExtras() const;
  // Writes "1" or "0".
  bool WriteShowExtras(bool show) const;

 private:
  std::filesystem::path path_;
};

}  // namespace xuanshu
