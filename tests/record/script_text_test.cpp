// The reviewed Simplified -> Traditional table and the conversion by it: every
// literal the program can show has its reviewed form (gathered from the
// sources as the compiler sees them), the forms keep the field's words and
// the length of the Simplified text, and texts put together at run time
// convert by the longest entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/places.h"
#include "record/script_text.h"

namespace xuanshu {
namespace {

const std::filesystem::path kSourceDir = XUANSHU_SOURCE_DIR;

// --- the literals of the sources ----------------------------------------------------------------

struct Literal {
  std::string file;
  int line = 0;
  Text text;
};

bool IsHan(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000;
}

bool HasHan(TextView text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return IsHan(c); });
}

void AppendUtf8(std::string& out, char32_t c) {
  out += ToUtf8(c < 0x10000 ? Text(1, static_cast<char16_t>(c))
                            : Text{static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                                   static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))});
}

// The body of a literal with its escapes decoded, as UTF-8.
std::string DecodeEscapes(std::string_view body) {
  std::string out;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\\') {
      out += body[i];
      continue;
    }
    const char e = body[++i];
    if (e == 'u' || e == 'U' || e == 'x') {
      const std::size_t width = e == 'u' ? 4 : e == 'U' ? 8 : 2;
      AppendUtf8(out, static_cast<char32_t>(
                          std::stoul(std::string(body.substr(i + 1, width)), nullptr, 16)));
      i += width;
      continue;
    }
    switch (e) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '0':
        out += '\0';
        break;
      default:
        out += e;  // \\ \" \' \?
    }
  }
  return out;
}

// The length of the encoding prefix (u8, u, U, L) of a string literal
// starting at `at`; 0 when none starts there.
std::size_t LiteralPrefixAt(const std::string& source, std::size_t at) {
  if (at > 0 && (std::isalnum(static_cast<unsigned char>(source[at - 1])) || source[at - 1] == '_'))
    return 0;
  for (std::string_view prefix : {"u8\"", "u\"", "U\"", "L\""}) {
    if (source.compare(at, prefix.size(), prefix) == 0) return prefix.size() - 1;
  }
  return 0;
}

// Every string literal (adjacent ones joined, as the compiler joins them) and
// character literal of a source file, comments skipped.
std::vector<Literal> LiteralsOf(const std::string& file, const std::string& source) {
  std::vector<Literal> found;
  std::optional<Literal> joined;
  const auto close = [&] {
    if (joined) found.push_back(std::move(*joined));
    joined.reset();
  };
  int line = 1;
  for (std::size_t i = 0; i < source.size();) {
    const char c = source[i];
    if (c == '\n') {
      ++line;
      ++i;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (source.compare(i, 2, "//") == 0) {
      i = source.find('\n', i);
      if (i == std::string::npos) i = source.size();
    } else if (source.compare(i, 2, "/*") == 0) {
      const std::size_t end = source.find("*/", i + 2);
      line += static_cast<int>(std::count(source.begin() + i, source.begin() + end, '\n'));
      i = end + 2;
    } else if (c == '"' || c == '\'') {
      // A quote after a letter or digit that is no literal prefix separates digits.
      std::size_t prefix = 0;
      while (prefix < 2 && i > prefix &&
             std::string_view("uUL8").find(source[i - prefix - 1]) != std::string_view::npos) {
        ++prefix;
      }
      const char before = i > prefix ? source[i - prefix - 1] : ' ';
      if (c == '\'' && prefix == 0 &&
          (std::isalnum(static_cast<unsigned char>(before)) || before == '_')) {
        ++i;
        continue;
      }
      std::size_t j = i + 1;
      while (source[j] != c) j += source[j] == '\\' ? 2 : 1;
      const Text value = FromUtf8(DecodeEscapes(std::string_view(source).substr(i + 1, j - i - 1)));
      if (c == '"') {
        if (!joined) joined = Literal{file, line, {}};
        joined->text += value;
      } else {
        close();
        found.push_back({file, line, value});
      }
      i = j + 1;
    } else if (const std::size_t prefix = LiteralPrefixAt(source, i); prefix > 0) {
      i += prefix;  // u"…" u"…" still join
    } else {
      close();
      ++i;
    }
  }
  close();
  return found;
}

struct NotShown {
  std::string path;
  Text contains;  // "*": every literal
};

std::vector<NotShown> ReadNotShown() {
  std::ifstream in(kSourceDir / "tools/traditional/not_shown.tsv");
  std::vector<NotShown> rules;
  std::string row;
  while (std::getline(in, row)) {
    if (row.empty() || row[0] == '#') continue;
    std::istringstream fields(row);
    std::string path, contains;
    std::getline(fields, path, '\t');
    std::getline(fields, contains, '\t');
    rules.push_back({path, FromUtf8(contains)});
  }
  return rules;
}

// Every literal with a Han character in the program's sources, except those
// tools/traditional/not_shown.tsv says the program never shows.
std::vector<Literal> ShownLiterals() {
  const std::vector<NotShown> notShown = ReadNotShown();
  const std::set<std::string> skipped = {"record/unicode_nfc_tables.cpp",
                                         "record/traditional_table.inc"};
  std::vector<Literal> shown;
  for (const char* folder : {"calendar", "engine", "record", "report", "cli", "app"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSourceDir / folder)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".h" && ext != ".cpp" && ext != ".inc") continue;
      const std::string file = entry.path().lexically_relative(kSourceDir).generic_string();
      if (skipped.contains(file)) continue;
      std::ifstream in(entry.path());
      const std::string source((std::istreambuf_iterator<char>(in)), {});
      for (Literal& literal : LiteralsOf(file, source)) {
        if (!HasHan(literal.text)) continue;
        const bool hidden = std::any_of(notShown.begin(), notShown.end(), [&](const NotShown& r) {
          return file.starts_with(r.path) &&
                 (r.contains == u"*" || literal.text.find(r.contains) != Text::npos);
        });
        if (!hidden) shown.push_back(std::move(literal));
      }
    }
  }
  return shown;
}

