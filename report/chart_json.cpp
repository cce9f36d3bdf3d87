#include "report/chart_json.h"

#include <array>
#include <cstdio>

#include "calendar/cycle_names.h"
#include "calendar/ganzhi.h"
#include "calendar/places.h"
#include "calendar/term_source.h"
#include "calendar/zi_school.h"
#include "engine/birth_record.h"
#include "engine/chart_engine.h"
#include "engine/chart_extras.h"
#include "engine/pillar_tables.h"
#include "report/chart_json_values.h"
#include "report/report_format.h"
#include "report/report_operations.h"

namespace xuanshu {
namespace {

using namespace chart_json;

// Formats of the texts the report shows for a date, without its labels.
constexpr TextView kMinuteFormat = u"%04s年%02s月%02s日%02s时%02s分";
constexpr TextView kHourFormat = u"%04s年%02s月%02s日%02s时";

// The natal pillars with their record keys, in the order year, month, day, hour.
struct NatalPillarKeys {
  const char* name;
  TextView pillar;
  TextView hiddenStems;
};
constexpr std::array<NatalPillarKeys, 4> kNatalPillars = {{
    {"year", u"year", u"yearcg"},
    {"month", u"month", u"monthcg"},
    {"day", u"day", u"daycg"},
    {"hour", u"hour", u"hourcg"},
}};

// Stem and branch of a pillar text: its first and last character.
void AddStemAndBranch(Json& out, TextView pillar) {
  out["stem"] = String(StemOf(pillar));
  out["branch"] = String(pillar.size() < 2 ? TextView{} : BranchOf(pillar));
}

// A pillar derived from the natal pillars, with its 纳音.
Json DerivedPillar(TextView pillar) {
  return {{"pillar", String(pillar)}, {"nayin", String(NaYinOf(pillar))}};
}

class ChartJsonWriter {
 public:
  explicit ChartJsonWriter(const IniDocument& record) : record_(record) {}

  Json Document() {
    Json doc;
    doc["format"] = "xuanshu-chart";
    doc["format_version"] = 1;
    doc["name"] = Str(u"main", u"name");
    doc["group"] = Str(u"main", u"class");
    doc["sex"] = Str(u"main", u"sex");
    doc["birth"] = Birth();
    doc["terms"] = {{"before", Term(u"before")}, {"after", Term(u"after")}};
    doc["pillars"] = NatalPillars();
    doc["void"] = Str(u"shizhu", u"kongwan");
    doc["additional_pillars"] = AdditionalPillars();
    doc["natal_relations"] = NatalRelations();
    doc["strength"] = Strength();
    doc["useful_element"] = Str(u"shizhu", u"yongshen");
    doc["health_check"] = HealthCheck();
    doc["luck"] = Luck();
    doc["years_before_luck"] = YearsBeforeLuck();
    doc["annual_years"] = AnnualYears();
    doc["clash_years"] = {{"natal", YearList(Read(u"ALLTKDC", u"sztkdc"))},
                          {"luck", YearList(Read(u"ALLTKDC", u"dytkdc"))},
                          {"annual", YearList(Read(u"ALLTKDC", u"lntkdc"))}};
    return doc;
  }

 private:
  Text Read(TextView section, TextView key, std::size_t capacity = kReadCapacity) const {
    return record_.ReadString(section, key, capacity);
  }
  Json Str(TextView section, TextView key) const { return String(Read(section, key)); }
  Json Int(TextView section, TextView key) const { return IntegerOrNull(Read(section, key)); }

  // --- birth ---

