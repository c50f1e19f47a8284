#!/usr/bin/env bash
# Builds the native tree and looks a word up with dictionary-tool in a small
# sample dictionary made here. Usage: run.sh [WORD...] (default: cat)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh
cmake -S . -B build/native -G Ninja
cmake --build build/native -j 2 --target dictionary-tool

# A program folder holding one dictionary, Sample: the 192-byte header
# 00.dat and one letter file per folded first letter (43.dat for C...),
# with descriptions in code page 1251.
program_folder=$(mktemp -d)
trap 'rm -rf "$program_folder"' EXIT
python3 - "$program_folder/Sample" <<'PY'
import os, struct, sys

folder = sys.argv[1]
os.makedirs(folder)

# Height 16, Cyrillic character set, Times New Roman: the program's default.
font = struct.pack("<5i8B32s", 16, 0, 0, 0, 0, 0, 0, 0, 204, 0, 0, 0, 0, b"Times New Roman")
header = struct.pack("<64sii", b"Sample", 0, 0) + font + font
assert len(header) == 192
with open(os.path.join(folder, "00.dat"), "wb") as f:
    f.write(header)

entries = {
    "cat": "котка;малко домашно животно, което мърка",
    "dog": "куче;вярно домашно животно, което лае",
    "house": "къща;сграда, в която живеят хора",
}
for word, description in sorted(entries.items()):
    with open(os.path.join(folder, "%02x.dat" % ord(word[0].upper())), "ab") as f:
        f.write(word.encode("cp1251") + b"\0" + description.encode("cp1251") + b"\0")
PY

words=("$@")
[ ${#words[@]} -gt 0 ] || words=(cat)
build/native/dictionary-tool --root "$program_folder" lookup --dict Sample "${words[@]}"
