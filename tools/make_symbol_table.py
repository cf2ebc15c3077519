#!/usr/bin/env python3
"""Builds the symbol table: symbol name -> code point of the Material Design Icons font.

Reads the hand-kept table of symbol names and icon names (symbols.tsv) and the icon font's style sheet,
which holds each icon's code point, and writes JSON {"symbol.name": 61441, ...}. Fails when an icon name
is not in the font, so a typo never reaches the app.
"""
import argparse
import json
import re
import sys


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
            if icon not in points:
                unknown.append(f"{args.table}:{number}: {icon}")
            table[symbol] = points.get(icon, 0)
    if unknown:
        sys.exit("icons missing from the font:\n" + "\n".join(unknown))

    with open(args.out, "w", encoding="utf-8") as out:
        json.dump(table, out, ensure_ascii=False, sort_keys=True, indent=0)


if __name__ == "__main__":
    main()
