#!/usr/bin/env python3
"""Builds the symbol table: symbol name -> code point of the Material Design Icons font, or a vector.

Reads the hand-kept table of symbol names and icon names (symbols.tsv) and the icon font's style sheet,
which holds each icon's code point, and writes JSON {"symbol.name": 61441, ...}. An icon name "@name" is a
vector of our own, name.svg beside the table (one path on a 24-point grid): its entry is
{"path": "M…", "evenOdd": true}. Fails when an icon name is not in the font or a vector has no path, so a
typo never reaches the app.
"""
import argparse
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree


def vector(folder, name):
    """The path of a vector of our own, or None."""
    try:
        root = ElementTree.parse(os.path.join(folder, name + ".svg")).getroot()
    except (OSError, ElementTree.ParseError):
        return None
    paths = [element for element in root.iter() if element.tag.endswith("path")]
    if len(paths) != 1 or not paths[0].get("d"):
        return None
    return {"path": " ".join(paths[0].get("d").split()), "evenOdd": paths[0].get("fill-rule") == "evenodd"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--table", required=True)
    parser.add_argument("--css", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    with open(args.css, encoding="utf-8") as css:
        points = {m.group(1): int(m.group(2), 16)
                  for m in re.finditer(r'\.mdi-([a-z0-9-]+):before\s*\{\s*content:\s*"\\([0-9A-Fa-f]+)"', css.read())}

    table, unknown = {}, []
    with open(args.table, encoding="utf-8") as rows:
        for number, line in enumerate(rows, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            symbol, icon = line.split()
            if icon.startswith("@"):
                drawn = vector(os.path.dirname(args.table), icon[1:])
                if drawn is None:
                    unknown.append(f"{args.table}:{number}: {icon}")
                table[symbol] = drawn or 0
                continue
            if icon not in points:
                unknown.append(f"{args.table}:{number}: {icon}")
            table[symbol] = points.get(icon, 0)
    if unknown:
        sys.exit("icons missing from the font, or vectors without a path:\n" + "\n".join(unknown))

    with open(args.out, "w", encoding="utf-8") as out:
        json.dump(table, out, ensure_ascii=False, sort_keys=True, indent=0)


if __name__ == "__main__":
    main()
