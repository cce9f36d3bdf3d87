// The chart as JSON: the schema in docs/chart.schema.json against hundreds
// of computed charts and hostile records, a golden document, the values
// against the record and the additional pillars against lunar-javascript.
#include "report/chart_json.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "calendar/cycle_names.h"
#include "calendar/lunar_calendar.h"
#include "engine/chart_engine.h"
#include "json_schema_validator.h"
#include "report/chart_json_values.h"
#include "report_test_support.h"
#include "test_support.h"

namespace xuanshu::testing {
namespace {

using Json = nlohmann::json;

const JsonSchemaValidator& ChartSchema() {
  static const JsonSchemaValidator schema(Json::parse(
      ReadFileBytes(std::filesystem::path(XUANSHU_SOURCE_DIR) / "docs" / "chart.schema.json")));
  return schema;
}

std::string Joined(const std::vector<std::string>& problems) {
  std::string out;
  for (const std::string& p : problems) out += p + "\n";
  return out;
}

// The document of a record, parsed strictly (invalid UTF-8 or JSON throws).
Json Parsed(const IniDocument& record) {
  return Json::parse(ChartJson(record));
}

std::string S(const Json& value) {
  return value.is_string() ? value.get<std::string>() : value.dump();
}

// --- the validator itself ---

TEST(JsonSchemaValidator, FailsWhereTheSchemaSaysNo) {
  const JsonSchemaValidator schema(Json::parse(R"({
    "type": "object",
    "properties": {
      "name": {"type": "string", "maxLength": 2},
      "kind": {"enum": ["a", "b"]},
      "version": {"const": 1},
      "count": {"$ref": "#/$defs/small"},
      "maybe": {"anyOf": [{"type": "null"}, {"type": "integer"}]},
      "list": {"type": "array", "items": {"type": "integer"}, "minItems": 1, "maxItems": 2}
    },
    "required": ["name"],
    "additionalProperties": false,
    "$defs": {"small": {"type": "integer", "minimum": 0, "maximum": 9}}
  })"));
  struct Case {
    const char* document;
    bool valid;
  };
  const Case cases[] = {
      {R"({"name": "甲子"})", true},
      {R"({"name": "甲子", "kind": "b", "version": 1, "count": 9, "maybe": null, "list": [1, 2]})",
       true},
      {R"({"name": "甲子", "count": 3.0})", true},     // an integer written with a point
      {R"({})", false},                                // required
      {R"({"name": "甲子乙"})", false},                // maxLength counts characters
      {R"({"name": 5})", false},                       // type
      {R"({"name": "a", "extra": 1})", false},         // additionalProperties
      {R"({"name": "a", "kind": "c"})", false},        // enum
      {R"({"name": "a", "version": 2})", false},       // const
      {R"({"name": "a", "count": 10})", false},        // maximum through $ref
      {R"({"name": "a", "count": -1})", false},        // minimum
      {R"({"name": "a", "count": 1.5})", false},       // not an integer
      {R"({"name": "a", "maybe": "x"})", false},       // anyOf
      {R"({"name": "a", "list": []})", false},         // minItems
      {R"({"name": "a", "list": [1, 2, 3]})", false},  // maxItems
      {R"({"name": "a", "list": [1, "2"]})", false},   // items
      {R"([])", false},                                // type of the root
  };
  for (const Case& c : cases) {
    EXPECT_EQ(schema.Accepts(Json::parse(c.document)), c.valid)
        << c.document << "\n"
        << Joined(schema.Problems(Json::parse(c.document)));
  }
}

TEST(JsonSchemaValidator, RefusesKeywordsItDoesNotCheck) {
  for (const char* rule : {R"({"pattern": "^a"})", R"({"oneOf": [true]})",
                           R"({"$ref": "#/$defs/missing"})", R"({"format": "date"})"}) {
    EXPECT_FALSE(JsonSchemaValidator(Json::parse(rule)).Accepts("a")) << rule;
  }
}

// The chart schema rejects documents that break it in the ways a careless
// change to the writer would.
TEST(ChartJson, SchemaRejectsBrokenDocuments) {
  const Json good = Parsed(LoadSample("zhaoliu"));
  ASSERT_TRUE(ChartSchema().Accepts(good)) << Joined(ChartSchema().Problems(good));
  struct Case {
    const char* what;
    std::function<void(Json&)> breakIt;
  };
  const Case cases[] = {
      {"a key missing", [](Json& d) { d["pillars"]["day"].erase("nayin"); }},
      {"a key added", [](Json& d) { d["pillars"]["day"]["element"] = "水"; }},
      {"a number as text", [](Json& d) { d["birth"]["gregorian"]["year"] = "2020"; }},
      {"ten luck pillars",
       [](Json& d) { d["luck"]["pillars"].push_back(d["luck"]["pillars"][0]); }},
      {"a score as text", [](Json& d) { d["strength"]["ten_gods"][0]["score"] = "5"; }},
      {"a three-character void", [](Json& d) { d["pillars"]["year"]["void"] = "申酉戌"; }},
      {"choices neither null nor complete",
       [](Json& d) { d["birth"]["choices"] = Json::object(); }},
      {"another format version", [](Json& d) { d["format_version"] = 2; }},
      {"a year before luck without age", [](Json& d) { d["years_before_luck"][0].erase("age"); }},
      {"a clash year as text", [](Json& d) { d["clash_years"]["natal"][0] = "2026"; }},
  };
  for (const Case& c : cases) {
    Json broken = good;
    c.breakIt(broken);
    EXPECT_FALSE(ChartSchema().Accepts(broken)) << c.what;
  }
}

// --- value shapes ---

TEST(ChartJsonValues, NumbersAreNumbersOnlyWhenTheRecordWritesOne) {
  struct Case {
    TextView text;
    const char* json;
  };
  const Case cases[] = {
      {u"1984", "1984"},
      {u"-12", "-12"},
      {u"0", "0"},
      {u"007", "7"},
      {u"22.5", "22.5"},
      {u"-0.5", "-0.5"},
      {u"999999999999999999", "999999999999999999"},  // 18 digits
      {u"9999999999999999999", "null"},               // 19 digits
      {u"", "null"},
      {u"-", "null"},
      {u"+5", "null"},
      {u" 5", "null"},
      {u"5 ", "null"},
      {u"1.", "null"},
      {u".5", "null"},
      {u"1.2.3", "null"},
      {u"1e5", "null"},
      {u"１９８４", "null"},
      {u"12abc", "null"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(chart_json::NumberOrNull(c.text).dump(), c.json) << ToUtf8(c.text);
  }
  EXPECT_EQ(chart_json::IntegerOrNull(u"22.5").dump(), "null");
  EXPECT_EQ(chart_json::IntegerOrNull(u"-3").dump(), "-3");
}

TEST(ChartJsonValues, ListsSplitAsTheReportSplitsThem) {
  EXPECT_EQ(chart_json::YearList(u"1990/x/2050/2060").dump(), "[1990,2050]")
      << "text after the last slash is dropped, like every slash list";
  EXPECT_EQ(chart_json::SplitText(u"a、b 两子").dump(), R"({"text":"a、b","summary":"两子"})");
  EXPECT_EQ(chart_json::SplitText(u"a b c").dump(), R"({"text":"a","summary":"b c"})");
  EXPECT_EQ(chart_json::ClashList(u"丙午（2026） 庚午（1990，2050）").dump(),
            R"([{"pillar":"丙午","years":[2026]},{"pillar":"庚午","years":[1990,2050]}])");
  EXPECT_EQ(chart_json::ClashList(u"  ").dump(), "[]");
  EXPECT_EQ(chart_json::HiddenStems(u"丁　正财/己/").dump(),
            R"([{"stem":"丁","ten_god":"正财"},{"stem":"己","ten_god":""}])");
}

// --- documents of real charts ---

// zhaoliu: 农历 2020 闰四月初十 23:10 at 乌鲁木齐 (true solar time 21:02),
// astronomical terms, the same-day 子 school; one warning.
TEST(ChartJson, GoldenDocument) {
  const std::string document = ChartJson(LoadSample("zhaoliu"));
  EXPECT_EQ(document, ReadFileBytes(ReportDataDir() / "zhaoliu.json"));
  EXPECT_TRUE(ChartSchema().Accepts(Json::parse(document)));
}

// Walks two documents of the same shape side by side; `check` sees each pair
// of strings with its path.
void ForEachStringPair(
    const Json& a, const Json& b, const std::string& path,
    const std::function<void(const std::string&, const std::string&, const std::string&)>& check) {
  ASSERT_EQ(a.type(), b.type()) << path;
  if (a.is_string()) {
    check(path, a.get<std::string>(), b.get<std::string>());
  } else if (a.is_object()) {
    ASSERT_EQ(a.size(), b.size()) << path;
    for (const auto& [key, value] : a.items())
      ForEachStringPair(value, b.at(key), path + "/" + key, check);
  } else if (a.is_array()) {
    ASSERT_EQ(a.size(), b.size()) << path;
    for (std::size_t i = 0; i < a.size(); ++i)
      ForEachStringPair(a[i], b[i], path + "/" + std::to_string(i), check);
  } else {
    EXPECT_EQ(a, b) << path;
  }
}

// In Traditional the document keeps its shape and numbers; each text of the
// program is its Simplified text in its reviewed form, and the user's own
// texts (name, group, a typed birthplace) stay as they are.
TEST(ChartJson, TraditionalGivesTheProgramsTextsInTheirReviewedForm) {
  IniDocument typedPlace = LoadSample("zhangsan");
  typedPlace.Set(u"main", u"name", u"陈发财");
  typedPlace.Set(u"main", u"class", u"亲戚");
  typedPlace.Set(u"chusheng", u"didian", u"火星基地后山");
  typedPlace.Set(u"chusheng", u"jingdu", u"87.6");
  IniDocument tablePlace = typedPlace;
  tablePlace.Set(u"chusheng", u"didian", u"乌鲁木齐（新疆）");
  const std::pair<const char*, IniDocument> cases[] = {{"zhaoliu", LoadSample("zhaoliu")},
                                                       {"lisi", LoadSample("lisi")},
                                                       {"typed place", typedPlace},
                                                       {"place of the table", tablePlace}};
  for (const auto& [label, record] : cases) {
    const Json simplified = Json::parse(ChartJson(record));
    const Json traditional = Json::parse(ChartJson(record, Script::kTraditional));
    EXPECT_TRUE(ChartSchema().Accepts(traditional)) << label;
    std::size_t changed = 0;
    ForEachStringPair(simplified, traditional, "",
                      [&](const std::string& path, const std::string& s, const std::string& t) {
                        const bool userText =
                            path == "/name" || path == "/group" ||
                            (path == "/birth/choices/place" && s == "火星基地后山");
                        const std::string expected =
                            userText ? s : ToUtf8(InScript(FromUtf8(s), Script::kTraditional));
                        EXPECT_EQ(t, expected) << label << " " << path;
                        changed += s != t;
                      });
    EXPECT_GT(changed, 20u) << label << ": not converted";
  }
  const Json t = Json::parse(ChartJson(tablePlace, Script::kTraditional));
  EXPECT_EQ(S(t["name"]), "陈发财");
  EXPECT_EQ(S(t["group"]), "亲戚");
  EXPECT_EQ(S(t["birth"]["choices"]["place"]), "烏魯木齊（新疆）");
  EXPECT_EQ(S(t["pillars"]["day"]["ten_god"]), "日主");
  EXPECT_EQ(S(t["strength"]["groups"][2]["name"]), "比劫");
  EXPECT_EQ(S(t["birth"]["gregorian"]["text"]), "1990年05月17日14時30分");
  EXPECT_EQ(ChartJson(LoadSample("zhaoliu"), Script::kSimplified), ChartJson(LoadSample("zhaoliu")))
      << "Simplified is the default";
}

// What a document holds, checked against its record key by key.
TEST(ChartJson, GivesTheRecordsValues) {
  for (const char* sample : {"zhangsan", "lisi", "wangli", "zhaoliu"}) {
    const IniDocument record = LoadSample(sample);
    const Json d = Parsed(record);
    const auto read = [&](TextView section, TextView key) {
      return ToUtf8(record.ReadString(section, key));
    };
    EXPECT_EQ(S(d["name"]), read(u"main", u"name")) << sample;
    EXPECT_EQ(S(d["sex"]), read(u"main", u"sex")) << sample;
    EXPECT_EQ(S(d["birth"]["gregorian"]["minute"]), read(u"gongli", u"minute")) << sample;
    EXPECT_EQ(d["birth"]["lunar"]["leap"], read(u"nongli", u"leep") == "1") << sample;
    EXPECT_EQ(S(d["terms"]["after"]["name"]) + " " + S(d["terms"]["after"]["year"]),
              read(u"jieqi", u"after").substr(0, 11))
        << sample;
    EXPECT_EQ(S(d["pillars"]["month"]["pillar"]), read(u"shizhu", u"month")) << sample;
    EXPECT_EQ(S(d["pillars"]["day"]["ten_god"]), "日主") << sample;
    std::string hidden;
    for (const Json& h : d["pillars"]["day"]["hidden_stems"]) {
      hidden += S(h["stem"]) + "　" + S(h["ten_god"]) + "/";
    }
    EXPECT_EQ(hidden, read(u"shizhu", u"daycg")) << sample;
    EXPECT_EQ(S(d["void"]), read(u"shizhu", u"kongwan")) << sample;
    EXPECT_EQ(S(d["pillars"]["day"]["void"]), read(u"shizhu", u"kongwan"))
        << sample << ": the day pillar's own void is the chart's";
    EXPECT_EQ(S(d["strength"]["verdict"]), read(u"fenshu", u"rizhufenshu")) << sample;
    EXPECT_EQ(S(d["strength"]["same_side"]), read(u"fenshu", u"tongdang")) << sample;
    EXPECT_EQ(S(d["strength"]["groups"][2]["name"]), "比劫") << sample;
    EXPECT_EQ(S(d["useful_element"]), read(u"shizhu", u"yongshen")) << sample;
    EXPECT_EQ(S(d["health_check"][9]["count"]), read(u"tijian", u"keyfenshu10")) << sample;
    EXPECT_EQ(S(d["luck"]["start"]["month"]), read(u"dayun", u"monthBegin")) << sample;
    std::string luck;
    for (const Json& p : d["luck"]["pillars"]) luck += S(p["pillar"]) + "/";
    EXPECT_EQ(luck, read(u"minbiao", u"dayun")) << sample;
    EXPECT_EQ(S(d["luck"]["pillars"][8]["age"]), read(u"liunian", u"age9")) << sample;
    EXPECT_EQ(S(d["luck"]["pillars"][8]["last_year"]), read(u"liunian", u"yearEnd9")) << sample;
    const Json& year = d["annual_years"][13];
    const std::string key = S(year["year"]);
    EXPECT_EQ(S(year["pillar"]) + " " + S(year["month_stems"]) +
                  (S(year["relations"]).empty() ? "" : " " + S(year["relations"])),
              read(u"liunianhcxh", FromUtf8(key)))
        << sample << " " << key;
    EXPECT_EQ(S(year["stem_relations"]), read(u"liunianhcxh", FromUtf8(key + "tgkh"))) << sample;
    std::string natalClashYears;
    for (const Json& y : d["clash_years"]["natal"]) natalClashYears += S(y) + "/";
    EXPECT_EQ(natalClashYears, read(u"ALLTKDC", u"sztkdc")) << sample;
  }
}

// lisi's hour pillar 庚子 has the clash list 甲午（2014，2074） 丙午（2026）.
TEST(ChartJson, SplitsClashListsAndRelationTexts) {
  const Json d = Parsed(LoadSample("lisi"));
  EXPECT_EQ(d["pillars"]["hour"]["clashes"], Json::parse(R"([
      {"pillar": "甲午", "years": [2014, 2074]}, {"pillar": "丙午", "years": [2026]}])"));
  EXPECT_EQ(d["natal_relations"]["branches"],
            Json::parse(R"j({"text": "子午(冲)、子午(冲)、子午(冲)", "summary": "三子冲一午"})j"));
  EXPECT_EQ(d["natal_relations"]["stems"]["summary"], "") << "a trailing space, no summary";
  EXPECT_EQ(d["years_before_luck"], Json::parse(R"([{"year": 1984, "age": 1, "pillar": "甲子"},
      {"year": 1985, "age": 2, "pillar": "乙丑"}, {"year": 1986, "age": 3, "pillar": "丙寅"}])"));
  EXPECT_EQ(d["birth"]["choices"], nullptr) << "computed with the defaults";
  EXPECT_EQ(d["additional_pillars"]["life_palace"],
            Json::parse(R"({"pillar": "己巳", "nayin": "大林木"})"));
}

// --- many charts ---

struct Lcg {
  unsigned long long state;
  int operator()(int n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % static_cast<unsigned long long>(n));
  }
};

BirthChoices ChoicesNumber(int n) {
  BirthChoiceTexts texts;
  switch (n % 5) {
    case 1:
      texts.terms = u"astronomical";
      break;
    case 2:
      texts.zi = u"same-day";
      break;
    case 3:
      texts.place = u"乌鲁木齐";
      texts.terms = u"astronomical";
      break;
    case 4:
      texts.place = u"-74.006";
      texts.utcOffset = u"-05:00";
      texts.zi = u"same-day";
      break;
    default:
      break;
  }
  return std::get<BirthChoices>(ResolveBirthChoices(texts));
}

// Births across 1901-2048: both sexes, both calendars, leap months, the
// late 子 hour, and every kind of birth-moment choice.
std::vector<ChartRequest> VariedBirths(int count) {
  Lcg random{20261313};
  std::vector<ChartRequest> births;
  for (int i = 0; i < count; ++i) {
    ChartRequest r;
    r.name = u"测试" + Num(i);
    r.group = u"其他";
    r.male = i % 2 == 0;
    r.year = 1901 + random(148);
    r.hour = random(24);
    r.minute = random(60);
    switch (i % 6) {
      case 3:  // an ordinary lunar date
        r.gregorian = false;
        r.month = 1 + random(12);
        r.day = 1 + random(29);
        break;
      case 4:  // a day of a leap month
        r.gregorian = false;
        while (LeapMonthOf(r.year) == 0) r.year = 1901 + random(148);
        r.month = LeapMonthOf(r.year);
        r.leapMonth = true;
        r.day = 1 + random(LeapMonthDays(r.year));
        break;
      case 5:  // the late 子 hour
        r.hour = 23;
        [[fallthrough]];
      default:
        r.month = 1 + random(12);
        r.day = 1 + random(28);
    }
    r.choices = ChoicesNumber(i);
    births.push_back(r);
  }
  return births;
}

void ExpectRealPillar(const Json& pillar, const std::string& what) {
  const Text text = FromUtf8(S(pillar["pillar"]));
  EXPECT_TRUE(CycleIndex(text).has_value()) << what;
  EXPECT_EQ(S(pillar["nayin"]), ToUtf8(NaYinOf(text))) << what;
}

TEST(ChartJson, HundredsOfChartsFollowTheSchema) {
  int charts = 0, leap = 0, lateZi = 0, withChoices = 0;
  ChartEngine engine;
  for (const ChartRequest& request : VariedBirths(360)) {
    const std::string what = ToUtf8(request.name) + " " + std::to_string(request.year) + "-" +
                             std::to_string(request.month) + "-" + std::to_string(request.day) +
                             " " + std::to_string(request.hour);
    ChartRecord record;
    ASSERT_TRUE(ComputeChartRecord(engine, request, record)) << what;
    const Json d = Parsed(record);
    const std::vector<std::string> problems = ChartSchema().Problems(d);
    ASSERT_TRUE(problems.empty()) << what << "\n" << Joined(problems);
    ++charts;
    leap += request.leapMonth;
    lateZi += request.hour == 23;
    withChoices += !request.choices.IsDefault();

    EXPECT_EQ(d["birth"]["choices"].is_null(), request.choices.IsDefault()) << what;
    for (const char* p : {"year", "month", "day", "hour"}) {
      ExpectRealPillar(d["pillars"][p], what + " " + p);
      EXPECT_EQ(S(d["pillars"][p]["xun"]).substr(0, 3), "甲") << what;
    }
    for (const char* p : {"conception", "embryo_breath", "life_palace", "body_palace"}) {
      ExpectRealPillar(d["additional_pillars"][p], what + " " + p);
    }
    EXPECT_EQ(d["void"], d["pillars"]["day"]["void"]) << what;
    if (request.leapMonth && request.hour < 23 && request.choices.IsDefault()) {
      EXPECT_TRUE(d["birth"]["lunar"]["leap"].get<bool>()) << what;
    }

    // Nine luck pillars of ten years; the annual years run on from the
    // years before luck, each year's pillar the one in its luck column.
    const Json& luck = d["luck"]["pillars"];
    ASSERT_EQ(luck.size(), 9u) << what;
    const Json& years = d["annual_years"];
    ASSERT_EQ(years.size(), 90u) << what;
    const Json& before = d["years_before_luck"];
    const long long birthYear =
        before.empty() ? years[0]["year"].get<long long>() : before[0]["year"].get<long long>();
    EXPECT_EQ(birthYear + static_cast<long long>(before.size()), years[0]["year"]) << what;
    for (std::size_t y = 0; y < years.size(); ++y) {
      EXPECT_EQ(years[y]["year"], years[0]["year"].get<long long>() + static_cast<long long>(y));
      EXPECT_EQ(years[y]["age"], years[y]["year"].get<long long>() - birthYear + 1) << what;
      EXPECT_EQ(years[y]["pillar"], luck[y / 10]["annual_pillars"][y % 10]) << what;
    }
    for (std::size_t n = 0; n < luck.size(); ++n) {
      EXPECT_EQ(luck[n]["first_year"], years[10 * n]["year"]) << what;
      EXPECT_EQ(luck[n]["age"], years[10 * n]["age"]) << what;
      ExpectRealPillar(luck[n], what + " luck");
    }
  }
  EXPECT_EQ(charts, 360);
  EXPECT_GE(leap, 50);
  EXPECT_GE(lateZi, 50);
  EXPECT_GE(withChoices, 250);
}

// lunar-javascript's 纳音, 旬, 胎元, 胎息, 命宫 and 身宫 (tests/engine/data),
// reached through the whole chart: computed with the astronomical terms in
// its 子 school, written to a record, exported.
TEST(ChartJson, AdditionalPillarsAgreeWithLunarJavascript) {
  std::ifstream in(std::filesystem::path(XUANSHU_SOURCE_DIR) / "tests" / "engine" / "data" /
                   "lunar_javascript_extras.tsv");
  std::string line;
  int rows = 0;
  ChartEngine engine;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.starts_with("year")) continue;
    std::istringstream fields(line);
    ChartRequest request;
    int sect = 0;
    fields >> request.year >> request.month >> request.day >> request.hour >> request.minute >>
        sect;
    std::string expected[20];
    for (std::string& field : expected) fields >> field;
    ASSERT_TRUE(fields) << line;
    request.name = u"对照";
    request.choices = std::get<BirthChoices>(ResolveBirthChoices(
        {.terms = u"astronomical", .zi = sect == 2 ? u"same-day" : u"next-day"}));
    ChartRecord record;
    ASSERT_TRUE(ComputeChartRecord(engine, request, record)) << line;
    const Json d = Parsed(record);
    const char* positions[] = {"year", "month", "day", "hour"};
    const char* extras[] = {"conception", "embryo_breath", "life_palace", "body_palace"};
    for (int i = 0; i < 4; ++i) {
      const Json& p = d["pillars"][positions[i]];
      EXPECT_EQ(S(p["pillar"]), expected[i]) << line;
      EXPECT_EQ(S(p["nayin"]), expected[4 + i]) << line;
      EXPECT_EQ(S(p["xun"]), expected[8 + i] + "旬") << line;
      EXPECT_EQ(S(d["additional_pillars"][extras[i]]["pillar"]), expected[12 + i]) << line;
      EXPECT_EQ(S(d["additional_pillars"][extras[i]]["nayin"]), expected[16 + i]) << line;
    }
    ++rows;
  }
  EXPECT_GT(rows, 700);
}

// --- records edited by hand ---

IniDocument HostileRecord(const char* what) {
  IniDocument r = LoadSample("lisi");
  const std::string_view w = what;
  if (w == "empty") return {};
  if (w == "huge spans and counts") {
    r.Set(u"liunianhcxh", u"yearBegin", u"-999999999999999999");
    r.Set(u"liunianhcxh", u"yearEnd", u"999999999999999999");
    r.Set(u"liunian", u"count", u"2147483647");
    r.Set(u"liunian", u"age1", u"999999999999999999");
    r.Set(u"shishenfenshu", u"count", u"99999999");
    r.Set(u"tijian", u"count", u"-5");
    r.Set(u"chusheng", u"count", u"1000");
  } else if (w == "texts JSON must escape") {
    r.Set(u"main", u"name",
          Text(u"\"引号\"\\反斜杠\x01\x1b[31m\t\r\n\u009b31m\x7f") + u"😀" + u'\xD800');
    r.Set(u"shizhu", u"anhe", Text(u"</script>\u2028\x7f") + u'\xDC00' + u"末");
    r.Set(u"chusheng", u"tishi1", u"\"\\");
  } else if (w == "numbers that are not numbers") {
    r.Set(u"gongli", u"year", u"１９８４");
    r.Set(u"gongli", u"month", u"12abc");
    r.Set(u"gongli", u"day", u"-");
    r.Set(u"fenshu", u"tongdang", u"1.2.3");
    r.Set(u"fenshu", u"yidang", u"1234567890123456789012345");
    r.Set(u"dayun", u"yearAfter", u"");
    r.Set(u"ALLTKDC", u"sztkdc", u"abc/1990/ /");
  } else if (w == "texts that are no pillars") {
    r.Set(u"shizhu", u"year", u"甲丑");
    r.Set(u"shizhu", u"month", u"😀子");
    r.Set(u"shizhu", u"hour", u"");
    r.Set(u"shizhu", u"shishen", u"食");
    r.Set(u"minbiao", u"dayun", u"乙/甲戌戌/丙/丁/戊/己/庚/辛/壬/癸/甲/乙/");
    r.Set(u"ShiZhuTKDC", u"甲丑", u"（（ ）） 庚午（1990，，x，2050 甲子（");
  } else if (w == "one clash list for every pillar") {
    Text list;
    while (list.size() < 600) list += u"庚午（1990，2050） 甲 ";
    for (TextView key : {u"year", u"month", u"day", u"hour"}) r.Set(u"shizhu", key, u"甲子");
    r.Set(u"ShiZhuTKDC", u"甲子", list);
    r.Set(u"minbiao", u"dayun", u"甲子/甲子/甲子/甲子/甲子/甲子/甲子/甲子/甲子/甲子/");
    r.Set(u"DYTKDC", u"甲子", list);
    r.Set(u"dayunhcxh", u"甲子", Text(2000, u'\x01'));
  } else if (w == "long values everywhere") {
    const Text longText(5000, u'长');
    for (TextView key : {u"hcxh", u"anhe", u"tiangankehe", u"yongshen", u"year"}) {
      r.Set(u"shizhu", key, longText);
    }
    r.Set(u"liunianhcxh", u"1990tgkh", longText);
    r.Set(u"gongli", u"year", longText);
  }
  return r;
}

TEST(ChartJson, HandEditedRecordsGiveValidBoundedDocuments) {
  for (const char* what :
       {"empty", "huge spans and counts", "texts JSON must escape", "numbers that are not numbers",
        "texts that are no pillars", "long values everywhere"}) {
    const IniDocument record = HostileRecord(what);
    const std::string document = ChartJson(record);
    Json d;
    ASSERT_NO_THROW(d = Json::parse(document)) << what;
    EXPECT_TRUE(ChartSchema().Accepts(d)) << what << "\n" << Joined(ChartSchema().Problems(d));
    const std::size_t recordBytes = ToUtf8(record.Serialize()).size();
    EXPECT_LE(document.size(), 500000 + 12 * recordBytes) << what;
    EXPECT_EQ(document.find_first_of(std::string("\x01\x1b\x7f\r\t", 5)), std::string::npos)
        << what << ": control characters escaped";
    EXPECT_EQ(document.find("\xC2\x9B"), std::string::npos) << what << ": C1 controls escaped";
  }
  const Json empty = Parsed(HostileRecord("empty"));
  EXPECT_EQ(empty["terms"]["before"], nullptr);
  EXPECT_EQ(empty["birth"]["gregorian"]["year"], nullptr);
  EXPECT_TRUE(empty["annual_years"].empty());
  EXPECT_EQ(empty["additional_pillars"]["conception"]["pillar"], "");

  const Json huge = Parsed(HostileRecord("huge spans and counts"));
  EXPECT_EQ(huge["annual_years"].size(), 0u) << "no year of the clamped span has a row";
  EXPECT_LE(huge["years_before_luck"].size(), 200u);
  EXPECT_EQ(huge["strength"]["ten_gods"].size(), 21u) << "bounded by the section's keys";
  EXPECT_TRUE(huge["health_check"].empty());

  const Json escaped = Parsed(HostileRecord("texts JSON must escape"));
  EXPECT_EQ(S(escaped["name"]),
            "\"引号\"\\反斜杠\x01\x1b[31m\t\r\n\xC2\x9B"
            "31m\x7f😀\xEF\xBF\xBD")
      << "the text comes back unchanged, an unpaired surrogate as U+FFFD";

  const Json numbers = Parsed(HostileRecord("numbers that are not numbers"));
  for (const char* key : {"year", "month", "day"}) {
    EXPECT_EQ(numbers["birth"]["gregorian"][key], nullptr) << key;
  }
  EXPECT_EQ(numbers["strength"]["same_side"], nullptr);
  EXPECT_EQ(numbers["strength"]["other_side"], nullptr);
  EXPECT_EQ(numbers["luck"]["start_after"]["years"], nullptr);
  EXPECT_EQ(numbers["clash_years"]["natal"], Json::parse("[1990]"));

  const std::string shared = ChartJson(HostileRecord("one clash list for every pillar"));
  EXPECT_GT(shared.size(), 100000u) << "thirteen readings of the same long lists";
  EXPECT_LT(shared.size(), 500000u);

  const Json odd = Parsed(HostileRecord("texts that are no pillars"));
  EXPECT_EQ(odd["pillars"]["year"]["nayin"], "");
  EXPECT_EQ(odd["pillars"]["year"]["void"], "");
  EXPECT_EQ(odd["pillars"]["month"]["stem"], "\xEF\xBF\xBD") << "half a surrogate pair";
  EXPECT_EQ(odd["additional_pillars"]["life_palace"]["pillar"], "");
  EXPECT_EQ(odd["additional_pillars"]["embryo_breath"]["pillar"], "丁未") << "the day is real";
  EXPECT_EQ(odd["luck"]["pillars"].size(), 9u);
  EXPECT_EQ(odd["pillars"]["year"]["clashes"], Json::parse(R"([{"pillar": "", "years": []},
      {"pillar": "））", "years": []}, {"pillar": "庚午", "years": [1990, 2050]},
      {"pillar": "甲子", "years": []}])"));
}

}  // namespace
}  // namespace xuanshu::testing