std::string Escaped(TextView text) {
  return ToUtf8(EscapeControls(text));
}

TEST(TraditionalTable, EveryShownLiteralHasItsReviewedForm) {
  const std::vector<Literal> literals = ShownLiterals();
  ASSERT_GT(literals.size(), 1000u) << "the sources were not found under " << kSourceDir;
  std::string missing;
  for (const Literal& literal : literals) {
    if (TraditionalForm(literal.text)) continue;
    missing += "\n  " + literal.file + ":" + std::to_string(literal.line) + "  \"" +
               Escaped(literal.text) + "\"";
  }
  EXPECT_TRUE(missing.empty())
      << "literals the program shows without a reviewed Traditional form; run "
         "tools/traditional/make_table.py, review the new forms and list any correction in "
         "tools/traditional/corrections.tsv (or a literal that is never shown in not_shown.tsv):"
      << missing;
}

// The scanner reads what the compiler reads: joined literals, escapes, char
// literals, comments and digit separators.
TEST(TraditionalTable, LiteralScannerReadsLiteralsAsTheCompilerDoes) {
  const std::string source =
      "// \"注释\" is a comment\n"
      "constexpr auto a = u\"上\" /* \"不\" */ u\"下\\u3000\\r\\n\";\n"
      "int n = 1'000; char16_t c = u'甲'; auto s = \"x\\\"天\";\n"
      "auto t = u8\"一\"\n    u8\"二\"; auto menu = u\"三\"; f(u\"四\", u\"五\");\n";
  const std::vector<Literal> found = LiteralsOf("f.cpp", source);
  ASSERT_EQ(found.size(), 7u);
  EXPECT_EQ(found[0].text, u"上下\u3000\r\n");
  EXPECT_EQ(found[0].line, 2);
  EXPECT_EQ(found[1].text, u"甲");
  EXPECT_EQ(found[2].text, u"x\"天");
  EXPECT_EQ(found[3].text, u"一二") << "u8 literals on two lines join";
  EXPECT_EQ(found[4].text, u"三");
  EXPECT_EQ(found[5].text, u"四") << "a comma parts literals";
  EXPECT_EQ(found[6].text, u"五");
}

TEST(TraditionalTable, IsSortedWithoutDuplicates) {
  const std::span<const ScriptPair> table = TraditionalTable();
  ASSERT_FALSE(table.empty());
  for (std::size_t i = 1; i < table.size(); ++i) {
    EXPECT_LT(table[i - 1].simplified, table[i].simplified) << "entry " << i;
  }
}

// Every form keeps the length of its Simplified text in UTF-16 units, so a
// column the report aligns with U+3000 stays aligned whatever text sits in
// it. There is no exception: corrections.tsv keeps the lengths.
TEST(TraditionalTable, EveryFormKeepsTheLengthOfItsSimplifiedText) {
  for (const ScriptPair& pair : TraditionalTable()) {
    EXPECT_EQ(pair.traditional.size(), pair.simplified.size()) << Escaped(pair.simplified);
    // Only Han characters change; spaces, digits and punctuation stay in place.
    for (std::size_t i = 0; i < std::min(pair.simplified.size(), pair.traditional.size()); ++i) {
      if (pair.simplified[i] != pair.traditional[i]) {
        EXPECT_TRUE(IsHan(pair.simplified[i]) && IsHan(pair.traditional[i]))
            << Escaped(pair.simplified) << " at " << i;
      }
    }
  }
}

