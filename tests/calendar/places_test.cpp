#include "calendar/places.h"
#include "calendar/time_zones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace xuanshu {
namespace {

std::string U8(TextView text) {
  return ToUtf8(text);
}

// The provinces, autonomous regions and municipalities of the mainland, as the table writes them.
const std::set<Text> kMainlandRegions = {
    u"北京", u"天津", u"河北", u"山西", u"内蒙古", u"辽宁", u"吉林", u"黑龙江",
    u"上海", u"江苏", u"浙江", u"安徽", u"福建",   u"江西", u"山东", u"河南",
    u"湖北", u"湖南", u"广东", u"广西", u"海南",   u"重庆", u"四川", u"贵州",
    u"云南", u"西藏", u"陕西", u"甘肃", u"青海",   u"宁夏", u"新疆"};

bool IsChinese(const Place& place) {
  return kMainlandRegions.contains(Text(place.region)) || place.region == u"香港" ||
         place.region == u"澳门" || place.region == u"台湾";
}

TEST(Places, WellKnownCoordinatesAgreeWithinFiveHundredthsOfADegree) {
  struct Case {
    TextView name;
    double longitude, latitude;
  };
  // Typed from general references, not from the table.
  const Case cases[] = {
      {u"北京", 116.40, 39.90},   {u"乌鲁木齐", 87.62, 43.83}, {u"喀什", 75.99, 39.47},
      {u"拉萨", 91.13, 29.65},  // the Jokhang; GeoNames' Lhasa point lies west of the old town
      {u"哈尔滨", 126.65, 45.76}, {u"香港", 114.17, 22.28},    {u"台北", 121.56, 25.04},
      {u"纽约", -74.01, 40.71},   {u"新加坡", 103.85, 1.29},   {u"旧金山", -122.42, 37.77},
      {u"悉尼", 151.21, -33.87},  {u"伦敦", -0.13, 51.51},
  };
  for (const Case& c : cases) {
    const Place* place = FindPlace(c.name);
    ASSERT_NE(place, nullptr) << U8(c.name);
    EXPECT_NEAR(place->longitude, c.longitude, 0.05) << U8(c.name);
    EXPECT_NEAR(place->latitude, c.latitude, 0.05) << U8(c.name);
  }
}

TEST(Places, ZonesFollowLegalTime) {
  struct Case {
    TextView text;
    std::string_view zone;
  };
  const Case cases[] = {
      {u"乌鲁木齐", "Asia/Shanghai"},
      {u"喀什", "Asia/Shanghai"},
      {u"拉萨", "Asia/Shanghai"},
      {u"哈尔滨", "Asia/Shanghai"},
      {u"香港", "Asia/Hong_Kong"},
      {u"澳门", "Asia/Macau"},
      {u"台北", "Asia/Taipei"},
      {u"金门", "Asia/Taipei"},
      {u"马祖", "Asia/Taipei"},
      {u"纽约", "America/New_York"},
      {u"温哥华", "America/Vancouver"},
      {u"吉隆坡", "Asia/Kuala_Lumpur"},
      {u"古晋", "Asia/Kuching"},
      {u"悉尼", "Australia/Sydney"},
      {u"奥克兰（新西兰）", "Pacific/Auckland"},
      {u"奥克兰（美国）", "America/Los_Angeles"},
  };
  for (const Case& c : cases) {
    const Place* place = FindPlace(c.text);
    ASSERT_NE(place, nullptr) << U8(c.text);
    EXPECT_EQ(place->zone, c.zone) << U8(c.text);
  }
}

TEST(Places, AllOfTheMainlandKeepsBeijingTime) {
  std::set<Text> regionsSeen;
  for (const Place& place : AllPlaces()) {
    if (!kMainlandRegions.contains(Text(place.region))) continue;
    regionsSeen.insert(Text(place.region));
    EXPECT_EQ(place.zone, "Asia/Shanghai") << U8(PlaceLabel(place));
  }
  EXPECT_EQ(regionsSeen, kMainlandRegions) << "every province has places";
}

TEST(Places, TableHasTheSeatsAndTheWorld) {
  const std::span<const Place> places = AllPlaces();
  const auto chinese = std::count_if(places.begin(), places.end(), IsChinese);
  EXPECT_GE(chinese, 360);
  EXPECT_GE(static_cast<long>(places.size()) - chinese, 190);
  const auto firstAbroad = std::find_if_not(places.begin(), places.end(), IsChinese);
  EXPECT_TRUE(std::all_of(firstAbroad, places.end(), [](const Place& p) { return !IsChinese(p); }))
      << "Chinese places come first";
}

TEST(Places, NamesRegionsAndCoordinatesAreWellFormed) {
  std::set<std::pair<Text, Text>> seen;
  for (const Place& place : AllPlaces()) {
    const std::string label = U8(PlaceLabel(place));
    EXPECT_TRUE(seen.insert({Text(place.name), Text(place.region)}).second) << label << " twice";
    EXPECT_FALSE(place.name.empty() || HasControlCharacter(place.name)) << label;
    EXPECT_FALSE(place.region.empty() || HasControlCharacter(place.region)) << label;
    EXPECT_TRUE(place.longitude >= -180 && place.longitude <= 180) << label;
    EXPECT_TRUE(place.latitude >= -90 && place.latitude <= 90) << label;
    if (IsChinese(place)) {
      EXPECT_TRUE(place.longitude > 73 && place.longitude < 135.1) << label;
      EXPECT_TRUE(place.latitude > 15 && place.latitude < 53.6) << label;
    }
  }
}

bool IsWellFormedZone(std::string_view zone) {
  static const std::set<std::string_view> kAreas = {"Africa",    "America", "Asia",   "Atlantic",
                                                    "Australia", "Europe",  "Indian", "Pacific"};
  const std::size_t slash = zone.find('/');
  if (slash == std::string_view::npos || !kAreas.contains(zone.substr(0, slash))) return false;
  const std::string_view location = zone.substr(slash + 1);
  if (location.empty() || location.front() == '/' || location.back() == '/') return false;
  return std::all_of(location.begin(), location.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '/' || c == '-';
  });
}

