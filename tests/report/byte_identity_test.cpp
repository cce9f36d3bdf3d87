// The byte-identity guard: seeded random births, each computed into a record
// and rendered in every layout, compared by SHA-256 with the digests stored in
// data/byte_identity.tsv. The digests were made by the code before the record
// store was rebuilt for speed, so any change of a record's bytes, a report's
// text or colours, or the export, terminal or web output shows up here.
//
// Each birth follows from its index alone, so the normal run checks the first
// kDefaultBirths lines and a longer run checks more:
//
//   XUANSHU_GUARD_BIRTHS=20000 build/bin/report_tests --gtest_filter='ByteIdentity*'
//
// To make the digests again (only when an output is meant to change):
//
//   XUANSHU_GUARD_BIRTHS=20000 XUANSHU_GUARD_WRITE=tests/report/data/byte_identity.tsv
//   XUANSHU_GUARD_SOURCE="commit $(git rev-parse --short HEAD)"
//   build/bin/report_tests --gtest_filter='ByteIdentity*'
//
// (the three lines as one command).
//
// A second file, data/byte_identity_extras.tsv, holds for the same births the
// digests of what the default settings do not show: every layout with the
// additional pillars and the JSON export. XUANSHU_GUARD_WRITE_EXTRAS writes it
// as XUANSHU_GUARD_WRITE writes the first.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/lunar_calendar.h"
#include "calendar/places.h"
#include "engine/chart_engine.h"
#include "report/chart_json.h"
#include "report/report_output.h"
#include "report_test_support.h"
#include "sha256.h"
#include "test_support.h"

namespace xuanshu::testing {
namespace {

constexpr int kDefaultBirths = 2000;
// The additional pillars and JSON cost more per birth; fewer in the normal run.
constexpr int kDefaultExtrasBirths = 500;
constexpr std::uint64_t kSeed = 0x5EED'BA21'0012'2024;
// Every n-th birth is also rendered through its file, as a click does.
constexpr int kFileRenderEvery = 16;
// Every n-th birth also renders a hand-edited copy of its record.
constexpr int kEditedEvery = 8;
// Stored digests keep the first 128 bits of SHA-256.
constexpr std::size_t kDigestDigits = 32;

const std::filesystem::path kDigestFile = ReportDataDir() / "byte_identity.tsv";
const std::filesystem::path kExtrasDigestFile = ReportDataDir() / "byte_identity_extras.tsv";

// splitmix64: the same numbers on every platform and standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // [low, high]
  int Between(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
  }
  bool Chance(int percent) { return Between(1, 100) <= percent; }

