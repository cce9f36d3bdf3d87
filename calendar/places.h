// Built-in birthplaces: every province-level and prefecture-level seat of China (Hong Kong,
// Macau and Taiwan included) and cities abroad where Chinese communities live, each with its
// longitude, latitude and IANA time zone. All of mainland China keeps Beijing time
// (Asia/Shanghai), Xinjiang and Tibet included: the longitude, not the zone, corrects a birth
// in Urumqi. The data comes from GeoNames through tools/places/make_places.py.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "record/text.h"

namespace xuanshu {

struct Place {
  TextView name;          // 乌鲁木齐
  TextView region;        // province (新疆, 香港, 台湾) or country (美国)
  double longitude;       // degrees, east positive
  double latitude;        // degrees, north positive
  std::string_view zone;  // IANA time zone name
};

// Chinese places first, then the rest of the world, in a fixed order.
std::span<const Place> AllPlaces();

// The place a user means: an exact name (or alias) when it is unique, or a qualified form that
// tells namesakes apart: "名称（区域）" (full-width or ASCII brackets), "区域名称" (新疆乌鲁木齐)
// or "名称,区域" (ASCII or full-width comma, or a space). A trailing 市 on the name and 省 or 市
// on the region are accepted, and so are their Traditional forms (烏魯木齊（新疆）) as the
// program shows them. nullptr when unknown or ambiguous.
const Place* FindPlace(TextView text);

// Type-ahead: the place the text names exactly first, then places whose name or alias starts
// with the query, then those containing it, then those whose region contains it; at most
// `limit`, ties in table order. A query in Traditional characters finds the places it names in
// Simplified. An empty query finds nothing.
std::vector<const Place*> SearchPlaces(TextView query, std::size_t limit);

// "乌鲁木齐（新疆）", or "北京" where the region is the place itself: how the
// program shows a place. FindPlace reads it back.
Text PlaceLabel(const Place& place);
// True when the text is the label of a place of the table, which is the
// program's own text; any other birthplace is what the user typed.
bool IsPlaceLabel(TextView text);

// Other names a user may type for the place (伊犁 for 伊宁), possibly none.
std::vector<TextView> PlaceAliases(const Place& place);

}  // namespace xuanshu
