#include "record/ini_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "record/cpu_features.h"
#include "record/key_index.h"
#include "record/text_store.h"
#include "record/utf8_encode.h"
#include "record/utf8_encode_x86.h"
#include "record/utf8_validation.h"

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

TEST(IniDocument, ParseEndsLinesAtEveryLineEndWhereverItStands) {
  // Characters whose UTF-16 units hold the bytes of CR or LF, none a line end.
  const Text filler = u"\u0D0D\u0A0A\u010D\uFF0A\u0A00甲";
  struct Case {
    const char* what;
    Text lineEnd;
  };
  const Case cases[] = {{"CR LF", u"\r\n"}, {"LF", u"\n"}, {"CR", u"\r"}, {"LF CR", u"\n\r"}};
  for (const Case& c : cases) {
    // Values of 0 to 11 characters put the line end in every place of a
    // four-character word; the last line has no line end.
    Text text = u"[s]" + c.lineEnd;
    std::vector<Text> values;
    for (std::size_t length = 0; length < 12; ++length) {
      Text value;
      for (std::size_t i = 0; i < length; ++i) value += filler[(i + length) % filler.size()];
      values.push_back(value);
      text += u"k" + Num(static_cast<long long>(length)) + u"=" + value;
      if (length + 1 < 12) text += c.lineEnd;
    }
    const IniDocument doc = IniDocument::Parse(text);
    const IniDocument::Section* section = doc.FindSection(u"s");
    ASSERT_NE(section, nullptr) << c.what;
    ASSERT_EQ(section->entries().size(), values.size()) << c.what;
    for (std::size_t length = 0; length < values.size(); ++length) {
      EXPECT_EQ(ToUtf8(section->entries()[length].value), ToUtf8(values[length]))
          << c.what << ", value of " << length << " characters";
    }
  }
}

TEST(IniDocument, LargeSectionsAndCopiesFindEveryKey) {
  IniDocument doc;
  // Keys added without a lookup, set, then added again once the index was
  // brought up to date by the rewrite: every one is found.
  IniDocument::SectionWriter rows = doc.WriterFor(u"liunianhcxh");
  for (int year = 1990; year < 2030; ++year) rows.Add(Num(year) + u"sybl", Num(year));
  for (int year = 2030; year < 2050; ++year)
    doc.Set(u"liunianhcxh", Num(year) + u"sybl", Num(year));
  for (int year = 2050; year < 2080; ++year) rows.Add(Num(year) + u"sybl", Num(year));
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

TEST(IniDocument, ParsedSectionsOfEverySizeKeepTheFirstOfDuplicateKeys) {
  for (int count : {1, 8, 9, 40, 600}) {
    // Keys k0..k<count-1>, each followed by a later duplicate in upper case
    // and, for the last key, one in a section of the same name further on.
    Text text = u"[s]\r\n";
    for (int i = 0; i < count; ++i) {
      text += u"k" + Num(i) + u"=v" + Num(i) + u"\r\n";
      if (i % 3 == 0) text += u"K" + Num(i / 2) + u"=duplicate\r\n";
    }
    text += u"[t]\r\nk0=t\r\n[S]\r\nk" + Num(count - 1) + u"=later section\r\n";
    IniDocument doc = IniDocument::Parse(text);
    const std::string what = "section of " + std::to_string(count);
    const IniDocument::Section* section = doc.FindSection(u"s");
    ASSERT_NE(section, nullptr) << what;
    ASSERT_EQ(section->entries().size(), static_cast<std::size_t>(count)) << what;
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(section->entries()[i].key, u"k" + Num(i)) << what << ": in order";
      EXPECT_EQ(doc.ReadString(u"s", u"K" + Num(i)), u"v" + Num(i)) << what << ": first wins";
    }
    EXPECT_EQ(doc.ReadString(u"t", u"k0"), u"t") << what;
    // The index stays right for writes after the parse.
    doc.Set(u"s", u"K0", u"rewritten");
    doc.Set(u"s", u"new", u"added");
    EXPECT_EQ(doc.ReadString(u"s", u"k0"), u"rewritten") << what;
    EXPECT_EQ(doc.ReadString(u"s", u"NEW"), u"added") << what;
    EXPECT_EQ(doc.FindSection(u"s")->entries().size(), static_cast<std::size_t>(count) + 1) << what;
  }
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

TEST(KeyIndex, FindsEveryKeyAtItsPositionAsTheSectionGrows) {
  // Past the scan limit the index becomes a table, and grows again later.
  std::vector<Text> names;
  std::vector<IniEntry> entries;
  KeyIndex index;
  for (int n = 0; n < 300; ++n) names.push_back(u"key" + Num(n));
  for (const Text& name : names) {
    entries.push_back({name, {}});
    index.Added(entries, KeyIndex::HashOf(name));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      ASSERT_EQ(index.Find(names[i], entries), i) << "after " << entries.size() << " keys";
    }
    ASSERT_EQ(index.Find(u"key" + Num(static_cast<long long>(entries.size())), entries),
              KeyIndex::kNotFound)
        << "a key not added yet, after " << entries.size() << " keys";
  }
  index.Clear();
  entries.clear();
  EXPECT_EQ(index.Find(u"key0", entries), KeyIndex::kNotFound) << "after Clear";
  entries.push_back({u"KEY7", {}});
  index.Added(entries, KeyIndex::HashOf(u"KEY7"));
  EXPECT_EQ(index.Find(u"key7", entries), 0u) << "refilled after Clear";
}

