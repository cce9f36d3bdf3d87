#include "report/report_output.h"

#include <gtest/gtest.h>

namespace xuanshu {
namespace {

TEST(ExportBytesTest, ByteOrderMarkThenUtf16LeWithoutTerminator) {
  const std::string bytes = ExportBytes(u"甲\r\n\tA");
  const std::string expected("\xFF\xFE\x32\x75\x0D\x00\x0A\x00\x09\x00\x41\x00", 12);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(ExportBytes(u""), std::string("\xFF\xFE", 2)) << "empty pane";
}

TEST(AnsiTextTest, EveryPieceStartsWithItsColourAndTheOutputResets) {
  const std::vector<ReportPiece> pieces = {{u"姓名：", ReportColor::kBlack},
                                           {u"张三", ReportColor::kRed},
                                           {u"年", ReportColor::kGreen},
                                           {u"天克地冲", ReportColor::kBlue}};
  EXPECT_EQ(AnsiText(pieces),
            "\x1b[39m姓名：\x1b[38;2;255;0;0m张三\x1b[38;2;0;128;0m年"
            "\x1b[38;2;37;119;220m天克地冲\x1b[0m");
  EXPECT_EQ(AnsiText({}), "\x1b[0m");
}

TEST(HtmlPageTest, ColouredEscapedSpansInAPreWrappedCjkBlock) {
  const std::vector<ReportPiece> pieces = {{u"<b>&\"\r\n", ReportColor::kBlack},
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