 private:
  std::uint64_t state_;
};

// Names that a report prints, escapes in a web page, or shows in a title.
constexpr std::array<TextView, 8> kNames = {u"张三",           u"李四&<王>", u"O'Brien \"Jr\"",
                                            u"欧阳　娜娜",     u"𠮷野家",    u"a",
                                            u"Zhang San 1990", u"命例"};
constexpr std::array<TextView, 4> kGroups = {u"其他", u"客户", u"家人", u"VIP 2024"};

BirthChoices ChoicesFor(Random& random) {
  BirthChoiceTexts texts;
  if (random.Chance(50)) texts.terms = u"astronomical";
  if (random.Chance(50)) texts.zi = u"same-day";
  const int place = random.Between(1, 10);
  if (place <= 4) {
    const std::span<const Place> places = AllPlaces();
    texts.place = PlaceLabel(places[random.Between(0, static_cast<int>(places.size()) - 1)]);
  } else if (place <= 7) {
    texts.place = Num(random.Between(73, 135)) + u"." + Num(random.Between(0, 9));
    if (place == 7) {
      const int hours = random.Between(-12, 14);
      texts.utcOffset = Text(hours < 0 ? u"-" : u"+") + (std::abs(hours) < 10 ? u"0" : u"") +
                        Num(std::abs(hours)) + (random.Chance(30) ? u":30" : u":00");
    }
  }
  if (random.Chance(20)) texts.dst = u"off";
  const auto resolved = ResolveBirthChoices(texts);
  const BirthChoices* choices = std::get_if<BirthChoices>(&resolved);
  return choices ? *choices : BirthChoices{};
}

// Both calendars, leap months, the late 子 hour, both sexes, birth-moment
// choices for three births in ten, and a few requests that are refused.
ChartRequest BirthFor(int index) {
  Random random(kSeed ^ (static_cast<std::uint64_t>(index) * 0x2545F4914F6CDD1DULL));
  ChartRequest request;
  request.name = Text(kNames[random.Between(0, static_cast<int>(kNames.size()) - 1)]) + Num(index);
  request.group = kGroups[random.Between(0, static_cast<int>(kGroups.size()) - 1)];
  request.male = random.Chance(50);
  request.gregorian = random.Chance(60);
  const int year = random.Between(1901, 2049);
  request.year = year;
  if (request.gregorian) {
    request.month = random.Between(1, 12);
    request.day = random.Between(1, GregorianMonthDays(year, request.month));
  } else if (LeapMonthOf(year) > 0 && random.Chance(30)) {
    request.leapMonth = true;
    request.month = LeapMonthOf(year);
    request.day = random.Between(1, LeapMonthDays(year));
  } else {
    request.month = random.Between(1, 12);
    request.day = random.Between(1, LunarMonthDays(year, request.month));
  }
  const int hour = random.Between(1, 100);
  request.hour = hour <= 15 ? 23 : hour <= 20 ? 0 : random.Between(0, 23);
  request.minute = random.Between(0, 59);
  if (random.Chance(30)) request.choices = ChoicesFor(random);
  if (random.Chance(2)) {
    // Refused: the record stays empty, and its report stops early.
    switch (random.Between(0, 3)) {
      case 0:
        request.day = 0;
        break;
      case 1:
        request.hour = 24;
        break;
      case 2:
        request.month = 13;
        break;
      default:
        request.year = 1900;
    }
  }
  return request;
}

// --- hand edits of a record's text ---

std::vector<Text> Lines(TextView text) {
  std::vector<Text> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(u"\r\n", start);
    if (end == TextView::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Joined(const std::vector<Text>& lines, TextView lineEnd) {
  Text text;
  for (const Text& line : lines) text.append(line).append(lineEnd);
  return ToUtf8(text);
}

// The line of each key of `section` (case as written).
std::vector<std::size_t> KeyLinesOf(const std::vector<Text>& lines, TextView section) {
  std::vector<std::size_t> found;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].empty() && lines[i][0] == u'[') {
      inside = lines[i] == u"[" + Text(section) + u"]";
    } else if (inside) {
      found.push_back(i);
    }
  }
  return found;
}

void SetValue(std::vector<Text>& lines, TextView section, TextView key, TextView value) {
  for (std::size_t i : KeyLinesOf(lines, section)) {
    if (lines[i].starts_with(Text(key) + u"=")) lines[i] = Text(key) + u"=" + Text(value);
  }
}

Text Upper(TextView text) {
  Text out(text);
  for (char16_t& c : out) c = (c >= u'a' && c <= u'z') ? c - (u'a' - u'A') : c;
  return out;
}

constexpr std::array<TextView, 8> kEditedSections = {u"main",        u"shizhu",    u"liunian",
                                                     u"liunianhcxh", u"dayunhcxh", u"ShiZhuTKDC",
                                                     u"tijian",      u"fenshu"};

// One of ten edits a user or another program might make to a record file.
std::string EditedRecord(TextView text, Random& random) {
  std::vector<Text> lines = Lines(text);
  if (lines.empty()) return {};
  const TextView section =
      kEditedSections[random.Between(0, static_cast<int>(kEditedSections.size()) - 1)];
  const std::vector<std::size_t> keyLines = KeyLinesOf(lines, section);
  const auto anyKeyLine = [&]() -> std::size_t {
    return keyLines.empty() ? 0
                            : keyLines[random.Between(0, static_cast<int>(keyLines.size()) - 1)];
  };
  switch (random.Between(0, 9)) {
    case 0:  // names in other case
      for (std::size_t i : keyLines) {
        const std::size_t eq = lines[i].find(u'=');
        lines[i] = Upper(TextView(lines[i]).substr(0, eq)) + lines[i].substr(eq);
      }
      for (Text& line : lines) {
        if (line == u"[" + Text(section) + u"]") line = u"[" + Upper(section) + u"]";
      }
      break;
    case 1:  // a line removed
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(anyKeyLine()));
      break;
    case 2: {  // a key repeated later with another value: the first one counts
      const std::size_t i = anyKeyLine();
      const Text repeated = lines[i].substr(0, lines[i].find(u'=')) + u"=重复";
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i + 1), repeated);
      break;
    }
    case 3: {  // a value far over the read capacity
      const std::size_t i = anyKeyLine();
      Text value;
      for (int k = 0; k < 600; ++k) value += u"甲子/";
      lines[i] = lines[i].substr(0, lines[i].find(u'=') + 1) + value;
      break;
    }
    case 4:  // cut off
      lines.resize(static_cast<std::size_t>(random.Between(0, static_cast<int>(lines.size()) - 1)));
      break;
    case 5:  // LF line ends
      return Joined(lines, u"\n");
    case 6:  // blanks around the keys and the equals sign
      for (std::size_t i : keyLines) {
        const std::size_t eq = lines[i].find(u'=');
        lines[i] = u"  " + lines[i].substr(0, eq) + u" \t= " + lines[i].substr(eq + 1);
      }
      break;
    case 7:  // absurd counts and spans
      SetValue(lines, u"liunian", u"count", u"10000");
      SetValue(lines, u"tijian", u"count", u"-3");
      SetValue(lines, u"liunianhcxh", u"yearEnd", u"1000000");
      SetValue(lines, u"liunian", u"age1", Num(random.Between(-5, 300)));
      break;
    case 8:  // a second section of a name, a comment, a line without "="
      lines.insert(lines.begin() + 1, u"; comment");
      lines.push_back(u"[main]");
      lines.push_back(u"name=冒名");
      lines.push_back(u"no equals sign");
      break;
    default: {  // UTF-16LE with a byte-order mark
      std::string bytes = "\xFF\xFE";
      const Text joined = FromUtf8(Joined(lines, u"\r\n"));
      for (char16_t unit : joined) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
      }
      return bytes;
    }
  }
  return Joined(lines, u"\r\n");
}

