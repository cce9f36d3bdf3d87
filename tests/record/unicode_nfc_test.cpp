#include "record/unicode_nfc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace xuanshu {
namespace {

// "0044 0307" -> the UTF-16 text of those code points.
Text FromHexCodePoints(const std::string& field) {
  std::istringstream in(field);
  std::string hex;
  std::u32string points;
  while (in >> hex) points.push_back(static_cast<char32_t>(std::stoul(hex, nullptr, 16)));
  Text out;
  for (char32_t c : points) {
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

TEST(ToNfc, NamesInEveryFormBecomeOne) {
  struct Case {
    const char* what;
    Text text;
    Text expected;
  };
  const Case cases[] = {
      {"already composed", u"张三é", u"张三é"},
      {"e and an accent", u"e\u0301", u"é"},
      {"compatibility ideograph", u"\uF900", u"\u8C48"},
      {"Hangul jamo", u"\u1100\u1161\u11A8", u"\uAC01"},
      {"marks reordered, then composed", u"a\u0323\u0302", u"\u1EAD"},
      {"blocked mark stays", u"a\u0302\u0302", u"\u00E2\u0302"},
      {"composition exclusion", u"\u0958", u"\u0915\u093C"},
      {"astral ideograph", u"\U0002F800", u"\u4E3D"},
      {"unpaired surrogate kept", u"a\xD800\u0301", u"a\xD800\u0301"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUtf8(ToNfc(c.text)), ToUtf8(c.expected)) << c.what;
}

// Lines of NormalizationTest.txt, sampled by tools/unicode/make_nfc_tables.py.
TEST(ToNfc, AgreesWithTheUnicodeConformanceTest) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "data" / "nfc_cases.txt");
  ASSERT_TRUE(in) << "nfc_cases.txt missing";
  std::size_t checked = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<Text> c;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ';');)
      c.push_back(FromHexCodePoints(field));
    ASSERT_EQ(c.size(), 5u) << line;
    for (int i : {0, 1, 2}) EXPECT_EQ(ToNfc(c[i]), c[1]) << line << " column " << i + 1;
    for (int i : {3, 4}) EXPECT_EQ(ToNfc(c[i]), c[3]) << line << " column " << i + 1;
    ++checked;
  }
  EXPECT_GT(checked, 3000u);
}

}  // namespace
}  // namespace xuanshu
