#include "record/ini_document.h"

#include <gtest/gtest.h>

namespace xuanshu {
namespace {

TEST(IniDocument, KeepsOrderOfFirstWriteAndRewritesInPlace) {
  IniDocument doc;
  doc.Set(u"main", u"name", u"张三");
  doc.Set(u"gongli", u"year", u"1990");
  doc.Set(u"main", u"class", u"");
  doc.Set(u"main", u"name", u"李四");
  EXPECT_EQ(doc.Serialize(), u"[main]\r\nname=李四\r\nclass=\r\n[gongli]\r\nyear=1990\r\n");
}

TEST(IniDocument, ReadsCutToCapacityAndIntegersFromLeadingDigits) {
  IniDocument doc;
  doc.Set(u"s", u"long", Text(600, u'字'));
  doc.Set(u"s", u"num", u"42abc");
  doc.Set(u"s", u"word", u"abc");
  EXPECT_EQ(doc.ReadString(u"s", u"long").size(), 519u);
  EXPECT_EQ(doc.ReadString(u"s", u"long", kLongReadCapacity).size(), 600u);
  EXPECT_EQ(doc.ReadString(u"s", u"missing"), u"");
  EXPECT_EQ(doc.ReadInt(u"s", u"num"), 42);
  EXPECT_EQ(doc.ReadInt(u"s", u"word", -1), 0) << "a present key without digits reads 0";
  EXPECT_EQ(doc.ReadInt(u"s", u"missing", -1), -1);
}

TEST(IniDocument, ParseKeepsValuesVerbatimAcceptsLfAndFirstDuplicateWins) {
  const IniDocument doc = IniDocument::Parse(
      u"junk\n[shizhu]\nhcxh=子午(冲) \r\nempty=\r\nhcxh=second\n[Main]\nName=x");
  EXPECT_EQ(doc.ReadString(u"shizhu", u"hcxh"), u"子午(冲) ");
  ASSERT_NE(doc.Find(u"shizhu", u"empty"), nullptr);
  EXPECT_EQ(*doc.Find(u"shizhu", u"empty"), u"");
  EXPECT_EQ(doc.ReadString(u"main", u"name"), u"x") << "names match case-insensitively";
  EXPECT_EQ(doc.sections().size(), 2u);
}

TEST(IniDocument, LargeSectionsAndCopiesFindEveryKey) {
  IniDocument doc;
  for (int year = 1990; year < 2080; ++year)
    doc.Set(u"liunianhcxh", Num(year) + u"sybl", Num(year));
  doc.Set(u"liunianhcxh", u"1990SYBL", u"rewritten");
  IniDocument copy = doc;
  doc.Set(u"liunianhcxh", u"1991sybl", u"changed after the copy");
  for (const IniDocument* d : {&doc, &copy}) {
    EXPECT_EQ(d->ReadString(u"liunianhcxh", u"1990sybl"), u"rewritten");
    EXPECT_EQ(d->ReadString(u"LIUNIANHCXH", u"2079sybl"), u"2079");
    EXPECT_EQ(d->FindSection(u"liunianhcxh")->entries().size(), 90u);
  }
  EXPECT_EQ(copy.ReadString(u"liunianhcxh", u"1991sybl"), u"1991");
  const IniDocument parsed =
      IniDocument::Parse(doc.Serialize() + u"[liunianhcxh]\r\n2000sybl=x\r\n");
  EXPECT_EQ(parsed.ReadString(u"liunianhcxh", u"2000sybl"), u"2000") << "first of duplicate keys";
}

TEST(IniDocument, OnlyTheFirstSectionOfANameIsRead) {
  struct Case {
    const char* what;
    Text text;
    Text name;
    Text group;
  };
  const Case cases[] = {
      {"second main adds a key", u"[main]\nclass=甲\n[main]\nname=乙\n", u"", u"甲"},
      {"second main repeats a key", u"[main]\nname=甲\n[x]\n[MAIN]\nname=乙\n", u"甲", u""},
      {"only the second has keys", u"[main]\n[main]\nname=乙\nclass=丙\n", u"", u""},
  };
  for (const Case& c : cases) {
    const IniDocument doc = IniDocument::Parse(c.text);
    EXPECT_EQ(ToUtf8(doc.ReadString(u"main", u"name")), ToUtf8(c.name)) << c.what;
    EXPECT_EQ(ToUtf8(doc.ReadString(u"main", u"class")), ToUtf8(c.group)) << c.what;
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Serialize(), doc.Serialize()) << c.what;
  }
}

}  // namespace
}  // namespace xuanshu
