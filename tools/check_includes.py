#!/usr/bin/env python3
"""Checks that the program's includes point one way between its layers:

    core -> platform -> imaging -> catalog / wallpaper / commands / viewer / converter -> app

A file may include headers of its own folder and of the layers below it; a feature never includes
another feature's header. core includes no Windows header. Exits non-zero on a breach.

    tools/check_includes.py            check (tools/test.sh runs this)
    tools/check_includes.py --graph    print the folder-level include graph, with counts
    tools/check_includes.py --files    print every file-level include between folders
    tools/check_includes.py --dot      the folder graph in Graphviz form
"""
import re
import sys
from collections import defaultdict
from pathlib import Path

LAYERS = {
    "core": 0,
    "platform": 1,
    "imaging": 2,
    "catalog": 3,
    "wallpaper": 3,
    "commands": 3,
    "viewer": 3,
    "converter": 3,
    "app": 4,
}
WINDOWS_HEADERS = re.compile(
    r"^(windows|windowsx|commctrl|objbase|objidl|oleidl|ole2|shlobj|shellapi|shlwapi|gdiplus|wininet|"
    r"wincodec|winreg|winuser|wingdi)\.h$",
    re.IGNORECASE,
)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')

# Known breaches still being taken apart; each entry is "file -> header". Keep this empty.
ALLOWED: set[str] = set()


def scan(src):
    edges = []  # (file, its folder, included header, that header's folder)
    windows = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(src).as_posix()
        folder = rel.split("/")[0]
        for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            if kind == '"' and "/" in target and target.split("/")[0] in LAYERS:
                edges.append((rel, folder, target, target.split("/")[0]))
            elif kind == "<" and folder == "core" and WINDOWS_HEADERS.match(target):
                windows.append((rel, target))
    return edges, windows


def main(argv):
    root = Path(__file__).resolve().parent.parent
    edges, windows = scan(root / "src")
    if "--files" in argv:
        for rel, folder, target, tfolder in edges:
            if folder != tfolder:
                print(f"{rel} -> {target}")
        return 0
    if "--graph" in argv or "--dot" in argv:
        counts = defaultdict(int)
        for _, folder, _, tfolder in edges:
            if folder != tfolder:
                counts[(folder, tfolder)] += 1
        if "--dot" in argv:
            print("digraph includes {")
            for (a, b), n in sorted(counts.items()):
                print(f'  "{a}" -> "{b}" [label={n}];')
            print("}")
        else:
            for (a, b), n in sorted(counts.items(), key=lambda e: (LAYERS.get(e[0][0], 9), e[0])):
                print(f"{a:>9} -> {b:<9} {n}")
        return 0

    problems = []
    for rel, folder, target, tfolder in edges:
        if folder == tfolder or f"{rel} -> {target}" in ALLOWED:
            continue
        mine, theirs = LAYERS.get(folder), LAYERS.get(tfolder)
        if mine is None:
            problems.append(f"{rel}: folder '{folder}' is not a known layer")
        elif theirs >= mine:
            why = "another feature" if theirs == mine else "a layer above"
            problems.append(f"{rel} includes {target}: {why} ({folder} -> {tfolder})")
    for rel, target in windows:
        problems.append(f"{rel} includes <{target}>: core is portable")
    for p in problems:
        print("include check:", p, file=sys.stderr)
    if problems:
        print(f"include check: {len(problems)} include(s) break the layer order "
              "core -> platform -> imaging -> features -> app", file=sys.stderr)
        return 1
    print(f"include check: {len(edges)} includes between src/ folders follow the layer order")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