// --- digests ---

// Each artifact is framed by its length, so two artifacts cannot run together.
void AddFramed(Sha256& digest, std::string_view bytes) {
  const std::string length = std::to_string(bytes.size()) + ":";
  digest.Add(length);
  digest.Add(bytes);
}

// Every layout of the record file's bytes, as the CLI and the desktop program
// put it out: the export file, the terminal text and the web page; and
// whether the rendering changed the record.
void AddReports(Sha256& digest, const std::string& recordBytes, TextView title) {
  const Text text = DecodeFileBytes(recordBytes);
  for (int layout : {0, 1, 2, 7}) {  // 7: any other setting is the standard layout
    IniDocument record = IniDocument::Parse(text);
    CollectingSink sink;
    const bool changed = RenderChart(record, layout, sink);
    AddFramed(digest, changed ? "changed" : "kept");
    AddFramed(digest, ExportBytes(sink.PlainText()));
    AddFramed(digest, AnsiText(sink.pieces()));
    AddFramed(digest, HtmlPage(sink.pieces(), title));
    if (changed) AddFramed(digest, ToUtf8(record.Serialize()));
  }
}

// The same record with the additional pillars in every layout, and its JSON
// export.
void AddExtrasReports(Sha256& digest, const std::string& recordBytes, TextView title) {
  const Text text = DecodeFileBytes(recordBytes);
  for (int layout : {0, 1, 2}) {
    IniDocument record = IniDocument::Parse(text);
    CollectingSink sink;
    RenderChart(record, ReportOptions{layout, true}, sink);
    AddFramed(digest, ExportBytes(sink.PlainText()));
    AddFramed(digest, AnsiText(sink.pieces()));
    AddFramed(digest, HtmlPage(sink.pieces(), title));
  }
  AddFramed(digest, ChartJson(IniDocument::Parse(text)));
}

struct BirthDigests {
  std::string record;
  std::string reports;
};

std::string Short(Sha256& digest) {
  return digest.Hex().substr(0, kDigestDigits);
}

class Guard {
 public:
  BirthDigests Digests(int index) {
    const ChartRequest request = BirthFor(index);
    ComputeChartRecord(engine_, request, record_);
    const std::string bytes = ToUtf8(record_.Serialize());
    // The bytes a save writes, encoded straight from the record.
    EXPECT_EQ(record_.SerializeUtf8(), bytes) << "birth " << index;
    Sha256 recordDigest;
    recordDigest.Add(bytes);

    Sha256 reports;
    AddReports(reports, bytes, request.name);
    if (index % kEditedEvery == 0) {
      Random random(kSeed + static_cast<std::uint64_t>(index));
      AddReports(reports, EditedRecord(FromUtf8(bytes), random), request.name);
    }
    if (index % kFileRenderEvery == 0) CheckSavedChart(request, bytes, index);
    return {Short(recordDigest), Short(reports)};
  }

  // The record's digest and that of its additional pillars and JSON.
  BirthDigests ExtrasDigests(int index) {
    const ChartRequest request = BirthFor(index);
    ComputeChartRecord(engine_, request, record_);
    const std::string bytes = ToUtf8(record_.Serialize());
    Sha256 recordDigest;
    recordDigest.Add(bytes);
    Sha256 extras;
    AddExtrasReports(extras, bytes, request.name);
    if (index % kEditedEvery == 0) {
      Random random(kSeed + static_cast<std::uint64_t>(index));
      AddExtrasReports(extras, EditedRecord(FromUtf8(bytes), random), request.name);
    }
    return {Short(recordDigest), Short(extras)};
  }

