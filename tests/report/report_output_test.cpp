#include "report/report_output.h"

#include <gtest/gtest.h>

#include <vector>

namespace xuanshu {
namespace {

TEST(ExportBytesTest, ByteOrderMarkThenUtf16LeWithoutTerminator) {
  const std::string bytes = ExportBytes(u"甲\r\n\tA");
  const std::string expected("\xFF\xFE\x32\x75\x0D\x00\x0A\x00\x09\x00\x41\x00", 12);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(ExportBytes(u""), std::string("\xFF\xFE", 2)) << "empty pane";
}

struct Appended {
  TextView text;
  ReportColor color;
};

// What the renderer appends and the pieces the report keeps of it.
TEST(ReportPiecesTest, RunsOfOneColourBecomeOnePiece) {
  using enum ReportColor;
  struct Case {
    const char* name;
    std::vector<Appended> appended;
    std::vector<Appended> pieces;
  };
  const Case cases[] = {
      {"nothing", {}, {}},
      {"empty text adds nothing", {{u"", kRed}}, {}},
      {"colours alternate",
       {{u"甲", kBlack}, {u"乙", kRed}, {u"丙", kBlack}},
       {{u"甲", kBlack}, {u"乙", kRed}, {u"丙", kBlack}}},
      {"same colour extends the run",
       {{u"甲", kBlue}, {u"乙子", kBlue}, {u"丙", kGreen}},
       {{u"甲乙子", kBlue}, {u"丙", kGreen}}},
      {"empty text between runs of one colour",
       {{u"甲", kRed}, {u"", kBlack}, {u"乙", kRed}},
       {{u"甲乙", kRed}}},
  };
  for (const Case& c : cases) {
    ReportPieces report;
    Text plain;
    for (const Appended& a : c.appended) {
      report.Append(a.text, a.color);
      plain += a.text;
    }
    EXPECT_EQ(report.text(), plain) << c.name;
    ASSERT_EQ(report.size(), c.pieces.size()) << c.name;
    std::size_t i = 0;
    for (const ReportPiece& piece : report) {
      EXPECT_TRUE(piece.text == c.pieces[i].text && piece.color == c.pieces[i].color)
          << c.name << ", piece " << i;
      ++i;
    }
    EXPECT_EQ(i, c.pieces.size()) << c.name;
  }
}

TEST(ReportPiecesTest, ACopyKeepsItsOwnText) {
  ReportPieces original = {{u"甲子", ReportColor::kRed}, {u"乙丑", ReportColor::kBlack}};
  const ReportPieces copy = original;
  // Enough text to move the original's buffer.
  for (int i = 0; i < 1000; ++i) original.Append(u"丙寅", ReportColor::kBlue);
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_TRUE(copy[0].text == u"甲子" && copy[0].color == ReportColor::kRed);
  EXPECT_TRUE(copy[1].text == u"乙丑" && copy[1].color == ReportColor::kBlack);
  EXPECT_EQ(original[2].text.size(), 2000u);
  EXPECT_EQ(original.text().size(), 2004u);
}

TEST(AnsiTextTest, EveryPieceStartsWithItsColourAndTheOutputResets) {
  const ReportPieces pieces = {{u"姓名：", ReportColor::kBlack},
                               {u"张三", ReportColor::kRed},
                               {u"年", ReportColor::kGreen},
                               {u"天克地冲", ReportColor::kBlue}};
  EXPECT_EQ(AnsiText(pieces),
            "\x1b[39m姓名：\x1b[38;2;255;0;0m张三\x1b[38;2;0;128;0m年"
            "\x1b[38;2;37;119;220m天克地冲\x1b[0m");
  EXPECT_EQ(AnsiText({}), "\x1b[0m");
}

TEST(HtmlPageTest, ColouredEscapedSpansInAPreWrappedCjkBlock) {
  const ReportPieces pieces = {{u"<b>&\"\r\n", ReportColor::kBlack},
                               {u"岁运并临", ReportColor::kRed},
                               {u"大运", ReportColor::kBlue}};
  const std::string page = HtmlPage(pieces, u"张三 <八字>");
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("<title>张三 &lt;八字&gt;</title>"), std::string::npos);
  EXPECT_NE(page.find("white-space: pre-wrap"), std::string::npos);
  EXPECT_NE(page.find("\"Noto Sans Mono CJK SC\""), std::string::npos);
  EXPECT_NE(page.find("<span style=\"color:#000000\">&lt;b&gt;&amp;&quot;\n</span>"),
            std::string::npos);
  EXPECT_NE(page.find("<span style=\"color:#FF0000\">岁运并临</span>"), std::string::npos);
  EXPECT_NE(page.find("<span style=\"color:#2577DC\">大运</span>"), std::string::npos);
  EXPECT_EQ(page.find("\r"), std::string::npos);
  EXPECT_NE(page.find("<html lang=\"zh-CN\">"), std::string::npos);
  EXPECT_EQ(page.find("CJK TC"), std::string::npos);
}

TEST(HtmlPageTest, TraditionalPageIsMarkedSoAndPrefersTraditionalFonts) {
  const std::string page =
      HtmlPage({{u"歲運並臨", ReportColor::kRed}}, u"张三", Script::kTraditional);
  EXPECT_NE(page.find("<html lang=\"zh-TW\">"), std::string::npos);
  EXPECT_NE(page.find("font-family: \"Noto Sans Mono CJK TC\""), std::string::npos);
  EXPECT_NE(page.find("<title>张三</title>"), std::string::npos) << "the name as typed";
  EXPECT_NE(page.find(">歲運並臨</span>"), std::string::npos);
}

}  // namespace
}  // namespace xuanshu
