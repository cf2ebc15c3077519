#!/usr/bin/python3
"""Writes the map's raster layers: resources/relief.bin (shaded relief) and resources/imagery.bin (a picture
of the Earth from space), both as Web-Mercator tiles of 256 pixels, as the base map's tiles are cut.

Sources, Debian 12 packages (apt-get install marble-qt-data xplanet-images python3-pil python3-numpy):
  relief:  marble-qt-data's SRTM relief, /usr/share/marble/data/maps/earth/srtm/3: 16 x 8 grey tiles of
           675 pixels, 10,800 x 5,400 in all, latitude and longitude evenly spaced; brighter is higher.
  imagery: xplanet-images' /usr/share/xplanet/images/earth.jpg, NASA Visible Earth, 2048 x 1024, evenly
           spaced too. NASA's imagery is not copyrighted; NASA asks to be credited.
The land of resources/basemap.bin (tools/make_basemap.py) decides which relief tiles hold land.

The relief is a hillshade made from the grey levels as heights: light from the north-west, 45 degrees
high. A pixel of 128 is flat ground; the app shades its land with the tiles, darker pixels as shadows and
lighter ones as highlights. Each coarser level has more contrast, as its shade is an average of finer ones.
Water is flat, and tiles without land are left out: the app draws no relief there. Levels 0 to RELIEF_LEVELS - 1 hold every land tile; closer in, the
app scales up the deepest level. The imagery covers levels 0 to IMAGERY_LEVELS - 1 (level 3 is the
picture's own resolution).

Each tile is stored with a gutter: GUTTER pixels of the layer around it (columns wrapping across the 180°
meridian, the world's top and bottom rows repeated), so the lossy encoder sees a tile's edge in its
context and codes it as well as its inside. Cut at its edge, a tile's last pixels came out coarser than
the rest, and the app, scaling the deepest level up, showed the edges of those tiles as lines.

File layout (little-endian):
  "VRST", u32 version 2, u32 text length, that many bytes of UTF-8 source text, u8 deepest level,
  u8 gutter, u32 tile count, then per tile in (level, row, column) order: u8 level, u16 column, u16 row,
  u32 byte length, that many bytes of a WebP picture of 256 + 2 * gutter pixels square (lossy; grey for
  the relief, colour for the imagery).

Usage: /usr/bin/python3 tools/make_rasters.py [--relief-quality 40] [--imagery-quality 60]
"""
import argparse
import glob
import io
import math
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")
RELIEF_SOURCE = "/usr/share/marble/data/maps/earth/srtm/3"
IMAGERY_SOURCE = "/usr/share/xplanet/images/earth.jpg"
TILE = 256
GUTTER = 8
RELIEF_LEVELS = 6
IMAGERY_LEVELS = 4
MAX_LAT = 85.05112878
# Metres of height per grey level: the grey runs from the sea floor to the highest peaks in 255 steps.
METRES_PER_LEVEL = 45.0
SUN_AZIMUTH = 315.0
SUN_ALTITUDE = 45.0
# How far the shade reaches either side of flat ground, in grey levels.
SHADE_GAIN = 190.0
# The shade of a coarser level is an average of finer ones, flatter the further out: each level's own
# contrast, from level 0 to the deepest.
LEVEL_CONTRAST = (3.0, 2.8, 2.4, 1.9, 1.4, 1.0)


def read_relief():
    """The relief's grey tiles joined into one picture, rows from the north."""
    rows = sorted(glob.glob(os.path.join(RELIEF_SOURCE, "0*")))
    if len(rows) != 8:
        sys.exit(f"{RELIEF_SOURCE}: expected 8 rows of tiles (apt-get install marble-qt-data)")
    lines = []
    for row in rows:
        tiles = sorted(glob.glob(os.path.join(row, "*.jpg")))
        lines.append(np.hstack([np.asarray(Image.open(t).convert("L"), dtype=np.float32) for t in tiles]))
    return np.vstack(lines)