  Json Birth() const {
    Json gregorian;
    for (const char* key : {"year", "month", "day", "hour", "minute"}) {
      gregorian[key] = Int(u"gongli", Ascii(key));
    }
    gregorian["text"] =
        String(FormatText(kMinuteFormat, {Read(u"gongli", u"year"), Read(u"gongli", u"month"),
                                          Read(u"gongli", u"day"), Read(u"gongli", u"hour"),
                                          Read(u"gongli", u"minute")}));
    Json lunar;
    for (const char* key : {"year", "month", "day", "hour"})
      lunar[key] = Int(u"nongli", Ascii(key));
    lunar["leap"] = record_.ReadInt(u"nongli", u"leep") != 0;
    lunar["text"] = String(LunarDateText(
        record_.ReadInt(u"nongli", u"year"), record_.ReadInt(u"nongli", u"month"),
        record_.ReadInt(u"nongli", u"day"), record_.ReadInt(u"nongli", u"hour"),
        record_.ReadInt(u"nongli", u"leep"), Read(kBirthSection, u"zishi") != u"same-day"));
    return {{"gregorian", gregorian}, {"lunar", lunar}, {"choices", BirthChoices()}};
  }

  // Section chusheng, present only for a chart computed with choices of its own.
  Json BirthChoices() const {
    if (!record_.HasSection(kBirthSection)) return nullptr;
    const Text termKey = Read(kBirthSection, u"jieqi");
    const Text ziKey = Read(kBirthSection, u"zishi");
    const TermSource* terms = TermSourceByKey(AsciiOf(termKey));
    const ZiSchool* school = ZiSchoolByKey(AsciiOf(ziKey));
    Json choices;
    choices["term_mode"] = String(termKey);
    choices["term_mode_text"] = String(terms ? terms->label() : TextView(termKey));
    choices["zi_school"] = String(ziKey);
    choices["zi_school_text"] =
        String(school ? Text(school->name) + Text(school->explanation) : ziKey);
    choices["place"] = Str(kBirthSection, u"didian");
    choices["longitude"] = NumberOrNull(Read(kBirthSection, u"jingdu"));
    choices["zone"] = Str(kBirthSection, u"shiqu");
    choices["daylight_saving"] = Str(kBirthSection, u"xialingshi");
    choices["true_solar_time"] = Moment(Read(kBirthSection, u"zhentaiyang"));
    Json warnings = Json::array();
    const long long count =
        BoundedCount(record_.ReadInt(kBirthSection, u"count"), record_.FindSection(kBirthSection));
    for (long long i = 1; i <= count; ++i) {
      warnings.push_back(Str(kBirthSection, u"tishi" + Num(i)));
    }
    choices["warnings"] = warnings;
    return choices;
  }

  // "YYYY:MM:DD:HH:MM" read by character position, as the report reads it;
  // null when empty.
  static Json Moment(TextView moment) {
    return moment.empty() ? Json(nullptr) : MomentFields(moment);
  }

  static Json MomentFields(TextView moment) {
    const std::array<TextView, 5> parts = {CharactersAt(moment, 0, 4), CharactersAt(moment, 5, 2),
                                           CharactersAt(moment, 8, 2), CharactersAt(moment, 11, 2),
                                           CharactersAt(moment, 14, 2)};
    Json out;
    const char* keys[] = {"year", "month", "day", "hour", "minute"};
    for (std::size_t i = 0; i < parts.size(); ++i) out[keys[i]] = IntegerOrNull(parts[i]);
    out["text"] =
        String(FormatText(kMinuteFormat, {parts[0], parts[1], parts[2], parts[3], parts[4]}));
    return out;
  }

  // A term: its name, one space, its moment; null without the space.
  Json Term(TextView key) const {
    const Text value = Read(u"jieqi", key);
    const SplitParts parts = SplitAtSpace(value);
    if (!parts.hasSpace) return nullptr;
    Json term = {{"name", String(parts.first)}};
    term.update(MomentFields(parts.second));
    return term;
  }

  // --- the pillar table ---