TEST(KeyIndex, NamesMatchWithoutCaseInAsciiOnly) {
  struct Case {
    const char* what;
    TextView a, b;
    bool same;
  };
  const Case cases[] = {
      {"equal", u"shizhu", u"shizhu", true},
      {"ASCII case", u"ShiZhuTKDC", u"shizhutkdc", true},
      {"digits and case", u"1990SYBL", u"1990sybl", true},
      {"different length", u"age1", u"age10", false},
      {"different letter", u"yearcg", u"yearcf", false},
      {"Chinese equal", u"日干", u"日干", true},
      {"Chinese differs", u"比肩", u"劫财", false},
      {"non-ASCII letters keep their case", u"Ä", u"ä", false},
      {"bracket is no letter", u"[", u"{", false},
      {"empty", u"", u"", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameName(c.a, c.b), c.same) << c.what;
    if (c.same) EXPECT_EQ(KeyIndex::HashOf(c.a), KeyIndex::HashOf(c.b)) << c.what;
  }
}

TEST(TextStore, ViewsStayValidAndUnchangedUntilClear) {
  TextStore store;
  std::vector<Text> originals;
  std::vector<TextView> kept;
  // Enough text for several blocks, with one piece larger than any block.
  for (int n = 0; n < 3000; ++n) originals.push_back(u"值" + Num(n) + Text(n % 17, u'字'));
  originals.push_back(Text(100000, u'长'));
  for (const Text& text : originals) kept.push_back(store.Keep(text));
  for (std::size_t i = 0; i < originals.size(); ++i) {
    ASSERT_EQ(kept[i], originals[i]) << "piece " << i;
    ASSERT_NE(kept[i].data(), originals[i].data()) << "piece " << i << " is a copy";
  }
  EXPECT_TRUE(store.Keep(u"").empty());
  store.Clear();
  EXPECT_EQ(store.Keep(u"再来"), u"再来") << "filled again after Clear";
}