// The field's own words, which generic converters get wrong, and the
// hand corrections of tools/traditional/corrections.tsv.
TEST(TraditionalTable, KeepsTheFieldsWords) {
  struct Case {
    TextView simplified, traditional;
  };
  const Case cases[] = {
      {u"丑", u"丑"},  // the branch, not 醜
      {u"巳酉丑", u"巳酉丑"},
      {u"藏干：　　　", u"藏干：　　　"},  // not 藏幹
      {u"\r\n日干分数：　", u"\r\n日干分數：　"},
      {u"\r\n天干克合：　", u"\r\n天干剋合：　"},
      {u"天克地冲", u"天剋地沖"},  // OpenCC: 天剋地衝
      {u"冲", u"沖"},
      {u"克", u"剋"},
      {u"公历", u"公曆"},
      {u"农历", u"農曆"},
      {u"历史排盘", u"歷史排盤"},  // 历史 is history
      {u"港台版", u"港臺版"},
      {u"谷雨", u"穀雨"},
      {u"心脏", u"心臟"},
      {u"分钟", u"分鐘"},
      {u"钟", u"鐘"},
      {u"后", u"後"},
      {u"克拉玛依", u"克拉瑪依"},  // a place keeps 克
      {u"台州", u"台州"},
      {u"塔什干", u"塔什干"},
      {u"新德里", u"新德里"},
      {u"符拉迪沃斯托克", u"符拉迪沃斯托克"},
      {u"伊斯坦布尔", u"伊斯坦布爾"},
      {u"设置", u"設定"},
      {u"打印", u"列印"},
      {u"重命名", u"重命名"},
      {u"姓名不能用作文件名", u"姓名不能用作檔案名"},
      {u"简体", u"简体"},  // the choice names itself
  };
  for (const Case& c : cases) {
    const std::optional<TextView> form = TraditionalForm(c.simplified);
    ASSERT_TRUE(form) << Escaped(c.simplified) << " is missing";
    EXPECT_EQ(*form, c.traditional) << Escaped(c.simplified);
  }
}

TEST(ScriptText, ConvertsProgramTextsByTheLongestEntry) {
  struct Case {
    TextView simplified, traditional;
  };
  const Case cases[] = {
      // Relation texts as the computation writes them.
      {u"子卯(无礼刑)、申子(生半合)", u"子卯(無禮刑)、申子(生半合)"},
      {u"[年时]丁克庚、[日时]丁壬合", u"[年時]丁剋庚、[日時]丁壬合"},
      {u"午午(自刑)、巳午未(三会)　两午合一未", u"午午(自刑)、巳午未(三會)　兩午合一未"},
      // Place labels: each name and region by its own entry.
      {u"乌鲁木齐（新疆）", u"烏魯木齊（新疆）"},
      {u"克拉玛依（新疆）", u"克拉瑪依（新疆）"},
      {u"台州（浙江）", u"台州（浙江）"},
      {u"台北（台湾）", u"臺北（臺灣）"},
      // Scores and warnings with numbers.
      {u"正官 76，偏官 14，劫财 0。", u"正官 76，偏官 14，劫財 0。"},
      {u"出生在立春（北京时间1984年02月04日23时18分）后12分钟",
       u"出生在立春（北京時間1984年02月04日23時18分）後12分鐘"},
      {u"东经87°36′", u"東經87°36′"},
      // Characters without an entry stay as they are.
      {u"ABC 123 发", u"ABC 123 发"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InScript(c.simplified, Script::kTraditional), c.traditional) << Escaped(c.simplified);
    EXPECT_EQ(InScript(c.simplified, Script::kSimplified), c.simplified);
  }
}

TEST(ScriptText, ShownFollowsTheShownScript) {
  ASSERT_EQ(ShownScript(), Script::kSimplified) << "Simplified until set";
  EXPECT_EQ(Shown(u"公历"), u"公历");
  SetShownScript(Script::kTraditional);
  EXPECT_EQ(Shown(u"公历"), u"公曆");
  SetShownScript(Script::kSimplified);
  EXPECT_EQ(Shown(u"公历"), u"公历");
}

TEST(ScriptText, KeysAsConfigAndTheCommandLineWriteThem) {
  EXPECT_EQ(ScriptNamed("simplified"), Script::kSimplified);
  EXPECT_EQ(ScriptNamed("traditional"), Script::kTraditional);
  EXPECT_EQ(ScriptNamed("Traditional"), std::nullopt);
  EXPECT_EQ(ScriptNamed(""), std::nullopt);
  EXPECT_EQ(ScriptKey(Script::kSimplified), "simplified");
  EXPECT_EQ(ScriptKey(Script::kTraditional), "traditional");
}

// What the user picks from the program's lists or types in Traditional goes
// back to the program's Simplified text: every place label, and the entries
// of the form's lists.
TEST(ScriptText, ShownTextsGoBackToTheirSimplifiedText) {
  for (const Place& place : AllPlaces()) {
    const Text label = PlaceLabel(place);
    EXPECT_EQ(SimplifiedOf(InScript(label, Script::kTraditional)), label) << ToUtf8(label);
  }
  EXPECT_EQ(SimplifiedOf(u"公曆"), u"公历");
  EXPECT_EQ(SimplifiedOf(u"農曆"), u"农历");
  EXPECT_EQ(SimplifiedOf(u"04 閏月"), u"04 闰月");
  EXPECT_EQ(SimplifiedOf(u"東經87°"), u"东经87°");
  EXPECT_EQ(SimplifiedOf(u"87.6"), u"87.6");
}

}  // namespace
}  // namespace xuanshu
