#include "report/kinship_tables.h"

#include <array>

namespace xuanshu {
namespace {

// Every column is four full-width cells wide and every row starts after a
// five-cell label or five U+3000, so the words line up under the header.
constexpr TextView kHeader =
    u"\r\n　　　　　正官　　偏官　　正印　　偏印　　比肩　　劫财　　食神　　伤官　　正财　　偏财\t"
    u"\r\n";
constexpr TextView kMaleLabel = u"男命：　　";
constexpr std::array<TextView, 4> kMaleRows = {
    u"女儿　　儿子　　母亲　　祖父　　兄弟　　姐妹　　女婿　　祖母　　妻子　　父亲\t\r\n\r\n",
    u"　　　　　侄女　　姐夫　　外孙女　男外孙　姑丈　　儿媳　　孙儿　　孙女　　兄嫂　　伯叔\t\r\n"
    u"\r\n",
    u"　　　　　外婆　　妹婿　　　　　　外父　　　　　　外公　　外母　　弟媳　　情人\t\r\n\r\n",
    u"　　　　　　　　　侄儿　　　　　　　　　　　　　　　　　　　　　　姑母\t\r\n\r\n",
};
constexpr TextView kFemaleLabel = u"女命：　　";
constexpr std::array<TextView, 6> kFemaleRows = {
    u"丈夫　　情人　　祖父　　母亲　　姐妹　　兄弟　　祖母　　儿子　　父亲　　家婆\t\r\n\r\n",
    u"　　　　　姐夫　　儿媳　　女婿　　孙女　　　　　　家公　　女儿　　夫家姐　伯叔　　兄嫂\t\r\n",
    u"　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　夫家夫\t\r\n\r\n",
    u"　　　　　妹婿　　夫家　　孙儿　　　　　　　　　　　　　　　　　　　　　　弟媳\t\r\n",
    u"　　　　　　　　　姐妹\t\r\n\r\n",
    u"　　　　　　　　　外婆　　　　　　　　　　　　　　　　　　　　　　　　　　姑母\t\r\n\r\n",
};
constexpr TextView kSocialLabel = u"社会关系：";
constexpr std::array<TextView, 7> kSocialRows = {
    u"上司　　敌人　　贵人　　亲属　　朋友　　朋友　　晚辈\t\r\n",
    u"　　　　　　　　　　　　　　　　　长辈\t\r\n\r\n",
    u"　　　　　师长　　小人　　助我　　意外　　同辈　　同辈　　学生　　晚辈\t\r\n",
    u"　　　　　　　　　　　　　师长　　助力\t\r\n\r\n",
    u"　　　　　　　　　恶势力　　　　　　　　　下属　　下属\t\r\n\r\n",
    u"　　　　　　　　　苛刻\t\r\n",
    u"　　　　　　　　　师长\t\r\n",
};

template <std::size_t N>
void AppendBlock(ReportSink& sink, Script script, TextView label,
                 const std::array<TextView, N>& rows) {
  sink.AppendText(InScript(label, script), ReportColor::kBlue);
  for (TextView row : rows) sink.AppendText(InScript(row, script), ReportColor::kBlack);
}

}  // namespace

void AppendKinshipTables(ReportSink& sink, bool male, Script script) {
  sink.AppendText(InScript(kHeader, script), ReportColor::kBlue);
  if (male) {
    AppendBlock(sink, script, kMaleLabel, kMaleRows);
  } else {
    AppendBlock(sink, script, kFemaleLabel, kFemaleRows);
  }
  AppendBlock(sink, script, kSocialLabel, kSocialRows);
}

}  // namespace xuanshu