TEST(IniDocument, AClearedDocumentFilledAgainEqualsAFreshOne) {
  const auto fill = [](IniDocument& doc, int round) {
    for (int s = 0; s < 6; ++s) {
      const Text section = u"section" + Num((s + round) % 6);
      // Half of the sections are written without lookups.
      IniDocument::SectionWriter writer = doc.WriterFor(section);
      for (int k = 0; k < 40 * (s + 1); ++k) {
        if (s % 2 == 0) doc.Set(section, u"key" + Num(k), Num(k * round));
        if (s % 2 == 1) writer.Add(u"key" + Num(k), Num(k * round));
      }
    }
    doc.Set(u"section0", u"KEY3", u"rewritten");
  };
  IniDocument reused;
  for (int round = 1; round <= 3; ++round) {
    reused.Clear();
    fill(reused, round);
    IniDocument fresh;
    fill(fresh, round);
    EXPECT_EQ(reused.Serialize(), fresh.Serialize()) << "round " << round;
    EXPECT_EQ(reused.ReadString(u"section0", u"key3"), u"rewritten") << "round " << round;
    // The sixth section written has 240 keys, the first 40.
    const Text largest = u"section" + Num((5 + round) % 6);
    const Text smallest = u"section" + Num(round % 6);
    EXPECT_EQ(reused.ReadString(largest, u"key239"), Num(239 * round)) << "round " << round;
    EXPECT_EQ(reused.Find(smallest, u"key40"), nullptr) << "round " << round;
  }
}

TEST(IniDocument, AViewReadStaysUnchangedWhenTheKeyIsRewritten) {
  IniDocument doc;
  doc.Set(u"yunqian", u"liunian", u"甲子/乙丑/");
  const TextView before = doc.ReadView(u"yunqian", u"liunian");
  for (int n = 0; n < 1000; ++n) doc.Set(u"yunqian", u"k" + Num(n), Text(50, u'字'));
  doc.Set(u"yunqian", u"liunian", u"丙寅/");
  EXPECT_EQ(before, u"甲子/乙丑/");
  EXPECT_EQ(doc.ReadView(u"yunqian", u"liunian"), u"丙寅/");
  EXPECT_EQ(doc.ReadView(u"yunqian", u"liunian", 3), u"丙寅") << "cut to capacity - 1";
  EXPECT_EQ(doc.ReadView(u"yunqian", u"liunian", 0), u"") << "no room at all";
}

// Random UTF-16 of every kind the encoders tell apart: ASCII, two and three
// bytes, the edges between them, surrogate pairs and unpaired surrogates.
// `kinds` limits the draw to the first kinds, so that some texts are long
// runs of ASCII, or of ASCII and Chinese, like a record.
Text RandomUtf16(std::mt19937& random, std::size_t length, int kinds) {
  static constexpr char16_t kEdges[] = {0x0000, 0x007F, 0x0080, 0x07FF, 0x0800,
                                        0xD7FF, 0xE000, 0xFFFD, 0xFFFF};
  const auto in = [&random](unsigned low, unsigned high) {
    return static_cast<char16_t>(std::uniform_int_distribution<unsigned>(low, high)(random));
  };
  Text text;
  while (text.size() < length) {
    switch (std::uniform_int_distribution<int>(0, kinds - 1)(random)) {
      case 0:  // ASCII
        text += in(0x00, 0x7F);
        break;
      case 1:  // Chinese
        text += in(0x4E00, 0x9FFF);
        break;
      case 2:  // two bytes
        text += in(0x80, 0x7FF);
        break;
      case 3:
        text += kEdges[in(0, std::size(kEdges) - 1)];
        break;
      case 4:  // a surrogate pair
        text += in(0xD800, 0xDBFF);
        text += in(0xDC00, 0xDFFF);
        break;
      case 5:  // an unpaired high surrogate
        text += in(0xD800, 0xDBFF);
        break;
      default:  // an unpaired low surrogate
        text += in(0xDC00, 0xDFFF);
        break;
    }
  }
  text.resize(length);  // may cut a pair: an unpaired high surrogate at the end
  return text;
}

using Encoder = char* (*)(TextView, char*);

// The bytes an encoder writes for `length` units of the text from `start`.
// They stand at the end of a buffer of the exact size and are written into
// a buffer of exactly the room the contract gives, so that a read or write
// past either shows under AddressSanitizer.
std::string Encoded(Encoder encode, TextView text, std::size_t start, std::size_t length) {
  const std::vector<char16_t> units(text.begin(), text.begin() + start + length);
  std::vector<char> room(length * kMaxUtf8BytesPerUnit);
  char* const end = encode(TextView(units.data() + start, length), room.data());
  return std::string(room.data(), end);
}