TEST(Places, ZoneNamesAreWellFormed) {
  EXPECT_FALSE(IsWellFormedZone("Asia"));
  EXPECT_FALSE(IsWellFormedZone("Mars/Olympus"));
  EXPECT_FALSE(IsWellFormedZone("Asia/Shang hai"));
  EXPECT_TRUE(IsWellFormedZone("America/Argentina/Buenos_Aires"));
  for (const Place& place : AllPlaces()) {
    EXPECT_TRUE(IsWellFormedZone(place.zone)) << U8(PlaceLabel(place)) << " " << place.zone;
    EXPECT_TRUE(IsKnownZone(place.zone))
        << U8(PlaceLabel(place)) << ": no history for " << place.zone << " in the zone table";
  }
}

TEST(Places, FindPlaceReadsNamesAndQualifiedForms) {
  struct Case {
    TextView text;
    TextView name, region;  // empty name: no place
    const char* why;
  };
  const Case cases[] = {
      {u"乌鲁木齐", u"乌鲁木齐", u"新疆", "unique name"},
      {u"  乌鲁木齐　", u"乌鲁木齐", u"新疆", "blanks around"},
      {u"乌鲁木齐市", u"乌鲁木齐", u"新疆", "with 市"},
      {u"伊犁", u"伊宁", u"新疆", "alias: the prefecture of the seat"},
      {u"三藩市", u"旧金山", u"美国", "alias"},
      {u"乌鲁木齐（新疆）", u"乌鲁木齐", u"新疆", "label"},
      {u"乌鲁木齐(新疆)", u"乌鲁木齐", u"新疆", "ASCII brackets"},
      {u"新疆乌鲁木齐", u"乌鲁木齐", u"新疆", "region first"},
      {u"广东省深圳市", u"深圳", u"广东", "region first, with 省 and 市"},
      {u"乌鲁木齐,新疆", u"乌鲁木齐", u"新疆", "comma"},
      {u"乌鲁木齐，新疆", u"乌鲁木齐", u"新疆", "full-width comma"},
      {u"新疆 乌鲁木齐", u"乌鲁木齐", u"新疆", "region, space, name"},
      {u"奥克兰（新西兰）", u"奥克兰", u"新西兰", "namesake told apart"},
      {u"美国奥克兰", u"奥克兰", u"美国", "namesake told apart, region first"},
      {u"伊犁（新疆）", u"伊宁", u"新疆", "alias with region"},
      {u"奥克兰", u"", u"", "namesakes in two countries"},
      {u"乌鲁木齐（广东）", u"", u"", "wrong region"},
      {u"火星", u"", u"", "unknown"},
      {u"", u"", u"", "empty"},
      {u"（）", u"", u"", "brackets only"},
      {u"新疆", u"", u"", "a region is no place"},
      {u"乌鲁", u"", u"", "a prefix is no name"},
  };
  for (const Case& c : cases) {
    const Place* place = FindPlace(c.text);
    if (c.name.empty()) {
      EXPECT_EQ(place, nullptr) << c.why << ": " << (place ? U8(PlaceLabel(*place)) : "");
      continue;
    }
    ASSERT_NE(place, nullptr) << c.why << ": " << U8(c.text);
    EXPECT_EQ(U8(place->name), U8(c.name)) << c.why;
    EXPECT_EQ(U8(place->region), U8(c.region)) << c.why;
  }
}