def hillshade(height):
    """Shade of evenly spaced heights (grey levels), flat ground 0, lit slopes up to +1, shaded to -1."""
    rows, columns = height.shape
    metres = height * METRES_PER_LEVEL
    step = 2 * math.pi * 6371000 / columns  # a pixel's side at the equator
    latitudes = np.radians(90 - (np.arange(rows) + 0.5) * 180 / rows)
    dx = step * np.maximum(np.cos(latitudes), 0.01)[:, None]
    grad_y, grad_x = np.gradient(metres)
    # Eastward and northward slopes; rows run southwards.
    east = grad_x / dx
    north = -grad_y / step
    azimuth = math.radians(SUN_AZIMUTH)
    altitude = math.radians(SUN_ALTITUDE)
    sun = np.array([math.sin(azimuth) * math.cos(altitude), math.cos(azimuth) * math.cos(altitude),
                    math.sin(altitude)])
    # The surface's normal is (-east, -north, 1), normalised.
    length = np.sqrt(east * east + north * north + 1)
    lit = (-east * sun[0] - north * sun[1] + sun[2]) / length
    return (lit - sun[2]) / (1 - sun[2])


def to_mercator(picture, size):
    """An evenly spaced picture (rows from 90 N to 90 S) resampled to a Web-Mercator square of `size`."""
    rows = picture.shape[0]
    resized = []
    channels = picture[..., None] if picture.ndim == 2 else picture
    for c in range(channels.shape[2]):
        plane = Image.fromarray(np.ascontiguousarray(channels[..., c], dtype=np.float32), mode="F")
        resized.append(np.asarray(plane.resize((size, rows), Image.BOX), dtype=np.float32))
    wide = np.stack(resized, axis=-1)
    y = (np.arange(size) + 0.5) / size
    latitude = np.degrees(np.arctan(np.sinh(math.pi * (1 - 2 * y))))
    source = np.clip((90 - latitude) / 180 * rows - 0.5, 0, rows - 1)
    low = np.floor(source).astype(int)
    high = np.minimum(low + 1, rows - 1)
    t = (source - low)[:, None, None]
    out = wide[low] * (1 - t) + wide[high] * t
    return out[..., 0] if picture.ndim == 2 else out


def land_rings():
    """The close layer's land rings of resources/basemap.bin, in world units (0..1), as tools/make_basemap.py
    wrote them."""
    data = open(os.path.join(RESOURCES, "basemap.bin"), "rb").read()
    at = 0

    def u32():
        nonlocal at
        value = struct.unpack_from("<I", data, at)[0]
        at += 4
        return value

    def varint():
        nonlocal at
        value = shift = 0
        while True:
            byte = data[at]
            at += 1
            value |= (byte & 0x7F) << shift
            shift += 7
            if not byte & 0x80:
                return value

    def zigzag():
        v = varint()
        return (v >> 1) ^ -(v & 1)

    assert data[:4] == b"VMAP"
    at = 8
    length = u32()
    at += length
    rings = []
    for _ in range(u32()):
        detail, kind = data[at], data[at + 1]
        at += 2
        for _ in range(u32()):
            x = y = 0
            points = []
            for _ in range(varint()):
                x += zigzag()
                y += zigzag()
                points.append((x / (1 << 24), y / (1 << 24)))
            if detail == 1 and kind == 0:
                rings.append(points)
    return rings


def land_mask(size):
    """Land as 255 on a Web-Mercator square of `size`: outer rings filled, then holes (lakes) cleared."""
    mask = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(mask)
    outer, holes = [], []
    for ring in land_rings():
        # Rings of land turn clockwise on the map (y down), holes the other way.
        area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(ring, ring[1:] + ring[:1]))
        (outer if area > 0 else holes).append(ring)
    for rings, fill in ((outer, 255), (holes, 0)):
        for ring in rings:
            for copy in (-1, 0, 1):
                draw.polygon([((x + copy) * size, y * size) for x, y in ring], fill=fill)
    return np.asarray(mask) > 0


def grow(mask, pixels):
    """The mask widened by `pixels` in every direction."""
    out = mask.copy()
    for _ in range(pixels):
        widened = out.copy()
        widened[1:] |= out[:-1]
        widened[:-1] |= out[1:]
        widened[:, 1:] |= out[:, :-1]
        widened[:, :-1] |= out[:, 1:]
        out = widened
    return out