 private:
  // The chart button's path: the saved file holds the bytes digested, and a
  // click on it (read, render, rewrite only when yunqian changed) shows what
  // the rendering from memory shows and leaves the record alone.
  void CheckSavedChart(ChartRequest request, const std::string& bytes, int index) {
    request.recordPath = folder_.path() / "guard.bze";
    if (!ComputeChart(engine_, request)) return;  // a refused birth
    EXPECT_EQ(ReadFileBytes(request.recordPath), bytes) << "birth " << index;
    const int layout = index % 3;
    CollectingSink fromFile;
    RenderChart(request.recordPath, layout, fromFile);
    IniDocument record = IniDocument::Parse(FromUtf8(bytes));
    CollectingSink fromMemory;
    RenderChart(record, layout, fromMemory);
    EXPECT_EQ(fromFile.PlainText(), fromMemory.PlainText()) << "birth " << index;
    EXPECT_EQ(ReadFileBytes(request.recordPath), bytes) << "birth " << index;
  }

  ChartEngine engine_;
  ChartRecord record_;
  TempDir folder_;
};

int BirthCount(int normalRun) {
  const char* count = std::getenv("XUANSHU_GUARD_BIRTHS");
  return count != nullptr ? std::atoi(count) : normalRun;
}

std::string DigestLine(int index, const BirthDigests& d) {
  return std::to_string(index) + "\t" + d.record + "\t" + d.reports;
}

TEST(ByteIdentityTest, Sha256OfKnownTexts) {
  const auto hex = [](std::string_view text) {
    Sha256 digest;
    digest.Add(text);
    return digest.Hex();
  };
  EXPECT_EQ(hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

using DigestsOf = BirthDigests (Guard::*)(int index);

// Writes the digest file named by the variable `writeVariable`, when it is
// set; else compares the births with the stored file.
void CheckOrWriteDigests(DigestsOf digestsOf, int normalRun, const char* writeVariable,
                         const std::filesystem::path& storedFile) {
  const int births = BirthCount(normalRun);
  Guard guard;
  if (const char* out = std::getenv(writeVariable)) {
    const char* source = std::getenv("XUANSHU_GUARD_SOURCE");
    std::ofstream file(out, std::ios::binary);
    file << "# Made by tests/report/byte_identity_test.cpp (" << writeVariable << ") from "
         << (source ? source : "an unnamed source version")
         << ": birth, SHA-256 of the record file, SHA-256 of its reports (first 128 bits)\n";
    for (int i = 0; i < births; ++i) file << DigestLine(i, (guard.*digestsOf)(i)) << "\n";
    ASSERT_TRUE(file.good()) << out;
    return;
  }
  std::ifstream file(storedFile);
  ASSERT_TRUE(file) << storedFile;
  std::string line;
  std::getline(file, line);  // where the digests come from
  int checked = 0, differing = 0;
  for (int i = 0; i < births && std::getline(file, line); ++i, ++checked) {
    const std::string actual = DigestLine(i, (guard.*digestsOf)(i));
    if (actual == line) continue;
    if (++differing <= 10) {
      const ChartRequest b = BirthFor(i);
      ADD_FAILURE() << "birth " << i << " (" << ToUtf8(b.name) << ", " << b.year << "-" << b.month
                    << "-" << b.day << " " << b.hour << ":" << b.minute
                    << (b.gregorian ? " 公历" : " 农历") << (b.leapMonth ? " 闰" : "")
                    << (b.choices.IsDefault() ? "" : ", with choices") << ")\n  expected " << line
                    << "\n  actual   " << actual;
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(checked, births) << "the digest file holds fewer births";
}

TEST(ByteIdentityTest, RecordsAndReportsOfRandomBirthsMatchTheirStoredDigests) {
  CheckOrWriteDigests(&Guard::Digests, kDefaultBirths, "XUANSHU_GUARD_WRITE", kDigestFile);
}

TEST(ByteIdentityTest, AdditionalPillarsAndJsonOfRandomBirthsMatchTheirStoredDigests) {
  CheckOrWriteDigests(&Guard::ExtrasDigests, kDefaultExtrasBirths, "XUANSHU_GUARD_WRITE_EXTRAS",
                      kExtrasDigestFile);
}

}  // namespace
}  // namespace xuanshu::testing