TEST(Places, EveryLabelFindsItsPlace) {
  for (const Place& place : AllPlaces()) {
    EXPECT_EQ(FindPlace(PlaceLabel(place)), &place) << U8(PlaceLabel(place));
  }
  EXPECT_EQ(U8(PlaceLabel(*FindPlace(u"喀什"))), "喀什（新疆）");
}

std::vector<std::string> Labels(const std::vector<const Place*>& places) {
  std::vector<std::string> labels;
  for (const Place* place : places) labels.push_back(U8(PlaceLabel(*place)));
  return labels;
}

std::ptrdiff_t PositionOf(const std::vector<std::string>& labels, const std::string& label) {
  const auto at = std::find(labels.begin(), labels.end(), label);
  return at == labels.end() ? -1 : at - labels.begin();
}

TEST(Places, SearchRanksPrefixThenContainedThenRegion) {
  const std::vector<std::string> found = Labels(SearchPlaces(u"海", 1000));
  struct Case {
    const char* earlier;
    const char* later;
    const char* why;
  };
  const Case cases[] = {
      {"海口（海南）", "上海", "name starts with the query before name contains it"},
      {"海东（青海）", "海防（越南）", "China before the world within a rank"},
      {"海防（越南）", "珠海（广东）", "a prefix abroad before a contained name in China"},
      {"呼伦贝尔（内蒙古）", "海口（海南）", "an alias (海拉尔) counts as a name, table order"},
      {"威海（山东）", "三亚（海南）", "a contained name before a region match"},
      {"上海", "西宁（青海）", "a contained name before a region match"},
  };
  for (const Case& c : cases) {
    const std::ptrdiff_t earlier = PositionOf(found, c.earlier);
    const std::ptrdiff_t later = PositionOf(found, c.later);
    ASSERT_GE(earlier, 0) << c.earlier;
    ASSERT_GE(later, 0) << c.later;
    EXPECT_LT(earlier, later) << c.why << ": " << c.earlier << " / " << c.later;
  }
  EXPECT_EQ(PositionOf(found, "北京"), -1) << "no 海 anywhere";
}

TEST(Places, SearchPutsTheNamedPlaceFirstAndKeepsTheLimit) {
  EXPECT_EQ(Labels(SearchPlaces(u"伊犁", 3)).front(), "伊宁（新疆）");
  EXPECT_EQ(Labels(SearchPlaces(u"美国奥克兰", 3)).front(), "奥克兰（美国）");
  EXPECT_EQ(Labels(SearchPlaces(u"奥克兰", 5)),
            (std::vector<std::string>{"奥克兰（美国）", "奥克兰（新西兰）"}))
      << "namesakes both, table order";
  EXPECT_EQ(SearchPlaces(u"州", 7).size(), 7u);
  EXPECT_GT(SearchPlaces(u"州", 1000).size(), 7u);
  EXPECT_TRUE(SearchPlaces(u"州", 0).empty());
  EXPECT_TRUE(SearchPlaces(u"", 10).empty());
  EXPECT_TRUE(SearchPlaces(u"　", 10).empty());
  EXPECT_TRUE(SearchPlaces(u"火星", 10).empty());
  for (const Place* place : SearchPlaces(u"新疆", 1000)) {
    EXPECT_EQ(U8(place->region), "新疆") << U8(PlaceLabel(*place));
  }
  EXPECT_GE(SearchPlaces(u"新疆", 1000).size(), 14u) << "the seats of Xinjiang";
}

TEST(Places, AliasesBelongToTheirPlace) {
  EXPECT_EQ(PlaceAliases(*FindPlace(u"伊宁")), (std::vector<TextView>{u"伊犁"}));
  EXPECT_TRUE(PlaceAliases(*FindPlace(u"北京")).empty());
  const Place copy = *FindPlace(u"伊宁");
  EXPECT_TRUE(PlaceAliases(copy).empty()) << "only places of the table have aliases";
}

// The generated TSV and the compiled table come from the same run of make_places.py.
TEST(Places, TableMatchesTheGeneratedTsv) {
  std::ifstream file(std::string(XUANSHU_SOURCE_DIR) + "/tools/places/places.tsv");
  ASSERT_TRUE(file) << "tools/places/places.tsv";
  std::string line;
  std::getline(file, line);
  EXPECT_EQ(line, "name\tregion\tlongitude\tlatitude\tzone");
  std::size_t row = 0;
  const std::span<const Place> places = AllPlaces();
  while (std::getline(file, line)) {
    ASSERT_LT(row, places.size()) << line;
    const Place& place = places[row++];
    char text[64];
    std::snprintf(text, sizeof text, "%.4f\t%.4f\t", place.longitude, place.latitude);
    EXPECT_EQ(line,
              U8(place.name) + "\t" + U8(place.region) + "\t" + text + std::string(place.zone));
  }
  EXPECT_EQ(row, places.size());
}

}  // namespace
}  // namespace xuanshu
