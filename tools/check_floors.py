#!/usr/bin/env python3
"""Keeps the floors of the README's Layout: a folder uses only folders on the floors below its own.

It reads every #include of our C++, every `import Vorna.…` of our QML and every target or QML module named in
a folder's CMake files, maps each to the folder that provides it (a header by its file name, a QML module by
its URI, a library by its target name) and reports each use that reaches up a floor or sideways, as
"file:line: what it uses, and the rule it breaks". Headers and modules of Qt and the system provide no
folder and are not checked. Tests and tools may use anything.

Usage: tools/check_floors.py [--root FOLDER]    (exit status 1 when a rule is broken)
"""
import argparse
import os
import re
import sys

# The README's Layout. resources/ is data every floor may read.
FLOORS = {
    "resources": -1,
    "text": 0,
    "client": 1,
    "state": 2, "ui": 2,
    "images": 3, "maps": 3,
    "home": 4, "updates": 4, "community": 4, "flights": 4, "review": 4, "live": 4, "account": 4,
    "shell": 5,
    "main": 6,
}

# Folders on one floor may use each other only in these directions (user -> used). Cards of one screen shown
# in another: flights/, community/ and review/ stand below home/ and account/. ui/ draws the member data's
# load failures (LoadNotice), so it stands above state/; state/ never draws. The maps place airports by the
# airport table of images/ and show aircraft pictures, so maps/ stands above images/; images/ never draws a map.
SIDEWAYS = {
    ("ui", "state"),
    ("maps", "images"),
    *((user, used) for user in ("home", "account") for used in ("flights", "community", "review")),
}

# QML modules by URI; the main window's module is main/'s.
MODULES = {"Vorna." + name.capitalize(): name for name in FLOORS if name != "resources"}

# Headers that the build writes from a template in a folder.
GENERATED_HEADERS = {"BuildInfo.h": "resources"}

CXX = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
IMPORT = re.compile(r"^\s*import\s+(Vorna\.[A-Za-z]+)\b")
CMAKE_NAME = re.compile(r"\b(vorna_[A-Za-z0-9_]+|Vorna\.[A-Za-z]+)\b")
LIBRARY = re.compile(r"\b(?:qt_)?add_library\(\s*([A-Za-z0-9_]+)")


def sources(root, folder):
    base = os.path.join(root, folder)
    for directory, subfolders, files in os.walk(base):
        subfolders.sort()
        for name in sorted(files):
            yield os.path.join(directory, name)


def rule(user, used):
    """None when `user` may use `used`, else the rule that forbids it."""
    if user == used or (user, used) in SIDEWAYS:
        return None
    if FLOORS[used] < FLOORS[user]:
        return None
    if FLOORS[used] > FLOORS[user]:
        return f"{user}/ is on floor {FLOORS[user]} and uses only folders below it, not {used}/ on floor {FLOORS[used]}"
    allowed = sorted(f"{a}/ -> {b}/" for a, b in SIDEWAYS if FLOORS[a] == FLOORS[user])
    return (f"{user}/ and {used}/ share floor {FLOORS[user]}; the only uses allowed there are "
            + (", ".join(allowed) if allowed else "none"))


def check(root):
    """The broken rules under `root`, as lines to print, and how many uses were checked."""
    folders = [f for f in FLOORS if os.path.isdir(os.path.join(root, f))]
    headers, targets = dict(GENERATED_HEADERS), {}
    problems = []
    for folder in folders:
        for path in sources(root, folder):
            name = os.path.basename(path)
            if name.endswith(".h"):
                if name in headers and headers[name] != folder:
                    problems.append(f"{os.path.relpath(path, root)}:1: the header name {name} is also "
                                    f"{headers[name]}/'s: an include by file name must say one folder")
                headers[name] = folder
            elif name == "CMakeLists.txt" or name.endswith(".cmake"):
                with open(path, encoding="utf-8") as text:
                    for target in LIBRARY.findall(text.read()):
                        targets[target] = folder
                        targets[target + "plugin"] = folder

    checked = 0
    for folder in folders:
        for path in sources(root, folder):
            name = os.path.basename(path)
            if name.endswith(CXX):
                kind, pattern, provider = "includes", INCLUDE, headers
            elif name.endswith((".qml", ".js")):
                kind, pattern, provider = "imports", IMPORT, MODULES
            elif name == "CMakeLists.txt" or name.endswith(".cmake"):
                kind, pattern, provider = "names", None, {**targets, **MODULES}
            else:
                continue
            with open(path, encoding="utf-8") as text:
                lines = text.read().splitlines()
            for number, line in enumerate(lines, 1):
                if pattern is not None:
                    match = pattern.match(line)
                    used_names = [match.group(1)] if match else []
                else:
                    used_names = CMAKE_NAME.findall(line.split("#", 1)[0])
                for used_name in used_names:
                    used = provider.get(used_name if pattern is not INCLUDE else os.path.basename(used_name))
                    if used is None:
                        continue
                    checked += 1
                    broken = rule(folder, used)
                    if broken:
                        problems.append(f"{os.path.relpath(path, root)}:{number}: {kind} {used_name} "
                                        f"from {used}/: {broken}")
    return problems, checked


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    arguments = parser.parse_args()
    problems, checked = check(arguments.root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} of {checked} uses break the floors (README, Layout)")
        return 1
    # Nothing checked means the walk found no code: a broken check, not a clean tree.
    if checked == 0:
        print("no includes, imports or targets found under " + arguments.root)
        return 1
    print(f"{checked} uses keep the floors")
    return 0


if __name__ == "__main__":
    sys.exit(main())