std::string Encoded(Encoder encode, TextView text) {
  return Encoded(encode, text, 0, text.size());
}

// WriteUtf8, and the encoders it chooses from that this processor has.
std::vector<std::pair<const char*, Encoder>> EncodersToCompare() {
  std::vector<std::pair<const char*, Encoder>> encoders = {{"WriteUtf8", &WriteUtf8}};
#if defined(__x86_64__)
  if (HasSsse3()) encoders.emplace_back("WriteUtf8Ssse3", &WriteUtf8Ssse3);
#endif
  return encoders;
}

TEST(IniDocument, SerializeUtf8IsTheUtf8OfTheText) {
  struct Case {
    const char* what;
    Text value;
    std::string bytes;
  };
  const Case cases[] = {
      {"ASCII", u"1990", "1990"},
      {"two bytes", u"\u00E9", "\xC3\xA9"},
      {"three bytes", u"中", "\xE4\xB8\xAD"},
      {"last three-byte character", u"\uFFFF", "\xEF\xBF\xBF"},
      {"surrogate pair", u"\U00020BB7", "\xF0\xA0\xAE\xB7"},
      {"lone high surrogate", Text(1, char16_t(0xD842)), "\xEF\xBF\xBD"},
      {"lone low surrogate", Text(1, char16_t(0xDFB7)), "\xEF\xBF\xBD"},
      {"high surrogate before ASCII", Text(1, char16_t(0xD842)) + u"a",
       "\xEF\xBF\xBD"
       "a"},
      {"empty", u"", ""},
  };
  std::string buffer = "left from a longer record before";
  for (const Case& c : cases) {
    IniDocument doc;
    doc.Set(u"s", u"k", c.value);
    const std::string expected = "[s]\r\nk=" + c.bytes + "\r\n";
    EXPECT_EQ(doc.SerializeUtf8(), expected) << c.what;
    EXPECT_EQ(doc.SerializeUtf8Into(buffer), expected) << c.what << ", into a used buffer";
    EXPECT_EQ(ToUtf8(c.value), c.bytes) << c.what;
  }
  // A document of many short keys and values of every kind: its bytes are
  // those of its text, one character at a time.
  std::mt19937 random(7);
  IniDocument doc;
  for (int n = 0; n < 700; ++n) {
    const auto length = static_cast<std::size_t>(n % 29);
    doc.Set(u"s" + Num(n / 100), u"key" + Num(n), RandomUtf16(random, length, 1 + n % 7));
  }
  const Text text = doc.Serialize();
  EXPECT_EQ(doc.SerializeUtf8(), Encoded(WriteUtf8Scalar, text));
  EXPECT_EQ(doc.SerializeUtf8Into(buffer), Encoded(WriteUtf8Scalar, text));
}

TEST(WriteUtf8, WritesTheBytesOfTheScalarEncoderForEveryLengthAndStart) {
  std::mt19937 random(20240611);
  std::vector<Text> texts;
  for (int kinds = 1; kinds <= 7; ++kinds) {
    for (int round = 0; round < 12; ++round) texts.push_back(RandomUtf16(random, 56, kinds));
  }
  for (const auto& [name, encode] : EncodersToCompare()) {
    for (std::size_t t = 0; t < texts.size(); ++t) {
      for (std::size_t start = 0; start < 16; ++start) {
        for (std::size_t length = 0; length <= 40; ++length) {
          ASSERT_EQ(Encoded(encode, texts[t], start, length),
                    Encoded(WriteUtf8Scalar, texts[t], start, length))
              << name << ", text " << t << ", start " << start << ", length " << length;
        }
      }
    }
    for (int kinds = 1; kinds <= 7; ++kinds) {
      const Text text = RandomUtf16(random, 5000 + kinds, kinds);
      EXPECT_EQ(Encoded(encode, text), Encoded(WriteUtf8Scalar, text))
          << name << ", long text of " << kinds << " kinds";
    }
  }
}

