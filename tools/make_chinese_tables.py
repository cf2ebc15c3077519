#!/usr/bin/env python3
"""Writes the Chinese string tables (Simplified, Hong Kong and Taiwan) from the keys of the English tables.

Nearly every key is Simplified Chinese and shows as it stands; a key that should read otherwise gets its
Simplified text from zh_Hans.tsv, and the Simplified table holds only those. OpenCC converts the
Simplified texts (s2hk for Hong Kong, s2twp for Taiwan, with Taiwan's phrasing), then the overrides file of
that language writes words as local usage does in every text (Taiwan writes 帳號, Hong Kong 賬號) and replaces
whole texts where they differ more (there "Logbook" reads Chinese).
Overrides are lines "key<TAB>text", and "=word<TAB>word" for a word in every text; lines starting with "#"
are comments.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

CONFIGS = {"zh_Hans": None, "zh_HK": "s2hk.json", "zh_TW": "s2twp.json"}


def keys_of(ts_paths):
    keys = []
    for path in ts_paths:
        root = ET.parse(path).getroot()
        for message in root.iter("message"):
            key = message.findtext("source")
            if key not in keys:
                keys.append(key)
    return keys


def escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append("\n" if text[i + 1] == "n" else text[i + 1])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def convert(keys, config):
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "in.txt")
        target = os.path.join(folder, "out.txt")
        with open(source, "w", encoding="utf-8") as f:
            f.write("\n".join(escape(k) for k in keys) + "\n")
        subprocess.run(["opencc", "-c", config, "-i", source, "-o", target], check=True)
        with open(target, encoding="utf-8") as f:
            lines = f.read().split("\n")
    converted = [unescape(line) for line in lines[: len(keys)]]
    if len(converted) != len(keys):
        sys.exit("opencc returned a different number of lines")
    return converted


def overrides_of(path):
    """The whole texts of the overrides file by key, and its words by the word they replace."""
    table, words = {}, {}
    if not os.path.exists(path):
        return table, words
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            key, text = line.split("\t", 1)
            if key.startswith("="):
                words[unescape(key[1:])] = unescape(text)
            else:
                table[unescape(key)] = unescape(text)
    return table, words


def with_words(text, words):
    for word, local in words.items():
        text = text.replace(word, local)
    return text


def write_table(path, language, keys, texts):
    root = ET.Element("TS", version="2.1", language=language)
    context = ET.SubElement(root, "context")
    ET.SubElement(context, "name").text = "Vorna"
    for key, text in zip(keys, texts):
        message = ET.SubElement(context, "message")
        ET.SubElement(message, "source").text = key
        ET.SubElement(message, "translation").text = text
    ET.indent(root)
    ET.ElementTree(root).write(path, encoding="utf-8", xml_declaration=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--english", required=True, action="append", help="an English table; repeatable")
    parser.add_argument("--overrides", required=True, help="folder holding zh_HK.tsv and zh_TW.tsv")
    parser.add_argument("--out", required=True)
    parser.add_argument("language", choices=sorted(CONFIGS))
    args = parser.parse_args()

    keys = keys_of(args.english)
    simplified, _ = checked_overrides(args.overrides, "zh_Hans", keys)
    if CONFIGS[args.language] is None:
        keys = [k for k in keys if k in simplified]
        write_table(args.out, args.language, keys, [simplified[k] for k in keys])
        return
    texts = convert([simplified.get(k, k) for k in keys], CONFIGS[args.language])
    overrides, words = checked_overrides(args.overrides, args.language, keys)
    texts = [overrides.get(k, with_words(t, words)) for k, t in zip(keys, texts)]
    write_table(args.out, args.language, keys, texts)


def checked_overrides(folder, language, keys):
    overrides, words = overrides_of(os.path.join(folder, language + ".tsv"))
    unknown = sorted(set(overrides) - set(keys))
    if unknown:
        sys.exit("overrides for keys that no longer exist: " + ", ".join(unknown))
    return overrides, words


if __name__ == "__main__":
    main()
