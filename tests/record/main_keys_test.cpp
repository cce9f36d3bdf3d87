#include "record/main_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "record/ini_document.h"
#include "record/record_file.h"

namespace xuanshu {
namespace {

std::string Utf8(TextView text) {
  return ToUtf8(text);
}

std::string Utf16Le(TextView text) {
  std::string bytes("\xFF\xFE");
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// The keys of a head must be those a document parsed from the whole decoded
// head holds; complete says whether a header follows section main.
TEST(MainKeys, HeadKeysAreThoseOfTheParsedDocument) {
  struct Case {
    const char* what;
    std::string head;
    bool complete;
  };
  const Case cases[] = {
      {"record", Utf8(u"[main]\r\nname=甲\r\nclass=家人\r\nsex=男\r\n[gongli]\r\nyear=1\r\n"),
       true},
      {"LF line ends", Utf8(u"[main]\nname=甲\nclass=家人\n[gongli]\n"), true},
      {"CR line ends", Utf8(u"[MAIN]\rname=乙\rclass=丙\r[x]\rname=no\r"), true},
      {"mixed line ends", Utf8(u"[main]\r\n\rname=乙\n\r\nclass=丙\r\r[x]"), true},
      {"no line end at the end", Utf8(u"[main]\nname=壬"), false},
      {"cut by the head's end", Utf8(u"[main]\r\nname=甲\r\ncla"), false},
      {"cut inside a value", Utf8(u"[main]\r\nclass=家\r\nname=甲"), false},
      {"blanks around names and keys", Utf8(u" \t[ Main\t] \n \tNaMe \t=  丁 \t\nCLASS=\n"), false},
      {"text after the bracket", Utf8(u"[main] x\nname=甲\n[gongli\nname=no\n"), true},
      {"comments", Utf8(u"[main]\n;name=no\n  ; class=no\nname=甲;注\n[;]\n"), true},
      {"lines without =", Utf8(u"[main]\nname\nclass 家\nname=甲\n"), false},
      {"= in the value", Utf8(u"[main]\nname==a=b\nclass= =\n"), false},
      {"empty key", Utf8(u"[main]\n=x\nname=\n"), false},
      {"other keys alike", Utf8(u"[main]\nnames=no\nclas=no\nname1=no\nna me=no\n"), false},
      {"first of duplicate keys", Utf8(u"[main]\nname=庚\nNAME=辛\nclass=\nclass=no\n"), false},
      {"main after another section", Utf8(u"[a]\nname=no\n[main]\nclass=戊\nname=己\n"), false},
      {"repeated main", Utf8(u"[main]\nclass=甲组\n[gongli]\n[main]\nname=no\nclass=no\n"), true},
      {"empty main", Utf8(u"[main]\n[main]\nname=no\n"), true},
      {"bracket inside a value", Utf8(u"[main]\nname=[甲]\nclass=[x\n"), false},
      {"no main", Utf8(u"[gongli]\nname=no\n"), false},
      {"keys before any section", Utf8(u"name=no\nclass=no\n[main]\n"), false},
      {"nothing", "", false},
      {"long values", Utf8(u"[main]\nname=" + Text(300, u'长') + u"\nclass=" + Text(259, u'组')),
       false},
      {"cut between a surrogate pair", Utf8(u"[main]\nname=" + Text(258, u'a') + u"𠀀b\n[x]\n"),
       true},
      {"byte-order mark", "\xEF\xBB\xBF" + Utf8(u"[main]\r\nname=张三\r\nclass=家人\r\n"), false},
      {"mark and bad bytes", "\xEF\xBB\xBF[main]\nname=\xE4\xB8\nclass=\xFF" + Utf8(u"组") + "\n",
       false},
      {"bad byte after main: the head is GBK", Utf8(u"[main]\nname=张三\n[x]\nv=") + "\xFF\n",
       true},
      {"GBK", "[main]\r\nname=\xD5\xC5\xC8\xFD\r\nclass=\xBC\xD2\xC8\xCB\r\n[x]\r\n", true},
      {"GBK with a bracket as second byte", "[main]\nname=\x81]\nclass=\x81[\n[x]\n", true},
      {"UTF-16", Utf16Le(u"[main]\r\nname=丙\r\nclass=朋友\r\n[x]\r\n"), true},
      {"UTF-16 with an odd byte", Utf16Le(u"[main]\nname=丙") + "x", false},
  };
  for (const Case& c : cases) {
    const IniDocument document = IniDocument::Parse(DecodeFileBytes(c.head));
    const HeadMainKeys keys = MainKeysOfHead(c.head);
    EXPECT_EQ(Utf8(keys.keys.name), Utf8(document.ReadString(u"main", u"name", kListCapacity)))
        << c.what;
    EXPECT_EQ(Utf8(keys.keys.group), Utf8(document.ReadString(u"main", u"class", kListCapacity)))
        << c.what;
    EXPECT_EQ(keys.complete, c.complete) << c.what;
    EXPECT_EQ(MainKeysOf(DecodeFileBytes(c.head)), keys.keys) << c.what;
  }
}

TEST(MainKeys, ValuesAreVerbatimAndCutTo259Units) {
  EXPECT_EQ(MainKeysOfHead(Utf8(u"[main]\nname=  丁 \t\nclass=a=b\n")).keys,
            (RecordMainKeys{u"a=b", u"  丁 \t"}));
  const RecordMainKeys cut = MainKeysOfHead(Utf8(u"[main]\nname=" + Text(300, u'长'))).keys;
  EXPECT_EQ(cut.name, Text(259, u'长'));
  EXPECT_EQ(MainKeysOfHead("[main]\nname=\xD5\xC5\xC8\xFD\n").keys.name, u"张三");
}

}  // namespace
}  // namespace xuanshu