TEST(WriteUtf8, EncodesEachKindOfCharacterInEveryPlaceOfABlock) {
  struct Case {
    const char* what;
    Text text;
    std::string bytes;
  };
  const Case cases[] = {
      {"U+0000", Text(1, u'\0'), std::string(1, '\0')},
      {"U+007F", u"\u007F", "\x7F"},
      {"U+0080", u"\u0080", "\xC2\x80"},
      {"U+07FF", u"\u07FF", "\xDF\xBF"},
      {"U+0800", u"\u0800", "\xE0\xA0\x80"},
      {"U+FFFF", u"\uFFFF", "\xEF\xBF\xBF"},
      {"Chinese", u"字", "\xE5\xAD\x97"},
      {"surrogate pair", u"\U00020BB7", "\xF0\xA0\xAE\xB7"},
      {"lone high surrogate", Text(1, char16_t(0xDBFF)), "\xEF\xBF\xBD"},
      {"lone low surrogate", Text(1, char16_t(0xDC00)), "\xEF\xBF\xBD"},
      {"low before high", Text{char16_t(0xDC00), char16_t(0xD800)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  struct Filler {
    char16_t unit;
    std::string bytes;
  };
  const Filler fillers[] = {{u'k', "k"}, {u'字', "\xE5\xAD\x97"}};
  std::vector<std::pair<const char*, Encoder>> encoders = EncodersToCompare();
  encoders.emplace_back("WriteUtf8Scalar", &WriteUtf8Scalar);
  // In runs of ASCII and of Chinese 40 units long: at every place of the
  // first blocks of eight, a pair across two blocks.
  for (const auto& [name, encode] : encoders) {
    for (const Case& c : cases) {
      for (const Filler& filler : fillers) {
        for (std::size_t before = 0; before < 20; ++before) {
          const Text text = Text(before, filler.unit) + c.text + Text(40 - before, filler.unit);
          std::string expected;
          for (std::size_t i = 0; i < before; ++i) expected += filler.bytes;
          expected += c.bytes;
          for (std::size_t i = before; i < 40; ++i) expected += filler.bytes;
          EXPECT_EQ(Encoded(encode, text), expected)
              << name << ": " << c.what << " after " << before;
        }
      }
    }
  }
}

TEST(FromUtf8, DecodesEverySequenceWhereverItStandsInAWord) {
  struct Case {
    const char* what;
    std::string bytes;
    Text text;
  };
  const Case cases[] = {
      {"Chinese", "\xE7\x94\xB2\xE5\xAD\x90", u"甲子"},
      {"lowest of three bytes", "\xE0\xA0\x80", u"\u0800"},
      {"highest of three bytes", "\xEF\xBF\xBF", u"\uFFFF"},
      {"two bytes", "\xC3\xA9", u"é"},
      {"four bytes", "\xF0\xA0\xAE\xB7", u"\U00020BB7"},
      {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"three bytes cut by ASCII", "\xE5\xBC=", u"\uFFFD\uFFFD="},
      {"stray continuation", "\x80", u"\uFFFD"},
  };
  for (const Case& c : cases) {
    // ASCII before and after puts the sequence at every place of an
    // eight-byte word, and at the very end.
    for (std::size_t ascii = 0; ascii < 18; ++ascii) {
      const std::string before(ascii, 'k');
      const Text expected = Text(ascii, u'k') + c.text;
      EXPECT_EQ(ToUtf8(FromUtf8(before + c.bytes)), ToUtf8(expected))
          << c.what << " after " << ascii;
      EXPECT_EQ(ToUtf8(FromUtf8(before + c.bytes + "0123456789")), ToUtf8(expected + u"0123456789"))
          << c.what << " after " << ascii << ", ASCII behind";
    }
  }
}

TEST(FromValidUtf8, RefusesWhatFromUtf8Replaces) {
  struct Case {
    const char* what;
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"ASCII", "name=x", true},
      {"Chinese", "\xE5\xBC\xA0\xE4\xB8\x89", true},
      {"four bytes", "\xF0\xA0\xAE\xB7", true},
      {"cut sequence", "\xE5\xBC", false},
      {"stray continuation", "a\x80", false},
      {"overlong", "\xC0\xAF", false},
      {"encoded surrogate", "\xED\xA0\x80", false},
      {"GBK bytes", "\xD5\xC5\xC8\xFD", false},
      {"lowest two bytes", "\xC2\x80", true},
      {"overlong two bytes", "\xC1\xBF", false},
      {"lowest three bytes", "\xE0\xA0\x80", true},
      {"overlong three bytes", "\xE0\x9F\xBF", false},
      {"last before the surrogates", "\xED\x9F\xBF", true},
      {"highest code point", "\xF4\x8F\xBF\xBF", true},
      {"past the highest code point", "\xF4\x90\x80\x80", false},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
      {"lead byte F5", "\xF5\x80\x80\x80", false},
      {"cut four bytes", "\xF0\xA0\xAE", false},
      {"Chinese after a long ASCII run", "name=abcdefghijklmnop\xE5\xBC\xA0", true},
      {"bad byte after a long ASCII run", "name=abcdefghijklmnop\xFF", false},
      {"bad byte ending eight ASCII", "abcdefg\x80", false},
      {"sequence cut at the end of a long text", "abcdefghijklmnop\xE5\xBC", false},
  };
  for (const Case& c : cases) {
    const std::optional<Text> strict = FromValidUtf8(c.bytes);
    EXPECT_EQ(strict.has_value(), c.valid) << c.what;
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.what;
    if (strict) EXPECT_EQ(*strict, FromUtf8(c.bytes)) << c.what;
    if (!c.valid) {
      EXPECT_NE(FromUtf8(c.bytes).find(u'\uFFFD'), Text::npos) << c.what << " is replaced";
    }
    // Every place in and across the sixteen-byte blocks of the vector check,
    // behind ASCII and behind Chinese, at the end and followed by more text.
    for (const std::string& before : {std::string(), std::string("\xE5\xBC\xA0")}) {
      for (std::size_t offset = 0; offset <= 34; ++offset) {
        std::string text = before;
        while (text.size() < offset) text += 'a';
        text += c.bytes;
        EXPECT_EQ(IsValidUtf8(text), c.valid) << c.what << " at " << offset;
        EXPECT_EQ(IsValidUtf8(text + "\xE4\xB8\x89x"), c.valid) << c.what << " at " << offset;
      }
    }
  }
}

// Random bytes made mostly of sequences, some broken, checked with the
// vector and the byte-at-a-time checks and with the strict decoder.
TEST(IsValidUtf8, AgreesWithTheStrictDecoder) {
  const std::string pieces[] = {
      "a", "\r\n", "\xE5\xBC\xA0", "\xC2\x80", "\xF0\xA0\xAE\xB7", "\xED\x9F\xBF", "\xEF\xBF\xBF"};
  std::mt19937 random(1234);
  int invalid = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
    if (!text.empty() && random() % 2 == 0) {
      text[random() % text.size()] = static_cast<char>(random() % 256);
    }
    const bool valid = FromValidUtf8(text).has_value();
    invalid += valid ? 0 : 1;
    ASSERT_EQ(IsValidUtf8(text), valid) << testing::PrintToString(text);
    ASSERT_EQ(IsValidUtf8Scalar(text), valid) << testing::PrintToString(text);
  }
  EXPECT_GT(invalid, 2000);
}

TEST(Numbers, AreWrittenAsDecimalDigitsForEveryValue) {
  const long long values[] = {0, 7, -7, 10, 1990, -100, 12345, 1LL << 40, LLONG_MAX, LLONG_MIN};
  NumberedKey key;
  for (long long v : values) {
    const std::string expected = std::to_string(v);
    EXPECT_EQ(ToUtf8(Num(v)), expected);
    Text appended = u"年";
    AppendNum(appended, v);
    EXPECT_EQ(ToUtf8(appended), "年" + expected);
    EXPECT_EQ(ToUtf8(key(u"age", v)), "age" + expected);
  }
}

}  // namespace
}  // namespace xuanshu
