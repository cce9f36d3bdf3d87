#include "record/app_config.h"

#include <algorithm>
#include <climits>

#include "record/ini_document.h"
#include "record/record_file.h"

namespace xuanshu {
namespace {

constexpr TextView kSection = u"Option";
constexpr TextView kPaneWidthKey = u"cx";
constexpr TextView kPaneHeightKey = u"cy";
constexpr TextView kLayoutKey = u"format";
constexpr TextView kTermsKey = u"terms";
constexpr TextView kZiKey = u"zi";
constexpr TextView kBirthplaceKey = u"birthplace";
constexpr TextView kScriptKey = u"script";
constexpr TextView kWindowSection = u"Window";
constexpr TextView kLastChartKey = u"lastchart";
constexpr std::size_t kLastChartCapacity = 4096;
constexpr TextView kExtrasKey = u"extras";

// A profile-integer read: missing -> fallback, not numeric -> 0.
int ReadOption(const IniDocument& doc, TextView key, int fallback) {
  const long long value = doc.ReadInt(kSection, key, fallback);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int ReadWindowInt(const IniDocument& doc, TextView key) {
  const long long value = doc.ReadInt(kWindowSection, key, 0);
  return static_cast<int>(std::clamp<long long>(value, -100000, 100000));
}

}  // namespace

PaneWidth AppConfig::ReadPaneWidth() const {
  const IniDocument doc = LoadIniFile(path_);
  return {ReadOption(doc, kPaneWidthKey, kDefaultPaneWidth),
          ReadOption(doc, kPaneHeightKey, kDefaultPaneWidth)};
}

bool AppConfig::WritePaneWidth(int x) const {
  const Text width = Num(std::clamp(x, kMinPaneWidth, kMaxPaneWidth));
  return UpdateIniFile(path_, [&](IniDocument& doc) {
    doc.Set(kSection, kPaneWidthKey, width);
    doc.Set(kSection, kPaneHeightKey, width);
  });
}

int AppConfig::ReadLayout() const {
  return ReadOption(LoadIniFile(path_), kLayoutKey, kSimpleLayout);
}

bool AppConfig::WriteLayout(int layout) const {
  return WriteProfileString(path_, kSection, kLayoutKey, Num(layout));
}

BirthSettings AppConfig::ReadBirthSettings() const {
  const IniDocument doc = LoadIniFile(path_);
  return {doc.ReadString(kSection, kTermsKey), doc.ReadString(kSection, kZiKey),
          doc.ReadString(kSection, kBirthplaceKey)};
}

bool AppConfig::WriteBirthSettings(const BirthSettings& settings) const {
  return UpdateIniFile(path_, [&](IniDocument& doc) {
    doc.Set(kSection, kTermsKey, settings.terms);
    doc.Set(kSection, kZiKey, settings.zi);
    doc.Set(kSection, kBirthplaceKey, settings.place);
  });
}

Script AppConfig::ReadScript() const {
  const std::string key = ToUtf8(LoadIniFile(path_).ReadString(kSection, kScriptKey));
  return ScriptNamed(key).value_or(Script::kSimplified);
}

bool AppConfig::WriteScript(Script script) const {
  return WriteProfileString(path_, kSection, kScriptKey, Ascii(ScriptKey(script)));
}

std::optional<WindowPlacement> AppConfig::ReadWindowPlacement() const {
  const IniDocument doc = LoadIniFile(path_);
  WindowPlacement placement;
  placement.x = ReadWindowInt(doc, u"x");
  placement.y = ReadWindowInt(doc, u"y");
  placement.width = ReadWindowInt(doc, u"width");
  placement.height = ReadWindowInt(doc, u"height");
  placement.maximized = ReadWindowInt(doc, u"maximized") != 0;
  placement.formHeight = ReadWindowInt(doc, u"formheight");
  if (placement.width <= 0 || placement.height <= 0) return std::nullopt;
  return placement;
}

bool AppConfig::WriteWindowPlacement(const WindowPlacement& placement) const {
  return UpdateIniFile(path_, [&](IniDocument& doc) {
    doc.Set(kWindowSection, u"x", Num(placement.x));
    doc.Set(kWindowSection, u"y", Num(placement.y));
    doc.Set(kWindowSection, u"width", Num(placement.width));
    doc.Set(kWindowSection, u"height", Num(placement.height));
    doc.Set(kWindowSection, u"maximized", Num(placement.maximized ? 1 : 0));
    doc.Set(kWindowSection, u"formheight", Num(placement.formHeight));
  });
}

Text AppConfig::ReadLastChart() const {
  return LoadIniFile(path_).ReadString(kWindowSection, kLastChartKey, kLastChartCapacity);
}

bool AppConfig::WriteLastChart(TextView recordPath) const {
  return WriteProfileString(path_, kWindowSection, kLastChartKey, recordPath);
}

bool AppConfig::ReadShowExtras() const {
  return ReadOption(LoadIniFile(path_), kExtrasKey, 0) != 0;
}

bool AppConfig::WriteShowExtras(bool show) const {
  return WriteProfileString(path_, kSection, kExtrasKey, show ? u"1" : u"0");
}

}  // namespace xuanshu