def encode(array, quality):
    picture = Image.fromarray(np.clip(np.rint(array), 0, 255).astype(np.uint8))
    out = io.BytesIO()
    picture.save(out, "WEBP", quality=quality, method=6)
    return out.getvalue()


def halve(array):
    """Each 2 x 2 block averaged."""
    return (array[0::2, 0::2] + array[1::2, 0::2] + array[0::2, 1::2] + array[1::2, 1::2]) / 4


def pyramid(top, levels):
    """The deepest level's picture and each level above it, coarsest first."""
    pictures = [top]
    for _ in range(levels - 1):
        pictures.append(halve(pictures[-1]))
    return list(reversed(pictures))


def with_gutter(picture):
    """The picture with GUTTER pixels around it: its other side's columns, its top and bottom rows again."""
    rows = np.concatenate([picture[:1].repeat(GUTTER, 0), picture, picture[-1:].repeat(GUTTER, 0)])
    return np.concatenate([rows[:, -GUTTER:], rows, rows[:, :GUTTER]], axis=1)


def tiles(pictures, quality, keep=lambda level, x, y: True):
    out = []
    for level, picture in enumerate(pictures):
        count = 1 << level
        padded = with_gutter(picture)
        side = TILE + 2 * GUTTER
        for y in range(count):
            for x in range(count):
                if keep(level, x, y):
                    part = padded[y * TILE:y * TILE + side, x * TILE:x * TILE + side]
                    out.append((level, x, y, encode(part, quality)))
    return out


def write(name, source, levels, encoded):
    path = os.path.join(RESOURCES, name)
    text = source.encode()
    with open(path, "wb") as f:
        f.write(b"VRST" + struct.pack("<II", 2, len(text)) + text)
        f.write(struct.pack("<BBI", levels - 1, GUTTER, len(encoded)))
        for level, x, y, data in encoded:
            f.write(struct.pack("<BHHI", level, x, y, len(data)) + data)
    by_level = {}
    for level, _, _, data in encoded:
        count, size = by_level.get(level, (0, 0))
        by_level[level] = (count + 1, size + len(data))
    print(f"{path}: {os.path.getsize(path)} bytes", file=sys.stderr)
    for level, (count, size) in sorted(by_level.items()):
        print(f"  level {level}: {count} tiles, {size} bytes", file=sys.stderr)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--relief-quality", type=int, default=40)
    parser.add_argument("--imagery-quality", type=int, default=60)
    args = parser.parse_args()

    deepest = TILE << (RELIEF_LEVELS - 1)
    shade = to_mercator(hillshade(read_relief()), deepest)
    land = land_mask(deepest)
    # Flat (128) on water a few pixels off the coast, so the app's clip to the land finds relief right up
    # to its coastline.
    near_land = grow(land, 3)
    relief = np.where(near_land, 128 + SHADE_GAIN * shade, 128)
    levels = [128 + (picture - 128) * contrast
              for picture, contrast in zip(pyramid(relief, RELIEF_LEVELS), LEVEL_CONTRAST)]
    masks = [near_land]
    for _ in range(RELIEF_LEVELS - 1):
        m = masks[-1]
        masks.append(m[0::2, 0::2] | m[1::2, 0::2] | m[0::2, 1::2] | m[1::2, 1::2])
    masks.reverse()

    def has_land(level, x, y):
        return masks[level][y * TILE:(y + 1) * TILE, x * TILE:(x + 1) * TILE].any()

    write("relief.bin", "Shaded relief made from the SRTM relief of Debian's marble-qt-data", RELIEF_LEVELS,
          tiles(levels, args.relief_quality, has_land))

    earth = np.asarray(Image.open(IMAGERY_SOURCE).convert("RGB"), dtype=np.float32)
    imagery = to_mercator(earth, TILE << (IMAGERY_LEVELS - 1))
    write("imagery.bin", "NASA Visible Earth, as Debian's xplanet-images carries it", IMAGERY_LEVELS,
          tiles(pyramid(imagery, IMAGERY_LEVELS), args.imagery_quality))


if __name__ == "__main__":
    main()
