#!/usr/bin/env python3
"""Writes resources/basemap.bin, the offline base map of the map item: land and country borders.

Source: Natural Earth as the npm package "world-atlas" (ISC; the data is public domain) carries it, as
TopoJSON: land-110m and countries-110m for the world view, land-50m and countries-50m for close views.
The package is fetched with `npm pack` into a temporary folder; its version is written into the file.

Coordinates are stored already projected to Web-Mercator and quantised: x and y of the world square scaled
to 0 .. 2^24 (latitudes clamped to +-85.0511), each ring as zigzag varint deltas from its previous point.
A ring that crosses the 180° meridian runs on past it (x below 0 or above 2^24) instead of jumping back.
A country border is an arc that two countries share; coastlines are the land's outline, not borders.

File layout (little-endian):
  "VMAP", u32 version 1, u32 text length, that many bytes of UTF-8 source text,
  u32 layer count, then per layer: u8 detail (0 = 110m, 1 = 50m), u8 kind (0 = land, 1 = borders),
  u32 ring count, then per ring: varint point count, then 2 * count zigzag varints (dx, dy).

Usage: tools/make_basemap.py [--version 2.0.2] [--package FOLDER]
"""
import argparse
import glob
import json
import math
import os
import struct
import subprocess
import sys
import tarfile
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "basemap.bin")
SCALE = 1 << 24
MAX_LAT = 85.05112878


def fetch(version, folder):
    subprocess.run(["npm", "pack", f"world-atlas@{version}"], cwd=folder, check=True,
                   stdout=subprocess.DEVNULL)
    archive = glob.glob(os.path.join(folder, "world-atlas-*.tgz"))[0]
    with tarfile.open(archive) as tar:
        tar.extractall(folder)
    return os.path.join(folder, "package")


def decode_arcs(topo):
    sx, sy = topo["transform"]["scale"]
    tx, ty = topo["transform"]["translate"]
    arcs = []
    for arc in topo["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x * sx + tx, y * sy + ty))
        arcs.append(points)
    return arcs


def ring_points(arcs, indices):
    points = []
    for index in indices:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        points.extend(arc if not points else arc[1:])
    return points


def polygons(geometry):
    if geometry["type"] == "Polygon":
        return [geometry["arcs"]]
    if geometry["type"] == "MultiPolygon":
        return geometry["arcs"]
    return []


def project(lon, lat):
    lat = max(-MAX_LAT, min(MAX_LAT, lat))
    x = (lon + 180.0) / 360.0
    s = math.sin(math.radians(lat))
    y = 0.5 - math.log((1 + s) / (1 - s)) / (4 * math.pi)
    return (round(x * SCALE), min(SCALE - 1, max(0, round(y * SCALE))))


def varint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        if value:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return bytes(out)


def zigzag(value):
    return (value << 1) ^ (value >> 63)


def unwrap(points):
    """Longitudes run on past +-180 where a ring or line crosses the meridian, so it never jumps across
    the whole world; the polar edge of Antarctica, which runs along the map's bottom, is left alone."""
    out = []
    for lon, lat in points:
        if out:
            plon, plat = out[-1]
            polar = abs(lat) >= 85 and abs(plat) >= 85
            while not polar and lon - plon > 180:
                lon -= 360
            while not polar and plon - lon > 180:
                lon += 360
        out.append((lon, lat))
    return out


def encode_ring(points):
    projected = []
    for lon, lat in unwrap(points):
        p = project(lon, lat)
        if not projected or projected[-1] != p:
            projected.append(p)
    if len(projected) < 2:
        return None
    out = bytearray(varint(len(projected)))
    px = py = 0
    for x, y in projected:
        out += varint(zigzag(x - px)) + varint(zigzag(y - py))
        px, py = x, y
    return bytes(out)


def land_rings(topo):
    arcs = decode_arcs(topo)
    rings = []
    for geometry in topo["objects"]["land"]["geometries"]:
        for polygon in polygons(geometry):
            for ring in polygon:
                rings.append(ring_points(arcs, ring))
    return rings


def border_lines(topo):
    arcs = decode_arcs(topo)
    owners = {}
    for number, geometry in enumerate(topo["objects"]["countries"]["geometries"]):
        for polygon in polygons(geometry):
            for ring in polygon:
                for index in ring:
                    owners.setdefault(index if index >= 0 else ~index, set()).add(number)
    return [arcs[index] for index, who in sorted(owners.items()) if len(who) > 1]


def layer(detail, kind, rings):
    encoded = [e for e in (encode_ring(r) for r in rings) if e]
    return struct.pack("<BBI", detail, kind, len(encoded)) + b"".join(encoded)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", default="2.0.2")
    parser.add_argument("--package", help="an unpacked world-atlas package (skips npm)")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        package = args.package or fetch(args.version, scratch)
        with open(os.path.join(package, "package.json")) as f:
            version = json.load(f)["version"]
        layers = []
        for detail, name in ((0, "110m"), (1, "50m")):
            with open(os.path.join(package, f"land-{name}.json")) as f:
                layers.append(layer(detail, 0, land_rings(json.load(f))))
            with open(os.path.join(package, f"countries-{name}.json")) as f:
                layers.append(layer(detail, 1, border_lines(json.load(f))))
    source = f"Natural Earth via world-atlas {version}".encode()
    with open(OUT, "wb") as f:
        f.write(b"VMAP" + struct.pack("<II", 1, len(source)) + source)
        f.write(struct.pack("<I", len(layers)) + b"".join(layers))
    print(f"{OUT}: {os.path.getsize(OUT)} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