  Json NatalPillars() const {
    const Text tenGods = Read(u"shizhu", u"shishen");
    const Text stagesText = Read(u"shizhu", u"wangshuai");
    const std::vector<TextView> stages = SplitSlashList(stagesText);
    Json pillars;
    for (std::size_t i = 0; i < kNatalPillars.size(); ++i) {
      const Text pillar = Read(u"shizhu", kNatalPillars[i].pillar);
      Json p = {{"pillar", String(pillar)}};
      AddStemAndBranch(p, pillar);
      p["ten_god"] = String(CharactersAt(tenGods, 3 * i, 2));
      p["hidden_stems"] = HiddenStems(Read(u"shizhu", kNatalPillars[i].hiddenStems));
      p["growth_stage"] = String(i < stages.size() ? stages[i] : TextView{});
      p["nayin"] = String(NaYinOf(pillar));
      p["xun"] = String(XunOf(pillar));
      p["void"] =
          String(CycleIndex(pillar) ? VoidBranches(StemOf(pillar), BranchOf(pillar)) : Text{});
      p["clashes"] = ClashList(Read(u"ShiZhuTKDC", pillar));
      pillars[kNatalPillars[i].name] = p;
    }
    return pillars;
  }

  Json AdditionalPillars() const {
    const ChartExtras extras = ChartExtrasOf(Read(u"shizhu", u"year"), Read(u"shizhu", u"month"),
                                             Read(u"shizhu", u"day"), Read(u"shizhu", u"hour"));
    return {{"conception", DerivedPillar(extras.taiYuan)},
            {"embryo_breath", DerivedPillar(extras.taiXi)},
            {"life_palace", DerivedPillar(extras.mingGong)},
            {"body_palace", DerivedPillar(extras.shenGong)}};
  }

  Json NatalRelations() const {
    return {{"stems", SplitText(Read(u"shizhu", u"tiangankehe"))},
            {"hidden_combinations", Str(u"shizhu", u"anhe")},
            {"branches", SplitText(Read(u"shizhu", u"hcxh"))},
            {"strike_and_clash", Str(u"shizhu", u"tiankedichong")}};
  }

  // --- scores, useful element, health ---

  Json Strength() const {
    return {{"day_stem_score", NumberOrNull(Read(u"fenshu", u"日干"))},
            {"ten_gods", Scores(u"shishenfenshu")},
            {"groups", Scores(u"liushenfenshu")},
            {"same_side", NumberOrNull(Read(u"fenshu", u"tongdang"))},
            {"other_side", NumberOrNull(Read(u"fenshu", u"yidang"))},
            {"verdict", Str(u"fenshu", u"rizhufenshu")}};
  }

  // key1 … keyN of the section, each with the score stored under its name.
  Json Scores(TextView section) const {
    Json scores = Json::array();
    const long long count =
        BoundedCount(record_.ReadInt(section, u"count"), record_.FindSection(section));
    for (long long n = 1; n <= count; ++n) {
      const Text name = Read(section, u"key" + Num(n));
      scores.push_back({{"name", String(name)}, {"score", NumberOrNull(Read(section, name))}});
    }
    return scores;
  }

  Json HealthCheck() const {
    Json entries = Json::array();
    const long long count =
        BoundedCount(record_.ReadInt(u"tijian", u"count"), record_.FindSection(u"tijian"));
    for (long long n = 1; n <= count; ++n) {
      const Text number = Num(n);
      entries.push_back({{"stem", Str(u"tijian", u"keyname" + number)},
                         {"organ", Str(u"tijian", u"keyis" + number)},
                         {"count", Int(u"tijian", u"keyfenshu" + number)}});
    }
    return entries;
  }

  // --- luck ---

  Json Luck() const {
    Json luck;
    luck["start_after"] = {{"years", Int(u"dayun", u"yearAfter")},
                           {"months", Int(u"dayun", u"monthAfter")},
                           {"days", Int(u"dayun", u"dayAfter")},
                           {"hours", Int(u"dayun", u"hourAfter")}};
    const std::array<Text, 4> begin = {Read(u"dayun", u"yearBegin"), Read(u"dayun", u"monthBegin"),
                                       Read(u"dayun", u"dayBegin"), Read(u"dayun", u"hourBegin")};
    luck["start"] = {
        {"year", IntegerOrNull(begin[0])},
        {"month", IntegerOrNull(begin[1])},
        {"day", IntegerOrNull(begin[2])},
        {"hour", IntegerOrNull(begin[3])},
        {"text", String(FormatText(kHourFormat, {begin[0], begin[1], begin[2], begin[3]}))}};
    luck["pillars"] = LuckPillars();
    return luck;
  }

