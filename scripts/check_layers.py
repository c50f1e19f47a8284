#!/usr/bin/env python3
"""Checks that the program's folders only include downwards and that no
files include each other in a circle.

Each folder of the program has a layer; a file may include files of its own
folder and of the folders listed as below it. A unit is a source file with
its header (a.cpp and a.h); units may use each other, but never in a
circle. storage/, lookup/ and maintenance/ show nothing: of platform/
they use the files, the font record and the code page only. Portable
logic never includes <windows.h>: only files ending in _win32.cpp or
_win32.h do.
Exits 1 and names every breach.

    python3 scripts/check_layers.py [REPOSITORY]
"""
import os
import re
import sys

# Folder -> the folders it may include (besides itself). res/ is data that
# every layer may include.
ALLOWED = {
    "res": set(),
    "platform": {"res"},
    "storage": {"platform", "res"},
    "lookup": {"storage", "platform", "res"},
    "settings": {"lookup", "storage", "platform", "res"},
    "maintenance": {"lookup", "storage", "platform", "res"},
    "ui": {"settings", "lookup", "storage", "platform", "res"},
    "tools": {"settings", "maintenance", "lookup", "storage", "platform", "res"},
}
# Layers that show nothing: of platform/ they may use only files, the font
# record and the code page's table, never a window, a dialog or the
# headless stand-in.
WINDOWLESS = {"storage", "lookup", "maintenance"}
WINDOWLESS_PLATFORM = {"platform/files.h", "platform/font_record.h", "platform/cp1251.h"}
SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
WINDOWS_HEADER = re.compile(r"^\s*#\s*include\s+<windows\.h>", re.M)
WIN32_FILE = re.compile(r"_win32\.(cpp|h)$")


def units(root):
    """unit name (folder/stem) -> its include targets, and the files that
    include <windows.h> without being Win32 glue."""
    graph, windows = {}, []
    for folder in ALLOWED:
        base = os.path.join(root, folder)
        for dirpath, _, files in os.walk(base):
            for name in sorted(files):
                if not SOURCE.search(name):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                unit = os.path.splitext(rel)[0]
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                if WINDOWS_HEADER.search(text) and not WIN32_FILE.search(name):
                    windows.append(rel)
                edges = graph.setdefault(unit, set())
                for target in INCLUDE.findall(text):
                    target_unit = os.path.splitext(target)[0]
                    if target_unit != unit:
                        edges.add((target_unit, rel, target))
    return graph, windows


def circles(graph):
    """Every circle that a depth-first search over the units meets."""
    adjacency = {u: sorted({t for t, _, _ in e if t in graph}) for u, e in graph.items()}
    state, stack, found = {}, [], []

    def visit(u):
        state[u] = 1
        stack.append(u)
        for v in adjacency[u]:
            if state.get(v) == 1:
                found.append(stack[stack.index(v):] + [v])
            elif v not in state:
                visit(v)
        stack.pop()
        state[u] = 2

    sys.setrecursionlimit(10000)
    for u in sorted(adjacency):
        if u not in state:
            visit(u)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    graph, windows = units(root)
    breaches = []
    for unit, edges in sorted(graph.items()):
        folder = unit.split("/")[0]
        for target_unit, source, target in sorted(edges):
            target_folder = target_unit.split("/")[0]
            if target_folder == folder or target_folder not in ALLOWED:
                continue
            if target_folder not in ALLOWED[folder]:
                breaches.append(f"{source} includes {target}: {folder}/ may not include {target_folder}/")
            elif folder in WINDOWLESS and target_folder == "platform" and target not in WINDOWLESS_PLATFORM:
                breaches.append(f"{source} includes {target}: {folder}/ shows nothing, so it uses only files of platform/")
    for path in windows:
        breaches.append(f"{path} includes <windows.h>: only _win32 files may")
    for circle in circles(graph):
        breaches.append("circle: " + " -> ".join(circle))

    return report(breaches, "of the layers", f"layers hold: {len(graph)} units")


def report(breaches, what, holds):
    """Prints every breach and a closing line; the exit status."""
    for line in breaches:
        print(line)
    if breaches:
        print(f"{len(breaches)} breach(es) {what}")
        return 1
    print(holds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