  Json LuckPillars() const {
    const Text pillarList = Read(u"minbiao", u"dayun");
    const Text godList = Read(u"minbiao", u"shishen");
    const Text stageList = Read(u"minbiao", u"wangshuai");
    std::vector<TextView> pillars = SplitSlashList(pillarList);
    if (pillars.size() > kMaxLuckPillars) pillars.resize(kMaxLuckPillars);
    const std::vector<TextView> gods = SplitSlashList(godList);
    const std::vector<TextView> stages = SplitSlashList(stageList);
    const long long columns = std::min(
        BoundedCount(record_.ReadInt(u"liunian", u"count"), record_.FindSection(u"liunian")),
        kMaxLuckPillars);
    Json out = Json::array();
    for (std::size_t i = 0; i < pillars.size(); ++i) {
      const TextView pillar = pillars[i];
      const auto n = static_cast<long long>(i) + 1;
      const bool hasColumn = n <= columns;
      const auto column = [&](TextView family) {
        return hasColumn ? Read(u"liunian", Text(family) + Num(n)) : Text{};
      };
      Json p = {{"number", n}, {"pillar", String(pillar)}};
      AddStemAndBranch(p, pillar);
      p["ten_god"] = String(i < gods.size() ? gods[i] : TextView{});
      p["growth_stage"] = String(i < stages.size() ? stages[i] : TextView{});
      p["nayin"] = String(NaYinOf(pillar));
      p["first_year"] = IntegerOrNull(column(u"yearBegin"));
      p["last_year"] = IntegerOrNull(column(u"yearEnd"));
      p["age"] = IntegerOrNull(column(u"age"));
      Json annual = Json::array();
      const Text annualList = column(u"liunian");
      for (TextView year : SplitSlashList(annualList)) annual.push_back(String(year));
      p["annual_pillars"] = annual;
      p["clashes"] = ClashList(Read(u"DYTKDC", pillar));
      p["relations"] = {{"stems", SplitText(Read(u"dayuntiangankehe", pillar))},
                        {"branches", SplitText(Read(u"dayunhcxh", pillar))},
                        {"strike_and_clash", Str(u"dayuntkdc", pillar)}};
      out.push_back(p);
    }
    return out;
  }

  // --- years ---

  // Section yunqian as every rendering rebuilds it from the record's own
  // liunian keys, built here on a copy: the export writes nothing.
  Json YearsBeforeLuck() const {
    IniDocument copy;
    if (const IniDocument::Section* liunian = record_.FindSection(u"liunian")) {
      for (TextView key : {u"age1", u"yearBegin1"}) {
        if (const TextView* value = liunian->Find(key)) copy.Set(u"liunian", key, *value);
      }
    }
    WriteYearsBeforeLuck(copy);
    Json years = Json::array();
    const long long birth = copy.ReadInt(u"yunqian", u"birth");
    const Text list = copy.ReadString(u"yunqian", u"liunian");
    long long age = 1;
    for (TextView pillar : SplitSlashList(list)) {
      years.push_back({{"year", birth + age - 1}, {"age", age}, {"pillar", String(pillar)}});
      ++age;
    }
    return years;
  }

  // Every year of the annual analysis: liunianhcxh yearBegin … yearEnd
  // (bounded like the report), each year that has its row.
  Json AnnualYears() const {
    Json years = Json::array();
    const IniDocument::Section* section = record_.FindSection(u"liunianhcxh");
    if (section == nullptr) return years;
    const Json birthYear = BirthYear();
    const long long first = record_.ReadInt(u"liunianhcxh", u"yearBegin");
    const long long last = ClampedLast(first, record_.ReadInt(u"liunianhcxh", u"yearEnd"));
    const auto read = [&](long long year, TextView suffix, std::size_t capacity) {
      const TextView* value = section->Find(YearKey(year, suffix));
      return value == nullptr ? Text{} : Text(CutToCapacity(*value, capacity));
    };
    for (long long y = first; y <= last; ++y) {
      const Text row = read(y, {}, kReadCapacity);
      if (row.empty()) continue;
      const SplitParts head = SplitAtSpace(row);
      const SplitParts rest = SplitAtSpace(head.second);
      Json year = {{"year", y}};
      year["age"] = birthYear.is_null() ? Json(nullptr) : Json(y - birthYear.get<long long>() + 1);
      year["pillar"] = String(head.first);
      year["month_stems"] = String(head.hasSpace ? rest.first : TextView{});
      year["relations"] = String(rest.hasSpace ? rest.second : TextView{});
      year["concurrence"] = String(read(y, u"sybl", kLongReadCapacity));
      year["strike_and_clash"] = String(read(y, u"tkdc", kLongReadCapacity));
      year["stem_relations"] = String(read(y, u"tgkh", kLongReadCapacity));
      year["branch_relations"] = String(read(y, u"hcxh", kLongReadCapacity));
      year["highlights"] = String(read(y, u"big", kLongReadCapacity));
      years.push_back(year);
    }
    return years;
  }

  // The birth year as the report takes it: the first year of the annual
  // analysis less the nominal age then, plus one; null when either is no number.
  Json BirthYear() const {
    const Json first = Int(u"liunianhcxh", u"yearBegin");
    const Json age = Int(u"liunian", u"age1");
    if (first.is_null() || age.is_null()) return nullptr;
    return first.get<long long>() - age.get<long long>() + 1;
  }

  const IniDocument& record_;
};

// Every string of `value` in `script`.
void ConvertStrings(Json& value, Script script) {
  if (value.is_string()) {
    value = ToUtf8(InScript(FromUtf8(value.get_ref<const std::string&>()), script));
  } else if (value.is_structured()) {
    for (Json& item : value) ConvertStrings(item, script);
  }
}

// The program's texts of the document in `script`; the user's own stay as
// they are: the name, the group, and a birthplace that is no place of the
// table.
void ConvertProgramTexts(Json& doc, Script script) {
  const Json name = doc["name"];
  const Json group = doc["group"];
  Json& choices = doc["birth"]["choices"];
  const bool userPlace = choices.is_object() && choices["place"].is_string() &&
                         !IsPlaceLabel(FromUtf8(choices["place"].get_ref<const std::string&>()));
  const Json place = userPlace ? choices["place"] : Json();
  ConvertStrings(doc, script);
  doc["name"] = name;
  doc["group"] = group;
  if (userPlace) choices["place"] = place;
}

}  // namespace

std::string ChartJson(const IniDocument& record, Script script) {
  Json doc = ChartJsonWriter(record).Document();
  if (script != Script::kSimplified) ConvertProgramTexts(doc, script);
  const std::string dumped = doc.dump(2, ' ', false, Json::error_handler_t::replace);
  // The library escapes C0 controls; DEL and the C1 controls (UTF-8 C2 80 …
  // C2 9F) are escaped here too, so a terminal shows the document rather
  // than obeying a control sequence in a record's text. Outside strings a
  // JSON document is plain ASCII, so every such byte lies inside a string.
  std::string out;
  out.reserve(dumped.size() + 1);
  for (std::size_t i = 0; i < dumped.size(); ++i) {
    const auto byte = static_cast<unsigned char>(dumped[i]);
    const auto next = i + 1 < dumped.size() ? static_cast<unsigned char>(dumped[i + 1]) : 0;
    if (byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next <= 0x9F)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte == 0x7F ? byte : next);
      out += escape;
      if (byte == 0xC2) ++i;
    } else {
      out += dumped[i];
    }
  }
  out += '\n';
  return out;
}

}  // namespace xuanshu
